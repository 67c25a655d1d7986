// The menu run headless over the demo data: its pictures and sounds, the start-up
// sequence, the hangar freezing over, the shared latches, the sliding panel, the rumble
// countdown, the exits, a lost display and a fatal failure; the two renderers' selection
// and geometry; the pages' transitions and the load page's slots; reference frames of a
// text page and the column at both colour depths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/ogg.hpp"
#include "campaign/save_games.hpp"
#include "campaign/script_state.hpp"
#include "engine/display.hpp"
#include "engine/dxerror_dialog.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu.hpp"
#include "frontend/menu_pages.hpp"
#include "menu_setup.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/text.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "support/support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

constexpr int kEscape = 1, kReturn = 28, kUp = 200, kDown = 208, kH = 35, kV = 47, kS = 31;

std::vector<uint8_t> Bytes(std::initializer_list<int> b) { return std::vector<uint8_t>(b.begin(), b.end()); }
void Anhaengen(std::vector<uint8_t>& v, const std::vector<uint8_t>& w) { v.insert(v.end(), w.begin(), w.end()); }
std::vector<uint8_t> Long(int32_t n) {
  return Bytes({n & 255, (n >> 8) & 255, (n >> 16) & 255, (n >> 24) & 255});
}
std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

const std::vector<uint8_t> kVersion4 = Bytes({0x00, 0x00, 0x80, 0x40});
const std::vector<uint8_t> kVersion3 = Bytes({0x00, 0x00, 0x40, 0x40});
const std::vector<uint8_t> kVersion5 = Bytes({0x00, 0x00, 0xA0, 0x40});
const std::vector<uint8_t> kVersion35 = Bytes({0x00, 0x00, 0x60, 0x40});
// zlib's compress of "P1S1A - Level1-  12-07-2024".
const std::vector<uint8_t> kGepacktesLabel =
    Bytes({0x78, 0x9C, 0x0B, 0x30, 0x0C, 0x36, 0x74, 0x54, 0xD0, 0x55, 0xF0, 0x49, 0x2D, 0x4B, 0xCD, 0x31, 0xD4, 0x55,
           0x50, 0x30, 0x34, 0xD2, 0x35, 0x30, 0xD7, 0x35, 0x32, 0x30, 0x32, 0x01, 0x00, 0x5C, 0x8E, 0x06, 0x36});
const std::string kLabel = "P1S1A - Level1-  12-07-2024";

// The state stream of the campaign in the game now, changed by `aendern` for the moment.
std::vector<uint8_t> Strom(const std::function<void()>& aendern = {}) {
  const auto spieler = Spieler;
  const auto schiff = Schiff;
  const int32_t letzter = LetzterSpieler, durchgang = Durchgang;
  if (aendern) aendern();
  std::vector<uint8_t> strom = SpielstandInhalt();
  Spieler = spieler;
  Schiff = schiff;
  LetzterSpieler = letzter;
  Durchgang = durchgang;
  return strom;
}
// A stream's two sizes and its zlib block, as they follow the label.
std::vector<uint8_t> Gepackt(std::vector<uint8_t> strom) {
  const auto u = static_cast<int32_t>(strom.size());
  EXPECT_EQ(CompressBytes(strom), 0);
  std::vector<uint8_t> v = Long(u);
  Anhaengen(v, Long(static_cast<int32_t>(strom.size())));
  Anhaengen(v, strom);
  return v;
}
// A slot as the save games write it (version 4): the label, then a state stream.
std::vector<uint8_t> Slot4(const std::string& label, const std::vector<uint8_t>& strom = Strom()) {
  std::vector<uint8_t> v = kVersion4;
  Anhaengen(v, Long(static_cast<int32_t>(label.size())));
  Anhaengen(v, Text(label));
  Anhaengen(v, Gepackt(strom));
  return v;
}
// A slot of version 3 or lower (or of a version given): the label packed.
std::vector<uint8_t> Slot3(const std::vector<uint8_t>& version = kVersion3) {
  std::vector<uint8_t> v = version;
  Anhaengen(v, Long(static_cast<int32_t>(kLabel.size())));
  Anhaengen(v, Long(static_cast<int32_t>(kGepacktesLabel.size())));
  Anhaengen(v, kGepacktesLabel);
  Anhaengen(v, Gepackt(Strom()));
  return v;
}

