// The storm arsenal: every picture its description names, drawn by code and looked up by
// file name, its level sounds, its radio voices and its music.
#include "demodata/arsenal.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "demodata/level1.hpp"
#include "demodata/level2.hpp"
#include "demodata/sounds.hpp"
#include "demodata/synth.hpp"

namespace demo {
namespace {

using namespace synth;

// Wet basalt in the rain, its rim catching the lightning; hazy grey far out.
const RockStyle kBasalt{Hex(0x171C22), Hex(0x7A8898), Hex(0xC8E0FF), false, {}, 0};
const RockStyle kFarBasalt{Hex(0x161C24), Hex(0x323C48), Hex(0x4E5E72), true, Hex(0x222A36), 0.45f};

std::string N(int n) { return std::to_string(n); }

float Note(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

Wave Finished(Wave w, float peak) {
  Normalise(w, peak);
  return w;
}

Wave Siren() {
  // A wailing two-tone siren, rising and falling twice, with a harsh edge and an echo off
  // the depot's walls.
  Wave w = Tone(1.8f, [](float t) { return 520 + 260 * std::sin(t * 2 * 3.14159f / 0.9f - 1.57f); }, 3);
  Mix(w, Tone(1.8f, [](float t) { return 781 + 390 * std::sin(t * 2 * 3.14159f / 0.9f - 1.57f); }, 2), 0, 0.35f);
  Shape(w, Adsr(0.05f, 1.6f, 0.15f));
  BandPass(w, Const(1100), 1.2f);
  Drive(w, 1.8f);
  Echo(w, 0.19f, 0.3f, 3);
  return Finished(w, 0.7f);
}

Wave BoltShot() {
  // A heavy thump with a falling whine: the cannon's fire bolt.
  Wave w = Fm(0.26f, Sweep(900, 160, 0.22f), 0.5f, [](float t) { return 3 * std::exp(-10 * t); });
  Shape(w, Decay(0.26f));
  Wave n = Noise(0.08f, 731);
  LowPass(n, Const(2500));
  Shape(n, Decay(0.08f));
  Mix(w, n, 0, 0.6f);
  return Finished(w, 0.7f);
}

Wave NeedleShot() {
  // A thin, bright zing that falls away: the needle.
  Wave w = Fm(0.2f, Sweep(3400, 1300, 0.16f), 2.01f, [](float t) { return 1.5f * std::exp(-18 * t); });
  Shape(w, Decay(0.2f));
  HighPass(w, 600);
  return Finished(w, 0.6f);
}

Wave DistantThunder() {
  // A crack far away and the long roll that follows it over the sea.
  Wave w = Noise(3.2f, 733);
  LowPass(w, Sweep(1800, 160, 0.8f));
  Shape(w, [](float t) { return std::min(1.0f, t / 0.04f) * (0.5f + 0.5f * std::sin(t * 7)) * std::exp(-1.4f * t); });
  Wave crack = Noise(0.25f, 735);
  BandPass(crack, Const(900), 1.0f);
  Shape(crack, Decay(0.25f));
  Mix(w, crack, 0, 0.8f);
  return Finished(w, 0.8f);
}

// The music's two channels; a sound placed at `pan` (-1 left .. 1 right).
struct Stereo {
  Wave l, r;
  void Add(const Wave& w, float at, float pan, float gain) {
    Mix(l, w, at, gain * std::min(1.0f, 1 - pan));
    Mix(r, w, at, gain * std::min(1.0f, 1 + pan));
  }
};

Wave Kick() {
  Wave w = Tone(0.3f, Sweep(130, 42, 0.08f), 0);
  Shape(w, Decay(0.3f));
  return w;
}

Wave Snare(uint32_t seed) {
  Wave w = Noise(0.18f, seed);
  BandPass(w, Const(2200), 0.8f);
  Mix(w, Tone(0.1f, Sweep(240, 170, 0.05f), 1), 0, 0.6f);
  Shape(w, Decay(0.18f));
  return w;
}

Wave Hat(uint32_t seed) {
  Wave w = Noise(0.05f, seed);
  HighPass(w, 7000);
  Shape(w, Decay(0.05f));
  return w;
}

Wave Pluck(float f, float seconds, int shape, float cutoff) {
  Wave w = Tone(seconds, Const(f), shape);
  LowPass(w, Sweep(cutoff, cutoff * 0.2f, seconds));
  Shape(w, Decay(seconds));
  return w;
}

}  // namespace

Bilder ArsenalPictures() {
  Bilder b;
  b["StormSea.bmp"] = {StormSea, false};
  for (int n = 1; n <= 4; ++n) b["Scrap" + N(n) + ".bmp"] = {[n] { return ScrapFrame(n - 1); }};
  // The solid scenery of layer 3 ...
  b["StackA.bmp"] = {[] { return Rock(180, 330, false, kBasalt, 801); }};
  b["StackB.bmp"] = {[] { return Rock(150, 120, false, kBasalt, 802); }};
  b["StackC.bmp"] = {[] { return Rock(240, 360, false, kBasalt, 803); }};
  b["Pylon.bmp"] = {SteelPylon};
  b["Gantry.bmp"] = {SteelGantry};
  // ... and what lies far behind it.
  b["FarRig.bmp"] = {FarRig};
  b["FarStack.bmp"] = {[] { return Rock(240, 150, false, kFarBasalt, 804); }};
  for (int n = 1; n <= 4; ++n) {
    b["Gnat" + N(n) + ".bmp"] = {[n] { return GnatFrame(n - 1); }};
    b["Keg" + N(n) + ".bmp"] = {[n] { return KegFrame(n - 1); }};
    b["Warden" + N(n) + ".bmp"] = {[n] { return WardenFrame(n - 1); }};
  }
  for (int n = 1; n <= 2; ++n) {
    b["Gunboat" + N(n) + ".bmp"] = {[n] { return GunboatFrame(n - 1); }};
    b["Lancer" + N(n) + ".bmp"] = {[n] { return LancerFrame(n - 1); }};
    b["CrawlerBody" + N(n) + ".bmp"] = {[n] { return CrawlerBody(n - 1); }};
    b["Dreadnought" + N(n) + ".bmp"] = {[n] { return DreadnoughtFrame(n - 1); }};
    b["Bolt" + N(n) + ".bmp"] = {[n] { return BoltFrame(n - 1); }};
  }
  for (int n = 1; n <= 3; ++n) b["Veil" + N(n) + ".bmp"] = {[n] { return VeilFrame(n - 1); }};
  b["Cannon.bmp"] = {[] { return Cannon(32); }};
  b["DreadGun.bmp"] = {[] { return Cannon(48); }};
  b["Hauler.bmp"] = {Hauler};
  b["CrawlerHead.bmp"] = {CrawlerHead};
  b["Bastion.bmp"] = {Bastion};
  b["Launcher.bmp"] = {Launcher};
  b["Needle.bmp"] = {Needle};
  b["Lamp.bmp"] = {[] { return Glow32(0xFF5030); }};
  b["Lightning.bmp"] = {LightningStroke};
  return b;
}

std::vector<tools::ArchiveMember> ArsenalSounds() {
  std::vector<tools::ArchiveMember> m;
  AddSound(m, "A1Siren.wav", Siren());
  AddSound(m, "A1Bolt.wav", BoltShot());
  AddSound(m, "A1Needle.wav", NeedleShot());
  AddSound(m, "A1Thunder.wav", DistantThunder());
  return m;
}

std::vector<tools::ArchiveMember> ArsenalVoices() {
  std::vector<tools::ArchiveMember> m;
  for (int n = 0; n < 3; ++n) AddSound(m, "Arsenal" + N(n + 1) + ".wav", sounds::RadioVoice(n + 6));
  return m;
}

std::vector<int16_t> ArsenalMusic() {
  const float beat = 60.0f / 132, bar = 4 * beat;
  const int bars = 16;
  const float laenge = bars * bar;
  Stereo mix;
  // Em - C - D - Bm, four times; the chord tones in semitones from A4.
  const int chords[4][3] = {{-5, -2, 2}, {-9, -5, -2}, {-7, -3, 0}, {-10, -7, -3}};
  const int melodie[16] = {2, 0, -2, 0, 3, 2, 0, -2, 5, 3, 2, 0, -2, 0, 2, -3};
  for (int b = 0; b < bars; ++b) {
    const float t0 = b * bar;
    const int c = b % 4;
    for (int k = 0; k < 4; ++k) {
      mix.Add(Kick(), t0 + k * beat, 0, 0.9f);
      if (k % 2) mix.Add(Snare(741 + static_cast<uint32_t>(b * 4 + k)), t0 + k * beat, 0.1f, 0.45f);
    }
    for (int e = 0; e < 8; ++e) {
      mix.Add(Hat(751 + static_cast<uint32_t>(b * 8 + e)), t0 + e * beat / 2, 0.4f, e % 2 ? 0.12f : 0.2f);
      // The bass pounds the root in eighths, an octave up on the last two.
      mix.Add(Pluck(Note(chords[c][0] - 24 + (e >= 6 ? 12 : 0)), beat / 2, 2, 900), t0 + e * beat / 2, 0, 0.5f);
    }
    // From the fifth bar an arpeggio in sixteenths across the stereo field.
    if (b >= 4)
      for (int s = 0; s < 16; ++s)
        mix.Add(Pluck(Note(chords[c][s % 3] + (s / 3 % 2) * 12), beat / 2, 3, 3000), t0 + s * beat / 4,
                s % 2 ? 0.6f : -0.6f, 0.09f);
    // From the ninth a lead, two notes a bar, with a slow vibrato.
    if (b >= 8)
      for (int h = 0; h < 2; ++h) {
        const float f = Note(melodie[(b - 8) * 2 % 16 + h] + 12);
        Wave lead = Tone(bar / 2, [f](float t) { return f * (1 + 0.006f * std::sin(t * 34)); }, 1);
        Shape(lead, Adsr(0.03f, bar / 2 - 0.2f, 0.15f));
        mix.Add(lead, t0 + h * bar / 2, -0.2f, 0.22f);
      }
    // Thunder rolling in the distance at the start of each half.
    if (b % 8 == 0) mix.Add(DistantThunder(), t0 + beat, 0.5f, 0.25f);
  }
  // What rings past the end is laid over the start, so the loop joins without a cut.
  const size_t n = static_cast<size_t>(laenge * kRate);
  for (Wave* w : {&mix.l, &mix.r}) {
    w->resize(std::max(w->size(), n), 0.0f);
    for (size_t i = n; i < w->size(); ++i) (*w)[i - n] += (*w)[i];
    w->resize(n);
  }
  float spitze = 1e-6f;
  for (size_t i = 0; i < n; ++i) spitze = std::max({spitze, std::fabs(mix.l[i]), std::fabs(mix.r[i])});
  std::vector<int16_t> out(2 * n);
  for (size_t i = 0; i < n; ++i) {
    out[2 * i] = static_cast<int16_t>(std::lround(mix.l[i] / spitze * 0.8f * 32767));
    out[2 * i + 1] = static_cast<int16_t>(std::lround(mix.r[i] / spitze * 0.8f * 32767));
  }
  return out;
}

}  // namespace demo
