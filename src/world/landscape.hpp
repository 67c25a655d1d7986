#pragma once
// Landscape layers 0..6 and the level's layer records.
#include <array>
#include <cstdint>
#include <vector>

struct LandschaftObjekt {
  float X = 0, Y = 0;
  int32_t Sprite = 0;
  float DX = 0, DY = 0;
  int16_t Aktiv = 0;
};

struct LandschaftEbene {
  std::vector<LandschaftObjekt> Objekte;  // 0 To Kapazitaet; none for layer 4
  int32_t Max = -1;
  int32_t Frei = 0;
  int32_t Kapazitaet = -1;
};

// Capacities (highest index) of layers 0..6; layer 4 never holds landscape items.
inline constexpr std::array<int32_t, 7> LandschaftKapazitaet = {10, 50, 20, 100, -1, 20, 15};
inline std::array<LandschaftEbene, 7> Landschaft;

struct LevelEbene {
  float Speed = 0;   // scroll speed
  float Offset = 0;  // position offset
  int32_t Cursor = 0;  // next event of the layer
};
inline std::array<LevelEbene, 7> Ebenen;

inline bool LandschaftsKontakt = true;  // the ships' landscape contact tests run
