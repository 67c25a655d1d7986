#include "engine/dxerror_dialog.hpp"

#include <algorithm>
#include <vector>

#include "platform/codepage.hpp"
#include "platform/dialog.hpp"
#include "platform/surface.hpp"
#include "platform/text.hpp"

namespace {

using platform::HDC;
using platform::HGdiObj;
using platform::Surface;

struct Feld {
  int32_t x, y, w, h;
  bool Trifft(int32_t px, int32_t py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The controls in pixels (the form's twips divided by 15).
constexpr int32_t kBreite = kDXErrBreite / kTwipsProPixel;  // 415
constexpr int32_t kHoeheMax = (kDXErrHoeheDetails - kDXErrTitelleiste) / kTwipsProPixel;  // 238
constexpr Feld kTitel{0, 8, 417, 25};
constexpr Feld kErrorID{24, 56, 377, 25};
constexpr Feld kErrorCode{24, 80, 377, 17};
constexpr Feld kOkay{64, 120, 113, 25};
constexpr Feld kDetails{240, 120, 113, 25};
constexpr Feld kBeschreibung{24, 160, 129, 17};
constexpr Feld kKasten{24, 176, 369, 57};
constexpr int32_t kLinieLinks = 24, kLinieRechts = 395, kLinie1 = 48, kLinie2 = 104;

// Character heights of the form's fonts (points at 96 dots per inch).
constexpr int32_t kPunkt13_5 = -18, kPunkt12 = -16, kPunkt9_75 = -13, kPunkt8_25 = -11;

constexpr int kVkTab = 9, kVkReturn = 13, kVkEscape = 27, kVkSpace = 32, kVkPrior = 33, kVkNext = 34, kVkLeft = 37,
              kVkUp = 38, kVkRight = 39, kVkDown = 40;

platform::SurfacePtr g_bild;  // the client area as drawn

struct Farbe {
  uint32_t r, g, b;
};
constexpr Farbe kSchwarz{0, 0, 0}, kWeiss{255, 255, 255}, kDunkel{64, 64, 64}, kGrau{128, 128, 128},
    kFlaeche{212, 208, 200}, kTitelFarbe{128, 0, 0};

uint32_t ColorRef(Farbe f) { return f.r | (f.g << 8) | (f.b << 16); }

void Rechteck(Surface& s, int32_t x, int32_t y, int32_t w, int32_t h, Farbe f) {
  platform::Rect r{x, y, x + w, y + h};
  s.BltColorFill(&r, platform::PackPixel(s.Format(), f.r, f.g, f.b));
}

int32_t ClientHoehe() {
  return std::clamp((DXErrDispFRM.Height - kDXErrTitelleiste) / kTwipsProPixel, 1, kHoeheMax);
}

std::vector<std::string> Zeilen(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return out;
    start = end + 2;
  }
}

// The code page of a details line: the first is the description (ASCII, or Cyrillic in
// the advice for an invalid pixel format), the others are in the language's.
int CodePageDerZeile(size_t index) {
  return index == 0 ? platform::CodePageCyrillic : DXErrDispFRM.DetailsCodePage;
}

uint32_t CharsetOf(int codePage) {
  return codePage == platform::CodePageCyrillic ? platform::RUSSIAN_CHARSET : platform::ANSI_CHARSET;
}

HGdiObj Schrift(int32_t hoehe, bool fett, int codePage = platform::CodePageWestern) {
  return platform::CreateFont(hoehe, 0, 0, 0, fett ? platform::FW_BOLD : platform::FW_NORMAL, 0, 0, 0,
                              CharsetOf(codePage), 0, 0, 0, 0, "MS Sans Serif");
}

int32_t Breite(HDC dc, const std::string& text) {
  platform::TextSize size;
  platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(text.size()), size);
  return size.cx;
}

void Schreibe(HDC dc, HGdiObj font, const std::string& text, int32_t x, int32_t y, Farbe farbe) {
  HGdiObj vorher = platform::SelectObject(dc, font);
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, ColorRef(farbe));
  platform::TextOut(dc, x, y, text, static_cast<int32_t>(text.size()));
  platform::SelectObject(dc, vorher);
}

// Breaks a line into pieces no wider than `breite`, at blanks where it can.
std::vector<std::string> Umbrechen(HDC dc, const std::string& zeile, int32_t breite) {
  std::vector<std::string> out;
  std::string rest = zeile;
  while (Breite(dc, rest) > breite && rest.size() > 1) {
    size_t n = rest.size();
    while (n > 1 && Breite(dc, rest.substr(0, n)) > breite) --n;
    size_t blank = rest.rfind(' ', n);
    size_t schnitt = blank != std::string::npos && blank > 0 ? blank : n;
    out.push_back(rest.substr(0, schnitt));
    rest = rest.substr(schnitt);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  }
  out.push_back(rest);
  return out;
}

void Knopf(Surface& s, HDC dc, HGdiObj font, const Feld& f, const std::string& text, bool gedrueckt,
           bool fokus) {
  Rechteck(s, f.x, f.y, f.w, f.h, fokus ? kSchwarz : kDunkel);
  Feld innen{f.x + 1, f.y + 1, f.w - 2, f.h - 2};
  if (gedrueckt) {
    Rechteck(s, innen.x, innen.y, innen.w, innen.h, kGrau);
    Rechteck(s, innen.x + 1, innen.y + 1, innen.w - 1, innen.h - 1, kFlaeche);
  } else {
    Rechteck(s, innen.x, innen.y, innen.w, innen.h, kWeiss);
    Rechteck(s, innen.x + 1, innen.y + 1, innen.w - 1, innen.h - 1, kGrau);
    Rechteck(s, innen.x + 1, innen.y + 1, innen.w - 2, innen.h - 2, kFlaeche);
  }
  platform::TextSize size;
  platform::SelectObject(dc, font);
  platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(text.size()), size);
  const int32_t versatz = gedrueckt ? 1 : 0;
  Schreibe(dc, font, text, f.x + (f.w - size.cx) / 2 + versatz, f.y + (f.h - size.cy) / 2 + versatz, kSchwarz);
}

