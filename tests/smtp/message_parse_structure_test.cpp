// Reading message texts: single-part and multipart bodies, part types and dispositions,
// attachments, and malformed texts.
#include <gtest/gtest.h>

#include "smtp/EmailMessage.h"
#include "smtp/PartHeaders.h"

namespace {

EmailMessage Parsed(const std::string& text) {
  EmailMessage m;
  m.Source(text);
  return m;
}

std::string Bodies(const EmailMessage& m) { return m.BodyPlainText + "|" + m.BodyHTML + "|" + m.BodyEnriched; }

// A multipart/mixed message with the boundary "B" whose parts are the given part texts.
std::string Mixed(const std::vector<std::string>& parts, const std::string& eol = "\r\n") {
  std::string text = "Subject: s" + eol + "Content-Type: multipart/mixed; boundary=B" + eol + eol;
  for (const std::string& part : parts) text += "--B" + eol + part + eol;
  return text + "--B--" + eol;
}

TEST(MessageParseSinglePart, BodyTypes) {
  EXPECT_EQ(Bodies(Parsed("Subject: s\r\n\r\nline\r\n")), "line\r\n||");  // no type: plain
  EXPECT_EQ(Bodies(Parsed("Content-Type: text/html; charset=utf-8\r\n\r\n<p>x</p>")), "|<p>x</p>|");
  EXPECT_EQ(Bodies(Parsed("content-type: TEXT/Enriched\r\n\r\nx")), "||x");
  EXPECT_EQ(Bodies(Parsed("Content-Type: text/plain\r\n\r\nends with a dot.")), "ends with a dot.||");
}

TEST(MessageParseSinglePart, OtherTypeIsOneAttachment) {
  const EmailMessage m = Parsed(
      "Subject: s\r\nContent-Type: application/pdf; name=\"a.pdf\"\r\n"
      "Content-Transfer-Encoding: base64\r\n\r\nJVBERi0xLjQK\r\n");
  EXPECT_EQ(Bodies(m), "||");
  ASSERT_EQ(m.Attachments.size(), 1u);
  EXPECT_EQ(m.Attachments[0].ContentType, "application/pdf");
  EXPECT_EQ(m.Attachments[0].Name, "a.pdf");
  EXPECT_EQ(m.Attachments[0].Data, "%PDF-1.4\n");

  // The message's own disposition counts as well.
  const EmailMessage attached = Parsed("Content-Disposition: attachment; filename=n.txt\r\n\r\nplain");
  ASSERT_EQ(attached.Attachments.size(), 1u);
  EXPECT_EQ(attached.Attachments[0].ContentType, "text/plain");
  EXPECT_EQ(attached.Attachments[0].Name, "n.txt");
  EXPECT_EQ(attached.BodyPlainText, "");
}

TEST(MessageParseSinglePart, EndLineAndDoubledDots) {
  // With the end line the text is the text after DATA: the end line and the doubled dots go.
  EXPECT_EQ(Parsed("S: s\r\n\r\n..a\r\n.b\r\nc.\r\n.").BodyPlainText, ".a\r\nb\r\nc.");
  EXPECT_EQ(Parsed("S: s\n\n..a\n.").BodyPlainText, ".a");
  // Without it every line stays as it stands.
  EXPECT_EQ(Parsed("S: s\r\n\r\n..a\r\n.b\r\n").BodyPlainText, "..a\r\n.b\r\n");
}

TEST(MessageParseMultipart, PlainAndHtmlParts) {
  const EmailMessage m = Parsed(
      "Content-Type: multipart/alternative; boundary=\"b 1\"; charset=x\r\n\r\n"
      "preamble\r\n--b 1\r\nContent-Type: text/plain\r\n\r\nplain\r\n"
      "--b 1\r\nContent-Type: text/html\r\n\r\n<p>h</p>\r\n--b 1--\r\nepilogue\r\n");
  EXPECT_EQ(Bodies(m), "plain|<p>h</p>|");
  EXPECT_TRUE(m.Attachments.empty());
}

TEST(MessageParseMultipart, DispositionsAndTypes) {
  const EmailMessage m = Parsed(Mixed({
      "\r\nno header lines: plain",
      "Content-Type: text/plain\r\nContent-Disposition: attachment\r\n\r\nA",
      "Content-Type: text/plain\r\nContent-Disposition: Attachment; filename=\"b; c.txt\"\r\n\r\nB",
      "Content-Type: text/html\r\nContent-Disposition: inline\r\n\r\n<p>i</p>",
      "content-type: image/png\r\nContent-Disposition: inline\r\nContent-Transfer-Encoding: BASE64\r\n\r\niVBO\r\nRw==",
      "Content-Type: text/plain\r\n\r\nsecond plain",
  }));
  EXPECT_EQ(Bodies(m), "second plain|<p>i</p>|");
  ASSERT_EQ(m.Attachments.size(), 3u);
  EXPECT_EQ(m.Attachments[0].Data, "A");
  EXPECT_EQ(m.Attachments[0].Name, "");
  EXPECT_EQ(m.Attachments[1].Name, "b; c.txt");
  EXPECT_EQ(m.Attachments[1].ContentType, "text/plain");
  EXPECT_EQ(m.Attachments[2].ContentType, "image/png");
  EXPECT_EQ(m.Attachments[2].Data, "\x89PNG");
}

TEST(MessageParseMultipart, NestedAlternativeInsideMixed) {
  const EmailMessage m = Parsed(
      "Content-Type: multipart/mixed; boundary=outer\r\n\r\n"
      "--outer\r\nContent-Type: multipart/alternative;\r\n\tboundary=\"inner\"\r\n\r\n"
      "--inner\r\nContent-Type: text/plain\r\n\r\np\r\n--inner\r\nContent-Type: text/html\r\n\r\nh\r\n--inner--\r\n"
      "--outer\r\nContent-Type: application/zip; name=z.zip\r\n\r\nZIP\r\n--outer--\r\n");
  EXPECT_EQ(Bodies(m), "p|h|");
  ASSERT_EQ(m.Attachments.size(), 1u);
  EXPECT_EQ(m.Attachments[0].Name, "z.zip");
  EXPECT_EQ(m.Attachments[0].Data, "ZIP");
}

TEST(MessageParseMultipart, DelimiterCountsOnlyAtALineStart) {
  const EmailMessage m = Parsed(Mixed({"Content-Type: text/plain\r\n\r\nnot --B\r\n a delimiter --B--\r\nend"}));
  EXPECT_EQ(m.BodyPlainText, "not --B\r\n a delimiter --B--\r\nend");
}

TEST(MessageParseMultipart, LoneLineEndsOfEitherKind) {
  for (const std::string eol : {"\n", "\r"}) {
    const EmailMessage m = Parsed(Mixed({"Content-Type: text/plain" + eol + eol + "a" + eol + "b",
                                         "Content-Type: text/csv" + eol + eol + "1,2"},
                                        eol));
    EXPECT_EQ(m.BodyPlainText, "a" + eol + "b");
    ASSERT_EQ(m.Attachments.size(), 1u);
    EXPECT_EQ(m.Attachments[0].Data, "1,2");
  }
}

TEST(MessageParseMalformed, NoEmptyLine) {
  const EmailMessage plain = Parsed("Subject: s\r\nFrom: f");
  EXPECT_EQ(plain.Headers.Value("From"), "f");
  EXPECT_EQ(plain.Headers.Source(), "Subject: s\r\nFrom: f");
  EXPECT_EQ(Bodies(plain), "||");
  EXPECT_TRUE(plain.Attachments.empty());

  const EmailMessage other = Parsed("Content-Type: application/pdf");
  ASSERT_EQ(other.Attachments.size(), 1u);
  EXPECT_EQ(other.Attachments[0].Data, "");

  // A text that begins with an empty line has no header lines.
  const EmailMessage headless = Parsed("\r\nSubject: not a header");
  EXPECT_EQ(headless.Headers.Count(), 0);
  EXPECT_EQ(headless.BodyPlainText, "Subject: not a header");
}

TEST(MessageParseMalformed, BrokenMultipartBodies) {
  const std::string head = "Content-Type: multipart/mixed; boundary=B\r\n\r\n";
  const std::string part = "Content-Type: text/html\r\n\r\nh";
  // No opening delimiter, an empty body, no part before the closing delimiter: nothing is filed.
  for (const std::string& body : {std::string("just text --B\r\n") + part, std::string(), std::string("--B--\r\n"),
                                  std::string("--B\r\n--B--\r\n"), std::string("--B")}) {
    const EmailMessage m = Parsed(head + body);
    EXPECT_EQ(Bodies(m), "||") << body;
    EXPECT_TRUE(m.Attachments.empty()) << body;
  }
  // Without a closing delimiter the last part runs to the end.
  EXPECT_EQ(Parsed(head + "--B\r\n" + part + "\r\n").BodyHTML, "h\r\n");
  // A part without an empty line is all header lines.
  const EmailMessage noBlank = Parsed(head + "--B\r\nContent-Type: image/gif\r\n--B--");
  ASSERT_EQ(noBlank.Attachments.size(), 1u);
  EXPECT_EQ(noBlank.Attachments[0].ContentType, "image/gif");
  EXPECT_EQ(noBlank.Attachments[0].Data, "");
  // An empty boundary is no boundary: the body is one part of a type that is no body type.
  const EmailMessage unbounded = Parsed("Content-Type: multipart/mixed; boundary=\"\"\r\n\r\n--\r\nx");
  ASSERT_EQ(unbounded.Attachments.size(), 1u);
  EXPECT_EQ(unbounded.Attachments[0].Data, "--\r\nx");
}

// level multipart bodies inside each other (the message's own first), a plain part in the last.
std::string Nested(int levels) {
  std::string text = "Content-Type: multipart/mixed; boundary=b1\r\n\r\n";
  for (int i = 2; i <= levels; ++i)
    text += "--b" + std::to_string(i - 1) + "\r\nContent-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\r\n\r\n";
  text += "--b" + std::to_string(levels) + "\r\nContent-Type: text/plain\r\n\r\nleaf";
  for (int i = levels; i >= 1; --i) text += "\r\n--b" + std::to_string(i) + "--";
  return text;
}

TEST(MessageParseMalformed, NestingDepthIsBounded) {
  EXPECT_EQ(Parsed(Nested(32)).BodyPlainText, "leaf");
  // One level more: the innermost multipart body is filed whole as an attachment.
  const EmailMessage deeper = Parsed(Nested(33));
  EXPECT_EQ(deeper.BodyPlainText, "");
  ASSERT_EQ(deeper.Attachments.size(), 1u);
  EXPECT_EQ(deeper.Attachments[0].ContentType, "multipart/mixed");
  EXPECT_EQ(deeper.Attachments[0].Data, "--b33\r\nContent-Type: text/plain\r\n\r\nleaf\r\n--b33--");
  EXPECT_EQ(Parsed(Nested(5000)).Attachments.size(), 1u);
}

InternetHeaders HeaderLines(std::string_view block) {
  InternetHeaders headers;
  headers._ParseHeaders(block);
  return headers;
}

TEST(MessageParseAttachment, TransferEncodings) {
  EmailAttachment qp;
  qp.ParseAttachment("text/plain", HeaderLines("Content-Transfer-Encoding: Quoted-Printable"),
                     "caf=C3=A9 =3d=\r\nsoft=\nbreak = kept=4");
  EXPECT_EQ(qp.Data, "caf\xC3\xA9 =softbreak = kept=4");

  EmailAttachment raw;
  raw.ParseAttachment("text/plain", HeaderLines("Content-Transfer-Encoding: 8bit\r\nContent-Type: text/plain; name=r.txt"),
                      "=41");
  EXPECT_EQ(raw.Data, "=41");
  EXPECT_EQ(raw.Name, "r.txt");
}

TEST(MessageParsePartHeaders, Parameters) {
  using part_headers::Parameter;
  const std::string type = "multipart/mixed; xboundary=no; BOUNDARY = \" q\\\"uo;ted \" ; charset=x";
  EXPECT_EQ(part_headers::MainValue(type), "multipart/mixed");
  EXPECT_EQ(Parameter(type, "boundary"), "q\"uo;ted");
  EXPECT_EQ(Parameter(type, "charset"), "x");
  EXPECT_EQ(Parameter(type, "name"), "");
  EXPECT_EQ(Parameter("a; name=\"unclosed; x", "name"), "unclosed; x");
  EXPECT_EQ(Parameter("a; name=\"\\", "name"), "\\");
}

}  // namespace
