#pragma once
// What the ship, name, bonus, high-score, settings, volume and key pages share beyond the
// common page helpers of menu_pages.hpp: texts in the three languages, the lines of the
// text page, text written straight onto the back buffer, and the small rules of the
// pages that the tests look at on their own.
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/menu_state.hpp"

// A text in the three languages, kept as the game keeps text: Windows-1252 bytes for
// German and English, Windows-1251 bytes for Russian. Written in UTF-8 in the code.
struct Dreisprachig {
  std::string D, E, R;
  Dreisprachig(const char* d, const char* e, const char* r);
  // The graphic pages' choice: Russian for "R", German for "D", English for anything else.
  const std::string& Gewaehlt() const;
  // The text pages' choice: nullptr in a language that is none of the three (the page
  // then leaves its lines as they are).
  const std::string* Genau() const;
};

// Line `i` of the run's text page.
void TextZeile(int32_t i, const std::string& text, int16_t farbe);

// The back buffer's device context with a font, for text over the frame: the scene is
// ended first (the caller begins it again afterwards); the context is given back also
// when drawing fails.
class BackBufferSchrift {
 public:
  BackBufferSchrift(const char* font, int16_t hoehe);
  ~BackBufferSchrift();
  BackBufferSchrift(const BackBufferSchrift&) = delete;
  BackBufferSchrift& operator=(const BackBufferSchrift&) = delete;
  // Writes `text` with the top-left of its cell at (x, y) in the GDI colour `farbe`.
  void Text(const std::string& text, double x, double y, int32_t farbe) const;
  // The width of `text` in pixels.
  float Breite(const std::string& text) const;
};

// The level shown for an attenuation `v` (hundredths of a decibel): (v + 5000) / 50,
// rounded half to even, 0 when negative.
int32_t LautstaerkeStufe(int32_t v);
// One step of an attenuation: 250 up; below -5000 it becomes -4500, above 0 -10000.
int32_t LautstaerkeSchritt(int32_t v);
// One step of the music volume: 5 up, past 100 back to 0.
int32_t MusikSchritt(int32_t v);

// The highest play-through as the pages use it: never below 0, never above `hoechstens`.
int32_t Durchgaenge(int32_t hoechstens);
// The tag base: the highest play-through, capped so that base x 10000 + 9999 fits a Long.
inline constexpr int32_t kTagBasisMax = 214747;

// A typed character on a name of at most 16 characters: Backspace (8) drops the last
// character, a code of 32 or more that is a byte is appended while there is room; any
// other code changes nothing.
inline constexpr size_t kNameLaengeMax = 16;
void NameTippen(std::string& name, int32_t zeichen);
// The name a player gets who enters only blanks: "Player 1" or "Player 2".
std::string StandardName(int32_t spieler);
// Draws the high-score tag of player `n`: the play-through's block of 10000 numbers, a
// tag no table entry carries and the other player's record does not hold.
void HighscoreTagZiehen(int32_t n);

// The key page's input device of a key set: `KeyDevice`, a value outside 0..2 counting as
// the keyboard (as the input does).
int32_t KeyPageDevice(int32_t keySet);
// The strength of the vibration as the page shows it: one decimal after the user's
// decimal point ("2.5", "10.0").
std::string StaerkeText(int32_t basis);
