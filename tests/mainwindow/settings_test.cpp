// The send settings: the file "smtp" in "Data" read at start and written at close, what the SMTP
// client receives, damaged and unreadable files, and the settings dialog's exchange.
#include <QFile>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dialogs/SMTPDlg.h"
#include "mainwindow/Window1.h"
#include "mainwindow/MenuBar1.h"
#include "tests/support/GuiTest.h"

using testsupport::ProcessEvents;

namespace {

std::string Long(int32_t n) {
  auto v = static_cast<uint32_t>(n);
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A settings file: the count, then each text behind its length byte.
std::string SettingsBytes(int32_t count, const std::vector<std::string>& texts) {
  std::string bytes = Long(count);
  for (const std::string& t : texts) bytes += char(t.size()) + t;
  return bytes;
}

// Texts "t0", "t1", ...
std::vector<std::string> Numbered(int n) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back("t" + std::to_string(i));
  return texts;
}

std::vector<std::string> Slots(const std::array<std::string, 21>& s) { return {s.begin(), s.end()}; }

const std::string kEmptyFile = Long(20) + std::string(21, '\0');
const char* kUnreadable = "送信設定ファイル「smtp」を読み込めませんでした。";
const char* kDamaged = "送信設定ファイル「smtp」の内容が正しくありません。";
const char* kUnwritable = "送信設定ファイル「smtp」を保存できませんでした。";

}  // namespace

// Friend of Window1, so that the tests can open the settings dialog as its toolbar button does.
// An alert that a test does not answer fails it.
class SettingsTest : public testsupport::GuiTest {
 protected:
  Window1* w() { return Window1::Get(); }
  void ShowSMTPDlg() { w()->ShowSMTPDlg(); }
  void CloseMainWindow() {
    w()->Widget()->close();
    ProcessEvents();
    ASSERT_FALSE(fw::HasImplicit<Window1>()) << "the close always goes ahead";
  }
};

TEST_F(SettingsTest, FirstStartHasEmptySlotsAndTheCloseWritesTwentyFiveBytes) {
  folder().MakeFolder("Data");
  Start();
  EXPECT_EQ(Slots(w()->pSMTP), std::vector<std::string>(21));
  EXPECT_EQ(w()->Socket1->Address(), "");
  EXPECT_EQ(w()->Socket1->Port(), 0);
  EXPECT_EQ(w()->Socket1->Username, "");
  EXPECT_EQ(w()->Socket1->Password, "");
  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), kEmptyFile);
  EXPECT_EQ(QFile::permissions(QString::fromStdString(folder().PathOf("Data/smtp"))) & 0x0077, 0)
      << "the file holds a password: its owner only may read it";
}

TEST_F(SettingsTest, AFullFileRoundTripsByteForByteAndFeedsTheClient) {
  std::vector<std::string> texts = {"smtp.example.jp", "587", "山田", "pa ss", "taro@example.jp", "メーラ 1.0"};
  for (int i = 6; i <= 20; ++i) texts.push_back(i == 20 ? std::string(255, 'z') : "slot" + std::to_string(i));
  texts[9] = "";
  const std::string file = SettingsBytes(20, texts);
  folder().Write("Data/smtp", file);
  Start();
  EXPECT_EQ(Slots(w()->pSMTP), texts);
  EXPECT_EQ(w()->Socket1->Address(), "smtp.example.jp");
  EXPECT_EQ(w()->Socket1->Port(), 587);
  EXPECT_EQ(w()->Socket1->Username, "山田");
  EXPECT_EQ(w()->Socket1->Password, "pa ss");
  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), file);
}

TEST_F(SettingsTest, ACountBelowTwentyFillsThoseSlotsAndTheCloseWritesAllTwentyOne) {
  folder().Write("Data/smtp", SettingsBytes(2, {"host", "25", "me"}));
  Start();
  std::vector<std::string> expected(21);
  expected[0] = "host", expected[1] = "25", expected[2] = "me";
  EXPECT_EQ(Slots(w()->pSMTP), expected);
  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, expected));
}

// A damaged file, the slots read from it, the copies kept from earlier starts and the name its
// own copy takes.
struct Damaged {
  const char* name;
  std::string bytes;
  std::vector<std::string> read;
  std::vector<std::string> earlier = {};
  std::string copy = "smtp.damaged";
};
void PrintTo(const Damaged& d, std::ostream* os) { *os << d.name; }

class DamagedSettingsFile : public SettingsTest, public ::testing::WithParamInterface<Damaged> {};

