#include "player/ship_death.hpp"

#include <array>
#include <cstdint>
#include <limits>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "frontend/effects_state.hpp"
#include "player/beam_state.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/enemies_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

// Key codes of the debug keys.
constexpr int32_t kF11 = 87, kTaste1 = 2, kTaste2 = 3, kTaste3 = 4;

constexpr int32_t kRammSchaden = 15;      // damage dealt per touch of an enemy
constexpr float kRammKosten = 2.0f;       // energy the ship loses per touch
constexpr int32_t kNeustart = 100;        // the death counter at which the ship comes back
// More touches than any ship's energy pays for: a damaged save's energy cannot keep the
// grinding going for ever.
constexpr int32_t kKontakteMax = 10000;
constexpr float kSpawnBreite = 736, kSpawnHoehe = 486;  // where a respawn spot is drawn

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

bool Gedrueckt(int32_t code) { return KeyState[code]; }

void DebugTasten() {
  if (!Gedrueckt(kF11)) return;
  SpielerDaten& s = Spieler[0];
  if (Gedrueckt(kTaste2)) {
    s.Schild = 200;
    s.Punkte = 0;
  }
  if (Gedrueckt(kTaste1)) {
    // The level-end flight starts with the next tick.
    LevelTick = CLng(static_cast<double>(LevelLaenge) - 151);
    s.Punkte = 0;
  }
  if (Gedrueckt(kTaste3)) {
    LevelEnde = 1;
    s.Leben = 0;
  }
}

// ---- Contact ---------------------------------------------------------------------------

// Rams whatever enemy the ship touches, 15 damage a touch for 2 energy, until nothing
// is touched any more or the ship's energy is gone. Energy that enemy shots took below 0
// ends the ship here too. True when the ship touched an enemy.
bool Rammen(int32_t p) {
  SpielerDaten& s = Spieler[p];
  const Rechteck r = SchiffKasten(p, s.X, s.Y);
  bool getroffen = false;
  for (int32_t n = 0; n < kKontakteMax; ++n) {
    int32_t feind = -1;
    bool unzerstoerbar = false;
    const int32_t rest = CheckColisionWithEnemy(r.Left, r.Top, r.Right, r.Bottom, kRammSchaden, false, false, -1,
                                                feind, unzerstoerbar, p);
    if (rest < kRammSchaden) {
      s.Energie -= kRammKosten;
      getroffen = true;
    }
    if (!(s.Energie >= 0)) {
      KillVesk(p);
      break;
    }
    if (rest >= kRammSchaden) break;
  }
  return getroffen;
}

void Erschuettert(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  Erschuetterung = CLng(static_cast<double>(Erschuetterung) + 4);
  AddCircle(0, 6, 0, CLng(double{s.X} + IDiv(b.BoxRechts - b.BoxLinks, 2)),
            CLng(double{s.Y} + IDiv(b.BoxUnten - b.BoxOben, 2)), 100);
  AddForce(3, 40, p);
}

void LebendesSchiff(int32_t p) {
  SpielerDaten& s = Spieler[p];
  if (s.Schild > 0) {
    // Nothing touches a shielded ship, and whatever the frame did to its energy is undone.
    s.Schild -= 1;
    s.Energie = SpielerSpur[p][10].Energie;
    return;
  }
  if (s.Energie > s.EnergieMax) s.Energie = s.EnergieMax;
  if (SchiffStoesst(p, s.X, s.Y)) {
    KillVesk(p);
    return;
  }
  if (Rammen(p)) Erschuettert(p);
}

// ---- After a death ---------------------------------------------------------------------

void LevelNeustart() {
  LevelEnde = 1;
  BlendStart = true;
}

// One player: the sounds stop, the music fades with the last life, and at 100 the game
// loop restarts the level at the checkpoint (or offers to continue).
void EinSpieler(int32_t p) {
  SpielSoundOFF();
  if (Spieler[0].Leben <= 0) MusikFadeSchritt = -1;
  if (Spieler[p].Tod == kNeustart) LevelNeustart();
}

