#include "engine/surfaces.hpp"

#include <algorithm>

#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "platform/bmp.hpp"
#include "platform/fs.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/process_end.hpp"

namespace {

using platform::PixelFormat;
using platform::SurfacePtr;


// A picture file as an off-screen surface in `format`; with a size it is stretched to
// that size, as a picture loaded into a surface of given dimensions is.
SurfacePtr LadeBild(const std::string& pfad, PixelFormat format, int32_t& fehler, int32_t breite = 0,
                    int32_t hoehe = 0) {
  SurfacePtr bild = platform::LoadBmp(pfad, format, &fehler);
  if (!bild || breite <= 0 || hoehe <= 0 || (bild->Width() == breite && bild->Height() == hoehe)) return bild;
  SurfacePtr gestreckt = platform::Surface::Create(breite, hoehe, format);
  if (!gestreckt) {
    fehler = platform::DDERR_OUTOFMEMORY;
    return nullptr;
  }
  gestreckt->Blt(nullptr, bild.get(), nullptr, platform::DDBLT_WAIT);
  return gestreckt;
}

// Inverts a rectangle through the surface's pixels, as the GDI inversion of its device
// context does: clipped to the surface.
int32_t GdiInvert(platform::Surface& s, const platform::Rect& r) {
  platform::Rect k{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, s.Width()), std::min(r.Bottom, s.Height())};
  if (k.Right <= k.Left || k.Bottom <= k.Top) return platform::DD_OK;
  platform::LockedRect l;
  int32_t hr = s.Lock(&k, l);
  if (hr != platform::DD_OK) return hr;
  const uint32_t mask = platform::ValueMask(s.Format());
  for (int32_t y = 0; y < l.height; ++y) {
    uint8_t* row = l.bits + static_cast<size_t>(y) * l.pitch;
    for (int32_t x = 0; x < l.width; ++x) {
      if (s.BytesPerPixel() == 4)
        reinterpret_cast<uint32_t*>(row)[x] ^= mask;
      else
        reinterpret_cast<uint16_t*>(row)[x] ^= static_cast<uint16_t>(mask);
    }
  }
  return s.Unlock();
}

// The quad of a new entry: the source rectangle unscaled at (0, 0), untinted, opaque.
void StandardQuad(SurfaceInfo& e) {
  const float W = e.Width, H = e.Height;
  const RECT& s = e.SrcRect;
  const float w = static_cast<float>(s.Right - s.Left), h = static_cast<float>(s.Bottom - s.Top);
  const int32_t weiss = GetRGBA(1, 1, 1, 1);
  auto setze = [&](D3DTLVERTEX& v, float x, float y, int32_t u, int32_t t) {
    v = {x, y, 0.0f, 1.0f, weiss, 1, static_cast<float>(u) / W, static_cast<float>(t) / H};
  };
  setze(e.Vertex[0], 0, h, s.Left, s.Bottom);
  setze(e.Vertex[1], 0, 0, s.Left, s.Top);
  setze(e.Vertex[2], w, h, s.Right, s.Bottom);
  setze(e.Vertex[3], w, 0, s.Right, s.Top);
}

// A picture that cannot be loaded ends the run: the desktop gets its display back, the
// game windows close and the error dialog names the file.
void LadeFehler(int32_t nummer, const std::string& File) {
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  CloseGameWindows();
  ShowDXError(nummer, 2, File);
}

bool EndetAufI(const std::string& File) { return File.size() >= 2 && File.compare(File.size() - 2, 2, "_i") == 0; }

}  // namespace

PixelFormat AnzeigeFormat() {
  if (BackBuffer) return BackBuffer->Format();
  return Farbtiefe == 16 ? PixelFormat::RGB565 : PixelFormat::XRGB8888;
}

bool SurfaceGueltig(int32_t Nr, const char* Wo) {
  if (Nr >= 0 && Nr <= SurfacesMax() && Surfaces[Nr].Surface) return true;
  DebugLogWennAn("Surface out of Range: " + std::to_string(Nr) + " (" + Wo + ")");
  return false;
}

