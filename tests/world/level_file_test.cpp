#include "world/level_file.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>

#include "campaign/game_loop_state.hpp"
#include "lib/archive_writer.hpp"
#include "lib/level_writer.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/level_test_data.hpp"
#include "world/radio_text_file.hpp"
#include "world/weather_state.hpp"

namespace fsys = std::filesystem;
namespace headless = platform::headless;
using levelfile::Ergebnis;
using levelfile::Leveldaten;
using leveltest::Bytes;

namespace {

// The loaded level as the globals hold it, to compare before and after.
Leveldaten Globale() {
  Leveldaten d;
  d.Hintergrund = HintergrundName;
  d.SpriteDefs = SpriteDefs;
  d.GegnerTypen = GegnerTypen;
  d.Routen = Routen;
  d.Ebenen = Ebenen;
  d.AnimaTypen = AnimaTypen;
  d.ErzeugerTypen = ErzeugerTypen;
  d.SchussTypen = SchussTypen;
  d.Sounds = LevelSoundDateien;
  d.FunkTextBasis = FunkTextBasis;
  d.Funkmeldungen = Funkmeldungen;
  d.LevelLaenge = LevelLaenge;
  d.Wasserstand = Wasserstand;
  d.RegenAnzahl = RegenAnzahl;
  d.Schwerkraft = Schwerkraft;
  d.MusikDatei = MusikDatei;
  d.WasserName = WasserName;
  d.WasserDaten = WasserDaten;
  return d;
}

Ergebnis Lies(const std::vector<uint8_t>& bytes, Leveldaten& d, int32_t letzterSpieler = 0) {
  return levelfile::Lese(bytes, d, letzterSpieler);
}

// One record read on its own from hand-made bytes; all of them must be used.
template <class T>
T LiesRecord(const Bytes& bytes, double hpFaktor = 1) {
  platform::ByteReader in(bytes.b);
  levelfile::Leser leser(in, hpFaktor);
  T r{};
  levelfile::Felder(leser, r);
  EXPECT_TRUE(leser.Ok());
  EXPECT_EQ(in.Remaining(), 0u);
  return r;
}

class LevelFile : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    DatenOrdner = home.home();
    DebugModus = true;
    fsys::create_directories(app / "Data");
  }
  void TearDown() override {
    FreeLevelCatalogues();
    LetzterSpieler = 0;
    testsupport::FreshState();
  }
  std::string AppPath() const { return app.string() + "/"; }

  testsupport::IsolatedHome home;
  fsys::path app = fsys::path(home.home()) / "app";
};

}  // namespace

