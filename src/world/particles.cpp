// Small particles: sparks and debris dots in two groups, drawn one early and one late in
// the frame. They fall with the level's gravity, fade with their life and vanish as soon
// as any part of them leaves the screen.
#include "world/particles.hpp"

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

using Gruppe = Pool<PartikelDaten, 1500>;

// The group `Index`, or none for an index the game does not have.
Gruppe* GruppeVon(int32_t Index) {
  if (!PartikelAn || Index < 0 || Index > 1) return nullptr;
  return &Partikel[static_cast<size_t>(Index)];
}

// The first inactive slot from `ab` on, -1 when the group is full from there.
int32_t FreierPlatz(const Gruppe& g, int32_t ab) {
  for (int32_t k = ab < 0 ? 0 : ab; k <= Gruppe::Kapazitaet; ++k)
    if (g[k].Aktiv == VBFalse) return k;
  return -1;
}

// Takes slot k: active, and the highest used when it lies above it.
PartikelDaten& Belege(Gruppe& g, int32_t k) {
  g[k].Aktiv = VBTrue;
  if (k > g.Max) g.Max = k;
  return g[k];
}

// Channels 0..255 a random number picks: Int(Rnd * n) + plus.
int32_t Kanal(int32_t n, int32_t plus = 0) { return static_cast<int32_t>(Int(Rnd() * static_cast<float>(n))) + plus; }

// A speed of -3 to 2.5 pixels per tick in steps of a half.
float HalbSchritt() { return static_cast<float>(Int(Rnd() * 12.0f) - 6) / 2.0f; }

// A random point of the span lo..hi (hi not reached unless the span is empty).
float ZufallsOrt(int32_t lo, int32_t hi) {
  return static_cast<float>(Int(static_cast<double>(Rnd()) * (int64_t{hi} - lo)) + lo);
}

}  // namespace

void Add1Partikel(int32_t Index, float x, float y, float SX, float SY, float R, float G, float B,
                  int32_t Durchmesser, int16_t Dead) {
  Gruppe* g = GruppeVon(Index);
  if (!g) return;
  const int32_t k = FreierPlatz(*g, g->Frei);
  if (k < 0) return;
  PartikelDaten& p = Belege(*g, k);
  p.X = x;
  p.Y = y;
  p.DX = SX;
  p.DY = SY;
  p.R = R;
  p.G = G;
  p.B = B;
  p.A = 1.0f;
  p.Durchmesser = Durchmesser;
  p.Leben = p.LebenMax = Dead;
  p.Farbe = DDRGB(static_cast<int32_t>(Int(R * 255.0f)), static_cast<int32_t>(Int(G * 255.0f)),
                  static_cast<int32_t>(Int(B * 255.0f)));
  g->Frei = k + 1;
}

void AddPartikel(int32_t Index, int32_t Anzahl, int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool Blau) {
  Gruppe* g = GruppeVon(Index);
  // The count is compared only after a particle is placed: a count below 1 would fill the
  // whole group.
  if (!g || Anzahl < 1) return;
  int32_t gesetzt = 0;
  for (int32_t k = FreierPlatz(*g, g->Frei); k >= 0; k = FreierPlatz(*g, k + 1)) {
    PartikelDaten& p = Belege(*g, k);
    p.X = ZufallsOrt(x1, x2);
    p.Y = ZufallsOrt(y1, y2);
    p.Durchmesser = 2;
    p.LebenMax = static_cast<int16_t>(Kanal(20, 12));
    p.Leben = static_cast<int16_t>(p.LebenMax + (PartikelD3D ? 5 : 0));
    // The packed colour of the fill and the quad's colour come from separate numbers.
    if (Blau) {
      const int32_t r = Kanal(180), gr = Kanal(180);
      p.Farbe = DDRGB(r, gr, 255);
      p.R = Rnd() * 0.75f;
      p.G = Rnd() * 0.75f;
      p.B = 1.0f;
    } else {
      const int32_t gr = Kanal(128, 128), b = Kanal(255);
      p.Farbe = DDRGB(255, gr, b);
      p.R = 255.0f;  // clamped to a full red channel when packed for the quad
      p.G = Rnd() / 2.0f + 0.5f;
      p.B = Rnd() / 2.0f;
    }
    p.A = 1.0f;
    p.DX = HalbSchritt();
    p.DY = HalbSchritt();
    if (++gesetzt >= Anzahl) {
      g->Frei = k + 1;
      return;
    }
  }
}

void AddCircle(int32_t Index, int32_t Anzahl, int32_t SX, int32_t x, int32_t y, int32_t Radius) {
  Gruppe* g = GruppeVon(Index);
  // A step below one degree would never close the ring.
  if (!g || Anzahl < 1) return;
  const int16_t leben = CInt(IDiv(Radius, 6) - 4);
  int32_t a = 0;
  for (int32_t k = FreierPlatz(*g, g->Frei); k >= 0; k = FreierPlatz(*g, k + 1)) {
    PartikelDaten& p = Belege(*g, k);
    const int32_t gr = Kanal(128, 128), b = Kanal(255);
    p.Farbe = DDRGB(255, gr, b);
    p.R = Rnd();
    p.G = Rnd() / 2.0f + 0.5f;
    p.B = Rnd();
    p.A = 1.0f;
    p.Durchmesser = 2;
    p.Leben = p.LebenMax = leben;
    p.DX = static_cast<float>(static_cast<double>(SinTab[static_cast<size_t>(a)]) * 6.0 - SX);
    p.DY = static_cast<float>(static_cast<double>(CosTab[static_cast<size_t>(a)]) * 6.0);
    // It starts four steps out on its ray.
    p.X = static_cast<float>(x + static_cast<double>(p.DX) * 4);
    p.Y = static_cast<float>(y + static_cast<double>(p.DY) * 4);
    a += Anzahl;
    if (a >= 360) {
      g->Frei = k + 1;
      return;
    }
  }
}

void MovePartikel(int32_t Index) {
  Gruppe* g = GruppeVon(Index);
  if (!g) return;
  const int32_t bis = g->Max;
  for (int32_t i = 0; i <= bis; ++i) {
    PartikelDaten& p = (*g)[i];
    if (p.Aktiv == VBFalse) continue;
    const double d = p.Durchmesser;
    const double rechts = p.X + d, unten = p.Y + d;
    const bool sichtbar = p.X >= 0 && rechts < kBildschirmBreite && p.Y >= 0 && unten < kBildschirmHoehe;
    if (!sichtbar) {
      p.Leben = -1;
    } else if (Rendern) {
      if (PartikelD3D) {
        // A particle made with no life has nothing left to show (and 0 / 0 is no alpha).
        const float alpha = p.LebenMax != 0 ? static_cast<float>(static_cast<double>(p.Leben) / p.LebenMax) : 0.0f;
        SetUpRect(TexWeiss, p.X, p.Y, static_cast<float>(rechts), static_cast<float>(unten));
        SetUpColor(TexWeiss, p.R, p.G, p.B, alpha);
        Render(TexWeiss, false);
      } else if (BackBuffer) {
        const platform::Rect r{CLng(p.X), CLng(p.Y), CLng(rechts), CLng(unten)};
        BackBuffer->BltColorFill(&r, static_cast<uint32_t>(p.Farbe));
      }
    }
    --p.Leben;
    if (p.Leben < 0) {
      g->Kill(i);
      continue;
    }
    p.X += p.DX;
    p.Y += p.DY;
    p.DY += Schwerkraft;
  }
}
