#pragma once
// Drawing by code for the demo pictures: everything here is deterministic, so the same
// bytes come out of every build.
#include <cstdint>
#include <string>

#include "lib/media_writer.hpp"

namespace demo {

uint32_t Rgb(int r, int g, int b);
// Linear blend of two colours, t from 0 to 1.
uint32_t Mix(uint32_t a, uint32_t b, double t);

void FillRect(tools::Image& img, int x, int y, int w, int h, uint32_t colour);
// Vertical gradient from `top` to `bottom`.
void VerticalGradient(tools::Image& img, uint32_t top, uint32_t bottom);
// A round glow: `colour` at the centre fading to black at `radius`.
void Glow(tools::Image& img, double cx, double cy, double radius, uint32_t colour);
// Grey noise from a fixed seed.
void Noise(tools::Image& img, uint32_t seed, int low, int high);
// Sparse stars on what is there.
void Stars(tools::Image& img, uint32_t seed, int count);
// Text in a blocky 5 x 7 font (capital letters, digits and a few signs), each font pixel
// drawn as a `scale` x `scale` square.
void Text(tools::Image& img, int x, int y, const std::string& text, int scale, uint32_t colour);
int TextWidth(const std::string& text, int scale);

// The fixed random sequence of the builder.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  double Unit() { return (Next() & 0xFFFFFF) / 16777216.0; }

 private:
  uint32_t state_;
};

}  // namespace demo