class Menulauf : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::MenuVorbereiten(home.dataDir(), 7));
    SaveOrdner = DatenOrdner + "save/";
    ASSERT_EQ(Spielstatus, 0);
    ASSERT_TRUE(MenuFokus());
  }
  void TearDown() override {
    // A menu left unfinished keeps its music playing; its end would stop it.
    StopOgg();
    testsupport::CloseGameWindow();
    ResetMenu();
    DXErrDispFRM = DXErrDispForm();
  }

  // One frame with these keys down at its poll.
  static void Bild(std::initializer_list<int> tasten = {}) {
    headless::QueueKeys(tasten);
    MenuBild();
  }
  static void Bilder(int n, std::initializer_list<int> tasten = {}) {
    for (int k = 0; k < n; ++k) Bild(tasten);
  }
  // A run begun on `seite` after its first frame (the latches see the keys up); the
  // start-up logos count as shown, as in every menu after the program's first.
  static void AufSeite(int32_t seite, int32_t auswahl = 0) {
    MenuSeite = kSeiteHaupt;
    MenuVorbereiten();
    MenuSeite = seite;
    MenuAuswahl = auswahl;
    Bild();
    MenuAuswahl = auswahl;
  }
  static uint32_t Pixel(int32_t nr, int x, int y) { return Surfaces[nr].Surface->GetPixel(x, y) & 0xFFFFFF; }
  static uint32_t Schirm(int x, int y) { return BackBuffer->GetPixel(x, y) & 0xFFFFFF; }
  static bool Nah(uint32_t a, uint32_t b, int d) {
    for (int s = 0; s <= 16; s += 8)
      if (std::abs(static_cast<int>(a >> s & 255) - static_cast<int>(b >> s & 255)) > d) return false;
    return true;
  }
};

// --- Pictures and sounds -----------------------------------------------------------------

TEST_F(Menulauf, TheShipFramesInterleaveTheTwoSets) {
  struct Fall {
    int32_t s, f, index;
    const char* datei;
  };
  for (const Fall& c : {Fall{0, 0, 0, "ShipSelect0000.bmp"}, Fall{1, 0, 1, "ShipSelect1000.bmp"},
                        Fall{1, 7, 15, "ShipSelect1007.bmp"}, Fall{0, 36, 72, "ShipSelect0036.bmp"},
                        Fall{1, 36, 73, "ShipSelect1036.bmp"}}) {
    EXPECT_EQ(ShipSelectName(c.s, c.f), c.datei);
    const std::string& name = Surfaces[TexShipSelect[static_cast<size_t>(c.index)]].Name;
    EXPECT_EQ(name.substr(name.size() - 18), UCase(c.datei)) << c.index;
  }
}

TEST_F(Menulauf, BothHangarsComeFromOneSetAndTheFolderIsDeletedAfterAQuit) {
  std::map<std::string, int> gesehen;
  for (int lauf = 0; lauf < 6; ++lauf) {
    LoadStandartSurfaces();
    LoadMenuSurfaces();
    const std::string plain = Surfaces[TexHangar].Name, frozen = Surfaces[TexHangarFrozen].Name;
    const std::string n = plain.substr(plain.size() - 5, 1);
    EXPECT_EQ(frozen.substr(frozen.size() - 18), "HANGAR_FROZEN" + n + ".BMP");
    ++gesehen[n];
  }
  EXPECT_EQ(gesehen.size(), 2u);  // both sets turn up
  EXPECT_FALSE(platform::fs::DirExists(GetTempFolder() + "Harvo/Menu.vkpdir/"));

  // Quitting: nothing is loaded, before or during the unpacking.
  const int32_t vorher = SurfacesMax();
  Spielstatus = 10;
  LoadMenuSurfaces();
  EXPECT_EQ(SurfacesMax(), vorher);
  EXPECT_FALSE(platform::fs::DirExists(GetTempFolder() + "Harvo/Menu.vkpdir/"));
}

TEST_F(Menulauf, TheMenuSoundsLoadOnlyWithSoundOn) {
  SndDude = SndPlingDing = SndSpeech = 77;
  LoadMenuSound();
  EXPECT_EQ(SndDude, 77);
  EXPECT_EQ(SndPlingDing, 77);
  EXPECT_EQ(SndSpeech, 77);
  SoundAn = true;
  Soundclear();
  LoadMenuSound();
  ASSERT_EQ(SndDude, 0);
  EXPECT_EQ(Sounds[0].KopienMax(), 2);  // three copies of the confirm sound
  EXPECT_EQ(SndPlingDing, 1);
  EXPECT_EQ(SndSpeech, 2);
  EXPECT_EQ(Sounds[2].KopienMax(), 0);
  Soundclear();
}

// --- The run -----------------------------------------------------------------------------

TEST(MenuStart, TheStartUpSequenceWithAndWithoutVideos) {
  testsupport::FreshState();
  Sprache = "D";
  VideoAn = true;
  const std::vector<StartSchritt> mit = StartFolge();
  ASSERT_EQ(mit.size(), 5u);
  EXPECT_EQ(mit[0], (StartSchritt{true, "Logo.avi", 0, 0, false}));
  EXPECT_EQ(mit[1], (StartSchritt{false, "Logo_praxelworks.bmp", 42, 30, true}));
  EXPECT_EQ(mit[2], (StartSchritt{false, "Logo_umbrix.bmp", 40, 30, false}));
  EXPECT_EQ(mit[3], (StartSchritt{false, "Logo_tessaline.bmp", 40, 30, false}));
  EXPECT_EQ(mit[4], (StartSchritt{true, "introD.avi", 0, 0, false}));
  VideoAn = false;
  const std::vector<StartSchritt> ohne = StartFolge();
  ASSERT_EQ(ohne.size(), 5u);
  EXPECT_EQ(ohne[0], (StartSchritt{false, "Logo_brightfold.bmp", 50, 30, false}));
  EXPECT_TRUE(std::equal(ohne.begin() + 1, ohne.end(), mit.begin() + 1));  // the intro call returns at once
}

