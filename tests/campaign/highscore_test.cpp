// The high-score table: a file built by hand from its layout, read and written back byte
// for byte; the default table; damaged and unreadable files and the copy kept of them;
// entering results, with the one-entry-per-game rule and two players.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "campaign/highscore.hpp"
#include "player/players_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace {

struct Klar {
  std::string name;  // as stored: 16 characters
  int32_t score, tag;
  bool operator==(const Klar&) const = default;
};

// The table unscrambled, left scrambled in memory as it was.
std::vector<Klar> Tabelle() {
  HighscoreCrypt();
  std::vector<Klar> t;
  for (const HighscoreEintrag& e : Highscore) t.push_back({HighscoreName(e), e.Score, e.Tag});
  HighscoreCrypt();
  return t;
}
// Score and tag of every place.
std::vector<std::pair<int32_t, int32_t>> Plaetze() {
  std::vector<std::pair<int32_t, int32_t>> s;
  for (const Klar& k : Tabelle()) s.emplace_back(k.score, k.tag);
  return s;
}

std::string Sechzehn(std::string s) {
  s.resize(16, ' ');
  return s;
}

void Long(std::vector<uint8_t>& f, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}
int32_t LongAt(const std::vector<uint8_t>& f, size_t at) {
  int32_t v;
  std::memcpy(&v, &f[at], 4);
  return v;
}

// The offsets of places 1 to 10 in the file.
constexpr size_t kEintragBei[10] = {200, 252, 48, 112, 24, 88, 160, 0, 224, 136};
constexpr size_t kSchluessel1Bei = 72, kSchluessel2Bei = 184, kSummeBei = 248;

class Highscores : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  std::string datei;

  void SetUp() override {
    testsupport::FreshState();
    ResetHighscore();
    RndReset();
    DatenOrdner = home.dataDir();
    std::filesystem::create_directories(DatenOrdner);
    datei = DatenOrdner + "Highscore.dat";
  }
  std::string Log() const {
    const std::string log = DatenOrdner + "Debug.txt";
    return std::filesystem::exists(log) ? testsupport::ReadText(log) : "";
  }
  std::vector<uint8_t> Datei() const { return testsupport::ReadBytes(datei); }
  bool Reste() const { return testsupport::TempFileLeft(DatenOrdner, kHighscoreDatei); }
  void Standard() {
    LoadHighscore();
    ASSERT_EQ(std::filesystem::file_size(datei), 276u);
  }
};

bool IstStandard(const std::vector<Klar>& t) {
  if (t.size() != 10) return false;
  for (int i = 0; i < 10; ++i)
    if (t[i].score != (10 - i) * 100000 || t[i].tag != -1 || t[i].name.find_first_not_of(' ') == std::string::npos)
      return false;
  return true;
}

// A table chosen to exercise the checksum: names short and long, with a leading blank,
// and a name with blanks inside.
const Klar kHandTabelle[10] = {
    {Sechzehn("Ace"), 2000000, 1234},     {Sechzehn("ABCDEFGHIJKLMNOP"), 1500000, 20001},
    {Sechzehn(" Lead"), 1000000, -1},     {Sechzehn("Two Words"), 999999, 7},
    {Sechzehn("x"), 500000, 0},           {Sechzehn("Zed"), 400000, 44},
    {Sechzehn("\xC4rger"), 300000, 3},    {Sechzehn("Q"), 200000, 9999},
    {Sechzehn("Last but one"), 100, 10},  {Sechzehn(""), 0, -7},
};
// Keys with W1 = k1[1..4] = 0x08563412 (top bits of 0xF8 cleared) and W2 = k2[0..3] =
// 0x0FDEBC9A (top bits of 0xFF cleared).
const uint8_t kK1[16] = {0x00, 0x12, 0x34, 0x56, 0xF8, 0x01, 0x80, 0x7F, 0x20, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0xFE};
const uint8_t kK2[16] = {0x9A, 0xBC, 0xDE, 0xFF, 0x10, 0x02, 0x03, 0x20, 0xA5, 0x5A, 0xC3, 0x3C, 0x0F, 0xF0, 0x99, 0x42};
constexpr uint32_t kW = 0x08563412u ^ 0x0FDEBC9Au;

