// The set list, the selection of a set with its confirmation, and the template fields.
#include <QDir>
#include <QJsonObject>
#include <QImage>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "tests/mainwindow/SetFixture.h"

namespace {

using settest::SetWindowTest;

const char kQuestion[] = "メールの内容が編集されています。それでも変更しますか？";
const char kWarning[] = "実行を選択すると、編集内容は失われます。";

class SetsAndTemplate : public SetWindowTest {
 protected:
  // Three sets with two recipients each and a template naming the set.
  void OpenWithSets(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      std::string n = name;
      WriteSet(n, (n + "1@example.com\t" + n + "1\n" + n + "2@example.com\t" + n + "2\n").c_str(),
               ("件名" + n + "\n様\n本文" + n + "\n二行目").c_str());
    }
    Open();
  }
  void TypeIntoSubject(const char* text) {
    auto* field = qobject_cast<QLineEdit*>(w->EditField3->Widget());
    field->setFocus();
    QTest::keyClicks(field, text);
  }
};

TEST_F(SetsAndTemplate, ListShowsVisibleFoldersOfDataInListingOrder) {
  WriteSet("B", "", "");
  WriteSet("A", nullptr, nullptr);
  WriteSet("顧客", "", "");
  folder().MakeFolder("Data/.hidden");
  folder().Write("Data/readme.txt", "not a set");
  Open();
  ASSERT_EQ(w->ListBox1->ListCount(), 3);
  EXPECT_EQ(w->ListBox1->List(0), "A") << "a folder without its files is listed too";
  EXPECT_EQ(w->ListBox1->List(1), "B");
  EXPECT_EQ(w->ListBox1->List(2), "顧客");
  EXPECT_EQ(w->ListBox1->ListIndex(), -1);
  EXPECT_FALSE(SendButtonsEnabled());

  // A set added while the program runs is not listed.
  WriteSet("C", "", "");
  testsupport::ProcessEvents();
  EXPECT_EQ(w->ListBox1->ListCount(), 3);
}

// An archive made on Windows unpacks 顧客 in Shift_JIS beside the same name in UTF-8: both rows
// show 顧客, and each opens its own folder.
TEST_F(SetsAndTemplate, SetsWhoseNamesShowAlikeOpenTheirOwnFolders) {
  WriteSet("顧客", "utf8@example.com\n", "UTF-8\n様\n");
  WriteSet("\x8C\xDA\x8B\x71", "sjis@example.com\n", "Shift_JIS\n様\n");
  Open();
  ASSERT_EQ(w->ListBox1->ListCount(), 2);
  const char* expected[][2] = {{"Shift_JIS", "sjis@example.com"}, {"UTF-8", "utf8@example.com"}};  // byte order
  for (int row : {0, 1, 0}) {
    w->ListBox1->SetListIndex(row);
    EXPECT_EQ(w->ListBox1->List(row), "顧客");
    EXPECT_EQ(w->EditField3->Text(), expected[row][0]);
    EXPECT_EQ(w->ListBox2->Cell(0, 1), expected[row][1]);
  }
}

TEST_F(SetsAndTemplate, WithoutDataFolderTheListStaysEmptyAndNothingIsSaid) {
  Open();
  EXPECT_EQ(w->ListBox1->ListCount(), 0);
  EXPECT_FALSE(folder().Exists("Data")) << "no folder is created";
}

