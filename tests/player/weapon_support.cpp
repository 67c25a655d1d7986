#include "weapon_support.hpp"

#include <cmath>
#include <memory>

#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "ship_support.hpp"
#include "support/fresh_state.hpp"
#include "world/level_data_state.hpp"

namespace shiptest {

namespace {
uint32_t Grau(float v) {
  const uint32_t g = static_cast<uint32_t>(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255 + 0.5f);
  return 0xFF000000u | g << 16 | g << 8 | g;
}
}  // namespace

void Anfang() {
  platform::headless::Reset();
  testsupport::FreshState();
  FillSinTables();
  Rendern = false;
  SoundAn = false;
  LetzterSpieler = 0;
  BindKeys();
}

void Ende() {
  ReleaseAll();
  SpriteDefs.clear();
  ErzeugerTypen.clear();
  Surfaces.clear();
  Sounds.clear();
  LetzterSpieler = 0;
  Rendern = true;
  testsupport::FreshState();
}

float Kreis(int x, int y, int size) {
  return std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f) / (size / 2.0f);
}

int32_t Glow(int size) {
  return Picture(size, size, [size](int x, int y) {
    const float r = Kreis(x, y, size);
    return Grau(r >= 1 ? 0 : std::pow(1 - r * r, 0.55f));
  });
}

int32_t Bar() {
  return Picture(16, 8, [](int, int y) { return Grau(1 - std::abs(2 * y - 7) / 8.0f); });
}

int32_t Klang() {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(4000, 100);
  pcm->channels = 1;
  pcm->rate = 44100;
  pcm->blockAlign = 2;
  Sounds.emplace_back().Kopien.emplace_back(pcm);
  return SoundsMax();
}

bool Spielt(int32_t Nr) { return (Sounds[Nr].Kopien[0].GetStatus() & DSBSTATUS_PLAYING) != 0; }

}  // namespace shiptest
