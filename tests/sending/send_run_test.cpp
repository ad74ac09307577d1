// A whole send on the real window against a real SMTP server: one message per ticked
// recipient, addressed to that recipient alone, read back by Python's email package; the
// password prompt, and settings saved in the dialog, as a user meets them.
#include <QAbstractAnimation>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/PassDlg.h"
#include "dialogs/SMTPDlg.h"
#include "mainwindow/Window1.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "mainwindow/Toolbar1.h"
#include "tests/support/DataFiles.h"
#include "tests/support/GuiTest.h"
#include "tests/support/LocalSmtpServer.h"

namespace {

using namespace testsupport;

const char* kNames[] = {"山田 太郎", "鈴木 花子", "佐藤 次郎", "田中 美咲", "高橋 健"};
const std::string kSubject = "冬季休業のお知らせ";
const std::string kBody = "いつもご利用いただき、ありがとうございます。\n12月29日から休業いたします。\n\n.以上";

// An alert or a prompt that a test does not answer fails it.
class SendRun : public GuiTest {
 protected:
  void Prepare(const std::string& storedPassword, int port, const std::string& account = "user", int rows = 5) {
    folder().Write("Data/smtp", SettingsFile({"127.0.0.1", std::to_string(port), account, storedPassword,
                                               "info@example.com", "テストメーラ 1.0"}));
    StartWithSet(rows);
  }

  // Starts with the set "お客様" of `rows` recipients selected, r0@example.com and on, or of the
  // lines of list.
  void StartWithSet(int rows = 5, std::string list = "") {
    if (list.empty())
      for (int i = 0; i < rows; ++i) list += "r" + std::to_string(i) + "@example.com\t" + kNames[i % 5] + "\n";
    folder().Write("Data/お客様/NameList.txt", "// テスト用\n" + list);
    folder().Write("Data/お客様/Template.txt", kSubject + "\n様\n" + kBody + "\n");
    Start();
    w = Window1::Get();
    w->Socket1->Deadlines = {3000, 3000, 3000, 3000, 3000};
    w->ListBox1->SetListIndex(0);
    ASSERT_EQ(w->ListBox2->ListCount(), rows);
  }

  // Presses 送信 and waits for its "Send End." in the log, noting every overall progress value.
  // A failure meanwhile (an alert nobody expected) ends the wait.
  bool SendAndWait(int timeoutMs = 60000) {
    const size_t from = Log().size();
    progress = {w->ProgressBar1->Value()};
    auto* bar = qobject_cast<QProgressBar*>(w->ProgressBar1->Widget());
    QMetaObject::Connection watch =
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    w->Toolbar11->ToolItem1.Action()->trigger();
    const bool waited =
        QTest::qWaitFor([&] { return HasFailure() || Log().find("Send End.", from) != std::string::npos; }, timeoutMs);
    QObject::disconnect(watch);
    return waited && Log().find("Send End.", from) != std::string::npos;
  }

  std::string Log() const { return w->EditField1->Text(); }

  Window1* w = nullptr;
  std::vector<int> progress;
};

TEST_F(SendRun, EveryTickedRecipientGetsOneMessageOfTheirOwn) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port());

  ASSERT_TRUE(SendAndWait());
  EXPECT_EQ(Log(), "r0@example.com\nr1@example.com\nr2@example.com\nr3@example.com\nr4@example.com\nSend End.\n");
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
  EXPECT_EQ(w->ProgressBar2->Maximum(), 100);
  // The busy bar's animation ends with the busy state, or it would repaint the window for ever.
  EXPECT_TRUE(w->ProgressBar2->Widget()->findChildren<QAbstractAnimation*>().isEmpty());

  QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 5);
  for (int i = 0; i < 5; ++i) {
    QJsonObject m = mail[i].toObject();
    std::string to = "r" + std::to_string(i) + "@example.com";
    EXPECT_EQ(m["envelope_to"].toArray(), QJsonArray{QString::fromStdString(to)}) << "addressed to this one alone";
    EXPECT_EQ(m["To"].toArray(), (QJsonArray{"", QString::fromStdString(to)}));
    EXPECT_EQ(m["envelope_from"].toString(), "info@example.com");
    // The encoded word's closing blank stays part of the value.
    EXPECT_EQ(m["Subject"].toString().toStdString(), kSubject + " ");
    EXPECT_EQ(m["X-Mailer"].toString().toStdString(), "テストメーラ 1.0 ") << "an encoded word, as the subject";
    std::string expected = std::string(kNames[i]) + " 様\r\n\r\n" + fw::ReplaceAll(kBody, "\n", "\r\n") + "\r\n";
    EXPECT_EQ(m["body"].toString().toStdString(), expected);
    EXPECT_EQ(m["defects"].toInt(), 0);
  }
  std::string raw = server.Raw(1);
  EXPECT_NE(raw.find("Subject: =?ISO-2022-JP?B?"), std::string::npos);
  EXPECT_NE(raw.find("\r\nFrom: info@example.com\r\nTo: r0@example.com\r\n"), std::string::npos) << "plain addresses";
}

