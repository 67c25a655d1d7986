// Services of the front end whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "frontend/credits.hpp"
#include "frontend/logo.hpp"
#include "frontend/video.hpp"

void PlayAVIFile(const std::string&, const std::string&) {}
void ShowCredits() {}
void ShowLogo(const std::string&, const std::string&, int32_t, int32_t, bool, bool) {}
