#pragma once
// Cooperative threads. A Thread's Event_Run body runs on a stack of its own on the
// user-interface thread and gives way to the event loop only at its yields and waits (also
// inside the nested loops of modal dialogs). So everything between two yields runs whole.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace fw {

class Thread : public std::enable_shared_from_this<Thread> {
 public:
  Thread();
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts the body; it first runs at the scheduler's next turn. The framework holds the thread
  // until its body returns. Starting a running thread does nothing.
  void Run();
  bool IsRunning() const;

  struct Fiber;  // the body's stack, context and wait; opaque

 protected:
  virtual void Event_Run() = 0;

 private:
  friend class ThreadScheduler;
  std::unique_ptr<Fiber> fiber_;
};

// Inside a thread: lets the event loop and the other threads run once the thread's time slice
// (2 ms since it was resumed) is used up, else returns at once. Outside any thread: returns at once.
void YieldToNextThread();

// Inside a thread: suspends it, costing nothing meanwhile, until ready() holds. ready is tested
// each time the event loop takes a turn (so after any event that may change what it reads), and
// at wakeAt when given; it must be cheap and change nothing. Outside any thread: returns at once.
void WaitUntil(std::function<bool()> ready,
               std::optional<std::chrono::steady_clock::time_point> wakeAt = std::nullopt);

// Inside a thread: suspends it until Ticks() reads at least ticks, woken by a timer then.
// Outside any thread: returns at once.
void SleepUntilTicks(int64_t ticks);

// True while the calling code runs inside a thread's body.
bool InsideThread();

}  // namespace fw
