#pragma once
// The level file: its byte layout, listed once as field functions, and its reader.
//
// Little-endian, no padding. Long = 32-bit, Integer = 16-bit, Single = 32-bit float.
// A list is stored as its bound (entries minus one; any negative bound is an empty list)
// followed by its entries. Texts come in three forms: plain (a Long length, then the
// bytes, kept as they are), mapped (a Long length of at least 1, then the bytes, with
// the German letters ü Ü ä Ä ö Ö ß spelt out as ue Ue ae Ae oe Oe ss and the blanks at
// both ends removed) and fixed mapped (30 bytes, mapped the same way).
//
// The file holds, in this order: the 15-byte version text, the background, the sprite
// definitions, the enemy templates, the routes, the seven layers, the animations, the
// shot generators, the shot types, the sounds, the radio messages, four level values,
// the music file and the water. Nothing after that is read.
//
// The field functions serve a reader and a writer (our level tool) alike: an IO offers
// Int32, Int16, Single, Flag (an Integer Boolean read as -1/0), LongAlsSingle, Energie
// (a template's Long energy, scaled for two players when read), Frei32 (a Long nobody
// keeps), PText, MText, M30, Zahl (a list's bound: the entries that follow) and Platz
// (room for them), and Abschnitt (a section begins).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/bytes.hpp"
#include "world/level_data_state.hpp"

namespace levelfile {

inline constexpr char kVersion[] = "VESK2 - V. 0.15";
inline constexpr size_t kVersionLaenge = 15;
inline constexpr size_t kM30 = 30;

// The smallest size in the file of one entry of each list (all its lists empty, its
// mapped texts one byte long). A bound is checked against the bytes left with these
// before its list is allocated.
namespace min {
inline constexpr size_t SpriteDef = 15;
inline constexpr size_t SpriteFrame = 25;
inline constexpr size_t GegnerTyp = 81;
inline constexpr size_t Feindkomponente = 56;
inline constexpr size_t Route = 9;
inline constexpr size_t RoutenBefehl = 8;
inline constexpr size_t Term = 8;
inline constexpr size_t LevelEreignis = 20;
inline constexpr size_t AnimaTypDaten = 21;
inline constexpr size_t AnimaSpriteEintrag = 158;
inline constexpr size_t AnimaTeilTyp = 8;
inline constexpr size_t AnimaKeyframe = 56;
inline constexpr size_t ErzeugerTypDaten = 11;
inline constexpr size_t ErzeugerSalve = 52;
inline constexpr size_t SchussTypDaten = 59;
inline constexpr size_t LevelSoundDatei = 8;
inline constexpr size_t Funkmeldung = 15;
}  // namespace min

// No list of a level holds more entries than this, and all its lists together take no
// more memory than the other: both lie far above any level a person would make.
inline constexpr int64_t kListenGrenze = 1'000'000;
inline constexpr size_t kSpeicherGrenze = size_t{256} << 20;
// A level file larger than this is not read at all.
inline constexpr uint64_t kDateiGrenze = uint64_t{256} << 20;
// At most this many notes of one load reach the log.
inline constexpr size_t kHinweisGrenze = 100;

// Everything a level file holds, as the reader hands it over.
struct Leveldaten {
  std::string Hintergrund;  // a picture in the level archive, or a background mode
  std::vector<SpriteDef> SpriteDefs;
  std::vector<GegnerTyp> GegnerTypen;
  std::vector<Route> Routen;
  std::array<LevelEbene, 7> Ebenen;
  std::vector<AnimaTypDaten> AnimaTypen;
  std::vector<ErzeugerTypDaten> ErzeugerTypen;
  std::vector<SchussTypDaten> SchussTypen;
  std::vector<LevelSoundDatei> Sounds;
  std::string FunkTextBasis;
  std::vector<Funkmeldung> Funkmeldungen;
  int32_t LevelLaenge = 0;
  int32_t Wasserstand = 0;
  int32_t RegenAnzahl = 0;
  float Schwerkraft = 0;
  std::string MusikDatei;
  std::string WasserName;
  std::array<float, 6> WasserDaten{};
  // What the reader mended (references out of their catalogue, salvo entries dropped),
  // one log line each; not part of the file.
  std::vector<std::string> Hinweise;
  size_t HinweiseUebrig = 0;  // notes beyond kHinweisGrenze, only counted

