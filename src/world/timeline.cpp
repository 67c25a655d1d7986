#include "world/timeline.hpp"

#include <array>
#include <optional>
#include <span>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "engine/sound.hpp"
#include "player/players_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/animations.hpp"
#include "world/enemies.hpp"
#include "world/landscape.hpp"
#include "world/level_data_state.hpp"
#include "world/pickups.hpp"
#include "world/radio.hpp"
#include "world/upcalls.hpp"

namespace {

constexpr int32_t kLogikEbene = 4;     // the layer of enemies, level sounds and radio messages
constexpr int32_t kRechterRand = 800;  // where the timeline places what it starts
// Within this many pixels of the right edge an item placed before the start tick would
// still be on screen; the catch-up replays the ticks of that distance.
constexpr float kNachholBreite = 900.0f;

// True when `nr` is an entry 0..`max` of its catalogue; otherwise the event is logged as
// skipped.
bool Vorhanden(int32_t nr, int32_t max, const char* was, int32_t k, const LevelEreignis& e) {
  if (nr >= 0 && nr <= max) return true;
  DebugLogWennAn("Timeline: layer " + std::to_string(k) + ", tick " + std::to_string(e.Tick) + ": " + was + " " +
                 std::to_string(nr) + " does not exist, event skipped");
  return false;
}

// ---- Layer 4 ---------------------------------------------------------------------------

void Feind(int32_t k, const LevelEreignis& e) {
  if (!Vorhanden(e.P1, GegnerTypenMax(), "enemy template", k, e) || !Vorhanden(e.P2, RoutenMax(), "route", k, e))
    return;
  AddEnemy(GegnerTypen[e.P1], e.P2, LevelTick, e.P3, kRechterRand);
}

// P2: 0 once, 1 looping, 2 stop; voices' volume, as the level's sounds are mostly speech.
void LevelSound(int32_t k, const LevelEreignis& e) {
  if (!SoundAn || e.P2 < 0 || e.P2 > 2) return;
  if (!Vorhanden(e.P1, LevelSoundsAnzahl(), "level sound", k, e)) return;
  const int32_t nr = LevelSoundMap[e.P1];
  if (e.P2 == 2)
    StopSound(nr);
  else
    PlaySound(nr, e.P2, std::nullopt, SprachLautstaerke);
}

void Funk(int32_t k, const LevelEreignis& e) {
  if (Vorhanden(e.P1, FunkmeldungenMax(), "radio message", k, e)) AddFunktion(e.P1);
}

// ---- The scrolling layers --------------------------------------------------------------

void Landschaftsteil(int32_t k, const LevelEreignis& e) {
  if (Vorhanden(e.P1, SpriteDefsMax(), "sprite", k, e)) AddLandschaft(k, e.P1, e.P3, kRechterRand, e.P2);
}

void Animation(int32_t k, const LevelEreignis& e) {
  if (Vorhanden(e.P2, AnimaTypenMax(), "animation", k, e)) AddAnima(k, e.P2, e.P3);
}

// Types 2, 4, 5, 6 are the pick-up kinds 0, 2, 3, 4; it drifts with its layer.
void Aufnahme(int32_t k, const LevelEreignis& e) {
  float my = 0;
  AddSpezialObjekt(e.Typ - 2, Ebenen[k].Offset + static_cast<float>(kRechterRand), static_cast<float>(e.P3),
                   -Ebenen[k].Speed, my, static_cast<float>(e.P1), static_cast<float>(e.P2));
}

// A gate P1 pixels high, its centre half its height inside the right edge.
void Tor(int32_t k, const LevelEreignis& e) {
  const double x = static_cast<double>(Ebenen[k].Offset) + (static_cast<double>(IDiv(e.P1, 2)) + kRechterRand);
  upcall::SetCheckpoint(CLng(x), e.P3, e.P1);
}
void TorEinSpieler(int32_t k, const LevelEreignis& e) {
  if (LetzterSpieler == 0) Tor(k, e);
}
void TorZweiSpieler(int32_t k, const LevelEreignis& e) {
  if (LetzterSpieler == 1) Tor(k, e);
}

// What an event does, by its type: on layer 4, and on the layers that scroll.
using Ereignis = void (*)(int32_t k, const LevelEreignis& e);
constexpr std::array<Ereignis, 3> kLogik = {Feind, LevelSound, Funk};
constexpr std::array<Ereignis, 8> kSzene = {Landschaftsteil, Animation, Aufnahme, TorEinSpieler,
                                            Aufnahme,        Aufnahme,  Aufnahme, TorZweiSpieler};

void Ausfuehren(int32_t k, const LevelEreignis& e) {
  const std::span<const Ereignis> tabelle = k == kLogikEbene ? std::span<const Ereignis>(kLogik) : kSzene;
  if (e.Typ >= 0 && e.Typ < static_cast<int32_t>(tabelle.size())) tabelle[e.Typ](k, e);
}

// Walks the layer's list from its cursor against tick `t`: an entry of an earlier tick is
// passed over unseen (a list out of order loses it), an entry of `t` goes to `tun`, and
// the first later entry ends the walk.
template <class Tun>
void Abarbeiten(LevelEbene& ebene, int64_t t, Tun tun) {
  while (ebene.Cursor >= 0 && ebene.Cursor <= ebene.EreignisseMax()) {
    const LevelEreignis e = ebene.Ereignisse[ebene.Cursor];
    if (e.Tick > t) return;
    if (e.Tick == t) tun(e);
    ++ebene.Cursor;
  }
}

// The tick of the layer's next event, none when its list is done.
std::optional<int64_t> NaechsterTick(const LevelEbene& ebene) {
  if (ebene.Cursor < 0 || ebene.Cursor > ebene.EreignisseMax()) return std::nullopt;
  return ebene.Ereignisse[ebene.Cursor].Tick;
}

// The catch-up of one layer: the ticks from the one whose items have scrolled 900 pixels
// by now up to the tick before the start. Between two events nothing happens, so the walk
// jumps from event to event (a layer crawling at a tiny speed would otherwise replay
// millions of empty ticks).
void Nachholen(int32_t k) {
  LevelEbene& ebene = Ebenen[k];
  const int64_t start = LevelTick;
  const int64_t erster = CLng(static_cast<double>(start) - Int(kNachholBreite / ebene.Speed));
  for (int64_t t = erster; t < start;) {
    const std::optional<int64_t> naechster = NaechsterTick(ebene);
    if (!naechster) return;
    if (*naechster > t) {
      t = *naechster;
      continue;
    }
    // Where an item placed on tick t stands now.
    const int32_t x = CLng(kRechterRand - Int(static_cast<double>(start - t) * ebene.Speed));
    Abarbeiten(ebene, t, [&](const LevelEreignis& e) {
      if (k != kLogikEbene && e.Typ == 0 && Vorhanden(e.P1, SpriteDefsMax(), "sprite", k, e))
        AddLandschaft(k, e.P1, e.P3, x, 0);
    });
    ++t;
  }
}

}  // namespace

void SpielTick() {
  for (int32_t k = 0; k < static_cast<int32_t>(Ebenen.size()); ++k)
    Abarbeiten(Ebenen[k], LevelTick, [k](const LevelEreignis& e) { Ausfuehren(k, e); });

  const int64_t tick = int64_t{LevelTick} + 1;
  LevelTick = static_cast<int32_t>(tick);
  // The exit starts once, on its tick: a clock that jumps over it skips the flight out.
  if (tick == int64_t{LevelLaenge} - 150) {
    Spieler[0].Status = 1;  // both ships fly out under autopilot
    Spieler[1].Status = 1;
  }
  // The end is never skipped: a level of no length, or a clock set past its end, is done
  // at the first tick that reaches it.
  if (tick >= LevelLaenge) LevelEnde = 2;
}

void SpielPastTicks() {
  for (int32_t k = 0; k < static_cast<int32_t>(Ebenen.size()); ++k) {
    Ebenen[k].Offset = 0;
    if (Ebenen[k].Speed != 0) Nachholen(k);
  }
}
