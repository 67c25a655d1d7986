#include "support/sounds.hpp"

#include <memory>
#include <utility>

#include "engine/sound.hpp"

namespace testsupport {

int32_t CountingSound(int copies) {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(2000, 0);
  pcm->channels = 1;
  pcm->rate = 22050;
  pcm->blockAlign = 2;
  SoundEntry& e = Sounds.emplace_back();
  for (int k = 0; k < copies; ++k) e.Kopien.emplace_back(pcm);
  e.Zeiger = -1;
  return SoundsMax();
}

int32_t Plays(int32_t nr) {
  SoundEntry& e = Sounds[static_cast<size_t>(nr)];
  return std::exchange(e.Zeiger, -1) + 1;
}

}  // namespace testsupport
