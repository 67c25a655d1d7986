// The pod weapons: while its player holds fire, each pod that is ready and faces straight
// forward or straight back fires its weapon at its level. Weapon 1 is a lightning laser
// that strikes along the pod's row at once; the others make shots of the later group.
#include <array>
#include <cstdint>

#include "engine/primitives.hpp"
#include "engine/sound.hpp"
#include "player/firing.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"

namespace {

constexpr int32_t kSpaeteGruppe = 1;  // every pod shot is moved with the later group

// Where and how a ready pod fires: facing forward (`Rechts` 1, `Dir` +1) or back (0, -1);
// `L` its level, `M` the player's damage factor.
struct Lage {
  PodDaten& Pod;
  int32_t P, M, L;
  int32_t Rechts, Dir;
};

// ---- The laser ---------------------------------------------------------------------------

// The bolt pair of the beam, outer and core, of one shape (the seed). `Von` and `Bis` are
// called once per bolt: a jittered end is drawn anew for each.
template <class Von, class Bis>
void Strahl(const Lage& w, float yb, int32_t segmente, int32_t saat, Von von, Bis bis) {
  const double l = w.L;
  const auto streuung = static_cast<float>(l * 3 + 7);
  const auto blau = static_cast<float>(0.2 * l);
  {
    const float x1 = von(), x2 = bis();
    Blitz(x1, yb, x2, yb, static_cast<float>(l * 5), segmente, streuung, blau, blau, 1, saat, true);
  }
  const float x1 = von(), x2 = bis();
  Blitz(x1, yb, x2, yb, 2, segmente, streuung, 1, 1, 1, saat, true);
}

// The laser fires every tick. It finds the first obstacle on its row (from a start a few
// pixels off the muzzle) and strikes the first enemy part before it; with nothing in the
// way it lights the row to the screen's edge and harms nothing.
void Laser(const Lage& w, bool&) {
  Feuer.PodLaser = true;
  w.Pod.Abklingzeit = 0;
  const int32_t yb = CLng(static_cast<double>(w.Pod.Y) + 15);
  const int32_t xs = CLng(static_cast<double>(w.Pod.X) + 22.0 * w.Rechts + 10);
  const auto jitter = [&] { return CLng(xs + Int(6.0f * Rnd()) * w.Dir); };
  const double schiff = Spieler[static_cast<size_t>(w.P)].X;

  int32_t treffer = 0;
  int32_t segmente = 0;
  if (w.Rechts) {
    treffer = CheckWhereColisionRight(jitter(), yb, kBildschirmBreite, yb);
    segmente = CLng(IDiv(CLng(treffer - schiff + 32), 75) + 2.0 * Rnd());
  } else {
    treffer = CheckWhereColisionLeft(0, yb, jitter(), yb);
    segmente = CLng(IDiv(CLng(schiff + 32 - treffer), 75) + 2.0 * Rnd());
  }
  // An obstacle behind the ship would ask for a negative number of segments.
  if (segmente < 0) segmente = 0;
  const int32_t saat = CLng(Rnd() * 10000.0f);
  const auto y = static_cast<float>(yb);
  const auto fest = [](int32_t x) { return [x] { return static_cast<float>(x); }; };
  const auto zittern = [&] { return static_cast<float>(jitter()); };

  const bool frei = w.Rechts ? treffer >= kBildschirmBreite : treffer < 0;
  if (frei) {
    if (w.Rechts) {
      Strahl(w, y, segmente, saat, fest(xs), fest(kBildschirmBreite));
    } else {
      Strahl(w, y, segmente, saat, fest(0), zittern);
    }
    return;
  }
  const int32_t schaden = CLng((5.0 * w.L + 4) * w.M);
  int32_t feind = -1;
  bool unzerstoerbar = false;
  if (w.Rechts) {
    const int32_t ende = CLng(static_cast<double>(treffer) + 1);
    Strahl(w, y, segmente, saat, fest(xs), fest(ende));
    CheckColisionWithEnemy(jitter(), yb, ende, yb, schaden, false, false, -1, feind, unzerstoerbar, w.P);
  } else {
    const int32_t ende = CLng(static_cast<double>(treffer) - 1);
    Strahl(w, y, segmente, saat, fest(ende), zittern);
    CheckColisionWithEnemy(ende, yb, jitter(), yb, schaden, false, false, -1, feind, unzerstoerbar, w.P);
  }
  AddPartikel(1, 2, treffer, yb, treffer, yb, false);
}

// ---- The shot weapons ----------------------------------------------------------------------

// One volley: every shot from the same muzzle, credited to the player.
struct Salve {
  const Lage& W;
  int32_t Art;
  float X, Y;
  float Force;

