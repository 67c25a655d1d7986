#pragma once
// The textured-quad renderer: every tinted, blended, stretched or rotated picture is one
// quad of four transformed-and-lit vertices kept in its surface-table entry (0 left-bottom,
// 1 left-top, 2 right-bottom, 3 right-top), drawn by the 3D device as a triangle strip
// with the picture as texture.
//
// A frame draws `RenderStart`, then any number of set-ups and `Render` calls, then
// `RenderEnd` (before text and `Flip`). `Render` changes the blend mode, the filter and the
// texture only when they differ from what it last set: it runs thousands of times per
// frame. Failing device calls raise `DXError` to the caller.
#include <cstdint>

#include "engine/surfaces.hpp"

// Flip-timing switch (F3): the game loop folds it into its fast-flip argument, and with it
// on `Render` sets every state on every call (the picture must not change).
inline bool Antizeitverschiebung = false;

// The render-state cache, valid between RenderStart and RenderEnd.
inline bool BlendModus = false;        // the device blends additively
inline int32_t AktuelleTextur = -1;    // surface number bound as texture, -1 none
inline bool Filtern = false;           // linear magnification wanted for the next quads
inline bool FilterAktiv = false;       // the device filters linearly

// The quad's corners: an unscaled quad of the source rectangle's size at (x, y).
void SetUpXY(int32_t SurfIndex, float x, float y);
// The quad's corners: the rectangle.
void SetUpRect(int32_t SurfIndex, float Left, float Top, float Right, float Bottom);
// The quad's texture coordinates.
void SetUpTUTV(int32_t SurfIndex, float TU1, float TV1, float TU2, float TV2);
// One colour (components 0..1) on all four corners.
void SetUpColor(int32_t SurfIndex, float R, float G, float B, float A);
// The whole quad: texture coordinates from `src` (pixels of the picture), corners from
// `dest` turned by `AngleG` whole degrees about its centre (clockwise on the screen), one
// colour.
void SetUpGeom(int32_t SurfIndex, const RECT& src, const RECT& dest, float R, float G, float B, float A,
               int32_t AngleG);

// Begins the scene with the fixed states and forgets the cache.
void RenderStart();
// Draws the entry's quad, additive when `ABOne`, else with normal alpha blending.
void Render(int32_t SurfIndex, bool ABOne);
// Switches blending and colour keying off and ends the scene.
void RenderEnd();
