#include "world/loading_screen.hpp"

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "engine/text.hpp"
#include "platform/bmp.hpp"
#include "platform/device3d.hpp"
#include "platform/text.hpp"
#include "platform/window.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/level_loading.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kWeiss = 0xFFFFFF;

bool Russisch() { return Sprache == "R"; }

// The back buffer every frame is drawn on; without a display there is none to draw on.
platform::Surface& Schirm() {
  if (!BackBuffer) throw DXError(platform::DDERR_INVALIDOBJECT);
  return *BackBuffer;
}

// The frame goes to the screen; a display that is gone is the loader's to handle.
void Zeigen(int32_t ms) {
  if (!FrameEnde(ms)) throw DXError(DDERR_SURFACELOST);
}

// A scene the device reports as not begun leaves the rest of that drawing out.
template <class F>
void InSzene(F&& zeichnen) {
  try {
    RenderStart();
    zeichnen();
    RenderEnd();
  } catch (const Err& e) {
    if (e.Nummer != platform::D3DERR_SCENE_NOT_IN_SCENE) throw;
  }
}

// Text in the "System" font on the back buffer, `farbe` a GDI colour (0x00BBGGRR).
void Schrift(const std::string& text, int32_t x, int32_t y, int16_t hoehe, int32_t farbe) {
  DXCheck(platform::GetDC(Schirm(), TextDC));
  GdiSetFont(TextDC, "System", hoehe);
  GdiTextOut(text, static_cast<int16_t>(x), static_cast<int16_t>(y), TextDC, farbe, 0, false);
  GdiDeleteFont(TextDC);
  platform::ReleaseDC(Schirm(), TextDC);
  TextDC = 0;
}

// The percentage of `p`, as the progress frames show it.
std::string Prozent(float p) { return std::to_string(static_cast<int32_t>(Int(p * 100.0f))) + "%"; }

platform::SurfacePtr LeeresBild() {
  platform::SurfacePtr s = platform::Surface::Create(kMosaikBreite, kMosaikHoehe, AnzeigeFormat());
  if (!s) throw DXError(platform::DDERR_OUTOFMEMORY);
  return s;
}

// `quelle` stretched over the whole back buffer.
void KopiereAufSchirm(platform::Surface& quelle) {
  DXCheck(Schirm().Blt(&VollbildRect, &quelle, nullptr, platform::DDBLT_WAIT));
}

// The dark veil over the whole screen and the blue band with a white band inside it.
void SchleierUndBalken() {
  SetUpColor(TexWeiss, 0, 0, 0.05f, 0.9f);
  ShowSpriteRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe, true);
  SetUpColor(TexBalken, 0.2f, 0.2f, 1, 1);
  SetUpRect(TexBalken, 0, 110, 800, 280);
  Render(TexBalken, false);
  SetUpColor(TexBalken, 1, 1, 1, 1);
  SetUpRect(TexBalken, 0, 150, 800, 240);
  Render(TexBalken, false);
}

void Logo() { ShowSprite(TexLogo, 200, 120, false); }

// The glowing panel behind the percentage: it narrows and its white core grows and
// fades as the level loads.
void Panel(float p) {
  SetUpColor(TexKreis2, 0.2f * p, 0.2f * p, 1, 0.5f);
  SetUpRect(TexKreis2, 150, 330, 650, 510);
  Render(TexKreis2, false);
  const float v = static_cast<float>(CLng(60 - 30 * p));
  SetUpColor(TexKreis2, 0.2f * p + 0.4f, 0.5f, 1, 1);
  SetUpRect(TexKreis2, 180, 330 + v, 620, 510 - v);
  Render(TexKreis2, false);
  const float u = static_cast<float>(CLng(90 * p));
  SetUpColor(TexKreis2, 1, 1, 1, 0.9f - 0.9f * p);
  SetUpRect(TexKreis2, 330 - 1.5f * u, 420 - u, 470 + 1.5f * u, 420 + u);
  Render(TexKreis2, false);
}

// The bar that grows from left to right, in a thin white frame.
void Balken(float p) {
  Linie(290, 480, 290 + 220 * p, 480, 6, 0, 0, 0, 1, 0.537f, 0.745f, 1, 1, false);
  auto weiss = [](float x1, float y1, float x2, float y2) { Linie(x1, y1, x2, y2, 0.5f, 1, 1, 1, 1, 1, 1, 1, 1, false); };
  weiss(290, 476, 510, 476);
  weiss(290, 484, 510, 484);
  weiss(290, 476, 290, 484);
  weiss(510, 476, 510, 484);
}

}  // namespace

