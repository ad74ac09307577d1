// The recipient list: loading "NameList.txt", the checked count, tick-all and clear-all, and
// the row backgrounds.
#include <QAbstractItemModel>
#include <QAction>
#include <QImage>
#include <QTableView>
#include <QTest>

#include "smtp/MailAddress.h"
#include "tests/mainwindow/SetFixture.h"
#include "tests/support/DataFiles.h"
#include "tests/support/LocalSmtpServer.h"

namespace {

using settest::SetWindowTest;

class Recipients : public SetWindowTest {
 protected:
  void OpenWithList(const char* nameList) {
    WriteSet("S", nameList, "件名\n様\n本文");
    Open();
    Select("S");
  }
  // As the user's click does: through the view's model, which raises CellAction.
  void UserTick(int row, bool on) {
    QAbstractItemModel* model = w->ListBox2->View()->model();
    ASSERT_TRUE(model->setData(model->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
  }
  void Press(fw::ToolItem& item) {
    ASSERT_TRUE(item.Action()->isEnabled());
    item.Action()->trigger();
  }
  std::string Address(int row) const { return w->ListBox2->Cell(row, 1); }
  std::string Name(int row) const { return w->ListBox2->Cell(row, 2); }
};

TEST_F(Recipients, CommentsBlankLinesAndTabFields) {
  OpenWithList(
      "// a comment\n"
      "a@example.com\t山田\n"
      "\n"
      "b@example.com\tB\tdropped\n"
      "c@example.com\n"
      "\tno address\n"
      "　 \tblanks only\n"
      " //not a comment\n"
      "/x@example.com\n"
      "//\n"
      "//another@example.com\tX\n");
  ASSERT_EQ(w->ListBox2->ListCount(), 8);
  // Address, name, and "x" for a row that is ticked.
  const char* rows[][3] = {{"a@example.com", "山田", "x"}, {"", "", ""},         {"b@example.com", "B", "x"},
                           {"c@example.com", "", "x"},     {"", "no address", ""}, {"　 ", "blanks only", ""},
                           {" //not a comment", "", "x"},  {"/x@example.com", "", "x"}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Address(i), rows[i][0]) << "row " << i;
    EXPECT_EQ(Name(i), rows[i][1]) << "row " << i;
    // A row without an address has no check box: it is never sent and never counted.
    bool sendable = *rows[i][2] != 0;
    EXPECT_EQ(w->ListBox2->CellType(i, 0), sendable ? fw::ListCellType::Checkbox : fw::ListCellType::Default);
    EXPECT_EQ(w->ListBox2->CellCheck(i, 0), sendable);
  }
  EXPECT_EQ(CountLabel(), "総数：5");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 5);
  EXPECT_EQ(w->ListBox2->ListIndex(), -1) << "no row is selected after a load";
  Press(w->Toolbar11->ToolItem7);
  Press(w->Toolbar11->ToolItem6);
  EXPECT_FALSE(w->ListBox2->CellCheck(1, 0)) << "tick-all passes rows without an address";
  EXPECT_EQ(CountLabel(), "総数：5");
}

TEST_F(Recipients, EmptyFileGivesOneRowThatIsNeverSent) {
  OpenWithList("");
  ASSERT_EQ(w->ListBox2->ListCount(), 1);
  EXPECT_EQ(Address(0), "");
  EXPECT_FALSE(w->ListBox2->CellCheck(0, 0));
  EXPECT_EQ(CountLabel(), "総数：0");
}

TEST_F(Recipients, CommentsOnlyGiveNoRowsAndNothingToSend) {
  OpenWithList("// one\n//two\n");
  EXPECT_EQ(w->ListBox2->ListCount(), 0);
  EXPECT_EQ(CountLabel(), "総数：0");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 0);
  Press(w->Toolbar11->ToolItem6);
  EXPECT_EQ(CountLabel(), "総数：0") << "tick-all over no rows";
}

TEST_F(Recipients, ShiftJISListAndCarriageReturnLineEnds) {
  // "山田太郎①" and "様" in Shift_JIS (CP932), lines ended by CR alone.
  OpenWithList("yamada@example.com\t\x8E\x52\x93\x63\x91\xBE\x98\x59\x87\x40\r"
               "sama@example.com\t\x97\x6C\r");
  ASSERT_EQ(w->ListBox2->ListCount(), 2);
  EXPECT_EQ(Name(0), "山田太郎①");
  EXPECT_EQ(Address(1), "sama@example.com");
  EXPECT_EQ(Name(1), "様");
}

