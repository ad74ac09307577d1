// The SMTP client's dialogue: each server reply answered according to the session state, and
// the command lines it sends.
#include <algorithm>
#include <climits>

#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/Thread.h"
#include "smtp/SMTPSocket.h"

namespace {

// The number before the reply's first blank; a continuation line ("250-...") gives its code too.
int ReplyCode(const std::string& reply) {
  return int(std::clamp(fw::Val(fw::NthField(reply, " ", 1)), double(INT_MIN), double(INT_MAX)));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The lines of a reply, each without its line end: LF, with or without a CR before it.
std::vector<std::string_view> ReplyLines(std::string_view reply) {
  std::vector<std::string_view> lines;
  while (!reply.empty()) {
    const size_t end = reply.find('\n');
    std::string_view line = reply.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    reply.remove_prefix(end == std::string_view::npos ? reply.size() : end + 1);
  }
  return lines;
}

// True when the EHLO reply lists this SASL mechanism on an AUTH line ("250-AUTH LOGIN PLAIN", or
// the older "250-AUTH=LOGIN").
bool Offers(const std::string& ehloReply, std::string_view mechanism) {
  for (std::string_view line : ReplyLines(ehloReply)) {
    const std::vector<std::string> words = fw::Split(fw::ReplaceAll(fw::MidB(line, 5), "=", " "), " ");
    if (fw::StrEquals(words.front(), "AUTH") &&
        std::any_of(words.begin() + 1, words.end(), [&](const std::string& w) { return fw::StrEquals(w, mechanism); }))
      return true;
  }
  return false;
}

}  // namespace

void SMTPSocket::_ProcessData(const std::string& reply) {
  // Whatever answers RSET moves on: a refused RSET does not count against the next message,
  // and a server out of step after a refusal gets no second one.
  if (_mode == SessionMode::ResetSent) return _NextMessage();
  int code = ReplyCode(reply);
  if (code == 235) {  // authenticated: ready for the first message
    code = 250;
    _mode = SessionMode::Ready;
  }
  // MAIL and RCPT are accepted by any success ("251 User not local; will forward"): the first
  // digit decides.
  if ((_mode == SessionMode::Addressing || _mode == SessionMode::LastRecipient) && code / 100 == 2 && code != 220 &&
      code != 221)
    code = 250;
  const uint64_t session = _session;
  switch (code) {
    case 220:
      if (Messages.empty()) return DisconnectFromServer();
      ConnectionEstablished.Raise(fw::MidB(ReplyLines(reply).front(), 5));
      if (!_StillIn(session)) return;
      return Username.empty() ? _SendIntroduction("HELO", SessionMode::Ready)
                              : _SendIntroduction("EHLO", SessionMode::Introduced);
    case 250:
      return _ProcessOK(reply);
    case 334:
      if (_authKeys.empty())
        return _Refuse(kClientRefusal, "サーバが認証の応答を求めましたが、送る応答がありません: " + reply);
      _SendCommand(_authKeys.front());
      _authKeys.erase(_authKeys.begin());
      _mode = SessionMode::Ready;
      return;
    case 354:
      if (Messages.empty()) return _Refuse(kClientRefusal, "サーバがメールの本文を求めましたが、送るメールがありません: " + reply);
      _mode = SessionMode::TextSent;
      return _SendCommand(_GetMessageData(*Messages.front()), &SMTPDeadlines::finalDot);
    case 221:
      return;
    case 500:
    case 502:
      // No EHLO or AUTH here: go on without.
      if (_mode == SessionMode::Introduced) return _SendIntroduction("HELO", SessionMode::Ready);
      break;
  }
  _Refuse(code, reply);
}

void SMTPSocket::_ProcessOK(const std::string& reply) {
  switch (_mode) {
    case SessionMode::ResetSent:
    case SessionMode::Ready:
      return _NextMessage();
    case SessionMode::Introduced:
      if (const std::string command = _GetAuthenticationKeys(reply); !command.empty()) return _SendCommand(command);
      // No mechanism the client knows: the server decides whether it takes mail without one.
      _mode = SessionMode::Ready;
      return _NextMessage();
    case SessionMode::Addressing:
      // Every message started has at least one recipient, so this stops at the last one.
      ++_nextRecipID;
      if (_nextRecipID >= int(_recipients.size())) _mode = SessionMode::LastRecipient;
      return _SendCommand("RCPT TO: " + _recipients[size_t(_nextRecipID - 1)]);
    case SessionMode::LastRecipient:
      _SendCommand("DATA", &SMTPDeadlines::data);
      _mode = SessionMode::DataSent;
      return;
    case SessionMode::TextSent: {
      const uint64_t session = _session;
      const std::shared_ptr<EmailMessage> message = _ExtractWorkingMessage();
      if (message) MessageSent.Raise(message);
      if (_StillIn(session)) _NextMessage();
      return;
    }
    case SessionMode::DataSent:  // the 354 is still to come
      return;
  }
}

void SMTPSocket::_NextMessage() {
  if (!Messages.empty()) return _StartSendingMessage();
  const uint64_t session = _session;
  MailSent.Raise();
  if (_StillIn(session)) DisconnectFromServer();
}

void SMTPSocket::_StartSendingMessage() {
  const std::shared_ptr<EmailMessage> message = Messages.front();
  _mode = SessionMode::Addressing;
  const std::string sender = message->FromAddress();
  // A line break in an address would let it write commands of its own.
  for (const std::string& addresses : {sender, message->ToAddress(), message->CCAddress(), message->BCCAddress()})
    if (HasLineBreak(addresses)) return _Refuse(kClientRefusal, "メールのアドレスに改行が含まれているので、送信しませんでした。");
  _BuildRecipientList(*message);
  _nextRecipID = 0;
  if (_recipients.empty()) return _Refuse(kClientRefusal, "メールに宛先がないので、送信しませんでした。");
  _SendCommand("MAIL FROM: " + _ConvertAddress(sender));
}

void SMTPSocket::_Refuse(int code, const std::string& reply) {
  const uint64_t session = _session;
  const std::shared_ptr<EmailMessage> message = _ExtractWorkingMessage();
  ServerError.Raise(code, reply, message);
  if (!_StillIn(session)) return;
  _mode = SessionMode::ResetSent;
  _Reset();
}

std::shared_ptr<EmailMessage> SMTPSocket::_ExtractWorkingMessage() {
  if (Messages.empty()) return nullptr;
  std::shared_ptr<EmailMessage> message = Messages.front();
  Messages.erase(Messages.begin());
  return message;
}

void SMTPSocket::_Reset() { _SendCommand("RSET"); }

void SMTPSocket::_SendIntroduction(std::string_view command, SessionMode mode) {
  _SendCommand(std::string(command) + " " + AddressLiteral(LocalAddress()));
  _mode = mode;
}

std::string SMTPSocket::AddressLiteral(std::string_view address) {
  if (address.find(':') == std::string_view::npos) return "[" + std::string(address) + "]";
  // A link-local address's zone ("%eth0") names our own interface and is no part of the literal.
  return "[IPv6:" + std::string(address.substr(0, address.find('%'))) + "]";
}

std::string SMTPSocket::_GetAuthenticationKeys(const std::string& ehloReply) {
  _authKeys.clear();  // answers left from an exchange that ended early would answer the wrong prompt
  if (Offers(ehloReply, "LOGIN")) {
    _authKeys.push_back(fw::EncodeBase64(Username));
    _authKeys.push_back(fw::EncodeBase64(Password));
    return "auth LOGIN";  // SASL names its mechanisms in upper case; some servers insist
  }
  if (!Offers(ehloReply, "PLAIN")) return "";
  std::string plain;
  ((plain += '\0') += Username) += '\0';
  plain += Password;
  return "auth PLAIN " + fw::EncodeBase64(plain);
}

void SMTPSocket::_BuildRecipientList(const EmailMessage& message) {
  _recipients.clear();
  for (const std::string& list : {message.ToAddress(), message.CCAddress(), message.BCCAddress()}) {
    const int count = fw::CountFields(list, ",");
    for (int i = 1; i <= count; ++i) {
      _recipients.push_back(_ConvertAddress(fw::NthField(list, ",", i)));
      fw::YieldToNextThread();
    }
  }
}

std::string SMTPSocket::_ConvertAddress(std::string_view address) {
  std::string text = fw::Trim(address);
  const size_t open = text.find('<');
  if (open != std::string::npos) {
    const size_t close = text.find_first_of("<>", open + 1);
    text = text.substr(open + 1, close == std::string::npos ? close : close - open - 1);
  }
  return "<" + text + ">";
}

std::string SMTPSocket::_GetMessageData(EmailMessage& message) {
  if (message.Headers.NameCount("Date") == 0) message.Headers.SetHeader("Date", message._GetEmailDateStr(fw::Date()));
  return message.Source();
}
