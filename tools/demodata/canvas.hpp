#pragma once
// The drawing kit of the demo pictures: a floating-point RGBA picture with anti-aliased
// shapes given by signed distances, gradients, noise, blur and text. Everything is
// deterministic: the same calls give the same bytes on every build.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "lib/media_writer.hpp"

namespace demo {

// A colour with alpha, straight (not premultiplied), each part 0..1.
struct Col {
  float r = 0, g = 0, b = 0, a = 0;
};
Col Hex(uint32_t rgb, float a = 1.0f);
Col Lerp(const Col& x, const Col& y, float t);
Col Scale(const Col& c, float k);  // colour times k, alpha kept
Col WithAlpha(const Col& c, float a);
float Clamp01(float v);
float Smooth(float e0, float e1, float x);  // smoothstep

enum class Blend { Over, Add, Replace };

// Signed distance in pixels (negative inside) and paint by position and that distance.
using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Col(float x, float y, float d)>;
Paint Solid(const Col& c);

// A grey coverage map: text, masks and glows.
struct Mask {
  int w = 0, h = 0;
  std::vector<float> v;
  Mask(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height, 0.0f) {}
  float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
  float at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
  float Sample(float x, float y) const;  // bilinear, 0 outside
  void Blur(float radius);               // three box passes, about a Gaussian
  Mask Dilated(float radius) const;      // the coverage spread by `radius` pixels (outlines)
};

class Canvas {
 public:
  Canvas(int width, int height);
  int w, h;
  std::vector<Col> px;  // premultiplied

  Col Get(int x, int y) const;  // straight colour
  void Put(int x, int y, const Col& c, Blend mode);

  // A shape inside the box (x0, y0)-(x1, y1); pixel centres at half-pixel positions.
  void Shape(float x0, float y0, float x1, float y1, const Sdf& sdf, const Paint& paint, Blend mode = Blend::Over);
  // Every pixel (gradients, noise fields).
  void Fill(const std::function<Col(float x, float y)>& paint, Blend mode = Blend::Over);
  // A mask placed with its top-left at (dx, dy), coloured by the paint.
  void Stamp(const Mask& m, int dx, int dy, const Paint& paint, Blend mode = Blend::Over);
  // Another canvas drawn over this one at (dx, dy).
  void Draw(const Canvas& c, int dx, int dy, Blend mode = Blend::Over, float alpha = 1.0f);
  void Blur(float radius);
  Mask Alpha() const;
};

// Distances.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdEllipse(float x, float y, float cx, float cy, float rx, float ry);  // close to exact near the rim
float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius = 0);
float SdSegment(float x, float y, float ax, float ay, float bx, float by);
float SdPolygon(float x, float y, const std::vector<std::pair<float, float>>& pts);

// Hash noise in 0..1, smooth value noise and fractal sums; the periodic forms wrap every
// `period` units so tiles join without seams.
float Hash(int x, int y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
float Fbm(float x, float y, int octaves, uint32_t seed, int period = 0);

// Text in the game's Liberation fonts (UTF-8, so Cyrillic too), as a mask with the text's
// top-left at (x, y) and an em of `em` pixels; bold or regular. Without fonts the blocky
// builder font stands in.
Mask TextMask(int w, int h, float x, float y, const std::string& text, int em, bool bold);
// Width in pixels of `text` at `em`.
int TextWidth(const std::string& text, int em, bool bold);
// Ascent and cap height in pixels of the font at `em` (for placing text in a box).
int TextCapHeight(int em, bool bold);

// Bold text centred on (cx, cy) (the middle of its capitals), painted from `top` to
// `bottom` down its capitals, with an outline `outlineRadius` wide (none at 0).
void Lettering(Canvas& c, float cx, float cy, const std::string& text, int em, Col top, Col bottom, Col outline,
               float outlineRadius);

// Output. Keyed: over black, and every pixel that is meant to show is kept off black
// (also after the game's 16-bit conversion), since black is the transparent key.
tools::Image Keyed(const Canvas& c);
// Over black as it is (textures without colour key).
tools::Image Flat(const Canvas& c);
// A texture and its alpha mate ("...A.bmp": alpha in the blue channel): the colour is
// spread into the transparent parts so that filtering does not darken the edges.
std::pair<tools::Image, tools::Image> WithMate(const Canvas& c);

}  // namespace demo
