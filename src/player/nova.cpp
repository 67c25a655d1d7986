// The super nova. The key spends the selected pod (ship type 0) or the satellite (type 1);
// the drone ship spends nothing and repeats the last kind from where it stands. The world
// freezes, every enemy shot goes, the music drops, and the kind chosen by what was spent
// plays its timeline: 10000 points of damage to each enemy it may touch, credited to the
// firing player.
//
// Its targets are the enemies alive, not already dying, and whose template allows it. Its
// first tick marks every slot dying: death kind 0 for a target (only drawn where it
// stands), -1 for the rest (neither moved nor drawn). The end takes back only those marks:
// a death a kind gave plays out, and an enemy dying before the nova goes on dying.
#include "player/nova.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/players.hpp"
#include "player/pods.hpp"
#include "player/satellite_state.hpp"
#include "player/score.hpp"
#include "player/upcalls.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/weather_state.hpp"

namespace {

constexpr float kSchlag = 10000;                       // what a blow takes from an enemy's energy
constexpr int32_t kZiel = 0;                           // the mark of a target: frozen where it stands, drawn
constexpr int32_t kVerborgen = -1;                     // the mark of every other slot: hidden
constexpr int32_t kTodGespalten = 1, kTodFunkeln = 2;  // deaths the enemy mover plays out
constexpr int32_t kTodBoss = 4;                        // no nova starts while a boss goes down
constexpr int32_t kSlots = decltype(GegnerListe)::Kapazitaet + 1;
constexpr int32_t kKeinZiel = kSlots;  // a target index past every slot: none is left
constexpr int32_t kPods = 4;
constexpr int32_t kMitPods = 0, kMitSatellit = 1;  // ship types that pay with a pod, a satellite
constexpr int32_t kSchiffsbild = 2;                // the ship block's level-flight frame
constexpr float kBreite = kSpielfeldBreite, kHoehe = kSpielfeldHoehe;

struct Farbe {
  float R, G, B;
};
constexpr Farbe kBlau{0.5f, 0.5f, 1.0f};

struct Punkt {
  float X, Y;
};
Punkt Versetzt(const Punkt& p, float d) { return {p.X + d, p.Y + d}; }

bool Wahr(int16_t flag) { return flag != VBFalse; }

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}
// The homing shots' launches and the later kinds' explosions take the next copy of their
// sound as it stands, without rewinding it.
void KlangWeiter(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, std::nullopt, SoundLautstaerke);
}
// Two big explosions at once.
void Krach() {
  Klang(SndExplosion[2]);
  Klang(SndExplosion[2]);
}

// ---- Enemies -----------------------------------------------------------------------------

Gegner& Feind(int32_t i) { return GegnerListe[i]; }
// The highest enemy slot in use, never past the pool.
int32_t Letzter() { return std::min(GegnerMax, kSlots - 1); }

// A target of the running nova. One that a kind has sent into a death of its own stays
// one until the slot is freed; the kinds that do so never come back to it.
bool Zaehlt(const Gegner& g) { return Wahr(g.Aktiv) && g.TodArt != kVerborgen && g.Typ.Parameter[6] == 0; }

int32_t NaechstesZiel(int32_t ab) {
  for (int32_t i = std::max(ab, 0); i <= Letzter(); ++i)
    if (Zaehlt(Feind(i))) return i;
  return kKeinZiel;
}

Punkt Mitte(const Gegner& g) {
  return {static_cast<float>(g.X + static_cast<double>(IDiv(g.Typ.Width, 2))),
          static_cast<float>(g.Y + static_cast<double>(IDiv(g.Typ.Height, 2)))};
}

void Explosion(const Gegner& g) {
  AddExplosionsPartikel(g.X, g.Y, static_cast<float>(g.X + static_cast<double>(g.Typ.Width)),
                        static_cast<float>(g.Y + static_cast<double>(g.Typ.Height)));
}

void Gutschrift(const Gegner& g) {
  const Punkt c = Mitte(g);
  AddPunkte(g.Typ.Punkte, c.X, c.Y, -1.0f, Nova.NovaSpieler);
}

// A blow's damage; true when it destroyed the enemy.
bool Getroffen(Gegner& g) {
  g.Typ.HP -= kSchlag;
  return g.Typ.HP <= 0;
}

// The early kinds' blow: a destroyed enemy explodes, scores and is gone; a survivor only
// explodes.
void Schlag(int32_t i) {
  Gegner& g = Feind(i);
  const bool vernichtet = Getroffen(g);
  Explosion(g);
  if (!vernichtet) return;
  Gutschrift(g);
  KillEnemy(i);
}

// The blow on every target at once; `mitKlang` follows each target's blow with the big
// explosion sound.
void NovaSchlag(bool mitKlang) {
  for (int32_t i = 0; i <= Letzter(); ++i) {
    if (!Zaehlt(Feind(i))) continue;
    Schlag(i);
    if (mitKlang) KlangWeiter(SndExplosion[2]);
  }
}

