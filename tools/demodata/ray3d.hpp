#pragma once
// A small ray caster for the demo sprites that turn (ships, pods, the satellite): models
// built from convex pieces (spheres, cylinders and boxes, each scaled, turned and cut by
// planes) seen straight from the front in orthographic view, lit by a key light with
// shadows, a fill light and a rim light, anti-aliased by supersampling.
#include <cstdint>
#include <utility>
#include <vector>

#include "demodata/canvas.hpp"

namespace demo::ray {

struct V3 {
  float x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b);
V3 operator-(V3 a, V3 b);
V3 operator*(V3 a, float k);
float Dot(V3 a, V3 b);
V3 Cross(V3 a, V3 b);
V3 Norm(V3 a);

// Rows of a 3 x 3 matrix.
struct M3 {
  V3 a{1, 0, 0}, b{0, 1, 0}, c{0, 0, 1};
};
V3 operator*(const M3& m, V3 v);
M3 operator*(const M3& m, const M3& n);
M3 Transpose(const M3& m);
M3 RotX(float deg);
M3 RotY(float deg);
M3 RotZ(float deg);
// A frame whose x axis points along `axis`.
M3 AlongX(V3 axis);

struct Material {
  Col colour;               // albedo
  float gloss = 0.4f;       // highlight strength
  float shine = 24.0f;      // highlight sharpness
  float rim = 0.6f;         // rim light strength
  Col emit{0, 0, 0, 0};     // light of its own (engines, lamps, glass)
};

// A painted or metal surface, a lamp that shines by its own light, and tinted glass
// (canopies) that glows a little and shines.
Material Surface(uint32_t rgb, float gloss = 0.5f, float shine = 30);
Material Lamp(uint32_t rgb, float strength = 1.0f);
Material Glass(uint32_t rgb);

enum class Base { Sphere, Cylinder, Box };

// A plane n . p <= d in a piece's unit frame.
struct Plane {
  V3 n;
  float d;
};

struct Piece {
  Base base = Base::Sphere;
  M3 toLocal, toWorld;  // world = toWorld * local + centre
  V3 centre;
  std::vector<Plane> cuts;
  int material = 0;
  float bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;  // screen bounds, set by Prepare
};

class Scene {
 public:
  std::vector<Material> materials;
  std::vector<Piece> pieces;

  int Add(const Material& m);
  // A piece of base shape scaled by `half` (half extents), turned by `rot` about its
  // centre `c`; returns its index so that cuts can be added.
  int Put(Base base, V3 c, V3 half, const M3& rot, int material);
  // Cut a piece by the plane n . q <= d, q in the piece's turned but unscaled frame.
  void Cut(int piece, V3 n, float d);
  int Sphere(V3 c, float r, int material) { return Put(Base::Sphere, c, {r, r, r}, {}, material); }
  int Ellipsoid(V3 c, V3 radii, int material, const M3& rot = {}) { return Put(Base::Sphere, c, radii, rot, material); }
  int Box(V3 c, V3 half, int material, const M3& rot = {}) { return Put(Base::Box, c, half, rot, material); }
  // A cylinder from a to b of radius r.
  int Cylinder(V3 a, V3 b, float r, int material);
  // A flat plate: the convex polygon `pts` (x, z) at height y, `thick` high, with its
  // edges chamfered by `bevel` (a wing seen from above).
  int PlateXZ(const std::vector<std::pair<float, float>>& pts, float y, float thick, float bevel, int material);
  // The same standing upright: polygon (x, y) at depth z, `thick` deep (a fin).
  int PlateXY(const std::vector<std::pair<float, float>>& pts, float z, float thick, float bevel, int material);
  // Turns and moves the whole model (after it was built).
  void Transform(const M3& rot, V3 move = {});
  // Makes the whole model `k` times as large about the origin.
  void Scale(float k);
};

struct Light {
  V3 key = Norm({-0.45f, 0.75f, 0.55f});
  Col keyColour{1.0f, 0.97f, 0.9f, 1};
  V3 fill = Norm({0.5f, -0.6f, 0.4f});
  Col fillColour{0.25f, 0.3f, 0.45f, 1};
  Col ambient{0.16f, 0.16f, 0.2f, 1};
  Col rimColour{0.55f, 0.7f, 1.0f, 1};
  bool shadows = true;
};

// The scene seen through a w x h picture whose pixel (cx, cy) is the world origin, one
// world unit per pixel, y up; `ss` x `ss` samples per pixel.
Canvas Render(Scene& scene, int w, int h, float cx, float cy, int ss, const Light& light = {});

}  // namespace demo::ray
