// Cooperative threads: bodies interleave at their yields and only there, a yield outside a
// thread returns at once, threads keep running under a modal dialog and inside a nested event
// loop, an exception ends only its own thread, and an unfinished thread is unwound safely
// when the application goes.
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Thread.h"

namespace {

class FnThread : public fw::Thread {
 public:
  explicit FnThread(std::function<void()> body, bool* destroyed = nullptr)
      : body_(std::move(body)), destroyed_(destroyed) {}
  ~FnThread() override {
    if (destroyed_) *destroyed_ = true;
  }

 protected:
  void Event_Run() override { body_(); }

 private:
  std::function<void()> body_;
  bool* destroyed_;
};

std::shared_ptr<FnThread> Start(std::function<void()> body) {
  auto thread = std::make_shared<FnThread>(std::move(body));
  thread->Run();
  return thread;
}

bool WaitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

bool AllEnded(const std::vector<std::shared_ptr<FnThread>>& threads) {
  for (auto& t : threads)
    if (t->IsRunning()) return false;
  return true;
}

}  // namespace

TEST(CoreThread, TwoThreadsTakeTurnsAtYieldsOnceTheirTimeSliceIsUsedUp) {
  std::vector<std::string> log;
  auto body = [&log](std::string name) {
    return [&log, name] {
      for (int i = 1; i <= 3; ++i) {
        log.push_back(name + std::to_string(i));
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(3);  // over a slice
        while (std::chrono::steady_clock::now() < until) {
        }
        fw::YieldToNextThread();
      }
    };
  };
  auto a = Start(body("A"));
  auto b = Start(body("B"));
  // A body first runs at the scheduler's next turn, not inside Run.
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(a->IsRunning());
  ASSERT_TRUE(WaitFor([&] { return AllEnded({a, b}); }));
  EXPECT_EQ(log, (std::vector<std::string>{"A1", "B1", "A2", "B2", "A3", "B3"}));

  // Within its slice a yield returns at once: quick passes do not wait for the event loop.
  int passes = 0, seenByOther = -1;
  auto quick = Start([&] {
    for (; passes < 100; ++passes) fw::YieldToNextThread();
  });
  auto other = Start([&] { seenByOther = passes; });
  ASSERT_TRUE(WaitFor([&] { return AllEnded({quick, other}); }));
  EXPECT_EQ(seenByOther, 100);
}

TEST(CoreThread, AWaitEndsOnTheEventThatEndsItAndASleepOnItsTimerAlsoUnderAModalDialog) {
  QDialog dialog;
  bool flag = false;
  int64_t start = -1, slept = -1;
  auto t = Start([&] {
    QTimer::singleShot(0, &dialog, [&] { flag = true; });  // an event, handled once this waits
    fw::WaitUntil([&] { return flag; });
    start = fw::Ticks();
    fw::SleepUntilTicks(start + 3);  // nothing else happens meanwhile
    slept = fw::Ticks();
    dialog.accept();
  });
  QTimer::singleShot(5000, &dialog, &QDialog::reject);
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_GE(slept, start + 3);
  ASSERT_TRUE(WaitFor([&] { return !t->IsRunning(); }));
}

TEST(CoreThread, WorkBetweenTwoYieldsIsNeverInterleaved) {
  const void* owner = nullptr;  // which thread is inside its section
  int violations = 0, sections = 0, loopChecks = 0;
  std::vector<std::shared_ptr<FnThread>> threads;
  for (int n = 0; n < 4; ++n) {
    auto self = std::make_shared<int>(n);
    threads.push_back(Start([&, self] {
      for (int round = 0; round < 40; ++round) {
        if (owner != nullptr) ++violations;
        owner = self.get();
        // Some work that takes a while, so a preemptive switch would land inside it.
        auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
        while (std::chrono::steady_clock::now() < until) {
          if (owner != self.get()) ++violations;
        }
        if (owner != self.get()) ++violations;
        owner = nullptr;
        ++sections;
        fw::YieldToNextThread();
      }
    }));
  }
  // Event-loop code between ticks never sees a thread inside its section either.
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    ++loopChecks;
    if (owner != nullptr || fw::InsideThread()) ++violations;
  });
  probe.start();
  ASSERT_TRUE(WaitFor([&] { return AllEnded(threads); }, 10000));
  probe.stop();
  EXPECT_EQ(sections, 160);
  EXPECT_EQ(violations, 0);
  EXPECT_GT(loopChecks, 0);
}

