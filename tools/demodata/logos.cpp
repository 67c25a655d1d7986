#include "demodata/logos.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "demodata/draw.hpp"
#include "demodata/synth.hpp"

namespace demo {
namespace {

constexpr int kBreite = 800, kHoehe = 600;

tools::ArchiveMember Bmp(const std::string& name, const tools::Image& img) { return {name, tools::EncodeBmp24(img)}; }

void Zentriert(tools::Image& img, int y, const std::string& text, int scale, uint32_t farbe) {
  Text(img, (img.width - TextWidth(text, scale)) / 2, y, text, scale, farbe);
}

// A logo: a glow behind the name, a line under it; black around, which the game keys out.
tools::Image Logo(const std::string& name, const std::string& zeile, uint32_t farbe, uint32_t glut) {
  tools::Image img(kBreite, kHoehe);
  Glow(img, kBreite / 2.0, kHoehe / 2.0, 330, glut);
  Zentriert(img, 240, name, 10, farbe);
  FillRect(img, 200, 330, 400, 4, farbe);
  Zentriert(img, 352, zeile, 3, Rgb(220, 220, 220));
  return img;
}

// The credits: headings in bright blue (they burst into sparkles as they pass the screen's
// edges), names in warm colours (they do not), on black.
tools::Image Abspann() {
  struct Zeile {
    const char* text;
    bool titel;
  };
  static constexpr Zeile kZeilen[] = {
      {"HARVO", true},          {"A SIDE SCROLLING SHOOTER", false}, {"", false},
      {"PROGRAMMING", true},    {"THE HARVO HELPERS", false},         {"", false},
      {"PICTURES", true},       {"DRAWN BY CODE", false},             {"", false},
      {"SOUNDS AND MUSIC", true}, {"SYNTHESISED", false},           {"", false},
      {"LEVELS", true},         {"THE DEMO CANYON", false},           {"THE DEEP", false},
      {"", false},              {"THANK YOU FOR PLAYING", true},
  };
  constexpr int kZeilenHoehe = 46;
  const int n = static_cast<int>(std::size(kZeilen));
  tools::Image img(600, n * kZeilenHoehe + 120);
  int y = 60;
  for (const Zeile& z : kZeilen) {
    if (z.titel)
      Zentriert(img, y, z.text, 4, Rgb(90, 170, 255));
    else
      Zentriert(img, y + 4, z.text, 3, Rgb(255, 190, 70));
    y += kZeilenHoehe;
  }
  return img;
}

}  // namespace

std::vector<tools::ArchiveMember> LogoPictures() {
  return {
      Bmp("Logo_brightfold.bmp", Logo("BRIGHTFOLD", "PRESENTS", Rgb(255, 210, 90), Rgb(70, 40, 10))),
      Bmp("Logo_praxelworks.bmp", Logo("PRAXELWORKS", "INTERACTIVE", Rgb(120, 255, 160), Rgb(10, 60, 30))),
      Bmp("Logo_umbrix.bmp", Logo("UMBRIX", "SOUND AND VISION", Rgb(230, 120, 255), Rgb(50, 10, 70))),
      Bmp("Logo_tessaline.bmp", Logo("TESSALINE", "ENGINE", Rgb(120, 200, 255), Rgb(10, 40, 80))),
      Bmp("Credits.bmp", Abspann()),
  };
}

tools::ArchiveMember LogoSound() {
  using namespace synth;
  // A deep hum that bends upwards, with television crackle over it: three seconds, as
  // long as the distortion runs.
  Wave hum = Tone(3.0f, Sweep(55.0f, 110.0f, 2.5f), 2);
  LowPass(hum, Const(900.0f));
  Wave knistern = Noise(3.0f, 77);
  BandPass(knistern, Const(3000.0f), 0.7f);
  Shape(knistern, Adsr(0.05f, 2.2f, 0.7f));
  Mix(hum, knistern, 0, 0.35f);
  Shape(hum, Adsr(0.1f, 2.4f, 0.5f));
  Normalise(hum, 0.8f);
  return {"Logo.wav", tools::EncodeWav16(Pcm(hum), 1, kRate)};
}

std::vector<int16_t> CreditsMusic() {
  constexpr int kRate = 44100;
  constexpr double kSekunden = 24.0, kAkkord = 3.0;
  // C - G - Am - F, slow, with a soft bell on every beat.
  constexpr int kAkkorde[4][3] = {{3, 7, 10}, {-2, 2, 5}, {0, 3, 7}, {-4, 0, 3}};
  const size_t n = static_cast<size_t>(kSekunden * kRate);
  std::vector<int16_t> out(2 * n);
  auto note = [](int s) { return 440.0 * std::pow(2.0, s / 12.0); };
  auto clip = [](double v) { return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767)); };
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const int c = static_cast<int>(t / kAkkord) % 4;
    const double im = std::fmod(t, kAkkord);
    double pad = 0;
    for (int k = 0; k < 3; ++k) pad += std::sin(2 * M_PI * note(kAkkorde[c][k] - 12) * t);
    pad *= 0.1 * std::min(1.0, im * 2) * std::min(1.0, (kAkkord - im) * 4);
    const double schlag = std::fmod(im, 0.75);
    const int stufe = static_cast<int>(im / 0.75) % 3;
    const double glocke = std::sin(2 * M_PI * note(kAkkorde[c][stufe] + 12) * t) * 0.15 * std::exp(-schlag * 6);
    const double ende = std::min(1.0, (kSekunden - t) / 2);
    out[2 * i] = clip((pad + glocke * 0.8) * ende);
    out[2 * i + 1] = clip((pad + glocke) * ende);
  }
  return out;
}

}  // namespace demo
