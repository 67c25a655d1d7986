#pragma once
// The video decoder: one AVI (or any file libavformat reads) opened for playback, giving
// its pictures one after another, converted into a surface's own pixel format, and its
// sound as 44,100 Hz stereo frames for the mixer. Decoding runs on the caller's thread
// with one decoder thread each, so the same file gives the same pictures every time.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.hpp"

namespace platform::video {

// Why a file could not be opened or read on: the library's error number (negative) and
// its text.
struct Error {
  int32_t number = 0;
  std::string text;
};

class Decoder {
 public:
  // Opens the file (a Windows-style path, see fs.hpp). nullptr, with `error`, when it is
  // missing, no video file, or has no picture stream that can be decoded.
  static std::unique_ptr<Decoder> Open(std::string_view path, Error& error);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  int32_t Width() const;
  int32_t Height() const;
  // Length in seconds as the file states it (0 when it does not say).
  double Duration() const;
  // The file has a sound stream that can be decoded.
  bool HasSound() const;

  // Decodes up to the next picture. False at the end of the stream or when the rest of
  // the file cannot be read (then `LastError` says why). Sound met on the way is kept for
  // `TakeSound`.
  bool NextPicture();
  // Reads on until the sound decoded reaches `untilSeconds` or the file ends, keeping the
  // pictures met on the way for `NextPicture`: a file need not hold a picture's sound
  // before the next picture, and the resampler holds a little back. Stops early once a
  // few megabytes of pictures wait, so a file whose sound lies far behind its pictures
  // cannot fill the memory.
  void ReadSoundAhead(double untilSeconds);
  // Start time and display length of the current picture in seconds.
  double PictureTime() const;
  double PictureLength() const;
  // The current picture scaled into `dest` of `target` (clipped to the surface), in the
  // surface's pixel format. False when there is no picture yet or the format cannot be
  // converted.
  bool DrawPicture(Surface& target, const Rect& dest);
  // The sound decoded so far and not yet taken: interleaved left/right frames at 44,100 Hz
  // in the range of 16-bit samples, and the time in seconds of its first frame.
  // Taking empties it.
  std::vector<float> TakeSound(double& startSeconds);

  const Error& LastError() const;

  struct Impl;

 private:
  explicit Decoder(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::video
