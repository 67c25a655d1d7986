#pragma once
// The surface table: every picture the game draws, loaded once per name and addressed by
// its surface number. Plain pictures are drawn by colour-keyed blits, textures as quads;
// "..._i" names give colour-inverted copies (the hit flash) and a texture with a mate
// "...A.bmp" beside it gets its alpha channel from the mate.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/surface.hpp"
#include "shell/basic.hpp"

// A transformed-and-lit vertex of a textured quad.
struct D3DTLVERTEX {
  float sx = 0, sy = 0, sz = 0, rhw = 0;
  int32_t color = 0, specular = 0;
  float tu = 0, tv = 0;
};

using RECT = platform::Rect;

struct SurfaceInfo {
  platform::SurfacePtr Surface;
  int16_t Width = 0;
  int16_t Height = 0;
  bool D3DSprite = false;  // loaded as a texture: drawn as a quad
  bool Colorkey = false;   // the loading call asked for the black colour key
  RECT SrcRect;            // the part of the picture that is drawn
  // The quad: 0 left-bottom, 1 left-top, 2 right-bottom, 3 right-top.
  std::array<D3DTLVERTEX, 4> Vertex{};
  std::string Name;  // the file path in upper case: the sharing key
  // The opaque-edge profile (see edges.hpp).
  std::vector<int32_t> RandLinks;
  std::vector<int32_t> RandRechts;
  int32_t ErsteZeile = 0;
  int32_t LetzteZeile = 0;
  int32_t RandMinX = 0;
  int32_t RandMaxX = 0;
};

inline std::vector<SurfaceInfo> Surfaces;
// Highest entry of the surface table, -1 when empty.
inline int32_t SurfacesMax() { return UBound(Surfaces); }
// Pixel size of the last alpha texture made: 0 before the first, then 32 or 16.
inline int32_t AlphaFormat = 0;

// The surface number of the picture `File` (a full path): the entry that already holds
// a picture of that name in any letter case, or a new one. `Left`..`Bottom` give the part
// of the picture that is drawn (the whole picture where omitted); `Colorkey` keys plain
// textures with black. A picture that cannot be loaded ends the run (DirectX error
// dialog) and gives 0.
int32_t LoadSurface(const std::string& File, bool D3DSprite, std::optional<double> Left = std::nullopt,
                    std::optional<double> Top = std::nullopt, std::optional<double> Right = std::nullopt,
                    std::optional<double> Bottom = std::nullopt, bool Colorkey = true);
// How a picture that cannot be loaded closes the game windows. The windows belong to the
// program run, which hands in its own procedure at start-up (`VariabelnInit`).
inline void (*CloseGameWindows)() = [] {};

// A texture with the colours of `ColorSurf` and the alpha of `AlphaSurf` (its blue
// channel); `ColorSurf` itself when no alpha texture can be made.
platform::SurfacePtr CreateAlpha(const platform::SurfacePtr& ColorSurf, const platform::SurfacePtr& AlphaSurf);
// Releases and empties the whole table and deletes the unpack folders of the archives
// remembered in `EntpackListe`.
void SurfaceClear();
// Drops the last entry; with `RemoveLastDir` also the last remembered archive.
void RemoveLastSurface(bool RemoveLastDir);
// Makes entry `Nr` one pixel narrower and lower.
void SurfaceKorrektur(int32_t Nr);
// After a lost display every picture would be loaded again; pictures drawn by the CPU
// are never lost, so only the log lines remain.
void ReloadSurfaces();

// True when `Nr` names an entry with a picture; otherwise writes one log line (naming
// `Wo`, the caller) and gives false. Every drawing procedure asks this first.
bool SurfaceGueltig(int32_t Nr, const char* Wo);
// The pixel format of plain pictures and textures: the back buffer's, or the one the
// colour depth gives before the display exists.
platform::PixelFormat AnzeigeFormat();
