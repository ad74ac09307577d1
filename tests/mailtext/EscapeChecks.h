#pragma once
// What readers that follow the WHATWG Encoding Standard (Thunderbird, browsers) refuse in
// ISO-2022-JP text.
#include <string>
#include <string_view>

// The offset of an escape sequence that follows another straight away, or npos when none does.
inline size_t EscapeAfterEscape(std::string_view jis) {
  for (size_t esc = jis.find('\x1B'); esc != std::string_view::npos; esc = jis.find('\x1B', esc + 1))
    if (jis.substr(esc + 3, 1) == "\x1B") return esc;
  return std::string_view::npos;
}
