// Reading a whole mail text into the message: header block, bodies and attachments.
//
// Results for texts without the expected structure:
// - no empty line: the whole text is the header block and the body is empty; a text that begins
//   with a line end has an empty header block;
// - a part without an empty line is all header lines and has empty data;
// - a multipart body without an opening delimiter line, or with no part before its closing
//   delimiter, files nothing; one without a closing delimiter line runs to the end of the text;
// - a multipart body nested deeper than kMaxMultipartDepth is filed as one attachment of its own
//   multipart type holding its raw text.
// Every part is read with the line end of the whole text (CR LF, LF or CR); a delimiter counts
// only at the start of a line, and the line end before it belongs to it (RFC 2046), so no part's
// data ends with that line end.
#include <optional>
#include <utility>

#include "platform/core/Strings.h"
#include "platform/core/Thread.h"
#include "smtp/EmailMessage.h"
#include "smtp/PartHeaders.h"

namespace {

constexpr int kMaxMultipartDepth = 32;

// A text split at its first empty line into header lines and data.
std::pair<std::string_view, std::string_view> AtFirstEmptyLine(std::string_view text, const std::string& eol) {
  if (text.starts_with(eol)) return {{}, text.substr(eol.size())};
  const size_t blank = text.find(eol + eol);
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), text.substr(blank + 2 * eol.size())};
}

// The text after DATA without its end line and with the dot that doubles a leading "." removed
// from every line. text ends with eol and ".".
std::string WithoutDataTransparency(std::string_view text, const std::string& eol) {
  text.remove_suffix(eol.size() + 1);
  std::string out;
  out.reserve(text.size());
  for (size_t lineStart = 0;;) {
    const size_t end = text.find(eol, lineStart);
    std::string_view line = text.substr(lineStart, end == std::string_view::npos ? end : end - lineStart);
    if (line.starts_with('.')) line.remove_prefix(1);
    out += line;
    if (end == std::string_view::npos) return out;
    out += eol;
    lineStart = end + eol.size();
  }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return fw::StrEquals(text.substr(0, prefix.size()), prefix);
}

// The parts of a multipart body: the text after its opening delimiter line up to the line end
// before its closing delimiter (or to the end). nullopt without an opening delimiter line.
std::optional<std::string_view> PartsText(std::string_view body, const std::string& boundary, const std::string& eol) {
  const std::string opening = "--" + boundary + eol;
  size_t start = opening.size();
  if (!StartsWithNoCase(body, opening)) {
    const int at = fw::InStrB(body, eol + opening);
    if (at == 0) return std::nullopt;
    start += size_t(at - 1) + eol.size();
  }
  std::string_view parts = body.substr(start);
  const std::string closing = "--" + boundary + "--";
  if (StartsWithNoCase(parts, closing)) return std::string_view();
  if (const int at = fw::InStrB(parts, eol + closing)) parts = parts.substr(0, size_t(at - 1));
  return parts;
}

// The line end a delimiter ends with; CR LF when it ends with none.
std::string LineEndOf(std::string_view delimiter) {
  if (delimiter.ends_with("\r\n")) return "\r\n";
  if (delimiter.ends_with('\n')) return "\n";
  if (delimiter.ends_with('\r')) return "\r";
  return "\r\n";
}

}  // namespace

void EmailMessage::Source(std::string_view text) {
  _rawSource = text;
  const std::string eol = _DetermineEOLCharacter(text);
  const std::string message = text.ends_with(eol + ".") ? WithoutDataTransparency(text, eol) : std::string(text);
  const auto [headerBlock, body] = AtFirstEmptyLine(message, eol);

  Headers = EmailHeaders();
  Headers._ParseHeaders(headerBlock);
  BodyPlainText.clear();
  BodyHTML.clear();
  BodyEnriched.clear();
  Attachments.clear();

  const std::string boundary = part_headers::Parameter(Headers.Value("Content-Type"), "boundary");
  if (boundary.empty()) {
    // One part, whose header lines are the message's own.
    _ProcessBodyData(headerBlock, body);
  } else if (const auto parts = PartsText(body, boundary, eol)) {
    _ParseBodyBoundary(*parts, "--" + boundary + eol);
  }
}

void EmailMessage::_ParseBodyBoundary(std::string_view body, std::string_view delimiter, int depth) {
  if (body.empty()) return;
  const std::string eol = LineEndOf(delimiter);
  for (const std::string& part : fw::Split(body, eol + std::string(delimiter))) {
    const auto [partHeaders, data] = AtFirstEmptyLine(part, eol);
    const std::string boundary =
        part_headers::Parameter(part_headers::Value(partHeaders, "Content-Type"), "boundary");
    if (boundary.empty() || depth >= kMaxMultipartDepth) {
      _ProcessBodyData(partHeaders, data);
    } else if (const auto parts = PartsText(data, boundary, eol)) {
      _ParseBodyBoundary(*parts, "--" + boundary + eol, depth + 1);
    }
    fw::YieldToNextThread();
  }
}

void EmailMessage::_ProcessBodyData(std::string_view partHeaders, std::string_view data) {
  std::string type = part_headers::MainValue(part_headers::Value(partHeaders, "Content-Type"));
  if (type.empty()) type = "text/plain";
  const std::string disposition = part_headers::MainValue(part_headers::Value(partHeaders, "Content-Disposition"));
  bool attachment = fw::StrEquals(disposition, "attachment");
  if (!attachment) {
    if (fw::StrEquals(type, "text/plain"))
      BodyPlainText = data;
    else if (fw::StrEquals(type, "text/html"))
      BodyHTML = data;
    else if (fw::StrEquals(type, "text/enriched"))
      BodyEnriched = data;
    else
      attachment = true;
  }
  if (attachment) {
    Attachments.emplace_back();
    Attachments.back().ParseAttachment(type, partHeaders, data);
  }
}
