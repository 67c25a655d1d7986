#include "platform/process.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "platform/backend.hpp"
#include "platform/fs.hpp"

namespace platform {
namespace {

std::string g_programFile;
std::string g_commandLine;
int g_priorityClass = kPriorityClassNormal;
int g_threadPriority = 0;
int g_lockFd = -1;

std::string LockFilePath() {
  std::string base = fs::UserDataBase();
  if (!base.empty()) {
    std::string dir = base + "/Harvo";
    // The per-user folder may not exist yet on a first start.
    for (size_t i = 1; i <= dir.size(); ++i)
      if (i == dir.size() || dir[i] == '/') ::mkdir(dir.substr(0, i).c_str(), 0755);
    if (fs::DirExists(dir)) return dir + "/.instance-lock";
  }
  std::string tmp = fs::PrivateTempFolder();
  return tmp.empty() ? std::string() : tmp + "instance-lock";
}

int OpenLock() {
  if (g_lockFd >= 0) return g_lockFd;
  std::string path = LockFilePath();
  if (path.empty()) return -1;
  g_lockFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  return g_lockFd;
}

}  // namespace

void SetCommandLine(int argc, char** argv) {
  g_programFile = argc > 0 ? argv[0] : "harvo";
  g_commandLine.clear();
  for (int i = 1; i < argc; ++i) {
    if (i > 1) g_commandLine += ' ';
    g_commandLine += argv[i];
  }
}

const std::string& ProgramFile() { return g_programFile; }

std::string ProgramName() {
  std::string name = g_programFile;
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
  return name;
}

std::string CommandLineText() { return g_commandLine; }

int GetPriorityClass() { return g_priorityClass; }
int GetThreadPriority() { return g_threadPriority; }
bool SetPriorityClass(int value) {
  g_priorityClass = value;
  return true;
}
bool SetThreadPriority(int value) {
  g_threadPriority = value;
  return true;
}

unsigned GetVersionWord() {
  // Major 6, minor 1, an NT-family system (bit 31 clear).
  return 6u | (1u << 8);
}

int ScreenLogicalDpi() { return backend::LogicalDpi(); }
int DesktopHeight() { return backend::DesktopHeight(); }

DateTime Now() { return backend::Now(); }

DateTime SystemNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// Every running instance holds a shared lock on the lock file; a new one probes with an
// exclusive lock, which fails while any other instance runs.
bool OtherInstanceRunning() {
  int fd = OpenLock();
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::flock(fd, LOCK_UN);
    return false;
  }
  return true;
}

void HoldInstanceLock() {
  int fd = OpenLock();
  if (fd >= 0) ::flock(fd, LOCK_SH | LOCK_NB);
}

}  // namespace platform
