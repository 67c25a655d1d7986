#pragma once
// The two general drawing calls for a picture of the surface table: at a point in its own
// size, or stretched into a rectangle. With `D3D` the picture is drawn as a textured quad
// (it must be a texture; call between RenderStart and RenderEnd), otherwise as a
// colour-keyed blit onto the back buffer, clipped to the 800 x 600 screen. Black is
// transparent either way. Neither tests `Rendern`: the callers do. Blit failures raise
// `DXError`.
#include <cstdint>

// Entry `Nr` with the top-left corner of its source rectangle at (dx, dy); a negative
// `Nr` draws nothing.
void ShowSprite(int32_t Nr, int32_t dx, int32_t dy, bool D3D);
// Entry `Nr`'s source rectangle stretched into Left..Right x Top..Bottom (right and bottom
// exclusive); the quad is filtered linearly, the blit keeps the proportions where it is
// cut at the screen's edges.
void ShowSpriteRect(int32_t Nr, float Left, float Top, float Right, float Bottom, bool D3D);
