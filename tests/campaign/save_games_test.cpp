// Save games: a version-4 file byte for byte against the format's tables, the older
// versions as they load, damaged files that change nothing (and end the program through
// the load), the slot files on disk, and the slot labels.
#include <gtest/gtest.h>
#include <zlib.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "campaign/save_games.hpp"
#include "campaign/script_state.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/ship_blocks_state.hpp"

namespace headless = platform::headless;
namespace fs = std::filesystem;

namespace {

// Little-endian bytes written by hand, field by field, as the format's tables give them.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& I32(int32_t v) { return Le(static_cast<uint32_t>(v), 4); }
  Bytes& I16(int16_t v) { return Le(static_cast<uint16_t>(v), 2); }
  Bytes& F32(float v) { return Le(std::bit_cast<uint32_t>(v), 4); }
  Bytes& Str(const std::string& s) {
    I16(static_cast<int16_t>(s.size()));
    return Raw(std::vector<uint8_t>(s.begin(), s.end()));
  }
  Bytes& Raw(const std::vector<uint8_t>& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  Bytes& Le(uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
};

std::vector<uint8_t> Gepackt(const std::vector<uint8_t>& roh) {
  uLongf n = compressBound(roh.size());
  std::vector<uint8_t> out(n);
  EXPECT_EQ(compress(out.data(), &n, roh.data(), roh.size()), Z_OK);
  out.resize(n);
  return out;
}
std::vector<uint8_t> Entpackt(const uint8_t* p, size_t n, size_t roh) {
  std::vector<uint8_t> out(roh + 1);
  uLongf m = out.size();
  EXPECT_EQ(uncompress(out.data(), &m, p, n), Z_OK);
  out.resize(m);
  return out;
}

const std::array<std::string, 2> kNamen = {"Anna", "Ben"};

// The campaign of the fixtures: every field its own value.
void Beispiel() {
  LetzterSpieler = 1;
  SkriptStand = SkriptDaten{true, 5, "Deep.bmp"};
  for (int p = 0; p < 2; ++p) {
    SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    s = SpielerDaten{1.5f, 2.5f, -1, 0.25f, 0.125f, -0.5f, 7, 3, 1, 4, 5, 2, 9, 6.5f, 0, 123456 + p, 80, 3, 50,
                     120, 999, 42, p, 0, 17, 4000, kNamen[static_cast<size_t>(p)], 777 + p};
    SchiffDaten& b = Schiff[static_cast<size_t>(p)];
    for (int i = 0; i < 25; ++i) b.Bilder[static_cast<size_t>(i)] = 100 * p + i;
    b.BoxLinks = 10, b.BoxOben = 11, b.BoxRechts = 50, b.BoxUnten = 52, b.Frei = 0, b.MuendungX = 60;
    for (int i = 0; i < 5; ++i) b.MuendungY1[static_cast<size_t>(i)] = 20 + i, b.MuendungY2[static_cast<size_t>(i)] = 40 + i;
    b.Zeilen = 3, b.Typ = 2 - p;
  }
  Satellit = SatellitDaten{3, 2, 10.5f, 20.5f, -1, 4, 0, 0, 6, 8, 3, 1.5f, -1.5f, 250};
  for (int j = 0; j < 4; ++j) Pods[static_cast<size_t>(j)] = PodDaten{j, 3, 5 * j, 6 * j, -1, j + 1, 180, 4.5f, 2, 3, 10, 7 + j};
  for (int p = 0; p < 2; ++p) Beam[static_cast<size_t>(p)] = BeamStatus{12, 1, 2, 3, 4, 5.5f, p, 1, 100, 165, 3000, 0, -1, 20};
  ExtraLebenSchwelle = 12;
  Durchgang = 3;
}

// The state stream of the example in version `v`, written from the tables.
std::vector<uint8_t> Handstrom(float v) {
  Bytes s;
  s.I32(1).I16(-1).I32(5).Str("Deep.bmp");
  if (v >= 3) s.I32(4).I32(3);
  for (int p = 0; p < 2; ++p) {
    s.F32(1.5f).F32(2.5f).F32(-1).F32(0.25f).F32(0.125f).F32(-0.5f);
    s.I32(7).I32(3).I32(1).I32(4).I32(5).I32(2).I32(9).F32(6.5f).I32(0).I32(123456 + p).F32(80).I32(3).I32(50);
    s.F32(120).I32(999).I32(42).I32(p).I32(0).I32(17).I32(4000).Str(kNamen[static_cast<size_t>(p)]).I32(777 + p);
  }
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 25; ++i) s.I32(100 * p + i);
    s.I32(10).I32(11).I32(50).I32(52).I32(0).I32(60);
    for (int i = 0; i < 5; ++i) s.I32(20 + i);
    for (int i = 0; i < 5; ++i) s.I32(40 + i);
    s.I32(3).I32(2 - p);
  }
  s.I32(3).I32(2).F32(10.5f).F32(20.5f).I16(-1).I32(4).I32(0).I32(0).I32(6).I32(8).I32(3).F32(1.5f).F32(-1.5f).I32(250);
  for (int j = 0; j < 4; ++j)
    s.I32(j).I32(3).I32(5 * j).I32(6 * j).I16(-1).I32(j + 1).F32(180).F32(4.5f).I32(2).I32(3).I32(10).I32(7 + j);
  for (int p = 0; p < 2; ++p)
    s.I32(12).F32(1).F32(2).F32(3).F32(4).F32(5.5f).I32(p).I16(1).F32(100).F32(165).I32(3000).I16(0).I16(-1).I32(20);
  if (v >= 1) s.I16(2).I16(12);
  if (v >= 2) s.I32(3);
  return s.b;
}

