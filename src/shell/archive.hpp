#pragma once
// The data archives ("Data\<name>.vkp", ".vlp", ".vfp") and the zlib wrappers.
//
// An archive is a plain sequence of entries, each: name raw length, name packed length
// (32-bit little-endian), the zlib stream of the name, data raw length, data packed
// length, the zlib stream of the data. A loader calls `Depack`, reads the plain files
// from the folder it returns, and calls `KillDir` on that folder when it is done.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "shell/err.hpp"

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
// This copy's own temporary folder, ending in a separator, inside the private temporary
// folder that every copy of this user shares (the system's, or when that cannot be had,
// "tmp" in the per-user folder): made at the first call, removed when the program ends.
// Empty when none can be had.
std::string GetTempFolder();
// Removes the temporary folders of copies that ended without removing theirs (killed, or
// the machine switched off), never a running copy's; returns how many went.
int ClearFoldersOfEndedCopies();
// Compresses `Data` in place; returns zlib's result (0 = success).
int32_t CompressBytes(std::vector<uint8_t>& Data);
// Replaces compressed `Data` by its contents of `OrigSize` bytes; returns zlib's result.
int32_t UncompressBytes(std::vector<uint8_t>& Data, int32_t OrigSize);

// The reading behind Depack, over an archive held in memory (Depack reads the same
// entries from the file, one after another).

// One entry of an archive: the member's name as written to disk (German umlauts and ß
// spelt out), its stated size, and its zlib stream.
struct ArchiveEntry {
  std::string name;
  int32_t size = 0;
  std::span<const uint8_t> packed;
};

// Why an archive could not be read on: a run-time error number and text, and the member
// that was being read (empty before the first one).
struct ArchiveError : Err {
  std::string member;
};

// Walks the entries front to back and hands each to `each`, which returns false to stop.
// Names are inflated; the members' data are not. False, with `error`, at an entry that
// is damaged (a length out of range, a name that does not inflate, bytes missing); the
// entries before it have been handed over.
bool WalkArchive(std::span<const uint8_t> archive, const std::function<bool(const ArchiveEntry&)>& each,
                 ArchiveError& error);

// Inflates a zlib stream of exactly `size` bytes into `out`, never beyond `size` and never
// beyond what a stream of its length can hold: a damaged size costs no more memory than
// the packed bytes could fill. Returns zlib's result: Z_OK, Z_DATA_ERROR for a damaged
// stream or one of another size, Z_MEM_ERROR when memory runs out.
int32_t InflateMember(std::span<const uint8_t> packed, int32_t size, std::vector<uint8_t>& out);

// Where an unpack puts the members it takes.
class UnpackSink {
 public:
  virtual ~UnpackSink() = default;
  // False for a member not to be written: an earlier unpack's file stays as it is.
  virtual bool Wanted(const std::string& member) = 0;
  // An empty buffer for the next member, of at most `size` bytes; one whose memory can be
  // used again. It may wait here until there is room for the member.
  virtual std::vector<uint8_t> Buffer(size_t /*size*/) { return {}; }
  // Takes a member's contents; false ends the unpack.
  virtual bool Put(const std::string& member, std::vector<uint8_t> contents) = 0;
};

// Unpacks what `Filename` selects (as for Depack) from the archive `bytes` into `sink`.
// A member that is damaged or whose name cannot be a file name is skipped with a log
// line. False, with `error`, when the archive is damaged or memory runs out.
bool UnpackBytes(std::span<const uint8_t> bytes, const std::string& Filename, UnpackSink& sink, ArchiveError& error);
