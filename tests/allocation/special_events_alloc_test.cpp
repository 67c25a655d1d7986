// The special events allocate nothing per frame once each has run: the sequences' particles
// go to their pools, the prompt writes its line in kept room, the wobble's grid is reused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "campaign/special_events.hpp"
#include "campaign/upcalls.hpp"
#include "counting_new.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "player/players_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "support/sounds.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

#ifdef HARVO_ADDRESS_SANITIZER
// The sanitizer build checks the memory, not the count, and draws ten times slower.
constexpr int kTeiler = 10;
#else
constexpr int kTeiler = 1;
#endif

// `frames` frames of event `art` from the level clock `tick` on, both halves, pools
// emptied between frames as the world's steps would. With `zeit` 0 or more the event is
// already set up and stands at that frame.
void Laufen(int32_t art, int frames, int32_t tick = 0, int32_t zeit = -1) {
  SpezialStand = SpezialStandDaten{};
  SpezialStand.Aktiv = true;
  SpezialStand.Art = art;
  SpezialStand.Wert1 = 4;
  if (zeit >= 0) SpezialStand.Neustart = false, SpezialStand.Zeit = zeit;
  LevelTick = tick;
  for (int k = 0; k < frames; ++k) {
    if (Rendern) RenderStart();
    SpielSpezial(0);
    SpielSpezial(1);
    if (Rendern) RenderEnd();
    ++LevelTick;
    BigPartikel.Reset();
    Partikel[1].Reset();
  }
}

}  // namespace

TEST(SpecialEventsAllocateNothing, EveryTypeDrawnFrameByFrame) {
  testsupport::FreshState();
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  const auto weiss = [](int w, int h) {
    return testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, false,
                                       [](int, int) { return 0xFFFFFFFFu; });
  };
  TexWeiss = weiss(8, 8);
  TexBlur = weiss(64, 64);
  TexBalken = weiss(16, 16);
  SndSpeed = testsupport::CountingSound();
  SndThunder = testsupport::CountingSound();
  SndYellow2 = testsupport::CountingSound();
  SndExplosion = {testsupport::CountingSound(), testsupport::CountingSound(), testsupport::CountingSound()};
  upcall::GetKeyText = [](int32_t, int32_t) { return std::string("Space"); };
  HintergrundModus = 1;
  LevelLaenge = 5000;
  Sprache = "E";
  SetRndState(17);

  // Each run once to set up what it keeps, then counted: the fly-in up to its last frame
  // (that one takes a checkpoint, a file written once, not a frame's work), the prompt
  // (its text is the text layer's: the fonts it makes are not counted here), a few frames
  // of each effect, a thunderstorm strike, the engines, the jump, and the burning ship
  // around its thunder and around its end.
  struct Lauf {
    int32_t art, bilder, tick, zeit;
    bool rendern;
  } const laeufe[] = {{0, 200, 0, -1, true}, {1, 300, 0, -1, false}, {2, 20, 0, -1, true}, {3, 10, 0, -1, true},
                      {3, 50, 0, 1, true},   {4, 20, 0, -1, true},    {5, 30, 0, -1, true}, {6, 30, 0, -1, true},
                      {7, 70, 190, -1, true}, {7, 120, 790, -1, true}};
  for (const Lauf& l : laeufe) {
    Rendern = l.rendern;
    const int bilder = std::max(2, l.bilder / kTeiler);
    Laufen(l.art, bilder, l.tick, l.zeit);
    EXPECT_EQ(alloccount::AllocationsDuring([&] { Laufen(l.art, bilder, l.tick, l.zeit); }), 0)
        << "type " << l.art << " from tick " << l.tick;
  }
  Rendern = true;

  upcall::GetKeyText = [](int32_t, int32_t) { return std::string(); };
  SndSpeed = SndThunder = SndYellow2 = -1;
  SndExplosion = {-1, -1, -1};
  Sounds.clear();
  testsupport::CloseDisplay();
  testsupport::FreshState();
}
