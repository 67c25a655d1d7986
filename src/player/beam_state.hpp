#pragma once
// The charged beam of each player, and what the beam step keeps from frame to frame.
#include <array>
#include <cstdint>
#include <initializer_list>

struct BeamStatus {
  int32_t PowerZeit = 0;
  float X = 0, Y = 0;
  float StartX = 0, StartY = 0;
  float Breite = 0;  // mode 0 the beam's width; mode 1 the charge ring's angle
  int32_t Modus = 0;
  int16_t AktivModus = 0;
  float Ladung = 0;
  float LadungAbschuss = 0;
  int32_t Schaden = 0;  // mode 0 the damage; in the power mode the saved background mode
  int16_t Fliegt = 0;
  int16_t Powermodus = 0;
  int32_t Nachleuchten = 0;
};

// A full charge: the charge is clamped to it, so it may be compared exactly.
inline constexpr float kBeamVoll = 165.0f;

// Charges outside 0..165 and modes other than 0 and 1 cannot arise in play; from a damaged
// save or checkpoint they would index the charge sounds out of range, make the ring's
// step 0 or negative, or ask for millions of bolts. Such values are pulled back in.
inline void BeamWerteKlemmen(BeamStatus& b) {
  for (float* ladung : {&b.Ladung, &b.LadungAbschuss}) {
    if (!(*ladung >= 0)) *ladung = 0;  // NaN too
    if (*ladung > kBeamVoll) *ladung = kBeamVoll;
  }
  if (b.Modus != 0) b.Modus = 1;
  if (b.AktivModus != 0) b.AktivModus = 1;
}

// The record's fields in their order (50 bytes), for save games and checkpoints.
template <class IO>
void Felder(IO& io, BeamStatus& b) {
  io.Int32(b.PowerZeit);
  io.Single(b.X);
  io.Single(b.Y);
  io.Single(b.StartX);
  io.Single(b.StartY);
  io.Single(b.Breite);
  io.Int32(b.Modus);
  io.Int16(b.AktivModus);
  io.Single(b.Ladung);
  io.Single(b.LadungAbschuss);
  io.Int32(b.Schaden);
  io.Int16(b.Fliegt);
  io.Int16(b.Powermodus);
  io.Int32(b.Nachleuchten);
  if constexpr (IO::kReads) BeamWerteKlemmen(b);
}

inline std::array<BeamStatus, 2> Beam;

// Before a level pass: neither beam charges, flies or runs its power mode.
inline void ResetBeams() {
  for (BeamStatus& b : Beam) {
    b.AktivModus = 0;
    b.Ladung = 0;
    b.PowerZeit = 0;
    b.Fliegt = 0;
    b.Powermodus = 0;
  }
}

// One history of a helix strand: 21 points, -1 where there is none yet.
inline constexpr int32_t kBeamSchweifN = 20;
struct BeamSpur {
  static constexpr std::array<float, kBeamSchweifN + 1> Leer() {
    std::array<float, kBeamSchweifN + 1> a{};
    a.fill(-1.0f);
    return a;
  }
  std::array<float, kBeamSchweifN + 1> X = Leer();
  std::array<float, kBeamSchweifN + 1> Y = Leer();
};

// What the beam step keeps between frames: one set for both players, so two beams with
// rings or helices at the same time share (and overwrite) them.
struct BeamVerlaufDaten {
  std::array<bool, 2> WechselGehalten{};  // the mode key was down last frame (toggle operation)
  bool LadeTaste = false;                 // this frame's player holds the charge key
  float RingRadius = 0;
  bool RingSichtbar = false;
  float MitteX = 0, MitteY = 0;           // the ring's centre
  std::array<BeamSpur, 4> BeamSchweif{};  // the four helix strands
  int32_t Rest = 0;                       // left over by the last hit test
  bool Unzerstoerbar = false;             // that test hit a part that takes no damage
};
inline BeamVerlaufDaten BeamVerlauf;

// At start-up only: no key held, no ring, and strands without points, so an after-glow
// restored from a checkpoint feeds them no stray point at (0, 0).
inline void ResetBeamProcedure() { BeamVerlauf = BeamVerlaufDaten{}; }

// As at program start: both beams in mode 0 without charge, and the beam step as above.
// The selected mode carries on from game to game after that.
inline void ResetBeamsAtStart() {
  Beam = {};
  ResetBeamProcedure();
}
