#include "shell/variabeln.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "campaign/checkpoints.hpp"
#include "campaign/game_loop.hpp"
#include "campaign/special_events.hpp"
#include "campaign/ticker.hpp"
#include "engine/force.hpp"
#include "engine/magnifier.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects.hpp"
#include "platform/fs.hpp"
#include "platform/process.hpp"
#include "player/beam.hpp"
#include "player/nova.hpp"
#include "player/players.hpp"
#include "player/score.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/animations.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/landscape.hpp"
#include "world/level_data.hpp"
#include "world/particles.hpp"
#include "world/pickups.hpp"
#include "world/radio.hpp"
#include "world/routes.hpp"
#include "world/weather.hpp"

namespace {
const char* const ProduktName = "Harvo";
}

void VariabelnInit() {
  RandomizeTimer();

  AppPfad = platform::fs::ProgramFolder();
  if (!platform::fs::EndsInSeparator(AppPfad)) AppPfad += '\\';
  if (chdir(platform::fs::Resolve(AppPfad).c_str()) != 0) {
    // The program folder stays reachable by its full path; nothing depends on the cwd.
  }

  if (!CreateAppDataFolder(ProduktName, "save\\", true, CSIDL_APPDATA, true)) {
    DatenOrdner = AppPfad;
    SaveOrdner = AppPfad + "save\\";
    platform::fs::MakeDir(SaveOrdner);
  }

  AutoAnordnung = true;
  ForceModus = true;
  VeskReset();

  Pi = static_cast<float>(4.0 * std::atan(1.0));
  Farbtiefe = 32;
  Sprache = "E";
  FensterModus = false;
  VoodooModus = false;
  SoundAn = true;
  VideoAn = true;
  PartikelAn = true;
  QuadPartikel = true;
  LandschaftsKontakt = true;
  Schwerkraft = 0;
  Rauschen = 0;
  SurfacesMax = -1;
  SoundsMax = -1;
  AnimaTypenMax = -1;

  for (int layer = 0; layer < 7; ++layer) {
    LandschaftEbene& e = Landschaft[layer];
    e.Kapazitaet = LandschaftKapazitaet[layer];
    e.Objekte.assign(e.Kapazitaet >= 0 ? e.Kapazitaet + 1 : 0, LandschaftObjekt{});
    e.Max = -1;
    e.Frei = 0;
  }

  EntpackListe.assign(1, "");

  for (int j = 0; j < 2; ++j) {
    JoyLinks[j] = static_cast<int16_t>(212 + 35 * j);
    JoyHoch[j] = static_cast<int16_t>(213 + 35 * j);
    JoyRechts[j] = static_cast<int16_t>(214 + 35 * j);
    JoyRunter[j] = static_cast<int16_t>(215 + 35 * j);
    for (int b = 0; b < 32; ++b) JoyKnopf[j][b] = static_cast<int16_t>(216 + 35 * j + b);
  }
}

void VariabelnLösch() {
  Nova = NovaStatus{};
  HintergrundX = 0;
  Overlay1 = false;
  Overlay2 = false;
  LupeAuftraege.clear();

  for (int g = 0; g < 2; ++g) {
    Partikel[g].Reset();
    Schuesse[g].Reset();
  }
  for (int layer = 0; layer < 7; ++layer) {
    LandschaftEbene& e = Landschaft[layer];
    for (LandschaftObjekt& o : e.Objekte) o.Aktiv = VBFalse;
    e.Frei = 0;
    e.Max = -1;
    Ebenen[layer].Cursor = 0;
  }
  Animationen.Reset();
  CheckpointTor.Aktiv = false;
  Blasen.Reset();
  BigPartikel.Reset();

  GegnerListe.Frei = 0;
  GegnerListe.Max = -1;
  for (Gegner& g : GegnerListe.Slot) {
    g.Typ = GegnerTyp{};
    g.Aktiv = VBFalse;
  }

  GegnerSchuesse.Reset();
  SchussErzeuger.Reset();
  SpezialObjekte.Reset();
  PunkteAnzeigen.Reset();

  RoutenVariablen.clear();

  // Below 0 there are no raindrops; an absurd count is capped.
  int32_t tropfen = RegenAnzahl < 0 ? 0 : std::min(RegenAnzahl, RegenAnzahlGrenze) + 1;
  Regentropfen.assign(static_cast<size_t>(tropfen), RegenTropfen{});
  HintergrundInit = true;

  VeskInit(0);
  VeskInit(1);

  SpurAn = false;
  Wetter = 0;
  WetterInit = true;
  platform::DateTime today = platform::Now();
  if (today.month == 12 && today.day == 24) Wetter = 1;

  for (int p = 0; p < 2; ++p) SpielerSpur[p].fill(Spieler[p]);

  for (BeamStatus& b : Beam) {
    b.AktivModus = 0;
    b.Ladung = 0;
    b.PowerZeit = 0;
    b.Fliegt = VBFalse;
    b.Powermodus = VBFalse;
  }

  MessageHistory.Zeilen.clear();
  MessageHistory.Scroll = 0;
  for (int p = 0; p < 2; ++p) {
    ComboFaktor[p] = 1.0f;
    ComboTreffer[p] = 0;
    ComboBonus[p] = 0;
  }

  FunkStatus.Aktiv = VBFalse;
  Erschuetterung = 0;
  RauschenBasis = 0;
  Rauschen = 0;

  KillFunktionsSound();

  SpezialStand.Aktiv = false;
  SpezialStand.Art = 0;
  SpezialStand.Tick = 0;
  SpezialStand.Neustart = true;

  ForceStop();

  ExtraLebenCountdown = 0;
  SonderGegnerDa = false;
}

void VariabelnTerminate() {
  for (LandschaftEbene& e : Landschaft) {
    e.Objekte.clear();
    e.Objekte.shrink_to_fit();
  }
  SpriteDefs.clear();
  GegnerTypen.clear();
  Routen.clear();
  AnimaTypen.clear();
  EntpackListe.clear();
}