TEST_F(Menulauf, TheFirstRunFadesInFromTheBareHangarAndLaterRunsDoNot) {
  auto markieren = [] {
    platform::Surface& s = *Surfaces[TexBlur2].Surface;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) s.SetPixel(x, y, 0x123456);
  };
  markieren();
  MenuVorbereiten();
  EXPECT_EQ(MenuSeite, kSeiteHaupt);
  EXPECT_TRUE(Abblenden);
  EXPECT_EQ(BlendAlpha, 1.0f);
  EXPECT_EQ(Pixel(TexBlur2, 10, 10), Pixel(TexHangar, 10, 10));

  Abblenden = false;
  BlendAlpha = 0;
  markieren();
  MenuVorbereiten();
  EXPECT_FALSE(Abblenden);
  EXPECT_EQ(Pixel(TexBlur2, 10, 10), 0x123456u);
  EXPECT_EQ(MenuSeite, kSeiteHaupt);
  EXPECT_EQ(MenuLauf.SpalteX, -1000.0f);  // the column glides in again
}

TEST_F(Menulauf, TheHangarFreezesOverWithin200Frames) {
  MenuVorbereiten();
  // The frames count on from what the last start-up logo left.
  const int32_t start = LevelTick;
  const std::pair<int, int> punkte[] = {{790, 590}, {20, 300}, {700, 420}};
  for (int k = 1; k <= 202; ++k) {
    Bild();
    if (k == 50 || k == 100) {
      for (auto [x, y] : punkte) EXPECT_EQ(Schirm(x, y), Pixel(TexHangar, x, y)) << k;
    }
    if (k == 200) {
      for (auto [x, y] : punkte) EXPECT_TRUE(Nah(Schirm(x, y), Pixel(TexHangarFrozen, x, y), 10)) << x << "," << y;
    }
  }
  EXPECT_EQ(MenuLauf.HangarFade, 1.0f);
  EXPECT_FLOAT_EQ(Rauschen, 0.025f);
  EXPECT_EQ(LevelTick, start + 202);
  EXPECT_NEAR(MenuLauf.SpalteX, 155, 0.01);
}

// Once frozen, the menu copies the hangar instead of drawing its quad: the two must agree
// to the pixel.
TEST_F(Menulauf, TheFrozenHangarAtFullStrengthIsAPlainCopyOfItsPicture) {
  RenderStart();
  SetUpColor(TexHangarFrozen, 1, 1, 1, 1);
  SetUpRect(TexHangarFrozen, 0, 0, 800, 600);
  Render(TexHangarFrozen, false);
  RenderEnd();
  int anders = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) anders += Schirm(x, y) != Pixel(TexHangarFrozen, x, y);
  EXPECT_EQ(anders, 0);
}

TEST_F(Menulauf, AConfirmHeldAcrossAPageChangeActsOnlyAfterItsRelease) {
  AufSeite(kSeiteHaupt);
  Bild({kReturn});
  ASSERT_EQ(MenuSeite, kSeiteNeu);
  Bilder(5, {kReturn});
  EXPECT_EQ(MenuSeite, kSeiteNeu);
  Bild();
  Bild({kReturn});
  EXPECT_EQ(MenuSeite, kSeiteSchiff);
  EXPECT_EQ(Spielstatus, 0);
}

TEST_F(Menulauf, TheLoadPanelSlidesInOverSixteenFrames) {
  AufSeite(kSeiteHaupt, 1);
  Bild({kReturn});
  std::vector<int32_t> schub{MenuLauf.Schub};
  while (MenuLauf.Schub > 0 && schub.size() < 30) {
    Bild();
    schub.push_back(MenuLauf.Schub);
  }
  EXPECT_EQ(schub, (std::vector<int32_t>{299, 223, 166, 124, 92, 68, 50, 36, 26, 18, 12, 8, 5, 3, 1, 0}));
}

TEST_F(Menulauf, TheConfirmPulseStopsTenFramesAfterTheLastConfirm) {
  headless::AttachJoystick({.name = "Pad", .forceFeedback = true});
  JoystickInit();
  ForceAn[0] = true;
  auto stopps = [] {
    int n = 0;
    for (const headless::ForceRecord& r : headless::ForceCommands())
      n += r.joystick == 0 && r.command == "magnitude" && r.magnitude == 0;
    return n;
  };
  struct Fall {
    const char* name;
    int zweiterConfirm;  // frame of a second confirm, 0 none
    int stoppBild;
  };
  for (const Fall& c : {Fall{"one confirm", 0, 10}, Fall{"a second confirm restarts it", 4, 14}}) {
    SCOPED_TRACE(c.name);
    AufSeite(kSeiteHaupt, 2);  // options, and there the back entry
    headless::ClearForceCommands();
    Bild({kReturn});
    EXPECT_EQ(headless::ForceCommands().size(), 4u);  // pause, magnitude 2500, start, continue
    MenuAuswahl = 3;
    int gestoppt = 0;
    for (int k = 1; k <= 20; ++k) {
      Bild(k == c.zweiterConfirm ? std::initializer_list<int>{kReturn} : std::initializer_list<int>{});
      if (stopps() > 0 && gestoppt == 0) gestoppt = k;
    }
    EXPECT_EQ(gestoppt, c.stoppBild);
    EXPECT_EQ(stopps(), 1);
  }
}

