#include "campaign/mosaic.hpp"

#include <string>

#include "engine/display.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "world/loading_screen.hpp"

namespace {

constexpr platform::PixelFormat kMosaikFormat = platform::PixelFormat::XRGB8888;

// The tile's pixels into the mosaic at (x0, y0); a 16-bit tile is widened to 8 bits per
// channel.
void Einsetzen(platform::Surface& mosaik, const platform::Surface& kachel, int32_t x0, int32_t y0) {
  for (int32_t y = 0; y < kKachelHoehe; ++y) {
    uint32_t* ziel = reinterpret_cast<uint32_t*>(mosaik.Row(y0 + y)) + x0;
    for (int32_t x = 0; x < kKachelBreite; ++x) {
      uint8_t r, g, b, a;
      platform::UnpackPixel(kachel.Format(), kachel.GetPixel(x, y), r, g, b, a);
      ziel[x] = platform::PackPixel(kMosaikFormat, r, g, b);
    }
  }
}

}  // namespace

int32_t MosaikPlatz(int32_t Nr) { return Nr < 0 ? 0 : Nr % kMosaikPlaetze; }

platform::SurfacePtr MosaikMitKachel(const platform::BmpImage& alt, const platform::Surface& kachel, int32_t platz) {
  const bool lesbar = alt.width == kMosaikBreite && alt.height == kMosaikHoehe;
  platform::SurfacePtr mosaik = lesbar ? platform::SurfaceFromImage(alt, kMosaikFormat)
                                       : platform::Surface::Create(kMosaikBreite, kMosaikHoehe, kMosaikFormat);
  if (!mosaik || kachel.Width() < kKachelBreite || kachel.Height() < kKachelHoehe) return nullptr;
  const int32_t n = MosaikPlatz(platz);
  Einsetzen(*mosaik, kachel, kKachelBreite * (n % 4), kKachelHoehe * (n / 4));
  return mosaik;
}

void NewPictureToLoadingscreen() {
  if (!BackBuffer || BackBuffer->IsLost() != platform::DD_OK) return;
  // The screen reduced to a quarter each way: the display's stretching, as any other.
  platform::SurfacePtr kachel = platform::Surface::Create(kKachelBreite, kKachelHoehe, BackBuffer->Format());
  if (!kachel || kachel->Blt(nullptr, BackBuffer.get(), &VollbildRect, platform::DDBLT_WAIT) != platform::DD_OK) return;

  const std::string datei = DatenOrdner + kMosaikDatei;
  platform::BmpImage alt;  // stays empty for a file that is missing or no picture
  platform::LoadBmpImage(datei, alt);
  const int32_t platz = MosaikPlatz(LoadingscreenNr);
  if (platform::SurfacePtr mosaik = MosaikMitKachel(alt, *kachel, platz)) {
    // A new file in place of the old one: read-only or not, and never half written.
    if (!platform::SaveBmp24(datei, *mosaik)) DebugLogWennAn("Loadingscreen.bmp konnte nicht geschrieben werden");
  }
  LoadingscreenNr = (platz + 1) % kMosaikPlaetze;
}
