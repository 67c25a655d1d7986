#pragma once
// The music stream: one Ogg Vorbis file at a time, decoded on the program's thread into an
// AudioStream of the mixer. The program feeds it with Update once per frame; a stream
// that is not fed runs dry and pauses (silently, still "playing") until it is fed again.
#include <cstddef>
#include <string_view>

namespace platform::music {

// Starts the file (a Windows-style path, see fs.hpp) as the one stream, replacing any
// other. False when the file is missing or is no playable Ogg Vorbis file; then nothing
// plays.
bool Play(std::string_view path);
// True from Play until the stream has been heard to its end or was stopped.
bool IsPlaying();
// Decodes ahead so that the mixer has about half a second in hand.
void Update();
void Stop();
// 0..100 percent (linear gain); values outside are clamped. Heard at once, and kept for
// the streams started later.
void SetVolume(int percent);
// The volume last set (for tests).
int Volume();
// Stops and frees everything.
void Close();

// Frames the mixer has in hand (for tests).
size_t Buffered();

}  // namespace platform::music
