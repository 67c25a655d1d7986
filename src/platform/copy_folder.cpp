#include "platform/copy_folder.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/fs.hpp"

namespace platform {
namespace {

constexpr std::string_view kPrefix = "copy-";
constexpr size_t kZufall = 6;  // the letters mkdtemp puts in place of "XXXXXX"
constexpr const char* kSperre = ".lock";

bool IstKopienName(std::string_view name) {
  if (name.size() != kPrefix.size() + kZufall || !name.starts_with(kPrefix)) return false;
  for (char c : name.substr(kPrefix.size()))
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

int OrdnerOeffnen(int dirFd, const char* name) {
  return ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Whether the open lock file `fd` is still the file of that name in the folder: a start
// that cleared the folder meanwhile has removed it, and another may have made a new one.
bool NochDa(int fd, int dirFd) {
  struct stat offen, pfad;
  return ::fstat(fd, &offen) == 0 && ::fstatat(dirFd, kSperre, &pfad, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(pfad.st_mode) && offen.st_dev == pfad.st_dev && offen.st_ino == pfad.st_ino;
}

bool Sperren(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

// The lock file of a copy folder, for a start that looks whether the copy has ended. One
// missing is made: the folder of a copy that was ended before it made its own.
int SperreOeffnen(int dirFd) {
  constexpr int kArt = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  const int fd = ::openat(dirFd, kSperre, kArt);
  if (fd >= 0 || errno != ENOENT) return fd;
  return ::openat(dirFd, kSperre, kArt | O_CREAT | O_EXCL, 0600);
}

// This process's folder: the base it lies in, its path, its lock file held open, and the
// process that made it (a forked child shares its parent's folder and lock).
struct Eigener {
  std::string base, ordner;
  int sperre = -1;
  pid_t macher = 0;
};
std::mutex g_mutex;
Eigener g_eigener;
CopyFolderHook g_hook = nullptr;

void Melden(CopyFolderStep step, const std::string& ordner) {
  if (g_hook) g_hook(step, ordner);
}

// Lets go of the folder; its maker removes it first. Called with g_mutex held.
void Loslassen() {
  if (g_eigener.sperre < 0) return;
  if (g_eigener.macher == ::getpid()) {
    // The lock is held until the folder is gone: no start takes it for an ended one's.
    fs::RemoveFolderTree(g_eigener.ordner);
  }
  // Closing, not unlocking: a forked child's copy of the lock stays its parent's.
  ::close(g_eigener.sperre);
  g_eigener = Eigener{};
}

void AmEnde() {
  std::lock_guard<std::mutex> lock(g_mutex);
  Loslassen();
}

// Makes a new folder in `base` with its lock held.
bool Anlegen(const std::string& base) {
  for (int versuch = 0; versuch < 10; ++versuch) {
    std::string muster = base + std::string(kPrefix) + std::string(kZufall, 'X');
    if (!::mkdtemp(muster.data())) return false;
    const std::string ordner = muster + "/";
    Melden(CopyFolderStep::Made, ordner);
    const int dirFd = OrdnerOeffnen(AT_FDCWD, muster.c_str());
    // Made afresh: a lock file already there was made by a start that took the folder
    // for an ended copy's, and the folder is that start's to remove.
    const int fd = dirFd < 0 ? -1 : ::openat(dirFd, kSperre, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) Melden(CopyFolderStep::LockFileMade, ordner);
    const bool unser = fd >= 0 && Sperren(fd);
    if (unser) Melden(CopyFolderStep::Locked, ordner);
    if (unser && NochDa(fd, dirFd)) {
      if (dirFd >= 0) ::close(dirFd);
      static const bool amEnde = std::atexit(AmEnde) == 0;
      (void)amEnde;
      g_eigener = Eigener{base, ordner, fd, ::getpid()};
      return true;
    }
    if (fd >= 0) ::close(fd);
    if (dirFd >= 0) ::close(dirFd);
  }
  return false;
}

}  // namespace

std::string CopyFolder(const std::string& base) {
  if (base.empty()) return "";
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_eigener.sperre >= 0) {
    // A folder removed meanwhile (a cleaner of the temporary folder) is made anew.
    const int dirFd = OrdnerOeffnen(AT_FDCWD, g_eigener.ordner.c_str());
    const bool da = dirFd >= 0 && NochDa(g_eigener.sperre, dirFd);
    if (dirFd >= 0) ::close(dirFd);
    if (g_eigener.base != base || !da) Loslassen();
  }
  if (g_eigener.sperre < 0 && !Anlegen(base)) return "";
  return g_eigener.ordner;
}

int ClearEndedCopies(const std::string& base) {
  const int baseFd = OrdnerOeffnen(AT_FDCWD, base.empty() ? "." : base.c_str());
  if (baseFd < 0) return 0;
  int weg = 0;
  for (const std::string& name : fs::EntryNamesAt(baseFd)) {
    if (!IstKopienName(name)) continue;
    const int dirFd = OrdnerOeffnen(baseFd, name.c_str());
    if (dirFd < 0) continue;  // a link or a file of such a name is none of ours
    const int fd = SperreOeffnen(dirFd);
    // The lock is taken only while no copy holds it; held, the folder is cleared and
    // the lock file goes last, so no copy can take the folder for its own meanwhile.
    if (fd >= 0 && Sperren(fd) && NochDa(fd, dirFd)) {
      fs::EmptyFolderAt(dirFd, kSperre);
      ::unlinkat(dirFd, kSperre, 0);
      if (::unlinkat(baseFd, name.c_str(), AT_REMOVEDIR) == 0) ++weg;
    }
    if (fd >= 0) ::close(fd);
    ::close(dirFd);
  }
  ::close(baseFd);
  return weg;
}

void RemoveCopyFolder() { AmEnde(); }

void SetCopyFolderHook(CopyFolderHook hook) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_hook = hook;
}

}  // namespace platform
