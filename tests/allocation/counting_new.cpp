#include "counting_new.hpp"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

thread_local bool t_counting = false;
thread_local int64_t t_count = 0;

// The bytes held, kept only while a peak is measured.
std::atomic<bool> g_bytes{false};
std::atomic<int64_t> g_held{0};
std::atomic<int64_t> g_peak{0};

void* Held(void* p) {
  if (g_bytes.load(std::memory_order_relaxed)) {
    const int64_t now = g_held += static_cast<int64_t>(malloc_usable_size(p));
    int64_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
  }
  return p;
}

void Free(void* p) {
  if (p && g_bytes.load(std::memory_order_relaxed)) g_held -= static_cast<int64_t>(malloc_usable_size(p));
  std::free(p);
}

void* Allocate(std::size_t n) {
  if (t_counting) ++t_count;
  if (void* p = std::malloc(n ? n : 1)) return Held(p);
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t n, std::align_val_t al) {
  if (t_counting) ++t_count;
  const std::size_t a = static_cast<std::size_t>(al);
  // aligned_alloc wants a size that is a whole multiple of the alignment.
  const std::size_t size = n ? (n + a - 1) / a * a : a;
  if (void* p = std::aligned_alloc(a, size)) return Held(p);
  throw std::bad_alloc();
}

// Runs `body` with `schalter` on, and off again however it ends.
template <class Schalter>
void Mit(Schalter& schalter, const std::function<void()>& body) {
  schalter = true;
  try {
    body();
  } catch (...) {
    schalter = false;
    throw;
  }
  schalter = false;
}

}  // namespace

namespace alloccount {

int64_t AllocationsDuring(const std::function<void()>& body) {
  t_count = 0;
  Mit(t_counting, body);
  return t_count;
}

int64_t CountSoFar() { return t_count; }

int64_t PeakBytesDuring(const std::function<void()>& body) {
  g_held = 0;
  g_peak = 0;
  Mit(g_bytes, body);
  return g_peak;
}

}  // namespace alloccount

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  try {
    return Allocate(n);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void* operator new(std::size_t n, std::align_val_t a) { return AllocateAligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return AllocateAligned(n, a); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(n, a);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t& t) noexcept {
  return operator new(n, a, t);
}

void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete(void* p, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Free(p); }
