#pragma once
// The level file's catalogues: read once per level by the loader, only read afterwards.
//
// Record fields keep the order of the catalogue records (checkpoints and save games
// store them in this order); the level file stores many of them in another order, which
// its field functions (world/level_file.hpp) list. Every bound the game reads (a
// catalogue's `…Max`, a record's count of commands, components, frames, keys, parts,
// salvo entries or lines) is the size of its list, so the two cannot disagree.
//
// Cross-references between the catalogues (a component's sprite, route and generator, a
// salvo entry's route, generator and shot type, ...) are checked when the file is read:
// one that points outside its catalogue is stored as -1, which every user ignores.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/record_io.hpp"
#include "shell/basic.hpp"

// ---- Routes --------------------------------------------------------------------------

struct RoutenBefehl {
  int32_t Befehl = 0;    // opcode 0..44
  std::vector<float> A{};  // term i of the command is Var(A(i)) + Var(B(i))
  std::vector<float> B{};  // as long as A

  bool operator==(const RoutenBefehl&) const = default;
};

struct Route {
  std::vector<RoutenBefehl> Befehle{};
  int32_t BefehleMax() const { return UBound(Befehle); }
  std::string Name{};

  bool operator==(const Route&) const = default;
};

// ---- Sprite definitions ----------------------------------------------------------------

struct SpriteFrame {
  // The picture file in the level archive; "-" has none, and any one-character name
  // marks a loop point.
  std::string Bild{};
  int32_t Surface = -1;       // surface number; -1 for a frame without a picture
  int32_t Zeit = 0;           // delay in ticks
  int32_t SurfaceBlitz = -1;  // surface number of the hit-flash copy, -1 for none
  // Where the frame lies in its picture file; the picture loader cuts it out by this.
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  bool operator==(const SpriteFrame&) const = default;
};

struct SpriteDef {
  std::string Name{};
  int16_t D3DSprite = 0;  // drawn through the textured-quad renderer
  std::vector<SpriteFrame> Frames{};
  int32_t FramesMax() const { return UBound(Frames); }
  int32_t AniA = 0;  // the shared current frame
  int32_t TiA = 0;   // and its timer

  bool operator==(const SpriteDef&) const = default;
};

// ---- Enemy templates -------------------------------------------------------------------

// The generator value of a component whose generator does not exist: it fires nothing
// (-1 already has a meaning: the component launches an enemy by `Parameter`(7)).
inline constexpr int32_t KeinErzeuger = -2;

struct Feindkomponente {
  float OffsetX = 0, OffsetY = 0;  // from the enemy's position
  int16_t RouteAn = 0;             // runs its own route
  int32_t RouteNr = 0;
  float R = 0, G = 0, B = 0, A = 0;
  float Drehung = 0;               // degrees
  int16_t TrefferAufGegner = 0;    // damage goes to the enemy's energy (-1 / 0)
  float HP = 0;
  int16_t VerlustToetet = 0;       // losing this component kills the enemy
  int16_t Unzerstörbar = 0;
  int32_t Erzeuger = 0;            // shot generator; -1 launches an enemy, KeinErzeuger none
  int32_t FeuerModus = 0;
  int32_t Sprite = 0;
  int32_t AniA = 0;                // current frame
  int32_t TiA = 0;                 // frame timer
  int16_t Lebt = 0;
  int32_t Punkte = 0;
  int32_t FeuerZaehler = 0;
  int32_t RoutePos = 0;
  float MX = 0, MY = 0;
  float Ti = 0;
  std::array<float, 8> Vari{};
  float Speed = 0;
  int32_t TrefferBlitz = 0;        // hit-flash countdown in frames

  bool operator==(const Feindkomponente&) const = default;
};

struct GegnerTyp {
  std::vector<Feindkomponente> Komponenten{};
  int32_t KomponentenMax() const { return UBound(Komponenten); }
  std::string Name{};
  float HP = 0;
  float Speed = 0;
  int32_t Width = 0, Height = 0;
  int32_t Punkte = 0;
  std::array<int32_t, 16> Parameter{};

  bool operator==(const GegnerTyp&) const = default;
};

// The fields of an enemy's copy of its template in their order, for checkpoints (the level
// file lists them in its own order, world/level_file.hpp).
template <class IO>
  requires platform::RecordIO<IO>
