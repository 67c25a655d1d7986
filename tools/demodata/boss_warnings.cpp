#include "demodata/boss_warnings.hpp"

#include <algorithm>
#include <cmath>

namespace demo::sounds {
namespace {

using namespace synth;

// Soft edges at both ends (20 ms in, 80 ms out), then up to the level of the others.
Wave Finished(Wave w, float peak) {
  const float length = static_cast<float>(w.size()) / kRate;
  Shape(w, [length](float t) { return std::min({1.0f, t / 0.02f, (length - t) / 0.08f}); });
  Normalise(w, peak);
  return w;
}

// A deep boom whose ring sweeps down: the shock rings rolling over the screen.
Wave ShockRing() {
  Wave w = Tone(2.0f, Sweep(110, 35, 1.6f), 0);
  Shape(w, Decay(2.0f));
  Wave ring = Fm(2.0f, Sweep(420, 90, 1.8f), 1.5f, [](float t) { return 5 * std::exp(-2 * t); });
  Shape(ring, Decay(1.4f));
  Mix(w, ring, 0, 0.45f);
  Wave hit = Noise(0.3f, 301);
  LowPass(hit, Sweep(5000, 300, 0.25f));
  Shape(hit, Decay(0.3f));
  Mix(w, hit, 0, 0.7f);
  Drive(w, 1.5f);
  return Finished(w, 0.9f);
}

// A two-tone siren, swelling up and down twice; its ends meet so that it loops.
Wave Alarm() {
  const float period = 1.0f;
  Wave w = Tone(
      2.05f, [period](float t) { return 650 + 250 * std::sin(6.2831853f * t / period); }, 2);
  Wave under = Tone(
      2.05f, [period](float t) { return 325 + 125 * std::sin(6.2831853f * t / period); }, 3);
  Mix(w, under, 0, 0.35f);
  BandPass(w, Const(1100), 1.2f);
  Drive(w, 1.6f);
  Wave l = Loop(w, 0.05f);
  Normalise(l, 0.75f);
  return l;
}

// Three short high beeps and an echo: something is wrong.
Wave Beeps() {
  Wave w = Silence(2.0f);
  for (int k = 0; k < 3; ++k) {
    Wave b = Tone(0.12f, Const(1760), 3);
    Mix(b, Tone(0.12f, Const(2637), 0), 0, 0.4f);
    Shape(b, Adsr(0.005f, 0.09f, 0.025f));
    Mix(w, b, 0.18f * k);
  }
  Echo(w, 0.23f, 0.35f, 4);
  return Finished(w, 0.7f);
}

// A whine climbing through hiss to a crack: the boss overloads.
Wave Overload() {
  Wave w = Tone(3.0f, Sweep(90, 2400, 2.7f), 2);
  LowPass(w, Sweep(400, 8000, 2.7f));
  Shape(w, [](float t) { return std::pow(std::min(t / 2.7f, 1.0f), 1.5f); });
  Wave hiss = Noise(3.0f, 307);
  BandPass(hiss, Sweep(500, 6000, 2.8f), 0.8f);
  Shape(hiss, [](float t) { return 0.2f + 0.5f * t / 3.0f; });
  Mix(w, hiss, 0, 0.5f);
  Wave crack = Noise(0.25f, 311);
  Shape(crack, Decay(0.25f));
  Mix(w, crack, 2.72f, 1.2f);
  return Finished(w, 0.85f);
}

// A low rumble that throbs twice a second, for as long as the boss burns; it loops.
Wave Rumble() {
  Wave w = Noise(4.05f, 313);
  LowPass(w, Const(220));
  Wave drone = Tone(4.05f, Const(41), 2);
  LowPass(drone, Const(300));
  Mix(w, drone, 0, 0.6f);
  Mix(w, Tone(4.05f, Const(55.5f), 1), 0, 0.4f);
  Shape(w, [](float t) { return 0.65f + 0.35f * std::sin(6.2831853f * 2 * t); });
  Drive(w, 1.3f);
  Wave l = Loop(w, 0.05f);
  Normalise(l, 0.8f);
  return l;
}

// Metal giving way: a falling groan over crashing noise.
Wave Collapse() {
  Wave w = Noise(3.0f, 317);
  LowPass(w, Sweep(7000, 150, 2.5f));
  Shape(w, [](float t) { return std::min(1.0f, t / 0.01f) * std::exp(-1.4f * t); });
  Wave groan = Fm(3.0f, Sweep(300, 45, 2.6f), 0.71f, [](float t) { return 3 - t; });
  Shape(groan, Adsr(0.1f, 1.4f, 1.5f));
  Mix(w, groan, 0, 0.7f);
  for (int k = 0; k < 4; ++k) {
    Wave thud = Tone(0.4f, Sweep(90 - 10 * k, 40, 0.3f), 0);
    Shape(thud, Decay(0.4f));
    Mix(w, thud, 0.35f + 0.55f * k, 0.8f - 0.15f * k);
  }
  Drive(w, 1.4f);
  return Finished(w, 0.9f);
}

// The last, biggest blast and its long echo off the level's walls.
Wave TheEnd() {
  Wave w = Noise(4.0f, 331);
  LowPass(w, Sweep(9000, 120, 3.2f));
  Shape(w, [](float t) { return std::min(1.0f, t / 0.003f) * std::exp(-1.6f * t); });
  Wave low = Tone(3.0f, Sweep(70, 22, 2.5f), 0);
  Shape(low, Decay(3.0f));
  Mix(w, low, 0, 1.4f);
  Echo(w, 0.37f, 0.3f, 3);
  Drive(w, 2.0f);
  return Finished(w, 0.95f);
}

}  // namespace

Wave BossWarning(int n) {
  switch (n) {
    case 1:
      return ShockRing();
    case 2:
      return Alarm();
    case 3:
      return Beeps();
    case 4:
      return Overload();
    case 5:
      return Rumble();
    case 6:
      return Collapse();
    default:
      return TheEnd();
  }
}

}  // namespace demo::sounds
