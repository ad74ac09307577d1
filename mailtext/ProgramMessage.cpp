#include "mailtext/ProgramMessage.h"

#include "mailtext/MailTextEncoders.h"
#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

bool IsBlankLetter(std::string_view subject, std::string_view body) {
  return fw::TrimWide(HeaderText(subject)).empty() && fw::TrimWide(HeaderText(body)).empty();
}

std::shared_ptr<EmailMessage> ComposeMessage(const ProgramMessageParts& parts) {
  std::string body = parts.Name + " " + parts.Honorific + fw::EndOfLineText() + fw::EndOfLineText() + parts.Body;
  body = UTF8toJIS(body);
  body = fw::ReplaceLineEndings(body, fw::EndOfLine::Windows);
  body = BreakLongLines(body);

  auto m = std::make_shared<EmailMessage>();
  m->FromAddress(AddressHeaderValue("From", parts.Sender));
  // RFC 2047 has no empty encoded word.
  const std::string subject = HeaderText(parts.Subject);
  m->Subject(subject.empty() ? "" : EncodeMIME(subject));
  m->BodyPlainText = body;
  m->Headers.AppendHeader("X-Mailer", HeaderValue("X-Mailer", parts.Mailer));
  m->AddRecipient(AddressHeaderValue("To", parts.To));
  m->Headers.AppendHeader("Message-ID", m->_GenerateMessageID());
  m->Headers.AppendHeader("MIME-Version", "1.0");  // spelt as RFC 2045 does; spam filters score other spellings
  // The message text takes this as the body's own type.
  m->Headers.AppendHeader("Content-type", "text/plain; charset=ISO-2022-JP");
  return m;
}
