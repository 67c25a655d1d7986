// The hand-off of batches to the drawing threads, with the threads held up where they read
// or write its counters, as a busy machine holds them up now and then: the game thread draws
// frames of small records (the ones it draws alone when the threads are idle) and of big
// ones, inversions and additive quads (either shows when drawn twice, or not at all), reads
// pixels in between, and changes the number of threads and the surface it draws into
// between frames. The pixels must be those of one thread.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "platform/band_queue.hpp"
#include "platform/device3d.hpp"
#include "platform/draw_threads.hpp"

using namespace platform;

namespace {

std::atomic<std::thread::id> g_game;
std::atomic<uint32_t> g_halts{0};

// Holds a drawing thread up for a fraction of a millisecond at one hand-off point in
// twenty: long enough for the game thread to go on with a frame or two.
void HoldUp(bands::HaltAt) {
  if (std::this_thread::get_id() == g_game) return;
  const uint32_t n = g_halts.fetch_add(1, std::memory_order_relaxed) * 2654435761u;
  if (n % 20 == 0) std::this_thread::sleep_for(std::chrono::microseconds(100 + (n >> 16) % 400));
}

struct HookOn {
  int32_t before = DrawThreads();
  HookOn() {
    g_game = std::this_thread::get_id();
    bands::SetHaltHook(HoldUp);
  }
  ~HookOn() {
    bands::SetHaltHook(nullptr);
    SetDrawThreads(before);
  }
};

// Two surfaces of other heights (so other bands), each with its device.
struct Ziel {
  SurfacePtr s;
  Device3DPtr d;
};

std::vector<uint32_t> Pixel(const Surface& s) {
  std::vector<uint32_t> px;
  px.reserve(static_cast<size_t>(s.Width()) * static_cast<size_t>(s.Height()));
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) px.push_back(s.GetPixel(x, y));
  return px;
}

// Draws `frames` frames of the scene of `seed`, with `threads` and `other` threads in turn
// (both 1 for the reference), and returns the pixels of both surfaces.
std::vector<uint32_t> Male(uint32_t seed, int32_t threads, int32_t other, int frames) {
  std::mt19937 rnd(seed);
  auto zahl = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
  Ziel ziele[2];
  const int hoehe[2] = {600, 456};
  for (int i = 0; i < 2; ++i) {
    ziele[i].s = Surface::Create(800, hoehe[i], PixelFormat::XRGB8888);
    ziele[i].s->BltColorFill(nullptr, 0x203040);
    ziele[i].d = Device3D::Create(ziele[i].s);
    ziele[i].d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    ziele[i].d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    ziele[i].d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    ziele[i].d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  }
  for (int f = 0; f < frames; ++f) {
    if (zahl(0, 3) == 0) SetDrawThreads(zahl(0, 1) ? threads : other);
    Ziel& z = ziele[zahl(0, 4) == 0 ? 1 : 0];
    Surface& s = *z.s;
    z.d->BeginScene();
    for (int k = zahl(1, 6); k > 0; --k) {
      const bool gross = zahl(0, 5) == 0;
      const int w = gross ? zahl(200, 800) : zahl(4, 60), h = gross ? zahl(100, 400) : zahl(2, 40);
      const int x = zahl(-20, s.Width() - w / 2), y = zahl(-20, s.Height() - h / 2);
      switch (zahl(0, 2)) {
        case 0: {
          const BltFx fx{DSTINVERT, 0};
          const Rect r{x, y, x + w, y + h};
          s.Blt(&r, nullptr, nullptr, DDBLT_ROP, &fx);
          break;
        }
        case 1: {
          const uint32_t farbe = 0xFF000000u | (rnd() & 0x1F1F1Fu);
          TLVertex v[4];
          for (int i = 0; i < 4; ++i)
            v[i] = TLVertex{static_cast<float>(i < 2 ? x : x + w), static_cast<float>(i % 2 == 0 ? y + h : y),
                            0, 1, farbe, 0, 0, 0};
          z.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
          break;
        }
        default:
          (void)s.GetPixel(zahl(0, s.Width() - 1), zahl(0, s.Height() - 1));  // waits for the pixels
      }
    }
    z.d->EndScene();
  }
  std::vector<uint32_t> px = Pixel(*ziele[0].s), unten = Pixel(*ziele[1].s);
  px.insert(px.end(), unten.begin(), unten.end());
  return px;
}