// A file of version `v` around a state stream: the label compressed up to version 3,
// plain after.
std::vector<uint8_t> Datei(float v, const std::string& label, const std::vector<uint8_t>& strom) {
  Bytes d;
  d.F32(v);
  const std::vector<uint8_t> text(label.begin(), label.end());
  if (v <= 3) {
    const std::vector<uint8_t> l = Gepackt(text);
    d.I32(static_cast<int32_t>(text.size())).I32(static_cast<int32_t>(l.size())).Raw(l);
  } else {
    d.I32(static_cast<int32_t>(text.size())).Raw(text);
  }
  const std::vector<uint8_t> c = Gepackt(strom);
  return d.I32(static_cast<int32_t>(strom.size())).I32(static_cast<int32_t>(c.size())).Raw(c).b;
}

class SaveGames : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    headless::Reset();
    headless::SetDate({2001, 6, 1, 12, 0, 0});
    testsupport::FreshState();
    DatenOrdner = home.dataDir();
    SaveOrdner = DatenOrdner + "save/";
    fs::create_directories(SaveOrdner);
  }
  void TearDown() override { testsupport::FreshState(); }

  // A campaign other than the example's, which a refused file must leave as it is.
  static void Anderer() {
    testsupport::FreshState();
    Spieler[0].Name = "Vorher";
    Spieler[0].Punkte = 55;
    ExtraLebenSchwelle = 99;
    Durchgang = 50;
    SkriptStand.SkriptZeile = 9;
  }
  static bool Fatal() {
    if (headless::Dialogs().empty()) return false;
    for (const auto& [label, text] : headless::Dialogs().back().fields)
      if (text.find("Could not load the savegame") != std::string::npos) return Spielstatus == 10;
    return false;
  }
};

}  // namespace

