// The record of drawing (band_queue.hpp) and the threads that draw it.
//
// The record is made in batches: a list of small headers, one a draw, and a block of
// memory holding the draws. A batch that has grown past a few hundred draws is handed to
// the drawing threads at once and the next one begun, so the threads draw while the game
// goes on with its tick; when the pixels are needed the batch being made is handed over
// too and the asking thread helps until every batch is drawn. The batches live in a ring
// that is kept from frame to frame, so nothing is allocated once it has grown to what a
// frame draws.
//
// The target is cut into bands of rows. A band draws the batches strictly in turn, one
// thread at a time (whichever thread takes it: `busy` says one has), and counts the
// batches it has drawn (`done`); it walks each batch's headers and draws what reaches into
// its rows. Bands never share pixels, and every draw's rows come out as they do when the
// draw is made at once, so the picture does not depend on who drew which band when.
//
// Who writes what, so that every batch is drawn exactly once in every band, with the rows
// of the layout it was handed over under, and never after the game was told it is drawn:
// - The game thread (the one that records) alone writes the record, `handed` (after the
//   batch is complete), `g_record` and `g_drawn`.
// - A band's `done` is written only by the thread holding the band's `busy` flag, after it
//   drew the batch. That thread reads the layout after taking the flag and draws batches
//   done + 1 .. `handed`.
// - The layout (`set`) changes only while the game thread holds the flag of every band
//   and every band has drawn all that was handed over. To draw a small batch alone, the
//   game thread takes the flags of the bands in use, draws, and counts the batch as drawn
//   in each band before it lets them go.
// - A batch's place in the ring is filled again only when every band has counted it
//   drawn, and the game thread reports pixels drawn only when every band has.
//
// Threads that find no band with batches left look a few microseconds longer, then sleep
// until the next batch is handed over; the thread handing it over wakes one, and each
// thread woken wakes the next. The game thread, waiting for bands others hold, also looks
// a little, then sleeps until one is let go.
#include "platform/band_queue.hpp"

#include <pthread.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/draw_threads.hpp"