TEST_F(LevelFile, WriterArchiveAndTheGamesReaderAgreeOnEveryField) {
  const std::string funk = "[intro]\r\n1;a.wav;2000;Hallo\r\n";
  testsupport::WriteBytes((app / "Data" / "Level1.vlp").string(),
                          tools::PackArchive({{"Level1.dat", leveltest::Datei(leveltest::VollesLevel())},
                                              {"FunkE.txt", std::vector<uint8_t>(funk.begin(), funk.end())}}));
  const std::string ordner = Depack("Level1.vlp", AppPath(), true);

  ASSERT_EQ(LeseLeveldatei(ordner + "Level1.dat"), Ergebnis::Geladen);
  LadeFunkTexte(ordner);

  Leveldaten erwartet = leveltest::GeladenesLevel();
  erwartet.Funkmeldungen[0].FunkTextIndex = 0;
  EXPECT_TRUE(Globale() == erwartet);
  EXPECT_EQ(LevelSoundMap, std::vector<int32_t>(2, 0));  // loaded later, by the loader
  ASSERT_EQ(FunkTexteMax(), 0);
  EXPECT_EQ(FunkTexte[0].Zeilen, std::vector<std::string>{"1;a.wav;2000;Hallo"});
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

// Each record in the byte order of the format table, written by hand: a reader and a
// writer that share a mistake would still agree with each other.
TEST_F(LevelFile, RecordsReadFromHandMadeBytes) {
  Bytes komponente;
  komponente.S(0.25f).I(-1).S(0.75f).S(0.5f).I(5).L(40).L(3).S(0.125f).L(6).I(-1).L(-1).L(7).I(1).S(90).L(-50).L(12);
  EXPECT_EQ(LiesRecord<Feindkomponente>(komponente),
            (Feindkomponente{.OffsetX = -50, .OffsetY = 12, .RouteAn = -1, .RouteNr = 6, .R = 0.125f, .G = 0.5f,
                             .B = 0.75f, .A = 0.25f, .Drehung = 90, .TrefferAufGegner = -1, .HP = 40,
                             .VerlustToetet = -1, .Unzerstörbar = 1, .Erzeuger = -1, .FeuerModus = 7, .Sprite = 3}));

  Bytes salve;  // S5 S6 S13 S8 S1 S2 S4 S7 S12 S9 S3 S0 S10 S11 S14
  salve.L(1).L(2).I(-1).S(9.5f).L(3).L(4).L(5).I(1).L(6).S(3.25f).I(-1).L(7).S(-4.5f).S(6.5f).I(2);
  EXPECT_EQ(LiesRecord<ErzeugerSalve>(salve),
            (ErzeugerSalve{.Verzoegerung = 7, .Anzahl = 3, .Abstand = 4, .Gezielt = -1, .RouteNr = 5, .Platzt = 1,
                           .PlatztErzeuger = 2, .Unblockbar = 1, .HP = 9.5f, .Speed = 3.25f, .OffsetX = -4.5f,
                           .OffsetY = 6.5f, .SchussTyp = 6, .RandWeg = -1, .Durchschlag = 2}));

  Bytes schuss;  // name, T6 T12 T11 T9 T7 T10 T8 T1 T2 T3 T4 T13 T14 T5 T0
  schuss.T("Kugel").L(1).S(0.2f).S(0.3f).I(-1).L(4).S(0.9f).L(2).L(11).L(12).L(13).L(14).L(5).L(-3).I(1).I(-1);
  EXPECT_EQ(LiesRecord<SchussTypDaten>(schuss),
            (SchussTypDaten{.Leuchten = -1, .BoxLeft = 11, .BoxTop = 12, .BoxRight = 13, .BoxBottom = 14,
                            .DurchLandschaft = 1, .Name = "Kugel", .Aussehen = 1, .Sprite = 4, .Spur = 2,
                            .Drehen = -1, .R = 0.9f, .G = 0.3f, .B = 0.2f, .Einblenden = 5, .Sound = -3}));

  Bytes key;  // tick x y r g b a angle zoom1 zoom2 frame motion speed V W
  key.L(10).S(1).S(2).S(0.1f).S(0.2f).S(0.3f).S(0.4f).L(45).S(1.5f).S(2.5f).L(-1).L(2).S(3.5f).I(-1).I(1);
  EXPECT_EQ(LiesRecord<AnimaKeyframe>(key),
            (AnimaKeyframe{.Tick = 10, .PosX = 1, .PosY = 2, .R = 0.1f, .G = 0.2f, .B = 0.3f, .A = 0.4f,
                           .Winkel = 45, .Frame = -1, .Sichtbar = -1, .Additiv = 1, .ZoomX = 1.5f, .ZoomY = 2.5f,
                           .Bewegung = 2, .Speed = 3.5f}));

  // The four rectangle Longs come before the delay; the Long before the name is dropped.
  Bytes sprite;
  sprite.L(77).T("Stein ").I(1).L(1).T("a.bmp").L(1).L(2).L(33).L(34).L(5).T("-").L(0).L(0).L(0).L(0).L(2);
  EXPECT_EQ(LiesRecord<SpriteDef>(sprite),
            (SpriteDef{.Name = "Stein",
                       .D3DSprite = 1,
                       .Frames = {{.Bild = "a.bmp", .Zeit = 5, .Left = 1, .Top = 2, .Right = 33, .Bottom = 34},
                                  {.Bild = "-", .Surface = -1, .Zeit = 2}}}));

  // k = 2: three pairs, A and B interleaved; k = 0: one pair.
  Bytes befehl;
  befehl.L(13).L(2).S(1).S(2).S(3).S(4).S(5).S(6);
  EXPECT_EQ(LiesRecord<RoutenBefehl>(befehl), (RoutenBefehl{.Befehl = 13, .A = {1, 3, 5}, .B = {2, 4, 6}}));
  Bytes einPaar;
  einPaar.L(5).L(0).S(30).S(-1);
  EXPECT_EQ(LiesRecord<RoutenBefehl>(einPaar), (RoutenBefehl{.Befehl = 5, .A = {30}, .B = {-1}}));

  // A sprite entry is 8 + 5 x 30 bytes whatever its Longs hold.
  Bytes anima;
  anima.L(-1).T("Glut").L(100).I(-1).I(0).L(0).L(-7).L(123456).T30("eins").T30(" zw\xFC\x69 ").T30("").T30("v").T30("f");
  ASSERT_EQ(anima.b.size(), 4 + 8 + 4 + 2 + 2 + 4 + 158u);
  AnimaTypDaten a = LiesRecord<AnimaTypDaten>(anima);
  EXPECT_EQ(a.SpriteEintraege,
            (std::vector<AnimaSpriteEintrag>{{.Zahl1 = -7, .Zahl2 = 123456, .Namen = {"eins", "zwuei", "", "v", "f"}}}));
  EXPECT_EQ(a.TeileMax(), -1);
}

// The sections in the file's order, each with a little in it.
TEST_F(LevelFile, AWholeFileFromHandMadeBytes) {
  Bytes f;
  f.Raw("VESK2 - V. 0.15").T("3");
  f.L(0).L(0).T("S").I(0).L(-1);                                                   // one sprite, no frames
  f.L(0).L(100).L(-1).T("Leer").S(2).L(0).L(1).L(2).L(3).L(4).L(5).L(6).L(7).L(8)  // one template
      .L(9).L(10).L(11).L(12).L(13).L(14).L(15);
  f.L(0).L(-1).T("R");                                                             // one route, no commands
  for (int e = 0; e < 7; ++e) {
    f.S(static_cast<float>(e));
    if (e == 4)
      f.L(0).L(100).L(0).L(0).L(0).L(250);
    else
      f.L(-1);
  }
  f.L(-1).L(-1).L(-1);                                             // no animations, generators, shot types
  f.L(0).T("Bumm.wav").L(3);                                       // one sound
  f.T("Funk").L(0).T("0").T("Intro").I(9).L(1);                    // one radio message
  f.L(2000).L(40).L(10).S(0.25f).T("Musik.ogg").T("Meer");
  for (int w = 1; w <= 6; ++w) f.S(w / 10.0f);
  f.Raw("trailing bytes are never read");

  Leveldaten d;
  ASSERT_EQ(Lies(f.b, d), Ergebnis::Geladen);
  EXPECT_EQ(d.Hintergrund, "3");
  ASSERT_EQ(d.SpriteDefs.size(), 1u);
  EXPECT_EQ(d.SpriteDefs[0].Name, "S");
  ASSERT_EQ(d.GegnerTypen.size(), 1u);
  EXPECT_EQ(d.GegnerTypen[0].Speed, 2);
  EXPECT_EQ(d.GegnerTypen[0].Parameter[15], 15);
  EXPECT_EQ(d.Routen.size(), 1u);
  for (int e = 0; e < 7; ++e) EXPECT_EQ(d.Ebenen[e].Speed, e);
  EXPECT_EQ(d.Ebenen[4].Ereignisse, (std::vector<LevelEreignis>{{100, 0, 0, 0, 250}}));
  EXPECT_EQ(d.Sounds, (std::vector<LevelSoundDatei>{{"Bumm.wav", 3}}));
  EXPECT_EQ(d.Funkmeldungen, (std::vector<Funkmeldung>{{.Sprecher = "0", .TextBlock = "Intro", .Wert = 9, .MaxAnzahl = 1}}));
  EXPECT_EQ(d.FunkTextBasis, "Funk");
  EXPECT_EQ(d.LevelLaenge, 2000);
  EXPECT_EQ(d.RegenAnzahl, 10);
  EXPECT_EQ(d.Schwerkraft, 0.25f);
  EXPECT_EQ(d.MusikDatei, "Musik.ogg");
  EXPECT_EQ(d.WasserDaten[5], 0.6f);
}

TEST_F(LevelFile, TheVersionTextMustMatchInEveryByte) {
  const std::vector<uint8_t> gut = leveltest::Datei(leveltest::VollesLevel());
  ASSERT_EQ(LeseLeveldatei(gut), Ergebnis::Geladen);
  const Leveldaten vorher = Globale();
  for (size_t i = 0; i < levelfile::kVersionLaenge; ++i) {
    std::vector<uint8_t> falsch = gut;
    falsch[i] = static_cast<uint8_t>(falsch[i] ^ (std::isalpha(falsch[i]) ? 0x20 : 0x01));  // letter case too
    headless::Reset();
    Spielstatus = 0;
    EXPECT_EQ(LeseLeveldatei(falsch), Ergebnis::FalscheVersion) << i;
    EXPECT_EQ(Spielstatus, 10);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "'V. 0.15' - Level im Editor laden, neu abspeichern und packen");
  }
  EXPECT_TRUE(Globale() == vorher);
}

