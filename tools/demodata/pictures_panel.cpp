// The in-game display: the status panel of each ship type and of two players, its bars
// and gauges, the digits, the pod slots, the combo label and the radio speaker.
//
// The panel lies at (0, 525) over the bottom of the screen; the game draws the bars,
// gauges and icons on it at fixed screen positions, so every well below sits where its
// contents land (screen y - 525).
#include <algorithm>
#include <cmath>
#include <string>

#include "demodata/pictures.hpp"

namespace demo {
namespace {

constexpr float kPi = 3.14159265358979f;

// The accent colour of a panel set: blue, red, green for the ship types, gold for two.
Col Accent(int set) {
  static const uint32_t kAccent[4] = {0x3C9CFF, 0xFF5A3C, 0x44E07A, 0xFFC04A};
  return Hex(kAccent[std::clamp(set, 0, 3)]);
}

struct Box {
  float x0, y0, x1, y1;
};

// A recessed well: dark floor, shadow under its upper edge, light on its lower edge.
void Well(Canvas& c, Box b, float radius = 2.5f) {
  float cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2, hw = (b.x1 - b.x0) / 2, hh = (b.y1 - b.y0) / 2;
  c.Shape(b.x0 - 2, b.y0 - 2, b.x1 + 2, b.y1 + 2, [=](float x, float y) { return SdBox(x, y, cx, cy, hw + 1.2f, hh + 1.2f, radius + 1); },
          [=](float, float y, float) { return Lerp(Hex(0x0A0C10), Hex(0x5A6478), Clamp01((y - b.y0) / (b.y1 - b.y0))); });
  c.Shape(b.x0, b.y0, b.x1, b.y1, [=](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, radius); },
          [=](float, float y, float d) {
            float shadow = Clamp01((y - b.y0) / 4.0f);
            float edge = Clamp01(-d / 2.0f);
            return Lerp(Hex(0x0A0C12), Hex(0x161B24), shadow * edge);
          });
}

// A small text in the accent colour.
void Caption(Canvas& c, float x, float y, const std::string& text, Col colour, int em = 9) {
  Mask m = TextMask(c.w, c.h, x, y, text, em, true);
  c.Stamp(m, 0, 0, Solid(colour));
}

void Screw(Canvas& c, float x, float y) {
  c.Shape(x - 3, y - 3, x + 3, y + 3, [=](float px, float py) { return SdCircle(px, py, x, y, 2.2f); },
          [=](float px, float py, float) {
            float t = Clamp01(0.5f + ((px - x) + (py - y)) / 5);
            return Lerp(Hex(0x9AA4B4), Hex(0x30363F), t);
          });
  c.Shape(x - 3, y - 3, x + 3, y + 3, [=](float px, float py) { return SdSegment(px, py, x - 1.4f, y + 1.4f, x + 1.4f, y - 1.4f) - 0.4f; },
          Solid(Hex(0x22262C)));
}

// The plate of the panel with its raised corners and its glowing upper edge.
void Plate(Canvas& c, int set) {
  const Col accent = Accent(set);
  const std::vector<std::pair<float, float>> outline = {{0, 10},   {96, 10},  {108, 22}, {690, 22},
                                                        {702, 12}, {800, 12}, {800, 75}, {0, 75}};
  c.Shape(0, 0, 800, 75, [&](float x, float y) { return SdPolygon(x, y, outline); },
          [&](float x, float y, float d) {
            float t = Clamp01((y - 10) / 65);
            float brushed = (Fbm(x / 40, y * 2.5f, 3, 17) - 0.5f) * 0.06f;
            Col steel = Lerp(Hex(0x3A4252), Hex(0x141820), t);
            steel = {steel.r + brushed, steel.g + brushed, steel.b + brushed * 1.2f, 1};
            // Light on the upper rim, dark on the lower.
            float rim = Clamp01(1 + d / 2.0f);
            return Lerp(steel, Hex(0x8A96AC), rim * (y < 40 ? 1.0f : 0.0f));
          });
  // The glowing seam along the top edge.
  for (size_t i = 0; i + 1 < outline.size() - 2; ++i) {
    const float ax = outline[i].first, ay = outline[i].second;
    const float bx = outline[i + 1].first, by = outline[i + 1].second;
    c.Shape(std::min(ax, bx) - 3, std::min(ay, by) - 3, std::max(ax, bx) + 3, std::max(ay, by) + 3,
            [=](float x, float y) { return SdSegment(x, y, ax, ay + 2.5f, bx, by + 2.5f) - 0.8f; },
            Solid(Lerp(accent, Hex(0xFFFFFF), 0.25f)));
  }
  // Grooves between the modules.
  for (float gx : {148.0f, 372.0f, 578.0f, 696.0f})
    c.Shape(gx - 2, 24, gx + 2, 75, [gx](float x, float y) { return SdBox(x, y, gx, 49, 0.8f, 24, 0); },
            [](float x, float, float) { return x < 0 ? Hex(0x0C0E12) : Hex(0x0C0E12); });
  for (float sx : {6.0f, 90.0f, 110.0f, 688.0f, 794.0f}) Screw(c, sx, sx < 100 || sx > 700 ? 72.0f - 0 : 72.0f);
}

// The radio screen: a bezel round a hole the game fills with the speaker and static.
void RadioScreen(Canvas& c) {
  c.Shape(0, 12, 90, 72, [](float x, float y) { return SdBox(x, y, 44.5f, 42, 42.5f, 28, 4); },
          [](float, float y, float) { return Lerp(Hex(0x5A6476), Hex(0x1C2028), Clamp01((y - 14) / 56)); });
  c.Shape(3, 15, 86, 69, [](float x, float y) { return SdBox(x, y, 44.5f, 42, 40, 25.5f, 3); }, Solid(Hex(0x000000)),
          Blend::Replace);
}

void LivesModule(Canvas& c, int set) {
  Well(c, {116, 26, 146, 57});
  // A small ship beside the count.
  const Col accent = Accent(set);
  std::vector<std::pair<float, float>> ship = {{96, 44}, {104, 40}, {114, 42}, {104, 45}, {114, 48}, {104, 50}};
  c.Shape(94, 38, 116, 52, [ship](float x, float y) { return SdPolygon(x, y, ship); },
          [accent](float, float y, float) { return Lerp(Lerp(accent, Hex(0xFFFFFF), 0.5f), accent, Clamp01((y - 40) / 10)); });
}

// No caption above the score: the message ticker runs along the panel's top right, from
// x 575 at row 27 (screen row 552), and would write over it.
void ScoreModule(Canvas& c, bool two) {
  if (!two) {
    Well(c, {702, 45, 792, 68});
  } else {
    Well(c, {702, 32, 792, 71});
    Caption(c, 705, 36, "1", Accent(0));
    Caption(c, 705, 52, "2", Accent(1));
  }
}

// The empty look of a gauge that the game fills from its own picture.
void SpeedWell(Canvas& c, Box b) { Well(c, b, 1.5f); }

void PodTray(Canvas& c, int set) {
  const Col accent = Accent(set);
  Well(c, {380, 30, 536, 72});
  for (float sx : {385.0f, 460.0f})
    for (float sy : {34.0f, 52.0f})
      c.Shape(sx, sy, sx + 70, sy + 17,
              [=](float x, float y) { return std::fabs(SdBox(x, y, sx + 35, sy + 8.5f, 34.5f, 8, 2)) - 0.5f; },
              Solid(Scale(accent, 0.45f)));
}

void SatelliteWell(Canvas& c, int set) {
  const Col accent = Accent(set);
  Well(c, {400, 30, 530, 70}, 8);
  c.Shape(430, 20, 494, 76, [](float x, float y) { return SdCircle(x, y, 462, 48, 27); },
          [](float x, float y, float) {
            float r = std::hypot(x - 462, y - 48) / 27;
            return Lerp(Hex(0x06080C), Hex(0x1C2230), r * r);
          });
  c.Shape(430, 20, 494, 76, [](float x, float y) { return std::fabs(SdCircle(x, y, 462, 48, 27)) - 1.0f; },
          Solid(Scale(accent, 0.8f)));
  for (int k = 0; k < 12; ++k) {
    float a = k * kPi / 6;
    float ax = 462 + 23 * std::cos(a), ay = 48 + 23 * std::sin(a), bx = 462 + 25.5f * std::cos(a), by = 48 + 25.5f * std::sin(a);
    c.Shape(430, 20, 494, 76, [=](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - 0.5f; },
            Solid(Scale(accent, 0.6f)));
  }
}

void SmallRows(Canvas& c) {
  // Two players: the pod row and the satellite row, the game swaps them when player one
  // flies the satellite ship.
  Well(c, {386, 34, 499, 51}, 2);
  for (float dx : {12.0f, 70.0f})
    for (float dy : {1.0f, 10.0f})
      c.Shape(0, 0, 800, 75,
              [=](float x, float y) { return std::fabs(SdBox(x, y, 386 + dx + 14, 34 + dy + 3, 27, 3.6f, 1)) - 0.4f; },
              Solid(Scale(Accent(0), 0.5f)));
  Well(c, {386, 52, 499, 69}, 2);
  c.Shape(420, 48, 466, 74, [](float x, float y) { return std::fabs(SdCircle(x, y, 442, 61, 10.5f)) - 0.7f; },
          Solid(Scale(Accent(1), 0.8f)));
}

Col BarColour(float t, Col a, Col b) { return Lerp(a, b, t); }

// A glossy bar, segmented, from colour a on the left to b on the right.
Canvas Bar(int w, int h, Col a, Col b, bool empty) {
  Canvas c(w, h);
  c.Fill([=](float x, float y) {
    float t = x / w, v = y / h;
    bool gap = std::fmod(x, 8.0f) < 1.0f;
    if (empty) {
      Col floor = Lerp(Hex(0x1A2030), Hex(0x0C1018), v);
      if (gap) floor = Hex(0x2A3244);
      bool frame = x < 1 || y < 1 || x > w - 1 || y > h - 1;
      return frame ? Scale(Lerp(a, b, t), 0.45f) : floor;
    }
    Col col = BarColour(t, a, b);
    float gloss = 1.15f - 0.55f * v + 0.45f * std::exp(-std::pow((v - 0.25f) / 0.15f, 2.0f));
    col = Scale(col, gloss * (gap ? 0.55f : 1.0f));
    return Col{Clamp01(col.r), Clamp01(col.g), Clamp01(col.b), 1};
  });
  return c;
}

}  // namespace

