#include "world/enemies.hpp"

#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "world/collision.hpp"

void AddEnemy(const GegnerTyp& Def, int32_t RouteNr, int32_t LTick, int32_t AY, int32_t X) {
  // A full pool places nothing: no hint moves and no random number is drawn.
  const int32_t i = GegnerListe.Claim();
  if (i < 0) return;
  Gegner& g = GegnerListe[i];

  // The slot kept room for the largest template while the level loaded, so the deep copy
  // reuses it.
  g.Typ = Def;
  g.RoutePos = 0;
  g.MX = 0;
  g.MY = 0;
  g.Ti = 0;
  g.RouteNr = RouteNr;
  g.X = static_cast<float>(X);
  g.Y = static_cast<float>(AY);
  g.LTick = LTick;
  g.AY = AY;
  g.TodZeit = 0;
  g.TodArt = 0;
  g.Stirbt = VBFalse;
  g.VeskNr = static_cast<int32_t>(Int(static_cast<double>(Rnd()) * (LetzterSpieler + 1)));
  // Whatever the slot's previous occupant left in its route variables goes.
  g.Vari.fill(0);
  g.GVar.fill(0);
  g.Aktiv = VBTrue;
  if (g.Typ.Parameter[12] == 1) SonderGegnerDa = true;
  GegnerGeaendert(i);
}
