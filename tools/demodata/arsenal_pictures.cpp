// The pictures of the storm arsenal: a stormy night sea, basalt stacks, steel pylons and
// gantries, the rigs on the horizon, the depot's machines, their shots and the lights.
#include <algorithm>
#include <cmath>
#include <vector>

#include "demodata/arsenal.hpp"
#include "demodata/draw.hpp"
#include "demodata/level1.hpp"
#include "demodata/ray3d.hpp"

namespace demo {
namespace {

using ray::Scene;
using ray::V3;

constexpr float kPi = 3.14159265358979f;
constexpr float kHorizon = 290;  // where the sea's surface stands on the screen

// The depot's paint, shared by its machines: grey steel, dark steel, the warning
// stripes and the red lamps.
struct Depot {
  int steel, dark, stripe, lamp, glass;
  explicit Depot(Scene& s)
      : steel(s.Add(ray::Surface(0x7C8690, 0.6f, 40))),
        dark(s.Add(ray::Surface(0x30363E, 0.5f, 30))),
        stripe(s.Add(ray::Surface(0xE8B020, 0.6f, 30))),
        lamp(s.Add(ray::Lamp(0xFF4030, 1.3f))),
        glass(s.Add(ray::Glass(0x60C8FF))) {}
};

// A steel girder from (ax, ay) to (bx, by), `w` thick, lit from the upper left.
void Girder(Canvas& c, float ax, float ay, float bx, float by, float w, Col steel) {
  c.Shape(std::min(ax, bx) - w, std::min(ay, by) - w, std::max(ax, bx) + w, std::max(ay, by) + w,
          [=](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - w / 2; },
          [=](float x, float y, float d) {
            // Bright on the edge that faces the light, the rest in the girder's colour.
            const float nx = bx - ax, ny = by - ay, len = std::max(1.0f, std::hypot(nx, ny));
            const float side = ((x - ax) * -ny + (y - ay) * nx) / len / (w / 2);
            const Col k = Lerp(steel, Hex(0xD8E4EC), Smooth(-1.2f, 0.0f, d) * 0.5f * Clamp01(side));
            return Scale(k, 0.8f + 0.25f * Clamp01(side));
          });
}

// A lattice of two legs with cross braces between (x0..x1) from y0 to y1, in `n` bays.
void Lattice(Canvas& c, float xl0, float xr0, float xl1, float xr1, float y0, float y1, int n, Col steel) {
  for (int k = 0; k < n; ++k) {
    const float t0 = static_cast<float>(k) / n, t1 = static_cast<float>(k + 1) / n;
    const float ya = y0 + (y1 - y0) * t0, yb = y0 + (y1 - y0) * t1;
    const float la = xl0 + (xl1 - xl0) * t0, ra = xr0 + (xr1 - xr0) * t0;
    const float lb = xl0 + (xl1 - xl0) * t1, rb = xr0 + (xr1 - xr0) * t1;
    Girder(c, la, ya, rb, yb, 3, Scale(steel, 0.8f));
    Girder(c, ra, ya, lb, yb, 3, Scale(steel, 0.8f));
    Girder(c, la, ya, ra, ya, 4, steel);
  }
  Girder(c, xl0, y0, xl1, y1, 7, steel);
  Girder(c, xr0, y0, xr1, y1, 7, steel);
}

// Hazard stripes, yellow and black, over the box.
void Stripes(Canvas& c, float x0, float y0, float x1, float y1) {
  c.Shape(x0, y0, x1, y1, [=](float x, float y) { return SdBox(x, y, (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2); },
          [](float x, float y, float) {
            const bool gelb = static_cast<int>(std::floor((x + y) / 8)) % 2 == 0;
            return gelb ? Hex(0xE0A820) : Hex(0x1C1A18);
          });
}

}  // namespace

Canvas StormSea() {
  Canvas c(800, 600);
  // The light behind the clouds where the storm breaks open, and the far lightning.
  struct Licht {
    float x, y, r, k;
  };
  const Licht lichter[] = {{180, 150, 200, 0.5f}, {610, 90, 160, 0.35f}};
  c.Fill([&](float x, float y) {
    Col k = Lerp(Hex(0x06080E), Hex(0x27323E), Smooth(0, kHorizon, y));
    // Heavy clouds in rolls: dark bellies, lit tops.
    const float wolke = Wrapped(x, y * 2.2f, 5, 5, 701), roll = Wrapped(x * 1.5f, y * 4, 9, 3, 703);
    const float dicht = Smooth(0.4f, 0.7f, wolke) * Smooth(kHorizon, 60, y);
    k = Lerp(k, Lerp(Hex(0x10141C), Hex(0x5A6678), Smooth(0.45f, 0.75f, roll)), dicht * 0.85f);
    for (const Licht& l : lichter) {
      const float dx = std::min(std::fabs(x - l.x), 800 - std::fabs(x - l.x)), dy = y - l.y;
      k = Lerp(k, Hex(0xA8B8E0), l.k * dicht * std::exp(-(dx * dx + dy * dy * 2) / (l.r * l.r)));
    }
    // Veils of rain hanging from the clouds.
    const float schleier = Smooth(0.55f, 0.8f, Wrapped(x + y * 0.35f, 0, 12, 2, 707));
    k = Lerp(k, Hex(0x3A4656), schleier * 0.25f * Smooth(40, kHorizon, y));
    if (y >= kHorizon) {
      // The sea under the surface line: dark swell with streaks of foam.
      const float tiefe = Smooth(kHorizon, 600, y);
      k = Lerp(Hex(0x1C2A34), Hex(0x04080C), tiefe);
      const float welle = Wrapped(x, (y - kHorizon) * 6, 20, 3, 709);
      k = Lerp(k, Hex(0x6E8494), Smooth(0.62f, 0.75f, welle) * (1 - tiefe) * 0.7f);
    }
    // A thin glow along the horizon.
    k = Lerp(k, Hex(0x8090A8), std::exp(-std::pow((y - kHorizon) / 5, 2.0f)) * 0.5f);
    return WithAlpha(k, 1);
  });
  return c;
}

Canvas ScrapFrame(int frame) {
  // A torn steel plate with a rivet row and a yellow stripe, tumbling a quarter turn.
  Scene s;
  Depot p(s);
  s.PlateXY({{-12, -8}, {6, -11}, {13, -2}, {9, 10}, {-5, 12}, {-13, 3}}, 0, 4, 1, p.steel);
  s.Box({0, 2, 2.5f}, {9, 2, 0.6f}, p.stripe, ray::RotZ(-10));
  for (int k = 0; k < 3; ++k) s.Sphere({-6.0f + k * 6, -5, 2}, 1.3f, p.dark);
  s.Transform(ray::RotZ(frame * 90.0f + 20) * ray::RotX(25 + frame * 30.0f));
  return ray::Render(s, 32, 32, 16, 16, 2);
}

Canvas SteelPylon() {
  // A lattice tower rising from the sea bed, a deck at its top with a lamp housing.
  Canvas c(100, 300);
  const Col steel = Hex(0x8A96A2);
  Lattice(c, 14, 86, 6, 94, 26, 300, 7, steel);
  c.Shape(0, 12, 100, 30, [](float x, float y) { return SdBox(x, y, 50, 21, 48, 8, 2); }, [](float x, float y, float d) {
    return Lerp(Hex(0x56606A), Hex(0xC8D4DC), Smooth(-2, 0, d) * Smooth(30, 12, y) * 0.7f + 0.1f * Hash(int(x), int(y), 711));
  });
  Stripes(c, 4, 22, 96, 28);
  c.Shape(38, 0, 62, 14, [](float x, float y) { return SdBox(x, y, 50, 8, 10, 6, 3); },
          [](float, float y, float) { return Lerp(Hex(0xFF7060), Hex(0x801810), Smooth(2, 14, y)); });
  return c;
}

Canvas SteelGantry() {
  // A crane hanging from above: a box girder along the top, a lattice arm down and a
  // block with its hook at the end.
  Canvas c(140, 240);
  const Col steel = Hex(0x7A8692);
  c.Shape(0, 0, 140, 26, [](float x, float y) { return SdBox(x, y, 70, 10, 72, 14); }, [](float x, float y, float) {
    return Lerp(Hex(0x4A545E), Hex(0xAAB6C0), Smooth(24, 2, y) * 0.8f + 0.1f * Hash(int(x), int(y), 713));
  });
  Stripes(c, 0, 18, 140, 24);
  Lattice(c, 44, 96, 50, 90, 24, 190, 5, steel);
  c.Shape(38, 186, 102, 222, [](float x, float y) { return SdBox(x, y, 70, 204, 30, 16, 4); },
          [](float, float y, float d) { return Lerp(Hex(0xE0A020), Hex(0x6A4408), Smooth(188, 222, y) + Smooth(-2, 0, d) * 0.3f); });
  c.Shape(56, 218, 84, 240, [](float x, float y) { return std::fabs(SdCircle(x, y, 70, 226, 9)) - 2.5f; },
          Solid(Hex(0x9AA4AE)));
  return c;
}

Canvas FarRig() {
  // An oil platform far out on the sea: hazy legs, a deck of boxes, a derrick, a flare
  // stack and a few lit windows.
  Canvas c(240, 260);
  const Col haze = Hex(0x3C4656), dunkel = Hex(0x242C38);
  for (float x : {30.0f, 90.0f, 150.0f, 210.0f}) Girder(c, x, 130, x + (x < 120 ? -6.0f : 6.0f), 260, 9, haze);
  Girder(c, 30, 200, 210, 200, 4, haze);
  Girder(c, 30, 200, 90, 130, 3, haze);
  Girder(c, 150, 130, 210, 200, 3, haze);
  c.Shape(10, 100, 230, 140, [](float x, float y) { return SdBox(x, y, 120, 122, 108, 14, 2); }, Solid(dunkel));
  c.Shape(30, 70, 120, 112, [](float x, float y) { return SdBox(x, y, 72, 92, 40, 18, 2); }, Solid(Scale(dunkel, 1.15f)));
  Lattice(c, 150, 196, 168, 178, 108, 10, 4, haze);
  Girder(c, 206, 110, 226, 40, 5, haze);
  // The flare burning at the stack's top: a flame, yellow in its heart.
  c.Shape(214, 8, 238, 42, [](float x, float y) { return SdEllipse(x, y, 226, 30, 7 - (30 - y) * 0.12f, 12); },
          [](float x, float y, float) { return Lerp(Hex(0xFFE890), Hex(0xE05010), Clamp01(std::hypot(x - 226, y - 33) / 9)); });
  Random rnd(715);
  for (int k = 0; k < 12; ++k) {
    const float x = 36 + 180 * static_cast<float>(rnd.Unit()), y = rnd.Unit() < 0.5 ? 78 + 24 * static_cast<float>(rnd.Unit()) : 114 + 14 * static_cast<float>(rnd.Unit());
    c.Shape(x - 2, y - 2, x + 2, y + 2, [=](float px, float py) { return SdBox(px, py, x, y, 1.5f, 1, 0); }, Solid(Hex(0xFFD890)));
  }
  return c;
}

Canvas GnatFrame(int frame) {
  // A small drone: a saucer with a red eye at the front and two rotor blurs that turn.
  Scene s;
  Depot p(s);
  const int rotor = s.Add(ray::Surface(0xA0B0C0, 0.3f, 10));
  s.Ellipsoid({0, 0, 0}, {11, 5, 9}, p.steel);
  s.Ellipsoid({0, 3, 0}, {6, 4, 6}, p.dark);
  s.Sphere({-9, 0, 4}, 2.6f, p.lamp);
  for (int k = 0; k < 2; ++k) {
    const float x = k ? 12.0f : -12.0f;
    s.Cylinder({x, 5, 0}, {x, 2, 0}, 1.2f, p.dark);
    s.Ellipsoid({x, 6, 0}, {7, 0.8f, 3.0f + 4.0f * std::fabs(std::cos((frame + k) * kPi / 4))}, rotor, ray::RotY(frame * 45.0f));
  }
  s.Transform(ray::RotX(20));
  return ray::Render(s, 40, 28, 20, 14, 2);
}

Canvas GunboatFrame(int frame) {
  // A grey patrol boat with its bow to the left, a cabin with windows and a stripe along
  // the hull; it rocks on the swell.
  Scene s;
  Depot p(s);
  const int rumpf = s.Add(ray::Surface(0x5C6670, 0.5f, 30));
  const int hull = s.Ellipsoid({0, -4, 0}, {46, 12, 14}, rumpf);
  s.Cut(hull, {0, 1, 0}, 4);
  s.Box({4, -1, 0}, {40, 1.5f, 12}, p.stripe);
  s.Box({10, 8, 0}, {16, 7, 9}, p.steel);
  s.Box({4, 9, 9.2f}, {9, 2.5f, 0.5f}, p.glass);
  s.Cylinder({20, 14, 0}, {20, 26, 0}, 1.2f, p.dark);
  s.Sphere({20, 27, 0}, 1.8f, p.lamp);
  s.Transform(ray::RotZ(frame ? 2.5f : -2.5f) * ray::RotX(12), {0, 2, 0});
  return ray::Render(s, 96, 48, 48, 26, 2);
}

Canvas Cannon(int size) {
  // A turret dome with its barrel to the left (angle 0) and a muzzle ring.
  Scene s;
  Depot p(s);
  const float k = size / 32.0f;
  s.Sphere({3 * k, 0, 0}, 9 * k, p.steel);
  s.Box({3 * k, -6 * k, 0}, {10 * k, 3 * k, 9 * k}, p.dark);
  s.Cylinder({-15 * k, 0, 0}, {0, 0, 0}, 2.6f * k, p.dark);
  s.Cylinder({-15 * k, 0, 0}, {-12 * k, 0, 0}, 3.4f * k, p.stripe);
  s.Sphere({6 * k, 3 * k, 7 * k}, 1.6f * k, p.lamp);
  s.Transform(ray::RotX(20));
  return ray::Render(s, size, size, size / 2.0f, size / 2.0f, 2);
}

Canvas LancerFrame(int frame) {
  // A slim violet interceptor, nose to the left, swept wings, its jet flickering.
  Scene s;
  Depot p(s);
  const int lack = s.Add(ray::Surface(0x7040B0, 0.8f, 50));
  const int jet = s.Add(ray::Lamp(frame ? 0xC0A0FF : 0x8060FF, 1.4f));
  s.Ellipsoid({0, 0, 0}, {30, 5, 6}, lack);
  s.Ellipsoid({-8, 3, 0}, {9, 3.5f, 4}, p.glass);
  s.PlateXZ({{-2, 0}, {18, 0}, {24, 15}, {16, 15}}, -1, 2, 0.6f, lack);
  s.PlateXY({{14, 2}, {24, 2}, {28, 11}, {22, 11}}, 0, 1.5f, 0.5f, p.dark);
  s.Ellipsoid({33 + frame * 2.0f, 0, 0}, {5.0f + frame * 3.0f, 2.6f, 2.6f}, jet);
  s.Transform(ray::RotX(25));
  return ray::Render(s, 72, 32, 36, 16, 2);
}

Canvas Hauler() {
  // A cargo carrier: a blunt cockpit at the left, a spine carrying three containers in
  // the depot's colours, two engines at the back.
  Scene s;
  Depot p(s);
  const int rot = s.Add(ray::Surface(0xA83A28, 0.4f, 20)), blau = s.Add(ray::Surface(0x2A5A9A, 0.4f, 20));
  const int gruen = s.Add(ray::Surface(0x3C7A48, 0.4f, 20)), glut = s.Add(ray::Lamp(0xFFA040, 1.2f));
  s.Ellipsoid({-40, 2, 0}, {16, 13, 13}, p.steel);
  s.Box({-46, 6, 10}, {6, 3, 2}, p.glass);
  s.Box({2, -2, 0}, {44, 3, 6}, p.dark);
  const int farben[3] = {rot, blau, gruen};
  for (int k = 0; k < 3; ++k) s.Box({-14.0f + k * 26, 9, 0}, {11.5f, 9, 11}, farben[k]);
  for (int k = 0; k < 2; ++k) {
    const float y = k ? 14.0f : -12.0f;
    s.Cylinder({38, y, 0}, {52, y, 0}, 6, p.steel);
    s.Sphere({53, y, 0}, 4.5f, glut);
  }
  s.Box({-40, -12, 0}, {8, 2, 8}, p.stripe);
  s.Transform(ray::RotX(18));
  return ray::Render(s, 112, 64, 56, 32, 2);
}

Canvas KegFrame(int frame) {
  // A red powder keg with yellow bands and a lamp on top that blinks.
  Scene s;
  Depot p(s);
  const int rot = s.Add(ray::Surface(0xB02818, 0.6f, 40));
  const int lampe = s.Add(frame == 0 ? ray::Lamp(0xFFE060, 1.6f) : ray::Surface(0x605020, 0.5f, 30));
  s.Cylinder({0, -13, 0}, {0, 11, 0}, 12, rot);
  for (float y : {-8.0f, 6.0f}) s.Cylinder({0, y - 1.5f, 0}, {0, y + 1.5f, 0}, 12.5f, p.stripe);
  s.Cylinder({0, 11, 0}, {0, 14, 0}, 4, p.dark);
  s.Sphere({0, 15.5f, 0}, 3, lampe);
  s.Transform(ray::RotZ(-12) * ray::RotX(24));
  return ray::Render(s, 40, 40, 20, 20, 2);
}

Canvas CrawlerHead() {
  // An armoured head with two mandibles reaching to the left and a green eye.
  Scene s;
  Depot p(s);
  const int panzer = s.Add(ray::Surface(0x4E6A3A, 0.6f, 40));
  const int auge = s.Add(ray::Lamp(0x70FF60, 1.3f));
  s.Ellipsoid({2, 0, 0}, {18, 15, 15}, panzer);
  s.Ellipsoid({6, 6, 0}, {14, 8, 13}, p.dark);
  s.Cylinder({-8, 5, 4}, {-22, 10, 6}, 2.4f, p.steel);
  s.Cylinder({-8, -6, 4}, {-22, -11, 6}, 2.4f, p.steel);
  s.Sphere({-9, 2, 12}, 3.5f, auge);
  s.Transform(ray::RotX(15));
  return ray::Render(s, 48, 48, 24, 24, 2);
}

Canvas CrawlerBody(int frame) {
  // A round segment with a plated back, a row of red lights and two legs that step.
  Scene s;
  Depot p(s);
  const int panzer = s.Add(ray::Surface(0x587A40, 0.6f, 40));
  s.Sphere({0, 0, 0}, 14, panzer);
  s.Ellipsoid({0, 7, 0}, {13, 7, 12}, p.dark);
  for (int k = -1; k <= 1; ++k) s.Sphere({k * 7.0f, 9, 8}, 2.2f, p.lamp);
  for (int k = 0; k < 2; ++k) {
    const float x = k ? 6.0f : -6.0f, schritt = ((frame + k) % 2 ? 5.0f : -5.0f);
    s.Cylinder({x, -10, 4}, {x + schritt, -19, 6}, 1.8f, p.steel);
  }
  s.Transform(ray::RotX(20));
  return ray::Render(s, 40, 40, 20, 20, 2);
}

Canvas VeilFrame(int frame) {
  // A curtain of light: five strands of cyan hanging between two emitter knots, waving
  // down their length; every pixel of a strand is bright, so the curtain keeps its shape
  // over the dark sky.
  Canvas c(48, 96);
  const float phase = frame * 2 * kPi / 3;
  for (int k = 0; k < 5; ++k) {
    const float x0 = 8 + k * 8.0f;
    float px = x0, py = 8;
    for (int i = 1; i <= 16; ++i) {
      const float ny = 8 + i * 5.0f, nx = x0 + std::sin(ny * 0.11f + phase + k * 1.3f) * 3.5f * std::sin(ny * kPi / 96);
      const float ax = px, ay = py;
      c.Shape(std::min(ax, nx) - 3, ay - 3, std::max(ax, nx) + 3, ny + 3,
              [=](float x, float y) { return SdSegment(x, y, ax, ay, nx, ny) - 1.3f; },
              [=](float, float y, float d) {
                const float puls = 0.5f + 0.5f * std::sin(y * 0.2f - phase * 2 + k);
                return Lerp(Lerp(Hex(0x2A70D0), Hex(0x70E8FF), puls), Hex(0xF0FFFF), Clamp01(-d / 1.3f) * puls);
              });
      px = nx;
      py = ny;
    }
  }
  for (float y : {6.0f, 90.0f})
    c.Shape(2, y - 6, 46, y + 6, [=](float x, float py) { return SdBox(x, py, 24, y, 21, 3.5f, 3); },
            [](float, float py, float d) { return Lerp(Hex(0x8AA0B8), Hex(0x303C4C), Clamp01(-d / 3.5f) * 0.5f + 0.1f * py / 96); });
  return c;
}

Canvas Bastion() {
  // A flying fortress: an armoured wedge with two towers, rows of lit ports, a command
  // dome and lift engines glowing underneath.
  Scene s;
  Depot p(s);
  const int panzer = s.Add(ray::Surface(0x5A5E66, 0.5f, 30));
  const int fenster = s.Add(ray::Lamp(0xFFC860, 1.1f));
  const int glut = s.Add(ray::Lamp(0x60B0FF, 1.4f));
  const int rumpf = s.Box({0, 0, 0}, {100, 26, 40}, panzer);
  s.Cut(rumpf, Norm(V3{-1, -0.9f, 0}), 84);
  s.Cut(rumpf, Norm(V3{1, -1.2f, 0}), 88);
  for (float x : {-48.0f, 52.0f}) {
    s.Box({x, 40, 0}, {18, 18, 18}, p.steel);
    s.Box({x, 60, 0}, {20, 3, 20}, p.dark);
    s.Cylinder({x - 16, 46, 10}, {x - 38, 50, 10}, 3, p.dark);
  }
  s.Sphere({4, 30, 0}, 18, p.glass);
  for (int k = 0; k < 8; ++k) s.Box({-70.0f + k * 20, 4, 40}, {5, 2.2f, 0.8f}, fenster);
  s.Box({0, -8, 36}, {94, 2, 5}, p.stripe);
  for (float x : {-60.0f, 0.0f, 60.0f}) s.Ellipsoid({x, -26, 0}, {12, 5, 12}, glut);
  s.Transform(ray::RotX(18));
  return ray::Render(s, 224, 144, 112, 76, 2);
}

Canvas WardenFrame(int frame) {
  // A mirrored orb, bright as chrome, with a ring of blue lights turning about it.
  Scene s;
  const int spiegel = s.Add(ray::Material{Hex(0xB8C8E0), 1.4f, 90, 1.2f, {}});
  const int ring = s.Add(ray::Surface(0x384860, 0.8f, 50));
  const int licht = s.Add(ray::Lamp(0x70C0FF, 1.5f));
  s.Sphere({0, 0, 0}, 16, spiegel);
  s.Ellipsoid({0, 0, 0}, {25, 2.2f, 25}, ring);
  for (int k = 0; k < 6; ++k) {
    const float a = (k * 60 + frame * 15) * kPi / 180;
    s.Sphere({std::cos(a) * 23, 0, std::sin(a) * 23}, 2.4f, licht);
  }
  s.Transform(ray::RotZ(-18) * ray::RotX(22));
  return ray::Render(s, 56, 56, 28, 28, 2);
}

Canvas DreadnoughtFrame(int frame) {
  // The arsenal's guard: a long armoured warship with its bow to the left, stepped decks,
  // a bridge with lit windows, antennas, and engines that pulse at the stern.
  Scene s;
  Depot p(s);
  const int panzer = s.Add(ray::Surface(0x46505C, 0.55f, 35));
  const int deck = s.Add(ray::Surface(0x6E7884, 0.5f, 30));
  const int fenster = s.Add(ray::Lamp(0xFFD070, 1.2f));
  const int glut = s.Add(ray::Lamp(frame ? 0xFF9040 : 0xFF6020, frame ? 1.6f : 1.1f));
  const int rumpf = s.Ellipsoid({0, -6, 0}, {150, 30, 44}, panzer);
  s.Cut(rumpf, {0, 1, 0}, 14);
  s.Box({10, 14, 0}, {110, 6, 32}, deck);
  s.Box({30, 28, 0}, {60, 9, 24}, panzer);
  s.Box({40, 46, 0}, {22, 10, 18}, deck);
  for (int k = 0; k < 5; ++k) s.Box({26.0f + k * 8, 48, 18.5f}, {2.5f, 2.5f, 0.5f}, fenster);
  s.Cylinder({52, 56, 0}, {56, 78, 0}, 1.5f, p.dark);
  s.Cylinder({34, 56, 0}, {32, 70, 0}, 1.2f, p.dark);
  s.Sphere({56, 79, 0}, 2, p.lamp);
  s.Box({-20, 2, 42}, {120, 2.5f, 2}, p.stripe);
  for (int k = 0; k < 10; ++k) s.Box({-100.0f + k * 20, -12, 40}, {4, 2.5f, 1}, fenster);
  for (float y : {-14.0f, 8.0f}) {
    s.Cylinder({132, y, 0}, {152, y, 0}, 10, p.steel);
    s.Sphere({153, y, 0}, 8, glut);
  }
  s.Transform(ray::RotX(14));
  return ray::Render(s, 320, 160, 156, 84, 2);
}

Canvas Launcher() {
  // A box of four needle tubes, their mouths to the left, violet lights in them.
  Scene s;
  Depot p(s);
  const int licht = s.Add(ray::Lamp(0xC070FF, 1.4f));
  s.Box({6, 0, 0}, {22, 12, 14}, p.steel);
  s.Box({6, 10, 0}, {22, 2, 14}, p.stripe);
  for (int k = 0; k < 4; ++k) {
    const float y = -6.0f + (k % 2) * 10, z = k < 2 ? 6.0f : -6.0f;
    s.Cylinder({-24, y, z}, {-14, y, z}, 4, p.dark);
    s.Sphere({-22, y, z}, 2.6f, licht);
  }
  s.Transform(ray::RotX(18));
  return ray::Render(s, 64, 40, 34, 20, 2);
}

Canvas BoltFrame(int frame) {
  // An orange ball of fire with a white-hot core, its halo breathing.
  Canvas c(16, 16);
  const float halo = frame ? 7.5f : 6.5f;
  c.Fill([=](float x, float y) {
    const float r = std::hypot(x - 8, y - 8);
    const float a = Clamp01(1.15f - r / halo);
    return WithAlpha(Lerp(Hex(0xFF6A10), Hex(0xFFF8E0), Clamp01(1.3f - r / 3.5f)), a);
  });
  return c;
}

Canvas Needle() {
  // A thin violet needle of light, its bright tip to the left, fading to the tail.
  Canvas c(32, 12);
  c.Shape(0, 0, 32, 12, [](float x, float y) { return SdPolygon(x, y, {{1, 6}, {8, 3}, {31, 5}, {31, 7}, {8, 9}}); },
          [](float x, float, float d) {
            const Col k = Lerp(Hex(0xFFF0FF), Hex(0x8030E0), Clamp01(x / 30));
            return WithAlpha(k, Clamp01(1.2f - x / 34) * Clamp01(0.6f - d * 0.3f + 0.4f));
          });
  SoftGlow(c, 6, 6, 6, Hex(0xD080FF, 0.7f));
  return c;
}

Canvas LightningStroke() {
  // A jagged stroke of lightning from the clouds to the sea, with two branches; drawn
  // additively, its glow lights the clouds round it.
  Canvas c(128, 300);
  Random rnd(717);
  auto stroke = [&](float x, float y, float yEnd, float w, float drift) {
    while (y < yEnd) {
      const float ny = y + 10 + 14 * static_cast<float>(rnd.Unit());
      const float nx = std::clamp(x + drift + (static_cast<float>(rnd.Unit()) - 0.5f) * 22, 8.0f, 120.0f);
      const float ax = x, ay = y;
      c.Shape(std::min(ax, nx) - 8, ay - 8, std::max(ax, nx) + 8, ny + 8,
              [=](float px, float py) { return SdSegment(px, py, ax, ay, nx, ny) - w; },
              [](float, float, float d) { return WithAlpha(Lerp(Hex(0xFFFFFF), Hex(0x8CA8FF), Clamp01(d + 1)), Clamp01(1 - d * 0.5f)); },
              Blend::Add);
      x = nx;
      y = ny;
    }
  };
  SoftGlow(c, 64, 20, 60, Hex(0x5060A0, 0.5f));
  stroke(64, 0, 290, 1.4f, 0);
  stroke(60, 80, 170, 0.8f, -4);
  stroke(70, 130, 230, 0.8f, 5);
  return c;
}

}  // namespace demo