Canvas PanelGround(int set) {
  Canvas c(800, 75);
  const bool two = set == 3;
  Plate(c, set);
  RadioScreen(c);
  LivesModule(c, set);
  if (!two) {
    Well(c, {149, 28, 352, 46});
    Well(c, {167, 51, 354, 66});
    if (set == 0)
      PodTray(c, set);
    else
      SatelliteWell(c, set);
    Well(c, {584, 38, 618, 64});
    SpeedWell(c, {620, 37, 640, 73});
    Well(c, {644, 40, 690, 69});
  } else {
    Caption(c, 149, 23, "1", Accent(0), 8);
    Caption(c, 149, 50, "2", Accent(1), 8);
    for (float y : {22.0f, 49.0f}) Well(c, {157, y - 1, 340, y + 10});
    for (float y : {34.0f, 60.0f}) Well(c, {170, y - 1, 344, y + 8});
    SmallRows(c);
    Well(c, {578, 38, 622, 74});
    SpeedWell(c, {624, 38, 638, 73});
    Well(c, {656, 38, 698, 74});
  }
  ScoreModule(c, two);
  return c;
}

Canvas PanelEnergy(int set, bool empty) {
  const bool two = set == 3;
  return Bar(two ? 180 : 196, two ? 8 : 12, Hex(0x30D050), Hex(0xE8F040), empty);
}

