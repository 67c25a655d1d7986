#include "campaign/checkpoints.hpp"

#include <array>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "campaign/special_events_state.hpp"
#include "frontend/effects_state.hpp"
#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "platform/record_io.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "player/score_state.hpp"
#include "player/shots_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/pool.hpp"
#include "world/animations_state.hpp"
#include "world/collision.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"
#include "world/routes_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/weather_state.hpp"

namespace {

namespace fs = platform::fs;

// The snapshot has room for eleven beam points (two Singles and a Long each) twice and for
// a collision minimum (a Long) that nothing in the game keeps: they are written as 0, and
// what a read snapshot holds there is passed over.
struct BeamPunkt {
  float X = 0, Y = 0;
  int32_t Wert = 0;
};
template <class IO>
void Felder(IO& io, BeamPunkt& p) {
  io.Single(p.X);
  io.Single(p.Y);
  io.Int32(p.Wert);
}
constexpr int kBeamPunkte = 11;

template <class IO>
void Beampunkte(IO& io) {
  for (int k = 0; k < kBeamPunkte; ++k) {
    BeamPunkt leer;
    Felder(io, leer);
  }
}

template <class IO>
void Kollisionsminimum(IO& io) {
  int32_t leer = 0;
  io.Int32(leer);
}

// Every slot of a pool, in use or not.
template <class IO, class T, int32_t N>
void Slots(IO& io, Pool<T, N>& pool) {
  for (T& s : pool.Slot) {
    if (!io.Ok()) return;
    Felder(io, s);
  }
}

// A pool's first-free hint and highest-used index; read ones must lie within the pool.
template <class IO, class T, int32_t N>
void Indizes(IO& io, Pool<T, N>& pool) {
  int32_t frei = pool.Frei, max = pool.Max;
  io.Int32(frei);
  io.Int32(max);
  if constexpr (IO::kReads) {
    if (frei < 0 || frei > N + 1 || max < -1 || max > N) io.Fail();
    if (!io.Ok()) return;
    pool.Frei = frei;
    pool.Max = max;
  }
}

// The enemies' bounds and the animations' highest slot, then the animations in use (their
// first-free hint is not stored: it keeps what emptying the pools gave it).
template <class IO>
void AnimationenMitGrenzen(IO& io) {
  Indizes(io, GegnerListe);
  int32_t max = AnimaMax;
  io.Int32(max);
  if constexpr (IO::kReads) {
    const size_t platz = platform::Mindestgroesse<AnimaDaten>();
    if (max < -1 || max > Animationen.Kapazitaet || static_cast<size_t>(max + 1) > io.Remaining() / platz) io.Fail();
    if (!io.Ok()) return;
    AnimaMax = max;
  }
  for (int32_t k = 0; k <= AnimaMax && io.Ok(); ++k) Felder(io, Animationen[k]);
}

// Layers 1..6, each its landscape items and its events. A layer's item array is made once
// at start-up; a read one must have that size, which its descriptor says up front.
template <class IO>
void Schichten(IO& io) {
  for (int32_t k = 1; k <= 6 && io.Ok(); ++k) {
    if constexpr (IO::kReads) {
      platform::ByteReader vorschau = io;
      const int16_t dimensionen = vorschau.Int16();
      const int32_t anzahl = dimensionen == 0 ? 0 : vorschau.Int32();
      if (anzahl != LandschaftKapazitaet[k] + 1) io.Fail();
    }
    if (!io.Ok()) return;
    Felder(io, Landschaft[k]);
    Felder(io, Ebenen[k]);
  }
}

// Both players. The one who did not trigger the checkpoint, when the solid landscape holds
// it (its hit box at its place), is written at the triggering player's place; the records
// themselves stay as they are.
template <class IO>
void Spielerpaar(IO& io, int32_t VeskNr) {
  if constexpr (IO::kReads) {
    for (SpielerDaten& s : Spieler) Felder(io, s);
  } else {
    const int32_t andere = VeskNr == 0 ? 1 : 0;
    SpielerDaten& s = Spieler[andere];
    const SpielerDaten& ausloeser = Spieler[1 - andere];
    const SchiffDaten& b = Schiff[andere];
    const float x = s.X, y = s.Y;
    if (CheckColisionWithLandschaft3(CLng(static_cast<double>(b.BoxLinks) + x), CLng(static_cast<double>(b.BoxOben) + y),
                                     CLng(static_cast<double>(b.BoxRechts) + x), CLng(static_cast<double>(b.BoxUnten) + y), -1)) {
      s.X = ausloeser.X;
      s.Y = ausloeser.Y;
    }
    for (SpielerDaten& p : Spieler) Felder(io, p);
    s.X = x;
    s.Y = y;
  }
}

// The shared route variables G: their highest index (-1: none), then each.
template <class IO>
void Routenvariablen(IO& io) {
  int32_t u = UBound(RoutenVariablen);
  io.Int32(u);
  if constexpr (IO::kReads) {
    if (!io.Ok() || u < -1 || static_cast<uint64_t>(int64_t{u} + 1) > io.Remaining() / 4) {
      io.Fail();
      return;
    }
    RoutenVariablen.resize(static_cast<size_t>(int64_t{u} + 1));
  }
  for (float& g : RoutenVariablen) io.Single(g);
}

// A pool whole: every slot, then its first-free hint and highest-used index.
template <class IO, class T, int32_t N>
void SlotsUndIndizes(IO& io, Pool<T, N>& pool) {
  Slots(io, pool);
  Indizes(io, pool);
}

// The snapshot's items in their order, each read and written by one function. Reading
// them back must not set the star field up anew: it comes from the snapshot.
template <class IO>
using Posten = void (*)(IO& io, int32_t VeskNr);

template <class IO>
constexpr auto kPosten = std::to_array<Posten<IO>>({
    [](IO& io, int32_t) { io.Int32(LevelTick); },
    [](IO& io, int32_t) { Slots(io, GegnerListe); },
    [](IO& io, int32_t) { AnimationenMitGrenzen(io); },
    [](IO& io, int32_t) { Schichten(io); },
    [](IO& io, int32_t) {
      io.Int32(HintergrundBild);
      io.Single(HintergrundX);
      io.Int32(HintergrundModus);
    },
    [](IO& io, int32_t) {
      for (HintergrundPunkt& p : HintergrundPunkte) Felder(io, p);
      if constexpr (IO::kReads) HintergrundInit = false;
    },
    Spielerpaar<IO>,
    [](IO& io, int32_t) {
      for (auto& spur : SpielerSpur)
        for (SpielerDaten& s : spur) Felder(io, s);
    },
    [](IO& io, int32_t) { io.Bool16(SpurAn); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, Schuesse[0]); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, Partikel[0]); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, Schuesse[1]); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, Partikel[1]); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, GegnerSchuesse); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, SchussErzeuger); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, BigPartikel); },
    [](IO& io, int32_t) {
      Beampunkte(io);
      for (BeamStatus& b : Beam) Felder(io, b);
      Beampunkte(io);
    },
    [](IO& io, int32_t) {
      Indizes(io, SpezialObjekte);
      Slots(io, SpezialObjekte);
    },
    [](IO& io, int32_t) {
      for (float& f : ComboFaktor) io.Single(f);
      for (int32_t& t : ComboTreffer) io.Int32(t);
    },
    [](IO& io, int32_t) { io.Int32(Wasserstand); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, Blasen); },
    [](IO& io, int32_t) { SlotsUndIndizes(io, PunkteAnzeigen); },
    [](IO& io, int32_t) { Routenvariablen(io); },
    [](IO& io, int32_t) {
      for (PodDaten& p : Pods) Felder(io, p);
    },
    [](IO& io, int32_t) { io.Bool16(Overlay1); },
    [](IO& io, int32_t) { Felder(io, Satellit); },
    // As many drops as the running level has.
    [](IO& io, int32_t) {
      for (RegenTropfen& t : Regentropfen) Felder(io, t);
    },
    [](IO& io, int32_t) { Felder(io, SpezialStand); },
    [](IO& io, int32_t) { Kollisionsminimum(io); },
    [](IO& io, int32_t) { Felder(io, Drohnen); },
});

