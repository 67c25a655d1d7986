// The hit tests' table against the scan it stands in for. Random scenes of enemies and
// scenery are tested by random rectangles once inside passes (the table answers) and once
// outside them (the scan answers): every answer and the world each test leaves behind must
// be the same. A stretch of the storm arsenal, played by two players, runs with every
// answer of the table checked against the scan.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "headless/run.hpp"
#include "player/beam_state.hpp"
#include "player/nova_state.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/stress_level.hpp"
#include "support/support.hpp"
#include "world/collision.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/upcalls.hpp"

namespace {

using Zufall = std::mt19937;

int32_t Zahl(Zufall& z, int32_t von, int32_t bis) { return std::uniform_int_distribution<int32_t>(von, bis)(z); }
bool Mal(Zufall& z, double p) { return std::bernoulli_distribution(p)(z); }

// A picture of w x h whose row y is opaque from `spanne`(y).first to .second (an empty row
// when first > second). Only its profile is made: the hit tests read nothing else.
template <class Spanne>
void Bild(int32_t w, int32_t h, Spanne spanne) {
  SurfaceInfo s;
  s.Width = static_cast<int16_t>(w), s.Height = static_cast<int16_t>(h), s.SrcRect = {0, 0, w, h};
  s.RandLinks.assign(static_cast<size_t>(h), -1);
  s.RandRechts.assign(static_cast<size_t>(h), -1);
  s.ErsteZeile = h, s.LetzteZeile = 0, s.RandMinX = w, s.RandMaxX = 0;
  for (int32_t y = 0; y < h; ++y) {
    const auto [l, r] = spanne(y);
    if (l > r) continue;
    s.RandLinks[static_cast<size_t>(y)] = l, s.RandRechts[static_cast<size_t>(y)] = r;
    s.ErsteZeile = std::min(s.ErsteZeile, y), s.LetzteZeile = std::max(s.LetzteZeile, y);
    s.RandMinX = std::min(s.RandMinX, l), s.RandMaxX = std::max(s.RandMaxX, r);
  }
  Surfaces.push_back(std::move(s));
}

using Zeilen = std::pair<int32_t, int32_t>;

// Pictures full, triangular, with empty rows across the middle, opaque only in the middle,
// wide, thin, and one without a profile (nothing of it counts); sprites of one frame of
// each, one of several frames with a frame that has no picture, one naming a picture
// that does not exist, one without frames.
void Bilder() {
  Bild(16, 16, [](int32_t) { return Zeilen{0, 15}; });
  Bild(20, 20, [](int32_t y) { return Zeilen{0, y}; });
  Bild(24, 24, [](int32_t y) { return y >= 8 && y < 16 ? Zeilen{1, 0} : Zeilen{0, 23}; });
  Bild(30, 30, [](int32_t y) { return y >= 10 && y < 20 ? Zeilen{5, 24} : Zeilen{1, 0}; });
  Bild(120, 50, [](int32_t) { return Zeilen{0, 119}; });
  Bild(3, 40, [](int32_t) { return Zeilen{1, 1}; });
  SurfaceInfo ohneProfil;
  ohneProfil.Width = ohneProfil.Height = 12, ohneProfil.SrcRect = {0, 0, 12, 12}, ohneProfil.LetzteZeile = 11;
  Surfaces.push_back(std::move(ohneProfil));
  SpriteDefs.clear();
  for (int32_t nr = 0; nr <= SurfacesMax(); ++nr)
    SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = nr}}});
  SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = 0}, SpriteFrame{.Surface = 1},
                                            SpriteFrame{.Surface = -1}, SpriteFrame{.Surface = 3}}});
  SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = 99}}});
  SpriteDefs.push_back(SpriteDef{});
}

