#include <gtest/gtest.h>

#include <functional>

#include "campaign/checkpoints_state.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/panel_state.hpp"
#include "campaign/script_state.hpp"
#include "campaign/special_events_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu_state.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/firing_state.hpp"
#include "player/nova_state.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "player/score_state.hpp"
#include "player/shots_state.hpp"
#include "run/program.hpp"
#include "run/program_state.hpp"
#include "run/variabeln.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/timing.hpp"
#include "support/support.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"
#include "world/pictures_state.hpp"
#include "world/radio_state.hpp"
#include "world/routes_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;

class Variabeln : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    headless::SetDate({2026, 6, 1, 12, 0, 0});
    VariabelnInit();
  }
  testsupport::IsolatedHome home;
};

TEST_F(Variabeln, InitSetsJoystickCodesLayersAndDefaults) {
  EXPECT_EQ(JoyLinks[0], 212);
  EXPECT_EQ(JoyRunter[0], 215);
  EXPECT_EQ(JoyKnopf[0][31], 247);
  EXPECT_EQ(JoyLinks[1], 247);  // shared with joystick 1's last button
  EXPECT_EQ(JoyKnopf[1][0], 251);
  const int32_t caps[7] = {10, 50, 20, 100, -1, 20, 15};
  for (int layer = 0; layer < 7; ++layer) {
    EXPECT_EQ(Landschaft[layer].Kapazitaet(), caps[layer]);
    EXPECT_EQ(Landschaft[layer].Objekte.size(), static_cast<size_t>(caps[layer] + 1));
  }
  EXPECT_EQ(EntpackListe.size(), 1u);
  EXPECT_FLOAT_EQ(Pi, 3.14159274f);
  EXPECT_EQ(platform::fs::Resolve(DatenOrdner), home.dataDir());
}

TEST_F(Variabeln, LöschEmptiesThePoolsAndResetsTheLevelState) {
  GegnerListe.Add(Gegner{});
  GegnerListe[0].Typ.Name = "Boss";
  Schuesse[1].Add(SchussDaten{});
  BigPartikel.Add(BigPartikelDaten{});
  Landschaft[3].Objekte[5].Aktiv = VBTrue;
  Landschaft[3].Max = 5;
  MessageHistory.Zeilen.push_back("x");
  ComboFaktor[1] = 3.5f;
  Spieler[0].X = 123;
  VariabelnLösch();
  EXPECT_EQ(GegnerMax, -1);
  EXPECT_EQ(GegnerListe[0].Aktiv, 0);
  EXPECT_EQ(GegnerListe[0].Typ.Name, "");
  EXPECT_EQ(Schuesse[1].Max, -1);
  EXPECT_EQ(BigPartikel.Max, -1);
  EXPECT_EQ(Landschaft[3].Max, -1);
  EXPECT_EQ(Landschaft[3].Objekte[5].Aktiv, 0);
  EXPECT_TRUE(MessageHistory.Zeilen.empty());
  EXPECT_EQ(ComboFaktor[1], 1.0f);
  for (const SpielerDaten& s : SpielerSpur[0]) EXPECT_EQ(s.X, 123);  // no streak from an old position
  EXPECT_EQ(Wetter, 0);
}

TEST_F(Variabeln, Raindrops) {
  struct Case {
    int32_t anzahl;
    size_t drops;
  } cases[] = {{0, 1}, {5, 6}, {499, 500}, {500, 0}, {-1, 0}, {-100, 0}, {INT32_MAX, 0}};
  for (const Case& c : cases) {
    RegenAnzahl = c.anzahl;
    VariabelnLösch();
    EXPECT_EQ(Regentropfen.size(), c.drops) << c.anzahl;
  }
  RegenAnzahl = 0;
}

TEST_F(Variabeln, ChristmasEveSnowsInEveryPass) {
  headless::SetDate({2026, 12, 24, 23, 59, 0});
  VariabelnLösch();
  EXPECT_EQ(Wetter, 1);
  VariabelnLösch();  // after a lost life too
  EXPECT_EQ(Wetter, 1);
}

TEST_F(Variabeln, TerminateFreesTheLayers) {
  VariabelnTerminate();
  for (const LandschaftEbene& e : Landschaft) EXPECT_TRUE(e.Objekte.empty());
  EXPECT_TRUE(EntpackListe.empty());
}

