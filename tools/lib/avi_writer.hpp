#pragma once
// Videos made by code, as AVI files: Motion JPEG pictures and 16-bit PCM sound. The same
// pictures and sound always give the same bytes.
#include <cstdint>
#include <memory>
#include <vector>

#include "lib/media_writer.hpp"

namespace tools {

struct AviFormat {
  int width = 0, height = 0;  // of the pictures in the file
  int quantiser = 14;         // of the JPEG pictures: lower is sharper and larger
  int picturesPerSecond = 10;
  int soundRate = 11025;
  int soundChannels = 1;  // 1 or 2
};

// The file is written in the order of the calls: a picture, then the sound up to its end,
// and so on, as a player meets them.
class AviWriter {
 public:
  explicit AviWriter(const AviFormat& format);
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // The next picture, of any size (scaled to the file's).
  bool Picture(const Image& picture);
  // The next `frames` frames of sound, their channels interleaved.
  bool Sound(const int16_t* samples, int frames);
  // The whole file; empty when a step failed.
  std::vector<uint8_t> Finish();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tools
