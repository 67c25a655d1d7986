#include "shell/config.hpp"

#include <algorithm>
#include <cassert>
#include <variant>
#include <vector>

#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"

namespace {

// The keyboard's default bindings per key set: binding 0 of actions 0..9, and the
// second bindings that some key sets have.
constexpr int32_t kTastatur[3][10] = {
    {203, 200, 205, 208, 31, 30, 32, 16, 17, 18},
    {36, 23, 38, 37, 31, 30, 32, 16, 17, 18},
    {75, 72, 77, 76, 207, 211, 209, 210, 199, 201},
};
constexpr int32_t kPfeile[4] = {203, 200, 205, 208};
constexpr int32_t kPauseKeys[3] = {1, 224, 259};

constexpr int kVersion = 10;  // the version this program writes

// The globals a field can fill. The language is stored as its letter, one byte, from
// version 2 on, and as a flag before (not 0 is German).
struct Buchstabe {
  std::string* ziel;
};
struct Flagge {
  std::string* ziel;
};
using Ziel = std::variant<bool*, int32_t*, KeyConfigDaten*, Buchstabe, Flagge>;

struct Feld {
  int ab, bis;    // the versions that hold the field
  size_t breite;  // its bytes in the file
  Ziel ziel;      // the global it fills
};

// Every field of every version, in the order of the file; each version holds those whose
// range includes it. Booleans are 16 bits (-1 True, 0 False), numbers 32 bits.
const Feld kFelder[] = {
    {6, 10, 2, &VideoAn},
    {1, 10, 4, &LoadingscreenNr},
    {1, 1, 2, Flagge{&Sprache}},
    {2, 10, 1, Buchstabe{&Sprache}},
    {1, 10, 2, &VoodooModus},
    {1, 10, 2, &FensterModus},
    {1, 10, 2, &SoundAn},
    {1, 10, 4, &Farbtiefe},
    {3, 10, sizeof(KeyConfigDaten), &KeyConfig},
    {9, 10, 4, &BesterDurchgang},  // joined the file after the key configuration
    {3, 10, 2, &ForceAn[0]},
    {3, 10, 2, &ForceAn[1]},
    {4, 10, 4, &MusikLautstaerke},
    {4, 10, 4, &SoundLautstaerke},
    {4, 10, 4, &SprachLautstaerke},
    {5, 10, 2, &ForceModus},
    {5, 10, 2, &AutoAnordnung},
    {7, 10, 2, &Traegheit},
    {8, 10, 4, &ForceBasis[0]},
    {8, 10, 4, &ForceBasis[1]},
    {10, 10, 2, &VideoKlein},
};

template <class... F>
struct Faelle : F... {
  using F::operator()...;
};
template <class... F>
Faelle(F...) -> Faelle<F...>;

// Reads a field into its global, or writes it from there.
template <class IO>
void Uebertrage(IO& io, const Feld& f) {
  [[maybe_unused]] const size_t vorher = io.Pos();
  std::visit(Faelle{
                 [&](bool* b) { io.Bool16(*b); },
                 [&](int32_t* i) { io.Int32(*i); },
                 [&](KeyConfigDaten* k) {
                   for (int32_t& w : k->Map) io.Int32(w);
                   for (int32_t& w : k->PauseKey) io.Int32(w);
                   for (int32_t& w : k->KeyDevice) io.Int32(w);
                 },
                 [&](Buchstabe s) {
                   uint8_t c = s.ziel->empty() ? 'E' : static_cast<uint8_t>((*s.ziel)[0]);
                   io.UInt8(c);
                   if constexpr (IO::kReads) *s.ziel = std::string(1, static_cast<char>(c));
                 },
                 [&](Flagge s) {
                   bool deutsch = *s.ziel == "D";
                   io.Bool16(deutsch);
                   if constexpr (IO::kReads) *s.ziel = deutsch ? "D" : "E";
                 },
             },
             f.ziel);
  assert(io.Pos() - vorher == f.breite);
}

// The layout a stored version is read with: text that is no number reads as 0, and
// every version of 1 or below as version 1. 0 for a version this program does not know.
int Layout(double version) {
  if (version <= 1) return 1;
  if (version != Int(version) || version > kVersion) return 0;
  return static_cast<int>(version);
}

// The defaults of key set `Nr` on input device `Art`, into `k`.
void Vorgaben(KeyConfigDaten& k, int Nr, int Art) {
  for (int a = 0; a < 10; ++a)
    for (int b = 0; b < 2; ++b) k.KeyMap(a, Nr, b) = 0;
  k.KeyDevice[Nr] = Art;
  if (Art == 1 || Art == 2) {
    int j = Art - 1;
    const int32_t joy[10] = {JoyLinks[j],     JoyHoch[j],     JoyRechts[j],   JoyRunter[j],   JoyKnopf[j][0],
                             JoyKnopf[j][3], JoyKnopf[j][2], JoyKnopf[j][1], JoyKnopf[j][5], JoyKnopf[j][4]};
    for (int a = 0; a < 10; ++a) k.KeyMap(a, Nr, 0) = joy[a];
    if (Nr == 0)
      for (int a = 0; a < 4; ++a) k.KeyMap(a, 0, 1) = kPfeile[a];
  } else if (Art == 0) {
    for (int a = 0; a < 10; ++a) k.KeyMap(a, Nr, 0) = kTastatur[Nr][a];
    if (Nr == 1)
      for (int a = 0; a < 4; ++a) k.KeyMap(a, 1, 1) = kPfeile[a];
    if (Nr == 2) k.KeyMap(3, 2, 1) = 80;
  }
}

// A key code the game knows, or 0 for none.
bool ImBereich(int32_t code) { return code >= 0 && code <= kHoechsterTastencode; }

// Values from an old or damaged file that the game could not work with are put right.
void Berichtigen() {
  for (int s = 0; s < 3; ++s) {
    if (KeyConfig.KeyDevice[s] < 0 || KeyConfig.KeyDevice[s] > 2) InitKeyConfig(static_cast<int16_t>(s), 0);
    // A binding out of range takes its default: a pause or movement key must never end
    // up unbound by damage. The key page binds a keyboard set's first key whenever it
    // binds one and never clears it, so a 0 there is damage too (a file of zeros, say).
    KeyConfigDaten vorgabe;
    Vorgaben(vorgabe, s, KeyConfig.KeyDevice[s]);
    const bool tastatur = KeyConfig.KeyDevice[s] == 0;
    for (int a = 0; a < 10; ++a)
      for (int b = 0; b < 2; ++b) {
        const int32_t code = KeyConfig.KeyMap(a, s, b);
        if (!ImBereich(code) || (tastatur && b == 0 && code == 0))
          KeyConfig.KeyMap(a, s, b) = vorgabe.KeyMap(a, s, b);
      }
    if (!ImBereich(KeyConfig.PauseKey[s])) KeyConfig.PauseKey[s] = kPauseKeys[s];
  }
  // The keyboard's pause key is not on the key page, so none there is damage: the game
  // could not be paused from the keyboard.
  if (KeyConfig.PauseKey[0] == 0) KeyConfig.PauseKey[0] = kPauseKeys[0];
  if (LoadingscreenNr < 0 || LoadingscreenNr > 15) LoadingscreenNr = 0;
  MusikLautstaerke = std::clamp(MusikLautstaerke, 0, 100);
  SoundLautstaerke = std::clamp(SoundLautstaerke, -10000, 0);
  SprachLautstaerke = std::clamp(SprachLautstaerke, -10000, 0);
  for (int32_t& b : ForceBasis) b = std::clamp(b, 0, 10000);
  if (Sprache != "D" && Sprache != "E" && Sprache != "R") Sprache = "E";
  if (Farbtiefe != 16 && Farbtiefe != 32) Farbtiefe = 32;
}

std::string ConfigDatei() { return DatenOrdner + kConfigDatei; }

// The file holds a version this program does not know: it is kept aside before saving.
bool unbekannteVersion = false;

}  // namespace