TEST_F(Menulauf, EachExitOfTheLoop) {
  struct Fall {
    const char* name;
    int32_t seite, auswahl;
    std::vector<std::vector<int>> tasten;  // per poll
    int32_t status;
    size_t tastenUebrig;
  };
  const std::vector<Fall> faelle = {
      {"exit entry", kSeiteHaupt, 0, {{}, {kUp}, {}, {kReturn}}, 10, 0},
      {"pause key, waited for until released", kSeiteHaupt, 0, {{}, {kEscape}, {kEscape}, {kEscape}, {kEscape}, {}}, 10, 0},
      {"a name entered: screen-out, then play", kSeiteName, 0, {{}}, 0, 0},
      {"hidden show", kSeiteHaupt, 0, {{}, {kH, kV}, {kH, kV, kS}}, 10, 0},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    Spielstatus = 0;
    MenuSeite = c.seite;
    for (const std::vector<int>& t : c.tasten) headless::QueueKeys(t);
    // The run opens on the main page; the name case starts on the name entry, Return typed.
    if (c.seite == kSeiteName)
      headless::At(static_cast<uint64_t>(GetTickCount()) + 1, [] {
        MenuSeite = kSeiteName;
        TastenZeichen = 13;
      });
    // The hidden show runs until the program quits (three seconds in: it is showing).
    if (std::string(c.name) == "hidden show")
      headless::At(static_cast<uint64_t>(GetTickCount()) + 3000, [] { Spielstatus = 10; });
    MenuLoop();
    EXPECT_EQ(Spielstatus, c.status);
    EXPECT_EQ(headless::KeyReadsLeft(), c.tastenUebrig);
    if (c.status == 0) {
      EXPECT_EQ(LevelTick, 80);  // the screen-out ran to its end
    }
  }

  // The wait for the pause key's release also ends when the program quits.
  Spielstatus = 9;
  headless::QueueKeys({kEscape}, 1000);
  DInputPoll();
  headless::At(static_cast<uint64_t>(GetTickCount()) + 100, [] { Spielstatus = 10; });
  MenuAbschluss();
  EXPECT_EQ(Spielstatus, 10);
  EXPECT_GT(headless::KeyReadsLeft(), 0u);
}

TEST_F(Menulauf, ALostDisplayIsWaitedForAndTheFrameStartsAgain) {
  AufSeite(kSeiteHaupt);
  const int32_t tick = LevelTick;
  platform::ShowWindow(Form1, platform::sw::Minimize);
  headless::At(static_cast<uint64_t>(GetTickCount()) + 100, [] { platform::ShowWindow(Form1, platform::sw::Restore); });
  Bild();
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_EQ(LevelTick, tick + 2);
  EXPECT_FALSE(D3DDevice->InScene());
  EXPECT_TRUE(headless::Dialogs().empty());
}

TEST_F(Menulauf, AnyOtherFailureEndsTheRunWithTheErrorDialog) {
  AufSeite(kSeiteHaupt);
  platform::HDC dc = 0;
  ASSERT_EQ(platform::GetDC(*BackBuffer, dc), 0);  // the column's text cannot have it
  Bild();
  EXPECT_EQ(Spielstatus, 10);
  ASSERT_EQ(headless::Dialogs().size(), 1u);
  EXPECT_NE(DXErrDispFRM.MSDescription.find("Menuloop"), std::string::npos);
}

// --- The renderers -----------------------------------------------------------------------

// A page of a title, a separator and a blank line, then selectable lines 3..6.
TextMenu Seite(int16_t auswahl, int16_t letzte = 6) {
  TextMenu m;
  const char* zeilen[] = {"Title", "-----", "", "One", "Two", "", "Four", "Beyond"};
  for (int i = 0; i < 8; ++i) {
    m.Zeile[static_cast<size_t>(i)] = zeilen[i];
    m.Farbe[static_cast<size_t>(i)] = i >= 3 ? -1 : 0;
  }
  m.Auswahl = auswahl;
  m.Letzte = letzte;
  return m;
}

// A window of another program takes the focus.
platform::HWnd AnderesFenster() {
  platform::WindowDesc d;
  d.width = d.height = 100;
  d.visible = true;
  return platform::CreateWindow(d, platform::DefWindowProc);
}

void Zeichne(TextMenu& m, int taste, bool keyLook = false) {
  KeyState.fill(false);
  if (taste) KeyState[static_cast<size_t>(taste)] = true;
  RenderStart();
  ShowTextMenu(m, keyLook, false);
  RenderEnd();
}

