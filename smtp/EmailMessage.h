#pragma once
// One mail message: a header collection (sender, recipients and subject included), up to three
// bodies and the attachments; Source() gives the text written after DATA.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/DateTime.h"
#include "smtp/EmailAttachment.h"
#include "smtp/EmailHeaders.h"

class EmailMessage {
 public:
  EmailMessage() = default;

  EmailHeaders Headers;
  std::string BodyPlainText;
  std::string BodyHTML;
  std::string BodyEnriched;
  std::vector<EmailAttachment> Attachments;

  // Each drops every comma from the address and adds it to the one "To", "CC" or "BCC"
  // header, whose value is the whole list joined by ", ".
  void AddRecipient(std::string_view address);
  void AddCCRecipient(std::string_view address);
  void AddBCCRecipient(std::string_view address);
  std::string ToAddress() const;
  std::string CCAddress() const;
  std::string BCCAddress() const;
  void _AddEmailHeader(std::string_view name, std::string_view value);

  // The "Subject" and "From" headers (first instance); assigning replaces every instance.
  std::string Subject() const;
  void Subject(std::string_view value);
  std::string FromAddress() const;
  void FromAddress(std::string_view value);

  // The text last assigned as a whole message; "" when none was.
  std::string RawSource() const;

  // A new unique "Message-ID" value, "<unique@domain>": the domain of the sender address (with or
  // without a name), or the machine's host name when the sender has no domain.
  std::string _GenerateMessageID() const;

  // Fills the message from a whole mail text: a new Headers from its header block, the three
  // bodies and the attachments (the list starts empty) from its body, read part by part through
  // nested multipart bodies. Texts are stored as they stand, except that a text ending with the
  // end line "." is taken as the text after DATA: the end line goes and lines that begin with
  // "." lose their doubled dot. Any text gives a defined result; see EmailMessageParse.cpp.
  void Source(std::string_view text);
  // Files every part of a multipart body (preamble, delimiter lines, parts, closing delimiter
  // line, epilogue) whose delimiters carry boundary. depth counts the enclosing multipart
  // bodies, this one included.
  void _ParseBodyBoundary(std::string_view body, std::string_view boundary, int depth = 1);
  // Files one part, given its read header lines, as the plain, HTML or enriched body, or as an
  // attachment.
  void _ProcessBodyData(const InternetHeaders& partHeaders, std::string_view data);

  // The message text after DATA: header block, empty line, body, CR LF and ".", every line end
  // CR LF and every line that begins with "." doubled. Moves the body's part headers (or the
  // multipart container headers) into Headers.
  std::string Source();
  // The body part text with its own part header lines; "" when no body is present.
  std::string _FormatBody() const;
  // A "Date" header value for d ("Sun, 6 Dec 2026 13:05:09 +0900"); no d means now.
  std::string _GetEmailDateStr(std::optional<fw::Date> d = std::nullopt) const;
  // The current local zone as a sign and four digits ("+0900", "-0330").
  std::string _GetGMTOffset() const;
  // Twelve random characters from a-z and 0-9.
  std::string _GenerateBoundary() const;
  // s with every CR LF, lone CR and lone LF replaced by eol.
  std::string _ConvertEOLCharacter(std::string_view s, std::string_view eol) const;
  std::string _DetermineEOLCharacter(std::string_view s) const;

 private:
  std::string _rawSource;
};
