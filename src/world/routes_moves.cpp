// Route commands that move and place the object, wait, and work on its variables.
#include <cmath>
#include <cstdint>

#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "world/routes_internal.hpp"

namespace route {
namespace {

// A move is homing when its raw target terms name the target ship's position: it then
// turns towards the ship every frame. A code in B, a negated code or one inside a
// variable does not count.
bool Zielend(const Lauf& l) {
  for (size_t k = 0; k < 2; ++k) {
    const float a = l.A(k);
    if (a == 32763.0f || a == 32762.0f) return true;
  }
  return false;
}

enum class Ankunft : uint8_t { Endet, Weiter, Beschleunigt };

// One frame of a move towards (p0, p1) at `Speed`. On arrival the object is snapped onto
// the target; an accelerated move whose speed runs out stops where it is.
Weiter Bewegung(Lauf& l, Ankunft art) {
  RoutenObjekt& o = l.o;
  const float tx = l.P(0), ty = l.P(1);
  if (art == Ankunft::Beschleunigt && o.Speed == 0) o.Speed += l.P(2);  // the start impulse
  if ((o.MX == 0 && o.MY == 0) || Zielend(l)) {
    const double w = Winkel(tx - o.FX, ty - o.FY);
    o.MX = static_cast<float>(std::cos(w) * o.Speed);
    o.MY = static_cast<float>(std::sin(w) * o.Speed);
  }
  o.FX += o.MX;
  o.FY += o.MY;

  bool ausgelaufen = false;
  if (art == Ankunft::Beschleunigt) {
    // Next frame's step keeps the direction at the new speed.
    const float alt = o.Speed;
    if (alt != 0) {
      o.MX /= alt;
      o.MY /= alt;
    }
    o.Speed += l.P(2);
    if (o.Speed > 0) {
      o.MX *= o.Speed;
      o.MY *= o.Speed;
    } else {
      o.Speed = 0;
      ausgelaufen = true;
    }
  }
  if (!ausgelaufen) {
    // A zero step counts as moving right and down.
    const bool x = o.MX >= 0 ? o.FX >= tx : o.FX <= tx;
    const bool y = o.MY >= 0 ? o.FY >= ty : o.FY <= ty;
    if (!(x && y)) return Weiter::Ende;
    o.FX = tx;
    o.FY = ty;
  }
  o.MX = 0;
  o.MY = 0;
  if (art == Ankunft::Endet) return Weiter::Fertig;
  return l.NaechsterImNaechstenFrame();
}

}  // namespace

Weiter Platziere(Lauf& l) {
  l.o.FX = l.P(0);
  l.o.FY = l.P(1);  // may read the new x
  return l.NaechsterImNaechstenFrame();
}

Weiter BewegeUndEnde(Lauf& l) { return Bewegung(l, Ankunft::Endet); }
Weiter Bewege(Lauf& l) { return Bewegung(l, Ankunft::Weiter); }
Weiter BewegeBeschleunigt(Lauf& l) { return Bewegung(l, Ankunft::Beschleunigt); }

// The first run takes the step and ends the frame; the second clears it and goes on at
// once. A step of (0, 0) is no step: it only ends the frame.
Weiter Einzelschritt(Lauf& l) {
  RoutenObjekt& o = l.o;
  if (o.MX != 0 || o.MY != 0) {
    o.MX = 0;
    o.MY = 0;
    return l.Naechster();
  }
  o.MX = l.P(0);
  o.MY = l.P(1);
  if (o.MX == 0 && o.MY == 0) return l.NaechsterImNaechstenFrame();
  o.FX += o.MX;
  o.FY += o.MY;
  return Weiter::Ende;
}

Weiter Warte(Lauf& l) {
  l.o.Ti += 1;
  if (l.P(0) <= l.o.Ti) {
    l.o.Ti = 0;
    return l.NaechsterImNaechstenFrame();
  }
  return Weiter::Ende;
}

Weiter SetzeSpeed(Lauf& l) {
  l.o.Speed = l.P(0);
  return l.Naechster();
}

Weiter Zuweisung(Lauf& l) {
  l.Setze(l.A(0), l.P(1));
  return l.Naechster();
}

Weiter Zufall(Lauf& l) {
  const float bis = l.P(1);
  l.Setze(l.A(0), static_cast<float>(Int(Rnd() * bis + 1.0f)));
  return l.Naechster();
}

Weiter SchreibeG(Lauf& l) {
  const int32_t i = l.Gerundet(0);
  if (i >= 0 && i <= RoutenVariablenGrenze) {
    if (i > UBound(RoutenVariablen)) RoutenVariablen.resize(static_cast<size_t>(i) + 1, 0.0f);
    RoutenVariablen[static_cast<size_t>(i)] = static_cast<float>(l.Gerundet(1));
  }
  return l.Naechster();
}

// Only the own and the shared variables take a value of G.
Weiter LeseG(Lauf& l) {
  const int32_t i = l.Gerundet(0);
  const float g = i >= 0 && i <= UBound(RoutenVariablen) ? RoutenVariablen[static_cast<size_t>(i)] : 0.0f;
  const int32_t code = Zielcode(l.A(1));
  if ((code >= 32748 && code <= 32755) || (code >= 32770 && code <= 32783))
    l.Setze(l.A(1), static_cast<float>(CLng(g)));
  return l.Naechster();
}

Weiter Division(Lauf& l) {
  const float zaehler = l.P(1), nenner = l.P(2);
  if (nenner != 0) l.Setze(l.A(0), zaehler / nenner);
  return l.Naechster();
}

Weiter Produkt(Lauf& l) {
  l.Setze(l.A(0), l.P(1) * l.P(2));
  return l.Naechster();
}

Weiter Polarschritt(Lauf& l) {
  const int32_t grad = l.Gerundet(2);
  l.Setze(l.A(0), CosinusB(grad) * l.o.Speed);
  l.Setze(l.A(1), SinusB(grad) * l.o.Speed);
  return l.Naechster();
}

Weiter Richtung(Lauf& l) {
  l.Setze(l.A(0), WinkelInGrad(l.P(1), l.P(2)));
  return l.Naechster();
}

Weiter Abrunden(Lauf& l) {
  l.Setze(l.A(0), static_cast<float>(Int(l.P(1))));
  return l.Naechster();
}

Weiter Betrag(Lauf& l) {
  const double a = l.P(1), b = l.P(2);
  l.Setze(l.A(0), static_cast<float>(std::sqrt(a * a + b * b)));
  return l.Naechster();
}

}  // namespace route
