#pragma once
// One attachment of a mail message: its content type, file name and content bytes.
#include <string>
#include <string_view>

#include "smtp/InternetHeaders.h"

class EmailAttachment {
 public:
  std::string ContentType = "application/octet-stream";  // without parameters
  std::string Name;                                      // file name; "" for none
  std::string Data;                                      // the content, decoded

  // The whole part text: its header lines, an empty line and the Base64 content.
  std::string _FormatAttachment() const;
  // Takes type, the file name ("filename" of the disposition, else "name" of the type, decoded
  // to UTF-8) and the content, decoded by the part's transfer encoding (Base64 or
  // quoted-printable; any other is taken as it stands), from a part's header lines and data.
  void ParseAttachment(std::string_view type, const InternetHeaders& partHeaders, std::string_view data);
};
