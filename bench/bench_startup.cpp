// Start-up to a shown main window: the time from starting the program's process to the main
// window's first exposure with its controls painted, over several fresh processes, with an
// application folder holding the settings file and three sets, and as many further empty sets as
// asked. Each run is this program started again as a child that goes through the program's
// start-up steps. Usage: bench_startup [runs] [further sets]
#include <QApplication>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchReport.h"
#include "mainwindow/Window1.h"
#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"
#include "tests/support/AppFixture.h"
#include "tests/support/DataFiles.h"

extern char** environ;

namespace {

constexpr const char* kChildFlag = "--child";

// Notes the main window's exposure and the painting of anything inside it. Installed before the
// window is made: it is shown while it is constructed.
class ShownWatch : public QObject {
 public:
  bool exposed = false;
  bool painted = false;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::Expose && event->type() != QEvent::Paint) return false;
    if (!fw::HasImplicit<Window1>()) return false;
    QWidget* window = Window1::Get()->Widget();
    if (event->type() == QEvent::Expose && object == window->windowHandle() && window->windowHandle()->isExposed())
      exposed = true;
    if (event->type() == QEvent::Paint && object->isWidgetType() && static_cast<QWidget*>(object)->window() == window)
      painted = true;
    return false;
  }
};

int Child(int argc, char** argv) {
  const double entered = bench::Wall();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fw::testing::SetApplicationFolder(argv[2]);
  // The program's start-up steps as its main runs them, up to its event loop.
  fw::InitializeFramework();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  ShownWatch watch;
  app.installEventFilter(&watch);
  _MakeDefaultView();
  while (!watch.exposed || !watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double shown = bench::Wall();
  std::printf("SHOWN %.9f %.9f %d\n", shown, shown - entered, Window1::Get()->ListBox1->ListCount());
  std::fflush(stdout);
  app.removeEventFilter(&watch);
  _Finalize();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == kChildFlag) return Child(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int further = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;

  testsupport::AppFolder folder;
  folder.Write("Data/smtp",
               testsupport::SettingsFile({"127.0.0.1", "2525", "user", "secret", "info@example.com", "Mailer 1.0"}));
  for (const std::string set : {"お客様", "取引先", "社内"}) {
    std::string list;
    for (int i = 0; i < 100; ++i) list += "user" + std::to_string(i) + "@example.com\t宛先 " + std::to_string(i) + "\n";
    folder.Write("Data/" + set + "/NameList.txt", list);
    folder.Write("Data/" + set + "/Template.txt", "件名\n様\n本文\n");
  }
  for (int i = 0; i < further; ++i) folder.MakeFolder("Data/set" + std::to_string(i));
  const int sets = 3 + further;

  std::vector<double> total, inProcess;
  long peak = 0;
  for (int run = 0; run < runs; ++run) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string path = folder.Path();
    char* childArgv[] = {argv[0], const_cast<char*>(kChildFlag), const_cast<char*>(path.c_str()), nullptr};
    const double started = bench::Wall();
    pid_t pid = 0;
    if (posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, childArgv, environ) != 0) return 1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, size_t(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    double shown = 0, inside = 0;
    int listed = 0;
    const size_t at = output.find("SHOWN ");
    if (at == std::string::npos || std::sscanf(output.c_str() + at, "SHOWN %lf %lf %d", &shown, &inside, &listed) != 3 ||
        listed != sets) {
      std::fprintf(stderr, "start-up run %d failed: %s\n", run, output.c_str());
      return 1;
    }
    total.push_back(shown - started);
    inProcess.push_back(inside);
    peak = std::max(peak, usage.ru_maxrss);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("Start-up to a shown main window (%d sets listed, QT_QPA_PLATFORM=%s), %d fresh processes\n", sets,
              qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "offscreen" : qgetenv("QT_QPA_PLATFORM").constData(), runs);
  std::printf("  process start to shown: median %.1f ms, min %.1f ms, max %.1f ms\n", median(total) * 1000,
              *std::min_element(total.begin(), total.end()) * 1000, *std::max_element(total.begin(), total.end()) * 1000);
  std::printf("  of which main() to shown: median %.1f ms; peak RSS %ld KiB\n", median(inProcess) * 1000, peak);
  bench::Result("start-up to shown main window, " + std::to_string(sets) + " sets", bench::Ms(median(total)), "-", peak,
                "median of " + std::to_string(runs) + " processes");
  return 0;
}
