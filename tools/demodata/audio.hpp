#pragma once
// Sounds and music made by code for the demo data.
#include <cstdint>
#include <vector>

namespace demo {

// A short effect: a tone sliding from f0 to f1 Hz mixed with a share of noise, fading
// out over `seconds`; mono 16-bit samples at `rate`.
std::vector<int16_t> Effect(double seconds, double f0, double f1, double noise, uint32_t seed, int rate);
// Two notes one after the other (menu blips).
std::vector<int16_t> TwoNotes(double f0, double f1, double each, int rate);
// A loop of calm music: a chord pad under an arpeggio, interleaved stereo at 44,100 Hz.
std::vector<int16_t> MenuMusic(double seconds);
// The first level's music: sixteen bars of a driving loop in A minor at 120 beats a
// minute (32 seconds), drums, bass, arpeggio and a lead that joins in; its last bar leads
// back into its first. Interleaved stereo at 44,100 Hz.
std::vector<int16_t> CanyonMusic();
// The second level's music: twelve slow bars in D minor (32 seconds) of deep bass, a
// heartbeat, pads and, from the fifth bar, a plucked arpeggio with its echo, with drops
// falling into water. Interleaved stereo at 44,100 Hz.
std::vector<int16_t> DeepMusic();
// The epilogue's music: eight calm bars in C major (24 seconds), pads and plucked chords,
// a bell melody over the second half. Interleaved stereo at 44,100 Hz.
std::vector<int16_t> EpilogMusic();

// The continue screen's music (13 seconds, played once): a low drone under a clock that
// ticks each of the nine count steps of 1.12 seconds with a bell a semitone lower every
// step, then the tone of a tube switched off. Interleaved stereo at 44,100 Hz.
std::vector<int16_t> ContinueMusic();

}  // namespace demo
