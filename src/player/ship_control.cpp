#include "player/ship_control.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "player/beam_state.hpp"
#include "player/players.hpp"
#include "player/ship_death.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

constexpr int32_t kLinieY = 275;         // the ships leave the level with their centre on this line
constexpr int32_t kAusflugTempo = 15;    // pixels per frame on the way out
constexpr int32_t kAusflugSchild = 500;  // the shield that covers the way out
constexpr int32_t kGeradeaus = 2;        // the frame column of level flight
constexpr int32_t kKippPause = 5;        // frames between two tilt steps while a key is held
constexpr int32_t kZurueckPause = 15;    // frames a released full tilt holds before it eases off
constexpr int32_t kDriftAb = 10;         // key presses after which the ship glides on
constexpr double kDriftRest = 0.85;      // of the glide kept per frame
constexpr int32_t kWasserBremse = 3;     // pixels per frame slower under water

// ---- The way out -----------------------------------------------------------------------

// How the autopilot steers toward the exit line: while the ship's centre is `d` pixels
// below it (negative: above), it climbs `dy` per frame with that tilt.
struct Kurs {
  int32_t von, bis;  // d in von..bis
  int32_t dy;
  int32_t spalte;
};
constexpr int32_t kOben = std::numeric_limits<int32_t>::max();
constexpr int32_t kUnten = std::numeric_limits<int32_t>::min();
constexpr Kurs kKurse[] = {
    {201, kOben, -10, 0}, {101, 200, -5, 0}, {21, 100, -3, 1}, {11, 20, -2, 1},  {1, 10, -1, 1},
    {kUnten, -201, 10, 4}, {-200, -101, 5, 4}, {-100, -21, 3, 3}, {-20, -11, 2, 3}, {-10, -1, 1, 3},
};

const Kurs& KursFuer(int32_t d) {
  for (const Kurs& k : kKurse)
    if (d >= k.von && d <= k.bis) return k;
  return kKurse[0];  // not reached: the rows cover every d but 0
}

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

// The trail moves on by one step; its newest step is the record as it is now.
void SpurSchieben(int32_t p) {
  auto& spur = SpielerSpur[p];
  for (int k = 1; k <= 10; ++k) spur[k - 1] = spur[k];
  spur[10] = Spieler[p];
}

// The level is over: the ship gets a shield, steers to the exit line, flashes and leaves
// to the right. Nothing stops it; the level ends by its tick count.
void Ausflug(int32_t p) {
  SpielerDaten& s = Spieler[p];
  if (s.Status == 1) {
    s.Schild = kAusflugSchild;
    SpurAn = true;
    s.Status = 2;
  }
  const int32_t d = CLng(double{s.Y} + 32 - kLinieY);
  if (d != 0) {
    const Kurs& k = KursFuer(d);
    s.Y += static_cast<float>(k.dy);
    s.FrameSpalte = k.spalte;
    return;
  }
  if (s.Status == 2) {
    s.Status = 3;
    Add1BigPartikel(s.X + 64, s.Y, -2, 0, 1, 1, 1, 64, 0, 40, 3, 10);
    Add1BigPartikel(s.X + 60, s.Y, -2, 0, 1, 1, 1, 64, 0, 40, 3, 10);
    Klang(SndSpeed);
    Klang(SndSpeed);
    AddForce(5, 15, p);
  } else {
    s.X += kAusflugTempo;
    const float r1 = Rnd(), r2 = Rnd();
    Add1BigPartikel(s.X - 10, s.Y + 22, -5 * r1, 4 * r2 - 2, 1, 1, 1, 20, 0, 10, 10, 10);
    for (int i = 0; i < 5; ++i) {
      const float ry = Rnd(), rsx = Rnd(), rsy = Rnd(), rg = Rnd(), rb = Rnd();
      Add1BigPartikel(s.X - 24, s.Y + 8 * ry, -10 - 5 * rsx, 8 * rsy - 4, 1.0f, static_cast<float>(0.3 + 0.3 * rg),
                      static_cast<float>(0.5 * rb), 48, 0, 7, 16, 2);
    }
  }
  s.FrameSpalte = kGeradeaus;
}

