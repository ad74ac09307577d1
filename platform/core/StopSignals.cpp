#include "platform/core/StopSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fw {
namespace {

// The handler's only work: one byte into a pipe that the event loop reads.
int g_pipe[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const char byte = char(signal);
  [[maybe_unused]] ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onStop) {
  if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [onStop = std::move(onStop)] {
    char bytes[64];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    onStop();
  });
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    Taken t{signal, {}};
    if (::sigaction(signal, nullptr, &t.previous) != 0 || t.previous.sa_handler == SIG_IGN) continue;
    struct sigaction handler = {};
    handler.sa_handler = OnSignal;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    if (::sigaction(signal, &handler, nullptr) == 0) taken_.push_back(t);
  }
}

StopSignals::~StopSignals() {
  for (const Taken& t : taken_) ::sigaction(t.signal, &t.previous, nullptr);
  if (!notifier_) return;
  notifier_.reset();
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace fw
