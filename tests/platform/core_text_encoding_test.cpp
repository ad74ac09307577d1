// Text conversion to ISO-2022-JP and back, what happens to characters and bytes that cannot be
// converted, line-ending replacement and Base64.
#include <gtest/gtest.h>

#include "platform/core/TextEncoding.h"

using namespace fw;

namespace {

std::string Convert(TextEncoding from, TextEncoding to, std::string_view text) {
  auto converter = GetTextConverter(from, to);
  if (!converter) {
    ADD_FAILURE() << "no converter";
    return {};
  }
  return converter->convert(text);
}

TextEncoding Jis() { return GetTextEncoding(0x820, 0, 0).value(); }

// A converter that marks what it could not convert with a JIS geta mark (〓, 0x222E).
class GetaConverter : public TextConverter {
 public:
  GetaConverter() : TextConverter(TextEncoding::UTF8, TextEncoding::ISO2022JP) {}
  mutable std::vector<std::string> seen;

 protected:
  std::string Unconvertible(std::string_view sourceChar) const override {
    seen.emplace_back(sourceChar);
    return "\x1b$B\".\x1b(B";
  }
};

}  // namespace

TEST(CoreTextEncoding, EncodingCodeNamesIsoJapanese) {
  ASSERT_TRUE(GetTextEncoding(0x820, 0, 0).has_value());
  EXPECT_EQ(*GetTextEncoding(0x820, 0, 0), TextEncoding::ISO2022JP);
  EXPECT_FALSE(GetTextEncoding(0x820, 1, 0).has_value());
  EXPECT_FALSE(GetTextEncoding(0x12345, 0, 0).has_value());
  EXPECT_NE(GetTextConverter(Encodings::UTF8, Jis()), nullptr);
  EXPECT_NE(GetTextConverter(Encodings::MacJapanese, Jis()), nullptr);
}