platform::SurfacePtr Ladebildschirm::LadeMosaik() {
  const std::string datei = DatenOrdner + kMosaikDatei;
  platform::SurfacePtr bild = platform::LoadBmp(datei, AnzeigeFormat());
  if (bild && bild->Width() == kMosaikBreite && bild->Height() == kMosaikHoehe) return bild;
  // Missing, or no 800 x 600 picture: a blank mosaic starts, as the game loop would
  // start one. A folder that cannot be written keeps it in memory only.
  bild = LeeresBild();
  if (!platform::SaveBmp24(datei, *bild)) DebugLogWennAn("Loadingscreen.bmp konnte nicht geschrieben werden");
  return bild;
}

void Ladebildschirm::Zeige(const std::string& Loadingscreen) {
  mitBild_ = !Loadingscreen.empty();
  grund_ = LeeresBild();
  if (mitBild_) {
    if (!EinfacherName(Loadingscreen)) throw err::FalscherDateiname();
    const std::string ordner = Depack("Loading.vkp$" + Loadingscreen + ">", AppPfad, false);
    int32_t fehler = platform::DDERR_NOTFOUND;
    platform::SurfacePtr bild = platform::LoadBmp(ordner + Loadingscreen, AnzeigeFormat(), &fehler);
    KillDir(ordner);
    if (!bild) throw DXError(fehler);
    DXCheck(grund_->Blt(nullptr, bild.get(), nullptr, platform::DDBLT_WAIT));
    DXCheck(Schirm().BltFast(0, 0, *grund_, nullptr, platform::DDBLTFAST_WAIT));
  } else {
    platform::SurfacePtr mosaik = LadeMosaik();
    MyDoEvents();
    KopiereAufSchirm(*mosaik);
    InSzene([] {
      SchleierUndBalken();
      Logo();
    });
    // The finished first frame is the ground of every progress frame.
    DXCheck(grund_->BltFast(0, 0, Schirm(), nullptr, platform::DDBLTFAST_WAIT));
  }
  Zeigen(0);
}

void Ladebildschirm::Fortschritt(float p) {
  if (!grund_) return;
  DXCheck(Schirm().BltFast(0, 0, *grund_, nullptr, platform::DDBLTFAST_WAIT));
  const std::string prozent = Prozent(p);
  const int32_t laenge = static_cast<int32_t>(prozent.size());
  if (mitBild_) {
    InSzene([p] {
      SchleierUndBalken();
      Panel(p);
      Logo();
    });
    Schrift(prozent, CInt(395 - 5 * laenge), 405, 32, kWeiss);
  } else {
    InSzene([p] { Balken(p); });
    Schrift(prozent, 410 - 5 * laenge, 455, 16, kWeiss);
    if (Russisch())
      Schrift(Cyr("Загрузка"), 372, 490, 18, kWeiss);
    else
      Schrift("Loading", 376, 490, 18, kWeiss);
  }
  Zeigen(0);
}

void Ladebildschirm::WarteAufTaste() {
  if (!mitBild_ || !grund_) return;
  MyDoEvents();
  // The keys as they are now: a key still down from an earlier screen counts, one
  // released since does not.
  DInputPoll();
  int32_t k = 0;
  bool niedrig = false;
  while (!TasteEingabe(0) && !TasteEscape() && Spielstatus != 10) {
    DXCheck(Schirm().BltFast(0, 0, *grund_, nullptr, platform::DDBLTFAST_WAIT));
    if (++k >= 360) k = 0;
    const int32_t b = CLng(SinTab[static_cast<size_t>(k)] * 63 + 192);
    const int32_t grau = b | (b << 8) | (b << 16);
    if (Russisch())
      Schrift(Cyr("Нажмите любую клавишу, чтобы начать!"), 214, 470, 24, grau);
    else
      Schrift("Press any key to start!", 294, 470, 24, grau);
    Zeigen(16);
    // Without the input focus the keys belong to another window: no polling, and the
    // game steps back for it.
    if (platform::GetFocus() == FensterHandle) {
      if (niedrig) {
        niedrig = false;
        SetHighPriority();
      }
      DInputPoll();
    } else if (!niedrig) {
      niedrig = true;
      SetLowPriority();
    }
  }
  // A pause key that ended the wait must be up before the level starts, or the level
  // would pause at once.
  while (TasteEscape() && Spielstatus != 10) {
    Wait(16);
    DInputPoll();
  }
}

void Ladebildschirm::Freigeben() {
  grund_.reset();
  mitBild_ = false;
}
