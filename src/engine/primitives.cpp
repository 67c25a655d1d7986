#include "engine/primitives.hpp"

#include <cmath>
#include <cstdlib>

#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"

namespace {

// The left and right edge points of P for the direction `a` (whole degrees) and the
// half-width `w`.
struct Kante {
  float lx, ly, rx, ry;
};

Kante Kanten(float px, float py, int32_t a, float w) {
  return {px + CosinusB(a - 90) * w, py + SinusB(a - 90) * w, px + CosinusB(a + 90) * w, py + SinusB(a + 90) * w};
}

int32_t Richtung(float dx, float dy) { return CLng(WinkelInGrad(dx, dy)); }

void Setze(D3DTLVERTEX& v, float x, float y) {
  v.sx = x;
  v.sy = y;
}

// `Filtern` is on for the primitive's quads and off again afterwards, also when a device
// failure leaves the primitive early.
struct GefiltertBis {
  GefiltertBis() { Filtern = true; }
  ~GefiltertBis() { Filtern = false; }
};

// A seeded bolt puts the random sequence back on its own course afterwards (also when a
// device failure leaves the bolt early): reset, seeded with a value drawn before the
// bolt, one value drawn and dropped.
struct ZufallZurueck {
  bool aktiv;
  int32_t R0;
  ~ZufallZurueck() {
    if (!aktiv) return;
    RndReset();
    Randomize(R0);
    Rnd();
  }
};

}  // namespace

void Blitz(float x1, float y1, float x2, float y2, float Breite, int32_t Unterbrechungen, float Streuung, float CR,
           float CG, float CB, std::optional<double> Init, bool Alphablend) {
  if (!Rendern) return;
  if (!SurfaceGueltig(TexBalken, "Blitz")) return;
  const int32_t R0 = static_cast<int32_t>(Int(Rnd() * 10000.0f));
  GefiltertBis filter;
  ZufallZurueck zurueck{Init.has_value(), R0};
  if (Init) {
    RndReset();
    Randomize(Int(*Init));
    Rnd();
  }
  const int64_t n = int64_t{Unterbrechungen} + 1;
  SetUpColor(TexBalken, CR, CG, CB, 1);
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
  const float Dx = x2 - x1, Dy = y2 - y1;
  const int32_t A = Richtung(Dx, Dy);
  Kante start = Kanten(x1, y1, A, Breite);
  float px = x1, py = y1;
  for (int64_t i = 1; i <= n; ++i) {
    float qx = x2, qy = y2;
    int32_t a = A;
    if (i != n) {
      const float j = static_cast<float>(CLng(2.0f * Rnd() * Streuung - Streuung));
      const float nf = static_cast<float>(n), fi = static_cast<float>(i);
      qx = x1 + Dx / nf * fi + j * CosinusB(A - 90);
      qy = y1 + Dy / nf * fi + j * SinusB(A - 90);
      a = Richtung(qx - px, qy - py);
    }
    const Kante ende = Kanten(qx, qy, a, Breite);
    Setze(v[0], start.lx, start.ly);
    Setze(v[1], start.rx, start.ry);
    Setze(v[2], ende.lx, ende.ly);
    Setze(v[3], ende.rx, ende.ry);
    Render(TexBalken, Alphablend);
    start = ende;
    px = qx;
    py = qy;
  }
}

void Linie(float x1, float y1, float x2, float y2, float Breite, float CR1, float CG1, float CB1, float CA1,
           float CR2, float CG2, float CB2, float CA2, bool ABOne) {
  if (!Rendern) return;
  if (!SurfaceGueltig(TexBalken, "Linie")) return;
  GefiltertBis filter;
  const int32_t A = Richtung(x2 - x1, y2 - y1);
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
  const Kante s = Kanten(x1, y1, A, Breite), e = Kanten(x2, y2, A, Breite);
  const int32_t f1 = GetRGBA(CR1, CG1, CB1, CA1), f2 = GetRGBA(CR2, CG2, CB2, CA2);
  Setze(v[0], s.lx, s.ly);
  Setze(v[1], s.rx, s.ry);
  Setze(v[2], e.lx, e.ly);
  Setze(v[3], e.rx, e.ry);
  v[0].color = v[1].color = f1;
  v[2].color = v[3].color = f2;
  Render(TexBalken, ABOne);
}

void SchweifInit(std::vector<float>& X, std::vector<float>& Y, float N) {
  const int64_t n = CLng(N);
  const size_t groesse = n >= 0 ? static_cast<size_t>(n) + 1 : 0;
  X.assign(groesse, -1.0f);
  Y.assign(groesse, -1.0f);
}

void SchweifZeichnen(float NewX, float NewY, std::vector<float>& X, std::vector<float>& Y, float N, float Breite,
                     float R, float G, float B, bool ABOne, bool Add) {
  SchweifZeichnen(NewX, NewY, std::span<float>(X), std::span<float>(Y), N, Breite, R, G, B, ABOne, Add);
}

void SchweifZeichnen(float NewX, float NewY, std::span<float> X, std::span<float> Y, float N, float Breite, float R,
                     float G, float B, bool ABOne, bool Add) {
  const int32_t n = CLng(N);
  // A history that was not made for this N is left alone rather than overrun.
  if (n < 0 || X.size() < static_cast<size_t>(n) + 1 || Y.size() < static_cast<size_t>(n) + 1) return;
  if (Add) {
    for (int32_t i = 0; i < n; ++i) {
      X[i] = X[i + 1];
      Y[i] = Y[i + 1];
    }
    X[n] = NewX;
    Y[n] = NewY;
  }
  if (!Rendern) return;
  if (!SurfaceGueltig(TexBalken, "SchweifZeichnen")) return;
  GefiltertBis filter;
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
  // The ribbon starts from a vertical pair at the oldest point, fully transparent.
  Setze(v[2], X[0], Y[0] + Breite);
  Setze(v[3], X[0], Y[0] - Breite);
  v[2].color = v[3].color = GetRGBA(R, G, B, 0);
  float cx = X[0], cy = Y[0];
  for (int32_t i = 1; i <= n; ++i) {
    Setze(v[0], v[2].sx, v[2].sy);
    Setze(v[1], v[3].sx, v[3].sy);
    v[0].color = v[2].color;
    v[1].color = v[3].color;
    const float px = cx, py = cy;
    cx = X[i];
    cy = Y[i];
    if (X[i] == -1.0f) continue;
    v[2].color = v[3].color = GetRGBA(R, G, B, static_cast<float>(i) / static_cast<float>(n));
    if (px == -1.0f) {
      // The oldest real point: the ribbon begins in a point.
      Setze(v[2], cx, cy);
      Setze(v[3], cx, cy);
      continue;
    }
    int32_t a = Richtung(cx - px, cy - py);
    if (i < n) {
      // A joint bent by more than 45 degrees takes the mean of both directions.
      const int32_t b = Richtung(X[i + 1] - cx, Y[i + 1] - cy);
      const int32_t d = b - a;
      if (std::abs(d) > 45 && std::abs(d) < 315) {
        if (d > 180) {
          a = a - (a - b + 360) / 2;
          if (a < 0) a += 360;
        } else if (d < -180) {
          a = a + (d + 360) / 2;
          if (a >= 360) a -= 360;
        } else {
          a = (a + b) / 2;
        }
      }
    }
    const Kante k = Kanten(cx, cy, a, Breite);
    Setze(v[2], k.lx, k.ly);
    Setze(v[3], k.rx, k.ry);
    Render(TexBalken, ABOne);
  }
}
