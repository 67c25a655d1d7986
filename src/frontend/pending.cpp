// Services of the front end whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "campaign/save_games.hpp"
#include "frontend/credits.hpp"
#include "frontend/logo.hpp"
#include "frontend/video.hpp"

void PlayAVIFile(const std::string&, const std::string&) {}
void ShowCredits() {}
void ShowLogo(const std::string&, const std::string&, int32_t, int32_t, bool, bool) {}

// The save games' loading, and the labels of the save screen.
void LoadGame(int32_t) {}
std::string GetSaveLabel(int32_t) { return "---"; }
