#include "lib/level_desc.hpp"

#include <gtest/gtest.h>

#include "lib/level_writer.hpp"
#include "world/level_test_data.hpp"

using levelfile::Leveldaten;

namespace {

Leveldaten Beschreibung(const std::string& text) {
  Leveldaten d;
  std::string fehler;
  EXPECT_TRUE(tools::ParseLevelDescription(text, d, fehler)) << fehler;
  return d;
}

std::string Fehler(const std::string& text) {
  Leveldaten d;
  std::string fehler;
  EXPECT_FALSE(tools::ParseLevelDescription(text, d, fehler)) << text;
  return fehler;
}

const char* const kLevel = R"(# names may be used before the record that carries them
background "Himmel blau.bmp"
length 3000
water 40
rain 12
gravity 0.05
music Level1.ogg
water_name Meer
water_colours 0.1 0.2 0.3 0.4 0.5 0.6
radio_texts Funk

enemy Drohne hp=10 speed=2 boss=1 p3=4 launches=Drohne,Welle
  part sprite=Stein route=Welle generator=Salve fire=4 colour=1,0.5,0.25,1 x=-8
route Welle
  cmd place right 300
  cmd move -negwidth shipy+10
  cmd if gvar0 gt 5.5
  cmd 44 1e+2+3
layer 4 speed=0
  at 100 enemy Drohne Welle 200
  at 110 enemy template=0 route=-1 y=50
  at 120 radio Intro
  at 130 sound message=Bumm.wav mode=1
layer 1 speed=2.5
  at 10 item Stein 0 400
  at 20 animation animation=Glut y=100
  at 30 4 1 2 3
sprite Stein d3d=1
  frame stein.bmp 0 0 64 64 delay=4
  frame - delay=1
animation Glut period=100 loop=1
  entry 1 2 a b
  part sprite=Stein
    key 0
    key 50 x=100 zoom=2,3
         motion=1 visible=0
generator Salve turret=1
  salvo shots=3 interval=5 aimed=1 hp=10 speed=3 shot=Kugel burst=Salve
shottype Kugel look=1 sprite=Stein box=0,1,16,17 trail=2 colour=1,0.3,0.3 sound=Bumm.wav
sound Bumm.wav copies=2
radio Intro speaker=1 max=1
)";

}  // namespace

TEST(LevelDescription, EveryKindOfRecordWithNamesResolved) {
  // "message=" does not belong to a sound event.
  EXPECT_EQ(Fehler(kLevel), "line 23: 'message' does not belong to at");
  std::string text = kLevel;
  text.replace(text.find("message="), 8, "sound=");
  const Leveldaten d = Beschreibung(text);

  EXPECT_EQ(d.Hintergrund, "Himmel blau.bmp");
  ASSERT_EQ(d.GegnerTypen.size(), 1u);
  const GegnerTyp& t = d.GegnerTypen[0];
  EXPECT_EQ(t.Parameter[12], 1);
  EXPECT_EQ(t.Parameter[7], 0 + 1000 * 0);
  EXPECT_EQ(t.Komponenten[0],
            (Feindkomponente{.OffsetX = -8, .RouteNr = 0, .R = 1, .G = 0.5f, .B = 0.25f, .A = 1, .Erzeuger = 0,
                             .FeuerModus = 4, .Sprite = 0}));
  const std::vector<RoutenBefehl>& b = d.Routen[0].Befehle;
  EXPECT_EQ(b[0], (RoutenBefehl{.Befehl = 0, .A = {32765, 300}, .B = {0, 0}}));
  EXPECT_EQ(b[1], (RoutenBefehl{.Befehl = 2, .A = {-32767, 32762}, .B = {0, 10}}));
  EXPECT_EQ(b[2], (RoutenBefehl{.Befehl = 13, .A = {32770, 2, 5.5f}, .B = {0, 0, 0}}));
  EXPECT_EQ(b[3], (RoutenBefehl{.Befehl = 44, .A = {100}, .B = {3}}));
  EXPECT_EQ(d.Ebenen[4].Ereignisse, (std::vector<LevelEreignis>{
                                        {100, 0, 0, 0, 200}, {110, 0, 0, -1, 50}, {120, 2, 0, 0, 0}, {130, 1, 0, 1, 0}}));
  EXPECT_EQ(d.Ebenen[1].Ereignisse,
            (std::vector<LevelEreignis>{{10, 0, 0, 0, 400}, {20, 1, 0, 0, 100}, {30, 4, 1, 2, 3}}));
  // The spare key follows the keys written.
  const AnimaTeilTyp& teil = d.AnimaTypen[0].Teile[0];
  ASSERT_EQ(teil.KeysMax(), 1);
  EXPECT_EQ(teil.Keys[0].Frame, -1);
  EXPECT_EQ(teil.Keys[1].ZoomY, 3);
  EXPECT_EQ(teil.Keys[1].Sichtbar, 0);
  EXPECT_EQ(teil.Keys[2], AnimaKeyframe{});
  const ErzeugerSalve& s = d.ErzeugerTypen[0].Salven[0];
  EXPECT_EQ(s.Anzahl, 2);
  EXPECT_EQ(s.PlatztErzeuger, 0);
  EXPECT_EQ(d.SchussTypen[0].Sound, 0);

  // What the description gives, the game's reader reads back.
  Leveldaten r;
  ASSERT_EQ(levelfile::Lese(leveltest::Datei(d), r, 0), levelfile::Ergebnis::Geladen);
  EXPECT_TRUE(r.Hinweise.empty());
  EXPECT_EQ(r.Routen, d.Routen);
  EXPECT_EQ(r.AnimaTypen, d.AnimaTypen);
}

TEST(LevelDescription, ErrorsNameTheirLine) {
  struct Fall {
    std::string text, fehler;
  } faelle[] = {
      {"length 10\nbogus 3", "line 2: unknown keyword 'bogus'"},
      {"sprite A\n  frame a.bmp wait=3", "line 2: 'wait' does not belong to frame"},
      {"frame a.bmp", "line 1: frame must follow a sprite"},
      {"enemy E\n  part sprite=Nope", "line 2: there is no sprite 'Nope'"},
      {"length ten", "line 1: 'ten' is not a whole number"},
      {"layer 7", "line 1: layers are 0 to 6"},
      {"background \"open", "line 1: a quote is not closed"},
      {"route R\n  cmd wait x+", "line 2: '' is not a number"},
      {"sprite", "line 1: sprite needs a name"},
      {"d3d=1", "line 1: a line may only go on with name=value words"},
      {"sprite A\n  d3d=1 x", "line 2: a line may only go on with name=value words"},
  };
  for (const Fall& f : faelle) EXPECT_EQ(Fehler(f.text), f.fehler) << f.text;
}
