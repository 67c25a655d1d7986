#pragma once
// The arithmetic and text rules the whole game is written against: whole numbers are
// rounded half to even, `\` divides rounded operands truncating toward zero, `Mod` keeps
// the sign of the dividend, `Int` rounds down, `Val` reads a decimal prefix, Booleans
// are stored as 16-bit -1/0, and `Rnd` is the program's one random sequence.
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

// Rounds to the nearest whole number, halves to the even neighbour; saturates at the
// 32-bit range instead of overflowing (NaN gives 0).
int32_t CLng(double x);
// The same for 16 bits.
int16_t CInt(double x);
// Whole-number division `a \ b`: both operands rounded as CLng, then truncated toward
// zero. Division by zero gives 0.
int32_t IDiv(double a, double b);
// Remainder of that division, with the sign of the dividend; 0 for a divisor of 0.
int32_t Mod(double a, double b);
// Largest whole number not above x.
double Int(double x);
// The number a text begins with: leading blanks and tabs skipped, an optional sign,
// digits with one decimal point, an optional exponent; nothing readable gives 0.
double Val(std::string_view text);

// The highest index of a table indexed from 0: its size - 1, so -1 when it is empty. A
// `…Max` the game reads (`SurfacesMax`, `KomponentenMax`, ...) comes from here, never from
// a second count kept beside the table.
template <class Table>
constexpr int32_t UBound(const Table& table) {
  return static_cast<int32_t>(std::size(table)) - 1;
}

// 16-bit Booleans of the file formats.
constexpr int16_t VBTrue = -1;
constexpr int16_t VBFalse = 0;
constexpr int16_t VBBool(bool b) { return b ? VBTrue : VBFalse; }
// "True" or "False", as Booleans appear in the log.
const char* BoolText(bool b);

// Upper case of a Windows-1252 text (ASCII letters and the accented Latin-1 letters).
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);
// Blanks (the space character only) removed at both ends.
std::string TrimBlanks(std::string_view text);
// The German letters of a Windows-1252 text spelt out (ü ue, Ü Ue, ä ae, Ä Ae, ö oe, Ö Oe,
// ß ss); every other byte stays as it is.
std::string UmlauteAusschreiben(std::string_view text);
// Case-insensitive equality of two Windows-1252 texts.
bool SameText(std::string_view a, std::string_view b);

// The random sequence. `Rnd` gives a number from 0 up to, not including, 1.
float Rnd();
// Back to the start of the repeatable sequence (a negative argument to the generator).
void RndReset();
// Seeds the sequence from a number, keeping the low byte of the current state.
void Randomize(double seed);
// Seeds from the seconds since midnight, as a start-up does.
void RandomizeTimer();
// The whole state, to save and restore the sequence.
uint32_t RndState();
void SetRndState(uint32_t state);
// The generator's documented state at program start, before any seeding.
inline constexpr uint32_t kRndStartState = 0x50000;
