// The SMTP client when things go wrong: refusals and RSET, messages the client refuses itself,
// stalled dialogues, lost and refused connections, and events kept to their own session.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include "smtp_client_support.h"

using namespace smtptest;
using SMTPClientRefusal = SMTPClientTest;

namespace {
// Runs the event loop for a while, as a modal alert in a handler does.
void SpinEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}
}  // namespace

TEST_F(SMTPClientRefusal, RefusedRecipientReportsTheWholeReplyThenResets) {
  const std::vector<std::string> replies = {"550 no such user\r\n", "550-first line\r\n550 second line\r\n"};
  for (const std::string& reply : replies)
    server.AddSession(Dialogue()
                          .Greet()
                          .Helo()
                          .Then(kMailFrom, {"250 ok\r\n"})
                          .Then("RCPT TO: <a@example.com>\r\n", {reply})
                          .Then("RSET\r\n", {"250 reset\r\n"})
                          .Quit());
  // The message is already off the queue when the handler runs.
  size_t queuedInHandler = 99;
  client.ServerError.Bind([&](int code, std::string text, std::shared_ptr<EmailMessage> m) {
    queuedInHandler = client.Messages.size();
    events.push_back("ServerError " + std::to_string(code) + " " + text + " / " + m->ToAddress());
  });
  for (size_t i = 0; i < replies.size(); ++i) {
    events.clear();
    Queue("a@example.com");
    Start();
    ASSERT_TRUE(RunsThrough(int(i))) << replies[i];
    const std::string code = replies[i].substr(0, 3);
    EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready",
                                                "ServerError " + code + " " + replies[i] + " / a@example.com", "MailSent"}));
    EXPECT_EQ(queuedInHandler, 0u);
  }
}

TEST_F(SMTPClientRefusal, RefusalWithoutHandlersStillTakesTheMessageOff) {
  SMTPSocket bare;  // nothing bound
  server.AddSession(Dialogue().Greet().Helo().Then(kMailFrom, {"553 bad sender\r\n"}).Then("RSET\r\n", {"250 ok\r\n"}).Quit());
  bare.Messages.push_back(MakeMessage("a@example.com"));
  bare.SetAddress("127.0.0.1");
  bare.SetPort(server.Port());
  bare.SendMail();
  ASSERT_TRUE(RunsThrough());
  EXPECT_TRUE(bare.Messages.empty());
}

TEST_F(SMTPClientRefusal, MessagesTheClientCannotSendAreRefusedBeforeAnyOfThemIsSent) {
  Queue("");                                              // no recipient at all
  Queue("a@example.com")->FromAddress("x@example.com\r\nRCPT TO: <evil@example.com>");
  Queue("b@example.com\nDATA");                           // a line break in a recipient
  Queue("c@example.com");
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Deliver("c@example.com")
                        .Quit());
  Start();
  ASSERT_TRUE(RunsThrough());
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[1], "ServerError 0 メールに宛先がないので、送信しませんでした。 / ");
  EXPECT_EQ(events[2], "ServerError 0 メールのアドレスに改行が含まれているので、送信しませんでした。 / a@example.com");
  EXPECT_EQ(events[3], "ServerError 0 メールのアドレスに改行が含まれているので、送信しませんでした。 / b@example.com\nDATA");
  EXPECT_EQ(events[4], "MessageSent c@example.com");
}

TEST_F(SMTPClientRefusal, RepliesThatStallTheDialogueEndInARefusal) {
  client.Username = "user";
  client.Password = "secret";
  const std::string plain = "auth PLAIN " + Base64(std::string("\0user\0secret", 12)) + "\r\n";
  // A 502 after the introduction, and a prompt for which no answer is queued.
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n250 AUTH PLAIN\r\n"})
                        .Then(plain, {"235 ok\r\n"})
                        .Then(kMailFrom, {"502 not now\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Then(kMailFrom, {"334 more please\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Quit());
  Queue("a@example.com");
  Queue("b@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{
                        "Connected: test.example ESMTP ready", "ServerError 502 502 not now\r\n / a@example.com",
                        "ServerError 0 サーバが認証の応答を求めましたが、送る応答がありません: "
                        "334 more please\r\n / b@example.com",
                        "MailSent"}));
}

