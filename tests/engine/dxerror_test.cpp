// The DirectX error report: lookups in the seven lists, the crash record in the debug log,
// and the dialog as the headless backend records it and as its window behaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/dxerror.hpp"
#include "engine/dxerror_dialog.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;

namespace {

constexpr int32_t kInvalidMode = static_cast<int32_t>(0x88760078u);

class DXFehler : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    DatenOrdner = dir.path();
    DebugModus = true;
    DXErrDispFRM = DXErrDispForm();
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    DXErrDispFRM = DXErrDispForm();
  }

  std::vector<std::string> Log() { return testsupport::SplitLines(testsupport::ReadText(dir / "Debug.txt")); }
  static const platform::DialogReport& Dialog() { return headless::Dialogs().back(); }
};

TEST_F(DXFehler, NumbersAreLookedUpInTheChosenList) {
  struct Case {
    int32_t component, number;
    const char* name;
    const char* code;
    bool directX;
    const char* description;
  };
  const std::vector<Case> cases = {
      {2, kInvalidMode, "DDERR_INVALIDMODE", "-2005532552", true, "DirectDraw does not support the requested mode."},
      {2, 5, "DDERR_INVALIDPARAMS", "5", true, "One or more of the parameters passed to the method are incorrect."},
      {2, 7, "DDERR_OUTOFMEMORY", "7", true, "DirectDraw does not have enough memory to perform the operation."},
      {2, static_cast<int32_t>(0x80004005u), "DDERR_GENERIC", "-2147467259", true,
       "There is an undefined error condition."},
      {2, static_cast<int32_t>(0x8876017Cu), "DDERR_OUTOFVIDEOMEMORY", "-2005532292", true,
       "DirectDraw does not have enough display memory to perform the operation."},
      {2, static_cast<int32_t>(0x8876024Eu), "DDERR_UNSUPPORTEDMODE", "-2005532082", true,
       "The display is currently in an unsupported mode."},
      {2, 0, "DD_OK", "0", true, "The request completed successfully."},
      {0, 0, "D3D_OK", "0", true, "No error occurred."},
      {1, 0, "D3DRM_OK", "0", true, "No error. Equivalent to DD_OK."},
      {5, 0, "DP_OK", "0", true, "The request completed successfully."},
      {6, 0, "DS_OK", "0", true, "The request completed successfully."},
      {1, static_cast<int32_t>(0x800401F0u), "DDERR_NOTINITIALIZED", "-2147221008", true, nullptr},
      {3, 430, "DIERR_NOINTERFACE", "430", true, nullptr},
      {0, static_cast<int32_t>(0x887602F9u), "D3DERR_SCENE_NOT_IN_SCENE", "-2005531911", true, nullptr},
      {6, static_cast<int32_t>(0x88780096u), "DSERR_BUFFERLOST", "-2005401450", true, nullptr},
      // Lists without a row for 0, numbers in no row and lists that do not exist.
      {3, 0, "RUNTIME_ERROR", "0", false, "No error number was given."},
      {4, 0, "RUNTIME_ERROR", "0", false, nullptr},
      {2, 53, "RUNTIME_ERROR", "53", false, "File not found."},
      {7, kInvalidMode, "RUNTIME_ERROR", "-2005532552", false, "Unknown error -2005532552."},
      {-1, 5, "RUNTIME_ERROR", "5", false, "Invalid procedure call or argument."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in list " + std::to_string(c.component));
    ShowDXError(c.number, c.component, "");
    EXPECT_EQ(DXErrDispFRM.ErrorID, c.name);
    EXPECT_EQ(DXErrDispFRM.ErrorCode, c.code);
    EXPECT_EQ(DXErrDispFRM.DirectX7Err, c.directX ? "A DiectX 7 Error has occured"
                                                  : "A run-time error has occurred (not a DirectX error)");
    if (c.description) {
      EXPECT_EQ(DXErrDispFRM.MSDescription, std::string(c.description) + "\r\n\r\n");
    }
    EXPECT_EQ(Dialog().Field("Error ID:"), c.name);
    EXPECT_EQ(Dialog().Field("Error Code:"), c.code);
    EXPECT_EQ(Dialog().Field(""), DXErrDispFRM.DirectX7Err);
    EXPECT_FALSE(DXErrDispFRM.Sichtbar);  // closed again when the call returns
  }
  EXPECT_EQ(headless::Dialogs().size(), cases.size());
  EXPECT_EQ(headless::Dialogs()[0].caption, "DirectX 7 Error");
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DXFehler, TheListsHaveTheirRowsEachCodeOnce) {
  const size_t sizes[] = {71, 34, 112, 28, 59, 59, 16};
  for (int32_t k = 0; k < 7; ++k) {
    SCOPED_TRACE(k);
    auto liste = DXFehlerListe(k);
    EXPECT_EQ(liste.size(), sizes[k]);
    std::set<int32_t> codes;
    for (const DXFehlerZeile& z : liste) {
      EXPECT_TRUE(codes.insert(z.Code).second) << z.Name;
      std::string d = z.Beschreibung;
      EXPECT_TRUE(!d.empty() && (d.back() == '.' || d.back() == '!')) << z.Name;
    }
  }
  EXPECT_TRUE(DXFehlerListe(7).empty());
  EXPECT_TRUE(DXFehlerListe(-1).empty());
}

TEST_F(DXFehler, TheCrashRecordHoldsTheErrorThePendingMessageAndTheExtraText) {
  std::string extra = "No compatible graphics card available. (Window-1)";
  ShowDXError(kInvalidMode, 2, extra, "Automation error");
  const std::vector<std::string> expected = {
      "-----CRASH:", "DDERR_INVALIDMODE -2005532552 DirectDraw does not support the requested mode.",
      "Automation error", extra};
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(DXErrDispFRM.MSDescription,
            "DirectDraw does not support the requested mode.\r\nAutomation error\r\n" + extra);
  EXPECT_EQ(Dialog().Field("Description:"),
            "DirectDraw does not support the requested mode.\nAutomation error\n" + extra);

  // A number in no list: the crash line, then the run-time row.
  ShowDXError(1234, 2, "Spielloop: 7");
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[4], "-----CRASH:");
  EXPECT_EQ(log[5], "RUNTIME_ERROR 1234 Unknown error 1234.");
  EXPECT_EQ(log[6], "");
  EXPECT_EQ(log[7], "Spielloop: 7");
}

