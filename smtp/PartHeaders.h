#pragma once
// Reading the structured header values of a MIME part: the leading token and the named
// parameters of a value such as `text/plain; charset="x"` or `attachment; filename=a.txt`.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace part_headers {

// The value before its first ";", trimmed ("text/plain" of "text/plain; charset=x").
std::string MainValue(std::string_view headerValue);

// Every parameter in order as name and value, both trimmed, the value unquoted.
// A ";" inside quotes belongs to the value; a backslash in quotes escapes the next character.
std::vector<std::pair<std::string, std::string>> Parameters(std::string_view headerValue);

// The value of the first parameter called name (letter case ignored); "" when absent.
std::string Parameter(std::string_view headerValue, std::string_view name);

}  // namespace part_headers
