// The byte reader and writer: a record's fields against bytes spelt out by hand, the
// failure flag, and counts and lengths that the bytes cannot hold.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/bytes.hpp"

using platform::ByteReader;
using platform::ByteWriter;

namespace {

// A record with every kind of field the game's files hold.
struct Probe {
  uint8_t b = 0;
  int16_t i = 0;
  uint16_t u = 0;
  int32_t l = 0;
  uint32_t ul = 0;
  float f = 0;
  double d = 0;
  bool wahr = false, falsch = true;
  std::string fest, text;
  std::vector<int32_t> liste;
  std::vector<uint8_t> roh;
};

template <class IO>
void Felder(IO& io, Probe& p) {
  io.UInt8(p.b);
  io.Int16(p.i);
  io.UInt16(p.u);
  io.Int32(p.l);
  io.UInt32(p.ul);
  io.Single(p.f);
  io.Double(p.d);
  io.Bool16(p.wahr);
  io.Bool16(p.falsch);
  io.FixedText(p.fest, 5);
  io.Text(p.text);
  int32_t n = static_cast<int32_t>(p.liste.size());
  io.Int32(n);
  if (io.Sized(p.liste, n, 4))
    for (int32_t& v : p.liste) io.Int32(v);
  io.Bytes(p.roh, 3);
}

// The record above as its bytes, from the layout rules: little-endian, Booleans -1/0 in
// 16 bits, IEEE singles and doubles, a counted text's length in 16 bits.
const std::vector<uint8_t> kBytes = {
    0xAB,                                            // UInt8
    0xFE, 0xFF,                                      // Int16 -2
    0x34, 0x12,                                      // UInt16 0x1234
    0x78, 0x56, 0x34, 0x12,                          // Int32 0x12345678
    0xFF, 0xFF, 0xFF, 0xFF,                          // UInt32 0xFFFFFFFF
    0x00, 0x00, 0xC0, 0x3F,                          // Single 1.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0,  // Double -2.5
    0xFF, 0xFF,                                      // True
    0x00, 0x00,                                      // False
    'a', 'b', ' ', ' ', ' ',                         // fixed text of 5, padded with blanks
    0x03, 0x00, 'x', 'y', 'z',                       // counted text
    0x02, 0x00, 0x00, 0x00,                          // two list elements
    0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F,  // 1, 0x7FFFFFFF
    0x07, 0x08, 0x09,                                // raw bytes
};

Probe Beispiel() {
  Probe p;
  p.b = 0xAB;
  p.i = -2;
  p.u = 0x1234;
  p.l = 0x12345678;
  p.ul = 0xFFFFFFFFu;
  p.f = 1.5f;
  p.d = -2.5;
  p.wahr = true;
  p.falsch = false;
  p.fest = "ab";
  p.text = "xyz";
  p.liste = {1, 0x7FFFFFFF};
  p.roh = {7, 8, 9};
  return p;
}

}  // namespace

TEST(Bytes, OneFieldFunctionWritesAndReadsTheLayout) {
  std::vector<uint8_t> out = {0x99};  // the writer appends
  ByteWriter w(out);
  Probe p = Beispiel();
  Felder(w, p);
  EXPECT_TRUE(w.Ok());
  EXPECT_EQ(out[0], 0x99);
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + 1, out.end()), kBytes);

  ByteReader r(kBytes);
  Probe q;
  Felder(r, q);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_EQ(q.b, 0xAB);
  EXPECT_EQ(q.i, -2);
  EXPECT_EQ(q.u, 0x1234);
  EXPECT_EQ(q.l, 0x12345678);
  EXPECT_EQ(q.ul, 0xFFFFFFFFu);
  EXPECT_EQ(q.f, 1.5f);
  EXPECT_EQ(q.d, -2.5);
  EXPECT_TRUE(q.wahr);
  EXPECT_FALSE(q.falsch);
  EXPECT_EQ(q.fest, "ab   ");  // a fixed-length text keeps its padding
  EXPECT_EQ(q.text, "xyz");
  EXPECT_EQ(q.liste, (std::vector<int32_t>{1, 0x7FFFFFFF}));
  EXPECT_EQ(q.roh, (std::vector<uint8_t>{7, 8, 9}));
}

TEST(Bytes, EveryCutFailsAndLeavesTheRestOfTheRecordAlone) {
  // Cut anywhere, the read fails; fields from the cut on keep what they held.
  for (size_t n = 0; n < kBytes.size(); ++n) {
    ByteReader r(kBytes.data(), n);
    Probe q;
    q.text = "before";
    q.roh = {1};
    Felder(r, q);
    EXPECT_FALSE(r.Ok()) << n;
    if (n < 39) {
      EXPECT_EQ(q.text, "before") << n;  // the counted text ends at byte 39
    }
    EXPECT_EQ(q.roh, std::vector<uint8_t>{1}) << n;
  }
}

