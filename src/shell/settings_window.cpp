#include "shell/settings_window.hpp"

#include <algorithm>
#include <map>

#include "platform/clock.hpp"
#include "platform/fs.hpp"
#include "platform/text.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/process_end.hpp"
#include "shell/settings_picture.hpp"
#include "shell/timing.hpp"

using platform::HWnd;
using platform::Surface;

namespace {

constexpr uintptr_t kTimer1 = 1;
constexpr uint32_t kTimer1Intervall = 10;  // milliseconds per row of the scan-line effect
// Posted when the window has been shown: its activation runs the opening animation.
constexpr uint32_t kAktivieren = platform::wm::User + 1;
constexpr int32_t kAnimationMs = 800;

constexpr uint32_t kSchriftfarbe = 0xC8FFD2;  // COLORREF of the label texts
constexpr int32_t kSchrifthoehe = -13;         // 10 points

// Captions in English, German and Russian (UTF-8 here; the window keeps Windows-1251).
struct Beschriftung {
  const char* englisch;
  const char* deutsch;
  const char* russisch;
};
const Beschriftung kBeschriftung[11] = {
    {"", "", ""},
    {"&Fullscreen", "&Vollbild", "Полный экран"},
    {"&Window", "&Fenster", "В окне"},
    {"&Sound", "&Sound", "Звук"},
    {"V&oodoo", "V&oodoo", "V&oodoo"},
    {"", "", ""},
    {"", "", ""},
    {"Cancel", "Abbrechen", "Отмена"},
    {"OK", "OK", "OK"},
    {"32-bit &Color", "32-bit &Color", "32-bit цвет"},
    {"&Video", "&Video", "Видео"},
};
const Beschriftung kVideo800{"800*600 &Video", "800*600 &Video", "800*600 Видео"};
const Beschriftung kVideo400{"400*300 &Video", "400*300 &Video", "400*300 Видео"};

// The labels as the window was laid out: place, and the language labels' own texts and
// fonts (the German label's font carries the Cyrillic character set).
struct Vorlage {
  int32_t x, y, w, h;
  const char* caption;
  uint32_t charset;
};
constexpr int32_t kSpalte[3] = {26, 154, 282};
constexpr int32_t kReihe[4] = {178, 210, 242, 281};
constexpr int32_t kLW = 112, kLH = 20;
const Vorlage kVorlage[11] = {
    {0, 0, 0, 0, "", 0},
    {kSpalte[0], kReihe[0], kLW, kLH, "&Fullscreen", 0},
    {kSpalte[1], kReihe[0], kLW, kLH, "&Window", 0},
    {kSpalte[0], kReihe[1], kLW, kLH, "&Sound", 0},
    {kSpalte[1], kReihe[1], kLW, kLH, "V&oodoo", 0},
    {kSpalte[0], kReihe[2], kLW, kLH, "Deutsch", platform::RUSSIAN_CHARSET},
    {kSpalte[1], kReihe[2], kLW, kLH, "English", platform::ANSI_CHARSET},
    {218, kReihe[3], kLW, kLH, "Cancel", 0},
    {90, kReihe[3], kLW, kLH, "OK", 0},
    {kSpalte[2], kReihe[0], kLW, kLH, "32-bit &Color", 0},
    {kSpalte[2], kReihe[1], kLW, kLH, "&Video", 0},
};

// What the window shows beside its picture, and how it is put on the screen.
platform::SurfacePtr g_flaeche;   // the options' background
platform::SurfacePtr g_optionen;  // the options as drawn
platform::SurfacePtr g_fenster;   // the whole window, as presented
std::map<uint32_t, platform::HGdiObj> g_schriften;  // label fonts by character set
platform::RoundRegion g_region;
bool g_hatRegion = false;
bool g_selbstSchneiden = false;  // the window system cannot shape: the drawing is clipped
bool g_aktiviert = false;
int g_gedrueckt = 0;  // the label a mouse button went down on

std::string Version() {
  return std::to_string(HARVO_VERSION_MAJOR) + "." + std::to_string(HARVO_VERSION_MINOR) + "." +
         std::to_string(HARVO_VERSION_PATCH);
}

std::string Text(const Beschriftung& b, int sprache) {
  if (sprache == 0) return b.englisch;
  if (sprache == 1) return b.deutsch;
  return Cyr(b.russisch);
}

uint32_t Pixel(uint32_t colorRef) {
  return platform::PackPixel(platform::PixelFormat::XRGB8888, colorRef & 0xFF, (colorRef >> 8) & 0xFF,
                             (colorRef >> 16) & 0xFF);
}

void Fuellen(Surface& s, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colorRef) {
  platform::Rect r{x, y, x + w, y + h};
  s.BltColorFill(&r, Pixel(colorRef));
}

platform::HGdiObj Schrift(uint32_t charset) {
  auto it = g_schriften.find(charset);
  if (it != g_schriften.end()) return it->second;
  platform::HGdiObj font =
      platform::CreateFont(kSchrifthoehe, 0, 0, 0, platform::FW_BOLD, 0, 0, 0, charset, 0, 0, 0, 0, "Arial");
  g_schriften[charset] = font;
  return font;
}

int32_t Breite(platform::HDC dc, const std::string& text) {
  platform::TextSize size;
  platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(text.size()), size);
  return size.cx;
}

