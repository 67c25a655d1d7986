#pragma once
// The one run-time error of the game: a number and its description, as the error
// handlers of every loader and loop see it. DirectX failures carry the DirectX result as
// their number; file and argument errors the classic run-time error numbers below.
#include <cstdint>
#include <string>

struct Err {
  int32_t Nummer = 0;
  std::string Beschreibung;
};

// The classic run-time errors the loaders raise, with their usual texts.
namespace err {
inline Err UngueltigerAufruf() { return {5, "Invalid procedure call or argument"}; }
inline Err KeinSpeicher() { return {7, "Out of memory"}; }
inline Err Indexbereich() { return {9, "Subscript out of range"}; }
inline Err FalscherDateiname() { return {52, "Bad file name or number"}; }
inline Err DateiFehlt() { return {53, "File not found"}; }
inline Err DateiEnde() { return {62, "Input past end of file"}; }
inline Err Zugriffsfehler() { return {75, "Path/File access error"}; }
}  // namespace err
