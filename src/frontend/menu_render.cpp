// The two page renderers of the menu and the on/off word of the option pages.
#include <algorithm>
#include <array>

#include "engine/display.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/text.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "platform/text.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

// GDI colours (0x00BBGGRR) of the 16-colour text-mode palette that the text pages use.
constexpr int32_t kHellgrau = 0xC0C0C0;  // 7: a selectable line
constexpr int32_t kDunkelgrau = 0x808080;  // 8: a title or display-only line
constexpr int32_t kGelb = 0x00FFFF;      // 14: the selected line while it blinks
constexpr int32_t kWeiss = 0xFFFFFF;     // 15: the selected line
constexpr int32_t kSchwarz = 0;

// The palette colour of a line's colour code: code + 8 for every copy of a line, code +
// 16 (+ -1 while blinking) for the top copy of the selected one. The pages use the codes
// 0 and -1 only; any other code, and a selected line that is not selectable, is drawn as
// a display-only line rather than in a colour nobody chose.
int32_t Zeilenfarbe(int32_t code, bool oben, bool gewaehlt, bool blink) {
  if (code == -1) {
    if (oben && gewaehlt) return blink ? kGelb : kWeiss;
    return kHellgrau;
  }
  return kDunkelgrau;
}

// The next selectable line from `von` in direction `schritt`, wrapping at both ends of
// 0..`letzte`; at most `letzte` + 1 lines are looked at, and without a selectable one the
// selection stays.
int16_t NaechsteZeile(const TextMenu& m, int32_t von, int32_t letzte, int32_t schritt) {
  int32_t a = von;
  for (int32_t n = 0; n <= letzte; ++n) {
    a += schritt;
    if (a > letzte || a < 0) a = schritt > 0 ? 0 : letzte;
    if (m.Farbe[static_cast<size_t>(a)] != 0) return static_cast<int16_t>(a);
  }
  return static_cast<int16_t>(von);
}

// A step of a wavy line: a 3 x 3 dot of the circle picture at (x + d, y + i), and the
// rare sparkle there.
void Wellenpunkt(float x, float y, int32_t d, int32_t i, bool zeichnen) {
  const double px = static_cast<double>(x) + d;
  const double py = static_cast<double>(y) + i;
  if (zeichnen) {
    SetUpRect(TexKreis2, static_cast<float>(px - 1), static_cast<float>(py), static_cast<float>(px + 2),
              static_cast<float>(py + 3));
    Render(TexKreis2, false);
  }
  if (Rnd() < 0.00005) AddPartikel(0, 10, CLng(px), CLng(py), CLng(px), CLng(py), false);
}

// The two wavy lines down the column: red with a gap level with each button, white
// without gaps.
void Wellenlinien(float x, float y) {
  const int32_t ende = MenuLetzter * 67 + 149;
  SetUpColor(TexKreis2, 1, 0, 0, 1);
  int32_t d = 0;
  for (int32_t i = 67; i <= ende; i += 2) {
    const int32_t lage = Mod(i - 66, 67);
    const bool luecke = lage >= 30 && lage <= 50;
    if (!luecke) d = CLng(SinusB((i + MenuLetzter * 42) * 2) * 25.0f + 90.0f);
    Wellenpunkt(x, y, d, i, !luecke);
  }
  SetUpColor(TexKreis2, 1, 1, 1, 1);
  for (int32_t i = 67; i <= ende; i += 2) {
    const int32_t r = CLng((i + MenuLetzter * 100 + 10) * 2.2);
    Wellenpunkt(x, y, CLng(SinusB(r) * 25.0f + 90.0f), i, true);
  }
}