// A place: mostly on or near the screen on whole, half and quarter pixels (halves round
// to even); now and then far off, beyond what a Long holds, or not a number.
float Ort(Zufall& z, int32_t bis) {
  switch (Zahl(z, 0, 59)) {
    case 0: return Mal(z, 0.5) ? 1e6f : -1e6f;
    case 1: return Mal(z, 0.5) ? 3e9f : -3e12f;
    case 2: return std::numeric_limits<float>::quiet_NaN();
    default: return static_cast<float>(Zahl(z, -120, bis + 120)) + 0.25f * static_cast<float>(Zahl(z, 0, 3));
  }
}

Feindkomponente Teil(Zufall& z) {
  Feindkomponente k{.OffsetX = static_cast<float>(Zahl(z, -40, 80)) + 0.5f * static_cast<float>(Zahl(z, 0, 1)),
                    .OffsetY = static_cast<float>(Zahl(z, -30, 60))};
  k.Sprite = Zahl(z, -1, SpriteDefsMax() + 1), k.AniA = Zahl(z, -1, 4);
  k.Lebt = VBBool(Mal(z, 0.85));
  k.HP = Mal(z, 0.3) ? 1e9f : static_cast<float>(Zahl(z, 1, 300));
  k.TrefferAufGegner = VBBool(Mal(z, 0.2)), k.VerlustToetet = VBBool(Mal(z, 0.15));
  k.Unzerstörbar = VBBool(Mal(z, 0.1));
  k.Punkte = Zahl(z, 0, 2000);
  return k;
}

// An enemy of one to six parts: pass-through, solid, leaving followers of the templates,
// dying in any of its ways.
GegnerTyp Typ(Zufall& z, bool nachfolger) {
  GegnerTyp t{.HP = static_cast<float>(Zahl(z, 1, 400)), .Width = Zahl(z, 10, 100), .Height = Zahl(z, 10, 60)};
  for (int32_t n = Zahl(z, 1, 6); n > 0; --n) t.Komponenten.push_back(Teil(z));
  t.Punkte = Zahl(z, 0, 3000);
  auto& P = t.Parameter;
  P[3] = Zahl(z, 0, 1), P[4] = Mal(z, 0.1) ? Zahl(z, 1, 30) : 0, P[5] = Zahl(z, 0, 1), P[8] = Mal(z, 0.3);
  P[9] = nachfolger && Mal(z, 0.25) ? Zahl(z, 0, 2) * 1000 + Zahl(z, 0, 2) * 10 + Zahl(z, 0, 3) : 0;
  P[10] = Zahl(z, 0, 2), P[11] = Mal(z, 0.1), P[12] = Mal(z, 0.05), P[13] = Mal(z, 0.2), P[15] = Mal(z, 0.1);
  return t;
}

void Szene(Zufall& z) {
  GegnerTypen.clear();
  for (int i = 0; i < 3; ++i) GegnerTypen.push_back(Typ(z, false));
  for (int32_t e = 0; e <= GegnerListe.Kapazitaet; ++e) {
    Gegner& g = GegnerListe[e];
    g = Gegner{.Typ = Typ(z, true), .X = Ort(z, 800), .Y = Ort(z, 550)};
    g.Aktiv = VBBool(Mal(z, 0.5)), g.Stirbt = VBBool(Mal(z, 0.1));
    if (g.Aktiv) GegnerMax = e;
  }
  LandschaftEbene& fels = Landschaft[3];
  for (int32_t i = 0; i <= fels.Kapazitaet(); ++i) {
    fels.Objekte[static_cast<size_t>(i)] = LandschaftObjekt{
        .X = Ort(z, 800), .Y = Ort(z, 550), .Sprite = Zahl(z, -1, SpriteDefsMax() + 1), .Aktiv = VBBool(Mal(z, 0.2))};
    if (fels.Objekte[static_cast<size_t>(i)].Aktiv) fels.Max = i;
  }
}

