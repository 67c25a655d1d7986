// The beam step: the mode key in both operations, charging with its rising pitch, the
// release with its damage and sounds, the key sets, the mode-1 ring and power mode with its
// drain, the after-glow, a dead ship's frozen beam, stored values out of range, and the
// charge overlay.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "beam_support.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/sound.hpp"
#include "platform/bytes.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "world/particles_state.hpp"
#include "world/weather_state.hpp"

using namespace beamtest;

namespace {

class Beams : public BeamTest {};

bool Spielt(int32_t nr) {
  for (const auto& k : Sounds[static_cast<size_t>(nr)].Kopien)
    if (k.GetStatus() & DSBSTATUS_PLAYING) return true;
  return false;
}

// Pulses queued for player `p` with strength `s` lasting `t` frames.
int Stoesse(int32_t s, int32_t t, int32_t p) {
  int n = 0;
  for (int i = 0; i < ForceSlots; ++i) n += ForcePower[i] == s && ForceTime[i] == t && ForcePlayer[i] == p;
  return n;
}

}  // namespace

TEST_F(Beams, TheMeterFillsAtFrame184WithAPitchRisingByMode) {
  struct Fall {
    int16_t modus;
    int32_t klaenge;  // plays per frame
    int32_t erste, volle;  // frequency after the first frame, and when full
  } faelle[] = {{0, 2, 10108, 30000}, {1, 1, 1090, 18000}};
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.modus);
    Beam[0] = BeamStatus{.Modus = f.modus, .AktivModus = f.modus};
    Spieler[0].Schaden = 0;
    const int32_t klang = f.modus == 0 ? laden0 : laden1;
    Halten(0, AktionBeam);
    for (int frame = 1; frame <= 186; ++frame) {
      Frames(1);
      ASSERT_EQ(Gespielt(klang), f.klaenge) << frame;
      const auto& kopie = LetzteKopie(klang);
      EXPECT_EQ(kopie.GetStatus(), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
      if (frame == 1) {
        EXPECT_EQ(kopie.GetFrequency(), f.erste);
      }
      if (frame == 183) {
        EXPECT_NEAR(Beam[0].Ladung, 164.7f, 1e-3);
        EXPECT_EQ(kopie.GetFrequency(), f.modus == 0 ? 29764 : 17470);
      }
      if (frame >= 184) {
        EXPECT_EQ(Beam[0].Ladung, 165.0f) << frame;
        EXPECT_EQ(kopie.GetFrequency(), f.volle);
      }
      EXPECT_EQ(Beam[0].LadungAbschuss, Beam[0].Ladung);
    }
    // Holding at full adds nothing more to the damage fired.
    EXPECT_EQ(Spieler[0].Schaden, 183 * 19);
    EXPECT_FALSE(Beam[0].Fliegt);
    shiptest::ReleaseAll();
    Beam[0].Ladung = 0;
  }
}