// Kinds 0 and 3 strike one target at a time: destroyed, it explodes, scores, is gone and
// sounds by its worth; a survivor shows nothing.
void Einzelschlag(int32_t i) {
  Gegner& g = Feind(i);
  if (!Getroffen(g)) return;
  const int32_t punkte = g.Typ.Punkte;
  Explosion(g);
  Gutschrift(g);
  KillEnemy(i);
  ExplosionsKlang(punkte);
}

// The later kinds leave a destroyed target to the death `art` that the enemy mover plays
// from the next frame; only a survivor explodes here. The big explosion sounds either way.
void Todesstoss(int32_t i, int32_t art) {
  Gegner& g = Feind(i);
  if (Getroffen(g)) {
    g.TodArt = art;
    g.TodZeit = 0;
    Gutschrift(g);
  } else {
    Explosion(g);
  }
  KlangWeiter(SndExplosion[2]);
}

// Every slot marked dying: a target frozen, everything else hidden. What each live slot
// was doing is kept for the end.
void Markieren() {
  // Nothing an earlier nova kept may reach a slot filled after this one began.
  Nova.StirbtVorher.fill(VBFalse);
  Nova.TodArtVorher.fill(0);
  for (int32_t i = 0; i <= Letzter(); ++i) {
    Gegner& g = Feind(i);
    const bool lebt = Wahr(g.Aktiv), stirbt = lebt && Wahr(g.Stirbt);
    Nova.StirbtVorher[i] = VBBool(stirbt);
    Nova.TodArtVorher[i] = stirbt ? g.TodArt : 0;
    g.Stirbt = VBTrue;
    g.TodArt = lebt && !stirbt && g.Typ.Parameter[6] == 0 ? kZiel : kVerborgen;
  }
}

// The marks taken back from every live slot that still carries one; an enemy that came
// while the world stood still carries none and is left alone.
void Freigeben() {
  for (int32_t i = 0; i <= Letzter(); ++i) {
    Gegner& g = Feind(i);
    if (!Wahr(g.Aktiv) || !Wahr(g.Stirbt) || (g.TodArt != kZiel && g.TodArt != kVerborgen)) continue;
    g.Stirbt = Nova.StirbtVorher[i];
    g.TodArt = Nova.TodArtVorher[i];
  }
}

// ---- Shared pieces of the kinds ----------------------------------------------------------

// The firing player, whose ship, ship block and score the kinds use.
size_t SchuetzeNr() { return Nova.NovaSpieler == 1 ? 1 : 0; }
SpielerDaten& Schuetze() { return Spieler[SchuetzeNr()]; }

// The spent pod's corner; the firing ship's when no pod was spent.
Punkt PodEcke() {
  const int32_t p = Nova.NovaPod;
  if (p >= 0 && p < kPods) return {static_cast<float>(Pods[p].X), static_cast<float>(Pods[p].Y)};
  return {Schuetze().X, Schuetze().Y};
}

// The flash at the spent pod: a small glow that lights up after `glutStill` ticks, and a
// ring that opens at once.
void PodBlitz(const Farbe& f, int32_t glutStill) {
  const Punkt p = PodEcke();
  Add1BigPartikel(p.X + 8, p.Y + 8, 0, 0, f.R, f.G, f.B, 16, glutStill, 10, 1, 0);
  Add1BigPartikel(p.X, p.Y, 0, 0, f.R, f.G, f.B, 32, 10, 10, 2, 2.0f);
}

// A strip of 10 to 14 pixels; the last takes what is left when 15 or fewer remain.
int32_t Streifen(int32_t rest) { return rest > 15 ? CLng(Rnd() * 5.0f) + 10 : rest; }

// The picture tears: the back buffer copied onto itself in columns shifted up or down, then
// in rows shifted sideways.
void Reissen() {
  if (!Rendern || !BackBuffer) return;
  platform::Surface& b = *BackBuffer;
  for (int32_t x = 0; x < kBildschirmBreite;) {
    const int32_t w = Streifen(kBildschirmBreite - x);
    const int32_t dy = CLng(Rnd() * 11.0f) - 5;
    const platform::Rect q{x, 0, x + w, kBildschirmHoehe};
    b.BltFast(x, dy, b, &q, platform::DDBLTFAST_WAIT);  // errors ignored
    x += w;
  }
  for (int32_t y = 0; y < kBildschirmHoehe;) {
    const int32_t h = Streifen(kBildschirmHoehe - y);
    const int32_t dx = CLng(Rnd() * 21.0f) - 10;
    const platform::Rect q{0, y, kBildschirmBreite, y + h};
    b.BltFast(dx, y, b, &q, platform::DDBLTFAST_WAIT);
    y += h;
  }
}

// The strike most kinds share: at 36 a jolt and the blow, at 31 the crash.
void Schlagtakt() {
  if (Nova.NovaZeit == 36) {
    Erschuetterung = 5;
    NovaSchlag(false);
  }
  if (Nova.NovaZeit == 31) Krach();
}

