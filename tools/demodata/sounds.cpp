#include "demodata/sounds.hpp"

#include <cmath>

#include "demodata/draw.hpp"

namespace demo::sounds {
namespace {

using namespace synth;

constexpr float kTwoPi = 6.28318530718f;

float Note(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

// A one-shot sound at its peak level, opened and closed by a few milliseconds of fade
// so that it neither starts nor stops with a click.
Wave Done(Wave w, float peak = 0.85f) {
  Normalise(w, peak);
  const size_t in = kRate / 1000, out = kRate / 100;
  for (size_t i = 0; i < w.size() && i < in; ++i) w[i] *= static_cast<float>(i) / in;
  for (size_t i = 0; i < w.size() && i < out; ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / out;
  return w;
}

// A sound the game loops: its last 50 ms are laid over its start.
Wave Looped(const Wave& w, float peak) {
  Wave l = Loop(w, 0.05f);
  Normalise(l, peak);
  return l;
}

// A short burst of noise: clicks and the crack of explosions.
Wave Burst(float seconds, uint32_t seed, float cutoff) {
  Wave n = Noise(seconds, seed);
  LowPass(n, Const(cutoff));
  Shape(n, Decay(seconds));
  return n;
}

// A blast: noise whose brightness falls, over a sinking thump.
Wave Blast(float seconds, uint32_t seed, float bright, float thump) {
  Wave n = Noise(seconds, seed);
  LowPass(n, Sweep(bright, 180, seconds * 0.8f));
  Shape(n, [seconds](float t) { return std::min(1.0f, t / 0.004f) * std::exp(-4.5f * t / seconds); });
  Wave low = Tone(seconds * 0.7f, Sweep(thump, thump * 0.4f, seconds * 0.6f), 0);
  Shape(low, Decay(seconds * 0.7f));
  Mix(n, low, 0, 1.2f);
  Drive(n, 1.8f);
  return n;
}

// One plucked bell of FM.
Wave Bell(float freq, float seconds) {
  Wave b = Fm(seconds, Const(freq), 3.5f, [seconds](float t) { return 2.5f * std::exp(-5 * t / seconds); });
  Shape(b, [seconds](float t) { return std::min(1.0f, t / 0.003f) * std::exp(-5.0f * t / seconds); });
  return b;
}

// Short square-sine notes one after another.
Wave Arpeggio(const std::vector<int>& notes, float each, float tail) {
  Wave w;
  for (size_t i = 0; i < notes.size(); ++i) {
    float len = i + 1 == notes.size() ? tail : each * 2.5f;
    Wave a = Tone(len, Const(Note(notes[i])), 3);
    Wave b = Tone(len, Const(Note(notes[i]) * 2.0f), 0);
    Mix(a, b, 0, 0.6f);
    LowPass(a, Const(4500));
    Shape(a, [len](float t) { return std::min(1.0f, t / 0.004f) * std::exp(-4.0f * t / len); });
    Mix(w, a, each * static_cast<float>(i), 0.5f);
  }
  return w;
}

// A vowel: a buzzing voice through two formant resonators.
Wave Vowel(float seconds, float pitch, float f1, float f2, uint32_t seed) {
  Wave src = Tone(seconds, [pitch](float t) { return pitch * (1.0f + 0.04f * std::sin(kTwoPi * 5 * t)); }, 2);
  Wave jitter = Noise(seconds, seed);
  Mix(src, jitter, 0, 0.05f);
  Wave a = src, b = src;
  BandPass(a, Const(f1), 6);
  BandPass(b, Const(f2), 8);
  Mix(a, b, 0, 0.6f);
  Shape(a, Adsr(0.025f, seconds - 0.07f, 0.045f));
  return a;
}

}  // namespace

Wave LightShot() {
  Wave w = Tone(0.13f, Sweep(2200, 520, 0.11f), 3);
  Mix(w, Tone(0.13f, Sweep(1100, 300, 0.11f), 2), 0, 0.5f);
  LowPass(w, Sweep(7000, 1500, 0.12f));
  Shape(w, Decay(0.13f));
  Mix(w, Burst(0.02f, 3, 6000), 0, 0.6f);
  return Done(w, 0.7f);
}

Wave HeavyShot() {
  Wave w = Tone(0.3f, Sweep(900, 140, 0.22f), 2);
  LowPass(w, Sweep(5000, 600, 0.25f));
  Shape(w, Decay(0.28f));
  Wave sub = Tone(0.25f, Sweep(160, 55, 0.2f), 0);
  Shape(sub, Decay(0.25f));
  Mix(w, sub, 0, 1.3f);
  Mix(w, Burst(0.05f, 7, 3500), 0, 0.8f);
  Drive(w, 2.0f);
  return Done(w, 0.8f);
}

Wave SpreadShot() {
  Wave w;
  for (int k = 0; k < 3; ++k) {
    Wave p = Tone(0.14f, Sweep(1500.0f + 180 * k, 420, 0.12f), 3);
    LowPass(p, Const(5000));
    Shape(p, Decay(0.14f));
    Mix(w, p, 0.018f * k, 0.5f);
  }
  Mix(w, Burst(0.06f, 11, 4000), 0, 0.5f);
  return Done(w, 0.75f);
}

Wave FragmentShot() {
  Wave w = Tone(0.22f, [](float t) { return (320 + 2400 * t) * (1 + 0.25f * std::sin(kTwoPi * 38 * t)); }, 0);
  Shape(w, Adsr(0.005f, 0.05f, 0.16f));
  Mix(w, Burst(0.015f, 13, 8000), 0, 0.5f);
  return Done(w, 0.75f);
}

Wave SplitterShot() {
  Wave w = Tone(0.36f, [](float t) { return 380 + 420 * std::sin(kTwoPi * 2.2f * t) + 150 * std::sin(kTwoPi * 17 * t); }, 3);
  BandPass(w, Sweep(600, 2400, 0.3f), 3);
  Shape(w, Adsr(0.01f, 0.12f, 0.22f));
  return Done(w, 0.75f);
}

Wave PodLaserLoop() {
  Wave w = Tone(0.55f, Const(100), 2);
  Mix(w, Tone(0.55f, Const(202), 2), 0, 0.5f);
  Wave whine = Tone(0.55f, Const(2400), 0);
  Shape(whine, [](float t) { return 0.5f + 0.5f * std::sin(kTwoPi * 30 * t); });
  Mix(w, whine, 0, 0.25f);
  Wave crackle = Noise(0.55f, 17);
  HighPass(crackle, 2500);
  Shape(crackle, [](float t) { return std::pow(0.5f + 0.5f * std::sin(kTwoPi * 14 * t + 3 * std::sin(kTwoPi * 4 * t)), 6.0f); });
  Mix(w, crackle, 0, 0.5f);
  return Looped(w, 0.6f);
}

Wave FlameLoop() {
  Wave w = Noise(0.7f, 19);
  LowPass(w, Const(900));
  LowPass(w, Const(1400));
  Shape(w, [](float t) { return 0.75f + 0.25f * std::sin(kTwoPi * 10 * t) * std::sin(kTwoPi * 3 * t); });
  Wave hiss = Noise(0.7f, 23);
  HighPass(hiss, 3000);
  Mix(w, hiss, 0, 0.12f);
  return Looped(w, 0.6f);
}

Wave TorpedoShot() {
  Wave w = Tone(0.45f, Sweep(240, 90, 0.4f), 2);
  LowPass(w, Sweep(2600, 300, 0.4f));
  Wave air = Noise(0.45f, 29);
  BandPass(air, Sweep(2000, 500, 0.4f), 2);
  Mix(w, air, 0, 0.6f);
  Shape(w, Adsr(0.01f, 0.1f, 0.34f));
  return Done(w, 0.8f);
}

Wave BounceShot() {
  Wave w = Fm(0.3f, Sweep(2600, 1100, 0.25f), 1.5f, [](float t) { return 3 * std::exp(-10 * t); });
  Shape(w, Decay(0.3f));
  Echo(w, 0.06f, 0.35f, 2);
  return Done(w, 0.7f);
}

Wave SeekerShot() {
  Wave w;
  for (int k = 0; k < 3; ++k) {
    Wave p = Tone(0.09f, Sweep(700.0f + 500 * k, 1800.0f + 500 * k, 0.08f), 1);
    Shape(p, Adsr(0.005f, 0.04f, 0.045f));
    Mix(w, p, 0.07f * k, 0.6f);
  }
  return Done(w, 0.7f);
}

Wave BoomerangShot() {
  Wave w = Tone(0.45f, [](float t) { return 700 + 380 * std::sin(kTwoPi * 11 * t); }, 2);
  BandPass(w, [](float t) { return 1200 + 800 * std::sin(kTwoPi * 3 * t); }, 4);
  Shape(w, Adsr(0.02f, 0.18f, 0.25f));
  return Done(w, 0.7f);
}

Wave SatelliteLaserLoop() {
  Wave w = Tone(0.55f, Const(110), 2);
  Mix(w, Tone(0.55f, Const(112), 2), 0, 0.8f);
  Wave top = Tone(0.55f, Const(1760), 0);
  Shape(top, [](float t) { return 0.6f + 0.4f * std::sin(kTwoPi * 24 * t); });
  Mix(w, top, 0, 0.35f);
  LowPass(w, Const(3000));
  return Looped(w, 0.6f);
}

Wave RocketLaunch() {
  Wave w = Noise(0.8f, 31);
  BandPass(w, Sweep(350, 3200, 0.6f), 1.5f);
  Shape(w, [](float t) { return std::min(1.0f, t / 0.05f) * std::exp(-3.2f * t); });
  Wave rumble = Noise(0.8f, 37);
  LowPass(rumble, Const(200));
  Shape(rumble, Decay(0.6f));
  Mix(w, rumble, 0, 1.5f);
  return Done(w, 0.8f);
}

Wave BombDrop() {
  Wave w = Tone(0.12f, Sweep(180, 70, 0.1f), 0);
  Shape(w, Decay(0.12f));
  Mix(w, Burst(0.03f, 41, 2500), 0, 0.7f);
  Wave whistle = Tone(0.45f, Sweep(1900, 800, 0.45f), 0);
  Shape(whistle, Adsr(0.05f, 0.2f, 0.2f));
  Mix(w, whistle, 0.06f, 0.25f);
  return Done(w, 0.75f);
}

Wave NovaShot() {
  Wave w = Fm(0.35f, Sweep(3200, 500, 0.3f), 0.5f, Const(4));
  Shape(w, Decay(0.35f));
  Mix(w, Burst(0.04f, 43, 9000), 0, 0.4f);
  return Done(w, 0.75f);
}

Wave ChargeLoop(int mode) {
  // Played at 10,000 to 30,000 (mode 0) or 1,000 to 18,000 (mode 1) samples per
  // second: the notes sit high here and sink into a hum that rises with the charge.
  // Every frequency is a multiple of 2.5 Hz, so the 0.4 s loop repeats in step.
  Wave w;
  if (mode == 0) {
    w = Tone(0.45f, Const(880), 2);
    Mix(w, Tone(0.45f, Const(1320), 2), 0, 0.6f);
    Mix(w, Tone(0.45f, Const(2640), 0), 0, 0.3f);
    Shape(w, [](float t) { return 0.7f + 0.3f * std::sin(kTwoPi * 20 * t); });
  } else {
    w = Tone(0.45f, Const(1760), 3);
    Mix(w, Tone(0.45f, Const(2645), 2), 0, 0.5f);
    Shape(w, [](float t) { return 0.6f + 0.4f * std::sin(kTwoPi * 40 * t); });
  }
  LowPass(w, Const(8000));
  return Looped(w, 0.55f);
}

Wave BeamRelease(int mode) {
  if (mode == 0) {
    Wave w = Tone(1.2f, Sweep(1400, 160, 0.9f), 2);
    Mix(w, Tone(1.2f, Sweep(1410, 162, 0.9f), 2), 0, 0.8f);
    LowPass(w, Sweep(9000, 700, 1.0f));
    Wave air = Noise(1.2f, 47);
    LowPass(air, Sweep(6000, 400, 1.0f));
    Mix(w, air, 0, 0.7f);
    Shape(w, [](float t) { return std::min(1.0f, t / 0.01f) * std::exp(-2.8f * t); });
    Wave boom = Tone(0.5f, Sweep(120, 40, 0.4f), 0);
    Shape(boom, Decay(0.5f));
    Mix(w, boom, 0, 1.2f);
    Drive(w, 1.6f);
    return Done(w, 0.85f);
  }
  Wave w;
  for (int n : {-24, -17, -12, -5}) Mix(w, Tone(1.5f, Const(Note(n)), 2), 0, 0.35f);
  LowPass(w, Sweep(300, 6000, 1.0f));
  Wave shimmer = Tone(1.5f, [](float t) { return 1760 + 40 * std::sin(kTwoPi * 7 * t); }, 0);
  Shape(shimmer, Adsr(0.6f, 0.4f, 0.5f));
  Mix(w, shimmer, 0, 0.25f);
  Shape(w, Adsr(0.25f, 0.7f, 0.55f));
  Drive(w, 1.5f);
  return Done(w, 0.85f);
}

Wave Hit() {
  Wave w;
  for (float f : {523.0f, 1387.0f, 2211.0f, 3350.0f}) {
    Wave p = Tone(0.16f, Const(f), 0);
    Shape(p, Decay(0.06f + 200.0f / f * 0.08f));
    Mix(w, p, 0, 0.35f);
  }
  Mix(w, Burst(0.02f, 53, 7000), 0, 0.6f);
  return Done(w, 0.7f);
}

Wave Explosion(int size) {
  if (size == 0) return Done(Blast(0.9f, 59, 3500, 90), 0.85f);
  if (size == 1) {
    Wave w = Blast(0.7f, 61, 6000, 120);
    Mix(w, Burst(0.25f, 67, 9000), 0.02f, 0.35f);
    return Done(w, 0.8f);
  }
  Wave w = Blast(1.5f, 71, 3000, 70);
  Mix(w, Blast(0.8f, 73, 2500, 60), 0.18f, 0.6f);
  Mix(w, Blast(0.6f, 79, 4000, 90), 0.42f, 0.4f);
  return Done(w, 0.9f);
}

Wave ShipExplosion() {
  Wave w = Blast(1.6f, 83, 4000, 80);
  Wave fall = Tone(1.6f, Sweep(900, 50, 1.4f), 2);
  LowPass(fall, Const(2500));
  Shape(fall, Decay(1.6f));
  Mix(w, fall, 0, 0.5f);
  Echo(w, 0.16f, 0.3f, 2);
  return Done(w, 0.9f);
}

Wave Split() {
  Wave w = Burst(0.08f, 89, 9000);
  Wave ring = Fm(0.5f, Sweep(700, 280, 0.4f), 1.41f, [](float t) { return 3 * std::exp(-6 * t); });
  Shape(ring, Decay(0.5f));
  Mix(w, ring, 0.01f, 0.7f);
  Mix(w, Blast(0.4f, 97, 5000, 140), 0.02f, 0.5f);
  return Done(w, 0.8f);
}

Wave Nova() {
  Wave w;
  Wave rise = Tone(1.3f, Sweep(40, 160, 1.2f), 2);
  LowPass(rise, Sweep(200, 3000, 1.2f));
  Shape(rise, [](float t) { return t / 1.3f; });
  Mix(w, rise, 0, 0.6f);
  Wave hiss = Noise(1.3f, 101);
  BandPass(hiss, Sweep(300, 5000, 1.2f), 1.2f);
  Shape(hiss, [](float t) { return std::pow(t / 1.3f, 2.0f); });
  Mix(w, hiss, 0, 0.6f);
  Wave boom = Blast(2.2f, 103, 5000, 60);
  Echo(boom, 0.23f, 0.35f, 3);
  Mix(w, boom, 1.25f, 1.3f);
  return Done(w, 0.9f);
}

Wave Thunder() {
  Wave w = Burst(0.15f, 107, 7000);
  Wave roll = Noise(2.6f, 109);
  LowPass(roll, Const(260));
  LowPass(roll, Const(400));
  Shape(roll, [](float t) {
    return std::min(1.0f, t / 0.08f) * std::exp(-1.4f * t) * (0.6f + 0.4f * std::sin(kTwoPi * 2.3f * t) * std::sin(kTwoPi * 0.9f * t));
  });
  Mix(w, roll, 0.05f, 3.0f);
  Drive(w, 1.4f);
  return Done(w, 0.9f);
}

Wave Pickup() { return Done(Arpeggio({3, 7, 10, 15, 19}, 0.055f, 0.25f), 0.7f); }

Wave SpeedUp() {
  Wave w = Noise(0.65f, 113);
  BandPass(w, Sweep(400, 5000, 0.55f), 2);
  Shape(w, Adsr(0.08f, 0.25f, 0.3f));
  Wave tone = Tone(0.65f, Sweep(300, 1600, 0.55f), 1);
  Shape(tone, Adsr(0.05f, 0.3f, 0.3f));
  Mix(w, tone, 0, 0.4f);
  return Done(w, 0.75f);
}

Wave Checkpoint() {
  Wave w = Bell(Note(10), 0.9f);
  Mix(w, Bell(Note(17), 1.1f), 0.16f, 0.9f);
  Mix(w, Bell(Note(22), 1.2f), 0.32f, 0.7f);
  return Done(w, 0.75f);
}

Wave ExtraLife() {
  Wave w = Arpeggio({3, 7, 10, 15, 19, 22, 27}, 0.07f, 0.5f);
  for (int n : {15, 19, 22}) Mix(w, Bell(Note(n), 0.6f), 0.5f, 0.3f);
  return Done(w, 0.75f);
}

Wave Respawn() {
  Wave w;
  for (int n : {-9, -5, -2, 3}) {
    Wave p = Tone(1.3f, [n](float t) { return Note(n) * (1 + 0.004f * std::sin(kTwoPi * 6 * t)); }, 1);
    Mix(w, p, 0, 0.3f);
  }
  Shape(w, [](float t) { return std::pow(std::min(1.0f, t / 0.8f), 2.0f) * (t < 1.0f ? 1.0f : std::max(0.0f, 1 - (t - 1.0f) / 0.3f)); });
  for (int k = 0; k < 8; ++k) Mix(w, Bell(Note(15 + (k * 5) % 17), 0.3f), 0.1f * k, 0.15f);
  return Done(w, 0.75f);
}

Wave DockOn() {
  Wave w = Fm(0.4f, Sweep(220, 1300, 0.32f), 2.0f, [](float t) { return 1.5f * (1 - t / 0.4f); });
  Shape(w, Adsr(0.02f, 0.25f, 0.13f));
  Mix(w, Burst(0.02f, 127, 6000), 0.33f, 0.6f);
  return Done(w, 0.7f);
}

Wave DockOff() {
  Wave w = Fm(0.42f, Sweep(1300, 160, 0.38f), 2.0f, Const(1.2f));
  Shape(w, Adsr(0.01f, 0.15f, 0.26f));
  Wave air = Noise(0.42f, 131);
  BandPass(air, Sweep(3000, 400, 0.38f), 2);
  Shape(air, Decay(0.42f));
  Mix(w, air, 0, 0.4f);
  return Done(w, 0.7f);
}

Wave PodSelect() {
  Wave w = Tone(0.1f, Const(1250), 0);
  Shape(w, Decay(0.1f));
  Mix(w, Burst(0.01f, 137, 8000), 0, 0.5f);
  return Done(w, 0.6f);
}

Wave PodTurn() {
  Wave w = Tone(0.2f, Sweep(450, 1100, 0.18f), 1);
  Shape(w, Adsr(0.01f, 0.1f, 0.09f));
  for (int k = 0; k < 3; ++k) Mix(w, Burst(0.012f, 139 + k, 7000), 0.05f * k, 0.6f);
  return Done(w, 0.6f);
}

Wave BeamModeSwitch() {
  Wave a = Tone(0.07f, Const(880), 3), b = Tone(0.09f, Const(1320), 3);
  Shape(a, Decay(0.07f));
  Shape(b, Decay(0.09f));
  Wave w = Concat(a, b);
  LowPass(w, Const(5000));
  return Done(w, 0.55f);
}

Wave PauseChime() {
  Wave w = Bell(Note(7), 0.4f);
  Mix(w, Bell(Note(14), 0.5f), 0.09f, 0.8f);
  return Done(w, 0.6f);
}

Wave Horn() {
  Wave w;
  for (int k = 0; k < 2; ++k) {
    float f = k == 0 ? 233 : 294;
    Wave h = Tone(0.3f, [f](float t) { return f * (1 + 0.015f * std::sin(kTwoPi * 7 * t)); }, 2);
    Mix(h, Tone(0.3f, Const(f * 1.005f), 3), 0, 0.4f);
    Wave formant = h;
    BandPass(formant, Const(850), 3);
    Mix(h, formant, 0, 1.5f);
    LowPass(h, Const(3500));
    Shape(h, Adsr(0.02f, 0.22f, 0.06f));
    Drive(h, 1.6f);
    Mix(w, h, 0.34f * k, 1.0f);
  }
  return Done(w, 0.7f);
}

Wave Speech() {
  // Syllables of a made-up radio voice: vowels (two formants) with breathy consonants.
  struct Syllable {
    float length, f1, f2, pitch;
  };
  const Syllable kSyllables[] = {{0.16f, 700, 1100, 125}, {0.12f, 400, 2000, 135}, {0.2f, 750, 1250, 120},
                                 {0.1f, 300, 2300, 140},  {0.22f, 500, 900, 110}};
  Wave w;
  float at = 0.02f;
  uint32_t seed = 151;
  for (const Syllable& s : kSyllables) {
    Wave cons = Noise(0.04f, seed++);
    BandPass(cons, Const(3500), 2);
    Shape(cons, Adsr(0.005f, 0.015f, 0.02f));
    Mix(w, cons, at, 0.25f);
    Mix(w, Vowel(s.length, s.pitch, s.f1, s.f2, seed++), at + 0.035f, 1.0f);
    at += s.length + 0.06f;
  }
  HighPass(w, 200);
  return Done(w, 0.75f);
}

Wave WaterLoop() {
  Wave w = Noise(0.95f, 163);
  BandPass(w, Const(900), 1.2f);
  Gain(w, 0.35f);
  for (int k = 0; k < 14; ++k) {
    float f = 500 + 900 * std::fmod(k * 0.618f, 1.0f);
    Wave b = Tone(0.05f, Sweep(f, f * 2.2f, 0.05f), 0);
    Shape(b, Adsr(0.003f, 0.01f, 0.037f));
    Mix(w, b, 0.06f * k + 0.01f * (k % 3), 0.35f);
  }
  return Looped(w, 0.55f);
}

Wave RainLoop() {
  Wave w = Noise(2.2f, 167);
  LowPass(w, Const(5000));
  HighPass(w, 300);
  Gain(w, 0.3f);
  for (int k = 0; k < 120; ++k) {
    float at = std::fmod(k * 0.7548f, 1.0f) * 2.1f;
    Mix(w, Burst(0.006f, 170 + static_cast<uint32_t>(k), 6000), at, 0.25f + 0.2f * std::fmod(k * 0.37f, 1.0f));
  }
  return Looped(w, 0.5f);
}

Wave Alarm() {
  // Two tones in turn, three times, with a harsh edge: something big is coming.
  Wave w;
  for (int k = 0; k < 6; ++k) {
    const float f = k % 2 ? 587 : 784;
    Wave t = Tone(0.16f, Const(f), 3);
    Mix(t, Tone(0.16f, Const(f * 1.5f), 2), 0, 0.3f);
    Shape(t, Adsr(0.01f, 0.12f, 0.03f));
    Mix(w, t, 0.16f * k, 1.0f);
  }
  BandPass(w, Const(1400), 1.5f);
  Drive(w, 2.0f);
  Echo(w, 0.11f, 0.25f, 2);
  return Done(w, 0.7f);
}

Wave PlasmaShot() {
  Wave w = Fm(0.22f, Sweep(1500, 260, 0.2f), 1.5f, [](float t) { return 4 * std::exp(-14 * t); });
  Shape(w, Decay(0.22f));
  Mix(w, Burst(0.05f, 211, 7000), 0, 0.3f);
  return Done(w, 0.7f);
}

Wave RadioVoice(int n) {
  // A made-up voice over a radio: words of a few syllables, band-limited, with hiss
  // and a squelch click at both ends.
  Random rnd(500 + 37 * static_cast<uint32_t>(n));
  Wave w;
  const int syllables = 10 + 3 * n;
  float at = 0.09f;
  uint32_t seed = 600 + 50 * static_cast<uint32_t>(n);
  const float pitch = 118 + 12 * n;
  for (int k = 0; k < syllables; ++k) {
    const float len = 0.08f + 0.12f * static_cast<float>(rnd.Unit());
    const float f1 = 300 + 500 * static_cast<float>(rnd.Unit()), f2 = 900 + 1500 * static_cast<float>(rnd.Unit());
    Wave cons = Noise(0.035f, seed++);
    BandPass(cons, Const(3000), 2);
    Shape(cons, Adsr(0.004f, 0.012f, 0.02f));
    Mix(w, cons, at, 0.3f);
    Mix(w, Vowel(len, pitch * (1.1f - 0.2f * k / syllables), f1, f2, seed++), at + 0.03f, 1.0f);
    at += len + 0.045f + (k % 4 == 3 ? 0.12f : 0.0f);
  }
  Wave hiss = Noise(at + 0.1f, seed++);
  LowPass(hiss, Const(6000));
  Mix(w, hiss, 0, 0.05f);
  HighPass(w, 320);
  LowPass(w, Const(3200));
  Drive(w, 1.5f);
  Mix(w, Burst(0.03f, seed++, 8000), 0, 0.5f);
  Mix(w, Burst(0.03f, seed, 8000), at + 0.05f, 0.5f);
  return Done(w, 0.75f);
}

Wave SonarPing() {
  // A clear ping ringing out in a large cave, with a softer second partial.
  Wave w = Tone(1.8f, Const(1180), 0);
  Mix(w, Tone(1.8f, Const(2360), 0), 0, 0.15f);
  Shape(w, [](float t) { return std::min(1.0f, t / 0.002f) * std::exp(-3.2f * t); });
  Echo(w, 0.42f, 0.45f, 4);
  return Done(w, 0.7f);
}

Wave SporeShot() {
  // A wet plop: a rising bubble over a puff of filtered noise.
  Wave w = Tone(0.18f, Sweep(180, 720, 0.12f), 0);
  Shape(w, Decay(0.18f));
  Wave n = Noise(0.12f, 223);
  BandPass(n, Sweep(600, 2400, 0.1f), 3);
  Shape(n, Decay(0.12f));
  Mix(w, n, 0, 0.5f);
  return Done(w, 0.7f);
}

Wave Roar() {
  // The deep growl of something very large, swelling and dying away.
  Wave w = Tone(2.2f, [](float t) { return 52.0f + 6.0f * std::sin(kTwoPi * 3.1f * t) + 14.0f * std::exp(-t); }, 2);
  Mix(w, Tone(2.2f, [](float t) { return 78.5f + 5.0f * std::sin(kTwoPi * 2.3f * t); }, 2), 0, 0.6f);
  Wave n = Noise(2.2f, 227);
  LowPass(n, Const(500));
  Mix(w, n, 0, 0.7f);
  LowPass(w, Sweep(1400, 300, 2.0f));
  Shape(w, Adsr(0.35f, 0.9f, 0.95f));
  Drive(w, 2.5f);
  return Done(w, 0.9f);
}


}  // namespace demo::sounds
