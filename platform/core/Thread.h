#pragma once
// Cooperative threads. A Thread's Event_Run body runs on a stack of its own on the
// user-interface thread; YieldToNextThread() inside it hands control back to the event loop,
// which resumes every live thread once per tick (also inside the nested loops of modal dialogs).
// So everything between two yields runs whole.
#include <memory>

namespace fw {

class Thread : public std::enable_shared_from_this<Thread> {
 public:
  Thread();
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts the body; it first runs at the scheduler's next tick. The framework holds the thread
  // until its body returns. Starting a running thread does nothing.
  void Run();
  bool IsRunning() const;

  struct Fiber;  // the body's stack and context; opaque

 protected:
  virtual void Event_Run() = 0;

 private:
  friend class ThreadScheduler;
  std::unique_ptr<Fiber> fiber_;
};

// Inside a thread: lets the event loop and the other threads run, then comes back.
// Outside any thread: returns at once.
void YieldToNextThread();

// True while the calling code runs inside a thread's body.
bool InsideThread();

}  // namespace fw
