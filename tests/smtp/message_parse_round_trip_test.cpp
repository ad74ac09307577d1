// Message texts that Source() writes read back into the same headers, bodies and attachments.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

namespace {

// Every header instance as (name, value), sorted: the text form writes headers in its own order.
std::vector<std::pair<std::string, std::string>> HeaderPairs(const InternetHeaders& headers, bool withBCC) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int i = 0; i < headers.Count(); ++i)
    if (withBCC || headers.Name(i) != "BCC") pairs.emplace_back(headers.Name(i), headers.Value(i));
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

// Writes the message, reads the text into a new message and checks what must come back:
// headers (but BCC, which is never written), attachments, raw text and header block.
EmailMessage ReadBack(EmailMessage& original) {
  const std::string text = original.Source();
  EmailMessage copy;
  copy.Source(text);
  EXPECT_EQ(copy.RawSource(), text);
  EXPECT_EQ(copy.Headers.Source(), original.Headers._FormatEmailHeaders());  // the block, dots undone
  EXPECT_EQ(HeaderPairs(copy.Headers, true), HeaderPairs(original.Headers, false));
  EXPECT_EQ(copy.Attachments.size(), original.Attachments.size());
  for (size_t i = 0; i < std::min(copy.Attachments.size(), original.Attachments.size()); ++i) {
    EXPECT_EQ(copy.Attachments[i].ContentType, original.Attachments[i].ContentType) << i;
    EXPECT_EQ(copy.Attachments[i].Name, original.Attachments[i].Name) << i;
    EXPECT_EQ(copy.Attachments[i].Data, original.Attachments[i].Data) << i;
  }
  return copy;
}

class MessageParseRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 12, 6, 13, 5, 9, 9.0}); }
  void TearDown() override { fw::testing::SetFixedDate(std::nullopt); }
};

TEST_F(MessageParseRoundTrip, ProgramMessageWithJapaneseBody) {
  const auto toJIS = fw::GetTextConverter(fw::Encodings::UTF8, *fw::GetTextEncoding(0x820));
  EmailMessage m;
  m.FromAddress("sender@example.com");
  m.Subject("=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= ");
  m.BodyPlainText = toJIS->convert("山田 太郎 様\r\n\r\nいつもお世話になっております。\r\n");
  m.Headers.AppendHeader("X-Mailer", "TestMailer 1.0");
  m.Headers.AppendHeader("Received", "from a");
  m.Headers.AppendHeader("Received", "from b");
  m.AddRecipient("taro@example.com");
  m.AddRecipient("hanako@example.com");
  m.AddBCCRecipient("hidden@example.com");
  m.Headers.SetHeader("Date", m._GetEmailDateStr());
  const EmailMessage copy = ReadBack(m);
  EXPECT_EQ(copy.BodyPlainText, m.BodyPlainText);
  EXPECT_EQ(copy.BodyHTML + copy.BodyEnriched, "");
  EXPECT_EQ(copy.ToAddress(), "taro@example.com, hanako@example.com");
  EXPECT_EQ(copy.Headers.CommaSeparatedValues("Received"), "from a, from b");
}

TEST_F(MessageParseRoundTrip, SingleBodiesOfEachTypeAndCallersHeaders) {
  EmailMessage html;
  html.BodyHTML = "<p>x</p>";
  EXPECT_EQ(ReadBack(html).BodyHTML, "<p>x</p>");

  EmailMessage enriched;
  enriched.BodyEnriched = "<bold>x</bold>\r\n";
  EXPECT_EQ(ReadBack(enriched).BodyEnriched, "<bold>x</bold>\r\n");

  EmailMessage own;
  own.Headers.AppendHeader("Content-Type", "text/plain; charset=ISO-2022-JP");
  own.Headers.AppendHeader("Content-transfer-encoding", "8bit");
  own.BodyPlainText = "b";
  const EmailMessage copy = ReadBack(own);
  EXPECT_EQ(copy.BodyPlainText, "b");  // the body is not decoded
  EXPECT_EQ(copy.Headers.Value("Content-Type"), "text/plain; charset=ISO-2022-JP");
}

