// The epilogue's pictures and voices.
#include "demodata/epilog.hpp"

#include <cmath>

#include "demodata/level1.hpp"
#include "demodata/sounds.hpp"

namespace demo {

Bilder EpilogPictures() {
  Bilder b;
  b["Planet.bmp"] = {HomeWorld};
  b["TheEnd.bmp"] = {TheEnd};
  b["Glint.bmp"] = {Glint};
  return b;
}

std::vector<tools::ArchiveMember> EpilogVoices() {
  std::vector<tools::ArchiveMember> m;
  AddSound(m, "Home1.wav", sounds::RadioVoice(6));
  return m;
}

Canvas HomeWorld() {
  // Oceans and green land under drifting clouds, lit from the right where the sun
  // rises behind the rim, with a thin blue atmosphere.
  Canvas c(320, 320);
  const float cx = 160, cy = 160, r = 140;
  c.Shape(cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2, [=](float x, float y) { return SdCircle(x, y, cx, cy, r); },
          [=](float x, float y, float) {
            const float nx = (x - cx) / r, ny = (y - cy) / r, nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
            // Surface noise on the sphere, so the continents bend round it.
            const float u = nx / (nz + 1.2f) * 3, v = ny / (nz + 1.2f) * 3;
            const float land = Fbm(u * 2 + 5, v * 2 + 3, 5, 601), wolke = Fbm(u * 3 + 1, v * 5 + 7, 4, 603);
            Col k = land > 0.55f ? Lerp(Hex(0x3A7A38), Hex(0x9A8A58), Smooth(0.6f, 0.75f, land)) : Lerp(Hex(0x0A2A6A), Hex(0x1A5AA0), land);
            k = Lerp(k, Hex(0xF4F8FF), Smooth(0.55f, 0.75f, wolke) * 0.85f);
            const float licht = std::pow(Clamp01(nx * 0.9f - ny * 0.2f + nz * 0.3f + 0.05f), 1.3f);
            k = Scale(k, 0.06f + 1.15f * licht);
            // The atmosphere glows at the rim on the lit side.
            const float rand = std::pow(1 - nz, 3.0f);
            return Lerp(k, Hex(0x80C8FF), rand * Clamp01(nx + 0.6f) * 0.8f);
          });
  SoftGlow(c, cx + r * 0.9f, cy - r * 0.25f, 70, Hex(0xFFC060, 0.8f));
  return c;
}

Canvas TheEnd() {
  Canvas c(512, 96);
  Lettering(c, 256, 48, "THE END", 72, Hex(0xFFF4D0), Hex(0xE08A30), Hex(0x301000), 3);
  return c;
}

Canvas Glint() {
  Canvas c(16, 16);
  c.Fill([](float x, float y) {
    const float dx = std::fabs(x - 8), dy = std::fabs(y - 8);
    const float stern = Clamp01(1 - dx / 7) * Clamp01(1 - dy / 1.2f) + Clamp01(1 - dy / 7) * Clamp01(1 - dx / 1.2f);
    return WithAlpha(Hex(0xFFFFFF), Clamp01(stern + Clamp01(1 - std::hypot(dx, dy) / 3)));
  });
  return c;
}

}  // namespace demo
