#pragma once
// Helpers shared by the tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh temporary folder, removed with everything in it at the end of its life.
class TempDir {
 public:
  // With `existing` (a folder path) that folder is used instead and left in place.
  explicit TempDir(const char* existing = nullptr);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends in '/'
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
  bool owned_ = true;
};

// Environment variable through which a child test process finds its parent's home.
inline constexpr const char* kReuseHome = "HARVO_TEST_REUSE_HOME";

// Points HOME, XDG_DATA_HOME and TMPDIR into a fresh temporary folder for the life of
// the object, so nothing a test does reaches the real per-user folders.
class IsolatedHome {
 public:
  IsolatedHome();
  ~IsolatedHome();
  const std::string& home() const { return dir_.path(); }
  std::string dataDir() const { return dir_.path() + ".local/share/Harvo/"; }

 private:
  TempDir dir_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

// Runs `body` in a fresh child process of the test program (so the game's globals start
// as at program start) and returns its exit code; a crash gives 128 + the signal number.
// Call it from a test whose fixture holds an IsolatedHome: the child reuses that home.
// At most one call per test: the child runs the test again up to that call.
int RunInChild(const std::function<int()>& body);

// The keys of a whole program run that taps the pause key (down for one read of the
// keyboard, up for the next) until the run has ended: each start-up video and logo is
// skipped in turn, and the menu is left with the key.
void QueueEscapeTaps();

// The lines a headless run prints in a process of its own, one a tick (`command` is the
// harvo_headless program with its options), without the closing line of the mean tick
// cost; none when the command could not start or did not end with 0.
std::vector<std::string> HeadlessTickLines(const std::string& command);

// The source tree (for reference pictures): $HARVO_SOURCE_DIR, else the folder the tests
// were built from.
std::string SourceDir();
// True while reference pictures are to be written anew (HARVO_UPDATE_GOLDEN=1), never
// otherwise.
bool UpdatingGolden();

std::string ReadText(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
// Whether a temporary file that a replacing write of the file `name` makes is left in
// `folder` (see platform::fs::WriteReplacing).
bool TempFileLeft(const std::string& folder, const std::string& name);
// The lines of a CR LF text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace testsupport
