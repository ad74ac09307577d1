// The caution alerts: buttons by count, results by the pressed button, texts as given.
#include <gtest/gtest.h>

#include "alerts/Globals.h"
#include "mainwindow/Window1.h"
#include "tests/support/GuiTest.h"

namespace {

using CautionAlerts = testsupport::GuiTest;

TEST_F(CautionAlerts, CountDecidesTheButtonsAndThePressedOneTheResult) {
  Start();
  auto seen = AnswerAlert("実行");
  EXPECT_EQ(gCautionDlg(2, "", "キャンセル", "実行", "質問", "説明", nullptr), CautionResult::Action);
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(seen->title.toStdString(), "ポスタリオ") << "an untitled alert shows the program's name, not the file's";
  EXPECT_EQ(seen->buttons.size(), 2);
  EXPECT_TRUE(seen->buttons.contains("キャンセル"));
  EXPECT_TRUE(seen->texts.contains("質問"));
  EXPECT_TRUE(seen->texts.contains("説明"));

  seen = AnswerAlert("キャンセル");
  EXPECT_EQ(gCautionDlg(2, "", "キャンセル", "実行", "質問", "", nullptr), CautionResult::Cancel);

  seen = AnswerAlert("別の");
  EXPECT_EQ(gCautionDlg(3, "別の", "キャンセル", "実行", "質問", "", nullptr), CautionResult::Alternate);
  EXPECT_EQ(seen->buttons.size(), 3);

  for (int count : {1, 0, -5}) {
    seen = AnswerAlert("OK");
    EXPECT_EQ(gCautionDlg(count, "別の", "キャンセル", "OK", "m", "", nullptr), CautionResult::Action);
    EXPECT_EQ(seen->buttons, QStringList{"OK"}) << "count " << count;
  }
}

TEST_F(CautionAlerts, SingleButtonAlertsComeOneAfterTheOther) {
  auto seen = AnswerAlerts({"OK", "OK"});
  gCautionDlg1("Error: 550 first", "", nullptr);
  gCautionDlg1("Error: 550 second", "", nullptr);
  ASSERT_TRUE(seen[0]->answered);
  ASSERT_TRUE(seen[1]->answered);
  EXPECT_TRUE(seen[0]->texts.contains("Error: 550 first"));
  EXPECT_TRUE(seen[1]->texts.contains("Error: 550 second"));
  EXPECT_EQ(seen[0]->buttons, QStringList{"OK"});
}

// A server (or anyone on the unencrypted path) writes the reply: markup must not make a refusal
// read as a success.
const std::string kMarkup = "<h1>Message sent</h1><a href=\"http://example.com/\">details</a>";

TEST_F(CautionAlerts, TextsAreShownAsPlainTextNeverAsMarkup) {
  auto seen = AnswerAlert("OK");
  gCautionDlg1("Error: 550 " + kMarkup, kMarkup, nullptr);
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains(QString::fromStdString("Error: 550 " + kMarkup)));
  EXPECT_TRUE(seen->texts.contains(QString::fromStdString(kMarkup)));
  EXPECT_TRUE(seen->plain);
}

using ServerErrorAlert = testsupport::GuiTest;

TEST_F(ServerErrorAlert, ShowsTheReplyCutToAReadableLengthAsPlainText) {
  Start();
  Window1* w = Window1::Get();
  // Multi-byte characters all along, so that a cut in the middle of one would show.
  std::string reply = "550 " + kMarkup;
  while (reply.size() < (1u << 20)) reply += "届きません";
  auto seen = AnswerAlert("OK");
  w->Socket1_ServerError(550, reply + "\r\n", nullptr);
  ASSERT_TRUE(seen->answered);
  ASSERT_FALSE(seen->texts.isEmpty());
  const QString shown = seen->texts.first();
  EXPECT_TRUE(shown.startsWith(QString::fromStdString("Error: 550 " + kMarkup))) << shown.left(80).toStdString();
  EXPECT_TRUE(shown.endsWith("…"));
  EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter)) << "cut on a character boundary";
  EXPECT_EQ(shown.size(), 7 + kAlertTextChars + 1);
  EXPECT_TRUE(seen->plain);
  EXPECT_TRUE(w->pSent && w->pError);
}

}  // namespace