TEST_F(Recipients, TicksRecountAndTickAllClearAllSetTheCount) {
  OpenWithList("1@x\n2@x\n3@x\n4@x\n5@x\n");
  UserTick(1, false);
  UserTick(3, false);
  EXPECT_EQ(CountLabel(), "総数：3");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 3);
  UserTick(1, true);
  EXPECT_EQ(CountLabel(), "総数：4");

  Press(w->Toolbar11->ToolItem7);
  EXPECT_EQ(CheckedRows(), 0);
  EXPECT_EQ(CountLabel(), "総数：0");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 0);

  Press(w->Toolbar11->ToolItem6);
  EXPECT_EQ(CheckedRows(), 5);
  EXPECT_EQ(CountLabel(), "総数：5");
  EXPECT_EQ(w->ProgressBar1->Maximum(), 5);
}

// A set without its list (not written yet, or saved under another name) leaves no rows: its
// letter never reaches the previous set's people.
TEST_F(Recipients, AMissingListLeavesNoRowsAndNothingToSend) {
  WriteSet("A", "1@x\n2@x\n", "件名");
  WriteSet("B", nullptr, "件名B");
  Open();
  Select("A");
  auto seen = AnswerAlerts({"OK", "OK"});
  w->ListBox1->SetListIndex(RowOf("B"));
  ASSERT_TRUE(seen[0]->answered);
  EXPECT_TRUE(seen[0]->texts.contains("NameList not found."));
  EXPECT_EQ(w->ListBox2->ListCount(), 0);
  EXPECT_EQ(CountLabel(), "総数：0");
  EXPECT_EQ(w->EditField3->Text(), "件名B") << "the letter is shown, to be typed on";
  Press(w->Toolbar11->ToolItem6);
  EXPECT_EQ(CountLabel(), "総数：0") << "tick-all over no rows";
  Press(w->Toolbar11->ToolItem1);
  ASSERT_TRUE(seen[1]->answered);
  EXPECT_TRUE(seen[1]->texts.contains("送信対象がありませんので、処理を中止します。"));
}

TEST(RecipientAddress, OnlyOnePlainAddressPasses) {
  EXPECT_TRUE(IsMailAddress("a@example.com"));
  EXPECT_TRUE(IsMailAddress("first.last+tag@sub.example.co.jp"));
  EXPECT_TRUE(IsMailAddress("a@xn--wgv71a.example-1.jp"));
  EXPECT_TRUE(IsMailAddress("a@[192.0.2.1]"));
  EXPECT_TRUE(IsMailAddress("a@[IPv6:2001:db8::1]"));
  // Dots anywhere before "@", as Japanese mobile carriers issued them, or the part quoted.
  for (const char* carrier : {"taro..hanako@example.jp", "hanako.@example.jp", ".taro@example.jp",
                              "\"taro..hanako\"@example.jp", "\"a\\\"b\"@example.jp", "o'hara!#$%&*/=?^`{|}~@example.jp"})
    EXPECT_TRUE(IsMailAddress(carrier)) << carrier;
  EXPECT_TRUE(IsMailAddress(std::string(64, 'l') + "@" + std::string(189, 'd')));  // 254 octets
  const std::string bad[] = {"",
                             "@example.com",
                             "a@",
                             "example.com",
                             "a@b@c",
                             "a b@example.com",
                             "a@b> NOTIFY=SUCCESS",
                             "x@a.example <victim@b.example>",
                             "a@x.example,b@y.example",
                             "nbsp@example.jp?",
                             "a@example..jp",
                             "a@.example.jp",
                             "a@example.jp.",
                             "a@-example.jp",
                             "a@example_jp",
                             "a@example-.jp",
                             "a@[]",
                             "a@[192.0.2.1",
                             "a@[192.0[.2.1]",
                             "a;b@example.jp",
                             "a(b)@example.jp",
                             "a[b@example.jp",
                             "a:b@example.jp",
                             "a\\b@example.jp",
                             "\"a\"b\"@example.jp",
                             std::string("a\0b@example.com", 15),
                             "a\t@example.com",
                             "山田@example.com",
                             std::string(64, 'l') + "@" + std::string(190, 'd')};
  for (const std::string& address : bad) EXPECT_FALSE(IsMailAddress(address)) << address;
}

TEST(RecipientAddress, BlanksAroundAndANameBeforeTheAddressAreReadApart) {
  const std::pair<std::string, MailAddress> good[] = {
      {"a1@example.jp ", {"", "a1@example.jp"}},
      {"\t a2@example.jp", {"", "a2@example.jp"}},
      {"a3@example.jp　", {"", "a3@example.jp"}},
      {"\u200Ba4@example.jp\uFEFF", {"", "a4@example.jp"}},
      {"　山田 太郎　<taro@example.jp> ", {"山田 太郎", "taro@example.jp"}},
      {"\"Yamada, \\\"T\\\" Taro\" < t@example.jp >", {"Yamada, \"T\" Taro", "t@example.jp"}},
      {"<t@example.jp>", {"", "t@example.jp"}}};
  for (const auto& [text, address] : good) EXPECT_EQ(ParseMailAddress(text), address) << text;
  for (const char* bad : {"　", "Taro <t@example.jp", "Taro <t@example.jp> x", "a>b <t@example.jp>",
                          "Taro <a b@example.jp>", "<a@x.example> <b@y.example>"})
    EXPECT_FALSE(ParseMailAddress(bad)) << bad;
}

