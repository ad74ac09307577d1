// FolderItem, TextInputStream and BinaryStream: missing things give nullptr or not-exists,
// reading past the end is harmless, line ends and encodings of text files, the settings-like
// binary layout, and files created whole with owner-only permissions.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "platform/core/BinaryStream.h"
#include "platform/core/FolderItem.h"
#include "platform/core/TextInputStream.h"

using namespace fw;

namespace {

class CoreFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path().toStdString();
    fw::testing::SetApplicationFolder(root_);
  }
  void TearDown() override { fw::testing::SetApplicationFolder(""); }

  std::string PathOf(const std::string& name) const { return root_ + "/" + name; }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out << bytes;
  }

  std::string ReadFile(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<std::string> AllLines(const std::string& bytes) const {
    TextInputStream in(bytes);
    std::vector<std::string> lines;
    for (int guard = 0; !in.IsEOF() && guard < 100; ++guard) lines.push_back(in.ReadLine());
    return lines;
  }

  QTemporaryDir dir_;
  std::string root_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(CoreFiles, ApplicationFolderFollowsTheTestHook) {
  FolderItemRef app = GetFolderItem("");
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->NativePath(), root_);
  EXPECT_TRUE(app->Exists());
  EXPECT_TRUE(app->Directory());

  fw::testing::SetApplicationFolder("");
  FolderItemRef real = GetFolderItem("");
  ASSERT_NE(real, nullptr);
  EXPECT_NE(real->NativePath(), root_);
  EXPECT_TRUE(real->Directory());
}

TEST_F(CoreFiles, MissingFolderAndFileNeverCrash) {
  FolderItemRef data = GetFolderItem("")->Child("Data");
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->Exists());
  EXPECT_FALSE(data->Directory());
  EXPECT_EQ(data->Count(), 0);
  EXPECT_EQ(data->Item(1), nullptr);
  // A child of a folder that does not exist cannot be named.
  EXPECT_EQ(data->Child("smtp"), nullptr);

  FolderItem missing(PathOf("nothing.txt"));
  EXPECT_FALSE(missing.Exists());
  EXPECT_EQ(missing.OpenAsTextFile(), nullptr);
  EXPECT_EQ(missing.OpenAsBinaryFile(false), nullptr);
  // Creating inside a folder that does not exist fails cleanly and creates nothing.
  auto out = FolderItem(PathOf("Data/smtp")).CreateBinaryFile("prefFile");
  out->WriteLong(20);
  EXPECT_FALSE(out->Close());
  EXPECT_EQ(out->ErrorText(), std::strerror(ENOENT));
  EXPECT_FALSE(QDir(QString::fromStdString(PathOf("Data"))).exists());

  // Opening a folder as a file gives nothing either.
  EXPECT_EQ(GetFolderItem("")->OpenAsTextFile(), nullptr);
  EXPECT_EQ(GetFolderItem("")->OpenAsBinaryFile(false), nullptr);
}

TEST_F(CoreFiles, ChildRejectsNamesThatAreNotOneItem) {
  FolderItemRef app = GetFolderItem("");
  EXPECT_EQ(app->Child(""), nullptr);
  EXPECT_EQ(app->Child("a/b"), nullptr);
  EXPECT_EQ(app->Child(".."), nullptr);
  EXPECT_EQ(app->Child("."), nullptr);
  WriteFile("file.txt", "x");
  // A file has no children.
  EXPECT_EQ(app->Child("file.txt")->Child("x"), nullptr);
  EXPECT_EQ(app->Child("file.txt")->Count(), 0);
}

