#include "engine/edges.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/surfaces.hpp"
#include "platform/bmp.hpp"
#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/program_state.hpp"

namespace {


int32_t Lies32(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
                              (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24));
}

void Schreib32(std::vector<uint8_t>& d, int32_t v) {
  for (int i = 0; i < 4; ++i) d.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

struct Profil {
  int32_t W = 0, H = 0;
  std::vector<int32_t> links, rechts;  // 0..H
};

// The cache, when it is whole and made for a picture of the entry's size. Each row must
// be empty (-1, -1) or lie within the picture, and the rows within its height.
bool LiesCache(const std::string& pfad, const SurfaceInfo& e, Profil& p, int32_t& erste, int32_t& letzte) {
  std::vector<uint8_t> d;
  if (!platform::fs::ReadAll(pfad, d) || d.size() < 16) return false;
  const int32_t W = Lies32(d, 0), H = Lies32(d, 4);
  if (W != e.Width || H != e.Height || H < 0 || static_cast<int64_t>(d.size()) != RänderDateiGroesse(H)) return false;
  const int32_t e1 = Lies32(d, 8), l1 = Lies32(d, 12);
  if (e1 < 0 || e1 > H || l1 < 0 || l1 > H) return false;
  p.W = W;
  p.H = H;
  p.links.resize(static_cast<size_t>(H) + 1);
  p.rechts.resize(static_cast<size_t>(H) + 1);
  for (int32_t i = 0; i <= H; ++i) {
    int32_t l = Lies32(d, 16 + 8 * static_cast<size_t>(i)), r = Lies32(d, 20 + 8 * static_cast<size_t>(i));
    bool leer = l == -1 && r == -1;
    if (!leer && !(l >= 0 && l <= r && r < W)) return false;
    p.links[i] = l;
    p.rechts[i] = r;
  }
  erste = e1;
  letzte = l1;
  return true;
}

// Scans the picture file: opaque is what the colour key does not hide.
bool Scanne(const std::string& pfad, Profil& p) {
  const platform::PixelFormat format = AnzeigeFormat();
  platform::SurfacePtr bild = platform::LoadBmp(pfad, format);
  if (!bild) return false;
  p.W = bild->Width();
  p.H = bild->Height();
  // Row H lies just below the picture and is always empty.
  p.links.assign(static_cast<size_t>(p.H) + 1, -1);
  p.rechts.assign(static_cast<size_t>(p.H) + 1, -1);
  const uint32_t mask = platform::ValueMask(format);
  for (int32_t y = 0; y < p.H; ++y) {
    int32_t erste = -1, letzte = -1;
    for (int32_t x = 0; x < p.W; ++x) {
      if ((bild->GetPixel(x, y) & mask) != 0) {
        if (erste < 0) erste = x;
        letzte = x;
      }
    }
    p.links[y] = erste;
    p.rechts[y] = letzte;
  }
  return true;
}

void SchreibCache(const std::string& cache, const Profil& p, int32_t erste, int32_t letzte) {
  const std::string ordner = GrafikPfad + LevelName + "\\";
  if (!platform::fs::DirExists(ordner)) return;
  const size_t schnitt = cache.find_last_of("\\/");
  const std::string ziel = ordner + (schnitt == std::string::npos ? cache : cache.substr(schnitt + 1));
  if (platform::fs::FileExists(ziel)) platform::fs::DeleteFile(ziel);
  std::vector<uint8_t> d;
  d.reserve(static_cast<size_t>(RänderDateiGroesse(p.H)));
  Schreib32(d, p.W);
  Schreib32(d, p.H);
  Schreib32(d, erste);
  Schreib32(d, letzte);
  for (int32_t i = 0; i <= p.H; ++i) {
    Schreib32(d, p.links[i]);
    Schreib32(d, p.rechts[i]);
  }
  if (!platform::fs::WriteAll(ziel, d.data(), d.size())) DebugLogWennAn("Konnte nicht schreiben: " + ziel);
}

}  // namespace

bool LadeRänder(int32_t SNR) {
  if (!SurfaceGueltig(SNR, "LadeR\xE4nder")) return false;
  SurfaceInfo& e = Surfaces[SNR];
  const std::string cache = (e.Name.size() >= 4 ? e.Name.substr(0, e.Name.size() - 4) : e.Name) + ".r";

  Profil p;
  int32_t erste = e.ErsteZeile, letzte = e.LetzteZeile;
  bool gelesen = platform::fs::FileExists(cache) && LiesCache(cache, e, p, erste, letzte);
  bool ok = true;
  if (!gelesen) {
    ok = Scanne(e.Name, p);
    if (ok) {
      auto opak = [&](int32_t y) { return p.links[y] > -1; };
      for (int32_t y = 0; y <= p.H; ++y)
        if (opak(y)) {
          erste = y;
          break;
        }
      for (int32_t y = p.H; y >= 0; --y)
        if (opak(y)) {
          letzte = y;
          break;
        }
      SchreibCache(cache, p, erste, letzte);
    } else {
      DebugLogWennAn("LadeR\xE4nder: " + e.Name + " nicht lesbar");
    }
  }

  // The profile covers at least the entry's rows, whatever size the file had: the
  // readers walk it up to the entry's height.
  const size_t zeilen = static_cast<size_t>(std::max<int32_t>(p.H, e.Height)) + 1;
  p.links.resize(zeilen, -1);
  p.rechts.resize(zeilen, -1);
  e.RandLinks = std::move(p.links);
  e.RandRechts = std::move(p.rechts);
  e.ErsteZeile = erste;
  e.LetzteZeile = letzte;

  if (e.SrcRect.Top > e.ErsteZeile) e.ErsteZeile = e.SrcRect.Top;
  if (e.SrcRect.Bottom < e.LetzteZeile) e.LetzteZeile = e.SrcRect.Bottom;

  e.RandMinX = 10000;
  e.RandMaxX = 0;
  for (int32_t y = 0; y <= e.Height; ++y) {
    if (e.RandLinks[y] > -1 && e.RandLinks[y] < e.RandMinX) e.RandMinX = e.RandLinks[y];
    if (e.RandRechts[y] > e.RandMaxX) e.RandMaxX = e.RandRechts[y];
  }
  if (e.RandMinX == 10000) {
    e.RandMinX = 0;
    e.RandMaxX = 1;
  }
  return ok;
}
