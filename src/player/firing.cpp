#include "player/firing.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "engine/keys.hpp"
#include "engine/sound.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// The main gun of a ship type: every shot flies right at 11 pixels a tick with the gun
// level as its `Force`. A twin shot deals (level × ProStufe + Grund) × m, a single one
// twice that.
struct Hauptgeschuetz {
  int32_t Abklingzeit;
  const int32_t* Klang;
  int32_t Art;
  int32_t VersatzX;  // from the muzzle
  double ProStufe, Grund;
};

constexpr std::array<Hauptgeschuetz, 3> kHauptgeschuetze = {{
    {6, &SndNormal[0], 0, 0, 20, 40},    // "V-Tonator"
    {12, &SndNormal[1], 1, 0, 50, 70},   // "V-Phyton"
    {6, &SndNormal[0], -1, -5, 20, 40},  // the drone ship
}};

// A secondary weapon: one shot into the early group, `Force` 0, damage by the gun level
// alone; the power mode shortens the cooldown instead.
struct Nebenwaffe {
  int32_t Abklingzeit;
  int32_t Art;
  float StartX, StartY;  // from the ship
  float SX, SY;
  double ProStufe, Grund;
  const int32_t* Klang;
};

// By the secondary weapon - 1.
constexpr std::array<Nebenwaffe, 3> kNebenwaffen = {{
    {100, 11, 16, 16, 0, 4, 300, 700, &SndBomb},            // bomb
    {150, 12, 18, 39, 0, 1, 400, 1100, &SndRocketlaunch},   // rocket
    {60, 13, 0, 22, 6, 0, 200, 0, &SndRocketlaunch},        // homing missile
}};

// The weapon each ship type carries.
using Mitgefuehrt = void (*)(int32_t p, int32_t m, bool& Gefeuert);
constexpr std::array<Mitgefuehrt, 3> kMitgefuehrt = {PodWaffen, SatellitWaffen, DrohnenWaffen};

// The looping sounds and the flags that keep them running.
struct Dauerklang {
  bool FeuerStatus::*Flag;
  const int32_t* Klang;
};
constexpr std::array<Dauerklang, 3> kDauerklaenge = {{
    {&FeuerStatus::PodLaser, &SndCyan},
    {&FeuerStatus::PodStrom, &SndYellow},
    {&FeuerStatus::SatellitLaser, &SndVPhyYellow},
}};

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

// The frame column the muzzles are read for; a column outside the block reads level
// flight's.
size_t Spalte(const SpielerDaten& s) {
  return s.FrameSpalte >= 0 && s.FrameSpalte <= 4 ? static_cast<size_t>(s.FrameSpalte) : 2;
}

// The firing animation: the shared pace moves a row on every second call, so with both
// players holding fire the same player's row moves every tick.
void Zeilenanimation(int32_t p) {
  if (++Feuer.ZeilenTakt < 2) return;
  Feuer.ZeilenTakt = 0;
  int32_t& zeile = Spieler[p].FrameZeile;
  const int32_t zeilen = std::max(Schiff[p].Zeilen, 1);
  zeile = zeile < 0 || zeile >= zeilen - 1 ? 0 : zeile + 1;
}

// Twin shots where the current column's two muzzles differ (the lower one first, into
// the early group), otherwise one shot of double damage from the first.
void Hauptwaffe(int32_t p, int32_t m) {
  SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  if (b.Typ < 0 || b.Typ >= static_cast<int32_t>(kHauptgeschuetze.size())) return;
  const Hauptgeschuetz& h = kHauptgeschuetze[b.Typ];
  s.Abklingzeit = h.Abklingzeit;
  Klang(*h.Klang);

  const size_t spalte = Spalte(s);
  const double zwilling = (static_cast<double>(s.Waffenstufe) * h.ProStufe + h.Grund) * m;
  const auto x = static_cast<float>(double{s.X} + b.MuendungX + h.VersatzX);
  const auto y1 = static_cast<float>(double{s.Y} + b.MuendungY1[spalte] - 7);
  const auto y2 = static_cast<float>(double{s.Y} + b.MuendungY2[spalte] - 7);
  const auto stufe = static_cast<float>(s.Waffenstufe);
  if (b.MuendungY1[spalte] != b.MuendungY2[spalte]) {
    AddSchuss(0, h.Art, x, y2, 11, 0, stufe, static_cast<float>(zwilling), p);
    AddSchuss(1, h.Art, x, y1, 11, 0, stufe, static_cast<float>(zwilling), p);
  } else {
    AddSchuss(1, h.Art, x, y1, 11, 0, stufe, static_cast<float>(2 * zwilling), p);
  }
}

