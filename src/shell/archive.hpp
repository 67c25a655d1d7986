#pragma once
// The data archives ("Data\<name>.vkp", ".vlp", ".vfp") and the zlib wrappers.
//
// An archive is a plain sequence of entries, each: name raw length, name packed length
// (32-bit little-endian), the zlib stream of the name, data raw length, data packed
// length, the zlib stream of the data. A loader calls `Depack`, reads the plain files
// from the folder it returns, and calls `KillDir` on that folder when it is done.
#include <cstdint>
#include <string>
#include <vector>

// Archives unpacked with the remember flag: "name$path" each, after one empty element.
inline std::vector<std::string> EntpackListe{""};

inline int32_t ZLibOriginalGroesse = 0;
inline int32_t ZLibGepacktGroesse = 0;
inline int32_t ZLibErgebnis = 0;

// Unpacks members of the archive `Filename` ("Name.vkp", "Name.vkp$", "Name.vkp$a.bmp>b.bmp>"
// for only those, "Name.vkp$a.bmp<b.bmp<" for all but those) from `Path` & "Data\" into
// GetTempFolder & "Harvo\" & name & "dir\", and returns that folder.
std::string Depack(const std::string& Filename, const std::string& Path, bool UpdateFilenameDatabase);
// Deletes the files of an unpack folder, the folder, and "Harvo\" when it is empty.
void KillDir(const std::string& D);
// The program's private temporary folder, ending in a separator.
std::string GetTempFolder();
// Compresses `Data` in place; returns zlib's result (0 = success).
int32_t CompressBytes(std::vector<uint8_t>& Data);
// Replaces compressed `Data` by its contents of `OrigSize` bytes; returns zlib's result.
int32_t UncompressBytes(std::vector<uint8_t>& Data, int32_t OrigSize);