TEST_F(SMTPClientRefusal, RefusedResetMovesOnToTheNextMessage) {
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Then(kMailFrom, {"250 ok\r\n"})
                        .Then("RCPT TO: <a@example.com>\r\n", {"550 unknown\r\n"})
                        .Then("RSET\r\n", {"502 no reset here\r\n"})
                        .Deliver("b@example.com")
                        .Quit());
  Queue("a@example.com");
  Queue("b@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready",
                                              "ServerError 550 550 unknown\r\n / a@example.com",
                                              "MessageSent b@example.com", "MailSent"}));
}

TEST_F(SMTPClientRefusal, ServerOutOfStepAfterARefusalGetsNoSecondOne) {
  client.Username = "user";
  client.Password = "secret";
  // An extra 250 after the EHLO reply: the client starts the message before the AUTH prompt
  // comes, and the server takes MAIL FROM as the account.
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {"250-test.example\r\n250 AUTH LOGIN\r\n", "250 ok\r\n"})
                        .Then("auth LOGIN\r\n", {"334 VXNlcm5hbWU6\r\n"})
                        .Then(kMailFrom, {"334 UGFzc3dvcmQ6\r\n"})
                        .Then("RSET\r\n", {"535 authentication failed\r\n"})
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready",
                                              "ServerError 0 サーバが認証の応答を求めましたが、送る応答がありません: "
                                              "334 VXNlcm5hbWU6\r\n / a@example.com",
                                              "MailSent"}));
}