void Zweitwaffe(int32_t p, int32_t m) {
  SpielerDaten& s = Spieler[p];
  if (s.Zweitwaffe < 1 || s.Zweitwaffe > static_cast<int32_t>(kNebenwaffen.size())) return;
  const Nebenwaffe& w = kNebenwaffen[s.Zweitwaffe - 1];
  s.ZweitAbklingzeit = IDiv(w.Abklingzeit, m);
  AddSchuss(0, w.Art, s.X + w.StartX, s.Y + w.StartY, w.SX, w.SY, 0,
            static_cast<float>(static_cast<double>(s.Waffenstufe) * w.ProStufe + w.Grund), p);
  Klang(*w.Klang);
}

// Eleven pairs of sparks at the muzzles, carrying the ship's motion of the last ten
// ticks. Each spark draws its three numbers in order: speed x, speed y, colour.
void Muendungsfunken(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  const SpielerDaten& frueher = SpielerSpur[p][10];
  const SchiffDaten& b = Schiff[p];
  const size_t spalte = Spalte(s);
  const auto x = static_cast<float>(double{s.X} + b.MuendungX);
  const std::array<float, 2> y = {static_cast<float>(double{s.Y} + b.MuendungY2[spalte]),
                                  static_cast<float>(double{s.Y} + b.MuendungY1[spalte])};
  const double zugX = double{s.X} - frueher.X, zugY = double{s.Y} - frueher.Y;
  for (int runde = 0; runde < 11; ++runde)
    for (int32_t gruppe = 0; gruppe < 2; ++gruppe) {
      const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd();
      Add1Partikel(gruppe, x, y[gruppe], static_cast<float>(1.5 * r1 + zugX),
                   static_cast<float>(4.0 * r2 - 2 + zugY), 1, 0.5f + 0.5f * r3, 0, 1, 3);
    }
}

void Schiessen(int32_t p) {
  SpielerDaten& s = Spieler[p];
  bool gefeuert = false;
  const int32_t m = Beam[p].Powermodus != VBFalse ? 2 : 1;
  if (s.Abklingzeit > 0) --s.Abklingzeit;
  if (s.ZweitAbklingzeit > 0) --s.ZweitAbklingzeit;
  if (!TasteSchießen(p + LetzterSpieler)) return;

  Zeilenanimation(p);
  if (s.Abklingzeit == 0 && s.Waffenstufe > 0) {
    gefeuert = true;
    Hauptwaffe(p, m);
  }
  if (s.ZweitAbklingzeit < 1) Zweitwaffe(p, m);
  if (Schiff[p].Typ >= 0 && Schiff[p].Typ < static_cast<int32_t>(kMitgefuehrt.size()))
    kMitgefuehrt[Schiff[p].Typ](p, m, gefeuert);
  if (gefeuert) Muendungsfunken(p);
}

// The status of the first copy: 5 is playing in a loop.
bool LaeuftImKreis(int32_t Nr) {
  if (Nr > SoundsMax() || Sounds[Nr].Kopien.empty()) return false;
  return Sounds[Nr].Kopien[0].GetStatus() == (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

// A looping sound runs exactly as long as its weapon raises its flag every tick.
void Dauerklaenge() {
  if (!SoundAn) return;
  for (const Dauerklang& d : kDauerklaenge) {
    const int32_t nr = *d.Klang;
    if (nr < 0) continue;
    const bool laeuft = LaeuftImKreis(nr);
    if (Feuer.*d.Flag) {
      if (!laeuft) PlaySound(nr, 1, std::nullopt, SoundLautstaerke);
    } else if (laeuft) {
      StopSound(nr);
    }
  }
}

}  // namespace

void SpielSchieß() {
  const Trefferdurchgang durchgang;  // the carried weapons' lasers and streams
  Feuer.PodLaser = Feuer.PodStrom = Feuer.SatellitLaser = false;
  const int32_t letzter = std::min<int32_t>(LetzterSpieler, static_cast<int32_t>(Spieler.size()) - 1);
  for (int32_t p = 0; p <= letzter; ++p)
    if (Spieler[p].Tod == 0) Schiessen(p);
  Dauerklaenge();
}
