#pragma once
// Writes level files. The game only reads them; the demo levels and the tests are made
// with this, through the same field functions the game's reader uses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.hpp"
#include "world/level_file.hpp"

namespace tools {

// The writing side of the level file's field functions.
class LevelSchreiber {
 public:
  static constexpr bool kReads = false;

  explicit LevelSchreiber(std::vector<uint8_t>& out) : out_(out) {}

  bool Ok() const { return out_.Ok(); }
  void Fail() { out_.Fail(); }
  // Where each section begins.
  void Abschnitt() { abschnitte_.push_back(out_.Pos()); }
  const std::vector<size_t>& Abschnitte() const { return abschnitte_; }

  void Int32(int32_t& v) { out_.Int32(v); }
  void Int16(int16_t& v) { out_.Int16(v); }
  void Single(float& v) { out_.Single(v); }
  void Flag(int16_t& v) { out_.Int16(v); }
  void LongAlsSingle(float& v);
  // The energy as the file holds it: for one player.
  void Energie(float& v) { LongAlsSingle(v); }
  void Frei32() { out_.Int32(0); }
  void PText(std::string& v);
  // An empty text is written as one blank, which reads back as empty.
  void MText(std::string& v);
  // Fails for a text longer than its 30 bytes.
  void M30(std::string& v);

  size_t Zahl(size_t n, size_t /*minBytes*/);
  // A list must hold what its bound says (and its spare entries).
  template <class T>
  bool Platz(std::vector<T>& v, size_t n, size_t extra = 0) {
    if (v.size() == n + extra) return true;
    Fail();
    return false;
  }

 private:
  void Laenge(size_t n);

  platform::ByteWriter out_;
  std::vector<size_t> abschnitte_;
};

// The level file of `level`. False when a value does not fit the format (a list or text
// too long, a route command whose term lists differ in length). `sections`, when given,
// receives where each of the 14 sections begins (the first at 0).
bool WriteLevelFile(const levelfile::Leveldaten& level, std::vector<uint8_t>& out,
                    std::vector<size_t>* sections = nullptr);

// What `harvo_level info` prints of a level: one "name value" line each for the counts of
// its catalogues, its events per layer (seven numbers), its length, water and rain.
std::string LevelFileInfo(const levelfile::Leveldaten& level);

}  // namespace tools
