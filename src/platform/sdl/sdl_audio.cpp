// Sound output over one SDL audio device; our mixer fills it from SDL's audio thread.
#include <SDL.h>

#include "platform/backend.hpp"
#include "platform/mixer.hpp"

namespace platform::backend {
namespace {

SDL_AudioDeviceID g_device = 0;

void SDLCALL FillAudio(void*, Uint8* stream, int bytes) {
  // SDL holds the device lock while it calls us.
  audio::Mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / (2 * sizeof(int16_t)));
}

}  // namespace

bool OpenAudio(std::string& error) {
  if (g_device) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{}, have{};
  want.freq = audio::kOutputRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;  // about 23 ms
  want.callback = FillAudio;
  // No changes allowed: SDL converts to whatever the hardware takes.
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!g_device) {
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void CloseAudio() {
  if (!g_device) return;
  SDL_CloseAudioDevice(g_device);
  g_device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void LockAudio() {
  if (g_device) SDL_LockAudioDevice(g_device);
}

void UnlockAudio() {
  if (g_device) SDL_UnlockAudioDevice(g_device);
}

}  // namespace platform::backend
