// The game-settings page (three switches of play) and the volume page (music, effects,
// voices, each stepped by the confirm key and heard at once). Both edit the live values;
// the configuration keeps them at the program's end.
#include <string>

#include "campaign/ogg.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "shell/config.hpp"
#include "world/game_sounds_state.hpp"

namespace {

constexpr int32_t kZurueckZeile = 7;

// A sound of the option pages, while sound is on.
void Klang(int32_t nr, int32_t volumen) {
  if (SoundAn) PlaySound(nr, 0, 0, volumen);
}

// A line in the chosen language; in any other language the line keeps what it held.
void Zeile(int32_t i, const Dreisprachig& t, int16_t farbe) {
  if (const std::string* text = t.Genau()) TextZeile(i, *text, farbe);
}
// A selectable line of a label and a value.
void WertZeile(int32_t i, const Dreisprachig& label, const std::string& wert) {
  if (const std::string* text = label.Genau()) TextZeile(i, *text + wert, -1);
}

const Dreisprachig& Leer() {
  static const Dreisprachig t{"", "", ""};
  return t;
}
const Dreisprachig& Zurueck() {
  static const Dreisprachig t{"Zurück", "Back", "Назад"};
  return t;
}

// The page's text once the panel has arrived, at (x, y), lines 0..7.
void Text(int16_t x, int16_t y) {
  MenuLauf.Text.X = x;
  MenuLauf.Text.Y = y;
  MenuLauf.Text.Letzte = kZurueckZeile;
  ShowTextMenu(MenuLauf.Text, false, false);
}

// The back key of both pages: to the options, without a sound.
void ZurueckTaste() {
  if (MenuZurueck()) {
    Blenden();
    MenuSeite = kSeiteOptionen;
  }
}

// The back line: to the options, with the confirm sound.
void ZurueckZeile() {
  Klang(SndDude, SoundLautstaerke);
  Blenden();
  MenuSeite = kSeiteOptionen;
}

// --- Game settings -----------------------------------------------------------------------

void SpielZeilen() {
  static const Dreisprachig titel{"Grundeinstellungen", "Game settings", "Настройка игры"};
  static const Dreisprachig striche{"--------------------------", "-------------------", "-------------------"};
  static const Dreisprachig forceNormal{"Force Modus Taste wird normal benutzt", "Force Mode Key: Normal",
                                        "Режим Супер Луч: Норма"};
  static const Dreisprachig forceWechsel{"Force Modus Taste wirkt als Beamwechsel", "Force Mode Key: Beam Alternation",
                                         "Режим Супер Луч: Смена режима"};
  static const Dreisprachig autoAn{"V-Tonator: Automatische Waffenanordnung", "V-Tonator Particles: Auto-Arrange",
                                   "Апгрейд: Начальный"};
  static const Dreisprachig autoAus{"V-Tonator: Manuelle Waffenanordnung", "V-Tonator Particles: Manual-Arrange",
                                    "Апгрейд: Продвинутый"};
  // English names the two kinds of movement; German and Russian say on or off.
  static const Dreisprachig traegheitAn{"Trägheit: ", "Ship Movements: Realistic", "Инерция корабля: "};
  static const Dreisprachig traegheitAus{"Trägheit: ", "Ship Movements: Arcade", "Инерция корабля: "};
  Zeile(0, titel, 0);
  Zeile(1, striche, 0);
  Zeile(2, Leer(), 0);
  Zeile(3, ForceModus ? forceNormal : forceWechsel, -1);
  Zeile(4, AutoAnordnung ? autoAn : autoAus, -1);
  WertZeile(5, Traegheit ? traegheitAn : traegheitAus, Sprache == "E" ? std::string() : OnOff(Traegheit));
  Zeile(6, Leer(), 0);
  Zeile(kZurueckZeile, Zurueck(), -1);
}

void SpielBestaetigt() {
  bool* schalter = nullptr;
  switch (MenuLauf.Text.Auswahl) {
    case 3: schalter = &ForceModus; break;
    case 4: schalter = &AutoAnordnung; break;
    case 5: schalter = &Traegheit; break;
    case kZurueckZeile: ZurueckZeile(); return;
    default: return;
  }
  Klang(SndPlingDing, SoundLautstaerke);
  *schalter = !*schalter;
}

// --- Volumes -----------------------------------------------------------------------------

void LautstaerkeZeilen() {
  static const Dreisprachig titel{"Lautstärkeeinstellungen", "Volume Control", "Уровень звука\""};
  static const Dreisprachig striche{"--------------------------------", "--------------------------------",
                                    "--------------------------------"};
  static const Dreisprachig musik{"Musik: ", "Music: ", "Музыка: "};
  static const Dreisprachig sound{"Sound: ", "Sound: ", "SFX: "};
  static const Dreisprachig stimmen{"Sprache: ", "Voices: ", "Голоса: "};
  Zeile(0, titel, 0);
  Zeile(1, striche, 0);
  Zeile(2, Leer(), 0);
  WertZeile(3, musik, std::to_string(MusikLautstaerke));
  WertZeile(4, sound, std::to_string(LautstaerkeStufe(SoundLautstaerke)));
  WertZeile(5, stimmen, std::to_string(LautstaerkeStufe(SprachLautstaerke)));
  Zeile(6, Leer(), 0);
  Zeile(kZurueckZeile, Zurueck(), -1);
}

void LautstaerkeBestaetigt() {
  switch (MenuLauf.Text.Auswahl) {
    case 3:
      MusikLautstaerke = MusikSchritt(MusikLautstaerke);
      if (SoundAn) SetOggVolume(MusikLautstaerke);
      break;
    case 4:
      SoundLautstaerke = LautstaerkeSchritt(SoundLautstaerke);
      Klang(SndPlingDing, SoundLautstaerke);
      break;
    case 5:
      SprachLautstaerke = LautstaerkeSchritt(SprachLautstaerke);
      Klang(SndSpeech, SprachLautstaerke);
      break;
    case kZurueckZeile:
      ZurueckZeile();
      break;
    default:
      break;
  }
}

// The keys of both pages, read whatever the panel does.
void Tasten(void (*bestaetigt)()) {
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) bestaetigt();
  ZurueckTaste();
}

}  // namespace

void SeiteSpiel() {
  MenuSpalte(true);
  MenuPanel(static_cast<float>(330 + MenuLauf.Schub), 245, 800, 505);
  if (MenuLauf.Schub == 0) {
    SpielZeilen();
    Text(385, 255);
  }
  Tasten(SpielBestaetigt);
}

void SeiteLautstaerke() {
  // The panel lies under the column here.
  MenuPanel(static_cast<float>(480 + MenuLauf.Schub), 245, 800, 445);
  MenuSpalte(true);
  if (MenuLauf.Schub == 0) {
    LautstaerkeZeilen();
    Text(540, 255);
  }
  Tasten(LautstaerkeBestaetigt);
}
