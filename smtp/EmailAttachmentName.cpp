#include "smtp/EmailAttachmentName.h"

#include <cctype>
#include <charconv>
#include <map>
#include <optional>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "smtp/PartHeaders.h"

namespace {

// The encoding of a MIME character set name; nullopt for UTF-8 and US-ASCII, which need no
// conversion, and for sets the converter does not know.
std::optional<fw::TextEncoding> EncodingOf(std::string_view charset) {
  const std::string name = fw::Lowercase(charset);
  if (name == "iso-2022-jp") return fw::TextEncoding::ISO2022JP;
  if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" || name == "cp932" ||
      name == "windows-31j")
    return fw::TextEncoding::ShiftJIS;
  if (name == "iso-8859-1" || name == "latin1" || name == "iso_8859-1") return fw::TextEncoding::Latin1;
  return std::nullopt;
}

std::string ToUTF8(const std::string& bytes, std::string_view charset) {
  const auto encoding = EncodingOf(charset);
  const auto converter = encoding ? fw::GetTextConverter(*encoding, fw::TextEncoding::UTF8) : nullptr;
  return converter ? converter->convert(bytes) : bytes;
}

// escape and two hex digits give one byte; everything else stays.
std::string Unescaped(std::string_view text, char escape) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = 0;
    if (text[i] == escape && i + 2 < text.size() &&
        std::from_chars(text.data() + i + 1, text.data() + i + 3, byte, 16).ptr == text.data() + i + 3) {
      out += char(byte);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Encoded words ("=?charset?B?...?=", "=?charset?Q?...?=") decoded; the blanks between two
// adjacent words go, and adjacent words of one character set are converted together.
std::string DecodedWords(std::string_view value) {
  std::string out, pending, pendingCharset;
  auto flush = [&] {
    out += ToUTF8(pending, pendingCharset);
    pending.clear();
  };
  bool afterWord = false;
  size_t pos = 0;  // where the text not yet taken begins
  for (size_t at = value.find("=?"); at != std::string_view::npos; at = value.find("=?", at + 2)) {
    const size_t q1 = value.find('?', at + 2);
    const size_t end = q1 == std::string_view::npos ? q1 : value.find("?=", q1 + 3);
    if (end == std::string_view::npos || value[q1 + 2] != '?') continue;
    const char kind = char(std::toupper(static_cast<unsigned char>(value[q1 + 1])));
    if (kind != 'B' && kind != 'Q') continue;
    // "charset*language" (RFC 2231) names the character set before the star.
    std::string_view charset = value.substr(at + 2, q1 - at - 2);
    charset = charset.substr(0, charset.find('*'));
    const std::string_view between = value.substr(pos, at - pos);
    const bool joined = afterWord && fw::Trim(between).empty();
    if (!joined || !fw::StrEquals(charset, pendingCharset)) flush();
    if (!joined) out += between;
    pendingCharset = charset;
    const std::string_view text = value.substr(q1 + 3, end - q1 - 3);
    pending += kind == 'B' ? fw::DecodeBase64(text) : Unescaped(fw::ReplaceAll(text, "_", " "), '=');
    afterWord = true;
    pos = end + 2;
    at = end;
  }
  flush();
  return out + std::string(value.substr(pos));
}

}  // namespace

namespace attachment_name {

std::string Decoded(std::string_view headerValue, std::string_view name) {
  std::optional<std::string> plain;
  std::map<int, std::pair<std::string, bool>> sections;  // number -> value, percent-encoded
  const std::string extended = std::string(name) + "*";
  for (auto& [parameter, value] : part_headers::Parameters(headerValue)) {
    if (fw::StrEquals(parameter, name)) {
      if (!plain) plain = value;
    } else if (parameter.size() >= extended.size() && fw::StrEquals(parameter.substr(0, extended.size()), extended)) {
      std::string_view number = std::string_view(parameter).substr(extended.size());
      const bool encoded = number.empty() || number.ends_with('*');
      if (number.ends_with('*')) number.remove_suffix(1);
      int n = 0;
      if (!number.empty() && std::from_chars(number.data(), number.data() + number.size(), n).ptr != number.end())
        continue;
      sections.try_emplace(n, std::move(value), encoded);
    }
  }
  if (!sections.contains(0)) return plain ? DecodedWords(*plain) : std::string();

  // The first section, when encoded, begins with charset'language'.
  std::string charset, bytes;
  for (int n = 0; sections.contains(n); ++n) {
    std::string_view value = sections[n].first;
    if (!sections[n].second) {
      bytes += value;
      continue;
    }
    if (n == 0) {
      const size_t first = value.find('\''), second = value.find('\'', first + 1);
      if (second != std::string_view::npos) {
        charset = value.substr(0, first);
        value.remove_prefix(second + 1);
      }
    }
    bytes += Unescaped(value, '%');
  }
  return ToUTF8(bytes, charset);
}

}  // namespace attachment_name
