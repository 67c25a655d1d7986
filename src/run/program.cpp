#include "run/program.hpp"

#include <cstdio>

#include "campaign/game_loop.hpp"
#include "campaign/highscore.hpp"
#include "campaign/ogg.hpp"
#include "campaign/script.hpp"
#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/menu.hpp"
#include "platform/codepage.hpp"
#include "platform/copy_folder.hpp"
#include "platform/draw_threads.hpp"
#include "platform/fs.hpp"
#include "platform/process.hpp"
#include "player/players.hpp"
#include "run/leftovers.hpp"
#include "run/variabeln.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/settings_window.hpp"
#include "shell/timing.hpp"
#include "world/level.hpp"
#include "world/radio.hpp"
#include "world/weather_state.hpp"

namespace {

constexpr int32_t DSTINVERT = 0x550009;

// One of these is the game window's caption, picked at random on every start.
const char* const kCaptions[9] = {
    "Harvo",
    "Harvo - Into the Storm",
    "Harvo - Hold the Line",
    "Harvo - Beyond the Reef",
    "Harvo - Full Charge",
    "Harvo - Last Pilot Standing",
    "Harvo - Nova Rising",
    "Harvo - The Long Descent",
    "Harvo - Against the Tide",
};

std::string Version() {
  return std::to_string(HARVO_VERSION_MAJOR) + "." + std::to_string(HARVO_VERSION_MINOR) + "." +
         std::to_string(HARVO_VERSION_PATCH);
}

// "debug.txt" in any letter case is the one log file.
bool DebugDateiDa() { return platform::fs::FileExists(DatenOrdner + "debug.txt"); }

void DebugDateiLöschen() {
  for (const std::string& name : platform::fs::ListFiles(DatenOrdner))
    if (SameText(name, "debug.txt")) platform::fs::DeleteFile(DatenOrdner + name);
}


void Unload(platform::HWnd form) {
  if (!platform::IsWindow(form)) return;
  if (form == Form1) {
    int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel) return;
  }
  platform::DestroyWindow(form);
  if (form == Form1) Form1 = 0;
  if (form == Form3) Form3 = 0;
}

intptr_t Form1Proc(platform::HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  switch (msg) {
    case platform::wm::Close:
      Unload(Form1);
      return 0;
    case platform::wm::Size:
      Form_Resize();
      return 0;
    case platform::wm::Timer:
      if (static_cast<uintptr_t>(wParam) == kStartTimer) Timer1_Timer();
      if (static_cast<uintptr_t>(wParam) == kFunkTimer) Form1_Timer2_Timer();
      return 0;
    case platform::wm::Char:
      Form_KeyPress(static_cast<int16_t>(wParam));
      return 0;
    case platform::wm::KeyUp:
    case platform::wm::SysKeyUp:
      Form_KeyUp(static_cast<int16_t>(wParam), 0);
      return 0;
    default:
      return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// The full-screen window stands in for the game window: its close request and key events
// are the game window's; only the start timer and the size belong to the game window alone.
intptr_t Form3Proc(platform::HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  if (msg == platform::wm::Size || msg == platform::wm::Timer) return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  return Form1Proc(hwnd, msg, wParam, lParam);
}

int32_t Zahl(const std::string& stueck, size_t schalterLaenge) {
  return stueck.size() > schalterLaenge + 1 ? CLng(Val(stueck.substr(schalterLaenge + 1))) : 0;
}

// The window (or the display behind it) could not be had: nothing of the program can
// show, so the box says what failed, or stderr does where no box can show either.
[[noreturn]] void FehlerpfadA() {
  const std::string grund = platform::WindowSystemError();
  MsgBox("Could not open a window: " + (grund.empty() ? std::string("no reason given") : grund) +
             "\r\n\r\nHarvo needs a display (X11 or Wayland) to run.",
         mb::OkOnly);
  EndProcess(1);
}

// The end of the process: the windows go, and the copy's temporary folder with what it
// still holds.
void Aufraeumen() {
  platform::DestroyAllWindows();
  platform::RemoveCopyFolder();
}

void FehlerpfadB(const Err& fehler) {
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  UnloadGameWindows();
  ShowDXError(fehler.Nummer, 2, "", fehler.Beschreibung);
}

}  // namespace

void UnloadGameWindows() {
  if (!FensterModus && Form3) Unload(Form3);
  Unload(Form1);
}

std::string LogDateTime() {
  platform::DateTime t = platform::Now();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%04d %02d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute,
                t.second);
  return buf;
}

