#pragma once
// Levels for the level-file tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.hpp"
#include "world/level_file.hpp"

namespace leveltest {

// A level that uses every section and every field the file holds, each with a value of
// its own, and whose references all point into their catalogues.
levelfile::Leveldaten VollesLevel();

// What the reader makes of VollesLevel in a one-player game: the same, with the load
// values the file does not hold.
levelfile::Leveldaten GeladenesLevel();

// Bytes written by hand in the file's layout.
struct Bytes {
  std::vector<uint8_t> b;
  platform::ByteWriter w{b};
  Bytes& L(int32_t v) { return w.Int32(v), *this; }
  Bytes& I(int16_t v) { return w.Int16(v), *this; }
  Bytes& S(float v) { return w.Single(v), *this; }
  Bytes& Raw(const std::string& s) { return w.FixedText(s, s.size()), *this; }
  // A text with its Long length.
  Bytes& T(const std::string& s) { return L(static_cast<int32_t>(s.size())).Raw(s); }
  // A 30-byte text, padded with blanks.
  Bytes& T30(const std::string& s) { return w.FixedText(s, 30, ' '), *this; }
};

// The bytes of the level file `d` (the writer must succeed).
std::vector<uint8_t> Datei(const levelfile::Leveldaten& d, std::vector<size_t>* abschnitte = nullptr);

}  // namespace leveltest
