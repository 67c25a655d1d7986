// Runs random routes through the interpreter for an enemy body, one of its components
// and an enemy shot, a few frames each, and checks that every call answers 0 or -1,
// runs no more commands than its step cap, and leaves the world in bounds (G within its
// limit, the noise within 0..1, component frames inside their sprite). An object whose
// route has ended (-1) is not run again, as in the game. The cap is lower than the
// game's: most routes found loop, and the game's cap would spend milliseconds on each.
//
// Input: a route count byte, then per route a command count byte and per command an
// opcode byte and a term count byte followed by its terms. A term is one byte: a small
// constant, a variable code (with its sign), or, for the byte 255, four bytes of a raw
// Single. Bytes that run out read as 0.
//
// Every input starts from the same world: what a route can change (the enemies, shot
// generators, animations, effect particles and bubbles it places, the ships' positions,
// the layers' speeds, the special event, the noise, the shake, the radio, the ticker, G,
// the random numbers) is put back before it runs, and nothing else.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "campaign/special_events_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/force.hpp"
#include "engine/magnifier.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "run/variabeln.hpp"
#include "shell/timing.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/radio_state.hpp"
#include "world/routes.hpp"

namespace {

void Pruefe(bool ok) {
  if (!ok) std::abort();
}

struct Bytes {
  std::span<const uint8_t> b;
  size_t i = 0;
  uint8_t Byte() { return i < b.size() ? b[i++] : 0; }
  float Term() {
    const uint8_t t = Byte();
    if (t < 100) return static_cast<float>(t) - 50.0f;                // constants
    if (t < 100 + 37) return 32748.0f + static_cast<float>(t - 100);  // codes 32748..32784
    if (t < 100 + 74) return -(32748.0f + static_cast<float>(t - 137));
    if (t < 255) return static_cast<float>(t - 174) * 0.25f;          // fractions
    uint32_t bits = 0;
    for (int k = 0; k < 4; ++k) bits |= static_cast<uint32_t>(Byte()) << (8 * k);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
};

// The routes of the input, in the room the last input's routes left.
void Routen_(Bytes& in) {
  Routen.resize(1 + in.Byte() % 4);
  for (Route& r : Routen) {
    r.Befehle.resize(in.Byte() % 32);
    for (RoutenBefehl& c : r.Befehle) {
      c.Befehl = static_cast<int32_t>(in.Byte() % 48) - 1;  // -1 .. 46: a few opcodes beyond
      const size_t n = in.Byte() % 14;
      c.A.resize(n);
      c.B.resize(in.Byte() % 2 ? n : n / 2);  // now and then fewer B terms than A terms
      for (float& a : c.A) a = in.Term();
      for (float& b : c.B) b = in.Term();
    }
  }
}

// The step cap of these runs: a looping route runs 499 commands, not 9999.
constexpr int32_t kSchrittgrenze = 500;

// A pool's slots up to its highest used one free again: the same as emptying it whole,
// as no slot above that is in use.
template <class P>
void Leeren(P& pool) {
  for (int32_t k = 0; k <= pool.Max; ++k) pool[k].Aktiv = VBFalse;
  pool.Frei = 0;
  pool.Max = -1;
}

// The level around the enemy: made once.
struct Anfang {
  std::array<float, 2> x{}, y{};
  std::array<float, 7> speed{};
};

const Anfang& Level() {
  static const Anfang anfang = [] {
    SetStartDefaults();
    VariabelnLösch();
    Rendern = false;  // nothing is drawn
    LetzterSpieler = 1;
    SpriteDefs.assign(1, SpriteDef{});
    SpriteDefs[0].Frames.resize(4);
    GegnerTypen.assign(2, GegnerTyp{.Width = 8, .Height = 8});
    ErzeugerTypen.assign(1, ErzeugerTypDaten{});
    // An animation and a radio message for the commands that start them.
    AnimaTypen.assign(1, AnimaTypDaten{.Teile = std::vector<AnimaTeilTyp>(2), .Scrollt = VBTrue});
    FunkTexte.assign(1, FunkText{"Funk", {"1;a.wav;2000;Hallo"}});
    Funkmeldungen.assign(1, Funkmeldung{.TextBlock = "Funk", .FunkTextIndex = 0});
    Anfang a;
    for (size_t p = 0; p < 2; ++p) {
      a.x[p] = Spieler[p].X;
      a.y[p] = Spieler[p].Y;
    }
    for (size_t k = 0; k < a.speed.size(); ++k) a.speed[k] = Ebenen[k].Speed;
    return a;
  }();
  return anfang;
}

// Everything a route can change, as the level began.
void Welt() {
  const Anfang& a = Level();
  Leeren(GegnerListe);
  Leeren(SchussErzeuger);
  Leeren(BigPartikel);
  Leeren(Blasen);
  Leeren(Animationen);
  Gegner& g = GegnerListe.Slot[0];
  LeereGegner(g);
  g.Aktiv = VBTrue;
  g.Typ.Komponenten.assign(3, Feindkomponente{.Lebt = VBTrue, .Speed = 1});
  g.Typ.Parameter[7] = 1001;
  GegnerListe.Max = 0;
  GegnerListe.Frei = 1;
  for (size_t p = 0; p < 2; ++p) {
    Spieler[p].X = a.x[p];
    Spieler[p].Y = a.y[p];
  }
  for (size_t k = 0; k < a.speed.size(); ++k) Ebenen[k].Speed = a.speed[k];
  ResetSpecialEvent();
  ResetNoise();
  Erschuetterung = 0;
  ResetRadio();
  ResetTicker();
  ResetRouteVariables();
  RndReset();
}

// One call of the object's route, unless it has ended.
void Lauf(RoutenObjekt o, bool& zuEnde) {
  if (zuEnde) return;
  const int64_t vorher = RoutenSchritte;
  const int16_t r = DoRoute(o, kSchrittgrenze);
  Pruefe(r == 0 || r == -1);
  Pruefe(RoutenSchritte - vorher <= kSchrittgrenze - 1);
  Pruefe(static_cast<int64_t>(RoutenVariablen.size()) <= RoutenVariablenGrenze + 1);
  Pruefe(Rauschen >= 0 && Rauschen <= 1);
  for (const Feindkomponente& k : GegnerListe.Slot[0].Typ.Komponenten) {
    Pruefe(k.AniA >= 0 && k.AniA <= SpriteDefs[0].FramesMax());
    Pruefe(k.Drehung >= 0 && k.Drehung < 360);
  }
  LupeAuftraege.clear();  // the game loop drains it every frame
  zuEnde = r == -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in{std::span<const uint8_t>(data, size)};
  Welt();
  Routen_(in);
  const int32_t routen = static_cast<int32_t>(Routen.size());
  Gegner& g = GegnerListe.Slot[0];
  g.RouteNr = static_cast<int32_t>(in.Byte() % (routen + 1)) - 1;  // now and then none
  g.Typ.Komponenten[1].RouteNr = in.Byte() % routen;

  // A shot has its own fields and the variables all shots share.
  int32_t pos = 0, vesk = 1;
  float x = 400, y = 300, mx = 0, my = 0, ti = 0, speed = 2, hp = 5;
  std::array<float, 8> vari{};
  std::array<float, 14> gvar{};
  const int32_t schussRoute = in.Byte() % routen;

  bool koerperEnde = false, teilEnde = false, schussEnde = false;
  for (int frame = 0; frame < 6; ++frame) {
    Lauf(GegnerRoute(0), koerperEnde);
    Lauf(KomponentenRoute(0, 1, 16, 12), teilEnde);
    Lauf(RoutenObjekt{RouteSchuss, 0, pos, schussRoute, x, y, mx, my, ti, vari, 6, 6, speed, 7, 0, hp, vesk, gvar},
         schussEnde);
  }
  return 0;
}
