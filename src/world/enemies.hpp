#pragma once
// Placing, moving, drawing and removing enemies.
#include <cstdint>

#include "engine/surfaces.hpp"
#include "world/enemies_state.hpp"

// Places a copy of template `Def` in the first free enemy slot (a full pool places none).
void AddEnemy(const GegnerTyp& Def, int32_t RouteNr, int32_t LTick, int32_t AY, int32_t X);
// Frees enemy slot `Nr` at once: its shot generators stop, the record is blanked (keeping
// its room) and the pool's hints move.
void KillEnemy(int32_t Nr);
// Once per tick: every living enemy runs its route, its components move, animate, aim,
// may be crushed, are drawn and fire; every dying one plays a frame of its death.
void SpielMoveEnemy();

// One frame of the death sequence of dying enemy `i`, by its `TodArt`; a kind outside
// them leaves the enemy alone for the frame (neither moved nor drawn).
void SpielTodesfolge(int32_t i);

// ---- Pieces shared by the living step, the hit test and the death sequences ----------

// Where component `k` of enemy `g` lies: the enemy's position plus the component's offset.
inline float KomponenteX(const Gegner& g, const Feindkomponente& k) { return g.X + k.OffsetX; }
inline float KomponenteY(const Gegner& g, const Feindkomponente& k) { return g.Y + k.OffsetY; }

// The picture a component shows now.
struct Teilbild {
  int32_t Nr = -1;     // surface number; -1 when the frame has no picture to draw
  int32_t Blitz = -1;  // its hit-flash copy, -1 for none
  bool Quad = false;   // the sprite definition draws textured quads
  const SurfaceInfo* S = nullptr;
  // The size of its source rectangle; 0 by 0 without a picture.
  int32_t Breite() const { return S ? S->SrcRect.Right - S->SrcRect.Left : 0; }
  int32_t Hoehe() const { return S ? S->SrcRect.Bottom - S->SrcRect.Top : 0; }
};
Teilbild BildVon(const Feindkomponente& k);

// Launches the enemy that enemy `g`'s template names (`Parameter`(7): template Mod 1000,
// route \ 1000) centred on (mx, my), starting at the current level tick.
void StarteKind(const Gegner& g, double mx, double my);
// The same centred on the picture of its component `k`.
void StarteKind(const Gegner& g, const Feindkomponente& k);
// The enemies that enemy `g` leaves behind when it is destroyed, all at its centre.
void Nachfolger(const Gegner& g);
// The shock wave and its flash released when enemy `g` is destroyed.
void Todesschuss(const Gegner& g);
// A one-shot effect sound, when sound is on.
void EffektKlang(int32_t Nr);
// Explosion sound of something worth `Punkte` (the big one from 1500 on).
void ExplosionsKlang(int32_t Punkte);
// Stops every shot generator that enemy `Nr` owns.
void StoppeSchussErzeuger(int32_t Nr);

// How a component bursts: small particles a little inside its picture and an explosion
// over it; the particles only; or, for an enemy cut apart, the particles over its
// opaque columns and spread `TodZeit` pixels further up and down, as its halves have.
enum class Ausbruch { Voll, NurFunken, Gespalten };
// Component `k` of enemy `g` bursts into `Anzahl` small particles (and an explosion).
void Zerplatze(const Gegner& g, const Feindkomponente& k, int32_t Anzahl, Ausbruch Art = Ausbruch::Voll);
// A part destroyed at the end of a death: it counts for player one, shakes the screen
// (unless a lone player is in power mode) and sounds by its points.
void TeilVernichtet(const Feindkomponente& k);
// The end of a death: every living component bursts with 150 particles and is counted,
// shakes and sounds as `TeilVernichtet`.
void FinaleExplosion(const Gegner& g, Ausbruch Art = Ausbruch::Voll);
// Draws living component `k` of living enemy `g` showing picture `b`, flashing while its
// hit-flash countdown runs.
void ZeichneKomponente(const Gegner& g, const Feindkomponente& k, const Teilbild& b);
// Draws every living component of a dying enemy where it stands, without hit flash.
void ZeichneStill(const Gegner& g);
// The same for its component `k` alone.
void ZeichneTeilStill(const Gegner& g, const Feindkomponente& k);