// Between two passes the world moves on: enemies fly, animate, lose or regain parts,
// start or stop dying, turn solid, leave or arrive; rocks scroll, appear and go; the
// shared frames move on; now and then the pool's highest slot is off.
void Weiter(Zufall& z) {
  for (int32_t e = 0; e <= GegnerListe.Kapazitaet; ++e) {
    Gegner& g = GegnerListe[e];
    if (!g.Aktiv) continue;
    g.X += static_cast<float>(Zahl(z, -16, 16)) / 2, g.Y += static_cast<float>(Zahl(z, -8, 8));
    for (Feindkomponente& k : g.Typ.Komponenten) {
      if (Mal(z, 0.2)) k.AniA = Zahl(z, -1, 4);
      if (Mal(z, 0.05)) k.Lebt = VBBool(!k.Lebt);
    }
    if (Mal(z, 0.05)) g.Stirbt = VBBool(!g.Stirbt);
    if (Mal(z, 0.05)) g.Typ.Parameter[8] = 1 - g.Typ.Parameter[8];
    if (Mal(z, 0.03)) KillEnemy(e);
  }
  for (int n = Zahl(z, 0, 3); n > 0; --n)
    AddEnemy(GegnerTypen[static_cast<size_t>(Zahl(z, 0, 2))], 0, 0, Zahl(z, 0, 500), Zahl(z, 0, 800));
  for (LandschaftObjekt& o : Landschaft[3].Objekte) {
    o.X -= 2;
    if (Mal(z, 0.05)) o.Aktiv = VBBool(!o.Aktiv);
  }
  for (SpriteDef& d : SpriteDefs) d.AniA = Zahl(z, -1, 4);
  if (Mal(z, 0.1)) GegnerMax = Zahl(z, -1, GegnerListe.Kapazitaet);
  WeltAngehalten = VBBool(Mal(z, 0.2));
  LetzterSpieler = Zahl(z, 0, 1);
  for (BeamStatus& b : Beam) b.Powermodus = VBBool(Mal(z, 0.2));
}

int32_t Klemme(double v) {
  return std::isnan(v) ? 0 : static_cast<int32_t>(std::clamp<double>(v, INT32_MIN, INT32_MAX));
}

// A rectangle: around a part of an enemy, anywhere small, a line across the screen as a
// laser tests, turned inside out, reaching to the ends of the Longs, or large.
Rechteck Rechteckwahl(Zufall& z) {
  const int32_t x = Zahl(z, -50, 850), y = Zahl(z, -50, 600), w = Zahl(z, 0, 40), h = Zahl(z, 0, 30);
  switch (Zahl(z, 0, 7)) {
    case 0: return {x, y, x + w, y + h};
    case 1: return Mal(z, 0.5) ? Rechteck{x, y, 800, y} : Rechteck{0, y, x, y};
    case 2: return {x + w, y + h, x, y};
    case 3: return {INT32_MIN, Zahl(z, INT32_MIN, 0), INT32_MAX, Zahl(z, 0, INT32_MAX)};
    case 4: return {x - 300, y - 200, x + 300, y + 200};
    default: break;
  }
  const Gegner& g = GegnerListe[Zahl(z, 0, std::max(GegnerMax, 0))];
  if (g.Typ.Komponenten.empty()) return {x, y, x + w, y + h};
  const Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(Zahl(z, 0, g.Typ.KomponentenMax()))];
  const double l = double{g.X} + k.OffsetX + Zahl(z, -20, 30), o = double{g.Y} + k.OffsetY + Zahl(z, -20, 30);
  return {Klemme(l), Klemme(o), Klemme(l + w), Klemme(o + h)};
}

// What a test answered, and a fingerprint of the world after it: the enemy pool, the
// particle, effect-particle and enemy-shot pools, the random sequence, the scores and the
// combo values.
struct Antwort {
  int32_t Art = 0, Ergebnis = 0, Feind = 0;
  bool Unzerstoerbar = false;
  uint64_t Welt = 0;
  bool operator==(const Antwort&) const = default;
};

uint64_t gPunkte = 0;
void Punkte(int32_t p, float x, float y, float, int32_t v) {
  for (const int32_t w : {p, CLng(x), CLng(y), v}) gPunkte = gPunkte * 31 + static_cast<uint32_t>(w);
}

