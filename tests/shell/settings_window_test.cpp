#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "run/program.hpp"
#include "run/variabeln.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/settings_window.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;
namespace wm = platform::wm;
using Form2::kDunkel;
using Form2::kHell;

namespace {

void Pump() {
  platform::Msg m;
  while (platform::PeekMessage(m)) platform::DispatchMessage(m);
}

intptr_t Punkt(int x, int y) { return (y << 16) | (x & 0xFFFF); }

void Klick(int x, int y) {
  platform::SendMessage(Form2::hWnd, wm::LButtonDown, platform::mk::LButton, Punkt(x, y));
  platform::SendMessage(Form2::hWnd, wm::LButtonUp, 0, Punkt(x, y));
}

void KlickAuf(int label) {
  const platform::Rect& f = Form2::Label[label].Feld;
  Klick((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
}

// The presented frame's pixel as 0xRRGGBB.
uint32_t FramePixel(int x, int y) {
  const auto& f = headless::LastFrame();
  const uint8_t* p = f.pixels.data() + static_cast<size_t>(y) * f.pitch + static_cast<size_t>(x) * 4;
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

uint32_t Rgb(uint32_t colorRef) {
  return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

// A pixel of the frame around a label, as presented.
uint32_t RahmenPixel(int label) {
  const platform::Rect& f = Form2::Label[label].Feld;
  return FramePixel(f.Left - 4, (f.Top + f.Bottom) / 2);
}

class SettingsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    platform::DestroyAllWindows();
    headless::SetClock(1000);
    testsupport::FreshState();
    AppPfad = dir.path();
    VideoAn = false;
    VideoKlein = false;
  }
  void TearDown() override {
    if (Form2::hWnd) {
      Form2::OKGeklickt = true;
      Form2::Unload();
    }
    platform::DestroyAllWindows();
  }
  void MitVideoArchiv() {
    std::filesystem::create_directories(dir.path() + "Data");
    testsupport::WriteText(dir.path() + "Data/Video.vkp", "");
  }
  static void Taste(char c) {
    int16_t k = static_cast<unsigned char>(c);
    Form2::Form_KeyPress(k);
    EXPECT_EQ(k, 0) << c;  // every key is swallowed
  }
  testsupport::TempDir dir;
};

}  // namespace

TEST_F(SettingsWindow, CaptionsFramesAndFontsForEveryLanguageAndMode) {
  struct Case {
    const char* sprache;
    bool fenster;
    std::string vollbild, fenster9, abbrechen, farbe;
    uint32_t charset;
    uint32_t deutschRahmen, englischRahmen;
  } cases[] = {
      {"E", false, "&Fullscreen", "&Window", "Cancel", "32-bit &Color", 0, kDunkel, kHell},
      {"D", true, "&Vollbild", "&Fenster", "Abbrechen", "32-bit &Color", 0, kHell, kDunkel},
      {"R", false, Cyr("Полный экран"), Cyr("В окне"), Cyr("Отмена"), Cyr("32-bit цвет"), 204, kHell, kDunkel},
      {"X", true, Cyr("Полный экран"), Cyr("В окне"), Cyr("Отмена"), Cyr("32-bit цвет"), 204, kHell, kDunkel},
  };
  for (const Case& c : cases) {
    SetUp();
    Sprache = c.sprache;
    FensterModus = c.fenster;
    ShowSettingsWindow();
    ASSERT_NE(Form2::hWnd, 0);
    EXPECT_EQ(platform::GetWindowText(Form2::hWnd), "HARVO V.0.1.0");
    EXPECT_EQ(Form2::Label[1].Caption, c.vollbild) << c.sprache;
    EXPECT_EQ(Form2::Label[2].Caption, c.fenster9) << c.sprache;
    EXPECT_EQ(Form2::Label[4].Caption, "V&oodoo") << c.sprache;
    EXPECT_EQ(Form2::Label[7].Caption, c.abbrechen) << c.sprache;
    EXPECT_EQ(Form2::Label[8].Caption, "OK") << c.sprache;
    EXPECT_EQ(Form2::Label[9].Caption, c.farbe) << c.sprache;
    for (int i : {1, 2, 3, 4, 7, 8, 9, 10}) EXPECT_EQ(Form2::Label[i].Charset, c.charset) << c.sprache << i;
    // The language labels keep their own texts and fonts; the German one's gives the
    // character set of Russian text.
    EXPECT_EQ(Form2::Label[5].Caption, "Deutsch");
    EXPECT_EQ(Form2::Label[6].Caption, "English");
    EXPECT_EQ(FontCharset, 204);
    EXPECT_EQ(Form2::LabelRahmen[5].BorderColor, c.deutschRahmen) << c.sprache;
    EXPECT_EQ(Form2::LabelRahmen[6].BorderColor, c.englischRahmen) << c.sprache;
    EXPECT_EQ(Form2::LabelRahmen[1].BorderColor, c.fenster ? kDunkel : kHell) << c.sprache;
    EXPECT_EQ(Form2::LabelRahmen[2].BorderColor, c.fenster ? kHell : kDunkel) << c.sprache;
    EXPECT_EQ(Form2::Label[9].Visible, !c.fenster) << c.sprache;
    EXPECT_EQ(Form2::LabelRahmen[9].Visible, !c.fenster) << c.sprache;
    // What shows: the chosen frames light, the others dark.
    EXPECT_EQ(RahmenPixel(5), Rgb(c.deutschRahmen)) << c.sprache;
    EXPECT_EQ(RahmenPixel(6), Rgb(c.englischRahmen)) << c.sprache;
    EXPECT_EQ(RahmenPixel(9) == Rgb(kHell), !c.fenster) << c.sprache;
    TearDown();
  }
}

TEST_F(SettingsWindow, KeysToggleTheOptions) {
  ShowSettingsWindow();
  struct Schritt {
    char taste;
    bool fenster, sound, voodoo;
    const char* sprache;
    int32_t farbtiefe;
  } schritte[] = {
      {'s', false, false, false, "E", 32}, {'o', false, false, true, "E", 32}, {'w', true, false, true, "E", 32},
      {'c', true, false, true, "E", 16},  // the hidden colour option still swaps
      {'F', true, false, true, "E", 16},  // upper case does nothing
      {'x', true, false, true, "E", 16},  {'d', true, false, true, "D", 16}, {'e', true, false, true, "E", 16},
      {'f', false, false, true, "E", 16}, {'s', false, true, true, "E", 16}, {'c', false, true, true, "E", 32},
  };
  for (const Schritt& s : schritte) {
    Taste(s.taste);
    EXPECT_EQ(FensterModus, s.fenster) << s.taste;
    EXPECT_EQ(SoundAn, s.sound) << s.taste;
    EXPECT_EQ(VoodooModus, s.voodoo) << s.taste;
    EXPECT_EQ(Sprache, s.sprache) << s.taste;
    EXPECT_EQ(Farbtiefe, s.farbtiefe) << s.taste;
    EXPECT_EQ(Form2::Label[9].Visible, !s.fenster) << s.taste;
    EXPECT_EQ(Form2::LabelRahmen[3].BorderColor, s.sound ? kHell : kDunkel) << s.taste;
    EXPECT_EQ(Form2::LabelRahmen[4].BorderColor, s.voodoo ? kHell : kDunkel) << s.taste;
    EXPECT_EQ(Form2::LabelRahmen[9].BorderColor, s.farbtiefe == 32 ? kHell : kDunkel) << s.taste;
  }
  EXPECT_NE(Form2::hWnd, 0);
}

TEST_F(SettingsWindow, ARussianStartCanOnlyLeaveRussian) {
  Sprache = "R";
  ShowSettingsWindow();
  EXPECT_EQ(Form2::Label[3].Caption, Cyr("Звук"));
  Taste('d');
  EXPECT_EQ(Sprache, "D");
  EXPECT_EQ(Form2::Label[1].Caption, "&Vollbild");
  EXPECT_EQ(Form2::Label[1].Charset, 0u);
  Taste('e');
  EXPECT_EQ(Sprache, "E");
  for (char c : std::string("abcdefghijklmnopqrstuvwxyzR"))
    if (c != 'c' && c != 'f' && c != 'w' && c != 's' && c != 'o' && c != 'v') Taste(c);
  EXPECT_NE(Sprache, "R");
}

TEST_F(SettingsWindow, ThreeVideoPressesGoRoundTheCycle) {
  MitVideoArchiv();
  ShowSettingsWindow();
  EXPECT_EQ(Form2::Label[10].Caption, "&Video");
  EXPECT_EQ(Form2::LabelRahmen[10].BorderColor, kDunkel);
  struct Schritt {
    bool an, klein;
    const char* caption;
  } schritte[] = {{true, false, "800*600 &Video"}, {true, true, "400*300 &Video"}, {false, true, "&Video"}};
  for (const Schritt& s : schritte) {
    Taste('v');
    EXPECT_EQ(VideoAn, s.an);
    EXPECT_EQ(VideoKlein, s.klein);
    EXPECT_EQ(Form2::Label[10].Caption, s.caption);
    EXPECT_EQ(Form2::LabelRahmen[10].BorderColor, s.an ? kHell : kDunkel);
  }
  Sprache = "R";
  Taste('v');
  Form2::Aufbau();
  EXPECT_EQ(Form2::Label[10].Caption, Cyr("800*600 Видео"));
}

TEST_F(SettingsWindow, WithoutTheVideoArchiveTheVideoOptionIsOffAndHidden) {
  VideoAn = true;
  ShowSettingsWindow();
  EXPECT_FALSE(VideoAn);
  EXPECT_FALSE(Form2::Label[10].Visible);
  EXPECT_FALSE(Form2::LabelRahmen[10].Visible);
  Taste('v');
  EXPECT_FALSE(VideoAn);
  KlickAuf(10);  // nothing there to click
  EXPECT_FALSE(VideoAn);
}

TEST_F(SettingsWindow, ColourDepthSwapsAndOddValues) {
  ShowSettingsWindow();
  KlickAuf(9);
  EXPECT_EQ(Farbtiefe, 16);
  KlickAuf(9);
  EXPECT_EQ(Farbtiefe, 32);
  Farbtiefe = 8;
  KlickAuf(9);
  EXPECT_EQ(Farbtiefe, 40);
  EXPECT_EQ(Form2::LabelRahmen[9].BorderColor, kDunkel);
}

TEST_F(SettingsWindow, ClicksAndDragging) {
  ShowSettingsWindow();
  KlickAuf(2);
  EXPECT_TRUE(FensterModus);
  KlickAuf(9);  // hidden while windowed: the click lands on the window
  EXPECT_EQ(Farbtiefe, 32);
  // Pressed on one label and let go elsewhere, or with the right button: no click.
  const platform::Rect& f = Form2::Label[1].Feld;
  platform::SendMessage(Form2::hWnd, wm::LButtonDown, 1, Punkt(f.Left + 2, f.Top + 2));
  platform::SendMessage(Form2::hWnd, wm::LButtonUp, 0, Punkt(5, 5));
  platform::SendMessage(Form2::hWnd, wm::RButtonDown, 2, Punkt(f.Left + 2, f.Top + 2));
  platform::SendMessage(Form2::hWnd, wm::RButtonUp, 0, Punkt(f.Left + 2, f.Top + 2));
  EXPECT_TRUE(FensterModus);
  EXPECT_FALSE(Form2::Verschieben);

  // Any button anywhere else drags the window.
  platform::MoveWindow(Form2::hWnd, 100, 100, Form2::kBreite, Form2::kHoehe);
  platform::SendMessage(Form2::hWnd, wm::RButtonDown, 2, Punkt(20, 20));
  EXPECT_TRUE(Form2::Verschieben);
  platform::SendMessage(Form2::hWnd, wm::MouseMove, 2, Punkt(30, 15));
  platform::Rect r = platform::GetWindowRect(Form2::hWnd);
  EXPECT_EQ(r.Left, 110);
  EXPECT_EQ(r.Top, 95);
  platform::SendMessage(Form2::hWnd, wm::MouseMove, 2, Punkt(18, 22));  // the window moved with it
  r = platform::GetWindowRect(Form2::hWnd);
  EXPECT_EQ(r.Left, 108);
  EXPECT_EQ(r.Top, 97);
  platform::SendMessage(Form2::hWnd, wm::RButtonUp, 0, Punkt(18, 22));
  EXPECT_FALSE(Form2::Verschieben);
  platform::SendMessage(Form2::hWnd, wm::MouseMove, 0, Punkt(40, 40));
  EXPECT_EQ(platform::GetWindowRect(Form2::hWnd).Left, 108);
  // A release the window never saw: the next move without a button ends the drag.
  platform::SendMessage(Form2::hWnd, wm::LButtonDown, 1, Punkt(20, 20));
  platform::SendMessage(Form2::hWnd, wm::MouseMove, 0, Punkt(60, 60));
  EXPECT_FALSE(Form2::Verschieben);
  EXPECT_EQ(platform::GetWindowRect(Form2::hWnd).Left, 108);
}

TEST_F(SettingsWindow, OnlyTypedCharactersAct) {
  ShowSettingsWindow();
  // A key arrives as a key message and as its character: only the character counts,
  // so Return or Space never confirms twice.
  platform::SendMessage(Form2::hWnd, wm::KeyDown, 32, 0);
  platform::SendMessage(Form2::hWnd, wm::KeyDown, 13, 0);
  platform::SendMessage(Form2::hWnd, wm::KeyDown, 'S', 0);
  EXPECT_NE(Form2::hWnd, 0);
  EXPECT_TRUE(SoundAn);
  platform::SendMessage(Form2::hWnd, wm::Char, 32, 0);
  EXPECT_EQ(Form2::hWnd, 0);
  EXPECT_TRUE(Form2::OKGeklickt);
}

TEST_F(SettingsWindow, CancelAndCloseEndTheProgram) {
  for (bool schliessen : {false, true}) {
    SetUp();
    ShowSettingsWindow();
    const platform::HWnd h = Form2::hWnd;
    try {
      if (schliessen)
        platform::SendMessage(h, wm::Close, 0, 0);
      else
        Taste(27);
      ADD_FAILURE() << "the program went on";
    } catch (const ProcessEnd& end) {
      EXPECT_EQ(end.code, 0);
    }
    EXPECT_FALSE(platform::IsWindow(h));
    EXPECT_EQ(Form2::hWnd, 0);
    EXPECT_FALSE(Form2::Shadow);
  }
}

TEST_F(SettingsWindow, OpensGrowingFromItsCentreAndFadesIn) {
  platform::RoundRegion mitte;
  float deckkraft = -1;
  headless::At(1400, [&] {
    platform::GetWindowRoundRegion(Form2::hWnd, mitte);
    deckkraft = platform::GetWindowOpacity(Form2::hWnd);
  });
  ShowSettingsWindow();
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(Form2::hWnd), 0.0f);
  Pump();  // the activation runs the animation, handing out messages meanwhile
  // Halfway (400 of 800 ms): 210 x 160 around the centre, corners of 225 by 185.
  EXPECT_EQ(mitte.rect.Left, 105);
  EXPECT_EQ(mitte.rect.Top, 80);
  EXPECT_EQ(mitte.rect.Right, 315);
  EXPECT_EQ(mitte.rect.Bottom, 240);
  EXPECT_EQ(mitte.ellipseW, 225);
  EXPECT_EQ(mitte.ellipseH, 185);
  EXPECT_GT(deckkraft, 0.0f);
  EXPECT_LT(deckkraft, 1.0f);
  platform::RoundRegion ende;
  ASSERT_TRUE(platform::GetWindowRoundRegion(Form2::hWnd, ende));
  EXPECT_EQ(ende.rect.Right, 420);
  EXPECT_EQ(ende.rect.Bottom, 320);
  EXPECT_EQ(ende.ellipseW, 30);
  EXPECT_EQ(ende.ellipseH, 50);
  EXPECT_GT(headless::LastFrame().count, 0);
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(Form2::hWnd), 1.0f);  // 800 ms > 500 ms
}

