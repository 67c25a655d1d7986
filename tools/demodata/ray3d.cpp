#include "demodata/ray3d.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace demo::ray {

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Norm(V3 a) {
  float l = std::sqrt(Dot(a, a));
  return l > 0 ? a * (1.0f / l) : a;
}

V3 operator*(const M3& m, V3 v) { return {Dot(m.a, v), Dot(m.b, v), Dot(m.c, v)}; }
M3 Transpose(const M3& m) { return {{m.a.x, m.b.x, m.c.x}, {m.a.y, m.b.y, m.c.y}, {m.a.z, m.b.z, m.c.z}}; }
M3 operator*(const M3& m, const M3& n) {
  M3 t = Transpose(n);
  return {{Dot(m.a, t.a), Dot(m.a, t.b), Dot(m.a, t.c)},
          {Dot(m.b, t.a), Dot(m.b, t.b), Dot(m.b, t.c)},
          {Dot(m.c, t.a), Dot(m.c, t.b), Dot(m.c, t.c)}};
}

namespace {

constexpr float kPi = 3.14159265358979f;

M3 Columns(V3 x, V3 y, V3 z) { return Transpose(M3{x, y, z}); }
M3 Diag(V3 d) { return {{d.x, 0, 0}, {0, d.y, 0}, {0, 0, d.z}}; }

}  // namespace

M3 RotX(float deg) {
  float c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
  return {{1, 0, 0}, {0, c, -s}, {0, s, c}};
}
M3 RotY(float deg) {
  float c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
  return {{c, 0, s}, {0, 1, 0}, {-s, 0, c}};
}
M3 RotZ(float deg) {
  float c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
  return {{c, -s, 0}, {s, c, 0}, {0, 0, 1}};
}
M3 AlongX(V3 axis) {
  V3 x = Norm(axis);
  V3 up = std::fabs(x.y) < 0.9f ? V3{0, 1, 0} : V3{1, 0, 0};
  V3 z = Norm(Cross(x, up));
  V3 y = Cross(z, x);
  return Columns(x, y, z);
}

Material Surface(uint32_t rgb, float gloss, float shine) {
  Material m;
  m.colour = Hex(rgb);
  m.gloss = gloss;
  m.shine = shine;
  return m;
}

Material Lamp(uint32_t rgb, float strength) {
  Material m;
  m.colour = Hex(0x202020);
  m.emit = Scale(Hex(rgb), strength);
  m.gloss = 0.3f;
  return m;
}

Material Glass(uint32_t rgb) {
  Material m;
  m.colour = Scale(Hex(rgb), 0.5f);
  m.emit = Scale(Hex(rgb), 0.35f);
  m.gloss = 1.2f;
  m.shine = 60;
  m.rim = 0.9f;
  return m;
}

int Scene::Add(const Material& m) {
  materials.push_back(m);
  return static_cast<int>(materials.size()) - 1;
}

int Scene::Put(Base base, V3 c, V3 half, const M3& rot, int material) {
  Piece p;
  p.base = base;
  p.centre = c;
  p.toWorld = rot * Diag(half);
  p.toLocal = Diag({1 / half.x, 1 / half.y, 1 / half.z}) * Transpose(rot);
  p.material = material;
  pieces.push_back(p);
  return static_cast<int>(pieces.size()) - 1;
}

void Scene::Cut(int piece, V3 n, float d) {
  // In local units the frame's q is half * l; recover the half extents from toWorld's
  // column lengths (the rotation keeps them).
  const M3 cols = Transpose(pieces[static_cast<size_t>(piece)].toWorld);
  V3 half{std::sqrt(Dot(cols.a, cols.a)), std::sqrt(Dot(cols.b, cols.b)), std::sqrt(Dot(cols.c, cols.c))};
  pieces[static_cast<size_t>(piece)].cuts.push_back({{n.x * half.x, n.y * half.y, n.z * half.z}, d});
}

int Scene::Cylinder(V3 a, V3 b, float r, int material) {
  V3 axis = b - a;
  float len = std::sqrt(Dot(axis, axis));
  return Put(Base::Cylinder, (a + b) * 0.5f, {len / 2, r, r}, AlongX(axis), material);
}

