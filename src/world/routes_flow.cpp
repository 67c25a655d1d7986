// Route control flow: labels and go-to, the three kinds of If with Else and EndIf, and
// For/Next loops. Ifs and loops are searched independently: an If search counts no loops
// and a loop search no Ifs.
#include <cstdint>

#include "shell/basic.hpp"
#include "world/collision.hpp"
#include "world/routes_internal.hpp"

namespace route {
namespace {

constexpr int32_t OpLabel = 11;
constexpr int32_t OpIf = 13;
constexpr int32_t OpElse = 14;
constexpr int32_t OpEndIf = 15;
constexpr int32_t OpIfLandschaft = 16;
constexpr int32_t OpFor = 35;
constexpr int32_t OpNext = 36;
constexpr int32_t OpIfKomponenteWeg = 44;

int32_t Op(const Route& r, int32_t i) { return r.Befehle[static_cast<size_t>(i)].Befehl; }
bool IstIf(int32_t op) { return op == OpIf || op == OpIfLandschaft || op == OpIfKomponenteWeg; }

// Walks forward from command `start` with nesting depth `tiefe` until the depth is 0 or
// the last command is reached, and gives the command after the one it stopped at. Every
// command after an Else opens a level; an Else or EndIf closes one, an If opens one. So a
// false If (depth 1) stops on its matching Else or EndIf, and an Else (depth 0, itself
// counting as the command before the first step) on its matching EndIf.
int32_t HinterIfBlock(const Route& r, int32_t start, int32_t tiefe) {
  const int32_t letzter = r.BefehleMax();
  int32_t i = start;
  while (i < letzter) {
    ++i;
    const int32_t op = Op(r, i);
    if (Op(r, i - 1) == OpElse) ++tiefe;
    if (op == OpElse || op == OpEndIf) {
      --tiefe;
    } else if (IstIf(op)) {
      ++tiefe;
    }
    if (tiefe == 0) break;
  }
  return i + 1;
}

// From a finished For: the command after its matching Next (or after the last command).
int32_t HinterNext(const Route& r, int32_t start) {
  const int32_t letzter = r.BefehleMax();
  int32_t tiefe = 1, i = start;
  while (i < letzter) {
    ++i;
    const int32_t op = Op(r, i);
    if (op == OpFor) ++tiefe;
    if (op == OpNext) --tiefe;
    if (tiefe == 0) break;
  }
  return i + 1;
}

// From a Next: its matching For, walking back (or the first command).
int32_t ZumFor(const Route& r, int32_t start) {
  int32_t tiefe = 1, i = start;
  while (i > 0) {
    --i;
    const int32_t op = Op(r, i);
    if (op == OpFor) --tiefe;
    if (op == OpNext) ++tiefe;
    if (tiefe == 0) break;
  }
  return i;
}

// The end of every If: a true one runs on into its branch, a false one resumes after
// its matching Else or EndIf. The If's operands were held in the motion fields, which
// are left at 0, so a following move picks its direction anew.
Weiter NachBedingung(Lauf& l, bool wahr) {
  l.o.MX = 0;
  l.o.MY = 0;
  if (wahr) return l.Naechster();
  l.o.RoutePos = HinterIfBlock(l.route, l.o.RoutePos, 1);
  return Weiter::Naechster;
}

bool Vergleiche(float links, float op, float rechts) {
  if (op == -2) return links < rechts;
  if (op == -1) return links <= rechts;
  if (op == 0) return links == rechts;
  if (op == 1) return links >= rechts;
  if (op == 2) return links > rechts;
  return false;
}

}  // namespace

// A label is only looked at by a go-to; an EndIf only by the searches.
Weiter OhneWirkung(Lauf& l) { return l.Naechster(); }

Weiter Goto(Lauf& l) {
  const int32_t ziel = l.Gerundet(0);
  const int32_t letzter = l.Letzter();
  for (int32_t i = 0; i <= letzter; ++i) {
    const RoutenBefehl& b = l.route.Befehle[static_cast<size_t>(i)];
    // A label's value is a term like any other; one that is not whole never matches.
    if (b.Befehl == OpLabel && static_cast<double>(l.P(b, 0)) == ziel) {
      l.o.RoutePos = i + 1;
      return Weiter::Naechster;
    }
  }
  return Weiter::Ende;  // wait on the go-to; the label may turn up with its variables
}

Weiter If(Lauf& l) {
  l.o.MX = l.P(0);
  l.o.MY = l.P(2);
  return NachBedingung(l, Vergleiche(l.o.MX, l.A(1), l.o.MY));
}

Weiter Else(Lauf& l) {
  l.o.RoutePos = HinterIfBlock(l.route, l.o.RoutePos, 0);
  return Weiter::Naechster;
}

Weiter IfLandschaft(Lauf& l) {
  l.o.MX = l.P(0);
  l.o.MY = l.P(1);
  if (l.o.Art == RouteKomponente) {
    // A component's position is its offset: the test needs the enemy's place added.
    if (const Gegner* g = l.Feind()) {
      l.o.MX += g->X;
      l.o.MY += g->Y;
    }
  }
  const float left = l.o.FX + l.o.MX, top = l.o.FY + l.o.MY;
  const int32_t right = CLng(static_cast<double>(left) + l.o.Width);
  const int32_t bottom = CLng(static_cast<double>(top) + l.o.Height);
  // A shot belongs to no enemy; skipping slot 0 for it would let that enemy through.
  const int32_t skip = l.o.Art == RouteSchuss ? -1 : l.o.FeindNR;
  return NachBedingung(l, CheckColisionWithLandschaft3(CLng(left), CLng(top), right, bottom, skip));
}

Weiter IfKomponenteWeg(Lauf& l) {
  const Feindkomponente* k = l.Komponente(l.Gerundet(0));
  // A component the enemy does not have (and any component, for a shot) is no
  // condition: the command is passed over, but its operand held the motion all the same.
  if (k == nullptr) {
    l.o.MX = 0;
    l.o.MY = 0;
    return l.Naechster();
  }
  return NachBedingung(l, k->Lebt == VBFalse);
}

Weiter For(Lauf& l) {
  const float schritt = l.P(3);
  const float wert = l.vonNext ? l.P(0) + schritt : l.P(1);
  l.Setze(l.A(0), wert);
  const float von = l.P(1), bis = l.P(2);
  // A loop whose start is not below its end counts down, so From 2 To 2 Step 1 never ends.
  const bool fertig = von >= bis ? wert < bis : wert > bis;
  l.vonNext = false;
  if (!fertig) return l.Naechster();
  l.o.RoutePos = HinterNext(l.route, l.o.RoutePos);
  return Weiter::Naechster;
}

Weiter Next(Lauf& l) {
  if (l.o.RoutePos == 0) return l.Naechster();
  l.o.RoutePos = ZumFor(l.route, l.o.RoutePos);
  l.vonNext = true;
  return Weiter::Naechster;
}

}  // namespace route