class BandsHandOff : public ::testing::TestWithParam<int32_t> {};

// Under the sanitizers, which see a race at its first hold-up, fewer frames.
#if defined(__SANITIZE_THREAD__) || defined(HARVO_ADDRESS_SANITIZER)
constexpr uint32_t kSzenen = 1;
constexpr int kBilder = 500;
#else
constexpr uint32_t kSzenen = 3;
constexpr int kBilder = 1500;
#endif

// Holds the first drawing thread that takes a band up there until the game thread has
// forked, or for a fifth of a second when the fork waits for it.
std::atomic<int> g_toHold{0};
std::atomic<bool> g_holding{false}, g_forked{false};
void HoldTaking(bands::HaltAt where) {
  if (where != bands::HaltAt::Taken || std::this_thread::get_id() == g_game || g_toHold.fetch_sub(1) <= 0) return;
  g_holding = true;
  for (int i = 0; i < 200 && !g_forked; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Quads enough that batches are handed over as they are drawn (about two hundred a batch).
void Zeichne(Device3D& d, int x0, int quads) {
  d.BeginScene();
  for (int i = 0; i < quads; ++i) {
    const float x = static_cast<float>(x0 + i % 37 * 20), y = static_cast<float>(i / 37 % 16 * 36);
    TLVertex v[4];
    for (int k = 0; k < 4; ++k)
      v[k] = TLVertex{k < 2 ? x : x + 30, k % 2 == 0 ? y + 40 : y, 0, 1, 0xFF0F0703u, 0, 0, 0};
    d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  }
}

}  // namespace

TEST_P(BandsHandOff, ThreadsHeldUpDrawEveryBatchOnceInTheirBand) {
  const int32_t threads = GetParam(), other = threads > 2 ? threads / 2 : 3;
  HookOn hook;
  for (uint32_t seed = 1; seed <= kSzenen; ++seed) {
    const std::vector<uint32_t> mehrere = Male(seed, threads, other, kBilder);
    SetDrawThreads(1);
    const std::vector<uint32_t> referenz = Male(seed, 1, 1, kBilder);
    ASSERT_EQ(referenz.size(), mehrere.size());
    size_t anders = 0;
    for (size_t i = 0; i < referenz.size(); ++i) anders += referenz[i] != mehrere[i];
    EXPECT_EQ(anders, 0u) << "seed " << seed << ": pixels that differ from one thread's";
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, BandsHandOff, ::testing::Values(2, 8, 32));

// A fork while drawing threads hold bands: what is on its way is drawn first, and the child
// draws on alone with its pictures whole (it does not wait for ever for a band a thread of
// its parent held).
TEST(BandsHandOff, AChildForkedWhileBandsAreHeldDrawsOn) {
  HookOn hook;
  // The picture drawn with `threads` threads; with `gabel`, a fork while a drawing thread
  // holds a band: the pid of the child (0 in the child, -1 without a fork)
  // and, but in the parent, the pixels.
  auto bild = [](int32_t threads, bool gabel) {
    SetDrawThreads(threads);
    SurfacePtr s = Surface::Create(800, 600, PixelFormat::XRGB8888);
    Device3DPtr d = Device3D::Create(s);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    Zeichne(*d, 0, 2000);
    if (gabel) {
      g_toHold = 1;
      g_holding = g_forked = false;
      bands::SetHaltHook(HoldTaking);
    }
    Zeichne(*d, 7, 400);  // two batches handed over, not so many that the ring is full
    while (gabel && !g_holding) std::this_thread::yield();
    const pid_t kind = gabel ? fork() : -1;
    g_forked = true;
    bands::SetHaltHook(nullptr);
    if (kind > 0) return std::make_pair(kind, std::vector<uint32_t>());
    if (kind == 0) alarm(10);
    Zeichne(*d, 3, 2000);
    d->EndScene();
    return std::make_pair(kind, Pixel(*s));
  };
  const std::vector<uint32_t> eins = bild(1, false).second;
  auto [kind, px] = bild(8, true);
  if (kind == 0) _exit(px == eins ? 0 : 1);
  ASSERT_GT(kind, 0);
  int status = 0;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << (WIFSIGNALED(status) ? "the child hung (ended by its alarm)" : "the child's picture differs");
}
