#pragma once
// The 21 save-game slots "1.sav" to "21.sav" in the save folder: the campaign between two
// levels (players, script position, player records, ship blocks, satellite, pods, beams,
// extra-life threshold and play-through), never a level world.
//
// A file is the version as a Single (4.0 is the only one written), the slot's label, the
// size of the state stream and the stream compressed by zlib. Versions 0 to 3 are still
// read: their label is compressed too, and the stream lacks what came later (the name
// lengths from 3, the extra-life threshold from 1, the play-through from 2).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr int32_t kSaveSlots = 21;
// The largest state stream a file may state: a real one is well under 1 KiB.
inline constexpr int32_t kSpielstandMax = 64 * 1024;
// The most of a label the slot lists read.
inline constexpr int32_t kSaveLabelMax = 4096;

// The current campaign into slot `Slot` (1 to 21): written under a temporary name, on
// the disk, then renamed over the old file. False when nothing was saved (a slot out of
// range, the stream not compressed, the file not written); the old file then stays.
bool SaveGameSlot(int32_t Slot);
// Slot `SelectNr` into the campaign. A file that cannot be read or is damaged ends the
// program ("Could not load the savegame") and leaves the campaign as it was; a file of a
// later version changes nothing. Lists offer only slots `SlotLadbar` takes, so the fatal
// end is left to a file that changed after it was listed.
void LoadGame(int32_t SelectNr);
// True when `LoadGame` would load slot `Slot`: its file read and checked as it reads and
// checks it (`SpielstandPruefen`), nothing loaded.
bool SlotLadbar(int32_t Slot);
// The label of slot `Slot` for a slot list: "---" for an empty slot, "" for a file of
// an unknown version, and what could be read of a damaged one.
std::string GetSaveLabel(int32_t Slot);

// The path of slot `Slot`.
std::string SaveSlotDatei(int32_t Slot);
// The label of the current campaign: players, ship, play-through letter, level part and
// today's date, as "P1S2A - Level1-  06-01-2001".
std::string SaveLabel();
// The beginning of a level name that labels and titles show: up to and including the
// character after its first "-", or only its first character; in Russian every "Level"
// (in any letter case) becomes "Уровень".
std::string LevelTeil(const std::string& Name, bool Russisch);

// The same on bytes, for the slot files, the tests and the fuzzer.
//
// The file of the current campaign with `Label`; empty when the stream cannot be
// compressed.
std::vector<uint8_t> SpielstandDatei(const std::string& Label);
// The uncompressed state stream of the current campaign (version 4).
std::vector<uint8_t> SpielstandInhalt();

enum class Spielstand : uint8_t {
  Ganz,       // read whole (loaded into the campaign, or its label read)
  Unbekannt,  // a version above 4, or one neither up to 3 nor 4 for a label: nothing read
  Defekt,     // damaged: nothing loaded, or the label only as far as it could be read
};
// Loads a file's bytes into the campaign when they are whole; nothing changes otherwise.
Spielstand SpielstandLaden(std::span<const uint8_t> Datei);
// What `SpielstandLaden` would answer for a file's bytes, without loading them: a file
// whose values the game cannot use (a player count, ship type, selected pod or
// play-through out of range, a Variant of another type) is damaged like a cut one.
Spielstand SpielstandPruefen(std::span<const uint8_t> Datei);
// The label in a file's bytes, read as far as it can be.
Spielstand SpielstandLabel(std::span<const uint8_t> Datei, std::string& Label);
