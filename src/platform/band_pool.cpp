// The drawing threads. A job is a list of bands that any thread may take, one at a time,
// from a shared counter; the asking thread takes bands too and then waits for the rest.
//
// A thread that wakes late may find the job it was woken for already over, or a newer one
// being set up. So the job's description is written only while no thread is inside a
// job: a thread announces itself (`inside_`), then looks whether the job is open, and
// reads the description only when it is; the asking thread closes the job and waits until
// nobody is inside before it writes the next one. Both sides use sequentially consistent
// operations, so of the announcement and the closing one is seen by the other.
#include "platform/band_pool.hpp"

#include <pthread.h>

#include <atomic>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace platform::bands {
namespace {

inline void Pause() {
#if defined(__x86_64__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

// A frame often asks for its next job within a few microseconds: a thread that has drawn
// its bands looks for one that long before it sleeps (a few microseconds of pauses).
constexpr int kSpins = 256;
// The asking thread waits for the last bands without sleeping, but lets others run when
// the wait grows long (more threads than processors).
constexpr int kSpinsBeforeYield = 4096;

class Pool {
 public:
  void Run(int32_t threads, int32_t count, BandFn fn, void* context) {
    const int32_t helpers = Grow(threads - 1);
    if (helpers == 0) {
      for (int32_t b = 0; b < count; ++b) fn(context, b);
      return;
    }
    fn_ = fn;
    context_ = context;
    count_ = count;
    helpers_ = helpers;
    next_.store(0, std::memory_order_relaxed);
    done_.store(0, std::memory_order_relaxed);
    open_.store(true);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    DrawBands();
    for (int spins = 0; done_.load(std::memory_order_acquire) < count; ++spins) Wait(spins);
    open_.store(false);
    for (int spins = 0; inside_.load() != 0; ++spins) Wait(spins);
  }

  void Start(int32_t workers) { Grow(workers); }

  // In the child of a fork only the forking thread lives on: the pool starts afresh. The
  // old thread objects are dropped unseen (destroying them would end the program).
  void AfterFork() {
    threads_ = new std::vector<std::thread>;
    generation_.store(0);
    open_.store(false);
    inside_.store(0);
  }

 private:
  static void Wait(int spins) {
    if (spins < kSpinsBeforeYield)
      Pause();
    else
      std::this_thread::yield();
  }

  // Starts workers until there are `workers`; how many there are (fewer when the system
  // refuses a thread).
  int32_t Grow(int32_t workers) {
    try {
      while (static_cast<int32_t>(threads_->size()) < workers) {
        const int32_t index = static_cast<int32_t>(threads_->size());
        threads_->emplace_back([this, index] { Work(index); });
        pthread_setname_np(threads_->back().native_handle(), "harvo-draw");
      }
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    const int32_t have = static_cast<int32_t>(threads_->size());
    return workers < have ? workers : have;
  }

  void DrawBands() {
    for (int32_t b; (b = next_.fetch_add(1, std::memory_order_relaxed)) < count_;) {
      fn_(context_, b);
      done_.fetch_add(1, std::memory_order_release);
    }
  }

  void Work(int32_t index) {
    uint32_t seen = generation_.load(std::memory_order_acquire);
    for (;;) {
      uint32_t now;
      for (int spins = 0; (now = generation_.load(std::memory_order_acquire)) == seen; ++spins) {
        if (spins < kSpins)
          Pause();
        else
          generation_.wait(seen, std::memory_order_acquire);
      }
      seen = now;
      inside_.fetch_add(1);
      if (open_.load() && index < helpers_) DrawBands();
      inside_.fetch_sub(1);
    }
  }

  // Never destroyed: the threads sleep on until the process ends.
  std::vector<std::thread>* threads_ = new std::vector<std::thread>;
  // The job: written only while it is closed and nobody is inside.
  BandFn fn_ = nullptr;
  void* context_ = nullptr;
  int32_t count_ = 0;
  int32_t helpers_ = 0;  // workers 0 .. helpers_ - 1 take part
  std::atomic<uint32_t> generation_{0};
  std::atomic<bool> open_{false};
  std::atomic<int32_t> inside_{0};
  std::atomic<int32_t> next_{0};
  std::atomic<int32_t> done_{0};
};

Pool* g_pool = nullptr;

void ChildAfterFork() {
  if (g_pool) g_pool->AfterFork();
}

Pool& ThePool() {
  if (!g_pool) {
    g_pool = new Pool;  // lives as long as the process
    pthread_atfork(nullptr, nullptr, ChildAfterFork);
  }
  return *g_pool;
}

}  // namespace

void StartThreads(int32_t threads) {
  if (threads > 1) ThePool().Start(threads - 1);
}

void RunBands(int32_t threads, int32_t count, BandFn fn, void* context) {
  if (threads <= 1 || count <= 1) {
    for (int32_t b = 0; b < count; ++b) fn(context, b);
    return;
  }
  ThePool().Run(threads < count ? threads : count, count, fn, context);
}

}  // namespace platform::bands