TEST(Bytes, AFailedReadYieldsZeroAndTheFlagStays) {
  const std::vector<uint8_t> d = {1, 2, 3, 4, 5};
  ByteReader r(d);
  EXPECT_EQ(r.UInt16(), 0x0201);
  EXPECT_EQ(r.UInt32(), 0u);  // three bytes left
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.Pos(), 2u);     // a failed read moves nothing
  EXPECT_EQ(r.UInt8(), 0);    // though a byte is there, the flag stays
  EXPECT_EQ(r.FixedText(1), "");
  EXPECT_TRUE(r.Block(0).empty());
  int32_t bleibt = 42;
  r.Int32(bleibt);
  EXPECT_EQ(bleibt, 42);

  struct Fall {
    const char* was;
    std::vector<uint8_t> bytes;
    std::function<void(ByteReader&)> lies;
  } faelle[] = {
      {"text longer than the bytes", {5, 0, 'a', 'b'}, [](ByteReader& x) { EXPECT_EQ(x.Text(), ""); }},
      {"single from three bytes", {0, 0, 0x80}, [](ByteReader& x) { EXPECT_EQ(x.Single(), 0.0f); }},
      {"double from seven bytes", std::vector<uint8_t>(7, 0xFF), [](ByteReader& x) { EXPECT_EQ(x.Double(), 0.0); }},
      {"skip beyond the end", {1, 2}, [](ByteReader& x) { EXPECT_FALSE(x.Skip(3)); }},
      {"seek beyond the end", {1, 2}, [](ByteReader& x) { EXPECT_FALSE(x.Seek(3)); }},
      {"sub-reader beyond the end", {1, 2, 3},
       [](ByteReader& x) {
         ByteReader sub = x.Sub(4);
         EXPECT_FALSE(sub.Ok());
         EXPECT_EQ(sub.UInt8(), 0);
       }},
      {"count of huge lists", {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4},
       [](ByteReader& x) {
         std::vector<double> v(3);
         EXPECT_FALSE(x.Sized(v, x.Int32(), 8));
         EXPECT_TRUE(v.empty());
       }},
      {"negative count", {1, 2, 3, 4}, [](ByteReader& x) {
         std::vector<int> v;
         EXPECT_FALSE(x.Sized(v, -1, 4));
       }},
      {"null bytes", {}, [](ByteReader& x) { EXPECT_EQ(x.UInt8(), 0); }},
  };
  for (const Fall& f : faelle) {
    ByteReader x(f.bytes);
    f.lies(x);
    EXPECT_FALSE(x.Ok()) << f.was;
  }
  ByteReader leer(nullptr, 10);
  EXPECT_EQ(leer.Size(), 0u);
  EXPECT_TRUE(leer.Skip(0));
  EXPECT_FALSE(leer.Skip(1));
}

TEST(Bytes, PositionsAndSubReaders) {
  const std::vector<uint8_t> d = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 9, 8, 7, 6, 5};
  ByteReader r(d);
  EXPECT_EQ(r.FixedText(4), "RIFF");
  ByteReader chunk = r.Sub(r.UInt32());
  EXPECT_EQ(r.Pos(), 12u);
  EXPECT_EQ(r.Remaining(), 1u);
  EXPECT_EQ(chunk.Size(), 4u);
  EXPECT_EQ(chunk.UInt16(), 0x0809);
  EXPECT_EQ(chunk.UInt32(), 0u);  // the sub-reader ends with its chunk
  EXPECT_FALSE(chunk.Ok());
  EXPECT_TRUE(r.Ok());
  EXPECT_TRUE(r.Seek(0));
  EXPECT_EQ(r.UInt8(), 'R');
  EXPECT_TRUE(r.Seek(d.size()));
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Bytes, TheWriterCutsAndPadsAndSaysWhenAValueDidNotFit) {
  std::vector<uint8_t> out;
  ByteWriter w(out);
  w.FixedText("abcdef", 3);
  w.FixedText("a", 3, '\0');
  EXPECT_TRUE(w.Ok());
  EXPECT_EQ(out, (std::vector<uint8_t>{'a', 'b', 'c', 'a', 0, 0}));

  out.clear();
  w.Bytes(std::vector<uint8_t>{1, 2}, 3);  // one short: padded, and a failure
  EXPECT_FALSE(w.Ok());
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 0}));

  std::vector<uint8_t> lang;
  ByteWriter t(lang);
  t.Text(std::string(70000, 'x'));
  EXPECT_FALSE(t.Ok());
  EXPECT_EQ(lang.size(), 2u + 0xFFFF);
  EXPECT_EQ(lang[0], 0xFF);
  EXPECT_EQ(lang[1], 0xFF);

  std::vector<uint8_t> liste;
  ByteWriter l(liste);
  std::vector<int32_t> v = {1, 2};
  l.Sized(v, 3, 4);  // a count that is not the list's
  EXPECT_FALSE(l.Ok());
}
