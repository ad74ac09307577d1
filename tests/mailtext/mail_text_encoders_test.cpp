// ISO-2022-JP text and the encoded-word subject, checked by decoding the bytes again.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "mailtext/MailTextEncoders.h"
#include "tests/mailtext/EscapeChecks.h"

int g_iconvOpened = 0;

// Counts the iconv handles that the code under test opens.
extern "C" iconv_t iconv_open(const char* to, const char* from) noexcept {
  static const auto real = reinterpret_cast<iconv_t (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "iconv_open"));
  ++g_iconvOpened;
  return real(to, from);
}

namespace {

std::string Decode(const std::string& jis) {
  auto c = fw::GetTextConverter(*fw::GetTextEncoding(0x820, 0, 0), fw::TextEncoding::UTF8);
  return c->convert(jis);
}

TEST(MailTextEncoders, EncodedWordHasItsFixedFrameForEverySubject) {
  EXPECT_EQ(EncodeMIME(""), "=?ISO-2022-JP?B?" "?= ");
  EXPECT_EQ(EncodeMIME("").size(), 19u);
  EXPECT_EQ(EncodeMIME("abc"), "=?ISO-2022-JP?B?YWJj?= ");

  std::string subject;
  for (int i = 0; i < 20; ++i) subject += "冬季休業のお知らせ";
  std::string word = EncodeMIME(subject);
  EXPECT_GT(word.size(), 75u);
  EXPECT_EQ(word.find_first_of("\r\n"), std::string::npos) << "one line, never folded";
  std::string payload = word.substr(16, word.size() - 16 - 3);
  EXPECT_EQ(Decode(fw::DecodeBase64(payload)), subject);

  // Too long for one header line: several words of at most 75 characters, each readable alone.
  for (int i = 0; i < 40; ++i) subject += "冬季休業のお知らせ";
  const std::string words = EncodeMIME(subject);
  std::string decoded;
  for (const std::string& w : fw::Split(words.substr(0, words.size() - 1), " ")) {
    EXPECT_LE(w.size(), 75u);
    decoded += Decode(fw::DecodeBase64(w.substr(16, w.size() - 18)));
  }
  EXPECT_EQ(decoded, subject);
}

TEST(MailTextEncoders, LongLinesAreBrokenBetweenCharactersAndEachPieceEndsInASCII) {
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "いつもご利用いただき、ありがとうございます。¥100 ";
  const std::string text = "様\r\n\r\n" + paragraph + "\r\n" + std::string(1500, 'a');
  const std::string broken = BreakLongLines(UTF8toJIS(text));
  EXPECT_TRUE(broken.starts_with(UTF8toJIS("様\r\n\r\n"))) << "lines that fit stay as they are";
  std::string joined;
  for (const std::string& line : fw::Split(broken, "\r\n")) {
    EXPECT_LE(line.size(), kMaxMailLine);
    const size_t lastSwitch = line.rfind('\x1B');
    EXPECT_TRUE(lastSwitch == std::string::npos || line.substr(lastSwitch, 3) == "\x1B(B") << "back in ASCII";
    joined += Decode(line);  // each line read on its own
  }
  EXPECT_EQ(joined, fw::ReplaceAll(text, "\r\n", ""));
}

TEST(MailTextEncoders, AsciiPassesThroughAndJapaneseRoundTrips) {
  const std::string ascii = "Hello, world.\r\n.line\r\n~ \\ ^\r\n";
  EXPECT_EQ(UTF8toJIS(ascii), ascii);

  const std::string japanese = "山田 太郎 様\r\n\r\nいつもお世話になっております。ＡＢＣ１２３";
  std::string jis = UTF8toJIS(japanese);
  EXPECT_NE(jis.find("\x1B$B"), std::string::npos);
  for (unsigned char c : jis) EXPECT_LT(c, 0x80) << "7-bit text only";
  EXPECT_EQ(Decode(jis), japanese);
}

TEST(MailTextEncoders, CharactersOutsideJISAreMappedNeverDropped) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"～", "〜"},         // full-width tilde -> wave dash
      {"－", "−"},         // full-width hyphen-minus -> minus sign
      {"∥", "‖"},          // parallel -> double vertical line
      {"￢", "¬"},         // full-width not sign
      {"￠￡", "¢£"},       // full-width cent and pound
      {"ｶﾞｷﾞｸﾞｹﾞｺﾞ", "ガギグゲゴ"},  // half-width katakana, sound marks composed
      {"ﾊﾟｰﾄ", "パート"},
      {"①", "(1)"},        // a vendor sign with a transliteration
      {"㈱", "(株)"},
      {"㍻漢", "平成漢"},    // in the user's locale; the C locale has none for ㍻
      {"―—", "――"},       // horizontal bar, and the em dash JIS lacks
      {"ﾞﾟｱﾞ", "゛゜ア゛"},  // sound marks that cannot combine
      {"\t\x1B$B\x0E\a\x7F", "\t$B"},  // control characters other than TAB go, DEL too
      {"😀", "〓"},         // nothing in JIS: the geta mark
      {"髙", "〓"},
  };
  for (const Case& c : cases) {
    std::string text = std::string("前") + c.in + "後";
    const std::string jis = UTF8toJIS(text);
    EXPECT_EQ(Decode(jis), std::string("前") + c.out + "後") << c.in;
    EXPECT_EQ(EscapeAfterEscape(jis), std::string::npos) << c.in << ": an escape straight after another";
  }
  EXPECT_EQ(UTF8toJIS(std::string("a\0b", 3)), "ab");
}

TEST(MailTextEncoders, HeaderValuesHoldNoControlCharacters) {
  EXPECT_EQ(HeaderValue("X-Mailer", "Mailer\a 1.0\x7F\tbeta\r\n2"), "Mailer 1.0 beta 2");
  EXPECT_EQ(AddressHeaderValue("From", {"\x1BTaro\x7F", "t@example.jp"}), "Taro <t@example.jp>");
}

TEST(MailTextEncoders, ManyUnconvertibleCharactersKeepTheWholeMessage) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "あ😀";
  g_iconvOpened = 0;
  const std::string jis = UTF8toJIS(text);
  EXPECT_LE(g_iconvOpened, 2) << "one handle for the text and one for transliteration, not one per character";
  std::string decoded = Decode(jis);
  std::string expected;
  for (int i = 0; i < 1000; ++i) expected += "あ〓";
  EXPECT_EQ(decoded, expected);
}

TEST(MailTextEncoders, MacJapaneseSourceConverts) {
  auto toSjis = fw::GetTextConverter(fw::TextEncoding::UTF8, fw::TextEncoding::ShiftJIS);
  std::string sjis = toSjis->convert("鈴木 花子");
  EXPECT_EQ(Decode(SJIStoJIS(sjis)), "鈴木 花子");
}

}  // namespace