TEST_F(SettingsWindow, WithoutShapedWindowsTheDrawingIsClipped) {
  headless::SetCanShapeWindows(false);
  uint32_t aussen = 1, innen = 0;
  headless::At(1400, [&] {
    aussen = FramePixel(90, 160);
    innen = FramePixel(210, 160);
  });
  ShowSettingsWindow();
  Pump();
  EXPECT_EQ(aussen, 0u);
  EXPECT_NE(innen, 0u);
  EXPECT_EQ(FramePixel(0, 0), 0u);  // a rounded corner
  EXPECT_EQ(FramePixel(0, 160), 0x008000u);  // the options' top edge, inside the final region
  EXPECT_NE(FramePixel(210, 5), 0u);
}

TEST_F(SettingsWindow, TheScanLineSweepsAndPauses) {
  ShowSettingsWindow();
  platform::KillTimer(Form2::hWnd, 1);  // the test ticks by itself
  auto& bild = *Form2::Image1;
  auto& gezeigt = *Form2::Picture1;
  Form2::Zeile = 0;
  Form2::Timer1_Timer();
  EXPECT_EQ(Form2::Zeile, 1);
  for (int x : {0, 100, 300, 410}) {
    EXPECT_EQ(gezeigt.GetPixel(x, 0), bild.GetPixel(x, 0)) << x;
    EXPECT_EQ(gezeigt.GetPixel(x + 3, 1), bild.GetPixel(x, 1)) << x;  // one row displaced
  }
  Form2::Timer1_Timer();
  for (int x : {50, 200}) EXPECT_EQ(gezeigt.GetPixel(x, 1), bild.GetPixel(x, 1));  // restored
  Form2::Zeile = Form2::kBildHoehe - 1;
  Form2::Timer1_Timer();
  EXPECT_EQ(Form2::Zeile, -50);
  for (int i = 0; i < 49; ++i) Form2::Timer1_Timer();
  EXPECT_EQ(Form2::Zeile, -1);
  Form2::Timer1_Timer();
  EXPECT_EQ(Form2::Zeile, 0);
  EXPECT_EQ(gezeigt.GetPixel(103, 0), bild.GetPixel(100, 0));
}

