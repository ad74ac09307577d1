#include "platform/core/Strings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fw {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Byte offset of find in source at or after from; npos when absent.
size_t FindNoCase(std::string_view source, std::string_view find, size_t from) {
  if (find.empty() || from > source.size() || find.size() > source.size() - from)
    return std::string_view::npos;
  auto it = std::search(source.begin() + from, source.end(), find.begin(), find.end(),
                        [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return it == source.end() ? std::string_view::npos : size_t(it - source.begin());
}

// Length of the UTF-8 sequence that starts at s[i]; a byte that starts no valid sequence is one.
size_t CharBytes(std::string_view s, size_t i) {
  unsigned char c = s[i];
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

// Byte offset of the character with 0-based index chars (the end when past it).
size_t ByteOffset(std::string_view s, int64_t chars) {
  size_t i = 0;
  while (chars > 0 && i < s.size()) {
    i += CharBytes(s, i);
    --chars;
  }
  return i;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

String RTrim(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return String(s.substr(0, n));
}

}  // namespace

bool StrEquals(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

String Lowercase(std::string_view s) {
  String r(s);
  for (char& c : r) c = LowerAscii(c);
  return r;
}

int InStrB(int start, std::string_view source, std::string_view find) {
  size_t pos = FindNoCase(source, find, size_t(std::max(start, 1) - 1));
  return pos == std::string_view::npos ? 0 : int(pos) + 1;
}

int InStrB(std::string_view source, std::string_view find) { return InStrB(1, source, find); }

int InStr(int start, std::string_view source, std::string_view find) {
  size_t from = ByteOffset(source, std::max(start, 1) - 1);
  size_t pos = FindNoCase(source, find, from);
  if (pos == std::string_view::npos) return 0;
  return Len(source.substr(0, pos)) + 1;
}

int InStr(std::string_view source, std::string_view find) { return InStr(1, source, find); }

std::vector<String> Split(std::string_view source, std::string_view separator) {
  std::vector<String> fields;
  if (separator.empty()) {
    fields.emplace_back(source);
    return fields;
  }
  size_t from = 0;
  for (;;) {
    size_t pos = FindNoCase(source, separator, from);
    if (pos == std::string_view::npos) break;
    fields.emplace_back(source.substr(from, pos - from));
    from = pos + separator.size();
  }
  fields.emplace_back(source.substr(from));
  return fields;
}

String Join(const std::vector<String>& parts, std::string_view separator) {
  String r;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) r += separator;
    r += parts[i];
  }
  return r;
}

String NthField(std::string_view source, std::string_view separator, int n) {
  if (n < 1) return {};
  if (separator.empty()) return n == 1 ? String(source) : String();
  size_t from = 0;
  for (int field = 1;; ++field) {
    size_t pos = FindNoCase(source, separator, from);
    if (field == n) return String(source.substr(from, pos == std::string_view::npos ? pos : pos - from));
    if (pos == std::string_view::npos) return {};
    from = pos + separator.size();
  }
}

int CountFields(std::string_view source, std::string_view separator) {
  if (source.empty()) return 0;
  if (separator.empty()) return 1;
  int count = 1;
  for (size_t pos = FindNoCase(source, separator, 0); pos != std::string_view::npos;
       pos = FindNoCase(source, separator, pos + separator.size()))
    ++count;
  return count;
}

int Len(std::string_view s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); i += CharBytes(s, i)) ++n;
  return n;
}

int LenB(std::string_view s) { return int(s.size()); }

String Left(std::string_view s, int count) { return String(s.substr(0, ByteOffset(s, std::max(count, 0)))); }

String LeftB(std::string_view s, int count) { return String(s.substr(0, size_t(std::max(count, 0)))); }

String Right(std::string_view s, int count) {
  int len = Len(s);
  return String(s.substr(ByteOffset(s, std::max(len - std::max(count, 0), 0))));
}

String Mid(std::string_view s, int start) {
  if (start < 1) start = 1;
  return String(s.substr(ByteOffset(s, start - 1)));
}

