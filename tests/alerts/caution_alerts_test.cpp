// The caution alerts: buttons by count, results by the pressed button, texts as given.
#include <QApplication>
#include <gtest/gtest.h>

#include "alerts/Globals.h"
#include "tests/support/ModalAnswer.h"

namespace {

using testsupport::AnswerModals;
using testsupport::AnswerNextModal;

TEST(CautionAlerts, CountDecidesTheButtonsAndThePressedOneTheResult) {
  auto seen = AnswerNextModal("実行");
  EXPECT_EQ(gCautionDlg(2, "", "キャンセル", "実行", "質問", "説明", nullptr), 2);
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(seen->buttons.size(), 2);
  EXPECT_TRUE(seen->buttons.contains("キャンセル"));
  EXPECT_TRUE(seen->texts.contains("質問"));
  EXPECT_TRUE(seen->texts.contains("説明"));

  seen = AnswerNextModal("キャンセル");
  EXPECT_EQ(gCautionDlg(2, "", "キャンセル", "実行", "質問", "", nullptr), 1);

  seen = AnswerNextModal("別の");
  EXPECT_EQ(gCautionDlg(3, "別の", "キャンセル", "実行", "質問", "", nullptr), 0);
  EXPECT_EQ(seen->buttons.size(), 3);

  for (int count : {1, 0, -5}) {
    seen = AnswerNextModal("OK");
    EXPECT_EQ(gCautionDlg(count, "別の", "キャンセル", "OK", "m", "", nullptr), 2);
    EXPECT_EQ(seen->buttons, QStringList{"OK"}) << "count " << count;
  }
}

TEST(CautionAlerts, SingleButtonAlertsComeOneAfterTheOther) {
  auto seen = AnswerModals({"OK", "OK"});
  gCautionDlg1("Error: 550 first", "", nullptr);
  gCautionDlg1("Error: 550 second", "", nullptr);
  ASSERT_TRUE(seen[0]->answered);
  ASSERT_TRUE(seen[1]->answered);
  EXPECT_TRUE(seen[0]->texts.contains("Error: 550 first"));
  EXPECT_TRUE(seen[1]->texts.contains("Error: 550 second"));
  EXPECT_EQ(seen[0]->buttons, QStringList{"OK"});
}

}  // namespace
