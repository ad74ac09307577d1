#pragma once
// Shared pieces of the SMTP client's tests: a client whose events are all recorded, the test
// message and its expected text, and builders for the usual steps of a scripted dialogue.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "smtp/SMTPSocket.h"
#include "smtp_client_scripted_server.h"

namespace smtptest {

// The date every test message gets: a Sunday, nine hours east of GMT.
inline constexpr const char* kDate = "Sun, 6 Dec 2026 13:05:09 +0900";
inline constexpr const char* kSender = "sender@example.com";
inline constexpr const char* kGreeting = "220 test.example ESMTP ready\r\n";
// The client's MAIL command for a message from kSender.
inline const std::string kMailFrom = std::string("MAIL FROM: <") + kSender + ">\r\n";

// A message from kSender to `to` with the subject "Hi" and a body holding a line that begins
// with "." (sent with a second one).
std::shared_ptr<EmailMessage> MakeMessage(const std::string& to, const std::string& from = kSender);
// Its text after DATA as the client must send it, with the "Date" header the client adds.
std::string DataOf(const std::string& to, const std::string& extraHeaders = "");

// The steps of a dialogue, built in order.
struct Dialogue {
  std::vector<Step> steps;
  Dialogue& Then(std::string expect, std::vector<std::string> replies, bool close = false);
  Dialogue& Greet(const std::string& greeting = kGreeting);
  Dialogue& Helo();
  // AUTH LOGIN answered with the user's and the password's Base64, then accepted.
  Dialogue& Login(const std::string& user, const std::string& password);
  // MAIL FROM, one RCPT TO per entry, DATA and the text, each accepted.
  Dialogue& Deliver(const std::vector<std::string>& recipients, const std::string& data);
  Dialogue& Deliver(const std::string& to) { return Deliver({"<" + to + ">"}, DataOf(to)); }
  Dialogue& Quit();
  // The last step's server takes this long before it replies.
  Dialogue& Late(int ms);
  operator std::vector<Step>() const { return steps; }
};

std::string Base64(const std::string& bytes);

// The same time for every wait of the client.
inline SMTPDeadlines Within(int ms) { return {ms, ms, ms, ms, ms}; }

class SMTPClientTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Binds every event of the client to the record in `events`.
  void Record();
  // Points the client at the scripted server and starts a session.
  void Start();
  std::shared_ptr<EmailMessage> Queue(const std::string& to);
  bool WaitFor(const std::function<bool()>& done, int ms = 5000);
  // Waits for the scripted dialogue of that connection to end, then a little longer, so that a
  // late command or event would show.
  bool RunsThrough(int connection = 0);
  void Settle(int ms = 150);

  ScriptedServer server;
  SMTPSocket client;
  std::vector<std::string> events;
};

}  // namespace smtptest