// Cut short at, or damaged right after, the start of each section: the message, the run
// state 10, and the level loaded before stays as it was.
TEST_F(LevelFile, TruncatedAndDamagedFilesChangeNothing) {
  std::vector<size_t> abschnitte;
  const std::vector<uint8_t> gut = leveltest::Datei(leveltest::VollesLevel(), &abschnitte);
  ASSERT_EQ(abschnitte.size(), 14u);
  struct Fall {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Fall> faelle = {{"empty", {}}, {"one byte short", {gut.begin(), gut.end() - 1}}};
  for (size_t s = 0; s < abschnitte.size(); ++s) {
    const size_t a = abschnitte[s];
    faelle.push_back({"cut before section " + std::to_string(s + 1), {gut.begin(), gut.begin() + a}});
    faelle.push_back({"cut inside section " + std::to_string(s + 1), {gut.begin(), gut.begin() + a + 3}});
    // The first length or bound of the section (of layer 0 after its speed) far too large,
    // then negative: only a text length may not be negative. The level values hold none.
    if (s == 0 || s == 11) continue;
    const size_t feld = a + (s == 5 ? 4 : 0);
    for (int32_t wert : {std::numeric_limits<int32_t>::max(), 0x10000, -5}) {
      if (wert == -5 && s != 1 && s != 10 && s != 12 && s != 13) continue;
      std::vector<uint8_t> b = gut;
      for (int i = 0; i < 4; ++i) b[feld + i] = static_cast<uint8_t>(wert >> (8 * i));
      faelle.push_back({"section " + std::to_string(s + 1) + " holds " + std::to_string(wert), b});
    }
  }
  Leveldaten klein;
  klein.Hintergrund = "2";
  klein.Routen = {{.Name = "R"}};
  klein.LevelLaenge = 77;
  ASSERT_EQ(LeseLeveldatei(leveltest::Datei(klein)), Ergebnis::Geladen);
  const Leveldaten vorher = Globale();

  for (const Fall& f : faelle) {
    headless::Reset();
    Spielstatus = 0;
    EXPECT_EQ(LeseLeveldatei(f.bytes), Ergebnis::Beschaedigt) << f.name;
    EXPECT_EQ(Spielstatus, 10) << f.name;
    ASSERT_EQ(headless::MessageBoxes().size(), 1u) << f.name;
    EXPECT_EQ(headless::MessageBoxes()[0].text, "Level file damaged") << f.name;
  }
  EXPECT_TRUE(Globale() == vorher);
}

TEST_F(LevelFile, TheDamageMessageSpeaksTheGamesLanguage) {
  for (const auto& [sprache, text] : std::vector<std::pair<std::string, std::string>>{
           {"E", "Level file damaged"}, {"D", "Leveldatei beschädigt"}, {"R", "Файл уровня повреждён"}}) {
    headless::Reset();
    Sprache = sprache;
    LeseLeveldatei(std::string(home.home() + "missing.dat"));
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, text) << sprache;
  }
}