TEST_F(SaveGames, AVersionFourFileHoldsTheLabelAndTheStreamOfTheTables) {
  Beispiel();
  const std::string label = "P2S3C - Level2-  06-01-2001";
  const std::vector<uint8_t> datei = SpielstandDatei(label);
  const std::vector<uint8_t> strom = Handstrom(4);
  // Every record at its width: the player records 108 bytes and the name, a ship block
  // 172, the satellite 54, a pod 46, a beam 50.
  ASSERT_EQ(strom.size(), 4u + 16 + 8 + 2 * 108 + 2 + 4 + 2 + 3 + 2 * 172 + 54 + 4 * 46 + 2 * 50 + 4 + 4);
  ASSERT_GT(datei.size(), 16 + label.size());
  EXPECT_EQ(std::vector<uint8_t>(datei.begin(), datei.begin() + 4), (std::vector<uint8_t>{0x00, 0x00, 0x80, 0x40}));
  int32_t l = 0, u = 0, c = 0;
  std::memcpy(&l, &datei[4], 4);
  ASSERT_EQ(l, static_cast<int32_t>(label.size()));
  EXPECT_EQ(std::string(datei.begin() + 8, datei.begin() + 8 + l), label);
  std::memcpy(&u, &datei[8 + static_cast<size_t>(l)], 4);
  std::memcpy(&c, &datei[12 + static_cast<size_t>(l)], 4);
  EXPECT_EQ(u, static_cast<int32_t>(strom.size()));
  ASSERT_EQ(static_cast<size_t>(c), datei.size() - 16 - static_cast<size_t>(l));
  EXPECT_EQ(Entpackt(&datei[16 + static_cast<size_t>(l)], static_cast<size_t>(c), strom.size()), strom);
  EXPECT_EQ(SpielstandInhalt(), strom);
}

// Each version from its table: what it lacks keeps its value (the extra-life threshold
// before version 1) or takes the first play-through (before version 2); the name lengths
// come with version 3. A version between 3 and 4 is read as 4.
TEST_F(SaveGames, OlderVersionsLoadWhatTheyHold) {
  struct Fall {
    float v;
    int16_t extraLeben;
    int32_t durchgang;
  } faelle[] = {{0, 99, 1}, {1, 12, 1}, {2, 12, 3}, {3, 12, 3}, {3.5f, 12, 3}, {4, 12, 3}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.v);
    Beispiel();
    const std::vector<uint8_t> soll = SpielstandInhalt();
    Anderer();
    ASSERT_EQ(SpielstandLaden(Datei(f.v, "P2S3C - Level2-  06-01-2001", Handstrom(f.v))), Spielstand::Ganz);
    EXPECT_EQ(ExtraLebenSchwelle, f.extraLeben);
    EXPECT_EQ(Durchgang, f.durchgang);
    ExtraLebenSchwelle = 12;
    Durchgang = 3;
    EXPECT_EQ(SpielstandInhalt(), soll);  // everything else as saved, both names included
  }
}

