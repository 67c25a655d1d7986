// The scenes of the demo videos. Each is made of layers drawn once (the levels' own sky,
// rocks and caverns, a star field, the home world) that slide past at their own speeds,
// the ray-cast ship with the flame of its engine, and its words, each line a picture of
// its own that fades in over a soft dark band.
#include "demodata/video_scenes.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "demodata/draw.hpp"
#include "demodata/epilog.hpp"
#include "demodata/level1.hpp"
#include "demodata/level2.hpp"
#include "demodata/pictures.hpp"
#include "demodata/synth.hpp"

namespace demo {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kW = kFilmBreite, kH = kFilmHoehe;
// The rows of the world between the bars.
constexpr int kOben = kBalken, kUnten = kFilmHoehe - kBalken, kBildHoehe = kUnten - kOben;

float F(double t) { return static_cast<float>(t); }

// ---- Laying pictures into the frame ----------------------------------------------------

// `q` over the frame with its top-left at (x, y), `staerke` times as strong and its
// colour times `farbe`.
void Lege(Canvas& z, const Canvas& q, int x, int y, float staerke = 1, Col farbe = {1, 1, 1, 1}) {
  const int x0 = std::max(0, x), x1 = std::min(z.w, x + q.w);
  const int y0 = std::max(0, y), y1 = std::min(z.h, y + q.h);
  const float r = farbe.r * staerke, g = farbe.g * staerke, b = farbe.b * staerke;
  for (int yy = y0; yy < y1; ++yy) {
    const Col* s = q.px.data() + static_cast<size_t>(yy - y) * q.w + (x0 - x);
    Col* d = z.px.data() + static_cast<size_t>(yy) * z.w + x0;
    for (int xx = x0; xx < x1; ++xx, ++s, ++d) {
      if (s->a <= 0) continue;
      const float rest = 1 - s->a * staerke;
      d->r = s->r * r + d->r * rest;
      d->g = s->g * g + d->g * rest;
      d->b = s->b * b + d->b * rest;
    }
  }
}

// A picture that joins its own start, laid again and again across the frame, moved left
// by `versatz` pixels.
void Kachel(Canvas& z, const Canvas& q, double versatz, int y, Col farbe = {1, 1, 1, 1}) {
  int x = -static_cast<int>(std::lround(versatz) % q.w);
  for (; x < z.w; x += q.w) Lege(z, q, x, y, 1, farbe);
}

// `q` at `k` times its size with its middle at (cx, cy), sampled between its pixels.
void LegeSkaliert(Canvas& z, const Canvas& q, float cx, float cy, float k, float staerke = 1, bool dazu = false) {
  const float bw = q.w * k, bh = q.h * k, links = cx - bw / 2, oben = cy - bh / 2;
  const int x0 = std::max(0, static_cast<int>(std::floor(links))),
            x1 = std::min(z.w, static_cast<int>(std::ceil(links + bw)));
  const int y0 = std::max(0, static_cast<int>(std::floor(oben))),
            y1 = std::min(z.h, static_cast<int>(std::ceil(oben + bh)));
  auto at = [&q](int x, int y) {
    return x < 0 || y < 0 || x >= q.w || y >= q.h ? Col{} : q.px[static_cast<size_t>(y) * q.w + x];
  };
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const float u = (x + 0.5f - links) / k - 0.5f, v = (y + 0.5f - oben) / k - 0.5f;
      const int iu = static_cast<int>(std::floor(u)), iv = static_cast<int>(std::floor(v));
      const float fu = u - iu, fv = v - iv;
      const Col a = Lerp(at(iu, iv), at(iu + 1, iv), fu), b = Lerp(at(iu, iv + 1), at(iu + 1, iv + 1), fu);
      const Col s = Lerp(a, b, fv);
      if (s.a <= 0) continue;
      Col& d = z.px[static_cast<size_t>(y) * z.w + x];
      const float rest = dazu ? 1.0f : 1 - s.a * staerke;
      d = {s.r * staerke + d.r * rest, s.g * staerke + d.g * rest, s.b * staerke + d.b * rest, 1};
    }
}

// A round light added about (cx, cy): `farbe` times `staerke` in its middle, none at `r`.
void Licht(Canvas& z, float cx, float cy, float r, Col farbe, float staerke) {
  if (r <= 0.5f || staerke <= 0) return;
  const int x0 = std::max(0, static_cast<int>(cx - r)), x1 = std::min(z.w, static_cast<int>(cx + r) + 1);
  const int y0 = std::max(0, static_cast<int>(cy - r)), y1 = std::min(z.h, static_cast<int>(cy + r) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
      if (d >= 1) continue;
      const float k = (1 - d) * (1 - d) * staerke;
      Col& p = z.px[static_cast<size_t>(y) * z.w + x];
      p.r += farbe.r * k;
      p.g += farbe.g * k;
      p.b += farbe.b * k;
    }
}

// ---- The ship ----------------------------------------------------------------------------

// How far behind the ship's middle its engine's nozzle sits, in units of its size in play.
constexpr float kDuese = 31;

// The player's ship, ray-cast at the roll, pitch and size each picture asks for. Close
// values share a rendering (two degrees, a quarter of an octave in size), scaled to the
// size wanted, so a scene renders the ship a few dozen times, not once a picture.
class Schiff {
 public:
  explicit Schiff(int typ) : typ_(typ) {}

