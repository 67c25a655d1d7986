#include <gtest/gtest.h>

#include "campaign/ticker_state.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "player/players.hpp"
#include "run/variabeln_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

namespace {

using Query = bool (*)(int32_t);
const Query kQueries[10] = {TasteLinks,    TasteHoch, TasteRechts,          TasteRunter,      TasteSchießen,
                            TasteBeam,     TastePartikelWechsel, TasteBeamWechsel, TasteDrehen, TasteSuperNova};

void Press(std::initializer_list<int> codes) {
  KeyState.fill(false);
  for (int c : codes) KeyState[c] = true;
}

}  // namespace

class Keys : public ::testing::Test {
 protected:
  void SetUp() override {
    KeyConfig = KeyConfigDaten();
    KeyState.fill(false);
    Spieler[0].Status = 0;
    Spieler[1].Status = 0;
  }
  void TearDown() override {
    KeyConfig = KeyConfigDaten();
    KeyState.fill(false);
  }
};

TEST_F(Keys, EachActionOfEachKeySetAnswersToItsOwnBindings) {
  // Keyboard, joystick 0 and joystick 1 codes, on either binding.
  const int32_t bases[3] = {16, 216, 251};
  for (int device = 0; device < 3; ++device) {
    for (int set = 0; set < 3; ++set) {
      for (int binding = 0; binding < 2; ++binding) {
        KeyConfig = KeyConfigDaten();
        KeyConfig.KeyDevice[set] = device;
        for (int a = 0; a < 10; ++a) KeyConfig.KeyMap(a, set, binding) = bases[device] + a;
        for (int a = 0; a < 10; ++a) {
          Press({bases[device] + a});
          for (int s = 0; s < 3; ++s)
            for (int q = 0; q < 10; ++q)
              EXPECT_EQ(kQueries[q](s), s == set && q == a)
                  << "device " << device << " set " << set << " binding " << binding << " action " << a
                  << " asked " << q << " in set " << s;
        }
      }
    }
  }
}

TEST_F(Keys, UnboundAndOutOfRangeCodesNeverCount) {
  for (int32_t code : {0, -1, -300, 283, 100000}) {
    KeyConfig.KeyMap(AktionLinks, 0, 0) = code;
    KeyConfig.KeyMap(AktionLinks, 0, 1) = code;
    KeyState.fill(true);
    EXPECT_FALSE(TasteLinks(0)) << code;
  }
  KeyState.fill(true);
  EXPECT_FALSE(GetTasteSub(AktionLinks, 3));
  EXPECT_FALSE(GetTasteSub(AktionLinks, -1));
  EXPECT_FALSE(GetTasteSub(10, 0));
}

TEST_F(Keys, LevelEndFlightLocksTheWeaponsOfEveryKeySet) {
  for (int set = 0; set < 3; ++set) {
    KeyConfig.KeyMap(AktionSchießen, set, 0) = 30;
    KeyConfig.KeyMap(AktionBeam, set, 1) = 31;
    KeyConfig.KeyMap(AktionSuperNova, set, 0) = 32;
    KeyConfig.KeyMap(AktionLinks, set, 0) = 33;
  }
  Press({30, 31, 32, 33});
  Spieler[0].Status = 1;
  for (int set = 0; set < 3; ++set) {
    EXPECT_FALSE(TasteSchießen(set));
    EXPECT_FALSE(TasteBeam(set));
    EXPECT_FALSE(TasteSuperNova(set));
    EXPECT_TRUE(TasteLinks(set));
    EXPECT_FALSE(TasteEingabe(set));
  }
  Press({57});
  EXPECT_TRUE(TasteEingabe(0));
  Press({28});
  EXPECT_TRUE(TasteEingabe(2));

  // Only the first player's record counts.
  Spieler[0].Status = 0;
  Spieler[1].Status = 2;
  Press({30});
  EXPECT_TRUE(TasteSchießen(2));
}