// A caption centred in its label, its access letter underlined.
void Beschriften(Surface& s, platform::HDC dc, const Form2::LabelInfo& l, int32_t oben) {
  std::string text;
  int32_t zeichen = -1;
  for (size_t i = 0; i < l.Caption.size(); ++i) {
    if (l.Caption[i] == '&' && i + 1 < l.Caption.size()) {
      ++i;
      if (l.Caption[i] != '&') zeichen = static_cast<int32_t>(text.size());
    }
    text += l.Caption[i];
  }
  platform::SelectObject(dc, Schrift(l.Charset));
  platform::TextSize size;
  platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(text.size()), size);
  const int32_t x = l.Feld.Left + (l.Feld.Right - l.Feld.Left - size.cx) / 2;
  const int32_t y = l.Feld.Top - oben + (l.Feld.Bottom - l.Feld.Top - size.cy) / 2;
  platform::SetTextColor(dc, kSchriftfarbe);
  platform::TextOut(dc, x, y, text, static_cast<int32_t>(text.size()));
  if (zeichen >= 0) {
    const int32_t von = Breite(dc, text.substr(0, static_cast<size_t>(zeichen)));
    const int32_t bis = Breite(dc, text.substr(0, static_cast<size_t>(zeichen) + 1));
    Fuellen(s, x + von, y + CLng(size.cy * 0.8) + 1, bis - von, 1, kSchriftfarbe);
  }
}

