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

namespace {

// A stereo mix of note events, each added where it starts.
class Spur {
 public:
  explicit Spur(double seconds) : n_(static_cast<size_t>(seconds * kRateMusik)), l_(n_), r_(n_) {}

  // `ton`(t) for `laenge` seconds from `start`, panned from -1 (left) to 1 (right). The
  // mix wraps round, so a tail that runs past the end sounds at the start of the loop.
  template <class Ton>
  void Add(double start, double laenge, float pan, Ton&& ton) {
    const size_t von = static_cast<size_t>(start * kRateMusik), anzahl = static_cast<size_t>(laenge * kRateMusik);
    const float gl = 1 - std::max(0.0f, pan), gr = 1 + std::min(0.0f, pan);
    for (size_t i = 0; i < anzahl; ++i) {
      const float v = ton(static_cast<double>(i) / kRateMusik);
      l_[(von + i) % n_] += v * gl;
      r_[(von + i) % n_] += v * gr;
    }
  }

  std::vector<int16_t> Pcm() const {
    float peak = 1e-6f;
    for (size_t i = 0; i < n_; ++i) peak = std::max({peak, std::fabs(l_[i]), std::fabs(r_[i])});
    std::vector<int16_t> out(2 * n_);
    for (size_t i = 0; i < n_; ++i) {
      out[2 * i] = Clip(l_[i] / peak * 0.9);
      out[2 * i + 1] = Clip(r_[i] / peak * 0.9);
    }
    return out;
  }

  static constexpr int kRateMusik = 44100;

 private:
  size_t n_;
  std::vector<float> l_, r_;
};

double Saw(double phase) { return 2 * (phase - std::floor(phase)) - 1; }
double Square(double phase) { return phase - std::floor(phase) < 0.5 ? 0.7 : -0.7; }

}  // namespace

std::vector<int16_t> CanyonMusic() {
  const double beat = 0.5, bar = 4 * beat;
  const int bars = 16;
  Spur mix(bars * bar);
  Random noise(71);
  std::vector<float> rauschen(44100);
  for (float& v : rauschen) v = static_cast<float>(noise.Unit() * 2 - 1);
  auto hiss = [&rauschen](double t) { return rauschen[static_cast<size_t>(t * 44100) % rauschen.size()]; };

  // Am - F - G - Em, one bar each, four times over; the roots in semitones from A4.
  const int roots[4] = {0, -4, -2, -5};
  const int chords[4][3] = {{0, 3, 7}, {-4, 0, 3}, {-2, 2, 5}, {-5, -2, 2}};
  const int bassLine[8] = {0, 0, 12, 0, 0, 12, 7, 12};
  const int melody[4][8] = {{12, -99, 15, 14, 12, -99, 10, 12},
                            {8, -99, 10, 12, 15, -99, 14, 12},
                            {10, -99, 14, 12, 10, -99, 7, 10},
                            {7, 9, 10, -99, 14, 12, 10, 7}};
  for (int b = 0; b < bars; ++b) {
    const double t0 = b * bar;
    const int c = b % 4;
    const int section = b / 4;  // 0 drums and bass, 1 + arpeggio, 2 + lead, 3 everything
    for (int k = 0; k < 4; ++k) {
      const double at = t0 + k * beat;
      mix.Add(at, 0.25, 0, [](double t) {
        const double f = 45 + 75 * std::exp(-t * 30);
        return static_cast<float>(std::sin(2 * M_PI * f * t) * std::exp(-t * 14) * 0.9);
      });
      if (k % 2 == 1)
        mix.Add(at, 0.18, 0.1f, [&hiss](double t) {
          return static_cast<float>((hiss(t) * 0.55 + std::sin(2 * M_PI * 190 * t) * 0.3) * std::exp(-t * 22));
        });
    }
    for (int e = 0; e < 8; ++e) {
      const double at = t0 + e * beat / 2;
      const float off = e % 2 ? 0.16f : 0.08f;
      mix.Add(at, 0.05, 0.4f, [&hiss, off](double t) {
        return static_cast<float>(hiss(t + 0.3) * off * std::exp(-t * 90));
      });
      const double fb = Note(roots[c] - 36 + bassLine[e]);
      mix.Add(at, beat / 2, -0.05f, [fb](double t) {
        const double env = std::min(1.0, t * 300) * std::exp(-t * 5);
        return static_cast<float>((Saw(fb * t) * 0.5 + std::sin(2 * M_PI * fb * t) * 0.6) * env * 0.5);
      });
    }
    if (section >= 1) {
      for (int s = 0; s < 16; ++s) {
        const int tone = chords[c][s % 3] + 12 * ((s / 3) % 2);
        const double fa = Note(tone);
        mix.Add(t0 + s * beat / 4, beat / 2, s % 2 ? 0.6f : -0.6f, [fa](double t) {
          return static_cast<float>(Square(fa * t) * std::exp(-t * 12) * 0.12);
        });
      }
    }
    if (section >= 2) {
      for (int e = 0; e < 8; ++e) {
        if (melody[c][e] < -50) continue;
        const double fl = Note(melody[c][e]);
        const double len = (e + 1 < 8 && melody[c][e + 1] < -50) ? beat : beat / 2;
        mix.Add(t0 + e * beat / 2, len, -0.2f, [fl, len](double t) {
          const double vib = 1 + 0.006 * std::sin(2 * M_PI * 5.5 * t) * std::min(1.0, t * 4);
          const double env = std::min(1.0, t * 60) * std::min(1.0, (len - t) * 30);
          return static_cast<float>((Saw(fl * vib * t) * 0.6 + Saw(fl * 1.004 * t) * 0.4) * env * 0.16);
        });
      }
    }
    // A soft pad holds the chord throughout.
    for (int k = 0; k < 3; ++k) {
      const double fp = Note(chords[c][k] - 12);
      mix.Add(t0, bar, k == 1 ? 0.3f : -0.3f, [fp, bar](double t) {
        const double env = std::min(1.0, t * 8) * std::min(1.0, (bar - t) * 8);
        return static_cast<float>(std::sin(2 * M_PI * fp * t) * env * 0.06);
      });
    }
  }
  return mix.Pcm();
}

