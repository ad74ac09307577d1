// The SMTP client against a real SMTP server (aiosmtpd, started by the test on 127.0.0.1):
// messages arrive byte for byte with and without authentication, and a wrong password comes
// back as the server's refusal.
#include <QJsonArray>
#include <QJsonObject>

#include "smtp_client_support.h"
#include "tests/support/LocalSmtpServer.h"

using namespace smtptest;

namespace {

class SMTPClientRealServer : public SMTPClientTest {
 protected:
  void Send(const testsupport::LocalSmtpServer& server) {
    client.SetAddress("127.0.0.1");
    client.SetPort(server.Port());
    client.SendMail();
  }
};

// A header block and body as the server must store them: the transparency dot removed, the
// final "." line gone.
std::string StoredText(const std::string& to) {
  std::string text = DataOf(to);
  text.erase(text.size() - 3);  // ".\r\n"
  text.replace(text.find("\r\n..dot"), 7, "\r\n.dot");
  return text;
}

}  // namespace

TEST_F(SMTPClientRealServer, MessagesArriveByteForByteWithoutAuthentication) {
  testsupport::LocalSmtpServer server;
  ASSERT_TRUE(server.Started());
  Queue("a@example.com");
  Queue("Some One <b@example.com>");
  Send(server);
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "MailSent"; }));
  EXPECT_EQ(events, (std::vector<std::string>{events.front(), "MessageSent a@example.com",
                                              "MessageSent Some One <b@example.com>", "MailSent"}));
  EXPECT_EQ(server.Raw(1), StoredText("a@example.com"));
  EXPECT_EQ(server.Raw(2), StoredText("Some One <b@example.com>"));
  const QJsonArray mail = server.ReadBack();
  ASSERT_EQ(mail.size(), 2);
  EXPECT_EQ(mail[1].toObject()["envelope_from"].toString(), kSender);
  EXPECT_EQ(mail[1].toObject()["envelope_to"].toArray(), QJsonArray{"b@example.com"});
}

TEST_F(SMTPClientRealServer, AuthenticatedMessageArrivesByteForByte) {
  testsupport::LocalSmtpServer server("user@example.com", "pässwörd");
  ASSERT_TRUE(server.Started());
  client.Username = "user@example.com";
  client.Password = "pässwörd";
  Queue("a@example.com");
  Send(server);
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "MailSent"; }));
  EXPECT_EQ(events[1], "MessageSent a@example.com");
  EXPECT_EQ(server.Raw(1), StoredText("a@example.com"));
}

TEST_F(SMTPClientRealServer, WrongPasswordComesBackAsTheServersRefusal) {
  testsupport::LocalSmtpServer server("user@example.com", "right");
  ASSERT_TRUE(server.Started());
  client.Username = "user@example.com";
  client.Password = "wrong";
  client.Deadlines = Within(2000);
  Queue("a@example.com");
  Send(server);
  // A server that never answers the wrong password would end in the reply time-out's Error.
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && (events.back() == "MailSent" || events.back() == "Error"); }));
  ASSERT_EQ(events.size(), 3u) << "no reply to the wrong password: " << events.back();
  EXPECT_TRUE(events[1].starts_with("ServerError 535 535 ")) << events[1];
  EXPECT_TRUE(events[1].ends_with("\r\n / a@example.com")) << events[1];
  EXPECT_TRUE(client.Messages.empty());
  EXPECT_EQ(server.Count(), 0);
}