// The whole window on the screen; where the window system cannot shape it, everything
// outside the region is left black.
void Zeigen() {
  using namespace Form2;
  if (!hWnd || !g_fenster || !Picture1 || !g_optionen) return;
  g_fenster->BltFast(0, 0, *Picture1, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  g_fenster->BltFast(0, kBildHoehe, *g_optionen, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  if (g_selbstSchneiden && g_hatRegion) {
    for (int32_t y = 0; y < kHoehe; ++y) {
      int32_t von = 0, bis = 0;
      platform::RoundRegionSpan(g_region, y, von, bis);
      von = std::clamp(von, 0, kBreite);
      bis = std::clamp(bis, von, kBreite);
      Fuellen(*g_fenster, 0, y, von, 1, 0);
      Fuellen(*g_fenster, bis, y, kBreite - bis, 1, 0);
    }
  }
  platform::PresentFrame(hWnd, {g_fenster->Row(0), kBreite, kHoehe, g_fenster->Pitch(), 32});
}

void OptionenZeichnen() {
  using namespace Form2;
  if (!g_flaeche) return;
  if (!g_optionen) g_optionen = Surface::Create(kBreite, kHoehe - kBildHoehe, platform::PixelFormat::XRGB8888);
  if (!g_optionen) return;
  g_optionen->BltFast(0, 0, *g_flaeche, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  for (int i = 1; i <= 10; ++i) {
    if (!LabelRahmen[i].Visible) continue;
    const platform::Rect& f = Label[i].Feld;
    const int32_t x = f.Left - 4, y = f.Top - kBildHoehe - 4, w = f.Right - f.Left + 8, h = f.Bottom - f.Top + 8;
    const uint32_t farbe = LabelRahmen[i].BorderColor;
    Fuellen(*g_optionen, x, y, w, 2, farbe);
    Fuellen(*g_optionen, x, y + h - 2, w, 2, farbe);
    Fuellen(*g_optionen, x, y, 2, h, farbe);
    Fuellen(*g_optionen, x + w - 2, y, 2, h, farbe);
  }
  platform::HDC dc = 0;
  if (platform::GetDC(*g_optionen, dc) != platform::DD_OK) return;
  platform::SetBkMode(dc, platform::TRANSPARENT);
  for (int i = 1; i <= 10; ++i)
    if (Label[i].Visible) Beschriften(*g_optionen, dc, Label[i], kBildHoehe);
  platform::SelectObject(dc, platform::GetStockSystemFont());
  platform::ReleaseDC(*g_optionen, dc);
}

void Neuzeichnen() {
  OptionenZeichnen();
  Zeigen();
}

void Region(int32_t links, int32_t oben, int32_t rechts, int32_t unten, int32_t breite, int32_t hoehe) {
  g_region = {{links, oben, rechts, unten}, breite, hoehe};
  g_hatRegion = true;
  g_selbstSchneiden = !platform::SetWindowRoundRegion(Form2::hWnd, links, oben, rechts, unten, breite, hoehe);
  if (g_selbstSchneiden) Zeigen();
}

int LabelBei(int32_t x, int32_t y) {
  for (int i = 1; i <= 10; ++i) {
    const auto& l = Form2::Label[i];
    if (l.Visible && x >= l.Feld.Left && x < l.Feld.Right && y >= l.Feld.Top && y < l.Feld.Bottom) return i;
  }
  return 0;
}

int16_t Knopf(uint32_t msg) {
  switch (msg) {
    case platform::wm::LButtonDown:
    case platform::wm::LButtonUp: return 1;
    case platform::wm::RButtonDown:
    case platform::wm::RButtonUp: return 2;
    default: return 4;
  }
}

int16_t Knoepfe(intptr_t wParam) {
  int16_t k = 0;
  if (wParam & platform::mk::LButton) k |= 1;
  if (wParam & platform::mk::RButton) k |= 2;
  if (wParam & platform::mk::MButton) k |= 4;
  return k;
}

// The controls and the window go; nothing of the choices is saved here.
void Schliessen() {
  using namespace Form2;
  const HWnd h = hWnd;
  if (h) platform::KillTimer(h, kTimer1);
  Shadow.reset();
  hWnd = 0;
  if (h) platform::DestroyWindow(h);
  for (auto& [charset, font] : g_schriften) platform::DeleteObject(font);
  g_schriften.clear();
  g_flaeche.reset();
  g_optionen.reset();
  g_fenster.reset();
  Image1.reset();
  Picture1.reset();
}

intptr_t Form2Proc(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  using namespace Form2;
  const float x = static_cast<int16_t>(lParam & 0xFFFF), y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
  switch (msg) {
    case platform::wm::Char: {
      int16_t KeyAscii = static_cast<int16_t>(wParam);
      Form_KeyPress(KeyAscii);
      return 0;
    }
    case platform::wm::KeyDown:
    case platform::wm::KeyUp:
    case platform::wm::SysKeyDown:
    case platform::wm::SysKeyUp:
      // Keys act through the characters they type.
      return 0;
    case platform::wm::LButtonDown:
    case platform::wm::RButtonDown:
    case platform::wm::MButtonDown: {
      // A label takes its own mouse buttons; everything else belongs to the window.
      if (int i = LabelBei(static_cast<int32_t>(x), static_cast<int32_t>(y))) {
        if (msg == platform::wm::LButtonDown) g_gedrueckt = i;
        return 0;
      }
      Form_MouseDown(Knopf(msg), 0, x, y);
      return 0;
    }
    case platform::wm::MouseMove:
      // A drag whose button came up where this window could not see it ends here.
      if (Verschieben && Knoepfe(wParam) == 0) {
        Form_MouseUp(0, 0, x, y);
        return 0;
      }
      Form_MouseMove(Knoepfe(wParam), 0, x, y);
      return 0;
    case platform::wm::LButtonUp:
    case platform::wm::RButtonUp:
    case platform::wm::MButtonUp:
      if (g_gedrueckt && !Verschieben) {
        const int i = g_gedrueckt;
        g_gedrueckt = 0;
        if (msg == platform::wm::LButtonUp && LabelBei(static_cast<int32_t>(x), static_cast<int32_t>(y)) == i)
          Label_Click(i);
        return 0;
      }
      Form_MouseUp(Knopf(msg), 0, x, y);
      return 0;
    case platform::wm::Timer:
      if (static_cast<uintptr_t>(wParam) == kTimer1) Form2::Timer1_Timer();
      return 0;
    case platform::wm::Paint: Zeigen(); return 0;
    case platform::wm::Close: Unload(); return 0;
    case kAktivieren:
      if (!g_aktiviert) {
        g_aktiviert = true;
        Form_Activate();
      }
      return 0;
    default: return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void ShowSettingsWindow() {
  Form2::Load();
  if (!Form2::hWnd) return;
  if (!platform::WindowHasDisplay(Form2::hWnd)) {
    // Where no window can show, nobody could answer it: the stored choices stand, and the
    // program run reports what is missing.
    Form2::Label_Click(8);
    return;
  }
  // The window grows from nothing once it is active: until then it shows no pixel, however
  // long its first drawing takes.
  Region(Form2::kBreite / 2, Form2::kHoehe / 2, Form2::kBreite / 2, Form2::kHoehe / 2, Form2::kBreite, Form2::kHoehe);
  platform::ShowWindow(Form2::hWnd, platform::sw::Show);
  Zeigen();
  if (Form2::hWnd) platform::PostMessage(Form2::hWnd, kAktivieren, 0, 0);
}

namespace Form2 {

void Load() {
  if (hWnd) return;
  OKGeklickt = false;
  Verschieben = false;
  StartX = StartY = 0;
  Zeile = 0;
  g_hatRegion = g_selbstSchneiden = g_aktiviert = false;
  g_gedrueckt = 0;
  for (int i = 0; i <= 10; ++i) {
    const Vorlage& v = kVorlage[i];
    Label[i] = {v.caption, i != 0, v.charset, {v.x, v.y, v.x + v.w, v.y + v.h}};
    LabelRahmen[i] = {kDunkel, i != 0};
  }

  platform::WindowDesc desc;
  desc.caption = "HARVO";
  desc.width = kBreite;
  desc.height = kHoehe;
  desc.borderless = true;
  desc.shaped = true;
  hWnd = platform::CreateWindow(desc, Form2Proc);
  if (!hWnd) return;
  Image1 = StartbildZeichnen(kBreite, kBildHoehe, "V." + Version());
  Picture1 = Surface::Create(kBreite, kBildHoehe, platform::PixelFormat::XRGB8888);
  g_flaeche = OptionsflaecheZeichnen(kBreite, kHoehe - kBildHoehe);
  g_fenster = Surface::Create(kBreite, kHoehe, platform::PixelFormat::XRGB8888);

  // The drop shadow as the window stores it: a fade-in, no strips.
  Shadow = std::make_unique<ucShadow>();
  Shadow->ReadProperties({{"HideSize", -1}, {"SoftShadow", 0}, {"Visible", 0}}, hWnd);
  platform::SetTimer(hWnd, kTimer1, kTimer1Intervall);
  Form_Load();
}

void Form_Load() {
  platform::SetWindowText(hWnd, "HARVO V." + Version());
  if (!platform::fs::FileExists(AppPfad + "Data\\Video.vkp")) {
    VideoAn = false;
    Label[10].Visible = false;
    LabelRahmen[10].Visible = false;
  }
  FontCharset = static_cast<int32_t>(Label[5].Charset);
  Aufbau();
  if (Image1 && Picture1) Picture1->BltFast(0, 0, *Image1, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  Zeigen();
}

void Aufbau() {
  if (FensterModus) {
    LabelRahmen[2].BorderColor = kHell;
    LabelRahmen[1].BorderColor = kDunkel;
    Label[9].Visible = false;
    LabelRahmen[9].Visible = false;
  } else {
    LabelRahmen[1].BorderColor = kHell;
    LabelRahmen[2].BorderColor = kDunkel;
    Label[9].Visible = true;
    LabelRahmen[9].Visible = true;
  }
  LabelRahmen[3].BorderColor = SoundAn ? kHell : kDunkel;
  LabelRahmen[4].BorderColor = VoodooModus ? kHell : kDunkel;

  int sprache = 2;  // anything but "E" and "D" shows as Russian
  uint32_t charset = static_cast<uint32_t>(FontCharset);
  if (Sprache == "E") {
    sprache = 0;
    charset = platform::ANSI_CHARSET;
  } else if (Sprache == "D") {
    sprache = 1;
    charset = platform::ANSI_CHARSET;
  }
  LabelRahmen[6].BorderColor = sprache == 0 ? kHell : kDunkel;
  LabelRahmen[5].BorderColor = sprache == 0 ? kDunkel : kHell;
  for (int i : {1, 2, 3, 4, 7, 8, 9, 10}) Label[i].Charset = charset;
  for (int i : {1, 2, 3, 4, 7, 8, 9}) Label[i].Caption = Text(kBeschriftung[i], sprache);

  Label[10].Caption = Text(!VideoAn ? kBeschriftung[10] : VideoKlein ? kVideo400 : kVideo800, sprache);
  LabelRahmen[10].BorderColor = VideoAn ? kHell : kDunkel;
  LabelRahmen[9].BorderColor = Farbtiefe == 32 ? kHell : kDunkel;
  Neuzeichnen();
}

void Label_Click(int Index) {
  switch (Index) {
    case 1: FensterModus = false; break;
    case 2: FensterModus = true; break;
    case 3: SoundAn = !SoundAn; break;
    case 4: VoodooModus = !VoodooModus; break;
    case 5: Sprache = "D"; break;
    case 6: Sprache = "E"; break;
    case 7: Unload(); return;
    case 8:
      OKGeklickt = true;
      Unload();
      // The game window takes over, the end of the session with it.
      platform::SetEndSessionWindow(Form1);
      platform::SetTimer(Form1, kStartTimer, 1);
      return;
    case 9: Farbtiefe = 48 - Farbtiefe; break;
    case 10:
      if (!VideoAn) {
        VideoAn = true;
        VideoKlein = false;
      } else if (VideoKlein) {
        VideoAn = false;
      } else {
        VideoKlein = true;
      }
      break;
    default: return;
  }
  Aufbau();
}

void Form_KeyPress(int16_t& KeyAscii) {
  switch (KeyAscii) {
    case 13:
    case 32: Label_Click(8); break;
    case 27: Label_Click(7); break;
    case 'f': Label_Click(1); break;
    case 'w': Label_Click(2); break;
    case 's': Label_Click(3); break;
    case 'o': Label_Click(4); break;
    case 'd': Label_Click(5); break;
    case 'e': Label_Click(6); break;
    case 'c': Label_Click(9); break;
    case 'v':
      // Without the video archive the option stays off and hidden.
      if (Label[10].Visible) Label_Click(10);
      break;
    default: break;
  }
  KeyAscii = 0;
}

void Form_MouseDown(int16_t, int16_t, float X, float Y) {
  Verschieben = true;
  StartX = X;
  StartY = Y;
}

void Form_MouseMove(int16_t, int16_t, float X, float Y) {
  if (!Verschieben || !hWnd) return;
  const platform::Rect r = platform::GetWindowRect(hWnd);
  platform::MoveWindow(hWnd, r.Left + CLng(X - StartX), r.Top + CLng(Y - StartY), r.Right - r.Left,
                       r.Bottom - r.Top);
}

void Form_MouseUp(int16_t, int16_t, float, float) { Verschieben = false; }

void Form_Unload(int16_t&) {
  if (OKGeklickt) return;
  // Cancel or any other close: the program ends here, nothing is saved.
  Schliessen();
  EndProcess(0);
}

void Unload() {
  if (!hWnd) return;
  int16_t cancel = 0;
  Form_Unload(cancel);
  if (cancel) return;
  Schliessen();
}

// The window grows from its centre while its corners go from fully round to the final
// rounding; the window's messages are handed out meanwhile.
void Form_Activate() {
  if (!hWnd) return;
  const platform::Rect r = platform::GetWindowRect(hWnd);
  const int32_t W = r.Right - r.Left, H = r.Bottom - r.Top;
  const int64_t start = GetTickCount();
  int64_t elapsed = 0;
  do {
    const double t = static_cast<double>(elapsed) / kAnimationMs;
    const int32_t eckeB = CLng((1 - t) * (W - 30) + 30), eckeH = CLng((1 - t) * (H - 50) + 50);
    const int32_t w = CLng(W * t), h = CLng(H * t);
    Region(W / 2 - w / 2, H / 2 - h / 2, W / 2 + w / 2, H / 2 + h / 2, eckeB, eckeH);
    platform::Msg m;
    while (hWnd && platform::PeekMessage(m)) {
      platform::TranslateMessage(m);
      platform::DispatchMessage(m);
    }
    if (!hWnd) return;  // closed meanwhile
    platform::IdleUntil(static_cast<uint64_t>(start + kAnimationMs + 1));
    elapsed = GetTickCount() - start;
  } while (elapsed <= kAnimationMs);
  Region(0, 0, W, H, 30, 50);
}

void Timer1_Timer() {
  if (!Image1 || !Picture1) return;
  const int32_t w = Picture1->Width(), h = Picture1->Height();
  if (Zeile >= 0) {
    const platform::Rect zeile{0, Zeile, w, Zeile + 1};
    Picture1->BltFast(0, Zeile, *Image1, &zeile, platform::DDBLTFAST_NOCOLORKEY);
  }
  ++Zeile;
  if (Zeile >= h) Zeile = -50;
  if (Zeile >= 0) {
    const platform::Rect zeile{0, Zeile, w - 4, Zeile + 1};
    Picture1->BltFast(3, Zeile, *Image1, &zeile, platform::DDBLTFAST_NOCOLORKEY);
  }
  Zeigen();
}

}  // namespace Form2