  // The ship with its middle at (x, y), `groesse` times its size in play; `schub` 0..1
  // the flame of its engine.
  void Zeichne(Canvas& z, float x, float y, float roll, float pitch, float groesse, float schub, int bild) {
    const int r = static_cast<int>(std::lround(roll / 2)), p = static_cast<int>(std::lround(pitch / 2));
    const int stufe = static_cast<int>(std::ceil(std::log2(groesse) * 4 - 1e-4));
    const float gerendert = std::exp2(stufe / 4.0f);
    auto [it, neu] = bilder_.try_emplace({r, p, stufe}, Canvas(1, 1));
    if (neu) it->second = ShipInFlight(typ_, r * 2.0f, p * 2.0f, gerendert);
    // The flame sits behind the engine's nozzle.
    const float a = pitch * kPi / 180, ex = x - kDuese * groesse * std::cos(a), ey = y + kDuese * groesse * std::sin(a);
    const float flackern = 0.85f + 0.15f * Hash(bild, typ_, 17);
    Licht(z, ex, ey, 30 * groesse * (0.6f + 0.6f * schub), Hex(0x3A70FF), 0.5f * flackern);
    LegeSkaliert(z, it->second, x, y, groesse / gerendert);
    for (int k = 0; k < 4; ++k) {
      const float weg = (2 + k * 5) * groesse * (0.5f + schub);
      Licht(z, ex - weg * std::cos(a), ey + weg * std::sin(a), (9 - k * 1.5f) * groesse * (0.5f + 0.5f * schub),
            Lerp(Hex(0xFFFFFF), Hex(0x5A90FF), k / 3.0f), 0.9f * flackern * (1 - k * 0.2f));
    }
  }

 private:
  int typ_;
  std::map<std::tuple<int, int, int>, Canvas> bilder_;
};

// A glowing wake: the lights the engine left behind, drifting back with the air.
// `ort(t)` is where the nozzle was at t; `wind` pixels a second it drifts left.
template <class Ort>
void Spur(Canvas& z, double t, Ort ort, float wind, float groesse, Col farbe) {
  for (int k = 1; k <= 10; ++k) {
    const double vorher = t - k * 0.035;
    if (vorher < 0) break;
    const auto [x, y] = ort(vorher);
    const float alter = k / 10.0f;
    Licht(z, x - wind * F(t - vorher), y, groesse * (6 + 10 * alter), farbe, 0.35f * (1 - alter));
  }
}

// ---- Words -------------------------------------------------------------------------------

// One line of words as a picture of its own, as wide as the frame: bold letters in two
// tones with a dark outline, over a soft dark band that keeps them readable wherever they
// stand. A line too long for the frame gets smaller letters.
Canvas Zeile(const std::string& text, int em, Col oben, Col unten) {
  while (em > 12 && TextWidth(text, em, true) > kW - 60) --em;
  const int h = em * 2 + 12;
  Canvas c(kW, h);
  const float halb = TextWidth(text, em, true) / 2.0f + em * 0.6f;
  c.Fill([&](float x, float y) {
    const float dx = std::max(0.0f, std::fabs(x - kW / 2.0f) - halb) / em, dy = (y - h / 2.0f) / (h / 2.0f);
    return Col{0, 0, 0, 0.5f * std::exp(-dx * dx * 1.5f) * std::max(0.0f, 1 - dy * dy)};
  });
  Lettering(c, kW / 2.0f, h / 2.0f - em * 0.1f, text, em, oben, unten, Hex(0x060608), std::max(1.5f, em / 16.0f));
  return c;
}

// A line of the words: its letters, the height of its middle, when it fades in, its
// colours, and its text in German, English and Russian (the same in all three for a
// name, or one text in each of them for a video that is the same in every language).
struct Satz {
  Satz(int em, float y, float ab, Col oben, Col unten, const char* d, const char* e, const char* r)
      : em(em), y(y), ab(ab), oben(oben), unten(unten), text{d, e, r} {}
  int em;
  float y, ab;
  Col oben, unten;
  std::array<const char*, 3> text;
};

// The words of a scene: each line a picture of its own per language, laid over the world
// as it fades in, rising a little into its place. With `jedeSprache` every text of a line
// shows in the video of every language.
std::function<void(double, const std::string&, Canvas&)> Worte(const std::vector<Satz>& saetze,
                                                               bool jedeSprache = false) {
  struct Eintrag {
    Canvas bild;
    float y, ab;
  };
  auto zeilen = std::make_shared<std::map<std::string, std::vector<Eintrag>>>();
  const char* const kSprachen[3] = {"D", "E", "R"};
  for (const Satz& z : saetze)
    for (size_t i = 0; i < 3; ++i) {
      if (*z.text[i] == 0) continue;
      Canvas bild = Zeile(z.text[i], z.em, z.oben, z.unten);
      // In every language's video the three stand one under the other, fading in in turn.
      if (jedeSprache)
        (*zeilen)[""].push_back({std::move(bild), z.y + i * z.em * 1.35f, z.ab + i * 0.2f});
      else
        (*zeilen)[kSprachen[i]].push_back({std::move(bild), z.y, z.ab});
    }
  return [zeilen](double t, const std::string& sprache, Canvas& bild) {
    auto it = zeilen->find(sprache);
    if (it == zeilen->end()) return;
    for (const Eintrag& e : it->second) {
      const float k = Smooth(e.ab, e.ab + 0.6f, F(t));
      if (k > 0) Lege(bild, e.bild, 0, static_cast<int>(std::lround(e.y - e.bild.h / 2.0f + 10 * (1 - k))), k);
    }
  };
}

