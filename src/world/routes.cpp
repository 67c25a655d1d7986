// The terms of route commands, the variables they name and write, and the interpreter's
// main loop with its dispatch table.
#include "world/routes.hpp"

#include <cmath>

#include "campaign/game_loop_state.hpp"
#include "campaign/ticker_state.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "world/routes_internal.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// The variable codes; a term whose magnitude lies outside them is a constant.
constexpr float CodeViMin = 32748;   // Vari(7) .. 32755 Vari(0)
constexpr float CodeViMax = 32755;
constexpr float CodeGVMin = 32770;   // GVar(0) .. 32783 GVar(13)
constexpr float CodeGVMax = 32783;
constexpr float CodeSchiffstyp = 32784;

const SpielerDaten* ZielSchiff(int32_t VeskNr) {
  return VeskNr >= 0 && VeskNr <= 1 ? &Spieler[static_cast<size_t>(VeskNr)] : nullptr;
}

// The value of the codes read by exact equality, 32756 to 32769.
float Einzelcode(int32_t code, const float& x, const float& y, const int32_t& Width, const int32_t& Height,
                 const float& Speed, const int32_t& AY, const int32_t& LTick, const float& HP,
                 const int32_t& VeskNr) {
  const SpielerDaten* ziel = ZielSchiff(VeskNr);
  switch (code) {
    case 32769: return static_cast<float>(LetzterSpieler);
    case 32768: return HP;
    case 32767: return -static_cast<float>(Width);
    case 32766: return -static_cast<float>(Height);
    case 32765: return 800;
    case 32764: return 550;
    case 32763: return ziel ? ziel->X : 0.0f;
    case 32762: return ziel ? ziel->Y : 0.0f;
    case 32761: return static_cast<float>(LTick);
    case 32760: return static_cast<float>(AY);
    case 32759: return x;
    case 32758: return y;
    case 32757: return Speed;
    default: return static_cast<float>(LevelTick);  // 32756
  }
}

}  // namespace

float Var(float Nr, const float& x, const float& y, const int32_t& Width, const int32_t& Height, const float& Speed,
          const int32_t& AY, const int32_t& LTick, const std::array<float, 8>& Vari, const float& HP,
          const int32_t& VeskNr, const std::array<float, 14>& GVar) {
  const float m = std::fabs(Nr);
  float wert = m;
  if (m == CodeSchiffstyp) {
    wert = VeskNr >= 0 && VeskNr <= 1 ? static_cast<float>(Schiff[static_cast<size_t>(VeskNr)].Schiffstyp()) : 0.0f;
  } else if (m >= CodeGVMin && m <= CodeGVMax) {
    wert = GVar[static_cast<size_t>(CLng(m - CodeGVMin))];
  } else if (m >= 32756 && m <= 32769) {
    // Between the whole codes a term is a constant.
    if (m == std::floor(m)) wert = Einzelcode(static_cast<int32_t>(m), x, y, Width, Height, Speed, AY, LTick, HP, VeskNr);
  } else if (m >= CodeViMin && m <= CodeViMax) {
    wert = Vari[static_cast<size_t>(CLng(CodeViMax - m))];
  }
  return Nr < 0 ? -wert : wert;
}

namespace {

// Nearly every term is a constant: those are answered here without looking at the codes
// (a constant reads as itself, minus zero as zero).
inline float Term(float Nr, const RoutenObjekt& o) {
  if (std::fabs(Nr) < CodeViMin) return Nr < 0 ? Nr : std::fabs(Nr);
  return Var(Nr, o.FX, o.FY, o.Width, o.Height, o.Speed, o.AY, o.LTick, o.Vari, o.HP, o.VeskNr, o.GVar);
}

}  // namespace

float Var(float Nr, const RoutenObjekt& o) { return Term(Nr, o); }

RoutenObjekt GegnerRoute(int32_t FeindNR) {
  Gegner& g = GegnerListe.Slot[static_cast<size_t>(FeindNR)];
  return RoutenObjekt{RouteKoerper, FeindNR, g.RoutePos, g.RouteNr, g.X, g.Y, g.MX, g.MY, g.Ti, g.Vari,
                      g.Typ.Width, g.Typ.Height, g.Typ.Speed, g.AY, g.LTick, g.Typ.HP, g.VeskNr, g.GVar};
}

RoutenObjekt KomponentenRoute(int32_t FeindNR, int32_t k, int32_t Width, int32_t Height) {
  Gegner& g = GegnerListe.Slot[static_cast<size_t>(FeindNR)];
  Feindkomponente& c = g.Typ.Komponenten[static_cast<size_t>(k)];
  return RoutenObjekt{RouteKomponente, FeindNR, c.RoutePos, c.RouteNr, c.OffsetX, c.OffsetY, c.MX, c.MY, c.Ti,
                      c.Vari, Width, Height, c.Speed, k, g.LTick, c.HP, g.VeskNr, g.GVar};
}

