#include "engine/edges.hpp"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "engine/surfaces.hpp"
#include "platform/bmp.hpp"
#include "platform/bytes.hpp"
#include "platform/fs.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"

namespace {

// A profile as the ".r" cache holds it.
struct Profil {
  int32_t W = 0, H = 0;
  int32_t erste = 0, letzte = 0;       // first and last opaque row, before the clamping
  std::vector<int32_t> links, rechts;  // 0..H
};

template <class IO>
void Felder(IO& io, Profil& p) {
  io.Int32(p.W);
  io.Int32(p.H);
  io.Int32(p.erste);
  io.Int32(p.letzte);
  const int64_t zeilen = int64_t{p.H} + 1;
  if (!io.Sized(p.links, zeilen, 8) || !io.Sized(p.rechts, zeilen, 8)) return;
  for (size_t i = 0; i < p.links.size(); ++i) {
    io.Int32(p.links[i]);
    io.Int32(p.rechts[i]);
  }
}

// The cache, when it is whole and made for a picture of the entry's size. Each row must
// be empty (-1, -1) or lie within the picture, and the rows within its height.
bool LiesCache(std::span<const uint8_t> d, const SurfaceInfo& e, Profil& p) {
  platform::ByteReader in(d);
  Felder(in, p);
  if (!in.Ok() || in.Remaining() != 0 || p.W != e.Width || p.H != e.Height) return false;
  if (p.erste < 0 || p.erste > p.H || p.letzte < 0 || p.letzte > p.H) return false;
  for (int32_t i = 0; i <= p.H; ++i) {
    const int32_t l = p.links[i], r = p.rechts[i];
    const bool leer = l == -1 && r == -1;
    if (!leer && !(l >= 0 && l <= r && r < p.W)) return false;
  }
  return true;
}

// Scans the picture file in its own colours, whatever the display's depth: a pixel is
// opaque when it is not black. (Read through a 16-bit surface, near-black colours would
// turn black and the profile, and with it its cache, would depend on the depth of the run
// that made it.)
bool Scanne(const std::string& pfad, Profil& p) {
  platform::BmpImage bild;
  if (!platform::LoadBmpImage(pfad, bild)) return false;
  p.W = bild.width;
  p.H = bild.height;
  // Row H lies just below the picture and is always empty.
  p.links.assign(static_cast<size_t>(p.H) + 1, -1);
  p.rechts.assign(static_cast<size_t>(p.H) + 1, -1);
  const uint32_t* zeile = bild.argb.data();
  for (int32_t y = 0; y < p.H; ++y, zeile += p.W) {
    int32_t erste = -1, letzte = -1;
    for (int32_t x = 0; x < p.W; ++x) {
      if ((zeile[x] & 0xFFFFFFu) != 0) {
        if (erste < 0) erste = x;
        letzte = x;
      }
    }
    p.links[y] = erste;
    p.rechts[y] = letzte;
  }
  return true;
}

void SchreibCache(const std::string& cache, Profil& p) {
  const std::string ordner = GrafikPfad + LevelName + "\\";
  if (!platform::fs::DirExists(ordner)) return;
  const size_t schnitt = cache.find_last_of("\\/");
  const std::string ziel = ordner + (schnitt == std::string::npos ? cache : cache.substr(schnitt + 1));
  if (platform::fs::FileExists(ziel)) platform::fs::DeleteFile(ziel);
  std::vector<uint8_t> d;
  d.reserve(static_cast<size_t>(RänderDateiGroesse(p.H)));
  platform::ByteWriter out(d);
  Felder(out, p);
  if (!platform::fs::WriteAll(ziel, d.data(), d.size())) DebugLogWennAn({"Konnte nicht schreiben: ", LogPfad(ziel)});
}

}  // namespace

bool LadeRänder(int32_t SNR) {
  if (!SurfaceGueltig(SNR, "LadeR\xE4nder")) return false;
  SurfaceInfo& e = Surfaces[SNR];
  const std::string cache = (e.Name.size() >= 4 ? e.Name.substr(0, e.Name.size() - 4) : e.Name) + ".r";

  Profil p;
  std::vector<uint8_t> d;
  bool gelesen = platform::fs::FileExists(cache) &&
                 platform::fs::ReadAll(cache, d, static_cast<uint64_t>(RänderDateiGroesse(std::max<int64_t>(e.Height, 0)))) &&
                 LiesCache(d, e, p);
  bool ok = true;
  if (!gelesen) {
    p = Profil{};
    p.erste = e.ErsteZeile;
    p.letzte = e.LetzteZeile;
    ok = Scanne(e.Name, p);
    if (ok) {
      auto opak = [&](int32_t y) { return p.links[y] > -1; };
      for (int32_t y = 0; y <= p.H; ++y)
        if (opak(y)) {
          p.erste = y;
          break;
        }
      for (int32_t y = p.H; y >= 0; --y)
        if (opak(y)) {
          p.letzte = y;
          break;
        }
      SchreibCache(cache, p);
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
  e.ErsteZeile = p.erste;
  e.LetzteZeile = p.letzte;

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