TEST_F(SaveGames, AFileTheGameCannotUseChangesNothing) {
  using Aendern = std::function<void(float& v, std::vector<uint8_t>& strom, Bytes& datei)>;
  // Offsets into the version-4 stream of the example.
  constexpr size_t kSpieler0 = 4 + 16 + 8, kSpieler1 = kSpieler0 + 114, kSchiff0 = kSpieler1 + 113;
  auto i32 = [](std::vector<uint8_t>& s, size_t at, int32_t v) { std::memcpy(&s[at], &v, 4); };
  struct Fall {
    const char* name;
    Aendern aendern;
  } faelle[] = {
      {"three players", [&](float&, auto& s, Bytes&) { i32(s, 0, 2); }},
      {"a negative player count", [&](float&, auto& s, Bytes&) { i32(s, 0, -1); }},
      {"ship type 3", [&](float&, auto& s, Bytes&) { i32(s, kSchiff0 + 42 * 4, 3); }},
      {"a negative ship type", [&](float&, auto& s, Bytes&) { i32(s, kSchiff0 + 172 + 42 * 4, -1); }},
      {"pod 4 selected", [&](float&, auto& s, Bytes&) { i32(s, kSpieler0 + 88, 4); }},
      {"pod -2 selected", [&](float&, auto& s, Bytes&) { i32(s, kSpieler1 + 88, -2); }},
      {"play-through 0", [&](float&, auto& s, Bytes&) { i32(s, s.size() - 4, 0); }},
      {"a Variant of type 3", [&](float&, auto& s, Bytes&) { s[s.size() - 8] = 3; }},
      {"a name longer than the stream", [&](float&, auto& s, Bytes&) { s[kSpieler0 + 105] = 0x7F; }},
      {"a stream cut short", [&](float&, auto& s, Bytes&) { s.resize(s.size() - 1); }},
      {"NaN", [&](float& v, auto&, Bytes&) { v = std::numeric_limits<float>::quiet_NaN(); }},
      {"a negative version", [&](float& v, auto&, Bytes&) { v = -1; }},
      {"nothing after the version", [&](float& v, auto&, Bytes& d) { d = Bytes().F32(v); }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Beispiel();
    std::vector<uint8_t> strom = SpielstandInhalt();
    float v = 4;
    Bytes d;
    f.aendern(v, strom, d);
    if (d.b.empty()) d.b = Datei(v, "label", strom);
    Anderer();
    const std::vector<uint8_t> vorher = SpielstandInhalt();
    // The check that lists use refuses what the load refuses.
    EXPECT_EQ(SpielstandPruefen(d.b), Spielstand::Defekt);
    EXPECT_EQ(SpielstandLaden(d.b), Spielstand::Defekt);
    EXPECT_EQ(SpielstandInhalt(), vorher);
  }
}

// The sizes of the file: the label and the packed stream within the bytes left, the
// stream no larger than 64 KiB and as large as it says.
TEST_F(SaveGames, SizesThatDoNotFitAreRefused) {
  Beispiel();
  const std::vector<uint8_t> strom = SpielstandInhalt(), c = Gepackt(strom);
  const auto u = static_cast<int32_t>(strom.size());
  const auto n = static_cast<int32_t>(c.size());
  struct Fall {
    const char* name;
    int32_t l, u, c;
    Spielstand soll;
  } faelle[] = {
      {"whole", 5, u, n, Spielstand::Ganz},
      {"a negative label", -1, u, n, Spielstand::Defekt},
      {"a label beyond the file", 100000, u, n, Spielstand::Defekt},
      {"a stream one byte larger", 5, u + 1, n, Spielstand::Defekt},
      {"a stream one byte smaller", 5, u - 1, n, Spielstand::Defekt},
      {"a stream over 64 KiB", 5, 65537, n, Spielstand::Defekt},
      {"a negative stream", 5, -1, n, Spielstand::Defekt},
      {"packed bytes beyond the file", 5, u, n + 1, Spielstand::Defekt},
      {"packed bytes negative", 5, u, -5, Spielstand::Defekt},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Bytes d;
    d.F32(4).I32(f.l).Raw({'l', 'a', 'b', 'e', 'l'}).I32(f.u).I32(f.c).Raw(c);
    Anderer();
    const std::vector<uint8_t> vorher = SpielstandInhalt();
    EXPECT_EQ(SpielstandPruefen(d.b), f.soll);
    EXPECT_EQ(SpielstandInhalt(), vorher);  // checked, not loaded
    EXPECT_EQ(SpielstandLaden(d.b), f.soll);
    if (f.soll != Spielstand::Ganz) {
      EXPECT_EQ(SpielstandInhalt(), vorher);
    }
  }
  // Bytes after the stream are not read.
  Bytes d;
  d.F32(4).I32(0).I32(u).I32(n).Raw(c).Raw({1, 2, 3});
  EXPECT_EQ(SpielstandLaden(d.b), Spielstand::Ganz);
}

TEST_F(SaveGames, TruncatedAndFlippedFilesFailCleanly) {
  Beispiel();
  const std::vector<uint8_t> datei = Datei(4, "P2S3C - Level2-  06-01-2001", Handstrom(4));
  for (size_t n = 0; n < datei.size(); ++n) {
    Anderer();
    const std::vector<uint8_t> vorher = SpielstandInhalt();
    ASSERT_EQ(SpielstandLaden(std::vector<uint8_t>(datei.begin(), datei.begin() + static_cast<ptrdiff_t>(n))),
              Spielstand::Defekt)
        << n;
    ASSERT_EQ(SpielstandInhalt(), vorher) << n;
  }
  for (size_t i = 0; i < datei.size(); ++i)
    for (uint8_t maske : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> d = datei;
      d[i] ^= maske;
      Anderer();
      const std::vector<uint8_t> vorher = SpielstandInhalt();
      const Spielstand s = SpielstandLaden(d);
      if (s != Spielstand::Ganz) {
        ASSERT_EQ(SpielstandInhalt(), vorher) << i;
      } else {
        ASSERT_TRUE(LetzterSpieler == 0 || LetzterSpieler == 1) << i;
        ASSERT_GE(Durchgang, 1) << i;
      }
    }
}

// Through the slot files: saved, changed, loaded back; the slot itself never changes and
// no scratch file "0.sav" is left, not even one that was there before.
TEST_F(SaveGames, ASavedSlotLoadsBackAndStaysAsItWas) {
  Beispiel();
  const std::vector<uint8_t> soll = SpielstandInhalt();
  ASSERT_TRUE(SaveGameSlot(7));
  const std::vector<uint8_t> datei = testsupport::ReadBytes(SaveOrdner + "7.sav");
  testsupport::WriteText(SaveOrdner + "0.sav", "scratch");
  Anderer();
  EXPECT_TRUE(SlotLadbar(7));
  LoadGame(7);
  EXPECT_EQ(SpielstandInhalt(), soll);
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_TRUE(headless::Dialogs().empty());
  EXPECT_EQ(testsupport::ReadBytes(SaveOrdner + "7.sav"), datei);
  EXPECT_FALSE(fs::exists(SaveOrdner + "0.sav"));
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(SaveOrdner)) ++n;
  EXPECT_EQ(n, 1);  // nothing beside the slot
}

