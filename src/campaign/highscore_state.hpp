#pragma once
// The high-score table: the ten best results, best first. Between the operations of
// campaign/highscore.hpp the table stays scrambled in memory; a reader unscrambles it
// with `HighscoreCrypt`, reads, and scrambles it again. The keys and the checksum are
// never scrambled.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Places 1 to 10; a result the table does not take gets the place after the last.
inline constexpr int32_t kHighscorePlaetze = 10;
inline constexpr int32_t kKeinHighscorePlatz = kHighscorePlaetze + 1;
// A name and a key: 16 character codes (a name padded with blanks, a longer one cut).
inline constexpr size_t kHighscoreTextLaenge = 16;
using HighscoreText = std::array<uint8_t, kHighscoreTextLaenge>;

struct HighscoreEintrag {
  HighscoreText Name{};
  int32_t Score = 0;
  int32_t Tag = 0;  // the game of one player the result belongs to; -1 in the defaults
};

// Place p is Highscore[p - 1].
inline std::array<HighscoreEintrag, kHighscorePlaetze> Highscore;
// Key 1 and key 2 of the scrambling.
inline std::array<HighscoreText, 2> HighscoreSchluessel{};
// The checksum of the unscrambled table and the keys.
inline int32_t HighscoreSumme = 0;
// The file on disk holds something the table in memory did not come from (it was damaged
// or could not be read): the first save keeps it as "Highscore.dat.bak" before writing.
inline bool HighscoreDateiFremd = false;

// An entry's name as text: all 16 characters, blanks included.
inline std::string HighscoreName(const HighscoreEintrag& e) { return std::string(e.Name.begin(), e.Name.end()); }

// No table yet (all zero, which is its own scrambled form under zero keys); the program
// run loads the real one at start-up.
inline void ResetHighscore() {
  Highscore = {};
  HighscoreSchluessel = {};
  HighscoreSumme = 0;
  HighscoreDateiFremd = false;
}