TEST_F(Beams, TheReleaseDealsDamageShakesAndSounds) {
  struct Fall {
    const char* name;
    int16_t modus;
    int32_t typ, stufe;
    float ladung;
    int32_t schaden;
    int32_t erschuetterung;
    int32_t klaenge;     // release sounds of the mode
    int32_t blitzDauer;  // life of the release flash; 0 none
    bool power;
  } faelle[] = {
      {"mode 0 at 100, gun level 2", 0, 0, 2, 100, 3170, 5, 2, 5, false},
      {"mode 0 at 9.0: no release sound", 0, 0, 1, 9, 34, 0, 0, 5, false},
      {"mode 0 just above 9", 0, 0, 1, 9.9f, 39, 0, 2, 5, false},
      {"mode 0 full at gun level 3", 0, 0, 3, 165, 25500, 10, 2, 10, false},
      {"mode 0 full, the V-Phyton carries 1500 more", 0, 1, 1, 165, 10000, 10, 2, 10, false},
      {"mode 1 full: the background mode is kept", 1, 0, 2, 165, 3, 0, 2, 0, true},
      {"mode 1 below full: no sound, no power", 1, 0, 1, 100, 1585, 0, 0, 0, false},
  };
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    BigPartikel.Reset();
    ForceTime.fill(0);
    Erschuetterung = 0;
    HintergrundModus = 3;
    Schiffstyp(0, f.typ, f.stufe);
    Beam[0] = BeamStatus{.Modus = f.modus, .AktivModus = f.modus, .Ladung = f.ladung};
    BeamVerlauf.RingRadius = 30;  // as the charging left it
    Gespielt(f.modus == 0 ? beam0 : beam1);
    Frames(1);
    const BeamStatus& b = Beam[0];
    EXPECT_EQ(b.Schaden, f.schaden);
    EXPECT_EQ(Erschuetterung, f.erschuetterung);
    EXPECT_EQ(Gespielt(f.modus == 0 ? beam0 : beam1), f.klaenge);
    EXPECT_EQ(Stoesse(1, 5, 0), 1);
    // Below 10 the beam ends on its first flight frame.
    const bool fliegt = f.ladung >= 10 || f.modus == 1;
    EXPECT_EQ(b.Fliegt != 0, fliegt);
    EXPECT_EQ(b.LadungAbschuss, fliegt ? f.ladung : 0);
    EXPECT_EQ(b.Ladung, f.power ? 165.0f : 0.0f);
    EXPECT_EQ(b.StartX, 164);
    EXPECT_EQ(b.StartY, 235);  // 200 + 17 + 37 \ 2
    EXPECT_EQ(b.Powermodus != 0, f.power);
    EXPECT_EQ(HintergrundModus, f.power ? 0 : 3);
    const auto blitze = Effekte(11);
    ASSERT_EQ(blitze.size(), f.blitzDauer ? 1u : 0u);
    if (f.blitzDauer) {
      EXPECT_EQ(blitze[0].Dead, f.blitzDauer);
      EXPECT_EQ(std::vector<float>({blitze[0].x, blitze[0].y, blitze[0].SX}), std::vector<float>({105.0f, 205.0f, -4.0f}));
      EXPECT_FLOAT_EQ(b.Breite, f.ladung / 3);
    }
  }
}

TEST_F(Beams, TheModeKeyTogglesOrSelectsWhileHeld) {
  struct Schritt {
    bool wechsel, beam;
    int32_t modus, aktiv;
    float ladung;
    int32_t pressQ;
  };
  struct Fall {
    const char* name;
    bool force;
    BeamStatus start;
    std::vector<Schritt> schritte;
  } faelle[] = {
      {"toggle: one switch per press",
       false,
       {},
       {{true, false, 1, 1, 0, 1}, {true, false, 1, 1, 0, 0}, {false, false, 1, 1, 0, 0}, {true, false, 0, 0, 0, 1}}},
      {"toggle while charging: the charge is lost",
       false,
       {.Ladung = 50},
       {{false, true, 0, 0, 50.9f, 0}, {true, true, 1, 1, 0.9f, 1}}},
      {"a flying beam keeps its mode until it ends",
       false,
       {.Modus = 1, .AktivModus = 1, .LadungAbschuss = 60, .Fliegt = VBTrue},
       {{true, false, 0, 1, 0, 1}, {false, false, 0, 1, 0, 0}}},
      {"hold: mode 1 follows a frame later and the key charges it",
       true,
       {},
       {{true, false, 1, 0, 0.9f, 0}, {true, false, 1, 1, 0.9f, 0}, {true, false, 1, 1, 1.8f, 0}}},
  };
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    ForceModus = f.force;
    Beam[0] = f.start;
    BeamVerlauf.WechselGehalten = {};
    BeamVerlauf.RingRadius = 30;
    Gespielt(pressq);
    int n = 0;
    for (const Schritt& s : f.schritte) {
      SCOPED_TRACE(n++);
      Halten(0, AktionBeamWechsel, s.wechsel);
      Halten(0, AktionBeam, s.beam);
      Frames(1);
      EXPECT_EQ(Beam[0].Modus, s.modus);
      EXPECT_EQ(Beam[0].AktivModus, s.aktiv);
      EXPECT_FLOAT_EQ(Beam[0].Ladung, s.ladung);
      EXPECT_EQ(Gespielt(pressq), s.pressQ);
    }
    // Every change of mode stopped the charge sound of the old one.
    EXPECT_FALSE(Spielt(laden0));
    shiptest::ReleaseAll();
  }
}