// The story's colours: warm gold for the titles, pale for the lines under them.
const Col kGoldOben = Hex(0xFFF4C8), kGoldUnten = Hex(0xF0A030);
const Col kHellOben = Hex(0xFFFFFF), kHellUnten = Hex(0xB8D0F0);

// ---- Layers ------------------------------------------------------------------------------

// Rocks along a strip that joins its own start, each standing on the bottom of the
// picture between the bars or hanging from its top.
struct Fels {
  int x, w, h;
  bool haengt;
};

Canvas Streifen(int breite, const std::vector<Fels>& felsen, const std::function<Canvas(const Fels&, uint32_t)>& mache,
                uint32_t seed) {
  Canvas c(breite, kBildHoehe);
  for (size_t i = 0; i < felsen.size(); ++i) {
    const Fels& f = felsen[i];
    const Canvas r = mache(f, seed + static_cast<uint32_t>(i));
    const int y = f.haengt ? 0 : kBildHoehe - r.h;
    c.Draw(r, f.x, y);
    if (f.x + r.w > breite) c.Draw(r, f.x - breite, y);
  }
  return c;
}

// Smeared along the strip by `laenge` pixels, as a camera sees what rushes past it; the
// strip joins its own start, so the smear runs on across its ends.
void Verwischen(Canvas& c, int laenge) {
  const int r = laenge / 4;
  if (r < 1) return;
  std::vector<Col> zeile(static_cast<size_t>(c.w));
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < c.h; ++y) {
      Col* p = c.px.data() + static_cast<size_t>(y) * c.w;
      Col summe{};
      auto dazu = [](Col& s, const Col& q, float k) {
        s = {s.r + q.r * k, s.g + q.g * k, s.b + q.b * k, s.a + q.a * k};
      };
      for (int i = -r; i <= r; ++i) dazu(summe, p[(i + c.w) % c.w], 1);
      for (int x = 0; x < c.w; ++x) {
        const float n = 1.0f / (2 * r + 1);
        zeile[static_cast<size_t>(x)] = {summe.r * n, summe.g * n, summe.b * n, summe.a * n};
        dazu(summe, p[(x - r + c.w) % c.w], -1);
        dazu(summe, p[(x + r + 1) % c.w], 1);
      }
      std::copy(zeile.begin(), zeile.end(), p);
    }
}

// Out of focus by `radius` pixels; the picture joins its own start, and so does the blur.
void Weich(Canvas& c, float radius) {
  const int rand = static_cast<int>(std::ceil(radius * 4));
  Canvas breit(c.w + 2 * rand, c.h);
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < breit.w; ++x)
      breit.px[static_cast<size_t>(y) * breit.w + x] = c.px[static_cast<size_t>(y) * c.w + (x - rand + c.w) % c.w];
  breit.Blur(radius);
  for (int y = 0; y < c.h; ++y)
    std::copy_n(breit.px.begin() + static_cast<long>(y) * breit.w + rand, c.w,
                c.px.begin() + static_cast<long>(y) * c.w);
}

// The far and the near rocks of a level, each along a strip of its own: the far ones a
// little out of focus, which the eye takes for depth, and each strip smeared by about as
// far as it moves in a picture of the videos (`fernWeg`, `nahWeg` pixels).
using Felsmaler = Canvas (*)(int w, int h, bool haengt, bool fern, uint32_t seed);
struct Felsen {
  Canvas fern, nah;
};

Felsen Felsreihen(Felsmaler fels, const std::vector<Fels>& fern, const std::vector<Fels>& nah, uint32_t seed,
                  int fernWeg, int nahWeg) {
  Felsen f{
      Streifen(
          1600, fern, [fels](const Fels& r, uint32_t s) { return fels(r.w, r.h, r.haengt, true, s); }, seed),
      Streifen(
          2000, nah, [fels](const Fels& r, uint32_t s) { return fels(r.w, r.h, r.haengt, false, s); }, seed + 100)};
  Weich(f.fern, 1.2f);
  Verwischen(f.fern, fernWeg);
  Verwischen(f.nah, nahWeg);
  return f;
}

// The canyon of the first level: its sky, the hazy rocks behind, the solid rocks, and
// dark rocks close in front that rush past out of focus.
struct Canyon {
  Canvas himmel;
  Felsen felsen;
  Canvas vorn;
};

const Canyon& CanyonLayers() {
  static const Canyon canyon = [] {
    const RockStyle schatten{Hex(0x0A0606), Hex(0x2A1A16), Hex(0x70442E), false, {}, 0};
    Canyon c{CanyonSky(),
             Felsreihen(static_cast<Felsmaler>(Rock),
                        {{0, 300, 210, false},
                         {330, 250, 160, false},
                         {560, 340, 240, false},
                         {900, 280, 190, false},
                         {1180, 320, 230, false},
                         {1450, 260, 170, false},
                         {160, 240, 110, true},
                         {720, 300, 130, true},
                         {1260, 260, 100, true}},
                        {{0, 340, 180, false},
                         {430, 230, 130, false},
                         {760, 400, 200, false},
                         {1260, 290, 150, false},
                         {1620, 360, 190, false},
                         {250, 280, 105, true},
                         {980, 250, 90, true},
                         {1480, 320, 115, true}},
                        4101, 7, 20),
             Streifen(
                 2400, {{80, 520, 120, false}, {1000, 620, 100, false}, {1720, 480, 140, false}},
                 [&](const Fels& f, uint32_t s) { return Rock(f.w, f.h, f.haengt, schatten, s); }, 4301)};
    Weich(c.himmel, 1.0f);
    Weich(c.vorn, 2.5f);
    Verwischen(c.vorn, 48);
    return c;
  }();
  return canyon;
}

