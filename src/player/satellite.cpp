#include "player/satellite.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "player/players_state.hpp"
#include "player/score.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/effect_particles.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kFest = 8;       // the enemy template's solid flag
constexpr int32_t kNurFragen = -1;  // an enemy test that deals nothing, only finds

constexpr int32_t kVorn = 1, kHinten = 2, kVoraus = 3, kZurueck = 4, kGerufen = 5;

constexpr int32_t kFrames = 7;    // the picture's animation, one frame per 4 frames
constexpr int32_t kStufen = 3;    // levels 0..2 have pictures
constexpr float kStartTempo = 20;  // pixels per frame at the launch

struct Farbe {
  float R, G, B;
};

// Red at level 0, violet at 1, blue at 2 (a component above 1 shows as 1).
Farbe Glut(int32_t Stufe) {
  return {static_cast<float>(1.3 - 0.5 * Stufe), 0.2f, static_cast<float>(0.3 + 0.5 * Stufe)};
}

// The satellite's owner: the first player, unless two play and the first flies another
// ship type.
int32_t Besitzer() { return LetzterSpieler == 0 || Schiff[0].Typ == 1 ? 0 : 1; }

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

int32_t Sgn(float v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// The box of every contact test: the middle 32 x 32 of the picture.
Rechteck Kasten() {
  const SatellitDaten& s = Satellit;
  return {CLng(double{s.X} + 16), CLng(double{s.Y} + 16), CLng(double{s.X} + 48), CLng(double{s.Y} + 48)};
}

bool Stoesst() {
  const Rechteck k = Kasten();
  return CheckColisionWithLandschaft3(k.Left, k.Top, k.Right, k.Bottom, -1);
}

// A gun level from a damaged save may be anything: the energy's bounds stay in range.
int32_t Saettigen(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Deals `Energie` to the enemy under the box; what is left over.
int32_t Feindtest(int32_t Energie, int32_t n) {
  const Rechteck k = Kasten();
  return CheckColisionWithEnemy(k.Left, k.Top, k.Right, k.Bottom, Energie, false, false, -1, SatellitLauf.Feind,
                                SatellitLauf.Unzerstoerbar, n);
}

bool Beruehrt(int32_t n) { return Feindtest(kNurFragen, n) != kNurFragen; }

// Rams with the ramming energy: free, it recharges by 25 up to `Decke`; on contact it
// halves, not below `Boden`, and a part that can be damaged makes the satellite flash.
bool Rammt(int32_t n, int64_t Decke, int64_t Boden) {
  SatellitDaten& s = Satellit;
  if (Feindtest(s.Rammenergie, n) >= s.Rammenergie) {
    s.Rammenergie = Saettigen(std::min(int64_t{s.Rammenergie} + 25, Decke));
    return false;
  }
  s.Rammenergie = Saettigen(std::max<int64_t>(IDiv(s.Rammenergie, 2), Boden));
  if (!SatellitLauf.Unzerstoerbar) SatellitLauf.Getroffen = true;
  return true;
}

// Straight for the ship at 5 pixels a frame, each axis only when it is off to that side.
void ZumSchiff(const SpielerDaten& P) {
  SatellitDaten& s = Satellit;
  if (s.X > double{P.X} + 35) s.SX = -5;
  if (s.X < double{P.X} + 29) s.SX = 5;
  if (s.Y > double{P.Y} + 3) s.SY = -5;
  if (s.Y < double{P.Y} - 3) s.SY = 5;
}

void Lichtring(Farbe f, int32_t Leben) {
  const SatellitDaten& s = Satellit;
  Add1BigPartikel(s.X, s.Y, 0, 0, f.R, f.G, f.B, 64, 0, Leben, 2, 10.0f);
}

// ---- The pod key -------------------------------------------------------------------------

void Starten(float Tempo, int32_t Zustand) {
  Satellit.SX = Tempo;
  Satellit.Zustand = Zustand;
  Klang(SndForceOff);
  Satellit.Abklingzeit = 10;
}

// Called back: it heads for the ship at 12 on each axis it is far off on.
void Rufen(const SpielerDaten& P) {
  SatellitDaten& s = Satellit;
  s.Zustand = kGerufen;
  SatellitLauf.Rufe = 0;
  if (s.X + 70.0 < P.X) s.SX = 12;
  if (s.X - 70.0 > double{P.X} + 64) s.SX = -12;
  if (s.Y + 50.0 < P.Y) s.SY = 12;
  if (s.Y - 50.0 > double{P.Y} + 64) s.SY = -12;
}

// Pressed again while on its way: from the third press each press pulls it 5 closer.
void Nachrufen(const SpielerDaten& P) {
  SatellitDaten& s = Satellit;
  if (++SatellitLauf.Rufe < 3) return;
  if (s.X + 70.0 < P.X) s.X += 5, s.SX = 10;
  if (s.X - 70.0 > double{P.X} + 64) s.X -= 5, s.SX = -10;
  if (s.Y + 20.0 < P.Y) s.Y += 5, s.SY = 10;
  if (s.Y - 20.0 > P.Y) s.Y -= 5, s.SY = -10;
}

void PodTaste(int32_t n) {
  if (!TastePartikelWechsel(n + LetzterSpieler)) {
    SatellitLauf.TasteFrei = true;
    return;
  }
  if (!SatellitLauf.TasteFrei) return;
  SatellitLauf.TasteFrei = false;
  const SpielerDaten& P = Spieler[n];
  switch (Satellit.Zustand) {
    case kVorn: Starten(kStartTempo, kVoraus); break;
    case kHinten: Starten(-kStartTempo, kZurueck); break;
    case kVoraus:
    case kZurueck: Rufen(P); break;
    case kGerufen: Nachrufen(P); break;
    default: break;
  }
}

// ---- Docked ------------------------------------------------------------------------------

void Angedockt(int32_t n) {
  SatellitDaten& s = Satellit;
  const SpielerDaten& P = Spieler[n];
  const int64_t g = Spieler[n].Waffenstufe;
  s.SX = s.SY = 0;
  s.Y = P.Y;
  s.X = static_cast<float>(double{P.X} + (s.Zustand == kVorn ? 60 : -60));
  Rammt(n, (g + 4) * 50, (g + 2) * 10);
}

// ---- Launched ----------------------------------------------------------------------------

// With no speed of its own it creeps toward its parking strip (x 548..552 ahead of the
// ship, 48..52 behind it); the ship passing it turns it round.
void Lenken(const SpielerDaten& P) {
  SatellitDaten& s = Satellit;
  if (s.SX != 0) {
    Add1BigPartikel(s.X, s.Y, 0, 0, 1.0f, 0.2f, 0.3f, 64, 0, 5, 1, 0);
    return;
  }
  if (s.Zustand == kVoraus) {
    if (s.X < 548) s.SX = 3;
    if (s.X > 552) s.SX = -3;
    if (double{P.X} + 32 > s.X) s.Zustand = kZurueck;
  } else if (s.Zustand == kZurueck) {
    if (s.X > 52) s.SX = -3;
    if (s.X < 48) s.SX = 3;
    if (double{P.X} + 32 < s.X) s.Zustand = kVoraus;
  }
}

// One step against the scenery: the whole step, else without its x part, else without
// its y part, else none, else back with the scroll; when even that is blocked it makes
// for the ship regardless.
void Fliegen(const SpielerDaten& P, Farbe f) {
  SatellitDaten& s = Satellit;
  s.X += s.SX;
  s.Y += s.SY;
  if (!Stoesst()) return;
  s.X -= s.SX;
  if (!Stoesst()) return;
  s.X += s.SX;
  s.Y -= s.SY;
  if (!Stoesst()) return;
  s.X -= s.SX;
  if (!Stoesst()) return;
  const float zurueck = 2 * Ebenen[3].Speed;
  s.X -= zurueck;
  if (!Stoesst()) return;
  s.X += zurueck;
  s.SX = s.SY = 0;
  ZumSchiff(P);
  s.X += s.SX;
  s.Y += s.SY;
  if (Mod(LevelTick, 10) == 0) Lichtring(f, 20);
}

// Still stuck in the enemy after backing off: it takes half the enemy's motion, and
// pushes off harder. Off an indestructible part of a solid enemy it always heads for the
// ship when the push has no vertical part, and shows no ring.
void Abprallen(const SpielerDaten& P, Farbe f) {
  SatellitDaten& s = Satellit;
  const int32_t e = SatellitLauf.Feind;
  const Gegner* g = e >= 0 && e <= GegnerListe.Kapazitaet ? &GegnerListe[e] : nullptr;
  const float mx = g ? g->MX / 2 : 0, my = g ? g->MY / 2 : 0;
  const bool hart = g && g->Typ.Parameter[kFest] != 0 && SatellitLauf.Unzerstoerbar;
  s.SX = mx + 2 * Sgn(mx);
  s.SY = my + 2 * Sgn(my);
  if ((hart || s.SX == 0) && s.SY == 0) ZumSchiff(P);
  s.X += s.SX;
  s.Y += s.SY;
  if (!hart) Lichtring(f, 12);
}

// Rams in flight (recharging to 250 at most); on contact it takes back its last step's x,
// then its y instead, then both, and bounces when it still touches the enemy.
void Rammen(int32_t n, const SpielerDaten& P, Farbe f) {
  SatellitDaten& s = Satellit;
  const int64_t g = Spieler[n].Waffenstufe;
  if (!Rammt(n, 250, (g + 1) * 15)) return;
  s.X -= s.SX;
  if (!Beruehrt(n)) return;
  s.Y -= s.SY;
  s.X += s.SX;
  if (!Beruehrt(n)) return;
  s.X -= s.SX;
  if (!Beruehrt(n)) return;
  Abprallen(P, f);
}

// A speed above 3 either way slows by one a frame; a slower one stops, and with `Tempo`
// set then homes on `Ziel` unless it is within `Spiel` of it.
void Bremsen(float& v, float Ort, float Ziel, float Tempo, float Spiel) {
  if (std::fabs(v) > 3) {
    v -= static_cast<float>(Sgn(v));
    return;
  }
  v = 0;
  if (Tempo == 0) return;
  if (Ort > double{Ziel} + Spiel) v = -Tempo;
  if (Ort < double{Ziel} - Spiel) v = Tempo;
}

// The oldest step of the ship's trail is what it follows: a recalled satellite on both
// axes, a parked one only in height.
void Abbremsen(int32_t n) {
  SatellitDaten& s = Satellit;
  const SpielerDaten& T = SpielerSpur[n][0];
  const bool gerufen = s.Zustand == kGerufen;
  Bremsen(s.SX, s.X, T.X, gerufen ? 3.0f : 0.0f, 2);
  Bremsen(s.SY, s.Y, T.Y, gerufen ? 3.0f : 2.0f, gerufen ? 2.0f : 1.0f);
}

// Where it docks on each side: the sparks' x and sideways speed, the flash's.
struct Dock {
  int32_t Zustand;
  float FunkenX, FunkenSX;
  float BlitzX, BlitzSX;
};
constexpr Dock kVorneDock{kVorn, 58, -5, 62, -3};
constexpr Dock kHintenDock{kHinten, -4, -1, -2, 5};

void Andocken(const SpielerDaten& P, const Dock& d) {
  Satellit.Zustand = d.Zustand;
  for (int i = 0; i < 21; ++i) {
    const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd();
    Add1BigPartikel(static_cast<float>(double{P.X} + d.FunkenX + 6 * r1), static_cast<float>(P.Y + 60.0 * r2),
                    static_cast<float>(6.0 * r3 + d.FunkenSX), static_cast<float>(6.0 * r4 - 3), 1.0f, 0.8f, 0.8f, 4,
                    5, 10, 1, 1.0f);
  }
  Add1BigPartikel(static_cast<float>(double{P.X} + d.BlitzX), static_cast<float>(double{P.Y} + 30), d.BlitzSX, 0,
                  1.0f, 0.2f, 0.3f, 4, 3, 10, 3, 2.0f);
  Klang(SndForceOn);
}

// Within 15 pixels of the ship's height it docks on the side it is on, within 74 pixels.
void Docken(const SpielerDaten& P) {
  const SatellitDaten& s = Satellit;
  if (!(double{P.Y} - 15 < s.Y && s.Y < double{P.Y} + 15)) return;
  if (P.X <= s.X && s.X < double{P.X} + 74) {
    Andocken(P, kVorneDock);
  } else if (double{P.X} - 74 < s.X && s.X < P.X) {
    Andocken(P, kHintenDock);
  }
}

void Unterwegs(int32_t n, Farbe f) {
  SatellitDaten& s = Satellit;
  const SpielerDaten& P = Spieler[n];
  Lenken(P);
  Fliegen(P, f);
  Rammen(n, P, f);
  Abbremsen(n);
  s.X = std::clamp(s.X, -64.0f, 736.0f);
  s.Y = std::clamp(s.Y, -20.0f, 506.0f);
  Docken(P);
}

// ---- Picture -----------------------------------------------------------------------------

void Animieren() {
  SatellitDaten& s = Satellit;
  if (++s.AnimZeit >= 4) {
    s.AnimZeit = 0;
    ++s.AnimFrame;
  }
  if (s.AnimFrame < 0 || s.AnimFrame >= kFrames) s.AnimFrame = 0;
}

bool Zeichenbar() { return Satellit.Stufe >= 0 && Satellit.Stufe < kStufen; }

// Drawn only for the levels that have pictures.
int32_t Bild() { return TexSatellit[static_cast<size_t>(Satellit.AnimFrame * kStufen + Satellit.Stufe)]; }

// The glow's margin: the higher the level, the bigger the glow.
int32_t Rand() { return (2 - Satellit.Stufe) * 8; }

void Kern() {
  const SatellitDaten& s = Satellit;
  const int32_t o = Rand();
  SetUpRect(TexKreis2, static_cast<float>(s.X + 8.0 + o), static_cast<float>(s.Y + 8.0 + o),
            static_cast<float>(s.X + 56.0 - o), static_cast<float>(s.Y + 56.0 - o));
}

// The glow, the picture, rings of ten fading sparks circling it (more rings the higher
// the level) and the white core.
void Zeichnen(Farbe f) {
  const SatellitDaten& s = Satellit;
  const int32_t o = Rand();
  SetUpRect(TexKreis2, static_cast<float>(s.X + o), static_cast<float>(s.Y + o), static_cast<float>(s.X + 64.0 - o),
            static_cast<float>(s.Y + 64.0 - o));
  SetUpColor(TexKreis2, f.R, f.G, f.B, 1.0f);
  Render(TexKreis2, true);

  ShowSprite(Bild(), CLng(s.X), CLng(s.Y), true);

  const int32_t ringe = 2 * s.Stufe + 3;
  for (int32_t i = 1; i <= ringe; ++i)
    for (int32_t k = 1; k <= 10; ++k) {
      const int64_t ti = (int64_t{LevelTick} + k) * 2 * i;  // wide: a late tick must not overflow
      SetUpColor(TexKreis2, 1, 1, 0.2f, static_cast<float>(k / 20.0));
      const double sinus = SinusB(static_cast<int32_t>(ti % 360));
      const auto px = static_cast<float>(s.X + 28.0 + (30 - IDiv(o, 2)) * sinus);
      const auto py = static_cast<float>(s.Y + 28.0 + 30.0 * CosinusB(CLng(static_cast<double>(ti) * 0.6)));
      SetUpRect(TexKreis2, px, py, px + 8, py + 8);
      Render(TexKreis2, false);
    }

  Kern();
  SetUpColor(TexKreis2, 1, 1, 1, 0.7f);
  Render(TexKreis2, true);
}

// A hit this frame: a white ring every fifth tick, the core in red and the picture once
// more, added on.
void Trefferblitz() {
  const SatellitDaten& s = Satellit;
  if (Mod(LevelTick, 5) == 0) Add1BigPartikel(s.X, s.Y, 0, 0, 1, 1, 1, 64, 6, 8, 2, 10.0f);
  if (!Zeichenbar()) return;
  Kern();
  SetUpColor(TexKreis2, 1.0f, 0.1f, 0.1f, 1.0f);
  Render(TexKreis2, true);
  if (Bild() >= 0) Render(Bild(), true);
}

// ---- Enemy shots -------------------------------------------------------------------------

// Every stoppable enemy shot inside the box is swallowed for its points; a yellow ring
// shows that some were.
void Schlucken(int32_t n) {
  const SatellitDaten& s = Satellit;
  bool geschluckt = false;
  const int32_t letzter = std::min(GegnerSchuesse.Max, GegnerSchuesse.Kapazitaet);
  for (int32_t i = 0; i <= letzter; ++i) {
    const GegnerSchussDaten& g = GegnerSchuesse[i];
    if (!GegnerSchussBlockbar(i)) continue;
    if (!(s.X + 48.0 > double{g.X} + g.BoxLeft && s.X + 16.0 < double{g.X} + g.BoxRight &&
          s.Y + 48.0 > double{g.Y} + g.BoxTop && s.Y + 16.0 < double{g.Y} + g.BoxBottom))
      continue;
    AddPunkte(CLng(g.HP), s.X + 32, s.Y + 32, -1.0f, n);
    KillGegnerS(i);
    geschluckt = true;
  }
  if (geschluckt) Lichtring({1.0f, 1.0f, 0.2f}, 20);
}

}  // namespace

void SpielSateliet() {
  const Trefferdurchgang durchgang;
  const int32_t n = Besitzer();
  if (Satellit.Da == VBFalse || Schiff[n].Typ != 1) return;
  SatellitLauf.Getroffen = false;
  const Farbe f = Glut(Satellit.Stufe);

  PodTaste(n);
  if (Satellit.Zustand == kVorn || Satellit.Zustand == kHinten) {
    Angedockt(n);
  } else if (Satellit.Zustand >= kVoraus && Satellit.Zustand <= kGerufen) {
    Unterwegs(n, f);
  }
  Animieren();
  if (Rendern && Zeichenbar()) Zeichnen(f);
  Schlucken(n);
  if (Rendern && SatellitLauf.Getroffen) Trefferblitz();
}