  bool operator==(const Leveldaten&) const = default;
};

enum class Ergebnis { Geladen, FalscheVersion, Beschaedigt };

// The mapped form of the text bytes `b`.
std::string MapText(std::span<const uint8_t> b);

// The reading side of the field functions.
class Leser {
 public:
  static constexpr bool kReads = true;

  // `hpFaktor` scales the templates' energy (1.5 in a two-player game).
  Leser(platform::ByteReader& in, double hpFaktor) : in_(in), hpFaktor_(hpFaktor) {}

  bool Ok() const { return in_.Ok(); }
  void Fail() { in_.Fail(); }
  void Abschnitt() {}

  void Int32(int32_t& v) { in_.Int32(v); }
  void Int16(int16_t& v) { in_.Int16(v); }
  void Single(float& v) { in_.Single(v); }
  void Flag(int16_t& v);
  void LongAlsSingle(float& v);
  void Energie(float& v);
  void Frei32() { in_.Int32(); }
  void PText(std::string& v);
  void MText(std::string& v);
  void M30(std::string& v);

  // The entries of the list whose bound comes next: 0 for a negative bound; fails for
  // more than kListenGrenze or more than the bytes left can hold at `minBytes` each.
  size_t Zahl(size_t /*writerCount*/, size_t minBytes);
  // Makes `v` hold n + extra fresh entries, within what memory the level may take.
  template <class T>
  bool Platz(std::vector<T>& v, size_t n, size_t extra = 0) {
    if (!Ok()) return false;
    const size_t bytes = (n + extra) * sizeof(T);
    if (bytes > speicher_) {
      Fail();
      return false;
    }
    speicher_ -= bytes;
    v.assign(n + extra, T{});
    return true;
  }

