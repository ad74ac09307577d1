// The send-settings dialog: its declared fields and labels, the 255-byte limit, the focus it
// opens with, and the two buttons that record the answer and hide the dialog keeping its fields.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/PassDlg.h"
#include "dialogs/SMTPDlg.h"
#include "tests/support/GuiTest.h"

namespace {

std::string AccessibleName(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).toStdString();
}

class SMTPDialog : public testsupport::GuiTest {
 protected:
  void TearDown() override {
    if (fw::HasImplicit<SMTPDlg>()) SMTPDlg::Get()->Close();
    GuiTest::TearDown();
  }
};

TEST_F(SMTPDialog, LabelsButtonsAndTheMaskedPasswordField) {
  SMTPDlg* dlg = SMTPDlg::Get();
  EXPECT_EQ(dlg->Title(), "Untitled");
  EXPECT_EQ(dlg->Content()->size(), QSize(500, 300));
  EXPECT_FALSE(dlg->pReturn) << "a fresh dialog has no answer";
  const std::pair<fw::StaticText*, fw::EditField*> rows[] = {
      {dlg->StaticText1, dlg->EditField1}, {dlg->StaticText2, dlg->EditField2}, {dlg->StaticText3, dlg->EditField3},
      {dlg->StaticText4, dlg->EditField4}, {dlg->StaticText5, dlg->EditField5}, {dlg->StaticText6, dlg->EditField6}};
  const char* labels[] = {"SMTPサーバ名", "ポート番号", "アカウント", "パスワード", "送信者アドレス", "メーラ名"};
  int above = -1;
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(rows[i].first->Text(), labels[i]);
    // As shown: the label at the field's left and level with it, each row below the one before.
    const QRect label = rows[i].first->Widget()->geometry(), field = rows[i].second->Widget()->geometry();
    EXPECT_LT(label.right(), field.left()) << labels[i];
    EXPECT_TRUE(field.top() <= label.center().y() && label.center().y() <= field.bottom())
        << labels[i] << " stands beside its field";
    EXPECT_GT(field.top(), above) << labels[i] << " comes below the row before";
    above = field.bottom();
    EXPECT_TRUE(rows[i].second->Text().empty());
    auto* line = qobject_cast<QLineEdit*>(rows[i].second->Widget());
    EXPECT_EQ(line->echoMode(), i == 3 ? QLineEdit::Password : QLineEdit::Normal) << labels[i];
    EXPECT_EQ(AccessibleName(line), labels[i]) << "a screen reader names the field by its label";
  }
  EXPECT_EQ(dlg->PushButton1->Caption(), "キャンセル");
  EXPECT_EQ(dlg->PushButton2->Caption(), "保存");
  EXPECT_TRUE(qobject_cast<QPushButton*>(dlg->PushButton2->Widget())->isDefault());

  PassDlg* prompt = PassDlg::Get();
  EXPECT_EQ(AccessibleName(prompt->EditField1->Widget()), "パスワードを入力して下さい。");
  prompt->Close();
}

TEST_F(SMTPDialog, FieldsHoldAtMost255BytesWithoutSplittingACharacter) {
  SMTPDlg* dlg = SMTPDlg::Get();
  std::string kana;
  for (int i = 0; i < 100; ++i) kana += "あ";  // 300 bytes of UTF-8
  dlg->EditField1->SetText(kana);
  EXPECT_EQ(dlg->EditField1->Text(), kana.substr(0, 255));

  auto* line = qobject_cast<QLineEdit*>(dlg->EditField6->Widget());
  line->setFocus();
  QTest::keyClicks(line, QString(300, 'x'));
  EXPECT_EQ(dlg->EditField6->Text(), std::string(255, 'x')) << "typing stops at the limit too";
}

TEST_F(SMTPDialog, SaveRecordsTrueAndKeepsTheFieldsOfTheHiddenDialog) {
  SMTPDlg* dlg = SMTPDlg::Get();
  dlg->EditField4->SetText("秘密 pass");
  QWidget* focus = nullptr;
  auto seen = WhenShows<SMTPDlg>([&](SMTPDlg& d) {
    if (QTest::qWaitForWindowActive(d.Widget())) focus = QApplication::focusWidget();
    d.PushButton2->Push();
  });
  dlg->ShowModal();
  ASSERT_TRUE(seen->acted);
  EXPECT_TRUE(seen->modal) << "the dialog is modal while its caller waits";
  EXPECT_EQ(focus, dlg->EditField1->Widget()) << "the dialog opens ready for typing in its first field";
  EXPECT_TRUE(dlg->pReturn);
  EXPECT_FALSE(dlg->IsVisible());
  ASSERT_TRUE(fw::HasImplicit<SMTPDlg>()) << "hiding keeps the instance";
  EXPECT_EQ(SMTPDlg::Get(), dlg);
  EXPECT_EQ(dlg->EditField4->Text(), "秘密 pass") << "the masked field gives the text as typed";
}

TEST_F(SMTPDialog, CancelRecordsFalseEvenAfterASave) {
  SMTPDlg* dlg = SMTPDlg::Get();
  WhenShows<SMTPDlg>([](SMTPDlg& d) { d.PushButton2->Push(); });
  dlg->ShowModal();
  ASSERT_TRUE(dlg->pReturn);
  auto seen = WhenShows<SMTPDlg>([](SMTPDlg& d) {
    d.EditField1->SetText("edited");
    d.PushButton1->Push();
  });
  dlg->ShowModal();
  ASSERT_TRUE(seen->acted);
  EXPECT_TRUE(seen->modal);
  EXPECT_FALSE(dlg->pReturn);
  EXPECT_FALSE(dlg->IsVisible());
}

}  // namespace
