#include "frontend/hidden_show.hpp"

#include <algorithm>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "frontend/effects.hpp"
#include "frontend/menu_page_parts.hpp"
#include "platform/device3d.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/background.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/standard_pictures.hpp"
#include "world/weather_state.hpp"

// The game's name, letter by letter three dots wide, 54 dots in all.
const std::array<const char*, 5> kShowWort = {
    " . . ... ..  . . ...",
    " . . . . . . . . . .",
    " ... ... ..  . . . .",
    " . . . . . . . . . .",
    " . . . . . .  .  ...",
};
// 24 dots.
const std::array<const char*, 5> kShowHerz = {" ..  ..", "........", " ......", "  ....", "   .."};

namespace {

constexpr int32_t kBildzeit = 18;
constexpr int32_t kEinblenden = 100;  // frames of the fade-in from black
constexpr int32_t kHerz = 400;        // the frame the dots regroup
constexpr int32_t kFunken = 600;      // sparks fall after this frame
constexpr int32_t kText = 750;        // the text fades in after this frame
constexpr int32_t kTextHell = 128;    // its grey at the brightest

// The dot at (`spalte`, `zeile`) of a row picture: a dot there.
bool Punkt(const std::string& zeile, size_t spalte) { return zeile.size() >= spalte && zeile[spalte - 1] == '.'; }

// The dots of the word, scattered over and around the screen.
void WortAufstellen(HiddenShow& s) {
  s.Punkte.clear();
  s.Letzter = -1;
  for (size_t zeile = 0; zeile < kShowWort.size(); ++zeile) {
    const std::string z = kShowWort[zeile];
    for (size_t spalte = 1; spalte <= z.size(); ++spalte) {
      if (!Punkt(z, spalte)) continue;
      ShowPunkt p;
      p.tx = static_cast<float>(10 + 32 * spalte);
      p.ty = static_cast<float>(180 + 32 * zeile);
      p.x = 1032 * Rnd() - 132;
      p.y = 832 * Rnd() - 132;
      s.Punkte.push_back(p);
      s.Letzter = static_cast<int32_t>(s.Punkte.size()) - 1;
    }
  }
  for (size_t i = 0; i < s.Zeilen.size(); ++i) s.Zeilen[i] = kShowHerz[i];
}

// The first dots take the places of the heart, column by column; the rest rest unseen.
void Herz(HiddenShow& s) {
  s.Letzter = -1;
  for (size_t spalte = 1; spalte <= 20; ++spalte)
    for (size_t zeile = 0; zeile < s.Zeilen.size(); ++zeile) {
      if (!Punkt(s.Zeilen[zeile], spalte)) continue;
      // There are never fewer dots than the heart has places; a place more is left out.
      if (s.Letzter + 1 >= static_cast<int32_t>(s.Punkte.size())) return;
      ShowPunkt& p = s.Punkte[static_cast<size_t>(++s.Letzter)];
      p.tx = static_cast<float>(300 + 16 * spalte);
      p.ty = static_cast<float>(250 + 16 * zeile);
    }
}

void Funke() {
  float r[5];
  for (float& z : r) z = Rnd();
  Add1BigPartikel(336, -128, 8 * r[0] - 4, 10 * r[1] + 5, 1, 0.5f * r[2] + 0.5f, 0.2f * r[3], 128, 0, 50, 14,
                  20 * r[4] - 15);
}

void Schwarz(float alpha) {
  SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
  SetUpColor(TexWeiss, 0, 0, 0, alpha);
  Render(TexWeiss, false);
}

// Each dot springs toward its goal, overshoots, settles and keeps a small circling wobble.
void Bewegen(HiddenShow& s, int32_t t) {
  for (int32_t i = 0; i <= s.Letzter; ++i) {
    ShowPunkt& p = s.Punkte[static_cast<size_t>(i)];
    p.vx = p.vx + (p.tx - p.x) / 10;
    p.vy = p.vy + (p.ty - p.y) / 8;
    p.x = p.x + p.vx + SinusB((t + i) * 10);
    p.y = p.y + p.vy + CosinusB((t + i) * 10);
    p.vx = p.vx * 0.95f;
    p.vy = p.vy * 0.95f;
  }
}

void Zeichnen(const HiddenShow& s, int32_t bild, float r, float g, float b, float a) {
  SetUpColor(bild, r, g, b, a);
  for (int32_t i = 0; i <= s.Letzter; ++i) {
    const ShowPunkt& p = s.Punkte[static_cast<size_t>(i)];
    SetUpRect(bild, p.x, p.y, p.x + 64, p.y + 64);
    Render(bild, true);
  }
}

// The line brightening from black to middle grey, over a black shadow.
void Text(int32_t t) {
  const int32_t c = std::min(t - kText, kTextHell);
  {
    const BackBufferSchrift schrift("Arial", 28);
    const std::string text = "Es tut mir leid...";
    schrift.Text(text, 600, 565, 0);
    schrift.Text(text, 602, 567, 0);
    schrift.Text(text, 601, 566, c | c << 8 | c << 16);
  }
  RenderStart();
}

void SzeneBeenden() {
  if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
}

}  // namespace

void ShowAufbauen(HiddenShow& s) {
  FadeOut(0, false);
  LoadStandartSurfaces();
  LevelTick = 0;
  WortAufstellen(s);
  HintergrundModus = 4;
  HintergrundInit = true;  // the background's points are set up afresh
  LevelTick = 0;
  Wait(1000);
  LevelTick = 0;
}

void ShowBild(HiddenShow& s) {
  DInputPoll();
  const int32_t t = ++LevelTick;
  if (t == kHerz) Herz(s);
  if (t > kFunken) Funke();
  RenderStart();
  SpielMoveHintergrund();
  if (t < kEinblenden) Schwarz(static_cast<float>(kEinblenden - t) / kEinblenden);
  Bewegen(s, t);
  Zeichnen(s, TexKreis2, 1, 0.2f, 0.1f, 0.7f);
  Zeichnen(s, TexGlitzer, 1, 1, 1, 0.2f);
  if (t > kText) Text(t);
  MovePartikel(1);
  MoveBigPartikel();
  RenderEnd();
  FrameEnde(kBildzeit);
}

bool ShowLaeuft() { return !KeyState[1] && Spielstatus == 0; }

void Justanothereffect() {
  HiddenShow s;
  ShowAufbauen(s);
  while (ShowLaeuft()) {
    try {
      ShowBild(s);
    } catch (const Err& e) {
      // A scene that was not begun only loses that frame; anything else ends the show,
      // which the program's end follows anyway.
      SzeneBeenden();
      if (e.Nummer != platform::D3DERR_SCENE_NOT_IN_SCENE) {
        DebugLogWennAn("Justanothereffect: " + std::to_string(e.Nummer) + " - " + e.Beschreibung);
        break;
      }
    }
  }
  FadeOut(0, false);
}