TEST_F(LevelFile, TextsPlainMappedAndEmpty) {
  Leveldaten d = leveltest::VollesLevel();
  d.Hintergrund = " Bild \xE4.bmp ";
  d.GegnerTypen[1].Name = " Gr\xFC\xDF\x65 \xC4\xD6\xDC\xF6 \x80\xFF ";
  std::vector<uint8_t> bytes = leveltest::Datei(d);
  Leveldaten r;
  ASSERT_EQ(Lies(bytes, r), Ergebnis::Geladen);
  EXPECT_EQ(r.Hintergrund, " Bild \xE4.bmp ");  // plain: every byte and blank kept
  EXPECT_EQ(r.GegnerTypen[1].Name, "Gruesse AeOeUeoe \x80\xFF");

  // A mapped text of length 0 is damage, as is a negative plain length.
  std::vector<size_t> abschnitte;
  bytes = leveltest::Datei(d, &abschnitte);
  const size_t sprite = abschnitte[2] + 4 + 4;  // the first sprite's name length
  bytes[sprite] = 0;
  EXPECT_EQ(Lies(bytes, r), Ergebnis::Beschaedigt);
}

TEST_F(LevelFile, TwoPlayersScaleTheTemplatesEnergyOnly) {
  Leveldaten d;
  ASSERT_EQ(Lies(leveltest::Datei(leveltest::VollesLevel()), d, 1), Ergebnis::Geladen);
  EXPECT_EQ(d.GegnerTypen[0].HP, 150);
  EXPECT_EQ(d.GegnerTypen[0].Punkte, 150);
  EXPECT_EQ(d.GegnerTypen[1].HP, 10.5f);
  EXPECT_EQ(d.GegnerTypen[1].Punkte, 10);  // halves to even
  EXPECT_EQ(d.GegnerTypen[0].Komponenten[0].HP, 30);
  EXPECT_EQ(d.GegnerTypen[0].Komponenten[0].Punkte, 30);

  LetzterSpieler = 1;
  ASSERT_EQ(LeseLeveldatei(leveltest::Datei(leveltest::VollesLevel())), Ergebnis::Geladen);
  EXPECT_EQ(GegnerTypen[0].HP, 150);
}