// Kinds 0 and 3: every target's delay runs down, and the one reaching 0 is struck.
void Abzaehlen() {
  for (int32_t i = 0; i <= Letzter(); ++i) {
    if (!Zaehlt(Feind(i))) continue;
    float& v = Nova.NovaVerzoegerung[i];
    v -= 1;
    if (v == 0) Einzelschlag(i);
  }
}

// ---- Below 0: the guard pod --------------------------------------------------------------

void Waechter(bool erster) {
  if (erster) {
    Nova.NovaZeit = 70;
    Overlay1 = true;
    PodBlitz(kBlau, 60);
    const SpielerDaten& s = Schuetze();
    for (int n = 0; n < 21; ++n) {
      const float winkel = Rnd() * 360.0f;
      const float r = Rnd(), g = Rnd(), b = Rnd();
      Add1BigPartikel(s.X, s.Y, 0, 0, r, g, b, 64, 30, 10, 5, winkel);
    }
  }
  if (Nova.NovaZeit == 36) {
    if (GegnerMax < 0) Nova.NovaZeit = 20;  // nothing to strike: the nova is cut short
    NovaSchlag(false);
  }
  if (Nova.NovaZeit == 31) Krach();
  if (Nova.NovaZeit == 0) Overlay1 = false;
}

// ---- 0: the red shock wave ---------------------------------------------------------------

// The wave around `m` with radius `r`, and twelve coloured glows inside its square. The
// glows take their random numbers every tick, drawn or not.
void Welle(const Punkt& m, float r) {
  const bool zeichnen = Rendern && SurfaceGueltig(TexKreis2, "SpielNova");
  if (zeichnen) {
    SetUpRect(TexKreis2, m.X - r, m.Y - r, m.X + r, m.Y + r);
    SetUpColor(TexKreis2, 1, 0, 0, 0.7f);
    Render(TexKreis2, false);
  }
  for (int n = 0; n < 12; ++n) {
    const float x = m.X - r + 2 * r * Rnd(), y = m.Y - r + 2 * r * Rnd();
    const float R = Rnd(), G = Rnd(), B = Rnd();
    if (!zeichnen) continue;
    SetUpRect(TexKreis2, x - 16, y - 16, x + 16, y + 16);
    SetUpColor(TexKreis2, R, G, B, 0.7f);
    Render(TexKreis2, true);
  }
}

void Schockwelle(bool erster) {
  const Punkt m = Versetzt(PodEcke(), 16);
  float& radius = Nova.NovaWerte[0];
  if (erster) {
    // The wave reaches each target a little before its delay runs out.
    Nova.NovaZeit = 100;
    for (int32_t i = 0; i <= Letzter(); ++i) {
      const Gegner& g = Feind(i);
      float& v = Nova.NovaVerzoegerung[i];
      v = 0;
      if (!Zaehlt(g)) continue;
      const Punkt c = Mitte(g);
      const int32_t d = IDiv(std::hypot(static_cast<double>(c.X) - m.X, static_cast<double>(c.Y) - m.Y), 4) + 10;
      v = static_cast<float>(d);
      Nova.NovaZeit = std::max(Nova.NovaZeit, d + 10);
    }
    radius = 1;
    PodBlitz(kBlau, 10);
  }
  Welle(m, radius);
  radius += 4;
  Erschuetterung = 1;
  Abzaehlen();
}

// ---- 1: the lightning storm --------------------------------------------------------------

void Gewitter(bool erster) {
  std::array<float, 101>& w = Nova.NovaWerte;  // the wandering bolt: start x, y, end x, y
  if (erster) {
    Nova.NovaZeit = 200;
    PodBlitz(kBlau, 190);
    const Punkt p = Versetzt(PodEcke(), 16);
    w[2] = p.X;  // it sets out from the pod
    w[3] = p.Y;
  }
  // Two bolts across the screen: their ends are random every tick, drawn or not.
  const float oben = Rnd() * kBreite, unten = Rnd() * kBreite;
  Blitz(oben, 0, unten, kHoehe, 20, 20, 20, 0.6f, 0.6f, 1.0f);
  const float links = Rnd() * kHoehe, rechts = Rnd() * kHoehe;
  Blitz(0, links, kBreite, rechts, 20, 15, 20, 0.6f, 0.6f, 1.0f, std::nullopt, true);
  Erschuetterung = 1;
  if (Nova.NovaZeit > 40) {
    if (Nova.NovaZeit % 10 == 0) {
      w[0] = w[2];
      w[1] = w[3];
      w[2] = Rnd() * kBreite;
      w[3] = Rnd() * kHoehe;
      Add1BigPartikel(w[2] - 5, w[3] - 5, 0, 0, kBlau.R, kBlau.G, kBlau.B, 10, 0, 50, 1, 10);
    }
    Blitz(w[0], w[1], w[2], w[3], 5, 10, 10, 0.4f, 0.6f, 1.0f, std::nullopt, true);
  }
  Schlagtakt();
}

