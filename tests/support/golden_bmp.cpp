#include "support/golden_bmp.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/bmp.hpp"
#include "support/support.hpp"

namespace testsupport {

std::string CompareWithGoldenBmp(const std::string& relativePath, const platform::Surface& frame,
                                 const platform::Rect& area) {
  const int w = area.Right - area.Left, h = area.Bottom - area.Top;
  platform::Surface part(w, h, frame.Format());
  platform::Rect r = area;
  part.BltFast(0, 0, const_cast<platform::Surface&>(frame), &r, platform::DDBLTFAST_WAIT);
  const std::vector<uint8_t> bytes = platform::EncodeBmp24(part);

  const std::string path = SourceDir() + "/" + relativePath;
  if (UpdatingGolden()) {
    WriteBytes(path, bytes);
    std::fprintf(stderr, "golden picture written: %s\n", path.c_str());
    return "";
  }
  const std::string name = std::filesystem::path(relativePath).stem().string();
  const std::vector<uint8_t> stored = ReadBytes(path);
  platform::BmpImage expected, actual;
  if (stored.empty() || !platform::DecodeBmp(stored.data(), stored.size(), expected))
    return "no reference picture " + path + " (make it with HARVO_UPDATE_GOLDEN=1)";
  platform::DecodeBmp(bytes.data(), bytes.size(), actual);
  if (expected.width != actual.width || expected.height != actual.height) {
    WriteBytes(name + ".actual.bmp", bytes);
    return "size differs from " + path;
  }
  size_t differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      if ((expected.argb[i] & 0xFFFFFFu) == (actual.argb[i] & 0xFFFFFFu)) continue;
      if (!differing++) firstX = x, firstY = y;
    }
  if (!differing) return "";
  WriteBytes(name + ".actual.bmp", bytes);
  char detail[96];
  const size_t i = static_cast<size_t>(firstY) * w + firstX;
  std::snprintf(detail, sizeof detail, " (first at %d,%d: %06X, expected %06X)", firstX, firstY,
                actual.argb[i] & 0xFFFFFFu, expected.argb[i] & 0xFFFFFFu);
  return std::to_string(differing) + " pixels differ from " + path + detail + "; drawn: " + name + ".actual.bmp";
}

}  // namespace testsupport
