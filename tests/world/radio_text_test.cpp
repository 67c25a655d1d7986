#include "world/radio_text_file.hpp"

#include <gtest/gtest.h>

#include "campaign/ticker_state.hpp"
#include "run/program_state.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace {

std::vector<FunkText> Bloecke(const std::string& text) {
  return LeseFunkTexte(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace

TEST(RadioTexts, BlocksLinesAndWhatIsIgnored) {
  struct Fall {
    const char* name;
    std::string text;
    std::vector<FunkText> bloecke;
  } faelle[] = {
      {"a stray line after an empty one belongs to no block",
       "[Intro]\r\n1;a.wav;2000;Hallo\r\n\r\nstray\r\n[Outro]\r\n",
       {{"Intro", {"1;a.wav;2000;Hallo"}}, {"Outro", {}}}},
      {"LF, CR and a last line without an end", "[A]\nx\ry\n[B]\rz", {{"A", {"x", "y"}}, {"B", {"z"}}}},
      {"blanks at both ends go, tabs and inner blanks stay", "  [A]  \r\n  a  b \t \r\n", {{"A", {"a  b \t"}}}},
      {"lines before the first header are ignored", "x\r\ny\r\n[A]\r\nz\r\n", {{"A", {"z"}}}},
      {"a line beginning with [ ends the block and is a header only with ]",
       "[A]\r\na\r\n[B\r\nb\r\n[C]\r\nc\r\n[]\r\nd\r\n",
       {{"A", {"a"}}, {"C", {"c"}}, {"", {"d"}}}},
      {"a single [ is no header", "[\r\nx\r\n", {}},
      {"an empty file", "", {}},
  };
  for (const Fall& f : faelle) EXPECT_EQ(Bloecke(f.text), f.bloecke) << f.name;
}

TEST(RadioTexts, MessagesFindTheirBlockWithoutRegardToCaseTheLastWinning) {
  const std::vector<FunkText> texte = {{"Intro", {"1"}}, {"\xC4rger", {}}, {"INTRO", {"2"}}, {"Ende", {}}};
  std::vector<Funkmeldung> meldungen = {
      {.TextBlock = "intro"}, {.TextBlock = "\xE4rger"}, {.TextBlock = "Ende"}, {.TextBlock = "Nichts"}};
  VerbindeFunkTexte(meldungen, texte);
  std::vector<int32_t> index;
  for (const Funkmeldung& m : meldungen) index.push_back(m.FunkTextIndex);
  EXPECT_EQ(index, (std::vector<int32_t>{2, 1, 3, -1}));
}

class RadioTextFile : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    Funkmeldungen = {{.TextBlock = "Intro", .FunkTextIndex = 5}};
    FunkTexte = {{"Alt", {}}};
    FunkTextBasis = "Funk";
    Sprache = "D";
    testsupport::WriteText(dir / "FunkD.txt", "[Intro]\r\nHallo\r\n");
  }
  void TearDown() override {
    Funkmeldungen.clear();
    FunkTexte.clear();
    FunkTextBasis.clear();
    testsupport::FreshState();
  }
  bool Fehlt() { return !MessageHistory.Zeilen.empty() && MessageHistory.Zeilen.back() == "Textdatei nicht gefunden"; }

  testsupport::TempDir dir;
};

TEST_F(RadioTextFile, TheLanguagesFileIsReadAndLinked) {
  LadeFunkTexte(dir.path());
  EXPECT_EQ(FunkTexte, (std::vector<FunkText>{{"Intro", {"Hallo"}}}));
  EXPECT_EQ(Funkmeldungen[0].FunkTextIndex, 0);
  EXPECT_FALSE(Fehlt());
}

TEST_F(RadioTextFile, MissingFileOrNameLeavesNoTexts) {
  for (auto setze : {+[] { Sprache = "E"; }, +[] { FunkTextBasis.clear(); }}) {
    SetUp();
    setze();
    LadeFunkTexte(dir.path());
    EXPECT_TRUE(FunkTexte.empty());
    EXPECT_EQ(Funkmeldungen[0].FunkTextIndex, -1);
    EXPECT_TRUE(Fehlt());
  }
}

TEST_F(RadioTextFile, NothingHappensAfterAFailedLoad) {
  Spielstatus = 10;
  LadeFunkTexte(dir.path());
  EXPECT_EQ(FunkTexte.size(), 1u);
  EXPECT_EQ(Funkmeldungen[0].FunkTextIndex, 5);
  EXPECT_FALSE(Fehlt());
}
