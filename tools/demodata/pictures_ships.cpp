// The player ships in their tilt and firing frames, the orbit pods, the satellite and the
// drone ship's shield orbs: small 3D models rendered by the ray caster, so that turning
// and rolling frames follow each other smoothly.
#include <algorithm>
#include <cmath>

#include "demodata/pictures.hpp"
#include "demodata/ray3d.hpp"

namespace demo {
namespace {

using ray::M3;
using ray::Material;
using ray::Scene;
using ray::V3;

constexpr float kPi = 3.14159265358979f;

// Frame columns 0..4 roll the ship: 0 while it climbs (belly turned to us), 2 level,
// 4 while it dives (back turned to us). A little tilt shows the top in level flight.
float RollOf(int column) { return 7.0f + (column - 2) * 17.0f; }

// The ship's long axis lies on this row of the 64 x 64 frame.
constexpr float kAxisY = 35.0f;

// Both halves of a wing: the polygon (x, z) and its mirror image.
void Wings(Scene& s, std::vector<std::pair<float, float>> pts, float y, float thick, float bevel, int mat) {
  s.PlateXZ(pts, y, thick, bevel, mat);
  for (auto& p : pts) p.second = -p.second;
  s.PlateXZ(pts, y, thick, bevel, mat);
}

// "V-Tonator": a slim blue-white arrow with swept wings and a wing-tip gun on each side.
void TonatorModel(Scene& s) {
  int hull = s.Add(ray::Surface(0xD8E2F2, 0.6f, 40));
  int trim = s.Add(ray::Surface(0x2E5FD8, 0.5f, 30));
  int dark = s.Add(ray::Surface(0x3A4250, 0.4f, 20));
  int glass = s.Add(ray::Glass(0x6FE3FF));
  int engine = s.Add(ray::Lamp(0x6FA8FF, 1.4f));
  int gun = s.Add(ray::Surface(0x8A96AA, 0.8f, 50));
  s.Ellipsoid({0, 0, 0}, {26, 7, 6.5f}, hull);
  s.Ellipsoid({20, -0.8f, 0}, {11, 4.2f, 4.2f}, hull);
  s.Ellipsoid({9, 4.8f, 0}, {9, 4.2f, 3.6f}, glass);
  s.Ellipsoid({-13, 4.5f, 0}, {12, 3.2f, 2.4f}, trim);  // spine to the fin
  for (float z : {-5.2f, 5.2f}) s.Ellipsoid({-7, -1.8f, z}, {13, 3.6f, 2.6f}, trim);  // intakes
  Wings(s, {{-16, 3}, {6, 3}, {-4, 22}, {-15, 23}}, -1.0f, 2.2f, 0.8f, trim);
  for (float z : {-22.0f, 22.0f}) {
    s.Cylinder({-14, -1, z}, {8, -1, z}, 2.3f, gun);
    s.Cylinder({8, -1, z}, {14, -1, z}, 1.2f, dark);
  }
  s.PlateXY({{-27, 4}, {-14, 4}, {-21, 17}, {-27, 17}}, 0, 2.0f, 0.7f, trim);
  s.Cylinder({-30, 0.5f, 0}, {-22, 0.5f, 0}, 4.8f, dark);
  s.Cylinder({-31, 0.5f, 0}, {-29, 0.5f, 0}, 3.6f, engine);
  s.Box({4, -6.2f, 0}, {8, 1.2f, 3}, dark);  // belly intake
}

// "V-Phyton": a heavy crimson fighter with forward-swept wings, a long gun under the nose
// and twin engines.
void PhytonModel(Scene& s) {
  int hull = s.Add(ray::Surface(0xC0242A, 0.55f, 30));
  int gold = s.Add(ray::Surface(0xF0B845, 0.8f, 40));
  int dark = s.Add(ray::Surface(0x40363A, 0.4f, 20));
  int glass = s.Add(ray::Glass(0xFFC266));
  int engine = s.Add(ray::Lamp(0xFF7A40, 1.4f));
  s.Ellipsoid({-2, 0.5f, 0}, {24, 7.5f, 7.5f}, hull);
  s.Ellipsoid({17, -0.5f, 0}, {11, 4.8f, 5}, hull);
  s.Ellipsoid({5, 5, 0}, {8.5f, 4.2f, 4.4f}, glass);
  s.Cylinder({2, -5.5f, 0}, {21, -5.5f, 0}, 2.4f, dark);  // the big gun
  s.Cylinder({21, -5.5f, 0}, {25, -5.5f, 0}, 1.6f, gold);
  Wings(s, {{-14, 4}, {-2, 4}, {6, 20}, {0, 23}, {-10, 20}}, -0.5f, 2.6f, 0.9f, hull);
  Wings(s, {{-4, 18}, {8, 18}, {6, 24}, {-2, 24}}, -0.5f, 3.0f, 0.6f, gold);
  for (float z : {-6.0f, 6.0f}) {
    s.Cylinder({-28, -1, z}, {-14, -1, z}, 4.0f, dark);
    s.Cylinder({-29.5f, -1, z}, {-27.5f, -1, z}, 3.0f, engine);
  }
  s.PlateXY({{-24, 4}, {-12, 4}, {-18, 14}, {-25, 14}}, 4.5f, 1.8f, 0.6f, gold);
  s.PlateXY({{-24, 4}, {-12, 4}, {-18, 14}, {-25, 14}}, -4.5f, 1.8f, 0.6f, gold);
}

// The drone ship: a green twin-boom carrier with a turning three-barrel gun at the nose;
// its firing rows turn the barrels by a third of their spacing each.
void DroneShipModel(Scene& s, int row) {
  int hull = s.Add(ray::Surface(0x3FA860, 0.5f, 28));
  int dark = s.Add(ray::Surface(0x2C3438, 0.45f, 24));
  int light = s.Add(ray::Surface(0x8A989A, 0.6f, 36));
  int glass = s.Add(ray::Glass(0x9CFF8A));
  int engine = s.Add(ray::Lamp(0xFF6A3A, 1.3f));
  int muzzle = s.Add(ray::Lamp(0xB8FF70, 0.4f + 0.6f * row));
  s.Ellipsoid({2, 1.0f, 0}, {21, 7.5f, 7.0f}, hull);
  s.Ellipsoid({7, 6.0f, 0}, {8, 3.8f, 3.8f}, glass);
  for (float z : {-12.0f, 12.0f}) {
    s.Ellipsoid({-4, -1.5f, z}, {21, 3.6f, 3.6f}, light);
    s.Cylinder({-28, -1, z}, {-22, -1, z}, 3.4f, dark);
    s.Cylinder({-29, -1, z}, {-27.5f, -1, z}, 2.5f, engine);
    s.Ellipsoid({16, -1, z}, {4, 2.4f, 2.4f}, muzzle);
  }
  Wings(s, {{-12, 0}, {8, 0}, {4, 13}, {-14, 13}}, -0.5f, 2.0f, 0.7f, hull);
  s.PlateXY({{-20, 3}, {-10, 3}, {-16, 12}, {-21, 12}}, 0, 1.8f, 0.6f, dark);
  // The gun: a housing and three barrels round the long axis.
  s.Cylinder({14, -2, 0}, {19, -2, 0}, 3.6f, dark);
  for (int k = 0; k < 3; ++k) {
    float a = (k * 120.0f + row * 40.0f) * kPi / 180;
    float y = -2 + 2.1f * std::cos(a), z = 2.1f * std::sin(a);
    s.Cylinder({18, y, z}, {25, y, z}, 1.1f, light);
  }
  s.Ellipsoid({19.5f, -2, 0}, {1.2f, 1.6f, 1.6f}, muzzle);
}

// The model of ship type 0..2; `row` the drone ship's firing row.
void ShipModel(Scene& s, int type, int row) {
  if (type == 0)
    TonatorModel(s);
  else if (type == 1)
    PhytonModel(s);
  else
    DroneShipModel(s, row);
}

}  // namespace

Canvas ShipFrame(int type, int column, int row) {
  Scene s;
  ShipModel(s, type, row);
  s.Transform(ray::RotX(RollOf(column)));
  ray::Light light;
  Canvas c = ray::Render(s, 64, 64, 32, kAxisY, 3, light);
  return c;
}

Canvas ShipInFlight(int type, float roll, float pitch, float scale) {
  Scene s;
  ShipModel(s, type, 0);
  s.Transform(ray::RotZ(pitch) * ray::RotX(roll));
  s.Scale(scale);
  // The models reach about 32 units from their middle each way; the margin keeps the
  // rim light's last pixel.
  const int w = static_cast<int>(std::ceil(70 * scale)) + 4, h = static_cast<int>(std::ceil(62 * scale)) + 4;
  return ray::Render(s, w, h, w / 2.0f, h / 2.0f, 2);
}

Canvas ShipSelectFrame(int set, int frame) {
  // Turning once in 37 frames about the upright axis, seen a little from above, three
  // times the size of the game's frames.
  Scene s;
  if (set == 1)
    TonatorModel(s);
  else
    PhytonModel(s);
  s.Transform(ray::RotX(24) * ray::RotY(frame * 360.0f / 37));
  s.Scale(2.8f);
  return ray::Render(s, 224, 144, 112, 72, 2);
}

namespace {

// The orbit pod: a steel ball facing right. `open` 1 shows the armed pod with its barrel
// and three fins turned by `spin`; 0 the closed pod; `guard` 0..1 grows the guard spikes.
Canvas PodPicture(float spin, float open, float guard) {
  Scene s;
  int steel = s.Add(ray::Surface(0x9AA8C0, 0.7f, 40));
  int dark = s.Add(ray::Surface(0x353C4A, 0.4f, 20));
  Col core = Lerp(Lerp(Hex(0x404858), Hex(0xFF8A30), open), Hex(0x40E8FF), guard);
  Material lamp = ray::Lamp(0xFFFFFF);
  lamp.emit = Scale(core, 1.2f);
  int glow = s.Add(lamp);
  int finMat = s.Add(ray::Surface(0x5A78B8, 0.35f, 20));
  s.Sphere({0, 0, 0}, 10.0f, steel);
  s.Cylinder({-1.2f, 0, 0}, {1.2f, 0, 0}, 10.4f, finMat);  // the seam band
  s.Sphere({7.4f, 0, 0}, 4.2f * (0.6f + 0.4f * std::max(open, guard)), glow);
  if (open > 0.01f) {
    s.Cylinder({7, 0, 0}, {7 + 8 * open, 0, 0}, 2.0f, dark);
    for (int k = 0; k < 3; ++k) {
      float a = spin + k * 120.0f;
      s.PlateXY({{-7, 0}, {3, 0}, {-1, 5 * open + 0.5f}, {-7, 5 * open + 0.5f}}, 0, 1.8f, 0.5f, finMat);
      // Turn the fin just added about the long axis and push it out to the shell.
      ray::Piece& p = s.pieces.back();
      M3 r = ray::RotX(a);
      p.centre = r * (p.centre + V3{0, 8.5f, 0});
      p.toWorld = r * p.toWorld;
      p.toLocal = p.toLocal * ray::Transpose(r);
    }
  }
  if (guard > 0.01f) {
    for (int k = 0; k < 6; ++k) {
      float a = k * 60.0f + 30.0f;
      V3 dir = ray::RotZ(a) * V3{1, 0, 0};
      s.Ellipsoid(dir * (9.5f + 3 * guard), {4.5f * guard, 1.4f, 1.4f}, steel, ray::AlongX(dir));
    }
  }
  s.Transform(ray::RotX(20) * ray::RotY(-18));
  return ray::Render(s, 32, 32, 16, 16, 3);
}

}  // namespace

Canvas Pod(int n) {
  // 0..5 the armed pod turning; 6..10 closing on the way to 11, the pod without a
  // weapon; 12 on the way to 13, the guard pod.
  if (n <= 5) return PodPicture(n * 20.0f, 1.0f, 0);
  if (n <= 11) return PodPicture(n * 20.0f, 1.0f - (n - 5) / 6.0f, 0);
  if (n == 12) return PodPicture(0, 0, 0.5f);
  return PodPicture(0, 0, 1.0f);
}

Canvas Satellite(int level, int frame) {
  // Gyroscope rings round an empty middle, where the game puts its glowing core. The
  // knobs repeat every 120 degrees and the rings turn 120 / 7 degrees a frame, so the
  // seven frames the satellite runs through loop without a jump.
  static const uint32_t kTint[3] = {0xE05050, 0xB060E0, 0x5080F0};
  Scene s;
  int ringMat = s.Add(ray::Surface(kTint[level], 0.8f, 40));
  int knobMat = s.Add(ray::Surface(0xE8E8F0, 0.9f, 50));
  int lampMat = s.Add(ray::Lamp(kTint[level], 1.3f));
  const int rings = level + 1;
  const float turn = frame * 120.0f / 7.0f;
  static const float kTilt[3][2] = {{58, 10}, {-30, 62}, {35, -58}};
  s.Sphere({0, 0, 0}, 5.5f, ringMat);
  for (int k = 0; k < rings; ++k) {
    float radius = 24.0f - 3.0f * k;
    M3 orient = ray::RotY(kTilt[k][1]) * ray::RotX(kTilt[k][0]);
    M3 spin = ray::RotZ(turn * (k % 2 ? -1.0f : 1.0f) + k * 40.0f);
    const int segments = 28;
    for (int i = 0; i < segments; ++i) {
      float a0 = 2 * kPi * i / segments, a1 = 2 * kPi * (i + 1) / segments;
      V3 p0 = orient * (spin * V3{radius * std::cos(a0), radius * std::sin(a0), 0});
      V3 p1 = orient * (spin * V3{radius * std::cos(a1), radius * std::sin(a1), 0});
      s.Cylinder(p0, p1, 1.9f, ringMat);
      s.Sphere(p0, 1.9f, ringMat);
    }
    for (int j = 0; j < 3; ++j) {
      float a = 2 * kPi * j / 3;
      V3 p = orient * (spin * V3{radius * std::cos(a), radius * std::sin(a), 0});
      s.Sphere(p, 3.0f, knobMat);
      s.Sphere(p * (1.0f + 2.6f / radius), 1.5f, lampMat);
    }
  }
  if (level == 2) {
    for (int j = 0; j < 4; ++j) {
      V3 dir = ray::RotZ(turn * 0.5f + j * 90.0f + 45.0f) * V3{1, 0, 0};
      s.Ellipsoid(dir * 10.0f, {5, 1.2f, 1.2f}, knobMat, ray::AlongX(dir));
    }
  }
  ray::Light light;
  light.shadows = false;
  return ray::Render(s, 64, 64, 32, 32, 3, light);
}

Canvas DroneOrb(int frame) {
  // A yellow energy ball with arcs running round it; ten frames make one turn.
  Canvas c(32, 32);
  const float turn = frame * 2 * kPi / 10;
  c.Fill([turn](float x, float y) {
    float dx = x - 16, dy = y - 16, r = std::hypot(dx, dy);
    float ang = std::atan2(dy, dx);
    float core = std::exp(-r * r / 18.0f);
    float shell = std::exp(-std::pow((r - 9.5f) / 1.6f, 2.0f)) * (0.45f + 0.55f * std::pow(0.5f + 0.5f * std::cos(3 * (ang - turn)), 3.0f));
    float arcs = std::exp(-std::pow((r - 12.5f) / 1.0f, 2.0f)) * std::pow(0.5f + 0.5f * std::cos(2 * (ang + turn)), 8.0f);
    float v = Clamp01(core + shell + arcs);
    if (r > 15.0f) v = 0;
    // The colour stays bright; the alpha mate carries the fall-off.
    return Col{1.0f, Clamp01(0.85f + 0.15f * core), Clamp01(0.3f + core * 0.7f), v};
  });
  return c;
}

}  // namespace demo
