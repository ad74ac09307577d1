#include "smtp/PartHeaders.h"

#include <vector>

#include "platform/core/Strings.h"
#include "smtp/InternetHeaders.h"

namespace part_headers {
namespace {

// The value split at every ";" that stands outside quotes.
std::vector<std::string_view> Segments(std::string_view value) {
  std::vector<std::string_view> segments;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (quoted && c == '\\') {
      ++i;  // the escaped character neither ends the quotes nor separates
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ';' && !quoted) {
      segments.push_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  segments.push_back(value.substr(start));
  return segments;
}

// A parameter value without its quotes and escapes; an unclosed quote runs to the end.
std::string Unquoted(std::string_view raw) {
  const std::string value = fw::Trim(raw);
  if (value.empty() || value.front() != '"') return value;
  std::string out;
  for (size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    out += value[i];
  }
  return fw::Trim(out);
}

}  // namespace

std::string Value(std::string_view block, std::string_view name) {
  InternetHeaders headers;
  headers._ParseHeaders(block);
  return headers.Value(name);
}

std::string MainValue(std::string_view headerValue) { return fw::Trim(Segments(headerValue).front()); }

std::string Parameter(std::string_view headerValue, std::string_view name) {
  const std::vector<std::string_view> segments = Segments(headerValue);
  for (size_t i = 1; i < segments.size(); ++i) {
    const size_t equals = segments[i].find('=');
    if (equals != std::string_view::npos && fw::StrEquals(fw::Trim(segments[i].substr(0, equals)), name))
      return Unquoted(segments[i].substr(equals + 1));
  }
  return {};
}

}  // namespace part_headers
