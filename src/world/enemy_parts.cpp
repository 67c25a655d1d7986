// What the enemy's components look like and how they go: the picture a component shows,
// drawing it living or standing still, bursting, and what a destroyed enemy releases.
#include <algorithm>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

enum TypWert : int {
  kTodesSchuss = 4,  // > 0: the shock wave released on destruction, and its flash's life
  kStartKind = 7,    // the enemy it launches
  kNachfolger = 9,   // > 0: the enemies it leaves behind
};

bool Wahr(int16_t flag) { return flag != VBFalse; }

// A surface number that names a picture of the table, or -1.
int32_t Gueltig(int32_t nr) { return nr >= 0 && nr <= SurfacesMax() ? nr : -1; }

// The quad of a turned component: its picture's size at its place (rounded), turned about
// its centre.
void QuadGedreht(const Feindkomponente& k, const Teilbild& b, float px, float py) {
  TmpRect1.Left = CLng(px);
  TmpRect1.Top = CLng(py);
  TmpRect1.Right = CLng(static_cast<double>(TmpRect1.Left) + b.Breite());
  TmpRect1.Bottom = CLng(static_cast<double>(TmpRect1.Top) + b.Hoehe());
  SetUpGeom(b.Nr, b.S->SrcRect, TmpRect1, k.R, k.G, k.B, k.A, CLng(k.Drehung));
}

}  // namespace

Teilbild BildVon(const Feindkomponente& k) {
  Teilbild b;
  if (k.Sprite < 0 || k.Sprite > SpriteDefsMax()) return b;
  const SpriteDef& d = SpriteDefs[static_cast<size_t>(k.Sprite)];
  if (k.AniA < 0 || k.AniA > d.FramesMax()) return b;
  const SpriteFrame& f = d.Frames[static_cast<size_t>(k.AniA)];
  b.Nr = Gueltig(f.Surface);
  if (b.Nr < 0) return b;
  b.Blitz = Gueltig(f.SurfaceBlitz);
  b.Quad = Wahr(d.D3DSprite);
  b.S = &Surfaces[static_cast<size_t>(b.Nr)];
  return b;
}

void StarteKind(const Gegner& g, double mx, double my) {
  const int32_t code = g.Typ.Parameter[kStartKind];
  const int32_t vorlage = Mod(code, 1000);
  // A template outside the catalogue launches nothing.
  if (vorlage < 0 || vorlage > GegnerTypenMax()) return;
  const GegnerTyp& T = GegnerTypen[static_cast<size_t>(vorlage)];
  AddEnemy(T, IDiv(code, 1000), LevelTick, CLng(my - IDiv(T.Height, 2)), CLng(mx - IDiv(T.Width, 2)));
}

void StarteKind(const Gegner& g, const Feindkomponente& k) {
  const Teilbild b = BildVon(k);
  StarteKind(g, double{KomponenteX(g, k)} + IDiv(b.Breite(), 2), double{KomponenteY(g, k)} + IDiv(b.Hoehe(), 2));
}

void Nachfolger(const Gegner& g) {
  const int32_t code = g.Typ.Parameter[kNachfolger];
  if (code <= 0) return;
  const int32_t vorlage = IDiv(Mod(code, 1000), 10);
  // A template outside the catalogue places nothing.
  if (vorlage > GegnerTypenMax()) return;
  const GegnerTyp& T = GegnerTypen[static_cast<size_t>(vorlage)];
  const int32_t route = IDiv(code, 1000);
  const int32_t ay = CLng(double{g.Y} + IDiv(g.Typ.Height, 2) - IDiv(T.Height, 2));
  const int32_t x = CLng(double{g.X} + IDiv(g.Typ.Width, 2) - IDiv(T.Width, 2));
  for (int32_t i = Mod(code, 10); i >= 0; --i) AddEnemy(T, route, LevelTick, ay, x);
}

void Todesschuss(const Gegner& g) {
  const int32_t v = g.Typ.Parameter[kTodesSchuss];
  if (v <= 0) return;
  const double mx = double{g.X} + IDiv(g.Typ.Width, 2), my = double{g.Y} + IDiv(g.Typ.Height, 2);
  AddGegnerS(-1, 0, v, static_cast<float>(mx), static_cast<float>(my), g.VeskNr);
  Add1BigPartikel(static_cast<float>(mx - 32), static_cast<float>(my - 32), 0, 0, 1, 1, 1, 64, 0, v, 13,
                  Rnd() * 359.0f);
}