// ---- the window in the program run ----

class SettingsWindowRun : public ::testing::Test {
 protected:
  int Run(const std::string& getippt) {
    return testsupport::RunInChild([&] {
      headless::Reset();
      headless::SetClock(5000);
      headless::TypeText(getippt);
      headless::QueueKeys({}, 3);
      testsupport::QueueEscapeTaps();  // past the start-up, and out of the menu
      char name[] = "harvo";
      char* argv[] = {name};
      return RunProgram(1, argv);
    });
  }
  testsupport::IsolatedHome home;
};

TEST_F(SettingsWindowRun, OKStartsTheRunWithTheChosenOptions) {
  ASSERT_EQ(Run("wds\r"), 0);
  std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
  EXPECT_NE(log.find("Create Window"), std::string::npos);
  EXPECT_NE(log.find("Fine Ending!"), std::string::npos);
  std::vector<uint8_t> cfg = testsupport::ReadBytes(home.dataDir() + "config.cfg");
  ASSERT_EQ(cfg.size(), 319u);
  EXPECT_EQ(cfg[8], 'D');
  EXPECT_EQ(cfg[11], 0xFF);  // windowed
  EXPECT_EQ(cfg[13], 0x00);  // sound off
}

TEST_F(SettingsWindowRun, CancelEndsWithoutSavingOrStarting) {
  ASSERT_EQ(Run("w\x1b"), 0);
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "config.cfg"));
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "Debug.txt"));
}