TEST_F(Menulauf, TheTextPageSelectionPassesOverLinesOfCodeZeroAndWraps) {
  struct Fall {
    const char* name;
    TextMenu m;
    std::vector<int> tasten;  // one renderer call each
    bool keyLook;
    int16_t soll;
  };
  TextMenu keine = Seite(1);
  for (int i = 0; i <= 6; ++i) keine.Farbe[static_cast<size_t>(i)] = 0;
  const std::vector<Fall> faelle = {
      {"down from the title", Seite(0), {kDown}, false, 3},
      {"up from the first wraps to the last", Seite(3), {kUp}, false, 6},
      {"down from the last wraps", Seite(6), {kDown}, false, 3},
      {"an empty selectable line is reachable", Seite(4), {kDown}, false, 5},
      {"held: one step per press", Seite(3), {kDown, kDown, kDown}, false, 4},
      {"pressed again after a release", Seite(3), {kDown, 0, kDown}, false, 5},
      {"lines beyond the last are out of reach", Seite(4, 4), {kDown}, false, 3},
      {"locked keys", Seite(3), {kDown}, true, 3},
      {"no selectable line: it stays", keine, {kDown, 0, kUp}, false, 1},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    TextMenu m = c.m;
    Zeichne(m, 0);
    for (int t : c.tasten) Zeichne(m, t, c.keyLook);
    EXPECT_EQ(m.Auswahl, c.soll);
  }
  // Another window with the focus: drawn, not moved.
  const platform::HWnd andere = AnderesFenster();
  ASSERT_FALSE(MenuFokus());
  TextMenu m = Seite(3);
  Zeichne(m, 0);
  Zeichne(m, kDown);
  EXPECT_EQ(m.Auswahl, 3);
  platform::DestroyWindow(andere);
}

TEST_F(Menulauf, AFiveEntryColumnReachesFromItsWavesToItsBottomBar) {
  const int32_t weiss = testsupport::PaintedPicture(8, 8, BackBuffer->Format(), true, [](int, int) { return 0xFFFFFFFFu; });
  const int32_t nichts = testsupport::PaintedPicture(1, 1, BackBuffer->Format(), true, [](int, int) { return 0xFF000000u; });
  TexMenuBottom = TexKreis2 = weiss;
  TexMenuTop = TexMenuButton = TexMenuLight[0] = TexMenuLight[1] = nichts;
  MenuLetzter = 4;
  MenuText = {"", "", "", "", "", ""};
  const float x = 100, y = 50;
  BackBuffer->BltColorFill(nullptr, 0);
  RenderStart();
  ShowMenu(x, y, true);
  RenderEnd();
  int oben = -1, unten = -1;
  for (int py = 0; py < 600; ++py)
    for (int px = 160; px <= 220; ++px)
      if (Schirm(px, py) != 0) {
        if (oben < 0) oben = py;
        unten = py;
      }
  EXPECT_EQ(oben, 50 + 67);
  EXPECT_EQ(unten, 50 + 417 + 2);  // the last dot is three pixels high
  EXPECT_EQ(Schirm(157, 453), 0xFFFFFFu);
  EXPECT_NE(Schirm(157, 452), 0xFFFFFFu);

  // The selection: wraps at both ends, moves once per press, never while locked.
  struct Fall {
    const char* name;
    int32_t von;
    int taste;
    bool keyLook;
    int32_t soll;
  };
  for (const Fall& c : {Fall{"down wraps", 4, kDown, false, 0}, Fall{"up wraps", 0, kUp, false, 4},
                        Fall{"down", 1, kDown, false, 2}, Fall{"locked", 1, kDown, true, 1}}) {
    SCOPED_TRACE(c.name);
    MenuAuswahl = c.von;
    for (int t : {0, c.taste}) {
      KeyState.fill(false);
      if (t) KeyState[static_cast<size_t>(t)] = true;
      RenderStart();
      ShowMenu(x, y, c.keyLook);
      RenderEnd();
    }
    EXPECT_EQ(MenuAuswahl, c.soll);
  }
}

TEST(OnOff, TheWordInEachLanguage) {
  struct Fall {
    const char* sprache;
    std::string an, aus;
  };
  for (const Fall& c : {Fall{"D", "Ein", "Aus"}, Fall{"E", "On", "Off"},
                        Fall{"R", "\xC2\xEA\xEB.", "\xC2\xFB\xEA\xEB."}, Fall{"F", "", ""}}) {
    Sprache = c.sprache;
    EXPECT_EQ(OnOff(true), c.an) << c.sprache;
    EXPECT_EQ(OnOff(false), c.aus) << c.sprache;
  }
  Sprache = "E";
}

// --- The pages ---------------------------------------------------------------------------

