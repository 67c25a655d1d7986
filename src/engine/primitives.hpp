#pragma once
// Lightning, thick lines and trail ribbons, all drawn with the quad of the bar picture
// `TexBalken`: they overwrite its corner positions and colours (not its texture
// coordinates) and render it once per segment, filtered linearly. Nothing is drawn in a
// frame that is not drawn (`Rendern`); call them between RenderStart and RenderEnd.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A bolt from (x1, y1) to (x2, y2) in `Unterbrechungen` + 1 segments of half-width
// `Breite`, the inner joints pushed sideways at random by up to `Streuung` pixels, in the
// opaque colour (CR, CG, CB); additive when `Alphablend`. With `Init` the bolt has the same
// shape on every call with that `Init`, and the random sequence goes on from a value drawn
// before, so the rest of the game does not repeat itself.
void Blitz(float x1, float y1, float x2, float y2, float Breite, int32_t Unterbrechungen, float Streuung, float CR,
           float CG, float CB, std::optional<double> Init = std::nullopt, bool Alphablend = false);
// One quad of half-width `Breite` from (x1, y1) in colour 1 to (x2, y2) in colour 2.
void Linie(float x1, float y1, float x2, float y2, float Breite, float CR1, float CG1, float CB1, float CA1,
           float CR2, float CG2, float CB2, float CA2, bool ABOne);
// A trail history of N + 1 points, all empty (-1).
void SchweifInit(std::vector<float>& X, std::vector<float>& Y, float N);
// With `Add` pushes (NewX, NewY) in as the newest point (every tick, drawn or not); then
// draws the ribbon from the oldest point (alpha 0) to the newest (alpha 1).
void SchweifZeichnen(float NewX, float NewY, std::vector<float>& X, std::vector<float>& Y, float N, float Breite,
                     float R, float G, float B, bool ABOne, bool Add);
// The same over a history kept in a fixed array.
void SchweifZeichnen(float NewX, float NewY, std::span<float> X, std::span<float> Y, float N, float Breite, float R,
                     float G, float B, bool ABOne, bool Add);
