#pragma once
// Reading and writing the little-endian binary files of the game: pictures, sounds,
// archives, the configuration, edge caches, and later levels, saves and high scores.
//
// ByteReader works over bytes held in memory and never reads past them: every read is
// checked against the bytes left, and the first one that does not fit sets a failure
// flag that stays set. A failed read yields zero (or an empty text), so a decoder can
// read a whole header and test Ok() once.
//
// ByteWriter appends to a byte vector. Both offer the same member names taking
// references, so that one function per record lists its fields once and serves both
// directions:
//
//   template <class IO> void Felder(IO& io, Record& r) {
//     io.Int32(r.Count);
//     io.Bool16(r.On);
//     io.Text(r.Name);
//   }
//
// The reader fills the fields (a field is left as it was when its read fails), the
// writer stores them.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class ByteReader {
 public:
  static constexpr bool kReads = true;

  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }
  size_t Pos() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - pos_; }

  bool Skip(size_t n) { return Take(n) != nullptr; }
  // Moves to an absolute position; one beyond the end fails.
  bool Seek(size_t pos) {
    if (!ok_ || pos > size_) return Failed();
    pos_ = pos;
    return true;
  }

  uint8_t UInt8() { return static_cast<uint8_t>(Little(1)); }
  uint16_t UInt16() { return static_cast<uint16_t>(Little(2)); }
  int16_t Int16() { return static_cast<int16_t>(UInt16()); }
  uint32_t UInt32() { return static_cast<uint32_t>(Little(4)); }
  int32_t Int32() { return static_cast<int32_t>(UInt32()); }
  uint64_t UInt64() { return Little(8); }
  float Single() { return std::bit_cast<float>(UInt32()); }
  double Double() { return std::bit_cast<double>(UInt64()); }
  // A stored Boolean: 16 bits, anything but 0 counts as True.
  bool Bool16() { return Int16() != 0; }
  // `n` bytes as they are (a fixed-length text keeps its padding).
  std::string FixedText(size_t n) {
    const uint8_t* p = Take(n);
    return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
  }
  // A variable-length text: a 16-bit length, then that many bytes.
  std::string Text() {
    const size_t n = UInt16();
    return FixedText(n);
  }
  // The next `n` bytes, without copying them; empty on failure.
  std::span<const uint8_t> Block(size_t n) {
    const uint8_t* p = Take(n);
    return p ? std::span<const uint8_t>(p, n) : std::span<const uint8_t>();
  }
  // A reader over the next `n` bytes (a chunk, a record); it fails at once when they are
  // not there.
  ByteReader Sub(size_t n) {
    ByteReader sub(Block(n));
    sub.ok_ = ok_;
    return sub;
  }

  // The reference forms, for field functions.
  void UInt8(uint8_t& v) { Keep(v, UInt8()); }
  void UInt16(uint16_t& v) { Keep(v, UInt16()); }
  void Int16(int16_t& v) { Keep(v, Int16()); }
  void UInt32(uint32_t& v) { Keep(v, UInt32()); }
  void Int32(int32_t& v) { Keep(v, Int32()); }
  void UInt64(uint64_t& v) { Keep(v, UInt64()); }
  void Single(float& v) { Keep(v, Single()); }
  void Double(double& v) { Keep(v, Double()); }
  void Bool16(bool& v) { Keep(v, Bool16()); }
  void FixedText(std::string& v, size_t n, char /*pad*/ = ' ') { Keep(v, FixedText(n)); }
  void Text(std::string& v) { Keep(v, Text()); }
  void Bytes(std::vector<uint8_t>& v, size_t n) {
    std::span<const uint8_t> b = Block(n);
    if (ok_) v.assign(b.begin(), b.end());
  }
  void Bytes(std::span<const uint8_t>& v, size_t n) { Keep(v, Block(n)); }

  // Makes `v` hold `count` elements of at least `minBytes` bytes each in the file, when
  // the bytes left can hold them; otherwise fails (and empties `v`). So a damaged count
  // never makes a large allocation.
  template <class T>
  bool Sized(std::vector<T>& v, int64_t count, size_t minBytes) {
    if (minBytes == 0) minBytes = 1;
    if (!ok_ || count < 0 || static_cast<uint64_t>(count) > Remaining() / minBytes) {
      v.clear();
      return Failed();
    }
    v.resize(static_cast<size_t>(count));
    return true;
  }

 private:
  bool Failed() {
    ok_ = false;
    return false;
  }
  // The next `n` bytes, or nullptr (and the failure) when they are not all there.
  const uint8_t* Take(size_t n) {
    static constexpr uint8_t kNothing = 0;
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* p = n ? data_ + pos_ : &kNothing;
    pos_ += n;
    return p;
  }
  uint64_t Little(size_t n) {
    const uint8_t* p = Take(n);
    uint64_t v = 0;
    if (p)
      for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
  }
  template <class T, class U>
  void Keep(T& target, U&& value) {
    if (ok_) target = std::forward<U>(value);
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  static constexpr bool kReads = false;

  explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

  // False once a value did not fit its field (a text too long for its length).
  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }
  size_t Pos() const { return out_.size(); }

  void UInt8(const uint8_t& v) { Little(v, 1); }
  void UInt16(const uint16_t& v) { Little(v, 2); }
  void Int16(const int16_t& v) { Little(static_cast<uint16_t>(v), 2); }
  void UInt32(const uint32_t& v) { Little(v, 4); }
  void Int32(const int32_t& v) { Little(static_cast<uint32_t>(v), 4); }
  void UInt64(const uint64_t& v) { Little(v, 8); }
  void Single(const float& v) { Little(std::bit_cast<uint32_t>(v), 4); }
  void Double(const double& v) { Little(std::bit_cast<uint64_t>(v), 8); }
  // True as -1, False as 0, in 16 bits.
  void Bool16(const bool& v) { Int16(static_cast<int16_t>(v ? -1 : 0)); }
  // Exactly `n` bytes: a longer text is cut, a shorter one padded with `pad`.
  void FixedText(const std::string& v, size_t n, char pad = ' ') {
    for (size_t i = 0; i < n; ++i) out_.push_back(static_cast<uint8_t>(i < v.size() ? v[i] : pad));
  }
  // A 16-bit length and the bytes; a text too long for it is cut and fails the writer.
  void Text(const std::string& v) {
    size_t n = v.size();
    if (n > 0xFFFF) {
      n = 0xFFFF;
      ok_ = false;
    }
    UInt16(static_cast<uint16_t>(n));
    FixedText(v, n);
  }
  // Exactly `n` bytes of `v`; a block of another length fails the writer (and is cut or
  // padded with zeros).
  void Bytes(const std::vector<uint8_t>& v, size_t n) { Bytes(std::span<const uint8_t>(v), n); }
  void Bytes(const std::span<const uint8_t>& v, size_t n) {
    if (v.size() != n) ok_ = false;
    Raw(v.first(std::min(n, v.size())));
    Zeros(n - std::min(n, v.size()));
  }
  void Raw(std::span<const uint8_t> v) { out_.insert(out_.end(), v.begin(), v.end()); }
  void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }

  template <class T>
  bool Sized(std::vector<T>& v, int64_t count, size_t /*minBytes*/) {
    if (count < 0 || static_cast<uint64_t>(count) != v.size()) ok_ = false;
    return true;
  }

 private:
  void Little(uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }

  std::vector<uint8_t>& out_;
  bool ok_ = true;
};

}  // namespace platform
