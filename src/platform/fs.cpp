#include "platform/fs.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

namespace platform::fs {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

bool Exists(const std::string& p) {
  struct stat st;
  return lstat(p.c_str(), &st) == 0;
}

// Finds an entry of `dir` that equals `name` apart from letter case.
bool FindIgnoringCase(const std::string& dir, std::string_view name, std::string& found) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool ok = false;
  while (dirent* e = readdir(d)) {
    if (SameIgnoringCase(e->d_name, name)) {
      found = e->d_name;
      ok = true;
      break;
    }
  }
  closedir(d);
  return ok;
}

std::vector<std::string> List(std::string_view dir, bool wantDirs) {
  std::vector<std::string> names;
  std::string base = Resolve(dir);
  if (base.empty()) base = ".";
  DIR* d = opendir(base.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    struct stat st;
    std::string full = base + (base.back() == '/' ? "" : "/") + n;
    if (stat(full.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode) == wantDirs) names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// The folders the system names, each spelt as the system gives it (no separator at its
// end, never "/"): a path that starts with one takes it as it is.
struct Wurzeln {
  std::mutex mutex;
  std::vector<std::string> ordner;
};
Wurzeln& VerbatimRoots() {
  static Wurzeln w;
  return w;
}

// How much of `path` is a registered folder taken as it is: the longest one it starts with,
// followed by a separator or the end of the path; 0 for none.
size_t VerbatimPart(std::string_view path) {
  Wurzeln& w = VerbatimRoots();
  std::lock_guard<std::mutex> lock(w.mutex);
  size_t laenge = 0;
  for (const std::string& r : w.ordner)
    if (r.size() > laenge && path.starts_with(r) && (path.size() == r.size() || IsSeparator(path[r.size()])))
      laenge = r.size();
  return laenge;
}

// `path` as the kernel takes it: absolute (a relative path from the working folder), without
// empty or "." components, each ".." taken back to where the kernel would go. Up to a
// link, ".." leaves the folder the link leads to; below a missing folder it is taken back
// by name, as nothing else can be known. No separator at the end ("/" for the root).
std::string Normalised(std::string_view path) {
  std::string out;  // no separator at its end; empty for the root
  if (path.empty() || path[0] != '/') {
    char* hier = ::getcwd(nullptr, 0);
    if (!hier) return "";
    out = hier;
    std::free(hier);
    while (!out.empty() && out.back() == '/') out.pop_back();
  }
  for (size_t i = 0; i <= path.size();) {
    const size_t ende = std::min(path.find('/', i), path.size());
    const std::string_view teil = path.substr(i, ende - i);
    i = ende + 1;
    if (teil.empty() || teil == ".") continue;
    if (teil != "..") {
      out += '/';
      out += teil;
      continue;
    }
    struct stat st;
    if (!out.empty() && ::lstat(out.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
      if (char* echt = ::realpath(out.c_str(), nullptr)) {
        out = echt;
        std::free(echt);
        if (out == "/") out.clear();
      }
    }
    const size_t slash = out.rfind('/');
    out.erase(slash == std::string::npos ? 0 : slash);
  }
  return out.empty() ? "/" : out;
}

}  // namespace

std::string AddVerbatimRoot(std::string_view folder) {
  if (folder.empty()) return "";
  std::string ordner = Normalised(folder);
  if (ordner.empty() || ordner == "/") return ordner;
  Wurzeln& w = VerbatimRoots();
  std::lock_guard<std::mutex> lock(w.mutex);
  if (std::find(w.ordner.begin(), w.ordner.end(), ordner) == w.ordner.end()) w.ordner.push_back(ordner);
  return ordner;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool EndsInSeparator(std::string_view path) { return !path.empty() && IsSeparator(path.back()); }

std::string Resolve(std::string_view path) {
  std::string out;
  size_t i = VerbatimPart(path);
  if (i > 0) {
    // A folder the system named: its backslashes are part of its names, its case is its own.
    out = path.substr(0, i);
    if (i < path.size()) out += '/';
  } else if (!path.empty() && IsSeparator(path[0])) {
    out = "/";
  }
  while (i < path.size() && IsSeparator(path[i])) ++i;
  bool missing = false;  // once a component is missing, the rest is taken verbatim
  while (i < path.size()) {
    size_t j = i;
    while (j < path.size() && !IsSeparator(path[j])) ++j;
    std::string comp(path.substr(i, j - i));
    std::string candidate = out + comp;
    if (!missing && comp != "." && comp != ".." && !Exists(candidate)) {
      std::string found;
      if (FindIgnoringCase(out, comp, found))
        candidate = out + found;
      else
        missing = true;
    }
    out = candidate;
    if (j < path.size()) out += '/';
    i = j;
    while (i < path.size() && IsSeparator(path[i])) ++i;
  }
  return out;
}

bool FileExists(std::string_view path) {
  struct stat st;
  return stat(Resolve(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirExists(std::string_view path) {
  struct stat st;
  return stat(Resolve(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDir(std::string_view path) {
  std::string p = Resolve(path);
  if (mkdir(p.c_str(), 0755) == 0) return true;
  return errno == EEXIST && DirExists(path);
}

bool RemoveDir(std::string_view path) { return rmdir(Resolve(path).c_str()) == 0; }

bool DeleteFile(std::string_view path) { return unlink(Resolve(path).c_str()) == 0; }

bool Rename(std::string_view from, std::string_view to) {
  return rename(Resolve(from).c_str(), Resolve(to).c_str()) == 0;
}

std::vector<std::string> ListFiles(std::string_view dir) { return List(dir, false); }
std::vector<std::string> ListDirs(std::string_view dir) { return List(dir, true); }

namespace {

// Opens a regular file only. A FIFO, device or folder in its place is refused at once:
// opening a FIFO would wait for its other end, and reading a device may never end.
int OpenRegular(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  int status = fcntl(fd, F_GETFL);
  if (status >= 0) fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
  return fd;
}

// Reads at most `limit` bytes; with `whole`, a file holding more is a failure.
bool Read(const std::string& path, std::vector<uint8_t>& out, uint64_t limit, bool whole) {
  out.clear();
  int fd = OpenRegular(path, O_RDONLY);
  if (fd < 0) return false;
  // One byte beyond the limit tells a file that is too long from one that fits.
  const uint64_t want = whole && limit < UINT64_MAX ? limit + 1 : limit;
  bool ok = true;
  try {
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<size_t>(std::min<uint64_t>(st.st_size, want)));
    uint8_t buf[65536];
    while (out.size() < want) {
      ssize_t n = ::read(fd, buf, static_cast<size_t>(std::min<uint64_t>(sizeof buf, want - out.size())));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      out.insert(out.end(), buf, buf + n);
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  ::close(fd);
  if (whole && out.size() > limit) ok = false;
  if (!ok) out.clear();
  return ok;
}

// Writes all of `data` from the file's current position.
bool Put(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Closes a file written; with `sync` it waits until the bytes are on the disk first.
bool Finish(int fd, bool ok, bool sync) {
  ok = ok && (!sync || ::fsync(fd) == 0);
  return ::close(fd) == 0 && ok;
}

bool WriteFd(int fd, const void* data, size_t size) { return Finish(fd, Put(fd, data, size), false); }

bool Write(const std::string& path, const void* data, size_t size, int flags) {
  int fd = OpenRegular(path, O_WRONLY | O_CREAT | flags);
  return fd >= 0 && WriteFd(fd, data, size);
}

// Copies the bytes of `from` beyond `start` to the same places of `to` (written up to
// `start`), so that `to` ends where `from` does; the holes of a sparse file are not
// filled in.
bool CopyTail(int from, int to, off_t start) {
  struct stat st;
  if (::fstat(from, &st) != 0) return false;
  char buf[65536];
  off_t pos = start;
  while (pos < st.st_size) {
    off_t ende = st.st_size;
    off_t daten = ::lseek(from, pos, SEEK_DATA);
    if (daten < 0) {
      if (errno == ENXIO) break;  // nothing but a hole is left
      daten = pos;                // a file system that cannot tell holes: all of it is data
    } else {
      ende = std::min(std::max(::lseek(from, daten, SEEK_HOLE), daten), st.st_size);
    }
    for (pos = daten; pos < ende;) {
      const ssize_t n = ::pread(from, buf, static_cast<size_t>(std::min<off_t>(sizeof buf, ende - pos)), pos);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0 || ::lseek(to, pos, SEEK_SET) != pos || !Put(to, buf, static_cast<size_t>(n))) return false;
      pos += n;
    }
  }
  return st.st_size <= start || ::ftruncate(to, st.st_size) == 0;
}

// The last name of a path as it is spelt.
std::string_view LastName(std::string_view path) {
  const size_t trenner = path.find_last_of("\\/");
  return trenner == std::string_view::npos ? path : path.substr(trenner + 1);
}

// What follows a file's name in WriteReplacing's temporary names, and the count that
// makes each of this process's names its own.
constexpr std::string_view kTempTeil = ".part";
std::atomic<uint32_t> g_tempNummer{0};

// A temporary file for `name` in `folder` (ending in '/'), created afresh: a name that is
// taken already (a file another run left, a folder, a link) is passed over, never opened.
int CreateTemp(const std::string& folder, std::string_view name, std::string& temp) {
  for (int versuch = 0; versuch < 100; ++versuch) {
    temp = folder + std::string(name) + std::string(kTempTeil) + std::to_string(::getpid()) + "." +
           std::to_string(++g_tempNummer);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file created afresh: anything of the name (a file left by an earlier attempt, a link)
// goes first, and the new one is never opened through a link.
int CreateNew(const std::string& path) {
  ::unlink(path.c_str());
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

bool IsRealFolder(int dirFd, const std::string& name) {
  struct stat st;
  return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// A sub-folder opened only when it is a real folder: a link in its place fails.
int OpenSubFolder(int dirFd, const std::string& name) {
  return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the entries of a folder that are no folders and whose names `wanted` accepts.
void RemoveFilesAt(int dirFd, const NameTest& wanted) {
  for (const std::string& name : EntryNamesAt(dirFd))
    if ((!wanted || wanted(name)) && !IsRealFolder(dirFd, name)) ::unlinkat(dirFd, name.c_str(), 0);
}

}  // namespace

bool ReadAll(std::string_view path, std::vector<uint8_t>& out, uint64_t limit) {
  return Read(Resolve(path), out, limit, true);
}

bool ReadStart(std::string_view path, std::vector<uint8_t>& out, size_t n) { return Read(Resolve(path), out, n, false); }

bool WriteAll(std::string_view path, const void* data, size_t size) { return Write(Resolve(path), data, size, O_TRUNC); }
bool Append(std::string_view path, const void* data, size_t size) { return Write(Resolve(path), data, size, O_APPEND); }

bool WriteReplacing(std::string_view path, const void* data, size_t size, bool sync, bool keepTail) {
  const std::string target = Resolve(path);
  // The temporary file is named as the game spells the file, whatever case the file has
  // on disk: the clearing of leftovers knows it by that name.
  const std::string_view name = LastName(path);
  struct stat st;
  if (name.empty() || (::lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)))
    return false;
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string temp;
  const int fd = CreateTemp(dir, name, temp);
  if (fd < 0) return false;
  bool ok = Put(fd, data, size);
  if (ok && keepTail) {
    const int alt = OpenRegular(target, O_RDONLY);
    if (alt >= 0) {
      ok = CopyTail(alt, fd, static_cast<off_t>(size));
      ::close(alt);
    }
  }
  if (!Finish(fd, ok, sync) || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  if (sync) {
    // The rename itself is on the disk once the folder is.
    const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  }
  return true;
}

bool IsReplacingTemp(std::string_view entry, std::string_view name) {
  if (!entry.starts_with(name) || !entry.substr(name.size()).starts_with(kTempTeil)) return false;
  const std::string_view nummern = entry.substr(name.size() + kTempTeil.size());
  const size_t punkt = nummern.find('.');
  auto zahl = [](std::string_view z) {
    return !z.empty() && z.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return punkt != std::string_view::npos && zahl(nummern.substr(0, punkt)) && zahl(nummern.substr(punkt + 1));
}

InputFile::InputFile(std::string_view path) {
  const std::string p = Resolve(path);
  errno = 0;
  fd_ = OpenRegular(p, O_RDONLY);
  if (fd_ < 0) {
    // Without an error of its own the open succeeded and the file was refused.
    error_ = errno != 0 ? errno : EINVAL;
    return;
  }
  struct stat st;
  if (::fstat(fd_, &st) == 0 && st.st_size > 0) size_ = static_cast<uint64_t>(st.st_size);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t InputFile::ReadSome(void* out, size_t n) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t r = ::read(fd_, out, n);
    if (r < 0 && errno == EINTR) continue;
    if (r > 0) pos_ += static_cast<uint64_t>(r);
    return r;
  }
}

bool InputFile::Read(void* out, size_t n) {
  uint8_t* p = static_cast<uint8_t*>(out);
  while (n > 0) {
    const int64_t r = ReadSome(p, n);
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

bool InputFile::Seek(uint64_t pos) {
  if (fd_ < 0 || pos > static_cast<uint64_t>(INT64_MAX)) return false;
  if (::lseek(fd_, static_cast<off_t>(pos), SEEK_SET) < 0) return false;
  pos_ = pos;
  return true;
}

void RemoveLeftovers(std::string_view root, std::string_view sub, const NameTest& file) {
  const std::string wurzel = Resolve(root);
  const int rootFd = ::open(wurzel.empty() ? "." : wurzel.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return;
  int dirFd = rootFd;
  if (!sub.empty()) {
    dirFd = OpenSubFolder(rootFd, std::string(sub));
    ::close(rootFd);
    if (dirFd < 0) return;
  }
  RemoveFilesAt(dirFd, file);
  ::close(dirFd);
}

std::vector<std::string> EntryNamesAt(int dirFd) {
  std::vector<std::string> names;
  const int own = ::dup(dirFd);
  DIR* d = own >= 0 ? ::fdopendir(own) : nullptr;
  if (!d) {
    if (own >= 0) ::close(own);
    return names;
  }
  ::rewinddir(d);  // the copy shares its position with `dirFd`, which may have been read before
  while (dirent* e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(d);
  return names;
}

namespace {

// Deeper than anything the game makes in a folder it removes whole: what lies below stays.
constexpr int kTiefe = 16;

void Leeren(int dirFd, std::string_view keep, int tiefe) {
  for (const std::string& name : EntryNamesAt(dirFd)) {
    if (name == keep || ::unlinkat(dirFd, name.c_str(), 0) == 0 || errno != EISDIR || tiefe <= 0) continue;
    const int innen = OpenSubFolder(dirFd, name);
    if (innen < 0) continue;
    Leeren(innen, {}, tiefe - 1);
    ::close(innen);
    ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
  }
}

}  // namespace

void EmptyFolderAt(int dirFd, std::string_view keep) { Leeren(dirFd, keep, kTiefe); }

void RemoveFolderTree(const std::string& path) {
  // Without its separator at the end, a link of the name is not followed.
  std::string ordner = path;
  while (ordner.size() > 1 && ordner.back() == '/') ordner.pop_back();
  const int dirFd = ::open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirFd < 0) return;
  EmptyFolderAt(dirFd);
  ::close(dirFd);
  ::rmdir(ordner.c_str());
}

int64_t FileSize(std::string_view path) {
  struct stat st;
  if (stat(Resolve(path).c_str(), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

namespace exact {

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }
bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool WriteNew(const std::string& path, const void* data, size_t size) {
  const int fd = CreateNew(path);
  return fd >= 0 && WriteFd(fd, data, size);
}

}  // namespace exact

std::string ProgramFolder() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string p(buf, static_cast<size_t>(n));
  size_t slash = p.rfind('/');
  if (slash == std::string::npos) return "./";
  const std::string ordner = AddVerbatimRoot(p.substr(0, slash + 1));
  return ordner == "/" ? ordner : ordner + "/";
}

std::string UserDataBase() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return AddVerbatimRoot(xdg);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return AddVerbatimRoot(std::string(home) + "/.local/share");
  return "";
}

std::string PrivateFolder(const std::string& path) {
  if (path.empty() || path[0] != '/') return "";
  const std::string dir = Normalised(path);
  if (dir == "/") return "";
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return "";
  struct stat st;
  // Someone else's folder, a link or a folder others can write into is not ours to use.
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return "";
  if ((st.st_mode & 0077) != 0 && chmod(dir.c_str(), 0700) != 0) return "";
  return AddVerbatimRoot(dir) + "/";
}

std::string PrivateTempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  const std::string base = (tmp && tmp[0] == '/') ? tmp : "/tmp";
  return PrivateFolder(base + "/harvo-" + std::to_string(getuid()));
}

}  // namespace platform::fs
