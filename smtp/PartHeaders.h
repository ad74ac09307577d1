#pragma once
// Reading the header block of a MIME part (or of a whole message): a header's value, and the
// leading token and named parameters of a structured value such as
// `text/plain; charset="x"` or `attachment; filename=a.txt`.
#include <string>
#include <string_view>

namespace part_headers {

// The value of the first header called name (letter case ignored) in block; "" when absent.
// Folded lines are joined first.
std::string Value(std::string_view block, std::string_view name);

// The value before its first ";", trimmed ("text/plain" of "text/plain; charset=x").
std::string MainValue(std::string_view headerValue);

// The parameter called name (letter case ignored), unquoted and trimmed; "" when absent.
// A ";" inside quotes belongs to the value; a backslash in quotes escapes the next character.
std::string Parameter(std::string_view headerValue, std::string_view name);

}  // namespace part_headers