// The details box's text, wrapped: each piece with the code page of its line.
struct Stueck {
  std::string text;
  int codePage;
};

std::vector<Stueck> Umbruch(HDC dc, int32_t breite, int32_t& zeilenHoehe) {
  std::vector<Stueck> out;
  std::vector<std::string> zeilen = Zeilen(DXErrDispFRM.MSDescription);
  for (size_t i = 0; i < zeilen.size(); ++i) {
    const int cp = CodePageDerZeile(i);
    HGdiObj font = Schrift(kPunkt8_25, false, cp);
    HGdiObj vorher = platform::SelectObject(dc, font);
    platform::TextSize size;
    platform::GetTextExtentPoint32(dc, "Ag", 2, size);
    zeilenHoehe = std::max(1, size.cy);
    for (std::string& teil : Umbrechen(dc, zeilen[i], breite)) out.push_back({std::move(teil), cp});
    platform::SelectObject(dc, vorher);
    platform::DeleteObject(font);
  }
  return out;
}

// The scroll bar of the details box, inside its right edge: two arrow buttons and the
// track with its thumb between them.
constexpr int32_t kLeiste = 16;
Feld LeisteFeld() { return {kKasten.x + kKasten.w - 2 - kLeiste, kKasten.y + 2, kLeiste, kKasten.h - 4}; }

void Erhaben(Surface& s, const Feld& f) {
  Rechteck(s, f.x, f.y, f.w, f.h, kDunkel);
  Rechteck(s, f.x, f.y, f.w - 1, f.h - 1, kWeiss);
  Rechteck(s, f.x + 1, f.y + 1, f.w - 2, f.h - 2, kFlaeche);
}

void Pfeil(Surface& s, const Feld& f, bool hoch) {
  Erhaben(s, f);
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t y = hoch ? f.y + 6 + i : f.y + 9 - i;
    Rechteck(s, f.x + 7 - i, y, 2 * i + 1, 1, kSchwarz);
  }
}