TEST_F(Variabeln, LöschResetsEveryPieceOfTheLevelState) {
  struct Case {
    const char* name;
    std::function<void()> dirty;
    std::function<bool()> reset;
  } cases[] = {
      {"nova", [] { Nova.NovaZeit = 9, WeltAngehalten = -1; }, [] { return Nova.NovaZeit == 0 && !WeltAngehalten; }},
      {"background scroll", [] { HintergrundX = 12; }, [] { return HintergrundX == 0; }},
      {"overlays", [] { Overlay1 = Overlay2 = true; }, [] { return !Overlay1 && !Overlay2; }},
      {"magnifier queue", [] { LupeAuftraege.push_back({}); }, [] { return LupeAuftraegeMax() == -1; }},
      {"small particles", [] { Partikel[0].Claim(); }, [] { return Partikel[0].Max == -1; }},
      {"landscape cursor", [] { Ebenen[6].Cursor = 4; }, [] { return Ebenen[6].Cursor == 0; }},
      {"animations", [] { Animationen.Claim(); }, [] { return AnimaMax == -1; }},
      {"checkpoint gate", [] { CheckpointTor.Active = true; }, [] { return !CheckpointTor.Active; }},
      {"bubbles", [] { Blasen.Claim(); }, [] { return Blasen.Max == -1 && Blasen.Frei == 0; }},
      {"enemy shots", [] { GegnerSchuesse.Claim(); }, [] { return GegnerSchuesse.Max == -1; }},
      {"shot generators", [] { SchussErzeuger.Claim(); }, [] { return SchussErzeuger.Max == -1; }},
      {"pick-ups", [] { SpezialObjekte.Claim(); }, [] { return SpezialObjekte.Max == -1; }},
      {"score pop-ups", [] { PunkteAnzeigen.Claim(); }, [] { return PunkteMax == -1; }},
      {"route variables", [] { RoutenVariablen.assign(3, 1.0f); }, [] { return RoutenVariablen.empty(); }},
      {"weather set-up", [] { WetterInit = HintergrundInit = false; }, [] { return WetterInit && HintergrundInit; }},
      {"water splash sound", [] { WasserKlangLaeuft = true; }, [] { return !WasserKlangLaeuft; }},
      {"trail display", [] { SpurAn = true; }, [] { return !SpurAn; }},
      {"beam power mode", [] { Beam[1].Powermodus = -1, Beam[1].Ladung = 3; },
       [] { return Beam[1].Powermodus == 0 && Beam[1].Ladung == 0; }},
      {"ticker", [] { TickerPos = 40; }, [] { return TickerPos == 0; }},
      {"combo", [] { ComboTreffer[0] = 3, ComboBonus[1] = 9; }, [] { return ComboTreffer[0] == 0 && ComboBonus[1] == 0; }},
      {"radio message", [] { FunkStatus.Aktiv = -1; }, [] { return FunkStatus.Aktiv == 0; }},
      {"screen shake", [] { Erschuetterung = 30; }, [] { return Erschuetterung == 0; }},
      {"noise", [] { Rauschen = RauschenBasis = 0.5f; }, [] { return Rauschen == 0 && RauschenBasis == 0; }},
      {"special event", [] { SpezialStand = {true, 3, 1, 2, 3, 4, 77, false}; },
       [] {
         return !SpezialStand.Aktiv && SpezialStand.Neustart && SpezialStand.Art == 0 && SpezialStand.Zeit == 0 &&
                SpezialStand.Wert4 == 4;  // the values stay
       }},
      {"extra-life countdown", [] { ExtraLebenZeit = 50; }, [] { return ExtraLebenZeit == 0; }},
      {"boss", [] { SonderGegnerDa = true; }, [] { return !SonderGegnerDa; }},
  };
  for (const Case& c : cases) {
    c.dirty();
    VariabelnLösch();
    EXPECT_TRUE(c.reset()) << c.name;
  }
}

TEST_F(Variabeln, LöschLeavesTheLevelDataTablesTheShotsVariablesAndWhetherTheTickerRanOut) {
  GegnerTypen.resize(2);
  TickerLeer = true;
  Spieler[0].Punkte = 1234;
  SchussGVar[13] = 2.5f;
  VariabelnLösch();
  EXPECT_EQ(GegnerTypenMax(), 1);
  EXPECT_TRUE(TickerLeer);
  EXPECT_EQ(Spieler[0].Punkte, 1234);
  EXPECT_EQ(SchussGVar[13], 2.5f);  // the enemy shots' shared route variables
  GegnerTypen.clear();
  TickerLeer = false;
  ResetShotVariables();
}

TEST_F(Variabeln, TheTrailHoldsTheShipAsArmedForThePass) {
  Spieler[1].Energie = 5;
  Spieler[1].EnergieMax = 80;
  VariabelnLösch();
  for (const SpielerDaten& s : SpielerSpur[1]) EXPECT_EQ(s.Energie, 80);
}