// ---- 2: three fire trails ----------------------------------------------------------------

constexpr int32_t kSpurPunkte = 15;
constexpr int32_t kSpurFeld = 2 * kSpurPunkte;  // x then y of one trail
constexpr int32_t kPhasen = 3 * kSpurFeld;      // where the eight phases begin
constexpr std::array<float, 8> kPhasenSchritt = {0.1f, 0.02f, 0.05f, 0.12f, 0.11f, 0.13f, 0.21f, 0.03f};

float& SpurX(int32_t t, int32_t k) { return Nova.NovaWerte[t * kSpurFeld + k]; }
float& SpurY(int32_t t, int32_t k) { return Nova.NovaWerte[t * kSpurFeld + kSpurPunkte + k]; }

// Every trail moves up by one point and takes a new head from the grown phases.
void SpurSchritt(const Punkt& c) {
  float* p = &Nova.NovaWerte[kPhasen];
  for (size_t j = 0; j < kPhasenSchritt.size(); ++j) p[j] += kPhasenSchritt[j];
  for (int32_t t = 0; t < 3; ++t)
    for (int32_t k = 0; k + 1 < kSpurPunkte; ++k) {
      SpurX(t, k) = SpurX(t, k + 1);
      SpurY(t, k) = SpurY(t, k + 1);
    }
  auto welle = [&](int32_t a, int32_t b, double weite) { return std::sin(p[a]) * std::cos(p[b]) * weite; };
  const std::array<Punkt, 3> kopf = {
      Punkt{static_cast<float>(c.X + welle(1, 0, 700)), static_cast<float>(c.Y + welle(3, 2, 400))},
      Punkt{static_cast<float>(c.X - welle(5, 4, 700)), static_cast<float>(c.Y - welle(7, 6, 400))},
      Punkt{static_cast<float>(c.X + welle(2, 0, 700)), static_cast<float>(c.Y + welle(6, 4, 400))}};
  for (int32_t t = 0; t < 3; ++t) {
    SpurX(t, kSpurPunkte - 1) = kopf[t].X;
    SpurY(t, kSpurPunkte - 1) = kopf[t].Y;
  }
}

void Feuerspuren(bool erster) {
  constexpr Farbe kGlut{0.8f, 0.4f, 0.2f};
  const Punkt c = Versetzt(PodEcke(), 32);
  if (erster) {
    Nova.NovaZeit = 227;
    PodBlitz({1.0f, 0.3f, 0.2f}, 217);
    for (int32_t t = 0; t < 3; ++t)
      for (int32_t k = 0; k < kSpurPunkte; ++k) SpurX(t, k) = c.X, SpurY(t, k) = c.Y;
    std::fill_n(&Nova.NovaWerte[kPhasen], kPhasenSchritt.size(), 0.0f);
  }
  SpurSchritt(c);
  SpurSchritt(c);
  if (Rendern)
    for (int32_t t = 0; t < 3; ++t)
      for (int32_t k = 0; k + 1 < kSpurPunkte; ++k)
        Linie(SpurX(t, k), SpurY(t, k), SpurX(t, k + 1), SpurY(t, k + 1), 12, kGlut.R, kGlut.G, kGlut.B,
              static_cast<float>(k) / 14, kGlut.R, kGlut.G, kGlut.B, static_cast<float>(k + 1) / 14, true);
  for (int n = 0; n < 3; ++n) {
    const float x = Rnd() * kBreite, y = Rnd() * kHoehe;
    const Farbe f = n == 0 ? Farbe{1.0f, 0.6f, 0.4f} : kGlut;
    Add1BigPartikel(x, y, -18, -7, f.R, f.G, f.B, 2, 0, 15, 1, 4);
  }
  for (int32_t i = 0; i <= Letzter(); ++i) {
    const Gegner& g = Feind(i);
    if (!Zaehlt(g)) continue;
    AddPartikel(1, 1, CLng(g.X), CLng(g.Y), CLng(g.X + static_cast<double>(g.Typ.Width)),
                CLng(g.Y + static_cast<double>(g.Typ.Height)), false);
  }
  Erschuetterung = 1;
  Schlagtakt();
  if (Nova.NovaZeit == 1) Blenden();
}

// ---- 3: one target after another ---------------------------------------------------------

void Reihum(bool erster) {
  if (erster) {
    Overlay1 = true;
    HintergrundModus = -1;
    int32_t n = 0, letzte = 0;
    for (int32_t i = 0; i <= Letzter(); ++i) {
      float& v = Nova.NovaVerzoegerung[i];
      v = 0;
      if (!Zaehlt(Feind(i))) continue;
      letzte = (n++ + 10) * 5;
      v = static_cast<float>(letzte);
    }
    Nova.NovaZeit = letzte + 50;
    PodBlitz(kBlau, Nova.NovaZeit - 10);
    Add1BigPartikel(400, 275, 0, 0, 1, 1, 1, 0, 10, Nova.NovaZeit - 50, 2, 2);
  }
  Reissen();
  Abzaehlen();
  if (Nova.NovaZeit == 1) Blenden();
  if (Nova.NovaZeit == 0) Overlay1 = false;
}

