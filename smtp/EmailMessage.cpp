// The message object: sender, recipient lists and subject, all held as headers.
#include "smtp/EmailMessage.h"

#include "platform/core/Strings.h"

void EmailMessage::AddRecipient(std::string_view address) { _AddEmailHeader("To", fw::ReplaceAll(address, ",", "")); }

void EmailMessage::AddCCRecipient(std::string_view address) { _AddEmailHeader("CC", fw::ReplaceAll(address, ",", "")); }

void EmailMessage::AddBCCRecipient(std::string_view address) {
  _AddEmailHeader("BCC", fw::ReplaceAll(address, ",", ""));
}

std::string EmailMessage::ToAddress() const { return Headers.CommaSeparatedValues("To"); }
std::string EmailMessage::CCAddress() const { return Headers.CommaSeparatedValues("CC"); }
std::string EmailMessage::BCCAddress() const { return Headers.CommaSeparatedValues("BCC"); }

void EmailMessage::_AddEmailHeader(std::string_view name, std::string_view value) {
  // The list lives in one instance; instances appended by others are merged into it here.
  std::string list = Headers.CommaSeparatedValues(name);
  if (list.empty())
    list = value;
  else
    (list += ", ") += value;
  Headers.Delete(name);
  Headers.SetHeader(name, list);
}

std::string EmailMessage::Subject() const { return Headers.Value("Subject"); }
void EmailMessage::Subject(std::string_view value) { Headers.SetHeader("Subject", value); }

std::string EmailMessage::FromAddress() const { return Headers.Value("From"); }
void EmailMessage::FromAddress(std::string_view value) { Headers.SetHeader("From", value); }

std::string EmailMessage::RawSource() const { return _rawSource; }