template <class IO>
void Schnappschuss(IO& io, int32_t VeskNr) {
  for (Posten<IO> posten : kPosten<IO>) posten(io, VeskNr);
  if constexpr (IO::kReads) HintergrundInit = false;
}

bool PostenDa(int32_t Nr) { return Nr >= 0 && Nr < CheckpointPostenAnzahl(); }

// ---- The files ------------------------------------------------------------------------------

constexpr int32_t kDateien = 11;  // Temp0.tmp .. Temp10.tmp

// The folder "Harvo" of the temporary folder; empty when there is no temporary folder.
std::string Ordner() {
  const std::string temp = GetTempFolder();
  return temp.empty() ? std::string() : temp + "Harvo\\";
}
std::string Datei(const std::string& ordner, int32_t nr) { return ordner + "Temp" + std::to_string(nr) + ".tmp"; }

// Anything of the name, a file or a folder.
bool Belegt(const std::string& pfad) { return fs::FileExists(pfad) || fs::DirExists(pfad); }

// Writes the kept bytes under the first number whose name is free or can be freed. A file
// that cannot be written costs only the file.
void Schreiben() {
  const std::string ordner = Ordner();
  if (ordner.empty()) {
    DebugLog("Checkpoint: no temporary folder, the checkpoint is kept in memory only");
    return;
  }
  int32_t nr = -1;
  for (int32_t n = 0; n < kDateien && nr < 0; ++n) {
    const std::string pfad = Datei(ordner, n);
    if (!Belegt(pfad) || fs::DeleteFile(pfad)) nr = n;
  }
  if (nr < 0) {
    DebugLog("Checkpoint: Temp0.tmp to Temp10.tmp cannot be deleted, the checkpoint is kept in memory only");
    return;
  }
  CheckpointNr = nr;
  fs::MakeDir(ordner);
  const std::string pfad = Datei(ordner, nr);
  if (!fs::WriteReplacing(pfad, CheckpointDaten.data(), CheckpointDaten.size(), false))
    DebugLog({"Checkpoint: ", LogPfad(pfad), " cannot be written, the checkpoint is kept in memory only"});
}

}  // namespace