TEST_F(SMTPClientRefusal, LeftoverLoginAnswersAreDroppedByTheNextExchange) {
  client.Username = "user";
  client.Password = "secret";
  const std::string ehloReply = "250-test.example\r\n250 AUTH LOGIN\r\n";
  // The first exchange is refused after its first answer; the password answer is left over.
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {ehloReply})
                        .Then("auth LOGIN\r\n", {"334 VXNlcm5hbWU6\r\n"})
                        .Then(Base64("user") + "\r\n", {"535 no such account\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Quit());
  server.AddSession(Dialogue()
                        .Greet()
                        .Then("EHLO [127.0.0.1]\r\n", {ehloReply})
                        .Login("user", "secret")
                        .Deliver("b@example.com")
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(0));
  Queue("b@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(1));
  EXPECT_EQ(events.back(), "MailSent");
}

TEST_F(SMTPClientRefusal, EmptiedQueueEndsTheSessionInsteadOfReadingIt) {
  // Emptied before the introduction's reply: the session just ends.
  client.ConnectionEstablished.Bind([this](std::string) { client.DeleteAllMessages(); });
  server.AddSession(Dialogue().Greet().Helo().Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(0));
  EXPECT_EQ(events, std::vector<std::string>{"MailSent"});

  // Emptied while DATA waits for its 354: nothing to send, so the session gives up.
  events.clear();
  client.ConnectionEstablished.Bind(nullptr);
  client.Deadlines = Within(300);
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Then(kMailFrom, {"250 ok\r\n"})
                        .Then("RCPT TO: <a@example.com>\r\n", {"250 ok\r\n"})
                        .Then("DATA\r\n", {"", "", "", "", "354 go ahead\r\n"})
                        .Then("RSET\r\n", {}));
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(WaitFor([&] { return server.Received(1).ends_with("DATA\r\n"); }));
  client.DeleteAllMessages();
  ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
  EXPECT_EQ(events[0], "ServerError 0 サーバがメールの本文を求めましたが、送るメールがありません: 354 go ahead\r\n / none");
  EXPECT_EQ(events[1], "Error");
}

TEST_F(SMTPClientRefusal, SilentServerIsGivenUpAfterTheReplyTimeOut) {
  client.Deadlines = Within(300);
  server.AddSession(Dialogue().Greet().Then("HELO [127.0.0.1]\r\n", {}));
  auto message = Queue("a@example.com");
  Start();
  ASSERT_TRUE(WaitFor([&] { return server.Finished(0); }));
  QElapsedTimer waited;
  waited.start();
  ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
  EXPECT_GE(waited.elapsed(), 250);
  EXPECT_EQ(events[1], "Error");
  EXPECT_EQ(client.LastErrorCode(), fw::TCPSocket::kLostConnection);
  EXPECT_EQ(client.LastErrorText(), "サーバから0.3秒以内に応答がありませんでした。");
  EXPECT_FALSE(client.IsConnected());
  EXPECT_EQ(client.Messages, std::vector<std::shared_ptr<EmailMessage>>{message});
  Settle(400);  // reported once
  EXPECT_EQ(events.size(), 2u);
}

// Each wait has RFC 5321's time: the defaults with a minute scaled to 60 ms, against a server
// that falls silent where the row says. The alert names the time the client gave.
TEST_F(SMTPClientRefusal, EachWaitHasTheTimeRFC5321Gives) {
  const SMTPDeadlines rfc;
  client.Deadlines = {rfc.greeting / 1000, rfc.command / 1000, rfc.data / 1000, rfc.finalDot / 1000, rfc.sending / 1000};
  const Dialogue addressed =
      Dialogue().Greet().Helo().Then(kMailFrom, {"250 ok\r\n"}).Then("RCPT TO: <a@example.com>\r\n", {"250 ok\r\n"});
  Queue("a@example.com");
  std::string lines;
  while (lines.size() < 1000000) lines += std::string(78, 'z') + "\r\n";
  std::string longData = DataOf("a@example.com");
  longData.insert(longData.size() - 5, lines);
  struct Row {
    const char* silentAfter;
    Dialogue dialogue;
    const char* text;
  };
  const Row rows[] = {
      {"the connection (5 minutes)", Dialogue().Then("", {}), "サーバから0.3秒以内に応答がありませんでした。"},
      {"HELO (5 minutes)", Dialogue().Greet().Then("HELO [127.0.0.1]\r\n", {}), "サーバから0.3秒以内に応答がありませんでした。"},
      {"DATA (2 minutes)", Dialogue(addressed).Then("DATA\r\n", {}), "サーバから0.12秒以内に応答がありませんでした。"},
      {"the text's final dot (10 minutes)", Dialogue(addressed).Then("DATA\r\n", {"354 go ahead\r\n"}).Then(DataOf("a@example.com"), {}),
       "サーバから0.6秒以内に応答がありませんでした。"},
      // Last: the server reads a few bytes every 10 ms from here on, so a long text stalls.
      {"taking part of a long text (3 minutes)", Dialogue(addressed).Then("DATA\r\n", {"354 go ahead\r\n"}).Then(longData, {}),
       "サーバが0.18秒間、データを受け取りませんでした。"},
  };
  for (const Row& row : rows) {
    if (&row == &rows[4]) {
      server.ReadSlowly(4);
      client.DeleteAllMessages();
      Queue("a@example.com")->BodyPlainText += lines;
    }
    events.clear();
    server.AddSession(row.dialogue);
    Start();
    ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "Error"; }, 10000)) << row.silentAfter;
    EXPECT_EQ(client.LastErrorText(), row.text) << row.silentAfter;
  }
}