Canvas PanelBeam(int set, int mode, bool empty) {
  const bool two = set == 3;
  Col a = mode == 0 ? Hex(0x3050FF) : Hex(0xFF7A20), b = mode == 0 ? Hex(0x70F0FF) : Hex(0xFFF080);
  return Bar(two ? 170 : 182, two ? 6 : 10, a, b, empty);
}

Canvas PanelSpeed(int set) {
  // Filled from the bottom: green at the bottom to red at the top.
  const bool two = set == 3;
  const int w = two ? 10 : 14, h = two ? 14 : 30;
  Canvas c(w, h);
  const float seg = h / 6.0f;
  c.Fill([=](float x, float y) {
    float t = 1 - y / h;
    bool gap = std::fmod(y, seg) < 1.0f || x < 1 || x > w - 1;
    Col col = t < 0.5f ? Lerp(Hex(0x40E040), Hex(0xF0E040), t * 2) : Lerp(Hex(0xF0E040), Hex(0xFF4030), (t - 0.5f) * 2);
    col = Scale(col, 1.1f - 0.5f * std::fabs(x / w - 0.35f));
    return gap ? Col{0, 0, 0, 0} : Col{Clamp01(col.r), Clamp01(col.g), Clamp01(col.b), 1};
  });
  return c;
}

