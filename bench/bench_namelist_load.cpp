// Loading a "NameList.txt" of 100,000 recipients into the main window's list through a set
// selection, then one recount after a user's tick. Prints wall and process CPU time of each
// step (target: well under a second) and the peak resident memory.
#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

#include "mainwindow/Window1.h"
#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"

namespace {

constexpr int kRecipients = 100000;

double Seconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs step and prints its wall and CPU time, the latter including the event processing it
// leaves behind (the list's repaint).
template <class F>
void Measure(const char* what, F step) {
  double wall = Seconds(CLOCK_MONOTONIC), cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  step();
  double wallStep = Seconds(CLOCK_MONOTONIC) - wall;
  QCoreApplication::processEvents();
  std::printf("%-34s %8.3f s wall (%.3f s with repaint), %8.3f s CPU, peak RSS %ld KiB\n", what, wallStep,
              Seconds(CLOCK_MONOTONIC) - wall, Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu, PeakKiB());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QTemporaryDir dir;
  QDir().mkpath(dir.path() + "/Data/Big");
  QByteArray list;
  for (int i = 0; i < kRecipients; ++i)
    list += "user" + QByteArray::number(i) + "@example.com\t" + QString("宛先 %1").arg(i).toUtf8() + "\n";
  QFile names(dir.path() + "/Data/Big/NameList.txt");
  names.open(QIODevice::WriteOnly);
  names.write(list);
  names.close();
  QFile templ(dir.path() + "/Data/Big/Template.txt");
  templ.open(QIODevice::WriteOnly);
  templ.write("件名\n様\n本文\n");
  templ.close();
  fw::testing::SetApplicationFolder(dir.path().toStdString());

  fw::InitializeFramework();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  _MakeDefaultView();
  QCoreApplication::processEvents();
  Window1* w = Window1::Get();
  std::printf("NameList.txt: %d recipients, %lld bytes; peak RSS before: %ld KiB\n", kRecipients,
              static_cast<long long>(list.size()), PeakKiB());

  Measure("select the set (load 100,000 rows)", [&] { w->ListBox1->SetListIndex(0); });
  std::printf("rows loaded: %d, count label: %s\n", w->ListBox2->ListCount(), w->StaticText1->Text().c_str());

  QAbstractItemModel* model = w->ListBox2->View()->model();
  Measure("untick one row (recount)", [&] { model->setData(model->index(500, 0), Qt::Unchecked, Qt::CheckStateRole); });
  std::printf("count label: %s\n", w->StaticText1->Text().c_str());

  _Finalize();
  fw::testing::SetApplicationFolder("");
  return 0;
}
