// The SMTP client's dialogue against a scripted server: introductions, both kinds of
// authentication and their fall-backs, reply reading, recipients, the message text, several
// messages in one session, and the session's end.
#include <QTest>

#include "platform/core/Strings.h"

#include "smtp_client_support.h"

using namespace smtptest;
using SMTPClientDialogue = SMTPClientTest;

TEST_F(SMTPClientDialogue, HeloSessionDeliversAndEndsWithQuitAlone) {
  server.AddSession(Dialogue().Greet().Helo().Deliver("a@example.com").Quit());
  auto message = Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  // 221 and the server's close after QUIT change nothing and report nothing.
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com", "MailSent"}));
  EXPECT_TRUE(client.Messages.empty());
  EXPECT_EQ(message->Headers.Value("Date"), kDate);  // the header the client added stays
}

TEST_F(SMTPClientDialogue, AuthLoginAnswersEachPromptWithOneBase64Line) {
  // Long credentials must still give one line each.
  client.Username = std::string(120, 'u') + "@example.com";
  client.Password = std::string(200, 'p');
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n250-AUTH PLAIN LOGIN\r\n250 OK\r\n"})
                        .Login(client.Username, client.Password)
                        .Deliver("a@example.com")
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientDialogue, AuthPlainWhenOfferedWithoutLogin) {
  client.Username = "user";
  client.Password = "secret";
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n250 AUTH CRAM-MD5 PLAIN\r\n"})
                        .Then("auth PLAIN " + Base64(std::string("\0user\0secret", 12)) + "\r\n", {"235 ok\r\n"})
                        .Deliver("a@example.com")
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientDialogue, CredentialsGoOnlyWithAMechanismTheServerOffers) {
  client.Username = "user";
  client.Password = "secret";
  // No AUTH at all, none the client knows, and "LOGIN" only in the server's name: the session
  // goes on unauthenticated and the server decides.
  const std::vector<std::string> replies = {"250 test.example\r\n", "250-test.example\r\n250 AUTH CRAM-MD5\r\n",
                                            "250-login.example\r\n250 HELP\r\n"};
  for (const std::string& reply : replies)
    server.AddSession(Dialogue().Greet().Then("EHLO [127.0.0.1]\r\n", {reply}).Deliver("a@example.com").Quit());
  for (int connection = 0; connection < int(replies.size()); ++connection) {
    Queue("a@example.com");
    Start();
    ASSERT_TRUE(RunsThrough(connection)) << replies[size_t(connection)];
    EXPECT_EQ(events.back(), "MailSent");
  }
}

TEST_F(SMTPClientDialogue, IntroductionNamesAnIPv6AddressAsSuch) {
  EXPECT_EQ(SMTPSocket::AddressLiteral("127.0.0.1"), "[127.0.0.1]");
  EXPECT_EQ(SMTPSocket::AddressLiteral("::1"), "[IPv6:::1]");
  EXPECT_EQ(SMTPSocket::AddressLiteral("2001:db8::25"), "[IPv6:2001:db8::25]");
  EXPECT_EQ(SMTPSocket::AddressLiteral("fe80::1%lo"), "[IPv6:fe80::1]");
}

TEST_F(SMTPClientDialogue, RefusedEhloOrAuthFallsBackToHelo) {
  client.Username = "user";
  client.Password = "secret";
  const std::string plain = "auth PLAIN " + Base64(std::string("\0user\0secret", 12)) + "\r\n";
  for (const std::string refusal : {"500 unknown\r\n", "502 not implemented\r\n"}) {
    // Refused at EHLO, then refused at the AUTH command.
    server.AddSession(Dialogue().Greet().Then("EHLO [127.0.0.1]\r\n", {refusal}).Helo().Deliver("a@example.com").Quit());
    server.AddSession(Dialogue()
                          .Greet()
                          .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n250 AUTH PLAIN\r\n"})
                          .Then(plain, {refusal})
                          .Helo()
                          .Deliver("a@example.com")
                          .Quit());
  }
  for (int connection = 0; connection < 4; ++connection) {
    Queue("a@example.com");
    Start();
    ASSERT_TRUE(RunsThrough(connection)) << connection;
  }
  EXPECT_EQ(std::count(events.begin(), events.end(), "MailSent"), 4);
  EXPECT_EQ(std::count(events.begin(), events.end(), "MessageSent a@example.com"), 4);
}

