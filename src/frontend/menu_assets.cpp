#include "frontend/menu_assets.hpp"

#include <string>

#include "engine/sound.hpp"
#include "run/program_state.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/game_sounds_state.hpp"
#include "world/picture_loading.hpp"

namespace {

// A plain picture drawn by colour-keyed blits (the column's parts).
int32_t Blitbild(const std::string& ordner, const std::string& datei) { return LadeBild(ordner, datei, kBlit, true); }

// A texture whose quad shows it whole, untinted, at its own size from the screen's
// top-left corner until a drawing step places it.
int32_t Quadbild(const std::string& ordner, const std::string& datei, bool colorkey) {
  const int32_t nr = LadeBild(ordner, datei, kQuad, colorkey);
  SetUpEigen(nr);
  return nr;
}

void LadeMenubilder(const std::string& ordner) {
  // Both hangar pictures of one set, so the frozen one always matches.
  const std::string n = std::to_string(static_cast<int32_t>(Int(2.0 * Rnd())));
  TexHangar = Blitbild(ordner, "Hangar" + n + ".bmp");
  TexHangarFrozen = Quadbild(ordner, "Hangar_Frozen" + n + ".bmp", false);
  for (int32_t s = 0; s <= 1; ++s)
    for (int32_t f = 0; f < kShipSelectBilder; ++f)
      TexShipSelect[static_cast<size_t>(s + 2 * f)] = Quadbild(ordner, ShipSelectName(s, f), false);
  TexMenuTop = Blitbild(ordner, "Menu_topg.bmp");
  TexMenuBottom = Blitbild(ordner, "Menu_bottomg.bmp");
  TexMenuButton = Blitbild(ordner, "Menu_Button.bmp");
  TexMenuLight[0] = Blitbild(ordner, "Menu_Lighta.bmp");
  TexMenuLight[1] = Blitbild(ordner, "Menu_Lightb.bmp");
  TexMenuBack = Quadbild(ordner, "Menu_Back.bmp", true);
  TexMenuLogo = Quadbild(ordner, "Menu_Logo.bmp", true);
}

}  // namespace

std::string ShipSelectName(int32_t s, int32_t f) {
  const std::string zahl = "00" + std::to_string(f);
  return "ShipSelect" + std::to_string(s) + "0" + zahl.substr(zahl.size() - 2) + ".bmp";
}

void LoadMenuSurfaces() {
  if (Spielstatus == 10) return;
  const std::string ordner = Depack("Menu.vkp", DatenPfad, true);
  if (Spielstatus != 10) LadeMenubilder(ordner);
  KillDir(ordner);
}

void LoadMenuSound() {
  if (!SoundAn) return;
  SndDude = LoadSound("Sound.vkp", "dude.wav", 2, 44100);
  SndPlingDing = LoadSound("Sound.vkp", "PlingDing.wav", 0, 44100);
  SndSpeech = LoadSound("Sound.vkp", "speech.wav", 0, 44100);
}
