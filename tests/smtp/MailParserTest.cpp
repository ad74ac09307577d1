// Python's standard mail parser reads our message texts back with the same headers and bodies.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>

#include "platform/core/DateTime.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

namespace {

// Undoes the SMTP data transparency as a server does, parses the message and reports its
// headers, defects and leaf parts (payloads in Base64).
const char* const kParser = R"(
import sys, json, base64, email, email.policy
lines = sys.stdin.buffer.read().split(b"\r\n")
assert lines[-1] == b".", "the text does not end with the end line"
assert b"." not in lines[:-1], "a lone dot before the end line"
data = b"".join((l[1:] if l.startswith(b".") else l) + b"\r\n" for l in lines[:-1])
msg = email.message_from_bytes(data, policy=email.policy.default)
parts = [{"type": p.get_content_type(), "filename": p.get_filename() or "",
          "payload": base64.b64encode(p.get_payload(decode=True)).decode()}
         for p in msg.walk() if not p.is_multipart()]
print(json.dumps({
    "names": list(msg.keys()),
    "date": msg["Date"].datetime.isoformat() if msg["Date"] else "",
    "subject": str(msg["Subject"] or ""),
    "from": [a.addr_spec for a in msg["From"].addresses] if msg["From"] else [],
    "to": [a.addr_spec for a in msg["To"].addresses] if msg["To"] else [],
    "mailer": str(msg["X-Mailer"] or ""),
    "type": msg.get_content_type(),
    "defects": [type(d).__name__ for p in msg.walk() for d in p.defects],
    "parts": parts}))
)";

QJsonObject ParsedByPython(const std::string& text) {
  QProcess python;
  python.start("/usr/bin/python3", {"-c", kParser});
  EXPECT_TRUE(python.waitForStarted(10000));
  python.write(text.data(), qint64(text.size()));
  python.closeWriteChannel();
  EXPECT_TRUE(python.waitForFinished(30000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

std::string Payload(const QJsonValue& part) {
  return QByteArray::fromBase64(part["payload"].toString().toLatin1()).toStdString();
}

std::string ToJIS(const std::string& utf8) {
  return fw::GetTextConverter(fw::Encodings::UTF8, *fw::GetTextEncoding(0x820))->convert(utf8);
}

class MailParser : public ::testing::Test {
 protected:
  void SetUp() override { fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 12, 6, 13, 5, 9, 9.0}); }
  void TearDown() override { fw::testing::SetFixedDate(std::nullopt); }
};

TEST_F(MailParser, ProgramMessageReadsBackWithTheSameHeadersAndBody) {
  const std::string subject = "ご案内：新製品発表会のお知らせ";
  const std::string body =
      "山田 太郎 様\r\n\r\nいつもお世話になっております。\r\n.で始まる行も届きます。\r\n.\r\n"
      "発表会は十二月六日に開催します。\r\n以上、よろしくお願いいたします。\r\n";
  EmailMessage m;
  m.FromAddress("sender@example.com");
  m.Subject("=?ISO-2022-JP?B?" + fw::EncodeBase64(ToJIS(subject)) + "?= ");
  m.BodyPlainText = ToJIS(body);
  m.Headers.AppendHeader("X-Mailer", "TestMailer 1.0");
  m.AddRecipient("taro@example.com");
  m.Headers.SetHeader("Date", m._GetEmailDateStr(fw::Date()));

  const QJsonObject mail = ParsedByPython(m.Source());
  EXPECT_EQ(mail["names"].toArray(), QJsonArray({"Date", "Subject", "From", "To", "X-Mailer", "Content-type",
                                                 "Content-transfer-encoding"}));
  EXPECT_EQ(mail["date"].toString(), "2026-12-06T13:05:09+09:00");
  EXPECT_EQ(mail["subject"].toString().trimmed().toStdString(), subject);
  EXPECT_EQ(mail["from"].toArray(), QJsonArray({"sender@example.com"}));
  EXPECT_EQ(mail["to"].toArray(), QJsonArray({"taro@example.com"}));
  EXPECT_EQ(mail["mailer"].toString(), "TestMailer 1.0");
  EXPECT_EQ(mail["type"].toString(), "text/plain");
  EXPECT_EQ(mail["defects"].toArray(), QJsonArray());
  ASSERT_EQ(mail["parts"].toArray().size(), 1);
  // The body arrives byte for byte, followed by the line end before the end line.
  EXPECT_EQ(Payload(mail["parts"][0]), ToJIS(body) + "\r\n");
}

TEST_F(MailParser, BodiesAndAttachmentsReadBackAsMultipart) {
  EmailMessage m;
  m.Subject("parts");
  m.AddRecipient("a@example.com");
  m.AddBCCRecipient("hidden@example.com");
  m.BodyPlainText = "plain\r\n.dot";
  m.BodyHTML = "<p>html</p>";
  const std::string binary("\x00\x01\xfe\xff\r\n.\r\n", 8);
  m.Attachments.push_back({"application/octet-stream", "data.bin", binary});
  m.Attachments.push_back({"text/csv", "名簿.csv", "a,b\r\n"});  // a non-ASCII name goes out in RFC 2231 form

  const std::string text = m.Source();
  EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }));  // 7-bit only
  const QJsonObject mail = ParsedByPython(text);
  EXPECT_EQ(mail["type"].toString(), "multipart/mixed");
  EXPECT_EQ(mail["defects"].toArray(), QJsonArray());
  EXPECT_FALSE(mail["names"].toArray().contains("BCC"));
  const QJsonArray parts = mail["parts"].toArray();
  ASSERT_EQ(parts.size(), 4);
  EXPECT_EQ(parts[0]["type"].toString(), "text/plain");
  EXPECT_EQ(Payload(parts[0]), "plain\r\n.dot\r\n");
  EXPECT_EQ(parts[1]["type"].toString(), "text/html");
  EXPECT_EQ(Payload(parts[1]), "<p>html</p>\r\n");
  EXPECT_EQ(parts[2]["filename"].toString(), "data.bin");
  EXPECT_EQ(Payload(parts[2]), binary);
  EXPECT_EQ(parts[3]["type"].toString(), "text/csv");
  EXPECT_EQ(parts[3]["filename"].toString(), QString::fromUtf8("名簿.csv"));
  EXPECT_EQ(Payload(parts[3]), "a,b\r\n");
}

}  // namespace