void SaveCheckPointSub(int32_t VeskNr, std::vector<uint8_t>& Daten) {
  platform::ByteWriter io(Daten);
  Schnappschuss(io, VeskNr);
}

bool LoadCheckPointSub(std::span<const uint8_t> Daten) {
  platform::ByteReader io(Daten);
  Schnappschuss(io, 0);
  return io.Ok() && io.Remaining() == 0;
}

int32_t CheckpointPostenAnzahl() { return static_cast<int32_t>(kPosten<platform::ByteReader>.size()); }

void CheckpointPostenSchreiben(int32_t Nr, int32_t VeskNr, std::vector<uint8_t>& Daten) {
  if (!PostenDa(Nr)) return;
  platform::ByteWriter io(Daten);
  kPosten<platform::ByteWriter>[static_cast<size_t>(Nr)](io, VeskNr);
}

bool CheckpointPostenLesen(int32_t Nr, std::span<const uint8_t> Daten) {
  if (!PostenDa(Nr)) return false;
  platform::ByteReader io(Daten);
  kPosten<platform::ByteReader>[static_cast<size_t>(Nr)](io, 0);
  return io.Ok() && io.Remaining() == 0;
}

void SaveCheckpoint(int32_t VeskNr) {
  // With no player alive the last snapshot stays the one to go back to.
  if (Spieler[0].Tod != 0 && (LetzterSpieler != 1 || Spieler[1].Tod != 0)) return;
  CheckpointDaten.clear();
  SaveCheckPointSub(VeskNr, CheckpointDaten);
  Schreiben();
}

void LoadCheckpoint() {
  if (CheckpointDaten.empty()) {
    DebugLog("Checkpoint: none has been taken, nothing is restored");
    return;
  }
  const std::string ordner = Ordner();
  const std::string pfad = ordner.empty() ? "Temp" + std::to_string(CheckpointNr) + ".tmp" : Datei(ordner, CheckpointNr);
  // Room for a file as large as the kept bytes, kept from reload to reload; anything
  // larger is not ours anyway.
  static std::vector<uint8_t> datei;
  const bool unsere = !ordner.empty() && fs::ReadAll(pfad, datei, CheckpointDaten.size()) && datei == CheckpointDaten;
  if (!unsere)
    DebugLog({"Checkpoint: ", LogPfad(pfad), " is missing or not the one taken, the one in memory is restored"});
  if (!LoadCheckPointSub(CheckpointDaten)) DebugLog("Checkpoint: the one in memory cannot be read back");
}

void KillCheckpoint() {
  CheckpointDaten.clear();
  const std::string ordner = Ordner();
  if (ordner.empty()) return;
  for (int32_t n = 0; n < kDateien; ++n) {
    const std::string pfad = Datei(ordner, n);
    if (fs::FileExists(pfad)) fs::DeleteFile(pfad);
  }
  fs::RemoveDir(ordner);
}
