#pragma once
// The screen a level loads behind: either a picture of "Loading.vkp" named by the level
// script, or, without one, the mosaic of the last moments of play ("Loadingscreen.bmp" in
// the per-user folder) darkened under the logo. Every picture and sound of the level
// draws one progress frame; with a loading picture the level then waits for a key.
//
// Each frame starts from the same 800 x 600 ground (the loading picture, or the first
// frame of the mosaic screen), so nothing of an earlier frame shows through, whichever
// way the display presents its pages. A frame that cannot be shown (the display is lost)
// raises DDERR_SURFACELOST to the loader.
#include <cstdint>
#include <string>

#include "platform/surface.hpp"

// The mosaic file's name in the per-user folder, and its size.
inline constexpr const char* kMosaikDatei = "Loadingscreen.bmp";
inline constexpr int32_t kMosaikBreite = 800;
inline constexpr int32_t kMosaikHoehe = 600;

class Ladebildschirm {
 public:
  // The first frame: the picture `Loadingscreen` of "Loading.vkp" stretched over the
  // screen, or for "" the mosaic under a dark veil, two bands and the logo. A loading
  // picture that cannot be read raises the error of its load.
  void Zeige(const std::string& Loadingscreen);
  // One progress frame for `p` (0..1) of the level's pictures: the percentage, over a
  // glowing panel with a loading picture, under a bar without one.
  void Fortschritt(float p);
  // With a loading picture: "Press any key to start!" blinks until a confirm or pause
  // key is down (or the run quits); then, while a pause key is still held, nothing
  // starts. Without a loading picture it returns at once.
  void WarteAufTaste();
  // The pictures of the screen go.
  void Freigeben();

  bool MitBild() const { return mitBild_; }
  const platform::SurfacePtr& Grund() const { return grund_; }

 private:
  // The mosaic as an 800 x 600 surface: a file that is missing, unreadable or of
  // another size is replaced by a blank picture of that size (in memory too, when the
  // folder cannot be written).
  static platform::SurfacePtr LadeMosaik();

  bool mitBild_ = false;
  platform::SurfacePtr grund_;  // 800 x 600: what every frame starts from
};

