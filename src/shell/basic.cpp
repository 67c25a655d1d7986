#include "shell/basic.hpp"

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {

double RoundHalfEven(double x) { return std::nearbyint(x); }  // default rounding mode: to even

uint32_t g_rnd = kRndStartState;

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  // Latin-1 letters: à..þ except ÷ map to À..Þ; ÿ and ß stay.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 16);  // š œ ž
  return c;
}

unsigned char LowerByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  return c;
}

}  // namespace

int32_t CLng(double x) {
  if (std::isnan(x)) return 0;
  double r = RoundHalfEven(x);
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

int16_t CInt(double x) {
  int32_t v = CLng(x);
  if (v > 32767) return 32767;
  if (v < -32768) return -32768;
  return static_cast<int16_t>(v);
}

int32_t IDiv(double a, double b) {
  int64_t x = CLng(a), y = CLng(b);
  if (y == 0) return 0;
  int64_t q = x / y;  // C++ truncates toward zero
  if (q > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(q);
}

int32_t Mod(double a, double b) {
  int64_t x = CLng(a), y = CLng(b);
  if (y == 0) return 0;
  return static_cast<int32_t>(x % y);  // the sign of the dividend
}

double Int(double x) { return std::floor(x); }

double Val(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  size_t end = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++expDigits;
    if (expDigits) end = j;
  }
  std::string number(s.substr(start, end - start));
  for (char& c : number)
    if (c == 'd' || c == 'D') c = 'e';
  return std::strtod(number.c_str(), nullptr);
}

const char* BoolText(bool b) { return b ? "True" : "False"; }

std::string UCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return out;
}

std::string LCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return out;
}

std::string TrimBlanks(std::string_view text) {
  size_t a = 0, b = text.size();
  while (a < b && text[a] == ' ') ++a;
  while (b > a && text[b - 1] == ' ') --b;
  return std::string(text.substr(a, b - a));
}

std::string UmlauteAusschreiben(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (static_cast<unsigned char>(c)) {
      case 252: out += "ue"; break;
      case 220: out += "Ue"; break;
      case 228: out += "ae"; break;
      case 196: out += "Ae"; break;
      case 246: out += "oe"; break;
      case 214: out += "Oe"; break;
      case 223: out += "ss"; break;
      default: out += c;
    }
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperByte(static_cast<unsigned char>(a[i])) != UpperByte(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

float Rnd() {
  g_rnd = (g_rnd * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<float>(g_rnd) / 16777216.0f;
}

void RndReset() {
  // The generator restarted from the bits of -1 as a single.
  uint32_t bits = std::bit_cast<uint32_t>(-1.0f);
  g_rnd = (bits + (bits >> 24)) & 0xFFFFFFu;
}

void Randomize(double seed) {
  uint64_t bits = std::bit_cast<uint64_t>(seed);
  uint32_t hi = static_cast<uint32_t>(bits >> 32);
  uint32_t mix = ((hi & 0xFFFFu) ^ (hi >> 16)) << 8;
  g_rnd = (g_rnd & 0xFFu) | (mix & 0xFFFF00u);
}

void RandomizeTimer() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::system_clock::now().time_since_epoch()).count() % 1000;
  float seconds = static_cast<float>(tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec) + static_cast<float>(ms) / 1000.0f;
  Randomize(seconds);
}

uint32_t RndState() { return g_rnd; }
void SetRndState(uint32_t state) { g_rnd = state & 0xFFFFFFu; }
