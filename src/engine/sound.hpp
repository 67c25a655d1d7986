#pragma once
// The sound table: every sound effect, loaded from a WAV file into several copies that
// play in turn, so a sound fired again while it still plays sounds a second time.
// Callers test `SoundAn` before loading or playing; nothing here does.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/mixer.hpp"
#include "shell/basic.hpp"

// Status bits of a copy (`Kopien(i).GetStatus()`).
constexpr uint32_t DSBSTATUS_PLAYING = platform::audio::kStatusPlaying;
constexpr uint32_t DSBSTATUS_LOOPING = platform::audio::kStatusLooping;

struct SoundEntry {
  std::vector<platform::audio::SoundBuffer> Kopien;  // copies 0 To KopienMax
  std::string Name;                                  // file name, trimmed, upper case
  int32_t Zeiger = 0;                                // the copy played last
  int32_t KopienMax() const { return UBound(Kopien); }
};

// The sound table (0 To SoundsMax); a sound number is an index into it.
inline std::vector<SoundEntry> Sounds;
// Highest entry of the sound table, -1 when empty.
inline int32_t SoundsMax() { return UBound(Sounds); }

// Opens the sound output; false, with the reason in `Fehler`, when there is no device.
// The table and the music work without one, unheard.
bool SoundDeviceOpen(std::string& Fehler);
void SoundDeviceClose();

// Loads `File` from the data archive `Archiv` ("Sound.vkp"), or from the sound folder
// when `Archiv` is empty, into a new entry with `Soundbufferdeep` + 1 copies. Returns the
// sound number; -1 when the file is missing or cannot be loaded; 0 while quitting.
int32_t LoadSound(const std::string& Archiv, const std::string& File, int32_t Soundbufferdeep,
                  int32_t SamplesPerSeconds);
// Plays the next copy of sound `Nr`; `Flag` 1 loops. `Pos` 0 stops and rewinds that copy
// first; other values only move it. Volume and pan as DirectSound takes them, in
// hundredths of a decibel; frequency in samples per second. An omitted value leaves the
// copy's setting alone.
void PlaySound(int32_t Nr, int32_t Flag, std::optional<double> Pos = std::nullopt,
               std::optional<double> Volumen = std::nullopt, std::optional<double> Frequenz = std::nullopt,
               std::optional<double> pan = std::nullopt);
// Stops every copy of sound `Nr`.
void StopSound(int32_t Nr);
void StopAllSounds();
// Stops and releases everything and empties the table.
void Soundclear();
// Stops the game's continuous sounds and the level's sounds.
void SpielSoundOFF();
