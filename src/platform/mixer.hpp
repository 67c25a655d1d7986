#pragma once
// The mixer: sound buffers (each a copy of a decoded sound with its own play state) and
// fed streams (music, video sound), mixed into one 44,100 Hz stereo output.
//
// A sound buffer behaves like a DirectSound secondary buffer: play once or looping, stop
// (the position stays), a play position in bytes of the sound's own format, volume in
// hundredths of a decibel, pan, and a playback frequency reached by resampling. Every
// change is made under the device lock and is heard from the next mixed frame on.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/wav.hpp"

namespace platform::audio {

constexpr int kOutputRate = 44100;

// GetStatus bits.
constexpr uint32_t kStatusPlaying = 1;
constexpr uint32_t kStatusLooping = 4;
// Play flag.
constexpr uint32_t kPlayLooping = 1;

constexpr int32_t kVolumeMin = -10000;  // silent
constexpr int32_t kVolumeMax = 0;       // as recorded
constexpr int32_t kPanLeft = -10000;    // right channel silent
constexpr int32_t kPanRight = 10000;    // left channel silent
constexpr int32_t kFrequencyMin = 100;
constexpr int32_t kFrequencyMax = 100000;
constexpr int32_t kFrequencyOriginal = 0;  // SetFrequency: back to the sound's own rate

struct Voice;

// One playable copy of a sound. Copies made from the same Pcm share its samples.
// An empty buffer (default-constructed or released) refuses every call.
class SoundBuffer {
 public:
  SoundBuffer();
  explicit SoundBuffer(std::shared_ptr<const Pcm> pcm);
  SoundBuffer(SoundBuffer&& other) noexcept;
  SoundBuffer& operator=(SoundBuffer&& other) noexcept;
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;
  ~SoundBuffer();

  bool Valid() const { return voice_ != nullptr; }
  // A new copy of the same sound, stopped at position 0 with default settings.
  SoundBuffer Duplicate() const;
  // Stops the copy and gives it up; the buffer is empty afterwards.
  void Release();

  // Starts (or keeps) playing from the current position; `flags` kPlayLooping loops.
  // Playing once, the copy stops at the end and its position returns to 0.
  bool Play(uint32_t flags);
  bool Stop();
  uint32_t GetStatus() const;
  // Play position in bytes of the sound's own format (frames × block size).
  int32_t GetCurrentPosition() const;
  // Refused for a position outside the sound; rounded down to a whole frame.
  bool SetCurrentPosition(int32_t bytes);
  // kVolumeMin..kVolumeMax; gain 10^(volume / 2000); kVolumeMin is silence.
  bool SetVolume(int32_t volume);
  int32_t GetVolume() const;
  // kPanLeft..kPanRight: the other channel is attenuated by |pan| hundredths of a decibel.
  bool SetPan(int32_t pan);
  int32_t GetPan() const;
  // kFrequencyMin..kFrequencyMax frames per second, or kFrequencyOriginal.
  bool SetFrequency(int32_t frequency);
  int32_t GetFrequency() const;
  // Length of the sound in bytes of its own format.
  int32_t Size() const;

 private:
  std::unique_ptr<Voice> voice_;
};

// A channel that the program feeds with 44,100 Hz stereo frames (in the range of 16-bit
// samples). It plays what it has been given; when it runs dry it falls silent and goes on
// as soon as it is fed again.
class AudioStream {
 public:
  explicit AudioStream(size_t capacityFrames);
  ~AudioStream();
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  // Takes as many of `count` interleaved frames as there is room for; returns that number.
  size_t Write(const float* frames, size_t count);
  size_t Buffered() const;
  size_t Capacity() const;
  void Clear();
  // Linear gain, applied as the frames are mixed (so a change is heard at once).
  void SetGain(float gain);

  struct Ring;

 private:
  std::unique_ptr<Ring> ring_;
};

// Mixes `frames` frames of every playing buffer and every stream into `out` (interleaved
// left/right). Called by the backends with the device lock held.
void Mix(int16_t* out, size_t frames);

// Opens and closes the output device through the backend. Buffers and streams work
// without a device: they just are not heard.
bool OpenDevice(std::string& error);
void CloseDevice();
bool DeviceOpen();

// The gain of a volume in hundredths of a decibel (0 for kVolumeMin and below).
float VolumeGain(int32_t volume);

// How many buffers are playing right now (for tests and the benchmark).
size_t PlayingCount();

}  // namespace platform::audio