TEST_F(DXFehler, WithoutTheDebugSwitchNothingIsLoggedButTheDialogIsTheSame) {
  DebugModus = false;
  ShowDXError(5, 2, "LadeDaten Level1");
  EXPECT_FALSE(std::filesystem::exists(dir / "Debug.txt"));
  EXPECT_EQ(DXErrDispFRM.ErrorID, "DDERR_INVALIDPARAMS");
  EXPECT_EQ(Dialog().Field("Description:"),
            "One or more of the parameters passed to the method are incorrect.\n\nLadeDaten Level1");
}

TEST_F(DXFehler, RussianAdviceAndTextsShowInTheirCodePages) {
  Sprache = "R";
  // The caller's text in Windows-1251: "Несовместимая видео карта".
  const std::string extra = "\xCD\xE5\xF1\xEE\xE2\xEC\xE5\xF1\xF2\xE8\xEC\xE0\xFF \xE2\xE8\xE4\xE5\xEE "
                            "\xEA\xE0\xF0\xF2\xE0 (Window-2)";
  ShowDXError(static_cast<int32_t>(0x88760091u), 2, extra);
  EXPECT_EQ(DXErrDispFRM.ErrorID, "DDERR_INVALIDPIXELFORMAT");
  EXPECT_EQ(DXErrDispFRM.MSDescription.substr(0, 54),
            "The pixel format was invalid as specified. \xCF\xEE\xE6\xE0\xEB\xF3\xE9\xF1\xF2\xE0,");
  EXPECT_EQ(Dialog().Field("Description:"),
            "The pixel format was invalid as specified. Пожалуйста, активируйте режим voodoo! Please try "
            "VOODOO-MODE! Bitte im VOODOO-Modus starten!\n\nНесовместимая видео карта (Window-2)");
  // German texts stay in Windows-1252.
  Sprache = "D";
  ShowDXError(5, 2, "Men\xFC");
  EXPECT_EQ(Dialog().Field("Description:").substr(Dialog().Field("Description:").rfind('\n') + 1), "Menü");
}

TEST_F(DXFehler, TheDetailsButtonTogglesCaptionAndHeight) {
  DXErrDispFRM_Load();
  EXPECT_EQ(DXErrDispFRM.DetailsBTN, "No Details <<");
  EXPECT_EQ(DXErrDispFRM.Height, 3945);
  DXErrDispFRM_DetailsBTN_Click();
  EXPECT_EQ(DXErrDispFRM.DetailsBTN, "Details >>");
  EXPECT_EQ(DXErrDispFRM.Height, 2625);
  DXErrDispFRM_DetailsBTN_Click();
  EXPECT_EQ(DXErrDispFRM.DetailsBTN, "No Details <<");
  EXPECT_EQ(DXErrDispFRM.Height, 3945);
}

