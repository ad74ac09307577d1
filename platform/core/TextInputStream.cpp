#include "platform/core/TextInputStream.h"

#include <QStringDecoder>
#include <vector>

#include "platform/core/TextEncoding.h"
#include "platform/core/WholeFile.h"

namespace fw {
namespace {

// The pieces of text, each up to and with its line end. CR and LF never occur inside a
// Shift_JIS character, so a piece is a line in either encoding.
std::vector<std::string_view> Pieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    size_t end = text.find_first_of("\r\n");
    end = end == std::string_view::npos ? text.size() : end + 1;
    pieces.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return pieces;
}

}  // namespace

std::shared_ptr<TextInputStream> TextInputStream::Open(const std::string& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return nullptr;
  return std::make_shared<TextInputStream>(std::move(*bytes));
}

std::string TextInputStream::DecodeText(std::string bytes) {
  // UTF-16 says so with its byte-order mark (a spreadsheet's "Unicode text"); the decoder drops it.
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    QStringDecoder utf16(bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return QString(utf16(QByteArrayView(bytes.data(), qsizetype(bytes.size())))).toStdString();
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  if (IsValidUTF8(bytes)) return bytes;
  auto converter = GetTextConverter(TextEncoding::ShiftJIS, TextEncoding::UTF8);
  if (!converter) return bytes;
  // Mostly Shift_JIS: the whole text is. Otherwise only the lines that are not UTF-8 are.
  const std::vector<std::string_view> lines = Pieces(bytes);
  size_t beyondAscii = 0, odd = 0;
  for (std::string_view line : lines) {
    if (IsValidUTF8(line)) {
      beyondAscii += IsASCII(line) ? 0 : 1;
    } else {
      ++beyondAscii;
      ++odd;
    }
  }
  if (odd * 2 > beyondAscii) return converter->convert(bytes);
  std::string text;
  for (std::string_view line : lines) text += IsValidUTF8(line) ? std::string(line) : converter->convert(line);
  return text;
}

TextInputStream::TextInputStream(std::string bytes) : text_(DecodeText(std::move(bytes))) {}

std::string TextInputStream::ReadLine() {
  if (IsEOF()) return {};
  size_t end = text_.find_first_of("\r\n", pos_);
  if (end == std::string::npos) end = text_.size();
  std::string line = text_.substr(pos_, end - pos_);
  pos_ = end;
  if (pos_ < text_.size()) pos_ += (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ? 2 : 1;
  return line;
}

}  // namespace fw