// ---- 4: streaks and tearing --------------------------------------------------------------

void Risse(bool erster) {
  if (erster) {
    Nova.NovaZeit = 200;
    Overlay1 = true;
    PodBlitz(kBlau, 190);
    const Punkt p = PodEcke();
    Add1BigPartikel(p.X, p.Y, 0, 0, kBlau.R, kBlau.G, kBlau.B, 32, 0, 150, 2, 10);
  }
  if (Nova.NovaZeit > 80) {
    for (int32_t i = 0; i <= Letzter(); ++i) {
      const Gegner& g = Feind(i);
      if (!Zaehlt(g)) continue;
      const Punkt c = Mitte(g);
      const float sx = Rnd() * 10.0f - 5.0f, sy = Rnd() * 10.0f - 5.0f;
      const int32_t leben = CLng(Rnd() * 10.0f + 20.0f);
      const float winkel = Rnd() * 360.0f;
      Add1BigPartikel(c.X - 5, c.Y - 5, sx, sy, 1.0f, 1.0f, 0.2f, 10, 0, leben, 5, winkel);
    }
    Reissen();
  }
  Schlagtakt();
  if (Nova.NovaZeit == 1) Blenden();
  if (Nova.NovaZeit == 0) Overlay1 = false;
}

// ---- 6: the satellite hunts --------------------------------------------------------------

Farbe SatellitFarbe() {
  const float s = static_cast<float>(Satellit.Stufe);
  return {1.3f - 0.5f * s, 0.2f, 0.3f + 0.5f * s};
}

// A streak and a glow burst from the satellite.
void SatellitGlanz() {
  const Farbe f = SatellitFarbe();
  Add1BigPartikel(Satellit.X, Satellit.Y, 0, 0, f.R, f.G, f.B, 64, 10, 20, 5, Rnd() * 360.0f);
  Add1BigPartikel(Satellit.X, Satellit.Y, 0, 0, f.R, f.G, f.B, 64, 10, 20, 16, 5);
}

void Jagd(bool erster) {
  std::array<float, 101>& w = Nova.NovaWerte;  // 0 the target, 1 the ticks of its approach
  if (erster) {
    int32_t ziele = 0;
    for (int32_t i = 0; i <= Letzter(); ++i) ziele += Zaehlt(Feind(i)) ? 1 : 0;
    Nova.NovaZeit = 999 + 15 * ziele;
    w[0] = static_cast<float>(NaechstesZiel(0));
    w[1] = 0;
    Satellit.Stufe = 0;
    if (ziele == 0) {
      AddBigPartikel(Satellit.X, Satellit.Y, Satellit.X + 64, Satellit.Y + 64, 1.0f, 0.2f, 0.3f, 32, 5, 15);
      SatellitGlanz();
      Nova.NovaZeit = 30;
    }
  }
  if (Nova.NovaZeit == 1) Blenden();
  const int32_t ziel = CLng(w[0]);
  if (ziel < 0 || ziel >= kSlots) return;
  const Punkt c = Mitte(Feind(ziel));
  // Fifteen steps close in on the target: the last one centres the satellite on it.
  const double rest = 15.0 - w[1];
  Satellit.X = static_cast<float>(Satellit.X - 32.0 + (c.X - static_cast<double>(Satellit.X)) / rest);
  Satellit.Y = static_cast<float>(Satellit.Y - 32.0 + (c.Y - static_cast<double>(Satellit.Y)) / rest);
  const Farbe f = SatellitFarbe();
  Add1BigPartikel(Satellit.X, Satellit.Y, 0, 0, f.R, f.G, f.B, 64, 10, 5, 1, 1);
  Add1BigPartikel(Satellit.X, Satellit.Y, 0, 0, 1, 1, 1, 64, 2, 10, 16, 0);
  w[1] += 1;
  if (w[1] < 15) return;
  Todesstoss(ziel, kTodGespalten);
  SatellitGlanz();
  w[1] = 0;
  w[0] = static_cast<float>(NaechstesZiel(ziel + 1));
  if (w[0] < kKeinZiel) return;
  Add1BigPartikel(Satellit.X, Satellit.Y, 0, 0, f.R, f.G, f.B, 64, 0, 30, 2, 20);
  Nova.NovaZeit = 40;
}

// ---- 7: the black hole -------------------------------------------------------------------

