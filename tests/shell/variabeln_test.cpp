#include <gtest/gtest.h>

#include "campaign/ticker.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "player/players.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/variabeln.hpp"
#include "support/support.hpp"
#include "world/enemies.hpp"
#include "world/landscape.hpp"
#include "world/particles.hpp"
#include "world/weather.hpp"

namespace headless = platform::headless;

class Variabeln : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    headless::SetDate({2026, 6, 1, 12, 0, 0});
    VariabelnInit();
  }
  testsupport::IsolatedHome home;
};

TEST_F(Variabeln, InitSetsJoystickCodesLayersAndDefaults) {
  EXPECT_EQ(JoyLinks[0], 212);
  EXPECT_EQ(JoyRunter[0], 215);
  EXPECT_EQ(JoyKnopf[0][31], 247);
  EXPECT_EQ(JoyLinks[1], 247);  // shared with joystick 1's last button
  EXPECT_EQ(JoyKnopf[1][0], 251);
  const int32_t caps[7] = {10, 50, 20, 100, -1, 20, 15};
  for (int layer = 0; layer < 7; ++layer) {
    EXPECT_EQ(Landschaft[layer].Kapazitaet, caps[layer]);
    EXPECT_EQ(Landschaft[layer].Objekte.size(), static_cast<size_t>(caps[layer] + 1));
  }
  EXPECT_EQ(EntpackListe.size(), 1u);
  EXPECT_FLOAT_EQ(Pi, 3.14159274f);
  EXPECT_EQ(platform::fs::Resolve(DatenOrdner), home.dataDir());
}

TEST_F(Variabeln, LöschEmptiesThePoolsAndResetsTheLevelState) {
  GegnerListe.Add(Gegner{});
  GegnerListe[0].Typ.Name = "Boss";
  Schuesse[1].Add(SchussDaten{});
  BigPartikel.Add(BigPartikelDaten{});
  Landschaft[3].Objekte[5].Aktiv = VBTrue;
  Landschaft[3].Max = 5;
  MessageHistory.Zeilen.push_back("x");
  ComboFaktor[1] = 3.5f;
  Spieler[0].X = 123;
  VariabelnLösch();
  EXPECT_EQ(GegnerMax, -1);
  EXPECT_EQ(GegnerListe[0].Aktiv, 0);
  EXPECT_EQ(GegnerListe[0].Typ.Name, "");
  EXPECT_EQ(Schuesse[1].Max, -1);
  EXPECT_EQ(BigPartikel.Max, -1);
  EXPECT_EQ(Landschaft[3].Max, -1);
  EXPECT_EQ(Landschaft[3].Objekte[5].Aktiv, 0);
  EXPECT_TRUE(MessageHistory.Zeilen.empty());
  EXPECT_EQ(ComboFaktor[1], 1.0f);
  for (const SpielerDaten& s : SpielerSpur[0]) EXPECT_EQ(s.X, 123);  // no streak from an old position
  EXPECT_EQ(Wetter, 0);
}

TEST_F(Variabeln, Raindrops) {
  struct Case {
    int32_t anzahl;
    size_t drops;
  } cases[] = {{0, 1}, {5, 6}, {-1, 0}, {-100, 0}, {INT32_MAX, RegenAnzahlGrenze + 1}};
  for (const Case& c : cases) {
    RegenAnzahl = c.anzahl;
    VariabelnLösch();
    EXPECT_EQ(Regentropfen.size(), c.drops) << c.anzahl;
  }
  RegenAnzahl = 0;
}

TEST_F(Variabeln, ChristmasEveSnowsInEveryPass) {
  headless::SetDate({2026, 12, 24, 23, 59, 0});
  VariabelnLösch();
  EXPECT_EQ(Wetter, 1);
  VariabelnLösch();  // after a lost life too
  EXPECT_EQ(Wetter, 1);
}

TEST_F(Variabeln, TerminateFreesTheLayers) {
  VariabelnTerminate();
  for (const LandschaftEbene& e : Landschaft) EXPECT_TRUE(e.Objekte.empty());
  EXPECT_TRUE(EntpackListe.empty());
}