// Where a respawning ship comes back: at its partner, unless the scenery is there; then
// where it died, or at a random free spot. Should nothing be free, it comes back at its
// partner after all.
void Wiederkehrort(int32_t p, float& x, float& y) {
  const SpielerDaten& partner = Spieler[1 - p];
  x = partner.X;
  y = partner.Y;
  if (!SchiffStoesst(p, x, y)) return;
  x = Spieler[p].X;
  y = Spieler[p].Y;
  for (int32_t versuch = 0; SchiffStoesst(p, x, y); ++versuch) {
    if (versuch == kWiedergeburtVersuche) {
      x = partner.X;
      y = partner.Y;
      return;
    }
    const float rx = Rnd();
    const float ry = Rnd();
    x = kSpawnBreite * rx;
    y = kSpawnHoehe * ry;
  }
}

// Two players with lives in the pool and no boss: at 100 the ship comes back with a life
// from the pool.
void Wiedergeburt(int32_t p) {
  SpielerDaten& s = Spieler[p];
  if (s.Tod != kNeustart) return;
  SpielSoundOFF();
  ResetWater();  // a ship still in the surface starts the splash sound again
  Spieler[0].Leben -= 1;
  VeskInit(p);
  BeamStatus& beam = Beam[p];
  beam.Ladung = 0;
  beam.Fliegt = VBFalse;
  beam.Powermodus = VBFalse;
  beam.PowerZeit = 0;
  float x = 0, y = 0;
  Wiederkehrort(p, x, y);
  s.X = x;
  s.Y = y;
  for (SpielerDaten& t : SpielerSpur[p]) {
    t.X = x;
    t.Y = y;
  }
  s.DX = s.DY = 0;
  SpielVeskWiedergeburt(p, x, y);
}

// Both ships down: a glow on each and a bolt between them.
void UntergangZeichnen(int32_t p) {
  if (!Rendern) return;
  for (const SpielerDaten& s : Spieler) {
    SetUpColor(TexKreis2, 1, 0, 0, 1);
    ShowSpriteRect(TexKreis2, s.X, s.Y, s.X + 64, s.Y + 64, true);
    SetUpColor(TexKreis2, 1, 1, 1, 1);
    Render(TexKreis2, true);
  }
  const SpielerDaten& a = Spieler[0];
  const SpielerDaten& b = Spieler[1];
  const double saat = CLng(10000 * Rnd());
  const float streuung = static_cast<float>(Spieler[p].Tod);
  Blitz(a.X + 32, a.Y + 32, b.X + 32, b.Y + 32, 5, 5, streuung, 1, 0, 0, saat, true);
  Blitz(a.X + 32, a.Y + 32, b.X + 32, b.Y + 32, 2, 5, streuung, 1, 1, 1, saat, true);
}

// Two players with no life left, or once a boss has come: one death takes both ships.
void GemeinsamerUntergang(int32_t p) {
  const int32_t q = 1 - p;
  SpielerDaten& partner = Spieler[q];
  if (partner.Tod == 0) {
    Spieler[p].Tod = kNeustart;
    partner.Schild = 0;
    KillVesk(q);
  } else {
    if (Spieler[0].Leben <= 0) MusikFadeSchritt = -1;
    if (Spieler[p].Tod == 2) {
      for (const SpielerDaten& s : Spieler) Add1BigPartikel(s.X, s.Y, 0, 0, 1, 1, 1, 64, 0, 50, 17, 1.0f);
      for (const SpielerDaten& s : Spieler) Add1BigPartikel(s.X, s.Y, 0, 0, 1.0f, 0.3f, 0.3f, 64, 0, 50, 16, 1.0f);
    }
    if (Spieler[p].Tod == kNeustart) LevelNeustart();
  }
  UntergangZeichnen(p);
}

void ZerstoertesSchiff(int32_t p) {
  SpielerDaten& s = Spieler[p];
  if (s.Tod < std::numeric_limits<int32_t>::max()) s.Tod += 1;
  if (LetzterSpieler == 0) {
    EinSpieler(p);
  } else if (Spieler[0].Leben > 0 && !SonderGegnerDa) {
    Wiedergeburt(p);
  } else {
    GemeinsamerUntergang(p);
  }
}

// ---- What a destroyed ship takes with it, by ship type ----------------------------------

// The orbit pods flash; they stay the player's.
void PodsFunken(int32_t) {
  for (const PodDaten& pod : Pods)
    if (pod.Besitz != VBFalse) AddPartikel(1, 50, pod.X + 32, pod.Y + 32, pod.X + 32, pod.Y + 32, true);
}