uint64_t Welt() {
  uint64_t h = 1469598103934665603u;
  const auto dazu = [&](auto v) {
    unsigned char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    for (unsigned char c : b) h = (h ^ c) * 1099511628211u;
  };
  dazu(GegnerMax), dazu(GegnerFrei);
  for (const Gegner& g : GegnerListe.Slot) {
    dazu(g.Aktiv), dazu(g.Stirbt), dazu(g.TodArt), dazu(g.TodZeit), dazu(g.Typ.HP), dazu(g.X), dazu(g.Y);
    for (const Feindkomponente& k : g.Typ.Komponenten) dazu(k.Lebt), dazu(k.HP), dazu(k.TrefferBlitz);
  }
  for (const auto& p : Partikel) dazu(p.Max), dazu(p.Frei);
  dazu(BigPartikel.Max), dazu(GegnerSchuesse.Max), dazu(RndState()), dazu(gPunkte), dazu(Spieler[0].Abschuesse);
  dazu(ComboFaktor), dazu(ComboTreffer);
  return h;
}

// Eight ticks of a scene from `seed`, forty tests a tick: in passes when `tabelle`.
std::vector<Antwort> Spiele(uint32_t seed, bool tabelle) {
  testsupport::FreshState();
  SoundAn = false;
  LetzterSpieler = 0;
  upcall::AddPunkte = Punkte;
  gPunkte = 0;
  Bilder();
  Zufall z(seed);
  Szene(z);
  SetRndState(seed);
  std::vector<Antwort> antworten;
  for (int tick = 0; tick < 8; ++tick) {
    if (tick > 0) Weiter(z);
    std::optional<Trefferdurchgang> durchgang;
    if (tabelle) durchgang.emplace();
    for (int n = 0; n < 40; ++n) {
      const Rechteck r = Rechteckwahl(z);
      Antwort a{.Art = Zahl(z, 0, 3), .Feind = -7};
      if (a.Art == 0) {
        static constexpr int32_t kEnergie[] = {-1, 0, 1, 5, 50, 500, 100000};
        const int32_t energie = kEnergie[Zahl(z, 0, 6)], skip = Mal(z, 0.3) ? Zahl(z, 0, GegnerListe.Kapazitaet) : -1;
        const bool funken = Mal(z, 0.5), voll = Mal(z, 0.3);
        const int32_t spieler = Zahl(z, -1, 1);
        a.Ergebnis = CheckColisionWithEnemy(r.Left, r.Top, r.Right, r.Bottom, energie, funken, voll, skip, a.Feind,
                                            a.Unzerstoerbar, spieler);
      } else if (a.Art == 1) {
        a.Ergebnis = CheckColisionWithLandschaft3(r.Left, r.Top, r.Right, r.Bottom, Mal(z, 0.5) ? Zahl(z, 0, 100) : -1);
      } else {
        a.Ergebnis = (a.Art == 2 ? CheckWhereColisionLeft : CheckWhereColisionRight)(r.Left, r.Top, r.Right, r.Bottom);
      }
      a.Welt = Welt();
      antworten.push_back(a);
    }
  }
  return antworten;
}

class Treffertabellen : public ::testing::Test {
 protected:
  void (*punkte)(int32_t, float, float, float, int32_t) = upcall::AddPunkte;
  void TearDown() override {
    upcall::AddPunkte = punkte;
    Treffertabelle.Vergleichen = false;
    LetzterSpieler = 0;
    SpriteDefs.clear();
    GegnerTypen.clear();
    testsupport::FreshState();
  }
};

}  // namespace