TEST_F(Beams, EachPlayerChargesWithItsOwnKeysAndFiringLetsGo) {
  struct Fall {
    const char* name;
    int32_t letzter;
    int32_t set;
    std::function<void()> auch;
    const char* erwartet;  // by player: c charging, r released, - untouched
  } faelle[] = {
      {"one player reads set 0", 0, 0, [] {}, "c-"},
      {"one player: set 1 is not his", 0, 1, [] {}, "r-"},
      {"two players: the first reads set 1", 1, 1, [] {}, "cr"},
      {"two players: the second reads set 2", 1, 2, [] {}, "rc"},
      {"the fire key lets go", 0, 0, [] { shiptest::Hold(0, AktionSchießen); }, "r-"},
      {"the level's end takes the ship", 0, 0, [] { Spieler[0].Status = 1; }, "r-"},
  };
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    LetzterSpieler = f.letzter;
    Beam.fill(BeamStatus{.Ladung = 10});
    Spieler[0].Status = 0;
    shiptest::Hold(f.set, AktionBeam);
    f.auch();
    Frames(1);
    for (int32_t p = 0; p < 2; ++p) {
      SCOPED_TRACE(p);
      const char e = f.erwartet[p];
      EXPECT_FLOAT_EQ(Beam[p].Ladung, e == 'c' ? 10.9f : e == 'r' ? 0 : 10);
      EXPECT_EQ(Beam[p].Fliegt != 0, e == 'r');
    }
    shiptest::ReleaseAll();
  }
  Spieler[0].Status = 0;
}

TEST_F(Beams, ModeOneChargesWithSparksAndItsRingCollapsesOnTheNinthShrink) {
  // One bolt, and one more from 60 and from 120: four random numbers each.
  struct Fall {
    float vorher;
    int64_t zahlen;
  } faelle[] = {{58.1f, 4}, {59.2f, 8}, {119.2f, 12}, {164.5f, 12}};
  Rendern = false;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.vorher);
    Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = f.vorher};
    Halten(0, AktionBeam);
    const uint32_t start = RndState();
    Frames(1);
    EXPECT_EQ(Gezogen(start), f.zahlen);
    EXPECT_EQ(BeamVerlauf.RingRadius, 30);
    EXPECT_TRUE(BeamVerlauf.RingSichtbar);
  }

  Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = 60};
  shiptest::ReleaseAll();
  Gespielt(beam1);
  std::vector<float> radien;
  do {
    Frames(1);
    radien.push_back(BeamVerlauf.RingRadius);
  } while (Beam[0].Fliegt && radien.size() < 20);
  EXPECT_EQ(radien, std::vector<float>({26, 22, 18, 14, 10, 6, 2, -2, -6}));
  EXPECT_EQ(Beam[0].Ladung + Beam[0].LadungAbschuss, 0);
  EXPECT_FALSE(Beam[0].Powermodus);
  EXPECT_EQ(Gespielt(beam1), 0);
  EXPECT_EQ(HintergrundModus, 1);
}

