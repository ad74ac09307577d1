// A word still being composed in a Japanese input method (fcitx5 with Anthy, on a virtual X
// display with a session bus of its own) when 送信 is pressed: the letter sent is the one the
// window shows, the word included. The offscreen platform has no input method, so the window
// runs in a child process on the X display, and the keys reach it through X as a person's do.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "tests/mainwindow/SetFixture.h"

namespace {

const char kSessionVariable[] = "POSTARIO_IM_SESSION";

// A program of the session, run to its end; its standard output, trimmed.
std::string RunInSession(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(10000);
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? p.readAllStandardOutput().trimmed().toStdString()
                                                                     : "";
}

// 1 while a field has the focus, 2 once the input method is on in it.
std::string InputMethodState() { return RunInSession("fcitx5-remote", {}); }

// Notes the text being composed in a field.
class CompositionWatch : public QObject {
 public:
  QString preedit;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::InputMethod) preedit = static_cast<QInputMethodEvent*>(e)->preeditString();
    return QObject::eventFilter(watched, e);
  }
};

class ComposingChild : public settest::SetWindowTest {};

// Run by the test below as its child, in the session it made.
TEST_F(ComposingChild, TypesIntoTheBodyAndPressesSend) {
  if (qEnvironmentVariableIsEmpty(kSessionVariable))
    GTEST_SKIP() << "runs only as the child of InputMethod.AWordBeingComposedIsSent";
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  WriteSettingsFor(server);
  WriteSet("A", "a@example.com\tA\n", "件名\n様\n本文\n二行目");
  Open();
  Select("A");
  auto* body = qobject_cast<QPlainTextEdit*>(w->EditField2->Widget());
  CompositionWatch watch;
  body->installEventFilter(&watch);
  w->Widget()->activateWindow();
  body->setFocus();
  body->moveCursor(QTextCursor::End);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == body && InputMethodState() == "1"; }, 20000))
      << "the input method sees the body";
  RunInSession("fcitx5-remote", {"-o"});
  ASSERT_TRUE(QTest::qWaitFor([] { return InputMethodState() == "2"; }, 20000));
  RunInSession("xdotool", {"key", "--delay", "15", "s", "u", "m", "i", "m", "a", "s", "e", "n"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.preedit == "すみませn"; }, 20000)) << watch.preedit.toStdString();
  EXPECT_EQ(w->EditField2->Text(), "本文\n二行目") << "shown, but not yet in the field's text";

  QTest::mouseClick(w->Toolbar11->Strip()->widgetForAction(w->Toolbar11->ToolItem1.Action()), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->EditField1->Text().find("Send End.") != std::string::npos; }, 60000));
  ASSERT_EQ(server.Count(), 1);
  EXPECT_EQ(server.ReadBack()[0].toObject()["body"].toString().toStdString(),
            "A 様\r\n\r\n本文\r\n二行目すみませn\r\n");
}

// A process of the session, stopped when the test ends.
class SessionProcess : public QProcess {
 public:
  ~SessionProcess() override {
    terminate();
    if (!waitForFinished(5000)) kill();
    waitForFinished();
  }
  // Starts it and gives the first line it prints (the display, the bus address), or "".
  std::string Start(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    setProcessEnvironment(env);
    start(program, arguments);
    while (!canReadLine() && waitForReadyRead(20000)) {
    }
    return readLine().trimmed().toStdString();
  }
};

TEST(InputMethod, AWordBeingComposedIsSent) {
  QTemporaryDir session;
  ASSERT_TRUE(session.isValid());
  const QString root = session.path();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
    const QString path = root + "/" + name;
    ASSERT_TRUE(QDir().mkpath(path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(name, path);
  }
  env.insert("LANG", "C.UTF-8");
  env.insert("LC_ALL", "C.UTF-8");
  auto write = [&](const QString& path, const std::string& text) {
    QFile file(root + "/" + path);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
    file.write(text.data(), qint64(text.size()));
  };
  write("XDG_CONFIG_HOME/fcitx5/profile",
        "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=anthy\n\n"
        "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n[Groups/0/Items/1]\nName=anthy\nLayout=\n\n"
        "[GroupOrder]\n0=Default\n");
  // A bus that starts no services of its own.
  write("bus.conf", "<busconfig><type>session</type><listen>unix:path=" + root.toStdString() +
                        "/bus</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                        "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                        "<allow own=\"*\"/></policy></busconfig>");

  SessionProcess display, bus, inputMethod;
  const std::string number =
      display.Start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, env);
  ASSERT_FALSE(number.empty()) << "Xvfb: " << display.readAllStandardError().toStdString();
  env.insert("DISPLAY", QString::fromStdString(":" + number));
  const std::string address =
      bus.Start("dbus-daemon", {"--config-file=" + root + "/bus.conf", "--nofork", "--print-address=1"}, env);
  ASSERT_FALSE(address.empty()) << "dbus-daemon: " << bus.readAllStandardError().toStdString();
  env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(address));
  inputMethod.setProcessEnvironment(env);
  // Only what the Qt front end needs: no other front end, panel or helper.
  inputMethod.start("fcitx5", {"-D", "--disable=wayland,waylandim,kimpanel,notificationitem,notifications,clipboard,"
                                     "emoji,quickphrase,unicode,spell,imselector,xim,fcitx4frontend,ibusfrontend"});
  ASSERT_TRUE(inputMethod.waitForStarted(20000));

  QProcess child;
  env.insert(kSessionVariable, "1");
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("QT_IM_MODULE", "fcitx");
  env.insert("XMODIFIERS", "@im=fcitx");
  // libxkbcommon-x11 takes a counted strndup() of an unterminated X reply, as C allows; the
  // sanitizer build's strict string checks would report that as an overflow.
  env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS").replace("strict_string_checks=1", "strict_string_checks=0"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);  // a sanitizer's report fails this test
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ComposingChild.*"});
  ASSERT_TRUE(child.waitForFinished(180000));
  const std::string out = child.readAllStandardOutput().toStdString();
  EXPECT_EQ(child.exitCode(), 0) << out;
  EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

}  // namespace