void EffektKlang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

void ExplosionsKlang(int32_t Punkte) { EffektKlang(SndExplosion[Punkte > 1499 ? 2 : 1]); }

void StoppeSchussErzeuger(int32_t Nr) {
  const int32_t letzter = std::min(SchussErzeuger.Max, SchussErzeuger.Kapazitaet);
  for (int32_t s = 0; s <= letzter; ++s) {
    const SchussErzeugerDaten& e = SchussErzeuger[s];
    if (Wahr(e.Aktiv) && e.FeindNR == Nr) KillGegnerSchussErzeuger(s);
  }
}

// Over the picture's source columns and opaque rows: the small particles a little inside,
// the explosion over all of it.
void Zerplatze(const Gegner& g, const Feindkomponente& k, int32_t Anzahl, Ausbruch Art) {
  const Teilbild b = BildVon(k);
  if (b.S == nullptr) return;
  const SurfaceInfo& S = *b.S;
  const double px = KomponenteX(g, k), py = KomponenteY(g, k);
  const double l = px + S.SrcRect.Left, r = px + S.SrcRect.Right, o = py + S.ErsteZeile, u = py + S.LetzteZeile;
  double fl = l + 5, fr = r - 5, fo = o + 5, fu = u - 5;
  if (Art == Ausbruch::Gespalten) {
    fl = px + S.RandMinX + 5;
    fr = px + S.RandMaxX - 5;
    fo -= g.TodZeit;
    fu += g.TodZeit;
  }
  AddPartikel(1, Anzahl, CLng(fl), CLng(fo), CLng(fr), CLng(fu), false);
  if (Art != Ausbruch::NurFunken)
    AddExplosionsPartikel(static_cast<float>(l), static_cast<float>(o), static_cast<float>(r), static_cast<float>(u));
}

void TeilVernichtet(const Feindkomponente& k) {
  // In power mode a lone player's screen keeps still.
  const bool ruhig = LetzterSpieler == 0 && Wahr(Beam[0].Powermodus);
  ++Spieler[0].Abschuesse;
  if (!ruhig) Erschuetterung = CLng(static_cast<double>(Erschuetterung) + IDiv(k.Punkte, 500) + 1);
  ExplosionsKlang(k.Punkte);
}

void FinaleExplosion(const Gegner& g, Ausbruch Art) {
  for (const Feindkomponente& k : g.Typ.Komponenten) {
    if (!Wahr(k.Lebt)) continue;
    Zerplatze(g, k, 150, Art);
    TeilVernichtet(k);
  }
}

void ZeichneKomponente(const Gegner& g, const Feindkomponente& k, const Teilbild& b) {
  if (b.Nr < 0) return;
  const float px = KomponenteX(g, k), py = KomponenteY(g, k);
  const bool blitzt = k.TrefferBlitz > 0;
  if (!b.Quad) {
    const bool kopie = blitzt && !Wahr(k.Unzerstörbar) && b.Blitz >= 0;
    ShowSprite(kopie ? b.Blitz : b.Nr, CLng(Int(px)), CLng(Int(py)), false);
    return;
  }
  if (k.Drehung == 0) {
    SetUpColor(b.Nr, k.R, k.G, k.B, k.A);
    SetUpXY(b.Nr, px, py);
  } else {
    QuadGedreht(k, b, px, py);
  }
  Render(b.Nr, false);
  // The flash is the same quad once more, added on top.
  if (blitzt) Render(b.Nr, true);
}

void ZeichneTeilStill(const Gegner& g, const Feindkomponente& k) {
  const Teilbild b = BildVon(k);
  if (b.Nr < 0) return;
  const float px = KomponenteX(g, k), py = KomponenteY(g, k);
  if (!b.Quad) {
    ShowSprite(b.Nr, CLng(px), CLng(py), false);
  } else if (k.Drehung == 0) {
    SetUpColor(b.Nr, k.R, k.G, k.B, k.A);
    ShowSprite(b.Nr, CLng(px), CLng(py), true);
  } else {
    QuadGedreht(k, b, px, py);
    Render(b.Nr, false);
  }
}

void ZeichneStill(const Gegner& g) {
  for (const Feindkomponente& k : g.Typ.Komponenten)
    if (Wahr(k.Lebt)) ZeichneTeilStill(g, k);
}