TEST_F(SetsAndTemplate, TemplateLinesGiveSubjectHonorificAndBody) {
  struct Case {
    const char* file;
    const char* subject;
    const char* honorific;
    const char* body;
  };
  const Case cases[] = {
      {"", "", "", "\n"},
      {"件名", "件名", "", "\n"},
      {"件名\n様", "件名", "様", "\n"},
      {"件名\n様\n本文", "件名", "様", "本文\n"},
      {"件名\n様\n本文\n二行目", "件名", "様", "本文\n二行目"},
      {"件名\n様\n本文\n二行目\n", "件名", "様", "本文\n二行目"},
      {"件名\n様\n一\n\n三\n四\n", "件名", "様", "一\n\n三\n四"},
      {"件名\r\n様\r\n一\r\n二\r\n", "件名", "様", "一\n二"},
      {"件名\r様\r一\r二\r", "件名", "様", "一\n二"},
      {"\xEF\xBB\xBF件名\n様\n一\n二", "件名", "様", "一\n二"},
  };
  int i = 0;
  for (const Case& c : cases) WriteSet("T" + std::to_string(i++), "", c.file);
  Open();
  i = 0;
  for (const Case& c : cases) {
    // Each load leaves the fields unedited, so the next change asks nothing.
    Select("T" + std::to_string(i));
    EXPECT_EQ(w->EditField3->Text(), c.subject) << "case " << i;
    EXPECT_EQ(w->EditField4->Text(), c.honorific) << "case " << i;
    EXPECT_EQ(w->EditField2->Text(), c.body) << "case " << i;
    ++i;
  }
}

TEST_F(SetsAndTemplate, ShiftJISTemplateIsConverted) {
  // "件名" / "様" / "本文" in Shift_JIS.
  WriteSet("S", "", "\x8C\x8F\x96\xBC\n\x97\x6C\n\x96\x7B\x95\xB6\n");
  Open();
  Select("S");
  EXPECT_EQ(w->EditField3->Text(), "件名");
  EXPECT_EQ(w->EditField4->Text(), "様");
  EXPECT_EQ(w->EditField2->Text(), "本文\n");
}

TEST_F(SetsAndTemplate, SelectionLoadsRecipientsCountTemplateAndEnablesButtons) {
  OpenWithSets({"A", "B"});
  w->ProgressBar1->SetValue(7);
  Select("B");
  EXPECT_EQ(w->ListBox2->ListCount(), 2);
  EXPECT_EQ(w->ListBox2->Cell(0, 1), "B1@example.com");
  EXPECT_EQ(CountLabel(), "総数：2");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 2);
  EXPECT_EQ(w->ProgressBar1->Value(), 0);
  EXPECT_EQ(w->EditField3->Text(), "件名B");
  EXPECT_TRUE(SendButtonsEnabled());

  // Clearing the selection without edits: only the buttons change.
  w->ListBox1->SetListIndex(-1);
  EXPECT_FALSE(SendButtonsEnabled());
  EXPECT_EQ(w->ListBox2->ListCount(), 2);
  EXPECT_EQ(w->EditField3->Text(), "件名B");
  EXPECT_EQ(CountLabel(), "総数：2");
}

TEST_F(SetsAndTemplate, EditedTextAsksAndCancelPutsThePreviousSetBack) {
  OpenWithSets({"A", "B", "C"});
  Select("B");
  TypeIntoSubject("!");
  EXPECT_EQ(w->EditField3->Text(), "件名B!");

  auto seen = AnswerAlert("キャンセル");
  w->ListBox1->SetListIndex(RowOf("C"));
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains(kQuestion));
  EXPECT_TRUE(seen->texts.contains(kWarning));
  EXPECT_EQ(seen->buttons.size(), 2);
  EXPECT_TRUE(seen->buttons.contains("キャンセル") && seen->buttons.contains("実行"));
  EXPECT_EQ(w->ListBox1->ListIndex(), RowOf("B"));
  EXPECT_EQ(w->EditField3->Text(), "件名B!");
  EXPECT_EQ(w->ListBox2->Cell(0, 1), "B1@example.com");

  // Still edited: the next change asks again; 実行 loads and clears the edited state.
  seen = AnswerAlert("実行");
  w->ListBox1->SetListIndex(RowOf("C"));
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(w->ListBox1->ListIndex(), RowOf("C"));
  EXPECT_EQ(w->EditField3->Text(), "件名C");
  EXPECT_EQ(w->ListBox2->Cell(0, 1), "C1@example.com");
  Select("A");
  EXPECT_EQ(w->EditField3->Text(), "件名A");

  // Text set by the program counts as an edit as well.
  w->EditField2->SetText("edited");
  AnswerAlert("キャンセル");
  w->ListBox1->SetListIndex(RowOf("B"));
  EXPECT_EQ(w->ListBox1->ListIndex(), RowOf("A"));
}

