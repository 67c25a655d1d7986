#include "frontend/screen_guard.hpp"

#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "run/program_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

namespace screenguard {
namespace {
constexpr int32_t kPruefPause = 16;  // ms between two looks at the display

void SzeneBeenden() {
  if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
}
}  // namespace

void Recover() {
  SzeneBeenden();
  AltTabpressed();
  while (!DisplayReady()) Wait(kPruefPause);
  RestoreAllSurfaces();
  ReloadSurfaces();
}

void Abort(const Err& e, const char* Ort) {
  SzeneBeenden();
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  CloseGameWindows();
  ShowDXError(e.Nummer, 2, Ort, e.Beschreibung);
}

bool SceneNotOpen(const Err& e) { return e.Nummer == platform::D3DERR_SCENE_NOT_IN_SCENE; }
bool DisplayLost(const Err& e) { return e.Nummer == DDERR_SURFACELOST; }
}  // namespace screenguard