// The file for kHandTabelle, from the layout: name byte b of entry i XOR k1[b] XOR
// k2[(b + i) mod 16], score and tag XOR W1 XOR W2, the keys raw, the checksum plain.
std::vector<uint8_t> HandDatei() {
  std::vector<uint8_t> f(276, 0xEE);
  uint32_t summe = 0;
  for (int i = 1; i <= 10; ++i) {
    const Klar& k = kHandTabelle[i - 1];
    const size_t at = kEintragBei[i - 1];
    for (int b = 0; b < 16; ++b) f[at + b] = static_cast<uint8_t>(k.name[b]) ^ kK1[b] ^ kK2[(b + i) % 16];
    Long(f, at + 16, static_cast<int32_t>(static_cast<uint32_t>(k.score) ^ kW));
    Long(f, at + 20, static_cast<int32_t>(static_cast<uint32_t>(k.tag) ^ kW));
  }
  // Only each name's trimmed length counts, taken from the start of its field.
  const size_t laenge[10] = {3, 16, 4, 9, 1, 3, 5, 1, 12, 0};
  for (int i = 0; i < 10; ++i)
    for (size_t c = 0; c < laenge[i]; ++c) summe += static_cast<uint8_t>(kHandTabelle[i].name[c]);
  for (int b = 0; b < 16; ++b) summe += kK1[b] + kK2[b];
  for (const Klar& k : kHandTabelle) summe ^= static_cast<uint32_t>(k.score) ^ static_cast<uint32_t>(k.tag);
  std::memcpy(&f[kSchluessel1Bei], kK1, 16);
  std::memcpy(&f[kSchluessel2Bei], kK2, 16);
  Long(f, kSummeBei, static_cast<int32_t>(summe));
  return f;
}

}  // namespace

TEST_F(Highscores, AFileBuiltFromTheLayoutIsReadAndWrittenBackByteForByte) {
  const std::vector<uint8_t> f = HandDatei();
  testsupport::WriteBytes(datei, f);
  LoadHighscore();
  EXPECT_EQ(Tabelle(), std::vector<Klar>(std::begin(kHandTabelle), std::end(kHandTabelle)));
  EXPECT_EQ(Log(), "");
  // Scrambling twice gives the same table.
  HighscoreCrypt();
  HighscoreCrypt();
  EXPECT_EQ(WriteHighscore(), f);
  SaveHighscore();
  EXPECT_EQ(Datei(), f);
  EXPECT_FALSE(Reste());
}

TEST_F(Highscores, TheDefaultTableIsSavedAndReadBackUnchanged) {
  Standard();
  const std::vector<Klar> t = Tabelle();
  EXPECT_TRUE(IstStandard(t));
  const std::vector<uint8_t> f = Datei();
  for (int i = 0; i < 10; ++i) EXPECT_NE(LongAt(f, kEintragBei[i] + 16), t[i].score) << "a score in plain";
  EXPECT_FALSE(HighscoreIdUnused(-1));
  EXPECT_TRUE(HighscoreIdUnused(4711));
  ResetHighscore();
  LoadHighscore();
  EXPECT_EQ(Tabelle(), t);
  EXPECT_EQ(Datei(), f);  // a sound file is not written again
  EXPECT_EQ(Log(), "");
}

TEST_F(Highscores, KeyCharactersWrapAroundTheKey) {
  const std::vector<uint8_t> key = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const std::pair<int32_t, uint8_t> faelle[] = {{1, 1}, {16, 16}, {17, 1}, {21, 5}, {0, 16}, {32, 16}, {-1, 15}};
  for (auto [pos, zeichen] : faelle) EXPECT_EQ(HighscoreKeyChar(key, pos), zeichen) << pos;
  EXPECT_EQ(HighscoreKeyChar({}, 3), 0);
}

