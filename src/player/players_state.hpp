#pragma once
// The one or two players: their records, trail history and combo values. The ship blocks
// (`Schiff`) belong to the level world, which fills them with the game pictures.
#include <array>
#include <cstdint>
#include <string>

#include "world/ship_blocks_state.hpp"

struct SpielerDaten {
  float X = 0, Y = 0;
  float DX = 0, DY = 0;
  float DriftX = 0, DriftY = 0;
  int32_t Winkel = 0;
  int32_t FrameSpalte = 2;
  int32_t FrameZeile = 0;
  int32_t Abklingzeit = 0;
  int32_t Waffenstufe = 1;
  int32_t Zweitwaffe = 0;
  int32_t ZweitAbklingzeit = 0;
  float Speed = 6.0f;
  int32_t Tod = 0;
  int32_t Punkte = 0;
  float Energie = 100.0f;
  int32_t Leben = 0;
  int32_t Schild = 0;
  float EnergieMax = 100.0f;
  int32_t Schaden = 0;
  int32_t Abschuesse = 0;
  int32_t Pod = -1;
  int32_t Status = 0;
  int32_t BesteComboTreffer = 0;
  int32_t BesteComboBonus = 0;
  std::string Name;
  int32_t HighscoreNr = 0;
};

// The record's fields in their order, for save games and checkpoints.
template <class IO>
void Felder(IO& io, SpielerDaten& s) {
  io.Single(s.X);
  io.Single(s.Y);
  io.Single(s.DX);
  io.Single(s.DY);
  io.Single(s.DriftX);
  io.Single(s.DriftY);
  io.Int32(s.Winkel);
  io.Int32(s.FrameSpalte);
  io.Int32(s.FrameZeile);
  io.Int32(s.Abklingzeit);
  io.Int32(s.Waffenstufe);
  io.Int32(s.Zweitwaffe);
  io.Int32(s.ZweitAbklingzeit);
  io.Single(s.Speed);
  io.Int32(s.Tod);
  io.Int32(s.Punkte);
  io.Single(s.Energie);
  io.Int32(s.Leben);
  io.Int32(s.Schild);
  io.Single(s.EnergieMax);
  io.Int32(s.Schaden);
  io.Int32(s.Abschuesse);
  io.Int32(s.Pod);
  io.Int32(s.Status);
  io.Int32(s.BesteComboTreffer);
  io.Int32(s.BesteComboBonus);
  io.Text(s.Name);
  io.Int32(s.HighscoreNr);
}

inline std::array<SpielerDaten, 2> Spieler;
inline std::array<std::array<SpielerDaten, 11>, 2> SpielerSpur;
inline bool SpurAn = false;
inline std::array<float, 2> ComboFaktor = {1.0f, 1.0f};
inline std::array<int32_t, 2> ComboTreffer{};
inline std::array<int32_t, 2> ComboBonus{};
inline int32_t LetzterSpieler = 0;

// The play-through (from 1) and the next extra-life threshold in units of 100,000 points.
inline int32_t Durchgang = 1;
inline int16_t ExtraLebenSchwelle = 3;

// What the ship control keeps between frames for each player: frames until the next tilt
// step, the direction keys pressed over the current run of moving frames, and whether the
// ship glides on after such a run. One counter paces the damage smoke of both ships.
struct SteuerZustand {
  int32_t KippZeit = 0;
  int32_t Tastendruecke = 0;
  bool Driftet = false;
};
inline std::array<SteuerZustand, 2> Steuerung{};
inline int32_t RauchZaehler = 0;

// At start-up only: the ship control carries its values from level to level and game to
// game.
inline void ResetShipControl() {
  Steuerung.fill(SteuerZustand{});
  RauchZaehler = 0;
}

// Before a level pass, after the ships are armed: no afterimages, and every step of each
// player's trail holds the player's current record, so no streak is drawn from an old
// position.
inline void ResetTrails() {
  SpurAn = false;
  for (int p = 0; p < 2; ++p) SpielerSpur[p].fill(Spieler[p]);
}

// Before a level pass: no combo runs.
inline void ResetCombos() {
  ComboFaktor.fill(1.0f);
  ComboTreffer.fill(0);
  ComboBonus.fill(0);
}

// As at program start: blank records and trails, one player, the first play-through and
// extra life at 300,000 points, no combo, the ship control at rest. A new game
// (`VeskReset`) then sets what it sets; the rest of the records carries on from game to
// game.
inline void ResetPlayers() {
  Spieler = {};
  for (std::array<SpielerDaten, 11>& spur : SpielerSpur) spur.fill(SpielerDaten{});
  SpurAn = false;
  ResetCombos();
  LetzterSpieler = 0;
  Durchgang = 1;
  ExtraLebenSchwelle = 3;
  ResetShipControl();
}