TEST_F(CoreFiles, CountAndItemListFromOneInNameOrder) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Data"));
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Data/セット2"));
  WriteFile("Data/smtp", "");
  WriteFile("Data/.hidden", "");
  WriteFile("Data/B", "");
  FolderItemRef data = GetFolderItem("")->Child("Data");
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->Count(), 4);
  std::vector<std::string> names;
  for (int i = 1; i <= data->Count(); ++i) {
    FolderItemRef item = data->Item(i);
    ASSERT_NE(item, nullptr) << i;
    EXPECT_TRUE(item->Exists());
    names.push_back(item->Name());
  }
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "B", "smtp", "セット2"}));
  EXPECT_EQ(data->Item(0), nullptr);
  EXPECT_EQ(data->Item(5), nullptr);
  EXPECT_FALSE(data->Item(1)->Visible());
  EXPECT_TRUE(data->Item(2)->Visible());
  EXPECT_TRUE(data->Item(4)->Directory());
  EXPECT_FALSE(data->Item(3)->Directory());
  EXPECT_EQ(data->Child("セット2")->NativePath(), data->Item(4)->NativePath());

  // The same item lists the folder again once it has changed.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Data/A"));
  ASSERT_TRUE(QFile::remove(QString::fromStdString(PathOf("Data/B"))));
  ASSERT_EQ(data->Count(), 4);
  EXPECT_EQ(data->Item(2)->Name(), "A");
  EXPECT_TRUE(data->Item(2)->Directory());
}

// Unzipping an archive made on Windows leaves its folder names in Shift_JIS.
TEST_F(CoreFiles, AFolderNamedInShiftJisIsListedDecodedAndReachedByItsNativeName) {
  ASSERT_EQ(mkdir(PathOf("Data").c_str(), 0700), 0);
  ASSERT_EQ(mkdir(PathOf("Data/\x8C\xDA\x8B\x71").c_str(), 0700), 0);  // 顧客
  WriteFile("Data/\x8C\xDA\x8B\x71/NameList.txt", "a@x.jp\n");
  FolderItemRef data = GetFolderItem("")->Child("Data");
  ASSERT_EQ(data->Count(), 1);
  EXPECT_TRUE(data->Item(1)->Visible() && data->Item(1)->Directory());
  EXPECT_EQ(data->Item(1)->Name(), "顧客");
  FolderItemRef list = data->Child(data->Item(1)->NativeName())->Child("NameList.txt");
  auto in = list ? list->OpenAsTextFile() : nullptr;
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->ReadLine(), "a@x.jp");
}

TEST_F(CoreFiles, TextStreamPastTheEndGivesEmptyTextAndEOF) {
  WriteFile("empty.txt", "");
  auto empty = FolderItem(PathOf("empty.txt")).OpenAsTextFile();
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(empty->IsEOF());
  EXPECT_EQ(empty->ReadLine(), "");
  EXPECT_TRUE(empty->IsEOF());

  WriteFile("two.txt", "one\ntwo");
  auto in = FolderItem(PathOf("two.txt")).OpenAsTextFile();
  ASSERT_NE(in, nullptr);
  EXPECT_FALSE(in->IsEOF());
  EXPECT_EQ(in->ReadLine(), "one");
  EXPECT_FALSE(in->IsEOF());
  EXPECT_EQ(in->ReadLine(), "two");
  EXPECT_TRUE(in->IsEOF());
  EXPECT_EQ(in->ReadLine(), "");
  EXPECT_EQ(in->ReadLine(), "");
  EXPECT_TRUE(in->IsEOF());
  in->Close();
}