TEST_F(SMTPClientDialogue, RepliesAreReadWholeAndOnlyOnceTheyEndInCrLf) {
  // A greeting in three pieces and a two-line reply in one piece each give one answer.
  server.AddSession(Dialogue()
                        .Then("", {"220 test", ".example", " ESMTP ready\r\n"})
                        .Then("HELO [127.0.0.1]\r\n", {"250-test.example\r\n250 SIZE 1000\r\n"})
                        .Then(kMailFrom, {"25", "0 ok\r\n"})
                        .Then("RCPT TO: <a@example.com>\r\n", {"250 ok\r\n"})
                        .Then("DATA\r\n", {"354 go ahead\r\n"})
                        .Then(DataOf("a@example.com"), {"250 queued\r\n"})
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.front(), "Connected: test.example ESMTP ready");
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientDialogue, RepliesWhoseLinesEndInLfAloneAreRead) {
  client.Username = "user";
  client.Password = "secret";
  std::vector<Step> steps = Dialogue()
                                .Greet()
                                .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n", "250-AUTH LOGIN\r\n", "250 HELP\r\n"})
                                .Login("user", "secret")
                                .Deliver("a@example.com")
                                .Quit();
  for (Step& step : steps)
    for (std::string& reply : step.replies) reply = fw::ReplaceAll(reply, "\r\n", "\n");
  server.AddSession(steps);
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com", "MailSent"}));
}

TEST_F(SMTPClientDialogue, MultiLineReplyWrittenLineByLineIsOneReply) {
  // Servers such as aiosmtpd write each line of the EHLO reply on its own; answering the first
  // line alone would send AUTH twice.
  client.Username = "user";
  client.Password = "secret";
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n",
                              {"250-test.example\r\n", "250-SIZE 1000\r\n", "250-AUTH LOGIN PLAIN\r\n", "250 HELP\r\n"})
                        .Login("user", "secret")
                        .Deliver("a@example.com")
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientDialogue, EnvelopeHoldsToCcAndBccInOrder) {
  auto message = MakeMessage("Some One <a@example.com>");
  message->AddRecipient(" b@example.com ");
  message->AddCCRecipient("c@example.com");
  message->AddBCCRecipient("<d@example.com> (hidden)");
  client.Messages.push_back(message);
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Deliver({"<a@example.com>", "<b@example.com>", "<c@example.com>", "<d@example.com>"},
                                 DataOf("Some One <a@example.com>,  b@example.com ", "CC: c@example.com\r\n"))
                        .Quit());
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.back(), "MailSent");
}

// But the server's goodbye, 221, accepts nothing: the client goes no further.
TEST_F(SMTPClientDialogue, AnySuccessAcceptsARecipient) {
  client.Deadlines = Within(300);
  auto message = MakeMessage("a@example.com");
  message->AddRecipient("b@example.com");
  client.Messages.push_back(message);
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Then(kMailFrom, {"250 ok\r\n"})
                        .Then("RCPT TO: <a@example.com>\r\n", {"251 User not local; will forward\r\n"})
                        .Then("RCPT TO: <b@example.com>\r\n", {"252 Cannot VRFY user, but will accept message\r\n"})
                        .Then("DATA\r\n", {"354 go ahead\r\n"})
                        .Then(DataOf("a@example.com, b@example.com"), {"250 queued\r\n"})
                        .Then(kMailFrom, {"221 closing\r\n"}));
  Queue("c@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  ASSERT_TRUE(WaitFor([&] { return events.back() == "Error"; }));
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready",
                                              "MessageSent a@example.com, b@example.com", "Error"}));
}

TEST_F(SMTPClientDialogue, QueuedMessagesShareOneSession) {
  Queue("a@example.com");
  Queue("b@example.com");
  // A message appended while the session runs goes out in it too.
  client.MessageSent.Bind([this](std::shared_ptr<EmailMessage> m) {
    events.push_back("MessageSent " + m->ToAddress());
    if (m->ToAddress() == "a@example.com") Queue("c@example.com");
  });
  server.AddSession(
      Dialogue().Greet().Helo().Deliver("a@example.com").Deliver("b@example.com").Deliver("c@example.com").Quit());
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com",
                                              "MessageSent b@example.com", "MessageSent c@example.com", "MailSent"}));
}

TEST_F(SMTPClientDialogue, GreetingWithEmptyQueueQuitsWithoutAnyEvent) {
  server.AddSession(Dialogue().Greet().Quit());
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_TRUE(events.empty());
}

TEST_F(SMTPClientDialogue, DateHeaderOfTheMessageIsKept) {
  auto message = Queue("a@example.com");
  message->Headers.SetHeader("Date", "Mon, 1 Jan 2024 00:00:00 +0000");
  std::string data = DataOf("a@example.com");
  data.replace(data.find(kDate), std::string(kDate).size(), "Mon, 1 Jan 2024 00:00:00 +0000");
  server.AddSession(Dialogue().Greet().Helo().Deliver({"<a@example.com>"}, data).Quit());
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientDialogue, PortZeroMeansPort25) {
  // No address: the connection fails without contacting anything, after the port is chosen.
  Queue("a@example.com");
  client.SetPort(0);
  client.SendMail();
  EXPECT_EQ(client.Port(), 25);
  ASSERT_TRUE(WaitFor([&] { return !events.empty(); }));
  EXPECT_EQ(events, std::vector<std::string>{"Error"});
  EXPECT_EQ(client.Messages.size(), 1u);
}
