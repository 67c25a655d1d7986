#pragma once
// The high-score table's operations and its file "Highscore.dat" in the per-user folder:
// 276 bytes holding the ten entries in a shuffled order, the two keys and the checksum,
// the entries as scrambled in memory. New keys are drawn at every change, so the whole
// file changes with every result that enters it.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "campaign/highscore_state.hpp"

inline constexpr const char* kHighscoreDatei = "Highscore.dat";
inline constexpr size_t kHighscoreDateiGroesse = 276;

// At start-up: the table from the file's first 276 bytes (a longer file's tail means
// nothing). A missing file gives the default table, saved at once. A shorter file, one
// with a wrong checksum or of zero bytes only is damaged: logged, kept as
// "Highscore.dat.bak" and replaced by the default table. A file that is there but cannot
// be read gives the default table in memory only, with a log line; it is kept as
// "Highscore.dat.bak" too before a result is first saved over it.
void LoadHighscore();
// Writes the file from the scrambled table in memory: written under a temporary name of
// its own, on the disk, then renamed over the old one. A failure is logged and the table
// lives on in memory; so does a file that was to be kept aside and cannot be, which is
// then left as it is.
void SaveHighscore();
// Enters a result: its place 1 to 10, or 11 when the table does not take it (below place
// 10, or the same tag holds a higher score). The table keeps one entry per tag: a result
// at least as high replaces the tag's older entry. Saves the file when the table changed.
int32_t AddHighscore(const std::string& Name, int32_t Score, int32_t Tag);
// True when no entry carries `Tag`.
bool HighscoreIdUnused(int32_t Tag);
// Scrambles the table in memory, or unscrambles it: the same call does both.
void HighscoreCrypt();
// The checksum of the table in memory, which must be unscrambled at the call: the codes
// of each name's characters up to its trimmed length, of both keys, then XOR every
// score and tag.
int32_t HighscoreChecksum();
// Both keys drawn anew from `Rnd`.
void HighscoreNewKeys();
// The character code of `Key` at the 1-based position `Pos` Mod its length, where 0
// stands for the last character (with 16 characters: 17 is character 1, 21 character 5).
uint8_t HighscoreKeyChar(std::span<const uint8_t> Key, int32_t Pos);

// The place (1 to 10) of the entry that carries `Tag`; 11 when none does.
int32_t HighscorePlaceOfTag(int32_t Tag);
// Every player's result entered (`Spieler` 0 to `LetzterSpieler`: name, score, tag), and
// each one's place afterwards, 11 for none (and for a player not in the game). Player
// one's place is looked up again by tag after player two's entry, which may have pushed
// it down, or not at all when it only replaced player two's own older entry.
std::array<int32_t, 2> AddPlayerHighscores();

// The file's bytes as they would be written, and a file's bytes taken into memory. A
// file of another size, whose checksum does not match or of zero bytes only is refused
// (false) and memory is left as it was.
std::vector<uint8_t> WriteHighscore();
bool ReadHighscore(std::span<const uint8_t> bytes);
// The default table, with new keys, scrambled (not saved).
void SetHighscoreDefaults();
