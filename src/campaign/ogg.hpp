#pragma once
// The music player: one Ogg Vorbis stream at a time, fed once per frame by the loop that
// plays it. Nothing here is called while `SoundAn` is clear.
#include <cstdint>
#include <string>

// Starts the player for the game window; true on success.
bool InitOgg(int32_t hwnd, int32_t flags);
// Starts the file (full path) as the one music stream, replacing any other; -1 on
// success, 0 on failure (then nothing plays).
int32_t PlayOggFile(const std::string& Datei);
// Non-zero while the stream plays; 0 once it has played to its end or was stopped. A
// stream that is not fed pauses and still counts as playing.
int32_t OggIsPlaying();
// Feeds the stream; once per frame while it plays.
void UpdateOgg();
void StopOgg();
// Volume in percent, 0 (silent) to 100; heard at once.
void SetOggVolume(int32_t Lautstaerke);
void CloseOgg();