TEST_F(CoreFiles, LinesEndAtCrLfLfOrCr) {
  EXPECT_EQ(AllLines("a\r\nb\r\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(AllLines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(AllLines("a\rb\rc\r"), (Lines{"a", "b", "c"}));
  // Mixed, with empty lines between: CR CR LF is two line ends, LF CR two as well.
  EXPECT_EQ(AllLines("a\r\r\nb\n\rc\n\nd"), (Lines{"a", "", "b", "", "c", "", "d"}));
  EXPECT_EQ(AllLines("\n"), (Lines{""}));
  EXPECT_EQ(AllLines("\r\n\r\n"), (Lines{"", ""}));
  // A CR LF split by nothing else stays one line end even at the very end.
  EXPECT_EQ(AllLines("x\r\n"), (Lines{"x"}));
  EXPECT_EQ(AllLines("x\r"), (Lines{"x"}));
}

TEST_F(CoreFiles, ByteOrderMarkIsDropped) {
  EXPECT_EQ(AllLines("\xEF\xBB\xBF件名\r\n本文"), (Lines{"件名", "本文"}));
  EXPECT_EQ(AllLines("\xEF\xBB\xBF"), Lines{});
  // Only a mark at the very start is one.
  EXPECT_EQ(AllLines("a\xEF\xBB\xBF"), (Lines{"a\xEF\xBB\xBF"}));
}

// A spreadsheet's "Unicode text": UTF-16 with a byte-order mark, TAB-separated, CR LF.
TEST_F(CoreFiles, Utf16WithAByteOrderMarkIsReadAsUtf16) {
  std::string little, big;
  for (char16_t c : std::u16string_view(u"\uFEFFa@x.jp\t山田 太郎\r\nb@x.jp\t鈴木 花子\r\n")) {
    little += {char(c & 0xFF), char(c >> 8)};
    big += {char(c >> 8), char(c & 0xFF)};
  }
  for (const std::string& bytes : {little, big})
    EXPECT_EQ(AllLines(bytes), (Lines{"a@x.jp\t山田 太郎", "b@x.jp\t鈴木 花子"})) << (bytes == big ? "big" : "little");
}

TEST_F(CoreFiles, ShiftJisFileIsReadAsJapaneseUtf8) {
  // 日本語 / テスト / ソ表 (trail byte 0x5C) / ① and ～ (CP932 only) / half-width ｱ.
  WriteFile("sjis.txt",
            "\x93\xFA\x96\x7B\x8C\xEA\r\n"
            "\x83\x65\x83\x58\x83\x67\r\n"
            "\x83\x5C\x95\x5C\r\n"
            "\x87\x40\x81\x60\r\n"
            "\xB1" "abc");
  auto in = GetFolderItem("")->Child("sjis.txt")->OpenAsTextFile();
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->ReadLine(), "日本語");
  EXPECT_EQ(in->ReadLine(), "テスト");
  EXPECT_EQ(in->ReadLine(), "ソ表");
  EXPECT_EQ(in->ReadLine(), "①～");
  EXPECT_EQ(in->ReadLine(), "ｱabc");
  EXPECT_TRUE(in->IsEOF());
}

TEST_F(CoreFiles, AShiftJisLineInAUtf8FileSpoilsNothingElse) {
  // "山田" in Shift_JIS among UTF-8 lines: each line reads as itself.
  EXPECT_EQ(AllLines("a@x\t鈴木\nb@x\t\x8E\x52\x93\x63\r\nc@x\t佐藤\n"), (Lines{"a@x\t鈴木", "b@x\t山田", "c@x\t佐藤"}));
  // Mostly Shift_JIS: every line is, also one that happens to be valid UTF-8 (not "花").
  EXPECT_EQ(AllLines("\x8E\x52\x93\x63\n\xE8\x8A\xB1\n\x97\x6C\n"), (Lines{"山田", "闃ｱ", "様"}));
}

// A FIFO would hang the window and a link to a device would fill the memory; a FIFO is never
// replaced by a file either.
TEST_F(CoreFiles, OnlyRegularFilesOfASaneSizeOpen) {
  WriteFile("big.txt", "");
  ASSERT_EQ(truncate(PathOf("big.txt").c_str(), (off_t{64} << 20) + 1), 0);  // sparse
  ASSERT_EQ(FolderItem(PathOf("big.txt")).OpenAsTextFile(), nullptr);
  ASSERT_EQ(mkfifo(PathOf("fifo.txt").c_str(), 0600), 0);
  EXPECT_EQ(FolderItem(PathOf("fifo.txt")).OpenAsTextFile(), nullptr);
  EXPECT_EQ(FolderItem(PathOf("fifo.txt")).OpenAsBinaryFile(false), nullptr);
  auto out = FolderItem(PathOf("fifo.txt")).CreateBinaryFile("prefFile");
  EXPECT_FALSE(out->Close());
  struct stat st {};
  ASSERT_EQ(lstat(PathOf("fifo.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ASSERT_EQ(symlink("/dev/zero", PathOf("zero.txt").c_str()), 0);
  EXPECT_EQ(FolderItem(PathOf("zero.txt")).OpenAsTextFile(), nullptr);
  ASSERT_TRUE(QDir(QString::fromStdString(root_)).mkdir("folder.txt"));
  EXPECT_EQ(FolderItem(PathOf("folder.txt")).OpenAsTextFile(), nullptr);
  ASSERT_EQ(symlink(PathOf("empty.txt").c_str(), PathOf("link.txt").c_str()), 0);
  WriteFile("empty.txt", "");
  EXPECT_NE(FolderItem(PathOf("link.txt")).OpenAsTextFile(), nullptr) << "a link to a regular file is read";
}

TEST_F(CoreFiles, BytesThatAreNeitherUtf8NorShiftJisKeepTheLineEnds) {
  // A lead byte followed by a line end is no double-byte character: the line end must stay.
  Lines lines = AllLines("caf\xE9\nnext\r\n\x81\r\nlast");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "next");
  EXPECT_EQ(lines[3], "last");
  EXPECT_EQ(lines[0].substr(0, 3), "caf");
}

TEST_F(CoreFiles, SettingsLikeBinaryRoundTrip) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Data"));
  FolderItemRef file = GetFolderItem("")->Child("Data")->Child("smtp");
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->Exists());

  std::vector<std::string> fields(21);
  fields[0] = "smtp.example.jp";
  fields[1] = "587";
  fields[3] = "パスワード";
  fields[5] = std::string(300, 'x');  // longer than a length byte can say
  fields[20] = "last";
  auto out = file->CreateBinaryFile("prefFile");
  ASSERT_NE(out, nullptr);
  out->WriteLong(20);
  for (auto& s : fields) out->WritePString(s);
  ASSERT_TRUE(out->Close());
  EXPECT_TRUE(file->Exists());

  std::string bytes = ReadFile("Data/smtp");
  size_t expected = 25;
  for (auto& s : fields) expected += std::min<size_t>(s.size(), 255);
  ASSERT_EQ(bytes.size(), expected);
  EXPECT_EQ(bytes.substr(0, 5), std::string("\0\0\0\x14\x0F", 5));  // big-endian 20, then length 15

  auto in = file->OpenAsBinaryFile(false);
  ASSERT_NE(in, nullptr);
  EXPECT_FALSE(in->IsEOF());
  EXPECT_EQ(in->ReadLong(), 20);
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string want = fields[i].substr(0, 255);
    EXPECT_EQ(in->ReadPString(), want) << "slot " << i;
  }
  EXPECT_TRUE(in->IsEOF());
  // Past the end: empty texts and 0, still at the end.
  EXPECT_EQ(in->ReadPString(), "");
  EXPECT_EQ(in->ReadLong(), 0);
  EXPECT_TRUE(in->IsEOF());
  EXPECT_TRUE(in->Close());
}

