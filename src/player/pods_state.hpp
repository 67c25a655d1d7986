#pragma once
// The four orbit pods of the ship that carries them, one set for the game.
#include <array>
#include <cstdint>

struct PodDaten {
  int32_t Abklingzeit = 0;  // an armed pod's fire cooldown; a guard pod's angle on its orbit
  int32_t Stufe = 0;        // weapon level 0..3
  int32_t X = 0, Y = 0;     // top-left corner of the 32 x 32 picture
  int16_t Besitz = 0;       // the pod exists
  int32_t Waffe = 0;        // -1 guard pod, 0 no weapon, 1..7 a pod weapon
  float Drehwinkel = 0;     // 0 faces forward, 180 backward
  float Drehschritt = 0;    // degrees per frame while turning
  int32_t AnimFrame = 0;
  int32_t AnimZeit = 0;
  int32_t Hervorhebung = 0;  // frames of the green highlight after selecting
  int32_t Bild = 0;          // the picture shown, index into `TexPartikel`
};

// The pod's fields in their order, for save games and checkpoints.
template <class IO>
void Felder(IO& io, PodDaten& p) {
  io.Int32(p.Abklingzeit);
  io.Int32(p.Stufe);
  io.Int32(p.X);
  io.Int32(p.Y);
  io.Int16(p.Besitz);
  io.Int32(p.Waffe);
  io.Single(p.Drehwinkel);
  io.Single(p.Drehschritt);
  io.Int32(p.AnimFrame);
  io.Int32(p.AnimZeit);
  io.Int32(p.Hervorhebung);
  io.Int32(p.Bild);
}

inline std::array<PodDaten, 4> Pods;
inline int32_t PodDrehung = 0;  // the guard pods' orbit base angle, 0..359

// The pod key and the turn key act once per press: whether each was down in the last
// frame the pods were steered.
inline int16_t PodTasteUnten = 0;
inline int16_t DrehTasteUnten = 0;

// At start-up only: blank pods, the orbit at 0 and no key held. A new game (`VeskReset`)
// arms the pods and every level places them, but their animation and highlight, the
// orbit and the keys' latches carry on from game to game (a key held through a restart
// does not act again).
inline void ResetPods() {
  Pods = {};
  PodDrehung = 0;
  PodTasteUnten = 0;
  DrehTasteUnten = 0;
}
