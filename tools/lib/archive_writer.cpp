#include "lib/archive_writer.hpp"

#include <zlib.h>

#include <fstream>
#include <iterator>

namespace tools {
namespace {

void Put32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

bool Get32(const std::vector<uint8_t>& in, size_t& pos, int32_t& v) {
  if (pos + 4 > in.size()) return false;
  v = static_cast<int32_t>(in[pos] | (in[pos + 1] << 8) | (in[pos + 2] << 16) |
                           (static_cast<uint32_t>(in[pos + 3]) << 24));
  pos += 4;
  return true;
}

bool Inflate(const std::vector<uint8_t>& in, size_t pos, int32_t packed, int32_t raw, std::vector<uint8_t>& out) {
  if (packed < 0 || raw < 0 || pos + static_cast<size_t>(packed) > in.size()) return false;
  out.resize(static_cast<size_t>(raw));
  uLongf len = static_cast<uLongf>(raw);
  std::vector<uint8_t> dummy(1);
  int r = uncompress(raw ? out.data() : dummy.data(), &len, in.data() + pos, static_cast<uLong>(packed));
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
  Put32(out, nameRaw);
  Put32(out, static_cast<int32_t>(nameStream.size()));
  out.insert(out.end(), nameStream.begin(), nameStream.end());
  Put32(out, dataRaw);
  Put32(out, static_cast<int32_t>(dataStream.size()));
  out.insert(out.end(), dataStream.begin(), dataStream.end());
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
  size_t pos = 0;
  while (pos < in.size()) {
    int32_t nameRaw, namePacked, dataRaw, dataPacked;
    std::vector<uint8_t> name;
    ArchiveMember m;
    if (!Get32(in, pos, nameRaw) || !Get32(in, pos, namePacked)) return false;
    if (!Inflate(in, pos, namePacked, nameRaw, name)) return false;
    pos += static_cast<size_t>(namePacked);
    if (!Get32(in, pos, dataRaw) || !Get32(in, pos, dataPacked)) return false;
    if (!Inflate(in, pos, dataPacked, dataRaw, m.data)) return false;
    pos += static_cast<size_t>(dataPacked);
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
