#include "platform/mixer.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/backend.hpp"

namespace platform::audio {

// Positions are fixed point: whole frames in the upper 32 bits, the fraction below, so a
// step of exactly one frame (the sound's rate equals the output rate) stays exact.
constexpr int kFracBits = 32;
constexpr float kFracScale = 1.0f / 4294967296.0f;

struct Voice {
  std::shared_ptr<const Pcm> pcm;
  uint64_t pos = 0;
  uint64_t step = 0;
  int32_t volume = 0, pan = 0, frequency = 0;
  float gainL = 1, gainR = 1;
  bool looping = false;
  ptrdiff_t slot = -1;  // index in the playing list; -1 while stopped
};

struct AudioStream::Ring {
  std::vector<float> data;  // interleaved stereo
  size_t capacity = 0;      // frames
  size_t read = 0;          // frame index of the oldest frame
  size_t count = 0;         // frames held
  float gain = 1;
};

namespace {

struct MixerState {
  std::vector<Voice*> playing;
  size_t voices = 0;  // voices of all buffers; the playing list has room for all of them
  std::vector<AudioStream::Ring*> streams;
  std::vector<float> acc;
  bool deviceOpen = false;
};

// Never destroyed: buffers held in globals give themselves up at exit, after any static
// object here would already be gone.
MixerState& M() {
  static MixerState* m = new MixerState;
  return *m;
}

struct DeviceLock {
  DeviceLock() { backend::LockAudio(); }
  ~DeviceLock() { backend::UnlockAudio(); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
};

void StartVoice(Voice& v) {
  if (v.slot >= 0) return;
  v.slot = static_cast<ptrdiff_t>(M().playing.size());
  M().playing.push_back(&v);
}

void StopVoice(Voice& v) {
  if (v.slot < 0) return;
  auto& list = M().playing;
  Voice* last = list.back();
  list[static_cast<size_t>(v.slot)] = last;
  last->slot = v.slot;
  list.pop_back();
  v.slot = -1;
}

uint64_t StepFor(int32_t frequency) {
  return (static_cast<uint64_t>(frequency) << kFracBits) / static_cast<uint64_t>(kOutputRate);
}

void UpdateGains(Voice& v) {
  float g = VolumeGain(v.volume);
  v.gainL = g;
  v.gainR = g;
  if (v.pan > 0) v.gainL *= VolumeGain(-v.pan);
  if (v.pan < 0) v.gainR *= VolumeGain(v.pan);
}

// Advances a voice nobody can hear without touching its samples.
bool SkipVoice(Voice& v, size_t frames) {
  uint64_t end = static_cast<uint64_t>(v.pcm->Frames()) << kFracBits;
  uint64_t pos = v.pos + v.step * frames;
  if (pos >= end) {
    if (!v.looping) {
      v.pos = 0;
      return false;
    }
    pos %= end;
  }
  v.pos = pos;
  return true;
}

// Adds one voice to the accumulator with linear interpolation between neighbouring
// frames. Returns false when a voice played once has reached its end.
template <int C>
bool MixVoiceChannels(Voice& v, float* acc, size_t frames) {
  const int16_t* d = v.pcm->samples.data();
  const uint64_t n = v.pcm->Frames();
  const uint64_t end = n << kFracBits;
  const uint64_t lastFull = (n - 1) << kFracBits;  // below it, frame idx + 1 exists
  const uint64_t step = v.step;
  const float gl = v.gainL, gr = v.gainR;
  uint64_t pos = v.pos;
  size_t i = 0;
  while (i < frames) {
    if (pos < lastFull) {
      uint64_t avail = (lastFull - pos + step - 1) / step;
      size_t cnt = static_cast<size_t>(std::min<uint64_t>(avail, frames - i));
      float* a = acc + 2 * i;
      for (size_t k = 0; k < cnt; ++k) {
        const int16_t* s = d + static_cast<size_t>(pos >> kFracBits) * C;
        float f = static_cast<float>(static_cast<uint32_t>(pos)) * kFracScale;
        if constexpr (C == 1) {
          float s0 = s[0];
          float x = s0 + f * (static_cast<float>(s[1]) - s0);
          a[0] += x * gl;
          a[1] += x * gr;
        } else {
          float l0 = s[0], r0 = s[1];
          a[0] += (l0 + f * (static_cast<float>(s[2]) - l0)) * gl;
          a[1] += (r0 + f * (static_cast<float>(s[3]) - r0)) * gr;
        }
        a += 2;
        pos += step;
      }
      i += cnt;
    } else {
      // The last frame leads into the start of the loop, or is held.
      const int16_t* s = d + (n - 1) * C;
      const int16_t* next = v.looping ? d : s;
      float f = static_cast<float>(static_cast<uint32_t>(pos)) * kFracScale;
      float l0 = s[0], r0 = s[C - 1];
      acc[2 * i] += (l0 + f * (static_cast<float>(next[0]) - l0)) * gl;
      acc[2 * i + 1] += (r0 + f * (static_cast<float>(next[C - 1]) - r0)) * gr;
      pos += step;
      ++i;
    }
    if (pos >= end) {
      if (!v.looping) {
        v.pos = 0;
        return false;
      }
      pos %= end;
    }
  }
  v.pos = pos;
  return true;
}

bool MixVoice(Voice& v, float* acc, size_t frames) {
  if (v.gainL == 0.0f && v.gainR == 0.0f) return SkipVoice(v, frames);
  return v.pcm->channels == 1 ? MixVoiceChannels<1>(v, acc, frames) : MixVoiceChannels<2>(v, acc, frames);
}

void MixRing(AudioStream::Ring& r, float* acc, size_t frames) {
  size_t n = std::min(r.count, frames);
  size_t done = 0;
  while (done < n) {
    size_t run = std::min(n - done, r.capacity - r.read);
    const float* src = r.data.data() + 2 * r.read;
    float* a = acc + 2 * done;
    for (size_t k = 0; k < 2 * run; ++k) a[k] += src[k] * r.gain;
    r.read = (r.read + run) % r.capacity;
    r.count -= run;
    done += run;
  }
}

int16_t ToSample(float x) {
  x = std::clamp(x, -32768.0f, 32767.0f);
  return static_cast<int16_t>(std::lrint(x));
}

}  // namespace

float VolumeGain(int32_t volume) {
  if (volume <= kVolumeMin) return 0.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

// ---- SoundBuffer ----

SoundBuffer::SoundBuffer() = default;

SoundBuffer::SoundBuffer(std::shared_ptr<const Pcm> pcm) {
  if (!pcm || pcm->Frames() == 0 || (pcm->channels != 1 && pcm->channels != 2) || pcm->blockAlign <= 0) return;
  voice_ = std::make_unique<Voice>();
  voice_->frequency = std::clamp(pcm->rate, kFrequencyMin, kFrequencyMax);
  voice_->step = StepFor(voice_->frequency);
  voice_->pcm = std::move(pcm);
  // A buffer is made while loading; starting its voice later (in the middle of play)
  // must not allocate, so the playing list grows here.
  DeviceLock lock;
  MixerState& m = M();
  ++m.voices;
  if (m.playing.capacity() < m.voices) m.playing.reserve(std::max(m.voices, 2 * m.playing.capacity()));
}

SoundBuffer::SoundBuffer(SoundBuffer&& other) noexcept : voice_(std::move(other.voice_)) {}

SoundBuffer& SoundBuffer::operator=(SoundBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    voice_ = std::move(other.voice_);
  }
  return *this;
}

SoundBuffer::~SoundBuffer() { Release(); }

SoundBuffer SoundBuffer::Duplicate() const {
  return voice_ ? SoundBuffer(voice_->pcm) : SoundBuffer();
}

void SoundBuffer::Release() {
  if (!voice_) return;
  {
    DeviceLock lock;
    StopVoice(*voice_);
    --M().voices;
  }
  voice_.reset();
}

bool SoundBuffer::Play(uint32_t flags) {
  if (!voice_) return false;
  DeviceLock lock;
  voice_->looping = (flags & kPlayLooping) != 0;
  StartVoice(*voice_);
  return true;
}

bool SoundBuffer::Stop() {
  if (!voice_) return false;
  DeviceLock lock;
  StopVoice(*voice_);
  return true;
}

uint32_t SoundBuffer::GetStatus() const {
  if (!voice_) return 0;
  DeviceLock lock;
  if (voice_->slot < 0) return 0;
  return kStatusPlaying | (voice_->looping ? kStatusLooping : 0);
}

int32_t SoundBuffer::GetCurrentPosition() const {
  if (!voice_) return 0;
  DeviceLock lock;
  return static_cast<int32_t>((voice_->pos >> kFracBits) * static_cast<uint64_t>(voice_->pcm->blockAlign));
}

bool SoundBuffer::SetCurrentPosition(int32_t bytes) {
  if (!voice_ || bytes < 0 || bytes >= Size()) return false;
  DeviceLock lock;
  voice_->pos = static_cast<uint64_t>(bytes / voice_->pcm->blockAlign) << kFracBits;
  return true;
}

bool SoundBuffer::SetVolume(int32_t volume) {
  if (!voice_ || volume < kVolumeMin || volume > kVolumeMax) return false;
  DeviceLock lock;
  voice_->volume = volume;
  UpdateGains(*voice_);
  return true;
}

int32_t SoundBuffer::GetVolume() const { return voice_ ? voice_->volume : 0; }

bool SoundBuffer::SetPan(int32_t pan) {
  if (!voice_ || pan < kPanLeft || pan > kPanRight) return false;
  DeviceLock lock;
  voice_->pan = pan;
  UpdateGains(*voice_);
  return true;
}

int32_t SoundBuffer::GetPan() const { return voice_ ? voice_->pan : 0; }

bool SoundBuffer::SetFrequency(int32_t frequency) {
  if (!voice_) return false;
  if (frequency == kFrequencyOriginal) frequency = std::clamp(voice_->pcm->rate, kFrequencyMin, kFrequencyMax);
  if (frequency < kFrequencyMin || frequency > kFrequencyMax) return false;
  DeviceLock lock;
  voice_->frequency = frequency;
  voice_->step = StepFor(frequency);
  return true;
}

int32_t SoundBuffer::GetFrequency() const { return voice_ ? voice_->frequency : 0; }

int32_t SoundBuffer::Size() const {
  if (!voice_) return 0;
  uint64_t bytes = static_cast<uint64_t>(voice_->pcm->Frames()) * static_cast<uint64_t>(voice_->pcm->blockAlign);
  return static_cast<int32_t>(std::min<uint64_t>(bytes, INT32_MAX));
}

// ---- AudioStream ----

AudioStream::AudioStream(size_t capacityFrames) : ring_(std::make_unique<Ring>()) {
  ring_->capacity = std::max<size_t>(capacityFrames, 1);
  ring_->data.assign(2 * ring_->capacity, 0.0f);
  DeviceLock lock;
  M().streams.push_back(ring_.get());
}

AudioStream::~AudioStream() {
  DeviceLock lock;
  auto& list = M().streams;
  list.erase(std::remove(list.begin(), list.end(), ring_.get()), list.end());
}

size_t AudioStream::Write(const float* frames, size_t count) {
  DeviceLock lock;
  Ring& r = *ring_;
  size_t n = std::min(count, r.capacity - r.count);
  size_t at = (r.read + r.count) % r.capacity;
  for (size_t done = 0; done < n;) {
    size_t run = std::min(n - done, r.capacity - at);
    std::copy(frames + 2 * done, frames + 2 * (done + run), r.data.begin() + static_cast<ptrdiff_t>(2 * at));
    at = (at + run) % r.capacity;
    done += run;
  }
  r.count += n;
  return n;
}

size_t AudioStream::Buffered() const {
  DeviceLock lock;
  return ring_->count;
}

size_t AudioStream::Capacity() const { return ring_->capacity; }

void AudioStream::Clear() {
  DeviceLock lock;
  ring_->read = 0;
  ring_->count = 0;
}

void AudioStream::SetGain(float gain) {
  DeviceLock lock;
  ring_->gain = gain;
}

// ---- Output ----

void Mix(int16_t* out, size_t frames) {
  MixerState& m = M();
  if (m.acc.size() < 2 * frames) m.acc.resize(2 * frames);
  float* acc = m.acc.data();
  std::fill(acc, acc + 2 * frames, 0.0f);
  for (size_t i = 0; i < m.playing.size();) {
    Voice* v = m.playing[i];
    if (MixVoice(*v, acc, frames))
      ++i;
    else
      StopVoice(*v);  // the last voice moves into slot i and is mixed next
  }
  for (AudioStream::Ring* r : m.streams) MixRing(*r, acc, frames);
  for (size_t i = 0; i < 2 * frames; ++i) out[i] = ToSample(acc[i]);
}

bool OpenDevice(std::string& error) {
  if (M().deviceOpen) return true;
  M().deviceOpen = backend::OpenAudio(error);
  return M().deviceOpen;
}

void CloseDevice() {
  if (!M().deviceOpen) return;
  backend::CloseAudio();
  M().deviceOpen = false;
}

bool DeviceOpen() { return M().deviceOpen; }

size_t PlayingCount() {
  DeviceLock lock;
  return M().playing.size();
}

}  // namespace platform::audio