Canvas PanelGun(int set) {
  // Two chevrons: the left half shows at gun level 2, both at level 3.
  const bool two = set == 3;
  const int w = two ? 24 : 30, h = two ? 12 : 22;
  Canvas c(w, h);
  for (int k = 0; k < 2; ++k) {
    float x0 = k * w / 2.0f + 2, x1 = (k + 1) * w / 2.0f - 2, mid = h / 2.0f;
    std::vector<std::pair<float, float>> pts = {{x0, 1},       {x0 + (x1 - x0) * 0.45f, 1}, {x1, mid},
                                                {x0 + (x1 - x0) * 0.45f, h - 1.0f}, {x0, h - 1.0f}, {x0 + (x1 - x0) * 0.55f, mid}};
    c.Shape(0, 0, w, h, [pts](float x, float y) { return SdPolygon(x, y, pts); },
            [h, k](float, float y, float d) {
              Col col = Lerp(Hex(0xFFE070), Hex(0xFF6020), Clamp01(y / h));
              if (k == 1) col = Lerp(Hex(0xFFF0B0), Hex(0xFF8030), Clamp01(y / h));
              return Lerp(Hex(0xFFFFFF), col, Clamp01(-d / 1.5f));
            });
  }
  return c;
}

Canvas PanelGlow(int set, int n) {
  // Added onto the panel: soft light over the bars (0), the lives count (1) and the
  // secondary weapon (2). One pixel wider and higher than drawn.
  static const int kSize[3][2] = {{131, 9}, {25, 25}, {49, 29}};
  const int w = kSize[n][0], h = kSize[n][1];
  Canvas c(w, h);
  const Col accent = Accent(set);
  c.Fill([=](float x, float y) {
    if (x > w - 1 || y > h - 1) return Col{0, 0, 0, 1};
    float nx = (x - (w - 1) / 2.0f) / ((w - 1) / 2.0f), ny = (y - (h - 1) / 2.0f) / ((h - 1) / 2.0f);
    float v = Clamp01(1 - nx * nx - ny * ny);
    v = v * v * (n == 0 ? 0.3f : 0.4f);
    Col col = Lerp(accent, Hex(0xFFFFFF), 0.4f);
    return Col{col.r * v, col.g * v, col.b * v, 1};
  });
  return c;
}

Canvas SecondaryIcon(bool twoPlayers, int n) {
  const int w = twoPlayers ? 36 : 40, h = twoPlayers ? 14 : 22;
  Canvas c(w, h);
  const float cy = h / 2.0f, s = twoPlayers ? 0.62f : 1.0f;
  auto body = [&](float x0, float x1, float r, Col top, Col bottom) {
    c.Shape(0, 0, w, h, [=](float x, float y) { return SdBox(x, y, (x0 + x1) / 2, cy, (x1 - x0) / 2, r, r); },
            [=](float, float y, float) {
              float t = Clamp01((y - (cy - r)) / (2 * r));
              float shine = std::exp(-std::pow((t - 0.3f) / 0.15f, 2.0f)) * 0.4f;
              Col col = Lerp(top, bottom, t);
              return Col{Clamp01(col.r + shine), Clamp01(col.g + shine), Clamp01(col.b + shine), 1};
            });
  };
  auto fins = [&](float x, Col col) {
    std::vector<std::pair<float, float>> pts = {{x - 5 * s, cy - 7 * s}, {x + 2 * s, cy - 2 * s}, {x + 2 * s, cy + 2 * s}, {x - 5 * s, cy + 7 * s}};
    c.Shape(0, 0, w, h, [pts](float px, float py) { return SdPolygon(px, py, pts); }, Solid(col));
  };
  if (n == 0) {  // bomb
    fins(10 * s + 2, Hex(0x70806C));
    body(10 * s + 2, w - 8 * s, 6.5f * s, Hex(0x8A9A84), Hex(0x2A3428));
    c.Shape(0, 0, w, h, [=](float x, float y) { return SdBox(x, y, w * 0.62f, cy, 1.6f * s, 6.4f * s, 0); },
            Solid(Hex(0xE04030)));
  } else if (n == 1) {  // rocket
    fins(8 * s + 2, Hex(0x5A6070));
    body(8 * s + 2, w - 12 * s, 4.0f * s, Hex(0xFFFFFF), Hex(0x8A8A90));
    std::vector<std::pair<float, float>> nose = {{w - 12 * s, cy - 4 * s}, {w - 3.0f, cy}, {w - 12 * s, cy + 4 * s}};
    c.Shape(0, 0, w, h, [nose](float x, float y) { return SdPolygon(x, y, nose); }, Solid(Hex(0xE83020)));
  } else {  // homing missile with its seeker's eye and a curved path
    for (int k = 0; k < 4; ++k) {
      float x = 3 + k * 4 * s, y = cy + 5 * s * std::cos(k * 0.9f);
      c.Shape(0, 0, w, h, [=](float px, float py) { return SdCircle(px, py, x, y, 1.1f); }, Solid(Hex(0x60C060)));
    }
    fins(16 * s + 2, Hex(0x404850));
    body(16 * s + 2, w - 6 * s, 3.2f * s, Hex(0xD8E0E8), Hex(0x6A7078));
    c.Shape(0, 0, w, h, [=](float x, float y) { return SdCircle(x, y, w - 6 * s, cy, 3.0f * s); }, Solid(Hex(0x70FF70)));
  }
  return c;
}

