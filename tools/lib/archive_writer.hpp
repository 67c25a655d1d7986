#pragma once
// Writes and reads data archives (.vkp, .vlp, .vfp): entries back to back, each the
// name's raw and packed length, the name's zlib stream, the data's raw and packed length
// and the data's zlib stream; lengths are 32-bit little-endian.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct ArchiveMember {
  std::string name;  // Windows-1252 bytes, no folder
  std::vector<uint8_t> data;
};

std::vector<uint8_t> PackArchive(const std::vector<ArchiveMember>& members);
// Reads an archive whole; false when it is damaged.
bool UnpackArchive(const std::vector<uint8_t>& archive, std::vector<ArchiveMember>& members);

// One raw entry with the lengths given as they are (for tests of damaged archives).
void AppendRawEntry(std::vector<uint8_t>& out, int32_t nameRaw, const std::vector<uint8_t>& nameStream,
                    int32_t dataRaw, const std::vector<uint8_t>& dataStream);
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data);

bool ReadFile(const std::string& path, std::vector<uint8_t>& out);
// Writes only when the contents differ, so unchanged files keep their times.
bool WriteFileIfChanged(const std::string& path, const std::vector<uint8_t>& data);

}  // namespace tools