TEST_F(LevelFile, NegativeBoundsAreEmptyListsAndOddValuesLoad) {
  Leveldaten d = leveltest::VollesLevel();
  d.Schwerkraft = std::numeric_limits<float>::quiet_NaN();
  d.WasserDaten[0] = std::numeric_limits<float>::infinity();
  d.Routen[0].Befehle[0].A[0] = -std::numeric_limits<float>::infinity();
  std::vector<size_t> abschnitte;
  leveltest::Datei(d, &abschnitte);
  // The sprite list's bound -1 written as -5: the file goes on with the templates, which
  // then name sprites that are not there.
  Leveldaten ohneSprites = d;
  ohneSprites.SpriteDefs.clear();
  std::vector<uint8_t> erwartet = leveltest::Datei(ohneSprites);
  erwartet[abschnitte[2]] = static_cast<uint8_t>(-5);
  Leveldaten r;
  ASSERT_EQ(Lies(erwartet, r), Ergebnis::Geladen);
  EXPECT_TRUE(r.SpriteDefs.empty());
  EXPECT_EQ(r.GegnerTypen.size(), 2u);
  EXPECT_EQ(r.GegnerTypen[0].Komponenten[0].Sprite, -1);
  EXPECT_TRUE(std::isnan(r.Schwerkraft));
  EXPECT_TRUE(std::isinf(r.WasserDaten[0]));
  EXPECT_TRUE(std::isinf(r.Routen[0].Befehle[0].A[0]));
  EXPECT_TRUE(r.Routen[0].Befehle[2].A.empty());  // a command without terms
  EXPECT_EQ(r.AnimaTypen[0].Teile[1].KeysMax(), -1);  // a part without keys keeps its spare
}

TEST_F(LevelFile, HitsGoToTheEnemyIsABoolean) {
  for (int16_t wert : {5, 1, -1, -32768}) {
    Leveldaten d = leveltest::VollesLevel();
    d.GegnerTypen[0].Komponenten[0].TrefferAufGegner = wert;
    Leveldaten r;
    ASSERT_EQ(Lies(leveltest::Datei(d), r), Ergebnis::Geladen);
    EXPECT_EQ(r.GegnerTypen[0].Komponenten[0].TrefferAufGegner, -1) << wert;
  }
}