TEST_F(Keys, ConfirmAndBack) {
  KeyConfig.KeyMap(AktionSchießen, 1, 0) = 216;
  KeyConfig.KeyMap(AktionBeam, 1, 0) = 219;
  KeyConfig.KeyMap(AktionPartikelWechsel, 1, 0) = 218;
  KeyConfig.KeyMap(AktionBeamWechsel, 1, 1) = 217;
  struct Case {
    std::initializer_list<int> pressed;
    bool eingabe, zurueck;
  } cases[] = {
      {{}, false, false},   {{216}, true, false}, {{219}, true, false}, {{57}, true, false},
      {{28}, true, false},  {{156}, false, false}, {{218}, false, true}, {{217}, false, true},
      {{1}, false, true},   {{28, 1}, true, true},
  };
  for (const Case& c : cases) {
    Press(c.pressed);
    EXPECT_EQ(TasteEingabe(1), c.eingabe);
    EXPECT_EQ(TasteZurück(1), c.zurueck);
    EXPECT_EQ(TasteEingabe(0), c.eingabe && (KeyState[57] || KeyState[28]));
  }
}

TEST_F(Keys, EscapeAsksEveryDevicesPauseKey) {
  KeyConfig.PauseKey = {1, 224, 259};
  KeyConfig.KeyDevice = {0, 0, 0};  // a keyboard game
  struct Case {
    std::initializer_list<int> pressed;
    bool escape;
  } cases[] = {{{}, false}, {{1}, true}, {{224}, true}, {{259}, true}, {{57, 216}, false}};
  for (const Case& c : cases) {
    Press(c.pressed);
    EXPECT_EQ(TasteEscape(), c.escape);
  }
  KeyConfig.PauseKey = {0, -1, 400};
  KeyState.fill(true);
  EXPECT_FALSE(TasteEscape());
}

TEST_F(Keys, JoystickDefaultsOfEveryKeySet) {
  SetJoystickCodes();
  for (int16_t set = 0; set < 3; ++set) {
    for (int16_t device = 1; device <= 2; ++device) {
      InitKeyConfig(set, device);
      int j = device - 1;
      const int pressed[10] = {JoyLinks[j], JoyHoch[j], JoyRechts[j], JoyRunter[j], JoyKnopf[j][0],
                               JoyKnopf[j][3], JoyKnopf[j][2], JoyKnopf[j][1], JoyKnopf[j][5], JoyKnopf[j][4]};
      for (int a = 0; a < 10; ++a) {
        Press({pressed[a]});
        EXPECT_TRUE(kQueries[a](set)) << "set " << set << " device " << device << " action " << a;
      }
      Press({203});
      EXPECT_EQ(TasteLinks(set), set == 0) << "the arrow keys stay bound in key set 0 only";
    }
  }
}

TEST_F(Keys, KeyUpSwitchesF3AndF4) {
  MessageHistory = MessageHistoryDaten();
  TickerLeer = false;
  Antizeitverschiebung = false;
  Showinfo = false;
  Form_KeyUp(114, 0);
  Form_KeyUp(114, 1);
  EXPECT_FALSE(Antizeitverschiebung);
  Form_KeyUp(115, 0);
  EXPECT_TRUE(Showinfo);
  Form_KeyUp(113, 0);
  Form_KeyUp(116, 0);
  EXPECT_EQ(MessageHistory.Zeilen,
            (std::vector<std::string>{"Antizeitverschiebung True", "Antizeitverschiebung False", "Showinfo True"}));
  Showinfo = false;

  Form_KeyPress(65);
  EXPECT_EQ(TastenZeichen, 65);
  Form_KeyPress(228);
  EXPECT_EQ(TastenZeichen, 228);
  TastenZeichen = 0;
}

TEST_F(Keys, TickerThatRanOutGetsAGapFirst) {
  MessageHistory = MessageHistoryDaten();
  TickerLeer = true;
  Antizeitverschiebung = false;
  Form_KeyUp(114, 0);
  EXPECT_FALSE(TickerLeer);
  EXPECT_EQ(MessageHistory.Zeilen, (std::vector<std::string>{"          ", "Antizeitverschiebung True"}));
  Antizeitverschiebung = false;
  MessageHistory = MessageHistoryDaten();
}