namespace {

// The plate of the polygon `pts` (x, z) around the frame's origin, with its planes.
void PlatePlanes(Scene& s, int piece, const std::vector<std::pair<float, float>>& pts, float thick, float bevel) {
  float mx = 0, mz = 0;
  for (auto [x, z] : pts) {
    mx += x;
    mz += z;
  }
  mx /= static_cast<float>(pts.size());
  mz /= static_cast<float>(pts.size());
  for (size_t i = 0; i < pts.size(); ++i) {
    auto [x0, z0] = pts[i];
    auto [x1, z1] = pts[(i + 1) % pts.size()];
    V3 n = Norm({z1 - z0, 0, -(x1 - x0)});
    if (n.x * (mx - x0) + n.z * (mz - z0) > 0) n = n * -1.0f;
    V3 p{x0, 0, z0};
    s.Cut(piece, n, Dot(n, p));
    if (bevel > 0) {
      for (float side : {1.0f, -1.0f}) {
        V3 nb = Norm(n + V3{0, side, 0});
        V3 q = p - n * bevel + V3{0, side * thick / 2, 0};
        s.Cut(piece, nb, Dot(nb, q));
      }
    }
  }
}

std::pair<V3, V3> Bounds(const std::vector<std::pair<float, float>>& pts) {
  float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
  for (auto [x, z] : pts) {
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    z0 = std::min(z0, z);
    z1 = std::max(z1, z);
  }
  return {{(x0 + x1) / 2, 0, (z0 + z1) / 2}, {(x1 - x0) / 2 + 0.01f, 0, (z1 - z0) / 2 + 0.01f}};
}

std::vector<std::pair<float, float>> Centred(const std::vector<std::pair<float, float>>& pts, float cx, float cz) {
  std::vector<std::pair<float, float>> out;
  for (auto [x, z] : pts) out.emplace_back(x - cx, z - cz);
  return out;
}

}  // namespace

int Scene::PlateXZ(const std::vector<std::pair<float, float>>& pts, float y, float thick, float bevel, int material) {
  auto [c, half] = Bounds(pts);
  int p = Put(Base::Box, {c.x, y, c.z}, {half.x, thick / 2, half.z}, {}, material);
  PlatePlanes(*this, p, Centred(pts, c.x, c.z), thick, bevel);
  return p;
}

int Scene::PlateXY(const std::vector<std::pair<float, float>>& pts, float z, float thick, float bevel, int material) {
  // Upright: the frame's z runs down the model's y, its y along the model's z.
  std::vector<std::pair<float, float>> flipped;
  for (auto [x, y] : pts) flipped.emplace_back(x, -y);
  auto [c, half] = Bounds(flipped);
  int p = Put(Base::Box, {c.x, -c.z, z}, {half.x, thick / 2, half.z}, RotX(90), material);
  PlatePlanes(*this, p, Centred(flipped, c.x, c.z), thick, bevel);
  return p;
}

void Scene::Transform(const M3& rot, V3 move) {
  const M3 back = Transpose(rot);
  for (Piece& p : pieces) {
    p.centre = rot * p.centre + move;
    p.toWorld = rot * p.toWorld;
    p.toLocal = p.toLocal * back;
  }
}

void Scene::Scale(float k) {
  for (Piece& p : pieces) {
    p.centre = p.centre * k;
    p.toWorld = p.toWorld * Diag({k, k, k});
    p.toLocal = Diag({1 / k, 1 / k, 1 / k}) * p.toLocal;
  }
}

