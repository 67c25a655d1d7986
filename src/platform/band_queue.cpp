// The record of drawing (band_queue.hpp): one growing block of memory holding each draw
// after a small header, kept from frame to frame so that nothing is allocated once it has
// grown to what a frame draws. When it runs, the target is cut into bands of rows, each
// band is given the list of draws that reach into it, in their order, and the drawing
// threads take the bands.
#include "platform/band_queue.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/band_pool.hpp"
#include "platform/draw_threads.hpp"

namespace platform::bands {

uint64_t g_record = 1;

namespace {

struct Kopf {
  RowsFn rows;
  int32_t top, bottom;  // the rows the draw may touch, inside the target
  uint32_t bytes;       // the header and the draw, a multiple of 16
};
constexpr size_t kAlign = 16;
constexpr size_t kKopf = (sizeof(Kopf) + kAlign - 1) / kAlign * kAlign;

// A record that would grow beyond this runs first: that keeps the memory bounded and the
// draws near in the cache (the busiest frames hold a few thousand draws of about 200
// bytes; a record of this size is plenty to share among the threads).
constexpr size_t kMaxBytes = size_t{2} << 20;
// Below this many pixels a record is drawn by the asking thread alone: waking the others
// would cost more than they save.
constexpr int64_t kFewPixels = 16384;
// Bands per thread: more than one, so that a thread with light bands takes more of them;
// not many, since a draw reaching into several bands is set up in each.
constexpr int32_t kBandsPerThread = 3;
constexpr int32_t kMinBandRows = 8;

// At most this many bands: 64 threads of three bands each fit.
constexpr int32_t kMaxBands = 256;
// What the band lists start with: enough for the frames of most scenes.
constexpr size_t kFirstEntries = size_t{1} << 16;

struct Aufzeichnung {
  Surface* target = nullptr;
  std::vector<uint8_t> bytes;
  size_t used = 0;
  int64_t pixels = 0;
  // While it runs: the bands, and the offsets of the draws of each band in turn (those of
  // band b end at ende[b], where those of band b + 1 begin).
  int32_t bandRows = 0, height = 0;
  std::array<uint32_t, kMaxBands> ende{};
  std::vector<uint32_t> order;
};

Aufzeichnung& Rec() {
  static Aufzeichnung r;
  return r;
}

const Kopf& KopfAt(const Aufzeichnung& r, uint32_t offset) {
  return *reinterpret_cast<const Kopf*>(r.bytes.data() + offset);
}

void Zeichne(const Kopf& k, int32_t from, int32_t to) {
  from = std::max(from, k.top);
  to = std::min(to, k.bottom);
  if (from < to) k.rows(reinterpret_cast<const uint8_t*>(&k) + kKopf, from, to);
}

void DrawBand(void* context, int32_t band) {
  const Aufzeichnung& r = *static_cast<const Aufzeichnung*>(context);
  const int32_t from = band * r.bandRows, to = std::min(r.height, from + r.bandRows);
  const uint32_t anfang = band == 0 ? 0 : r.ende[static_cast<size_t>(band - 1)];
  for (uint32_t i = anfang; i < r.ende[static_cast<size_t>(band)]; ++i) Zeichne(KopfAt(r, r.order[i]), from, to);
}

void DrawAlone(const Aufzeichnung& r) {
  for (size_t at = 0; at < r.used;) {
    const Kopf& k = KopfAt(r, static_cast<uint32_t>(at));
    Zeichne(k, 0, r.height);
    at += k.bytes;
  }
}

// Calls `f`(offset, first band, last band) for every draw that reaches into a band.
template <class F>
void JederEintrag(const Aufzeichnung& r, F&& f) {
  for (size_t at = 0; at < r.used;) {
    const Kopf& k = KopfAt(r, static_cast<uint32_t>(at));
    if (k.top < k.bottom) f(static_cast<uint32_t>(at), k.top / r.bandRows, (k.bottom - 1) / r.bandRows);
    at += k.bytes;
  }
}

void DrawInBands(Aufzeichnung& r, int32_t threads) {
  r.bandRows = std::max(kMinBandRows, (r.height + threads * kBandsPerThread - 1) / (threads * kBandsPerThread));
  const int32_t count = std::min(kMaxBands, (r.height + r.bandRows - 1) / r.bandRows);
  r.bandRows = (r.height + count - 1) / count;
  // The lists of all bands in one array, sorted by band: counted first, then filled.
  std::array<uint32_t, kMaxBands>& ende = r.ende;
  std::fill_n(ende.begin(), count, 0u);
  uint32_t total = 0;
  JederEintrag(r, [&](uint32_t, int32_t b0, int32_t b1) {
    for (int32_t b = b0; b <= b1; ++b) ++ende[static_cast<size_t>(b)];
    total += static_cast<uint32_t>(b1 - b0 + 1);
  });
  for (int32_t b = 0, summe = 0; b < count; ++b) {
    const uint32_t n = ende[static_cast<size_t>(b)];
    ende[static_cast<size_t>(b)] = static_cast<uint32_t>(summe);
    summe += static_cast<int32_t>(n);
  }
  if (r.order.size() < total) r.order.resize(std::max<size_t>(total, 2 * r.order.size()));
  JederEintrag(r, [&](uint32_t offset, int32_t b0, int32_t b1) {
    for (int32_t b = b0; b <= b1; ++b) r.order[ende[static_cast<size_t>(b)]++] = offset;
  });
  RunBands(threads, count, DrawBand, &r);
}

}  // namespace

bool Records(const Surface& target) { return target.BandDrawn() && DrawThreads() > 1; }

void Prepare() {
  Aufzeichnung& r = Rec();
  if (r.bytes.size() < kMaxBytes) r.bytes.resize(kMaxBytes);
  if (r.order.size() < kFirstEntries) r.order.resize(kFirstEntries);
  StartThreads(DrawThreads());
}

void* Record(Surface& target, const Surface* source, int32_t top, int32_t bottom, int64_t pixels, RowsFn rows,
             size_t bytes) {
  Aufzeichnung& r = Rec();
  const size_t need = kKopf + (bytes + kAlign - 1) / kAlign * kAlign;
  if (r.used > 0 && (r.target != &target || r.used + need > kMaxBytes)) RunPending();
  if (r.bytes.size() < r.used + need) r.bytes.resize(std::max(r.used + need, 2 * r.bytes.size()));
  r.target = &target;
  target.MarkDrawn();
  if (source) source->MarkRead();
  r.pixels += pixels;
  uint8_t* at = r.bytes.data() + r.used;
  *reinterpret_cast<Kopf*>(at) = Kopf{rows, std::max(top, 0), std::min(bottom, target.Height()),
                                      static_cast<uint32_t>(need)};
  r.used += need;
  return at + kKopf;
}

void RunPending() {
  Aufzeichnung& r = Rec();
  if (r.used == 0) return;
  r.height = r.target->Height();
  const int32_t threads = DrawThreads();
  if (threads <= 1 || r.pixels < kFewPixels)
    DrawAlone(r);
  else
    DrawInBands(r, threads);
  r.used = 0;
  r.pixels = 0;
  r.target = nullptr;
  ++g_record;
}

}  // namespace platform::bands
