#pragma once
// File-system services. The game builds its paths the Windows way ("Data\Grafik\",
// any letter case); every function here takes such a path and resolves it onto the
// Linux file system component by component, matching names without regard to case.
// Only what the game adds is resolved so: the folders the system names, which its paths
// start with (the temporary folder, the per-user folder, the program's folder), are
// registered as verbatim roots and taken as they are spelt, backslashes and case included.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::fs {

// The Linux path for a Windows-style path: backslashes become slashes, and each
// component that does not exist as spelt is replaced by an existing entry of the same
// name in another letter case. Components that do not exist at all stay as given.
// A trailing separator is kept. The longest verbatim root the path starts with (followed
// by a separator or the end) is kept exactly as it is; only the rest is resolved.
std::string Resolve(std::string_view path);

// A folder the system names (an environment variable, a command line), as the kernel
// takes it: made absolute from the working folder, empty and "." components dropped, each
// ".." taken back where the kernel would go (from where a link leads, by name below a
// missing folder). Registered as a verbatim root (see Resolve) unless it is the root
// itself, and returned without a separator at its end ("/" for the root); empty for an
// empty name. Safe to call from any thread.
std::string AddVerbatimRoot(std::string_view folder);

// True for '\' and '/': folder strings of the game end in either.
bool IsSeparator(char c);
bool EndsInSeparator(std::string_view path);

bool FileExists(std::string_view path);  // a file (not a folder)
bool DirExists(std::string_view path);
bool MakeDir(std::string_view path);  // one level; an existing folder counts as success
bool RemoveDir(std::string_view path);  // only when empty
bool DeleteFile(std::string_view path);
bool Rename(std::string_view from, std::string_view to);
// The names (not paths) of the plain files in a folder, sorted.
std::vector<std::string> ListFiles(std::string_view dir);
// The names of the sub-folders of a folder, sorted.
std::vector<std::string> ListDirs(std::string_view dir);

// Files are read and written only when they are regular files: a FIFO, device or folder
// of the name fails at once instead of blocking or never ending.
//
// Reads a file whole; false as well when it holds more than `limit` bytes (nothing is
// read then) or memory runs short.
bool ReadAll(std::string_view path, std::vector<uint8_t>& out, uint64_t limit = UINT64_MAX);
// Reads the first `n` bytes of a file (all of a shorter one); the rest is never read.
bool ReadStart(std::string_view path, std::vector<uint8_t>& out, size_t n);
// Writes in place: the old file is cut short first, and a link of the name is written
// through. Only for caches beside the program's data; the per-user folder's files are
// written replacing (below), or appended to.
bool WriteAll(std::string_view path, const void* data, size_t size);
bool Append(std::string_view path, const void* data, size_t size);
int64_t FileSize(std::string_view path);  // -1 when it does not exist
// Writes a file whole under a temporary name of its own beside it and then renames it over
// `path`, so that the old file stays whole until the new one is complete, and a link of
// the name is replaced, never written through. With `sync` the bytes reach the disk before
// the rename (and the rename before the return). With `keepTail` the new file goes on
// with the old one's bytes beyond `size` (its holes stay holes), as a write from the first
// byte over it would leave them. A FIFO, device or folder of the name stays as it is and
// the write fails. On failure the temporary file is removed and the old file is left as
// it was.
bool WriteReplacing(std::string_view path, const void* data, size_t size, bool sync, bool keepTail = false);
// Whether `entry` is one of WriteReplacing's temporary names for the file `name` (both
// plain file names): `name`, ".part", the writing process's number, "." and a count. A
// run that ends between the two steps leaves such a file behind.
bool IsReplacingTemp(std::string_view entry, std::string_view name);

// A regular file open for reading piece by piece, for what is too large to hold whole
// (archives, videos). Opening refuses a FIFO, device or folder at once, as above.
class InputFile {
 public:
  explicit InputFile(std::string_view path);  // a Windows-style path, see Resolve
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Why it could not be opened: an errno value, EINVAL for anything but a regular file.
  int OpenError() const { return error_; }
  uint64_t Size() const { return size_; }  // as it was when opened
  uint64_t Pos() const { return pos_; }
  // Reads up to `n` bytes: how many were read, 0 at the end, -1 when reading fails.
  int64_t ReadSome(void* out, size_t n);
  // Reads exactly `n` bytes; false when fewer are left or reading fails.
  bool Read(void* out, size_t n);
  // Moves to an absolute position; false when the file cannot be positioned.
  bool Seek(uint64_t pos);

 private:
  int fd_ = -1;
  int error_ = 0;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;
};

// Clearing what a run that was ended without its clean-up left behind. `root` (see
// Resolve) is taken as it is; below it nothing is reached through a link. The folder
// cleared is `root` itself, or its sub-folder `sub` (spelt exactly so) when that is a real
// folder and no link. From it go every entry that is no folder and whose name `file`
// accepts (a link is removed itself, never what it points to). Everything else stays as
// it is.
using NameTest = std::function<bool(const std::string& name)>;
void RemoveLeftovers(std::string_view root, std::string_view sub, const NameTest& file);

// Folders removed whole, on Linux paths taken as they are and open folders: a link is
// removed itself, never followed.
//
// The names in the open folder `dirFd` ("." and ".." left out), read before any is removed.
std::vector<std::string> EntryNamesAt(int dirFd);
// Removes what the open folder `dirFd` holds but the entry `keep`: files and links, and
// folders with what they hold.
void EmptyFolderAt(int dirFd, std::string_view keep = {});
// Removes the folder `path` with everything in it.
void RemoveFolderTree(const std::string& path);

// The same on Linux paths taken as they are (already resolved, exact letter case): for
// callers that handle many files of one folder, which a case-insensitive lookup per file
// would slow down.
namespace exact {
bool FileExists(const std::string& path);
bool Rename(const std::string& from, const std::string& to);
bool DeleteFile(const std::string& path);
// Writes a new file: whatever has the name goes first, and the file is created afresh,
// never opened through a link someone left in its place.
bool WriteNew(const std::string& path, const void* data, size_t size);
}  // namespace exact

// The folders below come from the system; each is returned as AddVerbatimRoot makes it
// and registered as a verbatim root.
//
// Folder of the running program, ending in '/'.
std::string ProgramFolder();
// Base folder for per-user data: $XDG_DATA_HOME, else $HOME/.local/share; empty when
// neither variable gives an absolute path. No trailing separator.
std::string UserDataBase();
// The folder `path` (absolute, a Linux path) as a private folder: created with mode 0700
// when missing, and checked to be a folder of ours and no link; ends in '/'. Empty when it
// cannot be had.
std::string PrivateFolder(const std::string& path);
// The private temporary folder of this user ($TMPDIR or /tmp, "harvo-<uid>"), as
// PrivateFolder makes it.
std::string PrivateTempFolder();

}  // namespace platform::fs