// The dialog's own window, driven by posted mouse and key messages.
TEST_F(DXFehler, TheWindowAnswersItsButtonsAndKeepsItsStateUntilClosed) {
  headless::SetRunDialogs(true);
  auto klick = [](int x, int y) {
    const intptr_t punkt = x | (y << 16);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::LButtonDown, platform::mk::LButton, punkt);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::LButtonUp, 0, punkt);
  };
  int hoeheNachKlick = 0;
  headless::At(10, [&] { klick(296, 132); });  // Details
  headless::At(20, [&] { hoeheNachKlick = headless::LastFrame().height; });
  headless::At(30, [&] { klick(20, 20); });  // beside the buttons: nothing
  headless::At(40, [&] { klick(120, 132); });  // Okay
  ShowDXError(kInvalidMode, 2, "Menuloop");
  EXPECT_EQ(hoeheNachKlick, 150);
  EXPECT_EQ(DXErrDispFRM.DetailsBTN, "Details >>");
  EXPECT_FALSE(DXErrDispFRM.Sichtbar);
  EXPECT_TRUE(DXErrDispFRM.Geladen);  // hidden, not closed
  ASSERT_NE(DXErrDispFRM.Fenster, 0);
  EXPECT_FALSE(platform::IsWindowVisible(DXErrDispFRM.Fenster));
  EXPECT_EQ(headless::LastFrame().width, 415);

  // Shown again it keeps its state; Tab and Enter press Details, Escape closes it.
  headless::At(50, [] {
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::KeyDown, 9, 0);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::KeyDown, 13, 0);
  });
  headless::At(60, [&] { hoeheNachKlick = headless::LastFrame().height; });
  headless::At(70, [] { platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::KeyDown, 27, 0); });
  ShowDXError(5, 2, "Pause");
  EXPECT_EQ(hoeheNachKlick, 238);
  EXPECT_FALSE(DXErrDispFRM.Geladen);
  EXPECT_EQ(DXErrDispFRM.Fenster, 0);

  // Closed, it starts afresh; the caption bar's close works as Escape does. Input meant
  // for other windows does not reach them while the dialog is up.
  int andere = 0;
  platform::WindowDesc desc;
  platform::HWnd spiel = platform::CreateWindow(desc, [&](platform::HWnd h, uint32_t m, intptr_t w, intptr_t l) {
    if (m == platform::wm::KeyDown || m == platform::wm::Close) ++andere;
    return platform::DefWindowProc(h, m, w, l);
  });
  headless::At(80, [&] {
    platform::PostMessage(spiel, platform::wm::KeyDown, 13, 0);
    platform::PostMessage(spiel, platform::wm::Close, 0, 0);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::Close, 0, 0);
  });
  ShowDXError(5, 2, "Continue");
  EXPECT_EQ(andere, 0);
  EXPECT_TRUE(platform::IsWindow(spiel));
  EXPECT_EQ(DXErrDispFRM.Fenster, 0);
  DXErrDispFRM_Load();
  EXPECT_EQ(DXErrDispFRM.DetailsBTN, "No Details <<");
  EXPECT_EQ(headless::Dialogs().size(), 3u);
}

TEST_F(DXFehler, ALongDetailsTextScrollsByKeysAndByItsBar) {
  headless::SetRunDialogs(true);
  auto taste = [](int vk) { platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::KeyDown, vk, 0); };
  auto klick = [](int x, int y) {
    const intptr_t punkt = x | (y << 16);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::LButtonDown, platform::mk::LButton, punkt);
    platform::PostMessage(DXErrDispFRM.Fenster, platform::wm::LButtonUp, 0, punkt);
  };
  std::vector<int32_t> gerollt;
  auto merke = [&] { gerollt.push_back(DXErrDispFRM.Rollen); };
  headless::At(10, [&] { merke(); taste(40); });     // Down
  headless::At(20, [&] { merke(); taste(34); });     // Page Down: to the end, no further
  headless::At(30, [&] { merke(); taste(38); });     // Up
  headless::At(40, [&] { merke(); klick(385, 182); });  // the bar's up arrow
  headless::At(50, [&] { merke(); klick(385, 228); });  // its down arrow
  headless::At(60, [&] { merke(); taste(13); });     // Okay
  ShowDXError(static_cast<int32_t>(0x88760091u), 2,
              "No compatible graphics card available. The display could not be set up with the colour depth "
              "that was chosen in the settings. (Fullscreen-2)",
              "Automation error");
  const int32_t ende = DXErrDispFRM.ZeilenGesamt - DXErrDispFRM.ZeilenSichtbar;
  ASSERT_GE(ende, 2);
  EXPECT_EQ(gerollt, (std::vector<int32_t>{0, 1, ende, ende - 1, ende - 2, ende - 1}));
  EXPECT_FALSE(DXErrDispFRM.Sichtbar);
  // A short text fits and does not scroll.
  headless::At(70, [&] { taste(40); });
  headless::At(80, [&] { merke(); taste(13); });
  ShowDXError(5, 2, "");
  EXPECT_EQ(gerollt.back(), 0);
  EXPECT_LE(DXErrDispFRM.ZeilenGesamt, DXErrDispFRM.ZeilenSichtbar);
}

}  // namespace
