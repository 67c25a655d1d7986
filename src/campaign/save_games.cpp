#include "campaign/save_games.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "campaign/screen_errors.hpp"
#include "campaign/script_state.hpp"
#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "platform/process.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

constexpr float kVersion = 4.0f;
// No save file comes near this; a larger one is not read at all.
constexpr uint64_t kDateiGrenze = uint64_t{16} << 20;
// The Variant type code of an Integer, which the extra-life threshold is stored as.
constexpr int16_t kVariantInteger = 2;
constexpr int32_t kSchiffstypen = 3;

// The state stream: the campaign's items in their order. What a version lacks is left
// out when reading it (and keeps the value it was given).
struct Inhalt {
  int32_t LetzterSpieler = 0;
  SkriptDaten Skript;
  std::array<int32_t, 2> NamenLaengen{};  // only written: each record carries its name
  std::array<SpielerDaten, 2> Spieler;
  std::array<SchiffDaten, 2> Schiff;
  SatellitDaten Satellit;
  std::array<PodDaten, 4> Pods;
  std::array<BeamStatus, 2> Beam;
  int16_t VariantTyp = kVariantInteger;
  int16_t ExtraLebenMarke = 0;
  int32_t Durchgang = 1;
};

template <class IO>
void Felder(IO& io, Inhalt& s, float Version) {
  io.Int32(s.LetzterSpieler);
  Felder(io, s.Skript);
  if (Version >= 3) {
    io.Int32(s.NamenLaengen[0]);
    io.Int32(s.NamenLaengen[1]);
  }
  for (SpielerDaten& p : s.Spieler) Felder(io, p);
  for (SchiffDaten& b : s.Schiff) Felder(io, b);
  Felder(io, s.Satellit);
  for (PodDaten& p : s.Pods) Felder(io, p);
  for (BeamStatus& b : s.Beam) Felder(io, b);
  if (Version >= 1) {
    io.Int16(s.VariantTyp);
    io.Int16(s.ExtraLebenMarke);
  }
  if (Version >= 2) io.Int32(s.Durchgang);
}

Inhalt AusDemSpiel() {
  Inhalt s;
  s.LetzterSpieler = LetzterSpieler;
  s.Skript = SkriptStand;
  for (size_t p = 0; p < 2; ++p) s.NamenLaengen[p] = static_cast<int32_t>(Spieler[p].Name.size());
  s.Spieler = Spieler;
  s.Schiff = Schiff;
  s.Satellit = Satellit;
  s.Pods = Pods;
  s.Beam = Beam;
  s.ExtraLebenMarke = ExtraLebenSchwelle;
  s.Durchgang = Durchgang;
  return s;
}

// Only what would crash the game or index outside a table is refused; any other value
// is the player's.
bool Brauchbar(const Inhalt& s) {
  if (s.LetzterSpieler != 0 && s.LetzterSpieler != 1) return false;
  if (s.VariantTyp != kVariantInteger || s.Durchgang < 1) return false;
  for (const SchiffDaten& b : s.Schiff)
    if (b.Typ < 0 || b.Typ >= kSchiffstypen) return false;
  for (const SpielerDaten& p : s.Spieler)
    if (p.Pod < -1 || p.Pod >= static_cast<int32_t>(Pods.size())) return false;
  return true;
}

void InsSpiel(const Inhalt& s, float Version) {
  LetzterSpieler = s.LetzterSpieler;
  SkriptStand = s.Skript;
  Spieler = s.Spieler;
  Schiff = s.Schiff;
  Satellit = s.Satellit;
  Pods = s.Pods;
  Beam = s.Beam;
  if (Version >= 1) ExtraLebenSchwelle = s.ExtraLebenMarke;
  Durchgang = Version >= 2 ? s.Durchgang : 1;
}

// A stated size that must fit the bytes left: false for a negative one or one too large.
bool Passt(const platform::ByteReader& r, int32_t n) {
  return r.Ok() && n >= 0 && static_cast<uint64_t>(n) <= r.Remaining();
}