Canvas Digit(int d) {
  Canvas c(8, 12);
  Lettering(c, 4, 6, std::string(1, static_cast<char>('0' + d)), 12, Hex(0xFFFFFF), Hex(0x9AD8FF), Hex(0x0A1430), 1.0f);
  return c;
}

Canvas LivesDigit(int d) {
  Canvas c(18, 24);
  Lettering(c, 9, 12, std::string(1, static_cast<char>('0' + d)), 24, Hex(0xFFF6C8), Hex(0xE88A1C), Hex(0x301808), 1.5f);
  return c;
}

Canvas ComboLabel() {
  const std::string t = "COMBO";
  Canvas c(TextWidth(t, 12, true) + 4, 12);
  Lettering(c, c.w / 2.0f, 6, t, 12, Hex(0xFFF080), Hex(0xFF7020), Hex(0x401000), 1.0f);
  return c;
}

Canvas PodSlot(int n) {
  // 70 x 17, copied without key over the slot; the game writes the pod's weapon icons
  // from x 19 on.
  Canvas c(70, 17);
  const Col blue = Accent(0);
  const bool empty = n == 0;
  c.Fill([empty, blue](float, float y) {
    Col floor = empty ? Lerp(Hex(0x101216), Hex(0x1C1F26), y / 17) : Lerp(Scale(blue, 0.35f), Hex(0x0C1830), y / 17);
    return floor;
  });
  c.Shape(0, 0, 70, 17, [](float x, float y) { return std::fabs(SdBox(x, y, 35, 8.5f, 34.5f, 8, 2)) - 0.7f; },
          [empty, blue](float x, float, float) {
            return empty ? Hex(0x4A5060) : Lerp(Lerp(blue, Hex(0xFFFFFF), 0.6f), blue, x / 70);
          });
  if (empty) {
    for (float x0 : {22.0f, 38.0f, 54.0f})
      c.Shape(0, 0, 70, 17, [x0](float x, float y) { return SdSegment(x, y, x0, 8.5f, x0 + 10, 8.5f) - 0.6f; },
              Solid(Hex(0x3A404C)));
    Caption(c, 5, 4, "-", Hex(0x6A7080), 10);
    return c;
  }
  c.Shape(1, 1, 17, 16, [](float x, float y) { return SdBox(x, y, 9, 8.5f, 7.5f, 7, 1.5f); },
          [blue](float, float y, float) { return Lerp(Lerp(blue, Hex(0xFFFFFF), 0.3f), Scale(blue, 0.6f), y / 17); });
  Lettering(c, 9, 8.5f, std::string(1, static_cast<char>('0' + n)), 11, Hex(0xFFFFFF), Hex(0xE0F0FF), Hex(0x000000), 0);
  return c;
}

