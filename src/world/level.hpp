#pragma once
// Loading a level and the standard pictures.
#include <string>

// Loads the level archive `Name` with its loading-screen picture; true means load again.
bool LadeDaten(const std::string& Name, const std::string& Loadingscreen);
// Empties the surface table and loads the common pictures (before every menu).
void LoadStandartSurfaces();
