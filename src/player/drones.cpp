#include "player/drones.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "player/firing.hpp"
#include "player/players.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/enemies_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kFest = 8;          // the enemy template's solid flag
constexpr int32_t kBlitzWeite = 170;  // the lightning reaches enemies closer than this
constexpr int32_t kDrohnenTyp = 2;    // the ship type that carries the drones
constexpr size_t kAeltester = 10;     // the last of a drone's history points

// A whole-degree angle of the level clock, reduced so a late tick cannot overflow it.
int32_t Grad(int64_t w) { return static_cast<int32_t>(w % 360); }

// ---- The chain ---------------------------------------------------------------------------

// The angle in (0, 360], with the same facing. An angle that is not a number at all
// (nothing sets one) faces right.
float Reduziert(double w) {
  if (!std::isfinite(w)) return 360.0f;
  double r = std::fmod(w, 360.0);
  if (r <= 0) r += 360.0;
  return static_cast<float>(r);
}

// Turns `w` toward `Ziel` (between -360 and 0) by at most `Rate`, the short way round.
void Drehen(float& w, int32_t Ziel, int32_t Rate) {
  // Only a damaged record holds an angle this far out; the search below assumes a
  // reduced one.
  if (!(w > -360.0f && w <= 720.0f)) w = Reduziert(w);
  double a = w, t = Ziel;
  while (std::fabs(a - (t + 360)) < std::fabs(a - t)) t += 360;
  if (t <= a) {
    a = a - t <= Rate ? t : a - Rate;
  } else {
    a = t - a <= Rate ? t : a + Rate;
  }
  w = Reduziert(a);
}

// A dark glow with a bright core and a short barrel in the direction the drone faces.
void DrohneZeichnen(const DrohnenDaten& d) {
  SetUpColor(TexKreis2, 0.2f, 0.1f, 0.1f, 0.8f);
  SetUpRect(TexKreis2, d.X - 16, d.Y - 16, d.X + 48, d.Y + 48);
  Render(TexKreis2, false);
  Render(TexKreis2, true);
  const int32_t a = CLng(d.Winkel);
  const float mx = d.X + 16, my = d.Y + 16;
  Linie(mx, my, mx + 16 * CosinusB(a), my + 16 * SinusB(a), 3, 1, 1, 0.3f, 0.5f, 1, 1, 1, 0.1f, true);
}

// Each drone follows its leader (the ship, then the drone before it) a step behind: it
// moves only when the leader has, onto the oldest of the leader's last eleven points,
// and turns to face away from the leader's last step; at rest it turns back to 0.
void Kette(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  float lx = s.X + 16, ly = s.Y + 16;
  for (DrohnenDaten& d : Drohnen.Kette) {
    int32_t ziel = 0, rate = 1;
    if (lx != d.VerlaufX[0] || ly != d.VerlaufY[0]) {
      d.X = d.VerlaufX[kAeltester];
      d.Y = d.VerlaufY[kAeltester];
      std::copy_backward(d.VerlaufX.begin(), d.VerlaufX.end() - 1, d.VerlaufX.end());
      std::copy_backward(d.VerlaufY.begin(), d.VerlaufY.end() - 1, d.VerlaufY.end());
      d.VerlaufX[0] = lx;
      d.VerlaufY[0] = ly;
      ziel = CLng(double{WinkelInGrad(d.VerlaufX[0] - d.VerlaufX[1], d.VerlaufY[0] - d.VerlaufY[1])} - 360);
      rate = 10;
    }
    Drehen(d.Winkel, ziel, rate);
    if (Rendern) DrohneZeichnen(d);
    lx = d.VerlaufX[kAeltester];
    ly = d.VerlaufY[kAeltester];
  }
}

// ---- Lightning ---------------------------------------------------------------------------

// The centre of the nearest component within reach of `O` that the lightning may strike:
// of an active enemy that is neither dying nor solid, a part that can be damaged and
// shows an opaque picture. Ties keep the earlier one.
bool Blitzziel(float ox, float oy, double& ax, double& ay) {
  int32_t best = kBlitzWeite;
  bool gefunden = false;
  const int32_t letzter = std::min(GegnerMax, GegnerListe.Kapazitaet);
  for (int32_t e = 0; e <= letzter; ++e) {
    const Gegner& g = GegnerListe[e];
    if (g.Aktiv == VBFalse || g.Stirbt != VBFalse || g.Typ.Parameter[kFest] != 0) continue;
    for (const Feindkomponente& k : g.Typ.Komponenten) {
      if (k.Unzerstörbar != VBFalse) continue;
      const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA);
      if (!S || (S->ErsteZeile == 0 && S->LetzteZeile == 0)) continue;
      const double cx = double{g.X} + k.OffsetX + IDiv(S->SrcRect.Right - S->SrcRect.Left, 2);
      const double cy = double{g.Y} + k.OffsetY + IDiv(S->SrcRect.Bottom - S->SrcRect.Top, 2);
      const int32_t dist = CLng(std::sqrt((cx - ox) * (cx - ox) + (cy - oy) * (cy - oy)));
      if (dist < best) {
        best = dist;
        gefunden = true;
        ax = cx;
        ay = cy;
      }
    }
  }
  return gefunden;
}