TEST_F(LevelFile, ReferencesOutsideTheirCatalogueBecomeMinusOne) {
  Leveldaten d = leveltest::VollesLevel();
  Feindkomponente& k = d.GegnerTypen[0].Komponenten[0];
  k.Sprite = 2;
  k.RouteNr = -3;
  k.Erzeuger = 1;
  d.GegnerTypen[0].Komponenten[1].Erzeuger = -1;  // launches an enemy: kept
  d.AnimaTypen[0].Teile[0].Sprite = 99;
  ErzeugerSalve& s = d.ErzeugerTypen[0].Salven[0];
  s.RouteNr = 2;
  s.PlatztErzeuger = -2;
  s.SchussTyp = 1;
  d.SchussTypen[0].Sprite = 2;
  d.SchussTypen[0].Sound = 2;
  d.Ebenen[4].Ereignisse = {{1, 0, 2, 2, 0}, {2, 1, 2, 0, 0}, {3, 2, 1, 0, 0}, {4, 9, 99, 99, 99}};
  d.Ebenen[1].Ereignisse = {{1, 0, 2, 0, 0}, {2, 1, 0, 1, 0}, {3, 2, 99, 99, 99}};
  Leveldaten r;
  ASSERT_EQ(Lies(leveltest::Datei(d), r), Ergebnis::Geladen);
  const Feindkomponente& g = r.GegnerTypen[0].Komponenten[0];
  EXPECT_EQ(g.Sprite, -1);
  EXPECT_EQ(g.RouteNr, -1);
  EXPECT_EQ(g.Erzeuger, KeinErzeuger);
  EXPECT_EQ(r.GegnerTypen[0].Komponenten[1].Erzeuger, -1);
  EXPECT_EQ(r.AnimaTypen[0].Teile[0].Sprite, -1);
  const ErzeugerSalve& rs = r.ErzeugerTypen[0].Salven[0];
  EXPECT_EQ(rs.RouteNr, -1);
  EXPECT_EQ(rs.PlatztErzeuger, -1);
  EXPECT_EQ(rs.SchussTyp, -1);
  EXPECT_EQ(r.SchussTypen[0].Sprite, -1);
  EXPECT_EQ(r.SchussTypen[0].Sound, -1);
  EXPECT_EQ(r.Ebenen[4].Ereignisse, (std::vector<LevelEreignis>{
                                        {1, 0, -1, -1, 0}, {2, 1, -1, 0, 0}, {3, 2, -1, 0, 0}, {4, 9, 99, 99, 99}}));
  // Layer events of other kinds carry no references; a pick-up keeps its values.
  EXPECT_EQ(r.Ebenen[1].Ereignisse,
            (std::vector<LevelEreignis>{{1, 0, -1, 0, 0}, {2, 1, 0, -1, 0}, {3, 2, 99, 99, 99}}));
  EXPECT_EQ(r.Hinweise.size(), 15u);
  EXPECT_EQ(r.Hinweise[0], "Level file: template 0 component 0 names sprite 2, which does not exist");

  // A negative sound of a shot type means none and is no fault.
  d = leveltest::VollesLevel();
  d.SchussTypen[0].Sound = -7;
  ASSERT_EQ(Lies(leveltest::Datei(d), r = {}), Ergebnis::Geladen);
  EXPECT_EQ(r.SchussTypen[0].Sound, -7);
  EXPECT_TRUE(r.Hinweise.empty());
}

TEST_F(LevelFile, SalvoEntriesBeyondElevenAreDroppedWithALogLine) {
  Leveldaten d = leveltest::VollesLevel();
  d.ErzeugerTypen[0].Salven.resize(14, d.ErzeugerTypen[0].Salven[0]);
  d.ErzeugerTypen[0].Salven[10].Verzoegerung = 42;
  ASSERT_EQ(LeseLeveldatei(leveltest::Datei(d)), Ergebnis::Geladen);
  ASSERT_EQ(ErzeugerTypen[0].SalvenMax(), SalvenGrenze - 1);
  EXPECT_EQ(ErzeugerTypen[0].Salven[10].Verzoegerung, 42);
  EXPECT_EQ(SchussTypenMax(), 0);  // the file went on after the dropped entries
  EXPECT_NE(testsupport::ReadText(DatenOrdner + "Debug.txt")
                .find("Level file: generator 0 has 14 salvo entries; those after the first 11 are dropped"),
            std::string::npos);
}

