// The text forms of a header collection and the reading of a header block.
#include <algorithm>

#include "platform/core/Strings.h"
#include "platform/core/Thread.h"
#include "smtp/HeaderKeys.h"
#include "smtp/InternetHeaders.h"

namespace {
const std::string kCRLF = "\r\n";
// Headers the mail block writes in its fixed part (or never, BCC); each between colons.
constexpr std::string_view kFixedPartNames = ":Date:Subject:From:To:CC:BCC:Received:Return-Path:";

// Appends CR LF and one "name: value" line; the caller drops the leading CR LF at the end.
void AddLine(std::string& block, std::string_view name, std::string_view value) {
  block += kCRLF;
  block += name;
  block += ": ";
  block += value;
}

std::string WithoutLeadingLineEnd(const std::string& block) { return block.substr(std::min<size_t>(2, block.size())); }
}  // namespace

std::string InternetHeaders::_FormatEmailHeaders() const {
  std::string block;
  if (_Headers.HasKey("Return-Path")) AddLine(block, "Return-Path", _Headers.Value("Return-Path"));
  for (int i = 0; _Headers.HasKey(header_keys::Key("Received", i)); ++i) {
    AddLine(block, "Received", _Headers.Value(header_keys::Key("Received", i)));
    fw::YieldToNextThread();
  }
  for (const char* name : {"Date", "Subject", "From"})
    if (_Headers.HasKey(name)) AddLine(block, name, _Headers.Value(name));
  for (const char* name : {"To", "CC"})
    if (_Headers.HasKey(name)) AddLine(block, name, CommaSeparatedValues(name));
  for (int i = 0; i < _Headers.Count(); ++i) {
    const std::string key = _Headers.Key(i);
    const std::string name = header_keys::NameOf(key);
    if (fw::InStr(kFixedPartNames, ":" + name + ":") == 0) AddLine(block, name, _Headers.Value(key));
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
  // Join folded lines: the line end and the continuation's first blank or tab become one blank.
  const std::string unfolded = fw::ReplaceAll(fw::ReplaceAll(raw, eol + " ", " "), eol + "\t", " ");
  for (const std::string& line : fw::Split(unfolded, eol)) {
    if (fw::InStrB(line, ":") > 0) {
      const std::string name = header_keys::NameOf(line);
      AppendHeader(name, fw::LTrim(fw::MidB(line, fw::LenB(name) + 2)));
    }
    fw::YieldToNextThread();
  }
}
