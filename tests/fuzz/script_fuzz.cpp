// Feeds arbitrary bytes to the level script's reader as a "Play.txt": takes lines by their
// number as the script does, recognises every line, and splits the argument of every
// "Load" line into the level and its loading picture. Checks against the lines counted
// here: a line is given only when another one follows it, and then as it stands in the
// text; a line is the step its first four characters ("Save", "Play", "Load") or seven
// ("Credits") name, in any letter case and in that order, else none; "Play" and "Load"
// take the rest of the line without its outer blanks, the others nothing; the level and
// the picture are the argument's first two comma-separated fields without their outer
// blanks (no picture without a comma).
//
// The script reads its text afresh for every line; here only a few numbers are read that
// way (the first lines, the last ones, beyond the end), each line's step from the lines
// counted here, so that a long input stays as quick as a short one.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/script.hpp"
#include "shell/basic.hpp"

namespace {

void Pruefe(bool ok) {
  if (!ok) std::abort();
}

char Klein(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the line begins with `wort` (in lower case), whatever the letter case.
bool Beginnt(std::string_view zeile, std::string_view wort) {
  if (zeile.size() < wort.size()) return false;
  for (size_t i = 0; i < wort.size(); ++i)
    if (Klein(zeile[i]) != wort[i]) return false;
  return true;
}

SkriptArt Erwartet(std::string_view zeile) {
  if (Beginnt(zeile, "save")) return SkriptArt::Save;
  if (Beginnt(zeile, "play")) return SkriptArt::Play;
  if (Beginnt(zeile, "load")) return SkriptArt::Load;
  if (Beginnt(zeile, "credits")) return SkriptArt::Credits;
  return SkriptArt::Keine;
}

bool OhneRandBlanks(const std::string& s) { return s.empty() || (s.front() != ' ' && s.back() != ' '); }

// Field `n` (from 0) of a comma-separated text without its outer blanks; empty when the
// text has fewer fields.
std::string Feld(std::string_view text, size_t n) {
  size_t anfang = 0;
  for (; n > 0; --n) {
    const size_t komma = text.find(',', anfang);
    if (komma == std::string_view::npos) return {};
    anfang = komma + 1;
  }
  const size_t ende = text.find(',', anfang);
  return TrimBlanks(text.substr(anfang, ende == std::string_view::npos ? std::string_view::npos : ende - anfang));
}

void PruefeSchritt(const std::string& zeile) {
  const SkriptSchritt s = ErkenneZeile(zeile);
  Pruefe(s.Art == Erwartet(zeile));
  if (s.Art == SkriptArt::Play || s.Art == SkriptArt::Load) {
    Pruefe(s.Argument == TrimBlanks(std::string_view(zeile).substr(4)));
  } else {
    Pruefe(s.Argument.empty());
  }
  if (s.Art != SkriptArt::Load) return;
  const LadeZiel ziel = LadeZielVon(s.Argument);
  Pruefe(ziel.Level == Feld(s.Argument, 0) && ziel.Bild == Feld(s.Argument, 1));
  Pruefe(OhneRandBlanks(ziel.Level) && OhneRandBlanks(ziel.Bild));
}

// A line of the text: where it begins and ends (without its line break), and whether
// anything follows its line break.
struct Zeile {
  size_t anfang, ende;
  bool folgt;
};

std::vector<Zeile> Zeilen(std::span<const uint8_t> text) {
  std::vector<Zeile> zeilen;
  size_t i = 0;
  while (i < text.size()) {
    const size_t anfang = i;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    const size_t ende = i;
    if (i < text.size()) i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    zeilen.push_back({anfang, ende, i < text.size()});
  }
  return zeilen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> text(data, size);
  const std::vector<Zeile> zeilen = Zeilen(text);
  const int64_t n = static_cast<int64_t>(zeilen.size());
  for (int64_t nummer : {int64_t{-1}, int64_t{0}, int64_t{1}, int64_t{2}, n / 2, n - 2, n - 1, n, n + 1,
                         int64_t{kSkriptEnde}, int64_t{INT32_MAX}}) {
    std::string zeile = "vorher";
    const bool da = SkriptZeileLesen(text, static_cast<int32_t>(nummer), zeile);
    const bool erwartet = nummer >= 0 && nummer < n && zeilen[static_cast<size_t>(nummer)].folgt;
    Pruefe(da == erwartet);
    if (!da) continue;
    const Zeile& z = zeilen[static_cast<size_t>(nummer)];
    Pruefe(zeile == std::string_view(reinterpret_cast<const char*>(data) + z.anfang, z.ende - z.anfang));
    PruefeSchritt(zeile);
  }
  for (const Zeile& z : zeilen) PruefeSchritt(std::string(reinterpret_cast<const char*>(data) + z.anfang, z.ende - z.anfang));
  return 0;
}
