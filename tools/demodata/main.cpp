// harvo_demodata <folder>: writes the game's demo data set (pictures, sounds, archives)
// into <folder> (the build's Data/). Everything is made by code, the same every time.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "demodata/audio.hpp"
#include "demodata/draw.hpp"
#include "lib/ogg_writer.hpp"
#include "lib/archive_writer.hpp"

using tools::ArchiveMember;
using tools::Image;

namespace {

ArchiveMember Picture(const std::string& name, const Image& img) { return {name, tools::EncodeBmp24(img)}; }

ArchiveMember TextFile(const std::string& name, const std::string& text) {
  return {name, std::vector<uint8_t>(text.begin(), text.end())};
}

constexpr int kRate = 44100;

ArchiveMember Sound(const std::string& name, double seconds, double f0, double f1, double noise, uint32_t seed) {
  return {name, tools::EncodeWav16(demo::Effect(seconds, f0, f1, noise, seed, kRate), 1, kRate)};
}

Image StandardBar() {
  // The bar texture of lightning, lines and trails: bright in the middle row, dark at the edges.
  Image img(32, 32);
  for (int y = 0; y < 32; ++y) {
    double d = std::fabs(y + 0.5 - 16) / 16;
    int v = static_cast<int>(std::lround(255 * (1 - d * d)));
    for (int x = 0; x < 32; ++x) img.at(x, y) = demo::Rgb(v, v, v);
  }
  return img;
}

Image Glow(int size, uint32_t colour) {
  Image img(size, size);
  demo::Glow(img, size / 2.0, size / 2.0, size / 2.0, colour);
  return img;
}

Image Backdrop(int w, int h, uint32_t top, uint32_t bottom, uint32_t seed) {
  Image img(w, h);
  demo::VerticalGradient(img, top, bottom);
  demo::Stars(img, seed, w * h / 900);
  return img;
}

Image Title(int w, int h, const std::string& text, uint32_t colour, uint32_t seed) {
  Image img = Backdrop(w, h, demo::Rgb(4, 8, 30), demo::Rgb(0, 0, 0), seed);
  int scale = std::max(1, std::min(w / (demo::TextWidth(text, 1) + 12), h / 12));
  demo::Text(img, (w - demo::TextWidth(text, scale)) / 2, (h - 7 * scale) / 2, text, scale, colour);
  return img;
}

struct Archiv {
  std::string name;
  std::vector<ArchiveMember> members;
};

std::vector<Archiv> Archives() {
  Image noise(128, 128);
  demo::Noise(noise, 7, 0, 255);
  Image ball = Glow(16, demo::Rgb(255, 220, 120));
  Image rain(4, 16);
  demo::FillRect(rain, 1, 0, 2, 16, demo::Rgb(140, 160, 200));
  Image blur(256, 256);

  return {
      {"Standart.vkp",
       {Picture("Balken.bmp", StandardBar()), Picture("A_KREIS2.bmp", Glow(64, demo::Rgb(180, 200, 255))),
        Picture("Noise.bmp", noise), Picture("weiss.bmp", Image(8, 8, 0xFFFFFF))}},
      {"Spiel.vkp",
       {Picture("Ballschuss.bmp", ball), Picture("Regen1.bmp", rain), Picture("Schnee1.bmp", Glow(8, 0xFFFFFF)),
        Picture("Schnee2.bmp", Glow(6, 0xFFFFFF)), Picture("Schnee3.bmp", Glow(4, 0xFFFFFF)),
        Picture("Blur2.bmp", blur)}},
      {"Menu.vkp", {Picture("Hintergrund.bmp", Backdrop(800, 600, demo::Rgb(10, 20, 60), 0, 11))}},
      {"Logo.vkp", {Picture("Logo.bmp", Title(400, 150, "HARVO", demo::Rgb(250, 200, 60), 3)),
                    Picture("Credits.bmp", Title(512, 256, "CREDITS", demo::Rgb(200, 220, 255), 5))}},
      {"Pause.vkp", {Picture("Pause.bmp", Title(256, 64, "PAUSE", 0xFFFFFF, 9))}},
      {"Loading.vkp", {Picture("Loading.bmp", Backdrop(800, 600, demo::Rgb(30, 0, 40), 0, 13))}},
      {"Play.vkp", {TextFile("Play.txt", "Level1\r\n")}},
      {"Video.vkp", {TextFile("Videos.txt", "Intro.avi\r\n")}},
      {"Sound.vkp",
       {Sound("Explosion.wav", 0.6, 90, 40, 0.8, 21), Sound("Normal.wav", 0.12, 1400, 600, 0.1, 22),
        Sound("Hit.wav", 0.08, 500, 300, 0.3, 23), Sound("Extra.wav", 0.3, 600, 1200, 0, 24),
        Sound("Pause.wav", 0.2, 800, 400, 0, 25),
        {"dude.wav", tools::EncodeWav16(demo::TwoNotes(660, 880, 0.06, kRate), 1, kRate)},
        {"PlingDing.wav", tools::EncodeWav16(demo::TwoNotes(1320, 990, 0.08, kRate), 1, kRate)}}},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: harvo_demodata <data folder>\n");
    return 2;
  }
  std::filesystem::path data = argv[1];
  for (const char* sub : {"Grafik", "Sound", "Video"}) std::filesystem::create_directories(data / sub);
  for (const Archiv& a : Archives()) {
    if (!tools::WriteFileIfChanged((data / a.name).string(), tools::PackArchive(a.members))) {
      std::fprintf(stderr, "harvo_demodata: cannot write %s\n", (data / a.name).c_str());
      return 1;
    }
  }
  // The menu's music, as a plain file beside the archives.
  std::vector<uint8_t> music = tools::EncodeOggVorbis(demo::MenuMusic(16.0), 2, kRate, 0.3f);
  if (music.empty() || !tools::WriteFileIfChanged((data / "Sound" / "intro.ogg").string(), music)) {
    std::fprintf(stderr, "harvo_demodata: cannot write the music\n");
    return 1;
  }
  return 0;
}