void Form_Load() {
  if (Spielstatus == 10) return;
  // Checking for another instance and holding our share of the lock are one step, so two
  // copies started together cannot both pass.
  bool allein = true;
  DebugLogZurueckhalten();
  while (!platform::HoldOnlyInstanceLock()) {
    const std::string crlf2 = "\r\n\r\n";
    int answer = MsgBox("Eine Instanz von Harvo befindet sich noch im Speicher und ist momentan aktiv." + crlf2 +
                            "Harvo is already running." + crlf2 + Cyr("Harvo уже запущен"),
                        mb::AbortRetryIgnore, "", platform::CodePageCyrillic);
    if (answer == mb::Ignore) {
      platform::JoinInstanceLock();
      allein = false;
      break;
    }
    if (answer != mb::Retry) EndProcess(0);
  }

  VariabelnInit();
  // What an earlier run left behind can go only while no other copy may be using it, and
  // only real locks tell that none does: the instance lock for the per-user folder, the
  // lock of each copy's own temporary folder for that folder.
  ClearLeftoversAtStart(allein && platform::HoldsInstanceLock());
  platform::SetWindowText(Form1, kCaptions[static_cast<int>(Int(Rnd() * 9))]);
  LoadConfig();
  platform::ShowWindow(Form1, platform::sw::Hide);
  ShowSettingsWindow();
  // Until the run starts, the end of the session is the settings window's cancel.
  if (Form2::hWnd) platform::SetEndSessionWindow(Form2::hWnd);
}

void ScanCommandLine(const std::string& befehl) {
  size_t pos = befehl.find('-');
  while (pos != std::string::npos) {
    size_t next = befehl.find('-', pos + 1);
    std::string stueck = befehl.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
    if (stueck.rfind("-Skip", 0) == 0) {
      SkipModus = true;
    } else if (stueck.rfind("-Regen", 0) == 0) {
      RegenAnzahl = Zahl(stueck, 6);
    } else if (stueck.rfind("-Debug", 0) == 0) {
      if (DebugDateiDa() && MsgBox("Debug.txt neu erstellen?", mb::YesNo | mb::DefaultButton2) == mb::Yes)
        DebugDateiLöschen();
      DebugLogLoslassen();
      DebugModus = true;
      DebugLog("");
      DebugLog("----------");
      DebugLog("Debug INIT: " + LogDateTime());
    } else if (stueck.rfind("-Wasser", 0) == 0) {
      Wasserstand = Zahl(stueck, 7);
    } else if (stueck.rfind("-Tick", 0) == 0) {
      StartTick = Zahl(stueck, 5);
    } else if (stueck.rfind("-Level", 0) == 0) {
      // The level name is the whole rest of the line; it may hold blanks and "-".
      LevelName = pos + 7 <= befehl.size() ? TrimBlanks(befehl.substr(pos + 7)) : std::string();
    }
    pos = next;
  }
}

void Timer1_Timer() {
  platform::KillTimer(Form1, kStartTimer);
  SetHighPriority();
  LetzterSpieler = 0;
  StartTick = 0;
  AdditivZiel = VoodooModus ? 2 : 7;
  SkipModus = false;
  LevelName = "Level1";

  ScanCommandLine(platform::CommandLineText());

  if (SkipModus) {
    LetzterSpieler = MsgBox("Zwei Spieler?", mb::YesNo | mb::DefaultButton2) == mb::Yes ? 1 : 0;
    int schiff = MsgBox("Schiff Nummer?", mb::YesNoCancel);
    Schiff[0].Schiffstyp() = schiff == mb::Yes ? 1 : schiff == mb::No ? 0 : 2;
    SkriptStand.EinzelLevel = true;
  }

  if (!DebugModus) {
    DebugDateiLöschen();
    DebugLogLoslassen();
    DebugModus = true;
    DebugLog("----------");
    DebugLog({LogSystemtext(platform::ProgramName()), " " + Version()});
    DebugLog({LogSystemtext(platform::CommandLineText())});
    DebugLog("Debug INIT: " + LogDateTime());
  }
  // What the start logged before the log was settled.
  DebugLogNachholen();

  Init();
  LoadHighscore();

  bool menu = !SkipModus;
  for (;;) {
    if (menu) {
      LoadStandartSurfaces();
      LoadMenuSurfaces();
      if (Spielstatus != 10) MenuLoop();
    }
    menu = true;
    int32_t status = 0;
    for (;;) {
      bool weiter = LevelSkript();
      status = Spielstatus;
      if (!weiter) break;
      if (Spielstatus != 10) {
        while (LadeDaten(LevelName + ".vlp", SkriptStand.LadeBild) && Spielstatus != 10) {
        }
      }
      if (Spielstatus != 10) SpielLoop();
    }
    if (status != 0 || SkipModus) break;
  }

  SaveConfig();
  DInputTerminate();
  SurfaceClear();
  Soundclear();
  Terminate();
  VariabelnTerminate();
  DebugLogWennAn("Fine Ending!");
  EndProcess(0);
}

void Form_Resize() {
  platform::Rect r = platform::GetClientRect(Form1);
  Picture1Breite = r.Right - r.Left;
  Picture1Hoehe = r.Bottom - r.Top;
}

void Form_Unload(int16_t& Cancel) {
  if (Spielstatus != 10) {
    Spielstatus = 10;
    Cancel = VBTrue;
    return;
  }
  if (!FensterModus && Form3) Unload(Form3);
}

