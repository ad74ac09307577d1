// Loading a "NameList.txt" of many recipients into the main window's list through a set
// selection, one recount after a user's tick, then 全クリア and 全チェック. Prints wall and
// process CPU time of each step (target: well under a second) and the peak resident memory.
// Run in scripts/desktop-session.sh --accessibility, Qt's AT-SPI bridge is on, as for a screen
// reader, and the figures say so.
// Usage: bench_namelist_load [recipients, default 100000]
#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchReport.h"
#include "mainwindow/Toolbar1.h"
#include "mainwindow/Window1.h"
#include "platform/core/FolderItem.h"
#include "platform/ui/Application.h"
#include "shell/Startup.h"

namespace {

std::string g_suffix;  // ", accessibility on" while the AT-SPI bridge is on

// Runs step and prints its wall and CPU time, the latter including the event processing it
// leaves behind (the list's repaint).
template <class F>
void Measure(std::string what, F step) {
  what += g_suffix;
  const double wall = bench::Wall(), cpu = bench::Cpu();
  step();
  const double wallStep = bench::Wall() - wall;
  QCoreApplication::processEvents();
  const double wallAll = bench::Wall() - wall, cpuAll = bench::Cpu() - cpu;
  std::printf("%-34s %8.3f s wall (%.3f s with repaint), %8.3f s CPU, peak RSS %ld KiB\n", what.c_str(), wallStep,
              wallAll, cpuAll, bench::PeakKiB());
  bench::Result(what, bench::Ms(wallStep), bench::Ms(cpuAll), bench::PeakKiB(),
                "wall " + bench::Ms(wallAll) + " with repaint");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int recipients = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const std::string count = QLocale(QLocale::English).toString(recipients).toStdString();

  QTemporaryDir dir;
  QDir().mkpath(dir.path() + "/Data/Big");
  QByteArray list;
  for (int i = 0; i < recipients; ++i)
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
  if (QAccessible::isActive()) g_suffix = ", accessibility on";
  std::printf("NameList.txt: %d recipients, %lld bytes; peak RSS before: %ld KiB\n", recipients,
              static_cast<long long>(list.size()), bench::PeakKiB());

  Measure("load " + count + " recipients", [&] { w->ListBox1->SetListIndex(0); });
  std::printf("rows loaded: %d, count label: %s\n", w->ListBox2->ListCount(), w->StaticText1->Text().c_str());

  QAbstractItemModel* model = w->ListBox2->View()->model();
  Measure("recount of " + count + " (untick one)",
          [&] { model->setData(model->index(recipients / 2, 0), Qt::Unchecked, Qt::CheckStateRole); });
  std::printf("count label: %s\n", w->StaticText1->Text().c_str());
  Measure("clear-all of " + count, [&] { w->Toolbar11->ToolItem7.Action()->trigger(); });
  Measure("tick-all of " + count, [&] { w->Toolbar11->ToolItem6.Action()->trigger(); });
  std::printf("count label: %s\n", w->StaticText1->Text().c_str());

  _Finalize();
  fw::testing::SetApplicationFolder("");
  return 0;
}
