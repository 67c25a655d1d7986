#pragma once
// The loading-screen mosaic "Loadingscreen.bmp" in the per-user folder: 4 x 4 tiles of
// 200 x 150 pixels, each the screen of a moment of play reduced to a quarter. Every lost
// life and every pause adds one at the next place, so the mosaic shows the last sixteen
// such moments; the level loader shows it behind its progress bar.
#include <cstdint>
#include <vector>

#include "platform/bmp.hpp"
#include "platform/surface.hpp"

inline constexpr int32_t kMosaikPlaetze = 16;
inline constexpr int32_t kKachelBreite = 200;
inline constexpr int32_t kKachelHoehe = 150;

// The back buffer reduced to a tile at place `LoadingscreenNr` of the mosaic, which is
// then saved (under a temporary name, renamed over the old file) as a 24-bit picture, and
// the place moves on. A mosaic that cannot be read as an 800 x 600 picture starts blank.
// Without a usable back buffer nothing happens and the place stays.
void NewPictureToLoadingscreen();

// The place the next tile takes for a stored `Nr`: taken Mod 16, a negative one as 0.
int32_t MosaikPlatz(int32_t Nr);
// The mosaic with `kachel` (200 x 150, any format) at `platz` (0 to 15): over `alt` when
// that is an 800 x 600 picture, else over a black one. In the display's 32-bit format.
platform::SurfacePtr MosaikMitKachel(const platform::BmpImage& alt, const platform::Surface& kachel, int32_t platz);
