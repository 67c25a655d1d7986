// The menu's pictures: the two hangars behind the menu, plain and frozen over, the parts
// of the graphic column (its two end bars, the button and the two lights), the text panel
// and the menu logo.
//
// The hangar is one room seen down its length: a back wall with the bay door, floor,
// ceiling and two side walls meeting it, every pixel placed by where its line of sight
// from the vanishing point leaves the back wall. The frozen look is the same room, so the
// menu can lay one over the other.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "demodata/draw.hpp"
#include "demodata/pictures.hpp"

namespace demo {
namespace {

constexpr int kBreite = 800, kHoehe = 600;
constexpr float kFluchtX = 400, kFluchtY = 250;  // the vanishing point
constexpr float kWandB = 230, kWandH = 130;      // half size of the back wall on screen

struct HangarStil {
  Col licht;   // the lamps
  Col wand;    // wall plating
  Col boden;   // floor plating
  Col akzent;  // paint on floor and walls
  const char* bucht;
};
const HangarStil kStile[2] = {
    {Hex(0xD8ECFF), Hex(0x2C3849), Hex(0x1E2530), Hex(0xF2C232), "BAY 07"},
    {Hex(0xFFD8A0), Hex(0x3C3129), Hex(0x27201B), Hex(0x3CCBF2), "BAY 12"},
};

enum Flaeche { kRueckwand, kBoden, kDecke, kLinks, kRechts };

// Where a point of the screen lies in the room: the surface, a coordinate across it (-1..1
// at the back wall's edge) and its depth, 0 at the back wall growing toward the viewer.
struct Ort {
  Flaeche flaeche;
  float quer;
  float tiefe;
};

Ort Lage(float x, float y) {
  const float dx = (x - kFluchtX) / kWandB, dy = (y - kFluchtY) / kWandH;
  if (std::fabs(dx) <= 1 && std::fabs(dy) <= 1) return {kRueckwand, dx, dy};
  // A surface point seen at t times the back wall's size lies 1 - 1/t of the way from
  // the back wall to the eye; eight units of the room lie in between.
  if (std::fabs(dy) >= std::fabs(dx)) {
    const float t = std::fabs(dy);
    return {dy > 0 ? kBoden : kDecke, dx / t, 8 * (1 - 1 / t)};
  }
  const float t = std::fabs(dx);
  return {dx > 0 ? kRechts : kLinks, dy / t, 8 * (1 - 1 / t)};
}

// 1 on a line of width `w` around every whole number of `v`, 0 away from it.
float Fuge(float v, float w) {
  const float f = v - std::floor(v);
  return std::min(f, 1 - f) < w ? 1.0f : 0.0f;
}

Col Mal(const Col& c, float k) { return {c.r * k, c.g * k, c.b * k, 1}; }
Col Plus(const Col& a, const Col& b) { return {a.r + b.r, a.g + b.g, a.b + b.b, 1}; }

// The hazard stripes: diagonal bands of paint and black.
Col Warnstreifen(float x, float y, const Col& farbe) {
  return std::fmod(std::fabs(x + y) / 14.0f, 2.0f) < 1.0f ? farbe : Hex(0x101010);
}

// The lamps hang in two rows under the ceiling; this is how much of their light a point
// of the room gets (floor and walls under them brighter).
float Lampenlicht(const Ort& o) {
  float licht = 0;
  for (float u = 0.5f; u < 6; u += 1.4f) {
    for (float q : {-0.5f, 0.5f}) {
      float d2;
      if (o.flaeche == kBoden)
        d2 = std::pow((o.quer - q) * 2.2f, 2.0f) + std::pow(o.tiefe - u, 2.0f);
      else if (o.flaeche == kLinks || o.flaeche == kRechts)
        d2 = std::pow(o.tiefe - u, 2.0f) * 1.5f + std::pow(o.quer + 1, 2.0f) * 1.2f;
      else
        d2 = 9;
      licht += std::exp(-d2 * 1.6f) * 0.5f;
    }
  }
  return licht;
}

Col Rueckwand(float x, float y, const Ort& o, const HangarStil& s) {
  Col c = Mal(s.wand, 0.9f + 0.15f * o.tiefe);
  c = Mal(c, 1 - 0.25f * Fuge(o.tiefe * 5, 0.03f));
  // The bay door: two leaves with ribs, framed by hazard stripes.
  const bool tor = std::fabs(o.quer) < 0.66f && o.tiefe > -0.55f;
  const bool rahmen = std::fabs(o.quer) < 0.74f && o.tiefe > -0.67f;
  if (tor) {
    c = Mal(Lerp(s.wand, Hex(0x4A5058), 0.5f), 0.75f + 0.2f * (o.tiefe + 0.55f) / 1.55f);
    c = Mal(c, 1 - 0.35f * Fuge(o.tiefe * 7, 0.05f));
    if (std::fabs(o.quer) < 0.012f) c = Hex(0x0C0E12);
  } else if (rahmen) {
    c = Mal(Warnstreifen(x, y, s.akzent), 0.8f);
  }
  // Lights over the door.
  for (float q : {-0.5f, 0.0f, 0.5f}) {
    const float d2 = std::pow((o.quer - q) * 10, 2.0f) + std::pow((o.tiefe + 0.82f) * 14, 2.0f);
    c = Plus(c, Mal(s.licht, std::exp(-d2) * 1.2f));
  }
  return c;
}

Col Boden(const Ort& o, const HangarStil& s) {
  Col c = s.boden;
  // Plates and their seams; the seams thin out with the distance.
  const float seam = std::max(Fuge(o.quer * 3, 0.015f), Fuge(o.tiefe, 0.02f / (1 + o.tiefe * 0.2f)));
  c = Mal(c, 1 - 0.45f * seam);
  // A landing ring and the guide line to the door.
  const float ring = std::fabs(std::hypot(o.quer * 3.2f, (o.tiefe - 3.3f) * 1.1f) - 1.7f);
  if (ring < 0.09f || (std::fabs(o.quer) < 0.02f && o.tiefe < 1.4f)) c = Mal(s.akzent, 0.85f);
  // The lamps shine on the polished plates.
  c = Plus(c, Mal(s.licht, Lampenlicht(o) * 0.55f));
  return c;
}

Col Decke(const Ort& o, const HangarStil& s) {
  Col c = Mal(s.wand, 0.55f);
  if (Fuge(o.tiefe * 0.7f + 0.5f, 0.06f) > 0) c = Mal(s.wand, 0.3f);  // the girders
  // The lamps: bright strips across the ceiling.
  for (float u = 0.5f; u < 6; u += 1.4f)
    for (float q : {-0.5f, 0.5f})
      if (std::fabs(o.tiefe - u) < 0.12f && std::fabs(o.quer - q) < 0.16f) c = Plus(s.licht, Mal(s.licht, 0.3f));
  return c;
}

Col Seitenwand(const Ort& o, const HangarStil& s) {
  Col c = Mal(s.wand, 0.75f + 0.2f * std::min(o.tiefe / 6.0f, 1.0f));
  if (Fuge(o.tiefe * 0.7f + 0.5f, 0.05f) > 0) c = Mal(s.wand, 1.25f);  // the ribs
  if (std::fabs(o.quer - 0.15f) < 0.06f) c = Mal(s.akzent, 0.7f);       // a painted band
  if (std::fabs(o.quer + 0.45f) < 0.04f) c = Mal(s.wand, 0.45f);        // a pipe
  c = Plus(c, Mal(s.licht, Lampenlicht(o) * 0.35f));
  return c;
}

Col Raumpunkt(float x, float y, const HangarStil& s) {
  const Ort o = Lage(x, y);
  switch (o.flaeche) {
    case kRueckwand: return Rueckwand(x, y, o, s);
    case kBoden: return Boden(o, s);
    case kDecke: return Decke(o, s);
    default: return Seitenwand(o, s);
  }
}

// The room, each pixel from 3 x 3 samples so that the seams stay smooth.
Canvas Raum(const HangarStil& s) {
  Canvas c(kBreite, kHoehe);
  c.Fill([&](float x, float y) {
    Col sum{0, 0, 0, 0};
    for (int k = 0; k < 9; ++k) {
      const Col p = Raumpunkt(x - 0.5f + (k % 3 + 0.5f) / 3, y - 0.5f + (k / 3 + 0.5f) / 3, s);
      sum = {sum.r + p.r / 9, sum.g + p.g / 9, sum.b + p.b / 9, 1};
    }
    // Grime and a darker rim toward the screen's edges.
    const float schmutz = 0.85f + 0.3f * Fbm(x / 60, y / 60, 3, 41);
    const float r2 = std::pow((x - kFluchtX) / 520, 2.0f) + std::pow((y - kFluchtY) / 420, 2.0f);
    const float k = schmutz * (1 - 0.5f * std::min(r2, 1.0f));
    return Col{Clamp01(sum.r * k), Clamp01(sum.g * k), Clamp01(sum.b * k), 1};
  });
  return c;
}

// Light cones from the lamps down to the floor, and the bay's name above the door.
void Licht(Canvas& c, const HangarStil& s) {
  for (float u = 0.5f; u < 6; u += 1.4f)
    for (float q : {-0.5f, 0.5f}) {
      const float t = 1 / (1 - u / 8);  // the lamp's scale on screen
      const float lx = kFluchtX + q * kWandB * t, ly = kFluchtY - kWandH * t;
      const float fy = kFluchtY + kWandH * t, breite = 40 * t;
      c.Shape(lx - breite, ly, lx + breite, fy,
              [=](float x, float y) {
                const float f = Clamp01((y - ly) / (fy - ly));
                return std::fabs(x - lx) - (6 * t + f * breite);
              },
              [=](float x, float y, float) {
                const float f = Clamp01((y - ly) / (fy - ly));
                const float rand = 1 - Clamp01(std::fabs(x - lx) / (6 * t + f * breite));
                return WithAlpha(s.licht, 0.09f * rand * (1 - 0.6f * f));
              },
              Blend::Add);
    }
  const int em = 26;
  const std::string name = s.bucht;
  const float tx = kFluchtX - TextWidth(name, em, true) / 2.0f, ty = kFluchtY - kWandH * 0.97f;
  c.Stamp(TextMask(kBreite, kHoehe, tx, ty, name, em, true), 0, 0, Solid(WithAlpha(s.akzent, 0.8f)));
}

// How close a point lies to the room's edges (the corners where walls meet floor and
// ceiling, and the back wall's rim), where the frost grows thickest: 1 at an edge.
float Kantennaehe(const Ort& o) {
  if (o.flaeche == kRueckwand) return std::pow(std::max(std::fabs(o.quer), std::fabs(o.tiefe)), 6.0f);
  return std::pow(std::fabs(o.quer), 5.0f);
}

// Frost over everything, thickest at the edges, snow on the floor, icicles from the back
// wall's top edge and the girders, and a glitter of ice crystals.
void Vereisen(Canvas& c) {
  for (int y = 0; y < kHoehe; ++y)
    for (int x = 0; x < kBreite; ++x) {
      Col& p = c.px[static_cast<size_t>(y) * kBreite + x];
      const float fx = x + 0.5f, fy = y + 0.5f;
      const float grau = 0.3f * p.r + 0.55f * p.g + 0.15f * p.b;
      const Col eis{(grau * 0.8f + 0.05f) * 0.8f, (grau * 0.8f + 0.05f) * 0.93f, (grau * 0.8f + 0.09f) * 1.1f, 1};
      Col q = Lerp(p, eis, 0.75f);
      const Ort o = Lage(fx, fy);
      // Fine crystalline frost: fibrous noise, stretched along the surfaces.
      const float faser = Fbm(fx / 9, fy / 3.5f, 3, 77) * 0.6f + Fbm(fx / 40, fy / 40, 3, 78) * 0.4f;
      const float frost = Smooth(0.45f, 0.85f, faser * 0.9f + Kantennaehe(o) * 0.5f);
      q = Lerp(q, Hex(0xC4D8EC), frost * 0.34f);
      if (o.flaeche == kBoden) {
        // Snow drifts, deeper toward the walls and the door.
        const float drift = Fbm(o.quer * 2.5f + 9, o.tiefe * 0.8f, 4, 91) + std::pow(std::fabs(o.quer), 3.0f) * 0.35f +
                            Clamp01(1.2f - o.tiefe) * 0.2f;
        q = Lerp(q, Hex(0xD2E0F0), Smooth(0.38f, 0.75f, drift) * 0.75f);
      }
      p = {Clamp01(q.r), Clamp01(q.g), Clamp01(q.b), 1};
    }
  // Icicles: long thin triangles with a bright edge.
  Random r(1234);
  auto eiszapfen = [&](float x, float y, float laenge, float breite) {
    const std::vector<std::pair<float, float>> dreieck = {{x - breite, y}, {x + breite, y}, {x, y + laenge}};
    c.Shape(x - breite - 1, y, x + breite + 1, y + laenge + 1,
            [dreieck](float px, float py) { return SdPolygon(px, py, dreieck); },
            [=](float px, float py, float) {
              const float t = Clamp01((py - y) / laenge);
              const float glanz = Clamp01(1 - std::fabs(px - x + breite * 0.3f) / breite);
              return WithAlpha(Lerp(Hex(0xA9CBE8), Hex(0xFFFFFF), glanz * 0.75f), 0.85f - 0.45f * t);
            });
  };
  for (float x = kFluchtX - kWandB + 4; x < kFluchtX + kWandB - 4; x += 4 + 9 * static_cast<float>(r.Unit()))
    eiszapfen(x, kFluchtY - kWandH, 5 + 20 * static_cast<float>(r.Unit()) * static_cast<float>(r.Unit()),
              1.5f + 1.5f * static_cast<float>(r.Unit()));
  for (float u = 1.6f; u < 7; u += 1 / 0.7f) {
    const float t = 1 / (1 - u / 8), y = kFluchtY - kWandH * t;
    if (y < 4) break;
    const float halb = kWandB * t;
    for (float x = kFluchtX - halb; x < kFluchtX + halb; x += (10 + 22 * static_cast<float>(r.Unit())) * std::sqrt(t))
      eiszapfen(x, y + 2 * t, (4 + 16 * static_cast<float>(r.Unit()) * static_cast<float>(r.Unit())) * t,
                (1.2f + static_cast<float>(r.Unit())) * t);
  }
  // A few crystals catching the light.
  for (int k = 0; k < 70; ++k) {
    const float x = static_cast<float>(r.Unit()) * kBreite, y = static_cast<float>(r.Unit()) * kHoehe;
    const float g = 0.35f + 0.5f * static_cast<float>(r.Unit());
    c.Shape(x - 3, y - 3, x + 3, y + 3,
            [=](float px, float py) {
              return std::min(std::fabs(px - x) + std::fabs(py - y) * 4, std::fabs(px - x) * 4 + std::fabs(py - y)) - 2.0f;
            },
            Solid(WithAlpha(Hex(0xFFFFFF), g)), Blend::Add);
  }
}

// A plate of the column: light brushed metal with a bevelled rim, a red seam along its
// lower edge and screws at its ends.
void Platte(Canvas& c, const std::vector<std::pair<float, float>>& umriss, float y0, float y1) {
  c.Shape(0, 0, static_cast<float>(c.w), static_cast<float>(c.h), [&](float x, float y) { return SdPolygon(x, y, umriss); },
          [=](float x, float y, float d) {
            const float t = Clamp01((y - y0) / (y1 - y0));
            const float gebuerstet = (Fbm(x / 50, y * 1.5f, 3, 23) - 0.5f) * 0.06f;
            Col metall = Lerp(Hex(0xC4CCD8), Hex(0x8C96A6), t);
            metall = {metall.r + gebuerstet, metall.g + gebuerstet, metall.b + gebuerstet, 1};
            const float rand = Clamp01(1 + d / 2.5f);
            return Lerp(metall, t < 0.5f ? Hex(0xF0F4FA) : Hex(0x4A5260), rand);
          });
}

void Naht(Canvas& c, float x0, float x1, float y, Col farbe) {
  c.Shape(x0, y - 2, x1, y + 2, [=](float x, float py) { return SdSegment(x, py, x0 + 2, y, x1 - 2, y) - 1.0f; },
          Solid(farbe));
}

void Schraube(Canvas& c, float x, float y) {
  c.Shape(x - 4, y - 4, x + 4, y + 4, [=](float px, float py) { return SdCircle(px, py, x, y, 2.6f); },
          [=](float px, float py, float) { return Lerp(Hex(0xE4E8EE), Hex(0x3A404A), Clamp01(0.5f + ((px - x) + (py - y)) / 5)); });
}

const Col kRot = Hex(0xD02828);

}  // namespace

Canvas MenuHangar(int set, bool frozen) {
  const HangarStil& s = kStile[set & 1];
  Canvas c = Raum(s);
  Licht(c, s);
  if (frozen) Vereisen(c);
  return c;
}

Canvas MenuTop() {
  // The title plate: the title is written at (75, 10) in 36-pixel Arial, dark on light.
  Canvas c(340, 64);
  Platte(c, {{8, 6}, {330, 6}, {338, 14}, {338, 50}, {324, 62}, {40, 62}, {8, 40}}, 6, 62);
  Naht(c, 46, 320, 57, kRot);
  Schraube(c, 22, 24);
  Schraube(c, 326, 20);
  return c;
}

Canvas MenuBottom() {
  Canvas c(280, 34);
  Platte(c, {{2, 2}, {270, 2}, {278, 10}, {278, 24}, {268, 32}, {24, 32}, {2, 16}}, 2, 32);
  Naht(c, 30, 262, 8, kRot);
  Schraube(c, 14, 14);
  Schraube(c, 266, 17);
  return c;
}

Canvas MenuButton() {
  // An entry's text is written at (28, 6) in 36-pixel Arial.
  Canvas c(250, 50);
  Platte(c, {{14, 3}, {244, 3}, {248, 8}, {248, 42}, {242, 47}, {4, 47}, {4, 14}}, 3, 47);
  Naht(c, 18, 236, 43, kRot);
  Schraube(c, 236, 14);
  return c;
}

Canvas MenuLight(bool on) {
  // The lamp sits where the red line leaves its gap beside the button; a rail joins it to
  // the button.
  Canvas c(72, 67);
  const float cx = 34, cy = 40;
  c.Shape(44, 35, 72, 45, [=](float x, float y) { return SdBox(x, y, 58, 40, 14, 3.5f, 1.5f); },
          [](float, float y, float) { return Lerp(Hex(0xB8C0CC), Hex(0x5A6270), Clamp01((y - 36) / 8)); });
  // A lit lamp shines in a hard orange ring round its bezel (the picture is a keyed blit:
  // a soft glow would fade into the transparent black as a dark halo).
  if (on)
    c.Shape(cx - 21, cy - 21, cx + 21, cy + 21, [=](float x, float y) { return SdCircle(x, y, cx, cy, 19.5f); },
            [=](float x, float y, float) {
              const float r = std::hypot(x - cx, y - cy) / 19.5f;
              return Lerp(Hex(0xFFE080), Hex(0xFF6A20), Clamp01((r - 0.75f) * 4));
            });
  c.Shape(cx - 16, cy - 16, cx + 16, cy + 16, [=](float x, float y) { return SdCircle(x, y, cx, cy, 15); },
          [=](float x, float y, float) { return Lerp(Hex(0xDDE2EA), Hex(0x464C58), Clamp01(0.5f + (x - cx + y - cy) / 26)); });
  c.Shape(cx - 12, cy - 12, cx + 12, cy + 12, [=](float x, float y) { return SdCircle(x, y, cx, cy, 10.5f); },
          [=](float x, float y, float) {
            const float r = std::hypot(x - cx + 3, y - cy + 3) / 13;
            return on ? Lerp(Hex(0xFFF6D0), Hex(0xFF3010), Clamp01(r)) : Lerp(Hex(0x7A2020), Hex(0x2A0808), Clamp01(r));
          });
  return c;
}

Canvas MenuBack() {
  // Dark glass in a light frame, stretched behind the text pages: the text is light grey
  // and white on it.
  Canvas c(256, 256);
  c.Shape(0, 0, 256, 256, [](float x, float y) { return SdBox(x, y, 128, 128, 126, 126, 10); },
          [](float x, float y, float d) {
            const float rahmen = Clamp01(1 + (d + 5) / 1.5f);
            Col glas = Lerp(Hex(0x18243A), Hex(0x080C16), Clamp01(y / 256));
            const float zeile = (static_cast<int>(y) % 3 == 0) ? 0.85f : 1.0f;
            glas = Mal(glas, zeile);
            glas = Plus(glas, Mal(Hex(0x3050A0), 0.25f * std::exp(-std::pow((x + y - 60) / 40, 2.0f))));
            const Col rand = Lerp(Hex(0xA8B4C8), Hex(0x505A6C), Clamp01(y / 256));
            return WithAlpha(Lerp(glas, rand, rahmen), 0.9f + 0.1f * rahmen);
          });
  return c;
}

Canvas MenuLogo() {
  Canvas c(256, 72);
  Lettering(c, 128, 36, "HARVO", 56, Hex(0xF4FBFF), Hex(0x5A8AD0), Hex(0x0A1430), 3);
  return c;
}

}  // namespace demo