TEST_F(Highscores, AChangedOrMisshapenFileGivesTheDefaultTable) {
  struct Fall {
    const char* was;
    size_t at;        // the byte changed
    uint8_t xorMit;   // how (0: the file's length changes instead)
    long laenge;      // the file's new length
    bool bleibt;      // the table is taken: the checksum does not see the change
    bool nullen = false;  // every byte of the file zero
  };
  const size_t name1 = kEintragBei[0], score5 = kEintragBei[4] + 16, tag10 = kEintragBei[9] + 20;
  const Fall faelle[] = {
      {"a name byte", name1 + 1, 0x01, 276, false},
      {"a score byte", score5 + 2, 0x40, 276, false},
      {"a tag byte", tag10, 0x01, 276, false},
      {"the checksum", kSummeBei + 3, 0x80, 276, false},
      {"key 1", kSchluessel1Bei + 9, 0x01, 276, false},
      {"key 2", kSchluessel2Bei + 15, 0x01, 276, false},
      {"a blank after a name turned NUL", name1 + 3, 0x20, 276, true},
      {"a blank after a name turned 'x'", name1 + 3, 0x20 ^ 'x', 276, false},
      {"one byte short", 0, 0, 275, false},
      {"one byte long: read by its first 276", 0, 0, 277, true},
      {"a long tail", 0, 0, 70000, true},
      {"a long tail behind a changed score", score5 + 2, 0x40, 70000, false},
      {"empty", 0, 0, 0, false},
      {"zero bytes only, which pass the checksum", 0, 0, 276, false, true},
      {"zero bytes only, longer", 0, 0, 300, false, true},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::vector<uint8_t> f = HandDatei();
    f[c.at] ^= c.xorMit;
    f.resize(static_cast<size_t>(c.laenge), 0xA5);
    if (c.nullen) std::fill(f.begin(), f.end(), 0);
    testsupport::WriteBytes(datei, f);
    std::filesystem::remove(DatenOrdner + "Debug.txt");
    std::filesystem::remove(datei + ".bak");
    ResetHighscore();
    LoadHighscore();
    if (c.bleibt) {
      for (int i = 0; i < 10; ++i) EXPECT_EQ(Plaetze()[i], std::make_pair(kHandTabelle[i].score, kHandTabelle[i].tag));
      EXPECT_EQ(Datei(), f);
      EXPECT_FALSE(std::filesystem::exists(datei + ".bak"));
      EXPECT_EQ(Log(), "");
    } else {
      EXPECT_TRUE(IstStandard(Tabelle()));
      // Replaced on disk by the default table; the old file kept whole beside it; both
      // said in the log.
      EXPECT_EQ(Datei(), WriteHighscore());
      EXPECT_EQ(testsupport::ReadBytes(datei + ".bak"), f);
      const std::vector<std::string> zeilen = testsupport::SplitLines(Log());
      ASSERT_EQ(zeilen.size(), 2u);
      EXPECT_NE(zeilen[1].find("Highscore.dat.bak"), std::string::npos);
    }
  }
}

TEST_F(Highscores, TheFileKeptAsideIsTheLastDamagedOne) {
  // One generation: a second damaged file replaces the first one's copy.
  std::vector<uint8_t> erste = HandDatei(), zweite = HandDatei();
  erste[kSummeBei] ^= 1;
  zweite[kSummeBei] ^= 2;
  for (const std::vector<uint8_t>* f : {&erste, &zweite}) {
    testsupport::WriteBytes(datei, *f);
    LoadHighscore();
    EXPECT_EQ(testsupport::ReadBytes(datei + ".bak"), *f);
  }
  // A sound file leaves the copy alone, and so do the results saved afterwards.
  LoadHighscore();
  EXPECT_EQ(AddHighscore("Kim", 2000000, 5), 1);
  EXPECT_EQ(testsupport::ReadBytes(datei + ".bak"), zweite);
  EXPECT_FALSE(Reste());
}

TEST_F(Highscores, AFileThatCannotBeKeptAsideIsNotOverwritten) {
  std::vector<uint8_t> f = HandDatei();
  f[kSummeBei] ^= 1;
  testsupport::WriteBytes(datei, f);
  // A folder that is not empty stands where the copy would go.
  std::filesystem::create_directories(datei + ".bak/x");
  LoadHighscore();
  EXPECT_TRUE(IstStandard(Tabelle()));
  EXPECT_EQ(Datei(), f);
  // Nor by a result entered later: the table lives in memory only.
  EXPECT_EQ(AddHighscore("Kim", 2000000, 5), 1);
  EXPECT_EQ(Datei(), f);
  EXPECT_EQ(Tabelle()[0].score, 2000000);
  EXPECT_NE(Log().find("nicht gesichert"), std::string::npos);
  // Once the old file is gone there is nothing left to keep: the next result is saved.
  std::filesystem::remove(datei);
  EXPECT_EQ(AddHighscore("Lou", 1900000, 6), 2);
  ResetHighscore();
  LoadHighscore();
  EXPECT_EQ(Plaetze()[1], std::make_pair(1900000, 6));
}

TEST_F(Highscores, AFileThatCannotBeReadIsLeftAloneAndTheDefaultsServeInMemory) {
  std::filesystem::create_directories(datei + "/inside");  // there, but no file to read
  LoadHighscore();
  EXPECT_TRUE(IstStandard(Tabelle()));
  EXPECT_EQ(testsupport::SplitLines(Log()).size(), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(datei));
  EXPECT_FALSE(Reste());
  // The first result saved keeps what stood there aside before the table is written.
  EXPECT_EQ(AddHighscore("Kim", 2000000, 5), 1);
  EXPECT_TRUE(std::filesystem::is_directory(datei + ".bak/inside"));
  ResetHighscore();
  LoadHighscore();
  EXPECT_EQ(Tabelle()[0].score, 2000000);
}

