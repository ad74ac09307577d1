// The SMTP client's connection side: starting and ending a session, reading replies, the
// deadlines the server has, and which connection errors reach the owner.
#include "smtp/SMTPSocket.h"

#include <QTimer>
#include <cctype>
#include <string_view>

#include "platform/core/Strings.h"
#include "platform/core/Thread.h"

namespace {

// True when the buffered data ends a line (at LF, with or without CR) that is not a continuation
// line ("250-"): servers may write the lines of a multi-line reply one by one.
bool EndsWithWholeReply(std::string_view buffered) {
  if (!buffered.ends_with('\n')) return false;
  std::string_view last = buffered.substr(0, buffered.size() - 1);
  if (const size_t cut = last.rfind('\n'); cut != std::string_view::npos) last.remove_prefix(cut + 1);
  auto digit = [&](size_t i) { return std::isdigit(static_cast<unsigned char>(last[i])) != 0; };
  return !(last.size() >= 4 && digit(0) && digit(1) && digit(2) && last[3] == '-');
}

// A time as a person reads it: "5分", or "0.3秒" when it is not whole minutes.
std::string Duration(int ms) {
  return ms >= 60000 && ms % 60000 == 0 ? fw::Str(ms / 60000) + "分" : fw::Str(ms / 1000.0) + "秒";
}

}  // namespace

SMTPSocket::SMTPSocket() : _replyTimer(std::make_unique<QTimer>()) {
  _replyTimer->setSingleShot(true);
  QObject::connect(_replyTimer.get(), &QTimer::timeout, [this] {
    const std::string time = Duration(Deadlines.*_waitingOn);
    _GiveUp(_waitingOn == &SMTPDeadlines::sending ? "サーバが" + time + "間、データを受け取りませんでした。"
                                                  : "サーバから" + time + "以内に応答がありませんでした。");
  });
}

SMTPSocket::~SMTPSocket() = default;

void SMTPSocket::SendMail() {
  if (Port() == 0) SetPort(25);
  ++_session;
  _ended = false;
  _reading = false;
  _errorPending = false;
  // Armed first: a connection that fails at once stops it again.
  _replyDeadline = &SMTPDeadlines::greeting;
  _Wait(_replyDeadline);
  Connect();
}

void SMTPSocket::DisconnectFromServer() {
  _mode = SessionMode::Ready;
  _nextRecipID = 0;
  _SendCommand("QUIT");
  // The session is over: its outcome has been reported, so neither the reply nor the server's
  // close of the connection counts any more.
  _ended = true;
  _replyTimer->stop();
}

void SMTPSocket::DeleteAllMessages() { Messages.clear(); }

void SMTPSocket::Event_Connected() { _mode = SessionMode::Ready; }

void SMTPSocket::Event_SendComplete(bool) { _Wait(_replyDeadline); }

void SMTPSocket::Event_SendProgress(int64_t, int64_t) { _Wait(&SMTPDeadlines::sending); }

void SMTPSocket::_Wait(Deadline deadline) {
  // While a reply is handled, the time is set once its handling is over.
  if (_reading || _ended) return;
  _waitingOn = deadline;
  _replyTimer->start(Deadlines.*deadline);
}

void SMTPSocket::Event_DataAvailable() {
  // Checked first, so that the buffer stays bounded also while a handler runs.
  if (Lookahead().size() > kMaxReplyBytes)
    return _GiveUp("サーバの応答が" + fw::Str(int64_t(kMaxReplyBytes)) + "バイトを超えました。");
  // Data that arrives while a reply is handled (inside an owner's modal alert, say) stays
  // buffered; the loop below takes it up once the handler returns.
  if (_reading) return;
  const uint64_t session = _session;
  const uint64_t writes = _writes;
  bool replied = false;
  int remaining = 0;  // the server's time left when its reply was whole
  _reading = true;
  size_t seen = 0;
  // A reply is everything buffered once the buffer ends with a reply's last line. Data
  // without it waits; the loop looks again, yielding, only while the buffer grows. Pieces of a
  // reply do not give the server more time.
  while (_StillIn(session)) {
    if (EndsWithWholeReply(Lookahead())) {
      if (!replied) {
        // The time for a person to answer an alert in a handler is not the server's.
        replied = true;
        remaining = _replyTimer->remainingTime();
        _replyTimer->stop();
      }
      _ProcessData(ReadAll());
      seen = 0;
    }
    const size_t buffered = Lookahead().size();
    if (buffered == 0 || buffered == seen) break;
    seen = buffered;
    fw::YieldToNextThread();
  }
  if (session != _session) return;  // a handler started a new session, which owns the state now
  _reading = false;
  if (_errorPending) {
    _errorPending = false;
    Event_Error();
  } else if (!_ended && replied) {
    // A command sent gets its whole time, counted again once it has gone out; a reply that
    // asked for nothing leaves the server only the time it had left.
    if (_writes != writes || remaining < 0)
      _Wait(_replyDeadline);
    else
      _replyTimer->start(remaining);
  }
}

void SMTPSocket::Event_Error() {
  if (_reading) {
    _errorPending = true;  // reported after the reply being handled, never inside its handler
    return;
  }
  _replyTimer->stop();
  if (_ended) return;
  _ended = true;
  TCPSocket::Event_Error();
}

void SMTPSocket::_GiveUp(const std::string& reason) {
  Close();
  ReadAll();  // what the server sent counts no more
  SetLastError(kLostConnection, reason);
  Event_Error();
}

void SMTPSocket::_SendCommand(std::string_view command, Deadline reply) {
  if (!IsConnected()) return;  // lost already; its Error is on the way
  std::string line(command);
  line += "\r\n";
  Write(line);
  ++_writes;
  _replyDeadline = reply;
}
