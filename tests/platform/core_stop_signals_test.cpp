// What the stop signals leave alone: a signal ignored at start, the dispositions found once the
// event loop is over, and child processes, which must not inherit the signal pipe.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>

#include <csignal>
#include <set>

#include "platform/core/StopSignals.h"

namespace {

void OwnHandler(int) {}

using Handler = void (*)(int);

Handler HandlerOf(int signal) {
  struct sigaction now = {};
  sigaction(signal, nullptr, &now);
  return now.sa_handler;
}

// Without the listing's own.
std::set<int> OpenDescriptors() {
  std::set<int> fds;
  DIR* dir = opendir("/proc/self/fd");
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') fds.insert(atoi(entry->d_name));
  fds.erase(dirfd(dir));
  closedir(dir);
  return fds;
}

TEST(CoreStopSignals, AnIgnoredSignalStaysIgnoredAndTheOthersAreGivenBack) {
  struct sigaction ignore = {}, own = {}, byDefault = {}, saved[3];
  ignore.sa_handler = SIG_IGN;
  own.sa_handler = OwnHandler;
  byDefault.sa_handler = SIG_DFL;
  sigaction(SIGHUP, &ignore, &saved[0]);  // as under nohup
  sigaction(SIGTERM, &own, &saved[1]);
  sigaction(SIGINT, &byDefault, &saved[2]);
  const std::set<int> before = OpenDescriptors();
  {
    fw::StopSignals taken([] {});
    EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
    EXPECT_NE(HandlerOf(SIGTERM), OwnHandler);
    EXPECT_NE(HandlerOf(SIGINT), SIG_DFL);
    int opened = 0;
    for (int fd : OpenDescriptors()) {
      if (before.contains(fd)) continue;
      ++opened;
      EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC) << "descriptor " << fd << " would reach a child process";
    }
    EXPECT_EQ(opened, 2) << "the pipe's two ends";
  }
  EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
  EXPECT_EQ(HandlerOf(SIGTERM), OwnHandler);
  EXPECT_EQ(HandlerOf(SIGINT), SIG_DFL);
  EXPECT_EQ(OpenDescriptors(), before);
  sigaction(SIGHUP, &saved[0], nullptr);
  sigaction(SIGTERM, &saved[1], nullptr);
  sigaction(SIGINT, &saved[2], nullptr);
}

}  // namespace
