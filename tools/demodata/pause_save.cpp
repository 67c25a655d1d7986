#include "demodata/pause_save.hpp"

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

// The game draws the frozen picture into this rectangle; it stays black (transparent).
constexpr int kLoch[4] = {288, 77, 688, 377};

bool ImLoch(int x, int y) { return x >= kLoch[0] && x < kLoch[2] && y >= kLoch[1] && y < kLoch[3]; }

// A rounded plate from (x0, y0) to (x1, y1), shaded from `oben` to `unten`, with a light
// upper edge and a dark lower one.
void Platte(Canvas& c, float x0, float y0, float x1, float y1, float r, Col oben, Col unten) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
  c.Shape(x0 - 2, y0 - 2, x1 + 2, y1 + 2, [=](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, r); },
          [=](float, float y, float d) {
            const float t = Clamp01((y - y0) / (y1 - y0));
            Col f = Lerp(oben, unten, t);
            // The rim: lighter at the top, darker at the bottom.
            if (d > -2.5f) f = Lerp(f, t < 0.5f ? Hex(0x9AA6B8) : Hex(0x0E1116), 0.6f);
            return f;
          });
}

// A glass panel sunk into the console, dark with a tint, where the game writes.
void Glas(Canvas& c, float x0, float y0, float x1, float y1, Col tint) {
  Platte(c, x0 - 4, y0 - 4, x1 + 4, y1 + 4, 8, Hex(0x161A20), Hex(0x4A5462));
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
  c.Shape(x0, y0, x1, y1, [=](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, 5); },
          [=](float, float y, float) { return Lerp(tint, Scale(tint, 0.45f), Clamp01((y - y0) / (y1 - y0))); });
}

}  // namespace

Canvas PauseFrame() {
  Canvas c(800, 600);
  // Brushed dark metal.
  c.Fill([](float x, float y) {
    const float streifen = Fbm(x * 0.004f, y * 0.35f, 3, 41) * 0.25f;
    return Lerp(Hex(0x2C3440), Hex(0x12161C), y / 600.0f + streifen - 0.12f);
  });
  Platte(c, 6, 6, 794, 594, 14, Hex(0x343D4A), Hex(0x181C23));
  // The title strip, the menu plate and the history glass.
  Glas(c, 108, 28, 784, 60, Hex(0x0C2414));
  Glas(c, 108, 84, 262, 150, Hex(0x1A2230));
  Glas(c, 124, 406, 690, 558, Hex(0x0A2012));
  // The monitor's bezel with its screws and the lights below.
  Platte(c, 266, 68, 710, 398, 16, Hex(0x505A68), Hex(0x262C36));
  Platte(c, kLoch[0] - 8, kLoch[1] - 5, kLoch[2] + 8, kLoch[3] + 5, 6, Hex(0x0E1014), Hex(0x1C2028));
  for (const auto& [sx, sy] : {std::pair{276.0f, 78.0f}, {700.0f, 78.0f}, {276.0f, 388.0f}, {700.0f, 388.0f}}) {
    const float x = sx, y = sy;
    c.Shape(x - 5, y - 5, x + 5, y + 5, [=](float px, float py) { return SdCircle(px, py, x, y, 3.5f); },
            Solid(Hex(0x8C96A4)));
  }
  for (int k = 0; k < 3; ++k) {
    const float x = 640 + 18.0f * k;
    const Col licht = k == 0 ? Hex(0x40FF50) : k == 1 ? Hex(0xFFC030) : Hex(0x305030);
    c.Shape(x - 8, 382, x + 8, 398, [=](float px, float py) { return SdCircle(px, py, x, 390, 4); }, Solid(licht));
  }
  // The console's name on the left, and air slots on the right.
  Lettering(c, 185, 250, "PAUSE", 30, Hex(0xC8D2E0), Hex(0x6A7484), Hex(0x0A0C10), 1.5f);
  for (int k = 0; k < 12; ++k) {
    const float y = 110 + 22.0f * k;
    c.Shape(722, y - 4, 782, y + 4, [=](float px, float py) { return SdBox(px, py, 752, y, 26, 2, 2); },
            Solid(Hex(0x0C0E12)));
  }
  // The hole.
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      if (ImLoch(x, y)) c.px[static_cast<size_t>(y) * c.w + x] = Col{};
  return c;
}

synth::Wave SaveChime() {
  using namespace synth;
  // Three rising bell notes, the last one held.
  Wave w;
  const float noten[3] = {659.3f, 830.6f, 987.8f};
  for (int k = 0; k < 3; ++k) {
    const float laenge = k == 2 ? 1.1f : 0.5f;
    Wave b = Fm(laenge, Const(noten[k]), 3.5f, [laenge](float t) { return 2.5f * (1 - t / laenge); });
    Shape(b, Decay(laenge));
    Mix(w, b, 0.11f * k, k == 2 ? 0.9f : 0.7f);
  }
  Echo(w, 0.14f, 0.3f, 3);
  Normalise(w, 0.7f);
  return w;
}

std::vector<int16_t> SaveScreenMusic() {
  // Eight slow bars of a pad in D major (D - Bm - G - A), a soft pulse of the root and a
  // music-box figure over it: 16 seconds that loop.
  constexpr int kRate = 44100;
  constexpr double kTakt = 2.0;
  const double akkorde[4][3] = {{146.8, 185.0, 220.0}, {123.5, 146.8, 185.0}, {98.0, 123.5, 146.8}, {110.0, 138.6, 164.8}};
  const int figur[8] = {0, 1, 2, 1, 2, 0, 1, 2};
  const size_t n = static_cast<size_t>(8 * kTakt * kRate);
  std::vector<int16_t> out(2 * n);
  constexpr double kZweiPi = 6.283185307179586;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const int takt = static_cast<int>(t / kTakt);
    const double imTakt = std::fmod(t, kTakt);
    const double* a = akkorde[takt % 4];
    // The pad swells in and out with each bar, so the chords join without clicks.
    const double huelle = std::sin(kZweiPi * imTakt / (2 * kTakt));
    double pad = 0;
    for (int k = 0; k < 3; ++k) pad += std::sin(kZweiPi * a[k] * t) + 0.3 * std::sin(kZweiPi * 2 * a[k] * t + k);
    pad *= 0.08 * huelle;
    const double viertel = std::fmod(imTakt, 0.5);
    const double puls = std::sin(kZweiPi * a[0] / 2 * t) * 0.16 * std::exp(-viertel * 6);
    const int schritt = static_cast<int>(imTakt / 0.25);
    const double achtel = std::fmod(imTakt, 0.25);
    const double dose = std::sin(kZweiPi * a[figur[schritt]] * 4 * t) * 0.1 * std::exp(-achtel * 14);
    const double l = pad + puls + dose * 0.8, r = pad + puls + dose * 1.1;
    out[2 * i] = static_cast<int16_t>(std::lround(std::clamp(l, -1.0, 1.0) * 30000));
    out[2 * i + 1] = static_cast<int16_t>(std::lround(std::clamp(r, -1.0, 1.0) * 30000));
  }
  return out;
}

}  // namespace demo