// Six random colour components: a line's start colour and its end colour.
struct Verlauf {
  float r[6];
};
Verlauf ZufallsVerlauf() {
  Verlauf v{};
  for (float& r : v.r) r = Rnd();
  return v;
}
void BunteLinie(float x1, float y1, float x2, float y2, float breite, const Verlauf& v, bool additiv) {
  Linie(x1, y1, x2, y2, breite, v.r[0], v.r[1], v.r[2], 1, v.r[3], v.r[4], v.r[5], 1, additiv);
}

// How far a ray at `winkel` radians reaches from the hole: past every edge of the screen.
Punkt Strahlende(float winkel) {
  return {static_cast<float>(Nova.NovaMitteX + 900 * std::sin(static_cast<double>(winkel))),
          static_cast<float>(Nova.NovaMitteY + 700 * std::cos(static_cast<double>(winkel)))};
}

// What a drawn frame of the hole shows, and the jolt it gives.
void LochZeichnen() {
  constexpr float kStrahl = 10;  // the coloured ray of the first phase
  const float cx = Nova.NovaMitteX, cy = Nova.NovaMitteY;
  const int32_t e = 250 - Nova.NovaZeit;
  Erschuetterung += 1;
  double r;
  if (Nova.NovaZeit >= 70) {
    const auto y = static_cast<float>(CLng(Rnd() * kHoehe));
    BunteLinie(0, y, kBreite, y, 3, ZufallsVerlauf(), false);
    const auto x = static_cast<float>(CLng(Rnd() * kBreite));
    BunteLinie(x, 0, x, kHoehe, 3, ZufallsVerlauf(), false);
    const auto a = static_cast<float>(Int(Rnd() * 360.0f));
    const Punkt ende = Strahlende(a);
    BunteLinie(cx, cy, ende.X, ende.Y, kStrahl, ZufallsVerlauf(), true);
    const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd();
    Add1BigPartikel(cx - 5, cy - 5, 18 * r1 - 9, 18 * r2 - 9, 0, 0, 0, 10, CLng(10 * r3 + 10), CLng(20 * r4 + 60), 1,
                    0);
    r = e;
  } else {
    Overlay1 = Overlay2 = true;
    const int32_t n = IDiv(e, 10);
    for (int32_t k = 1; k <= n; ++k) {
      // The ray count passes the 21 angles drawn at the start: the later rays repeat them.
      const Punkt ende = Strahlende(Nova.NovaWerte[k % 21]);
      Linie(cx, cy, ende.X, ende.Y, static_cast<float>(n + 10), 0, 0, 0, 1, 0, 0, 0, 1, false);
    }
    r = 5.0 * e - 720;
  }
  if (!SurfaceGueltig(TexKreis2, "SpielNova")) return;
  Filtern = true;
  SetUpRect(TexKreis2, static_cast<float>(cx - r), static_cast<float>(cy - r), static_cast<float>(cx + r),
            static_cast<float>(cy + r));
  SetUpColor(TexKreis2, 0, 0, 0, 1);
  Render(TexKreis2, false);
  Render(TexKreis2, false);
  Filtern = false;
}

void SchwarzesLoch(bool erster) {
  if (erster) {
    Nova.NovaZeit = 250;
    HintergrundModus = -2;
    for (int32_t k = 0; k <= 20; ++k) Nova.NovaWerte[k] = 2.0f * Pi * Rnd();
    Nova.NovaMitteX = Satellit.X + 32;
    Nova.NovaMitteY = Satellit.Y + 32;
  }
  if (Rendern) LochZeichnen();
  if (Nova.NovaZeit == 70) {
    Erschuetterung = 5;
    BigPartikel.Reset();
    NovaSchlag(true);
  }
  if (Nova.NovaZeit == 1) Blenden();
  if (Nova.NovaZeit == 0) Overlay1 = Overlay2 = false;
}

// ---- 8: the strike run -------------------------------------------------------------------

// No target left: the ship comes in from the left over the last 21 ticks and stands where
// it started in the last one.
void Heimflug(SpielerDaten& s) {
  const double rand = Schiff[SchuetzeNr()].BoxRechts;
  s.X = static_cast<float>((Nova.NovaX + rand) * CosinusB(CLng(4.5 * Nova.NovaZeit)) - rand);
  s.Y = Nova.NovaY;
}

// The run moves on to the next target; with none left it heads home.
void NaechsterLauf(int32_t ab) {
  Nova.NovaWerte[1] = 0;
  Nova.NovaWerte[0] = static_cast<float>(NaechstesZiel(ab));
  if (Nova.NovaWerte[0] >= kKeinZiel) Nova.NovaZeit = 21;
}

