#pragma once
// The hidden show the main page's secret key combination starts: glowing dots fly into a
// word, regroup into a heart, sparks rain from above and a line of text fades in, until
// the pause key ends it (the program ends after it).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Runs the show until Escape ends it or the program quits.
void Justanothereffect();

// One dot: the top-left corner of its glow, its speed per frame and where it flies to.
struct ShowPunkt {
  float x = 0, y = 0;
  float vx = 0, vy = 0;
  float tx = 0, ty = 0;
};

// The show's state: the dots, the index of the last one moved and drawn (-1 none), and
// the five rows of the picture they form next ("." a dot, anything else a gap).
struct HiddenShow {
  std::vector<ShowPunkt> Punkte;
  int32_t Letzter = -1;
  std::array<std::string, 5> Zeilen;
};

// The word (five rows of 20 columns) and the heart the dots form.
extern const std::array<const char*, 5> kShowWort;
extern const std::array<const char*, 5> kShowHerz;

// The parts of `Justanothereffect` in its order (tests drive them one by one): the
// set-up (the menu closes, the standard pictures, the dots scattered with the word as
// their goal, a second of black), one frame of 18 ms, and whether the show goes on.
void ShowAufbauen(HiddenShow& s);
void ShowBild(HiddenShow& s);
bool ShowLaeuft();