// The flooded caves of the second level: the cavern, its far and near rocks, the light
// falling from cracks far above, and the jellyfish that drift in its water.
struct Hoehle {
  Canvas wand;
  Felsen felsen;
  Canvas schacht;
  std::vector<Canvas> qualle;
};

const Hoehle& CaveLayers() {
  static const Hoehle hoehle = [] {
    Hoehle h{Cavern(),
             Felsreihen(CaveRock,
                        {{0, 280, 150, false},
                         {420, 300, 170, false},
                         {900, 260, 140, false},
                         {1250, 320, 160, false},
                         {200, 260, 120, true},
                         {760, 300, 140, true},
                         {1320, 240, 110, true}},
                        {{60, 300, 150, false},
                         {700, 380, 170, false},
                         {1350, 320, 160, false},
                         {300, 260, 110, true},
                         {1000, 300, 125, true},
                         {1640, 240, 100, true}},
                        5101, 6, 18),
             LightShaft(),
             {}};
    Weich(h.wand, 1.0f);
    for (int n = 0; n < 4; ++n) h.qualle.push_back(JellyFrame(n));
    return h;
  }();
  return hoehle;
}

// Deep space: a dark blue sky with a faint veil of gas, and stars; `funkeln` a sparse
// layer of bright stars alone, to slide over the other.
Canvas Weltraum() {
  Canvas c(kW, kH);
  c.Fill([](float x, float y) {
    Col k = Lerp(Hex(0x02030A), Hex(0x0A1430), Smooth(0, 600, y + x * 0.2f));
    const float schleier = Smooth(0.5f, 0.85f, Wrapped(x, y, 3, 5, 701));
    k = Lerp(k, Hex(0x3A2A6A), schleier * 0.35f);
    k = Lerp(k, Hex(0x1A5A70), Smooth(0.6f, 0.9f, Wrapped(x + 300, y, 4, 4, 703)) * 0.25f);
    const int sx = static_cast<int>(x), sy = static_cast<int>(y);
    if (Hash(sx, sy, 705) > 0.997f) k = Lerp(k, Hex(0xE0E8FF), 0.3f + 0.6f * Hash(sx, sy, 707));
    return WithAlpha(k, 1);
  });
  return c;
}

Canvas Funkeln(uint32_t seed) {
  Canvas c(kW, kH);
  Random rnd(seed);
  for (int i = 0; i < 70; ++i) {
    const float x = static_cast<float>(rnd.Unit()) * kW, y = static_cast<float>(rnd.Unit()) * kH;
    const float r = 1.2f + 2.2f * static_cast<float>(rnd.Unit());
    const Col k = rnd.Unit() < 0.3 ? Hex(0xFFE0B0) : Hex(0xD8E8FF);
    c.Shape(
        x - r * 3, y - r * 3, x + r * 3, y + r * 3,
        [=](float px, float py) { return SdCircle(px, py, x, y, r * 2.5f); },
        [=](float px, float py, float) {
          return WithAlpha(k, std::exp(-std::pow(std::hypot(px - x, py - y) / r, 2.0f)));
        });
  }
  return c;
}

// ---- Sound -------------------------------------------------------------------------------

using synth::Wave;

float Note(int halbtoeneVonA4) { return 440.0f * std::pow(2.0f, halbtoeneVonA4 / 12.0f); }

// A chord held through the scene: detuned saws behind a low pass that opens towards the
// middle, swelling in and dying away with the pictures.
Wave Flaeche(float sek, const std::vector<int>& noten, float hell) {
  Wave w = synth::Silence(sek);
  for (int n : noten)
    for (float verstimmt : {0.996f, 1.004f})
      synth::Mix(w, synth::Tone(sek, synth::Const(Note(n) * verstimmt), 2), 0, 0.12f);
  synth::LowPass(w, [=](float t) { return 250 + hell * std::sin(kPi * Clamp01(t / sek)); });
  const float anUndAb = std::min(1.2f, sek / 3);
  synth::Shape(w, synth::Adsr(anUndAb, sek - 2 * anUndAb, anUndAb));
  return w;
}

// Air rushing past: noise through a band pass that follows `mitte`, as loud as `laut`.
Wave Rauschen(float sek, const synth::Curve& mitte, const synth::Curve& laut, uint32_t seed) {
  Wave w = synth::Noise(sek, seed);
  synth::BandPass(w, mitte, 1.5f);
  synth::Shape(w, laut);
  return w;
}

// A struck bell with a long ring, for a title or a line that appears.
Wave Glocke(float f, float sek) {
  Wave b = synth::Fm(sek, synth::Const(f), 2.0f, [sek](float t) { return 1.8f * std::exp(-4 * t / sek); });
  synth::Shape(b, [sek](float t) { return std::min(1.0f, t / 0.004f) * std::exp(-4.0f * t / sek); });
  return b;
}