namespace {

struct Hit {
  float t = std::numeric_limits<float>::infinity();
  int piece = -1;
  V3 normal;
};

bool Clip(V3 n, float d, V3 o, V3 dir, float& tin, float& tout, V3& nin) {
  float denom = Dot(n, dir), num = d - Dot(n, o);
  if (std::fabs(denom) < 1e-9f) return num >= 0;
  float t = num / denom;
  if (denom < 0) {
    if (t > tin) {
      tin = t;
      nin = n;
    }
  } else if (t < tout) {
    tout = t;
  }
  return true;
}

bool Intersect(const Piece& p, V3 origin, V3 dir, float tmin, float& t, V3& normal) {
  V3 o = p.toLocal * (origin - p.centre), d = p.toLocal * dir;
  float tin = -std::numeric_limits<float>::infinity(), tout = std::numeric_limits<float>::infinity();
  V3 nin{0, 0, 1};
  if (p.base == Base::Sphere) {
    float a = Dot(d, d), b = Dot(o, d), c = Dot(o, o) - 1;
    float disc = b * b - a * c;
    if (disc < 0) return false;
    float sq = std::sqrt(disc);
    tin = (-b - sq) / a;
    tout = (-b + sq) / a;
    nin = o + d * tin;
  } else if (p.base == Base::Cylinder) {
    float a = d.y * d.y + d.z * d.z, b = o.y * d.y + o.z * d.z, c = o.y * o.y + o.z * o.z - 1;
    if (a < 1e-12f) {
      if (c > 0) return false;
    } else {
      float disc = b * b - a * c;
      if (disc < 0) return false;
      float sq = std::sqrt(disc);
      tin = (-b - sq) / a;
      tout = (-b + sq) / a;
      nin = {0, o.y + d.y * tin, o.z + d.z * tin};
    }
    if (!Clip({1, 0, 0}, 1, o, d, tin, tout, nin) || !Clip({-1, 0, 0}, 1, o, d, tin, tout, nin)) return false;
  } else {
    for (V3 n : {V3{1, 0, 0}, V3{-1, 0, 0}, V3{0, 1, 0}, V3{0, -1, 0}, V3{0, 0, 1}, V3{0, 0, -1}})
      if (!Clip(n, 1, o, d, tin, tout, nin)) return false;
  }
  for (const Plane& pl : p.cuts)
    if (!Clip(pl.n, pl.d, o, d, tin, tout, nin)) return false;
  if (tin > tout || tout <= tmin) return false;
  t = std::max(tin, tmin);
  normal = Norm(Transpose(p.toLocal) * nin);
  return true;
}

Col Shade(const Material& m, V3 n, float shadow, const Light& l) {
  const V3 view{0, 0, 1};
  float key = std::max(0.0f, Dot(n, l.key)) * shadow;
  float fill = std::max(0.0f, Dot(n, l.fill));
  V3 half = Norm(l.key + view);
  float highlight = m.gloss * std::pow(std::max(0.0f, Dot(n, half)), m.shine) * shadow;
  float rim = m.rim * std::pow(1.0f - std::max(0.0f, Dot(n, view)), 3.0f);
  auto ch = [&](float albedo, float kc, float fc, float ac, float rc, float e) {
    return albedo * (ac + kc * key + fc * fill) + highlight * kc + rim * rc + e;
  };
  return {ch(m.colour.r, l.keyColour.r, l.fillColour.r, l.ambient.r, l.rimColour.r, m.emit.r),
          ch(m.colour.g, l.keyColour.g, l.fillColour.g, l.ambient.g, l.rimColour.g, m.emit.g),
          ch(m.colour.b, l.keyColour.b, l.fillColour.b, l.ambient.b, l.rimColour.b, m.emit.b), 1};
}

void ScreenBounds(Piece& p, float cx, float cy) {
  p.bx0 = p.by0 = 1e9f;
  p.bx1 = p.by1 = -1e9f;
  for (int i = 0; i < 8; ++i) {
    V3 l{i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f};
    V3 w = p.toWorld * l + p.centre;
    p.bx0 = std::min(p.bx0, cx + w.x);
    p.bx1 = std::max(p.bx1, cx + w.x);
    p.by0 = std::min(p.by0, cy - w.y);
    p.by1 = std::max(p.by1, cy - w.y);
  }
}

}  // namespace

Canvas Render(Scene& scene, int w, int h, float cx, float cy, int ss, const Light& light) {
  for (Piece& p : scene.pieces) ScreenBounds(p, cx, cy);
  Canvas out(w, h);
  std::vector<int> near;
  const V3 down{0, 0, -1};
  const float inv = 1.0f / static_cast<float>(ss * ss);
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      near.clear();
      for (size_t i = 0; i < scene.pieces.size(); ++i) {
        const Piece& p = scene.pieces[i];
        if (p.bx1 >= px && p.bx0 <= px + 1 && p.by1 >= py && p.by0 <= py + 1) near.push_back(static_cast<int>(i));
      }
      if (near.empty()) continue;
      Col sum{0, 0, 0, 0};
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          V3 origin{px + (sx + 0.5f) / ss - cx, cy - (py + (sy + 0.5f) / ss), 1000.0f};
          Hit best;
          for (int i : near) {
            float t;
            V3 n;
            if (Intersect(scene.pieces[static_cast<size_t>(i)], origin, down, 0.0f, t, n) && t < best.t) {
              best.t = t;
              best.piece = i;
              best.normal = n;
            }
          }
          if (best.piece < 0) continue;
          V3 n = best.normal;
          if (Dot(n, V3{0, 0, 1}) < 0) n = n * -1.0f;
          float shadow = 1.0f;
          if (light.shadows) {
            V3 at = origin + down * best.t + n * 0.35f;
            for (size_t i = 0; i < scene.pieces.size() && shadow > 0.5f; ++i) {
              float t;
              V3 nn;
              if (static_cast<int>(i) != best.piece && Intersect(scene.pieces[i], at, light.key, 0.0f, t, nn))
                shadow = 0.35f;
            }
          }
          const Piece& p = scene.pieces[static_cast<size_t>(best.piece)];
          Col c = Shade(scene.materials[static_cast<size_t>(p.material)], n, shadow, light);
          sum.r += c.r;
          sum.g += c.g;
          sum.b += c.b;
          sum.a += 1;
        }
      if (sum.a <= 0) continue;
      Col& d = out.px[static_cast<size_t>(py) * w + px];
      d = {sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
    }
  return out;
}

}  // namespace demo::ray
