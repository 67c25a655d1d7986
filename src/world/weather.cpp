// Raindrops, snow, haze and rain sheets.
#include "world/weather.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/picture_loading.hpp"
#include "world/pictures_state.hpp"

namespace {

bool Bild(int32_t Nr) { return Nr >= 0 && Nr <= SurfacesMax() && Surfaces[Nr].Surface; }

// ---- Raindrops -------------------------------------------------------------------------

// A drop anywhere over the play area (a new one), or just above the top edge (one that
// has fallen out or splashed), falling 8 to 10 pixels a tick and drifting by up to half
// a pixel.
void Neu(RegenTropfen& t, bool irgendwo) {
  t.X = static_cast<float>(Int(Rnd() * 800.0f) + 1);
  t.Y = irgendwo ? static_cast<float>(Int(Rnd() * 550.0f) + 1) : -15.0f;
  t.SX = static_cast<float>((Int(Rnd() * 3.0f) - 1) / 2);
  t.SY = static_cast<float>(Int(Rnd() * 3.0f) + 8);
}

// Ships are hit dead or alive: a wreck still stands in the rain.
bool TrifftSchiff(const RegenTropfen& t) {
  const int32_t letzter = std::min<int32_t>(LetzterSpieler, static_cast<int32_t>(Spieler.size()) - 1);
  for (int32_t p = 0; p <= letzter; ++p) {
    const SpielerDaten& v = Spieler[p];
    const SchiffDaten& b = Schiff[p];
    if (v.X + b.BoxRechts >= t.X && v.Y + b.BoxUnten > t.Y && v.X + b.BoxLinks < t.X + t.SX &&
        v.Y + b.BoxOben < t.Y + 15)
      return true;
  }
  return false;
}

// The drop ends 5 pixels above the water (or the bottom edge), on a ship, or on the solid
// scenery.
bool Platscht(const RegenTropfen& t) {
  if (t.Y > 545.0 - Wasserstand || TrifftSchiff(t)) return true;
  return CheckColisionWithLandschaft3(CLng(t.X), CLng(t.Y), CLng(t.X + t.SX), CLng(t.Y + 19), -1);
}

void Spritzen(const RegenTropfen& t) {
  if (HintergrundModus <= 0) return;
  for (int k = 0; k < 7; ++k)
    Add1Partikel(0, t.X + t.SX, t.Y + 9, static_cast<float>(Int(Rnd() * 3.0f) - 1), -2, 0.7f, 0.7f, 0.7f, 1, 5);
}

// A thin streak of the bar picture, 4 pixels wide and 19 long.
void Zeichnen(const RegenTropfen& t, int32_t farbe) {
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
  v[0].sx = t.X - 2, v[0].sy = t.Y + 19;
  v[1].sx = t.X - 2, v[1].sy = t.Y;
  v[2].sx = t.X + 2, v[2].sy = t.Y + 19;
  v[3].sx = t.X + 2, v[3].sy = t.Y;
  for (D3DTLVERTEX& e : v) e.color = farbe;
  Render(TexBalken, false);
}

// ---- The weather modes -----------------------------------------------------------------

constexpr int32_t kTeileJeLage = 20;

WetterTeil& Teil(int32_t lage, int32_t j) { return WetterTeile[static_cast<size_t>(3 * j + lage)]; }

// The three weather pictures from the game archive, each a quad over its own picture in
// white at alpha `A`; the unpack folder goes again at once.
void WetterBilder(const std::string& Auswahl, const std::array<const char*, 3>& Namen, float A) {
  const std::string ordner = Depack(Auswahl, AppPfad, false);
  for (size_t k = 0; k < Namen.size(); ++k) {
    TexWetter[k] = LadeBild(ordner, Namen[k], kQuad);
    SetUpEigen(TexWetter[k], A);
  }
  KillDir(ordner);
}

// Picture `Nr` with its top-left corner at (x, y), added to what is there.
void Hell(int32_t Nr, float x, float y) {
  if (!Bild(Nr)) return;
  SetUpXY(Nr, x, y);
  Render(Nr, true);
}

// Snow: three layers of 256-pixel tiles in a 5 x 4 grid, each falling and drifting left at
// its own pace (the nearest fastest) and swaying in the wind; a row that has fallen below
// the screen goes back above it.
void SchneeAnlegen() {
  if (TexWetter[0] == -1)
    WetterBilder("Spiel.vkp$Schnee1.bmp>Schnee2.bmp>Schnee3.bmp>", {"Schnee1.bmp", "Schnee2.bmp", "Schnee3.bmp"}, 0.8f);
  for (int32_t j = 0; j < kTeileJeLage; ++j)
    for (int32_t l = 0; l <= 2; ++l)
      Teil(l, j) = {static_cast<float>(j % 5 * 256), static_cast<float>(j / 5 * 256), static_cast<float>(l - 3),
                    5.5f - static_cast<float>(l)};
}

void SchneeSchritt(float wind) {
  for (int32_t k = 0; k < static_cast<int32_t>(WetterTeile.size()); ++k) {
    const int32_t j = k / 3, l = k % 3;
    WetterTeil& t = WetterTeile[static_cast<size_t>(k)];
    if (t.Y >= 768) t = {static_cast<float>(j % 5 * 256), t.Y - 1024, static_cast<float>(l - 3), 5.5f - l};
    t.X = t.X + t.SX - static_cast<float>(3 - l) * wind / 2;
    t.Y += t.SY;
    if (Rendern) Hell(TexWetter[static_cast<size_t>(l)], t.X, t.Y);
  }
}

// Haze: streaks of the fire picture blowing left at 5 to 15 pixels a tick, wider the
// further back; one that has left the screen comes in again on the right.
void Dunst(WetterTeil& t, float x) {
  t.X = x;
  t.Y = Rnd() * 600 - 50;
  t.SX = -5 - Rnd() * 10;
  t.SY = Rnd() - 0.5f;
}

void DunstAnlegen() {
  for (WetterTeil& t : WetterTeile) Dunst(t, Rnd() * 800);
}

void DunstSchritt(float) {
  const int32_t nr = TexFeuer[0];
  const bool zeichnen = Rendern && Bild(nr);
  if (zeichnen) SetUpColor(nr, 1, 1, 1, 0.3f);
  for (int32_t k = 0; k < static_cast<int32_t>(WetterTeile.size()); ++k) {
    const int32_t l = k % 3;
    WetterTeil& t = WetterTeile[static_cast<size_t>(k)];
    if (t.X < -300 - 20 * l) Dunst(t, 800);
    t.X += t.SX;
    t.Y += t.SY;
    if (zeichnen) ShowSpriteRect(nr, t.X, t.Y - 50, t.X + 300 + 50 * l, t.Y + 100, true);
  }
}

// Rain sheets: two layers of one rain tile, slanting down to the left, the nearer one
// faster and swaying in the wind; the rain sound loops under them.
void Vorhang(WetterTeil& t, int32_t l) {
  t.SX = static_cast<float>(4 * l - 7);
  t.SY = static_cast<float>(2 * l + 7);
}

void VorhangAnlegen() {
  if (TexWetter[0] == -1) WetterBilder("Spiel.vkp$Regen1.bmp>", {"Regen1.bmp", "Regen1.bmp", "Regen1.bmp"}, 0.4f);
  for (int32_t j = 0; j < kTeileJeLage; ++j)
    for (int32_t l = 0; l <= 1; ++l) {
      WetterTeil& t = Teil(l, j);
      t.X = static_cast<float>((j % 5 - l) * 256);
      t.Y = static_cast<float>(j / 5 * 256);
      Vorhang(t, l);
    }
}

// The status of the rain sound's first copy: 5 is playing in a loop.
bool RegenKlingt() {
  const SoundEntry& e = Sounds[static_cast<size_t>(SndRain)];
  return !e.Kopien.empty() && e.Kopien[0].GetStatus() == (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

void VorhangSchritt(float wind) {
  if (SoundAn && SndRain >= 0 && SndRain <= SoundsMax() && !RegenKlingt())
    PlaySound(SndRain, 1, std::nullopt, SoundLautstaerke);
  for (int32_t k = 0; k < static_cast<int32_t>(WetterTeile.size()); ++k) {
    const int32_t l = k % 3;
    if (l > 1) continue;
    WetterTeil& t = WetterTeile[static_cast<size_t>(k)];
    if (t.X < -256)
      t.X += 1280;
    else if (t.X >= 1024)
      t.X -= 1280;
    if (t.Y >= 768) {
      t.Y -= 1024;
      Vorhang(t, l);
    }
    t.X = t.X + t.SX - static_cast<float>(l) * wind;
    t.Y += t.SY;
    if (Rendern) Hell(TexWetter[static_cast<size_t>(l)], t.X, t.Y);
  }
}

struct Wetterart {
  void (*Anlegen)();            // places every particle (on `WetterInit`)
  void (*Schritt)(float wind);  // moves and draws them
};
// By `Wetter` - 1.
constexpr std::array<Wetterart, 3> kWetterarten = {{
    {SchneeAnlegen, SchneeSchritt},
    {DunstAnlegen, DunstSchritt},
    {VorhangAnlegen, VorhangSchritt},
}};

}  // namespace

void SpielRegen() {
  const Trefferdurchgang durchgang;  // every drop tests the scenery
  if (RegenAnzahl >= RegenTropfenGrenze) {
    Wetter = 3;
    return;
  }
  const int32_t farbe = GetRGBA(1, 1, 1, 0.2f);
  const bool zeichnen = Rendern && HintergrundModus >= 1 && Bild(TexBalken);
  const int32_t bis = std::min<int32_t>(RegenAnzahl, static_cast<int32_t>(Regentropfen.size()) - 1);
  for (int32_t i = 0; i <= bis; ++i) {
    RegenTropfen& t = Regentropfen[static_cast<size_t>(i)];
    if (t.X == 0 && t.Y <= 0) Neu(t, true);
    t.Y += t.SY;
    t.X += t.SX;
    if (t.X < 0 || t.X > 800 || t.Y > 550) {
      Neu(t, false);
    } else if (Platscht(t)) {
      Spritzen(t);
      Neu(t, false);
    } else if (zeichnen) {
      Zeichnen(t, farbe);
    }
  }
}

void SpielSchnee() {
  if (Wetter < 1 || HintergrundModus < 1) return;
  Windphase += Rnd() * 3;
  while (Windphase >= 360) Windphase -= 360;
  const float wind = SinusB(CLng(Windphase));
  if (Wetter > static_cast<int32_t>(kWetterarten.size())) return;
  const Wetterart& art = kWetterarten[static_cast<size_t>(Wetter - 1)];
  if (WetterInit) {
    art.Anlegen();
    WetterInit = false;
  }
  art.Schritt(wind);
}