// A deep thump with a tail of rumble: the boost of the engine, a plunge into water.
Wave Schlag(float sek, float f, uint32_t seed) {
  Wave w = synth::Tone(sek, synth::Sweep(f, f * 0.45f, sek * 0.7f), 0);
  synth::Shape(w, synth::Decay(sek));
  Wave n = synth::Noise(sek, seed);
  synth::LowPass(n, synth::Sweep(2500, 150, sek * 0.6f));
  synth::Shape(n, [sek](float t) { return std::min(1.0f, t / 0.01f) * std::exp(-5 * t / sek); });
  synth::Mix(w, n, 0, 0.6f);
  return w;
}

std::vector<float> Fertig(Wave w, float sek) {
  w.resize(static_cast<size_t>(sek * synth::kRate), 0.0f);
  synth::Normalise(w, 0.8f);
  return w;
}

}  // namespace

// ---- The scenes --------------------------------------------------------------------------

Szene LogoScene() {
  Szene s{.sekunden = 1.5, .einblenden = 0.3, .ausblenden = 0.3};
  auto himmel = std::make_shared<Canvas>(Weltraum());
  auto funkeln = std::make_shared<Canvas>(Funkeln(801));
  auto name = std::make_shared<Canvas>(kW, 240);
  Lettering(*name, kW / 2.0f, 120, "HARVO", 150, Hex(0xFFF8E0), Hex(0xF09028), Hex(0x180800), 5);
  // The ship races past under the name as it lights up.
  auto ort = [](double t) { return std::pair<float, float>{-160 + 1150 * F(t - 0.1) / 1.1f, 470 - 20 * F(t)}; };
  auto schiff = std::make_shared<Schiff>(0);
  s.welt = [himmel, funkeln, name, ort, schiff](double t, Canvas& bild) {
    Kachel(bild, *himmel, 30 * t, 0);
    Kachel(bild, *funkeln, 90 * t, 0);
    Spur(
        bild, t,
        [&](double u) {
          auto p = ort(u);
          return std::pair<float, float>{p.first - kDuese * 1.3f, p.second};
        },
        500, 1.3f, Hex(0x3A60D0));
    const auto [x, y] = ort(t);
    schiff->Zeichne(bild, x, y, 4, 2, 1.3f, 1, static_cast<int>(t * 100));
    const float k = Smooth(0.1f, 0.7f, F(t));
    Licht(bild, 400, 300, 260 + 140 * k, Hex(0xF07020), 0.45f * k);
    Lege(bild, *name, 0, 180, k);
    // A gleam runs over the letters once they stand.
    const float gx = -150 + 1100 * Clamp01((F(t) - 0.6f) / 0.7f);
    for (int y = 0; y < name->h; ++y)
      for (int x = 0; x < name->w; ++x) {
        const Col& n = name->px[static_cast<size_t>(y) * name->w + x];
        if (n.a <= 0.05f) continue;
        const float d = (x - gx + (y - 120) * 0.4f) / 40;
        const float g = std::exp(-d * d) * n.a * k * 0.8f;
        Col& p = bild.px[static_cast<size_t>(y + 180) * kW + x];
        p.r += g;
        p.g += g * 0.95f;
        p.b += g * 0.8f;
      }
  };
  Wave w = Flaeche(1.5f, {-21, -14, -9}, 1200);
  synth::Mix(w, Glocke(Note(3), 1.3f), 0.15f, 0.5f);
  synth::Mix(w, Glocke(Note(10), 1.2f), 0.2f, 0.35f);
  // The ship's rush, rising as it comes and falling as it goes.
  synth::Mix(w,
             Rauschen(
                 1.5f, [](float t) { return 600 + 2400 * std::exp(-std::pow((t - 0.65f) / 0.3f, 2.0f)); },
                 [](float t) { return std::exp(-std::pow((t - 0.65f) / 0.35f, 2.0f)); }, 811),
             0, 0.6f);
  s.ton = Fertig(w, 1.5f);
  return s;
}