// A slot that cannot be loaded ends the program with the error dialog; the campaign is
// never half loaded. A later version changes nothing and is no error.
TEST_F(SaveGames, LoadingAFaultySlotTakesTheFatalPath) {
  struct Fall {
    const char* name;
    float v;
    bool datei;
    bool fatal;
  } faelle[] = {{"NaN", std::numeric_limits<float>::quiet_NaN(), true, true},
                {"a negative version", -0.5f, true, true},
                {"version 5", 5, true, false},
                {"an infinite version", std::numeric_limits<float>::infinity(), true, false},
                {"no file", 4, false, true}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    headless::Reset();
    Beispiel();
    fs::remove(SaveOrdner + "3.sav");
    if (f.datei) testsupport::WriteBytes(SaveOrdner + "3.sav", Datei(f.v, "label", SpielstandInhalt()));
    Anderer();
    const std::vector<uint8_t> vorher = SpielstandInhalt();
    EXPECT_FALSE(SlotLadbar(3));  // a list does not offer it
    LoadGame(3);
    EXPECT_EQ(SpielstandInhalt(), vorher);
    EXPECT_EQ(Fatal(), f.fatal);
    EXPECT_EQ(Spielstatus, f.fatal ? 10 : 0);
    EXPECT_EQ(headless::Dialogs().size(), f.fatal ? 1u : 0u);
  }
}

TEST_F(SaveGames, SavingReplacesAnyOldFileWholly) {
  const std::string datei = SaveOrdner + "12.sav";
  testsupport::WriteBytes(datei, std::vector<uint8_t>(5000, 0xAB));
  fs::permissions(datei, fs::perms::owner_read);
  Beispiel();
  ASSERT_TRUE(SaveGameSlot(12));
  EXPECT_EQ(testsupport::ReadBytes(datei), SpielstandDatei(SaveLabel()));
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(SaveOrdner)) ++n;
  EXPECT_EQ(n, 1);  // no temporary file left

  // No folder to write in: nothing saved, a log line.
  SaveOrdner = DatenOrdner + "Datei/save/";
  testsupport::WriteText(DatenOrdner + "Datei", "a file, no folder");
  EXPECT_FALSE(SaveGameSlot(12));
  EXPECT_NE(testsupport::ReadText(DatenOrdner + "Debug.txt").find("12.sav"), std::string::npos);
  for (int32_t slot : {0, 22, -1}) EXPECT_FALSE(SaveGameSlot(slot)) << slot;
}