TEST(CoreThread, YieldOutsideAnyThreadReturnsAtOnce) {
  EXPECT_FALSE(fw::InsideThread());
  int steps = 0;
  bool stop = false, insideSeen = false;
  auto t = Start([&] {
    insideSeen = fw::InsideThread();
    while (!stop) {
      ++steps;
      fw::YieldToNextThread();
    }
  });
  ASSERT_TRUE(WaitFor([&] { return steps >= 3; }));
  EXPECT_TRUE(insideSeen);

  int before = steps;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) fw::YieldToNextThread();
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(50));
  EXPECT_EQ(steps, before);  // no thread ran meanwhile
  EXPECT_FALSE(fw::InsideThread());

  stop = true;
  ASSERT_TRUE(WaitFor([&] { return !t->IsRunning(); }));
}

TEST(CoreThread, ThreadsKeepRunningWhileAModalDialogIsUp) {
  int steps = 0;
  bool stop = false;
  auto t = Start([&] {
    while (!stop) {
      ++steps;
      fw::YieldToNextThread();
    }
  });
  QDialog dialog;
  int atOpen = -1;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!dialog.isVisible()) return;
    if (atOpen < 0) atOpen = steps;
    else if (steps - atOpen >= 50) dialog.accept();
  });
  poll.start();
  QTimer::singleShot(5000, &dialog, &QDialog::reject);  // in case the thread starves
  int result = dialog.exec();
  poll.stop();
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_GE(atOpen, 0);
  EXPECT_GE(steps - atOpen, 50);

  stop = true;
  ASSERT_TRUE(WaitFor([&] { return !t->IsRunning(); }));
}

TEST(CoreThread, NestedEventLoopInsideAThreadDoesNotStarveTheOthers) {
  int otherSteps = 0, otherDuringLoop = -1;
  bool stop = false, timedOut = false;
  auto waiter = Start([&] {
    fw::YieldToNextThread();
    int atStart = otherSteps;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (otherSteps - atStart >= 30) loop.quit();
    });
    QTimer::singleShot(5000, &loop, [&] {
      timedOut = true;
      loop.quit();
    });
    poll.start();
    loop.exec();
    otherDuringLoop = otherSteps - atStart;
  });
  auto other = Start([&] {
    while (!stop) {
      ++otherSteps;
      fw::YieldToNextThread();
    }
  });
  ASSERT_TRUE(WaitFor([&] { return !waiter->IsRunning(); }, 10000));
  EXPECT_FALSE(timedOut);
  EXPECT_GE(otherDuringLoop, 30);
  stop = true;
  ASSERT_TRUE(WaitFor([&] { return !other->IsRunning(); }));
}

TEST(CoreThread, ExceptionEndsOnlyItsOwnThread) {
  bool afterThrow = false;
  int goodSteps = 0;
  auto bad = Start([&] {
    fw::YieldToNextThread();
    throw std::runtime_error("thrown in a thread");
    afterThrow = true;
  });
  auto weird = Start([] { throw 42; });
  auto good = Start([&] {
    for (int i = 0; i < 20; ++i) {
      ++goodSteps;
      fw::YieldToNextThread();
    }
  });
  ASSERT_TRUE(WaitFor([&] { return AllEnded({bad, weird, good}); }));
  EXPECT_FALSE(afterThrow);
  EXPECT_EQ(goodSteps, 20);
  EXPECT_FALSE(fw::InsideThread());

  // A thread that ended by an exception can run again.
  bool ranAgain = false;
  auto again = std::make_shared<FnThread>([&] {
    if (ranAgain) return;
    ranAgain = true;
    throw std::logic_error("once");
  });
  again->Run();
  ASSERT_TRUE(WaitFor([&] { return !again->IsRunning(); }));
  ranAgain = false;
  again->Run();
  ASSERT_TRUE(WaitFor([&] { return !again->IsRunning(); }));
  EXPECT_TRUE(ranAgain);
}