void Init() {
  DatenPfad = AppPfad;
  GrafikPfad = AppPfad + "Data\\Grafik\\";
  SoundPfad = DatenPfad + "Data\\Sound\\";
  VideoPfad = DatenPfad + "Data\\Video\\";

  DebugLogWennAn("Create Window");
  if (FensterModus) {
    platform::ShowWindow(Form1, platform::sw::Show);
    FensterHandle = Form1;
  } else {
    platform::ShowWindow(Form1, platform::sw::Hide);
    platform::WindowDesc desc;
    desc.caption = platform::GetWindowText(Form1);
    desc.width = kBildschirmBreite;
    desc.height = kBildschirmHoehe;
    desc.fullscreen = true;
    Form3 = platform::CreateWindow(desc, Form3Proc);
    platform::ShowWindow(Form3, platform::sw::Show);
    FensterHandle = Form3;
  }
  if (!platform::WindowHasDisplay(FensterHandle)) FehlerpfadA();
  DebugLogWennAn("DX init...");
  DebugLogWennAn("ok");
  if (const std::string& refused = platform::DrawThreadsRefusal(); !refused.empty()) DebugLogWennAn(refused);

  try {
    InitWindow();
    if (SoundAn) {
      // A machine without a sound device still plays: the sounds and the music run unheard.
      std::string fehler;
      if (SoundDeviceOpen(fehler))
        DebugLogWennAn("Soundinit ok");
      else
        DebugLogWennAn("Soundinit failed, no sound output: " + fehler);
      if (!InitOgg(FensterHandle, 0)) throw DXError(DDERR_GENERIC, "The music player could not be started.");
      DebugLogWennAn("OGG ok");
    }
  } catch (const Err& e) {
    FehlerpfadB(e);
    return;
  }

  Farbtiefe = BackBufferBitsPerPixel();
  DebugLogWennAn("Colordepth: " + std::to_string(Farbtiefe));
  if (Farbtiefe != 16 && Farbtiefe != 32) {
    MsgBox("Nur 16-Bit und 32-Bit Farbtiefe werden unterst\xFCtzt. Bitte \xE4ndern sie ihre Desktopeinstellungen "
           "oder starten sie das Spiel im Fullscreen!",
           mb::Critical);
    EndProcess(1);
  }
  uint32_t masks[3];
  BackBufferMasks(masks[0], masks[1], masks[2]);
  for (int c = 0; c < 3; ++c) GetMaskFactors(masks[c], FarbFaktoren[c].Div, FarbFaktoren[c].Mul);
  for (int i = 0; i < 256; ++i) GrauTabelle[i] = DDRGB(i, i, i);

  HardwareInvert = BackBuffer && CheckRopSupport(*BackBuffer, DSTINVERT);
  DebugLogWennAn(HardwareInvert ? "Hardware Invert" : "Software Invert");
  FillSinTables();
  DInputInit();
  DebugLogWennAn("Keyboardinit ok");
  JoystickInit();
  for (int j = 0; j < 2; ++j) ForceAn[j] = ForceAn[j] && ForceDa[j];
  DebugLogWennAn({"Joy1=" + std::string(BoolText(JoyDa[0])) + " (", LogSystemtext(JoyName[0]), JoyGuid[0] + ")"});
  DebugLogWennAn({"Joy2=" + std::string(BoolText(JoyDa[1])) + " (", LogSystemtext(JoyName[1]), JoyGuid[1] + ")"});
  DebugLogWennAn("FF1=" + std::string(BoolText(ForceDa[0])));
  DebugLogWennAn("FF2=" + std::string(BoolText(ForceDa[1])));
}

void Terminate() {
  if (SoundAn) {
    CloseOgg();
    SoundDeviceClose();
    SoundAn = false;
  }
  ReleaseDisplay();
  Spielstatus = 10;
  if (!FensterModus && Form3) Unload(Form3);
  Unload(Form1);
}

int RunProgram(int argc, char** argv) {
  platform::SetCommandLine(argc, argv);
  // A desktop logging out or Ctrl+C in a terminal closes the game window like its close
  // button: the run ends through its shut-down and the configuration is saved.
  platform::CatchEndSignals();
  try {
    platform::WindowDesc desc;
    desc.caption = "Harvo";
    desc.width = 640;
    desc.height = 480;
    Form1 = platform::CreateWindow(desc, Form1Proc);
    platform::SetEndSessionWindow(Form1);
    Form_Load();
    // The rest of the program runs from the window's messages (the start timer).
    for (;;) {
      platform::WaitMessage();
      MyDoEvents();
    }
  } catch (const ProcessEnd& end) {
    Aufraeumen();
    return end.code;
  } catch (const Err& e) {
    // A failure that no loop handled: reported like every other, then the end.
    ShowDXError(e.Nummer, 2, "", e.Beschreibung);
    Aufraeumen();
    return 1;
  }
}