  void Schuss(double sx, double sy, double staerke) const {
    AddSchuss(kSpaeteGruppe, Art, X, Y, static_cast<float>(sx), static_cast<float>(sy), Force,
              static_cast<float>(staerke), W.P);
  }
  // Two shots fanned up and down, the upper one first.
  void Paar(double sx, double sy, double staerke) const {
    Schuss(sx, sy, staerke);
    Schuss(sx, -sy, staerke);
  }
};

// The spread gun: a strong shot straight on, and a pair of weaker ones fanned out for each
// level; the power mode adds a pair between each.
void Faecher(const Salve& s) {
  const Lage& w = s.W;
  const int32_t d = w.Dir;
  const bool power = w.M == 2;
  s.Schuss(8 * d, 0, static_cast<double>(w.M) * (static_cast<double>(w.L) + 3) * 10);
  s.Paar(7 * d, 2, 20);
  if (power) s.Paar(7.5 * d, 1, 20);
  if (w.L >= 2) {
    s.Paar(6 * d, 3, 20);
    if (power) s.Paar(6.5 * d, 4.5, 20);
  }
  if (w.L >= 3) {
    s.Paar(5 * d, 4, 20);
    if (power) s.Paar(4 * d, 5, 20);
  }
}

void Strom(const Salve& s) { s.Schuss(7 * s.W.Dir, 2.0f * Rnd() - 1.0f, (2.0 * s.W.L + 3) * s.W.M); }

void Splitter(const Salve& s) { s.Schuss(10 * s.W.Dir, 0, (15.0 * s.W.L + 10) * s.W.M); }

void Teiler(const Salve& s) { s.Schuss(5 * s.W.Dir, 0, 80); }

// Two shots, each at its own random angle between 5 and 175 degrees from straight up.
void Schrot(const Salve& s) {
  for (int i = 0; i < 2; ++i) {
    const int32_t a = CLng(170.0f * Rnd() + 5.0f);
    s.Schuss(8.0 * s.W.Dir * SinusB(a), 8.0 * CosinusB(a), 40.0 * s.W.M);
  }
}

int32_t Cooldown13(const Lage&) { return 13; }
int32_t Cooldown3(const Lage&) { return 3; }
int32_t Cooldown14(const Lage&) { return 14; }
int32_t CooldownTeiler(const Lage& w) { return (16 - w.M) * 2; }
int32_t CooldownSchrot(const Lage& w) { return CLng(7 - static_cast<double>(w.M) * w.L); }

float KeineForce(const Lage&) { return 0; }
float StromForce(const Lage& w) { return static_cast<float>((static_cast<double>(w.L) + 1) * w.M); }
float StufeForce(const Lage& w) { return static_cast<float>(static_cast<double>(w.L) + w.M - 1); }

struct Schusswaffe {
  const int32_t* Klang;  // nullptr: its sound is the firing step's loop
  int32_t (*Abklingzeit)(const Lage& w);
  int32_t Art;
  int32_t VorneX, Y;  // the muzzle from the pod: across when facing forward, and down
  float (*Force)(const Lage& w);
  void (*Schuesse)(const Salve& s);
  bool Funken;  // sets the ship's fired flag: muzzle sparks
};

// Weapons 2..7. Weapons 6 and 7 differ only where a spent pod bursts.
constexpr std::array<Schusswaffe, 6> kSchusswaffen = {{
    {&SndRed, Cooldown13, 1, 27, 8, KeineForce, Faecher, false},
    {nullptr, Cooldown3, 3, 31, 15, StromForce, Strom, false},
    {&SndGreen, Cooldown14, 4, 27, 8, StufeForce, Splitter, true},
    {&SndViolett, CooldownTeiler, 5, 22, -1, StufeForce, Teiler, false},
    {&SndRed, CooldownSchrot, 1, 27, 8, KeineForce, Schrot, false},
    {&SndRed, CooldownSchrot, 1, 27, 8, KeineForce, Schrot, false},
}};

// The sound first, then the cooldown, then the shots.
void Schiessen(const Schusswaffe& sw, const Lage& w, bool& Gefeuert) {
  if (sw.Klang && SoundAn) PlaySound(*sw.Klang, 0, 0, SoundLautstaerke);
  w.Pod.Abklingzeit = sw.Abklingzeit(w);
  const Salve s{w, sw.Art, static_cast<float>(static_cast<double>(w.Pod.X) + static_cast<double>(sw.VorneX) * w.Rechts),
                static_cast<float>(static_cast<double>(w.Pod.Y) + sw.Y), sw.Force(w)};
  sw.Schuesse(s);
  if (sw.Funken) Gefeuert = true;
}

constexpr int32_t kLaser = 1;
constexpr int32_t kLetzteWaffe = 7;

}  // namespace

void PodWaffen(int32_t p, int32_t m, bool& Gefeuert) {
  // Every slot, owned or not: a pod that is not there has no level to fire with.
  for (PodDaten& d : Pods) {
    if (d.Abklingzeit > 0) --d.Abklingzeit;
    if (d.Waffe == 3) Feuer.PodStrom = true;
    if (d.Abklingzeit >= 1 || (d.Drehwinkel != 0 && d.Drehwinkel != 180)) continue;
    if (d.Waffe < kLaser || d.Waffe > kLetzteWaffe || d.Stufe < 1) continue;
    const int32_t rechts = d.Drehwinkel == 0 ? 1 : 0;
    const Lage w{d, p, m, d.Stufe, rechts, 2 * rechts - 1};
    if (d.Waffe == kLaser) {
      Laser(w, Gefeuert);
    } else {
      Schiessen(kSchusswaffen[static_cast<size_t>(d.Waffe - 2)], w, Gefeuert);
    }
  }
}
