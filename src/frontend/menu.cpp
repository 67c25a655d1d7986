#include "frontend/menu.hpp"

#include "campaign/ogg.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "shell/config.hpp"
#include "shell/program_state.hpp"
#include "shell/timing.hpp"

void LoadMenuSurfaces() {
  if (Spielstatus == 10) return;
}

// Until the menu is built: a black screen with the menu music that Escape or a close
// request ends.
void MenuLoop() {
  FrameSkipAn = false;
  if (SoundAn) {
    PlayOggFile(SoundPfad + "intro.ogg");
    SetOggVolume(MusikLautstaerke);
  }
  while (Spielstatus == 0) {
    DInputPoll();
    if (TasteEscape()) Spielstatus = 10;
    if (SoundAn) {
      if (OggIsPlaying())
        UpdateOgg();
      else
        PlayOggFile(SoundPfad + "intro.ogg");
    }
    FrameEnde(16);
  }
  if (SoundAn) StopOgg();
  if (Spielstatus < 10) Spielstatus = 0;
}