int32_t LoadSurface(const std::string& File, bool D3DSprite, std::optional<double> Left, std::optional<double> Top,
                    std::optional<double> Right, std::optional<double> Bottom, bool Colorkey) {
  DebugLog({"LoadSurface ", LogPfad(File), " start"});
  if (Spielstatus == 10) return 0;

  const std::string name = UCase(File);
  for (int32_t i = 0; i <= SurfacesMax(); ++i)
    if (Surfaces[i].Name == name) return i;

  Surfaces.emplace_back();
  SurfaceInfo& e = Surfaces.back();
  e.Name = name;
  e.Colorkey = Colorkey;

  const PixelFormat format = AnzeigeFormat();
  const bool invertiert = EndetAufI(File);
  const std::string partner = File.size() >= 4 ? File.substr(0, File.size() - 4) + "A.bmp" : std::string();
  int32_t fehler = platform::DDERR_NOTFOUND;
  if (invertiert) {
    // The hit flash: after the inversion black has become white, the new transparent colour.
    e.Surface = LadeBild(File.substr(0, File.size() - 2), format, fehler);
    if (e.Surface) e.Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0xFFFFFFFFu, 0xFFFFFFFFu);
  } else if (D3DSprite && !partner.empty() && platform::fs::FileExists(partner)) {
    SurfacePtr farbe = LadeBild(File, format, fehler);
    SurfacePtr alpha = farbe ? LadeBild(partner, format, fehler, farbe->Width(), farbe->Height()) : nullptr;
    if (farbe && alpha) e.Surface = CreateAlpha(farbe, alpha);
    e.D3DSprite = true;
  } else if (D3DSprite && File.size() >= 3 && UCase(File.substr(File.size() - 3)) == "BMP") {
    e.Surface = LadeBild(File, format, fehler);
    if (e.Surface && Colorkey) e.Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    e.D3DSprite = true;
  } else if (D3DSprite) {
    DebugLogWennAn("No Bmp-Data... give up");
    MsgBox("No Bmp-Data?", mb::OkOnly);
    EndProcess(1);
  } else {
    e.Surface = LadeBild(File, format, fehler);
    if (e.Surface) e.Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
  }

  if (!e.Surface) {
    // The entry goes again: a number without a picture would only be drawn later.
    Surfaces.pop_back();
    LadeFehler(fehler, File);
    return 0;
  }
  if (!e.D3DSprite) e.Surface->SetForeColor(0);
  e.Width = static_cast<int16_t>(e.Surface->Width());
  e.Height = static_cast<int16_t>(e.Surface->Height());

  // A given right or bottom edge is taken as it is, except on a picture only one pixel
  // wide or high, which is always drawn whole.
  e.SrcRect.Left = Left ? CLng(*Left) : 0;
  e.SrcRect.Top = Top ? CLng(*Top) : 0;
  e.SrcRect.Right = Right && e.Width > 1 ? CLng(*Right) : e.Width;
  e.SrcRect.Bottom = Bottom && e.Height > 1 ? CLng(*Bottom) : e.Height;

  DebugLog("invert..");
  if (invertiert) {
    BlitEffekte.rop = platform::DSTINVERT;
    int32_t hr;
    if (HardwareInvert) {
      hr = e.Surface->Blt(&e.SrcRect, e.Surface.get(), &e.SrcRect, platform::DDBLT_WAIT | platform::DDBLT_ROP,
                          &BlitEffekte);
    } else {
      hr = GdiInvert(*e.Surface, e.SrcRect);
    }
    if (hr != platform::DD_OK) {
      Surfaces.pop_back();
      LadeFehler(hr, File);
      return 0;
    }
  }
  DebugLog("..ok");
  StandardQuad(e);
  return SurfacesMax();
}

SurfacePtr CreateAlpha(const SurfacePtr& ColorSurf, const SurfacePtr& AlphaSurf) {
  if (!ColorSurf || !AlphaSurf) return ColorSurf;
  const int32_t w = ColorSurf->Width(), h = ColorSurf->Height();
  const bool farbe16 = ColorSurf->BytesPerPixel() == 2;
  SurfacePtr ziel;
  if (Farbtiefe != 16 && AlphaFormat != 16) {
    ziel = platform::Surface::Create(w, h, PixelFormat::ARGB8888);
    if (ziel) AlphaFormat = 32;
  }
  if (!ziel) {
    ziel = platform::Surface::Create(w, h, PixelFormat::ARGB4444);
    if (!ziel) return ColorSurf;
    AlphaFormat = 16;
  }
  const bool ziel16 = ziel->BytesPerPixel() == 2;
  const platform::Surface& alpha = *AlphaSurf;
  auto runde = [](uint32_t v, uint32_t max) { return (v * 15 * 2 + max) / (2 * max); };
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = ColorSurf->GetPixel(x, y);
      // The mate is the colour picture's size; outside it nothing shows.
      const bool drin = x < alpha.Width() && y < alpha.Height();
      const uint32_t m = drin ? alpha.GetPixel(x, y) : 0;
      uint32_t wert;
      if (!farbe16) {
        uint32_t b = p & 255, g = (p >> 8) & 255, r = (p >> 16) & 255, a = m & 255;
        wert = ziel16 ? (runde(a, 255) << 12) | (runde(r, 255) << 8) | (runde(g, 255) << 4) | runde(b, 255)
                      : (a << 24) | (r << 16) | (g << 8) | b;
      } else if (ziel16) {
        wert = (runde(m & 31, 31) << 12) | (runde((p >> 11) & 31, 31) << 8) | (runde((p >> 5) & 63, 63) << 4) |
               runde(p & 31, 31);
      } else {
        uint32_t b = ((p & 0x1F) * 255) / 31, g = ((p & 0x7E0) * 255) / 2016;
        uint32_t r = static_cast<uint32_t>(static_cast<double>(p & 0xF800) / 63488.0 * 255.0);
        uint32_t a = ((m & 31) * 255) / 31;
        wert = (a << 24) | (r << 16) | (g << 8) | b;
      }
      ziel->SetPixel(x, y, wert);
    }
  }
  return ziel;
}

void SurfaceClear() {
  Surfaces.clear();
  // The unpack folders lie where the archive reader made them: in the temporary folder.
  for (size_t i = 1; i < EntpackListe.size(); ++i) {
    const std::string archiv = EntpackListe[i].substr(0, EntpackListe[i].find('$'));
    const std::string ordner = GetTempFolder() + "Harvo\\" + archiv + "dir\\";
    if (platform::fs::DirExists(ordner)) KillDir(ordner);
  }
  EntpackListe.assign(1, "");
  DebugLogWennAn("Surfaces Cleared");
}

void RemoveLastSurface(bool RemoveLastDir) {
  if (!Surfaces.empty()) Surfaces.pop_back();
  // Element 0 of the archive list is not an archive; it stays.
  if (RemoveLastDir && EntpackListe.size() > 1) EntpackListe.pop_back();
}

void SurfaceKorrektur(int32_t Nr) {
  if (!SurfaceGueltig(Nr, "SurfaceKorrektur")) return;
  SurfaceInfo& e = Surfaces[Nr];
  --e.Width;
  --e.Height;
  --e.SrcRect.Right;
  --e.SrcRect.Bottom;
}

void ReloadSurfaces() {
  DebugLogWennAn("Try to Reload Surfaces...");
  DebugLogWennAn("...Sucess");
}