TEST_P(DamagedSettingsFile, IsKeptBesideItReportedAndWrittenAnewAtClose) {
  const Damaged& d = GetParam();
  folder().Write("Data/smtp", d.bytes);
  for (const std::string& name : d.earlier) folder().Write("Data/" + name, "earlier");
  auto seen = AnswerAlert("OK");
  Start();
  ASSERT_TRUE(seen->answered) << "reported at start";
  EXPECT_TRUE(seen->texts.contains(kDamaged)) << seen->texts.join(" / ").toStdString();
  EXPECT_TRUE(seen->texts.join("").contains(QString::fromStdString("「" + d.copy + "」")));
  EXPECT_EQ(folder().Read("Data/" + d.copy), d.bytes);
  for (const std::string& name : d.earlier) EXPECT_EQ(folder().Read("Data/" + name), "earlier");
  std::vector<std::string> expected = d.read;
  expected.resize(21);
  EXPECT_EQ(Slots(w()->pSMTP), expected) << "what could be read is used";
  w()->pSMTP[0] = expected[0] = "typed later";
  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, expected));
}

INSTANTIATE_TEST_SUITE_P(
    SettingsTest, DamagedSettingsFile,
    ::testing::Values(Damaged{"negative count", SettingsBytes(-1, {"host", "25", "me", "pw", "a@b.jp", "M"}), {}},
                      Damaged{"no whole count", std::string(2, '\0'), {}, {"smtp.damaged", "smtp.damaged.2"}, "smtp.damaged.3"},
                      // slot 2 promises ten bytes and the file ends after three
                      Damaged{"text cut short", SettingsBytes(20, {"host", "25"}) + "\x0a" + "abc", {"host", "25", "abc"}},
                      Damaged{"fewer texts than counted", SettingsBytes(20, {"host", "25"}), {"host", "25"}},
                      Damaged{"count beyond the slots", SettingsBytes(INT32_MAX, Numbered(30)), Numbered(21)},
                      Damaged{"bytes after the last text", SettingsBytes(20, Numbered(21)) + "\xff\xfe", Numbered(21)}));

// What a full disk used to leave: nothing to keep.
TEST_F(SettingsTest, AnEmptyFileIsReportedAndWrittenAnewAtClose) {
  folder().Write("Data/smtp", "");
  auto seen = AnswerAlert("OK");
  Start();
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains(kDamaged));
  EXPECT_TRUE(seen->texts.join("").contains("ファイルが空")) << seen->texts.join(" / ").toStdString();
  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), kEmptyFile);
  EXPECT_FALSE(folder().Exists("Data/smtp.damaged"));
}

// What is not a regular file (a FIFO would hang the start) is never written over.
class UnreadableSettingsFile : public SettingsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnreadableSettingsFile, IsReportedOnceAndNeverWrittenOver) {
  const std::string path = folder().PathOf("Data/smtp");
  if (GetParam() == "FIFO") {
    folder().MakeFolder("Data");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  } else {
    folder().Write("Data/smtp/inside", "kept");
  }
  struct stat before {};
  ASSERT_EQ(lstat(path.c_str(), &before), 0);
  auto seen = AnswerAlert("OK");
  Start();
  ASSERT_TRUE(seen->answered) << "reported at start";
  EXPECT_TRUE(seen->texts.contains(kUnreadable)) << seen->texts.join(" / ").toStdString();
  EXPECT_EQ(Slots(w()->pSMTP), std::vector<std::string>(21));
  ASSERT_TRUE(fw::HasImplicit<Window1>()) << "the program goes on";
  w()->pSMTP[0] = "typed later";
  CloseMainWindow();
  struct stat after {};
  ASSERT_EQ(lstat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
}

INSTANTIATE_TEST_SUITE_P(SettingsTest, UnreadableSettingsFile, ::testing::Values("folder", "FIFO"));

TEST_F(SettingsTest, AFailedWriteIsReportedAndTheWindowStillCloses) {
  folder().MakeFolder("Data");
  Start();
  folder().Write("Data/smtp/inside", "in the way");
  auto seen = AnswerAlert("OK");
  CloseMainWindow();
  ASSERT_TRUE(seen->answered);
  EXPECT_TRUE(seen->texts.contains(kUnwritable)) << seen->texts.join(" / ").toStdString();
  EXPECT_TRUE(seen->texts.join(" / ").contains(std::strerror(EISDIR))) << "the system's reason is shown";
  EXPECT_EQ(folder().Read("Data/smtp/inside"), "in the way");
}

TEST_F(SettingsTest, WithoutADataFolderNothingIsWrittenOrCreated) {
  Start();
  CloseMainWindow();
  EXPECT_FALSE(folder().Exists("Data"));
  EXPECT_FALSE(folder().Exists("smtp"));
}

TEST_F(SettingsTest, WithoutADataFolderTypedSettingsMakeItAtClose) {
  Start();
  w()->pSMTP[4] = "taro@example.jp";
  CloseMainWindow();
  std::vector<std::string> expected(21);
  expected[4] = "taro@example.jp";
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, expected));
}