TEST_F(Beams, ThePowerModeRunsFiveHundredFramesAndThenDrains) {
  for (int32_t letzter : {0, 1}) {
    SCOPED_TRACE(letzter);
    LetzterSpieler = letzter;
    HintergrundModus = 4;
    Spieler[0].Energie = 50;
    Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = 165};
    std::vector<int32_t> blitz;  // the flash over the play area, by frame
    for (int frame = 1; frame <= 499; ++frame) {
      Rendern = frame <= 21;
      if (Rendern) BackBuffer->BltColorFill(nullptr, 0);
      Frames(1);
      if (frame <= 21) blitz.push_back(static_cast<int32_t>(testsupport::BackBufferPixel(600, 500) & 0xFF));
      ASSERT_EQ(HintergrundModus, letzter == 0 ? 0 : 4) << frame;
      ASSERT_EQ(Beam[0].Ladung, 165.0f);
      ASSERT_TRUE(Beam[0].Powermodus);
    }
    // Up over ten frames, down over ten; the display strip below the play area stays dark.
    EXPECT_EQ(blitz, std::vector<int32_t>({26, 51, 77, 102, 128, 153, 178, 204, 229, 255, 229, 204, 179, 153, 128,
                                           102, 76, 51, 26, 0, 0}));
    EXPECT_EQ(testsupport::BackBufferPixel(600, 560), 0u);
    Rendern = false;
    ComboFaktor[0] = 2.5f;
    Frames(1);
    EXPECT_EQ(Beam[0].PowerZeit, 500);
    EXPECT_EQ(HintergrundModus, 4);
    EXPECT_FALSE(Beam[0].Powermodus);
    EXPECT_EQ(ComboFaktor[0], 1.0f);
    EXPECT_NEAR(Spieler[0].Energie, 65, 0.01);
    int drain = 0;
    while (Beam[0].Fliegt && drain < 2000) {
      Frames(1);
      ++drain;
    }
    Rendern = true;
    EXPECT_EQ(drain, 826);
    EXPECT_EQ(Beam[0].PowerZeit + Beam[0].Ladung + Beam[0].LadungAbschuss, 0);
    EXPECT_NEAR(Spieler[0].Energie, 65, 0.01);
  }
}

TEST_F(Beams, APowerModeEndedByTheEnemyMoverFinishesOnTheNextPass) {
  Rendern = false;
  Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = 165};
  Frames(120);
  // What the enemy mover does.
  Beam[0].PowerZeit = 500;
  HintergrundModus = Beam[0].Schaden;
  Beam[0].Ladung = 0;
  Beam[0].Powermodus = VBFalse;
  Frames(1);
  EXPECT_FALSE(Beam[0].Fliegt);
  EXPECT_EQ(Beam[0].PowerZeit, 0);
  EXPECT_EQ(HintergrundModus, 1);
}

TEST_F(Beams, ADeadShipsBeamWaitsUndrawnForTheRespawn) {
  Fliegend(0, 100);
  const float x = Beam[0].X;
  Spieler[0].Tod = 30;
  BackBuffer->BltColorFill(nullptr, 0);
  Frames(3);
  EXPECT_EQ(Beam[0].X, x);
  EXPECT_TRUE(Beam[0].Fliegt);
  EXPECT_EQ(testsupport::BackBufferPixel(static_cast<int>(x) - 10, 235), 0u);
  Spieler[0].Tod = 0;
  Frames(1);
  EXPECT_EQ(Beam[0].X, x + 24);
  EXPECT_NE(testsupport::BackBufferPixel(static_cast<int>(x) - 10, 235), 0u);
}

TEST_F(Beams, TheAfterGlowFadesResetsTheComboAndDrainsTheHelix) {
  Schiffstyp(0, 0, 3);
  Rendern = false;
  Fliegend(0, 165);
  while (Beam[0].Fliegt) Frames(1);
  ASSERT_EQ(Beam[0].Nachleuchten, 10);
  for (const BeamSpur& s : BeamVerlauf.BeamSchweif) ASSERT_NE(s.X[15], -1.0f);
  for (int32_t n = 9; n >= 0; --n) {
    ComboFaktor[0] = 3;
    ComboTreffer[0] = 4;
    Frames(1);
    EXPECT_EQ(Beam[0].Nachleuchten, n);
    EXPECT_EQ(ComboFaktor[0], 1.0f);
    EXPECT_EQ(ComboTreffer[0], 0);
  }
  for (const BeamSpur& s : BeamVerlauf.BeamSchweif) {
    EXPECT_NE(s.X[5], -1.0f);
    for (int i = 6; i <= 15; ++i) EXPECT_EQ(s.X[i], -1.0f) << i;
  }
  ComboFaktor[0] = 3;
  Frames(1);
  EXPECT_EQ(ComboFaktor[0], 3.0f);

  // An after-glow restored into a fresh start has only empty points to feed.
  ResetBeamProcedure();
  Beam[0] = BeamStatus{.X = 500, .StartX = 164, .StartY = 235, .Breite = 40, .Nachleuchten = 10};
  Rendern = true;
  BackBuffer->BltColorFill(nullptr, 0);
  Frames(1);
  for (const BeamSpur& s : BeamVerlauf.BeamSchweif)
    for (int i = 0; i <= kBeamSchweifN; ++i) EXPECT_EQ(s.X[i] + s.Y[i], -2.0f);
  EXPECT_EQ(testsupport::BackBufferPixel(2, 2), 0u);
  EXPECT_NE(testsupport::BackBufferPixel(300, 235), 0u);
}

