// The message object: sender, recipient lists and subject, all held as headers.
#include "smtp/EmailMessage.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <random>

#include "platform/core/Strings.h"
#include "smtp/MailAddress.h"

namespace {
// A domain name as a message id may hold it: letters, digits, hyphens and inner dots.
bool IsDomainName(std::string_view s) {
  return !s.empty() && s.front() != '.' && s.back() != '.' && s.find("..") == std::string_view::npos &&
         std::all_of(s.begin(), s.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.'; });
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == 0 && IsDomainName(name)) return name;
  return "localhost";
}
}  // namespace

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

std::string EmailMessage::_GenerateMessageID() const {
  const std::optional<MailAddress> sender = ParseMailAddress(FromAddress());
  std::string domain = sender ? sender->Address.substr(sender->Address.find('@') + 1) : std::string();
  if (!IsDomainName(domain)) domain = HostName();
  // The time in microseconds and 64 random bits: unique without any state kept.
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::system_clock::now().time_since_epoch()).count();
  std::random_device random;
  const uint64_t bits = (uint64_t(random()) << 32) | random();
  char unique[64];
  std::snprintf(unique, sizeof unique, "%llx.%016llx", static_cast<unsigned long long>(micros),
                static_cast<unsigned long long>(bits));
  return "<" + std::string(unique) + "@" + domain + ">";
}