TEST_F(CoreFiles, BinaryIntegersAreBigEndianAndSigned) {
  auto out = BinaryStream::Create(PathOf("longs"));
  ASSERT_NE(out, nullptr);
  for (int32_t v : {0, 1, -1, -2, 0x01020304, INT32_MIN, INT32_MAX}) out->WriteLong(v);
  ASSERT_TRUE(out->Close());
  std::string bytes = ReadFile("longs");
  ASSERT_EQ(bytes.size(), 28u);
  EXPECT_EQ(bytes.substr(12, 4), std::string("\xFF\xFF\xFF\xFE", 4));
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x01\x02\x03\x04", 4));
  auto in = BinaryStream::Open(PathOf("longs"), false);
  ASSERT_NE(in, nullptr);
  for (int32_t v : {0, 1, -1, -2, 0x01020304, INT32_MIN, INT32_MAX}) EXPECT_EQ(in->ReadLong(), v);
}

TEST_F(CoreFiles, ShortBinaryFileGivesWhatIsThere) {
  WriteFile("short", std::string("\x00\x00", 2));
  auto in = BinaryStream::Open(PathOf("short"), false);
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->ReadLong(), 0);
  EXPECT_TRUE(in->IsEOF());

  WriteFile("cut", std::string("\x0A" "abc", 4));  // promises 10 bytes, holds 3
  in = BinaryStream::Open(PathOf("cut"), false);
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->ReadPString(), "abc");
  EXPECT_TRUE(in->IsEOF());
  EXPECT_EQ(in->ReadPString(), "");

  WriteFile("empty", "");
  in = BinaryStream::Open(PathOf("empty"), false);
  ASSERT_NE(in, nullptr);
  EXPECT_TRUE(in->IsEOF());
  EXPECT_EQ(in->ReadLong(), 0);
}

