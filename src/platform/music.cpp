#include "platform/music.hpp"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs.hpp"
#include "platform/mixer.hpp"

namespace platform::music {
namespace {

constexpr size_t kAhead = audio::kOutputRate / 2;  // frames decoded ahead of the mixer
constexpr size_t kCapacity = audio::kOutputRate;   // room in the stream: one second
constexpr long kReadFrames = 1024;                 // frames asked of the decoder at a time
constexpr int kHolesPerUpdate = 64;                // gaps in a damaged file skipped per call
constexpr long kRateMin = 4000;
constexpr long kRateMax = 192000;
constexpr float kScale = 32767.0f;  // the decoder's -1..1 in 16-bit sample range

struct Player {
  OggVorbis_File file{};
  bool open = false;    // `file` holds a decoder
  bool active = false;  // between a successful Play and Stop
  bool ended = false;   // the decoder has given its last frame
  std::unique_ptr<audio::AudioStream> stream;
  std::vector<float> pending;  // converted frames not yet taken by the stream
  size_t pendingAt = 0;        // in floats
  // Linear resampling from the file's rate to the output rate.
  double step = 1.0;  // input frames per output frame
  double t = 0.0;     // place of the next output frame after `prev`, in input frames
  float prevL = 0, prevR = 0;
  bool havePrev = false;
  int volume = 100;
};

Player& P() {
  static Player* p = new Player;
  return *p;
}

void Emit(float l, float r) {
  P().pending.push_back(l);
  P().pending.push_back(r);
}

void Feed(float l, float r) {
  Player& p = P();
  if (!p.havePrev) {
    p.prevL = l;
    p.prevR = r;
    p.havePrev = true;
    p.t = 0.0;
    return;
  }
  while (p.t < 1.0) {
    float f = static_cast<float>(p.t);
    Emit(p.prevL + (l - p.prevL) * f, p.prevR + (r - p.prevR) * f);
    p.t += p.step;
  }
  p.t -= 1.0;
  p.prevL = l;
  p.prevR = r;
}

// The end of the file: the last frame is held for the time it still owns.
void FlushResampler() {
  Player& p = P();
  if (!p.havePrev) return;
  while (p.t < 1.0) {
    Emit(p.prevL, p.prevR);
    p.t += p.step;
  }
  p.havePrev = false;
}

void CloseFile() {
  Player& p = P();
  if (p.open) ov_clear(&p.file);
  p.open = false;
}

void EndOfFile() {
  FlushResampler();
  CloseFile();
  P().ended = true;
}

// One read from the decoder into `pending`.
void Decode(int& holes) {
  Player& p = P();
  float** pcm = nullptr;
  int section = 0;
  long n = ov_read_float(&p.file, &pcm, static_cast<int>(kReadFrames), &section);
  if (n == OV_HOLE && ++holes <= kHolesPerUpdate) return;
  if (n <= 0) {
    EndOfFile();
    return;
  }
  // A chained file may change its rate or channels from one section to the next.
  vorbis_info* vi = ov_info(&p.file, section);
  if (!vi || vi->channels < 1 || vi->rate < kRateMin || vi->rate > kRateMax) {
    EndOfFile();
    return;
  }
  p.step = static_cast<double>(vi->rate) / audio::kOutputRate;
  const float* left = pcm[0];
  const float* right = pcm[vi->channels > 1 ? 1 : 0];
  for (long i = 0; i < n; ++i) Feed(left[i] * kScale, right[i] * kScale);
}

// Hands pending frames to the stream; true when all of them fitted.
bool Deliver() {
  Player& p = P();
  size_t frames = (p.pending.size() - p.pendingAt) / 2;
  if (frames) {
    size_t taken = p.stream->Write(p.pending.data() + p.pendingAt, frames);
    p.pendingAt += 2 * taken;
    if (taken < frames) return false;
  }
  p.pending.clear();
  p.pendingAt = 0;
  return true;
}

}  // namespace

bool Play(std::string_view path) {
  Stop();
  Player& p = P();
  if (!fs::FileExists(path)) return false;
  std::string real = fs::Resolve(path);
  if (ov_fopen(real.c_str(), &p.file) != 0) return false;
  p.open = true;
  vorbis_info* vi = ov_info(&p.file, -1);
  if (!vi || vi->channels < 1 || vi->rate < kRateMin || vi->rate > kRateMax) {
    CloseFile();
    return false;
  }
  p.step = static_cast<double>(vi->rate) / audio::kOutputRate;
  p.t = 0.0;
  p.havePrev = false;
  p.ended = false;
  p.active = true;
  if (!p.stream) p.stream = std::make_unique<audio::AudioStream>(kCapacity);
  p.stream->SetGain(static_cast<float>(p.volume) / 100.0f);
  Update();
  return true;
}

bool IsPlaying() {
  Player& p = P();
  if (!p.active) return false;
  if (p.ended && p.pending.size() == p.pendingAt && p.stream->Buffered() == 0) {
    p.active = false;  // heard to its end
    return false;
  }
  return true;
}

void Update() {
  Player& p = P();
  if (!p.active) return;
  int holes = 0;
  for (;;) {
    if (!Deliver()) return;  // the stream is full
    if (p.ended || p.stream->Buffered() >= kAhead) return;
    Decode(holes);
  }
}

void Stop() {
  Player& p = P();
  CloseFile();
  p.active = false;
  p.ended = false;
  p.pending.clear();
  p.pendingAt = 0;
  if (p.stream) p.stream->Clear();
}

void SetVolume(int percent) {
  Player& p = P();
  p.volume = std::clamp(percent, 0, 100);
  if (p.stream) p.stream->SetGain(static_cast<float>(p.volume) / 100.0f);
}

void Close() {
  Stop();
  P().stream.reset();
}

int Volume() { return P().volume; }

size_t Buffered() { return P().stream ? P().stream->Buffered() : 0; }

}  // namespace platform::music