TEST_F(SettingsTest, QuittingThroughTheMenuWritesTheFileCuttingLongTextsBetweenCharacters) {
  folder().MakeFolder("Data");
  Start();
  w()->pSMTP[4] = "from@example.jp";
  std::string kana = "x";
  for (int i = 0; i < 100; ++i) kana += "あ";  // 301 bytes: byte 255 is inside a character
  w()->pSMTP[5] = kana;
  MenuBar1::Get()->Child("FileQuit")->Action()->trigger();
  ProcessEvents();
  EXPECT_FALSE(fw::HasImplicit<Window1>());
  std::vector<std::string> expected(21);
  expected[4] = "from@example.jp";
  expected[5] = kana.substr(0, 253);
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, expected));
}

// A port text and the port the client gets (-1: none, the send is refused).
using PortText = std::pair<std::string, int>;

class PortSetting : public SettingsTest, public ::testing::WithParamInterface<PortText> {};

TEST_P(PortSetting, ThePortTextBecomesAWholePortNumber) {
  folder().Write("Data/smtp", SettingsBytes(1, {"host", GetParam().first}));
  Start();
  EXPECT_EQ(w()->Socket1->Port(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(SettingsTest, PortSetting,
                         ::testing::Values(PortText{"2525", 2525}, PortText{"", 0}, PortText{"0", 0},
                                           PortText{"　５５２６５ ", 55265}, PortText{" 465\t", 465},
                                           PortText{"65535", 65535}, PortText{"70000", -1},
                                           PortText{"99999999999", -1}, PortText{"ポート587", -1},
                                           PortText{"smtp", -1}, PortText{"25.0", -1}, PortText{"-1", -1}));

TEST_F(SettingsTest, SavingTheDialogChangesSlotsZeroToFiveAndTheClientAtOnce) {
  // The account is Shift_JIS, as an older file may hold it.
  std::vector<std::string> texts = {"old.host", "25", "\x8e\x52\x93\x63", "", "a@b.jp", "M"};
  for (int i = 6; i <= 20; ++i) texts.push_back("keep" + std::to_string(i));
  folder().Write("Data/smtp", SettingsBytes(20, texts));
  Start();
  std::vector<std::string> shown;
  auto seen = WhenShows<SMTPDlg>([&](SMTPDlg& d) {
    for (fw::EditField* f : {d.EditField1, d.EditField2, d.EditField3, d.EditField4, d.EditField5, d.EditField6})
      shown.push_back(f->Text());
    d.EditField1->SetText("new.host");
    d.EditField2->SetText("587");
    d.EditField4->SetText("secret");
    d.EditField6->SetText("メーラ");
    d.PushButton2->Push();
  });
  ShowSMTPDlg();
  ASSERT_TRUE(seen->acted);
  EXPECT_TRUE(seen->modal) << "the main window waits for the dialog";
  std::vector<std::string> shownSlots(texts.begin(), texts.begin() + 6);
  shownSlots[2] = "\uFFFDR\uFFFDc";
  EXPECT_EQ(shown, shownSlots) << "field n shows slot n-1";

  std::vector<std::string> expected = texts;
  expected[0] = "new.host", expected[1] = "587", expected[3] = "secret", expected[5] = "メーラ";
  EXPECT_EQ(Slots(w()->pSMTP), expected) << "a field left alone keeps its bytes";
  EXPECT_EQ(w()->Socket1->Address(), "new.host") << "the client takes the settings at once";
  EXPECT_EQ(w()->Socket1->Port(), 587);
  EXPECT_EQ(w()->Socket1->Username, texts[2]);
  EXPECT_EQ(w()->Socket1->Password, "secret");
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, texts)) << "the dialog writes no file";
  ProcessEvents();
  EXPECT_FALSE(fw::HasImplicit<SMTPDlg>()) << "the dialog is closed after use";

  CloseMainWindow();
  EXPECT_EQ(folder().Read("Data/smtp"), SettingsBytes(20, expected));
}

TEST_F(SettingsTest, CancellingOrClosingTheDialogKeepsTheSettings) {
  folder().Write("Data/smtp", SettingsBytes(5, {"host", "25", "acct", "pw", "a@b.jp", "M"}));
  Start();
  const auto before = w()->pSMTP;
  auto seen = WhenShows<SMTPDlg>([](SMTPDlg& d) {
    d.EditField1->SetText("changed");
    d.PushButton1->Push();
  });
  ShowSMTPDlg();
  ASSERT_TRUE(seen->acted);
  EXPECT_EQ(w()->pSMTP, before) << "キャンセル";

  seen = WhenShows<SMTPDlg>([](SMTPDlg& d) {
    d.EditField1->SetText("changed");
    d.Widget()->close();
  });
  ShowSMTPDlg();
  ASSERT_TRUE(seen->acted);
  EXPECT_EQ(w()->pSMTP, before) << "the close box counts as キャンセル";
  ProcessEvents();
  EXPECT_FALSE(fw::HasImplicit<SMTPDlg>()) << "no fresh dialog is left behind";
}
