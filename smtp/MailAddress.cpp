#include "smtp/MailAddress.h"

#include <algorithm>

#include "platform/core/Strings.h"

namespace {

bool LetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// The part before "@": atoms as RFC 5321 allows them, with dots anywhere (Japanese mobile
// carriers issued "taro..hanako" and "hanako."), or a quoted string without blanks.
bool IsLocalPart(std::string_view local) {
  if (local.size() >= 2 && local.front() == '"' && local.back() == '"') {
    for (size_t i = 1; i + 1 < local.size(); ++i) {
      if (local[i] == '\\' && i + 2 < local.size()) {
        ++i;  // a quoted pair
      } else if (local[i] == '"' || local[i] == '\\') {
        return false;
      }
    }
    return true;
  }
  constexpr std::string_view kAtomSigns = "!#$%&'*+-/=?^_`{|}~.";
  return std::all_of(local.begin(), local.end(),
                     [&](char c) { return LetterOrDigit(c) || kAtomSigns.find(c) != std::string_view::npos; });
}

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
         IsLocalPart(address.substr(0, at)) && IsDomain(address.substr(at + 1));
}

std::string WrittenAddress(std::string_view text) {
  const std::string written = fw::TrimWide(text);
  const size_t open = written.find('<');
  if (open == std::string::npos) return written;
  const size_t close = written.ends_with('>') ? written.size() - 1 : written.size();
  return fw::TrimWide(std::string_view(written).substr(open + 1, close - open - 1));
}

std::optional<MailAddress> ParseMailAddress(std::string_view text) {
  const std::string written = fw::TrimWide(text);
  const size_t open = written.find('<');
  if (open != std::string::npos && !written.ends_with('>')) return std::nullopt;
  MailAddress parsed{.Name = "", .Address = WrittenAddress(written)};
  if (open != std::string::npos) {
    parsed.Name = fw::TrimWide(std::string_view(written).substr(0, open));
    if (parsed.Name.find('>') != std::string::npos) return std::nullopt;
    if (parsed.Name.size() >= 2 && parsed.Name.front() == '"' && parsed.Name.back() == '"')
      parsed.Name = Unquoted(parsed.Name);
  }
  if (!IsMailAddress(parsed.Address)) return std::nullopt;
  return parsed;
}
