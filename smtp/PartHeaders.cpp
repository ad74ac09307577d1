#include "smtp/PartHeaders.h"

#include <vector>

#include "platform/core/Strings.h"

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

std::string MainValue(std::string_view headerValue) { return fw::Trim(Segments(headerValue).front()); }

std::vector<std::pair<std::string, std::string>> Parameters(std::string_view headerValue) {
  std::vector<std::pair<std::string, std::string>> parameters;
  const std::vector<std::string_view> segments = Segments(headerValue);
  for (size_t i = 1; i < segments.size(); ++i) {
    const size_t equals = segments[i].find('=');
    if (equals != std::string_view::npos)
      parameters.emplace_back(fw::Trim(segments[i].substr(0, equals)), Unquoted(segments[i].substr(equals + 1)));
  }
  return parameters;
}

std::string Parameter(std::string_view headerValue, std::string_view name) {
  for (auto& [parameterName, value] : Parameters(headerValue))
    if (fw::StrEquals(parameterName, name)) return std::move(value);
  return {};
}

}  // namespace part_headers