TEST_F(Menulauf, ThePageTable) {
  struct Fall {
    const char* name;
    int32_t seite, auswahl, bester, taste;
    int32_t nachSeite, nachAuswahl, status;
    bool blende;
    int32_t schub;  // after the frame
  };
  const std::vector<Fall> faelle = {
      {"main: new", kSeiteHaupt, 0, 0, kReturn, kSeiteNeu, 0, 0, true, 0},
      {"main: load", kSeiteHaupt, 1, 0, kReturn, kSeiteLaden, 1, 0, true, 299},
      {"main: options", kSeiteHaupt, 2, 0, kReturn, kSeiteOptionen, 0, 0, true, 0},
      {"main: score", kSeiteHaupt, 3, 0, kReturn, kSeiteHighscore, 3, 0, true, 299},
      {"main: exit", kSeiteHaupt, 4, 0, kReturn, kSeiteHaupt, 4, 9, false, 0},
      {"main: pause key", kSeiteHaupt, 2, 0, kEscape, kSeiteHaupt, 2, 9, false, 0},
      {"new: one player", kSeiteNeu, 0, 0, kReturn, kSeiteSchiff, 0, 0, true, 299},
      {"new: two players", kSeiteNeu, 1, 0, kReturn, kSeiteSchiff, 0, 0, false, 299},
      {"new: back", kSeiteNeu, 2, 0, kReturn, kSeiteHaupt, 0, 0, true, 0},
      {"new: back key", kSeiteNeu, 2, 0, kEscape, kSeiteHaupt, 0, 0, true, 0},
      {"options: game", kSeiteOptionen, 0, 0, kReturn, kSeiteSpiel, 0, 0, true, 344},
      {"options: sound", kSeiteOptionen, 1, 0, kReturn, kSeiteLautstaerke, 1, 0, true, 239},
      {"options: keys", kSeiteOptionen, 2, 0, kReturn, kSeiteTasten, 2, 0, true, 524},
      {"options: back without bonus", kSeiteOptionen, 3, 0, kReturn, kSeiteHaupt, 2, 0, true, 0},
      {"options: bonus", kSeiteOptionen, 3, 1, kReturn, kSeiteBonus, 0, 0, true, 0},
      {"options: back with bonus", kSeiteOptionen, 4, 1, kReturn, kSeiteHaupt, 2, 0, true, 0},
      {"options: negative play-through, no bonus", kSeiteOptionen, 3, -1, kReturn, kSeiteHaupt, 2, 0, true, 0},
      {"options: back key", kSeiteOptionen, 1, 0, kEscape, kSeiteHaupt, 2, 0, true, 0},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    Spielstatus = 0;
    BesterDurchgang = c.bester;
    AufSeite(c.seite, c.auswahl);
    Abblenden = false;
    Bild({c.taste});
    EXPECT_EQ(MenuSeite, c.nachSeite);
    EXPECT_EQ(MenuAuswahl, c.nachAuswahl);
    EXPECT_EQ(Spielstatus, c.status);
    EXPECT_EQ(Abblenden, c.blende);
    EXPECT_EQ(MenuLauf.Schub, c.schub);
    if (c.nachSeite == kSeiteSpiel) {
      EXPECT_EQ(MenuLauf.Text.Auswahl, 3);
    }
    if (c.nachSeite == kSeiteTasten) {
      EXPECT_EQ(MenuLauf.KeyConfigBackup.Map, KeyConfig.Map);
      EXPECT_EQ(MenuLauf.KeyCapture, -1);
    }
    if (c.nachSeite == kSeiteSchiff) {
      EXPECT_EQ(LetzterSpieler, c.auswahl);
    }
    if (c.nachSeite == kSeiteHighscore) {
      EXPECT_EQ(MenuLauf.Text.Zeile[0].substr(0, 3), "1. ");
    }
    if (std::string(c.name) == "main: new") {
      EXPECT_EQ(SkriptStand.SkriptZeile, 0);
      EXPECT_FALSE(SkriptStand.EinzelLevel);
    }
  }
}

TEST_F(Menulauf, TheHiddenCombinationCountsWithoutTheFocus) {
  AufSeite(kSeiteHaupt);
  const platform::HWnd andere = AnderesFenster();
  Bild({kReturn});
  EXPECT_EQ(MenuSeite, kSeiteHaupt);  // keys of another window
  Bild({kH, kV, kS});
  EXPECT_EQ(Spielstatus, 8);
  platform::DestroyWindow(andere);
}

TEST_F(Menulauf, APauseKeyHeldFromAVideoDoesNotLeaveTheProgram) {
  MenuVorbereiten();
  Bilder(5, {kEscape});
  EXPECT_EQ(Spielstatus, 0);
  Bild();
  Bild({kEscape});
  EXPECT_EQ(Spielstatus, 9);
}

TEST(SlotLabel, ReadFromTheFirstBytes) {
  struct Fall {
    const char* name;
    std::vector<uint8_t> bytes;
    SlotLabel::Zustand stand;
    std::string text;
  };
  std::vector<uint8_t> kurz = kVersion4;
  Anhaengen(kurz, Long(40));
  Anhaengen(kurz, Text("P1S1A - Le"));
  std::vector<uint8_t> gross = kVersion4;
  Anhaengen(gross, Long(5000));
  Anhaengen(gross, std::vector<uint8_t>(5000, 'x'));
  std::vector<uint8_t> verpackt = kVersion3;
  Anhaengen(verpackt, Long(27));
  Anhaengen(verpackt, Long(60));  // more packed bytes than are there
  Anhaengen(verpackt, kGepacktesLabel);
  std::vector<uint8_t> kaputt = Slot3();
  kaputt[14] ^= 0xFF;
  const std::vector<Fall> faelle = {
      {"version 4", Slot4(kLabel), SlotLabel::Gelesen, kLabel},
      {"version 3", Slot3(), SlotLabel::Gelesen, kLabel},
      {"an empty label", Slot4(""), SlotLabel::Gelesen, ""},
      {"cut short inside the label", kurz, SlotLabel::Beschaedigt, "P1S1A - Le"},
      {"a label beyond 4 KiB, whole", gross, SlotLabel::Gelesen, std::string(4096, 'x')},
      {"packed size beyond the bytes", verpackt, SlotLabel::Beschaedigt, kLabel},
      {"a damaged zlib block", kaputt, SlotLabel::Beschaedigt, ""},
      {"a negative length", [] { auto v = kVersion4; Anhaengen(v, Long(-1)); return v; }(), SlotLabel::Beschaedigt, ""},
      {"two bytes", Bytes({0, 0}), SlotLabel::Beschaedigt, ""},
      {"version 5", kVersion5, SlotLabel::UnbekannteVersion, ""},
      {"version 3.5", kVersion35, SlotLabel::UnbekannteVersion, ""},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    const SlotLabel l = LiesSlotLabel(c.bytes);
    EXPECT_EQ(l.Stand, c.stand);
    EXPECT_EQ(l.Text, c.text);
  }
}

