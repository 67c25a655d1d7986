// The special events: the dispatch, the sequences that fly the ships themselves (fly-in,
// engines, jump to the end, burning) and the key prompt. The screen effects are in
// special_effects.cpp.
#include "campaign/special_events.hpp"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "campaign/checkpoints.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/ticker.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/text.hpp"
#include "frontend/effects_state.hpp"
#include "player/nova_state.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/effect_particles.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

// ---- Particles of the ships' engines ---------------------------------------------------

// A value `Basis` + Rnd * `Spanne`; a random number is drawn only where there is a span.
struct Zufall {
  float Basis = 0, Spanne = 0;
  float operator()() const { return Spanne != 0 ? Rnd() * Spanne + Basis : Basis; }
};
constexpr Zufall Fest(float v) { return {v, 0}; }

// One row of a particle table: where, relative to the ship (x, y), how fast and in which
// colour, then the particle's fixed values.
struct Teilchen {
  Zufall X, Y, SX, SY, R, G, B;
  int32_t Durchmesser, Still, Dead, Art;
  float Parameter;
};

// Fire colours: red-orange to yellow.
constexpr Zufall kFeuerG{0.3f, 0.3f}, kFeuerB{0, 0.5f};

// Rising out of the bottom of the screen, nose up.
constexpr Teilchen kAufstiegAbgas{Fest(27), Fest(0),  {-2, 4}, {10, 5}, Fest(1), Fest(1), Fest(1), 10, 0, 10, 10, 10.0f};
constexpr Teilchen kAufstiegFlamme{{0, 32}, Fest(48), {-4, 8}, {10, 5}, Fest(1), kFeuerG, kFeuerB, 32, 0, 5, 16, 1.0f};
constexpr Teilchen kAufstiegFunke{Fest(27),      Fest(0),     {-10, 20}, {-10, 20}, Fest(1), Fest(0.5f),
                                  Fest(0.2f),    10,          0,         20,        16,      20.0f};
// Flying in from the left.
constexpr Teilchen kAnflugAbgas{Fest(-10), Fest(22), {0, -5}, {-2, 4}, Fest(1), Fest(1), Fest(1), 20, 0, 4, 10, 10.0f};
constexpr Teilchen kAnflugFlamme{Fest(-24), {0, 8}, {-10, -5}, {-4, 8}, Fest(1), kFeuerG, kFeuerB, 48, 0, 5, 16, 1.0f};
// The engines at full thrust.
constexpr Teilchen kSchubAbgas{Fest(-10), Fest(22), {0, -15}, {-2, 4}, Fest(1), Fest(1), Fest(1), 20, 0, 10, 10, 10.0f};
constexpr Teilchen kSchubFlamme{Fest(-14), {0, 8}, {-20, -5}, {-4, 8}, Fest(1), kFeuerG, kFeuerB, 48, 0, 7, 16, 2.0f};

// `Anzahl` particles of row `t` at the ship of player `p`; the random numbers are drawn
// in the order of the row.
void Ausstossen(const Teilchen& t, int32_t p, int32_t Anzahl = 1) {
  for (int32_t k = 0; k < Anzahl; ++k) {
    const SpielerDaten& s = Spieler[p];
    NeuerBigPartikel n;
    n.x = s.X + t.X();
    n.y = s.Y + t.Y();
    n.SX = t.SX();
    n.SY = t.SY();
    n.R = t.R();
    n.G = t.G();
    n.B = t.B();
    n.Durchmesser = t.Durchmesser;
    n.Still = t.Still;
    n.Dead = t.Dead;
    n.Art = t.Art;
    n.Parameter = t.Parameter;
    Add1BigPartikel(n);
  }
}

// ---- Shared steps -------------------------------------------------------------------------

// A counter one further, without passing the largest value a restored record may hold.
void Weiterzaehlen(int32_t& z) {
  if (z < std::numeric_limits<int32_t>::max()) ++z;
}

// Every player in the game (both records where both play).
template <class F>
void JederSpieler(F f) {
  for (int32_t p = 0; p <= LetzterSpieler && p <= 1; ++p) f(p, Spieler[p]);
}

// Sound number `Nr` plays once from its start.
void Einmal(int32_t Nr, int32_t Lautstaerke) { PlaySound(Nr, 0, 0, Lautstaerke); }