TEST_F(SendRun, LongTextAndJapaneseHeadersGoOutAsMailEveryServerTakes) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port());
  for (int row : {2, 3, 4}) w->ListBox2->SetCellCheck(row, 0, false);
  std::string subject, paragraph;
  for (int i = 0; i < 60; ++i) subject += "冬季休業のお知らせ";
  for (int i = 0; i < 40; ++i) paragraph += "いつもご利用いただき、ありがとうございます。¥100 ";
  w->EditField3->SetText(subject);
  w->EditField2->SetText(paragraph);
  w->pSMTP[5] = "テストメーラ\r\nBcc: victim@example.com";  // a line break pasted into the settings

  ASSERT_TRUE(SendAndWait()) << "no refusal";
  QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 2);
  for (int i = 0; i < 2; ++i) {
    QJsonObject m = mail[i].toObject();
    EXPECT_EQ(m["Subject"].toString().toStdString(), subject + " ");
    EXPECT_EQ(fw::ReplaceAll(m["body"].toString().toStdString(), "\r\n", ""), std::string(kNames[i]) + " 様" + paragraph);
    EXPECT_EQ(m["X-Mailer"].toString().toStdString(), "テストメーラ Bcc: victim@example.com ");
    EXPECT_EQ(m["defects"].toInt(), 0);
    EXPECT_TRUE(m["Message-ID"].toString().endsWith("@example.com>"));
    const std::string raw = server.Raw(i + 1);
    for (const std::string& line : fw::Split(raw, "\r\n")) EXPECT_LE(line.size(), 998u);
    const std::string head = raw.substr(0, raw.find("\r\n\r\n"));
    EXPECT_TRUE(std::all_of(head.begin(), head.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        << head;
  }
}

// Addresses as people write them: blanks around them (full-width, or the no-break space of
// text copied from a web page), a name before the address; the sender with a name too, and the
// port in full-width digits.
TEST_F(SendRun, AddressesWithBlanksOrNamesAndAFullWidthPortAreSentAsMeant) {
  LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  std::string port;
  for (char digit : std::to_string(server.Port())) port += fw::Chr(0xFF10 + digit - '0');
  const std::string nbsp = "\u00a0";
  folder().Write("Data/smtp", SettingsFile({"127.0.0.1", "　" + port + " ", "", "",
                                            nbsp + "情報 係 <info@example.com>" + nbsp, "M"}));
  StartWithSet(5, "a1@example.jp \tA\n a2@example.jp\tB\na3@example.jp　\tC\n\"Yamada, Taro\" <t@example.jp>\tD\n" +
                      nbsp + "a5@example.jp" + nbsp + "\tE\n");

  ASSERT_TRUE(SendAndWait());
  EXPECT_EQ(Log(),
            "a1@example.jp\na2@example.jp\na3@example.jp\n\"Yamada, Taro\" <t@example.jp>\na5@example.jp\nSend End.\n");
  QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 5);
  const char* to[][2] = {{"", "a1@example.jp"},
                         {"", "a2@example.jp"},
                         {"", "a3@example.jp"},
                         {"Yamada, Taro", "t@example.jp"},
                         {"", "a5@example.jp"}};
  for (int i = 0; i < 5; ++i) {
    QJsonObject m = mail[i].toObject();
    EXPECT_EQ(m["envelope_to"].toArray(), QJsonArray{to[i][1]});
    EXPECT_EQ(m["To"].toArray(), (QJsonArray{to[i][0], to[i][1]}));
    EXPECT_EQ(m["envelope_from"].toString(), "info@example.com");
    EXPECT_EQ(m["From"].toArray(), (QJsonArray{"情報 係", "info@example.com"}));
  }
}