TEST_F(Menulauf, TheLoadPageShowsTheSlots) {
  struct Fall {
    const char* name;
    std::map<int, std::vector<uint8_t>> slots;
    std::vector<int16_t> weg;  // the selection after each down key from the back line
  };
  std::vector<uint8_t> kurz = kVersion4;
  Anhaengen(kurz, Long(40));
  Anhaengen(kurz, Text("P1S1"));
  std::vector<uint8_t> andererVariant = Strom(), gekuerzt = Strom();
  andererVariant[andererVariant.size() - 8] = 3;
  gekuerzt.pop_back();
  const std::vector<Fall> faelle = {
      {"no saves", {}, {25, 25}},
      {"slots 2 and 5", {{2, Slot4("two")}, {5, Slot4("five")}}, {4, 7, 25}},
      {"versions 4 and 3", {{1, Slot4(kLabel)}, {21, Slot3()}}, {3, 23, 25}},
      // Labels that read, of games the game would not load: shown, not offered.
      {"values the game refuses",
       {{1, Slot4("players", Strom([] { LetzterSpieler = 5; }))},
        {2, Slot4("ship", Strom([] { Schiff[0].Typ = 7; }))},
        {3, Slot4("pod", Strom([] { Spieler[0].Pod = 9; }))},
        {4, Slot4("play-through", Strom([] { Durchgang = 0; }))},
        {5, Slot4("variant", andererVariant)},
        {6, Slot3(Bytes({0x00, 0x00, 0x80, 0xBF}))},  // version -1
        {7, Slot4("cut short", gekuerzt)},
        {9, Slot4("loads")}},
       {11, 25}},
      {"damaged, version 5 and 3.5 are not selectable", {{1, kurz}, {2, kVersion5}, {3, kVersion35}}, {25}},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(SaveOrdner);
    for (const auto& [s, bytes] : c.slots) {
      std::filesystem::create_directories(SaveOrdner);
      testsupport::WriteBytes(SaveOrdner + std::to_string(s) + ".sav", bytes);
    }
    // A line left from an earlier page must not stay selectable.
    for (int i = 0; i < kTextMenuZeilen; ++i) {
      MenuLauf.Text.Zeile[static_cast<size_t>(i)] = "stale";
      MenuLauf.Text.Farbe[static_cast<size_t>(i)] = -1;
    }
    LadeSeiteAufbauen();
    EXPECT_TRUE(platform::fs::DirExists(SaveOrdner));
    const TextMenu& m = MenuLauf.Text;
    EXPECT_EQ(m.Zeile[0], "Load Game");
    EXPECT_EQ(m.Zeile[1], std::string(20, '-'));
    EXPECT_EQ(m.Zeile[25], "Back");
    EXPECT_EQ(m.Letzte, 25);
    EXPECT_EQ(m.Auswahl, 25);
    for (int s = 1; s <= 21; ++s) {
      const auto it = c.slots.find(s);
      const std::string& zeile = m.Zeile[static_cast<size_t>(s + 2)];
      if (it == c.slots.end()) {
        EXPECT_EQ(zeile, "---") << s;
        EXPECT_EQ(m.Farbe[static_cast<size_t>(s + 2)], 0) << s;
      } else {
        const SlotLabel l = LiesSlotLabel(it->second);
        EXPECT_EQ(zeile, l.Text) << s;
        const bool waehlbar = std::find(c.weg.begin(), c.weg.end(), s + 2) != c.weg.end();
        EXPECT_EQ(m.Farbe[static_cast<size_t>(s + 2)], waehlbar ? -1 : 0) << s;
      }
    }
    TextMenu n = m;
    Zeichne(n, 0);
    for (int16_t soll : c.weg) {
      Zeichne(n, kDown);
      Zeichne(n, 0);
      EXPECT_EQ(n.Auswahl, soll);
    }
  }
  EXPECT_EQ(MenuLauf.Text.Zeile[3], "P1S1");  // what could be read of slot 1

  // A slot confirmed: the game loads and the menu ends; the back line returns.
  std::filesystem::remove_all(SaveOrdner);
  std::filesystem::create_directories(SaveOrdner);
  ASSERT_TRUE(SaveGameSlot(5));  // a real save: the game loads it
  AufSeite(kSeiteHaupt, 1);
  Bild({kReturn});
  Bilder(16);
  ASSERT_EQ(MenuLauf.Schub, 0);
  Bild({kUp});
  Bild();
  ASSERT_EQ(MenuLauf.Text.Auswahl, 7);
  Bild({kReturn});
  EXPECT_EQ(Spielstatus, 1);
  EXPECT_EQ(MenuSeite, kSeiteHaupt);
}

