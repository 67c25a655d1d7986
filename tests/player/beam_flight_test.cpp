// The attack beam of each ship type: its flight and end, hits that narrow it and feed the
// combo, the landscape, the drone ship's offer and burst, lightning and helix by charge
// and gun level, the charge glows, the lens copies at the screen's edges, and reference
// frames of every glow and flight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "beam_support.hpp"
#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/shots_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/golden.hpp"
#include "world/effect_particles.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/upcalls.hpp"
#include "world/weather_state.hpp"

using namespace beamtest;

namespace {

class BeamFlight : public BeamTest {
 protected:
  void SetUp() override {
    BeamTest::SetUp();
    klotz = shiptest::BlockSprite(20, 20);
  }
  void TearDown() override {
    upcall::AddPunkte = [](int32_t, float, float, float, int32_t) {};
    BeamTest::TearDown();
  }
  // An enemy of one part with `hp` whose 20 x 20 block lies across the beam's line at x.
  Feindkomponente& Feind(int32_t e, float x, float hp) {
    return shiptest::Enemy(e, klotz, x, 225, hp).Typ.Komponenten[0];
  }
  int32_t klotz = -1;
};

// The sparks of an absorption (explosions throw bigger ones of the same kind).
size_t Absorptionsfunken() {
  const auto v = Effekte(1);
  return static_cast<size_t>(
      std::count_if(v.begin(), v.end(), [](const BigPartikelDaten& p) { return p.Durchmesser == 8 && p.Dead == 23; }));
}

// ComboTreffer of the scoring player each time points were awarded during a hit.
std::vector<int32_t> gesehen;

void Merken(int32_t, float, float, float, int32_t VeskNr) { gesehen.push_back(ComboTreffer[VeskNr]); }

}  // namespace

TEST_F(BeamFlight, EachTypeCrossesTheScreenAndEndsPastItsEdge) {
  struct Fall {
    int32_t typ;
    float schritt;
    int32_t frames;        // flight frames up to the end, the release frame the first
    float xEnde;           // X once it ended
    int32_t nachleuchten;  // left for the after-glow
  } faelle[] = {{0, 24, 27, 812, 10}, {1, 20, 33, 824, 0}, {2, 20, 33, 824, 0}};
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.typ);
    Schiffstyp(0, f.typ);
    Beam[0] = BeamStatus{};
    ComboFaktor[0] = 2;
    Fliegend(0, 60);
    int32_t frames = 1;
    EXPECT_EQ(Beam[0].X, f.typ == 0 ? 188 : 184);
    while (Beam[0].Fliegt && frames < 100) {
      const float x = Beam[0].X;
      Frames(1);
      ++frames;
      if (Beam[0].Fliegt) {
        ASSERT_EQ(Beam[0].X, x + f.schritt);
      }
    }
    EXPECT_EQ(frames, f.frames);
    EXPECT_EQ(Beam[0].X, f.xEnde);
    EXPECT_EQ(Beam[0].Nachleuchten, f.nachleuchten);
    // The V-Tonator's after-glow resets the combo on the following frames.
    EXPECT_EQ(ComboFaktor[0], f.typ == 0 ? 2.0f : 1.0f);
  }
}