TEST(CoreTextEncoding, PlainJapaneseBecomesIsoJapaneseAndBack) {
  struct Case {
    std::string utf8, jis;
  } cases[] = {
      {"日本語", "\x1b$BF|K\\8l\x1b(B"},
      {"件名: テストです。 Hello", "\x1b$B7oL>\x1b(B: \x1b$B%F%9%H$G$9!#\x1b(B Hello"},
      // Every line ends in ASCII, as mail needs.
      {"あ\r\nい\n漢字abc", "\x1b$B$\"\x1b(B\r\n\x1b$B$$\x1b(B\n\x1b$B4A;z\x1b(Babc"},
      {"plain ASCII text\r\n", "plain ASCII text\r\n"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string jis = Convert(Encodings::UTF8, Jis(), c.utf8);
    EXPECT_EQ(jis, c.jis) << c.utf8;
    EXPECT_EQ(Convert(Jis(), Encodings::UTF8, jis), c.utf8);
  }
}

TEST(CoreTextEncoding, LongTextIsConvertedWhole) {
  // Longer than any one buffer of the conversion.
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += (i % 50 == 49) ? "\r\n" : "あa";
  std::string jis = Convert(Encodings::UTF8, Jis(), utf8);
  EXPECT_GT(jis.size(), utf8.size() / 2);
  EXPECT_EQ(Convert(Jis(), Encodings::UTF8, jis), utf8);
}

TEST(CoreTextEncoding, UnconvertibleCharacterIsReplacedAndTheRestKept) {
  // An emoji has no place in ISO-2022-JP: it becomes "?" read in ASCII, and what follows stays.
  std::string jis = Convert(Encodings::UTF8, Jis(), "あ😀い end");
  EXPECT_EQ(jis, "\x1b$B$\"\x1b(B?\x1b$B$$\x1b(B end");
  EXPECT_EQ(Convert(Jis(), Encodings::UTF8, jis), "あ?い end");

  GetaConverter geta;
  EXPECT_EQ(geta.convert("a😀b～c"), "a\x1b$B\".\x1b(Bb\x1b$B\".\x1b(Bc");
  EXPECT_EQ(geta.seen, (std::vector<std::string>{"😀", "～"}));
}

TEST(CoreTextEncoding, BrokenUtf8SkipsOnlyTheBrokenBytes) {
  // A cut-off sequence is one bad character; the ASCII after it survives.
  EXPECT_EQ(Convert(Encodings::UTF8, Jis(), "\xE3\x81" "A"), "?A");
  EXPECT_EQ(Convert(Encodings::UTF8, Jis(), "x\xFFy"), "x?y");
  EXPECT_EQ(Convert(Encodings::UTF8, Jis(), "あ\xE3\x81"), "\x1b$B$\"\x1b(B?");
}

TEST(CoreTextEncoding, ShiftJisConvertsAndBadBytesKeepWhatFollows) {
  EXPECT_EQ(Convert(Encodings::MacJapanese, Jis(), "\x93\xFA\x96\x7B\x8C\xEA"), "\x1b$BF|K\\8l\x1b(B");
  EXPECT_EQ(Convert(Encodings::ShiftJIS, Encodings::UTF8, "\x83\x5C\x95\x5C"), "ソ表");
  // A lead byte whose next byte cannot follow it: only the lead byte is bad.
  EXPECT_EQ(Convert(Encodings::ShiftJIS, Encodings::UTF8, "\x81\nA"), "?\nA");
  EXPECT_EQ(Convert(Encodings::ShiftJIS, Encodings::UTF8, "a\xE9"), "a?");
}

TEST(CoreTextEncoding, ValidUtf8Detection) {
  EXPECT_TRUE(IsValidUTF8(""));
  EXPECT_TRUE(IsValidUTF8("日本語 abc"));
  EXPECT_FALSE(IsValidUTF8("\x93\xFA\x96\x7B"));
  EXPECT_FALSE(IsValidUTF8("\xE3\x81"));
}

TEST(CoreTextEncoding, ReplaceLineEndingsTurnsEachEndIntoOne) {
  const std::string mixed = "a\rb\nc\r\nd\r\r\ne\n\rf";
  EXPECT_EQ(ReplaceLineEndings(mixed, EndOfLine::Windows), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf");
  EXPECT_EQ(ReplaceLineEndings(mixed, EndOfLine::Unix), "a\nb\nc\nd\n\ne\n\nf");
  EXPECT_EQ(ReplaceLineEndings(mixed, EndOfLine::Macintosh), "a\rb\rc\rd\r\re\r\rf");
  EXPECT_EQ(ReplaceLineEndings("", EndOfLine::Windows), "");
  EXPECT_EQ(ReplaceLineEndings("\r", EndOfLine::Windows), "\r\n");
  // Escape sequences of converted text pass through untouched.
  std::string jis = "\x1b$B$\"\x1b(B\n\x1b$B$$\x1b(B";
  EXPECT_EQ(ReplaceLineEndings(jis, EndOfLine::Windows), "\x1b$B$\"\x1b(B\r\n\x1b$B$$\x1b(B");
  EXPECT_EQ(EndOfLineText(EndOfLine::Windows), "\r\n");
  EXPECT_EQ(EndOfLineText(), "\n");
}

TEST(CoreTextEncoding, Base64StandardAlphabetAndPadding) {
  EXPECT_EQ(EncodeBase64("", 0), "");
  EXPECT_EQ(EncodeBase64("a", 0), "YQ==");
  EXPECT_EQ(EncodeBase64("ab", 0), "YWI=");
  EXPECT_EQ(EncodeBase64("abc", 0), "YWJj");
  EXPECT_EQ(EncodeBase64("\xFB\xFF", 0), "+/8=");
  std::string jis = "\x1b$B7oL>\x1b(B";
  EXPECT_EQ(EncodeBase64(jis, 0), "GyRCN29MPhsoQg==");

  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  for (int i = 0; i < 4; ++i) all += all;
  std::string one = EncodeBase64(all, 0);
  EXPECT_EQ(one.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(DecodeBase64(one), all);

  std::string lines = EncodeBase64(all, 76);
  EXPECT_EQ(lines.substr(76, 2), "\r\n");
  EXPECT_EQ(lines.substr(0, 76), one.substr(0, 76));
  EXPECT_EQ(DecodeBase64(lines), all);
  EXPECT_EQ(DecodeBase64("YW\r\nJj"), "abc");
}
