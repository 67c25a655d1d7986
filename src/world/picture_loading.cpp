#include "world/picture_loading.hpp"

#include <optional>

#include "engine/render.hpp"

namespace {

bool IstEintrag(int32_t Nr) { return Nr >= 0 && Nr <= SurfacesMax(); }

}  // namespace

int32_t LadeBild(const std::string& Ordner, const std::string& Datei, bool Quad, bool Colorkey) {
  return LoadSurface(Ordner + Datei, Quad, std::nullopt, std::nullopt, std::nullopt, std::nullopt, Colorkey);
}

RECT EigenesRechteck(int32_t Nr) { return IstEintrag(Nr) ? Surfaces[Nr].SrcRect : RECT{}; }

void SetUpEigen(int32_t Nr, float A) {
  const RECT r = EigenesRechteck(Nr);
  SetUpGeom(Nr, r, r, 1, 1, 1, A, 0);
}

void SetUpFrame64(int32_t Nr) {
  const RECT r{0, 0, 64, 64};
  SetUpGeom(Nr, r, r, 1, 1, 1, 1, 0);
}

void SetUpGetrimmt(int32_t Nr) {
  SurfaceKorrektur(Nr);
  SetUpEigen(Nr);
  SetUpTUTV(Nr, 0, 0, 1, 1);
  SetUpColor(Nr, 1, 1, 1, 1);
}

int32_t ZweiterEintrag(int32_t Vorhanden, const std::string& Ordner, const std::string& Datei, bool Quad,
                       bool Colorkey) {
  // Only a real entry is renamed: a handle left from an older table may point anywhere.
  const bool umbenannt = IstEintrag(Vorhanden);
  if (umbenannt) Surfaces[Vorhanden].Name += ' ';
  const int32_t nr = LadeBild(Ordner, Datei, Quad, Colorkey);
  if (umbenannt) Surfaces[Vorhanden].Name.pop_back();
  return nr;
}
