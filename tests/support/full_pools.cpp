#include "support/full_pools.hpp"

#include <string>

#include "campaign/special_events_state.hpp"
#include "frontend/effects_state.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/score_state.hpp"
#include "player/shots_state.hpp"
#include "shell/basic.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"
#include "world/routes_state.hpp"
#include "world/weather_state.hpp"

namespace testsupport {
namespace {

// A generator of field values, so two fillings differ everywhere.
struct Werte {
  uint32_t s;
  int32_t L() { return static_cast<int32_t>((s = s * 1664525u + 1013904223u) >> 8) % 1000; }
  float F() { return static_cast<float>(L()) / 8.0f; }
};

}  // namespace

void FillEveryPool(uint32_t seed) {
  Werte w{seed};
  for (Gegner& g : GegnerListe.Slot) {
    g.Typ.Komponenten.assign(static_cast<size_t>(1 + w.L() % 3), Feindkomponente{});
    for (Feindkomponente& k : g.Typ.Komponenten) k.HP = w.F(), k.Vari[3] = w.F(), k.TrefferBlitz = w.L();
    g.Typ.Name = "Gegner aus der Fuellung " + std::to_string(w.L());
    g.Typ.Parameter[15] = w.L();
    g.Aktiv = VBTrue, g.X = w.F(), g.GVar[13] = w.F(), g.WrackTeile[5].FrameZeit = w.L();
  }
  GegnerListe.Frei = 101, GegnerListe.Max = 100;
  for (AnimaDaten& a : Animationen.Slot) {
    a.Aktiv = VBTrue, a.Tick = w.L();
    a.Teile.assign(static_cast<size_t>(1 + w.L() % 2), AnimaTeil{});
    a.Teile.back().BildZeit = w.L();
  }
  AnimaMax = 300;
  for (int k = 1; k <= 6; ++k) {
    for (LandschaftObjekt& o : Landschaft[k].Objekte) o.Aktiv = VBTrue, o.DY = w.F();
    Landschaft[k].Max = LandschaftKapazitaet[k];
    Ebenen[k].Ereignisse.assign(static_cast<size_t>(1 + w.L() % 4), LevelEreignis{.P3 = w.L()});
    Ebenen[k].Cursor = w.L(), Ebenen[k].Offset = w.F();
  }
  HintergrundX = w.F(), HintergrundModus = w.L(), HintergrundPunkte[100].Wert[4] = w.F();
  for (auto& spur : SpielerSpur)
    for (SpielerDaten& s : spur) s.Name = "Spur " + std::to_string(w.L()), s.Punkte = w.L();
  for (SpielerDaten& s : Spieler) s.Name = "Ein recht langer Spielername", s.Energie = w.F(), s.X = w.F();
  SpurAn = true;
  auto voll = [&](auto& pool, auto setzen) {
    for (auto& s : pool.Slot) s.Aktiv = VBTrue, setzen(s);
    pool.Frei = pool.Kapazitaet + 1, pool.Max = pool.Kapazitaet;
  };
  for (int p = 0; p < 2; ++p) {
    voll(Schuesse[p], [&](SchussDaten& s) { s.Stärke = w.F(), s.SchweifX.assign(3, w.F()), s.SchweifY.assign(3, w.F()); });
    voll(Partikel[p], [&](PartikelDaten& s) { s.Farbe = w.L(); });
  }
  voll(GegnerSchuesse, [&](GegnerSchussDaten& s) { s.SpurBild[12] = w.L(); });
  voll(SchussErzeuger, [&](SchussErzeugerDaten& s) { s.Countdown[10] = w.L(); });
  voll(BigPartikel, [&](BigPartikelDaten& s) { s.Parameter = w.F(); });
  voll(SpezialObjekte, [&](SpezialObjekt& s) { s.MY = w.F(); });
  voll(Blasen, [&](Blase& s) { s.Phase = w.L(); });
  voll(PunkteAnzeigen, [&](PunkteAnzeige& s) { s.Wert = w.L(); });
  for (BeamStatus& b : Beam) b.Nachleuchten = w.L();
  ComboFaktor[1] = w.F(), ComboTreffer[1] = w.L(), Wasserstand = w.L();
  RoutenVariablen.assign(static_cast<size_t>(1 + w.L() % 20), w.F());
  Overlay1 = true;
  SpezialStand = {true, w.L(), w.L(), 2, 3, 4, w.L(), false};
  for (RegenTropfen& t : Regentropfen) t.SY = w.F();
  Drohnen.Kette.assign(static_cast<size_t>(1 + w.L() % 4), DrohnenDaten{});
  Drohnen.Kette.back().VerlaufY[10] = w.F();
  Drohnen.Spezialwaffe = w.L();
}

}  // namespace testsupport