TEST_F(BeamFlight, HitsNarrowTheVTonatorsBeamAndFeedTheCombo) {
  struct Fall {
    const char* name;
    float ladung;
    int32_t stufe;
    std::vector<float> hp;  // enemies in a row ahead of the nose
    bool absorbiert;
    int32_t schaden;
    float breite;
    float comboFaktor;
    int32_t treffer;
    std::vector<int32_t> gesehen;  // combo hits as each award (part, then enemy) was made
  } faelle[] = {
      {"a full beam through a weak enemy keeps width 55", 165, 3, {100}, false, 25400, 55, 1.5f, 1, {1, 1}},
      {"a weaker beam narrows with what is left", 90, 1, {1000}, false, 339, 12, 1.5f, 1, {1, 1}},
      {"two enemies in one frame", 90, 1, {100, 200}, false, 1039, 25, 2.0f, 2, {1, 1, 2, 2}},
      {"absorbed whole", 90, 1, {5000}, true, 1339, 30, 1.0f, 0, {}},
  };
  upcall::AddPunkte = Merken;
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Schiffstyp(0, 0, f.stufe);
    Beam[0] = BeamStatus{};
    ResetCombos();
    for (size_t e = 0; e < f.hp.size(); ++e) Feind(static_cast<int32_t>(e), 200 + 5.0f * e, f.hp[e]);
    gesehen.clear();
    BigPartikel.Reset();
    Fliegend(0, f.ladung);
    const BeamStatus& b = Beam[0];
    EXPECT_EQ(b.Fliegt == 0, f.absorbiert);
    EXPECT_EQ(b.Nachleuchten, f.absorbiert ? 10 : 0);
    EXPECT_EQ(b.Schaden, f.schaden);
    EXPECT_EQ(b.Breite, f.breite);
    EXPECT_EQ(ComboFaktor[0], f.comboFaktor);
    EXPECT_EQ(ComboTreffer[0], f.treffer);
    EXPECT_EQ(gesehen, f.gesehen);
    // Where it was absorbed, one spark for every five of charge and one more.
    EXPECT_EQ(Absorptionsfunken(), f.absorbiert ? 90u / 5 + 1 : 0u);
    GegnerListe.Reset();
  }
}

TEST_F(BeamFlight, TheLandscapeStopsBeamsBelowFullAndTheDroneShipsAlways) {
  struct Fall {
    int32_t typ;
    float ladung;
    bool fliegt;
    int32_t nachleuchten;
  } faelle[] = {
      {0, 90, false, 10}, {0, 165, true, 0}, {1, 90, false, 0},
      {1, 165, true, 0},  {2, 90, true, -100}, {2, 165, true, -100},
  };
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(::testing::Message() << "type " << f.typ << " at " << f.ladung);
    Schiffstyp(0, f.typ, 3);
    Beam[0] = BeamStatus{};
    ComboFaktor[0] = 2;
    BigPartikel.Reset();
    shiptest::Rock(0, klotz, 190, 225);
    Fliegend(0, f.ladung);
    EXPECT_EQ(Beam[0].Fliegt != 0, f.fliegt);
    EXPECT_EQ(Beam[0].Nachleuchten, f.nachleuchten);
    EXPECT_EQ(ComboFaktor[0], f.typ == 1 && !f.fliegt ? 1.0f : 2.0f);
    // The landscape-hit flash does not wait.
    const auto treffer = Effekte(1);
    const bool blitz = std::any_of(treffer.begin(), treffer.end(), [](const BigPartikelDaten& p) {
      return p.Still == 0 && p.Dead == 10 && p.SX == 0;
    });
    EXPECT_EQ(blitz, !f.fliegt || f.typ == 2);
    Landschaft[3].Reset();
  }
}

TEST_F(BeamFlight, TheDroneShipOffers2100LessThanItCarries) {
  struct Fall {
    const char* name;
    int32_t schaden;
    float hp;  // 0: nothing in the way
    bool trifft;
    int32_t schadenDanach;
    float hpDanach;
  } faelle[] = {
      {"below 2100 over nothing: it flies on", 1000, 0, false, 1000, 0},
      {"below 2100 over an enemy: stopped, the enemy untouched", 1000, 500, true, 2100, 500},
      {"exactly 2100 offers 0 and passes everything", 2100, 500, false, 2100, 500},
      {"a real hit keeps what is left and 2100", 5000, 1000, true, 4000, -1900},
  };
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Schiffstyp(0, 2, 1);
    Beam[0] = BeamStatus{};
    ResetCombos();
    Fliegend(0, 60);
    BigPartikel.Reset();
    Beam[0].Schaden = f.schaden;
    Feindkomponente* teil = f.hp > 0 ? &Feind(0, 200, f.hp) : nullptr;
    Frames(1);
    const BeamStatus& b = Beam[0];
    EXPECT_TRUE(b.Fliegt);
    EXPECT_EQ(b.Schaden, f.schadenDanach);
    EXPECT_EQ(b.Nachleuchten, f.trifft ? -100 : 0);
    EXPECT_EQ(ComboFaktor[0], f.trifft ? 1.5f : 1.0f);
    EXPECT_EQ(ComboTreffer[0], f.trifft ? 1 : 0);
    if (teil) {
      EXPECT_EQ(teil->HP, f.hpDanach);
    }
    // The absorption's flash and sparks where the offer came back as 0.
    EXPECT_EQ(Absorptionsfunken(), f.schaden == 1000 && f.trifft ? 60u / 5 + 1 : 0u);
    if (f.trifft) {
      // Stopped: the shimmer lasts as many frames as the beam is wide.
      Frames(1);
      EXPECT_EQ(b.Nachleuchten, -19);
      EXPECT_EQ(b.X, 204);
    }
    GegnerListe.Reset();
  }
}

