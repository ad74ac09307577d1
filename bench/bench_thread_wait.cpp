// CPU cost of a cooperative thread that waits for a flag by yielding: it polls for 2 s of wall
// time while the event loop idles. Prints process CPU seconds per wall second (target < 0.05)
// and how many times the thread was resumed.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "bench/BenchReport.h"
#include "platform/core/Thread.h"

namespace {

double Seconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

class WaitingThread : public fw::Thread {
 public:
  bool flag = false;
  long resumes = 0;
  bool done = false;

 protected:
  void Event_Run() override {
    while (!flag) {
      ++resumes;
      fw::YieldToNextThread();
    }
    done = true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int waitMs = argc > 1 ? std::atoi(argv[1]) : 2000;

  auto thread = std::make_shared<WaitingThread>();
  double wall0 = 0, cpu0 = 0, wall1 = 0, cpu1 = 0;
  QTimer::singleShot(0, [&] {
    wall0 = Seconds(CLOCK_MONOTONIC);
    cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    thread->Run();
    QTimer::singleShot(waitMs, Qt::PreciseTimer, [&] {
      wall1 = Seconds(CLOCK_MONOTONIC);
      cpu1 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
      thread->flag = true;
      // Let the thread see the flag and end, then leave.
      QTimer::singleShot(50, [&] { app.quit(); });
    });
  });
  app.exec();

  double wall = wall1 - wall0;
  double cpu = cpu1 - cpu0;
  std::printf("wall %.3f s, cpu %.3f s, cpu per wall second %.4f, resumes %ld (%.0f per s), finished %s\n",
              wall, cpu, cpu / wall, thread->resumes, double(thread->resumes) / wall,
              thread->done ? "yes" : "no");
  std::printf("%s: cpu per wall second %.4f %s 0.05\n", cpu / wall < 0.05 ? "PASS" : "OVER", cpu / wall,
              cpu / wall < 0.05 ? "<" : ">=");
  char note[64];
  std::snprintf(note, sizeof note, "%.4f CPU s per wall s", cpu / wall);
  bench::Result("thread waiting by yields", bench::Sec(wall), bench::Sec(cpu), bench::PeakKiB(), note);
  return 0;
}
