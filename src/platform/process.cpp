#include "platform/process.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
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
std::atomic<int> g_endSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

// The folder of the lock files: the per-user folder, or the private temporary folder.
std::string LockFolder() {
  std::string base = fs::UserDataBase();
  if (!base.empty()) {
    // Found as the per-user folder is: the base as it is, "Harvo" in whatever case it has.
    std::string dir = fs::Resolve(base + "/Harvo");
    // The per-user folder may not exist yet on a first start.
    for (size_t i = 1; i <= dir.size(); ++i)
      if (i == dir.size() || dir[i] == '/') ::mkdir(dir.substr(0, i).c_str(), 0755);
    if (fs::DirExists(dir)) return dir + "/";
  }
  return fs::PrivateTempFolder();
}

// flock, asked again when a signal interrupts the wait.
bool Flock(int fd, int operation) {
  int r;
  while ((r = ::flock(fd, operation)) != 0 && errno == EINTR) {
  }
  return r == 0;
}

int OpenLockFile(const char* name) {
  std::string folder = LockFolder();
  if (folder.empty()) return -1;
  return ::open((folder + name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

// Every running instance holds a shared lock on the instance lock file. Checking that no
// other one does and taking the share happen behind a gate (an exclusive lock on a second
// file, held only for these two steps), so two instances started at the same moment
// cannot both find the lock free before either holds it.
template <class Step>
bool BehindGate(Step step) {
  if (g_lockFd < 0) g_lockFd = OpenLockFile(".instance-lock");
  if (g_lockFd < 0) return true;
  int gate = OpenLockFile(".instance-gate");
  if (gate >= 0) Flock(gate, LOCK_EX);
  bool result = step(g_lockFd);
  if (gate >= 0) ::close(gate);  // lets go of the gate
  return result;
}

void OnEndSignal(int sig) {
  if (g_endSignal.exchange(sig) != 0) {
    // The first one was never taken: nothing pumps any more. End as the signal would.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
  }
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

bool HoldOnlyInstanceLock() {
  return BehindGate([](int fd) {
    // An exclusive lock is granted only while no other instance holds a share; behind
    // the gate nobody can take one while it turns into ours.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
    ::flock(fd, LOCK_SH | LOCK_NB);
    return true;
  });
}

bool HoldsInstanceLock() { return g_lockFd >= 0; }

void JoinInstanceLock() {
  BehindGate([](int fd) { return ::flock(fd, LOCK_SH | LOCK_NB) == 0; });
}

void ForgetInstanceLock() {
  // Closing, not unlocking: a lock inherited from a parent stays the parent's.
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = -1;
}

void CatchEndSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnEndSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
}

bool TakeEndSignal() { return g_endSignal.exchange(0) != 0; }

}  // namespace platform
