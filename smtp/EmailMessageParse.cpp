// Reading a whole mail text into the message: header block, bodies and attachments.
//
// A line ends at CR LF, LF or CR alone, wherever it stands, so a text that mixes them reads
// line by line all the same. Results for texts without the expected structure:
// - no empty line: the whole text is the header block and the body is empty; a text that begins
//   with a line end has an empty header block;
// - a part without an empty line is all header lines and has empty data;
// - a multipart body without an opening delimiter line, or with no part before its closing
//   delimiter, files nothing; one without a closing delimiter line runs to the end of the text;
// - a multipart body nested deeper than kMaxMultipartDepth is filed as one attachment of its own
//   multipart type holding its raw text.
// A delimiter line is "--" and the boundary, in its own letter case, then "--" for the closing
// one, then nothing but blanks and tabs (transport padding, RFC 2046). It counts only at the
// start of a line, and the line end before it belongs to it, so no part's data ends with that
// line end. Parts are read as views into the text: nesting copies nothing.
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/Thread.h"
#include "smtp/EmailMessage.h"
#include "smtp/PartHeaders.h"

namespace {

constexpr int kMaxMultipartDepth = 32;

// Length of the line end at pos: 2 for CR LF, 1 for a lone CR or LF, 0 for none.
size_t LineEndAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '\r') return text.substr(pos + 1).starts_with('\n') ? 2 : 1;
  return text[pos] == '\n' ? 1 : 0;
}

// Where the line that starts at pos ends (its line end or the end of the text).
size_t LineEnd(std::string_view text, size_t pos) { return std::min(text.find_first_of("\r\n", pos), text.size()); }

// A text split at its first empty line into header lines (without the line end before the
// empty line) and data.
std::pair<std::string_view, std::string_view> AtFirstEmptyLine(std::string_view text) {
  size_t headerEnd = 0;
  for (size_t lineStart = 0; lineStart < text.size();) {
    const size_t end = LineEnd(text, lineStart);
    const size_t eol = LineEndAt(text, end);
    if (end == lineStart && eol > 0) return {text.substr(0, headerEnd), text.substr(end + eol)};
    headerEnd = end;
    lineStart = end + eol;
  }
  return {text, {}};
}

// True when the text ends with the end line "." after DATA.
bool EndsWithEndLine(std::string_view text) {
  return text.size() >= 2 && text.ends_with('.') && LineEndAt(text, text.size() - 2) > 0;
}

// The text after DATA without its end line and with the dot that doubles a leading "." removed
// from every line.
std::string WithoutDataTransparency(std::string_view text) {
  text.remove_suffix(1);
  text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
  std::string out;
  out.reserve(text.size());
  for (size_t lineStart = 0;;) {
    if (text.substr(lineStart).starts_with('.')) ++lineStart;
    const size_t end = LineEnd(text, lineStart);
    const size_t next = end + LineEndAt(text, end);
    out += text.substr(lineStart, next - lineStart);
    if (next == end) return out;
    lineStart = next;
  }
}

// Reads a header block into headers. The header reader splits at one kind of line end, so a
// block that mixes them is given the one it uses first (CR LF, else LF, else CR) throughout.
void ReadHeaderBlock(InternetHeaders& headers, std::string_view block) {
  const std::string eol = InternetHeaders::_DetermineEOLCharacter(block);
  const fw::EndOfLine kind =
      eol == "\r\n" ? fw::EndOfLine::Windows : eol == "\n" ? fw::EndOfLine::Unix : fw::EndOfLine::Macintosh;
  headers._ParseHeaders(fw::ReplaceLineEndings(block, kind));
}

struct DelimiterLine {
  size_t start;  // of the line
  size_t next;   // where the line after it starts
  bool closing;
};

// The first delimiter line of boundary at or after from; text begins at a line start.
std::optional<DelimiterLine> NextDelimiterLine(std::string_view text, std::string_view boundary, size_t from) {
  const std::string dashes = "--" + std::string(boundary);
  for (size_t at = text.find(dashes, from); at != std::string_view::npos; at = text.find(dashes, at + 1)) {
    if (at > 0 && text[at - 1] != '\n' && text[at - 1] != '\r') continue;
    size_t pos = at + dashes.size();
    const bool closing = text.substr(pos).starts_with("--");
    if (closing) pos += 2;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    const size_t eol = LineEndAt(text, pos);
    if (eol > 0 || pos == text.size()) return DelimiterLine{at, pos + eol, closing};
  }
  return std::nullopt;
}

}  // namespace

void EmailMessage::Source(std::string_view text) {
  _rawSource = text;
  std::string unstuffed;
  std::string_view message = _rawSource;
  if (EndsWithEndLine(message)) message = unstuffed = WithoutDataTransparency(message);
  const auto [headerBlock, body] = AtFirstEmptyLine(message);

  Headers = EmailHeaders();
  ReadHeaderBlock(Headers, headerBlock);
  BodyPlainText.clear();
  BodyHTML.clear();
  BodyEnriched.clear();
  Attachments.clear();

  const std::string boundary = part_headers::Parameter(Headers.Value("Content-Type"), "boundary");
  if (boundary.empty())
    _ProcessBodyData(Headers, body);  // one part, whose header lines are the message's own
  else
    _ParseBodyBoundary(body, boundary);
}

void EmailMessage::_ParseBodyBoundary(std::string_view body, std::string_view boundary, int depth) {
  std::optional<DelimiterLine> delimiter = NextDelimiterLine(body, boundary, 0);
  for (bool first = true; delimiter && !delimiter->closing; first = false) {
    const size_t start = delimiter->next;
    delimiter = NextDelimiterLine(body, boundary, start);
    size_t end = delimiter ? delimiter->start : body.size();
    if (delimiter && end > start) end -= end - start >= 2 && body.substr(end - 2, 2) == "\r\n" ? 2 : 1;
    // Nothing between the opening and the closing delimiter is no part at all.
    if (first && end == start && (!delimiter || delimiter->closing)) return;

    const auto [headerBlock, data] = AtFirstEmptyLine(body.substr(start, end - start));
    InternetHeaders partHeaders;
    ReadHeaderBlock(partHeaders, headerBlock);
    const std::string nested = part_headers::Parameter(partHeaders.Value("Content-Type"), "boundary");
    if (nested.empty() || depth >= kMaxMultipartDepth)
      _ProcessBodyData(partHeaders, data);
    else
      _ParseBodyBoundary(data, nested, depth + 1);
    fw::YieldToNextThread();
  }
}

void EmailMessage::_ProcessBodyData(const InternetHeaders& partHeaders, std::string_view data) {
  std::string type = part_headers::MainValue(partHeaders.Value("Content-Type"));
  if (type.empty()) type = "text/plain";
  const std::string disposition = part_headers::MainValue(partHeaders.Value("Content-Disposition"));
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
