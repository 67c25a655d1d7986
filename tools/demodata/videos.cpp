#include "demodata/videos.hpp"

#include <algorithm>
#include <cmath>
#include <future>
#include <memory>

#include "lib/avi_writer.hpp"

namespace demo {
namespace {

// The sound is mono at a quarter of the rate of a CD, an eighth of its bytes: the scenes'
// pads, bells and rushing air keep their sound, and the videos stay small.
constexpr int kTonRate = 11025;
// The pictures are drawn at the game's 800 x 600 and made smaller for the files: a video
// plays stretched over the whole screen, and Motion JPEG, a picture at a time, grows
// with every pixel. The JPEG quantisers keep the letters clean at a few kilobytes a
// picture.
tools::AviFormat Format(int breite, int hoehe, int quantisierer, int bilderProSekunde) {
  return {breite, hoehe, quantisierer, bilderProSekunde, kTonRate, 1};
}

// The frame as the encoder takes it, `hell` times as bright (the fades).
tools::Image Bildpunkte(const Canvas& c, float hell) {
  tools::Image img(c.w, c.h);
  auto byte = [hell](float v) { return static_cast<uint32_t>(std::clamp(v * hell, 0.0f, 1.0f) * 255 + 0.5f); };
  for (size_t i = 0; i < c.px.size(); ++i)
    img.pixels[i] = byte(c.px[i].r) << 16 | byte(c.px[i].g) << 8 | byte(c.px[i].b);
  return img;
}

// `frames` samples of the scene's sound at the videos' rate, each a weighted mean of the
// five about its place, which keeps out what the lower rate cannot carry; dying away
// over the last `ausklang` seconds, as the pictures fade.
std::vector<int16_t> Ton(const std::vector<float>& s, int frames, double ausklang) {
  constexpr int kSchritt = 44100 / kTonRate;
  constexpr float kGewicht[5] = {0.125f, 0.25f, 0.25f, 0.25f, 0.125f};
  std::vector<int16_t> aus(static_cast<size_t>(std::max(0, frames)));
  for (size_t k = 0; k < aus.size(); ++k) {
    float v = 0;
    for (int j = 0; j < 5; ++j) {
      const long i = static_cast<long>(k) * kSchritt + j - 2;
      if (i >= 0 && i < static_cast<long>(s.size())) v += kGewicht[j] * s[static_cast<size_t>(i)];
    }
    v *= Smooth(0, static_cast<float>(ausklang * kTonRate), static_cast<float>(aus.size() - k - 1));
    aus[k] = static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767));
  }
  return aus;
}

}  // namespace

std::vector<tools::ArchiveMember> SceneVideos(const Szene& szene, const std::vector<Fassung>& fassungen) {
  const int fps = szene.bilderProSekunde;
  std::vector<tools::ArchiveMember> m;
  std::vector<std::unique_ptr<tools::AviWriter>> k;
  for (const Fassung& f : fassungen) {
    m.push_back({f.stamm + ".avi", {}});
    m.push_back({f.stamm + "Low.avi", {}});
    k.push_back(std::make_unique<tools::AviWriter>(Format(512, 384, 14, fps)));
    k.push_back(std::make_unique<tools::AviWriter>(Format(320, 240, 16, fps)));
  }
  bool ok = true;
  const int bilder = static_cast<int>(std::lround(szene.sekunden * fps));
  // The sound stops with the last picture's start: the picture is black by then, and a
  // player that ends with whichever stream ends last, while its mixer runs a little
  // behind, would cut off the sound's end otherwise.
  const std::vector<int16_t> ton = Ton(szene.ton, (bilder - 1) * kTonRate / fps, szene.ausblenden);
  const int tonFrames = static_cast<int>(ton.size());
  int tonAb = 0;
  for (int i = 0; ok && i < bilder; ++i) {
    const double t = static_cast<double>(i) / fps, ende = static_cast<double>(i + 1) / fps;
    // Black in the first picture and the last.
    const float hell = Smooth(0, static_cast<float>(szene.einblenden), static_cast<float>(t)) *
                       Smooth(static_cast<float>(szene.sekunden), static_cast<float>(szene.sekunden - szene.ausblenden),
                              static_cast<float>(ende));
    Canvas welt(kFilmBreite, kFilmHoehe);
    for (Col& p : welt.px) p = {0, 0, 0, 1};
    szene.welt(t, welt);
    for (int y = 0; y < kFilmHoehe; ++y)
      if (y < kBalken || y >= kFilmHoehe - kBalken)
        std::fill_n(welt.px.begin() + static_cast<long>(y) * kFilmBreite, kFilmBreite, Col{0, 0, 0, 1});
    for (size_t v = 0; ok && v < fassungen.size(); ++v) {
      Canvas bild = welt;
      if (szene.worte) szene.worte(t, fassungen[v].sprache, bild);
      const tools::Image img = Bildpunkte(bild, hell);
      ok = k[2 * v]->Picture(img) && k[2 * v + 1]->Picture(img);
    }
    // The sound up to the end of this picture, so the two streams interleave.
    const int bis = std::min(tonFrames, (i + 1) * kTonRate / fps);
    for (size_t n = 0; ok && bis > tonAb && n < k.size(); ++n) ok = k[n]->Sound(ton.data() + tonAb, bis - tonAb);
    tonAb = bis;
  }
  for (size_t n = 0; ok && n < k.size(); ++n) m[n].data = k[n]->Finish();
  return m;
}

namespace {

std::vector<tools::ArchiveMember> Alle(std::vector<std::future<std::vector<tools::ArchiveMember>>> teile) {
  std::vector<tools::ArchiveMember> m;
  for (auto& t : teile)
    for (tools::ArchiveMember& v : t.get()) m.push_back(std::move(v));
  return m;
}

// A scene made into its videos on a thread of its own.
std::future<std::vector<tools::ArchiveMember>> Nebenher(Szene (*szene)(), std::vector<Fassung> fassungen) {
  return std::async(std::launch::async, [szene, fassungen] { return SceneVideos(szene(), fassungen); });
}

std::vector<Fassung> Sprachen(const std::string& stamm) {
  return {{stamm + "D", "D"}, {stamm + "E", "E"}, {stamm + "R", "R"}};
}

}  // namespace

std::vector<tools::ArchiveMember> FolderVideos() {
  std::vector<std::future<std::vector<tools::ArchiveMember>>> teile;
  teile.push_back(Nebenher(LogoScene, {{"Logo", ""}}));
  teile.push_back(Nebenher(IntroScene, Sprachen("Intro")));
  return Alle(std::move(teile));
}

std::vector<tools::ArchiveMember> ArchiveVideos() {
  std::vector<std::future<std::vector<tools::ArchiveMember>>> teile;
  teile.push_back(Nebenher(DeepScene, {{"Deep", ""}}));
  teile.push_back(Nebenher(OutroScene, Sprachen("Outro")));
  teile.push_back(Nebenher(Outro2Scene, Sprachen("Outro2")));
  return Alle(std::move(teile));
}

}  // namespace demo
