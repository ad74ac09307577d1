// Costs of the cooperative threads: a thread that waits for a flag for 2 s while the event loop
// idles (process CPU seconds per wall second, and how often the condition was tested), and a
// walk of many yields (time per yield). Usage: bench_thread_wait [wait ms] [yields]
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "bench/BenchReport.h"
#include "platform/core/Thread.h"

namespace {

class FnThread : public fw::Thread {
 public:
  explicit FnThread(std::function<void()> body) : body_(std::move(body)) {}

 protected:
  void Event_Run() override { body_(); }

 private:
  std::function<void()> body_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int waitMs = argc > 1 ? std::atoi(argv[1]) : 2000;
  const long yields = argc > 2 ? std::atol(argv[2]) : 100000;

  bool flag = false, waited = false;
  long checks = 0;
  double walkWall = 0;
  auto waiter = std::make_shared<FnThread>([&] {
    fw::WaitUntil([&] {
      ++checks;
      return flag;
    });
    waited = true;
  });
  auto walker = std::make_shared<FnThread>([&] {
    const double wall0 = bench::Wall();
    for (long i = 0; i < yields; ++i) fw::YieldToNextThread();
    walkWall = bench::Wall() - wall0;
    app.quit();
  });
  double wall = 0, cpu = 0;
  QTimer::singleShot(0, [&] {
    const double wall0 = bench::Wall(), cpu0 = bench::Cpu();
    waiter->Run();
    QTimer::singleShot(waitMs, Qt::PreciseTimer, [&, wall0, cpu0] {
      wall = bench::Wall() - wall0;
      cpu = bench::Cpu() - cpu0;
      flag = true;
      walker->Run();
    });
  });
  app.exec();

  std::printf("thread waiting for a flag: wall %.3f s, CPU %.4f s, CPU per wall second %.4f, condition tested %ld"
              " times, woken %s\n", wall, cpu, cpu / wall, checks, waited ? "yes" : "no");
  std::printf("walk of %ld yields: %.3f s, %.3f us per yield\n", yields, walkWall, walkWall * 1e6 / double(yields));
  char note[64];
  std::snprintf(note, sizeof note, "%.4f CPU s per wall s", cpu / wall);
  bench::Result("thread waiting for a flag", bench::Sec(wall), bench::Sec(cpu), bench::PeakKiB(), note);
  std::snprintf(note, sizeof note, "%.3f us per yield", walkWall * 1e6 / double(yields));
  bench::Result("walk of " + std::to_string(yields) + " yields", bench::Sec(walkWall), "-", bench::PeakKiB(), note);
  return 0;
}