TEST_F(BeamFlight, AStoppedDroneBeamShimmersAndAFullOneBursts) {
  struct Fall {
    float ladung;
    int32_t stufe;
    int32_t schimmer;  // frames from the stop to the end
    int32_t schuesse;
  } faelle[] = {{60, 1, 20, 0}, {165, 2, 100, 8}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.ladung);
    Schiffstyp(0, 2, f.stufe);
    Beam[0] = BeamStatus{};
    Schuesse[1].Reset();
    Rendern = false;
    Fliegend(0, f.ladung);
    Rendern = true;
    BigPartikel.Reset();
    Beam[0].Nachleuchten = -100;
    ComboFaktor[0] = 2;
    int32_t frames = 0;
    while (Beam[0].Fliegt && frames < 200) {
      OverlayKopie = false;
      Frames(1);
      ++frames;
      ASSERT_TRUE(OverlayKopie);
    }
    EXPECT_EQ(frames, f.schimmer);
    EXPECT_EQ(ComboFaktor[0], 1.0f);
    EXPECT_EQ(Effekte(16).size() + Effekte(17).size(), 2u);
    ASSERT_EQ(Schuesse[1].Max + 1, f.schuesse);
    for (int32_t k = 0; k < f.schuesse; ++k) {
      const SchussDaten& s = Schuesse[1][k];
      const size_t a = 110 + 20 * static_cast<size_t>(k);
      EXPECT_EQ(std::vector<float>({s.SX, s.SY, s.Force, s.Stärke}),
                std::vector<float>({CosTab[a] * 20, SinTab[a] * 20, static_cast<float>(a), 2428.0f}));
      EXPECT_EQ(s.Art, 14);
    }
  }
}

TEST_F(BeamFlight, LightningAndHelixFollowChargeAndGunLevel) {
  struct Fall {
    int32_t typ, stufe;
    float ladung;
    int64_t blitze;  // bolts on the second flight frame
    bool helix;
  } faelle[] = {
      {0, 2, 59, 0, false},  {0, 2, 60, 1, false},  {0, 3, 120, 2, false}, {0, 1, 165, 0, false},
      {0, 2, 165, 2, false}, {0, 3, 165, 2, true},  {1, 2, 165, 0, true},  {1, 1, 165, 0, false},
      {2, 2, 165, 0, true},  {2, 3, 150, 0, false},
  };
  PartikelAn = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(::testing::Message() << "type " << f.typ << " level " << f.stufe << " at " << f.ladung);
    Schiffstyp(0, f.typ, f.stufe);
    Beam[0] = BeamStatus{};
    Rendern = false;
    Fliegend(0, f.ladung);
    Rendern = true;
    const uint32_t start = RndState();
    Frames(1);
    if (f.typ == 0) {
      // Each bolt draws one number for itself and one for each of its two joints.
      EXPECT_EQ(Gezogen(start), 3 * f.blitze);
    }
    const BeamStatus& b = Beam[0];
    const float x = f.typ == 0 ? b.X : b.X - 20;
    const auto y = static_cast<float>(double{b.Y} + 30.0 * SinusB(CLng((double{x} - b.StartX) * 0.8)));
    const BeamSpur& s = BeamVerlauf.BeamSchweif[0];
    if (f.helix) {
      EXPECT_EQ(std::vector<float>({s.X[15], s.Y[15]}), std::vector<float>({x, y}));
      EXPECT_EQ(s.X[16], -1.0f);  // a 15-point strand in its 21 places
    } else {
      EXPECT_EQ(s.X[15], -1.0f);
    }
  }
}

