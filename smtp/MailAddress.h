#pragma once
// The one check an address passes before the program sends to it or from it.
#include <string_view>

// True when address is one plain address: printable ASCII without blanks, "<", ">" or commas,
// exactly one "@" with text on both sides, at most 254 octets. Anything else could carry a
// second address or SMTP parameters into the envelope.
bool IsMailAddress(std::string_view address);
