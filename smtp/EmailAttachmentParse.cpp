// An attachment read from a part of a mail text.
#include <cctype>
#include <string>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailAttachment.h"
#include "smtp/EmailAttachmentName.h"
#include "smtp/PartHeaders.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = char(std::tolower(static_cast<unsigned char>(c)));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// "=" and two hex digits give one byte; "=" at the end of a line joins it to the next (a soft
// line break); any other "=" stays as it is.
std::string DecodedQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = text.substr(i + 1);
    if (text[i] != '=') {
      out += text[i];
    } else if (rest.starts_with("\r\n")) {
      i += 2;
    } else if (rest.starts_with('\n') || rest.starts_with('\r')) {
      i += 1;
    } else if (rest.size() >= 2 && HexDigit(rest[0]) >= 0 && HexDigit(rest[1]) >= 0) {
      out += char(HexDigit(rest[0]) * 16 + HexDigit(rest[1]));
      i += 2;
    } else {
      out += '=';
    }
  }
  return out;
}

}  // namespace

void EmailAttachment::ParseAttachment(std::string_view type, const InternetHeaders& partHeaders,
                                      std::string_view data) {
  ContentType = type;
  Name = attachment_name::Decoded(partHeaders.Value("Content-Disposition"), "filename");
  if (Name.empty()) Name = attachment_name::Decoded(partHeaders.Value("Content-Type"), "name");
  const std::string encoding = part_headers::MainValue(partHeaders.Value("Content-Transfer-Encoding"));
  if (fw::StrEquals(encoding, "base64"))
    Data = fw::DecodeBase64(data);
  else if (fw::StrEquals(encoding, "quoted-printable"))
    Data = DecodedQuotedPrintable(data);
  else
    Data = data;
}