// Two red arcs with black cores from the ship's nose to the target, wavering apart and
// together, and 10 damage a tick where they end.
void Blitzbogen(int32_t p) {
  if (Drohnen.BlitzAn == VBFalse) return;
  const SpielerDaten& s = Spieler[p];
  const float ox = s.X + 64, oy = s.Y + 32;
  double ax = 0, ay = 0;
  if (!Blitzziel(ox, oy, ax, ay)) return;
  const auto zx = static_cast<float>(ax), zy = static_cast<float>(ay);
  if (Rendern) {
    const float c = CosinusB(Grad(2 * int64_t{LevelTick}));
    for (const float sy : {oy - 5 * c, oy + 5 * c}) {
      const double seed = CLng(Rnd() * 10000.0f);
      Blitz(ox, sy, zx, zy, 10, 4, 30, 0.7f, 0, 0, seed, false);
      Blitz(ox, sy, zx, zy, 5, 4, 30, 0, 0, 0, seed, false);
    }
  }
  int32_t feind = 0;
  bool unzerstoerbar = false;
  CheckColisionWithEnemy(CLng(ax - 1), CLng(ay - 1), CLng(ax + 1), CLng(ay + 1), 10, true, false, -1, feind,
                         unzerstoerbar, p);
}

// ---- Shield orbs -------------------------------------------------------------------------

// Two orbs opposite each other wander round the ship (x and y turn at different rates),
// deal 20 a tick to what they touch and, with fire held, now and then fire a pair of
// bullets to one side.
void Schildkugeln(int32_t p) {
  if (Drohnen.SchildAn == VBFalse) return;
  const SpielerDaten& s = Spieler[p];
  const double g = s.Waffenstufe;
  for (const int32_t k : {0, 180}) {
    const auto cx = static_cast<float>(s.X + 32.0 + 60.0 * CosinusB(Grad(k + 8 * int64_t{LevelTick})));
    const auto cy = static_cast<float>(s.Y + 32.0 + 55.0 * SinusB(Grad(9 * int64_t{LevelTick} + k)));
    if (Rendern) {
      int32_t bild = Mod(IDiv(LevelTick, 3), 10);
      if (bild < 0) bild += 10;
      ShowSprite(TexDrohnenWaffe[static_cast<size_t>(bild)], CLng(cx - 16.0), CLng(cy - 16.0), true);
    }
    int32_t feind = 0;
    bool unzerstoerbar = false;
    CheckColisionWithEnemy(CLng(cx - 16.0), CLng(cy - 16.0), CLng(cx + 16.0), CLng(cy + 16.0), 20, true, false, -1,
                           feind, unzerstoerbar, p);

    const bool feuer = TasteSchießen(p + LetzterSpieler);
    const float r = Rnd();
    if (Drohnen.KugelSchuesseAn == VBFalse || !feuer || r >= 0.05f) continue;
    const bool rechts = Rnd() < 0.5f;
    const float sx = rechts ? 9.0f : -9.0f;
    const float x2 = rechts ? cx : cx - 16;
    const auto staerke = static_cast<float>(g * 40 + 50);
    AddSchuss(1, -2, cx - 8, cy - 8, sx, 0, 1, staerke, p);
    AddSchuss(1, -2, x2, cy - 8, sx, 0, 1, staerke, p);
  }
}

// ---- Special weapons ---------------------------------------------------------------------

// Weapon 0 drops a rocket below the ship; its cooldown counts down only in ticks in which
// it does not fire, so a held key drops one every 9 ticks.
void Rakete(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  Drohnen.SpezialAbklingzeit[0] = 8;
  const float r = Rnd();
  AddSchuss(0, 12, s.X + 18, s.Y + 39, 0, static_cast<float>(2.0 * r + 0.5), 0, 1500, p);
  if (SoundAn) PlaySound(SndRocketlaunch, 0, 0, SoundLautstaerke);
}

// Weapons 1 and 2 have slots but no shot: nothing selects them.
void Unbewaffnet(int32_t) {}

constexpr std::array<void (*)(int32_t), 3> kSpezialwaffen = {Rakete, Unbewaffnet, Unbewaffnet};

void Spezialwaffen(int32_t p) {
  for (size_t w = 0; w < kSpezialwaffen.size(); ++w) {
    int32_t& abklingzeit = Drohnen.SpezialAbklingzeit[w];
    if (abklingzeit > 0) {
      --abklingzeit;
      continue;
    }
    if (!TastePartikelWechsel(p + LetzterSpieler)) continue;
    if (Drohnen.Spezialwaffe != static_cast<int32_t>(w) || Drohnen.Munition[w] < 1) continue;
    --Drohnen.Munition[w];
    kSpezialwaffen[w](p);
  }
}

}  // namespace

void SpielDWeapons() {
  const Trefferdurchgang durchgang;
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) {
    if (Schiff[p].Typ != kDrohnenTyp) continue;
    Kette(p);
    Blitzbogen(p);
    Schildkugeln(p);
    Spezialwaffen(p);
  }
}

void DrohnenWaffen(int32_t p, int32_t, bool&) {
  const auto staerke = static_cast<float>(Spieler[p].Waffenstufe * 20.0 + 50);
  for (DrohnenDaten& d : Drohnen.Kette) {
    if (d.Abklingzeit >= 1) {
      --d.Abklingzeit;
      continue;
    }
    d.Abklingzeit = 7;
    const int32_t a = CLng(d.Winkel);
    AddSchuss(1, 0, d.X + 8, d.Y + 8, 9 * CosinusB(a), 9 * SinusB(a), 1, staerke, p);
  }
}
