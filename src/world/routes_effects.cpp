// Route commands that reach beyond the object: its enemy's components, shot generators
// and children, and the level around it (layers, sounds, effects, radio, special events).
// None of them ends the frame.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "campaign/game_loop_state.hpp"
#include "campaign/special_events_state.hpp"
#include "engine/force.hpp"
#include "engine/magnifier.hpp"
#include "engine/primitives.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/animations.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/particles.hpp"
#include "world/radio.hpp"
#include "world/routes_internal.hpp"

namespace route {
namespace {

// The enemy's child (template `TypWert`(7) Mod 1000 on route `TypWert`(7) \ 1000), placed
// centred on component `c`, or on the object when the enemy has no such component.
void Kind(Lauf& l, const Gegner& g, int32_t c) {
  if (const Feindkomponente* k = l.Komponente(c)) {
    StarteKind(g, *k);
  } else {
    StarteKind(g, double{l.o.FX} + IDiv(l.o.Width, 2), double{l.o.FY} + IDiv(l.o.Height, 2));
  }
}

// Whether level sound `s` may be played or stopped: sound is on and the index names a
// level sound (and lies inside the sound table).
bool LevelSoundDa(int32_t s) { return SoundAn && s >= 0 && s <= SoundsMax() && s <= LevelSoundsAnzahl(); }

// The layer of commands 24 and 25: p0 rounded down, when it names one of the seven.
int32_t Ebene(Lauf& l) {
  const double k = Int(l.P(0));
  return k >= 0 && k <= 6 ? static_cast<int32_t>(k) : -1;
}

}  // namespace

// Shows a held frame of a component, or lets its animation run again.
Weiter KomponentenBild(Lauf& l) {
  if (Feindkomponente* k = l.Komponente(l.Gerundet(0))) {
    const int32_t f = l.Gerundet(1);
    if (f < 0) {
      k->TiA = 0;
    } else if (k->Sprite >= 0 && k->Sprite <= SpriteDefsMax() &&
               f <= SpriteDefs[static_cast<size_t>(k->Sprite)].FramesMax()) {
      // A frame the component's sprite does not have could not be drawn.
      k->AniA = f;
      k->TiA = -1;
    }
  }
  return l.Naechster();
}

// Starts a shot generator on a component, or (generator -1) launches the enemy's child.
Weiter Feuer(Lauf& l) {
  const Gegner* g = l.Feind();
  if (g == nullptr) return l.Naechster();
  const int32_t erzeuger = l.Gerundet(1);
  const int32_t c = l.Gerundet(0);
  if (erzeuger == -1) {
    Kind(l, *g, c);
  } else if (l.Komponente(c) != nullptr && erzeuger >= 0 && erzeuger <= ErzeugerTypenMax()) {
    AddGegnerSchussErzeuger(erzeuger, l.o.FeindNR, c, VBFalse, l.o.VeskNr);
  }
  return l.Naechster();
}

Weiter KomponentenLook(Lauf& l) {
  if (Feindkomponente* k = l.Komponente(l.Gerundet(0))) {
    switch (l.Gerundet(1)) {
      case 0: k->A = l.P(2); break;
      case 1: k->R = l.P(2); break;
      case 2: k->G = l.P(2); break;
      case 3: k->B = l.P(2); break;
      case 4: k->Drehung = static_cast<float>((Mod(l.Gerundet(2), 360) + 360) % 360); break;
      default: break;
    }
  }
  return l.Naechster();
}

// A player that does not play is replaced by a random one who does.
Weiter Zielspieler(Lauf& l) {
  if (Gegner* g = l.Feind()) {
    int32_t n = l.Gerundet(0);
    if (n < 0 || n > LetzterSpieler) n = static_cast<int32_t>(Int(Rnd() * (LetzterSpieler + 1.0)));
    g->VeskNr = n;
  }
  return l.Naechster();
}

Weiter AnimationVorne(Lauf& l) {
  AddAnima(4, l.Gerundet(0), l.Gerundet(2), static_cast<double>(l.P(1)));
  return l.Naechster();
}

Weiter AnimationAufEbene(Lauf& l) {
  AddAnima(l.Gerundet(3), l.Gerundet(0), l.Gerundet(2), static_cast<double>(l.P(1)));
  return l.Naechster();
}

Weiter EbenenSpeed(Lauf& l) {
  if (const int32_t k = Ebene(l); k >= 0) Ebenen[static_cast<size_t>(k)].Speed = l.P(1);
  return l.Naechster();
}

// As EbenenSpeed, and every item of the landscape layer moves with it.
Weiter LandschaftSpeed(Lauf& l) {
  if (const int32_t k = Ebene(l); k >= 0) {
    const float speed = l.P(1);
    LandschaftEbene& e = Landschaft[static_cast<size_t>(k)];
    const int32_t bis = std::min(e.Max, e.Kapazitaet());
    for (int32_t i = 0; i <= bis; ++i) e.Objekte[static_cast<size_t>(i)].DX = -speed;
    Ebenen[static_cast<size_t>(k)].Speed = speed;
  }
  return l.Naechster();
}

Weiter LupeAnfordern(Lauf& l) {
  LupeAuftraege.push_back(LupeAuftrag{.x1 = l.P(0), .y1 = l.P(1), .Faktor = l.P(3), .D = l.P(2),
                                      .Rein = l.Gerundet(4)});
  return l.Naechster();
}

Weiter LevelSound(Lauf& l) {
  if (const int32_t s = l.Gerundet(0); LevelSoundDa(s))
    PlaySound(LevelSounds[static_cast<size_t>(s)], l.P(1) >= 1 ? 1 : 0, 0.0, static_cast<double>(SprachLautstaerke));
  return l.Naechster();
}

Weiter StoppeSound(Lauf& l) {
  if (const int32_t s = l.Gerundet(0); LevelSoundDa(s)) StopSound(LevelSounds[static_cast<size_t>(s)]);
  return l.Naechster();
}

Weiter Beben(Lauf& l) {
  if (const int32_t n = l.Gerundet(0); n >= 0) Erschuetterung = n;
  return l.Naechster();
}

Weiter Effektpartikel(Lauf& l) {
  Add1BigPartikel(l.P(0), l.P(1), l.P(2), l.P(3), l.P(4), l.P(5), l.P(6), l.Gerundet(7), l.Gerundet(8),
                  l.Gerundet(9), l.Gerundet(10), static_cast<float>(l.Gerundet(11)));
  return l.Naechster();
}

Weiter Blitzschlag(Lauf& l) {
  const float init = l.P(10);
  Blitz(l.P(0), l.P(1), l.P(2), l.P(3), l.P(4), l.Gerundet(5), l.P(6), l.P(7), l.P(8), l.P(9),
        init > 0 ? std::optional<double>(init) : std::nullopt, l.P(11) == 1);
  return l.Naechster();
}

Weiter BlaseSetzen(Lauf& l) {
  AddBlase(l.P(0), l.P(1), l.Gerundet(2));
  return l.Naechster();
}

Weiter Funkspruch(Lauf& l) {
  AddFunktion(l.Gerundet(0));
  return l.Naechster();
}

Weiter RauschenAendern(Lauf& l) {
  const float r = Rauschen + l.P(0);
  Rauschen = r > 1 ? 1.0f : (r >= 0 ? r : 0.0f);  // a broken term leaves no noise
  return l.Naechster();
}

Weiter Spezialereignis(Lauf& l) {
  SpezialStand.Aktiv = true;
  SpezialStand.Neustart = true;
  SpezialStand.Art = l.Gerundet(0);
  SpezialStand.Wert1 = l.Gerundet(1);
  SpezialStand.Wert2 = l.Gerundet(2);
  SpezialStand.Wert3 = l.Gerundet(3);
  SpezialStand.Wert4 = l.Gerundet(4);
  return l.Naechster();
}

}  // namespace route
