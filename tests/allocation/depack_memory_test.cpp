// Unpacking holds one member at a time, not the archive: the memory an unpack takes stays
// near its largest member (its packed and its inflated bytes), however many members the
// archive holds around it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "counting_new.hpp"
#include "lib/archive_writer.hpp"
#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace {

// A member's contents: different in every member and at every place.
std::vector<uint8_t> Inhalt(size_t nr, size_t groesse) {
  std::vector<uint8_t> d(groesse);
  uint32_t s = static_cast<uint32_t>(nr) * 2654435761u + 1;
  for (uint8_t& b : d) b = static_cast<uint8_t>((s = s * 1664525u + 1013904223u) >> 24);
  return d;
}

// Stored without compression, so the packed data are as large as the member.
std::vector<uint8_t> Gespeichert(const std::vector<uint8_t>& d) {
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(d.size())));
  uLongf len = static_cast<uLongf>(out.size());
  if (compress2(out.data(), &len, d.data(), static_cast<uLong>(d.size()), Z_NO_COMPRESSION) != Z_OK) return {};
  out.resize(len);
  return out;
}

}  // namespace

TEST(DepackMemory, StaysNearTheLargestMemberWhateverTheArchiveHolds) {
  testsupport::IsolatedHome home;
  testsupport::FreshState();
  DatenOrdner = home.home();
  const std::string app = home.home() + "app/";
  std::filesystem::create_directories(app + "Data");

  constexpr size_t kMiB = 1 << 20;
  struct Glied {
    std::string name;
    size_t groesse;
  };
  const std::vector<Glied> glieder = {{"klein1.txt", 1000},        {"mittel1.bin", 8 * kMiB}, {"gross.bin", 24 * kMiB},
                                      {"mittel2.bin", 8 * kMiB},   {"leer.dat", 0},           {"mittel3.bin", 8 * kMiB},
                                      {"klein2.txt", 70000}};
  size_t archiv = 0, grossGepackt = 0;
  {
    std::ofstream out(app + "Data/Gross.vkp", std::ios::binary);
    for (size_t i = 0; i < glieder.size(); ++i) {
      const std::vector<uint8_t> daten = Gespeichert(Inhalt(i, glieder[i].groesse));
      std::vector<uint8_t> eintrag;
      tools::AppendRawEntry(eintrag, static_cast<int32_t>(glieder[i].name.size()),
                            tools::Deflate(std::vector<uint8_t>(glieder[i].name.begin(), glieder[i].name.end())),
                            static_cast<int32_t>(glieder[i].groesse), daten);
      out.write(reinterpret_cast<const char*>(eintrag.data()), static_cast<std::streamsize>(eintrag.size()));
      archiv += eintrag.size();
      if (glieder[i].name == "gross.bin") grossGepackt = daten.size();
    }
  }

  std::string ordner;
  const int64_t spitze = alloccount::PeakBytesDuring([&] { ordner = Depack("Gross.vkp", app, false); });
  const int64_t grenze = static_cast<int64_t>(grossGepackt + 24 * kMiB + 8 * kMiB);
  EXPECT_LT(spitze, grenze) << "an archive of " << archiv << " bytes";
  ASSERT_GT(static_cast<int64_t>(archiv + 24 * kMiB), grenze) << "the archive held whole would pass the bound";

  const std::string echt = platform::fs::Resolve(ordner);
  for (size_t i = 0; i < glieder.size(); ++i)
    EXPECT_TRUE(testsupport::ReadBytes(echt + glieder[i].name) == Inhalt(i, glieder[i].groesse)) << glieder[i].name;
  KillDir(ordner);
  EXPECT_FALSE(std::filesystem::exists(echt));
}
