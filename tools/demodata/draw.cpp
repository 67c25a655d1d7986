#include "demodata/draw.hpp"

#include <algorithm>
#include <cmath>
#include <array>
#include <map>

namespace demo {
namespace {

// Rows of the 5 x 7 font, top first, bit 4 the leftmost column.
const std::map<char, std::array<uint8_t, 7>>& Font() {
  static const std::map<char, std::array<uint8_t, 7>> font = {
      {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
      {'D', {30, 17, 17, 17, 17, 17, 30}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
      {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}}, {'I', {14, 4, 4, 4, 4, 4, 14}},
      {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
      {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}},
      {'P', {30, 17, 17, 30, 16, 16, 16}}, {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
      {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},       {'U', {17, 17, 17, 17, 17, 17, 14}},
      {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
      {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},     {'0', {14, 17, 19, 21, 25, 17, 14}},
      {'1', {4, 12, 4, 4, 4, 4, 14}},      {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {30, 1, 1, 14, 1, 1, 30}},
      {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},   {'6', {6, 8, 16, 30, 17, 17, 14}},
      {'7', {31, 1, 2, 4, 8, 8, 8}},       {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
      {'.', {0, 0, 0, 0, 0, 12, 12}},      {'-', {0, 0, 0, 31, 0, 0, 0}},       {'!', {4, 4, 4, 4, 4, 0, 4}},
      {' ', {0, 0, 0, 0, 0, 0, 0}},
  };
  return font;
}

uint8_t Channel(uint32_t c, int shift) { return static_cast<uint8_t>((c >> shift) & 0xFF); }

}  // namespace

uint32_t Rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
  return (c(r) << 16) | (c(g) << 8) | c(b);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return Rgb(lerp(Channel(a, 16), Channel(b, 16)), lerp(Channel(a, 8), Channel(b, 8)), lerp(Channel(a, 0), Channel(b, 0)));
}

void FillRect(tools::Image& img, int x, int y, int w, int h, uint32_t colour) {
  for (int yy = std::max(0, y); yy < std::min(img.height, y + h); ++yy)
    for (int xx = std::max(0, x); xx < std::min(img.width, x + w); ++xx) img.at(xx, yy) = colour;
}

void VerticalGradient(tools::Image& img, uint32_t top, uint32_t bottom) {
  for (int y = 0; y < img.height; ++y) {
    uint32_t c = Mix(top, bottom, img.height > 1 ? static_cast<double>(y) / (img.height - 1) : 0.0);
    for (int x = 0; x < img.width; ++x) img.at(x, y) = c;
  }
}

void Glow(tools::Image& img, double cx, double cy, double radius, uint32_t colour) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
      if (d >= 1.0) continue;
      double t = (1.0 - d) * (1.0 - d);
      uint32_t glow = Mix(0, colour, t);
      uint32_t& p = img.at(x, y);
      p = Rgb(std::max(Channel(p, 16), Channel(glow, 16)), std::max(Channel(p, 8), Channel(glow, 8)),
              std::max(Channel(p, 0), Channel(glow, 0)));
    }
}

void Noise(tools::Image& img, uint32_t seed, int low, int high) {
  Random r(seed);
  for (uint32_t& p : img.pixels) {
    int v = low + static_cast<int>(r.Next() % static_cast<uint32_t>(high - low + 1));
    p = Rgb(v, v, v);
  }
}

void Stars(tools::Image& img, uint32_t seed, int count) {
  Random r(seed);
  for (int i = 0; i < count; ++i) {
    int x = static_cast<int>(r.Next() % static_cast<uint32_t>(img.width));
    int y = static_cast<int>(r.Next() % static_cast<uint32_t>(img.height));
    int v = 120 + static_cast<int>(r.Next() % 136);
    img.at(x, y) = Rgb(v, v, std::min(255, v + 30));
  }
}

int TextWidth(const std::string& text, int scale) { return static_cast<int>(text.size()) * 6 * scale - scale; }

void Text(tools::Image& img, int x, int y, const std::string& text, int scale, uint32_t colour) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto it = Font().find(text[i]);
    if (it == Font().end()) continue;
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (it->second[row] & (16 >> col))
          FillRect(img, x + static_cast<int>(i) * 6 * scale + col * scale, y + row * scale, scale, scale, colour);
  }
}

}  // namespace demo
