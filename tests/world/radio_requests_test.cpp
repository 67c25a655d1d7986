// Radio message requests: play limits against the played list, messages without a text
// block and numbers the level lacks, each asked while another message runs.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/fresh_state.hpp"
#include "world/level_data_state.hpp"
#include "world/radio.hpp"

namespace {

// The running-message fields a request may set, and those the radio itself owns.
auto Gesetzt() { return std::make_tuple(FunkStatus.Aktiv, FunkStatus.Meldung, FunkStatus.RestTicks, FunkStatus.Seite); }
auto Unberuehrt() {
  return std::make_tuple(FunkStatus.Zeile, FunkStatus.SprecherFrame, FunkStatus.FrameZeit, FunkStatus.SeitenLaenge,
                         FunkStatus.Sound);
}

class RadioRequests : public ::testing::Test {
 protected:
  void SetUp() override { Neu(); }
  void TearDown() override {
    FreeLevelCatalogues();
    ResetPlayedRadioMessages();
    testsupport::FreshState();
  }
  // Message 1 runs on its third page; the radio's own fields hold values of their own.
  void Neu() {
    testsupport::FreshState();
    ResetPlayedRadioMessages();
    FunkStatus = {.Aktiv = VBTrue, .Meldung = 1, .Zeile = 2, .SprecherFrame = 17, .FrameZeit = 3,
                  .RestTicks = 40, .SeitenLaenge = 125, .Seite = 3, .Sound = 9};
  }
};

}  // namespace

TEST_F(RadioRequests, PlayLimitsAndTextBlocks) {
  struct Fall {
    const char* name;
    int32_t max, textBlock;
    std::vector<FunktionEintrag> gespielt;
    bool spielt;
    int32_t nr = 2;
  } faelle[] = {
      {"unlimited, never played", 0, 0, {}, true},
      {"unlimited plays however often it was counted", 0, 0, {{7, 2}}, true},
      {"limit 1, not played yet", 1, 0, {}, true},
      {"limit 1, played once", 1, 0, {{1, 2}}, false},
      {"limit 2, played once", 2, 0, {{1, 2}}, true},
      {"limit 2, played twice", 2, 0, {{2, 2}}, false},
      {"limit 1, only another message played", 1, 0, {{1, 0}, {3, 1}}, true},
      {"the used-up entry need not be the first of the message", 2, 0, {{1, 2}, {2, 2}}, false},
      {"no text block: nothing to say", 0, -1, {}, false},
      {"a number past the level's messages", 0, 0, {}, false, 3},
      {"a negative number", 0, 0, {}, false, -1},
  };
  for (const Fall& f : faelle) {
    Neu();
    Funkmeldungen.assign(3, Funkmeldung{.FunkTextIndex = 0});
    Funkmeldungen[2].MaxAnzahl = f.max;
    Funkmeldungen[2].FunkTextIndex = f.textBlock;
    FunktionDaten = f.gespielt;
    AddFunktion(f.nr);
    EXPECT_EQ(Gesetzt(), f.spielt ? std::make_tuple(VBTrue, 2, 0, 0) : std::make_tuple(VBTrue, 1, 40, 3)) << f.name;
    EXPECT_EQ(Unberuehrt(), std::make_tuple(2, 17, 3, 125, 9)) << f.name;
    EXPECT_EQ(FunktionDatenMax(), static_cast<int32_t>(f.gespielt.size()) - 1) << f.name;  // only the radio counts
  }
}