Szene IntroScene() {
  Szene s{.sekunden = 5.0};
  const Canyon& c = CanyonLayers();
  // The ship glides in from the left, hovers, and at 3.5 s fires its engine and is gone.
  auto ort = [](double t) {
    const float u = F(t);
    float x = -140 + 470 * (1 - std::pow(1 - Clamp01((u - 0.2f) / 1.8f), 3.0f)) + 18 * std::sin(u * 1.3f);
    if (u > 3.5f) x += 1100 * std::pow((u - 3.5f) / 1.2f, 2.0f);
    const float y = 350 + 22 * std::sin(u * 1.7f) - 30 * Smooth(3.3f, 4.5f, u);
    return std::pair<float, float>{x, y};
  };
  auto schiff = std::make_shared<Schiff>(0);
  s.welt = [&c, ort, schiff](double t, Canvas& bild) {
    Kachel(bild, c.himmel, 12 * t, 0);
    Kachel(bild, c.felsen.fern, 70 * t, kOben);
    Kachel(bild, c.felsen.nah, 210 * t, kOben);
    const auto [x, y] = ort(t);
    const auto [x0, y0] = ort(t - 0.05);
    const float vy = (y - y0) / 0.05f;
    const float schub = 0.35f + 0.65f * Smooth(3.4f, 3.8f, F(t));
    const float g = 2.0f;
    Spur(
        bild, t,
        [&](double u) {
          auto p = ort(u);
          return std::pair<float, float>{p.first - kDuese * g, p.second};
        },
        260, g, Hex(0x3A60D0));
    schiff->Zeichne(bild, x, y, 7 + std::clamp(vy * 0.35f, -20.0f, 25.0f), std::clamp(-vy * 0.12f, -10.0f, 10.0f), g,
                    schub, static_cast<int>(t * 100));
    Kachel(bild, c.vorn, 520 * t, kOben);
  };
  s.worte = Worte({
      Satz(100, 175, 1.0f, kGoldOben, kGoldUnten, "HARVO", "HARVO", "HARVO"),
      Satz(30, kUnten + kBalken / 2, 1.7f, kHellOben, kHellUnten, "In der Dämmerung bricht Harvo auf.",
           "At dusk, Harvo sets out.", "В сумерках Харво отправляется в путь."),
  });

  const float sek = F(s.sekunden);
  Wave w = Flaeche(sek, {-24, -17, -12, -5}, 900);
  // The ship's air: it swells as the ship comes in, roars when it leaves.
  synth::Mix(w,
             Rauschen(
                 sek, [](float t) { return 500 + 350 * Smooth(0.2f, 1.8f, t) + 2500 * Smooth(3.5f, 4.5f, t); },
                 [](float t) {
                   return 0.25f * Smooth(0.2f, 1.4f, t) + 0.9f * Smooth(3.4f, 3.9f, t) * (1 - Smooth(4.2f, 5.0f, t));
                 },
                 901),
             0, 0.9f);
  synth::Mix(w, Glocke(Note(-9), 2.5f), 1.0f, 0.6f);
  synth::Mix(w, Glocke(Note(-2), 2.2f), 1.05f, 0.35f);
  synth::Mix(w, Glocke(Note(3), 1.8f), 1.7f, 0.3f);
  synth::Mix(w, Schlag(1.2f, 90, 903), 3.45f, 0.9f);
  s.ton = Fertig(w, sek);
  return s;
}