TEST(CoreThread, RunStartsOnceAndTheFrameworkHoldsTheThread) {
  int runs = 0;
  bool stop = false;
  auto t = Start([&] {
    ++runs;
    while (!stop) fw::YieldToNextThread();
  });
  t->Run();  // already running: nothing happens
  ASSERT_TRUE(WaitFor([&] { return runs == 1; }));
  t->Run();
  QTest::qWait(20);
  EXPECT_EQ(runs, 1);
  stop = true;
  ASSERT_TRUE(WaitFor([&] { return !t->IsRunning(); }));
  // Once ended, Run starts the body again.
  stop = true;
  t->Run();
  ASSERT_TRUE(WaitFor([&] { return !t->IsRunning(); }));
  EXPECT_EQ(runs, 2);

  // Dropping the last reference of a running thread leaves it to finish, then it goes.
  bool finished = false, destroyed = false;
  {
    auto held = std::make_shared<FnThread>(
        [&] {
          for (int i = 0; i < 5; ++i) fw::YieldToNextThread();
          finished = true;
        },
        &destroyed);
    held->Run();
  }
  EXPECT_FALSE(destroyed);
  ASSERT_TRUE(WaitFor([&] { return destroyed; }));
  EXPECT_TRUE(finished);
}

TEST(CoreThread, ThreadStartedInsideAThreadRuns) {
  std::vector<std::string> log;
  std::shared_ptr<FnThread> inner;
  auto outer = Start([&] {
    log.push_back("outer1");
    inner = Start([&] {
      log.push_back("inner1");
      fw::YieldToNextThread();
      log.push_back("inner2");
    });
    fw::YieldToNextThread();
    log.push_back("outer2");
  });
  ASSERT_TRUE(WaitFor([&] { return inner && AllEnded({outer, inner}); }));
  EXPECT_EQ(log, (std::vector<std::string>{"outer1", "outer2", "inner1", "inner2"}));
}

// The application going away with a thread still inside its body: run in a child process
// (this same program), which must end normally after unwinding the body while the thread
// object is still whole.
namespace {
bool g_teardownThreadAlive = false;

struct UnwindReport {
  ~UnwindReport() {
    std::printf("unwound thread-alive=%d\n", g_teardownThreadAlive ? 1 : 0);
    std::fflush(stdout);
  }
};

class EndlessThread : public fw::Thread {
 public:
  EndlessThread() { g_teardownThreadAlive = true; }
  ~EndlessThread() override {
    g_teardownThreadAlive = false;
    std::printf("thread destroyed\n");
    std::fflush(stdout);
  }
  int steps = 0;

 protected:
  void Event_Run() override {
    UnwindReport report;
    for (;;) {
      ++steps;
      fw::YieldToNextThread();
    }
  }
};
}  // namespace

TEST(CoreThreadTeardown, ChildLeavesAThreadUnfinished) {
  if (qEnvironmentVariable("POSTARIO_THREAD_TEARDOWN_CHILD") != "1")
    GTEST_SKIP() << "runs only as the child of UnfinishedThreadIsUnwoundWhenTheApplicationGoes";
  auto t = std::make_shared<EndlessThread>();
  t->Run();
  ASSERT_TRUE(WaitFor([&] { return t->steps >= 3; }));
  std::printf("leaving with the thread running\n");
  std::fflush(stdout);
}

TEST(CoreThreadTeardown, UnfinishedThreadIsUnwoundWhenTheApplicationGoes) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("POSTARIO_THREAD_TEARDOWN_CHILD", "1");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=CoreThreadTeardown.ChildLeavesAThreadUnfinished"});
  ASSERT_TRUE(child.waitForFinished(30000));
  QString out = QString::fromUtf8(child.readAllStandardOutput());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << out.toStdString();
  EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains("leaving with the thread running")) << out.toStdString();
  // The body's locals are unwound before the thread object is torn down.
  EXPECT_TRUE(out.contains("unwound thread-alive=1")) << out.toStdString();
  EXPECT_TRUE(out.contains("thread destroyed")) << out.toStdString();
  EXPECT_LT(out.indexOf("unwound"), out.indexOf("thread destroyed")) << out.toStdString();
}
