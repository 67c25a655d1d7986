#include "lib/archive_writer.hpp"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <span>

#include "platform/bytes.hpp"

namespace tools {
namespace {

bool Inflate(std::span<const uint8_t> packed, int32_t raw, std::vector<uint8_t>& out) {
  if (raw < 0) return false;
  out.resize(static_cast<size_t>(raw));
  uLongf len = static_cast<uLongf>(raw);
  uint8_t dummy = 0;
  int r = uncompress(raw ? out.data() : &dummy, &len, packed.data(), static_cast<uLong>(packed.size()));
  return r == Z_OK && len == static_cast<uLongf>(raw);
}

}  // namespace

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  uLongf len = compressBound(static_cast<uLong>(data.size()));
  std::vector<uint8_t> out(len);
  compress2(out.data(), &len, data.data(), static_cast<uLong>(data.size()), Z_BEST_COMPRESSION);
  out.resize(len);
  return out;
}

void AppendRawEntry(std::vector<uint8_t>& out, int32_t nameRaw, const std::vector<uint8_t>& nameStream,
                    int32_t dataRaw, const std::vector<uint8_t>& dataStream) {
  platform::ByteWriter w(out);
  w.Int32(nameRaw);
  w.Int32(static_cast<int32_t>(nameStream.size()));
  w.Raw(nameStream);
  w.Int32(dataRaw);
  w.Int32(static_cast<int32_t>(dataStream.size()));
  w.Raw(dataStream);
}

std::vector<uint8_t> PackArchive(const std::vector<ArchiveMember>& members) {
  std::vector<uint8_t> out;
  for (const ArchiveMember& m : members) {
    std::vector<uint8_t> name(m.name.begin(), m.name.end());
    AppendRawEntry(out, static_cast<int32_t>(name.size()), Deflate(name), static_cast<int32_t>(m.data.size()),
                   Deflate(m.data));
  }
  return out;
}

bool UnpackArchive(const std::vector<uint8_t>& in, std::vector<ArchiveMember>& members) {
  members.clear();
  platform::ByteReader r(in);
  while (r.Remaining() > 0) {
    std::vector<uint8_t> name;
    ArchiveMember m;
    const int32_t nameRaw = r.Int32();
    const std::span<const uint8_t> nameStream = r.Block(static_cast<uint32_t>(r.Int32()));
    const int32_t dataRaw = r.Int32();
    const std::span<const uint8_t> dataStream = r.Block(static_cast<uint32_t>(r.Int32()));
    if (!r.Ok() || !Inflate(nameStream, nameRaw, name) || !Inflate(dataStream, dataRaw, m.data)) return false;
    m.name.assign(name.begin(), name.end());
    members.push_back(std::move(m));
  }
  return true;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFileIfChanged(const std::string& path, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> old;
  if (ReadFile(path, old) && old == data) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out);
}

}  // namespace tools
