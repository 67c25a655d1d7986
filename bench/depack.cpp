// Unpacking a 20 MB archive through Depack against zlib's uncompress of the same members
// in memory. The difference is the work Depack adds: reading the file and writing the
// members out. The reader alone (walking the archive in memory and inflating each member
// into a growing buffer) shows what of that is not the disk's. Prints the times and their
// ratios (best of several rounds).
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lib/archive_writer.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "support/support.hpp"

namespace {

std::vector<tools::ArchiveMember> Members() {
  std::vector<tools::ArchiveMember> members;
  uint32_t s = 12345;
  size_t total = 0;
  for (int i = 0; total < 20u * 1024 * 1024; ++i) {
    size_t size = 20000 + (i * 7919) % 400000;
    tools::ArchiveMember m{"member" + std::to_string(i) + ".bmp", std::vector<uint8_t>(size)};
    for (size_t k = 0; k < size; ++k) {
      s = s * 1664525u + 1013904223u;
      // Pictures: long runs with some noise; every third member is close to random.
      m.data[k] = (i % 3 == 0) ? static_cast<uint8_t>(s >> 24) : static_cast<uint8_t>((k / 64 + (s >> 30)) & 0xFF);
    }
    total += size;
    members.push_back(std::move(m));
  }
  return members;
}

double Seconds(const std::function<void()>& f) {
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main() {
  testsupport::IsolatedHome home;
  DatenOrdner = home.home();
  std::string app = home.home() + "app/";
  std::filesystem::create_directories(app + "Data");
  std::vector<tools::ArchiveMember> members = Members();
  std::vector<uint8_t> archive = tools::PackArchive(members);
  tools::WriteFileIfChanged(app + "Data/Bench.vkp", archive);

  // The same streams, decompressed in memory only.
  struct Stream {
    std::vector<uint8_t> name, data;
    size_t nameRaw, dataRaw;
  };
  std::vector<Stream> streams;
  for (const auto& m : members)
    streams.push_back({tools::Deflate(std::vector<uint8_t>(m.name.begin(), m.name.end())), tools::Deflate(m.data),
                       m.name.size(), m.data.size()});

  double raw = Seconds([&] {
    std::vector<uint8_t> out;
    for (const Stream& st : streams) {
      out.resize(st.nameRaw + 1);
      uLongf len = out.size();
      uncompress(out.data(), &len, st.name.data(), st.name.size());
      out.resize(st.dataRaw + 1);
      len = out.size();
      uncompress(out.data(), &len, st.data.data(), st.data.size());
    }
  });
  // The reader over the bytes, handing each member to a sink that keeps its buffer.
  struct Verwerfen : UnpackSink {
    std::vector<uint8_t> puffer;
    bool Wanted(const std::string&) override { return true; }
    std::vector<uint8_t> Buffer(size_t) override { return std::move(puffer); }
    bool Put(const std::string&, std::vector<uint8_t> contents) override {
      puffer = std::move(contents);
      return true;
    }
  };
  double reader = Seconds([&] {
    Verwerfen sink;
    ArchiveError error;
    UnpackBytes(archive, "Bench.vkp", sink, error);
  });
  double depack = Seconds([&] { KillDir(Depack("Bench.vkp", app, false)); });
  double mb = archive.size() / 1048576.0;
  std::printf("archive %.1f MB packed, %zu members\n", mb, members.size());
  std::printf("zlib uncompress in memory: %.1f ms\n", raw * 1000);
  std::printf("archive reader in memory:  %.1f ms (%.2f of raw zlib)\n", reader * 1000, raw / reader);
  std::printf("Depack + KillDir:          %.1f ms\n", depack * 1000);
  std::printf("Depack speed relative to raw zlib: %.2f (goal >= 0.8)\n", raw / depack);
  return 0;
}
