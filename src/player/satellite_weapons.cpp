// The satellite's share of the firing step: a launched satellite fires bursts of bullets
// that spread wider the higher its level; a docked one fires its special weapon forward
// from the front dock, backward from the rear one.
#include <array>
#include <cstdint>
#include <span>

#include "engine/sound.hpp"
#include "player/firing.hpp"
#include "player/players_state.hpp"
#include "player/satellite_state.hpp"
#include "player/shots.hpp"
#include "shell/config.hpp"
#include "world/game_sounds_state.hpp"

namespace {

constexpr int32_t kVoraus = 3;  // states from here on are launched

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

// What a weapon of the docked satellite works from.
struct Lage {
  int32_t p;   // the firing player
  int32_t m;   // 2 in the beam's power mode, else 1
  int32_t s;   // the satellite's level
  double g;    // the player's gun level
  float dir;   // +1 from the front dock, -1 from the rear
};

// One shot from the satellite's centre, `DY` lower.
void Schuss(const Lage& l, int32_t Gruppe, int32_t Art, float SX, float SY, double Force, double Staerke,
            float DY = 0) {
  AddSchuss(Gruppe, Art, Satellit.X + 32, Satellit.Y + 32 + DY, SX, SY, static_cast<float>(Force),
            static_cast<float>(Staerke), l.p);
}

// The rows of a weapon whose shots go by m + s = 2, 3 or 4; none for other sums.
template <class Reihe>
std::span<const Reihe> NachSumme(const std::array<std::span<const Reihe>, 3>& Tabelle, const Lage& l) {
  const int64_t summe = int64_t{l.m} + l.s;
  if (summe < 2 || summe > 4) return {};
  return Tabelle[static_cast<size_t>(summe - 2)];
}

// ---- Bursts of the launched satellite --------------------------------------------------

// One bullet of a burst: its speed, whether m multiplies its damage, and whether it flies
// only in power mode. Every bullet deals (g + 1) x 40 before m.
struct Kugel {
  float SX, SY;
  bool MalM;
  bool NurPower;
};
constexpr Kugel kSalve0[] = {{11, 0, true, false}};
constexpr Kugel kSalve1[] = {{9, -4, true, false}, {9, 4, true, false}, {11, 0, true, true}};
constexpr Kugel kSalve2[] = {{11, 0, true, false}, {6, -6, false, false}, {6, 6, false, false},
                             {0, -11, false, false}, {0, 11, false, false}, {9, -4, false, true},
                             {9, 4, false, true},   {4, -9, false, true}, {4, 9, false, true}};
constexpr std::array<std::span<const Kugel>, 3> kSalven = {kSalve0, kSalve1, kSalve2};

void Salve(int32_t p, int32_t m) {
  SatellitDaten& sat = Satellit;
  sat.Abklingzeit = 12;
  Klang(SndNormal[0]);
  if (sat.Stufe < 0 || sat.Stufe >= static_cast<int32_t>(kSalven.size())) return;
  const double g = Spieler[p].Waffenstufe;
  for (const Kugel& k : kSalven[static_cast<size_t>(sat.Stufe)]) {
    if (k.NurPower && m != 2) continue;
    AddSchuss(1, 0, sat.X + 32, sat.Y + 28, k.SX, k.SY, static_cast<float>(g),
              static_cast<float>((g + 1) * 40 * (k.MalM ? m : 1)), p);
  }
}

// ---- Special weapons of the docked satellite --------------------------------------------

// 0: blue ribbons that bounce off the scenery; a pair at an angle in power mode, a fan of
// three from level 1.
void BlaueBaender(const Lage& l) {
  Satellit.Abklingzeit = 70;
  if (l.m == 2) {
    const double d = (l.s + 1) * 150.0 + l.g * 100;
    Schuss(l, 1, 7, 11 * l.dir, 5, 10, d);
    Schuss(l, 1, 7, 11 * l.dir, -5, 10, d);
  }
  if (l.s > 0) {
    const double d = l.g * (l.s * 100.0 + 150) + 150;
    Schuss(l, 1, 7, 16 * l.dir, 0, l.s * 10.0 - 5, (l.g * (l.s * 100.0 + 150) + 200) * l.m);
    Schuss(l, 1, 7, 8 * l.dir, 8, l.s * 10.0, d);
    Schuss(l, 1, 7, 8 * l.dir, -8, l.s * 10.0, d);
  }
  if (l.m == 2 || l.s >= 1) Klang(SndVPhytonBlue);
}

// 1: red torpedoes side by side, `DY` below the satellite's top, dealing g x ProG + Grund.
struct Torpedo {
  float DY;
  double ProG, Grund;
};
constexpr Torpedo kTorpedos2[] = {{32, 300, 150}};
constexpr Torpedo kTorpedos3[] = {{16, 300, 150}, {48, 300, 150}};
constexpr Torpedo kTorpedos4[] = {{16, 300, 100}, {48, 300, 100}, {32, 500, 200}};
constexpr std::array<std::span<const Torpedo>, 3> kTorpedos = {kTorpedos2, kTorpedos3, kTorpedos4};

void RoteTorpedos(const Lage& l) {
  const std::span<const Torpedo> reihen = NachSumme(kTorpedos, l);
  if (!reihen.empty()) Satellit.Abklingzeit = 60;
  for (const Torpedo& t : reihen) Schuss(l, 1, 6, 10 * l.dir, 0, l.m - 1, l.g * t.ProG + t.Grund, t.DY - 32);
  if (l.m == 2 || l.s >= 1) Klang(SndVPhytonRed);
}

// 2: the laser, a line that fires every tick (its looping sound runs while it does).
// Without a level it fires only in power mode, and then weakly.
void Laser(const Lage& l) {
  if (l.s > 0) {
    Satellit.Abklingzeit = 1;
    Feuer.SatellitLaser = true;
    Schuss(l, 0, 8, l.dir, 0, (l.s * 20.0 - 20) * l.m, ((l.s == 1 ? 7 : 3) - l.m) * l.g);
  } else if (l.m == 2) {
    Feuer.SatellitLaser = true;
    Schuss(l, 0, 8, l.dir, 0, 0, 6);
  }
}

// 3: a green seeker, from level 1 or in power mode.
void GruenerSucher(const Lage& l) {
  if (l.m + l.s <= 1) return;
  Satellit.Abklingzeit = 20;
  Schuss(l, 1, 10, 10 * l.dir, 0, l.m + l.s - 1, l.g * 150 + 80);
  Klang(SndVPhyGreen);
}

// 4: magenta boomerangs in pairs, one up and one down.
struct Bumerang {
  float SX, SY;
  double Force, ProG;
};
constexpr Bumerang kBumerangs2[] = {{7, 5, 5, 290}, {7, -5, 5, 290}};
constexpr Bumerang kBumerangs3[] = {{8, 5, 10, 290}, {8, -5, 10, 290}, {7, 5, 5, 290}, {7, -5, 5, 290}};
constexpr Bumerang kBumerangs4[] = {{8, 5, 10, 290}, {8, -5, 10, 290}, {9, 5, 7, 550},
                                    {9, -5, 7, 550}, {7, 5, 5, 290},   {7, -5, 5, 290}};
constexpr std::array<std::span<const Bumerang>, 3> kBumerangs = {kBumerangs2, kBumerangs3, kBumerangs4};

void Bumerangs(const Lage& l) {
  const std::span<const Bumerang> reihen = NachSumme(kBumerangs, l);
  if (!reihen.empty()) Satellit.Abklingzeit = 50;
  for (const Bumerang& b : reihen) Schuss(l, 1, 9, b.SX * l.dir, b.SY, b.Force, l.g * b.ProG);
  if (l.m == 2 || l.s >= 1) Klang(SndVPhyViolett);
}

constexpr std::array<void (*)(const Lage&), 5> kSpezialwaffen = {BlaueBaender, RoteTorpedos, Laser, GruenerSucher,
                                                                  Bumerangs};

}  // namespace

void SatellitWaffen(int32_t p, int32_t m, bool&) {
  SatellitDaten& sat = Satellit;
  if (sat.Abklingzeit > 0) --sat.Abklingzeit;
  if (sat.Da == VBFalse || sat.Abklingzeit >= 1) return;
  if (sat.Zustand >= kVoraus) {
    Salve(p, m);
    return;
  }
  if (sat.Spezialwaffe < 0 || sat.Spezialwaffe >= static_cast<int32_t>(kSpezialwaffen.size())) return;
  const Lage l{p, m, sat.Stufe, static_cast<double>(Spieler[p].Waffenstufe), sat.Zustand == 1 ? 1.0f : -1.0f};
  kSpezialwaffen[static_cast<size_t>(sat.Spezialwaffe)](l);
}
