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

class SMTPSocket : public fw::TCPSocket {
 public:
  static constexpr int kDefaultReplyTimeoutMs = 60000;
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

  // How long the client waits for a whole reply, counted from the moment its command or
  // message text has gone out, before it gives the connection up. While its own bytes are still
  // going out, it gives up when none of them has gone for that long.
  int ReplyTimeout() const { return _replyTimeoutMs; }
  void SetReplyTimeout(int milliseconds) { _replyTimeoutMs = milliseconds; }

 protected:
  void Event_Connected() override;
  void Event_DataAvailable() override;
  void Event_SendComplete(bool userAborted) override;
  void Event_SendProgress(int64_t bytesSent, int64_t bytesLeft) override;
  void Event_Error() override;

 private:
  void _ProcessData(const std::string& reply);
  void _ProcessOK(const std::string& reply);
  void _SendCommand(std::string_view command);
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
  // (Re)starts the time the server has for its next reply.
  void _AwaitReply();
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
  int _replyTimeoutMs = kDefaultReplyTimeoutMs;
  std::unique_ptr<QTimer> _replyTimer;
};