// One of the nine steps of a sweep across the screen at the height of target `i`: the
// blow falls in the first step that reaches its centre (and again in later steps on a
// survivor), and rings and ghosts of the ship fill the hundred pixels just crossed.
void Querflug(SpielerDaten& s, int32_t i) {
  Gegner& g = Feind(i);
  const Punkt c = Mitte(g);
  s.Y = c.Y - 32;
  const float schritt = Nova.NovaWerte[1] += 1;
  s.X = 100 * schritt;
  if (s.X >= c.X && g.TodArt == kZiel) Todesstoss(i, kTodGespalten);
  s.X -= 50 * Rnd();
  const int32_t bild = Schiff[SchuetzeNr()].Bilder[kSchiffsbild];
  for (int32_t k = 0; k <= 10; ++k) {
    const float x = 100 * (schritt - 1) + static_cast<float>(10 * k);
    Add1BigPartikel(x, s.Y + static_cast<float>(k) / 2, -2.0f, 0, 0.3f, 0.7f, 1.0f, 64 - k, 0, 10 - k, 3, 32.0f);
    if (!Rendern || !SurfaceGueltig(bild, "SpielNova")) continue;
    SetUpXY(bild, x, s.Y);
    SetUpColor(bild, 1, 1, 1, 0.1f * static_cast<float>(k));
    Render(bild, false);
  }
  if (schritt == 9) NaechsterLauf(i + 1);
}

// Before the first sweep the ship races off to the right, twice as fast every tick.
void Abflug(SpielerDaten& s) {
  float& tempo = Nova.NovaWerte[2];
  s.X += tempo;
  tempo *= 2;
  if (s.X > kBreite) NaechsterLauf(0);
}

void Sturmlauf(bool erster) {
  std::array<float, 101>& w = Nova.NovaWerte;  // 0 the target, 1 the sweep's step, 2 the speed
  if (erster) {
    for (int32_t i = 0; i <= Letzter(); ++i)
      if (Zaehlt(Feind(i))) Nova.NovaZeit += 8;
    Nova.NovaZeit += 10000;
    w[0] = -1;
    w[1] = 0;
    w[2] = 1;
    AddBigPartikel(Satellit.X, Satellit.Y, Satellit.X + 64, Satellit.Y + 64, 1.0f, 0.2f, 0.3f, 32, 5, 15);
  }
  SpielerDaten& s = Schuetze();
  const int32_t ziel = CLng(w[0]);
  if (ziel > GegnerMax)
    Heimflug(s);
  else if (ziel >= 0)
    Querflug(s, ziel);
  else
    Abflug(s);
  if (Nova.NovaZeit == 1) Blenden();
}

// ---- 5, 9 and above: homing shots from the pod -------------------------------------------

// The ticks a shot flies to a target at `c`: an eighth of its distance from the screen's
// corner; at least one, so that a target in the corner is struck too.
int32_t Flugzeit(const Punkt& c) {
  const double d = std::sqrt(static_cast<double>(c.X) * c.X + static_cast<double>(c.Y) * c.Y);
  return std::max(IDiv(d, 8), 1);
}

void Fadenkreuz(const Punkt& c, float alpha, int32_t winkel) {
  if (!SurfaceGueltig(TexFadenkreuz, "SpielNova")) return;
  TmpRect1 = {CLng(c.X - 64.0f), CLng(c.Y - 64.0f), CLng(c.X + 64.0f), CLng(c.Y + 64.0f)};
  SetUpGeom(TexFadenkreuz, Surfaces[TexFadenkreuz].SrcRect, TmpRect1, 1, 1, 1, alpha, winkel);
  Render(TexFadenkreuz, false);
}

// One tick of the shot at target `i`: its wait (`NovaWerte` -1) runs down under a turning
// crosshair, then it flies from the pod to the target for its flight time and strikes.
void Zielschuss(int32_t i, const Punkt& p) {
  float& v = Nova.NovaVerzoegerung[i];
  float& w = Nova.NovaWerte[i];
  const Punkt c = Mitte(Feind(i));
  v -= 1;
  if (v < 0 && w == -1) {
    v = w = static_cast<float>(Flugzeit(c));
    KlangWeiter(SndNovaSchuss);
  } else if (v < 0) {
    // it has struck
  } else if (w == -1) {
    if (v <= 10 && Rendern) Fadenkreuz(c, 0.7f, CLng(3 * v));
  } else if (v == 0) {
    Todesstoss(i, kTodFunkeln);
  } else {
    if (Rendern) Fadenkreuz(c, 0.5f, 0);
    const double q = CosinusB(CLng(v / w * 90));
    Add1BigPartikel(static_cast<float>(p.X + (c.X - static_cast<double>(p.X)) * q - 5),
                    static_cast<float>(p.Y + (c.Y - static_cast<double>(p.Y)) * q - 5), 0, 0, 1, 1, 1, 10, 0, 10, 1, 0);
  }
}