// The engine flame behind the ship: longer while it moves left, shorter while it moves
// right (this frame's movement against the trail's newest step).
void Flamme(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  if (Schiff[p].Typ == 0) {
    SetUpColor(TexKreis2, 0.3f, 0.4f, 1.0f, 1.0f);
  } else {
    SetUpColor(TexKreis2, 1.0f, 0.4f, 0.3f, 1.0f);
  }
  for (int i = 0; i < 3; ++i) {
    const float r = 3 * Rnd();
    const float w = 9 - r * r;
    const float o = static_cast<float>(w * (2 * Rnd() - 1) * 0.4);
    const float m = s.X - SpielerSpur[p][10].X;
    SetUpRect(TexKreis2, s.X - 30 - 2 * m + w, s.Y + 22 + o, s.X + 22 + w, s.Y + 42 + o);
    Render(TexKreis2, true);
  }
}

void InSpielfeld(int32_t p) {
  SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  if (s.X + b.BoxRechts > kSpielfeldBreite) s.X = static_cast<float>(kSpielfeldBreite - b.BoxRechts);
  if (s.X + b.BoxLinks < 0) s.X = static_cast<float>(-b.BoxLinks);
  if (s.Y + b.BoxOben < 0) s.Y = static_cast<float>(-b.BoxOben);
  if (s.Y + b.BoxUnten > kSpielfeldHoehe) s.Y = static_cast<float>(kSpielfeldHoehe - b.BoxUnten);
}

// A ship that has flown into the scenery goes back where it was, on one axis if that is
// enough.
void AusDerLandschaft(int32_t p, float s3) {
  SpielerDaten& s = Spieler[p];
  const float ox = SpielerSpur[p][10].X, oy = SpielerSpur[p][10].Y;
  if (!SchiffStoesst(p, s.X, s.Y, s3)) return;
  if (!SchiffStoesst(p, ox, s.Y, s3)) {
    s.X = ox;
  } else if (!SchiffStoesst(p, s.X, oy, s3)) {
    s.Y = oy;
  } else {
    s.X = ox;
    s.Y = oy;
  }
}

// One frame of a ship in play.
void ImSpiel(int32_t p) {
  SpielerDaten& s = Spieler[p];
  // The scenery scrolls into the ship and pushes it along; pushed off the screen it is
  // crushed. That ends this ship's step only: while a shield holds, the push goes on
  // frame after frame, and the other ship must still fly.
  const float s3 = Ebenen[3].Speed;
  if (SchiffStoesst(p, s.X, s.Y, s3)) {
    s.X -= s3;
    if (s.X + Schiff[p].BoxLinks < 0) {
      KillVesk(p);
      return;
    }
  }
  SpurSchieben(p);
  s.X += s.DX;
  s.DX = 0;
  s.Y += s.DY;
  s.DY = 0;
  SpielTastenCheck(p);
  InSpielfeld(p);
  if (Rendern) Flamme(p);
  AusDerLandschaft(p, s3);
}

// The tilt: a held up or down key leans the ship one column further every few frames; with
// neither, a full lean eases back and the ship levels out.
void Kippen(SpielerDaten& s, SteuerZustand& z, bool hoch, bool runter) {
  // A timer the easing-off left below 0 counts as run out: counted down further, a key
  // held from that frame on would never lean the ship.
  if (hoch) {
    if (z.KippZeit <= 0) {
      s.FrameSpalte = std::max(s.FrameSpalte - 1, 0);
      z.KippZeit = kKippPause;
    } else {
      z.KippZeit -= 1;
    }
  }
  if (runter) {
    if (z.KippZeit <= 0) {
      s.FrameSpalte = std::min(s.FrameSpalte + 1, 4);
      z.KippZeit = kKippPause;
    } else {
      z.KippZeit -= 1;
    }
  }
  if (hoch || runter) return;
  if (s.FrameSpalte == 4) {
    s.FrameSpalte = 3;
    z.KippZeit = kZurueckPause;
  } else if (s.FrameSpalte == 0) {
    s.FrameSpalte = 1;
    z.KippZeit = kZurueckPause;
  }
  if (z.KippZeit > 0) {
    z.KippZeit -= 2;
  } else {
    if (s.FrameSpalte < kGeradeaus) s.FrameSpalte += 1;
    if (s.FrameSpalte > kGeradeaus) s.FrameSpalte -= 1;
    z.KippZeit = 0;
  }
}