namespace platform::bands {

uint64_t g_record = 1, g_drawn = 0;

namespace {

// A draw's header. Every band walks the headers of every batch, so they lie together in a
// list of their own, small; the draws themselves are read only by the bands they reach.
struct Kopf {
  RowsFn rows;
  int16_t top, bottom;  // the rows the draw may touch, inside the target
  uint32_t at;          // where the draw lies in the batch's bytes
};
static_assert(sizeof(Kopf) == 16 && Surface::kMaxSide <= INT16_MAX);
constexpr size_t kAlign = 16;

// Batches in the ring: one being made while the threads draw the others. Enough that the
// thread making the record seldom waits, and writes into memory the others have let go.
constexpr uint64_t kStapel = 8;
// A batch is handed to the threads once its draws fill this much (about three hundred
// quads), and holds at most this much more (a longer draw makes its batch grow, once); it
// has room for this many headers.
constexpr size_t kUebergabe = size_t{64} << 10, kStapelBytes = size_t{256} << 10, kStapelKoepfe = 4096;
// A record of fewer pixels than this, with nothing else on its way, is drawn by the asking
// thread alone: waking the others would cost more than they save.
constexpr int64_t kFewPixels = 16384;
// Bands per thread: more than one, so that threads with light bands take more of them;
// not many, since each band walks every draw of every batch and sets up those that reach
// into it.
constexpr int32_t kBandsPerThread = 3;
constexpr int32_t kMaxBands = 192, kMinBandRows = 8;

inline void Pause() {
#if defined(__x86_64__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

// A drawing thread that finds nothing to draw looks again this often (a few microseconds)
// before it sleeps; the game thread, waiting for bands others draw, this often.
constexpr int kSpins = 256, kSpinsBeforeSleep = 4096;

// Each on a line of its own: the thread making the record writes `used` of the one being
// made while the others read that of the ones on their way.
struct alignas(64) Stapel {
  std::vector<Kopf> koepfe;
  std::vector<uint8_t> bytes;
  size_t count = 0, used = 0;
};

struct alignas(64) Band {
  std::atomic<uint64_t> done{0};  // batches 1 .. done are drawn in this band
  std::atomic<bool> busy{false};
};

// Grouped by who writes what, a cache line each: what only the thread making the record
// uses; the bands' set-up, which the drawing threads read all the time and which changes
// only when nothing is on its way; the count of batches handed over; the bell.
struct Zustand {
  // The batch being made (number g_record) lives in ring[g_record % kStapel].
  std::array<Stapel, kStapel> ring;
  struct alignas(64) {
    int64_t pixels = 0;  // of the batch being made
    Surface* target = nullptr;
    int32_t asked = 0;
    std::vector<std::thread>* workers = new std::vector<std::thread>;  // never destroyed
  } rec;
  struct alignas(64) {
    std::atomic<int32_t> height{0}, bandRows{1}, bands{0};
    std::atomic<int32_t> workersActive{0};  // workers 0 .. workersActive - 1 draw
  } set;
  alignas(64) std::atomic<uint64_t> handed{0};  // batches 1 .. handed are the threads'
  alignas(64) std::atomic<uint32_t> bell{0};    // rung when a batch is handed over
  std::atomic<int32_t> asleep{0};               // threads waiting for the bell
  // Rung when a band is let go while the game thread sleeps (`waiting`) for one.
  alignas(64) std::atomic<uint32_t> letGo{0};
  std::atomic<bool> waiting{false};
  std::array<Band, kMaxBands> band;
};

Zustand& Z() {
  static Zustand* z = new Zustand;  // lives as long as the process, as its threads do
  return *z;
}

std::atomic<HaltHook> g_halt{nullptr};
inline void Halt(HaltAt where) {
  if (HaltHook h = g_halt.load(std::memory_order_relaxed)) h(where);
}

Stapel& StapelOf(Zustand& z, uint64_t n) { return z.ring[n % kStapel]; }

void ZeichneStapel(const Stapel& s, int32_t from, int32_t to) {
  const Kopf* k = s.koepfe.data();
  for (const Kopf* ende = k + s.count; k < ende; ++k) {
    const int32_t a = std::max<int32_t>(from, k->top), b = std::min<int32_t>(to, k->bottom);
    if (a < b) k->rows(s.bytes.data() + k->at, a, b);
  }
}

// Sleeps until a band is let go, unless `bereit` (asked after the game thread has said it
// waits) is true. Whoever lets a band go looks whether the game thread waits only after
// it let go, and the game thread looks at the flags only after it said it waits, all in
// one order (sequentially consistent): either it sees the band let go, or it is woken.
template <class Bereit>
void SchlafBisFrei(Zustand& z, Bereit bereit) {
  const uint32_t seen = z.letGo.load();
  z.waiting.store(true);
  if (!bereit()) z.letGo.wait(seen);
  z.waiting.store(false);
}

void LassLos(Zustand& z, Band& band) {
  band.busy.store(false);
  Halt(HaltAt::Released);
  if (z.waiting.load()) {
    z.letGo.fetch_add(1);
    z.letGo.notify_one();
  }
}

// Draws in band `b` the batches handed over that it has not drawn yet, unless another
// thread has the band. True when this thread drew something.
bool NimmBand(Zustand& z, int32_t b) {
  Band& band = z.band[static_cast<size_t>(b)];
  if (band.done.load(std::memory_order_acquire) >= z.handed.load(std::memory_order_acquire)) return false;
  Halt(HaltAt::BeforeTaking);
  if (band.busy.exchange(true)) return false;
  Halt(HaltAt::Taken);
  // With the flag held, the layout stays as it is: it was set up while the game thread
  // held this flag, and is read after taking it.
  const int32_t rows = z.set.bandRows.load(std::memory_order_relaxed), height = z.set.height.load(std::memory_order_relaxed);
  const int32_t from = b * rows, to = std::min(height, from + rows);
  bool drew = false;
  // A band past the layout's (taken with an older count of bands) has nothing to draw.
  if (b < z.set.bands.load(std::memory_order_relaxed)) {
    for (uint64_t n = band.done.load(std::memory_order_relaxed);;) {
      Halt(HaltAt::BeforeCount);
      if (n >= z.handed.load(std::memory_order_acquire)) break;
      ZeichneStapel(StapelOf(z, ++n), from, to);
      band.done.store(n, std::memory_order_release);
      Halt(HaltAt::Counted);
      drew = true;
    }
  }
  LassLos(z, band);
  return drew;
}

// One pass over the bands, from `first` on; true when this thread drew in any.
bool Runde(Zustand& z, int32_t first) {
  bool drew = false;
  const int32_t bands = z.set.bands.load(std::memory_order_relaxed);
  for (int32_t i = 0; i < bands; ++i) drew = NimmBand(z, (first + i) % bands) || drew;
  return drew;
}

bool AllesGezeichnet(const Zustand& z, uint64_t bis) {
  for (int32_t b = 0; b < z.set.bands.load(std::memory_order_relaxed); ++b)
    if (z.band[static_cast<size_t>(b)].done.load(std::memory_order_acquire) < bis) return false;
  return true;
}

// The asking thread helps until every band has drawn batch `bis`.
void HilfBis(Zustand& z, uint64_t bis) {
  for (int spins = 0; !AllesGezeichnet(z, bis);) {
    if (Runde(z, 0))
      spins = 0;
    else if (++spins < kSpinsBeforeSleep)
      Pause();
    else
      SchlafBisFrei(z, [&] { return Runde(z, 0) || AllesGezeichnet(z, bis); });
  }
}

// The game thread takes the flags of bands 0 .. n - 1. Only a thread that is about to let
// a band go holds one then (every band has drawn what was handed over), so the wait is short
// unless that thread is held up.
void NimmAlle(Zustand& z, int32_t n) {
  for (int32_t b = 0; b < n; ++b) {
    std::atomic<bool>& busy = z.band[static_cast<size_t>(b)].busy;
    for (int spins = 0; busy.exchange(true);) {
      if (++spins < kSpinsBeforeSleep)
        Pause();
      else
        SchlafBisFrei(z, [&] { return !busy.load(); });
    }
  }
}

void GibAlle(Zustand& z, int32_t n) {
  for (int32_t b = 0; b < n; ++b) z.band[static_cast<size_t>(b)].busy.store(false, std::memory_order_release);
}

// Wakes one sleeping thread, if there is one. Waking costs the waker a few microseconds
// a thread: the thread handing over a batch wakes one, which wakes the next as it finds
// work, and so on.
void Wecke(Zustand& z) {
  if (z.asleep.load() > 0) z.bell.notify_one();
}

void Arbeite(Zustand& z, int32_t index) {
  for (;;) {
    const uint32_t seen = z.bell.load(std::memory_order_acquire);
    if (index < z.set.workersActive.load(std::memory_order_relaxed) && Runde(z, index * kBandsPerThread)) continue;
    int spins = 0;
    for (; spins < kSpins && z.bell.load(std::memory_order_acquire) == seen; ++spins) Pause();
    if (spins < kSpins) continue;
    // Counted as asleep before the last look, so that a bell rung from here on wakes it.
    z.asleep.fetch_add(1);
    if (z.bell.load() == seen) z.bell.wait(seen);
    z.asleep.fetch_sub(1);
    Wecke(z);
  }
}

// A fork comes from the game thread, the one that records: what is on its way is drawn
// first, so that the child's pictures are whole. In the child only that thread lives on:
// the flags the drawing threads held then are let go (a thread may hold one for a moment
// after its last batch), and the child draws its bands alone until it starts threads of its
// own. The old thread objects are dropped unseen (destroying them would end the program).
void VorFork() { RunPending(); }

void NachForkImKind() {
  Zustand& z = Z();
  for (Band& b : z.band) b.busy.store(false, std::memory_order_relaxed);
  z.asleep.store(0, std::memory_order_relaxed);
  z.waiting.store(false, std::memory_order_relaxed);
  z.rec.workers = new std::vector<std::thread>;
}

// Starts workers until there are `n`; how many there are (fewer when the system refuses a
// thread).
int32_t Starte(Zustand& z, int32_t n) {
  static const bool forkBedacht = pthread_atfork(VorFork, nullptr, NachForkImKind) == 0;
  (void)forkBedacht;
  try {
    while (static_cast<int32_t>(z.rec.workers->size()) < n) {
      const int32_t index = static_cast<int32_t>(z.rec.workers->size());
      z.rec.workers->emplace_back([&z, index] { Arbeite(z, index); });
      pthread_setname_np(z.rec.workers->back().native_handle(), "harvo-draw");
    }
  } catch (const std::system_error&) {
  } catch (const std::bad_alloc&) {
  }
  return std::min(n, static_cast<int32_t>(z.rec.workers->size()));
}

// With every batch drawn: the bands of `target` for `threads` threads, set up while the
// game thread holds every band's flag.
void Einrichten(Zustand& z, Surface& target, int32_t threads) {
  z.rec.target = &target;
  z.rec.asked = threads;
  const int32_t workers = Starte(z, threads - 1), height = target.Height();
  const int32_t wunsch = std::min(kMaxBands, (1 + workers) * kBandsPerThread);
  const int32_t rows = std::max(kMinBandRows, (height + wunsch - 1) / wunsch);
  NimmAlle(z, kMaxBands);
  z.set.height.store(height, std::memory_order_relaxed);
  z.set.bandRows.store(rows, std::memory_order_relaxed);
  z.set.bands.store((height + rows - 1) / rows, std::memory_order_relaxed);
  z.set.workersActive.store(workers, std::memory_order_relaxed);
  const uint64_t handed = z.handed.load(std::memory_order_relaxed);
  for (Band& b : z.band) b.done.store(handed, std::memory_order_relaxed);
  GibAlle(z, kMaxBands);
}

void Leere(Stapel& s) { s.count = s.used = 0; }

// Hands the batch being made to the threads and begins the next, once its place in the
// ring is free.
void Uebergib(Zustand& z) {
  const uint64_t n = g_record;
  z.handed.store(n, std::memory_order_release);
  z.bell.fetch_add(1);
  Wecke(z);
  z.rec.pixels = 0;
  ++g_record;
  if (n + 1 > kStapel) HilfBis(z, n + 1 - kStapel);  // the batch that had the place
  Leere(StapelOf(z, g_record));
}

}  // namespace

bool Records(const Surface& target) { return target.BandDrawn() && DrawThreads() > 1; }

void Prepare() {
  Zustand& z = Z();
  for (Stapel& s : z.ring) {
    if (s.bytes.size() < kStapelBytes) s.bytes.resize(kStapelBytes);
    if (s.koepfe.size() < kStapelKoepfe) s.koepfe.resize(kStapelKoepfe);
  }
  Starte(z, DrawThreads() - 1);
}

void* Record(Surface& target, const Surface* source, int32_t top, int32_t bottom, int64_t pixels, RowsFn rows,
             size_t bytes) {
  Zustand& z = Z();
  const int32_t threads = DrawThreads();
  if (z.rec.target != &target || z.rec.asked != threads) {
    RunPending();
    Einrichten(z, target, threads);
  }
  // The draws so far are complete: a batch that is full enough goes to the threads.
  const size_t need = (bytes + kAlign - 1) / kAlign * kAlign;
  Stapel* s = &StapelOf(z, g_record);
  if (s->used >= kUebergabe || s->count == s->koepfe.size() ||
      (s->used > 0 && s->used + need > s->bytes.size())) {
    Uebergib(z);
    s = &StapelOf(z, g_record);
  }
  if (s->bytes.size() < s->used + need) s->bytes.resize(s->used + need);
  if (s->koepfe.empty()) s->koepfe.resize(kStapelKoepfe);
  target.MarkDrawn();
  if (source) source->MarkRead();
  z.rec.pixels += pixels;
  s->koepfe[s->count++] = Kopf{rows, static_cast<int16_t>(std::clamp(top, 0, target.Height())),
                               static_cast<int16_t>(std::clamp(bottom, 0, target.Height())),
                               static_cast<uint32_t>(s->used)};
  void* room = s->bytes.data() + s->used;
  s->used += need;
  return room;
}

void Forget(const Surface& target) {
  Zustand& z = Z();
  if (z.rec.target == &target) z.rec.target = nullptr;
}

void SetHaltHook(HaltHook hook) { g_halt.store(hook); }

void RunPending() {
  Zustand& z = Z();
  Stapel& s = StapelOf(z, g_record);
  const uint64_t handed = z.handed.load(std::memory_order_relaxed);
  if (s.count > 0) {
    if (z.rec.pixels < kFewPixels && AllesGezeichnet(z, handed)) {
      // Drawn here alone, with every band's flag held: counted as drawn in each band
      // before anyone can take one up again.
      const int32_t bands = z.set.bands.load(std::memory_order_relaxed);
      NimmAlle(z, bands);
      ZeichneStapel(s, 0, z.set.height.load(std::memory_order_relaxed));
      for (int32_t b = 0; b < bands; ++b) z.band[static_cast<size_t>(b)].done.store(g_record, std::memory_order_relaxed);
      z.handed.store(g_record, std::memory_order_release);
      GibAlle(z, bands);
      z.rec.pixels = 0;
      ++g_record;
      Leere(StapelOf(z, g_record));
    } else {
      Uebergib(z);
    }
  }
  HilfBis(z, g_record - 1);
  g_drawn = g_record - 1;
}

}  // namespace platform::bands
