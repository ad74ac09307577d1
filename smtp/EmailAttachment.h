#pragma once
// One attachment of a mail message: its content type, file name and content bytes.
#include <string>

class EmailAttachment {
 public:
  std::string ContentType = "application/octet-stream";  // without parameters
  std::string Name;                                      // file name; "" for none
  std::string Data;                                      // the content, decoded

  // The whole part text: its header lines, an empty line and the Base64 content.
  std::string _FormatAttachment() const;
};
