// The checkpoint gate: a turning, breathing ring of 18 glowing orbs that drifts in with the
// solid landscape. A living ship whose hit box its centre line crosses takes the
// checkpoint: the snapshot, the sound, a white flash, energy for both ships, points for
// the one that took it; then the ring widens until it has left the screen.
#include <cstdint>

#include "campaign/checkpoints.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "player/players.hpp"
#include "player/players_state.hpp"
#include "player/score.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

constexpr int32_t kOrbs = 9;            // per half of the ring
constexpr int32_t kOrbAbstand = 20;     // degrees between two orbs
constexpr int32_t kPulsPeriode = 180;   // frames of one breath
constexpr int32_t kWeitung = 10;        // pixels a taken ring widens per frame
constexpr int32_t kWeg = 800;           // widened this far, it has left the screen
constexpr float kEnergie = 50;          // for both ships
constexpr int32_t kPunkte = 1000;

// The centre line where it is drawn and tested: the gate drifts by fractions of a pixel.
int32_t Mitte() { return CLng(CheckpointTor.X); }

// Half `Index` of the ring: orbs 1..9 the left half (smaller, behind the ships), 10..18
// the right half (larger, over them).
void Zeichnen(int32_t Index) {
  if (!Rendern) return;
  const CheckpointTorDaten& t = CheckpointTor;
  const double puls = SinTab[static_cast<size_t>(t.PulsWinkel)];
  const double rx = 20 * puls + IDiv(t.Höhe, 2) - 20 + t.Öffnung;
  const double ry = 40 * puls + t.Höhe - 40 + t.Öffnung;
  for (int32_t k = kOrbs * Index + 1; k <= kOrbs * Index + kOrbs; ++k) {
    const int32_t a = CLng(static_cast<double>(kOrbAbstand) * k + t.Phase);
    const double s = SinusB(a), c = CosinusB(a);
    const double d = 10 - 4 * s;
    const double ox = Mitte() - rx * s, oy = t.Y + ry * c;
    SetUpRect(TexKreis2, static_cast<float>(ox), static_cast<float>(oy), static_cast<float>(ox + d),
              static_cast<float>(oy + d));
    SetUpColor(TexKreis2, 1, 1, 1, 0.7f);
    Render(TexKreis2, true);
  }
}

// The gate's line lies strictly inside the ship's hit box across, and its height overlaps
// the box.
bool Kreuzt(int32_t p) {
  const CheckpointTorDaten& t = CheckpointTor;
  const SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  const double x = s.X, y = s.Y, h = IDiv(t.Höhe, 2);
  return Mitte() > x + b.BoxLinks && Mitte() < x + b.BoxRechts && t.Y + h > y + b.BoxOben && t.Y - h < y + b.BoxUnten;
}

void Nehmen(int32_t p) {
  CheckpointTorDaten& t = CheckpointTor;
  SaveCheckpoint(p);
  if (SoundAn)
    for (int n = 0; n < 2; ++n) PlaySound(SndCheckpoint, 0, 0, SoundLautstaerke);
  t.Triggered = true;
  BlendStart = true;  // the flash fades from this frame
  t.Öffnung = 1;
  t.Alpha = 1.0f;
  t.AlphaStep = -0.05f;
  // Both records, also the second one of a one-player game, without a limit.
  for (SpielerDaten& s : Spieler) s.Energie += kEnergie;
  AddPunkte(kPunkte, static_cast<float>(Mitte()), static_cast<float>(t.Y), -1, p);
}

// Turns and breathes the ring, drifts it with layer 3, lets the living ships take it and
// widens it once taken. Two ships crossing in one frame both take it.
void Bewegen() {
  CheckpointTorDaten& t = CheckpointTor;
  t.Phase += 1;
  if (t.Phase >= kOrbAbstand) t.Phase = 0;
  t.PulsWinkel = (t.PulsWinkel + 1) % kPulsPeriode;
  t.X -= Ebenen[3].Speed;
  if (!t.Triggered)
    for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p)
      if (Spieler[p].Tod == 0 && Kreuzt(p)) Nehmen(p);
  if (!t.Triggered) return;
  t.Öffnung += kWeitung;
  if (t.Öffnung > kWeg) {
    t.Active = false;
    t.Triggered = false;
  }
}

}  // namespace

void SetCheckpoint(int32_t x, int32_t y, int32_t Höhe) {
  CheckpointTor = CheckpointTorDaten{};
  CheckpointTor.X = static_cast<float>(x);
  CheckpointTor.Y = y;
  CheckpointTor.Höhe = Höhe;
  CheckpointTor.Active = true;
}

void SpielCheckpoint(int32_t Index) {
  if (!CheckpointTor.Active) return;
  Zeichnen(Index == 1 ? 1 : 0);
  if (Index == 1) Bewegen();
}
