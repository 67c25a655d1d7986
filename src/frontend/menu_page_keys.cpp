// The key configuration page: a key set, its input device, the ten actions bound by
// pressing keys or buttons, and for a joystick its pause button and vibration. Changes
// act on the live configuration; the apply line makes them what leaving the page returns
// to.
#include <algorithm>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/key_text.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"

namespace {

// The lines of the page.
constexpr int32_t kSetZeile = 3;
constexpr int32_t kGeraetZeile = 4;
constexpr int32_t kErsteAktion = 6;
constexpr int32_t kAktionen = 10;
constexpr int32_t kPauseZeile = 16;
constexpr int32_t kVibrationZeile = 17;
constexpr int32_t kStaerkeZeile = 18;
constexpr int32_t kUebernehmenZeile = 20;
constexpr int32_t kZurueckZeile = 21;

constexpr int32_t kKeyboardCodes = 211;
constexpr int32_t kTestRuettelzeit = 20;  // frames of the test rumble
constexpr int32_t kStaerkeSchritt = 500;
constexpr int32_t kStaerkeMax = 10000;

// What the page is about this frame: the key set, its device and that device's joystick
// (-1 for the keyboard).
struct Stand {
  int32_t s, d, j;
};
Stand Jetzt() {
  const int32_t s = std::clamp(static_cast<int32_t>(MenuLauf.KeyPageSet), 0, 2);
  const int32_t d = KeyPageDevice(s);
  return {s, d, d - 1};
}
bool MitVibration(const Stand& st) { return st.j >= 0 && ForceDa[static_cast<size_t>(st.j)]; }

// A line can be chosen: the directions only on the keyboard, the pause and vibration
// lines only for a joystick (and the vibration only when it has force feedback).
bool Waehlbar(int32_t zeile, const Stand& st) {
  if (zeile >= kErsteAktion && zeile < kErsteAktion + 4) return st.d == 0;
  if (zeile >= kErsteAktion + 4 && zeile < kErsteAktion + kAktionen) return true;
  if (zeile == kPauseZeile) return st.d > 0;
  if (zeile == kVibrationZeile || zeile == kStaerkeZeile) return MitVibration(st);
  return zeile == kSetZeile || zeile == kGeraetZeile || zeile == kUebernehmenZeile || zeile == kZurueckZeile;
}

void Klang(int32_t nr) {
  if (SoundAn) PlaySound(nr, 0, 0, SoundLautstaerke);
}

// The page stands still while a key is held: the window stays answerable, the input is
// read again, and a millisecond passes each round.
void Warten() {
  Wait(1);
  DInputPoll();
}
bool Laeuft() { return Spielstatus != 10; }

// --- The lines ---------------------------------------------------------------------------

const std::string& Gewaehlt(const Dreisprachig& t) {
  static const std::string leer;
  const std::string* text = t.Genau();
  return text ? *text : leer;
}

std::string SetText(int32_t s) {
  static const Dreisprachig sets[3] = {
      {"Einzelspieler", "Singleplayer", "Синглплеер\""},
      {"Zweispielermodus: Spieler 1", "Multiplayer: Player 1", "Мультиплеер: Игрок 1"},
      {"Zweispielermodus: Spieler 2", "Multiplayer: Player 2", "Мультиплеер: Игрок 2"}};
  static const Dreisprachig davor{"Steuerung für ", "", ""};
  return Gewaehlt(davor) + Gewaehlt(sets[s]);
}

std::string GeraetText(int32_t d) {
  static const Dreisprachig tastatur{"Tastatur", "Keyboard", "Клавиатура"};
  if (d == 0) return Gewaehlt(tastatur);
  return "Joy" + std::to_string(d) + " (" + JoyName[static_cast<size_t>(d - 1)] + ")";
}

// German shows the switch as the words of a Boolean, the others as on or off.
std::string VibrationText(bool an) {
  if (Sprache == "D") return std::string("Vibration: ") + (an ? "Wahr" : "Falsch");
  if (Sprache == "R") return "Force Feedback: " + OnOff(an);
  if (Sprache == "E") return "Vibration: " + OnOff(an);
  return "";
}

void Zeilen(const Stand& st) {
  static const Dreisprachig titel{"Tastenkonfiguration", "Key Config", "Конфигурация"};
  static const Dreisprachig striche{"---------------------------", "----------------", "--------------------"};
  static const Dreisprachig geraet{"Gerät: ", "Controller: ", "Управление: "};
  static const Dreisprachig aktionen[kAktionen] = {
      {"Links: ", "Left: ", "Влево: "},
      {"Hoch: ", "Up: ", "Вверх: "},
      {"Rechts: ", "Right: ", "Вправо: "},
      {"Runter: ", "Down: ", "Вниз: "},
      {"Schießen: ", "Shoot: ", "Огонь: "},
      {"Beam: ", "Beam: ", "Навести: "},
      {"Satelliet/Partikel wechseln: ", "Force Control/Particles: ", "Управление режимом/Сменить Части: "},
      {"Force Modus: ", "Force Mode: ", "Режим Супер Луч: "},
      {"Partikel drehen: ", "Rotation of Particles: ", "Поворот частей: "},
      {"Supernova: ", "Supernova: ", "Сверхновая звезда: "}};
  static const Dreisprachig pause{"Pause: ", "Pause: ", "Пауза: "};
  static const Dreisprachig staerke{"Vibrationsstärke: ", "Strength of the vibration: ", "Сила вибрации: "};
  static const Dreisprachig uebernehmen{"Einstellungen übernehmen", "Apply changes", "Принять настройку"};
  static const Dreisprachig zurueck{"Zurück", "Back", "Назад"};
  // In a language that is none of the three the lines stay as they are.
  if (!titel.Genau()) return;
  auto zeile = [&st](int32_t i, const std::string& text) { TextZeile(i, text, Waehlbar(i, st) ? -1 : 0); };
  zeile(0, Gewaehlt(titel));
  zeile(1, Gewaehlt(striche));
  zeile(2, "");
  zeile(kSetZeile, SetText(st.s));
  zeile(kGeraetZeile, Gewaehlt(geraet) + GeraetText(st.d));
  zeile(5, "");
  for (int32_t a = 0; a < kAktionen; ++a)
    zeile(kErsteAktion + a, Gewaehlt(aktionen[a]) + GetKeyText(KeyConfig.KeyMap(a, st.s, 0), KeyConfig.KeyMap(a, st.s, 1)));
  const bool joystick = st.d > 0;
  const bool vibration = MitVibration(st);
  zeile(kPauseZeile, joystick ? Gewaehlt(pause) + GetKeyText(KeyConfig.PauseKey[static_cast<size_t>(st.d)], 0) : "");
  zeile(kVibrationZeile, vibration ? VibrationText(ForceAn[static_cast<size_t>(st.j)]) : "");
  zeile(kStaerkeZeile, vibration ? Gewaehlt(staerke) + StaerkeText(ForceBasis[static_cast<size_t>(st.j)]) : "");
  zeile(19, "");
  zeile(kUebernehmenZeile, Gewaehlt(uebernehmen));
  zeile(kZurueckZeile, Gewaehlt(zurueck));
}

// --- Choosing ----------------------------------------------------------------------------

// The next device of the key set: keyboard, joystick 1, joystick 2, keyboard, passing
// over absent joysticks; every step the set takes loads the new device's bindings.
void GeraetWechseln(const Stand& st) {
  int32_t d = st.d;
  for (;;) {
    ++d;
    if (d == 3) d = -1;
    if (d == 0 || (d > 0 && JoyDa[static_cast<size_t>(d - 1)])) {
      InitKeyConfig(static_cast<int16_t>(st.s), static_cast<int16_t>(d));
      return;
    }
  }
}

// A capture begins once the confirm key is up, so it never binds itself.
void FangBeginnen() {
  Klang(SndDude);
  MenuLauf.KeyCapture = 0;
  while (TasteEingabe(0) && Laeuft()) Warten();
}

void Ruetteln(int32_t j, int32_t staerke) {
  ForceStart(staerke, j);
  MenuLauf.Ruettelzeit = kTestRuettelzeit;
}

void Bestaetigt(const Stand& st) {
  const int32_t a = MenuLauf.Text.Auswahl;
  if (!Waehlbar(a, st)) return;
  if (a == kSetZeile) {
    Klang(SndPlingDing);
    MenuLauf.KeyPageSet = st.s + 1 > 2 ? 0.0f : static_cast<float>(st.s + 1);
  } else if (a == kGeraetZeile) {
    Klang(SndPlingDing);
    GeraetWechseln(st);
  } else if (a >= kErsteAktion && a <= kPauseZeile) {
    FangBeginnen();
  } else if (a == kVibrationZeile) {
    Klang(SndPlingDing);
    bool& an = ForceAn[static_cast<size_t>(st.j)];
    an = !an;
    Ruetteln(st.j, kStaerkeMax);
  } else if (a == kStaerkeZeile) {
    Klang(SndPlingDing);
    int32_t& basis = ForceBasis[static_cast<size_t>(st.j)];
    basis += kStaerkeSchritt;
    if (basis > kStaerkeMax) basis = kStaerkeSchritt;
    Ruetteln(st.j, basis);
  } else if (a == kUebernehmenZeile) {
    Klang(SndDude);
    MenuLauf.KeyConfigBackup = KeyConfig;
  } else if (a == kZurueckZeile) {
    Klang(SndDude);
    KeyConfig = MenuLauf.KeyConfigBackup;
    Blenden();
    MenuSeite = kSeiteOptionen;
  }
}

// --- Capturing ---------------------------------------------------------------------------

// The highest pressed keyboard code, overridden by the highest pressed button of the
// set's joystick; `ausser` is passed over; 0 when nothing is pressed.
int32_t Gedrueckt(const Stand& st, int32_t ausser) {
  int32_t code = 0;
  for (int32_t c = 1; c <= kKeyboardCodes; ++c)
    if (c != ausser && KeyState[static_cast<size_t>(c)]) code = c;
  if (st.j >= 0)
    for (int16_t k : JoyKnopf[static_cast<size_t>(st.j)])
      if (k != ausser && KeyState[static_cast<size_t>(k)]) code = k;
  return code;
}

void Halten(int32_t code) {
  while (KeyState[static_cast<size_t>(code)] && Laeuft()) Warten();
}

// A key for an action: the first binding, and a key pressed while it is held the second.
void AktionBinden(const Stand& st, int32_t aktion, int32_t code) {
  KeyConfig.KeyMap(aktion, st.s, 1) = 0;
  KeyConfig.KeyMap(aktion, st.s, 0) = code;
  do {
    Warten();
    if (const int32_t zweite = Gedrueckt(st, code)) KeyConfig.KeyMap(aktion, st.s, 1) = zweite;
  } while (KeyState[static_cast<size_t>(code)] && Laeuft());
}

void Fangen(const Stand& st) {
  const int32_t code = Gedrueckt(st, 0);
  MenuLauf.KeyCapture = code;
  if (KeyState[1]) {  // Escape: nothing changes
    Halten(1);
  } else if (code > 0) {
    const int32_t a = MenuLauf.Text.Auswahl;
    if (a == kPauseZeile && st.d > 0) {
      KeyConfig.PauseKey[static_cast<size_t>(st.d)] = code;
      Halten(code);
    } else if (a >= kErsteAktion && a < kErsteAktion + kAktionen) {
      AktionBinden(st, a - kErsteAktion, code);
    }
  } else {
    return;  // nothing yet: the next frame looks again
  }
  MenuLauf.KeyCapture = -1;
}

}  // namespace

void SeiteTasten() {
  const Stand st = Jetzt();
  MenuSpalte(true);
  MenuPanel(static_cast<float>(300 + MenuLauf.Schub), 110, 800, 595);
  const bool wartet = MenuLauf.KeyCapture == 0;
  if (MenuLauf.Schub == 0) {
    MenuLauf.Text.X = 390;
    MenuLauf.Text.Y = 130;
    Zeilen(st);
    MenuLauf.Text.Letzte = kZurueckZeile;
    ShowTextMenu(MenuLauf.Text, wartet, wartet && Mod(IDiv(LevelTick, 3), 2) == 0);
  }
  if (!MenuFokus()) return;
  if (wartet) {
    Fangen(st);
    return;
  }
  if (MenuBestaetigt()) Bestaetigt(st);
  if (MenuLauf.KeyCapture != 0 && MenuZurueck()) {
    KeyConfig = MenuLauf.KeyConfigBackup;
    Blenden();
    MenuSeite = kSeiteOptionen;
  }
}
