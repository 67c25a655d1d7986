#include "campaign/screen_errors.hpp"

#include "engine/dxerror.hpp"
#include "engine/surfaces.hpp"
#include "platform/clock.hpp"
#include "run/program_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

void AnzeigeAbwarten() {
  AltTabpressed();
  while (!DisplayReady()) {
    MyDoEvents();
    platform::IdleUntil(static_cast<uint64_t>(GetTickCount() + 16));
  }
  RestoreAllSurfaces();
  ReloadSurfaces();
}

void SchirmAbbruch(const Err& e, const std::string& Ort) {
  try {
    // A scene left open would refuse the next one.
    if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
    if (!FensterModus) RestoreDisplayMode();
    Spielstatus = 10;
    CloseGameWindows();
    ShowDXError(e.Nummer, 2, Ort, e.Beschreibung);
  } catch (...) {
  }
}
