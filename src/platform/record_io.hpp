#pragma once
// What the game's own stored records (checkpoints, save games) need beyond the byte reader
// and writer: dynamic array fields with their descriptors, bounds that a record stores but
// the game keeps as a list's size, and the smallest size of a record in the bytes.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bytes.hpp"

namespace platform {

// The byte reader and writer. A few level records have two field functions: one in their
// own order for checkpoints (over these IOs) and one in the level file's order (over the
// level file's IOs); this keeps the two apart.
template <class IO>
concept RecordIO = std::same_as<IO, ByteReader> || std::same_as<IO, ByteWriter>;

// A dynamic array field: its descriptor, then its elements, each through `element(io, e)`.
// The descriptor is an Integer count of dimensions, then per dimension a Long element
// count and a Long lower bound; an empty array is an unallocated one, with no dimensions.
// A reader takes one dimension from 0 of at most `grenze` elements, each at least
// `minBytes` of the bytes left, before it makes room for them; anything else fails it and
// empties `v`. Room the vector already has is kept.
template <class IO, class T, class Element>
void DynamischesFeld(IO& io, std::vector<T>& v, size_t minBytes, int64_t grenze, Element element) {
  if constexpr (IO::kReads) {
    int16_t dimensionen = 0;
    io.Int16(dimensionen);
    if (!io.Ok()) return;
    if (dimensionen == 0) {
      v.clear();
      return;
    }
    int32_t anzahl = 0, untergrenze = -1;
    io.Int32(anzahl);
    io.Int32(untergrenze);
    if (!io.Ok() || dimensionen != 1 || untergrenze != 0 || anzahl < 1 || anzahl > grenze ||
        !io.Sized(v, anzahl, minBytes)) {
      io.Fail();
      v.clear();
      return;
    }
  } else {
    if (v.empty()) {
      io.Int16(int16_t{0});
      return;
    }
    io.Int16(int16_t{1});
    io.Int32(static_cast<int32_t>(v.size()));
    io.Int32(int32_t{0});
  }
  for (T& e : v) {
    if (!io.Ok()) return;
    element(io, e);
  }
}

// A bound the record stores beside its list (the highest index) while the game takes it
// from the list's size: written from `ubound`; a read one must agree with the list read.
template <class IO>
void ListenSchranke(IO& io, int32_t ubound) {
  int32_t gespeichert = ubound;
  io.Int32(gespeichert);
  if constexpr (IO::kReads)
    if (gespeichert != ubound) io.Fail();
}

// The fewest bytes a record of type T takes: a blank one written (its lists and texts
// empty), measured once.
template <class T>
size_t Mindestgroesse() {
  static const size_t n = [] {
    std::vector<uint8_t> bytes;
    ByteWriter w(bytes);
    T blank{};
    Felder(w, blank);
    return bytes.size();
  }();
  return n;
}

}  // namespace platform
