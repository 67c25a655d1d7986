#pragma once
// The level script: the campaign as a plain text "Play.txt" in the archive "Play.vkp",
// one step a line. A line begins with its keyword, compared without regard to case on
// the keyword's length; whatever follows is its argument:
//
//   Save                   the save screen after a cleared level
//   Play Intro2.avi        a video of "Video.vkp"
//   Load Level2, Deep.bmp  the level "Level2.vlp", loading behind "Deep.bmp" of "Loading.vkp"
//   Credits                the ending: high scores, the outro video, the credits and,
//                          from the second play-through on, the epilogue level
//
// Any other line is passed over. The last line of the file never runs (a line runs only
// when another one follows it), so a script ends with a line of its own.
#include <cstdint>
#include <span>
#include <string>

#include "campaign/script_state.hpp"

// Runs the script from `SkriptStand` until a line loads a level: true, with `LevelName`
// and the loading picture set, for the program run to load and play it. False when the
// script has run out, the game is over (run state 9, which becomes 0) or the program
// quits. With `EinzelLevel` set it plays `LevelName` once and the next call ends.
bool LevelSkript();

// What one line of the script asks for, and its argument (trimmed; "Play" and "Load"
// only).
enum class SkriptArt { Keine, Save, Play, Load, Credits };
struct SkriptSchritt {
  SkriptArt Art = SkriptArt::Keine;
  std::string Argument;
};
SkriptSchritt ErkenneZeile(const std::string& Zeile);

// What a "Load" line's argument names: the level (its first comma-separated field) and
// the loading picture (the second; empty when there is none), both without the blanks
// at their ends.
struct LadeZiel {
  std::string Level;
  std::string Bild;
};
LadeZiel LadeZielVon(const std::string& Argument);

// Line `Nummer` (from 0) of the script `Text` into `Zeile`, when the script holds it and
// at least one more line follows it; false when the script runs out before that. Lines
// end with CR LF (a lone CR or LF ends one too).
bool SkriptZeileLesen(std::span<const uint8_t> Text, int32_t Nummer, std::string& Zeile);
