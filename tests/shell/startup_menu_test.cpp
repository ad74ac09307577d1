// Start-up, the menu bar and quitting.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "dialogs/AboutPanel.h"
#include "mainwindow/Window1.h"
#include "shell/App.h"
#include "mainwindow/MenuBar1.h"
#include "platform/core/FolderItem.h"
#include "shell/Startup.h"
#include "tests/support/DataFiles.h"
#include "tests/support/GuiTest.h"

namespace {

using testsupport::ProcessEvents;
class StartupAndMenus : public testsupport::GuiTest {};

TEST_F(StartupAndMenus, StartsWithoutDataFolderShowingTheMainWindowAndNoAlert) {
  Start();
  EXPECT_TRUE(Window1::Get()->IsVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Window1::Get()->ListBox1->ListCount(), 0);
  EXPECT_FALSE(folder().Exists("Data")) << "start-up creates no folder";
}

TEST_F(StartupAndMenus, MenusHoldTheirItemsInOrder) {
  Start();
  QMenuBar* bar = Window1::Get()->Widget()->menuBar();
  QList<QAction*> menus = bar->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), "&File");
  EXPECT_EQ(menus[1]->text(), "&Edit");

  struct Item {
    const char* name;
    const char* text;
    const char* shortcut;
  };
  const Item file[] = {{"FileQuit", "&Quit", "Ctrl+Q"}};
  const Item edit[] = {{"EditUndo", "&Undo", "Ctrl+Z"},     {"UntitledMenu1", "-", ""},  {"EditCut", "Cu&t", "Ctrl+X"},
                       {"EditCopy", "&Copy", "Ctrl+C"},     {"EditPaste", "&Paste", "Ctrl+V"},
                       {"EditClear", "&Delete", ""},        {"UntitledMenu0", "-", ""},
                       {"EditSelectAll", "Select &All", "Ctrl+A"}, {"ApplePref", "環境設定", ""},
                       {"AppleAbout", "ポスタリオについて...", ""}};
  auto check = [](QMenu* menu, const Item* items, size_t n) {
    QList<QAction*> actions = menu->actions();
    ASSERT_EQ(size_t(actions.size()), n);
    for (size_t i = 0; i < n; ++i) {
      EXPECT_EQ(actions[i]->objectName().toStdString(), items[i].name);
      if (std::string(items[i].text) == "-") {
        EXPECT_TRUE(actions[i]->isSeparator());
        EXPECT_EQ(actions[i]->text().toStdString(), "") << "a separator is a plain line that nothing reads out";
      } else {
        EXPECT_EQ(actions[i]->text().toStdString(), items[i].text);
        EXPECT_EQ(actions[i]->shortcut().toString().toStdString(), items[i].shortcut);
      }
    }
  };
  check(menus[0]->menu(), file, std::size(file));
  check(menus[1]->menu(), edit, std::size(edit));
}

TEST_F(StartupAndMenus, PreferencesStaysDisabledAndAboutEnabledAtEveryUpdate) {
  Start();
  MenuBar1* bar = MenuBar1::Get();
  for (int i = 0; i < 2; ++i) {
    AppleAbout()->Action()->setEnabled(false);
    emit Window1::Get()->Widget()->menuBar()->actions()[1]->menu()->aboutToShow();
    EXPECT_FALSE(bar->Child("ApplePref")->Action()->isEnabled());
    EXPECT_TRUE(bar->Child("AppleAbout")->Action()->isEnabled());
    EXPECT_TRUE(bar->Child("EditCopy")->Action()->isEnabled());
  }
  EXPECT_EQ(Window1::Get()->ApplePref(), bar->Child("ApplePref"));
  EXPECT_EQ(Window1::Get()->FileQuit(), bar->Child("FileQuit"));
}

TEST_F(StartupAndMenus, AnExceptionOfTheMenuUpdateStaysInsideTheMenu) {
  Start();
  App::Get()->SetMenuBar(nullptr);  // the About item cannot be found: the update throws
  EXPECT_NO_THROW(emit Window1::Get()->Widget()->menuBar()->actions()[1]->menu()->aboutToShow());
  App::Get()->SetMenuBar(MenuBar1::Get());
  EXPECT_FALSE(MenuBar1::Get()->Child("ApplePref")->Action()->isEnabled()) << "the items were still updated";
}

