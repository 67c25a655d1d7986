#pragma once
// The level file's catalogues: read once per level by the loader, only read afterwards.
// Record fields keep the order of the file format. Every bound the game reads (a
// catalogue's `…Max`, a record's count of commands, components, frames, keys or parts)
// is the size of its list: the file's bound field is read into the list's size and
// written from it, so the two cannot disagree.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shell/basic.hpp"

struct RoutenBefehl {
  int32_t Befehl = 0;       // opcode
  std::vector<float> A;     // first term of each parameter
  std::vector<float> B;     // second term of each parameter
};

struct Route {
  std::vector<RoutenBefehl> Befehle;
  int32_t BefehleMax() const { return UBound(Befehle); }
};

struct Feindkomponente {
  float OffsetX = 0, OffsetY = 0;
  int16_t RouteAn = 0;
  int32_t RouteNr = 0;
  float R = 0, G = 0, B = 0, A = 0;
  float Drehung = 0;
  int16_t TrefferAufGegner = 0;
  float HP = 0;
  int16_t VerlustToetet = 0;  // the loss of this component kills the enemy
  int16_t Unzerstörbar = 0;
  int32_t Erzeuger = 0;
  int32_t FeuerModus = 0;
  int32_t Sprite = 0;
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
  // Run-time fields of an enemy's copy.
  int16_t Lebt = 0;
  int32_t Punkte = 0;
  int32_t FeuerZaehler = 0;
  int32_t RoutePos = 0;
  float MX = 0, MY = 0;
  int32_t Ti = 0;
  std::array<float, 8> Vari{};
  float Speed = 0;
  int32_t TrefferBlitz = 0;
};

struct GegnerTyp {
  std::vector<Feindkomponente> Komponenten;
  int32_t KomponentenMax() const { return UBound(Komponenten); }
  std::string Name;
  float HP = 0;
  int32_t Speed = 0, Width = 0, Height = 0;
  int32_t Punkte = 0;
  std::array<int32_t, 16> TypWert{};
};

struct SpriteFrame {
  std::string Bild;          // picture name; one character marks a loop point
  int32_t Surface = -1;      // surface number
  int32_t SurfaceBlitz = -1; // surface number of the hit-flash copy
  int32_t Zeit = 0;          // delay in ticks
};

struct SpriteDef {
  int16_t D3D = 0;  // drawn through the textured-quad renderer
  std::vector<SpriteFrame> Frames;
  int32_t FramesMax() const { return UBound(Frames); }
  int32_t Frame = 0;      // the shared frame counter
  int32_t FrameZeit = 0;  // and its timer
};

struct AnimaKeyframe {
  int32_t Tick = 0;
  float PosX = 0, PosY = 0, R = 0, G = 0, B = 0, A = 0;
  int32_t Winkel = 0;
  int32_t Frame = 0;
  int16_t Sichtbar = 0;
  int16_t Additiv = 0;
  float ZoomX = 0, ZoomY = 0;
  int32_t Bewegung = 0;
  int32_t Frei = 0;
  float SpeedX = 0, BeschlX = 0, SpeedY = 0, BeschlY = 0;
  float DR = 0, DG = 0, DB = 0, DA = 0, DWinkel = 0, DZoomX = 0, DZoomY = 0;
};

struct AnimaTeilTyp {
  // The key frames 0 To KeysMax and one spare after them, so that key k + 1 always exists.
  std::vector<AnimaKeyframe> Keys;
  int32_t KeysMax() const { return UBound(Keys) - 1; }
  int32_t Sprite = 0;
};

struct AnimaTypDaten {
  std::vector<AnimaTeilTyp> Teile;
  int32_t TeileMax() const { return UBound(Teile); }
  int16_t Schleife = 0;
  int16_t Scrollt = 0;
  int32_t EndTick = 0;
  int32_t RandLinks = 0;
};

// The catalogues of the loaded level.
inline std::vector<Route> Routen;
inline std::vector<GegnerTyp> GegnerTypen;
inline std::vector<SpriteDef> SpriteDefs;
inline std::vector<AnimaTypDaten> AnimaTypen;
inline int32_t RoutenMax() { return UBound(Routen); }
inline int32_t GegnerTypenMax() { return UBound(GegnerTypen); }
inline int32_t SpriteDefsMax() { return UBound(SpriteDefs); }
inline int32_t AnimaTypenMax() { return UBound(AnimaTypen); }

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
  std::vector<AnimaTypDaten>().swap(AnimaTypen);
}
