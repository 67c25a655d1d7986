#include "world/standard_pictures.hpp"

#include <string>

#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "world/picture_loading.hpp"

namespace {

// The glows, bars, fire and smoke: textures with the black key, each quad at its own size.
void LadeEffektbilder(const std::string& ordner) {
  auto quad = [&](const std::string& datei) {
    const int32_t nr = LadeBild(ordner, datei, kQuad);
    SetUpEigen(nr);
    return nr;
  };
  TexGlitzer = quad("Glitzer.bmp");
  TexKreis2 = quad("A_KREIS2.bmp");
  TexWeiss = quad("weiss.bmp");
  TexStrich = quad("Strich.bmp");
  TexBalken = quad("Balken.bmp");
  TexBalkenE = quad("BalkenE.bmp");
  for (int32_t n = 0; n <= 3; ++n) TexFeuer[n] = quad("feuer" + std::to_string(n) + ".bmp");
  TexWave = quad("Wave.bmp");
  for (int32_t n = 0; n <= 6; ++n) TexRauch[n] = quad("Rauch" + std::to_string(n + 1) + ".bmp");
  // The same name again: the entry of TexGlitzer.
  TexGlitzerB = quad("Glitzer.bmp");
}

}  // namespace

void LoadStandartSurfaces() {
  if (Spielstatus == 10) return;
  SurfaceClear();
  const std::string ordner = Depack("Standart.vkp", AppPfad, true);
  TexBlur = LadeBild(ordner, "Blur.bmp", kQuad, false);
  if (Spielstatus != 10) {
    SetUpGeom(TexBlur, EigenesRechteck(TexBlur), VollbildRect, 1, 1, 1, 0.7f, 0);
    // The full-screen layer; the large picture is 801 x 601 and is trimmed to the screen.
    if (!VoodooModus) {
      TexBlur2 = LadeBild(ordner, "Blur3.bmp", kQuad, false);
      SurfaceKorrektur(TexBlur2);
    } else {
      TexBlur2 = LadeBild(ordner, "Blur2.bmp", kQuad, false);
    }
    SetUpGeom(TexBlur2, EigenesRechteck(TexBlur2), VollbildRect, 1, 1, 1, 0.7f, 0);

    LadeEffektbilder(ordner);

    TexLogo = LadeBild(ordner, "Logo.bmp", kBlit);
    TexNoise = LadeBild(ordner, "Noise.bmp", kQuad, false);
    TexKreis3 = LadeBild(ordner, "A_Kreis3.bmp", kBlit);
    // The lens mask is keyed on all bits set, white: only its black surround is drawn.
    if (SurfacesMax() >= 0 && Surfaces.back().Surface)
      Surfaces.back().Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0xFFFFFFFFu, 0xFFFFFFFFu);

    TexBlurB = ZweiterEintrag(TexBlur, ordner, "Blur.bmp", kQuad, true);
    SetUpEigen(TexBlurB, 0.5f);
  }
  KillDir(ordner);
}
