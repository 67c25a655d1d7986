#include "campaign/highscore.hpp"

#include <algorithm>

#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "player/players_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"

namespace {

using Tabelle = std::array<HighscoreEintrag, kHighscorePlaetze>;
using Schluesselpaar = std::array<HighscoreText, 2>;

// Our own ten pilots of the default table, best first.
constexpr const char* kStandardNamen[kHighscorePlaetze] = {
    "Mara Kestrel", "Joss Varden", "Ilka Sturm", "Tomek Brann",   "Rhea Lindqvist",
    "Odo Falk",     "Senna Voss",  "Kip Harrow", "Lio Marchetti", "Nell Ashby",
};

// Everything the file holds, as it lies in memory: the table scrambled.
struct Dateiinhalt {
  Tabelle Eintraege{};
  Schluesselpaar Schluessel{};
  int32_t Summe = 0;
};

// The file's order: the entries by place, shuffled among the two keys and the checksum.
constexpr int8_t kSchluessel1 = -1, kSchluessel2 = -2, kSumme = 0;
constexpr int8_t kDateiFolge[] = {8, 5, 3, kSchluessel1, 6, 4, 10, 7, kSchluessel2, 1, 9, kSumme, 2};

template <class IO>
void Zeichen(IO& io, HighscoreText& t) {
  for (uint8_t& c : t) io.UInt8(c);
}

template <class IO>
void Felder(IO& io, HighscoreEintrag& e) {
  Zeichen(io, e.Name);
  io.Int32(e.Score);
  io.Int32(e.Tag);
}

template <class IO>
void Felder(IO& io, Dateiinhalt& d) {
  for (const int8_t teil : kDateiFolge) {
    if (teil > 0)
      Felder(io, d.Eintraege[static_cast<size_t>(teil - 1)]);
    else if (teil == kSumme)
      io.Int32(d.Summe);
    else
      Zeichen(io, d.Schluessel[static_cast<size_t>(-teil - 1)]);
  }
}

// The 32-bit word of a key's characters q to q + 3 (little-endian), its top four bits
// cleared.
uint32_t Wort(const HighscoreText& k, int32_t q) {
  return (uint32_t{HighscoreKeyChar(k, q + 3)} & 15) << 24 | uint32_t{HighscoreKeyChar(k, q + 2)} << 16 |
         uint32_t{HighscoreKeyChar(k, q + 1)} << 8 | HighscoreKeyChar(k, q);
}

void Verwuerfeln(Tabelle& t, const Schluesselpaar& k) {
  const int32_t w = static_cast<int32_t>(Wort(k[1], 1) ^ Wort(k[0], 18));
  for (int32_t i = 1; i <= kHighscorePlaetze; ++i) {
    HighscoreEintrag& e = t[static_cast<size_t>(i - 1)];
    for (int32_t p = 1; p <= static_cast<int32_t>(kHighscoreTextLaenge); ++p)
      e.Name[static_cast<size_t>(p - 1)] ^= HighscoreKeyChar(k[0], p) ^ HighscoreKeyChar(k[1], p + i);
    e.Score ^= w;
    e.Tag ^= w;
  }
}

int32_t Pruefsumme(const Tabelle& t, const Schluesselpaar& k) {
  uint32_t s = 0;
  for (const HighscoreEintrag& e : t) {
    // As many characters as the name has without its outer blanks, counted from the
    // start of the stored field.
    auto blank = [](uint8_t c) { return c == ' '; };
    const auto erstes = std::find_if_not(e.Name.begin(), e.Name.end(), blank);
    const auto hinterLetztem = std::find_if_not(e.Name.rbegin(), e.Name.rend(), blank).base();
    const auto laenge = erstes < hinterLetztem ? hinterLetztem - erstes : 0;
    for (auto c = e.Name.begin(); c != e.Name.begin() + laenge; ++c) s += *c;
  }
  for (const HighscoreText& key : k)
    for (const uint8_t c : key) s += c;
  for (const HighscoreEintrag& e : t) s ^= static_cast<uint32_t>(e.Score) ^ static_cast<uint32_t>(e.Tag);
  return static_cast<int32_t>(s);
}

// A name as the table stores it: cut or padded with blanks to 16 characters.
HighscoreText AlsName(const std::string& name) {
  HighscoreText t;
  t.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), t.size()), t.begin());
  return t;
}

std::string Datei() { return DatenOrdner + kHighscoreDatei; }

// The old file kept aside; a file gone meanwhile leaves nothing to keep.
bool Sichern() {
  return platform::fs::FileSize(Datei()) < 0 || AlsBakSichern(Datei(), "Highscore.dat gesichert als ");
}

// New keys, the checksum of the unscrambled table, scrambled again.
void Versiegeln() {
  HighscoreNewKeys();
  HighscoreSumme = HighscoreChecksum();
  HighscoreCrypt();
}

}  // namespace

uint8_t HighscoreKeyChar(std::span<const uint8_t> Key, int32_t Pos) {
  const int64_t n = static_cast<int64_t>(Key.size());
  if (n == 0) return 0;
  const int64_t r = ((Pos % n) + n) % n;  // 0 is the last character
  return Key[static_cast<size_t>(r == 0 ? n - 1 : r - 1)];
}

void HighscoreCrypt() { Verwuerfeln(Highscore, HighscoreSchluessel); }

int32_t HighscoreChecksum() { return Pruefsumme(Highscore, HighscoreSchluessel); }

