#include "support/support.hpp"

#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

// Every test program works in a temporary folder of its own: tests of different programs
// run at the same time, and two that unpack the same archive into a shared temporary
// folder would find (or delete) each other's files.
struct EigenerTempOrdner {
  std::string pfad;
  EigenerTempOrdner() {
    std::string muster = (std::filesystem::temp_directory_path() / "harvo-tests-XXXXXX").string();
    std::vector<char> buf(muster.begin(), muster.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) return;
    pfad = buf.data();
    setenv("TMPDIR", pfad.c_str(), 1);
  }
  ~EigenerTempOrdner() {
    if (pfad.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(pfad, ec);
  }
} eigenerTempOrdner;

// The current folder is the build folder, shared by every test program and left to the
// developer, and the game moves into the program's folder (build/tests): a test that
// leaves a file in either, or changes one there, fails. Only the files right in them
// count, not the build tools' own hidden ones. A test that moved into another folder is
// moved back, so that every test starts where the program did.
class NichtsInDenOrdnern : public ::testing::EmptyTestEventListener {
  using Stand = std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>>;
  struct Ordner {
    std::filesystem::path pfad;
    Stand vorher;
  };
  std::filesystem::path start_;
  std::vector<Ordner> ordner_;
  // The test program's own folder, where the game's start-up moves to.
  const std::filesystem::path programm_ = [] {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  }();

  static Stand Jetzt(const std::filesystem::path& pfad) {
    Stand s;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(pfad, ec)) {
      const std::string name = e.path().filename().string();
      if (name.starts_with(".") || !e.is_regular_file(ec)) continue;
      s[name] = {e.file_size(ec), e.last_write_time(ec)};
    }
    return s;
  }
  void OnTestStart(const ::testing::TestInfo&) override {
    std::error_code ec;
    start_ = std::filesystem::current_path(ec);
    ordner_ = {{start_, Jetzt(start_)}};
    if (!programm_.empty() && !std::filesystem::equivalent(programm_, start_, ec))
      ordner_.push_back({programm_, Jetzt(programm_)});
  }
  // Called while failures still count for the test, and (but with --gtest_brief) before
  // its result is printed.
  void OnTestEnd(const ::testing::TestInfo& test) override {
    for (const Ordner& o : ordner_)
      for (const auto& [name, stand] : Jetzt(o.pfad)) {
        const auto alt = o.vorher.find(name);
        if (alt == o.vorher.end() || alt->second != stand)
          ADD_FAILURE() << test.test_suite_name() << "." << test.name() << " wrote \"" << name << "\" in "
                        << o.pfad << ": use a temporary folder";
      }
    std::error_code ec;
    if (!start_.empty() && std::filesystem::current_path(ec) != start_) std::filesystem::current_path(start_, ec);
  }
};

struct Bewachen {
  Bewachen() { ::testing::UnitTest::GetInstance()->listeners().Append(new NichtsInDenOrdnern); }
} bewachen;

}  // namespace

namespace testsupport {

TempDir::TempDir(const char* existing) {
  if (existing && *existing) {
    // The folder of the test process that started this one: used, not owned.
    path_ = existing;
    if (path_.back() != '/') path_ += '/';
    owned_ = false;
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "harvo-test-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  path_ = std::string(buf.data()) + "/";
}

TempDir::~TempDir() {
  if (!owned_) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

IsolatedHome::IsolatedHome() : dir_(std::getenv(kReuseHome)) {
  for (const char* name : {"HOME", "XDG_DATA_HOME", "TMPDIR"}) {
    const char* v = std::getenv(name);
    saved_.emplace_back(name, v ? std::string(v) : std::string("\x01"));
  }
  std::filesystem::create_directories(dir_.path() + "tmp");
  setenv("HOME", dir_.path().c_str(), 1);
  unsetenv("XDG_DATA_HOME");
  setenv("TMPDIR", (dir_.path() + "tmp").c_str(), 1);
}

IsolatedHome::~IsolatedHome() {
  for (auto& [name, value] : saved_) {
    if (value == "\x01")
      unsetenv(name.c_str());
    else
      setenv(name.c_str(), value.c_str(), 1);
  }
}

int RunInChild(const std::function<int()>& body) {
  // The child is this test program started anew for the current test only, so every
  // global of the game starts fresh; it finds the parent's isolated home through the
  // environment.
  int result = -1;
  const char* home = std::getenv("HOME");
  setenv(kReuseHome, home ? home : "", 1);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        int code = 125;
        try {
          code = body();
        } catch (const std::exception& e) {
          fprintf(stderr, "child: %s\n", e.what());
          code = 124;
        }
        fflush(nullptr);
        _exit(code);
      },
      [&result](int status) {
        result = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
        return true;
      },
      "");
  unsetenv(kReuseHome);
  return result;
}

void QueueEscapeTaps() {
  constexpr int kEscape = 1, kTaps = 1000;
  for (int i = 0; i < kTaps; ++i) {
    platform::headless::QueueKeys({kEscape}, 1);
    platform::headless::QueueKeys({}, 1);
  }
}

std::vector<std::string> HeadlessTickLines(const std::string& command) {
  std::vector<std::string> zeilen;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return zeilen;
  char puffer[256];
  while (std::fgets(puffer, sizeof puffer, p)) zeilen.emplace_back(puffer);
  if (pclose(p) != 0) return {};
  if (!zeilen.empty() && zeilen.back().rfind("mean tick cost", 0) == 0) zeilen.pop_back();
  return zeilen;
}

std::string SourceDir() {
  const char* source = std::getenv("HARVO_SOURCE_DIR");
  return source ? std::string(source) : std::string(HARVO_SOURCE_DIR_DEFAULT);
}

bool UpdatingGolden() {
  const char* update = std::getenv("HARVO_UPDATE_GOLDEN");
  return update && std::string(update) == "1";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::string s = ReadText(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool TempFileLeft(const std::string& folder, const std::string& name) {
  std::error_code ec;
  for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(folder, ec))
    if (platform::fs::IsReplacingTemp(e.path().filename().string(), name)) return true;
  return false;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace testsupport
