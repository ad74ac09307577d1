// A word still being composed in a Japanese input method (fcitx5 with Anthy) when 送信 is
// pressed: the letter sent is the one the window shows, the word included. The offscreen
// platform has no input method, so the window runs in a child process in a desktop session of
// its own (scripts/desktop-session.sh), and the keys reach it through X as a person's do.
#include <QApplication>
#include <QInputMethodEvent>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
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
  ASSERT_TRUE(WaitForSendEnd());
  ASSERT_EQ(server.Count(), 1);
  EXPECT_EQ(server.ReadBack()[0].toObject()["body"].toString().toStdString(),
            "A 様\r\n\r\n本文\r\n二行目すみませn\r\n");
}

TEST(InputMethod, AWordBeingComposedIsSent) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kSessionVariable, "1");
  // libxkbcommon-x11 takes a counted strndup() of an unterminated X reply, as C allows; the
  // sanitizer build's strict string checks would report that as an overflow.
  env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS").replace("strict_string_checks=1", "strict_string_checks=0"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);  // a sanitizer's report fails this test
  child.start(POSTARIO_SOURCE_DIR "/scripts/desktop-session.sh",
              {"--input-method", QCoreApplication::applicationFilePath(), "--gtest_filter=ComposingChild.*"});
  ASSERT_TRUE(child.waitForFinished(180000));
  const std::string out = child.readAllStandardOutput().toStdString();
  EXPECT_EQ(child.exitCode(), 0) << out;
  EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

}  // namespace
