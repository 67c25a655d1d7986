#pragma once
// Surface numbers of the fixed pictures: the standard pictures that the game, the menu and
// the effects share, and the game pictures of a level. -1 until their loader has loaded
// them; a handle the loader skips (another ship type, a display option) keeps its value.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/window.hpp"

// An array of handles of which none is loaded yet.
template <size_t N>
constexpr std::array<int32_t, N> NoPictures() {
  std::array<int32_t, N> a{};
  a.fill(-1);
  return a;
}

// The standard pictures.
inline int32_t TexBlur = -1;     // "Blur.bmp": a full-screen quad at alpha 0.7
inline int32_t TexBlur2 = -1;    // "Blur3.bmp" (800 x 600 once trimmed), "Blur2.bmp" in Voodoo mode
inline int32_t TexGlitzer = -1;  // "Glitzer.bmp"
inline int32_t TexKreis2 = -1;   // "A_KREIS2.bmp": a round glow (over a lens, among others)
inline int32_t TexWeiss = -1;    // "weiss.bmp": a white quad for flashes and fades
inline int32_t TexStrich = -1;   // "Strich.bmp"
inline int32_t TexBalken = -1;   // "Balken.bmp": the bar of lightning, lines and trails
inline int32_t TexBalkenE = -1;  // "BalkenE.bmp"
inline std::array<int32_t, 4> TexFeuer = NoPictures<4>();  // "feuer0..3.bmp"
inline int32_t TexWave = -1;                                // "Wave.bmp"
inline std::array<int32_t, 7> TexRauch = NoPictures<7>();  // "Rauch1..7.bmp"
inline int32_t TexGlitzerB = -1;  // "Glitzer.bmp" once more: the same entry as TexGlitzer
inline int32_t TexLogo = -1;      // "Logo.bmp"
inline int32_t TexNoise = -1;     // "Noise.bmp": the television noise
inline int32_t TexKreis3 = -1;    // "A_Kreis3.bmp": white inside, black outside
inline int32_t TexBlurB = -1;     // a second entry of "Blur.bmp", at alpha 0.5

// The game pictures of a level.
inline std::array<int32_t, 4> TexBallschuss = NoPictures<4>();
inline std::array<int32_t, 14> TexPartikel = NoPictures<14>();      // the orbit pods
inline std::array<int32_t, 24> TexSatellit = NoPictures<24>();      // a + 3 * b - 1
inline std::array<int32_t, 10> TexDrohnenWaffe = NoPictures<10>();  // the drone ship's weapons
inline std::array<int32_t, 10> TexZiffer = NoPictures<10>();
inline std::array<int32_t, 10> TexLeben = NoPictures<10>();
// The in-game display of the set `SchiffInterfaceSatz`.
inline int32_t TexAnzeigeGrund = -1;
inline int32_t TexAnzeigeEnergie = -1;
inline int32_t TexAnzeigeEnergieA = -1;
inline std::array<int32_t, 2> TexAnzeigeBeam = NoPictures<2>();
inline std::array<int32_t, 2> TexAnzeigeBeamA = NoPictures<2>();
inline int32_t TexAnzeigeS = -1;
inline int32_t TexAnzeigeP = -1;
inline std::array<int32_t, 3> TexAnzeigeSpec = NoPictures<3>();
inline std::array<int32_t, 3> TexAnzeigeExtra = NoPictures<3>();
inline std::array<int32_t, 5> TexSchiffSymbol = NoPictures<5>();
inline std::array<int32_t, 2> TexGSchuss = NoPictures<2>();     // the enemy shots
inline std::array<int32_t, 60> TexExtra = NoPictures<60>();     // k + 2 * (i + 5 * j)
inline std::array<int32_t, 6> TexExtraSymbol = NoPictures<6>();  // 0 the shield, then i + 1
inline std::array<int32_t, 60> TexPow = NoPictures<60>();       // i + 10 * j
inline std::array<int32_t, 2> TexAbpraller = NoPictures<2>();
inline int32_t TexBombe = -1;
inline int32_t TexRakete = -1;
inline int32_t TexRakete2 = -1;
inline int32_t TexWave2 = -1;
inline int32_t TexFadenkreuz = -1;
inline int32_t TexHupe = -1;
inline int32_t TexBlase = -1;
inline int32_t TexCombo = -1;
inline int32_t TexLupe = -1;  // "Blur2.bmp": the magnifier's working texture, 256 x 256
inline std::array<int32_t, 3> TexWetter = NoPictures<3>();  // loaded by the weather on first use
inline std::array<int32_t, 32> TexFunkFrame = NoPictures<32>();  // the radio speaker

// The in-game display set: the first player's ship type alone, 3 for two players.
inline int32_t SchiffInterfaceSatz = 0;
// Scratch destination of rotated drawings; nobody reads it after the drawing call.
inline platform::Rect TmpRect1;

// As at program start: no picture loaded, the one-player display set of ship type 0.
// (Within a run a handle the loader skips keeps its value from the level before.)
inline void ResetPictureHandles() {
  TexBlur = TexBlur2 = TexGlitzer = TexKreis2 = TexWeiss = TexStrich = TexBalken = TexBalkenE = -1;
  TexWave = TexGlitzerB = TexLogo = TexNoise = TexKreis3 = TexBlurB = -1;
  TexAnzeigeGrund = TexAnzeigeEnergie = TexAnzeigeEnergieA = TexAnzeigeS = TexAnzeigeP = -1;
  TexBombe = TexRakete = TexRakete2 = TexWave2 = TexFadenkreuz = TexHupe = TexBlase = TexCombo = TexLupe = -1;
  TexFeuer.fill(-1);
  TexRauch.fill(-1);
  TexBallschuss.fill(-1);
  TexPartikel.fill(-1);
  TexSatellit.fill(-1);
  TexDrohnenWaffe.fill(-1);
  TexZiffer.fill(-1);
  TexLeben.fill(-1);
  TexAnzeigeBeam.fill(-1);
  TexAnzeigeBeamA.fill(-1);
  TexAnzeigeSpec.fill(-1);
  TexAnzeigeExtra.fill(-1);
  TexSchiffSymbol.fill(-1);
  TexGSchuss.fill(-1);
  TexExtra.fill(-1);
  TexExtraSymbol.fill(-1);
  TexPow.fill(-1);
  TexAbpraller.fill(-1);
  TexWetter.fill(-1);
  TexFunkFrame.fill(-1);
  SchiffInterfaceSatz = 0;
  TmpRect1 = {};
}