// As many of the next `n` bytes as there are, at most `grenze`.
std::span<const uint8_t> Hoechstens(platform::ByteReader& r, int32_t n, int32_t grenze) {
  const size_t k = n <= 0 ? 0 : std::min({static_cast<size_t>(n), r.Remaining(), static_cast<size_t>(grenze)});
  return r.Block(k);
}

// The campaign in a file's bytes into `neu`, read and checked (what the version lacks
// keeps the game's value): the one test of whether a file loads, for loading it and for
// the lists that offer it. Nothing in the game changes.
Spielstand Lesen(std::span<const uint8_t> Datei, Inhalt& neu, float& v) {
  platform::ByteReader r(Datei);
  v = r.Single();
  if (!r.Ok() || std::isnan(v) || v < 0) return Spielstand::Defekt;
  if (v > 4) return Spielstand::Unbekannt;
  // The label is passed over: compressed up to version 3, plain from then on.
  if (v <= 3) r.Int32();
  const int32_t label = r.Int32();
  if (!Passt(r, label)) return Spielstand::Defekt;
  r.Skip(static_cast<size_t>(label));
  const int32_t u = r.Int32(), c = r.Int32();
  if (!Passt(r, c) || u < 0 || u > kSpielstandMax) return Spielstand::Defekt;
  std::vector<uint8_t> strom;
  if (InflateMember(r.Block(static_cast<size_t>(c)), u, strom) != 0) return Spielstand::Defekt;
  // Bytes after the stream are not read.
  platform::ByteReader s(strom);
  neu = AusDemSpiel();
  if (v < 2) neu.Durchgang = 1;
  Felder(s, neu, v);
  if (!s.Ok() || !Brauchbar(neu)) return Spielstand::Defekt;
  return Spielstand::Ganz;
}

// A slot's file whole, as far as a save game can be large.
bool SlotLesen(int32_t Slot, std::vector<uint8_t>& bytes) {
  return platform::fs::ReadAll(SaveSlotDatei(Slot), bytes, kDateiGrenze);
}

void LadefehlerMelden(const Err& e) { SchirmAbbruch(e, "Could not load the savegame"); }

}  // namespace

std::string SaveSlotDatei(int32_t Slot) { return SaveOrdner + std::to_string(Slot) + ".sav"; }

std::string LevelTeil(const std::string& Name, bool Russisch) {
  const size_t strich = Name.find('-');
  std::string teil = Name.substr(0, strich == std::string::npos ? 1 : strich + 2);
  if (!Russisch) return teil;
  static const std::string kUrowen = Cyr("Уровень");
  std::string aus;
  const std::string klein = LCase(teil);
  for (size_t i = 0; i < teil.size();) {
    if (klein.compare(i, 5, "level") == 0) {
      aus += kUrowen;
      i += 5;
    } else {
      aus += teil[i++];
    }
  }
  return aus;
}

std::string SaveLabel() {
  const char buchstabe = static_cast<char>(Durchgang <= 1 ? 'A' : Durchgang <= 26 ? 64 + Durchgang : 'Z');
  const platform::DateTime heute = platform::Now();
  char datum[32];
  std::snprintf(datum, sizeof datum, "%02d-%02d-%04d", heute.month, heute.day, heute.year);
  return "P" + std::to_string(int64_t{LetzterSpieler} + 1) + "S" + std::to_string(int64_t{Schiff[0].Typ} + 1) +
         buchstabe + " - " + LevelTeil(LevelName, Sprache == "R") + "  " + datum;
}

std::vector<uint8_t> SpielstandInhalt() {
  Inhalt s = AusDemSpiel();
  std::vector<uint8_t> out;
  platform::ByteWriter w(out);
  Felder(w, s, kVersion);
  return out;
}