Canvas SpeakerFrame(int frame) {
  // The commander on the radio: helmet, face and microphone; the mouth follows a
  // syllable pattern that repeats after the 32 frames, the eyes blink twice, the head
  // sways a little. Scan lines for the screen.
  Canvas c(50, 50);
  const float ph = frame * 2 * kPi / 32;
  const float sway = std::sin(ph) * 1.0f, bob = std::sin(2 * ph) * 0.6f;
  const float talk = std::fabs(std::sin(frame * 1.7f)) * (0.35f + 0.65f * Hash(frame, 0, 77));
  const bool blink = frame == 9 || frame == 25;
  c.Fill([](float x, float y) {
    float v = 1 - std::hypot(x - 25, y - 22) / 40;
    return Lerp(Hex(0x0A1A22), Hex(0x1E4A58), Clamp01(v));
  });
  const float hx = 25 + sway, hy = 24 + bob;
  // Shoulders.
  c.Shape(0, 34, 50, 50, [=](float x, float y) { return SdEllipse(x, y, hx, 56, 24, 16); },
          [=](float x, float, float) { return Lerp(Hex(0x5A6A88), Hex(0x2A3448), Clamp01((x - hx + 20) / 40)); });
  // Face.
  c.Shape(10, 12, 40, 44, [=](float x, float y) { return SdEllipse(x, y, hx, hy + 4, 10.5f, 13); },
          [=](float x, float y, float) {
            float lit = Clamp01(0.75f - (x - hx) / 22 - (y - hy) / 40);
            return Lerp(Hex(0x8A5A40), Hex(0xF0C8A0), lit);
          });
  // Helmet over the top of the head, with a stripe.
  c.Shape(6, 2, 44, 30, [=](float x, float y) { return std::max(SdEllipse(x, y, hx, hy, 14, 14), y - (hy - 1)); },
          [=](float x, float y, float) {
            float lit = Clamp01(0.9f - (x - hx + 4) / 26 - (y - hy + 12) / 30);
            return Lerp(Hex(0x3A4660), Hex(0xD8E0F0), lit);
          });
  c.Shape(6, 2, 44, 30,
          [=](float x, float y) { return std::max({std::fabs(x - hx) - 1.6f, SdEllipse(x, y, hx, hy, 14, 14), y - (hy - 1)}); },
          Solid(Hex(0xE04030)));
  // Eyes.
  for (float ex : {-4.5f, 4.5f}) {
    float cx = hx + ex, cy = hy + 2.5f;
    if (blink) {
      c.Shape(cx - 3, cy - 2, cx + 3, cy + 2, [=](float x, float y) { return SdSegment(x, y, cx - 2, cy, cx + 2, cy) - 0.5f; },
              Solid(Hex(0x40281C)));
    } else {
      c.Shape(cx - 3, cy - 3, cx + 3, cy + 3, [=](float x, float y) { return SdEllipse(x, y, cx, cy, 2.2f, 1.6f); },
              Solid(Hex(0xF8F8F8)));
      c.Shape(cx - 2, cy - 2, cx + 2, cy + 2, [=](float x, float y) { return SdCircle(x, y, cx + 0.3f, cy, 1.0f); },
              Solid(Hex(0x203040)));
    }
  }
  // Mouth, open by the syllable.
  c.Shape(hx - 5, hy + 8, hx + 5, hy + 15, [=](float x, float y) { return SdEllipse(x, y, hx, hy + 10.5f, 3.2f, 0.6f + 2.2f * talk); },
          Solid(Hex(0x401818)));
  // Microphone boom from the helmet to the mouth.
  c.Shape(0, 0, 50, 50, [=](float x, float y) { return SdSegment(x, y, hx - 13, hy + 2, hx - 5, hy + 11) - 0.9f; },
          Solid(Hex(0x30343C)));
  c.Shape(0, 0, 50, 50, [=](float x, float y) { return SdCircle(x, y, hx - 4.5f, hy + 11, 1.8f); }, Solid(Hex(0x181A20)));
  // Scan lines and a soft fade at the screen's corners.
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      Col& p = c.px[static_cast<size_t>(y) * 50 + x];
      float k = (y % 2 ? 0.82f : 1.0f) * Clamp01(1.25f - std::hypot(x - 25.0f, y - 25.0f) / 34);
      p = {p.r * k, p.g * k, p.b * k, p.a};
    }
  return c;
}

}  // namespace demo
