#include "campaign/ogg.hpp"

#include "platform/music.hpp"

bool InitOgg(int32_t, int32_t) {
  platform::music::Stop();
  return true;
}

int32_t PlayOggFile(const std::string& Datei) { return platform::music::Play(Datei) ? -1 : 0; }

int32_t OggIsPlaying() { return platform::music::IsPlaying() ? -1 : 0; }

void UpdateOgg() { platform::music::Update(); }

void StopOgg() { platform::music::Stop(); }

void SetOggVolume(int32_t Lautstaerke) { platform::music::SetVolume(Lautstaerke); }

void CloseOgg() { platform::music::Close(); }