TEST_F(Variabeln, LöschEmptiesEnemyTemplatesButKeepsTheirRoom) {
  GegnerTyp vorlage;
  vorlage.Name = "A template with a name that does not fit a short string";
  vorlage.Komponenten.resize(9);
  vorlage.Parameter[12] = 1;
  vorlage.HP = 50;
  GegnerListe.Add(Gegner{vorlage});
  const size_t komponenten = GegnerListe[0].Typ.Komponenten.capacity();
  const size_t name = GegnerListe[0].Typ.Name.capacity();
  VariabelnLösch();
  const GegnerTyp& t = GegnerListe[0].Typ;
  EXPECT_EQ(t.KomponentenMax(), -1);
  EXPECT_EQ(t.Name, "");
  EXPECT_EQ(t.HP, 0);
  EXPECT_EQ(t.Parameter[12], 0);
  EXPECT_EQ(t.Komponenten.capacity(), komponenten);
  EXPECT_EQ(t.Name.capacity(), name);
}

TEST_F(Variabeln, InitHandsTheProgramRunsProceduresDown) {
  EXPECT_EQ(ResetAllPools, &VariabelnLösch);
  EXPECT_EQ(CloseGameWindows, &UnloadGameWindows);
  Blasen.Claim();
  ResetAllPools();
  EXPECT_EQ(Blasen.Max, -1);
}

TEST_F(Variabeln, StartDefaultsEmptyTheTablesAndArmTheTrails) {
  Surfaces.resize(3);
  Sounds.resize(2);
  AnimaTypen.resize(4);
  Farbtiefe = 16;
  SetStartDefaults();
  EXPECT_EQ(SurfacesMax(), -1);
  EXPECT_EQ(SoundsMax(), -1);
  EXPECT_EQ(AnimaTypenMax(), -1);
  EXPECT_EQ(Farbtiefe, 32);
  for (const auto& gruppe : Schuesse)
    for (const SchussDaten& s : gruppe.Slot) ASSERT_GE(s.SchweifX.capacity(), kSchweifPunkte);
}

// The game window is made before the start and stays through it.
TEST_F(Variabeln, StartDefaultsKeepTheGameWindow) {
  Form1 = 3, Picture1Breite = 640, Picture1Hoehe = 480;
  SetStartDefaults();
  EXPECT_EQ(Form1, 3);
  EXPECT_EQ(Picture1Breite, 640);
  EXPECT_EQ(Picture1Hoehe, 480);
  ResetProgramRunState();
}