TEST_F(StartupAndMenus, AboutShowsOneSinglePanelAndAClickHidesIt) {
  Start();
  MenuBar1::Get()->Child("AppleAbout")->Action()->trigger();
  AboutPanel* panel = AboutPanel::Get();
  EXPECT_TRUE(panel->IsVisible());
  EXPECT_EQ(panel->Title(), "ポスタリオについて");
  QTest::mouseClick(panel->Content(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(panel->IsVisible());
  MenuBar1::Get()->Child("AppleAbout")->Action()->trigger();
  EXPECT_EQ(AboutPanel::Get(), panel) << "the hidden panel is shown again, not a second one";
  EXPECT_TRUE(panel->IsVisible());

  // Opened by keyboard from the main window, it takes the focus, and Escape or Return hides it.
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
    Window1::Get()->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window1::Get()->Widget()));
    MenuBar1::Get()->Child("AppleAbout")->Action()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] {
      QWidget* focused = QApplication::focusWidget();
      return focused && panel->Widget()->isAncestorOf(focused);
    }));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(QApplication::focusWidget())->state().focused);
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_FALSE(panel->IsVisible()) << key;
  }
}

TEST_F(StartupAndMenus, QuitClosesTheMainWindowThroughItsCloseHandler) {
  Start();
  ASSERT_TRUE(fw::HasImplicit<Window1>());
  MenuBar1::Get()->Child("FileQuit")->Action()->trigger();
  ProcessEvents();
  EXPECT_FALSE(fw::HasImplicit<Window1>()) << "the main window is closed";
}

TEST_F(StartupAndMenus, TheCloseBoxClosesTheMainWindow) {
  Start();
  Window1::Get()->Widget()->close();
  ProcessEvents();
  EXPECT_FALSE(fw::HasImplicit<Window1>());
}

// The program from its start in the folder it is given, with a setting changed as the settings
// dialog's 保存 changes it, until something ends it; run by the test below as its child.
TEST(StopSignals, ChildRunsTheProgram) {
  const QString folder = qEnvironmentVariable("POSTARIO_STOP_SIGNAL_FOLDER");
  if (folder.isEmpty()) GTEST_SKIP() << "runs only as the child of ALogoutHangupOrCtrlCQuitsAndKeepsTheSettings";
  fw::testing::SetApplicationFolder(folder.toStdString());
  QTimer::singleShot(0, [] {
    Window1::Get()->pSMTP[0] = "new.example.jp";
    std::printf("running\n");
    std::fflush(stdout);
  });
  const int status = _Main();
  _Finalize();
  std::printf("ended with %d\n", status);
  std::fflush(stdout);
}

// What a desktop logout or shutdown, a closed terminal and Ctrl+C send: each quits as the Quit
// item does, so the settings saved in the dialog are written.
TEST(StopSignals, ALogoutHangupOrCtrlCQuitsAndKeepsTheSettings) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    testsupport::AppFolder folder;
    folder.Write("Data/smtp", testsupport::SettingsFile({"old.example.jp"}));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("POSTARIO_STOP_SIGNAL_FOLDER", QString::fromStdString(folder.Path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);  // a sanitizer's report fails this test
    // As a desktop session starts it, whatever the test runner ignores.
    child.setChildProcessModifier([] {
      for (int s : {SIGTERM, SIGHUP, SIGINT}) std::signal(s, SIG_DFL);
    });
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StopSignals.ChildRunsTheProgram"});
    QByteArray out;
    while (!out.contains("running\n") && child.waitForReadyRead(30000)) out += child.readAllStandardOutput();
    ASSERT_TRUE(out.contains("running\n")) << out.toStdString();
    ::kill(pid_t(child.processId()), signal);
    ASSERT_TRUE(child.waitForFinished(30000));
    out += child.readAllStandardOutput();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << "signal " << signal;
    EXPECT_EQ(child.exitCode(), 0) << "signal " << signal;
    EXPECT_TRUE(out.contains("ended with 0")) << "signal " << signal << ": " << out.toStdString();
    EXPECT_EQ(folder.Read("Data/smtp"), testsupport::SettingsFile({"new.example.jp"})) << "signal " << signal;
  }
}

}  // namespace