void Zielsuche(bool erster) {
  const Punkt p = Versetzt(PodEcke(), 32);
  if (erster) {
    for (int32_t i = 0; i <= Letzter(); ++i) {
      const Gegner& g = Feind(i);
      if (!Zaehlt(g)) {
        Nova.NovaVerzoegerung[i] = -1;
        continue;
      }
      const int32_t warten = 2 * i + 5;
      Nova.NovaVerzoegerung[i] = static_cast<float>(warten);
      Nova.NovaWerte[i] = -1;
      const int32_t ende = Flugzeit(Mitte(g)) + warten;
      if (Nova.NovaZeit - 50 < ende) Nova.NovaZeit = ende + 50;
    }
    if (Nova.NovaZeit == -1) Nova.NovaZeit = 50;
    PodBlitz(kBlau, Nova.NovaZeit - 10);
  }
  for (int32_t i = 0; i <= Letzter(); ++i)
    if (Zaehlt(Feind(i))) Zielschuss(i, p);
}

// ---- The nova ----------------------------------------------------------------------------

using ArtHandler = void (*)(bool erster);
// By kind: below 0, 0 .. 4, 5 and from 9 on (the homing shots), 6, 7, 8.
constexpr std::array<ArtHandler, 10> kArten = {Waechter, Schockwelle, Gewitter, Feuerspuren,   Reihum,
                                               Risse,    Zielsuche,   Jagd,     SchwarzesLoch, Sturmlauf};
size_t ArtIndex(int32_t art) {
  if (art < 0) return 0;
  if (art == 5 || art > 8) return 6;
  return static_cast<size_t>(art) + 1;
}

// The pod player `k` has selected; a value a damaged save left outside the four is none.
int32_t GewaehltesPod(int32_t k) {
  const int32_t p = Spieler[k].Pod;
  return p >= 0 && p < kPods ? p : -1;
}

bool BossStirbt() {
  for (int32_t i = 0; i <= Letzter(); ++i) {
    const Gegner& g = Feind(i);
    if (Wahr(g.Aktiv) && Wahr(g.Stirbt) && g.TodArt == kTodBoss) return true;
  }
  return false;
}

// Whether player `k` may set off a nova now (the key being down).
bool Bereit(int32_t k) {
  if (Wahr(Nova.NovaTasteGehalten) || Wahr(WeltAngehalten) || Spieler[k].Tod != 0) return false;
  const int32_t typ = Schiff[k].Typ;
  if (typ == kMitPods && GewaehltesPod(k) < 0) return false;
  if (typ == kMitSatellit && !Wahr(Satellit.Da)) return false;
  return !BossStirbt();
}

// Player `k` pays for the nova, the world stops and every enemy shot is gone.
void Zuenden(int32_t k) {
  Nova.NovaTasteGehalten = VBTrue;
  WeltAngehalten = VBTrue;
  const int32_t typ = Schiff[k].Typ;
  // Unless a pod pays, the kinds that set out from the spent pod set out from the ship.
  Nova.NovaPod = -1;
  if (typ == kMitPods) {
    const int32_t p = GewaehltesPod(k);
    Nova.NovaPod = p;
    Nova.NovaArt = Pods[p].Waffe;
    Pods[p].Besitz = VBFalse;
    Pods[p].Waffe = 0;
    NextPartikel(k);
  } else if (typ == kMitSatellit) {
    Satellit.Da = VBFalse;
    Nova.NovaArt = CLng(Int(Rnd() * 3.0f) + 6);
  }
  const SpielerDaten& s = Spieler[k];
  Nova.NovaSpieler = k;
  Nova.NovaZeit = -1;
  Nova.NovaAltWert = HintergrundModus;
  Nova.NovaX = s.X;
  Nova.NovaY = s.Y;
  HintergrundModus = 0;
  GegnerSchuesse.Reset();
  if (!SoundAn) return;
  upcall::SetOggVolume(IDiv(MusikLautstaerke, 10));
  SpielSoundOFF();
  ResetWater();  // a ship still in the surface starts the splash sound again
  Klang(SndNova);
  Klang(SndNovaSchuss);
}

void Anfrage(int32_t k) {
  if (!TasteSuperNova(k + LetzterSpieler)) {
    Nova.NovaTasteGehalten = VBFalse;
    return;
  }
  if (Bereit(k)) Zuenden(k);
}

// The tick's end: the count runs down, and below 0 the world moves again.
void Takt() {
  if (--Nova.NovaZeit >= 0) return;
  WeltAngehalten = VBFalse;
  HintergrundModus = Nova.NovaAltWert;
  if (SoundAn) {
    upcall::SetOggVolume(MusikLautstaerke);
    for (int32_t nr : SndCharge) {
      if (nr < 0 || nr > SoundsMax()) continue;
      for (platform::audio::SoundBuffer& kopie : Sounds[nr].Kopien) kopie.SetVolume(SoundLautstaerke);
    }
  }
  Freigeben();
}

}  // namespace

void SpielNova() {
  for (int32_t k = 0; k <= LetzterSpielerIndex(); ++k) Anfrage(k);
  if (!Wahr(WeltAngehalten)) return;
  const bool erster = Nova.NovaZeit == -1;
  if (erster) Markieren();
  kArten[ArtIndex(Nova.NovaArt)](erster);
  Takt();
}