Szene DeepScene() {
  Szene s{.sekunden = 5.0};
  const Hoehle& h = CaveLayers();
  constexpr float kWasser = 400;
  auto flaeche = [](float x, double t) {
    return kWasser + 3 * std::sin(x * 0.03f + F(t) * 4) + 2 * std::sin(x * 0.071f - F(t) * 2.6f);
  };
  // In from the left over the water, then down into it at about 2.6 s, and on below.
  auto ort = [](double t) {
    const float u = F(t);
    const float x = -140 + 480 * (1 - std::pow(1 - Clamp01((u - 0.2f) / 2.0f), 3.0f)) + 60 * Smooth(3.2f, 5.5f, u);
    const float y = 330 + 140 * Smooth(1.9f, 3.3f, u) + 10 * std::sin(u * 2.1f);
    return std::pair<float, float>{x, y};
  };
  const float eintauchen = 2.6f;
  auto schiff = std::make_shared<Schiff>(0);
  s.welt = [&h, ort, flaeche, schiff, eintauchen](double t, Canvas& bild) {
    const float u = F(t);
    Kachel(bild, h.wand, 15 * t, 0);
    // Shafts of light from cracks above, swaying a little, moving with the far rocks.
    for (int i = 0; i < 3; ++i) {
      const float x = std::fmod(160.0f + i * 330 - 60 * u + 1600, 1000.0f) - 100;
      LegeSkaliert(bild, h.schacht, x, kOben + 200, 1.5f, 0.55f + 0.25f * std::sin(u * 1.3f + i * 2), true);
    }
    Kachel(bild, h.felsen.fern, 60 * t, kOben);
    Kachel(bild, h.felsen.nah, 180 * t, kOben);
    // Jellyfish drift in the water, their bells beating.
    for (int i = 0; i < 3; ++i) {
      const float x = std::fmod(300.0f + i * 320 - 120 * u + 2000, 1100.0f) - 100,
                  y = 445 + 30 * i - 10 * std::sin(u * 1.5f + i);
      LegeSkaliert(bild, h.qualle[static_cast<size_t>(static_cast<int>(u * 6 + i) % 4)], x, y, 1.6f, 0.9f);
    }
    const auto [x, y] = ort(t);
    const auto [x0, y0] = ort(t - 0.05);
    const float vy = (y - y0) / 0.05f;
    const float g = 1.8f;
    const bool unten = u > eintauchen;
    if (!unten)
      Spur(
          bild, t,
          [&](double v) {
            auto p = ort(v);
            return std::pair<float, float>{p.first - kDuese * g, p.second};
          },
          240, g, Hex(0x3A60D0));
    schiff->Zeichne(bild, x, y, 7 + std::clamp(vy * 0.3f, -20.0f, 30.0f), std::clamp(-vy * 0.14f, -22.0f, 12.0f), g,
                    unten ? 0.2f : 0.5f, static_cast<int>(t * 100));
    // The water: deeper is darker and greener; light plays just below its surface.
    for (int py = static_cast<int>(kWasser) - 8; py < kUnten; ++py)
      for (int px = 0; px < kW; ++px) {
        const float tief = py + 0.5f - flaeche(px + 0.5f, t);
        if (tief < -1) continue;
        const float a = Clamp01(tief + 1) * (0.35f + 0.4f * Smooth(0, 200, tief));
        Col& p = bild.px[static_cast<size_t>(py) * kW + px];
        const Col wasser = Lerp(Hex(0x0E5A68), Hex(0x02141E), Smooth(0, 200, tief));
        p = Lerp(p, wasser, a);
        const float spiel =
            std::pow(std::max(0.0f, std::sin(px * 0.045f + u * 2.5f + 2 * std::sin(py * 0.09f - u * 1.7f))), 12.0f);
        const float glanz = std::exp(-std::fabs(tief) / 2.5f) * 0.55f + spiel * 0.12f * Smooth(120, 0, tief);
        p.r += glanz * 0.6f;
        p.g += glanz * 0.95f;
        p.b += glanz;
      }
    // Where the ship went in: a splash and rings, and bubbles from it below.
    if (unten) {
      const float seit = u - eintauchen;
      const float sx = ort(eintauchen).first - 180 * seit;
      Random rnd(31);
      for (int i = 0; i < 26; ++i) {
        const float vx = (static_cast<float>(rnd.Unit()) - 0.3f) * 260, vh = 180 + 260 * static_cast<float>(rnd.Unit());
        const float tx = sx + vx * seit, ty = kWasser - vh * seit + 420 * seit * seit;
        if (ty < kWasser + 4) Licht(bild, tx, ty, 7, Hex(0xC8F8FF), 0.8f * Clamp01(1 - seit / 1.4f));
      }
      for (int k = 0; k < 2; ++k) {
        const float r = 30 + 160 * (seit - k * 0.25f);
        if (r < 30) continue;
        for (int a = 0; a < 48; ++a) {
          const float w = a * 2 * kPi / 48;
          Licht(bild, sx + r * std::cos(w), flaeche(sx, t) + r * 0.12f * std::sin(w), 5, Hex(0xA0F0FF),
                0.5f * Clamp01(1 - seit / 1.8f));
        }
      }
      for (int i = 0; i < 12; ++i) {
        const double vorher = t - i * 0.08;
        if (vorher < eintauchen) break;
        const auto [bx, by] = ort(vorher);
        const float alter = F(t - vorher);
        Licht(bild, bx - kDuese * g - 180 * alter + 6 * std::sin(i * 2.3f + u * 6), by - 70 * alter,
              4 + 2 * Hash(i, 0, 33), Hex(0xB0F0FF), 0.6f * (1 - i / 12.0f));
      }
    }
  };
  // Between the levels the video is the same in every language: the title, and the line
  // of the story in all three.
  s.worte = Worte(
      {
          Satz(64, 135, 0.8f, Hex(0xC8FFFF), Hex(0x2A90B0), "THE DEEP", "", ""),
          Satz(24, 194, 1.3f, kHellOben, kHellUnten, "Unter dem Canyon liegt die geflutete Tiefe.",
               "Beneath the canyon lies the flooded deep.", "Под каньоном лежит затопленная бездна."),
      },
      true);

  const float sek = F(s.sekunden);
  Wave w = Flaeche(sek, {-31, -26, -19, -14}, 600);
  synth::Mix(w,
             Rauschen(
                 sek, [eintauchen](float t) { return t < eintauchen ? 700.0f : 260.0f; },
                 [eintauchen](float t) { return 0.3f * Smooth(0.2f, 1.6f, t) * (t < eintauchen ? 1.0f : 0.6f); }, 951),
             0, 0.8f);
  synth::Mix(w, Glocke(Note(-14), 2.6f), 0.8f, 0.5f);
  synth::Mix(w, Schlag(1.6f, 70, 953), eintauchen - 0.05f, 1.0f);
  // The ping of the sonar, answered by its echo off the cave.
  Wave ping = Glocke(Note(14), 0.9f);
  synth::Echo(ping, 0.35f, 0.45f, 3);
  synth::Mix(w, ping, 3.4f, 0.35f);
  s.ton = Fertig(w, sek);
  return s;
}

Szene OutroScene() {
  Szene s{.sekunden = 5.5, .ausblenden = 1.0};
  auto himmel = std::make_shared<Canvas>(Weltraum());
  auto funkeln = std::make_shared<Canvas>(Funkeln(851));
  auto welt = std::make_shared<Canvas>(HomeWorld());
  // From the left towards the planet, growing smaller as it goes.
  auto ort = [](double t) {
    const float u = Clamp01((F(t) - 0.2f) / 5.0f), e = 1 - (1 - u) * (1 - u);
    return std::tuple<float, float, float>{-120 + 700 * e, 270 + 100 * e + 12 * std::sin(F(t) * 1.6f), 1.9f - 1.3f * e};
  };
  auto schiff = std::make_shared<Schiff>(0);
  s.welt = [himmel, funkeln, welt, ort, schiff](double t, Canvas& bild) {
    const float u = F(t);
    Kachel(bild, *himmel, 8 * t, 0);
    Kachel(bild, *funkeln, 26 * t, 0);
    // The home world rises, and the sun comes up behind its rim.
    const float wx = 520 - 8 * u, wy = 740 - 26 * u;
    Licht(bild, wx, wy, 380, Hex(0x3070C0), 0.25f);
    LegeSkaliert(bild, *welt, wx, wy, 2.0f);
    const float sonne = Smooth(0.8f, 5.0f, u);
    Licht(bild, wx + 200, wy - 175, 150 + 250 * sonne, Hex(0xFFB060), 0.9f * sonne);
    Licht(bild, wx + 200, wy - 175, 40 + 30 * sonne, Hex(0xFFFFF0), 1.5f * sonne);
    const auto [x, y, g] = ort(t);
    Spur(
        bild, t,
        [&](double v) {
          auto [a, b, k] = ort(v);
          return std::pair<float, float>{a - kDuese * k, b};
        },
        90, g, Hex(0x3A60D0));
    schiff->Zeichne(bild, x, y, 7 + 6 * std::sin(u * 1.1f), -4, g, 0.6f, static_cast<int>(t * 100));
  };
  s.worte = Worte({
      Satz(36, 140, 1.1f, kHellOben, kHellUnten, "Die Tiefe ist wieder still.", "The deep is quiet again.",
           "Бездна снова спокойна."),
      Satz(48, 205, 2.1f, kGoldOben, kGoldUnten, "Willkommen daheim, Harvo.", "Welcome home, Harvo.",
           "С возвращением, Харво."),
  });

  const float sek = F(s.sekunden);
  Wave w = Flaeche(sek, {-21, -9, -5, -2}, 1100);
  synth::Mix(
      w,
      Rauschen(
          sek, synth::Const(600), [](float t) { return 0.18f * Smooth(0.2f, 1.5f, t) * (1 - Smooth(4, 6, t)); }, 971),
      0, 0.7f);
  // A rising line of bells as the words come and the sun with them.
  const int noten[] = {3, 7, 10, 15, 19};
  for (int i = 0; i < 5; ++i) synth::Mix(w, Glocke(Note(noten[i]), 2.4f), 1.1f + i * 0.25f, 0.3f);
  s.ton = Fertig(w, sek);
  return s;
}