 private:
  platform::ByteReader& in_;
  double hpFaktor_;
  size_t speicher_ = kSpeicherGrenze;
};

// The field functions, in file order. Declared first so that every one sees the others.
template <class IO> void Felder(IO& io, SpriteFrame& f);
template <class IO> void Felder(IO& io, SpriteDef& s);
template <class IO> void Felder(IO& io, Feindkomponente& k);
template <class IO> void Felder(IO& io, GegnerTyp& t);
template <class IO> void Felder(IO& io, RoutenBefehl& b);
template <class IO> void Felder(IO& io, Route& r);
template <class IO> void Felder(IO& io, LevelEreignis& e);
template <class IO> void Felder(IO& io, LevelEbene& e);
template <class IO> void Felder(IO& io, AnimaSpriteEintrag& e);
template <class IO> void Felder(IO& io, AnimaKeyframe& k);
template <class IO> void Felder(IO& io, AnimaTeilTyp& t);
template <class IO> void Felder(IO& io, AnimaTypDaten& a);
template <class IO> void Felder(IO& io, ErzeugerSalve& s);
template <class IO> void Felder(IO& io, ErzeugerTypDaten& e);
template <class IO> void Felder(IO& io, SchussTypDaten& t);
template <class IO> void Felder(IO& io, LevelSoundDatei& s);
template <class IO> void Felder(IO& io, Funkmeldung& f);
template <class IO> void Felder(IO& io, Leveldaten& d);

// A bound and its entries.
template <class IO, class T>
void Liste(IO& io, std::vector<T>& v, size_t minBytes) {
  const size_t n = io.Zahl(v.size(), minBytes);
  if (!io.Platz(v, n)) return;
  for (size_t i = 0; i < n && io.Ok(); ++i) Felder(io, v[i]);
}

template <class IO>
void Felder(IO& io, SpriteFrame& f) {
  io.MText(f.Bild);
  io.Int32(f.Left);
  io.Int32(f.Top);
  io.Int32(f.Right);
  io.Int32(f.Bottom);
  io.Int32(f.Zeit);
}

template <class IO>
void Felder(IO& io, SpriteDef& s) {
  io.Frei32();
  io.MText(s.Name);
  io.Int16(s.D3DSprite);
  Liste(io, s.Frames, min::SpriteFrame);
}

template <class IO>
void Felder(IO& io, Feindkomponente& k) {
  io.Single(k.A);
  io.Int16(k.VerlustToetet);
  io.Single(k.B);
  io.Single(k.G);
  io.Flag(k.TrefferAufGegner);
  io.LongAlsSingle(k.HP);
  io.Int32(k.Sprite);
  io.Single(k.R);
  io.Int32(k.RouteNr);
  io.Int16(k.RouteAn);
  io.Int32(k.Erzeuger);
  io.Int32(k.FeuerModus);
  io.Int16(k.Unzerstörbar);
  io.Single(k.Drehung);
  io.LongAlsSingle(k.OffsetX);
  io.LongAlsSingle(k.OffsetY);
}

template <class IO>
void Felder(IO& io, GegnerTyp& t) {
  io.Energie(t.HP);
  const size_t n = io.Zahl(t.Komponenten.size(), min::Feindkomponente);
  io.MText(t.Name);
  io.Single(t.Speed);
  for (int32_t& p : t.Parameter) io.Int32(p);
  if (!io.Platz(t.Komponenten, n)) return;
  for (size_t i = 0; i < n && io.Ok(); ++i) Felder(io, t.Komponenten[i]);
}

// The terms come in pairs: A(0), B(0), A(1), B(1), ...
template <class IO>
void Felder(IO& io, RoutenBefehl& b) {
  io.Int32(b.Befehl);
  const size_t n = io.Zahl(b.A.size(), min::Term);
  if (!io.Platz(b.A, n) || !io.Platz(b.B, n)) return;
  for (size_t i = 0; i < n; ++i) {
    io.Single(b.A[i]);
    io.Single(b.B[i]);
  }
}

template <class IO>
void Felder(IO& io, Route& r) {
  const size_t n = io.Zahl(r.Befehle.size(), min::RoutenBefehl);
  io.MText(r.Name);
  if (!io.Platz(r.Befehle, n)) return;
  for (size_t i = 0; i < n && io.Ok(); ++i) Felder(io, r.Befehle[i]);
}

template <class IO>
void Felder(IO& io, LevelEreignis& e) {
  io.Int32(e.Tick);
  io.Int32(e.Typ);
  io.Int32(e.P1);
  io.Int32(e.P2);
  io.Int32(e.P3);
}

template <class IO>
void Felder(IO& io, LevelEbene& e) {
  io.Single(e.Speed);
  Liste(io, e.Ereignisse, min::LevelEreignis);
}

template <class IO>
void Felder(IO& io, AnimaSpriteEintrag& e) {
  io.Int32(e.Zahl1);
  io.Int32(e.Zahl2);
  for (std::string& name : e.Namen) io.M30(name);
}

template <class IO>
void Felder(IO& io, AnimaKeyframe& k) {
  io.Int32(k.Tick);
  io.Single(k.PosX);
  io.Single(k.PosY);
  io.Single(k.R);
  io.Single(k.G);
  io.Single(k.B);
  io.Single(k.A);
  io.Int32(k.Winkel);
  io.Single(k.ZoomX);
  io.Single(k.ZoomY);
  io.Int32(k.Frame);
  io.Int32(k.Bewegung);
  io.Single(k.Speed);
  io.Int16(k.Sichtbar);
  io.Int16(k.Additiv);
}

// The key list keeps one spare entry after the keys of the file.
template <class IO>
void Felder(IO& io, AnimaTeilTyp& t) {
  const size_t n = io.Zahl(t.Keys.empty() ? 0 : t.Keys.size() - 1, min::AnimaKeyframe);
  io.Int32(t.Sprite);
  if (!io.Platz(t.Keys, n, 1)) return;
  for (size_t i = 0; i < n && io.Ok(); ++i) Felder(io, t.Keys[i]);
}

template <class IO>
void Felder(IO& io, AnimaTypDaten& a) {
  const size_t n = io.Zahl(a.Teile.size(), min::AnimaTeilTyp);
  io.MText(a.Name);
  io.Int32(a.Periode);
  io.Int16(a.Schleife);
  io.Int16(a.Scrollt);
  Liste(io, a.SpriteEintraege, min::AnimaSpriteEintrag);
  if (!io.Platz(a.Teile, n)) return;
  for (size_t i = 0; i < n && io.Ok(); ++i) Felder(io, a.Teile[i]);
}

template <class IO>
void Felder(IO& io, ErzeugerSalve& s) {
  io.Int32(s.Platzt);
  io.Int32(s.PlatztErzeuger);
  io.Int16(s.RandWeg);
  io.Single(s.HP);
  io.Int32(s.Anzahl);
  io.Int32(s.Abstand);
  io.Int32(s.RouteNr);
  io.Int16(s.Unblockbar);
  io.Int32(s.SchussTyp);
  io.Single(s.Speed);
  io.Int16(s.Gezielt);
  io.Int32(s.Verzoegerung);
  io.Single(s.OffsetX);
  io.Single(s.OffsetY);
  io.Int16(s.Durchschlag);
}

template <class IO>
void Felder(IO& io, ErzeugerTypDaten& e) {
  io.MText(e.Name);
  io.Int16(e.Drehturm);
  Liste(io, e.Salven, min::ErzeugerSalve);
}

template <class IO>
void Felder(IO& io, SchussTypDaten& t) {
  io.MText(t.Name);
  io.Int32(t.Aussehen);
  io.Single(t.B);
  io.Single(t.G);
  io.Int16(t.Drehen);
  io.Int32(t.Sprite);
  io.Single(t.R);
  io.Int32(t.Spur);
  io.Int32(t.BoxLeft);
  io.Int32(t.BoxTop);
  io.Int32(t.BoxRight);
  io.Int32(t.BoxBottom);
  io.Int32(t.Einblenden);
  io.Int32(t.Sound);
  io.Int16(t.DurchLandschaft);
  io.Int16(t.Leuchten);
}

template <class IO>
void Felder(IO& io, LevelSoundDatei& s) {
  io.PText(s.Name);
  io.Int32(s.Kopien);
}

template <class IO>
void Felder(IO& io, Funkmeldung& f) {
  io.PText(f.Sprecher);
  io.MText(f.TextBlock);
  io.Int16(f.Wert);
  io.Int32(f.MaxAnzahl);
}

// Everything after the version text.
template <class IO>
void Felder(IO& io, Leveldaten& d) {
  io.Abschnitt();
  io.PText(d.Hintergrund);
  io.Abschnitt();
  Liste(io, d.SpriteDefs, min::SpriteDef);
  io.Abschnitt();
  Liste(io, d.GegnerTypen, min::GegnerTyp);
  io.Abschnitt();
  Liste(io, d.Routen, min::Route);
  io.Abschnitt();
  for (LevelEbene& e : d.Ebenen) Felder(io, e);
  io.Abschnitt();
  Liste(io, d.AnimaTypen, min::AnimaTypDaten);
  io.Abschnitt();
  Liste(io, d.ErzeugerTypen, min::ErzeugerTypDaten);
  io.Abschnitt();
  Liste(io, d.SchussTypen, min::SchussTypDaten);
  io.Abschnitt();
  Liste(io, d.Sounds, min::LevelSoundDatei);
  io.Abschnitt();
  io.PText(d.FunkTextBasis);
  Liste(io, d.Funkmeldungen, min::Funkmeldung);
  io.Abschnitt();
  io.Int32(d.LevelLaenge);
  io.Int32(d.Wasserstand);
  io.Int32(d.RegenAnzahl);
  io.Single(d.Schwerkraft);
  io.Abschnitt();
  io.PText(d.MusikDatei);
  io.Abschnitt();
  io.PText(d.WasserName);
  for (float& w : d.WasserDaten) io.Single(w);
}

// Reads the level file `bytes` into `d`, for a game of `letzterSpieler` + 1 players, and
// gives the records their load values; nothing outside `d` changes. A reference outside
// its catalogue becomes -1 (a component's generator: KeinErzeuger) and more than
// SalvenGrenze salvo entries are cut, each with a note in `d.Hinweise`.
Ergebnis Lese(std::span<const uint8_t> bytes, Leveldaten& d, int32_t letzterSpieler);

// What the player is told when a level file cannot be read, in the language `sprache`
// ("D", "E" or "R"; Russian in Windows-1251, the others in Windows-1252).
std::string Meldung(Ergebnis e, const std::string& sprache);

// Makes `d` the loaded level: the catalogues and level values are replaced, the level
// sounds are not loaded yet (all 0), the radio texts are emptied, and the notes go to
// the debug log.
void Uebernimm(Leveldaten&& d);

}  // namespace levelfile

// The loader's entry: reads the level file `Datei` (or its bytes) into the catalogues.
// When it cannot, the player gets the message, `Spielstatus` becomes 10 and nothing of
// the loaded level changes; the caller then deletes the unpacked folder.
levelfile::Ergebnis LeseLeveldatei(const std::string& Datei);
levelfile::Ergebnis LeseLeveldatei(std::span<const uint8_t> bytes);
