#include "shell/archive.hpp"

#include "platform/fs.hpp"

std::string Depack(const std::string& Filename, const std::string&, bool) {
  size_t dollar = Filename.find('$');
  return GetTempFolder() + "Harvo\\" + Filename.substr(0, dollar) + "dir\\";
}
void KillDir(const std::string&) {}
std::string GetTempFolder() { return platform::fs::PrivateTempFolder(); }
int32_t CompressBytes(std::vector<uint8_t>&) { return -2; }
int32_t UncompressBytes(std::vector<uint8_t>&, int32_t) { return -2; }