std::vector<uint8_t> SpielstandDatei(const std::string& Label) {
  std::vector<uint8_t> strom = SpielstandInhalt();
  if (CompressBytes(strom) != 0) return {};
  std::vector<uint8_t> out;
  platform::ByteWriter w(out);
  w.Single(kVersion);
  w.Int32(static_cast<int32_t>(Label.size()));
  w.FixedText(Label, Label.size());
  w.Int32(ZLibOriginalGroesse);
  w.Int32(ZLibGepacktGroesse);
  w.Raw(strom);
  return out;
}

Spielstand SpielstandPruefen(std::span<const uint8_t> Datei) {
  Inhalt neu;
  float v = 0;
  return Lesen(Datei, neu, v);
}

Spielstand SpielstandLaden(std::span<const uint8_t> Datei) {
  Inhalt neu;
  float v = 0;
  const Spielstand stand = Lesen(Datei, neu, v);
  if (stand == Spielstand::Ganz) InsSpiel(neu, v);
  return stand;
}

Spielstand SpielstandLabel(std::span<const uint8_t> Datei, std::string& Label) {
  Label.clear();
  platform::ByteReader r(Datei);
  const float v = r.Single();
  if (!r.Ok()) return Spielstand::Defekt;
  if (v == kVersion) {
    const int32_t l = r.Int32();
    const bool ganz = Passt(r, l);
    const std::span<const uint8_t> b = Hoechstens(r, l, kSaveLabelMax);
    Label.assign(b.begin(), b.end());
    return ganz ? Spielstand::Ganz : Spielstand::Defekt;
  }
  if (!(v <= 3)) return Spielstand::Unbekannt;
  const int32_t u = r.Int32(), c = r.Int32();
  const bool ganz = Passt(r, c) && u >= 0 && u <= kSaveLabelMax;
  const std::span<const uint8_t> b = Hoechstens(r, c, kSaveLabelMax);
  std::vector<uint8_t> text(b.begin(), b.end());
  if (!r.Ok() || UncompressBytes(text, std::clamp(u, 0, kSaveLabelMax)) != 0) return Spielstand::Defekt;
  if (text.size() > static_cast<size_t>(kSaveLabelMax)) text.resize(kSaveLabelMax);
  Label.assign(text.begin(), text.end());
  return ganz ? Spielstand::Ganz : Spielstand::Defekt;
}

bool SaveGameSlot(int32_t Slot) {
  if (Slot < 1 || Slot > kSaveSlots) return false;
  const std::vector<uint8_t> bytes = SpielstandDatei(SaveLabel());
  const std::string datei = SaveSlotDatei(Slot);
  if (bytes.empty()) {
    DebugLog({"Spielstand nicht gepackt: ", LogPfad(datei)});
    return false;
  }
  if (!platform::fs::WriteReplacing(datei, bytes.data(), bytes.size(), true)) {
    DebugLog({"Spielstand nicht geschrieben: ", LogPfad(datei)});
    return false;
  }
  return true;
}

void LoadGame(int32_t SelectNr) {
  // The scratch file of older versions: nothing may be left of it.
  const std::string alt = SaveOrdner + "0.sav";
  if (platform::fs::FileExists(alt)) platform::fs::DeleteFile(alt);
  std::vector<uint8_t> bytes;
  if (!SlotLesen(SelectNr, bytes)) {
    LadefehlerMelden(err::DateiFehlt());
    return;
  }
  if (SpielstandLaden(bytes) == Spielstand::Defekt) LadefehlerMelden(err::DateiEnde());
}

bool SlotLadbar(int32_t Slot) {
  std::vector<uint8_t> bytes;
  return SlotLesen(Slot, bytes) && SpielstandPruefen(bytes) == Spielstand::Ganz;
}

std::string GetSaveLabel(int32_t Slot) {
  const std::string datei = SaveSlotDatei(Slot);
  if (!platform::fs::FileExists(datei)) return "---";
  // The label lies within the first bytes: after the version and at most two sizes.
  std::vector<uint8_t> bytes;
  if (!platform::fs::ReadStart(datei, bytes, 12 + kSaveLabelMax)) return "";
  std::string label;
  SpielstandLabel(bytes, label);
  return label;
}
