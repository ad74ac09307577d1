// Messages written by Python's standard mail package read back with their headers, bodies and
// attachments.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    m.add_attachment(b"1", maintype="application", subtype="pdf", filename="\u8cc7\u6599.pdf")
    m.add_attachment(b"2", maintype="application", subtype="pdf", filename="\u8cc7\u6599" * 20 + ".pdf")
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
  ASSERT_EQ(m.Attachments.size(), 5u);
  ExpectAttachment(m.Attachments[0], "application/octet-stream", "data.bin", bytes);
  ExpectAttachment(m.Attachments[1], "text/csv", "list; v1.csv", "a,b\r\n1,2\r\n");
  ExpectAttachment(m.Attachments[2], "text/plain", "qp.txt", "caf\xC3\xA9 = ok\r\n");
  // Non-ASCII names come as RFC 2231 values, a long one in numbered sections.
  ExpectAttachment(m.Attachments[3], "application/pdf", "資料.pdf", "1");
  std::string longName;
  for (int i = 0; i < 20; ++i) longName += "資料";
  ExpectAttachment(m.Attachments[4], "application/pdf", longName + ".pdf", "2");
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

// Reads each text with Python and reports per text its Subject and From and its leaf parts
// (payloads in Base64).
const char* const kReader = R"(
import sys, json, base64, email, email.policy
found = []
for text in json.load(sys.stdin):
    msg = email.message_from_bytes(base64.b64decode(text), policy=email.policy.default)
    found.append({"subject": str(msg["Subject"] or ""), "from": str(msg["From"] or ""),
                  "parts": [{"type": p.get_content_type(), "attachment": p.is_attachment(),
                             "filename": p.get_filename() or "",
                             "payload": base64.b64encode(p.get_payload(decode=True)).decode()}
                            for p in msg.walk() if not p.is_multipart()]})
print(json.dumps(found))
)";

// Our reading of each text gives what Python's gives: the same headers, the plain and HTML
// parts as bodies, every other part as an attachment in the same order.
void ExpectReadAsPythonReadsThem(const std::vector<std::string>& texts) {
  QJsonArray encoded;
  for (const std::string& text : texts) encoded.append(QString::fromLatin1(QByteArray::fromStdString(text).toBase64()));
  QProcess python;
  python.start("/usr/bin/python3", {"-c", kReader});
  ASSERT_TRUE(python.waitForStarted(10000));
  python.write(QJsonDocument(encoded).toJson());
  python.closeWriteChannel();
  ASSERT_TRUE(python.waitForFinished(30000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  const QJsonArray found = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
  ASSERT_EQ(found.size(), qsizetype(texts.size()));
  for (size_t i = 0; i < texts.size(); ++i) {
    const QJsonObject python = found[qsizetype(i)].toObject();
    const EmailMessage ours = Parsed(texts[i]);
    EXPECT_EQ(ours.Subject(), python["subject"].toString().toStdString()) << i;
    EXPECT_EQ(ours.FromAddress(), python["from"].toString().toStdString()) << i;
    size_t attachment = 0;
    for (const QJsonValue part : python["parts"].toArray()) {
      const std::string type = part["type"].toString().toStdString();
      const std::string payload = QByteArray::fromBase64(part["payload"].toString().toLatin1()).toStdString();
      if (!part["attachment"].toBool() && type == "text/plain") {
        EXPECT_EQ(ours.BodyPlainText, payload) << i;
      } else if (!part["attachment"].toBool() && type == "text/html") {
        EXPECT_EQ(ours.BodyHTML, payload) << i;
      } else if (attachment < ours.Attachments.size()) {
        ExpectAttachment(ours.Attachments[attachment++], type, part["filename"].toString().toStdString(), payload);
      } else {
        ADD_FAILURE() << i << ": no attachment of type " << type;
      }
    }
    EXPECT_EQ(attachment, ours.Attachments.size()) << i;
  }
}

TEST(MessageParsePython, HandWrittenTextsReadAsPythonReadsThem) {
  const std::string mixed = "Content-Type: multipart/mixed; boundary=";
  ExpectReadAsPythonReadsThem({
      // Blanks and tabs after a delimiter (transport padding).
      mixed + "B\r\n\r\n--B \r\nContent-Type: text/plain\r\n\r\np\r\n--B\t\r\n"
              "Content-Type: text/html\r\n\r\nh\r\n--B-- \r\n",
      // A boundary matches in its own letter case only.
      mixed + "abc\r\n\r\n--abc\r\nContent-Type: text/plain\r\n\r\np\r\n--ABC\r\nq\r\n--abc--\r\n",
      // Lines end in any way, wherever they stand.
      mixed + "B\n\n--B\nContent-Type: text/plain\n\na\r\nb\n--B\nContent-Type: text/html\n\nh\n--B--\n",
      "Subject: x\nFrom: f\r\nContent-Type: text/plain\n\nbody\r\n",
      // Names in encoded words and RFC 2231 values of several character sets.
      mixed + "B\r\n\r\n--B\r\nContent-Type: application/pdf; name=\"=?utf-8?b?6LOH5paZLnBkZg==?=\"\r\n\r\n1\r\n"
              "--B\r\nContent-Disposition: attachment;\r\n filename=\"=?iso-2022-jp?b?GyRCO3FOQRsoQg==?= =?iso-2022-jp?q?=2Epdf?=\"\r\n\r\n2\r\n"
              "--B\r\nContent-Type: text/csv; name=\"=?shift_jis?b?jpGXvw==?=.csv\"\r\n\r\n3\r\n"
              "--B\r\nContent-Type: text/csv; name*0*=shift_jis''%8E%91; name*1*=%97%BF; name*2=.csv\r\n\r\n4\r\n"
              "--B\r\nContent-Type: text/csv; name*=iso-8859-1''caf%E9.csv\r\n\r\n5\r\n--B--\r\n",
  });
}

}  // namespace
