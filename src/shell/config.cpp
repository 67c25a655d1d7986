#include "shell/config.hpp"

#include <algorithm>
#include <vector>

#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/variabeln_state.hpp"

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

// Fields of the configuration file; every version is a sequence of them.
enum class Feld {
  VideoAn, LoadingscreenNr, SpracheFlag, Sprache, Voodoo, Fenster, Sound, Farbtiefe, Tasten,
  BesterDurchgang, ForceAn0, ForceAn1, Musik, SoundVol, SprachVol, ForceModus, AutoAnordnung,
  Traegheit, ForceBasis0, ForceBasis1, VideoKlein,
};

std::vector<Feld> Layout(int version) {
  using F = Feld;
  if (version <= 1) return {F::LoadingscreenNr, F::SpracheFlag, F::Voodoo, F::Fenster, F::Sound, F::Farbtiefe};
  std::vector<Feld> v2 = {F::LoadingscreenNr, F::Sprache, F::Voodoo, F::Fenster, F::Sound, F::Farbtiefe};
  std::vector<Feld> fields = v2;
  auto add = [&](std::initializer_list<Feld> more) { fields.insert(fields.end(), more); };
  if (version >= 3) add({F::Tasten, F::ForceAn0, F::ForceAn1});
  if (version >= 4) add({F::Musik, F::SoundVol, F::SprachVol});
  if (version >= 5) add({F::ForceModus, F::AutoAnordnung});
  if (version >= 6) fields.insert(fields.begin(), F::VideoAn);
  if (version >= 7) add({F::Traegheit});
  if (version >= 8) add({F::ForceBasis0, F::ForceBasis1});
  if (version >= 9) {
    // The best play-through joins right after the key configuration.
    auto it = std::find(fields.begin(), fields.end(), F::Tasten);
    fields.insert(it + 1, F::BesterDurchgang);
  }
  if (version >= 10) add({F::VideoKlein});
  return fields;
}

// Reads little-endian fields; a field that the file does not hold whole is not read.
class Leser {
 public:
  explicit Leser(const std::vector<uint8_t>& d) : d_(d) {}
  bool Hat(size_t n) const { return pos_ + n <= d_.size(); }
  int32_t Lies(size_t n) {
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint32_t>(d_[pos_ + i]) << (8 * i);
    pos_ += n;
    if (n == 2) return static_cast<int16_t>(v);
    return static_cast<int32_t>(v);
  }

 private:
  const std::vector<uint8_t>& d_;
  size_t pos_ = 2;  // after the version
};

size_t Breite(Feld f) {
  switch (f) {
    case Feld::Sprache: return 1;
    case Feld::LoadingscreenNr: case Feld::Farbtiefe: case Feld::BesterDurchgang: case Feld::Musik:
    case Feld::SoundVol: case Feld::SprachVol: case Feld::ForceBasis0: case Feld::ForceBasis1: return 4;
    case Feld::Tasten: return sizeof(KeyConfigDaten);
    default: return 2;
  }
}

// A stored Boolean: anything but 0 counts as True.
bool Bool(int32_t v) { return v != 0; }

void Lies(Leser& in, Feld f) {
  if (f == Feld::Tasten) {
    KeyConfigDaten k;
    int32_t* w = k.Map.data();
    for (size_t i = 0; i < 60; ++i) w[i] = in.Lies(4);
    for (int32_t& p : k.PauseKey) p = in.Lies(4);
    for (int32_t& d : k.KeyDevice) d = in.Lies(4);
    KeyConfig = k;
    return;
  }
  int32_t v = in.Lies(Breite(f));
  switch (f) {
    case Feld::VideoAn: VideoAn = Bool(v); break;
    case Feld::LoadingscreenNr: LoadingscreenNr = v; break;
    case Feld::SpracheFlag: Sprache = v != 0 ? "D" : "E"; break;
    case Feld::Sprache: Sprache = std::string(1, static_cast<char>(v & 0xFF)); break;
    case Feld::Voodoo: VoodooModus = Bool(v); break;
    case Feld::Fenster: FensterModus = Bool(v); break;
    case Feld::Sound: SoundAn = Bool(v); break;
    case Feld::Farbtiefe: Farbtiefe = v; break;
    case Feld::BesterDurchgang: BesterDurchgang = v; break;
    case Feld::ForceAn0: ForceAn[0] = Bool(v); break;
    case Feld::ForceAn1: ForceAn[1] = Bool(v); break;
    case Feld::Musik: MusikLautstaerke = v; break;
    case Feld::SoundVol: SoundLautstaerke = v; break;
    case Feld::SprachVol: SprachLautstaerke = v; break;
    case Feld::ForceModus: ForceModus = Bool(v); break;
    case Feld::AutoAnordnung: AutoAnordnung = Bool(v); break;
    case Feld::Traegheit: Traegheit = Bool(v); break;
    case Feld::ForceBasis0: ForceBasis[0] = v; break;
    case Feld::ForceBasis1: ForceBasis[1] = v; break;
    case Feld::VideoKlein: VideoKlein = Bool(v); break;
    case Feld::Tasten: break;
  }
}

