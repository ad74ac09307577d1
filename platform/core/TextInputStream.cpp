#include "platform/core/TextInputStream.h"

#include <QFile>

#include "platform/core/TextEncoding.h"

namespace fw {

std::shared_ptr<TextInputStream> TextInputStream::Open(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return nullptr;
  return std::make_shared<TextInputStream>(bytes.toStdString());
}

std::string TextInputStream::DecodeText(std::string bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  if (IsValidUTF8(bytes)) return bytes;
  auto converter = GetTextConverter(TextEncoding::ShiftJIS, TextEncoding::UTF8);
  return converter ? converter->convert(bytes) : bytes;
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