// Offered when the page was built, damaged by the time it is chosen: the load's fatal
// end, the campaign untouched.
TEST_F(Menulauf, ASlotDamagedAfterItWasListedEndsTheProgram) {
  std::filesystem::create_directories(SaveOrdner);
  ASSERT_TRUE(SaveGameSlot(1));
  AufSeite(kSeiteHaupt, 1);
  Bild({kReturn});
  Bilder(16);
  Bild({kDown});
  Bild();
  ASSERT_EQ(MenuLauf.Text.Auswahl, 3);
  testsupport::WriteBytes(SaveOrdner + "1.sav", Slot4("P1S1A", Strom([] { LetzterSpieler = 5; })));
  const std::vector<uint8_t> vorher = SpielstandInhalt();
  Bild({kReturn});
  EXPECT_EQ(Spielstatus, 10);
  ASSERT_EQ(headless::Dialogs().size(), 1u);
  EXPECT_EQ(SpielstandInhalt(), vorher);
}

// --- Reference frames --------------------------------------------------------------------

class MenuBilder : public ::testing::TestWithParam<PixelFormat> {
 protected:
  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    ResetMenu();
    testsupport::OpenDisplay(GetParam());
    Randomize(3);
  }
  void TearDown() override {
    testsupport::CloseDisplay();
    ResetMenu();
  }
  std::string Name(const char* was) const {
    return std::string("tests/frontend/golden/menu_") + was + (GetParam() == PixelFormat::RGB565 ? "_16" : "_32") + ".bmp";
  }
  int32_t Bild(int w, int h, testsupport::Painter p) const {
    return testsupport::PaintedPicture(w, h, GetParam(), true, std::move(p));
  }
};

TEST_P(MenuBilder, ATextPage) {
  TextMenu m;
  const char* zeilen[] = {"Load Game", "--------------------", "", "P1S1A - Level1-  12-07-2024", "---",
                          "P2S2B - Level2-  01-31-2025", "", "Back"};
  for (int i = 0; i < 8; ++i) {
    m.Zeile[static_cast<size_t>(i)] = zeilen[i];
    m.Farbe[static_cast<size_t>(i)] = (i == 3 || i == 5 || i == 7) ? -1 : 0;
  }
  m.X = 12;
  m.Y = 8;
  m.Letzte = 7;
  m.Auswahl = 5;
  RenderStart();
  ShowTextMenu(m, true, false);
  m.Y = 180;
  ShowTextMenu(m, true, true);  // the selected line blinking
  RenderEnd();
  const std::string f = testsupport::CompareWithGoldenBmp(Name("text"), *BackBuffer, {0, 0, 330, 340});
  EXPECT_TRUE(f.empty()) << f;
}

TEST_P(MenuBilder, TheColumn) {
  TexKreis2 = Bild(16, 16, [](int x, int y) {
    const int d2 = (x - 8) * (x - 8) + (y - 8) * (y - 8);
    const uint32_t v = d2 < 64 ? 255 - d2 * 3 : 0;
    return 0xFF000000u | v * 0x010101u;
  });
  auto platte = [](uint32_t farbe) {
    return [farbe](int x, int y) { return (x + y) % 9 == 0 ? 0xFF606060u : farbe; };
  };
  TexMenuTop = Bild(300, 60, platte(0xFFB0B8C4));
  TexMenuBottom = Bild(240, 30, platte(0xFF9098A8));
  TexMenuButton = Bild(220, 46, platte(0xFFC8CCD4));
  TexMenuLight[0] = Bild(40, 40, [](int x, int y) { return (x - 20) * (x - 20) + (y - 20) * (y - 20) < 196 ? 0xFF601010u : 0xFF000000u; });
  TexMenuLight[1] = Bild(40, 40, [](int x, int y) { return (x - 20) * (x - 20) + (y - 20) * (y - 20) < 196 ? 0xFFFF6020u : 0xFF000000u; });
  MenuText = {"MENU", "NEW", "LOAD", "EXIT", "", ""};
  MenuLetzter = 2;
  MenuAuswahl = 1;
  MenuVersatz = {3, 20, 0, 0, 0, 0};
  RenderStart();
  ShowMenu(20, 10, true);
  RenderEnd();
  EXPECT_EQ(MenuVersatz[0], 0.0f);
  EXPECT_NEAR(MenuVersatz[1], 23.333f, 0.001);
  const std::string f = testsupport::CompareWithGoldenBmp(Name("column"), *BackBuffer, {0, 0, 420, 340});
  EXPECT_TRUE(f.empty()) << f;
}

INSTANTIATE_TEST_SUITE_P(Tiefen, MenuBilder, ::testing::Values(PixelFormat::XRGB8888, PixelFormat::RGB565),
                         [](const auto& info) { return info.param == PixelFormat::RGB565 ? "16" : "32"; });

}  // namespace
