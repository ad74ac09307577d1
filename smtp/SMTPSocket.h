#pragma once
// The program's SMTP client: submits its queue of messages to one server, one session per
// connection, driven entirely by the connection's events. The owner appends to Messages and
// calls SendMail; the outcome comes back through MessageSent, MailSent, ServerError and the
// connection's Error.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Event.h"
#include "platform/core/TCPSocket.h"
#include "smtp/EmailMessage.h"

class QTimer;

// Where the client stands in its session: what it sent last, so what the next 250 means.
enum class SessionMode {
  ResetSent = -100,    // RSET after a refusal; its reply moves on to the next message
  Introduced = -1,     // EHLO, or the AUTH command after it
  Ready = 0,           // the next 250 starts a message
  Addressing = 1,      // MAIL FROM, or a RCPT TO that is not the last
  LastRecipient = 2,   // the last RCPT TO
  DataSent = 3,        // DATA; the 354 is still to come
  TextSent = 4,        // the message text
};

// How long the client waits on the server, in milliseconds: for a whole reply, counted from the
// moment what it answers has gone out, and, while the client's own bytes are going out, for any
// of them to go. The defaults are the times RFC 5321 gives.
struct SMTPDeadlines {
  int greeting = 5 * 60000;
  int command = 5 * 60000;   // EHLO, HELO, AUTH and each of its answers, MAIL, RCPT, RSET, QUIT
  int data = 2 * 60000;      // the 354 that answers DATA
  int finalDot = 10 * 60000; // the reply to the message text
  int sending = 3 * 60000;   // while bytes go out: the longest time in which none of them goes
};

class SMTPSocket : public fw::TCPSocket {
 public:
  // A reply longer than this ends the session: no real server sends one.
  static constexpr size_t kMaxReplyBytes = 64 * 1024;
  // The code ServerError carries when the client itself refuses a message (no server code).
  static constexpr int kClientRefusal = 0;

  SMTPSocket();
  ~SMTPSocket() override;

  // The queue; element 0 is the message being sent.
  std::vector<std::shared_ptr<EmailMessage>> Messages;
  // Empty means no authentication.
  std::string Username;
  std::string Password;

  fw::Event<void(std::string greeting)> ConnectionEstablished;
  fw::Event<void(std::shared_ptr<EmailMessage> message)> MessageSent;
  fw::Event<void()> MailSent;
  fw::Event<void(int code, std::string reply, std::shared_ptr<EmailMessage> message)> ServerError;

  // Starts one session that works through the whole queue (port 0 means 25).
  void SendMail();
  // Ends the session with QUIT; the server closes the connection.
  void DisconnectFromServer();
  void DeleteAllMessages();

  // How the client names its own address in EHLO and HELO: "[192.0.2.1]", "[IPv6:::1]" (without a zone).
  static std::string AddressLiteral(std::string_view address);

  // Past one of these the client gives the connection up.
  SMTPDeadlines Deadlines;

 protected:
  void Event_Connected() override;
  void Event_DataAvailable() override;
  void Event_SendComplete(bool userAborted) override;
  void Event_SendProgress(int64_t bytesSent, int64_t bytesLeft) override;
  void Event_Error() override;

 private:
  void _ProcessData(const std::string& reply);
  void _ProcessOK(const std::string& reply);
  using Deadline = int SMTPDeadlines::*;
  // Sends one line; its reply is awaited on that deadline.
  void _SendCommand(std::string_view command, Deadline reply = &SMTPDeadlines::command);
  std::string _GetMessageData(EmailMessage& message);
  static std::string _ConvertAddress(std::string_view address);
  void _BuildRecipientList(const EmailMessage& message);
  void _StartSendingMessage();
  void _NextMessage();
  std::shared_ptr<EmailMessage> _ExtractWorkingMessage();
  // The AUTH command for a mechanism the EHLO reply offers; "" when it offers none the client has.
  std::string _GetAuthenticationKeys(const std::string& ehloReply);
  void _SendIntroduction(std::string_view command, SessionMode mode);
  void _Reset();
  // Takes the head message off the queue, reports it and sends RSET.
  void _Refuse(int code, const std::string& reply);
  // Closes the connection and reports it through Error with this reason.
  void _GiveUp(const std::string& reason);
  // (Re)starts the server's time on that deadline, unless a reply is being handled.
  void _Wait(Deadline deadline);
  // True while the session that was current when `session` was read is still going on.
  bool _StillIn(uint64_t session) const { return session == _session && !_ended; }

  SessionMode _mode = SessionMode::Ready;
  int _nextRecipID = 0;
  std::vector<std::string> _recipients;  // "<address>" each
  std::vector<std::string> _authKeys;    // Base64 answers for the 334 prompts of AUTH LOGIN

  uint64_t _session = 0;       // counts SendMail calls; events of an older session are dropped
  bool _ended = true;          // QUIT sent or the connection lost: nothing more counts
  bool _reading = false;       // a reply is being handled (an owner's handler may be running)
  bool _errorPending = false;  // the connection failed while a reply was being handled
  uint64_t _writes = 0;        // commands written, so a reply's handling knows it sent one
  Deadline _replyDeadline = &SMTPDeadlines::greeting;  // the one of the reply awaited
  Deadline _waitingOn = &SMTPDeadlines::greeting;      // the one the timer runs on
  std::unique_ptr<QTimer> _replyTimer;
};