TEST_F(MessageParseRoundTrip, DotsAndLineEndsOfTheBody) {
  EmailMessage m;
  m.Headers.AppendHeader(".Odd", "v");
  m.BodyPlainText = ".\r\n.abc\nend.\r\n..\r\n.";
  const EmailMessage copy = ReadBack(m);
  // The text form makes every line end CR LF; the doubled dots are undone.
  EXPECT_EQ(copy.BodyPlainText, ".\r\n.abc\r\nend.\r\n..\r\n.");
  EXPECT_EQ(copy.Headers.Value(".Odd"), "v");
}

TEST_F(MessageParseRoundTrip, NoBodyAtAll) {
  EmailMessage m;
  m.Subject("s");
  const EmailMessage copy = ReadBack(m);
  EXPECT_EQ(copy.BodyPlainText + copy.BodyHTML + copy.BodyEnriched, "");
}

// In a multipart text the text form ends each body with one more line end than the body holds
// (an empty line stands before every delimiter line); that line end reads back as the body's own,
// as any MIME reader takes it.
TEST_F(MessageParseRoundTrip, SeveralBodies) {
  EmailMessage m;
  m.BodyPlainText = "plain";
  m.BodyHTML = "<b>html</b>\r\n";
  m.BodyEnriched = "rich";
  const EmailMessage copy = ReadBack(m);
  EXPECT_EQ(copy.BodyPlainText, "plain\r\n");
  EXPECT_EQ(copy.BodyHTML, "<b>html</b>\r\n\r\n");
  EXPECT_EQ(copy.BodyEnriched, "rich\r\n");
}

TEST_F(MessageParseRoundTrip, AttachmentsWithBodies) {
  EmailMessage m;
  m.Subject("s");
  m.BodyPlainText = "body";
  m.BodyHTML = "<p>body</p>";
  m.Attachments.push_back({"text/csv", "a.csv", "1,2\n"});
  m.Attachments.push_back({"application/octet-stream", "b \"x\"\\y; z.bin", std::string("\0\xff\r\n.\r\n", 7)});
  m.Attachments.push_back({"image/png", "", ""});
  m.Attachments.push_back({"text/plain", "メモ 1%.txt", "x"});
  const EmailMessage copy = ReadBack(m);
  EXPECT_EQ(copy.BodyPlainText, "body\r\n");
  EXPECT_EQ(copy.BodyHTML, "<p>body</p>\r\n");
}

TEST_F(MessageParseRoundTrip, AttachmentsOnly) {
  EmailMessage m;
  m.Attachments.push_back({"application/pdf", "doc.pdf", std::string(1000, '\x7f')});
  const EmailMessage copy = ReadBack(m);
  // The text form still writes an empty first part, which holds that line end.
  EXPECT_EQ(copy.BodyPlainText, "\r\n");
  EXPECT_EQ(copy.BodyHTML + copy.BodyEnriched, "");
}

TEST_F(MessageParseRoundTrip, SecondAssignmentReplacesEverything) {
  EmailMessage first;
  first.Subject("first");
  first.BodyHTML = "<p>1</p>";
  first.Attachments.push_back({"image/gif", "a.gif", "GIF"});
  EmailMessage second;
  second.Subject("second");
  second.BodyPlainText = "2";

  EmailMessage m;
  m.Source(first.Source());
  m.Source(second.Source());
  EXPECT_EQ(m.Subject(), "second");
  EXPECT_EQ(m.Headers.NameCount("Mime-Version"), 0);
  EXPECT_EQ(m.BodyPlainText, "2");
  EXPECT_EQ(m.BodyHTML, "");
  EXPECT_TRUE(m.Attachments.empty());
}

}  // namespace
