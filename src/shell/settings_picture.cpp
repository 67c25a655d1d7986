#include "shell/settings_picture.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/text.hpp"

using platform::Surface;

namespace {

struct Farbe {
  double r = 0, g = 0, b = 0;
};

Farbe operator+(Farbe a, Farbe b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Farbe operator*(Farbe a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Farbe Mischen(Farbe a, Farbe b, double t) { return a * (1 - t) + b * t; }

uint32_t Pixel(const Farbe& f) {
  auto k = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
  return platform::PackPixel(platform::PixelFormat::XRGB8888, k(f.r), k(f.g), k(f.b));
}

Farbe Lesen(const Surface& s, int32_t x, int32_t y) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(s.Format(), s.GetPixel(x, y), r, g, b, a);
  return {static_cast<double>(r), static_cast<double>(g), static_cast<double>(b)};
}

// The picture's own random numbers: the game's sequence is not touched, and the picture
// is the same on every start.
struct Zufall {
  uint32_t zustand = 0x2545F491u;
  double Naechste() {
    zustand = zustand * 1664525u + 1013904223u;
    return (zustand >> 8) / 16777216.0;
  }
};

// Coverage (0..1) of a text in one font, as a mask the size of the picture.
std::vector<double> Textmaske(int32_t w, int32_t h, const std::string& text, const std::string& schrift,
                              int32_t hoehe, int32_t gewicht, int32_t x, int32_t y) {
  std::vector<double> maske(static_cast<size_t>(w) * h, 0.0);
  platform::SurfacePtr s = Surface::Create(w, h, platform::PixelFormat::XRGB8888);
  if (!s) return maske;
  platform::HDC dc = 0;
  if (platform::GetDC(*s, dc) != platform::DD_OK) return maske;
  platform::HGdiObj font =
      platform::CreateFont(hoehe, 0, 0, 0, gewicht, 0, 0, 0, platform::ANSI_CHARSET, 0, 0, 0, 0, schrift);
  platform::HGdiObj alt = platform::SelectObject(dc, font);
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, 0xFFFFFF);
  platform::TextOut(dc, x, y, text, static_cast<int32_t>(text.size()));
  platform::SelectObject(dc, alt);
  platform::DeleteObject(font);
  platform::ReleaseDC(*s, dc);
  for (int32_t yy = 0; yy < h; ++yy)
    for (int32_t xx = 0; xx < w; ++xx) maske[static_cast<size_t>(yy) * w + xx] = Lesen(*s, xx, yy).g / 255.0;
  return maske;
}

int32_t Textbreite(const std::string& text, const std::string& schrift, int32_t hoehe, int32_t gewicht) {
  platform::SurfacePtr s = Surface::Create(1, 1, platform::PixelFormat::XRGB8888);
  platform::HDC dc = 0;
  if (!s || platform::GetDC(*s, dc) != platform::DD_OK) return 0;
  platform::HGdiObj font =
      platform::CreateFont(hoehe, 0, 0, 0, gewicht, 0, 0, 0, platform::ANSI_CHARSET, 0, 0, 0, 0, schrift);
  platform::HGdiObj alt = platform::SelectObject(dc, font);
  platform::TextSize size;
  platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(text.size()), size);
  platform::SelectObject(dc, alt);
  platform::DeleteObject(font);
  platform::ReleaseDC(*s, dc);
  return size.cx;
}

// A soft halo: the mask spread out by two box blurs.
std::vector<double> Weichzeichnen(const std::vector<double>& maske, int32_t w, int32_t h, int32_t radius) {
  std::vector<double> a = maske, b(maske.size());
  for (int durchgang = 0; durchgang < 2; ++durchgang) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        double summe = 0;
        for (int32_t k = -radius; k <= radius; ++k) summe += a[static_cast<size_t>(y) * w + std::clamp(x + k, 0, w - 1)];
        b[static_cast<size_t>(y) * w + x] = summe / (2 * radius + 1);
      }
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        double summe = 0;
        for (int32_t k = -radius; k <= radius; ++k) summe += b[static_cast<size_t>(std::clamp(y + k, 0, h - 1)) * w + x];
        a[static_cast<size_t>(y) * w + x] = summe / (2 * radius + 1);
      }
  }
  return a;
}

void Himmel(Surface& s) {
  const int32_t w = s.Width(), h = s.Height();
  struct Nebel {
    double x, y, r;
    Farbe farbe;
  };
  const Nebel nebel[] = {{0.28 * w, 0.30 * h, 0.22 * w, {70, 20, 110}},
                         {0.62 * w, 0.72 * h, 0.18 * w, {10, 70, 110}},
                         {0.10 * w, 0.85 * h, 0.14 * w, {90, 20, 70}},
                         {0.80 * w, 0.18 * h, 0.12 * w, {30, 30, 100}}};
  for (int32_t y = 0; y < h; ++y) {
    const double t = static_cast<double>(y) / std::max(1, h - 1);
    const Farbe grund = Mischen({3, 3, 16}, {26, 10, 48}, t * t);
    for (int32_t x = 0; x < w; ++x) {
      Farbe f = grund;
      for (const Nebel& n : nebel) {
        const double dx = x - n.x, dy = (y - n.y) * 1.6;
        f = f + n.farbe * (0.55 * std::exp(-(dx * dx + dy * dy) / (2 * n.r * n.r)));
      }
      s.SetPixel(x, y, Pixel(f));
    }
  }
  Zufall z;
  const int32_t sterne = w * h / 260;
  for (int32_t i = 0; i < sterne; ++i) {
    const int32_t x = static_cast<int32_t>(z.Naechste() * w), y = static_cast<int32_t>(z.Naechste() * h);
    const double hell = 60 + 195 * std::pow(z.Naechste(), 2.2);
    const double ton = z.Naechste();
    const Farbe stern = Mischen({hell * 0.8, hell * 0.9, hell}, {hell, hell * 0.92, hell * 0.75}, ton);
    auto setze = [&](int32_t px, int32_t py, double k) {
      if (px < 0 || py < 0 || px >= w || py >= h) return;
      Farbe alt = Lesen(s, px, py);
      s.SetPixel(px, py, Pixel({std::max(alt.r, stern.r * k), std::max(alt.g, stern.g * k), std::max(alt.b, stern.b * k)}));
    };
    setze(x, y, 1.0);
    if (i % 23 == 0) {
      for (int32_t k = 1; k <= 3; ++k) {
        const double abfall = 0.7 / k;
        setze(x - k, y, abfall);
        setze(x + k, y, abfall);
        setze(x, y - k, abfall);
        setze(x, y + k, abfall);
      }
    }
  }
}

