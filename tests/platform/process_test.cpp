// The single-instance lock with real processes: copies started at the same moment and a
// copy that joins a running one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/process.hpp"
#include "support/support.hpp"

namespace {

struct Pipe {
  int fd[2];
  Pipe() {
    if (pipe(fd) != 0) throw std::runtime_error("pipe");
  }
  ~Pipe() {
    CloseWrite();
    close(fd[0]);
  }
  void CloseWrite() {
    if (fd[1] >= 0) close(fd[1]);
    fd[1] = -1;
  }
};

// What a copy does at its start: true when it found itself alone.
enum class Start { Allein, Beitreten };
bool Starten(Start start) {
  bool only = platform::HoldOnlyInstanceLock();
  if (!only && start == Start::Beitreten) platform::JoinInstanceLock();
  return only;
}

// A copy of the program: it waits for `start` to close, starts, reports '1' (alone) or
// '0' on `report` and keeps its hold until `end` closes.
pid_t Copy(Pipe& start, Pipe& report, Pipe& end, Start art) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  platform::ForgetInstanceLock();  // the parent's hold is not this copy's
  start.CloseWrite();
  end.CloseWrite();
  char c;
  while (read(start.fd[0], &c, 1) > 0) {
  }
  c = Starten(art) ? '1' : '0';
  if (write(report.fd[1], &c, 1) != 1) _exit(2);
  while (read(end.fd[0], &c, 1) > 0) {
  }
  _exit(0);
}

// Starts `copies` copies together; returns how many found no other one running. The
// copies keep their holds until `end` closes.
int StartTogether(int copies, Pipe& end, std::vector<pid_t>& pids, Start art = Start::Allein) {
  Pipe start, report;
  for (int i = 0; i < copies; ++i) pids.push_back(Copy(start, report, end, art));
  start.CloseWrite();
  int alone = 0;
  for (int i = 0; i < copies; ++i) {
    char c = 0;
    if (read(report.fd[0], &c, 1) == 1 && c == '1') ++alone;
  }
  return alone;
}

void EndAll(Pipe& end, std::vector<pid_t>& pids) {
  end.CloseWrite();
  for (pid_t p : pids) waitpid(p, nullptr, 0);
  pids.clear();
}

}  // namespace

// Of copies started together exactly one finds itself alone.
TEST(InstanceLock, OfCopiesStartedTogetherExactlyOneRuns) {
  testsupport::IsolatedHome home;
  platform::ForgetInstanceLock();
  for (int round = 0; round < 30; ++round) {
    Pipe end;
    std::vector<pid_t> pids;
    EXPECT_EQ(StartTogether(8, end, pids), 1) << "round " << round;
    EndAll(end, pids);
  }
}

TEST(InstanceLock, ACopyThatJoinsCountsAsRunning) {
  testsupport::IsolatedHome home;
  platform::ForgetInstanceLock();
  ASSERT_TRUE(platform::HoldOnlyInstanceLock());
  Pipe end;
  std::vector<pid_t> pids;
  EXPECT_EQ(StartTogether(1, end, pids, Start::Beitreten), 0);
  // The first copy ends; the one that joined still holds its share.
  platform::ForgetInstanceLock();
  EXPECT_FALSE(platform::HoldOnlyInstanceLock());
  EndAll(end, pids);
  EXPECT_TRUE(platform::HoldOnlyInstanceLock());
  platform::ForgetInstanceLock();
}
