// Messages written by Python's standard mail package read back with their headers, bodies and
// attachments.
#include <gtest/gtest.h>

#include <QProcess>

#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

namespace {

// Writes one message, chosen by name, with CR LF ("crlf") or LF ("lf") line ends.
const char* const kWriter = R"(
import sys
from email.header import Header
from email.message import EmailMessage
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText
from email.mime.application import MIMEApplication
from email.mime.image import MIMEImage

def addressed(subject):
    m = EmailMessage()
    m["From"] = "sender@example.com"
    m["To"] = "a@example.com, b@example.com"
    m["Subject"] = subject
    return m

def plain():
    m = addressed("plain")
    m.set_content("Hello\nWorld\n.leading dot\n")
    return m

def html():
    m = addressed("html")
    m.set_content("<p>hi</p>\n", subtype="html")
    return m

def japanese():
    m = MIMEText("山田 太郎 様\nいつもお世話になっております。\n", "plain", "iso-2022-jp")
    m["Subject"] = Header("ご案内", "iso-2022-jp")
    return m

def alternative():
    m = addressed("alternative")
    m.set_content("plain text\n")
    m.add_alternative("<p>html text</p>\n", subtype="html")
    return m

def mixed():
    m = addressed("mixed")
    m.set_content("see attached\n")
    m.add_attachment(bytes(range(256)), maintype="application", subtype="octet-stream", filename="data.bin")
    m.add_attachment("a,b\n1,2\n", subtype="csv", filename="list; v1.csv")
    m.add_attachment("caf\u00e9 = ok\n", subtype="plain", filename="qp.txt", cte="quoted-printable")
    return m

def nested():
    outer = MIMEMultipart("mixed")
    outer["Subject"] = "nested"
    alternative = MIMEMultipart("alternative")
    alternative.attach(MIMEText("inner plain\n", "plain"))
    related = MIMEMultipart("related")
    related.attach(MIMEText("<img src=\"cid:logo\">\n", "html"))
    image = MIMEImage(b"\x89PNG\r\n\x1a\n\x00\x00", "png")
    image.add_header("Content-ID", "<logo>")
    image.add_header("Content-Disposition", "inline", filename="logo.png")
    related.attach(image)
    alternative.attach(related)
    outer.attach(alternative)
    outer.attach(MIMEApplication(b"%PDF-1.4\n", "pdf", Name="doc.pdf"))
    return outer

message = globals()[sys.argv[1]]()
linesep = "\r\n" if sys.argv[2] == "crlf" else "\n"
sys.stdout.buffer.write(message.as_bytes(policy=message.policy.clone(linesep=linesep)))
)";

std::string WrittenByPython(const std::string& name, const std::string& lineEnds = "crlf") {
  QProcess python;
  python.start("/usr/bin/python3", {"-c", kWriter, QString::fromStdString(name), QString::fromStdString(lineEnds)});
  EXPECT_TRUE(python.waitForFinished(30000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return python.readAllStandardOutput().toStdString();
}

EmailMessage Parsed(const std::string& text) {
  EmailMessage m;
  m.Source(text);
  return m;
}

void ExpectAttachment(const EmailAttachment& a, const std::string& type, const std::string& name,
                      const std::string& data) {
  EXPECT_EQ(a.ContentType, type);
  EXPECT_EQ(a.Name, name);
  EXPECT_EQ(a.Data, data);
}

TEST(MessageParsePython, PlainAndHtml) {
  const EmailMessage plain = Parsed(WrittenByPython("plain"));
  EXPECT_EQ(plain.Subject(), "plain");
  EXPECT_EQ(plain.FromAddress(), "sender@example.com");
  EXPECT_EQ(plain.ToAddress(), "a@example.com, b@example.com");
  EXPECT_EQ(plain.Headers.Value("MIME-Version"), "1.0");
  EXPECT_EQ(plain.BodyPlainText, "Hello\r\nWorld\r\n.leading dot\r\n");
  EXPECT_EQ(plain.BodyHTML + plain.BodyEnriched, "");
  EXPECT_TRUE(plain.Attachments.empty());

  const EmailMessage html = Parsed(WrittenByPython("html"));
  EXPECT_EQ(html.BodyHTML, "<p>hi</p>\r\n");
  EXPECT_EQ(html.BodyPlainText, "");
}

TEST(MessageParsePython, JapaneseBodyStaysEncoded) {
  const auto toJIS = fw::GetTextConverter(fw::Encodings::UTF8, *fw::GetTextEncoding(0x820));
  const EmailMessage m = Parsed(WrittenByPython("japanese"));
  EXPECT_EQ(m.BodyPlainText, toJIS->convert("山田 太郎 様\r\nいつもお世話になっております。\r\n"));
  EXPECT_EQ(m.Subject(), "=?iso-2022-jp?b?" + fw::EncodeBase64(toJIS->convert("ご案内")) + "?=");
}

TEST(MessageParsePython, AlternativeWithEitherLineEnd) {
  for (const std::string eol : {"\r\n", "\n"}) {
    const EmailMessage m = Parsed(WrittenByPython("alternative", eol == "\n" ? "lf" : "crlf"));
    EXPECT_EQ(m.BodyPlainText, "plain text" + eol);
    EXPECT_EQ(m.BodyHTML, "<p>html text</p>" + eol);
    EXPECT_TRUE(m.Attachments.empty());
  }
  // Lone CR line ends read the same way.
  EmailMessage converter;
  const EmailMessage cr = Parsed(converter._ConvertEOLCharacter(WrittenByPython("alternative"), "\r"));
  EXPECT_EQ(cr.BodyPlainText, "plain text\r");
  EXPECT_EQ(cr.BodyHTML, "<p>html text</p>\r");
}

TEST(MessageParsePython, MixedWithAttachments) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += char(i);
  const EmailMessage m = Parsed(WrittenByPython("mixed"));
  EXPECT_EQ(m.Subject(), "mixed");
  EXPECT_EQ(m.BodyPlainText, "see attached\r\n");
  ASSERT_EQ(m.Attachments.size(), 3u);
  ExpectAttachment(m.Attachments[0], "application/octet-stream", "data.bin", bytes);
  ExpectAttachment(m.Attachments[1], "text/csv", "list; v1.csv", "a,b\r\n1,2\r\n");
  ExpectAttachment(m.Attachments[2], "text/plain", "qp.txt", "caf\xC3\xA9 = ok\r\n");
}

TEST(MessageParsePython, NestedMultiparts) {
  const EmailMessage m = Parsed(WrittenByPython("nested"));
  EXPECT_EQ(m.Subject(), "nested");
  EXPECT_EQ(m.BodyPlainText, "inner plain\r\n");
  EXPECT_EQ(m.BodyHTML, "<img src=\"cid:logo\">\r\n");
  ASSERT_EQ(m.Attachments.size(), 2u);
  ExpectAttachment(m.Attachments[0], "image/png", "logo.png", std::string("\x89PNG\r\n\x1a\n\x00\x00", 10));
  ExpectAttachment(m.Attachments[1], "application/pdf", "doc.pdf", "%PDF-1.4\n");
}

}  // namespace