// The lights and buttons of the entries (the selected button slides out to 30 pixels,
// the others back at 3 a frame) and the two end bars, as keyed blits.
void Knoepfe(float x, float y) {
  for (int32_t e = 0; e <= MenuLetzter; ++e) {
    float& versatz = MenuVersatz[static_cast<size_t>(e)];
    if (e != MenuAuswahl) {
      versatz -= 3;
      if (versatz < 0) versatz = 0;
    } else {
      versatz += (30 - versatz) / 3;
    }
    ShowSprite(TexMenuLight[e == MenuAuswahl ? 1 : 0], CLng(x + 50.0), CLng(static_cast<double>(y) + 66 + 67 * e),
               false);
    ShowSprite(TexMenuButton, CLng(static_cast<double>(x) + 136 + versatz),
               CLng(static_cast<double>(y) + 83 + 67 * e), false);
  }
  ShowSprite(TexMenuTop, CLng(x), CLng(y), false);
  ShowSprite(TexMenuBottom, CLng(x + 57.0), CLng(static_cast<double>(y) + 68 + 67 * (MenuLetzter + 1)), false);
}

void Spaltentexte(float x, float y) {
  const BackBufferSchrift s("Arial", 36);
  s.Text(MenuText[0], x + 75.0, y + 10.0, kDunkelgrau);
  s.Text(MenuText[0], x + 76.0, y + 11.0, kSchwarz);
  for (int32_t e = 0; e <= MenuLetzter; ++e) {
    const std::string& text = MenuText[static_cast<size_t>(e + 1)];
    const double v = MenuVersatz[static_cast<size_t>(e)];
    s.Text(text, x + 164.0 + v, y + 89.0 + 67 * e, kDunkelgrau);
    s.Text(text, x + 165.0 + v, y + 90.0 + 67 * e, kSchwarz);
  }
}

}  // namespace

void ShowTextMenu(TextMenu& Menu, bool KeyLook, bool Blink) {
  // A damaged record must not reach past its 27 lines.
  const int32_t letzte = std::clamp<int32_t>(Menu.Letzte, 0, kTextMenuZeilen - 1);
  {
    const BackBufferSchrift s("Arial", 24);
    for (int32_t i = 0; i <= letzte; ++i) {
      const std::string& text = Menu.Zeile[static_cast<size_t>(i)];
      if (text.empty()) continue;
      const int32_t code = Menu.Farbe[static_cast<size_t>(i)];
      const double y = Menu.Y + 20.0 * i;
      s.Text(text, Menu.X, y, Zeilenfarbe(code, false, false, Blink));
      s.Text(text, Menu.X + 1.0, y + 1, Zeilenfarbe(code, true, i == Menu.Auswahl, Blink));
    }
  }
  RenderStart();
  if (KeyLook || !MenuFokus()) return;
  if (MenuFlanke(TasteRunter(0), ::Menu.TextRiegel.Runter)) Menu.Auswahl = NaechsteZeile(Menu, Menu.Auswahl, letzte, 1);
  if (MenuFlanke(TasteHoch(0), ::Menu.TextRiegel.Hoch)) Menu.Auswahl = NaechsteZeile(Menu, Menu.Auswahl, letzte, -1);
}

void ShowMenu(float x, float y, bool KeyLook) {
  MenuLetzter = std::clamp<int32_t>(MenuLetzter, 0, kMenuEintraegeMax - 1);
  Filtern = true;
  Wellenlinien(x, y);
  Filtern = false;
  MovePartikel(0);
  Knoepfe(x, y);
  Spaltentexte(x, y);
  RenderStart();
  if (KeyLook || !MenuFokus()) return;
  Tastenriegel& riegel = Menu.SpaltenRiegel;
  if (MenuFlanke(TasteRunter(0), riegel.Runter) && ++MenuAuswahl > MenuLetzter) MenuAuswahl = 0;
  if (MenuFlanke(TasteHoch(0), riegel.Hoch) && --MenuAuswahl < 0) MenuAuswahl = MenuLetzter;
}

std::string OnOff(bool B) {
  if (Sprache == "D") return B ? "Ein" : "Aus";
  if (Sprache == "E") return B ? "On" : "Off";
  if (Sprache == "R") return B ? Cyr("Вкл.") : Cyr("Выкл.");
  return "";
}
