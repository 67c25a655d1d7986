#include "lib/level_writer.hpp"

#include <limits>

#include "shell/basic.hpp"

namespace tools {

void LevelSchreiber::LongAlsSingle(float& v) { out_.Int32(CLng(v)); }

void LevelSchreiber::Laenge(size_t n) {
  if (n > static_cast<size_t>(std::numeric_limits<int32_t>::max())) Fail();
  out_.Int32(static_cast<int32_t>(n));
}

void LevelSchreiber::PText(std::string& v) {
  Laenge(v.size());
  out_.FixedText(v, v.size());
}

void LevelSchreiber::MText(std::string& v) {
  std::string text = v.empty() ? std::string(" ") : v;
  Laenge(text.size());
  out_.FixedText(text, text.size());
}

void LevelSchreiber::M30(std::string& v) {
  if (v.size() > levelfile::kM30) Fail();
  out_.FixedText(v, levelfile::kM30, ' ');
}

size_t LevelSchreiber::Zahl(size_t n, size_t) {
  if (n > static_cast<size_t>(std::numeric_limits<int32_t>::max())) Fail();
  out_.Int32(static_cast<int32_t>(n) - 1);
  return n;
}

bool WriteLevelFile(const levelfile::Leveldaten& level, std::vector<uint8_t>& out, std::vector<size_t>* sections) {
  levelfile::Leveldaten d = level;  // the field functions take their records by reference
  out.clear();
  platform::ByteWriter(out).FixedText(levelfile::kVersion, levelfile::kVersionLaenge);
  LevelSchreiber w(out);
  levelfile::Felder(w, d);
  if (sections) {
    *sections = w.Abschnitte();
    sections->insert(sections->begin(), 0);
  }
  return w.Ok();
}

std::string LevelFileInfo(const levelfile::Leveldaten& d) {
  auto zeile = [](const char* name, size_t n) { return std::string(name) + " " + std::to_string(n) + "\n"; };
  std::string s = zeile("sprites", d.SpriteDefs.size()) + zeile("enemies", d.GegnerTypen.size()) +
                  zeile("routes", d.Routen.size()) + zeile("animations", d.AnimaTypen.size()) +
                  zeile("generators", d.ErzeugerTypen.size()) + zeile("shottypes", d.SchussTypen.size()) +
                  zeile("sounds", d.Sounds.size()) + zeile("radio", d.Funkmeldungen.size()) + "events";
  for (const LevelEbene& e : d.Ebenen) s += " " + std::to_string(e.Ereignisse.size());
  s += "\nlength " + std::to_string(d.LevelLaenge) + "\nwater " + std::to_string(d.Wasserstand) + "\nrain " +
       std::to_string(d.RegenAnzahl) + "\n";
  return s;
}

}  // namespace tools
