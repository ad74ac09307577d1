// The message the program sends to one recipient, compared byte for byte with the text after
// DATA (the SMTP client adds only the "Date" header).
#include <gtest/gtest.h>

#include <regex>

#include "mailtext/ProgramMessage.h"
#include "smtp/EmailMessage.h"

namespace {

TEST(ProgramMessage, RowTemplateAndSettingsGiveTheWholeMessageText) {
  ProgramMessageParts parts{.To = {"山田 太郎", "taro@example.jp"},
                            .Name = "山田 太郎",
                            .Subject = "お知らせ",
                            .Honorific = "様",
                            .Body = "本文です。\n二行目\r三行目\r\nend",
                            .Sender = {"Hanako S.", "hanako@example.jp"},
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
            "From: \"Hanako S.\" <hanako@example.jp>\r\n"
            "To: =?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?= <taro@example.jp>\r\n"
            "X-Mailer: =?ISO-2022-JP?B?GyRCJWEhPCVpGyhCIDEuMA==?= \r\n"
            "Mime-Version: 1.0\r\n"
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

}  // namespace
