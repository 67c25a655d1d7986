// Mixer cost: 64 looping voices of mixed rates, frequencies and pans mixed for 10 s of
// output, against a plain sum of the same samples (no resampling, no interpolation).
// Prints both times, their ratio and the mixer's share of one core in real time.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/mixer.hpp"

using namespace platform::audio;

namespace {

constexpr int kVoices = 64;
constexpr size_t kSeconds = 10;
constexpr size_t kBlock = 1024;  // what the SDL device asks for at a time
constexpr size_t kTotal = kSeconds * kOutputRate;

std::shared_ptr<Pcm> Noise(int channels, int rate, unsigned seed) {
  auto pcm = std::make_shared<Pcm>();
  pcm->channels = channels;
  pcm->rate = rate;
  pcm->blockAlign = 2 * channels;
  size_t frames = static_cast<size_t>(rate) * 3 / 2;
  unsigned x = seed;
  for (size_t i = 0; i < frames * channels; ++i) {
    x = x * 1664525u + 1013904223u;
    pcm->samples.push_back(static_cast<int16_t>(static_cast<int>(x >> 16) - 32768) / 8);
  }
  return pcm;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The mixer as the game drives it.
double RunMixer(std::vector<SoundBuffer>& voices, std::vector<int16_t>& out) {
  for (SoundBuffer& v : voices) {
    v.SetCurrentPosition(0);
    v.Play(kPlayLooping);
  }
  auto start = std::chrono::steady_clock::now();
  for (size_t done = 0; done < kTotal; done += kBlock) Mix(out.data(), std::min(kBlock, kTotal - done));
  double t = Seconds(std::chrono::steady_clock::now() - start);
  for (SoundBuffer& v : voices) v.Stop();
  return t;
}

// The same samples added straight, one source frame per output frame, fixed gains.
double RunPlainSum(const std::vector<std::shared_ptr<Pcm>>& sounds, std::vector<int16_t>& out) {
  std::vector<float> acc(2 * kBlock);
  std::vector<size_t> pos(sounds.size(), 0);
  auto start = std::chrono::steady_clock::now();
  for (size_t done = 0; done < kTotal; done += kBlock) {
    size_t n = std::min(kBlock, kTotal - done);
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (size_t v = 0; v < sounds.size(); ++v) {
      const Pcm& p = *sounds[v];
      size_t frames = p.Frames();
      for (size_t i = 0; i < n; ++i) {
        const int16_t* s = p.samples.data() + pos[v] * p.channels;
        acc[2 * i] += s[0] * 0.5f;
        acc[2 * i + 1] += s[p.channels - 1] * 0.5f;
        if (++pos[v] == frames) pos[v] = 0;
      }
    }
    for (size_t i = 0; i < 2 * n; ++i)
      out[i] = static_cast<int16_t>(std::lrint(std::clamp(acc[i], -32768.0f, 32767.0f)));
  }
  return Seconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int main() {
  const int rates[] = {11025, 22050, 44100, 48000};
  std::vector<std::shared_ptr<Pcm>> sounds;
  std::vector<SoundBuffer> voices;
  for (int i = 0; i < kVoices; ++i) {
    sounds.push_back(Noise(1 + i % 2, rates[i % 4], static_cast<unsigned>(i + 1)));
    SoundBuffer b(sounds.back());
    b.SetVolume(-(i % 5) * 300);
    b.SetPan((i % 9 - 4) * 2500);
    b.SetFrequency(i % 3 == 0 ? kFrequencyOriginal : rates[i % 4] + (i % 7 - 3) * 1500);
    voices.push_back(std::move(b));
  }
  std::vector<int16_t> out(2 * kBlock);
  double mix = 1e9, plain = 1e9;
  for (int round = 0; round < 5; ++round) {
    mix = std::min(mix, RunMixer(voices, out));
    plain = std::min(plain, RunPlainSum(sounds, out));
  }
  std::printf("voices                 %d (rates 11025..48000 Hz, mono and stereo, mixed pans)\n", kVoices);
  std::printf("audio mixed            %zu s\n", kSeconds);
  std::printf("mixer                  %.1f ms\n", mix * 1000);
  std::printf("plain sum              %.1f ms\n", plain * 1000);
  std::printf("mixer / plain sum      %.2f\n", mix / plain);
  std::printf("share of one core      %.3f %% of real time (goal: under 2 %%)\n", 100.0 * mix / kSeconds);
  return 0;
}
