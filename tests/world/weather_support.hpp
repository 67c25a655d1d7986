#pragma once
// What the water and weather tests and the weather benchmark share: a sound of their own
// in the sound table, and solid blocks of scenery on layer 3 for the hit tests.
#include <cstdint>
#include <memory>
#include <utility>

#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/mixer.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"

namespace weathertest {

// A one-copy sound of a tenth of a second appended to the sound table; its number.
inline int32_t Klang() {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->channels = 1;
  pcm->rate = platform::audio::kOutputRate;
  pcm->blockAlign = 2;
  pcm->samples.assign(4410, 1000);
  SoundEntry e;
  e.Kopien.emplace_back(pcm);
  Sounds.push_back(std::move(e));
  return SoundsMax();
}

// Whether the first copy of sound `Nr` plays in a loop.
inline bool Schleife(int32_t Nr) {
  return Sounds[static_cast<size_t>(Nr)].Kopien[0].GetStatus() ==
         (platform::audio::kStatusPlaying | platform::audio::kStatusLooping);
}

// A sprite definition of one `w` x `h` frame opaque in every pixel: only its profile
// exists, which is all the hit tests read.
inline int32_t Block(int32_t w, int32_t h) {
  SurfaceInfo s;
  s.Width = static_cast<int16_t>(w);
  s.Height = static_cast<int16_t>(h);
  s.SrcRect = {0, 0, w, h};
  s.RandLinks.assign(static_cast<size_t>(h) + 1, 0);
  s.RandRechts.assign(static_cast<size_t>(h) + 1, w - 1);
  s.RandLinks.back() = s.RandRechts.back() = -1;
  s.LetzteZeile = h - 1;
  s.RandMaxX = w - 1;
  Surfaces.push_back(std::move(s));
  SpriteDef d;
  d.Frames.push_back(SpriteFrame{.Surface = SurfacesMax()});
  SpriteDefs.push_back(std::move(d));
  return SpriteDefsMax();
}

// Item `k` of layer 3, solid scenery: sprite `Sprite` with its top-left corner at (x, y).
inline void Fels(int32_t k, int32_t Sprite, float x, float y) {
  LandschaftEbene& e = Landschaft[3];
  LandschaftObjekt& o = e.Objekte[static_cast<size_t>(k)];
  o = LandschaftObjekt{.X = x, .Y = y, .Sprite = Sprite, .Aktiv = -1};
  if (k > e.Max) e.Max = k;
}

}  // namespace weathertest
