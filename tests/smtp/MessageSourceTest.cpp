// The message text written after DATA: header block, bodies, attachments, line ends, dots,
// and the date, zone and boundary values.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/core/DateTime.h"
#include "smtp/EmailMessage.h"

namespace {

const fw::testing::FixedDate kSundayInTokyo{2026, 12, 6, 13, 5, 9, 9.0};

class MessageSource : public ::testing::Test {
 protected:
  void SetUp() override { fw::testing::SetFixedDate(kSundayInTokyo); }
  void TearDown() override { fw::testing::SetFixedDate(std::nullopt); }
};

std::string HeaderBlock(const std::string& text) { return text.substr(0, text.find("\r\n\r\n")); }
std::string AfterHeaderBlock(const std::string& text) { return text.substr(text.find("\r\n\r\n") + 4); }

std::vector<std::string> Boundaries(const std::string& text) {
  static const std::regex boundary("boundary=\"([a-z0-9]{12})\"");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), boundary), end; it != end; ++it) found.push_back((*it)[1]);
  return found;
}

TEST_F(MessageSource, ProgramMessageExactText) {
  EmailMessage m;
  m.FromAddress("sender@example.com");
  m.Subject("=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= ");
  m.BodyPlainText = "Dear\r\n\r\nline";
  m.Headers.AppendHeader("X-Mailer", "TestMailer 1.0");
  m.AddRecipient("to@example.com");
  m.Headers.SetHeader("Date", m._GetEmailDateStr(fw::Date()));
  EXPECT_EQ(m.Source(),
            "Date: Sun, 6 Dec 2026 13:05:09 +0900\r\n"
            "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= \r\n"
            "From: sender@example.com\r\n"
            "To: to@example.com\r\n"
            "X-Mailer: TestMailer 1.0\r\n"
            "Content-type: text/plain;\r\n"
            "Content-transfer-encoding: 7bit\r\n"
            "\r\n"
            "Dear\r\n\r\nline\r\n.");
}

TEST_F(MessageSource, SingleBodyTypesAndCallersOwnHeaders) {
  EmailMessage html;
  html.BodyHTML = "<p>x</p>";
  EXPECT_EQ(html.Source(), "Content-type: text/html;\r\nContent-transfer-encoding: 7bit\r\n\r\n<p>x</p>\r\n.");

  EmailMessage enriched;
  enriched.BodyEnriched = "x";
  EXPECT_EQ(HeaderBlock(enriched.Source()), "Content-type: text/enriched;\r\nContent-transfer-encoding: 7bit");

  // A caller's type (in any letter case) replaces the fixed one and is written once; a caller's
  // encoding suppresses the 7bit line and the body stays as it is.
  EmailMessage own;
  own.Headers.AppendHeader("Content-Type", "text/plain; charset=ISO-2022-JP");
  own.Headers.AppendHeader("Content-transfer-encoding", "8bit");
  own.BodyPlainText = "b";
  EXPECT_EQ(own.Source(),
            "Content-transfer-encoding: 8bit\r\nContent-type: text/plain; charset=ISO-2022-JP\r\n\r\nb\r\n.");
}

TEST_F(MessageSource, SecondCallGivesTheSameHeadersAndBody) {
  EmailMessage m;
  m.Subject("s");
  m.BodyPlainText = "body";
  const std::string first = m.Source();
  const int count = m.Headers.Count();
  const std::string second = m.Source();
  EXPECT_EQ(m.Headers.Count(), count);
  EXPECT_EQ(m.Headers.Value("content-type"), "text/plain;");
  EXPECT_EQ(m.Headers.Value("Content-transfer-encoding"), "7bit");
  EXPECT_EQ(AfterHeaderBlock(second), AfterHeaderBlock(first));
  EXPECT_EQ(second.size(), first.size());  // the same lines, possibly in another order
}

TEST_F(MessageSource, SeveralBodiesAreMultipartAlternative) {
  EmailMessage m;
  m.BodyPlainText = "plain";
  m.BodyHTML = "<b>html</b>\r\n";
  const std::string text = m.Source();
  ASSERT_EQ(Boundaries(text).size(), 1u);
  const std::string d = "--" + Boundaries(text)[0];
  EXPECT_EQ(text, "Content-Type: multipart/alternative; boundary=\"" + Boundaries(text)[0] + "\"\r\n\r\n" +
                      d + "\r\nContent-type: text/plain;\r\nContent-transfer-encoding: 7bit\r\n\r\nplain\r\n\r\n" +
                      d + "\r\nContent-type: text/html;\r\nContent-transfer-encoding: 7bit\r\n\r\n<b>html</b>\r\n\r\n\r\n" +
                      d + "--\r\n.");
  // A second call replaces the container type with a fresh boundary.
  const std::string again = m.Source();
  EXPECT_EQ(Boundaries(HeaderBlock(again)).size(), 1u);
  EXPECT_EQ(m.Headers.NameCount("Content-Type"), 1);
  EXPECT_EQ(again.find("Mime-Version"), std::string::npos);
}

