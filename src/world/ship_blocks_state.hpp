#pragma once
// The ship block of each player: the ship's frame pictures, hit box, muzzles, number of
// frame rows and ship type. The game-picture loader fills it for every level; the ship
// code only reads it. Save games store both blocks as they lie in memory, 43 Longs each,
// so the fields keep this order and nothing may be added between them.
#include <array>
#include <cstdint>

struct SchiffDaten {
  // [0..24] The surface of the frame in row r, column c at r * 5 + c. Columns 0..4 are
  // the tilt frames (2 is level flight); only the rows below `Zeilen` are loaded.
  std::array<int32_t, 25> Bilder{};
  // [25..28] The hit box, as offsets from the top-left corner of the 64 x 64 frame.
  int32_t BoxLinks = 0;
  int32_t BoxOben = 0;
  int32_t BoxRechts = 0;
  int32_t BoxUnten = 0;
  int32_t Frei = 0;  // [29] never used
  // [30] The muzzle x; [31..35] and [36..40] the two muzzle ys by frame column. Where the
  // two differ in the current column the gun fires twin shots.
  int32_t MuendungX = 0;
  std::array<int32_t, 5> MuendungY1{};
  std::array<int32_t, 5> MuendungY2{};
  int32_t Zeilen = 0;  // [41] frame rows: the firing animation cycles through them
  int32_t Typ = 0;     // [42] 0 "V-Tonator" (pods), 1 "V-Phyton" (satellite), 2 drone ship

  int32_t& Schiffstyp() { return Typ; }
  int32_t Schiffstyp() const { return Typ; }
};
static_assert(sizeof(SchiffDaten) == 43 * 4, "a ship block is 43 Longs in save games");

// The block's 43 Longs in their order, for reading and writing save games.
template <class IO>
void Felder(IO& io, SchiffDaten& s) {
  for (int32_t& b : s.Bilder) io.Int32(b);
  io.Int32(s.BoxLinks);
  io.Int32(s.BoxOben);
  io.Int32(s.BoxRechts);
  io.Int32(s.BoxUnten);
  io.Int32(s.Frei);
  io.Int32(s.MuendungX);
  for (int32_t& y : s.MuendungY1) io.Int32(y);
  for (int32_t& y : s.MuendungY2) io.Int32(y);
  io.Int32(s.Zeilen);
  io.Int32(s.Typ);
}

// One block per player, index = player.
inline std::array<SchiffDaten, 2> Schiff;

// As at program start: both blocks blank, the first player's ship type 0. The menu or a
// save game sets the type and every level's pictures fill the rest; with one player the
// second block keeps what a two-player game left in it.
inline void ResetShipBlocks() { Schiff = {}; }