void Schreib(std::vector<uint8_t>& out, int32_t v, size_t n) {
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

int32_t Wert(Feld f) {
  switch (f) {
    case Feld::VideoAn: return VBBool(VideoAn);
    case Feld::LoadingscreenNr: return LoadingscreenNr;
    case Feld::Sprache: return Sprache.empty() ? 'E' : static_cast<uint8_t>(Sprache[0]);
    case Feld::SpracheFlag: return VBBool(Sprache == "D");
    case Feld::Voodoo: return VBBool(VoodooModus);
    case Feld::Fenster: return VBBool(FensterModus);
    case Feld::Sound: return VBBool(SoundAn);
    case Feld::Farbtiefe: return Farbtiefe;
    case Feld::BesterDurchgang: return BesterDurchgang;
    case Feld::ForceAn0: return VBBool(ForceAn[0]);
    case Feld::ForceAn1: return VBBool(ForceAn[1]);
    case Feld::Musik: return MusikLautstaerke;
    case Feld::SoundVol: return SoundLautstaerke;
    case Feld::SprachVol: return SprachLautstaerke;
    case Feld::ForceModus: return VBBool(ForceModus);
    case Feld::AutoAnordnung: return VBBool(AutoAnordnung);
    case Feld::Traegheit: return VBBool(Traegheit);
    case Feld::ForceBasis0: return ForceBasis[0];
    case Feld::ForceBasis1: return ForceBasis[1];
    case Feld::VideoKlein: return VBBool(VideoKlein);
    case Feld::Tasten: return 0;
  }
  return 0;
}

bool GueltigerCode(int32_t code) { return code >= 1 && code <= kHoechsterTastencode; }

// Values from an old or damaged file that the game could not work with are put right.
void Berichtigen() {
  for (int s = 0; s < 3; ++s)
    if (KeyConfig.KeyDevice[s] < 0 || KeyConfig.KeyDevice[s] > 2) InitKeyConfig(static_cast<int16_t>(s), 0);
  for (int32_t& code : KeyConfig.Map)
    if (!GueltigerCode(code)) code = 0;
  for (int32_t& code : KeyConfig.PauseKey)
    if (!GueltigerCode(code)) code = 0;
  if (LoadingscreenNr < 0 || LoadingscreenNr > 15) LoadingscreenNr = 0;
  MusikLautstaerke = std::clamp(MusikLautstaerke, 0, 100);
  SoundLautstaerke = std::clamp(SoundLautstaerke, -10000, 0);
  SprachLautstaerke = std::clamp(SprachLautstaerke, -10000, 0);
  for (int32_t& b : ForceBasis) b = std::clamp(b, 0, 10000);
  if (Sprache != "D" && Sprache != "E" && Sprache != "R") Sprache = "E";
}

std::string ConfigDatei() { return DatenOrdner + "config.cfg"; }

}  // namespace

void InitKeyConfig(int16_t Nr, int16_t Art) {
  if (Nr < 0 || Nr > 2) return;
  for (int a = 0; a < 10; ++a)
    for (int b = 0; b < 2; ++b) KeyConfig.KeyMap(a, Nr, b) = 0;
  KeyConfig.KeyDevice[Nr] = Art;
  if (Art == 1 || Art == 2) {
    int j = Art - 1;
    const int32_t joy[10] = {JoyLinks[j],     JoyHoch[j],     JoyRechts[j],   JoyRunter[j],   JoyKnopf[j][0],
                             JoyKnopf[j][3], JoyKnopf[j][2], JoyKnopf[j][1], JoyKnopf[j][5], JoyKnopf[j][4]};
    for (int a = 0; a < 10; ++a) KeyConfig.KeyMap(a, Nr, 0) = joy[a];
    if (Nr == 0)
      for (int a = 0; a < 4; ++a) KeyConfig.KeyMap(a, 0, 1) = kPfeile[a];
  } else if (Art == 0) {
    for (int a = 0; a < 10; ++a) KeyConfig.KeyMap(a, Nr, 0) = kTastatur[Nr][a];
    if (Nr == 1)
      for (int a = 0; a < 4; ++a) KeyConfig.KeyMap(a, 1, 1) = kPfeile[a];
    if (Nr == 2) KeyConfig.KeyMap(3, 2, 1) = 80;
  }
}

void LoadConfig() {
  for (int i = 0; i < 3; ++i) KeyConfig.PauseKey[i] = kPauseKeys[i];
  for (int16_t s = 0; s < 3; ++s) InitKeyConfig(s, 0);
  MusikLautstaerke = 90;
  SoundLautstaerke = -1000;
  SprachLautstaerke = 0;
  Traegheit = true;
  ForceBasis = {2500, 2500};
  BesterDurchgang = 0;

  std::vector<uint8_t> data;
  if (!platform::fs::FileExists(ConfigDatei())) return;
  if (!platform::fs::ReadAll(ConfigDatei(), data)) {
    DebugLog("Fehler beim Laden der Configs");
    return;
  }
  if (data.size() < 2) return;  // too short to hold even its version: as if missing

  double v = Val(std::string(data.begin(), data.begin() + 2));
  if (v != Int(v) || v > 10) return;  // a version this program does not know
  Leser in(data);
  for (Feld f : Layout(static_cast<int>(v))) {
    if (!in.Hat(Breite(f))) break;  // a short file keeps the defaults of what it lacks
    Lies(in, f);
  }
  Berichtigen();
}

void SaveConfig() {
  std::vector<uint8_t> out = {'1', '0'};
  for (Feld f : Layout(10)) {
    if (f == Feld::Tasten) {
      for (int32_t w : KeyConfig.Map) Schreib(out, w, 4);
      for (int32_t w : KeyConfig.PauseKey) Schreib(out, w, 4);
      for (int32_t w : KeyConfig.KeyDevice) Schreib(out, w, 4);
    } else {
      Schreib(out, Wert(f), Breite(f));
    }
  }
  // Written from the first byte on; a longer old file keeps its tail.
  if (!platform::fs::Overwrite(ConfigDatei(), out.data(), out.size())) DebugLog("Fehler beim Speichern der Configs");
}