// A recipient or a sender that is not one address, plain or after a name, or whose part before
// "@" a server refuses, never reaches the server. Every ticked row is checked at 送信, the
// first and the last too: a bad row halfway sends nothing, or sending again once it is mended
// would mail the rows before it twice.
TEST_F(Recipients, AddressesAreCheckedBeforeAnythingIsSent) {
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  folder().Write("Data/smtp",
                 testsupport::SettingsFile({"127.0.0.1", std::to_string(server.Port()), "", "pw", "", "mailer"}));
  OpenWithList("a;b@example.jp\tA\ntaro..hanako.@example.jp\tB\nｍｉｘ４＠example.jp\tC\na4@example.jp\tD\n"
               "x@a.example, victim@b.example\tX\n");
  auto seen = AnswerAlert("OK");
  Press(w->Toolbar11->ToolItem1);
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains("送信者のメールアドレスが設定されていません。"));
  w->pSMTP[4] = "自分 <me＠example.com>";
  seen = AnswerAlert("OK");
  Press(w->Toolbar11->ToolItem1);
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains("送信者のメールアドレスが正しくありません: 自分 <me＠example.com>（U+FF20）"))
      << seen->texts.join(" / ").toStdString();

  w->pSMTP[4] = "自分 <me@example.com>";
  const char* refusals[] = {"宛先のメールアドレスが正しくありません（1行目）: a;b@example.jp",
                            "宛先のメールアドレスが正しくありません（5行目）: x@a.example, victim@b.example"};
  for (const char* refusal : refusals) {
    seen = AnswerAlert("OK");
    Press(w->Toolbar11->ToolItem1);
    ASSERT_TRUE(seen->answered);
    EXPECT_TRUE(seen->texts.contains(refusal)) << seen->texts.join(" / ").toStdString();
    UserTick(0, false);
    UserTick(2, false);  // a bad row unticked is not looked at
  }
  EXPECT_TRUE(w->ListBox1->Enabled()) << "no run started";
  EXPECT_EQ(w->EditField1->Text(), "");
  EXPECT_EQ(server.Count(), 0);
}

// What nobody sees in a list: a byte-order mark where two files were joined, a zero-width space
// from a web page, a full-width ＠. Around an address they are blanks; inside it, the alert names
// the row and each character.
TEST_F(Recipients, InvisibleCharactersAreBlanksAroundAnAddressAndNamedInsideIt) {
  folder().Write("Data/smtp", testsupport::SettingsFile({"127.0.0.1", "25", "", "pw", "me@example.com", ""}));
  OpenWithList("a1@example.jp\tA\n"
               "\xEF\xBB\xBF// 二つ目のファイル\n"
               "\xEF\xBB\xBF\u200Ba2@example.jp\u200B\tB\n"
               "z2\u200B@example.com\tZ\n"
               "鈴木 <suzuki＠example.jp>\t鈴木\n");
  ASSERT_EQ(w->ListBox2->ListCount(), 4);
  EXPECT_EQ(Address(1), "\u200Ba2@example.jp\u200B");
  EXPECT_EQ(CountLabel(), "総数：4");
  const char* refusals[] = {"宛先のメールアドレスが正しくありません（3行目）: z2\u200B@example.com（U+200B）",
                            "宛先のメールアドレスが正しくありません（4行目）: 鈴木 <suzuki＠example.jp>（U+FF20）"};
  for (const char* refusal : refusals) {
    auto seen = AnswerAlert("OK");
    Press(w->Toolbar11->ToolItem1);
    ASSERT_TRUE(seen->answered);
    EXPECT_TRUE(seen->texts.contains(refusal)) << seen->texts.join(" / ").toStdString();
    UserTick(2, false);
  }
}

TEST_F(Recipients, EvenRowsHaveTheLightBlueBackground) {
  OpenWithList("1@x\n2@x\n3@x\n4@x\n5@x\n6@x\n");
  QTableView* view = w->ListBox2->View();
  QImage shot = view->viewport()->grab().toImage();
  QColor odd;
  for (int row = 0; row < 6; ++row) {
    QRect cell = view->visualRect(view->model()->index(row, 2));
    QColor c = shot.pixelColor(cell.right() - 3, cell.center().y());
    if (row % 2 == 0) {
      EXPECT_EQ(c, QColor(0xED, 0xF3, 0xFE)) << "row " << row;
    } else {
      EXPECT_NE(c, QColor(0xED, 0xF3, 0xFE)) << "row " << row;
      if (row > 1) {
        EXPECT_EQ(c, odd) << "odd rows share the list's own background";
      }
      odd = c;
    }
  }
}

}  // namespace