// The satellite goes with its ship, unless a partner flies on without a boss about: then
// a satellite with a level flies on alone, its level lost.
void SatellitVerlust(int32_t) {
  if (Satellit.Da == VBFalse) return;
  if (LetzterSpieler == 1 && !SonderGegnerDa && Satellit.Stufe > 0) {
    if (Satellit.Zustand == 1 || Satellit.Zustand == 5) {
      Satellit.Zustand = 3;
    } else if (Satellit.Zustand == 2) {
      Satellit.Zustand = 4;
    }
    Satellit.Stufe = 0;
    return;
  }
  AddBigPartikel(Satellit.X, Satellit.Y, Satellit.X + 64, Satellit.Y + 64, 1.0f, 0.2f, 0.3f, 32, 10, 15);
  Satellit.Da = VBFalse;
}

void NichtsMehr(int32_t) {}

constexpr std::array<void (*)(int32_t), 3> kVerlustNachTyp = {PodsFunken, SatellitVerlust, NichtsMehr};

}  // namespace

void SpielFeindberücrung() {
  DebugTasten();
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) {
    SpielerDaten& s = Spieler[p];
    if (s.Status != 0) continue;
    if (s.X < 0) s.X = 0;
    if (s.Tod == 0) {
      LebendesSchiff(p);
    } else {
      ZerstoertesSchiff(p);
    }
  }
}

void KillVesk(int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  SpielerDaten& s = Spieler[VeskNr];
  if (s.Schild > 0 || s.Tod != 0) return;
  s.Tod = 1;
  AddForce(5, 50, VeskNr);
  const Rechteck k = SchiffKasten(VeskNr, s.X, s.Y);
  AddPartikel(1, 500, k.Left, k.Top, k.Right, k.Bottom, false);
  AddPartikel(1, 100, k.Left, k.Top, k.Right, k.Bottom, true);
  AddBigPartikel(static_cast<float>(k.Left), static_cast<float>(k.Top), static_cast<float>(k.Right),
                 static_cast<float>(k.Bottom), 0.2f, 0.2f, 1.0f, 32, 10, 15);
  const int32_t typ = Schiff[VeskNr].Typ;
  if (typ >= 0 && typ < static_cast<int32_t>(kVerlustNachTyp.size())) kVerlustNachTyp[typ](VeskNr);
  Klang(SndExplosionVesk);
}

void SpielVeskWiedergeburt(int32_t VeskNr, float x, float y) {
  if (VeskNr < 0 || VeskNr > 1) return;
  const float mx = x + 32, my = y + 32;
  Add1BigPartikel(mx, my, 0, 0, 1.0f, 0.5f, 0.4f, 0, 0, 50, 14, 16.0f);
  Add1BigPartikel(mx, my, 0, 0, 0.9f, 0.4f, 0.3f, 0, 0, 50, 14, 8.0f);
  Add1BigPartikel(mx, my, 0, 0, 0.8f, 0.4f, 0.3f, 0, 10, 40, 2, 6.0f);

  // Four white flashes converge on the ship.
  Add1BigPartikel(x - 50, y, 1, 0, 1, 1, 1, 64, 0, 50, 11, 0);
  Add1BigPartikel(x, y - 50, 0, 1, 1, 1, 1, 64, 0, 50, 11, 0);
  Add1BigPartikel(x + 50, y, -1, 0, 1, 1, 1, 64, 0, 50, 11, 0);
  Add1BigPartikel(x, y + 50, 0, -1, 1, 1, 1, 64, 0, 50, 11, 0);

  const bool pods = Schiff[VeskNr].Typ == 0;
  const float r = pods ? 1.0f : 0.7f, g = 0.7f, b = pods ? 0.5f : 1.0f;
  for (int i = 0; i < 3; ++i) Add1BigPartikel(x - 32, y - 32, 0, 0, r, g, b, 128, 0, 50, 0, 128.0f);

  // A ring of sparks far out that flies in and meets at the ship as it ends.
  for (int32_t a = 0; a <= 350; a += 10) {
    const float c = CosTab[a], s = SinTab[a];
    const int32_t verzoegerung = CLng(10 * Rnd());
    Add1BigPartikel(x + 17 + 600 * c, y + 17 + 600 * s, -20 * c, -20 * s, 1.0f, 0.4f, 0.2f, 30, verzoegerung, 30, 15,
                    static_cast<float>(a));
  }

  AddForce(1, 30, VeskNr);
  Klang(SndNewborn);
}
