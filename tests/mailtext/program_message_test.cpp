// The message the program sends to one recipient, compared byte for byte with the text after
// DATA (the SMTP client adds only the "Date" header).
#include <QJsonObject>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <regex>

#include "mailtext/ProgramMessage.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"
#include "smtp/SMTPSocket.h"
#include "tests/mailtext/EscapeChecks.h"
#include "tests/support/LocalSmtpServer.h"

namespace {

// The text in Unicode's decomposed form, as a Mac saves it: ガ as カ and U+3099.
std::string Decomposed(const char* text) {
  return QString::fromUtf8(text).normalized(QString::NormalizationForm_D).toStdString();
}

TEST(ProgramMessage, RowTemplateAndSettingsGiveTheWholeMessageText) {
  ProgramMessageParts parts{.To = {"山田 太郎", "taro@example.jp"},
                            .Name = "山田 太郎",
                            .Subject = "お知らせ",
                            .Honorific = "様",
                            .Body = "本文です。\n二行目\r三行目\r\nend",
                            .Sender = {"Hanako \"Hana\" S.", "hanako@example.jp"},
                            .Mailer = "メーラ 1.0"};
  std::string text = ComposeMessage(parts)->Source();

  // The Message-ID is unique to each message: its shape is checked, then it is left out.
  const std::regex id("Message-ID: <[0-9a-f]+\\.[0-9a-f]{16}@example\\.jp>\r\n");
  std::smatch found;
  ASSERT_TRUE(std::regex_search(text, found, id)) << text;
  text.erase(size_t(found.position(0)), size_t(found.length(0)));

  // The ISO-2022-JP bytes and Base64 as Python's codecs give them.
  EXPECT_EQ(text,
            "Subject: =?ISO-2022-JP?B?GyRCJCpDTiRpJDsbKEI=?= \r\n"
            "From: \"Hanako \\\"Hana\\\" S.\" <hanako@example.jp>\r\n"
            "To: =?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?= <taro@example.jp>\r\n"
            "X-Mailer: =?ISO-2022-JP?B?GyRCJWEhPCVpGyhCIDEuMA==?= \r\n"
            "MIME-Version: 1.0\r\n"
            "Content-type: text/plain; charset=ISO-2022-JP\r\n"
            "Content-transfer-encoding: 7bit\r\n"
            "\r\n"
            "\x1b$B;3ED\x1b(B \x1b$BB@O:\x1b(B \x1b$BMM\x1b(B\r\n"
            "\r\n"
            "\x1b$BK\\J8$G$9!#\x1b(B\r\n"
            "\x1b$BFs9TL\\\x1b(B\r\n"
            "\x1b$B;09TL\\\x1b(B\r\n"
            "end\r\n"
            ".");
}

// Every text of the message written decomposed reaches a reader composed, through a real
// server; a sound mark with nothing to combine with, or whose voiced kana JIS lacks (ゔ),
// becomes the spacing mark. A kanji JIS lacks (髙, 﨑) becomes 〓 inside its stretch of kanji:
// an escape followed by another is an error to readers that follow the WHATWG Encoding Standard.
TEST(ProgramMessage, DecomposedKanaAndKanjiJISLacksArriveAsReadersReadThem) {
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  ProgramMessageParts parts{.To = {Decomposed("ゴトウ"), "goto@example.jp"},
                            .Name = Decomposed("髙橋 ゴロウ"),
                            .Subject = Decomposed("山﨑ガイドブックのご案内"),
                            .Honorific = Decomposed("さま"),
                            .Body = Decomposed("パンフレットをお送りします。\nゔ") + "\n\u3099\u309A",
                            .Sender = {"", "info@example.jp"},
                            .Mailer = Decomposed("ポスタリオ")};
  SMTPSocket client;
  client.SetAddress("127.0.0.1");
  client.SetPort(server.Port());
  bool sent = false;
  client.MailSent.Bind([&] { sent = true; });
  client.Messages.push_back(ComposeMessage(parts));
  client.SendMail();
  ASSERT_TRUE(QTest::qWaitFor([&] { return sent; }, 20000));

  const QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 1);
  const QJsonObject m = mail[0].toObject();
  EXPECT_EQ(m["Subject"].toString().toStdString(), "山〓ガイドブックのご案内 ");
  EXPECT_EQ(m["To"].toArray(), (QJsonArray{"ゴトウ", "goto@example.jp"}));
  EXPECT_EQ(m["X-Mailer"].toString().toStdString(), "ポスタリオ ");
  EXPECT_EQ(m["body"].toString().toStdString(), "〓橋 ゴロウ さま\r\n\r\nパンフレットをお送りします。\r\nう゛\r\n゛゜\r\n");

  // The message's bytes, its encoded words decoded: 〓 (2/14) goes on into 橋 and after 山.
  const std::string raw = server.Raw(1);
  std::string text = raw;
  const std::regex word("=\\?ISO-2022-JP\\?B\\?([A-Za-z0-9+/=]*)\\?=");
  for (auto w = std::sregex_iterator(raw.begin(), raw.end(), word); w != std::sregex_iterator(); ++w)
    text += "\n" + fw::DecodeBase64((*w)[1].str());
  EXPECT_NE(text.find("\x1b$B\"\x2e\x36\x36"), std::string::npos);
  EXPECT_NE(text.find("\x1b$B\x3b\x33\"\x2e"), std::string::npos);
  EXPECT_EQ(EscapeAfterEscape(text), std::string::npos) << "escapes in a row";
}

}  // namespace
