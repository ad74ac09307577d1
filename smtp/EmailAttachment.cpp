#include "smtp/EmailAttachment.h"

#include <cctype>
#include <cstdio>

#include "platform/core/TextEncoding.h"

namespace {
// The file name as a quoted-string: backslash and quote escaped, line ends dropped.
std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\r' || c == '\n') continue;
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// The UTF-8 file name as an RFC 2231 extended value: every byte outside the attribute
// characters written as "%" and two hex digits.
std::string Extended(const std::string& s) {
  static constexpr std::string_view kKept = "!#$&+-.^_`|~";
  std::string out = "utf-8''";
  for (unsigned char c : s) {
    if ((c < 0x80 && std::isalnum(c)) || kKept.find(char(c)) != std::string_view::npos) {
      out += char(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
  return out;
}
}  // namespace

std::string EmailAttachment::_FormatAttachment() const {
  std::string part = "Content-Type: " + ContentType;
  if (!Name.empty()) part += fw::IsASCII(Name) ? "; name=" + Quoted(Name) : "; name*=" + Extended(Name);
  part += "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\n";
  return part + fw::EncodeBase64(Data, 76);
}