TEST_F(SetsAndTemplate, AKeyOrAClickInTheSetListAsksOnce) {
  OpenWithSets({"A", "B", "C"});
  Select("A");
  TypeIntoSubject("!");
  QTableView* view = w->ListBox1->View();
  view->setFocus();
  // The question is modal: every one a key press or a click asks comes before it returns, and
  // a second one fails as unexpected.
  auto seen = AnswerAlert("キャンセル");
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(w->ListBox1->ListIndex(), RowOf("A"));

  seen = AnswerAlert("キャンセル");
  QRect c = view->visualRect(view->model()->index(RowOf("C"), 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, c.center());
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(w->ListBox1->ListIndex(), RowOf("A"));
  EXPECT_EQ(w->EditField3->Text(), "件名A!");
}

TEST_F(SetsAndTemplate, TypingBeforeAnyLoadAsksAndCancelSelectsRowZeroWithoutLoading) {
  OpenWithSets({"A", "B", "C"});
  w->EditField2->SetText("draft");
  auto seen = AnswerAlert("キャンセル");
  w->ListBox1->SetListIndex(RowOf("C"));
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(w->ListBox1->ListIndex(), 0);
  EXPECT_EQ(w->ListBox2->ListCount(), 0) << "row 0 is selected, not loaded";
  EXPECT_FALSE(SendButtonsEnabled());
  EXPECT_EQ(w->EditField2->Text(), "draft");

  seen = AnswerAlert("実行");
  w->ListBox1->SetListIndex(RowOf("B"));
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(w->EditField2->Text(), "本文B\n二行目");
  EXPECT_TRUE(SendButtonsEnabled());
}

TEST_F(SetsAndTemplate, ClearingTheSelectionWithEditsAsksAndKeepsTheEdits) {
  OpenWithSets({"A", "B"});
  Select("A");
  TypeIntoSubject("?");
  auto seen = AnswerAlert("実行");
  w->ListBox1->SetListIndex(-1);
  ASSERT_TRUE(seen->answered);
  EXPECT_EQ(w->ListBox1->ListIndex(), -1);
  EXPECT_FALSE(SendButtonsEnabled());
  EXPECT_EQ(w->EditField3->Text(), "件名A?");
  EXPECT_EQ(w->ListBox2->ListCount(), 2);

  // The edits are still pending.
  seen = AnswerAlert("実行");
  w->ListBox1->SetListIndex(RowOf("B"));
  EXPECT_TRUE(seen->answered);
  EXPECT_EQ(w->EditField3->Text(), "件名B");
}

// A set without its letter (none yet, or one saved as "template.txt") leaves the fields empty:
// the previous set's letter, edited or not, never reaches its people. A blank letter is refused;
// one typed in goes out as typed, an empty subject as an empty field.
TEST_F(SetsAndTemplate, AMissingLetterLeavesTheFieldsEmptyAndOnlyATypedOneIsSent) {
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  WriteSettingsFor(server);
  WriteSet("名簿のみ", "b@example.com\tB\n", nullptr);
  folder().Write("Data/名簿のみ/template.txt", "件名\n様\n本文\n");
  OpenWithSets({"A"});
  Select("A");
  TypeIntoSubject("!");
  auto seen = AnswerAlerts({"実行", "OK"});
  w->ListBox1->SetListIndex(RowOf("名簿のみ"));
  ASSERT_TRUE(seen[1]->answered);
  EXPECT_TRUE(seen[1]->texts.contains("File not found."));
  EXPECT_EQ(w->ListBox2->Cell(0, 1), "b@example.com");
  for (fw::EditField* field : {w->EditField3, w->EditField4, w->EditField2}) EXPECT_EQ(field->Text(), "");
  Select("A");  // nothing is edited: no question
  EXPECT_EQ(w->EditField3->Text(), "件名A");
  AnswerAlert("OK");
  Select("名簿のみ");

  w->EditField2->SetText("　\r\n \n");
  auto blank = AnswerAlert("OK");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(blank->answered);
  EXPECT_EQ(blank->texts, (QStringList{"題名と本文が空です。", "送信する文面を入力して下さい。"}));

  w->EditField2->SetText("本日のご案内");
  w->Toolbar11->ToolItem1.Action()->trigger();
  ASSERT_TRUE(WaitForSendEnd());
  EXPECT_EQ(w->EditField1->Text(), "b@example.com\nSend End.\n");
  ASSERT_EQ(server.Count(), 1);
  EXPECT_EQ(server.ReadBack()[0].toObject()["body"].toString().toStdString(), "B \r\n\r\n本日のご案内\r\n");
  EXPECT_NE(server.Raw(1).find("\r\nSubject: \r\nFrom: info@example.jp\r\n"), std::string::npos) << server.Raw(1);
}

TEST_F(SetsAndTemplate, SetWithNeitherFileGivesBothAlertsNameListFirst) {
  WriteSet("Empty", nullptr, nullptr);
  Open();
  auto seen = AnswerAlerts({"OK", "OK"});
  w->ListBox1->SetListIndex(RowOf("Empty"));
  ASSERT_TRUE(seen[0]->answered && seen[1]->answered);
  EXPECT_TRUE(seen[0]->texts.contains("NameList not found."));
  EXPECT_TRUE(seen[1]->texts.contains("File not found."));
  EXPECT_EQ(w->ListBox2->ListCount(), 0);
  EXPECT_EQ(CountLabel(), "総数：0");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 0) << "nothing to send";
  EXPECT_TRUE(SendButtonsEnabled());
}