// What a game, a level or a menu visit leaves behind, and no level pass clears, is gone
// again at the start: a second start in one process is a new one.
TEST_F(Variabeln, StartDefaultsForgetWhatEarlierGamesLeft) {
  struct Case {
    const char* name;
    std::function<void()> dirty;
    std::function<bool()> reset;
  } cases[] = {
      {"ship blocks", [] { Schiff[1].Typ = 2, Schiff[1].BoxUnten = 54; },
       [] { return Schiff[1].Typ == 0 && Schiff[1].BoxUnten == 0; }},
      {"pods", [] { Pods[2].AnimFrame = 5, Pods[2].Hervorhebung = 3, PodDrehung = 40; },
       [] { return Pods[2].AnimFrame == 0 && Pods[2].Hervorhebung == 0 && PodDrehung == 0; }},
      {"satellite", [] { Satellit.X = -60, Satellit.Stufe = 2, SatellitLauf.Rufe = 3; },
       [] { return Satellit.X == 0 && Satellit.Stufe == 0 && SatellitLauf.Rufe == 0; }},
      {"drones", [] { Drohnen.Munition[2] = 9, Drohnen.Spezialwaffe = 2; },
       [] { return Drohnen.Munition[2] == 0 && Drohnen.Spezialwaffe == 0 && Drohnen.DrohnenMax() == 1; }},
      {"beam mode", [] { Beam[0].Modus = 1, BeamVerlauf.RingRadius = 5; },
       [] { return Beam[0].Modus == 0 && BeamVerlauf.RingRadius == 0; }},
      {"frame row pace", [] { Feuer.ZeilenTakt = 1; }, [] { return Feuer.ZeilenTakt == 0; }},
      {"players", [] { LetzterSpieler = 1, Spieler[1].Name = "Bob", Spieler[0].Tod = 9, SpurAn = true; },
       [] {
         return LetzterSpieler == 0 && Spieler[1].Name.empty() && Spieler[0].Tod == 0 && !SpurAn &&
                Spieler[0].Leben == 3;
       }},
      {"wind and gravity", [] { Windphase = 120, Schwerkraft = 0.2f, Wasserstand = 80, HintergrundModus = 4; },
       [] { return Windphase == 0 && Schwerkraft == 0 && Wasserstand == 0 && HintergrundModus == 1; }},
      {"shown scores and combo", [] { AnzeigePunkte = {5000, 7}, ComboAnzeige = 4, ComboPunkte = 90; },
       [] { return AnzeigePunkte == std::array<int32_t, 2>{} && ComboAnzeige == 0 && ComboPunkte == 0; }},
      {"frame clock", [] { LetzterTick = 125000, Rendern = false, FrameSkipAn = true, Antizeitverschiebung = true; },
       [] { return LetzterTick == 0 && Rendern && !FrameSkipAn && !Antizeitverschiebung; }},
      {"level clock", [] { LevelTick = 700, LevelEnde = 2, MusikFade = 40; },
       [] { return LevelTick == 0 && LevelEnde == 0 && MusikFade == 0; }},
      {"kept checkpoint", [] { CheckpointDaten = {1, 2}, CheckpointNr = 3; },
       [] { return CheckpointDaten.empty() && CheckpointNr == 0; }},
      {"ticker ran out", [] { TickerLeer = true; }, [] { return !TickerLeer; }},
      {"special event values", [] { SpezialStand.Wert4 = 4; }, [] { return SpezialStand.Wert4 == 0; }},
      {"picture handles", [] { TexSatellit[3] = 17, TexAnzeigeSpec[1] = 4, TexLupe = 9, SchiffInterfaceSatz = 3; },
       [] { return TexSatellit[3] == -1 && TexAnzeigeSpec[1] == -1 && TexLupe == -1 && SchiffInterfaceSatz == 0; }},
      {"sound handles", [] { SndRain = 4, SndWarnung[6] = 2; }, [] { return SndRain == -1 && SndWarnung[6] == -1; }},
      {"level data", [] { MusikDatei = "x.ogg", HintergrundBild = 3, GegnerTypen.resize(2), Ebenen[2].Speed = 4; },
       [] { return MusikDatei.empty() && HintergrundBild == -1 && GegnerTypen.empty() && Ebenen[2].Speed == 0; }},
      {"radio", [] { FunktionDaten.push_back({1, 2}), Timer2.Enabled = true, FunkStatus.Seite = 3; },
       [] { return FunktionDaten.empty() && !Timer2.Enabled && FunkStatus.Seite == 0; }},
      {"pool records", [] { Partikel[0].Slot[7].Leben = 9, GegnerListe[3].X = 5, SpezialObjekte[1].Art = 4; },
       [] { return Partikel[0].Slot[7].Leben == 0 && GegnerListe[3].X == 0 && SpezialObjekte[1].Art == 0; }},
      {"menu", [] { MenuSeite = kSeiteHaupt, Menu.Spielerwahl = 1; },
       [] { return MenuSeite == kSeiteStart && Menu.Spielerwahl == 0; }},
      {"campaign", [] { SkriptStand.SkriptZeile = 12, ExtraLebenSchwelle = 12, Durchgang = 3; },
       [] { return SkriptStand.SkriptZeile == 0 && ExtraLebenSchwelle == 3 && Durchgang == 1; }},
      {"settings", [] { LoadingscreenNr = 12, VideoKlein = true, Sprache = "R"; },
       [] { return LoadingscreenNr == 0 && !VideoKlein && Sprache == "E"; }},
      {"keys and joysticks", [] { KeyState[57] = true, JoyDa[0] = true, TastenZeichen = 13; },
       [] { return !KeyState[57] && !JoyDa[0] && TastenZeichen == 0; }},
      {"rumble", [] { ForceTime[3] = 9, Erschuetterung = 4; }, [] { return ForceTime[3] == 0 && Erschuetterung == 0; }},
      {"alpha textures of a 16-bit game", [] { AlphaFormat = 16; }, [] { return AlphaFormat == 0; }},
      {"music faded out", [] { platform::music::SetVolume(0); }, [] { return platform::music::Volume() == 100; }},
      {"enemy shots' route variables", [] { SchussGVar[0] = 7, SchussGVar[13] = -1; },
       [] { return SchussGVar == std::array<float, 14>{}; }},
      {"program run", [] { Spielstatus = 10, DebugModus = SkipModus = true, LevelName = "Arsenal", Form3 = 4; },
       [] { return Spielstatus == 0 && !DebugModus && !SkipModus && LevelName == "Level1" && Form3 == 0; }},
  };
  for (const Case& c : cases) {
    c.dirty();
    SetStartDefaults();
    EXPECT_TRUE(c.reset()) << c.name;
  }
}

TEST_F(Variabeln, TerminateFreesTheLevelCatalogues) {
  SpriteDefs.resize(2);
  GegnerTypen.resize(3);
  Routen.resize(4);
  AnimaTypen.resize(5);
  VariabelnTerminate();
  EXPECT_EQ(SpriteDefs.capacity() + GegnerTypen.capacity() + Routen.capacity() + AnimaTypen.capacity(), 0u);
  EXPECT_EQ(EntpackListe.capacity(), 0u);
}