TEST_F(BeamFlight, TheGlowsParticlesAndNoiseComeOnlyOnDrawnFrames) {
  struct Fall {
    int32_t typ;
    float ladung;
    bool gezeichnet;
    size_t partikel;  // effect particles per frame
    float rauschen;
  } faelle[] = {
      {0, 100, true, 0, 0},     {1, 100, true, 2, 0},    {1, 160, true, 3, 0},
      {1, 100, false, 0, 0},    {2, 100, true, 1, 100 * 0.05f / 165}, {2, 100, false, 0, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(::testing::Message() << "type " << f.typ << " at " << f.ladung << (f.gezeichnet ? "" : " not drawn"));
    Schiffstyp(0, f.typ);
    Beam[0] = BeamStatus{.Ladung = f.ladung - 0.9f};
    BigPartikel.Reset();
    Rauschen = 0;
    Rendern = f.gezeichnet;
    Halten(0, AktionBeam);
    Frames(1);
    EXPECT_EQ(Effekte().size(), f.partikel);
    EXPECT_NEAR(Rauschen, f.rauschen, 1e-6);
  }
  // Under water every type blows bubbles from the glow, drawn or not.
  for (int32_t typ = 0; typ < 3; ++typ)
    for (bool gezeichnet : {false, true})
      for (int32_t wasser : {0, 400}) {
        SCOPED_TRACE(::testing::Message() << "type " << typ << (gezeichnet ? "" : " not drawn") << " water " << wasser);
        Schiffstyp(0, typ);
        Beam[0] = BeamStatus{};
        Blasen.Reset();
        Wasserstand = wasser;
        Rendern = gezeichnet;
        Frames(30);
        EXPECT_EQ(Blasen.Max >= 0, wasser > 0);
      }
}

TEST_F(BeamFlight, ABeamBelowTenOrOfAnUnknownShipEndsWithoutAFrame) {
  struct Fall {
    int32_t typ;
    float ladung;
  } faelle[] = {{0, 9.9f}, {2, 5}, {3, 100}, {-1, 165}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(::testing::Message() << "type " << f.typ << " at " << f.ladung);
    Schiffstyp(0, f.typ);
    Beam[0] = BeamStatus{};
    BackBuffer->BltColorFill(nullptr, 0);
    Fliegend(0, f.ladung);
    EXPECT_FALSE(Beam[0].Fliegt);
    EXPECT_EQ(Beam[0].Ladung + Beam[0].LadungAbschuss, 0);
    EXPECT_EQ(testsupport::BackBufferPixel(250, 235), 0u);
  }
}

TEST_F(BeamFlight, TheLensCopiesStayOnTheScreen) {
  // A bright screen behind the beam, so that copies show.
  const auto hell = [] {
    const platform::Rect r{0, 0, 800, 600};
    BackBuffer->BltColorFill(&r, 0xFFFFFF);
  };
  Schiffstyp(0, 2, 1, 100, -30);
  Rendern = false;
  Fliegend(0, 165);  // w 55, h 27, q 13, at y 5: the head's square starts above the screen
  Rendern = true;
  SurfaceInfo& blur = Surfaces[TexBlur];
  blur.Vertex[0].sx = -1234;
  hell();
  Frames(1);
  // The strip behind the head is inverted on this frame: its quad is left out, the rest is drawn.
  EXPECT_EQ(blur.Vertex[0].sx, -1234);
  EXPECT_EQ(Surfaces[TexBalken].Vertex[1].sx, Beam[0].StartX);
  // The part of the head's square off the screen is black in the copy; the rest is the screen.
  platform::Surface& kopf = *Surfaces[TexBlurB].Surface;
  EXPECT_EQ(kopf.GetPixel(64, 30) & 0xFFFFFF, 0u);
  EXPECT_EQ(kopf.GetPixel(64, 100) & 0xFFFFFF, 0xFFFFFFu);
  // Further on the strip is there.
  hell();
  Frames(1);
  EXPECT_EQ(blur.Vertex[1].sx, Beam[0].StartX);

  // Nothing of it on the screen at all: no copy, the quads of the rest still drawn.
  Schiffstyp(0, 2, 1, 100, -200);
  Beam[0] = BeamStatus{};
  Rendern = false;
  Fliegend(0, 165);
  Rendern = true;
  blur.Vertex[0].sx = -1234;
  Surfaces[TexBlurB].Vertex[0].sx = -1234;
  Frames(2);
  EXPECT_EQ(blur.Vertex[0].sx, -1234);
  EXPECT_EQ(Surfaces[TexBlurB].Vertex[0].sx, -1234);
  EXPECT_EQ(Surfaces[TexKreis2].Vertex[1].sx, Beam[0].X - 20);
}

// ---- Reference frames ------------------------------------------------------------------------

namespace {

// A grey checkerboard over the play area, for the lenses to magnify.
void Schachbrett() {
  BackBuffer->BltColorFill(nullptr, 0);
  for (int y = 0; y < 550; y += 16)
    for (int x = (y / 16) % 2 * 16; x < 800; x += 32) {
      const platform::Rect r{x, y, x + 16, y + 16};
      BackBuffer->BltColorFill(&r, 0x303840);
    }
}

// One frame of the game: the board, the ships, the beam step, the effect particles.
void Bild(const std::vector<int32_t>& spieler) {
  Schachbrett();
  RenderStart();
  for (int32_t p : spieler) ShowSprite(Schiff[p].Bilder[2], CLng(Spieler[p].X), CLng(Spieler[p].Y), true);
  SpielBeam();
  MoveBigPartikel();
  RenderEnd();
}

}  // namespace

TEST_F(BeamFlight, EveryGlowMatchesItsReferenceFrame) {
  // The V-Tonator and the V-Phyton charging together, then the drone ship charged full.
  struct Glut {
    int32_t typ;
    float ladung;
    float y;
  };
  const Glut gluten[] = {{0, 120, 30}, {1, 161, 140}, {2, 165, 250}};
  PartikelAn = true;
  BigPartikel.Reset();
  for (int t = 0; t < 6; ++t) {
    LevelTick = t;
    Schachbrett();
    RenderStart();
    for (const Glut& g : gluten) {
      Schiffstyp(0, g.typ, 2, 60, g.y);
      Beam[0] = BeamStatus{.Ladung = g.ladung};
      ShowSprite(Schiff[0].Bilder[2], 60, CLng(g.y), true);
      beam::Ladeleuchten(0);
    }
    MoveBigPartikel();
    RenderEnd();
  }
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/beam_glow_32.bmp", *BackBuffer, {0, 0, 320, 360}),
            "");
}

TEST_F(BeamFlight, EveryBeamInFlightMatchesItsReferenceFrame) {
  // Full at gun level 3 with lightning and helix; full at level 2 with its helix; below
  // full, where the lens bar shows alone.
  struct Strahl {
    int32_t stufe;
    float ladung;
  };
  constexpr Strahl kStrahlen[] = {{3, 165}, {2, 165}, {1, 150}};
  PartikelAn = true;
  for (int32_t typ = 0; typ < 3; ++typ) {
    SCOPED_TRACE(typ);
    Schiffstyp(0, typ, kStrahlen[typ].stufe, 40, 160);
    Beam[0] = BeamStatus{.Ladung = kStrahlen[typ].ladung};
    BigPartikel.Reset();
    ResetBeamProcedure();
    for (int t = 0; t < 12; ++t) {
      LevelTick = t;
      Bild({0});
    }
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/beam_flight" + std::to_string(typ) + "_32.bmp",
                                                *BackBuffer, {20, 120, 460, 280}),
              "");
  }
}