// One of the three explosions, at random.
void Explosionsklang(int32_t Lautstaerke) {
  const auto k = static_cast<size_t>(Int(Rnd() * 3.0f));
  Einmal(SndExplosion[k < SndExplosion.size() ? k : 0], Lautstaerke);
}

// The first copy of sound `Nr` plays in a loop.
bool LaeuftImKreis(int32_t Nr) {
  if (Nr < 0 || Nr > SoundsMax() || Sounds[static_cast<size_t>(Nr)].Kopien.empty()) return false;
  return Sounds[static_cast<size_t>(Nr)].Kopien[0].GetStatus() == (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

// ---- Type 0: the fly-in at a level's start ------------------------------------------------

constexpr int32_t kEinflugBilder = 200;
constexpr int32_t kAnflugBilder = 44;  // the last frames: in from the left
constexpr float kSchallhoehe = 400;    // the height at which the engines roar

// The ships wait below the screen, nose up; their afterimages are out of sight.
void EinflugAufstellen(SpezialStandDaten& s) {
  JederSpieler([](int32_t p, SpielerDaten& sp) {
    sp.Status = 5;
    sp.X = 190;
    sp.Y = static_cast<float>((4 - p) * 200);
    sp.Winkel = 270;
    for (SpielerDaten& spur : SpielerSpur[static_cast<size_t>(p)]) {
      spur.X = -64;
      spur.Y = -64;
    }
  });
  s.Zeit = kEinflugBilder + 1;
  s.Neustart = false;
}

// The ships climb through the screen; each roars once as it passes the middle. The
// first frame comes out of white, and the players' shots are gone.
void Aufstieg(const SpezialStandDaten& s) {
  JederSpieler([](int32_t p, SpielerDaten& sp) {
    sp.Y -= 10;
    Ausstossen(kAufstiegAbgas, p);
    Ausstossen(kAufstiegFlamme, p, 6);
    if (sp.Y < kSchallhoehe && Rnd() < 0.1f) Ausstossen(kAufstiegFunke, p);
    if (sp.Y == kSchallhoehe) {
      if (SoundAn) {
        Einmal(SndSpeed, SoundLautstaerke);
        Einmal(SndSpeed, SoundLautstaerke);
      }
      Erschuetterung = 15;
    }
  });
  if (s.Zeit > kEinflugBilder - 10) spezial::Schleier(1, 1, 1, static_cast<float>((s.Zeit - 190) / 10.0));
  if (s.Zeit == kEinflugBilder) {
    // Both groups whole: a shot beyond the first slot would otherwise come back later.
    Schuesse[0].Reset();
    Schuesse[1].Reset();
  }
}

// The ships swing in from the left edge to their places, slowing down; the last frames
// go white.
void Anflug(const SpezialStandDaten& s) {
  const int32_t flammen = CLng(s.Zeit / 10.0) + 1;
  JederSpieler([&](int32_t p, SpielerDaten& sp) {
    sp.Winkel = 0;
    sp.Y = static_cast<float>(260 + 32 * (2 * p - LetzterSpieler));
    sp.FrameSpalte = 2;
    sp.X = CosTab[static_cast<size_t>(2 * s.Zeit)] * 170 - 70;
    Ausstossen(kAnflugAbgas, p);
    Ausstossen(kAnflugFlamme, p, flammen);
  });
  if (s.Zeit < 10) spezial::Schleier(1, 1, 1, static_cast<float>((11 - s.Zeit) / 10.0));
}

// The players take over; a checkpoint keeps the ships in place, so a restart does not fly
// in again; the white frame fades into the game.
void EinflugEnde(SpezialStandDaten& s) {
  JederSpieler([](int32_t, SpielerDaten& sp) {
    sp.Status = 0;
    sp.Winkel = 0;
  });
  SpurAn = false;
  s.Aktiv = false;
  SaveCheckpoint(0);
  spezial::Schleier(1, 1, 1, 1);
  Blenden();
}

void Einflug(SpezialStandDaten& s) {
  if (s.Neustart) EinflugAufstellen(s);
  s.Zeit -= s.Zeit > std::numeric_limits<int32_t>::min() ? 1 : 0;
  if (s.Zeit > kEinflugBilder) return;  // a record from elsewhere: wait until it counts down
  if (s.Zeit > kAnflugBilder)
    Aufstieg(s);
  else if (s.Zeit > 0)
    Anflug(s);
  else
    EinflugEnde(s);
}

// ---- Type 1: the key prompt ---------------------------------------------------------------

constexpr int32_t kHinweisBilder = 300;
constexpr int32_t kAktionen = 10;      // game actions 0..9

// "Press:" in the player's language; with a language the game does not know, the text of
// the call before stays.
const std::string& Aufforderung() {
  static std::string text;
  static const std::string russisch = Cyr("Нажмите: ");
  if (Sprache == "D")
    text = "Dr\xFC" "cke: ";
  else if (Sprache == "E")
    text = "Press: ";
  else if (Sprache == "R")
    text = russisch;
  return text;
}

// One line: the prompt and the keys of action `Aktion` of key set `Satz`, in a shadow of
// two black copies. The line is put together in room kept from the first prompt on.
void Hinweiszeile(const std::string& aufforderung, int32_t Aktion, int32_t Satz, int16_t y, int32_t grau) {
  static std::string text = [] {
    std::string t;
    t.reserve(96);
    return t;
  }();
  text.assign(aufforderung);
  text += upcall::GetKeyText(KeyConfig.KeyMap(Aktion, Satz, 0), KeyConfig.KeyMap(Aktion, Satz, 1));
  GdiTextOut(text, 10, static_cast<int16_t>(y - 1), TextDC, 0, 0, false);
  GdiTextOut(text, 12, static_cast<int16_t>(y + 1), TextDC, 0, 0, false);
  GdiTextOut(text, 11, y, TextDC, grau | grau << 8 | grau << 16, 0, false);
}

void Tastenhinweis(SpezialStandDaten& s) {
  if (s.Neustart) {
    s.Zeit = 0;
    s.Neustart = false;
  }
  Weiterzaehlen(s.Zeit);
  if (s.Zeit > kHinweisBilder) {
    s.Aktiv = false;
    return;
  }
  // Fading in over the first 62 frames and out over the last 62.
  if (s.Zeit < 63)
    s.Wert2 = 4 * s.Zeit;
  else if (s.Zeit > kHinweisBilder - 63)
    s.Wert2 = 4 * (kHinweisBilder - s.Zeit);
  if (!Rendern || s.Wert1 < 0 || s.Wert1 >= kAktionen) return;

  const int32_t grau = s.Wert2 < 0 ? 0 : (s.Wert2 > 255 ? 255 : s.Wert2);
  RenderEnd();
  AufBackBuffer("Arial", 70, [&] {
    const std::string& aufforderung = Aufforderung();
    if (LetzterSpieler == 0) {
      Hinweiszeile(aufforderung, s.Wert1, 0, 451, grau);
    } else {
      Hinweiszeile(aufforderung, s.Wert1, 1, 361, grau);
      Hinweiszeile(aufforderung, s.Wert1, 2, 451, grau);
    }
  });
  RenderStart();
}

// ---- Type 5: the engines roar ---------------------------------------------------------------

void Triebwerke(SpezialStandDaten& s) {
  if (s.Neustart) {
    JederSpieler([](int32_t, SpielerDaten& sp) {
      sp.Status = 5;
      sp.Schild = 0;
    });
    s.Zeit = 500;
    s.Neustart = false;
    s.Wert1 = 0;
  }
  // The ships sway with the level clock.
  JederSpieler([](int32_t p, SpielerDaten& sp) {
    Ausstossen(kSchubAbgas, p);
    Ausstossen(kSchubFlamme, p, 5);
    sp.X -= SinusB(LevelTick) / 2;
  });
}

// ---- Type 6: the jump to the level's end ----------------------------------------------------

void Sprung(SpezialStandDaten& s) {
  if (s.Neustart) {
    // Both records, whether one or two play.
    Spieler[0].Status = 5;
    Spieler[1].Status = 5;
    const int64_t ziel = int64_t{LevelLaenge} - 300;
    LevelTick = ziel < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min()
                                                           : static_cast<int32_t>(ziel);
    s.Neustart = false;
  }
  Overlay1 = true;
  Overlay2 = true;
}

// ---- Type 7: the burning ship, timed by the level clock ---------------------------------------

// The picture tears downwards in thin stripes: 2-pixel columns copied lower onto
// themselves.
void Reissen() {
  for (int32_t k = 0; k <= 100; ++k) {
    const int32_t s = CLng(Rnd() * 10.0f + 3.0f);
    const int32_t x = CLng(Rnd() * 798.0f);
    if (!BackBuffer) continue;
    const RECT spalte{x, 0, x + 2, kSpielfeldHoehe - s};
    BackBuffer->BltFast(x, s, *BackBuffer, &spalte, platform::DDBLTFAST_WAIT);
  }
}

void Brand(SpezialStandDaten& s) {
  Overlay1 = true;
  Overlay2 = true;
  if (s.Neustart) {
    s.Neustart = false;
    AddExplosionsPartikel(-20, -20, 100, 570);  // along the left edge
    if (SoundAn && SndYellow2 >= 0 && SndYellow2 <= SoundsMax() && !LaeuftImKreis(SndYellow2))
      PlaySound(SndYellow2, 1, 0, SoundLautstaerke - 500);
  }
  if (Rnd() < 0.09f && SoundAn) Explosionsklang(SoundLautstaerke - 500);

  const int32_t t = LevelTick;
  if ((t > 20 && t < 800) || (t > 920 && t < 950)) {
    // Smoke, black or fire-coloured, blowing in from the left.
    const auto c = static_cast<float>(CLng(Rnd()));
    NeuerBigPartikel rauch;
    rauch.x = -80;
    rauch.y = Rnd() * 550.0f - 40.0f;
    rauch.SX = Rnd() * 4.0f + 3.0f;
    rauch.SY = Rnd() * 5.0f - 4.0f;
    rauch.R = c;
    rauch.G = c / 2;
    rauch.B = c / 3;
    rauch.Durchmesser = 80;
    rauch.Dead = 50;
    rauch.Art = 10;
    rauch.Parameter = 5.0f;
    Add1BigPartikel(rauch);
    AddPartikel(1, 5, 0, 0, kBildschirmBreite, kBildschirmHoehe, false);
  }
  if (t == 200) Einmal(SndThunder, SoundLautstaerke);  // heard even with the sound off
  if (t > 199 && t < 261) Rauschen = static_cast<float>((30 - std::abs(t - 230)) / 50.0);
  if (t > 400 && t < 800 && Rnd() < 0.1f) Add1BigPartikel(0, 0, 0, 0, 1, 0, 0, 550, 0, 10, 0, 800.0f);
  if (t == 200 || t == 800) Add1BigPartikel(-50, 275, 0, 0, 1, 0.1f, 0, 1, 50, 250, 1, 10.0f);
  if (t == 850) Add1BigPartikel(-50, 275, 0, 0, 0.6f, 0.7f, 0.3f, 1, 50, 200, 16, 10.0f);
  if (t == 900) {
    AddExplosionsPartikel(-20, -20, 100, 570);
    if (SoundAn)
      for (int k = 0; k < 3; ++k) Explosionsklang(SoundLautstaerke);
  }
  if (t == 500) Erschuetterung = 100;
  if (t > 600 && t < 690) Reissen();
  // The fire burns a ship that stays near the left edge.
  JederSpieler([](int32_t p, SpielerDaten& sp) {
    if (!(sp.X < 150)) return;
    sp.Energie = static_cast<float>(sp.Energie - 0.1);
    AddForce(5, 1, p);
    if (Erschuetterung == 0) Erschuetterung = 1;
  });
}

// ---- Dispatch ---------------------------------------------------------------------------------

using Ablauf = void (*)(SpezialStandDaten&);
constexpr int32_t kArten = 8;

// Behind the world (`Index` 0): the glow and the thunderstorm.
constexpr std::array<Ablauf, kArten> kHinten = {nullptr, nullptr, spezial::Glut, spezial::GewitterHinten,
                                                 nullptr, nullptr, nullptr,      nullptr};
// Over the world (`Index` 1): everything but the glow.
constexpr std::array<Ablauf, kArten> kVorn = {Einflug,        Tastenhinweis, nullptr, spezial::GewitterVorn,
                                               spezial::Wabern, Triebwerke,    Sprung,  Brand};

}  // namespace

void spezial::Schleier(float R, float G, float B, float A) {
  if (!Rendern) return;
  SetUpRect(TexWeiss, 0, 0, kSpielfeldBreite, kSpielfeldHoehe);
  SetUpColor(TexWeiss, R, G, B, A);
  Render(TexWeiss, false);
}

void SpielSpezial(int32_t Index) {
  SpezialStandDaten& s = SpezialStand;
  if (!s.Aktiv || WeltAngehalten != 0 || s.Art < 0 || s.Art >= kArten) return;
  const Ablauf schritt = (Index == 1 ? kVorn : kHinten)[static_cast<size_t>(s.Art)];
  if (schritt) schritt(s);
}