TEST_F(SendRun, OnlyTickedRowsAreSentAndTheWalkCountsHandedOverMessages) {
  LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  Prepare("", server.Port(), "");  // no account: HELO, no authentication, no password asked for
  for (int row : {0, 2, 4}) w->ListBox2->SetCellCheck(row, 0, false);
  w->ProgressBar1->SetMaximum(2);

  ASSERT_TRUE(SendAndWait()) << "no password prompt";
  EXPECT_EQ(Log(), "r1@example.com\nr3@example.com\nSend End.\n");
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(server.Count(), 2);
}

TEST_F(SendRun, AWalkOverManyUntickedRowsEndsAndTheOutcomeIsReadAfterAPause) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port(), "user", 20000);
  w->Toolbar11->ToolItem7.Action()->trigger();  // 全クリア
  w->ListBox2->SetCellCheck(19999, 0, true);
  w->ProgressBar1->SetMaximum(1);
  int64_t acceptedAt = -1, loggedAt = -1;
  w->Socket1->MessageSent.Bind([&](std::shared_ptr<EmailMessage>) { acceptedAt = fw::Ticks(); });
  QObject::connect(qobject_cast<QPlainTextEdit*>(w->EditField1->Widget()), &QPlainTextEdit::textChanged, [&] {
    if (loggedAt < 0 && !Log().empty()) loggedAt = fw::Ticks();
  });

  ASSERT_TRUE(SendAndWait(15000)) << "a walk that waits a timer tick per row takes over 20 s";
  EXPECT_EQ(Log(), "r19999@example.com\nSend End.\n");
  EXPECT_GT(loggedAt - acceptedAt, 30) << "the outcome is read more than 30 ticks after the client's report";
}

TEST_F(SendRun, EverySendAsksForThePasswordAfreshAndNeverStoresIt) {
  LocalSmtpServer server("user", "typed");
  ASSERT_TRUE(server.Started());
  Prepare("", server.Port());

  for (int run = 1; run <= 2; ++run) {
    auto prompt = WhenShows<PassDlg>([](PassDlg& d) {
      EXPECT_EQ(qobject_cast<QLineEdit*>(d.EditField1->Widget())->echoMode(), QLineEdit::Password);
      EXPECT_EQ(d.EditField1->Text(), "") << "the last password is not offered again";
      d.EditField1->SetText("typed");
      d.PushButton2->Push();
    });
    ASSERT_TRUE(SendAndWait());
    ASSERT_TRUE(prompt->acted);
    EXPECT_FALSE(fw::HasImplicit<PassDlg>()) << "the prompt is closed after use";
    EXPECT_EQ(server.Count(), 5 * run);
  }
  EXPECT_EQ(w->pSMTP[3], "");
  EXPECT_EQ(w->Socket1->Password, "typed");
}

TEST_F(SendRun, AFirstStartConfiguredThroughTheDialogSends) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  StartWithSet();  // no settings file
  auto dialog = WhenShows<SMTPDlg>([&](SMTPDlg& d) {
    d.EditField1->SetText("127.0.0.1");
    d.EditField2->SetText(std::to_string(server.Port()));
    d.EditField3->SetText("user");
    d.EditField4->SetText("secret");
    d.EditField5->SetText("info@example.com");
    d.PushButton2->Push();
  });
  w->Toolbar11->ToolItem3.Action()->trigger();
  ASSERT_TRUE(dialog->acted);
  ASSERT_EQ(w->Socket1->Address(), "127.0.0.1") << "the saved settings reach the client at once";
  ASSERT_TRUE(SendAndWait());
  EXPECT_EQ(server.Count(), 5);
}