namespace {

// A held chord tone of the pads below: a slow swell in and out over `len` seconds.
auto PadTon(double f, double len, double gain) {
  return [f, len, gain](double t) {
    const double env = std::min(1.0, t / (len * 0.3)) * std::min(1.0, (len - t) / (len * 0.3));
    return static_cast<float>((std::sin(2 * M_PI * f * t) + 0.3 * std::sin(2 * M_PI * 2.003 * f * t)) * env * gain);
  };
}

// A plucked note that rings out: a sine with a bright start, fading over `len` seconds.
auto Zupf(double f, double len, double gain) {
  return [f, len, gain](double t) {
    const double env = std::min(1.0, t * 400) * std::exp(-t * 5.0 / len);
    return static_cast<float>((std::sin(2 * M_PI * f * t) + 0.4 * std::sin(2 * M_PI * 3 * f * t) * std::exp(-t * 12)) *
                              env * gain);
  };
}

}  // namespace

std::vector<int16_t> DeepMusic() {
  const double beat = 2.0 / 3.0, bar = 4 * beat;
  const int bars = 12;
  Spur mix(bars * bar);
  // Dm - Bb - C - Am, three times; the roots in semitones from A4.
  const int roots[4] = {-7, -11, -9, -12};
  const int chords[4][3] = {{-7, -4, 0}, {-11, -7, -4}, {-9, -5, -2}, {-12, -9, -5}};
  const int arp[8] = {0, 1, 2, 1, 2, 0, 2, 1};
  Random tropfen(91);
  for (int b = 0; b < bars; ++b) {
    const double t0 = b * bar;
    const int c = b % 4;
    // The deep bass holds the root; a soft heartbeat on the first and third beat.
    const double fb = Note(roots[c] - 24);
    mix.Add(t0, bar, 0, [fb, bar](double t) {
      const double env = std::min(1.0, t * 6) * std::min(1.0, (bar - t) * 6);
      return static_cast<float>(std::sin(2 * M_PI * fb * t) * env * 0.45);
    });
    for (int k : {0, 2}) {
      mix.Add(t0 + k * beat, 0.4, 0, [](double t) {
        const double f = 38 + 40 * std::exp(-t * 25);
        return static_cast<float>(std::sin(2 * M_PI * f * t) * std::exp(-t * 9) * 0.6);
      });
    }
    for (int k = 0; k < 3; ++k) mix.Add(t0, bar, k == 1 ? 0.4f : -0.4f, PadTon(Note(chords[c][k] - 12), bar, 0.08));
    // From the second round on, a plucked arpeggio with its echo a dotted eighth later.
    if (b >= 4) {
      for (int e = 0; e < 8; ++e) {
        const double f = Note(chords[c][arp[e]] + 12);
        const double at = t0 + e * beat / 2;
        mix.Add(at, 1.2, e % 2 ? 0.5f : -0.3f, Zupf(f, 1.2, 0.12));
        mix.Add(at + beat * 0.75, 1.2, e % 2 ? -0.5f : 0.3f, Zupf(f, 1.2, 0.05));
      }
    }
    // Drops falling into still water, here and there.
    for (int d = 0; d < 3; ++d) {
      const double at = t0 + tropfen.Unit() * bar;
      const double f0 = 1400 + 900 * tropfen.Unit();
      const float pan = static_cast<float>(tropfen.Unit() * 1.6 - 0.8);
      mix.Add(at, 0.12, pan, [f0](double t) {
        return static_cast<float>(std::sin(2 * M_PI * f0 * (1 + 3 * t) * t) * std::exp(-t * 40) * 0.1);
      });
    }
  }
  return mix.Pcm();
}

