#include "demodata/synth.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace demo::synth {
namespace {

constexpr float kTwoPi = 6.28318530718f;

size_t Samples(float seconds) { return static_cast<size_t>(std::max(0.0f, seconds) * kRate); }

float Time(size_t i) { return static_cast<float>(i) / kRate; }

}  // namespace

Wave Silence(float seconds) { return Wave(Samples(seconds), 0.0f); }

Wave Tone(float seconds, const Curve& freq, int shape) {
  Wave w(Samples(seconds));
  double phase = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    phase += freq(Time(i)) / kRate;
    phase -= std::floor(phase);
    float p = static_cast<float>(phase);
    switch (shape) {
      case 0: w[i] = std::sin(kTwoPi * p); break;
      case 1: w[i] = 4 * std::fabs(p - 0.5f) - 1; break;
      case 2: w[i] = 2 * p - 1; break;
      default: w[i] = p < 0.5f ? 1.0f : -1.0f; break;
    }
  }
  if (shape >= 2) LowPass(w, Const(9000));  // takes the edge off the hard shapes
  return w;
}

Wave Noise(float seconds, uint32_t seed) {
  Wave w(Samples(seconds));
  uint32_t s = seed * 2654435761u + 12345u;
  for (float& v : w) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    v = (s & 0xFFFFFF) / 8388608.0f - 1.0f;
  }
  return w;
}

Wave Fm(float seconds, const Curve& carrier, float ratio, const Curve& index) {
  Wave w(Samples(seconds));
  double pc = 0, pm = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    float t = Time(i), f = carrier(t);
    pm += f * ratio / kRate;
    pc += f / kRate;
    w[i] = std::sin(kTwoPi * static_cast<float>(pc - std::floor(pc)) + index(t) * std::sin(kTwoPi * static_cast<float>(pm - std::floor(pm))));
  }
  return w;
}

Curve Const(float v) {
  return [v](float) { return v; };
}

Curve Sweep(float from, float to, float seconds) {
  return [=](float t) { return from * std::pow(to / from, std::min(1.0f, t / seconds)); };
}

Curve Decay(float seconds) {
  return [seconds](float t) { return std::exp(-6.9f * t / seconds); };
}

Curve Adsr(float attack, float hold, float release) {
  return [=](float t) {
    if (t < attack) return t / attack;
    if (t < attack + hold) return 1.0f;
    return std::max(0.0f, 1.0f - (t - attack - hold) / release);
  };
}

void Shape(Wave& w, const Curve& envelope) {
  for (size_t i = 0; i < w.size(); ++i) w[i] *= envelope(Time(i));
}

void Gain(Wave& w, float k) {
  for (float& v : w) v *= k;
}

void LowPass(Wave& w, const Curve& cutoff) {
  float y = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    float a = 1 - std::exp(-kTwoPi * cutoff(Time(i)) / kRate);
    y += a * (w[i] - y);
    w[i] = y;
  }
}

void HighPass(Wave& w, float cutoff) {
  float a = std::exp(-kTwoPi * cutoff / kRate), prevIn = 0, prevOut = 0;
  for (float& v : w) {
    float out = a * (prevOut + v - prevIn);
    prevIn = v;
    prevOut = out;
    v = out;
  }
}

void BandPass(Wave& w, const Curve& centre, float q) {
  float low = 0, band = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    float f = 2 * std::sin(3.14159265f * std::min(centre(Time(i)), kRate / 6.0f) / kRate);
    low += f * band;
    float high = w[i] - low - band / q;
    band += f * high;
    w[i] = band;
  }
}

void Drive(Wave& w, float amount) {
  for (float& v : w) v = std::tanh(v * amount) / std::tanh(amount);
}

void Echo(Wave& w, float delay, float feedback, int repeats) {
  const size_t d = Samples(delay);
  const size_t n = w.size();
  w.resize(n + d * static_cast<size_t>(repeats), 0.0f);
  for (size_t i = d; i < w.size(); ++i) w[i] += w[i - d] * feedback;
}

void Mix(Wave& w, const Wave& add, float at, float gain) {
  const size_t start = Samples(at);
  if (w.size() < start + add.size()) w.resize(start + add.size(), 0.0f);
  for (size_t i = 0; i < add.size(); ++i) w[start + i] += add[i] * gain;
}

Wave Concat(const Wave& a, const Wave& b) {
  Wave w = a;
  w.insert(w.end(), b.begin(), b.end());
  return w;
}

Wave Loop(const Wave& w, float fade) {
  const size_t f = std::min(Samples(fade), w.size() / 2);
  Wave out(w.begin(), w.end() - static_cast<ptrdiff_t>(f));
  for (size_t i = 0; i < f; ++i) {
    float k = static_cast<float>(i) / f;
    out[i] = w[i] * std::sqrt(k) + w[out.size() + i] * std::sqrt(1 - k);
  }
  return out;
}

void Normalise(Wave& w, float peak) {
  float m = 0;
  for (float v : w) m = std::max(m, std::fabs(v));
  if (m > 0) Gain(w, peak / m);
}

std::vector<int16_t> Pcm(const Wave& w) {
  std::vector<int16_t> out(w.size());
  for (size_t i = 0; i < w.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(w[i], -1.0f, 1.0f) * 32000.0f));
  return out;
}

}  // namespace demo::synth
