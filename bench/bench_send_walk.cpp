// The walk of a send over many unticked rows, through the real main window against the local
// SMTP server: a list of N rows with one row ticked, from pressing 送信 to "Send End.", less the
// same send over a list of that one row (the one message). Meanwhile a system thread posts an
// event to the window's thread every 5 ms; the delay until each is handled shows how the window
// answers input during the walk. Usage: bench_send_walk [rows, default 100000]
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/SendSetup.h"
#include "mainwindow/Window1.h"
#include "platform/core/FolderItem.h"
#include "platform/core/Strings.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"
#include "mainwindow/Toolbar1.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Probe : QEvent {
  explicit Probe(Clock::time_point at) : QEvent(QEvent::User), posted(at) {}
  Clock::time_point posted;
};

// Notes the delay of every probe handled while it is measuring.
class ProbeReceiver : public QObject {
 public:
  bool measuring = false;
  std::vector<double> delaysMs;

 protected:
  void customEvent(QEvent* event) override {
    if (measuring)
      delaysMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - static_cast<Probe*>(event)->posted).count());
  }
};

// Presses 送信 and gives the seconds until "Send End." joins the log.
double Send(Window1* w) {
  const size_t ends = fw::CountFields(w->EditField1->Text(), "Send End.");
  const double wall0 = bench::Wall();
  w->Toolbar11->ToolItem1.Action()->trigger();
  while (size_t(fw::CountFields(w->EditField1->Text(), "Send End.")) == ends)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return bench::Wall() - wall0;
}

// Selects the set at row and leaves only the given recipient row ticked.
void SelectWithOneTicked(Window1* w, int set, int row) {
  w->ListBox1->SetListIndex(set);
  w->Toolbar11->ToolItem7.Action()->trigger();  // 全クリア
  w->ListBox2->SetCellCheck(row, 0, true);
  w->ProgressBar1->SetMaximum(1);
  QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100000;

  bench::SendSetup setup;
  std::string list;
  for (int i = 0; i < rows; ++i) list += "r" + std::to_string(i) + "@example.com\t山田 " + std::to_string(i) + "\n";
  setup.folder.Write("Data/a/NameList.txt", "r0@example.com\t山田 0\n");
  setup.folder.Write("Data/a/Template.txt", "ご案内\n様\n本文です。\n");
  setup.folder.Write("Data/b/NameList.txt", list);
  setup.folder.Write("Data/b/Template.txt", "ご案内\n様\n本文です。\n");

  fw::InitializeFramework();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  _MakeDefaultView();
  Window1* w = Window1::Get();
  QCoreApplication::processEvents();

  ProbeReceiver receiver;
  std::atomic<bool> posting{true};
  std::thread poster([&] {
    while (posting) {
      QCoreApplication::postEvent(&receiver, new Probe(Clock::now()));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });

  SelectWithOneTicked(w, 0, 0);
  const double one = Send(w);
  SelectWithOneTicked(w, 1, rows / 2);
  if (w->ListBox2->ListCount() != rows) {
    std::fprintf(stderr, "the set holds %d rows, not %d\n", w->ListBox2->ListCount(), rows);
    return 1;
  }
  const double cpu0 = bench::Cpu();
  receiver.measuring = true;
  const double walk = Send(w);
  receiver.measuring = false;
  const double cpu = bench::Cpu() - cpu0;
  posting = false;
  poster.join();

  std::vector<double>& d = receiver.delaysMs;
  std::sort(d.begin(), d.end());
  const double median = d.empty() ? 0 : d[d.size() / 2], worst = d.empty() ? 0 : d.back();
  const double beyond = walk - one;
  std::printf("Send over %d rows with one ticked, through the main window: %.3f s (one row: %.3f s), %d stored\n",
              rows, walk, one, setup.server.Count());
  std::printf("  beyond the one message: %.3f s (goal < 0.5 s for 100,000 rows), CPU %.3f s\n", beyond, cpu);
  std::printf("  %zu events posted during the walk handled after median %.2f ms, worst %.2f ms (goal < 50 ms)\n",
              d.size(), median, worst);
  char note[128];
  std::snprintf(note, sizeof note, "beyond one message; input delay median %.2f ms, worst %.2f ms", median, worst);
  bench::Result("walk over " + std::to_string(rows) + " rows, one ticked", bench::Sec(beyond), bench::Sec(cpu),
                bench::PeakKiB(), note);

  _Finalize();
  return setup.server.Count() == 2 ? 0 : 1;
}