TEST_F(CoreFiles, CreatedFileReplacesTheOldOneReadableByItsOwnerOnly) {
  auto out = BinaryStream::Create(PathOf("new"));
  ASSERT_NE(out, nullptr);
  out->WritePString("secret");
  ASSERT_TRUE(out->Close());
  struct stat st {};
  ASSERT_EQ(stat(PathOf("new").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  // Replacing a file that others could read also leaves it owner-only.
  WriteFile("old", "old contents that are longer");
  ASSERT_EQ(chmod(PathOf("old").c_str(), 0644), 0);
  out = BinaryStream::Create(PathOf("old"));
  ASSERT_NE(out, nullptr);
  out->WritePString("n");
  ASSERT_TRUE(out->Close());
  ASSERT_EQ(stat(PathOf("old").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFile("old"), std::string("\x01n", 2));

  // Through a link the file it names is replaced, and the link stays.
  ASSERT_EQ(symlink(PathOf("old").c_str(), PathOf("link").c_str()), 0);
  out = BinaryStream::Create(PathOf("link"));
  out->WritePString("l");
  ASSERT_TRUE(out->Close());
  EXPECT_EQ(ReadFile("old"), std::string("\x01l", 2));
  ASSERT_EQ(lstat(PathOf("link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A full disk, here a file-size limit in a child process: the first write is cut short, the
// next one refused, and the limit's signal ends nothing. The old file keeps every byte and the
// system's reason is given.
TEST_F(CoreFiles, AFailedWriteLeavesTheOldFileByteForByte) {
  const std::string old = std::string("\0\0\0\x14", 4) + std::string(54, 'o');
  WriteFile("smtp", old);
  EXPECT_EXIT(
      {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        rlimit small = limit;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
        auto out = FolderItem(PathOf("smtp")).CreateBinaryFile("prefFile");
        out->WriteLong(20);
        out->WritePString(std::string(53, 'n'));
        const bool closed = out->Close();
        setrlimit(RLIMIT_FSIZE, &limit);
        std::cerr << (closed ? "closed" : out->ErrorText());
        std::_Exit(closed ? 0 : 1);
      },
      ::testing::ExitedWithCode(1), std::strerror(EFBIG));
  EXPECT_EQ(ReadFile("smtp"), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";
}

TEST_F(CoreFiles, CreatedFileDroppedWithoutCloseLeavesTheOldOne) {
  WriteFile("smtp", "old");
  {
    auto out = FolderItem(PathOf("smtp")).CreateBinaryFile("prefFile");
    ASSERT_NE(out, nullptr);
    out->WriteLong(20);
    out->WritePString("half written");
  }
  EXPECT_EQ(ReadFile("smtp"), "old");
  {
    auto out = BinaryStream::Create(PathOf("fresh"));
    ASSERT_NE(out, nullptr);
    out->WriteLong(1);
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("fresh"))));
  // No temporary file is left behind.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(CoreFiles, WritingToAReadOnlyStreamFails) {
  WriteFile("ro", "abcd");
  auto in = BinaryStream::Open(PathOf("ro"), false);
  ASSERT_NE(in, nullptr);
  in->WriteLong(5);
  EXPECT_FALSE(in->Close());
  EXPECT_EQ(ReadFile("ro"), "abcd");
}