namespace route {

int32_t Zielcode(float a) { return CLng(std::fabs(a)); }

float Lauf::P(const RoutenBefehl& b, size_t k) const {
  const float a = k < b.A.size() ? b.A[k] : 0.0f;
  const float bb = k < b.B.size() ? b.B[k] : 0.0f;
  return Term(a, o) + Term(bb, o);
}

int32_t Lauf::Gerundet(size_t k) const { return CLng(P(k)); }

// Writable are the shared and the own variables, the energy and the target ship's
// position; the object's own position is not (a route moves it with its move commands).
void Lauf::Setze(float a, float v) const {
  const int32_t code = Zielcode(a);
  if (code >= 32770 && code <= 32783) {
    o.GVar[static_cast<size_t>(code - 32770)] = v;
  } else if (code >= 32748 && code <= 32755) {
    o.Vari[static_cast<size_t>(32755 - code)] = v;
  } else if (code == 32768) {
    o.HP = v;
  } else if (code == 32763 || code == 32762) {
    if (o.VeskNr < 0 || o.VeskNr > 1) return;
    SpielerDaten& ziel = Spieler[static_cast<size_t>(o.VeskNr)];
    (code == 32763 ? ziel.X : ziel.Y) = v;
  }
}

Gegner* Lauf::Feind() const {
  if (o.Art == RouteSchuss || o.FeindNR < 0 || o.FeindNR > GegnerListe.Kapazitaet) return nullptr;
  return &GegnerListe.Slot[static_cast<size_t>(o.FeindNR)];
}

Feindkomponente* Lauf::Komponente(int32_t c) const {
  Gegner* g = Feind();
  if (g == nullptr || c < 0 || c > g->Typ.KomponentenMax()) return nullptr;
  return &g->Typ.Komponenten[static_cast<size_t>(c)];
}

namespace {

using Handler = Weiter (*)(Lauf&);

// An opcode that has no command: the object stays on it.
Weiter Unbekannt(Lauf&) { return Weiter::Ende; }

constexpr std::array<Handler, 45> Befehle = {
    Platziere,          // 0
    BewegeUndEnde,      // 1
    Bewege,             // 2
    BewegeBeschleunigt, // 3
    Einzelschritt,      // 4
    Warte,              // 5
    SetzeSpeed,         // 6
    KomponentenBild,    // 7
    Feuer,              // 8
    Zuweisung,          // 9
    Zufall,             // 10
    OhneWirkung,        // 11 label
    Goto,               // 12
    If,                 // 13
    Else,               // 14
    OhneWirkung,        // 15 EndIf
    IfLandschaft,       // 16
    SchreibeG,          // 17
    LeseG,              // 18
    AnimationVorne,     // 19
    Division,           // 20
    Produkt,            // 21
    Polarschritt,       // 22
    Richtung,           // 23
    EbenenSpeed,        // 24
    LandschaftSpeed,    // 25
    LupeAnfordern,      // 26
    KomponentenLook,    // 27
    Abrunden,           // 28
    LevelSound,         // 29
    StoppeSound,        // 30
    Beben,              // 31
    OhneWirkung,        // 32
    Effektpartikel,     // 33
    Blitzschlag,        // 34
    For,                // 35
    Next,               // 36
    BlaseSetzen,        // 37
    Funkspruch,         // 38
    AnimationAufEbene,  // 39
    Betrag,             // 40
    RauschenAendern,    // 41
    Spezialereignis,    // 42
    Zielspieler,        // 43
    IfKomponenteWeg,    // 44
};

Handler HandlerFuer(int32_t op) {
  return op >= 0 && op < static_cast<int32_t>(Befehle.size()) ? Befehle[static_cast<size_t>(op)] : Unbekannt;
}

}  // namespace
}  // namespace route

int16_t DoRoute(RoutenObjekt& o, int32_t Schrittgrenze) {
  using route::Weiter;
  // The route number cannot change during a call; a route the level does not have cannot
  // run, whichever side of the table the number lies.
  if (o.RouteNr < 0 || o.RouteNr > RoutenMax()) {
    AddMsg("Falsche Route f\xFCr Feindkomponente");
    return -1;
  }
  route::Lauf lauf{o, Routen[static_cast<size_t>(o.RouteNr)]};
  const int32_t letzter = lauf.Letzter();
  for (int32_t schritte = 1; schritte < Schrittgrenze; ++schritte) {
    if (o.RoutePos < 0 || o.RoutePos > letzter) return -1;
    lauf.befehl = &lauf.route.Befehle[static_cast<size_t>(o.RoutePos)];
    ++RoutenSchritte;
    switch (route::HandlerFuer(lauf.befehl->Befehl)(lauf)) {
      case Weiter::Naechster: break;
      case Weiter::Ende: return 0;
      case Weiter::Fertig: return -1;
    }
  }
  return -1;
}

int16_t DoRoute(int32_t Art, int32_t FeindNR, int32_t& RoutePos, int32_t RouteNr, float& FX, float& FY, float& MX,
                float& MY, float& Ti, std::array<float, 8>& Vari, int32_t Width, int32_t Height, float& Speed,
                int32_t AY, int32_t LTick, float& HP, int32_t& VeskNr, std::array<float, 14>& GVar) {
  RoutenObjekt o{Art, FeindNR, RoutePos, RouteNr, FX, FY, MX, MY, Ti, Vari, Width, Height, Speed, AY, LTick, HP,
                 VeskNr, GVar};
  return DoRoute(o);
}