void Felder(IO& io, Feindkomponente& k) {
  io.Single(k.OffsetX);
  io.Single(k.OffsetY);
  io.Int16(k.RouteAn);
  io.Int32(k.RouteNr);
  io.Single(k.R);
  io.Single(k.G);
  io.Single(k.B);
  io.Single(k.A);
  io.Single(k.Drehung);
  io.Int16(k.TrefferAufGegner);
  io.Single(k.HP);
  io.Int16(k.VerlustToetet);
  io.Int16(k.Unzerstörbar);
  io.Int32(k.Erzeuger);
  io.Int32(k.FeuerModus);
  io.Int32(k.Sprite);
  io.Int32(k.AniA);
  io.Int32(k.TiA);
  io.Int16(k.Lebt);
  io.Int32(k.Punkte);
  io.Int32(k.FeuerZaehler);
  io.Int32(k.RoutePos);
  io.Single(k.MX);
  io.Single(k.MY);
  io.Single(k.Ti);
  for (float& v : k.Vari) io.Single(v);
  io.Single(k.Speed);
  io.Int32(k.TrefferBlitz);
}

template <class IO>
  requires platform::RecordIO<IO>
void Felder(IO& io, GegnerTyp& t) {
  platform::DynamischesFeld(io, t.Komponenten, platform::Mindestgroesse<Feindkomponente>(), INT32_MAX,
                            [](IO& f, Feindkomponente& k) { Felder(f, k); });
  platform::ListenSchranke(io, t.KomponentenMax());
  io.Text(t.Name);
  io.Single(t.HP);
  io.Single(t.Speed);
  io.Int32(t.Width);
  io.Int32(t.Height);
  io.Int32(t.Punkte);
  for (int32_t& p : t.Parameter) io.Int32(p);
}

// ---- The seven layers ------------------------------------------------------------------

struct LevelEreignis {
  int32_t Tick = 0;
  int32_t Typ = 0;
  int32_t P1 = 0, P2 = 0, P3 = 0;

  bool operator==(const LevelEreignis&) const = default;
};

struct LevelEbene {
  std::vector<LevelEreignis> Ereignisse{};  // in ascending tick order
  int32_t EreignisseMax() const { return UBound(Ereignisse); }
  float Speed = 0;     // scroll speed, pixels per tick (positive: to the left)
  int32_t Cursor = 0;  // next event of the layer
  float Offset = 0;    // scroll position, in (-1, 0]

  bool operator==(const LevelEbene&) const = default;
};

// A layer's fields in their order, for checkpoints.
template <class IO>
  requires platform::RecordIO<IO>
void Felder(IO& io, LevelEreignis& e) {
  io.Int32(e.Tick);
  io.Int32(e.Typ);
  io.Int32(e.P1);
  io.Int32(e.P2);
  io.Int32(e.P3);
}

template <class IO>
  requires platform::RecordIO<IO>
void Felder(IO& io, LevelEbene& e) {
  platform::DynamischesFeld(io, e.Ereignisse, platform::Mindestgroesse<LevelEreignis>(), INT32_MAX,
                            [](IO& f, LevelEreignis& x) { Felder(f, x); });
  platform::ListenSchranke(io, e.EreignisseMax());
  io.Single(e.Speed);
  io.Int32(e.Cursor);
  io.Single(e.Offset);
}

// ---- Animations ------------------------------------------------------------------------

// Kept as the file has it; nothing reads it.
struct AnimaSpriteEintrag {
  int32_t Zahl1 = 0, Zahl2 = 0;
  std::array<std::string, 5> Namen{};

  bool operator==(const AnimaSpriteEintrag&) const = default;
};

struct AnimaKeyframe {
  int32_t Tick = 0;
  float PosX = 0, PosY = 0;
  float R = 0, G = 0, B = 0, A = 0;
  int32_t Winkel = 0;    // degrees
  int32_t Frame = 0;     // the frame held while the key is current; -1 keeps animating
  int16_t Sichtbar = 0;
  int16_t Additiv = 0;   // additive blending on the quad path
  float ZoomX = 0, ZoomY = 0;
  int32_t Bewegung = 0;  // how the part travels to this key, 0..3
  float Speed = 0;
  // Per tick, worked out by the loader.
  float SpeedX = 0, BeschlX = 0, SpeedY = 0, BeschlY = 0;
  float DR = 0, DG = 0, DB = 0, DA = 0, DWinkel = 0, DZoomX = 0, DZoomY = 0;