TEST_F(SaveGames, TheLabelNamesPlayersShipPlayThroughLevelPartAndDate) {
  struct Fall {
    int32_t spieler, schiff, durchgang;
    const char* level;
    const char* sprache;
    const char* label;  // UTF-8
  } faelle[] = {
      {0, 0, 1, "Level1-Canyon", "E", "P1S1A - Level1-C  06-01-2001"},
      {1, 2, 2, "Level2", "D", "P2S3B - L  06-01-2001"},  // no "-": its first character
      {0, 1, 26, "Level9-", "E", "P1S2Z - Level9-  06-01-2001"},
      {0, 1, 27, "A-B", "E", "P1S2Z - A-B  06-01-2001"},
      {0, 0, 400, "x-", "E", "P1S1Z - x-  06-01-2001"},
      {0, 0, 1, "Level3-Deep", "R", "P1S1A - Уровень3-D  06-01-2001"},
      {0, 0, 1, "LEVEL3-Deep", "R", "P1S1A - Уровень3-D  06-01-2001"},
      {0, 0, 1, "leveL-levelx", "R", "P1S1A - Уровень-l  06-01-2001"},
      {0, 0, 1, "Epilog", "R", "P1S1A - E  06-01-2001"},
      {0, 0, 1, "", "E", "P1S1A -   06-01-2001"},
  };
  for (const Fall& f : faelle) {
    LetzterSpieler = f.spieler;
    Schiff[0].Typ = f.schiff;
    Durchgang = f.durchgang;
    LevelName = f.level;
    Sprache = f.sprache;
    EXPECT_EQ(SaveLabel(), Cyr(f.label)) << f.level << " " << f.durchgang;
  }
  // The date is the calendar's of the day.
  headless::SetDate({2024, 12, 31, 23, 59, 0});
  Sprache = "E";
  LevelName = "Level1-";
  EXPECT_EQ(SaveLabel().substr(SaveLabel().size() - 10), "12-31-2024");
}

TEST_F(SaveGames, SlotListsShowWhatCanBeReadOfTheLabel) {
  Beispiel();
  const std::vector<uint8_t> strom = SpielstandInhalt();
  const std::string lang(5000, 'x');
  std::vector<uint8_t> gekuerzt = Datei(4, "P1S1A - Level1-  01-01-2001", strom);
  gekuerzt.resize(20);
  std::vector<uint8_t> altKaputt = Datei(2, "P1S1A - Level1-  01-01-2001", strom);
  altKaputt[14] ^= 0xFF;  // the packed label
  struct Fall {
    const char* name;
    std::vector<uint8_t> datei;  // none: no file
    std::string label;
  } faelle[] = {
      {"no file", {}, "---"},
      {"version 4", Datei(4, "P2S1B - Level2-  02-03-2004", strom), "P2S1B - Level2-  02-03-2004"},
      {"version 3", Datei(3, "P1S2A - Level1-  01-01-2001", strom), "P1S2A - Level1-  01-01-2001"},
      {"version 0", Datei(0, "old", strom), "old"},
      {"version 5", Datei(5, "new", strom), ""},
      {"version 3.5", Datei(3.5f, "between", strom), ""},
      {"an empty file", std::vector<uint8_t>{0}, ""},
      {"a label cut short", gekuerzt, "P1S1A - Leve"},
      {"a damaged old label", altKaputt, ""},
      {"a label over 4 KiB", Datei(4, lang, strom), lang.substr(0, 4096)},
  };
  for (const Fall& f : faelle) {
    fs::remove(SaveOrdner + "9.sav");
    if (!f.datei.empty()) testsupport::WriteBytes(SaveOrdner + "9.sav", f.datei);
    EXPECT_EQ(GetSaveLabel(9), f.label) << f.name;
  }
}