// A planet rising at the lower right, lit from the upper left, with a thin bright air rim.
void Planet(Surface& s) {
  const int32_t w = s.Width(), h = s.Height();
  const double cx = 0.86 * w, cy = 1.38 * h, r = 0.95 * h;
  const double lx = -0.62, ly = -0.72, lz = 0.31;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r + 10) continue;
      Farbe f = Lesen(s, x, y);
      if (d < r + 0.5) {
        const double nx = dx / r, ny = dy / r, nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
        const double licht = std::max(0.0, nx * lx + ny * ly + nz * lz);
        const double band = 0.82 + 0.18 * std::sin(ny * 26 + nx * 4);
        const Farbe boden = Farbe{22, 52, 84} * ((0.12 + 0.88 * licht) * band);
        const double deckung = std::clamp(r + 0.5 - d, 0.0, 1.0);
        f = Mischen(f, boden, deckung);
      }
      const double rand = std::abs(d - r);
      if (rand < 10) {
        const double lage = std::max(0.0, (-dx * 0.62 - dy * 0.72) / d);
        const double glanz = std::pow(1 - rand / 10, 2.5) * (0.25 + 0.75 * lage);
        f = f + Farbe{90, 190, 255} * glanz;
      }
      s.SetPixel(x, y, Pixel(f));
    }
  }
}

void Titel(Surface& s, const std::string& version) {
  const int32_t w = s.Width(), h = s.Height();
  const std::string name = "HARVO";
  const int32_t hoehe = h * 9 / 20;
  const int32_t breite = Textbreite(name, "Orbit-B BT", hoehe, platform::FW_BOLD);
  const int32_t tx = std::max(8, (w * 2 / 5) - breite / 2), ty = h / 7;
  const std::vector<double> maske = Textmaske(w, h, name, "Orbit-B BT", hoehe, platform::FW_BOLD, tx, ty);
  const std::vector<double> schein = Weichzeichnen(maske, w, h, 4);
  const std::vector<double> schatten = Textmaske(w, h, name, "Orbit-B BT", hoehe, platform::FW_BOLD, tx + 3, ty + 4);
  for (int32_t y = 0; y < h; ++y) {
    const double t = std::clamp(static_cast<double>(y - ty) / std::max(1, hoehe), 0.0, 1.0);
    const Farbe schrift = Mischen({235, 250, 255}, {70, 170, 235}, t);
    for (int32_t x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      if (maske[i] == 0 && schein[i] < 0.004 && schatten[i] == 0) continue;
      Farbe f = Lesen(s, x, y);
      f = f * (1 - 0.6 * schatten[i]);
      f = f + Farbe{30, 120, 200} * std::min(1.0, schein[i] * 1.6);
      f = Mischen(f, schrift, maske[i]);
      s.SetPixel(x, y, Pixel(f));
    }
  }
  const int32_t klein = std::max(10, h / 10);
  const int32_t vb = Textbreite(version, "Arial", klein, platform::FW_BOLD);
  const std::vector<double> vmaske =
      Textmaske(w, h, version, "Arial", klein, platform::FW_BOLD, tx + breite - vb, ty + hoehe + 2);
  for (size_t i = 0; i < vmaske.size(); ++i) {
    if (vmaske[i] == 0) continue;
    const int32_t x = static_cast<int32_t>(i % w), y = static_cast<int32_t>(i / w);
    s.SetPixel(x, y, Pixel(Mischen(Lesen(s, x, y), {150, 215, 240}, vmaske[i])));
  }
}

}  // namespace

platform::SurfacePtr StartbildZeichnen(int32_t Breite, int32_t Hoehe, const std::string& Version) {
  platform::SurfacePtr s = Surface::Create(Breite, Hoehe, platform::PixelFormat::XRGB8888);
  if (!s) return s;
  Himmel(*s);
  Planet(*s);
  Titel(*s, Version);
  return s;
}

platform::SurfacePtr OptionsflaecheZeichnen(int32_t Breite, int32_t Hoehe) {
  platform::SurfacePtr s = Surface::Create(Breite, Hoehe, platform::PixelFormat::XRGB8888);
  if (!s) return s;
  for (int32_t y = 0; y < Hoehe; ++y) {
    const double t = static_cast<double>(y) / std::max(1, Hoehe - 1);
    Farbe f = Mischen({10, 28, 18}, {2, 8, 5}, t);
    if (y % 3 == 2) f = f * 0.75;  // the fine lines of a console screen
    if (y == 0) f = {0, 128, 0};
    if (y == 1) f = {0, 40, 0};
    const uint32_t p = Pixel(f);
    for (int32_t x = 0; x < Breite; ++x) s->SetPixel(x, y, p);
  }
  return s;
}
