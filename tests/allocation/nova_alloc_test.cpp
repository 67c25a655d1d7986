// The super nova allocates nothing: every kind run from its start to its end against a
// row of enemies, drawn on every other tick with its tearing, lines, bolts and quads.
#include <gtest/gtest.h>

#include <algorithm>

#include "counting_new.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "player/nova.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemies_state.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// Eight enemies in a row, one of them too strong for a blow; the pod and the key ready.
void Aufstellen(int32_t art) {
  for (int32_t e = 0; e < 8; ++e) {
    Gegner& g = GegnerListe[e];
    g.Typ.HP = e == 5 ? 50000 : 500;
    g.Typ.Width = g.Typ.Height = 32;
    g.Typ.Punkte = 100;
    g.X = 80.0f + 90 * e, g.Y = 60.0f + 55 * e;
    g.Aktiv = VBTrue, g.Stirbt = VBFalse, g.TodArt = 0;
  }
  GegnerMax = 7, GegnerFrei = 8;
  Spieler[0].Pod = 0, Spieler[0].Tod = 0;
  Pods[0].Besitz = VBTrue, Pods[0].Waffe = art, Pods[0].X = 120, Pods[0].Y = 180;
  KeyState[100] = true;
}

// One nova of kind `art` to its end.
void Zuende(int32_t art) {
  Aufstellen(art);
  for (int tick = 0; tick == 0 || WeltAngehalten; ++tick) {
    Rendern = tick % 2 == 0;
    if (Rendern) RenderStart();
    SpielNova();
    if (Rendern) RenderEnd();
    KeyState[100] = false;
  }
}

}  // namespace

TEST(NoAllocationDuringANova, EveryKindToItsEnd) {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  TexKreis2 = TexBalken = TexFadenkreuz =
      testsupport::PaintedPicture(16, 16, platform::PixelFormat::XRGB8888, false, [](int, int) { return 0xFFFFFFu; });
  Schiff[0].Typ = 0;
  Schiff[0].Bilder.fill(TexKreis2);
  KeyConfig.KeyMap(AktionSuperNova, 0, 0) = 100;
  SoundAn = false;  // no sounds are loaded: playing one would only log its absence
  Satellit.X = 300, Satellit.Y = 200;
  static constexpr int32_t kArten[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int32_t art : kArten) Zuende(art);  // the blitter's and the lines' buffers grow here
  const int32_t vorher = Spieler[0].Punkte;
  const int64_t n = alloccount::AllocationsDuring([] {
    for (int32_t art : kArten) Zuende(art);
  });
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Spieler[0].Punkte - vorher, 11 * 7 * 100);  // every kind destroyed seven
  KeyState.fill(false);
  SoundAn = true;
  Rendern = true;
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
  testsupport::FreshState();
}