// Lists far longer than any level's still load.
TEST_F(LevelFile, LargeLevelsLoad) {
  Leveldaten d;
  d.Routen.resize(1);
  d.Routen[0].Befehle.assign(30000, RoutenBefehl{.Befehl = 5, .A = {1, 2}, .B = {3, 4}});
  d.Ebenen[4].Ereignisse.assign(60000, LevelEreignis{.Tick = 5, .Typ = 7});
  Leveldaten r;
  ASSERT_EQ(Lies(leveltest::Datei(d), r), Ergebnis::Geladen);
  EXPECT_EQ(r.Routen[0].BefehleMax(), 29999);
  EXPECT_EQ(r.Ebenen[4].EreignisseMax(), 59999);
}

// The smallest entry the bound checks assume is what an empty record takes in the file.
TEST_F(LevelFile, TheSmallestEntriesMatchTheirRecords) {
  auto groesse = [](auto record) {
    std::vector<uint8_t> out;
    tools::LevelSchreiber w(out);
    levelfile::Felder(w, record);
    EXPECT_TRUE(w.Ok());
    return out.size();
  };
  namespace m = levelfile::min;
  EXPECT_EQ(groesse(SpriteDef{}), m::SpriteDef);
  EXPECT_EQ(groesse(SpriteFrame{}), m::SpriteFrame);
  EXPECT_EQ(groesse(GegnerTyp{}), m::GegnerTyp);
  EXPECT_EQ(groesse(Feindkomponente{}), m::Feindkomponente);
  EXPECT_EQ(groesse(Route{}), m::Route);
  EXPECT_EQ(groesse(RoutenBefehl{}), m::RoutenBefehl);
  EXPECT_EQ(groesse(RoutenBefehl{.A = {0}, .B = {0}}), m::RoutenBefehl + m::Term);
  EXPECT_EQ(groesse(LevelEreignis{}), m::LevelEreignis);
  EXPECT_EQ(groesse(AnimaTypDaten{}), m::AnimaTypDaten);
  EXPECT_EQ(groesse(AnimaSpriteEintrag{}), m::AnimaSpriteEintrag);
  EXPECT_EQ(groesse(AnimaTeilTyp{.Keys = {AnimaKeyframe{}}}), m::AnimaTeilTyp);
  EXPECT_EQ(groesse(AnimaKeyframe{}), m::AnimaKeyframe);
  EXPECT_EQ(groesse(ErzeugerTypDaten{}), m::ErzeugerTypDaten);
  EXPECT_EQ(groesse(ErzeugerSalve{}), m::ErzeugerSalve);
  EXPECT_EQ(groesse(SchussTypDaten{}), m::SchussTypDaten);
  EXPECT_EQ(groesse(LevelSoundDatei{}), m::LevelSoundDatei);
  EXPECT_EQ(groesse(Funkmeldung{}), m::Funkmeldung);
}

TEST_F(LevelFile, TheWriterRefusesWhatTheFormatCannotHold) {
  Leveldaten d = leveltest::VollesLevel();
  d.AnimaTypen[0].SpriteEintraege[0].Namen[0] = std::string(31, 'x');
  std::vector<uint8_t> out;
  EXPECT_FALSE(tools::WriteLevelFile(d, out));
  d = leveltest::VollesLevel();
  d.Routen[0].Befehle[0].B.pop_back();
  EXPECT_FALSE(tools::WriteLevelFile(d, out));
}

TEST_F(LevelFile, InfoCountsWhatTheFileHolds) {
  Leveldaten d;
  ASSERT_EQ(Lies(leveltest::Datei(leveltest::VollesLevel()), d), Ergebnis::Geladen);
  EXPECT_EQ(tools::LevelFileInfo(d),
            "sprites 2\nenemies 2\nroutes 2\nanimations 1\ngenerators 1\nshottypes 1\nsounds 2\nradio 1\n"
            "events 0 2 0 0 3 0 0\nlength 2000\nwater 40\nrain 10\n");
}
