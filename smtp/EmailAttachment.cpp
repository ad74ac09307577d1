#include "smtp/EmailAttachment.h"

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
}  // namespace

std::string EmailAttachment::_FormatAttachment() const {
  std::string part = "Content-Type: " + ContentType;
  if (!Name.empty()) part += "; name=" + Quoted(Name);
  part += "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\n";
  return part + fw::EncodeBase64(Data, 76);
}