void HighscoreNewKeys() {
  for (HighscoreText& key : HighscoreSchluessel)
    for (uint8_t& c : key) c = static_cast<uint8_t>(Int(Rnd() * 256.0));
}

void SetHighscoreDefaults() {
  for (int32_t i = 1; i <= kHighscorePlaetze; ++i) {
    HighscoreEintrag& e = Highscore[static_cast<size_t>(i - 1)];
    e.Name = AlsName(kStandardNamen[i - 1]);
    e.Score = (11 - i) * 100000;
    e.Tag = -1;
  }
  Versiegeln();
}

std::vector<uint8_t> WriteHighscore() {
  Dateiinhalt d{Highscore, HighscoreSchluessel, HighscoreSumme};
  std::vector<uint8_t> out;
  out.reserve(kHighscoreDateiGroesse);
  platform::ByteWriter w(out);
  Felder(w, d);
  return out;
}

bool ReadHighscore(std::span<const uint8_t> bytes) {
  if (bytes.size() != kHighscoreDateiGroesse) return false;
  // Zero bytes pass the checksum (0 = 0) as ten blank names with 0 points: they are what
  // a write cut off by a crash leaves on some file systems, never a table.
  if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; })) return false;
  platform::ByteReader r(bytes);
  Dateiinhalt d;
  Felder(r, d);
  if (!r.Ok()) return false;
  Tabelle offen = d.Eintraege;
  Verwuerfeln(offen, d.Schluessel);
  if (Pruefsumme(offen, d.Schluessel) != d.Summe) return false;
  Highscore = d.Eintraege;
  HighscoreSchluessel = d.Schluessel;
  HighscoreSumme = d.Summe;
  return true;
}

void SaveHighscore() {
  if (HighscoreDateiFremd) {
    if (!Sichern()) {
      DebugLog({"Highscore.dat konnte nicht gesichert werden als ", LogPfad(Datei() + ".bak"),
                ": die Datei bleibt, die Tabelle nur im Speicher"});
      return;
    }
    HighscoreDateiFremd = false;
  }
  const std::vector<uint8_t> bytes = WriteHighscore();
  if (!platform::fs::WriteReplacing(Datei(), bytes.data(), bytes.size(), true))
    DebugLog({"Highscore.dat konnte nicht geschrieben werden: ", LogPfad(Datei()), " bleibt, wie sie war"});
}

void LoadHighscore() {
  const std::string datei = Datei();
  HighscoreDateiFremd = false;
  if (platform::fs::FileSize(datei) < 0) {
    SetHighscoreDefaults();
    SaveHighscore();
    return;
  }
  // The table is the file's first 276 bytes; whatever follows them means nothing.
  std::vector<uint8_t> bytes;
  HighscoreDateiFremd = true;
  if (!platform::fs::ReadStart(datei, bytes, kHighscoreDateiGroesse)) {
    DebugLog("Highscore.dat nicht lesbar: Standardtabelle nur im Speicher");
    SetHighscoreDefaults();
    return;
  }
  if (ReadHighscore(bytes)) {
    HighscoreDateiFremd = false;
    return;
  }
  DebugLog("Highscore.dat beschaedigt: Standardtabelle angelegt");
  SetHighscoreDefaults();
  SaveHighscore();
}

int32_t AddHighscore(const std::string& Name, int32_t Score, int32_t Tag) {
  HighscoreCrypt();
  auto erster = Highscore.begin();
  // An equal score goes above the entry that holds it.
  const auto platz = std::find_if(erster, Highscore.end(), [&](const HighscoreEintrag& e) { return e.Score <= Score; });
  if (platz == Highscore.end()) {
    HighscoreCrypt();
    return kKeinHighscorePlatz;
  }
  const auto alt = std::find_if(erster, Highscore.end(), [&](const HighscoreEintrag& e) { return e.Tag == Tag; });
  if (alt < platz) {
    // The same game already holds a better result.
    HighscoreCrypt();
    return kKeinHighscorePlatz;
  }
  // The game's older entry goes, so the last one left at the bottom is a copy that drops
  // out below instead of somebody else's result.
  if (alt != Highscore.end()) std::copy(alt + 1, Highscore.end(), alt);
  std::copy_backward(platz, Highscore.end() - 1, Highscore.end());
  *platz = {AlsName(Name), Score, Tag};
  Versiegeln();
  SaveHighscore();
  return static_cast<int32_t>(platz - erster) + 1;
}

bool HighscoreIdUnused(int32_t Tag) { return HighscorePlaceOfTag(Tag) == kKeinHighscorePlatz; }

int32_t HighscorePlaceOfTag(int32_t Tag) {
  HighscoreCrypt();
  const auto e = std::find_if(Highscore.begin(), Highscore.end(), [Tag](const HighscoreEintrag& x) { return x.Tag == Tag; });
  HighscoreCrypt();
  return static_cast<int32_t>(e - Highscore.begin()) + 1;
}

std::array<int32_t, 2> AddPlayerHighscores() {
  std::array<int32_t, 2> platz{kKeinHighscorePlatz, kKeinHighscorePlatz};
  const int32_t letzter = std::clamp(LetzterSpieler, 0, 1);
  for (int32_t p = 0; p <= letzter; ++p) {
    const SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    platz[static_cast<size_t>(p)] = AddHighscore(s.Name, s.Punkte, s.HighscoreNr);
  }
  if (letzter == 1 && platz[0] != kKeinHighscorePlatz) platz[0] = HighscorePlaceOfTag(Spieler[0].HighscoreNr);
  return platz;
}