TEST_F(Treffertabellen, RandomScenesGetTheScansAnswersAndLeaveItsWorld) {
  int64_t treffer = 0, tote = 0, fest = 0, kanten = 0;
  for (uint32_t seed = 1; seed <= 100; ++seed) {
    SCOPED_TRACE(seed);
    const std::vector<Antwort> scan = Spiele(seed, false);
    Treffertabelle.Vergleichen = true;
    Treffertabelle.Antworten = Treffertabelle.Abweichungen = 0;
    const std::vector<Antwort> tabelle = Spiele(seed, true);
    Treffertabelle.Vergleichen = false;
    EXPECT_EQ(Treffertabelle.Antworten, static_cast<int64_t>(tabelle.size()));
    EXPECT_EQ(Treffertabelle.Abweichungen, 0);
    ASSERT_EQ(scan.size(), tabelle.size());
    for (size_t i = 0; i < scan.size(); ++i) {
      ASSERT_EQ(scan[i], tabelle[i]) << "test " << i << " of kind " << scan[i].Art << " answered "
                                     << tabelle[i].Ergebnis << ", the scan " << scan[i].Ergebnis;
      treffer += scan[i].Feind != -7;
      tote += i > 0 && scan[i].Welt != scan[i - 1].Welt;
      if (scan[i].Art == 1) fest += scan[i].Ergebnis;
      if (scan[i].Art >= 2) kanten += scan[i].Ergebnis != (scan[i].Art == 2 ? -1 : 800);
    }
  }
  // The scenes are busy enough to mean something: enemies are hit, the world changes,
  // the scenery stops rectangles and cuts lines.
  EXPECT_GT(treffer, 1500);
  EXPECT_GT(tote, 1500);
  EXPECT_GT(fest, 1500);
  EXPECT_GT(kanten, 3000);
}

// The comparing mode finds a table that missed a change: an enemy moved inside a pass
// without telling it is answered where it was.
TEST_F(Treffertabellen, TheComparingModeCatchesAChangeTheTableWasNotTold) {
  testsupport::FreshState();
  Bilder();
  Gegner& g = GegnerListe[3];
  g = Gegner{};
  g.X = g.Y = 100;
  g.Typ.Komponenten = {Feindkomponente{.HP = 1e9f, .Sprite = 0, .Lebt = VBTrue}};
  g.Typ.Parameter[8] = 1;
  g.Aktiv = VBTrue;
  GegnerMax = 3;
  Treffertabelle.Vergleichen = true;
  Treffertabelle.Abweichungen = 0;
  const Trefferdurchgang durchgang;
  EXPECT_TRUE(CheckColisionWithLandschaft3(104, 104, 108, 108, -1));
  g.X = 300;
  int32_t feind = -1;
  bool unzerstoerbar = false;
  CheckColisionWithEnemy(304, 104, 308, 108, -1, false, false, -1, feind, unzerstoerbar, 0);
  CheckColisionWithLandschaft3(304, 104, 308, 108, -1);
  CheckWhereColisionLeft(0, 104, 800, 104);
  CheckWhereColisionRight(0, 104, 800, 104);
  EXPECT_EQ(Treffertabelle.Abweichungen, 4);
}

// Two players fly through the gun line, the narrows and the keg field of the storm
// arsenal, firing all the way, with the pod ship, the satellite ship and the drone ship:
// the table answers most tests, and each answer is the scan's.
TEST_F(Treffertabellen, TheArsenalForTwoPlayersGetsTheScansAnswers) {
  testsupport::IsolatedHome home;
  struct Fall {
    int32_t schiff, start;
  };
  for (const Fall& f : {Fall{0, 1300}, Fall{1, 2650}, Fall{2, 3750}}) {
    SCOPED_TRACE(f.schiff);
    headless_run::Options o;
    o.level = "Arsenal";
    o.seed = 5;
    o.twoPlayers = true;
    o.shipType = f.schiff;
    o.startTick = f.start;
    o.ticks = 400;
    o.keys = testsupport::StressKeys(400);
    Treffertabelle.Vergleichen = true;
    Treffertabelle.Antworten = Treffertabelle.Abweichungen = 0;
    const int code = headless_run::Run(o, [](const headless_run::Tick&) {
      for (SpielerDaten& s : Spieler) s.Energie = s.EnergieMax;  // no life lost: one pass
    });
    EXPECT_EQ(code, 0);
    EXPECT_GT(Treffertabelle.Antworten, 20000);
    EXPECT_EQ(Treffertabelle.Abweichungen, 0);
  }
}
