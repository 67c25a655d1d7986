#include "demodata/audio.hpp"

#include <algorithm>
#include <cmath>

#include "demodata/draw.hpp"

namespace demo {
namespace {

int16_t Clip(double v) { return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000)); }

double Note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

}  // namespace

std::vector<int16_t> Effect(double seconds, double f0, double f1, double noise, uint32_t seed, int rate) {
  int n = static_cast<int>(seconds * rate);
  std::vector<int16_t> samples(static_cast<size_t>(n));
  Random r(seed);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / n;
    phase += 2 * M_PI * (f0 + (f1 - f0) * t) / rate;
    double v = (1 - noise) * std::sin(phase) + noise * (r.Unit() * 2 - 1);
    samples[static_cast<size_t>(i)] = Clip(v * (1 - t) * 0.7);
  }
  return samples;
}

std::vector<int16_t> TwoNotes(double f0, double f1, double each, int rate) {
  std::vector<int16_t> a = Effect(each, f0, f0, 0, 1, rate);
  std::vector<int16_t> b = Effect(each, f1, f1, 0, 2, rate);
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<int16_t> MenuMusic(double seconds) {
  const int rate = 44100;
  const size_t n = static_cast<size_t>(seconds * rate);
  std::vector<int16_t> out(2 * n);
  // Am - F - C - G, two seconds each, with an eighth-note arpeggio over it.
  const int chords[4][3] = {{0, 3, 7}, {-4, 0, 3}, {3, 7, 10}, {-2, 2, 5}};
  const double chordLength = 2.0, step = 0.25;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / rate;
    int c = static_cast<int>(t / chordLength) % 4;
    double inChord = std::fmod(t, chordLength);
    double pad = 0;
    for (int k = 0; k < 3; ++k) pad += std::sin(2 * M_PI * Note(chords[c][k] - 12) * t);
    pad *= 0.12 * std::min(1.0, inChord * 4) * std::min(1.0, (chordLength - inChord) * 8);
    int stepIndex = static_cast<int>(inChord / step);
    double inStep = std::fmod(inChord, step);
    double arp = std::sin(2 * M_PI * Note(chords[c][stepIndex % 3] + 12 * (stepIndex / 3 % 2)) * t) *
                 0.18 * std::exp(-inStep * 9);
    double bass = std::sin(2 * M_PI * Note(chords[c][0] - 24) * t) * 0.15;
    double left = pad + arp * 0.7 + bass, right = pad + arp * 1.0 + bass;
    out[2 * i] = Clip(left);
    out[2 * i + 1] = Clip(right);
  }
  return out;
}

}  // namespace demo