TEST_F(Highscores, ResultsTakeTheirPlacesOncePerGame) {
  using Platz = std::pair<int32_t, int32_t>;  // score, tag
  struct Ergebnis {
    int32_t score, tag, platz;
  };
  struct Fall {
    const char* was;
    std::vector<Ergebnis> eingaben;  // with the place each returns
    std::vector<Platz> tabelle;      // afterwards
  };
  // The default table with entries put in at (0-based) places, the last dropping out.
  auto mit = [](std::initializer_list<std::pair<int, Platz>> neu) {
    std::vector<Platz> v;
    for (int i = 1; i <= 10; ++i) v.emplace_back((11 - i) * 100000, -1);
    for (auto [at, p] : neu) {
      v.insert(v.begin() + at, p);
      v.pop_back();
    }
    return v;
  };
  const Fall faelle[] = {
      {"equal to the last goes above it", {{100000, 5, 10}}, mit({{9, {100000, 5}}})},
      {"below the last", {{99999, 5, 11}}, mit({})},
      {"a tie goes above", {{300000, 5, 8}}, mit({{7, {300000, 5}}})},
      {"the same game higher replaces its entry", {{300000, 5, 8}, {650000, 5, 5}}, mit({{4, {650000, 5}}})},
      {"the same game equal replaces it, above the tie",
       {{300000, 5, 8}, {300000, 6, 8}, {300000, 5, 8}},
       mit({{7, {300000, 6}}, {7, {300000, 5}}})},
      {"the same game lower is not taken", {{650000, 5, 5}, {300000, 5, 11}}, mit({{4, {650000, 5}}})},
      {"the same game's entry at the bottom", {{100000, 5, 10}, {150000, 5, 10}}, mit({{9, {150000, 5}}})},
      {"the top", {{2000000, 5, 1}}, mit({{0, {2000000, 5}}})},
      {"a negative score", {{-5, 5, 11}}, mit({})},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::filesystem::remove(datei);
    Standard();
    for (const Ergebnis& e : c.eingaben) {
      const std::vector<uint8_t> vorher = Datei();
      const int32_t platz = AddHighscore("Kim", e.score, e.tag);
      EXPECT_EQ(platz, e.platz) << e.score;
      // Saved when taken (with new keys, so all of it changes); untouched otherwise.
      EXPECT_EQ(Datei() == vorher, platz == 11);
    }
    EXPECT_EQ(Plaetze(), c.tabelle);
    ResetHighscore();
    LoadHighscore();
    EXPECT_EQ(Plaetze(), c.tabelle);
    EXPECT_EQ(Log(), "");
  }
}

TEST_F(Highscores, NamesAreCutOrPaddedToSixteenCharacters) {
  Standard();
  EXPECT_EQ(AddHighscore("ABCDEFGHIJKLMNOPQRST", 2000000, 1), 1);
  EXPECT_EQ(AddHighscore("Bob", 2500000, 2), 1);
  ResetHighscore();
  LoadHighscore();  // the checksum saved with them holds
  EXPECT_EQ(Tabelle()[0].name, "Bob" + std::string(13, ' '));
  EXPECT_EQ(Tabelle()[1].name, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(Log(), "");
}

TEST_F(Highscores, PlayerOnesPlaceIsFoundByItsTagAfterBothEntries) {
  struct Fall {
    const char* was;
    int32_t letzter;
    std::vector<std::pair<int32_t, int32_t>> vorher;  // earlier results (score, tag)
    int32_t score0, score1;
    std::array<int32_t, 2> plaetze;
  };
  constexpr int32_t A = 100, B = 200;
  const Fall faelle[] = {
      {"one player", 0, {}, 350000, 999999, {8, 11}},
      {"player two below", 1, {}, 350000, 250000, {8, 10}},
      {"player two above pushes player one down", 1, {}, 350000, 750000, {9, 4}},
      {"player two only replaces its own older entry above", 1, {{750000, B}}, 350000, 950000, {9, 2}},
      {"player one pushed out of the table", 1, {}, 100000, 750000, {11, 4}},
      {"player one not in the table", 1, {}, 5, 750000, {11, 4}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::filesystem::remove(datei);
    Standard();
    for (auto [score, tag] : c.vorher) AddHighscore("Earlier", score, tag);
    LetzterSpieler = c.letzter;
    Spieler[0].Name = "One";
    Spieler[0].Punkte = c.score0;
    Spieler[0].HighscoreNr = A;
    Spieler[1].Name = "Two";
    Spieler[1].Punkte = c.score1;
    Spieler[1].HighscoreNr = B;
    EXPECT_EQ(AddPlayerHighscores(), c.plaetze);
    if (c.plaetze[0] < 11) {
      EXPECT_EQ(Tabelle()[c.plaetze[0] - 1].name, Sechzehn("One"));
    }
    if (c.letzter == 0) {
      EXPECT_TRUE(HighscoreIdUnused(B));
    }
  }
}
