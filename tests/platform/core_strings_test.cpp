// The 1-based string functions: edges of positions and fields, UTF-8 Japanese text counted in
// characters, ASCII letter case ignored by searches.
#include <gtest/gtest.h>

#include "platform/core/Strings.h"

using namespace fw;

namespace {
const std::string kJapanese = "日本語のテキスト";  // 8 characters, 24 bytes
}

TEST(CoreStrings, InStrGivesOneBasedPositionOrZero) {
  EXPECT_EQ(InStr("abcabc", "c"), 3);
  EXPECT_EQ(InStr("abcabc", "x"), 0);
  EXPECT_EQ(InStr("abc", ""), 0);
  EXPECT_EQ(InStr("", "a"), 0);
  EXPECT_EQ(InStr("abc", "abcd"), 0);
  // A start position finds the next occurrence at or after it.
  EXPECT_EQ(InStr(3, "abcabc", "c"), 3);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
  EXPECT_EQ(InStr(7, "abcabc", "c"), 0);
  EXPECT_EQ(InStr(100, "abcabc", "a"), 0);
  EXPECT_EQ(InStr(0, "abcabc", "a"), 1);
}

TEST(CoreStrings, InStrIgnoresAsciiCaseAndCountsCharacters) {
  EXPECT_EQ(InStr("Content-Type: text", "content-type"), 1);
  EXPECT_EQ(InStr("abc", "B"), 2);
  // Positions count characters, not bytes, before the match.
  EXPECT_EQ(InStr(kJapanese + "<Mail>", "<mail>"), 9);
  EXPECT_EQ(InStr(kJapanese, "テキスト"), 5);
  EXPECT_EQ(InStr(6, kJapanese + "の", "の"), 9);
  EXPECT_EQ(InStrB(kJapanese, "テキスト"), 13);
  // Case folding is ASCII only: full-width letters stay distinct.
  EXPECT_EQ(InStr("ＡＢＣ", "ａｂｃ"), 0);
}

TEST(CoreStrings, NthFieldAndCountFieldsAtTheEdges) {
  EXPECT_EQ(NthField("a,b,c", ",", 1), "a");
  EXPECT_EQ(NthField("a,b,c", ",", 3), "c");
  EXPECT_EQ(NthField("a,b,c", ",", 4), "");
  EXPECT_EQ(NthField("a,b,c", ",", 0), "");
  EXPECT_EQ(NthField("a,b,c", ",", -1), "");
  EXPECT_EQ(NthField("abc", ",", 1), "abc");
  EXPECT_EQ(NthField("abc", ",", 2), "");
  EXPECT_EQ(NthField("", ",", 1), "");
  EXPECT_EQ(NthField("a,,b", ",", 2), "");
  EXPECT_EQ(NthField("a,,b", ",", 3), "b");
  EXPECT_EQ(NthField("a,b,", ",", 3), "");

  EXPECT_EQ(CountFields("", ","), 0);
  EXPECT_EQ(CountFields("a", ","), 1);
  EXPECT_EQ(CountFields("a,b,c", ","), 3);
  EXPECT_EQ(CountFields("a,,b", ","), 3);
  EXPECT_EQ(CountFields(",", ","), 2);
  EXPECT_EQ(CountFields("a,b,", ","), 3);
}

TEST(CoreStrings, FieldsWithLongSeparatorsAndJapaneseText) {
  // The separator's letter case is ignored; fields keep theirs.
  EXPECT_EQ(NthField("oneANDtwoandThree", "and", 3), "Three");
  EXPECT_EQ(CountFields("oneANDtwoandThree", "AnD"), 3);
  // Overlapping candidates: fields are taken left to right.
  EXPECT_EQ(CountFields("aaa", "aa"), 2);
  EXPECT_EQ(NthField("aaa", "aa", 2), "a");
  // A recipient line: tick, name, address separated by tabs.
  std::string line = "山田太郎\tyamada@example.jp\t備考";
  EXPECT_EQ(CountFields(line, "\t"), 3);
  EXPECT_EQ(NthField(line, "\t", 1), "山田太郎");
  EXPECT_EQ(NthField(line, "\t", 2), "yamada@example.jp");
  EXPECT_EQ(NthField(line, "\t", 3), "備考");
  EXPECT_EQ(NthField("東京、大阪、名古屋", "、", 2), "大阪");
}

TEST(CoreStrings, SplitAndJoinRoundTrip) {
  EXPECT_EQ(Split("a,b,,c", ","), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Split("aXbxc", "x"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Join(Split("日本,語", ","), "|"), "日本|語");
}

TEST(CoreStrings, LenLeftRightMidCountCharactersOfJapaneseText) {
  EXPECT_EQ(Len(kJapanese), 8);
  EXPECT_EQ(LenB(kJapanese), 24);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Left(kJapanese, 3), "日本語");
  EXPECT_EQ(Left(kJapanese, 0), "");
  EXPECT_EQ(Left(kJapanese, -2), "");
  EXPECT_EQ(Left(kJapanese, 100), kJapanese);
  EXPECT_EQ(Right(kJapanese, 4), "テキスト");
  EXPECT_EQ(Right(kJapanese, 0), "");
  EXPECT_EQ(Right(kJapanese, 100), kJapanese);
  EXPECT_EQ(Mid(kJapanese, 4), "のテキスト");
  EXPECT_EQ(Mid(kJapanese, 4, 2), "のテ");
  EXPECT_EQ(Mid(kJapanese, 8, 5), "ト");
  EXPECT_EQ(Mid(kJapanese, 9), "");
  EXPECT_EQ(Mid(kJapanese, 20, 1), "");
  EXPECT_EQ(Mid(kJapanese, 1, 0), "");
  EXPECT_EQ(Mid("aあb", 2, 1), "あ");
  EXPECT_EQ(Mid("aあb", 3), "b");
}

