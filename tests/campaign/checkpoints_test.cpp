// Checkpoints: the snapshot's bytes against the item table, save - load - save with every
// pool full, damaged snapshots refused, the files (numbers taken, a missing or foreign
// file, deletion), the save skipped with nobody alive, the other player moved out of the
// rocks; the gate (who takes it, what taking it gives, its turn, breath, drift and
// widening, a reference frame); and the demo level with two gates played headless: a
// reload gives the same ticks again, and a death after a gate resumes there.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/special_events_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "headless/digest.hpp"
#include "headless/run.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/full_pools.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "support/support.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/routes_state.hpp"
#include "world/weather_state.hpp"
#include "world/weather_support.hpp"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Schnappschuss(int32_t VeskNr = 0) {
  Bytes b;
  SaveCheckPointSub(VeskNr, b);
  return b;
}

int32_t Long(const Bytes& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
void SetzeLong(Bytes& b, size_t at, int32_t v) { std::memcpy(b.data() + at, &v, 4); }

// Everything as new but the level's checkpoint (its number and bytes), which outlives
// every pass of the level; a new program has none.
void NeuBisAufDenCheckpoint() {
  const int32_t nr = CheckpointNr;
  Bytes daten = CheckpointDaten;
  testsupport::FreshState();
  CheckpointNr = nr;
  CheckpointDaten = std::move(daten);
}
Bytes Teil(const Bytes& b, size_t at, size_t n) { return Bytes(b.begin() + at, b.begin() + at + n); }

// Record sizes counted from their fields (lists empty, texts empty), and where the items
// of a fresh game's snapshot lie: kept apart from the field functions on purpose, so a
// field added to a record, or one that reader and writer both forgot, shows here.
constexpr size_t kGegner = 304, kAnimaDaten = 24, kAnimaTeil = 50, kLandObjekt = 22, kSternpunkt = 28,
                 kSpieler = 110, kSchuss = 46, kPartikel = 46, kGSchuss = 274, kErzeuger = 118, kBig = 58,
                 kBeamPunkte = 11 * 12, kBeam = 50, kSpezialObjekt = 38, kBlase = 18, kPopup = 22, kPod = 46,
                 kSatellit = 54, kTropfen = 16, kSpezial = 28, kDrohne = 106;
constexpr size_t kPosten3 = 4 + 101 * kGegner;
constexpr size_t kPosten5 = kPosten3 + 12;
size_t Schicht(int k) {  // a landscape layer and its (empty) event list
  const size_t n = static_cast<size_t>(LandschaftKapazitaet[k] + 1);
  return (n ? 10 + n * kLandObjekt : 2) + 12 + 2 + 16;
}
constexpr size_t kDrohnen = 10 + 2 * kDrohne + 6 + 4 + 12 + 12 + 4;
// From the end: drones, collision minimum, special event, one drop, satellite, overlay,
// pods, the route variables' bound.
constexpr size_t kVorEnde29 = kDrohnen + 4 + kSpezial;
constexpr size_t kVorEnde24 = kVorEnde29 + kTropfen + kSatellit + 2 + 4 * kPod + 4;
size_t Frisch() {
  size_t n = kPosten5;
  for (int k = 1; k <= 6; ++k) n += Schicht(k);
  n += 12 + 101 * kSternpunkt + 24 * kSpieler + 2;
  n += 2 * (1001 * kSchuss + 8 + 1501 * kPartikel + 8) + 501 * kGSchuss + 8 + 51 * kErzeuger + 8 + 4001 * kBig + 8;
  n += 2 * kBeamPunkte + 2 * kBeam + 8 + 16 * kSpezialObjekt + 16 + 4 + 201 * kBlase + 8 + 101 * kPopup + 8;
  return n + kVorEnde24;
}

class Checkpoints : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    RegenAnzahl = 0;
    LetzterSpieler = 0;
    testsupport::FreshState();
    std::filesystem::create_directories(home.dataDir());
    DatenOrdner = home.dataDir();
  }
  void TearDown() override {
    KillCheckpoint();
    Surfaces.clear();
    Sounds.clear();
    FreeLevelCatalogues();
    LetzterSpieler = 0;
    testsupport::FreshState();
  }
  std::string Ordner() const { return GetTempFolder() + "Harvo/"; }
  std::string Log() const { return testsupport::ReadText(home.dataDir() + "Debug.txt"); }
};