TEST_F(MessageSource, AttachmentsMakeMultipartMixed) {
  EmailMessage m;
  m.Subject("s");
  m.BodyPlainText = "body";
  m.Attachments.push_back({"text/csv", "a.csv", "1,2\n"});
  m.Attachments.push_back({"application/octet-stream", "b \"x\".bin", std::string("\0\xff", 2)});
  const std::string text = m.Source();
  const auto boundaries = Boundaries(text);
  ASSERT_EQ(boundaries.size(), 1u);
  const std::string d = "--" + boundaries[0];
  EXPECT_EQ(text, "Subject: s\r\nContent-Type: multipart/mixed; boundary=\"" + boundaries[0] +
                      "\"\r\nMime-Version: 1.0\r\n\r\n" + d +
                      "\r\nContent-type: text/plain;\r\nContent-transfer-encoding: 7bit\r\n\r\nbody\r\n\r\n\r\n" + d +
                      "\r\nContent-Type: text/csv; name=\"a.csv\"\r\nContent-Transfer-Encoding: base64\r\n"
                      "Content-Disposition: attachment\r\n\r\nMSwyCg==\r\n\r\n" +
                      d +
                      "\r\nContent-Type: application/octet-stream; name=\"b \\\"x\\\".bin\"\r\n"
                      "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\nAP8=\r\n\r\n" +
                      d + "--\r\n.");
}

TEST_F(MessageSource, AlternativeInsideMixedHasTwoBoundaries) {
  EmailMessage m;
  m.BodyPlainText = "p";
  m.BodyEnriched = "e";
  m.Attachments.push_back({"image/png", "", "x"});
  const auto boundaries = Boundaries(m.Source());
  ASSERT_EQ(boundaries.size(), 2u);
  EXPECT_NE(boundaries[0], boundaries[1]);
}

TEST_F(MessageSource, NoBodyAtAll) {
  EmailMessage m;
  m.Subject("s");
  EXPECT_EQ(m.Source(), "Subject: s\r\n\r\n\r\n.");
  EXPECT_EQ(m.Headers.Count(), 1);
}

TEST_F(MessageSource, EveryLineEndBecomesCRLF) {
  EmailMessage m;
  m.BodyPlainText = "a\nb\rc\r\r\nd\n\re\r\n";
  EXPECT_EQ(AfterHeaderBlock(m.Source()), "a\r\nb\r\nc\r\n\r\nd\r\n\r\ne\r\n\r\n.");
  EXPECT_EQ(m._ConvertEOLCharacter("a\r\nb\rc\nd", "\n"), "a\nb\nc\nd");
  EXPECT_EQ(m._DetermineEOLCharacter("x\ny\r\n"), "\r\n");
}

TEST_F(MessageSource, LinesBeginningWithADotAreDoubled) {
  EmailMessage m;
  m.Headers.AppendHeader(".Odd", "v");
  m.BodyPlainText = ".\r\n.abc\nend.\r\n..\r\n.";
  const std::string text = m.Source();
  EXPECT_EQ(text.substr(0, 8), "..Odd: v");
  EXPECT_EQ(AfterHeaderBlock(text), "..\r\n..abc\r\nend.\r\n...\r\n..\r\n.");
}

TEST_F(MessageSource, BadHeaderValuesDoNotBreakTheText) {
  EmailMessage m;
  m.Headers.AppendHeader("", "");
  m.Headers.AppendHeader("X-Multi", "one\ntwo\r.three");
  m.Headers.SetHeader("Content-type", "text/plain;\r\n charset=us-ascii");
  m.BodyPlainText = "b";
  const std::string text = m.Source();
  EXPECT_EQ(m.Headers.Value("Content-type"), "text/plain; charset=us-ascii");  // unfolded
  EXPECT_EQ(HeaderBlock(text), ": \r\nX-Multi: one two .three\r\nContent-type: text/plain; charset=us-ascii\r\n"
            "Content-transfer-encoding: 7bit");
  EXPECT_EQ(text.substr(text.size() - 3), "\r\n.");
}

TEST_F(MessageSource, DateValues) {
  EmailMessage m;
  EXPECT_EQ(m._GetEmailDateStr(), "Sun, 6 Dec 2026 13:05:09 +0900");
  fw::testing::SetFixedDate(fw::testing::FixedDate{2027, 1, 1, 9, 3, 7, 0.0});
  EXPECT_EQ(m._GetEmailDateStr(), "Fri, 1 Jan 2027 09:03:07 +0000");
  fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 2, 28, 0, 0, 0, -5.0});
  EXPECT_EQ(m._GetEmailDateStr(), "Sat, 28 Feb 2026 00:00:00 -0500");
  // The zone is that of now, not of the date given.
  fw::testing::SetFixedDate(kSundayInTokyo);
  fw::Date sunday;
  fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 7, 1, 12, 0, 0, 5.5});
  EXPECT_EQ(m._GetEmailDateStr(sunday), "Sun, 6 Dec 2026 13:05:09 +0530");
}

TEST_F(MessageSource, ZoneOffsets) {
  EmailMessage m;
  const std::pair<double, const char*> zones[] = {
      {0.0, "+0000"}, {9.0, "+0900"}, {5.5, "+0530"}, {5.75, "+0545"}, {-5.0, "-0500"}, {-3.5, "-0330"}, {12.75, "+1245"}};
  for (const auto& [hours, text] : zones) {
    fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 1, 1, 0, 0, 0, hours});
    EXPECT_EQ(m._GetGMTOffset(), text) << hours;
  }
}

TEST_F(MessageSource, BoundariesAreTwelveLettersOrDigits) {
  EmailMessage m;
  const std::regex form("[a-z0-9]{12}");
  std::set<std::string> seen;
  std::set<char> characters;
  for (int i = 0; i < 300; ++i) {
    const std::string b = m._GenerateBoundary();
    ASSERT_TRUE(std::regex_match(b, form)) << b;
    seen.insert(b);
    characters.insert(b.begin(), b.end());
  }
  EXPECT_EQ(seen.size(), 300u);
  EXPECT_EQ(characters.size(), 36u);  // every character of the alphabet is reachable
}

}  // namespace
