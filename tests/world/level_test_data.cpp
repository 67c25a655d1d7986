#include "world/level_test_data.hpp"

#include <gtest/gtest.h>

#include "lib/level_writer.hpp"

namespace leveltest {

levelfile::Leveldaten VollesLevel() {
  levelfile::Leveldaten d;
  d.Hintergrund = " Himmel.bmp ";
  d.SpriteDefs = {
      {.Name = "Stein",
       .D3DSprite = 1,
       .Frames = {{.Bild = "stein1.bmp", .Zeit = 4, .Left = 1, .Top = 2, .Right = 65, .Bottom = 66},
                  {.Bild = "-", .Zeit = 3}}},
      {.Name = "Kugel", .Frames = {{.Bild = "kugel.bmp", .Zeit = 1, .Right = 16, .Bottom = 16}}},
  };
  Feindkomponente k0{.OffsetX = -50, .OffsetY = 7, .RouteAn = -1, .RouteNr = 0, .R = 0.125f, .G = 0.25f,
                     .B = 0.375f, .A = 0.5f, .Drehung = 45, .TrefferAufGegner = -1, .HP = 30, .VerlustToetet = -1,
                     .Unzerstörbar = 1, .Erzeuger = 0, .FeuerModus = 4, .Sprite = 1};
  Feindkomponente k1{.OffsetX = 3, .OffsetY = -9, .RouteNr = 1, .R = 1, .G = 1, .B = 1, .A = 1, .HP = 12,
                     .Unzerstörbar = -1, .Erzeuger = -1, .FeuerModus = 7, .Sprite = 0};
  GegnerTyp t{.Komponenten = {k0, k1}, .Name = "Drohne", .HP = 100, .Speed = 1.5f};
  for (int i = 0; i < 16; ++i) t.Parameter[i] = 100 + i;
  d.GegnerTypen = {t, GegnerTyp{.Name = "Leer", .HP = 7}};
  d.Routen = {
      {.Befehle = {{.Befehl = 2, .A = {32765, 300}, .B = {-32767, 0.5f}},
                   {.Befehl = 5, .A = {30}, .B = {0}},
                   {.Befehl = 36}},
       .Name = "Welle"},
      {.Name = "Leer"},
  };
  d.Ebenen[0].Speed = 0.5f;
  d.Ebenen[1] = {.Ereignisse = {{10, 0, 1, 3, 400}, {20, 1, 0, 0, 100}}, .Speed = 2.5f};
  d.Ebenen[4] = {.Ereignisse = {{100, 0, 0, 1, 200}, {120, 2, 0, 0, 0}, {130, 1, 0, 1, 0}}};
  d.Ebenen[6].Speed = -1;
  AnimaKeyframe k{.Tick = 10, .PosX = 1, .PosY = 2, .R = 0.1f, .G = 0.2f, .B = 0.3f, .A = 0.4f, .Winkel = 45,
                  .Frame = -1, .Sichtbar = -1, .Additiv = 0, .ZoomX = 1.5f, .ZoomY = 2.5f, .Bewegung = 2,
                  .Speed = 3.5f};
  AnimaKeyframe k2{.Tick = 50, .PosX = 100, .PosY = -20, .R = 1, .G = 0.9f, .B = 0.8f, .A = 0, .Winkel = -90,
                   .Frame = 1, .Sichtbar = 0, .Additiv = -1, .ZoomX = 1, .ZoomY = 0.5f, .Bewegung = 3, .Speed = 1};
  d.AnimaTypen = {{.SpriteEintraege = {{.Zahl1 = 7, .Zahl2 = -8, .Namen = {"a", "bb", "", "dddd", "e"}}},
                   .Teile = {{.Keys = {k, k2, AnimaKeyframe{}}, .Sprite = 1}, {.Keys = {AnimaKeyframe{}}, .Sprite = 0}},
                   .Name = "Glut",
                   .Schleife = -1,
                   .Scrollt = 1,
                   .Periode = 100}};
  d.ErzeugerTypen = {{.Name = "Salve",
                      .Drehturm = -1,
                      .Salven = {{.Verzoegerung = 1, .Anzahl = 2, .Abstand = 3, .Gezielt = -1, .RouteNr = 0,
                                  .Platzt = 1, .PlatztErzeuger = 0, .Unblockbar = -1, .HP = 9.5f, .Speed = 3.25f,
                                  .OffsetX = -4.5f, .OffsetY = 6.5f, .SchussTyp = 0, .RandWeg = -1,
                                  .Durchschlag = -1}}}};
  d.SchussTypen = {{.Leuchten = -1, .BoxLeft = 1, .BoxTop = 2, .BoxRight = 15, .BoxBottom = 16,
                    .DurchLandschaft = -1, .Name = "Kugel", .Aussehen = 1, .Sprite = 1, .Spur = 2, .Drehen = -1,
                    .R = 0.9f, .G = 0.3f, .B = 0.2f, .Einblenden = 5, .Sound = 0}};
  d.Sounds = {{"Bumm.wav", 2}, {"Zisch.wav", 0}};
  d.FunkTextBasis = "Funk";
  d.Funkmeldungen = {{.Sprecher = "1", .TextBlock = "Intro", .Wert = 7, .MaxAnzahl = 2}};
  d.LevelLaenge = 2000;
  d.Wasserstand = 40;
  d.RegenAnzahl = 10;
  d.Schwerkraft = 0.05f;
  d.MusikDatei = "Level1.ogg";
  d.WasserName = "Meer";
  d.WasserDaten = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  return d;
}

levelfile::Leveldaten GeladenesLevel() {
  levelfile::Leveldaten d = VollesLevel();
  for (GegnerTyp& t : d.GegnerTypen) {
    t.Punkte = static_cast<int32_t>(t.HP);
    for (Feindkomponente& k : t.Komponenten) {
      k.Lebt = -1;
      k.Punkte = static_cast<int32_t>(k.HP);
      k.Speed = 1;
    }
  }
  return d;
}

std::vector<uint8_t> Datei(const levelfile::Leveldaten& d, std::vector<size_t>* abschnitte) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(tools::WriteLevelFile(d, out, abschnitte));
  return out;
}

}  // namespace leveltest
