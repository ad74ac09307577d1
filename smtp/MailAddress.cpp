#include "smtp/MailAddress.h"

#include <algorithm>

#include "platform/core/Strings.h"

namespace {

bool LetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A domain as RFC 5321 allows it: labels of ASCII letters, digits and hyphens, each beginning
// and ending with a letter or digit, separated by single dots; or an address literal in square
// brackets.
bool IsDomain(std::string_view domain) {
  if (domain.starts_with('[')) {
    if (domain.size() < 3 || !domain.ends_with(']')) return false;
    const std::string_view literal = domain.substr(1, domain.size() - 2);
    return std::all_of(literal.begin(), literal.end(), [](char c) { return c != '[' && c != ']' && c != '\\'; });
  }
  for (const std::string& label : fw::Split(domain, ".")) {
    if (label.empty() || !LetterOrDigit(label.front()) || !LetterOrDigit(label.back()) ||
        !std::all_of(label.begin(), label.end(), [](char c) { return LetterOrDigit(c) || c == '-'; }))
      return false;
  }
  return true;
}

// The text of a quoted name: the quotes gone and each backslash escape undone.
std::string Unquoted(std::string_view quoted) {
  std::string name;
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
    name += quoted[i];
  }
  return name;
}

}  // namespace

bool IsMailAddress(std::string_view address) {
  if (address.empty() || address.size() > 254) return false;
  const bool plain = std::all_of(address.begin(), address.end(), [](char c) {
    return c > ' ' && c < 0x7F && c != '<' && c != '>' && c != ',';
  });
  const size_t at = address.find('@');
  return plain && at != std::string_view::npos && at != 0 && address.find('@', at + 1) == std::string_view::npos &&
         IsDomain(address.substr(at + 1));
}

std::optional<MailAddress> ParseMailAddress(std::string_view text) {
  const std::string written = fw::TrimWide(text);
  MailAddress parsed;
  const size_t open = written.find('<');
  if (open == std::string::npos) {
    parsed.Address = written;
  } else {
    if (!written.ends_with('>')) return std::nullopt;
    parsed.Name = fw::TrimWide(std::string_view(written).substr(0, open));
    parsed.Address = fw::TrimWide(std::string_view(written).substr(open + 1, written.size() - open - 2));
    if (parsed.Name.find('>') != std::string::npos) return std::nullopt;
    if (parsed.Name.size() >= 2 && parsed.Name.front() == '"' && parsed.Name.back() == '"')
      parsed.Name = Unquoted(parsed.Name);
  }
  if (!IsMailAddress(parsed.Address)) return std::nullopt;
  return parsed;
}