std::vector<int16_t> EpilogMusic() {
  const double beat = 0.75, bar = 4 * beat;
  const int bars = 8;
  Spur mix(bars * bar);
  // C - G - Am - F, twice; a bell melody over the second round.
  const int roots[4] = {3, -2, 0, -4};
  const int chords[4][3] = {{3, 7, 10}, {-2, 2, 5}, {0, 3, 7}, {-4, 0, 3}};
  const int melody[4][4] = {{15, 14, 10, 7}, {14, 10, 9, 14}, {12, 10, 7, 12}, {10, 8, 7, 3}};
  for (int b = 0; b < bars; ++b) {
    const double t0 = b * bar;
    const int c = b % 4;
    for (int k = 0; k < 3; ++k) mix.Add(t0, bar, k == 1 ? 0.5f : -0.5f, PadTon(Note(chords[c][k] - 12), bar, 0.1));
    mix.Add(t0, bar, 0, PadTon(Note(roots[c] - 24), bar, 0.25));
    for (int e = 0; e < 4; ++e)
      mix.Add(t0 + e * beat, 1.6, e % 2 ? 0.4f : -0.4f, Zupf(Note(chords[c][e % 3] + 12), 1.6, 0.07));
    if (b >= 4)
      for (int e = 0; e < 4; ++e) mix.Add(t0 + e * beat, 2.0, 0.1f, Zupf(Note(melody[c][e] + 12), 2.0, 0.14));
  }
  return mix.Pcm();
}

std::vector<int16_t> ContinueMusic() {
  const double schritt = 1.12;  // one step of the count: 28 frames of 40 ms
  const int schritte = 9;
  const double ende = schritte * schritt;
  Spur mix(13.0);
  // The drone under the count swells and trembles faster toward its end.
  for (int k : {-33, -26}) {
    const double f = Note(k);
    mix.Add(0, ende, k == -33 ? -0.2f : 0.2f, [f, ende](double t) {
      const double env = std::min(1.0, t * 2) * std::min(1.0, (ende - t) * 4) * (0.5 + 0.5 * t / ende);
      const double zittern = 1 - 0.4 * (0.5 + 0.5 * std::sin(2 * M_PI * (1.5 + 4 * t / ende) * t));
      return static_cast<float>((std::sin(2 * M_PI * f * t) + 0.25 * Saw(f * t)) * env * zittern * 0.22);
    });
  }
  for (int s = 0; s < schritte; ++s) {
    const double at = s * schritt;
    // The bell of the step, a semitone lower each time.
    mix.Add(at, schritt, s % 2 ? 0.3f : -0.3f, Zupf(Note(3 - s), schritt, 0.35));
    mix.Add(at, schritt, 0, Zupf(Note(-9 - s), schritt, 0.2));
    // The clock: a tick on the step and a softer one half-way.
    for (int h = 0; h < 2; ++h)
      mix.Add(at + h * schritt / 2, 0.03, h ? 0.5f : -0.5f, [h](double t) {
        return static_cast<float>(std::sin(2 * M_PI * 2600 * t) * std::exp(-t * 250) * (h ? 0.25 : 0.45));
      });
  }
  // The tube switched off: a whine falling away while the picture collapses.
  mix.Add(ende, 2.6, 0, [](double t) {
    // The phase of a pitch falling from 930 Hz toward 30 Hz.
    const double phase = 900 / 2.2 * (1 - std::exp(-t * 2.2)) + 30 * t;
    return static_cast<float>((std::sin(2 * M_PI * phase) * 0.6 + 0.2 * Square(phase)) * std::exp(-t * 1.6) *
                              std::min(1.0, t * 200) * 0.5);
  });
  return mix.Pcm();
}

}  // namespace demo