TEST_F(SMTPClientRefusal, FinalDotIsGivenLongerThanACommand) {
  // RFC 5321's times with a minute scaled to 100 ms: the text's reply comes long after the
  // minute every reply once had, and after a command's time, and still counts.
  client.Deadlines = {.greeting = 500, .command = 500, .data = 200, .finalDot = 1000, .sending = 300};
  server.AddSession(Dialogue().Greet().Helo().Deliver("a@example.com").Late(700).Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com", "MailSent"}));
}

TEST_F(SMTPClientRefusal, ReplyThatKeepsComingGetsNoMoreTime) {
  client.Deadlines = Within(300);
  // A greeting trickled byte by byte, and a reply that goes on line after line, 40 ms apart.
  std::vector<std::string> trickled, endless;
  for (char c : std::string("220 test.example ESMTP ready, one byte at a time, for ever\r\n")) trickled.push_back({c});
  for (int i = 0; i < 200; ++i) endless.push_back("250-line " + std::to_string(i) + "\r\n");
  server.AddSession(Dialogue().Then("", trickled));
  server.AddSession(Dialogue().Greet().Then("HELO [127.0.0.1]\r\n", endless));
  auto message = Queue("a@example.com");
  for (int connection = 0; connection < 2; ++connection) {
    events.clear();
    QElapsedTimer waited;
    waited.start();
    Start();
    ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "Error"; }, 10000)) << connection;
    EXPECT_LT(waited.elapsed(), 1500) << connection;
    EXPECT_EQ(client.LastErrorText(), "サーバから0.3秒以内に応答がありませんでした。");
    EXPECT_EQ(client.Messages, std::vector<std::shared_ptr<EmailMessage>>{message});
  }
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "Error"}));
}

TEST_F(SMTPClientRefusal, OverLargeReplyEndsTheSession) {
  // One 10 MB line, and continuation lines without end, each written at once.
  std::string lines;
  while (lines.size() < (10u << 20)) lines += "250-" + std::string(70, 'y') + "\r\n";
  server.AddSession(Dialogue().Greet().Helo().Then(kMailFrom, {"550 " + std::string(10u << 20, 'x') + "\r\n"}));
  server.AddSession(Dialogue().Then("", {lines}));
  Queue("a@example.com");
  for (int connection = 0; connection < 2; ++connection) {
    events.clear();
    Start();
    ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "Error"; })) << connection;
    EXPECT_EQ(client.LastErrorText(), "サーバの応答が65536バイトを超えました。");
    EXPECT_EQ(client.Lookahead(), "");
    Settle();
    EXPECT_EQ(std::count(events.begin(), events.end(), "Error"), 1);
    EXPECT_EQ(client.Messages.size(), 1u);
  }
}

TEST_F(SMTPClientRefusal, SlowReaderGetsTheWholeTextBeforeTheReplyTimeOutStarts) {
  client.Deadlines = Within(500);
  server.ReadSlowly(40000);  // about 4 MB/s
  std::string lines;
  while (lines.size() < 4000000) lines += std::string(78, 'z') + "\r\n";
  auto message = Queue("a@example.com");
  message->BodyPlainText += lines;
  std::string data = DataOf("a@example.com");
  data.insert(data.size() - 5, lines);
  server.AddSession(Dialogue().Greet().Helo().Deliver({"<a@example.com>"}, data).Quit());
  QElapsedTimer took;
  took.start();
  Start();
  ASSERT_TRUE(WaitFor([&] { return server.Finished(0) || (!events.empty() && events.back() == "Error"); }, 20000));
  EXPECT_GT(took.elapsed(), 1000) << "the text went out faster than the time-out: nothing tested";
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com", "MailSent"}));
}

TEST_F(SMTPClientRefusal, LostConnectionKeepsTheMessageForTheNextSession) {
  server.AddSession(Dialogue().Greet().Helo().Then(kMailFrom, {}, true));
  server.AddSession(Dialogue().Greet().Helo().Deliver("a@example.com").Deliver("b@example.com").Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
  EXPECT_EQ(events[1], "Error");
  EXPECT_EQ(client.LastErrorCode(), fw::TCPSocket::kLostConnection);
  ASSERT_EQ(client.Messages.size(), 1u);

  events.clear();
  Queue("b@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(1));
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com",
                                              "MessageSent b@example.com", "MailSent"}));
}

