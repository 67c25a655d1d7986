#pragma once
// The scenes of the demo videos: short flights of the player's ship through the levels'
// own landscapes, with a title or a line of the story laid over them and a sound track.
// A scene draws its world once per picture and its words once per language on top, so
// the three language versions of a video share their pictures but for the words.
#include <functional>
#include <string>
#include <vector>

#include "demodata/canvas.hpp"

namespace demo {

constexpr int kFilmBreite = 800, kFilmHoehe = 600;
// The world shows between black bars at the top and the bottom, as wide as a film (16 to
// 9); the words may stand on the bars, which also cost the files next to nothing.
constexpr int kBalken = 75;

struct Szene {
  double sekunden = 0;
  int bilderProSekunde = 10;
  // Seconds of the fade from black at the start and to black at the end.
  double einblenden = 0.8, ausblenden = 0.8;
  // The world at `t` seconds into the scene, drawn into an opaque black 800 x 600
  // picture.
  std::function<void(double t, Canvas& bild)> welt = {};
  // The words over it at `t` in the language of the letter "D", "E" or "R" (or "" for a
  // video that is the same in every language).
  std::function<void(double t, const std::string& sprache, Canvas& bild)> worte = {};
  // Mono sound at 44,100 Hz, as long as the scene.
  std::vector<float> ton = {};
};

// Before the logos: the game's name lights up among the stars.
Szene LogoScene();
// After the logos: the ship sets out over the canyon at dusk.
Szene IntroScene();
// Between the two levels: the ship dives from the canyon into the flooded caves.
Szene DeepScene();
// The ending: the ship flies home to its planet at sunrise.
Szene OutroScene();
// The ending of a later play-through, before the epilogue: the canyon at dawn, the ship
// climbing out of it on its way home.
Szene Outro2Scene();

}  // namespace demo
