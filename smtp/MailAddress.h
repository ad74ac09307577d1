#pragma once
// The one check an address passes before the program sends to it or from it, and the forms in
// which a person writes an address.
#include <optional>
#include <string>
#include <string_view>

// True when address is one plain address: printable ASCII without blanks, "<", ">" or commas,
// exactly one "@" with text before it and a domain after it (dot-separated labels of letters,
// digits and hyphens, or an address literal in square brackets), at most 254 octets. Anything
// else could carry a second address or SMTP parameters into the envelope.
bool IsMailAddress(std::string_view address);

struct MailAddress {
  std::string Name;     // the display name, "" when none was written
  std::string Address;  // a plain address (IsMailAddress)
  bool operator==(const MailAddress&) const = default;
};

// An address as a person writes it: a plain address, or a display name followed by the address
// in angle brackets ("山田 太郎 <taro@example.jp>", "\"Yamada, Taro\" <t@example.jp>"). Blanks,
// tabs and U+3000 around the text, the name and the address are trimmed; a name in double
// quotes loses them and its backslash escapes. Nothing when the address is not a plain one or
// the name holds "<" or ">".
std::optional<MailAddress> ParseMailAddress(std::string_view text);