// ---- The snapshot's bytes --------------------------------------------------------------

TEST_F(Checkpoints, ItemsLieWhereTheTableSays) {
  struct Fall {
    const char* name;
    std::function<void()> setzen;
    std::function<void(const Bytes&)> pruefen;
  };
  const std::vector<Fall> faelle = {
      {"a fresh game: its size; AnimaMax -1 and no animation; layer 1's descriptor; layer 4 unallocated; the "
       "drones' descriptor; one drop for RegenAnzahl 0",
       [] {},
       [](const Bytes& b) {
         EXPECT_EQ(b.size(), Frisch());
         EXPECT_EQ(Teil(b, kPosten3, 12), (Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
         EXPECT_EQ(Teil(b, kPosten5, 10), (Bytes{1, 0, 51, 0, 0, 0, 0, 0, 0, 0}));
         const size_t ebene1 = kPosten5 + 10 + 51 * kLandObjekt;
         EXPECT_EQ(Long(b, ebene1 + 8), 50);  // after the highest used and the first free: the capacity
         EXPECT_EQ(Teil(b, ebene1 + 12, 6), (Bytes{0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));  // no events, bound -1
         EXPECT_EQ(Teil(b, kPosten5 + Schicht(1) + Schicht(2) + Schicht(3), 14),
                   (Bytes{0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
         EXPECT_EQ(Teil(b, b.size() - kDrohnen, 10), (Bytes{1, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
         EXPECT_EQ(Long(b, b.size() - kVorEnde24), -1);  // no route variables
       }},
      {"one animation of two parts", [] {
         Animationen.Claim();
         Animationen[0].Teile.assign(2, AnimaTeil{.Bild = 7});
       },
       [](const Bytes& b) {
         EXPECT_EQ(Long(b, kPosten3 + 8), 0);
         EXPECT_EQ(Teil(b, kPosten5 + 18, 10), (Bytes{1, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
         EXPECT_EQ(Long(b, kPosten5 + 28 + 28), 7);  // the first part's frame
         EXPECT_EQ(b.size(), Frisch() + kAnimaDaten + 8 + 2 * kAnimaTeil);
       }},
      {"the special event: 28 bytes", [] { SpezialStand = {true, 3, 1, 2, -3, 4, 77, false}; },
       [](const Bytes& b) {
         EXPECT_EQ(Teil(b, b.size() - kVorEnde29, kSpezial),
                   (Bytes{0xFF, 0xFF, 3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0, 77, 0, 0, 0, 0, 0}));
       }},
      {"route variables and a drone chain of three", [] {
         RoutenVariablen = {1.0f, -2.0f};
         Drohnen.Kette.resize(3);
       },
       [](const Bytes& b) {
         EXPECT_EQ(b.size(), Frisch() + 8 + kDrohne);
         const size_t drohnen = b.size() - kDrohnen - kDrohne;
         EXPECT_EQ(Teil(b, drohnen, 10), (Bytes{1, 0, 3, 0, 0, 0, 0, 0, 0, 0}));
         EXPECT_EQ(Long(b, drohnen + 10 + 3 * kDrohne + 6), 2);  // the chain's highest index
         EXPECT_EQ(Teil(b, drohnen - 4 - kSpezial - kTropfen - kSatellit - 2 - 4 * kPod - 12, 12),
                   (Bytes{1, 0, 0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0}));
       }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    testsupport::FreshState();
    f.setzen();
    const Bytes b = Schnappschuss();
    f.pruefen(b);
    EXPECT_TRUE(LoadCheckPointSub(b));
  }
}

TEST_F(Checkpoints, SaveLoadSaveWithEveryPoolFullGivesTheSameBytes) {
  testsupport::FillEveryPool(1);
  const Bytes a = Schnappschuss();
  testsupport::FillEveryPool(2);
  ASSERT_NE(Schnappschuss(), a);
  ASSERT_TRUE(LoadCheckPointSub(a));
  EXPECT_EQ(Schnappschuss(), a);
  EXPECT_EQ(AnimaMax, 300);
  EXPECT_FALSE(HintergrundInit);  // the star field came with it
  testsupport::FillEveryPool(1);
  EXPECT_EQ(Schnappschuss(), a);  // and what was read is the filling itself
}

TEST_F(Checkpoints, DamagedSnapshotsAreRefused) {
  const Bytes gut = Schnappschuss();
  struct Fall {
    const char* name;
    std::function<void(Bytes&)> aendern;
  };
  const size_t route = gut.size() - kVorEnde24;
  const std::vector<Fall> faelle = {
      {"empty", [](Bytes& b) { b.clear(); }},
      {"one byte short", [](Bytes& b) { b.pop_back(); }},
      {"one byte too many", [](Bytes& b) { b.push_back(0); }},
      {"AnimaMax 301", [](Bytes& b) { SetzeLong(b, kPosten3 + 8, 301); }},
      {"GegnerMax 101", [](Bytes& b) { SetzeLong(b, kPosten3 + 4, 101); }},
      {"GegnerFrei 102", [](Bytes& b) { SetzeLong(b, kPosten3, 102); }},
      {"layer 1 of 50 items", [](Bytes& b) { SetzeLong(b, kPosten5 + 2, 50); }},
      {"layer 1 from index 1", [](Bytes& b) { SetzeLong(b, kPosten5 + 6, 1); }},
      {"layer 1's highest used beyond it", [](Bytes& b) { SetzeLong(b, kPosten5 + 10 + 51 * kLandObjekt, 51); }},
      {"an event list longer than the bytes", [](Bytes& b) {
         const size_t ebene = kPosten5 + 10 + 51 * kLandObjekt + 12;
         const Bytes d = {1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
         b.erase(b.begin() + ebene, b.begin() + ebene + 2);
         b.insert(b.begin() + ebene, d.begin(), d.end());
       }},
      {"route variables beyond the bytes", [&](Bytes& b) { SetzeLong(b, route, 0x7FFFFFF0); }},
      {"route variables' bound -2", [&](Bytes& b) { SetzeLong(b, route, -2); }},
      {"a drone chain beyond the bytes", [](Bytes& b) { SetzeLong(b, b.size() - kDrohnen + 2, 1 << 30); }},
      {"the drone chain's bound disagrees", [](Bytes& b) { SetzeLong(b, b.size() - kDrohnen + 10 + 2 * kDrohne + 6, 5); }},
      {"the first player's name runs past the end", [](Bytes& b) {
         size_t name = kPosten5 + 12 + 101 * kSternpunkt + 104;
         for (int k = 1; k <= 6; ++k) name += Schicht(k);
         b.resize(name + 100);
         b[name] = b[name + 1] = 0xFF;
       }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Bytes b = gut;
    f.aendern(b);
    EXPECT_FALSE(LoadCheckPointSub(b));
    testsupport::FreshState();
  }
}

// The items one by one, as tests and the fuzzer take them apart.
std::vector<Bytes> Posten() {
  std::vector<Bytes> posten(static_cast<size_t>(CheckpointPostenAnzahl()));
  for (int32_t nr = 0; nr < CheckpointPostenAnzahl(); ++nr) CheckpointPostenSchreiben(nr, 0, posten[static_cast<size_t>(nr)]);
  return posten;
}

TEST_F(Checkpoints, AnItemReadAloneChangesOnlyItsOwnPartOfTheSnapshot) {
  testsupport::FillEveryPool(1);
  const std::vector<Bytes> eins = Posten();
  Bytes zusammen;
  for (const Bytes& p : eins) zusammen.insert(zusammen.end(), p.begin(), p.end());
  EXPECT_EQ(zusammen, Schnappschuss()) << "the items one after another are the snapshot";
  testsupport::FillEveryPool(2);
  const std::vector<Bytes> zwei = Posten();
  for (int32_t nr = 0; nr < CheckpointPostenAnzahl(); ++nr) {
    SCOPED_TRACE(nr);
    testsupport::FillEveryPool(2);
    ASSERT_TRUE(CheckpointPostenLesen(nr, eins[static_cast<size_t>(nr)]));
    std::vector<Bytes> erwartet = zwei;
    erwartet[static_cast<size_t>(nr)] = eins[static_cast<size_t>(nr)];
    EXPECT_EQ(Posten(), erwartet);
  }
}

TEST_F(Checkpoints, AnItemIsReadFromExactlyItsBytes) {
  const std::vector<Bytes> gut = Posten();
  for (int32_t nr = 0; nr < CheckpointPostenAnzahl(); ++nr) {
    SCOPED_TRACE(nr);
    const Bytes& b = gut[static_cast<size_t>(nr)];
    Bytes mehr = b;
    mehr.push_back(0);
    EXPECT_FALSE(CheckpointPostenLesen(nr, mehr));
    EXPECT_FALSE(CheckpointPostenLesen(nr, Teil(b, 0, b.size() - 1)));
    EXPECT_TRUE(CheckpointPostenLesen(nr, b));
  }
  // A number that names no item reads and writes nothing.
  for (int32_t nr : {-1, CheckpointPostenAnzahl()}) {
    Bytes b;
    CheckpointPostenSchreiben(nr, 0, b);
    EXPECT_TRUE(b.empty());
    EXPECT_FALSE(CheckpointPostenLesen(nr, b));
    EXPECT_FALSE(CheckpointPostenLesen(nr, gut[0]));
  }
  EXPECT_EQ(Posten(), gut);
}

// ---- Taking a checkpoint -----------------------------------------------------------------

TEST_F(Checkpoints, NobodyAliveTakesNoCheckpoint) {
  struct Fall {
    int32_t letzter, tod0, tod1;
    bool genommen;
  };
  for (const Fall& f : {Fall{0, 0, 0, true}, Fall{0, 5, 0, false}, Fall{1, 5, 0, true}, Fall{1, 0, 7, true},
                        Fall{1, 5, 7, false}}) {
    SCOPED_TRACE(testing::Message() << f.letzter << " " << f.tod0 << " " << f.tod1);
    KillCheckpoint();
    LevelTick = 11;
    SaveCheckpoint(0);
    const Bytes vorher = CheckpointDaten;
    LetzterSpieler = f.letzter;
    Spieler[0].Tod = f.tod0, Spieler[1].Tod = f.tod1;
    LevelTick = 22;
    SaveCheckpoint(0);
    EXPECT_EQ(CheckpointDaten != vorher, f.genommen);
    EXPECT_EQ(testsupport::ReadBytes(Ordner() + "Temp0.tmp"), CheckpointDaten);
    testsupport::FreshState();
  }
}

// The player who did not take the checkpoint, when the rocks hold it, lies in the snapshot
// at the other's place; in memory it stays.
TEST_F(Checkpoints, TheOtherPlayerIsMovedOutOfTheRocksInTheFileOnly) {
  weathertest::Fels(0, weathertest::Block(100, 100), 400, 200);
  Schiff[1].BoxLinks = 10, Schiff[1].BoxOben = 10, Schiff[1].BoxRechts = 50, Schiff[1].BoxUnten = 50;
  Spieler[0].X = 100, Spieler[0].Y = 260;
  for (const float x : {420.0f, 200.0f}) {  // in the rock, clear of it
    Spieler[1].X = x, Spieler[1].Y = 250;
    const Bytes b = Schnappschuss(0);
    EXPECT_EQ(Spieler[1].X, x);
    ASSERT_TRUE(LoadCheckPointSub(b));
    EXPECT_EQ(Spieler[1].X, x == 420 ? 100 : x);
    EXPECT_EQ(Spieler[1].Y, x == 420 ? 260 : 250);
    EXPECT_EQ(Spieler[0].X, 100);
  }
  Spieler[1].X = 420;
  ASSERT_TRUE(LoadCheckPointSub(Schnappschuss(1)));  // player 1 took it: it stays
  EXPECT_EQ(Spieler[1].X, 420);
}

// ---- The files --------------------------------------------------------------------------

TEST_F(Checkpoints, TheFilesFollowTheNumberTaken) {
  struct Fall {
    const char* name;
    int belegt;         // Temp0.tmp .. Temp<belegt - 1>.tmp are folders that cannot be deleted
    int32_t nr;         // the number taken
    const char* log;    // a line the save logs
  };
  for (const Fall& f : {Fall{"a free folder", 0, 0, nullptr}, Fall{"Temp0.tmp taken", 1, 1, nullptr},
                        Fall{"Temp0 to Temp9 taken", 10, 10, nullptr},
                        Fall{"all eleven taken", 11, 5, "cannot be deleted"}}) {
    SCOPED_TRACE(f.name);
    std::filesystem::remove_all(Ordner());
    for (int n = 0; n < f.belegt; ++n) std::filesystem::create_directories(Ordner() + "Temp" + std::to_string(n) + ".tmp/x");
    CheckpointNr = 5;
    LevelTick = 1234;
    SaveCheckpoint(0);
    EXPECT_EQ(CheckpointNr, f.nr);
    EXPECT_FALSE(CheckpointDaten.empty());  // play goes on with the bytes kept
    if (f.log) {
      EXPECT_NE(Log().find(f.log), std::string::npos);
    }
    LevelTick = 0;
    LoadCheckpoint();
    EXPECT_EQ(LevelTick, 1234);
    KillCheckpoint();
    for (int n = 0; n <= 10; ++n) EXPECT_FALSE(std::filesystem::is_regular_file(Ordner() + "Temp" + std::to_string(n) + ".tmp"));
    EXPECT_EQ(std::filesystem::exists(Ordner()), f.belegt > 0);  // the folder goes only when empty
  }
}

// A missing file, or one that is not the checkpoint taken (another instance may write the
// same folder), gives way to the bytes kept: logged, and the game comes back all the same.
TEST_F(Checkpoints, AMissingOrForeignFileGivesWayToTheKeptBytes) {
  struct Fall {
    const char* name;
    std::function<void(const std::string&)> datei;
    bool log;
  };
  for (const Fall& f : {Fall{"the file as written", [](const std::string&) {}, false},
                        Fall{"deleted", [](const std::string& p) { std::filesystem::remove(p); }, true},
                        Fall{"another's", [](const std::string& p) {
                           Bytes b = testsupport::ReadBytes(p);
                           b[0] ^= 1;
                           testsupport::WriteBytes(p, b);
                         }, true}}) {
    SCOPED_TRACE(f.name);
    std::filesystem::remove(home.dataDir() + "Debug.txt");
    LevelTick = 777;
    Spieler[0].Punkte = 4242;
    SaveCheckpoint(0);
    f.datei(Ordner() + "Temp0.tmp");
    NeuBisAufDenCheckpoint();
    LevelTick = 0;
    LoadCheckpoint();
    EXPECT_EQ(LevelTick, 777);
    EXPECT_EQ(Spieler[0].Punkte, 4242);
    EXPECT_EQ(Log().find("is missing or not the one taken") != std::string::npos, f.log);
  }
}

// After the level's checkpoints are gone a reload finds nothing and leaves the game alone,
// even with an old file of the number lying about.
TEST_F(Checkpoints, WithoutACheckpointAReloadChangesNothing) {
  LevelTick = 321;
  SaveCheckpoint(0);
  const Bytes alt = CheckpointDaten;
  KillCheckpoint();
  std::filesystem::create_directories(Ordner());
  testsupport::WriteBytes(Ordner() + "Temp0.tmp", alt);
  LevelTick = 5;
  LoadCheckpoint();
  EXPECT_EQ(LevelTick, 5);
  EXPECT_NE(Log().find("none has been taken"), std::string::npos);
}

// ---- The gate ----------------------------------------------------------------------------

class Tor : public Checkpoints {
 protected:
  void SetUp() override {
    Checkpoints::SetUp();
    for (SchiffDaten& s : Schiff) s.BoxLinks = 10, s.BoxOben = 20, s.BoxRechts = 50, s.BoxUnten = 44;
    Spieler[0].X = 100, Spieler[0].Y = 250;
    Spieler[1].X = 100, Spieler[1].Y = 400;
    Ebenen[3].Speed = 0;
    Rendern = false;
  }
};

TEST_F(Tor, TurnsBreathesAndDriftsWithLayerThree) {
  SetCheckpoint(700, 275, 300);
  Ebenen[3].Speed = 0.5f;  // rounded each frame it would never move
  for (int n = 0; n < 400; ++n) {
    EXPECT_EQ(CheckpointTor.Phase, static_cast<float>(n % 20));
    EXPECT_EQ(CheckpointTor.PulsWinkel, n % 180);
    SpielCheckpoint(0);
    SpielCheckpoint(1);
  }
  EXPECT_FLOAT_EQ(CheckpointTor.X, 500);
  EXPECT_TRUE(CheckpointTor.Active);
  SetCheckpoint(10, 20, 30);  // a new gate replaces it
  EXPECT_EQ(CheckpointTor.Phase, 0);
  EXPECT_EQ(CheckpointTor.X, 10);
}

TEST_F(Tor, TheLivingShipsWhoseHitBoxTheLineCrossesTakeIt) {
  struct Fall {
    const char* name;
    int32_t letzter;
    float x;     // the gate's line
    int32_t y;   // the gate's centre (height 100: 50 either way)
    int32_t tod0;
    std::array<int32_t, 2> punkte;  // two players share an award
  };
  // Ship 0's hit box spans 110..150 across and 270..294 down; ship 1's 420..444.
  for (const Fall& f : {Fall{"inside", 0, 130, 275, 0, {1000, 0}},
                        Fall{"on the left edge", 0, 110, 275, 0, {0, 0}},
                        Fall{"on the right edge", 0, 150, 275, 0, {0, 0}},
                        Fall{"just inside the right edge, rounded", 0, 149.4f, 275, 0, {1000, 0}},
                        Fall{"above it", 0, 130, 220, 0, {0, 0}},
                        Fall{"reaching into it from above", 0, 130, 221, 0, {1000, 0}},
                        Fall{"a dead ship", 0, 130, 275, 3, {0, 0}},
                        Fall{"dead, the second ship in the line", 1, 130, 440, 3, {0, 667}},
                        Fall{"both ships at once", 1, 130, 360, 0, {667, 667}}}) {
    SCOPED_TRACE(f.name);
    testsupport::FreshState();
    SetUp();
    LetzterSpieler = f.letzter;
    Spieler[0].Tod = f.tod0;
    SetCheckpoint(0, f.y, f.name == std::string("both ships at once") ? 300 : 100);
    CheckpointTor.X = f.x;
    SpielCheckpoint(1);
    const int genommen = (f.punkte[0] > 0) + (f.punkte[1] > 0);
    EXPECT_EQ(Spieler[0].Punkte, f.punkte[0]);
    EXPECT_EQ(Spieler[1].Punkte, f.punkte[1]);
    EXPECT_EQ(CheckpointTor.Triggered, genommen > 0);
    // Both records gain 50 per taking, in a one-player game too.
    EXPECT_FLOAT_EQ(Spieler[0].Energie, 100 + 50.0f * genommen);
    EXPECT_FLOAT_EQ(Spieler[1].Energie, 100 + 50.0f * genommen);
  }
}

TEST_F(Tor, TakingItSavesFlashesSoundsAndWidensTheRing) {
  for (int n = 0; n < 2; ++n) weathertest::Klang();
  SndCheckpoint = 0;
  Sounds[0].Kopien.push_back(std::move(Sounds[1].Kopien[0]));
  Sounds.pop_back();
  SoundAn = true;
  LevelTick = 555;
  SetCheckpoint(130, 275, 300);
  SpielCheckpoint(1);  // in a frame that is not drawn
  ASSERT_TRUE(CheckpointTor.Triggered);
  EXPECT_TRUE(BlendStart);
  EXPECT_EQ(CheckpointTor.Alpha, 1.0f);
  EXPECT_EQ(CheckpointTor.AlphaStep, -0.05f);
  EXPECT_EQ(CheckpointTor.Öffnung, 11);
  for (auto& k : Sounds[0].Kopien) EXPECT_TRUE(k.GetStatus() & DSBSTATUS_PLAYING);
  // The snapshot is the game before the gate's energy and points.
  NeuBisAufDenCheckpoint();
  LoadCheckpoint();
  EXPECT_EQ(LevelTick, 555);
  EXPECT_EQ(Spieler[0].Punkte, 0);
  EXPECT_FLOAT_EQ(Spieler[0].Energie, 100);
  SetCheckpoint(130, 275, 300);
  CheckpointTor.Triggered = true, CheckpointTor.Öffnung = 1;
  int frames = 0;
  for (; CheckpointTor.Active && frames < 1000; ++frames) SpielCheckpoint(1);
  EXPECT_EQ(frames, 80);  // 1 + 80 * 10 > 800
  EXPECT_FALSE(CheckpointTor.Triggered);
}

// The ring drawn over black: the left half behind, the right half in front, each orb a
// soft disc added at 0.7.
TEST_F(Tor, LooksAsItShould) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexKreis2 = testsupport::PaintedPicture(32, 32, platform::PixelFormat::XRGB8888, false, [](int x, int y) {
    const double d = std::hypot(x - 15.5, y - 15.5) / 16;
    const uint32_t v = d >= 1 ? 0 : static_cast<uint32_t>(255 * (1 - d * d));
    return 0xFF000000u | v << 16 | v << 8 | v;
  });
  Rendern = true;
  SetCheckpoint(400, 300, 100);
  CheckpointTor.Phase = 7, CheckpointTor.PulsWinkel = 44;
  RenderStart();
  SpielCheckpoint(0);
  SpielCheckpoint(1);
  RenderEnd();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/campaign/golden/gate_32.bmp", *BackBuffer, {340, 200, 470, 410}), "");
  testsupport::CloseDisplay();
  TexKreis2 = -1;
}

// ---- A level with two gates, played headless -------------------------------------------

class Torlevel : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  void TearDown() override { testsupport::FreshState(); }
  static headless_run::Options Gates(int64_t ticks) {
    headless_run::Options o;
    o.level = "Gates";
    o.seed = 5;
    o.ticks = ticks;
    return o;
  }
};

// Saved at tick N and run M ticks; then reloaded with the random sequence as it was at N
// and run M ticks again: the same state tick by tick (nothing of the level lies outside
// the snapshot between the gates: no weather, radio, combo or shake).
TEST_F(Torlevel, AReloadPlaysTheSameTicksAgain) {
  constexpr int64_t N = 30, M = 100;
  std::vector<uint64_t> erst, wieder;
  uint32_t rnd = 0, rndErst = 0;
  headless_run::Run(Gates(N + 2 * M), [&](const headless_run::Tick& t) {
    if (t.n == N) {
      SaveCheckpoint(0);
      rnd = RndState();
    } else if (t.n > N && t.n <= N + M) {
      erst.push_back(headless_run::StateDigest());
    } else if (t.n > N + M) {
      wieder.push_back(headless_run::StateDigest());
    }
    if (t.n == N + M) {
      rndErst = RndState();
      ResetAllPools();
      LoadCheckpoint();
      SetRndState(rnd);
    }
  });
  ASSERT_EQ(wieder.size(), static_cast<size_t>(M));
  EXPECT_EQ(wieder, erst);
  EXPECT_EQ(RndState(), rndErst);
}

// Through the first gate, then lost: the pass starts again at the gate with a life less
// and the scores as they were at the death.
TEST_F(Torlevel, ADeathAfterAGateResumesThere) {
  int32_t torTick = -1, tick = 0, punkte = 0, neustart = -1;
  float torY = 0;
  SpielerDaten danach;
  headless_run::Run(Gates(900), [&](const headless_run::Tick&) {
    // The snapshot holds the clock of the tick that took the gate.
    if (torTick < 0 && CheckpointTor.Triggered) torTick = LevelTick, torY = Spieler[0].Y;
    if (torTick > 0 && neustart < 0 && LevelTick == torTick + 40) {
      Spieler[0].Punkte += 77;
      Spieler[0].Schild = 0;
      Spieler[0].Energie = -1;
    }
    if (neustart < 0 && Spieler[0].Tod != 0) punkte = Spieler[0].Punkte;
    if (neustart < 0 && LevelTick < tick) neustart = LevelTick, danach = Spieler[0];
    tick = LevelTick;
  });
  ASSERT_GT(torTick, 400);
  EXPECT_EQ(neustart, torTick + 1);  // the first tick of the new pass
  EXPECT_EQ(danach.Leben, 2);
  EXPECT_EQ(danach.Punkte, punkte);
  EXPECT_GE(punkte, 1077);
  EXPECT_FLOAT_EQ(danach.Y, torY);
  EXPECT_EQ(danach.Tod, 0);
}

}  // namespace
