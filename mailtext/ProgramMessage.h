#pragma once
// The message the program sends to one recipient, made from the recipient's row, the template
// texts and the send settings.
#include <memory>
#include <string>
#include <string_view>

#include "smtp/MailAddress.h"

class EmailMessage;

struct ProgramMessageParts {
  MailAddress To;         // the address the recipient's row holds, with its name if it has one
  std::string Name;       // the recipient's name
  std::string Subject;    // the template texts, as typed (UTF-8)
  std::string Honorific;
  std::string Body;
  MailAddress Sender;     // the sender address and the mailer name of the settings
  std::string Mailer;
};

// True when the subject and the body hold nothing but blanks (full-width ones too) and line
// ends: there is no letter to send.
bool IsBlankLetter(std::string_view subject, std::string_view body);

// The subject as an encoded word, or an empty field when it is empty; the body a salutation line (name, one blank, honorific), an
// empty line and the body text, in ISO-2022-JP with CR LF line ends and no line beyond the
// longest a mail server takes, declared as such ("MIME-Version" and the charset); the sender and
// the one recipient, each with its name; the mailer name as "X-Mailer" and a fresh "Message-ID".
// The "Date" header is left to the SMTP client, which adds it when it sends.
std::shared_ptr<EmailMessage> ComposeMessage(const ProgramMessageParts& parts);