// Inertia: after a long enough run of key presses the ship glides on with its last
// movement, losing 15 % of it per frame.
void Gleiten(SpielerDaten& s, SteuerZustand& z, bool bewegt, float x0, float y0) {
  if (bewegt) {
    s.DriftX = s.X - x0;
    s.DriftY = s.Y - y0;
    z.Driftet = false;
    return;
  }
  if (z.Tastendruecke >= kDriftAb) z.Driftet = true;
  z.Tastendruecke = 0;
  if (!z.Driftet) return;
  s.DriftX = static_cast<float>(s.DriftX * kDriftRest);
  s.DriftY = static_cast<float>(s.DriftY * kDriftRest);
  if (Traegheit) {
    s.X += s.DriftX;
    s.Y += s.DriftY;
  }
  if (std::fabs(s.DriftX) < 1.0f && std::fabs(s.DriftY) < 1.0f) z.Driftet = false;
}

// ---- Drawing ---------------------------------------------------------------------------

// The ship picture of a record's row and column; -1 when they lie outside the ship block.
int32_t Bildnummer(int32_t p, const SpielerDaten& s) {
  if (s.FrameSpalte < 0 || s.FrameSpalte > 4 || s.FrameZeile < 0 || s.FrameZeile > 4) return -1;
  return Schiff[p].Bilder[s.FrameZeile * 5 + s.FrameSpalte];
}

bool Geladen(int32_t nr) { return nr >= 0 && nr <= SurfacesMax() && Surfaces[nr].Surface; }

// A ship picture from its own source rectangle to that rectangle placed at (x, y).
void Schiffsbild(int32_t nr, float x, float y, float R, float G, float B, float A, int32_t winkel, bool additiv) {
  if (!Geladen(nr)) return;
  const RECT& q = Surfaces[nr].SrcRect;
  const RECT z{CLng(double{x} + q.Left), CLng(double{y} + q.Top), CLng(double{x} + q.Right),
               CLng(double{y} + q.Bottom)};
  SetUpGeom(nr, q, z, R, G, B, A, winkel);
  Render(nr, additiv);
}

void Schildglanz(const SpielerDaten& s, float l, float o, float r, float u) {
  SetUpColor(TexKreis2, 0.6f, 1.0f, 0.6f, 0.4f);
  SetUpRect(TexKreis2, s.X + l, s.Y + o, s.X + r, s.Y + u);
  Render(TexKreis2, true);
}

void Schildblitz(const SpielerDaten& s) {
  const float rx = Rnd(), ry = Rnd();
  Blitz(s.X + 32, s.Y + 32, s.X - 15 + 94 * rx, s.Y - 5 + 74 * ry, 3, 3, 5, 0.5f, 0.5f, 0.5f, std::nullopt, true);
}

// A random point of the hit box.
void PunktImKasten(int32_t p, const SpielerDaten& s, float& x, float& y) {
  const SchiffDaten& b = Schiff[p];
  const float rx = Rnd(), ry = Rnd();
  x = s.X + b.BoxLinks + (b.BoxRechts - b.BoxLinks) * rx;
  y = s.Y + b.BoxOben + (b.BoxUnten - b.BoxOben) * ry;
}

// A damaged ship smokes, the more often the weaker it is.
void Rauch(int32_t p, const SpielerDaten& s) {
  if (!(s.Energie < IDiv(CLng(s.EnergieMax), 2))) return;
  if (!(s.Energie / s.EnergieMax * 10 < RauchZaehler)) {
    RauchZaehler = CLng(static_cast<double>(RauchZaehler) + 1);
    return;
  }
  RauchZaehler = 0;
  const Rechteck k = SchiffKasten(p, s.X, s.Y);
  AddPartikel(1, 4, k.Left, k.Top, k.Right, k.Bottom, false);
  float x = 0, y = 0;
  PunktImKasten(p, s, x, y);
  const float r3 = Rnd(), r4 = Rnd();
  Add1BigPartikel(x - 4, y - 4, r3 - 0.5f, -2 - r4, 1, 1, 1, 8, 0, 6, 10, 0);
}