String Mid(std::string_view s, int start, int count) {
  if (start < 1) start = 1;
  size_t from = ByteOffset(s, start - 1);
  std::string_view rest = s.substr(from);
  return String(rest.substr(0, ByteOffset(rest, std::max(count, 0))));
}

String MidB(std::string_view s, int start) {
  size_t from = size_t(std::max(start, 1) - 1);
  return from >= s.size() ? String() : String(s.substr(from));
}

String MidB(std::string_view s, int start, int count) {
  return MidB(s, start).substr(0, size_t(std::max(count, 0)));
}

String LTrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return String(s.substr(i));
}

String Trim(std::string_view s) { return LTrim(RTrim(s)); }

String TrimWide(std::string_view s) {
  // U+3000, U+00A0, U+200B and U+FEFF.
  constexpr std::string_view kWideBlanks[] = {"\xE3\x80\x80", "\xC2\xA0", "\xE2\x80\x8B", "\xEF\xBB\xBF"};
  for (size_t before = s.size() + 1; s.size() < before;) {
    before = s.size();
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    for (std::string_view blank : kWideBlanks) {
      if (s.starts_with(blank)) s.remove_prefix(blank.size());
      if (s.ends_with(blank)) s.remove_suffix(blank.size());
    }
  }
  return String(s);
}

String ReplaceAll(std::string_view source, std::string_view find, std::string_view replacement) {
  if (find.empty()) return String(source);
  return Join(Split(source, find), replacement);
}

String Chr(uint32_t code) {
  String r;
  if (code < 0x80) {
    r += char(code);
  } else if (code < 0x800) {
    r += char(0xC0 | (code >> 6));
    r += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    r += char(0xE0 | (code >> 12));
    r += char(0x80 | ((code >> 6) & 0x3F));
    r += char(0x80 | (code & 0x3F));
  } else {
    r += char(0xF0 | (code >> 18));
    r += char(0x80 | ((code >> 12) & 0x3F));
    r += char(0x80 | ((code >> 6) & 0x3F));
    r += char(0x80 | (code & 0x3F));
  }
  return r;
}

std::vector<uint32_t> CodePoints(std::string_view s) {
  std::vector<uint32_t> codes;
  for (size_t i = 0, n = 0; i < s.size(); i += n) {
    n = CharBytes(s, i);
    const unsigned char lead = s[i];
    uint32_t code = n == 1 ? lead : lead & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) code = (code << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    codes.push_back(code);
  }
  return codes;
}

String Str(int64_t value) { return std::to_string(value); }
String Str(int value) { return std::to_string(value); }

String Str(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(int64_t(value));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7g", value);
  return buf;
}

String Format(double value, std::string_view pattern) {
  bool alwaysSign = !pattern.empty() && pattern.front() == '+';
  bool minusSign = !pattern.empty() && pattern.front() == '-';
  if (alwaysSign || minusSign) pattern.remove_prefix(1);
  int zeros = 0;
  for (char c : pattern)
    if (c == '0') ++zeros;
  String digits = std::to_string(int64_t(std::llround(std::fabs(value))));
  if (int(digits.size()) < zeros) digits.insert(0, size_t(zeros) - digits.size(), '0');
  // Put the digits where the pattern's digit places stand; literal characters stay.
  String out;
  bool placed = false;
  for (char c : pattern) {
    if (c == '0' || c == '#') {
      if (!placed) out += digits;
      placed = true;
    } else {
      out += c;
    }
  }
  if (!placed) out += digits;
  if (value < 0 && std::llround(std::fabs(value)) != 0) out.insert(0, "-");
  else if (alwaysSign) out.insert(0, "+");
  return out;
}

double Val(std::string_view s) {
  String t = LTrim(s);
  // Decimal numbers only: no hexadecimal, infinity or NaN forms.
  size_t digits = t.find_first_not_of("+-");
  if (digits == String::npos || !(std::isdigit(static_cast<unsigned char>(t[digits])) || t[digits] == '.'))
    return 0.0;
  if (t.compare(digits, 2, "0x") == 0 || t.compare(digits, 2, "0X") == 0) return 0.0;
  const char* begin = t.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  return (end == begin || !std::isfinite(v)) ? 0.0 : v;
}

}  // namespace fw