  bool operator==(const AnimaKeyframe&) const = default;
};

struct AnimaTeilTyp {
  // The key frames 0 To KeysMax of the file and one spare after them, so that key k + 1
  // always exists (a part without keys holds just the spare).
  std::vector<AnimaKeyframe> Keys{};
  int32_t KeysMax() const { return UBound(Keys) - 1; }
  int32_t Sprite = 0;

  bool operator==(const AnimaTeilTyp&) const = default;
};

struct AnimaTypDaten {
  std::vector<AnimaSpriteEintrag> SpriteEintraege{};
  int32_t SpriteEintraegeMax() const { return UBound(SpriteEintraege); }
  std::vector<AnimaTeilTyp> Teile{};
  int32_t TeileMax() const { return UBound(Teile); }
  std::string Name{};
  int16_t Schleife = 0;  // the keys repeat with the period
  int16_t Scrollt = 0;   // placed relative to its layer's scroll position
  int32_t Periode = 0;   // ticks
  int32_t RandRechts = 0;  // the largest right edge any key reaches, plus a margin

  bool operator==(const AnimaTypDaten&) const = default;
};

// ---- Enemy shot generators and shot types ----------------------------------------------

// A running generator keeps per-entry state for this many salvo entries; the reader
// drops any beyond.
inline constexpr int32_t SalvenGrenze = 11;

struct ErzeugerSalve {
  int32_t Verzoegerung = 0;    // frames from the generator's start to the first shot
  int32_t Anzahl = 0;          // shots minus one (-1: none)
  int32_t Abstand = 0;         // frames between two shots (0: all in one frame)
  int16_t Gezielt = 0;         // flies straight at the target ship
  int32_t RouteNr = -1;        // the shot's route when not aimed, -1 none
  int32_t Platzt = 0;          // 1: bursts into generator PlatztErzeuger when its route ends
  int32_t PlatztErzeuger = -1;
  int16_t Unblockbar = 0;      // pods and the satellite cannot stop it
  float HP = 0;                // damage, and the points for stopping it
  float Speed = 0;
  float OffsetX = 0, OffsetY = 0;  // start point from the generator's reference point
  int32_t SchussTyp = 0;
  int16_t RandWeg = 0;         // a routed shot goes as soon as it leaves the screen
  int16_t Durchschlag = 0;     // not used up by hitting a ship

  bool operator==(const ErzeugerSalve&) const = default;
};

struct ErzeugerTypDaten {
  std::string Name{};
  int16_t Drehturm = 0;  // the carrying component turns to face its target
  std::vector<ErzeugerSalve> Salven{};
  int32_t SalvenMax() const { return UBound(Salven); }

  bool operator==(const ErzeugerTypDaten&) const = default;
};

struct SchussTypDaten {
  int16_t Leuchten = 0;  // additive blending
  int32_t BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;  // in the picture file
  int16_t DurchLandschaft = 0;  // passes through the landscape
  std::string Name{};
  int32_t Aussehen = 0;  // 0 the standard shot, 1 a sprite shot
  int32_t Sprite = 0;
  int32_t Spur = 0;      // trail: 0 none, 1 afterimages, 2 or more a ribbon
  int16_t Drehen = 0;    // a sprite shot turns to its direction of motion
  float R = 0, G = 0, B = 0;  // ribbon and hit-flash colour
  int32_t Einblenden = 0;     // fade-in over this many frames plus one
  int32_t Sound = -1;         // level sound on creation, negative for none

  bool operator==(const SchussTypDaten&) const = default;
};

// ---- Sounds and radio ------------------------------------------------------------------

// A level sound as the file names it; the loader loads it into `LevelSoundMap`.
struct LevelSoundDatei {
  std::string Name{};
  int32_t Kopien = 0;

  bool operator==(const LevelSoundDatei&) const = default;
};

struct Funkmeldung {
  std::string Sprecher{};      // speaker code
  std::string TextBlock{};     // name of the radio text block with its lines
  int16_t Wert = 0;            // kept as the file has it; nothing reads it
  int32_t MaxAnzahl = 0;       // the most plays, 0 unlimited
  int32_t FunkTextIndex = -1;  // the block in `FunkTexte`, -1 when none matched

