#pragma once
// A small synthesiser for the game's sound effects: oscillators with pitch curves, noise,
// envelopes, filters, distortion and echo on mono float buffers at 44,100 Hz. Every
// random source has its own seed, so the same sound comes out of every build.
#include <cstdint>
#include <functional>
#include <vector>

namespace demo::synth {

constexpr int kRate = 44100;
using Wave = std::vector<float>;
// A value over time (seconds): a pitch or an envelope.
using Curve = std::function<float(float t)>;

Wave Silence(float seconds);
// Oscillators following a frequency curve; `shape` 0 sine, 1 triangle, 2 saw, 3 square.
Wave Tone(float seconds, const Curve& freq, int shape);
Wave Noise(float seconds, uint32_t seed);
// Sine with its frequency modulated by a second sine: bells and zaps.
Wave Fm(float seconds, const Curve& carrier, float ratio, const Curve& index);

// Curves.
Curve Const(float v);
Curve Sweep(float from, float to, float seconds);     // exponential glide, then held
Curve Decay(float seconds);                           // 1 falling to about 0.001 at `seconds`
Curve Adsr(float attack, float hold, float release);  // up, flat, down to 0

// In place.
void Shape(Wave& w, const Curve& envelope);  // times the envelope
void Gain(Wave& w, float k);
void LowPass(Wave& w, const Curve& cutoff);            // one-pole
void HighPass(Wave& w, float cutoff);                  // one-pole
void BandPass(Wave& w, const Curve& centre, float q);  // state-variable
void Drive(Wave& w, float amount);                     // soft clipping
void Echo(Wave& w, float delay, float feedback, int repeats);

// Mixing: `add` into `w` from `at` seconds on, growing `w` as needed.
void Mix(Wave& w, const Wave& add, float at = 0, float gain = 1);
Wave Concat(const Wave& a, const Wave& b);
// Joins the end onto the start over `fade` seconds, for sounds the game loops.
Wave Loop(const Wave& w, float fade);
// Scales to the given peak.
void Normalise(Wave& w, float peak);
std::vector<int16_t> Pcm(const Wave& w);

}  // namespace demo::synth
