#include "smtp_client_support.h"

#include <QByteArray>
#include <QTest>

#include "platform/core/DateTime.h"

namespace smtptest {

std::shared_ptr<EmailMessage> MakeMessage(const std::string& to, const std::string& from) {
  auto message = std::make_shared<EmailMessage>();
  message->FromAddress(from);
  message->Subject("Hi");
  message->BodyPlainText = "Hello\r\n.dot\r\n";
  message->AddRecipient(to);
  return message;
}

std::string DataOf(const std::string& to, const std::string& extraHeaders) {
  return std::string("Date: ") + kDate + "\r\nSubject: Hi\r\nFrom: " + kSender + "\r\nTo: " + to + "\r\n" + extraHeaders +
         "Content-type: text/plain;\r\nContent-transfer-encoding: 7bit\r\n\r\nHello\r\n..dot\r\n\r\n.\r\n";
}

Dialogue& Dialogue::Then(std::string expect, std::vector<std::string> replies, bool close) {
  steps.push_back({std::move(expect), std::move(replies), close});
  return *this;
}

Dialogue& Dialogue::Greet(const std::string& greeting) { return Then("", {greeting}); }

Dialogue& Dialogue::Helo() { return Then("HELO [127.0.0.1]\r\n", {"250 test.example\r\n"}); }

Dialogue& Dialogue::Login(const std::string& user, const std::string& password) {
  Then("auth LOGIN\r\n", {"334 VXNlcm5hbWU6\r\n"});
  Then(Base64(user) + "\r\n", {"334 UGFzc3dvcmQ6\r\n"});
  return Then(Base64(password) + "\r\n", {"235 accepted\r\n"});
}

Dialogue& Dialogue::Deliver(const std::vector<std::string>& recipients, const std::string& data) {
  Then(kMailFrom, {"250 sender ok\r\n"});
  for (const std::string& recipient : recipients) Then("RCPT TO: " + recipient + "\r\n", {"250 recipient ok\r\n"});
  Then("DATA\r\n", {"354 go ahead\r\n"});
  return Then(data, {"250 queued\r\n"});
}

Dialogue& Dialogue::Quit() { return Then("QUIT\r\n", {"221 bye\r\n"}, true); }

Dialogue& Dialogue::Late(int ms) {
  steps.back().delayMs = ms;
  return *this;
}

std::string Base64(const std::string& bytes) {
  return QByteArray(bytes.data(), qsizetype(bytes.size())).toBase64().toStdString();
}

void SMTPClientTest::SetUp() {
  fw::testing::SetFixedDate(fw::testing::FixedDate{2026, 12, 6, 13, 5, 9, 9.0});
  client.Deadlines = Within(5000);
  Record();
}

void SMTPClientTest::TearDown() {
  fw::testing::SetFixedDate(std::nullopt);
  EXPECT_EQ(server.Mismatch(), "");
}

void SMTPClientTest::Record() {
  client.ConnectionEstablished.Bind([this](std::string greeting) { events.push_back("Connected: " + greeting); });
  client.MessageSent.Bind([this](std::shared_ptr<EmailMessage> m) { events.push_back("MessageSent " + m->ToAddress()); });
  client.MailSent.Bind([this] { events.push_back("MailSent"); });
  client.ServerError.Bind([this](int code, std::string reply, std::shared_ptr<EmailMessage> m) {
    events.push_back("ServerError " + std::to_string(code) + " " + reply + " / " + (m ? m->ToAddress() : "none"));
  });
  client.Error.Bind([this] { events.push_back("Error"); });
}

void SMTPClientTest::Start() {
  client.SetAddress("127.0.0.1");
  client.SetPort(server.Port());
  client.SendMail();
}

std::shared_ptr<EmailMessage> SMTPClientTest::Queue(const std::string& to) {
  client.Messages.push_back(MakeMessage(to));
  return client.Messages.back();
}

bool SMTPClientTest::WaitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

bool SMTPClientTest::RunsThrough(int connection) {
  const bool finished = WaitFor([&] { return server.Finished(connection) || !server.Mismatch().empty(); });
  Settle();
  return finished && server.Mismatch().empty();
}

void SMTPClientTest::Settle(int ms) { QTest::qWait(ms); }

}  // namespace smtptest