TEST_F(SMTPClientRefusal, RefusedConnectionIsReportedThroughError) {
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const int port = closed.serverPort();
  closed.close();
  Queue("a@example.com");
  client.SetAddress("127.0.0.1");
  client.SetPort(port);
  client.SendMail();
  ASSERT_TRUE(WaitFor([&] { return !events.empty(); }));
  Settle();
  EXPECT_EQ(events, std::vector<std::string>{"Error"});
  EXPECT_EQ(client.LastErrorCode(), fw::TCPSocket::kLostConnection);
  EXPECT_NE(client.LastErrorText(), "");
  EXPECT_EQ(client.Messages.size(), 1u);
}

TEST_F(SMTPClientRefusal, AnEndedSessionNeverActsForTheNextMessage) {
  // The next message is queued when MailSent is raised, before QUIT. The old connection then
  // answers QUIT wrongly and is closed late: neither reaches that message.
  client.MailSent.Bind([this] {
    events.push_back("MailSent");
    if (server.Connections() == 1) Queue("b@example.com");
  });
  server.AddSession(Dialogue().Greet().Helo().Deliver("a@example.com").Then("QUIT\r\n", {"250 ok\r\n"}));
  server.AddSession(Dialogue().Greet().Helo().Deliver("b@example.com").Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(0));  // no command after QUIT
  server.Close(0);
  Settle();
  EXPECT_EQ(events.back(), "MailSent");
  EXPECT_EQ(client.Messages.size(), 1u);

  events.clear();
  Start();
  ASSERT_TRUE(RunsThrough(1));
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent b@example.com", "MailSent"}));
}

TEST_F(SMTPClientRefusal, ConnectionNewsWaitsUntilTheHandlerReturns) {
  client.ServerError.Bind([&](int code, std::string, std::shared_ptr<EmailMessage>) {
    events.push_back("ServerError " + std::to_string(code) + " begins");
    SpinEventLoop(400);
    events.push_back("ServerError ends");
  });
  // The server's close while the handler runs is reported after it.
  server.AddSession(Dialogue().Then("", {"554 go away\r\n"}, true));
  // More data while the handler runs is handled after it: the 421 answers for the RSET that
  // could not be sent, and the session ends.
  server.AddSession(Dialogue().Then("", {"554 go away\r\n", "", "", "421 closing\r\n"}, true));
  for (const char* last : {"Error", "MailSent"}) {
    events.clear();
    Queue("a@example.com");
    Start();
    ASSERT_TRUE(WaitFor([&] { return events.size() == 3; }));
    Settle();
    EXPECT_EQ(events, (std::vector<std::string>{"ServerError 554 begins", "ServerError ends", last}));
  }
}

TEST_F(SMTPClientRefusal, HandlersTimeIsNotCountedAsTheServers) {
  client.Deadlines = Within(100);
  client.ServerError.Bind([&](int code, std::string, std::shared_ptr<EmailMessage>) {
    events.push_back("ServerError " + std::to_string(code));
    SpinEventLoop(400);
  });
  server.AddSession(Dialogue()
                        .Greet()
                        .Helo()
                        .Then(kMailFrom, {"553 bad sender\r\n"})
                        .Then("RSET\r\n", {"250 ok\r\n"})
                        .Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough());
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "ServerError 553", "MailSent"}));
}

TEST_F(SMTPClientRefusal, HandlerThatStartsANewSessionHandsOverToIt) {
  client.MailSent.Bind([this] {
    events.push_back("MailSent");
    if (server.Connections() == 1) {
      Queue("b@example.com");
      Start();
    }
  });
  server.AddSession(Dialogue().Greet().Helo().Deliver("a@example.com"));
  server.AddSession(Dialogue().Greet().Helo().Deliver("b@example.com").Quit());
  Queue("a@example.com");
  Start();
  ASSERT_TRUE(RunsThrough(1));
  EXPECT_EQ(events, (std::vector<std::string>{"Connected: test.example ESMTP ready", "MessageSent a@example.com", "MailSent",
                                              "Connected: test.example ESMTP ready", "MessageSent b@example.com", "MailSent"}));
}