TEST(CoreStrings, ByteFunctionsCountBytes) {
  EXPECT_EQ(LeftB("//comment", 2), "//");
  EXPECT_EQ(LeftB("日本", 3), "日");
  EXPECT_EQ(LeftB("ab", 5), "ab");
  EXPECT_EQ(MidB("abcdef", 3, 2), "cd");
  EXPECT_EQ(MidB("abcdef", 7), "");
  EXPECT_EQ(MidB("abcdef", 0, 2), "ab");
}

TEST(CoreStrings, StrayBytesCountAsOneCharacterEach) {
  EXPECT_EQ(Len("a\xFF" "b"), 3);
  EXPECT_EQ(Len("\xE6\x97"), 2);  // a cut-off sequence
  EXPECT_EQ(Len("\xE6\x97" "a"), 3);
  EXPECT_EQ(Mid("\xE6\x97" "a", 3), "a");
  EXPECT_EQ(Len("\x82\xA0"), 2);  // Shift_JIS bytes
}

TEST(CoreStrings, TrimRemovesSpacesAndTabsAtTheEnds) {
  EXPECT_EQ(Trim(" \t a b \t "), "a b");
  EXPECT_EQ(LTrim("  a "), "a ");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" 山田 <a@b.jp> "), "山田 <a@b.jp>");
}

TEST(CoreStrings, ReplaceIgnoresCaseAndNeverRescans) {
  EXPECT_EQ(ReplaceAll("Hello hello HELLO", "hello", "やあ"), "やあ やあ やあ");
  EXPECT_EQ(ReplaceAll("\r\n.\r\n", "\r\n.", "\r\n.."), "\r\n..\r\n");
  EXPECT_EQ(ReplaceAll("aa", "a", "aa"), "aaaa");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
  EXPECT_EQ(ReplaceAll("%NAME%様 %name%", "%Name%", "山田"), "山田様 山田");
}

TEST(CoreStrings, StrEqualsAndCaseMapping) {
  EXPECT_TRUE(StrEquals("X-Mailer", "x-mailer"));
  EXPECT_FALSE(StrEquals("X-Mailer", "X-Mailer "));
  EXPECT_TRUE(StrEquals("", ""));
  EXPECT_TRUE(StrEquals("日本A", "日本a"));
  EXPECT_EQ(Lowercase("ABCあ"), "abcあ");
}

TEST(CoreStrings, ChrGivesUtf8AtEveryLengthBoundary) {
  EXPECT_EQ(Chr(13) + Chr(10), "\r\n");
  EXPECT_EQ(Chr(0x7F), "\x7F");
  EXPECT_EQ(Chr(0x80), "\xC2\x80");
  EXPECT_EQ(Chr(0x7FF), "\xDF\xBF");
  EXPECT_EQ(Chr(0x800), "\xE0\xA0\x80");
  EXPECT_EQ(Chr(0x3042), "あ");
  EXPECT_EQ(Chr(0x10000), "\xF0\x90\x80\x80");
  EXPECT_EQ(Chr(0x1F600), "\xF0\x9F\x98\x80");
}

TEST(CoreStrings, ValTakesTheLeadingNumberOnly) {
  EXPECT_EQ(Val("25"), 25);
  EXPECT_EQ(Val(" 587"), 587);
  EXPECT_EQ(Val("\t465 "), 465);
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_EQ(Val("-3.5"), -3.5);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1e3"), 1000);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("ポート"), 0);
  EXPECT_EQ(Val("0x1A"), 0);
  EXPECT_EQ(Val("inf"), 0);
  EXPECT_EQ(Val("nan"), 0);
  EXPECT_EQ(Val("-"), 0);
}

TEST(CoreStrings, StrAndFormatWriteNumbers) {
  EXPECT_EQ(Str(42), "42");
  EXPECT_EQ(Str(-7), "-7");
  EXPECT_EQ(Str(int64_t(1) << 40), "1099511627776");
  EXPECT_EQ(Str(2026.0), "2026");
  EXPECT_EQ(Str(0.5), "0.5");
  EXPECT_EQ(Str(-0.25), "-0.25");
  // Two-digit fields of a mail date.
  EXPECT_EQ(Format(5, "00"), "05");
  EXPECT_EQ(Format(0, "00"), "00");
  EXPECT_EQ(Format(13, "00"), "13");
  EXPECT_EQ(Format(123, "00"), "123");
  EXPECT_EQ(Format(7, "#"), "7");
  EXPECT_EQ(Format(7, "+00"), "+07");
  EXPECT_EQ(Format(-7, "00"), "-07");
  EXPECT_EQ(Format(7, "-00"), "07");
}