void ZeichneSchiff(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  const BeamStatus& beam = Beam[p];
  const int32_t rumpf = Bildnummer(p, s);
  const bool schild = s.Winkel == 0 && SchildSichtbar(s.Schild);

  if (SpurAn) {
    for (int k = 0; k <= 10; ++k) {
      const SpielerDaten& t = SpielerSpur[p][k];
      Schiffsbild(Bildnummer(p, t), t.X, t.Y, 1, 1, 1, 1.0f / static_cast<float>(12 - k), t.Winkel, false);
    }
  }
  if (schild) {
    Schildglanz(s, -15, -5, 79, 69);
    Schildblitz(s);
  }
  Schiffsbild(rumpf, s.X, s.Y, 1, 1, 1, 1, s.Winkel, false);
  if (s.Winkel != 0) return;

  const bool power = beam.Powermodus != VBFalse;
  if (LetzterSpieler == 1 && power && Geladen(rumpf)) {
    for (int k = 0; k <= 10; ++k) {
      const RECT z{CLng(double{s.X} - k), CLng(double{s.Y} - k), CLng(double{s.X} + 64 + k),
                   CLng(double{s.Y} + 64 + k)};
      SetUpGeom(rumpf, Surfaces[rumpf].SrcRect, z, 1, 1, 1, 0.1f, 0);
      Render(rumpf, true);
    }
  }
  // Red as it loses energy, green for energy just gained, blinking blue at full charge.
  const float rot = 1 - s.Energie / s.EnergieMax;
  const float gruen = s.Energie > SpielerSpur[p][0].Energie ? 1.0f : 0.0f;
  const float blau = beam.Ladung == 165.0f && LevelTick % 2 == 0 ? 1.0f : 0.0f;
  Schiffsbild(rumpf, s.X, s.Y, rot, gruen, blau, 1, 0, true);

  if (s.Energie < SpielerSpur[p][0].Energie || power) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PunktImKasten(p, s, x1, y1);
    PunktImKasten(p, s, x2, y2);
    Blitz(x1, y1, x2, y2, 5, 5, 20, 1.0f, 0.6f, 1.0f, std::nullopt, true);
  }
  Rauch(p, s);
  if (schild) {
    Schildblitz(s);
    Schildglanz(s, -30, -15, 94, 79);
  }
}

}  // namespace

bool SchildSichtbar(int32_t Schild) { return Schild > 10 || Schild % 2 == 1; }

void SpielObjektAnimationen() {
  const int32_t letzte = SpriteDefsMax();
  for (int32_t i = 0; i <= letzte; ++i) DoAni(i, SpriteDefs[i].AniA, SpriteDefs[i].TiA);
}

void SpielKeysVesk() {
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) {
    SpielerDaten& s = Spieler[p];
    if (s.Tod != 0 || s.Status >= 5) continue;
    SpurSchieben(p);
    if (s.Status >= 1) {
      Ausflug(p);
    } else if (s.Status == 0) {
      ImSpiel(p);
    }
  }
}

void SpielTastenCheck(int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  SpielerDaten& s = Spieler[VeskNr];
  SteuerZustand& z = Steuerung[VeskNr];
  const float x0 = s.X, y0 = s.Y;

  int32_t step = CLng(s.Speed);
  const bool nass = kSpielfeldHoehe - Wasserstand < double{s.Y} + Schiff[VeskNr].BoxOben ||
                    Wasserstand == kSpielfeldHoehe;
  if (nass && Beam[VeskNr].Powermodus == VBFalse) step = CLng(double{s.Speed} - kWasserBremse);
  if (step < 1) step = 1;

  const int32_t k = VeskNr + LetzterSpieler;
  const bool rechts = TasteRechts(k), links = TasteLinks(k), hoch = TasteHoch(k), runter = TasteRunter(k);
  if (rechts) s.X += static_cast<float>(step);
  if (links) s.X -= static_cast<float>(step);
  if (hoch) s.Y -= static_cast<float>(step);
  if (runter) s.Y += static_cast<float>(step);
  const int32_t druecke = rechts + links + hoch + runter;
  z.Tastendruecke = CLng(static_cast<double>(z.Tastendruecke) + druecke);

  Kippen(s, z, hoch, runter);
  Gleiten(s, z, druecke > 0, x0, y0);
}

void SpielMoveVesk() {
  if (!Rendern) return;
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p)
    if (Spieler[p].Tod == 0) ZeichneSchiff(p);
}
