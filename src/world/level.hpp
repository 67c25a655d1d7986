#pragma once
// Loading a level, and the standard pictures that every level and the menu start from.
#include <string>

#include "world/standard_pictures.hpp"

// Loads the level archive `Name` with its loading-screen picture; true means load again.
bool LadeDaten(const std::string& Name, const std::string& Loadingscreen);
