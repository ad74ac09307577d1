#pragma once
// How an alert names an address the program refuses.
#include <string>

// The address as written, then each distinct character outside printable ASCII in its address
// part as U+XXXX, in parentheses: a full-width ＠ looks like @, and a zero-width space or a
// byte-order mark shows nothing. The name before an address in angle brackets is not looked at.
std::string AddressInAlert(const std::string& written);