Szene Outro2Scene() {
  Szene s{.sekunden = 5.5, .ausblenden = 1.0};
  const Canyon& c = CanyonLayers();
  // The same canyon at dawn: the night sky warmed, a sun low behind the far ridge.
  auto morgen = std::make_shared<Canvas>(c.himmel);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      Col& p = morgen->px[static_cast<size_t>(y) * kW + x];
      const Col licht = Lerp(Hex(0x8AA0E8), Hex(0xFFC898), Smooth(0, 430, y));
      const float d = std::hypot(x - 300.0f, (y - 400.0f) * 1.6f) / 420;
      const float sonne = std::pow(Clamp01(1 - d), 2.0f);
      p = {p.r * licht.r * 1.6f + 0.05f + sonne * 0.9f, p.g * licht.g * 1.6f + 0.07f + sonne * 0.55f,
           p.b * licht.b * 1.6f + 0.12f + sonne * 0.25f, 1};
    }
  // Climbing out of the canyon to the upper right, away into the morning.
  auto ort = [](double t) {
    const float u = Clamp01((F(t) - 0.2f) / 5.0f);
    return std::tuple<float, float, float>{-100 + 760 * u * (0.6f + 0.4f * u), 400 - 280 * u * u, 2.0f - 1.3f * u};
  };
  auto schiff = std::make_shared<Schiff>(0);
  s.welt = [&c, morgen, ort, schiff](double t, Canvas& bild) {
    const float u = F(t);
    const Col warm{1.25f, 1.05f, 0.9f, 1};
    Kachel(bild, *morgen, 10 * t, 0);
    Licht(bild, 300, 400, 90, Hex(0xFFF0C0), 0.9f);
    Kachel(bild, c.felsen.fern, 60 * t, kOben, warm);
    Kachel(bild, c.felsen.nah, 180 * t, kOben, warm);
    const auto [x, y, g] = ort(t);
    const auto [x0, y0, g0] = ort(t - 0.05);
    const float steigen = std::atan2(y0 - y, std::max(1.0f, x - x0)) * 180 / kPi;
    Spur(
        bild, t,
        [&](double v) {
          auto [a, b, k] = ort(v);
          return std::pair<float, float>{a - kDuese * k, b + 6 * k};
        },
        200, g, Hex(0x3A60D0));
    schiff->Zeichne(bild, x, y, 7 - 10 * Smooth(0.5f, 2.5f, u), std::clamp(steigen, 0.0f, 30.0f), g, 0.8f,
                    static_cast<int>(t * 100));
    Kachel(bild, c.vorn, 480 * t, kOben, warm);
  };
  s.worte = Worte({
      Satz(36, 470, 1.0f, kHellOben, kHellUnten, "Zweimal durch die Tiefe.", "Twice through the deep.",
           "Дважды сквозь бездну."),
      Satz(32, kUnten + kBalken / 2, 2.0f, kGoldOben, kGoldUnten, "Nun der lange Weg nach Hause.",
           "Now for the long way home.", "Теперь — долгий путь домой."),
  });

  const float sek = F(s.sekunden);
  Wave w = Flaeche(sek, {-20, -13, -8, -1}, 1300);
  synth::Mix(w,
             Rauschen(
                 sek, synth::Sweep(400, 1800, 4.5f),
                 [](float t) { return 0.3f * Smooth(0.2f, 1.2f, t) * (1 - Smooth(4.2f, 5.4f, t)); }, 991),
             0, 0.8f);
  synth::Mix(w, Glocke(Note(-1), 2.4f), 1.0f, 0.45f);
  synth::Mix(w, Glocke(Note(6), 2.4f), 2.0f, 0.4f);
  synth::Mix(w, Glocke(Note(11), 2.6f), 2.3f, 0.3f);
  s.ton = Fertig(w, sek);
  return s;
}

}  // namespace demo