TEST_F(SendRun, SettingsSavedDuringARunTakeEffectFromTheNextSend) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port());
  auto dialog = WhenShows<SMTPDlg>([](SMTPDlg& d) {
    d.EditField3->SetText("other");
    d.EditField5->SetText("");
    d.EditField6->SetText("other mailer");
    d.PushButton2->Push();
  });
  auto refused = AnswerAlert("OK");  // the server turns the new account away
  QTimer::singleShot(0, [&] { w->Toolbar11->ToolItem3.Action()->trigger(); });
  ASSERT_TRUE(SendAndWait());
  ASSERT_TRUE(dialog->acted);
  EXPECT_EQ(server.Count(), 5) << "the run keeps the account it started with";
  for (const QJsonValue& m : server.ReadBack()) {
    EXPECT_EQ(m["envelope_from"].toString(), "info@example.com") << "and its sender and mailer name";
    EXPECT_EQ(m["X-Mailer"].toString().toStdString(), "テストメーラ 1.0 ");
  }
  w->pSMTP[4] = "info@example.com";
  ASSERT_TRUE(SendAndWait());
  EXPECT_TRUE(refused->texts.join(" / ").startsWith("Error: 535")) << "the next send uses the new account";
}

TEST_F(SendRun, ACancelledClosedOrEmptyPromptOrABadPortStartsNothing) {
  LocalSmtpServer server("user", "typed");
  ASSERT_TRUE(server.Started());
  Prepare("", server.Port());

  WhenShows<PassDlg>([](PassDlg& d) { d.PushButton1->Push(); });  // キャンセル
  auto alert = AnswerAlert("OK");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(alert->answered);
  EXPECT_TRUE(alert->texts.contains("パスワードが入力されませんでしたので、処理を中止します。"));

  WhenShows<PassDlg>([](PassDlg& d) { d.PushButton2->Push(); });  // 入力
  alert = AnswerAlert("OK");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(alert->answered) << "an empty entry is refused like キャンセル";

  auto closed = WhenShows<PassDlg>([](PassDlg& d) { d.Widget()->close(); });
  auto refused = AnswerAlert("OK");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(closed->acted);
  ASSERT_TRUE(refused->answered) << "the close box counts as キャンセル";

  // A port 65536 above the server's must not reach the server.
  w->pSMTP[1] = std::to_string(65536 + server.Port());
  w->pSMTP[3] = "typed";
  refused = AnswerAlert("OK");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(refused->answered);
  EXPECT_TRUE(refused->texts.contains("ポート番号が正しくありませんので、処理を中止します。"))
      << refused->texts.join(" / ").toStdString();
  EXPECT_TRUE(w->ListBox1->Enabled()) << "no run started";
  EXPECT_EQ(server.Count(), 0);
  EXPECT_EQ(Log(), "");
}

TEST_F(SendRun, ARefusalShowsItsReplyAndStopsTheWalk) {
  LocalSmtpServer server("user", "secret", "r2@example.com");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port());

  auto alert = AnswerAlert("OK");
  ASSERT_TRUE(SendAndWait());
  ASSERT_TRUE(alert->answered);
  EXPECT_EQ(alert->texts.first().toStdString(), "Error: 550 5.1.1 <r2@example.com>: Recipient address rejected\r\n");
  EXPECT_EQ(Log(), "r0@example.com\nr1@example.com\nSend End.\n");
  EXPECT_EQ(progress.back(), 0);
  EXPECT_EQ(server.Count(), 2);
  EXPECT_TRUE(w->Socket1->Messages.empty());

  // The rows that had the letter lose their ticks; the refused row and those not reached keep
  // theirs. The obvious retry, the refused row unticked, mails nobody twice.
  for (int row = 0; row < 5; ++row) EXPECT_EQ(w->ListBox2->CellCheck(row, 0), row >= 2) << "row " << row;
  EXPECT_EQ(w->StaticText1->Text(), "総数：3");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 3);
  QAbstractItemModel* rows = w->ListBox2->View()->model();
  ASSERT_TRUE(rows->setData(rows->index(2, 0), Qt::Unchecked, Qt::CheckStateRole));
  ASSERT_TRUE(SendAndWait());
  EXPECT_EQ(Log(), "r0@example.com\nr1@example.com\nSend End.\nr3@example.com\nr4@example.com\nSend End.\n");
  EXPECT_EQ(server.Count(), 4);
  EXPECT_EQ(w->StaticText1->Text(), "総数：2") << "a walk that reaches its end keeps every tick";
}

