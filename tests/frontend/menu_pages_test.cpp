// The menu's later pages headless over the demo data, frame by frame with the keys of
// each poll: the game settings and volumes, the key configuration with its captures and
// waits, the ship select and the name entry with the high-score tag, the bonus and
// high-score pages, and a new game from the main page to its first level.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/ogg.hpp"
#include "campaign/script.hpp"
#include "campaign/script_state.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "menu_setup.hpp"
#include "platform/codepage.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level.hpp"
#include "world/particles_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kEscape = 1, kReturn = 28, kUp = 200, kDown = 208, kA = 30, kD = 32, kS = 31;

class Seiten : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::MenuVorbereiten(home.dataDir(), 11));
    Sprache = "E";
  }
  void TearDown() override {
    // A menu left unfinished keeps its music playing; its end would stop it.
    StopOgg();
    testsupport::CloseGameWindow();
    ResetMenu();
    Sprache = "E";
  }

  // One frame with these keys down at its poll (and every poll inside it, when `reads`).
  static void Bild(std::initializer_list<int> tasten = {}) {
    headless::QueueKeys(tasten);
    MenuBild();
  }
  static void Bilder(int n) {
    for (int k = 0; k < n; ++k) Bild();
  }
  // A run on `seite` after one frame with the keys up; a text page has its panel in place.
  // The start-up logos count as shown, as in every menu after the program's first (they
  // took half of these tests' time).
  static void AufSeite(int32_t seite, int16_t zeile = 3) {
    MenuSeite = kSeiteHaupt;
    MenuVorbereiten();
    MenuSeite = seite;
    Bild();
    MenuLauf.Schub = 0;
    MenuLauf.Text.Auswahl = zeile;
    Abblenden = false;
  }
  static const std::string& Zeile(int i) { return MenuLauf.Text.Zeile[static_cast<size_t>(i)]; }
};

// --- Game settings and volumes -----------------------------------------------------------

