// Runs random routes through the interpreter for an enemy body, one of its components
// and an enemy shot, a few frames each, and checks that every call answers 0 or -1,
// runs at most 9999 commands, and leaves the world in bounds (G within its limit, the
// noise within 0..1, component frames inside their sprite).
//
// Input: a route count byte, then per route a command count byte and per command an
// opcode byte and a term count byte followed by its terms. A term is one byte: a small
// constant, a variable code (with its sign), or, for the byte 255, four bytes of a raw
// Single. Bytes that run out read as 0.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "campaign/special_events_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/magnifier.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "run/variabeln.hpp"
#include "shell/timing.hpp"
#include "world/enemies_state.hpp"
#include "world/level_data_state.hpp"
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

void Routen_(Bytes& in) {
  Routen.assign(1 + in.Byte() % 4, Route{});
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

void Welt() {
  static bool einmal = [] {
    SetStartDefaults();
    VariabelnLösch();
    Rendern = false;  // nothing is drawn
    return true;
  }();
  (void)einmal;
  SpriteDefs.assign(1, SpriteDef{});
  SpriteDefs[0].Frames.resize(4);
  GegnerTypen.assign(2, GegnerTyp{.Width = 8, .Height = 8});
  ErzeugerTypen.assign(1, ErzeugerTypDaten{});
  GegnerListe.Reset();
  Gegner& g = GegnerListe.Slot[0];
  g = Gegner{};
  g.Aktiv = VBTrue;
  g.Typ.Komponenten.assign(3, Feindkomponente{.Lebt = VBTrue, .Speed = 1});
  g.Typ.Parameter[7] = 1001;
  LetzterSpieler = 1;
  RoutenVariablen.clear();
  MessageHistory.Zeilen.clear();
  Rauschen = 0;
}

void Lauf(RoutenObjekt o) {
  const int64_t vorher = RoutenSchritte;
  const int16_t r = DoRoute(o);
  Pruefe(r == 0 || r == -1);
  Pruefe(RoutenSchritte - vorher <= 9999);
  Pruefe(static_cast<int64_t>(RoutenVariablen.size()) <= RoutenVariablenGrenze + 1);
  Pruefe(Rauschen >= 0 && Rauschen <= 1);
  for (const Feindkomponente& k : GegnerListe.Slot[0].Typ.Komponenten) {
    Pruefe(k.AniA >= 0 && k.AniA <= SpriteDefs[0].FramesMax());
    Pruefe(k.Drehung >= 0 && k.Drehung < 360);
  }
  LupeAuftraege.clear();  // the game loop drains it every frame
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

  for (int frame = 0; frame < 6; ++frame) {
    Lauf(GegnerRoute(0));
    Lauf(KomponentenRoute(0, 1, 16, 12));
    Lauf(RoutenObjekt{RouteSchuss, 0, pos, schussRoute, x, y, mx, my, ti, vari, 6, 6, speed, 7, 0, hp, vesk, gvar});
  }
  return 0;
}
