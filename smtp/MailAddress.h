#pragma once
// The one check an address passes before the program sends to it or from it, and the forms in
// which a person writes an address.
#include <optional>
#include <string>
#include <string_view>

// True when address is one plain address: printable ASCII without blanks, "<", ">" or commas,
// exactly one "@", before it the atom characters of RFC 5321 and dots (anywhere, as carriers
// issued them) or a quoted string, after it a domain (dot-separated labels of letters, digits
// and hyphens, or an address literal in square brackets), at most 254 octets. Anything else
// could carry a second address or SMTP parameters into the envelope, or is refused by servers.
bool IsMailAddress(std::string_view address);

struct MailAddress {
  std::string Name;     // the display name, "" when none was written
  std::string Address;  // a plain address (IsMailAddress)
  bool operator==(const MailAddress&) const = default;
};

// An address as a person writes it: a plain address, or a display name followed by the address
// in angle brackets ("山田 太郎 <taro@example.jp>", "\"Yamada, Taro\" <t@example.jp>"). Blanks
// around the text, the name and the address are trimmed (fw::TrimWide); a name in double
// quotes loses them and its backslash escapes. Nothing when the address is not a plain one or
// the name holds "<" or ">".
std::optional<MailAddress> ParseMailAddress(std::string_view text);

// The address part of a written address, checked or not: what stands inside the angle brackets
// when a name comes first, else the whole text; trimmed as ParseMailAddress trims it.
std::string WrittenAddress(std::string_view text);