TEST_F(Seiten, TheVolumeStepsAndTheirWraps) {
  struct Fall {
    const char* name;
    int16_t zeile;
    int32_t start;
    std::vector<int32_t> danach;  // after each press
  };
  std::vector<int32_t> zyklus;
  for (int32_t v = -4500; v <= 0; v += 250) zyklus.push_back(v);
  zyklus.push_back(-10000);
  const std::vector<Fall> faelle = {
      {"music at 100 wraps to 0", 3, 100, {0, 5}},
      {"music from 0", 3, 0, {5, 10}},
      {"effects from silence round their cycle", 4, -10000, zyklus},
      {"effects off the grid keep their remainder", 4, -1100, {-850, -600, -350, -100, -10000}},
      {"voices at full wrap to silence", 5, 0, {-10000, -4500}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    int32_t& wert = c.zeile == 3 ? MusikLautstaerke : c.zeile == 4 ? SoundLautstaerke : SprachLautstaerke;
    wert = c.start;
    AufSeite(kSeiteLautstaerke, c.zeile);
    for (int32_t soll : c.danach) {
      Bild({kReturn});
      Bild({kReturn});  // held: nothing more
      Bild();
      EXPECT_EQ(wert, soll);
    }
  }
  // The shown levels: every value the steps reach shows a multiple of 5.
  for (int32_t v : zyklus) EXPECT_EQ(LautstaerkeStufe(v) % 5, 0) << v;
  struct Stufe {
    int32_t v, stufe;
  };
  for (const Stufe& s : {Stufe{-1000, 80}, Stufe{-10000, 0}, Stufe{-5000, 0}, Stufe{0, 100}, Stufe{-4500, 10},
                         Stufe{-1125, 78}, Stufe{-1075, 78}})
    EXPECT_EQ(LautstaerkeStufe(s.v), s.stufe) << s.v;
}

TEST_F(Seiten, ThePreviewPlaysAtTheNewVolumeAndBackLeadsToTheOptions) {
  // Sound on: the preview plays at the new attenuation, shown as its level.
  SoundAn = true;
  Soundclear();
  LoadMenuSound();
  SoundLautstaerke = -1000;
  SprachLautstaerke = -10000;
  AufSeite(kSeiteLautstaerke, 4);
  Bild({kReturn});
  Bild();
  MenuLauf.Text.Auswahl = 5;
  Bild({kReturn});
  Bild();
  EXPECT_EQ(Sounds[static_cast<size_t>(SndPlingDing)].Kopien[0].GetVolume(), -750);
  EXPECT_NE(Sounds[static_cast<size_t>(SndPlingDing)].Kopien[0].GetStatus(), 0u);
  EXPECT_EQ(Sounds[static_cast<size_t>(SndSpeech)].Kopien[0].GetVolume(), -4500);
  EXPECT_EQ(Zeile(4), "Sound: 85");
  EXPECT_EQ(Zeile(5), "Voices: 10");
  Soundclear();
  SoundAn = false;

  // The back line and the back key of both pages: to the options with a cross-fade.
  for (int32_t seite : {kSeiteSpiel, kSeiteLautstaerke})
    for (int taste : {kReturn, kEscape}) {
      AufSeite(seite, taste == kReturn ? 7 : 3);
      Bild({taste});
      EXPECT_EQ(MenuSeite, kSeiteOptionen);
      EXPECT_TRUE(Abblenden);
    }
}

TEST_F(Seiten, TheGameSettingsToggle) {
  struct Fall {
    const char* sprache;
    std::string traegheit;  // the inertia line after its press
  };
  for (const Fall& c : {Fall{"E", "Ship Movements: Arcade"}, Fall{"D", "Tr\xE4gheit: Aus"}}) {
    SCOPED_TRACE(c.sprache);
    Sprache = c.sprache;
    ForceModus = AutoAnordnung = Traegheit = true;
    AufSeite(kSeiteSpiel, 3);
    MenuLauf.Schub = 460;  // a confirm while the panel slides acts on the selected line
    for (int16_t zeile : {3, 4, 5}) {
      MenuLauf.Text.Auswahl = zeile;
      Bild({kReturn});
      Bild();
    }
    Bilder(16);
    EXPECT_FALSE(ForceModus);
    EXPECT_FALSE(AutoAnordnung);
    EXPECT_FALSE(Traegheit);
    EXPECT_EQ(Zeile(5), c.traegheit);
    EXPECT_EQ(MenuSeite, kSeiteSpiel);
  }
  // In another language only the position and the last line are set.
  Sprache = "F";
  MenuLauf.Text.Zeile[3] = "kept";
  Bild();
  EXPECT_EQ(Zeile(3), "kept");
}

// --- Key configuration -------------------------------------------------------------------

class Tastenseite : public Seiten {
 protected:
  // The key page at its line `zeile`, the panel in place and its lines written.
  static void Offnen(int16_t zeile) {
    AufSeite(kSeiteTasten, zeile);
    MenuLauf.KeyConfigBackup = KeyConfig;
    MenuLauf.KeyCapture = -1;
    MenuLauf.KeyPageSet = 0;
    Bild();
    MenuLauf.Text.Auswahl = zeile;
  }
  // A frame whose polls see these keys in turn (the frame's own first).
  static void Bild(const std::vector<std::vector<int>>& polls) {
    for (const std::vector<int>& p : polls) headless::QueueKeys(p);
    MenuBild();
  }
  using Seiten::Bild;
  static int32_t Map(int a, int b) { return KeyConfig.KeyMap(a, 0, b); }
};

TEST_F(Tastenseite, CapturingBindings) {
  struct Fall {
    const char* name;
    std::vector<std::vector<int>> start;    // polls of the confirm frame
    std::vector<std::vector<int>> fangen;   // polls of the capture frame
    int32_t erste, zweite;
  };
  const std::vector<Fall> faelle = {
      {"Return starts it and binds only after its release, then itself",
       {{kReturn}, {kReturn}, {kReturn}, {}},
       {{kReturn}, {}},
       kReturn, 0},
      {"A, then D while A is held", {{kReturn}, {}}, {{kA}, {kA}, {kA, kD}, {kA}, {}}, kA, kD},
      {"one key clears the second binding", {{kReturn}, {}}, {{kA}, {}}, kA, 0},
      {"two keys in one poll: the higher first", {{kReturn}, {}}, {{kA, kD}, {kA, kD}, {}}, kD, kA},
      {"Escape may be the second binding", {{kReturn}, {}}, {{kA}, {kA, kEscape}, {}}, kA, kEscape},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    SetConfigDefaults();
    KeyConfig.KeyMap(4, 0, 1) = 57;
    Offnen(10);
    Bild(c.start);
    EXPECT_EQ(MenuLauf.KeyCapture, 0);
    Bild();  // nothing pressed: still waiting
    EXPECT_EQ(MenuLauf.KeyCapture, 0);
    Bild(c.fangen);
    EXPECT_EQ(MenuLauf.KeyCapture, -1);
    EXPECT_EQ(Map(4, 0), c.erste);
    EXPECT_EQ(Map(4, 1), c.zweite);
    EXPECT_EQ(headless::KeyReadsLeft(), 0u);
    EXPECT_EQ(MenuSeite, kSeiteTasten);
  }
}

TEST_F(Tastenseite, EscapeCancelsAndTheBackKeyWaitsWhileAKeyIsAwaited) {
  Offnen(11);
  const KeyConfigDaten vorher = KeyConfig;
  Bild({{kReturn}, {}});
  ASSERT_EQ(MenuLauf.KeyCapture, 0);
  Bild({{kEscape}, {kEscape}, {kEscape}, {}});
  EXPECT_EQ(MenuLauf.KeyCapture, -1);
  EXPECT_EQ(KeyConfig.Map, vorher.Map);
  EXPECT_EQ(MenuSeite, kSeiteTasten);  // the Escape of the capture is not a back key
  EXPECT_EQ(headless::KeyReadsLeft(), 0u);
  Bild({kEscape});
  EXPECT_EQ(MenuSeite, kSeiteOptionen);
}

TEST_F(Tastenseite, BackRestoresWhatApplyKept) {
  struct Fall {
    const char* name;
    bool uebernehmen;
    int taste;  // the back key, or Return on the back line
  };
  for (const Fall& c : {Fall{"back key", false, kEscape}, Fall{"back line", false, kReturn},
                        Fall{"apply, then back", true, kEscape}}) {
    SCOPED_TRACE(c.name);
    SetConfigDefaults();
    ForceBasis = {2500, 2500};
    const KeyConfigDaten vorher = KeyConfig;
    Offnen(10);
    Bild({{kReturn}, {}});
    Bild({{kS}, {}});
    ASSERT_EQ(Map(4, 0), kS);
    Bild();
    ForceBasis[0] = 4000;  // not part of the key configuration
    if (c.uebernehmen) {
      MenuLauf.Text.Auswahl = 20;
      Bild({kReturn});
      Bild();
      EXPECT_EQ(MenuSeite, kSeiteTasten);
    }
    MenuLauf.Text.Auswahl = c.taste == kReturn ? 21 : 3;
    Bild({c.taste});
    EXPECT_EQ(MenuSeite, kSeiteOptionen);
    EXPECT_TRUE(Abblenden);
    EXPECT_EQ(Map(4, 0), c.uebernehmen ? kS : vorher.KeyMap(4, 0, 0));
    EXPECT_EQ(ForceBasis[0], 4000);
  }
}

TEST_F(Tastenseite, TheDeviceCycleSkipsAbsentJoysticks) {
  struct Fall {
    const char* name;
    int joysticks;
    int32_t start;
    std::vector<int32_t> geraete;  // after each press
  };
  const std::vector<Fall> faelle = {
      {"none: the keyboard stays, its defaults reloaded", 0, 0, {0, 0}},
      {"one", 1, 0, {1, 0, 1}},
      {"two", 2, 0, {1, 2, 0}},
      {"a device out of range counts as the keyboard", 1, 7, {1}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    headless::ResetJoysticks();
    for (int j = 0; j < c.joysticks; ++j) headless::AttachJoystick({.name = "Pad" + std::to_string(j + 1)});
    JoyDa = {};
    JoystickInit();
    SetConfigDefaults();
    KeyConfig.KeyDevice[0] = c.start;
    KeyConfig.KeyMap(4, 0, 0) = 99;
    Offnen(4);
    for (int32_t soll : c.geraete) {
      Bild({kReturn});
      Bild();
      EXPECT_EQ(KeyConfig.KeyDevice[0], soll);
      EXPECT_NE(Map(4, 0), 99);  // the new device's bindings
    }
    Bild();
    const int32_t d = KeyConfig.KeyDevice[0];
    EXPECT_EQ(Zeile(4), d == 0 ? std::string("Controller: Keyboard") : "Controller: Joy" + std::to_string(d) + " (" + JoyName[static_cast<size_t>(d - 1)] + ")");
  }
}

TEST_F(Tastenseite, AJoystickSetHidesItsDirectionsAndShowsItsPauseAndVibration) {
  headless::AttachJoystick({.name = "Rumbler", .forceFeedback = true});
  JoystickInit();
  ASSERT_TRUE(JoyDa[0] && ForceDa[0]);
  InitKeyConfig(0, 1);
  ForceAn[0] = false;
  ForceBasis[0] = 9500;
  Offnen(10);
  Bild();
  for (int i = 6; i <= 9; ++i) EXPECT_EQ(MenuLauf.Text.Farbe[static_cast<size_t>(i)], 0) << i;
  EXPECT_EQ(Zeile(16).rfind("Pause: J1(Button", 0), 0u) << Zeile(16);
  EXPECT_EQ(Zeile(17), "Vibration: Off");
  EXPECT_EQ(Zeile(18), "Strength of the vibration: 9.5");
  Bild({kUp});
  Bild();
  EXPECT_EQ(MenuLauf.Text.Auswahl, 4);  // up from line 10 passes over the directions

  // Vibration on: a test rumble at full strength, stopped twenty frames later.
  headless::ClearForceCommands();
  MenuLauf.Text.Auswahl = 17;
  Bild({kReturn});
  EXPECT_TRUE(ForceAn[0]);
  EXPECT_EQ(ForceWert[0], 10000);
  int gestoppt = 0;
  for (int k = 1; k <= 25 && gestoppt == 0; ++k) {
    Bild();
    if (ForceWert[0] == 0) gestoppt = k;
  }
  EXPECT_EQ(gestoppt, 20);
  // The strength steps on from 9500 and wraps from 10000 to 500.
  MenuLauf.Text.Auswahl = 18;
  std::vector<std::string> gezeigt;
  for (int k = 0; k < 2; ++k) {
    Bild({kReturn});
    Bild();
    gezeigt.push_back(Zeile(18));
  }
  EXPECT_EQ(gezeigt, (std::vector<std::string>{"Strength of the vibration: 10.0", "Strength of the vibration: 0.5"}));
  EXPECT_EQ(ForceWert[0], 500);
  // Vibration off: no rumble.
  MenuLauf.Text.Auswahl = 17;
  Bild({kReturn});
  EXPECT_FALSE(ForceAn[0]);
  EXPECT_EQ(ForceWert[0], 500);

  // The pause line takes a button of the joystick; its key codes as they are.
  MenuLauf.Text.Auswahl = 16;
  Bild();
  Bild({{kReturn}, {}});
  const int knopf = JoyKnopf[0][3];
  platform::JoystickState gedrueckt;
  gedrueckt.buttons[3] = 0x80;
  headless::QueueJoystick(0, gedrueckt, 3);
  Bild();
  EXPECT_EQ(KeyConfig.PauseKey[1], knopf);
  EXPECT_EQ(MenuLauf.KeyCapture, -1);

  // German shows the switch in words of its own.
  Sprache = "D";
  Bild();
  EXPECT_EQ(Zeile(17), "Vibration: Falsch");
}

TEST_F(Tastenseite, AQuitEndsEveryWait) {
  struct Fall {
    const char* name;
    int16_t zeile;
    std::vector<int> start;  // held at the confirm frame, then the capture frame
    std::vector<int> fangen;
  };
  const std::vector<Fall> faelle = {
      {"the confirm key's release", 10, {kReturn}, {}},
      {"Escape's release", 10, {}, {kEscape}},
      {"the captured key's release", 10, {}, {kA}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    Spielstatus = 0;
    Offnen(c.zeile);
    if (c.start.empty()) {
      Bild({{kReturn}, {}});
      headless::QueueKeys(c.fangen, 100000);
    } else {
      headless::QueueKeys(c.start, 100000);
    }
    headless::At(static_cast<uint64_t>(GetTickCount()) + 200, [] { Spielstatus = 10; });
    MenuBild();
    EXPECT_EQ(Spielstatus, 10);
    EXPECT_GT(headless::KeyReadsLeft(), 0u);
    headless::Reset();
    testsupport::CloseGameWindow();
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
    LoadStandartSurfaces();
    LoadMenuSurfaces();
  }
  Spielstatus = 0;
}

// --- Ship select and names ---------------------------------------------------------------

TEST_F(Seiten, TheTurningShipBlendsFourPictures) {
  struct Fall {
    int32_t t, eintrag;
    std::vector<std::pair<int, float>> bilder;  // index into TexShipSelect, alpha
  };
  const std::vector<Fall> faelle = {
      // k = 3, h = 1: pictures 2, 3, 0 and 1.
      {7, 1, {{4, 1.0f}, {6, 0.5f}, {0, 0.2f}, {2, 0.05f}}},
      {7, 0, {{2 * 34 + 1, 1.0f}, {2 * 33 + 1, 0.5f}, {2 * 36 + 1, 0.2f}, {2 * 35 + 1, 0.05f}}},
      // Below 6 the pictures of 6: k = 3, h = 0.
      {1, 1, {{4, 1.0f}, {6, 0.0f}, {0, 0.25f}, {2, 0.0f}}},
      {-50, 1, {{4, 1.0f}, {6, 0.0f}, {0, 0.25f}, {2, 0.0f}}},
      // k = 38 runs on past the end of the turn: 37 mod 37 = 0.
      {76, 1, {{2 * 0, 1.0f}, {2 * 1, 0.0f}, {2 * 35, 0.25f}, {2 * 36, 0.0f}}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.t);
    AufSeite(kSeiteSchiff);
    MenuAuswahl = c.eintrag;
    MenuLauf.Schub = 0;
    for (int32_t nr : TexShipSelect) SetUpColor(nr, 0, 0, 0, 0.123f);
    LevelTick = c.t - 1;
    Bild();
    for (auto [index, alpha] : c.bilder) {
      const SurfaceInfo& s = Surfaces[TexShipSelect[static_cast<size_t>(index)]];
      EXPECT_NEAR((static_cast<uint32_t>(s.Vertex[0].color) >> 24) / 255.0, alpha, 0.003) << index;
      float links = 1e9f, oben = 1e9f;
      for (const auto& v : s.Vertex) {
        links = std::min(links, v.sx);
        oben = std::min(oben, v.sy);
      }
      EXPECT_EQ(links, 510.0f) << index;
      EXPECT_EQ(oben, 310.0f) << index;
    }
  }
  // The back entry: no ship, and the panel waits at 400.
  AufSeite(kSeiteSchiff);
  MenuAuswahl = 2;
  for (int32_t nr : TexShipSelect) SetUpColor(nr, 0, 0, 0, 0.123f);
  Bild();
  EXPECT_EQ(MenuLauf.Schub, 299);
  Bild();
  EXPECT_EQ(MenuLauf.Schub, 299);
  EXPECT_EQ(static_cast<uint32_t>(Surfaces[TexShipSelect[4]].Vertex[0].color) >> 24, 31u);
}

TEST_F(Seiten, ShipSelectAndNameEntryLeadOnAndBack) {
  struct Fall {
    const char* name;
    int32_t seite, auswahl;
    int taste;
    int32_t nachSeite, nachAuswahl;
    bool blende;
  };
  LetzterSpieler = 1;
  const std::vector<Fall> faelle = {
      {"V-Tonator", kSeiteSchiff, 0, kReturn, kSeiteName, 0, true},
      {"V-Phyton", kSeiteSchiff, 1, kReturn, kSeiteName, 1, true},
      {"back entry", kSeiteSchiff, 2, kReturn, kSeiteNeu, 1, true},
      {"pause key", kSeiteSchiff, 0, kEscape, kSeiteNeu, 1, true},
      {"the back key is not the pause key here", kSeiteSchiff, 0, 14 /* Backspace */, kSeiteSchiff, 0, false},
      {"pause key on the name entry", kSeiteName, 1, kEscape, kSeiteSchiff, 1, true},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    AufSeite(c.seite);
    LetzterSpieler = 1;
    MenuAuswahl = c.auswahl;
    Schiff[0].Schiffstyp() = 7;
    TastenZeichen = 'x';
    KeyConfig.KeyMap(6, 0, 0) = 14;
    Bild({c.taste});
    EXPECT_EQ(MenuSeite, c.nachSeite);
    EXPECT_EQ(MenuAuswahl, c.nachAuswahl);
    EXPECT_EQ(Abblenden, c.blende);
    if (c.nachSeite == kSeiteName) {
      EXPECT_EQ(Schiff[0].Schiffstyp(), c.auswahl);
      EXPECT_EQ(MenuLauf.Schub, 299);
      EXPECT_EQ(TastenZeichen, 0);  // typed before: dropped
      EXPECT_EQ(MenuLauf.NamensSpieler, 0);
    }
  }
}

// The Return that chose the ship may bring its character a frame after the key: while the
// key is still held it does not end the name; once let go, the next Return does.
TEST_F(Seiten, TheShipSelectsReturnDoesNotEndTheName) {
  AufSeite(kSeiteSchiff);
  LetzterSpieler = 0;
  MenuAuswahl = 1;
  Spieler[0].Name.clear();
  Bild({kReturn});
  ASSERT_EQ(MenuSeite, kSeiteName);
  TastenZeichen = 13;  // late, the key still down
  Bild({kReturn});
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_EQ(TastenZeichen, 0);
  TastenZeichen = 'A';
  Bild();
  TastenZeichen = 13;
  Bild({kReturn});
  EXPECT_EQ(Spielstatus, 1);
  EXPECT_EQ(Spieler[0].Name, "A");
  Spielstatus = 0;
}

TEST_F(Seiten, TypingANameAndDrawingTheTags) {
  // Typing: a character per frame.
  struct Fall {
    const char* name;
    std::string vorher;
    std::vector<int> zeichen;
    std::string nachher;
  };
  const std::vector<Fall> faelle = {
      {"17 characters keep 16", "", std::vector<int>(17, 'k'), std::string(16, 'k')},
      {"Backspace on one character", "A", {8}, ""},
      {"Backspace on none", "", {8}, ""},
      {"a character of the code page", "", {0xE4, 0xDF}, "\xE4\xDF"},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    AufSeite(kSeiteName);
    Spieler[0].Name = c.vorher;
    for (int z : c.zeichen) {
      TastenZeichen = static_cast<int16_t>(z);
      Bild();
      EXPECT_EQ(TastenZeichen, 0);
    }
    EXPECT_EQ(Spieler[0].Name, c.nachher);
  }
  // Two players: a blank name gets ours, each Return draws an unused tag of the
  // play-through; the first Return asks for player two, the second ends the menu.
  HighscoreCrypt();
  for (int32_t i = 0; i < kHighscorePlaetze; ++i) Highscore[static_cast<size_t>(i)].Tag = 30000 + i;
  HighscoreCrypt();
  BesterDurchgang = 3;
  AufSeite(kSeiteName);
  LetzterSpieler = 1;
  Spieler[0].Name = "   ";
  Spieler[1].Name = "Bo";
  Spieler[0].HighscoreNr = Spieler[1].HighscoreNr = 0;
  TastenZeichen = 13;
  Bild();
  EXPECT_EQ(Spieler[0].Name, "Player 1");
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_EQ(MenuLauf.NamensSpieler, 1);
  EXPECT_TRUE(Abblenden);
  Bild();
  EXPECT_EQ(Zeile(0), "Please insert Name, player 2:");
  TastenZeichen = 13;
  Bild();
  EXPECT_EQ(Spielstatus, 1);
  EXPECT_EQ(Spieler[1].Name, "Bo");
  for (const SpielerDaten& s : Spieler) {
    EXPECT_GE(s.HighscoreNr, 30000);
    EXPECT_LE(s.HighscoreNr, 39999);
    EXPECT_TRUE(HighscoreIdUnused(s.HighscoreNr));
  }
  EXPECT_NE(Spieler[0].HighscoreNr, Spieler[1].HighscoreNr);
  Spielstatus = 0;

  // Many draws: always in range, unused and distinct, also at the limits of the base.
  struct Basis {
    int32_t bester, von, bis;
  };
  for (const Basis& b : {Basis{-4, 0, 9999}, Basis{0, 0, 9999}, Basis{214747, 2147470000, 2147479999},
                         Basis{2000000000, 2147470000, 2147479999}}) {
    SCOPED_TRACE(b.bester);
    BesterDurchgang = b.bester;
    for (int k = 0; k < 200; ++k) {
      Spieler[1].HighscoreNr = b.von + k % 10;
      HighscoreTagZiehen(0);
      EXPECT_GE(Spieler[0].HighscoreNr, b.von);
      EXPECT_LE(Spieler[0].HighscoreNr, b.bis);
      EXPECT_NE(Spieler[0].HighscoreNr, Spieler[1].HighscoreNr);
    }
  }
}

TEST(TypedText, ACharacterTheCodePageLacksIsDropped) {
  struct Fall {
    int seite;
    const char* utf8;
    std::string bytes;
  };
  for (const Fall& c : {Fall{platform::CodePageWestern, "\xC3\xA4\xC3\x9F?", "\xE4\xDF?"},
                        Fall{platform::CodePageWestern, "\xD0\x96x", "x"},
                        Fall{platform::CodePageCyrillic, "\xD0\x96x", "\xC6x"},
                        Fall{platform::CodePageCyrillic, "\xC3\xA4", ""}}) {
    platform::SetTypingCodePage(c.seite);
    EXPECT_EQ(platform::TypedText(c.utf8), c.bytes) << c.utf8;
  }
  platform::SetTypingCodePage(platform::CodePageWestern);
}

// --- Bonus and high scores ---------------------------------------------------------------

TEST_F(Seiten, TheBonusLevelsOpenUpWithThePlayThroughs) {
  struct Fall {
    int32_t bester;
    std::vector<std::string> texte;  // entries 0..MenuLetzter
  };
  const std::vector<Fall> faelle = {
      {1, {"JUNGLE", "BACK"}},
      {3, {"JUNGLE", "SPACE", "STIFT", "BACK"}},
      {7, {"JUNGLE", "SPACE", "STIFT", "BACK"}},
      {-2, {"BACK"}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.bester);
    BesterDurchgang = c.bester;
    AufSeite(kSeiteBonus);
    EXPECT_EQ(MenuText[0], "BONUS");
    ASSERT_EQ(MenuLetzter + 1, static_cast<int32_t>(c.texte.size()));
    for (size_t i = 0; i < c.texte.size(); ++i) EXPECT_EQ(MenuText[i + 1], c.texte[i]);
    // The last entry leads back to the options page, on its bonus entry.
    MenuAuswahl = MenuLetzter;
    Bild({kReturn});
    EXPECT_EQ(MenuSeite, kSeiteOptionen);
    EXPECT_EQ(MenuAuswahl, 3);
    EXPECT_EQ(BesterDurchgang, c.bester);  // the configuration keeps it as read
  }
}

TEST_F(Seiten, ABonusLevelThenTheMainPagesNewGamePlaysTheCampaign) {
  BesterDurchgang = 2;
  AufSeite(kSeiteBonus);
  MenuAuswahl = 1;
  Bild({kReturn});
  EXPECT_EQ(MenuSeite, kSeiteNeu);
  EXPECT_EQ(MenuAuswahl, 0);
  EXPECT_TRUE(SkriptStand.EinzelLevel);
  EXPECT_EQ(SkriptStand.SkriptZeile, 0);
  EXPECT_EQ(LevelName, "Spacestation Bonus");
  Bild();
  Bild({kEscape});
  ASSERT_EQ(MenuSeite, kSeiteHaupt);
  Bild();
  MenuAuswahl = 0;
  Bild({kReturn});
  EXPECT_EQ(MenuSeite, kSeiteNeu);
  EXPECT_FALSE(SkriptStand.EinzelLevel);
  // The back key on the bonus page.
  AufSeite(kSeiteBonus);
  MenuAuswahl = 0;
  Bild({kEscape});
  EXPECT_EQ(MenuSeite, kSeiteOptionen);
  EXPECT_EQ(MenuAuswahl, 3);
}

TEST_F(Seiten, TheHighScorePageDrawsNothingWhileItSlidesAndKeepsTheTableScrambled) {
  HighscoreCrypt();
  Highscore[0].Score = 123456;
  Highscore[9].Score = 0;
  HighscoreCrypt();
  const auto verschluesselt = Highscore;
  MenuSeite = kSeiteHaupt;
  MenuVorbereiten();
  MenuAuswahl = 3;
  Bild();
  MenuAuswahl = 3;
  Bild({kReturn});
  ASSERT_EQ(MenuSeite, kSeiteHighscore);
  // Sixteen frames of sliding: no spark, no back line.
  for (int k = 0; k < 15; ++k) {
    Bild();
    EXPECT_EQ(BigPartikelMax, -1) << k;
    EXPECT_NE(MenuLauf.Text.Letzte, 11) << k;
  }
  Bild();
  EXPECT_EQ(MenuLauf.Schub, 0);
  Bild();
  EXPECT_EQ(MenuLauf.Text.Letzte, 11);
  EXPECT_EQ(Zeile(11), "Back");
  EXPECT_EQ(Zeile(0).substr(0, 3), "1. ");
  EXPECT_GE(BigPartikelMax, 0);
  for (size_t i = 0; i < Highscore.size(); ++i) {
    EXPECT_EQ(Highscore[i].Score, verschluesselt[i].Score) << i;
    EXPECT_EQ(Highscore[i].Name, verschluesselt[i].Name) << i;
  }
  // Keys work also while sliding: back to the main page, its entry still selected.
  MenuLauf.Schub = 300;
  Bild({kEscape});
  EXPECT_EQ(MenuSeite, kSeiteHaupt);
  EXPECT_EQ(MenuAuswahl, 3);
}

// --- A new game ---------------------------------------------------------------------------

TEST_F(Seiten, NewOnePlayerVPhytonAnnLoadsTheFirstLevel) {
  Spieler[0].Name.clear();
  MenuSeite = kSeiteHaupt;
  MenuVorbereiten();
  Bild();
  Bild({kReturn});  // New
  ASSERT_EQ(MenuSeite, kSeiteNeu);
  Bild();
  Bild({kReturn});  // 1 player
  ASSERT_EQ(MenuSeite, kSeiteSchiff);
  Bild({kDown});
  Bild();
  Bild({kReturn});  // V-Phyton
  ASSERT_EQ(MenuSeite, kSeiteName);
  for (int z : {int{'A'}, int{'n'}, int{'n'}, 13}) {
    TastenZeichen = static_cast<int16_t>(z);
    Bild();
  }
  ASSERT_EQ(Spielstatus, 1);
  MenuAbschluss();
  ASSERT_EQ(Spielstatus, 0);
  EXPECT_EQ(Spieler[0].Name, "Ann");
  EXPECT_EQ(Schiff[0].Schiffstyp(), 1);
  ASSERT_TRUE(LevelSkript());
  EXPECT_EQ(LevelName, "Level1");
  EXPECT_FALSE(LadeDaten(LevelName + ".vlp", SkriptStand.LadeBild));
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_GT(LevelLaenge, 0);
}

TEST_F(Seiten, EachBonusLevelLoads) {
  for (const char* name : {"Level8-1 Jungle", "Spacestation Bonus", "Level Bleistift"}) {
    SCOPED_TRACE(name);
    LevelLaenge = 0;
    EXPECT_FALSE(LadeDaten(std::string(name) + ".vlp", ""));
    EXPECT_EQ(Spielstatus, 0);
    EXPECT_EQ(LevelLaenge, 1500);
  }
}

}  // namespace
