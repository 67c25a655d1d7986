#pragma once
// Inside the route interpreter: the running call, and the handlers of the commands, one
// per opcode, which the interpreter's dispatch table lists.
#include <cstdint>

#include "world/enemies_state.hpp"
#include "world/level_data_state.hpp"
#include "world/routes.hpp"

namespace route {

// What a command asks of the main loop after it ran.
enum class Weiter : uint8_t {
  Naechster,  // run the command at RoutePos in this call
  Ende,       // the frame ends: result 0
  Fertig,     // the route has ended: result -1
};

// One call of DoRoute: the object, its route and the command that runs.
struct Lauf {
  RoutenObjekt& o;
  const Route& route;
  const RoutenBefehl* befehl = nullptr;
  bool vonNext = false;  // a Next has jumped back to its For in this call

  int32_t Letzter() const { return route.BefehleMax(); }
  // The raw term A(k) of the running command; a term the command lacks reads 0.
  float A(size_t k) const { return k < befehl->A.size() ? befehl->A[k] : 0.0f; }
  // Parameter k of a command: Var(A(k)) + Var(B(k)).
  float P(const RoutenBefehl& b, size_t k) const;
  float P(size_t k) const { return P(*befehl, k); }
  int32_t Gerundet(size_t k) const;  // parameter k rounded to a whole number
  // Writes `v` into the variable that raw term `a` names as its target code.
  void Setze(float a, float v) const;
  Weiter Naechster() const {
    ++o.RoutePos;
    return Weiter::Naechster;
  }
  Weiter NaechsterImNaechstenFrame() const {
    ++o.RoutePos;
    return Weiter::Ende;
  }
  // The enemy that enemy-related commands act on: none for a shot (it has no enemy of its
  // own) or for a slot outside the pool.
  Gegner* Feind() const;
  // Component `c` of that enemy, or none when the index lies outside its components.
  Feindkomponente* Komponente(int32_t c) const;
};

// The whole number a target code is written as: the magnitude of the raw term, rounded.
int32_t Zielcode(float a);

// Movement and placing.
Weiter Platziere(Lauf&);          // 0
Weiter BewegeUndEnde(Lauf&);      // 1
Weiter Bewege(Lauf&);             // 2
Weiter BewegeBeschleunigt(Lauf&); // 3
Weiter Einzelschritt(Lauf&);      // 4
Weiter Warte(Lauf&);              // 5
Weiter SetzeSpeed(Lauf&);         // 6

// The enemy and its components.
Weiter KomponentenBild(Lauf&);    // 7
Weiter Feuer(Lauf&);              // 8
Weiter KomponentenLook(Lauf&);    // 27
Weiter Zielspieler(Lauf&);        // 43

// Variables.
Weiter Zuweisung(Lauf&);          // 9
Weiter Zufall(Lauf&);             // 10
Weiter SchreibeG(Lauf&);          // 17
Weiter LeseG(Lauf&);              // 18
Weiter Division(Lauf&);           // 20
Weiter Produkt(Lauf&);            // 21
Weiter Polarschritt(Lauf&);       // 22
Weiter Richtung(Lauf&);           // 23
Weiter Abrunden(Lauf&);           // 28
Weiter Betrag(Lauf&);             // 40

// Control flow.
Weiter OhneWirkung(Lauf&);        // 11 label, 15 EndIf, 32
Weiter Goto(Lauf&);               // 12
Weiter If(Lauf&);                 // 13
Weiter Else(Lauf&);               // 14
Weiter IfLandschaft(Lauf&);       // 16
Weiter For(Lauf&);                // 35
Weiter Next(Lauf&);               // 36
Weiter IfKomponenteWeg(Lauf&);    // 44

// The level around the object.
Weiter AnimationVorne(Lauf&);     // 19
Weiter EbenenSpeed(Lauf&);        // 24
Weiter LandschaftSpeed(Lauf&);    // 25
Weiter LupeAnfordern(Lauf&);      // 26
Weiter LevelSound(Lauf&);         // 29
Weiter StoppeSound(Lauf&);        // 30
Weiter Beben(Lauf&);              // 31
Weiter Effektpartikel(Lauf&);     // 33
Weiter Blitzschlag(Lauf&);        // 34
Weiter BlaseSetzen(Lauf&);        // 37
Weiter Funkspruch(Lauf&);         // 38
Weiter AnimationAufEbene(Lauf&);  // 39
Weiter RauschenAendern(Lauf&);    // 41
Weiter Spezialereignis(Lauf&);    // 42

}  // namespace route
