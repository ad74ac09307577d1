#include "platform/core/Thread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <boost/context/fiber.hpp>
#include <boost/context/fixedsize_stack.hpp>
#include <algorithm>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Log.h"

namespace ctx = boost::context;
using Clock = std::chrono::steady_clock;

namespace fw {

struct Thread::Fiber {
  ctx::fiber self;    // the body's context while it is suspended
  ctx::fiber caller;  // the scheduler's context while the body runs
  bool running = false;
  bool finished = false;
  Clock::time_point resumedAt;
  // While the body waits: what ends the wait, and when a timer looks again.
  std::function<bool()> until;
  std::optional<Clock::time_point> wakeAt;
};

namespace {
// Qt calls need far more stack than Boost's default of 128 KiB.
constexpr size_t kStackBytes = 1024 * 1024;
// How long a body runs before its yields let the event loop in.
constexpr auto kTimeSlice = std::chrono::milliseconds(2);
Thread::Fiber* g_current = nullptr;

void Suspend(Thread::Fiber& f) { f.caller = std::move(f.caller).resume(); }
}  // namespace

// Resumes the threads from the event loop: at once while one is ready, else when a wait's timer
// is due; a waiting thread becomes ready when its condition holds, tested at each turn of the
// event loop. An idle or waiting thread thus costs no timer ticks.
class ThreadScheduler {
 public:
  static ThreadScheduler& Instance() {
    static ThreadScheduler scheduler;
    return scheduler;
  }

  void Add(std::shared_ptr<Thread> thread) {
    threads_.push_back(std::move(thread));
    EnsureTimer();
    Arm();
  }

  bool Holds(const Thread* thread) const {
    return std::any_of(threads_.begin(), threads_.end(), [&](auto& t) { return t.get() == thread; });
  }

 private:
  void EnsureTimer() {
    if (timer_) return;
    timer_ = new QTimer(QCoreApplication::instance());
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
    // A turn of the event loop, nested ones too, may have ended a wait.
    QAbstractEventDispatcher* loop = QCoreApplication::eventDispatcher();
    QObject::connect(loop, &QAbstractEventDispatcher::aboutToBlock, timer_, [this] { CheckWaits(); });
    QObject::connect(loop, &QAbstractEventDispatcher::awake, timer_, [this] { CheckWaits(); });
    // Threads still alive when the application goes are unwound while Qt still stands.
    QObject::connect(timer_, &QObject::destroyed, [this] {
      timer_ = nullptr;
      auto doomed = std::move(threads_);
      threads_.clear();
      // Unwind each body while its thread object is still whole: left to ~Thread, the body's
      // locals would be destroyed after the subclass that they may refer to.
      for (auto& thread : doomed) {
        ctx::fiber unwound = std::move(thread->fiber_->self);
      }
    });
  }

  // True when f can be resumed now; a wait whose timer is due but whose condition does not
  // hold yet looks again a millisecond later.
  static bool Ready(Thread::Fiber& f, Clock::time_point now) {
    if (f.running || f.finished) return false;
    if (!f.until || f.until()) return true;
    if (f.wakeAt && *f.wakeAt <= now) f.wakeAt = now + std::chrono::milliseconds(1);
    return false;
  }

  void CheckWaits() {
    const Clock::time_point now = Clock::now();
    for (auto& thread : threads_) {
      Thread::Fiber& f = *thread->fiber_;
      if (f.until && Ready(f, now)) {
        timer_->start(0);
        return;
      }
    }
  }

  // Starts the timer for the next resume, or stops it when every thread waits for an event.
  void Arm() {
    const Clock::time_point now = Clock::now();
    std::optional<Clock::time_point> next;
    for (auto& thread : threads_) {
      Thread::Fiber& f = *thread->fiber_;
      if (Ready(f, now)) {
        timer_->start(0);
        return;
      }
      if (!f.running && f.wakeAt && (!next || *f.wakeAt < *next)) next = f.wakeAt;
    }
    if (!next) {
      timer_->stop();
      return;
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now);
    timer_->start(int(std::max<int64_t>(0, wait.count())));
  }

  void Tick() {
    // Armed again first, with a new timer id: Qt does not fire a timer whose slot is on the
    // stack, so a nested event loop opened during this turn would starve the other threads.
    Arm();
    auto snapshot = threads_;
    for (auto& thread : snapshot) {
      Thread::Fiber& f = *thread->fiber_;
      if (Ready(f, Clock::now())) Resume(f);
    }
    std::erase_if(threads_, [](auto& t) { return t->fiber_->finished && !t->fiber_->running; });
    if (timer_) Arm();
  }

  static void Resume(Thread::Fiber& f) {
    Thread::Fiber* outer = g_current;
    g_current = &f;
    f.running = true;
    f.resumedAt = Clock::now();
    f.self = std::move(f.self).resume();
    f.running = false;
    g_current = outer;
  }

  std::vector<std::shared_ptr<Thread>> threads_;
  QTimer* timer_ = nullptr;
};

Thread::Thread() : fiber_(std::make_unique<Fiber>()) {}

Thread::~Thread() = default;  // an unfinished body's stack is unwound by the fiber's destructor

bool Thread::IsRunning() const { return ThreadScheduler::Instance().Holds(this); }

void Thread::Run() {
  if (IsRunning()) return;
  fiber_ = std::make_unique<Fiber>();
  Fiber* f = fiber_.get();
  f->self = ctx::fiber(std::allocator_arg, ctx::fixedsize_stack(kStackBytes), [this, f](ctx::fiber&& caller) {
    f->caller = std::move(caller);
    try {
      Event_Run();
    } catch (const ctx::detail::forced_unwind&) {
      throw;  // the fiber is being destroyed: let its stack unwind
    } catch (...) {
      LogCaughtException("a thread");
    }
    f->finished = true;
    return std::move(f->caller);
  });
  ThreadScheduler::Instance().Add(shared_from_this());
}

void YieldToNextThread() {
  Thread::Fiber* f = g_current;
  if (!f || Clock::now() - f->resumedAt < kTimeSlice) return;
  Suspend(*f);
}

void WaitUntil(std::function<bool()> ready, std::optional<Clock::time_point> wakeAt) {
  Thread::Fiber* f = g_current;
  if (!f) return;
  while (!ready()) {
    f->until = ready;
    f->wakeAt = wakeAt;
    Suspend(*f);
    f->until = nullptr;
    f->wakeAt.reset();
  }
}

void SleepUntilTicks(int64_t ticks) {
  // Ticks() counts sixtieths of a second of the steady clock: it first reads ticks at this moment.
  const Clock::time_point at{std::chrono::microseconds((ticks * 1000000 + 59) / 60)};
  WaitUntil([ticks] { return Ticks() >= ticks; }, at);
}

bool InsideThread() { return g_current != nullptr; }

}  // namespace fw
