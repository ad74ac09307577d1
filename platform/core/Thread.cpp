#include "platform/core/Thread.h"

#include <QCoreApplication>
#include <QTimer>
#include <boost/context/fiber.hpp>
#include <boost/context/fixedsize_stack.hpp>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace ctx = boost::context;

namespace fw {

struct Thread::Fiber {
  ctx::fiber self;    // the body's context while it is suspended
  ctx::fiber caller;  // the scheduler's context while the body runs
  bool running = false;
  bool finished = false;
};

namespace {
// Qt calls need far more stack than Boost's default of 128 KiB.
constexpr size_t kStackBytes = 1024 * 1024;
Thread::Fiber* g_current = nullptr;
}  // namespace

// Resumes every live thread once per tick of a 1 ms precise timer.
class ThreadScheduler {
 public:
  static ThreadScheduler& Instance() {
    static ThreadScheduler scheduler;
    return scheduler;
  }

  void Add(std::shared_ptr<Thread> thread) {
    threads_.push_back(std::move(thread));
    EnsureTimer();
    if (!timer_->isActive()) timer_->start();
  }

  bool Holds(const Thread* thread) const {
    return std::any_of(threads_.begin(), threads_.end(), [&](auto& t) { return t.get() == thread; });
  }

 private:
  void EnsureTimer() {
    if (timer_) return;
    timer_ = new QTimer(QCoreApplication::instance());
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(1);
    QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
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

  void Tick() {
    // A new timer id, so that a nested event loop opened during this tick still gets ticks.
    timer_->start();
    auto snapshot = threads_;
    for (auto& thread : snapshot) {
      Thread::Fiber& f = *thread->fiber_;
      if (f.running || f.finished) continue;
      Resume(f);
    }
    std::erase_if(threads_, [](auto& t) { return t->fiber_->finished && !t->fiber_->running; });
    if (threads_.empty()) timer_->stop();
  }

  static void Resume(Thread::Fiber& f) {
    Thread::Fiber* outer = g_current;
    g_current = &f;
    f.running = true;
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
    } catch (const std::exception& e) {
      std::fprintf(stderr, "Unhandled exception in a thread: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "Unhandled exception in a thread\n");
    }
    f->finished = true;
    return std::move(f->caller);
  });
  ThreadScheduler::Instance().Add(shared_from_this());
}

void YieldToNextThread() {
  Thread::Fiber* f = g_current;
  if (!f) return;
  f->caller = std::move(f->caller).resume();
}

bool InsideThread() { return g_current != nullptr; }

}  // namespace fw
