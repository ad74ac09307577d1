// The text forms of a header collection and the reading of a header block.
#include <algorithm>
#include <unordered_map>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/Thread.h"
#include "smtp/HeaderKeys.h"
#include "smtp/InternetHeaders.h"

namespace {
const std::string kCRLF = "\r\n";
// Headers the mail block writes in its fixed part (or never, BCC); each between colons.
constexpr std::string_view kFixedPartNames = ":Date:Subject:From:To:CC:BCC:Received:Return-Path:";
// The longest line of a mail text, line end not counted (RFC 5322), and the length a folded
// line keeps to where its words allow.
constexpr size_t kMaxMailLine = 998;
constexpr size_t kFoldedLine = 78;

// "name: value" on one line. A line break in the value is written as a blank: it would
// otherwise start a header of its own, or end the header block.
std::string HeaderLine(std::string_view name, std::string_view value) {
  return std::string(name) + ": " + fw::ReplaceAll(fw::ReplaceLineEndings(value, fw::EndOfLine::Unix), "\n", " ");
}

// A header line too long for a mail text, folded before blanks: each line takes as many words as
// fit in kFoldedLine octets, and at least one. The name stays with the value's first word, and
// blanks that end the value stay on the last line.
std::string Folded(const std::string& line) {
  if (line.size() <= kMaxMailLine) return line;
  std::string out;
  size_t lineLength = 0;
  bool canFold = false;
  for (size_t start = 0; start < line.size();) {
    const size_t word = line.find_first_not_of(" \t", start);
    if (word == std::string::npos) {
      out.append(line, start);
      break;
    }
    const size_t end = std::min(line.find_first_of(" \t", word), line.size());
    if (canFold && lineLength + (end - start) > kFoldedLine) {
      out += kCRLF;
      lineLength = 0;
    }
    out.append(line, start, end - start);
    lineLength += end - start;
    canFold = start > 0;
    start = end;
  }
  return out;
}

// Appends CR LF and one line; the caller drops the leading CR LF at the end.
void AddLine(std::string& block, std::string_view name, std::string_view value) {
  block += kCRLF;
  block += HeaderLine(name, value);
}

void AddMailLine(std::string& block, std::string_view name, std::string_view value) {
  block += kCRLF;
  block += Folded(HeaderLine(name, value));
}

std::string WithoutLeadingLineEnd(const std::string& block) { return block.substr(std::min<size_t>(2, block.size())); }
}  // namespace

std::string InternetHeaders::_FormatEmailHeaders() const {
  std::string block;
  if (_Headers.HasKey("Return-Path")) AddMailLine(block, "Return-Path", _Headers.Value("Return-Path"));
  for (int i = 0; _Headers.HasKey(header_keys::Key("Received", i)); ++i) {
    AddMailLine(block, "Received", _Headers.Value(header_keys::Key("Received", i)));
    fw::YieldToNextThread();
  }
  for (const char* name : {"Date", "Subject", "From"})
    if (_Headers.HasKey(name)) AddMailLine(block, name, _Headers.Value(name));
  for (const char* name : {"To", "CC"})
    if (_Headers.HasKey(name)) AddMailLine(block, name, CommaSeparatedValues(name));
  for (int i = 0; i < _Headers.Count(); ++i) {
    const std::string key = _Headers.Key(i);
    const std::string name = header_keys::NameOf(key);
    if (fw::InStr(kFixedPartNames, ":" + name + ":") == 0) AddMailLine(block, name, _Headers.Value(key));
    fw::YieldToNextThread();
  }
  return WithoutLeadingLineEnd(block);
}

std::string InternetHeaders::_FormatHTTPHeaders() const {
  std::string block;
  for (int i = 0; i < _Headers.Count(); ++i) {
    const std::string key = _Headers.Key(i);
    AddLine(block, header_keys::NameOf(key), _Headers.Value(key));
    fw::YieldToNextThread();
  }
  return WithoutLeadingLineEnd(block);
}

std::string InternetHeaders::Source() const { return _rawHeaders.empty() ? _FormatHTTPHeaders() : _rawHeaders; }

std::string InternetHeaders::_DetermineEOLCharacter(std::string_view s) {
  if (s.find("\r\n") != std::string_view::npos) return "\r\n";
  if (s.find('\n') != std::string_view::npos) return "\n";
  if (s.find('\r') != std::string_view::npos) return "\r";
  return "\r\n";
}

void InternetHeaders::_ParseHeaders(std::string_view raw) {
  _rawHeaders = std::string(raw);
  const std::string eol = _DetermineEOLCharacter(raw);
  _Headers.Clear();
  // Instances read so far per name: the next free number of each, since the collection started
  // empty. A block with many lines of one name is read without counting them again per line.
  std::unordered_map<std::string, int> counts;
  // Join folded lines: the line end and the continuation's first blank or tab become one blank.
  const std::string unfolded = fw::ReplaceAll(fw::ReplaceAll(raw, eol + " ", " "), eol + "\t", " ");
  for (const std::string& line : fw::Split(unfolded, eol)) {
    if (fw::InStrB(line, ":") > 0) {
      const std::string name = header_keys::NameOf(line);
      const std::string key = header_keys::Key(name, counts[fw::Lowercase(name)]++);
      _Headers.SetValue(key, fw::LTrim(fw::MidB(line, fw::LenB(name) + 2)));
    }
    fw::YieldToNextThread();
  }
}