TEST_F(SetsAndTemplate, SetFolderRemovedOrRenamedWhileRunningGivesTheAlerts) {
  OpenWithSets({"A", "B", "C"});
  Select("A");
  ASSERT_TRUE(QDir(QString::fromStdString(folder().PathOf("Data/B"))).removeRecursively());
  auto seen = AnswerAlerts({"OK", "OK"});
  w->ListBox1->SetListIndex(RowOf("B"));
  ASSERT_TRUE(seen[1]->answered);
  EXPECT_TRUE(seen[0]->texts.contains("NameList not found."));
  EXPECT_TRUE(seen[1]->texts.contains("File not found."));
  EXPECT_EQ(w->ListBox2->ListCount(), 0) << "none of the previous set's rows stay";
  EXPECT_EQ(w->EditField3->Text(), "") << "nor its letter";

  // Renamed, and a file put in the folder's place.
  ASSERT_TRUE(QDir().rename(QString::fromStdString(folder().PathOf("Data/C")),
                            QString::fromStdString(folder().PathOf("Data/C2"))));
  folder().Write("Data/C", "now a file");
  seen = AnswerAlerts({"OK", "OK"});
  w->ListBox1->SetListIndex(RowOf("C"));
  EXPECT_TRUE(seen[0]->answered && seen[1]->answered);
  EXPECT_EQ(w->ListBox1->ListCount(), 3) << "the list still shows the old names";
}

TEST_F(SetsAndTemplate, EverySetRowHasTheLightBlueBackground) {
  OpenWithSets({"A", "B", "C"});
  // Away from the list, whose focused current row the style marks.
  w->EditField3->Widget()->setFocus();
  QTableView* view = w->ListBox1->View();
  QImage shot = view->viewport()->grab().toImage();
  for (int row = 0; row < 3; ++row) {
    QRect cell = view->visualRect(view->model()->index(row, 0));
    QColor c = shot.pixelColor(cell.right() - 3, cell.center().y());
    EXPECT_EQ(c, QColor(0xED, 0xF3, 0xFE)) << "row " << row;
  }
}

}  // namespace