TEST_F(Beams, StoredRecordsKeepTheirFieldsAndComeBackInRange) {
  // PowerZeit 7, X 1.0, Modus 1, AktivModus -1 (0xFFFF), Ladung 2.0, Nachleuchten 9: the
  // other fields zero.
  std::vector<uint8_t> bytes(50, 0);
  bytes[0] = 7;
  bytes[7] = 0x3F, bytes[6] = 0x80;  // 1.0f
  bytes[24] = 1;
  bytes[28] = bytes[29] = 0xFF;
  bytes[33] = 0x40;  // 2.0f
  bytes[46] = 9;
  BeamStatus b;
  platform::ByteReader r(bytes);
  Felder(r, b);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(b.PowerZeit, 7);
  EXPECT_EQ(b.X, 1.0f);
  EXPECT_EQ(b.Modus, 1);
  EXPECT_EQ(b.AktivModus, 1);
  EXPECT_EQ(b.Ladung, 2.0f);
  EXPECT_EQ(b.Nachleuchten, 9);

  struct Fall {
    float ladung, abschuss;
    int32_t modus;
    float ladungDanach, abschussDanach;
  } faelle[] = {
      {1e9f, -5, 7, 165, 0},
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -3, 0, 165},
      {164.9f, 12, 0, 164.9f, 12},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.ladung);
    BeamStatus aus{.Modus = f.modus, .Ladung = f.ladung, .LadungAbschuss = f.abschuss};
    std::vector<uint8_t> gespeichert;
    platform::ByteWriter w(gespeichert);
    Felder(w, aus);
    ASSERT_EQ(gespeichert.size(), 50u);
    BeamStatus ein;
    platform::ByteReader leser(gespeichert);
    Felder(leser, ein);
    EXPECT_EQ(ein.Ladung, f.ladungDanach);
    EXPECT_EQ(ein.LadungAbschuss, f.abschussDanach);
    EXPECT_EQ(ein.Modus, f.modus == 0 ? 0 : 1);
  }

  // Held in memory, such a charge is pulled in by the step itself.
  Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = 60, .LadungAbschuss = 1e9f, .Fliegt = VBTrue};
  BeamVerlauf.RingRadius = 10;
  Frames(1);
  EXPECT_EQ(Beam[0].LadungAbschuss, 165);
  EXPECT_TRUE(Beam[0].Powermodus == 0);
}

TEST_F(Beams, TheChargeOverlayClosesOnTheShipOverTheLastTenOfTheCharge) {
  struct Fall {
    float ladung;
    std::vector<bool> hell;  // rows 50, 150, 230 (the ship), 300, 500, 560 (the display)
  } faelle[] = {
      {0, {false, false, false, false, false, false}},
      {50, {true, true, false, true, true, false}},
      {160, {false, true, false, true, false, false}},
      {165, {false, false, false, false, false, false}},
  };
  const int zeilen[] = {50, 150, 230, 300, 500, 560};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.ladung);
    Beam[0] = BeamStatus{.Modus = 1, .AktivModus = 1, .Ladung = f.ladung > 0 ? f.ladung - 0.9f : 0};
    Halten(0, AktionBeam, f.ladung > 0);
    BackBuffer->BltColorFill(nullptr, 0);
    Frames(1);
    ASSERT_FLOAT_EQ(Beam[0].Ladung, f.ladung);
    for (size_t i = 0; i < f.hell.size(); ++i)
      EXPECT_EQ(testsupport::BackBufferPixel(600, zeilen[i]) != 0, f.hell[i]) << zeilen[i];
  }
}