  bool operator==(const Funkmeldung&) const = default;
};

struct FunkText {
  std::string Name{};
  std::vector<std::string> Zeilen{};
  int32_t ZeilenMax() const { return UBound(Zeilen); }

  bool operator==(const FunkText&) const = default;
};

// ---- The catalogues of the loaded level ------------------------------------------------

inline std::vector<SpriteDef> SpriteDefs;
inline std::vector<GegnerTyp> GegnerTypen;
inline std::vector<Route> Routen;
inline std::array<LevelEbene, 7> Ebenen;
inline std::vector<AnimaTypDaten> AnimaTypen;
inline std::vector<ErzeugerTypDaten> ErzeugerTypen;
inline std::vector<SchussTypDaten> SchussTypen;
inline std::vector<int32_t> LevelSoundMap;  // sound numbers, 0 while sound is off
inline std::vector<LevelSoundDatei> LevelSoundDateien;
inline std::vector<Funkmeldung> Funkmeldungen;
inline std::vector<FunkText> FunkTexte;

inline int32_t SpriteDefsMax() { return UBound(SpriteDefs); }
inline int32_t GegnerTypenMax() { return UBound(GegnerTypen); }
inline int32_t RoutenMax() { return UBound(Routen); }
inline int32_t AnimaTypenMax() { return UBound(AnimaTypen); }
inline int32_t ErzeugerTypenMax() { return UBound(ErzeugerTypen); }
inline int32_t SchussTypenMax() { return UBound(SchussTypen); }
// The highest level sound index (an upper bound, despite its name); -1 for none.
inline int32_t LevelSoundsAnzahl() { return UBound(LevelSoundMap); }
inline int32_t FunkmeldungenMax() { return UBound(Funkmeldungen); }
inline int32_t FunkTexteMax() { return UBound(FunkTexte); }
// The most components a template of the level has.
inline size_t MeisteKomponenten() {
  size_t n = 0;
  for (const GegnerTyp& t : GegnerTypen) n = std::max(n, t.Komponenten.size());
  return n;
}

// ---- Level values (the end tick, water level, raindrops and gravity live with the game
// loop and the weather) ------------------------------------------------------------------

inline std::string HintergrundName;  // the background as the file gives it: a picture or a mode
inline int32_t HintergrundBild = -1;  // surface number of the background picture
inline std::string MusikDatei;
inline std::string WasserName;
inline std::array<float, 6> WasserDaten{};  // surface red, green, blue; bottom red, green, blue
inline std::string FunkTextBasis;           // the radio text file is this, the language letter, ".txt"

// Empties a template (an enemy's copy of one, when its slot is emptied) but keeps the
// room of its component list and name, so the next copy into it allocates nothing.
inline void EmptyKeepingCapacity(GegnerTyp& t) {
  std::vector<Feindkomponente> komponenten = std::move(t.Komponenten);
  std::string name = std::move(t.Name);
  t = GegnerTyp{};
  komponenten.clear();
  name.clear();
  t.Komponenten = std::move(komponenten);
  t.Name = std::move(name);
}

// At shut-down: the catalogues and their memory go.
inline void FreeLevelCatalogues() {
  std::vector<SpriteDef>().swap(SpriteDefs);
  std::vector<GegnerTyp>().swap(GegnerTypen);
  std::vector<Route>().swap(Routen);
  for (LevelEbene& e : Ebenen) e = LevelEbene{};
  std::vector<AnimaTypDaten>().swap(AnimaTypen);
  std::vector<ErzeugerTypDaten>().swap(ErzeugerTypen);
  std::vector<SchussTypDaten>().swap(SchussTypen);
  std::vector<int32_t>().swap(LevelSoundMap);
  std::vector<LevelSoundDatei>().swap(LevelSoundDateien);
  std::vector<Funkmeldung>().swap(Funkmeldungen);
  std::vector<FunkText>().swap(FunkTexte);
}

// As at program start: no level loaded, neither its catalogues nor its values.
inline void ResetLevelData() {
  FreeLevelCatalogues();
  HintergrundName.clear();
  HintergrundBild = -1;
  MusikDatei.clear();
  WasserName.clear();
  WasserDaten.fill(0);
  FunkTextBasis.clear();
}
