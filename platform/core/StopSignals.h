#pragma once
// The signals that ask a desktop program to end: SIGTERM (a logout or shutdown), SIGHUP (its
// terminal gone) and SIGINT (Ctrl+C in its terminal). While a StopSignals lives, each arrives
// as a call from the event loop instead of ending the process on the spot, so the program can
// end as its own quit does. A signal the process was started to ignore (nohup) stays ignored.
#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>
#include <vector>

namespace fw {

class StopSignals {
 public:
  explicit StopSignals(std::function<void()> onStop);
  // The dispositions found are put back.
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  struct Taken {
    int signal;
    struct sigaction previous;
  };
  std::vector<Taken> taken_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace fw