void InitKeyConfig(int16_t Nr, int16_t Art) {
  if (Nr < 0 || Nr > 2) return;
  Vorgaben(KeyConfig, Nr, Art);
}

void SetConfigDefaults() {
  for (int i = 0; i < 3; ++i) KeyConfig.PauseKey[i] = kPauseKeys[i];
  for (int16_t s = 0; s < 3; ++s) InitKeyConfig(s, 0);
  MusikLautstaerke = 90;
  SoundLautstaerke = -1000;
  SprachLautstaerke = 0;
  Traegheit = true;
  ForceBasis = {2500, 2500};
  BesterDurchgang = 0;
}

void ResetConfig() {
  KeyConfig = KeyConfigDaten{};
  SetConfigDefaults();
  Farbtiefe = 32;
  Sprache = "E";
  FensterModus = false;
  VoodooModus = false;
  SoundAn = true;
  VideoAn = true;
  VideoKlein = false;
  AutoAnordnung = true;
  ForceModus = true;
  LoadingscreenNr = 0;
  ForceAn = {};
  unbekannteVersion = false;
}

bool ReadConfig(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2) return true;  // too short to hold even its version: as if missing
  platform::ByteReader in(bytes);
  const int layout = Layout(Val(in.FixedText(2)));
  if (layout == 0) return false;
  for (const Feld& f : kFelder) {
    if (layout < f.ab || layout > f.bis) continue;
    if (in.Remaining() < f.breite) break;  // a short file keeps the defaults of what it lacks
    Uebertrage(in, f);
  }
  Berichtigen();
  return true;
}

std::vector<uint8_t> WriteConfig() {
  std::vector<uint8_t> out;
  platform::ByteWriter w(out);
  w.FixedText(std::to_string(kVersion), 2);
  for (const Feld& f : kFelder)
    if (f.ab <= kVersion && kVersion <= f.bis) Uebertrage(w, f);
  return out;
}

void LoadConfig() {
  SetConfigDefaults();
  unbekannteVersion = false;
  if (!platform::fs::FileExists(ConfigDatei())) return;
  // No more than the largest layout is read: the rest of a longer file means nothing.
  std::vector<uint8_t> data;
  if (!platform::fs::ReadStart(ConfigDatei(), data, kConfigGroesse)) {
    DebugLog("Fehler beim Laden der Configs");
    return;
  }
  unbekannteVersion = !ReadConfig(data);
}

void SaveConfig() {
  if (unbekannteVersion) {
    // A newer program's settings are not lost to the defaults of this one.
    if (!AlsBakSichern(ConfigDatei(), "Configs unbekannter Version gesichert als ")) {
      DebugLog("Fehler beim Speichern der Configs");
      return;
    }
    unbekannteVersion = false;
  }
  std::vector<uint8_t> out = WriteConfig();
  // As if written from the first byte on: a longer old file keeps its tail.
  if (!platform::fs::WriteReplacing(ConfigDatei(), out.data(), out.size(), true, true))
    DebugLog("Fehler beim Speichern der Configs");
}