void Leiste(Surface& s) {
  const auto& f = DXErrDispFRM;
  const Feld l = LeisteFeld();
  Rechteck(s, l.x, l.y, l.w, l.h, {236, 234, 230});
  Pfeil(s, {l.x, l.y, l.w, kLeiste}, true);
  Pfeil(s, {l.x, l.y + l.h - kLeiste, l.w, kLeiste}, false);
  const int32_t bahn = l.h - 2 * kLeiste;
  const int32_t daumen = std::max(6, bahn * f.ZeilenSichtbar / std::max(1, f.ZeilenGesamt));
  const int32_t weg = std::max(1, f.ZeilenGesamt - f.ZeilenSichtbar);
  const int32_t y = l.y + kLeiste + (bahn - daumen) * f.Rollen / weg;
  Erhaben(s, {l.x, y, l.w, daumen});
}

// The details box: white, sunken, the text wrapped to its width; a longer text scrolls.
void Kasten(Surface& s) {
  auto& f = DXErrDispFRM;
  const Feld& k = kKasten;
  Rechteck(s, k.x, k.y, k.w, k.h, kWeiss);
  Rechteck(s, k.x, k.y, k.w - 1, k.h - 1, kGrau);
  Rechteck(s, k.x + 1, k.y + 1, k.w - 2, k.h - 2, kFlaeche);
  Rechteck(s, k.x + 1, k.y + 1, k.w - 3, k.h - 3, kDunkel);
  platform::SurfacePtr innen = Surface::Create(k.w - 4, k.h - 4, s.Format());
  if (!innen) return;
  Rechteck(*innen, 0, 0, innen->Width(), innen->Height(), kWeiss);
  HDC dc = 0;
  if (platform::GetDC(*innen, dc) != platform::DD_OK) return;
  int32_t hoehe = 13;
  std::vector<Stueck> stuecke = Umbruch(dc, innen->Width() - 4, hoehe);
  f.ZeilenSichtbar = std::max(1, (innen->Height() - 1) / hoehe);
  const bool rollt = static_cast<int32_t>(stuecke.size()) > f.ZeilenSichtbar;
  if (rollt) stuecke = Umbruch(dc, innen->Width() - 4 - kLeiste, hoehe);
  f.ZeilenGesamt = static_cast<int32_t>(stuecke.size());
  f.Rollen = std::clamp(f.Rollen, 0, std::max(0, f.ZeilenGesamt - f.ZeilenSichtbar));
  for (int32_t i = f.Rollen, y = 1; i < f.ZeilenGesamt && y < innen->Height(); ++i, y += hoehe) {
    HGdiObj font = Schrift(kPunkt8_25, false, stuecke[i].codePage);
    Schreibe(dc, font, stuecke[i].text, 2, y, kSchwarz);
    platform::DeleteObject(font);
  }
  platform::ReleaseDC(*innen, dc);
  s.BltFast(k.x + 2, k.y + 2, *innen, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  if (rollt) Leiste(s);
}

// Scrolls the details box by `zeilen` lines.
void Rolle(int32_t zeilen);

// A click into the scroll bar: the arrows move a line, the track a page.
bool LeisteKlick(int32_t x, int32_t y) {
  const auto& f = DXErrDispFRM;
  const Feld l = LeisteFeld();
  if (f.ZeilenGesamt <= f.ZeilenSichtbar || !l.Trifft(x, y)) return false;
  const int32_t bahn = l.h - 2 * kLeiste;
  const int32_t weg = std::max(1, f.ZeilenGesamt - f.ZeilenSichtbar);
  const int32_t daumen = l.y + kLeiste + (bahn - std::max(6, bahn * f.ZeilenSichtbar / f.ZeilenGesamt)) * f.Rollen / weg;
  if (y < l.y + kLeiste) Rolle(-1);
  else if (y >= l.y + l.h - kLeiste) Rolle(1);
  else Rolle(y < daumen ? -f.ZeilenSichtbar : f.ZeilenSichtbar);
  return true;
}

void Zeichne() {
  if (!g_bild) g_bild = Surface::Create(kBreite, kHoeheMax, platform::PixelFormat::XRGB8888);
  if (!g_bild) return;
  Surface& s = *g_bild;
  // The background: a soft grey running a little darker and bluer downwards.
  for (int32_t y = 0; y < s.Height(); ++y) {
    const uint32_t t = static_cast<uint32_t>(y * 28 / s.Height());
    Rechteck(s, 0, y, s.Width(), 1, {236 - t, 236 - t, 240 - t / 2});
  }
  for (int32_t y : {kLinie1, kLinie2}) {
    Rechteck(s, kLinieLinks, y, kLinieRechts - kLinieLinks, 1, kGrau);
    Rechteck(s, kLinieLinks, y + 1, kLinieRechts - kLinieLinks, 1, kWeiss);
  }
  HDC dc = 0;
  if (platform::GetDC(s, dc) != platform::DD_OK) return;
  const HGdiObj titel = Schrift(kPunkt13_5, false), id = Schrift(kPunkt12, true),
                code = Schrift(kPunkt9_75, true), klein = Schrift(kPunkt8_25, false),
                kleinFett = Schrift(kPunkt8_25, true);
  const auto& f = DXErrDispFRM;
  platform::SelectObject(dc, titel);
  Schreibe(dc, titel, f.DirectX7Err, kTitel.x + (kBreite - Breite(dc, f.DirectX7Err)) / 2, kTitel.y, kTitelFarbe);
  Schreibe(dc, id, f.ErrorID, kErrorID.x, kErrorID.y, kSchwarz);
  Schreibe(dc, code, f.ErrorCode, kErrorCode.x, kErrorCode.y, kSchwarz);
  Knopf(s, dc, klein, kOkay, f.OkayBTN, f.Gedrueckt == 1, f.Fokus == 1);
  Knopf(s, dc, klein, kDetails, f.DetailsBTN, f.Gedrueckt == 2, f.Fokus == 2);
  Schreibe(dc, kleinFett, f.DXErrorDesc, kBeschreibung.x, kBeschreibung.y, kSchwarz);
  platform::SelectObject(dc, platform::GetStockSystemFont());
  for (HGdiObj font : {titel, id, code, klein, kleinFett}) platform::DeleteObject(font);
  platform::ReleaseDC(s, dc);
  Kasten(s);
}

void Zeige() {
  if (!DXErrDispFRM.Fenster || !g_bild) return;
  platform::PresentFrame(DXErrDispFRM.Fenster,
                         {g_bild->Row(0), g_bild->Width(), ClientHoehe(), g_bild->Pitch(), 32});
}

void Neu() {
  Zeichne();
  Zeige();
}

void Rolle(int32_t zeilen) {
  auto& f = DXErrDispFRM;
  const int32_t neu = std::clamp(f.Rollen + zeilen, 0, std::max(0, f.ZeilenGesamt - f.ZeilenSichtbar));
  if (neu == f.Rollen) return;
  f.Rollen = neu;
  Neu();
}

void Groesse() {
  if (!DXErrDispFRM.Fenster) return;
  platform::Rect r = platform::GetWindowRect(DXErrDispFRM.Fenster);
  platform::MoveWindow(DXErrDispFRM.Fenster, r.Left, r.Top, kBreite, ClientHoehe());
}

int KnopfBei(intptr_t lParam) {
  const int32_t x = static_cast<int16_t>(lParam & 0xFFFF), y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
  if (kOkay.Trifft(x, y)) return 1;
  if (kDetails.Trifft(x, y)) return 2;
  return 0;
}

void Druecke(int knopf) {
  if (knopf == 1) DXErrDispFRM_OkayBTN_Click();
  if (knopf == 2) DXErrDispFRM_DetailsBTN_Click();
}

intptr_t DialogProc(platform::HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  auto& f = DXErrDispFRM;
  switch (msg) {
    case platform::wm::Paint: Zeige(); return 0;
    case platform::wm::LButtonDown:
      if (ClientHoehe() > kKasten.y &&
          LeisteKlick(static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF)))
        return 0;
      f.Gedrueckt = KnopfBei(lParam);
      if (f.Gedrueckt) f.Fokus = f.Gedrueckt;
      Neu();
      return 0;
    case platform::wm::LButtonUp: {
      const int knopf = f.Gedrueckt != 0 && KnopfBei(lParam) == f.Gedrueckt ? f.Gedrueckt : 0;
      f.Gedrueckt = 0;
      Neu();
      Druecke(knopf);
      return 0;
    }
    case platform::wm::KeyDown:
      if (wParam == kVkReturn || wParam == kVkSpace) Druecke(f.Fokus);
      if (wParam == kVkTab || wParam == kVkLeft || wParam == kVkRight) {
        f.Fokus = 3 - f.Fokus;
        Neu();
      }
      if (wParam == kVkEscape) platform::PostMessage(hwnd, platform::wm::Close, 0, 0);
      if (wParam == kVkUp || wParam == kVkDown) Rolle(wParam == kVkUp ? -1 : 1);
      if (wParam == kVkPrior || wParam == kVkNext) Rolle(wParam == kVkPrior ? -f.ZeilenSichtbar : f.ZeilenSichtbar);
      return 0;
    case platform::wm::Destroy:
      // Closed, not hidden: the next use makes the form anew.
      f.Fenster = 0;
      f.Geladen = false;
      f.Sichtbar = false;
      return 0;
    default: return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// What a window shows, as text for where no window can show it.
platform::DialogReport Bericht() {
  const auto& f = DXErrDispFRM;
  std::string details;
  std::vector<std::string> zeilen = Zeilen(f.MSDescription);
  for (size_t i = 0; i < zeilen.size(); ++i)
    details += (i ? "\n" : "") + platform::CodePageToUtf8(zeilen[i], CodePageDerZeile(i));
  return {f.Caption,
          {{"", f.DirectX7Err}, {"Error ID:", f.ErrorID}, {"Error Code:", f.ErrorCode}, {"Description:", details}}};
}

// Input that belongs to another window while the dialog is up: a modal dialog takes it.
bool AndereEingabe(const platform::Msg& m) {
  if (m.hwnd == DXErrDispFRM.Fenster) return false;
  switch (m.message) {
    case platform::wm::KeyDown:
    case platform::wm::KeyUp:
    case platform::wm::Char:
    case platform::wm::SysKeyDown:
    case platform::wm::SysKeyUp:
    case platform::wm::LButtonDown:
    case platform::wm::LButtonUp:
    case platform::wm::RButtonDown:
    case platform::wm::RButtonUp:
    case platform::wm::MButtonDown:
    case platform::wm::MButtonUp:
    case platform::wm::MouseMove:
    case platform::wm::Close: return true;
    default: return false;
  }
}

}  // namespace

void DXErrDispFRM_Load() {
  auto& f = DXErrDispFRM;
  if (f.Geladen) return;
  const platform::HWnd fenster = f.Fenster;
  f = DXErrDispForm();
  f.Fenster = fenster;
  f.Geladen = true;
}

void DXErrDispFRM_DetailsBTN_Click() {
  auto& f = DXErrDispFRM;
  if (f.DetailsBTN == "Details >>") {
    f.DetailsBTN = "No Details <<";
    f.Height = kDXErrHoeheDetails;
  } else {
    f.DetailsBTN = "Details >>";
    f.Height = kDXErrHoeheOhne;
  }
  Groesse();
  Neu();
}

void DXErrDispFRM_OkayBTN_Click() {
  DXErrDispFRM.Sichtbar = false;
  if (DXErrDispFRM.Fenster) platform::ShowWindow(DXErrDispFRM.Fenster, platform::sw::Hide);
}

void DXErrDispFRM_ShowModal() {
  DXErrDispFRM_Load();
  auto& f = DXErrDispFRM;
  const platform::DialogReport bericht = Bericht();
  if (!platform::AnnounceDialog(bericht)) return;
  if (!f.Fenster || !platform::IsWindow(f.Fenster)) {
    platform::WindowDesc desc;
    desc.caption = f.Caption;
    desc.width = kBreite;
    desc.height = ClientHoehe();
    desc.topmost = true;
    f.Fenster = platform::CreateWindow(desc, DialogProc);
  }
  if (!platform::WindowHasDisplay(f.Fenster)) {
    platform::ReportDialogOnStderr(bericht);
    platform::DestroyWindow(f.Fenster);
    return;
  }
  Groesse();
  f.Sichtbar = true;
  f.Gedrueckt = 0;
  f.Rollen = 0;
  platform::ShowWindow(f.Fenster, platform::sw::Show);
  Neu();
  while (f.Sichtbar && f.Fenster && platform::IsWindow(f.Fenster)) {
    platform::Msg m;
    if (!platform::PeekMessage(m)) {
      platform::WaitMessage();
      continue;
    }
    if (AndereEingabe(m)) continue;
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
  }
  f.Sichtbar = false;
}