TEST_F(SendRun, AServerThatIsDownIsAFailureNotASuccess) {
  int port;
  {
    LocalSmtpServer gone;
    ASSERT_TRUE(gone.Started());
    port = gone.Port();
  }
  Prepare("secret", port);
  auto alert = AnswerAlert("OK");
  ASSERT_TRUE(SendAndWait());
  ASSERT_TRUE(alert->answered);
  EXPECT_TRUE(alert->texts.first().startsWith("Error: "));
  EXPECT_EQ(Log(), "Send End.\n") << "no address is logged for a message that never left";
  EXPECT_TRUE(w->Socket1->Messages.empty()) << "the failed message is not sent later by surprise";
}

TEST_F(SendRun, ASecondPressDuringARunStartsNoSecondRun) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  Prepare("secret", server.Port());
  // Pressed again from the event loop once the first message has gone: a second run would
  // walk beside the first and add its messages before the first one ends.
  auto* bar = qobject_cast<QProgressBar*>(w->ProgressBar1->Widget());
  bool pressed = false;
  QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int v) {
    if (v == 1 && !pressed) QTimer::singleShot(0, [&] { w->Toolbar11->ToolItem1.Action()->trigger(); });
    pressed = pressed || v == 1;
  });
  ASSERT_TRUE(SendAndWait());
  ASSERT_TRUE(pressed);
  EXPECT_EQ(Log(), "r0@example.com\nr1@example.com\nr2@example.com\nr3@example.com\nr4@example.com\nSend End.\n");
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
  EXPECT_EQ(server.Count(), 5);
}

// While a send runs the user can neither choose another set nor edit the template it reads;
// both are free again once the walk ends.
TEST_F(SendRun, TheSetAndTheTemplateStayAsTheyAreWhileASendRuns) {
  LocalSmtpServer server("user", "secret");
  ASSERT_TRUE(server.Started());
  folder().Write("Data/小さい/NameList.txt", "only@example.com\tひとり\n");
  folder().Write("Data/小さい/Template.txt", "件名\n様\n本文\n");
  Prepare("secret", server.Port());
  QTableView* sets = w->ListBox1->View();
  const QPoint small = sets->visualRect(sets->model()->index(1, 0)).center();
  auto* subject = qobject_cast<QLineEdit*>(w->EditField3->Widget());
  const std::string body = w->EditField2->Text();

  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->ProgressBar1->Value() >= 1; }, 60000));
  QTest::mouseClick(sets->viewport(), Qt::LeftButton, {}, small);
  QTest::keyClick(sets, Qt::Key_Down);
  QTest::keyClicks(subject, "!");
  QTest::keyClicks(w->EditField2->Widget(), "!");
  QGuiApplication::clipboard()->setText("貼り付け");
  w->EditField4->Widget()->setFocus();
  ASSERT_TRUE(w->EditPaste()->Action()->isEnabled());
  w->EditPaste()->Action()->trigger();
  EXPECT_EQ(w->ListBox1->ListIndex(), 0);
  EXPECT_EQ(w->EditField3->Text(), kSubject);
  EXPECT_EQ(w->EditField4->Text(), "様");
  EXPECT_EQ(w->EditField2->Text(), body);
  w->ListBox2->SetCellCheck(4, 0, false);  // ticks stay live

  ASSERT_TRUE(QTest::qWaitFor([&] { return Log().find("Send End.") != std::string::npos; }, 60000));
  EXPECT_EQ(Log(), "r0@example.com\nr1@example.com\nr2@example.com\nr3@example.com\nSend End.\n");
  QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 4);
  for (const QJsonValue& m : mail) EXPECT_EQ(m["Subject"].toString().toStdString(), kSubject + " ");

  QTest::mouseClick(sets->viewport(), Qt::LeftButton, {}, small);
  EXPECT_EQ(w->ListBox1->ListIndex(), 1);
  EXPECT_EQ(w->ListBox2->ListCount(), 1);
  QTest::keyClicks(subject, "!");
  EXPECT_EQ(w->EditField3->Text(), "件名!");
}

}  // namespace
