#pragma once
// The settings the player chooses, kept in "config.cfg" in the per-user folder, and the
// key configuration.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Two bindings of each of the ten game actions for three key sets, the pause key per
// input device and the input device per key set: one block of 66 whole numbers, stored
// whole in the configuration file.
struct KeyConfigDaten {
  std::array<int32_t, 60> Map{};  // action + 10 * key set + 30 * binding
  std::array<int32_t, 3> PauseKey{};
  std::array<int32_t, 3> KeyDevice{};

  int32_t& KeyMap(int action, int keySet, int binding) { return Map[action + 10 * keySet + 30 * binding]; }
  int32_t KeyMap(int action, int keySet, int binding) const { return Map[action + 10 * keySet + 30 * binding]; }
};
static_assert(sizeof(KeyConfigDaten) == 264, "the key configuration is stored as 264 bytes");
inline KeyConfigDaten KeyConfig;
// Key codes 1..211 are the keyboard's, 212 and above the two joysticks'.
constexpr int32_t kHoechsterTastencode = 282;
// The configuration file in the per-user folder, and its size as this program writes it.
inline constexpr const char* kConfigDatei = "config.cfg";
constexpr size_t kConfigGroesse = 319;

inline int32_t Farbtiefe = 32;        // colour depth for full screen: 16 or 32
inline std::string Sprache = "E";     // "D", "E" or "R"
inline bool FensterModus = false;     // windowed
inline bool VoodooModus = false;      // compatibility mode for older graphics cards
inline bool SoundAn = true;
inline bool VideoAn = true;
inline bool VideoKlein = false;       // videos at 400 x 300
inline bool AutoAnordnung = true;     // automatic arrangement of the pods
inline bool ForceModus = true;        // beam-alternation key mode
inline bool Traegheit = true;         // ship inertia
inline int32_t LoadingscreenNr = 0;   // next loading-screen tile 0..15
inline int32_t BesterDurchgang = 0;   // highest play-through reached
inline std::array<bool, 2> ForceAn{};         // force feedback wanted, per joystick
inline std::array<int32_t, 2> ForceBasis{};   // force-feedback base strength
inline int32_t MusikLautstaerke = 90;         // 0..100 percent
inline int32_t SoundLautstaerke = -1000;      // hundredths of a decibel
inline int32_t SprachLautstaerke = 0;

// Resets key set `Nr` (0..2) to the default bindings of input device `Art` (0 keyboard,
// 1 joystick 1, 2 joystick 2).
void InitKeyConfig(int16_t Nr, int16_t Art);

// Reads the configuration at start (defaults first); writes it at shut-down, under a
// temporary name renamed over the old file (a link of the name is replaced, not written
// through), which keeps an old longer file's bytes beyond the ones written. A file of a
// version this program does not know is read as nothing and kept as "config.cfg.bak"
// when the settings are saved.
void LoadConfig();
void SaveConfig();

// The parts of LoadConfig and SaveConfig that do not touch the file: the defaults; the
// globals set from a file's bytes over the values in place (values the game cannot work
// with put right; false for a version this program does not know, which reads nothing);
// and the bytes of the file as this program writes it.
void SetConfigDefaults();
bool ReadConfig(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteConfig();

// As at program start, before the file is read: every setting as without a file (the
// defaults above and the first values of the rest), and no file of an unknown version
// seen.
void ResetConfig();
