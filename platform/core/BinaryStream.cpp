#include "platform/core/BinaryStream.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/core/WholeFile.h"

namespace fw {

std::shared_ptr<BinaryStream> BinaryStream::Open(const std::string& path, bool readWrite) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return nullptr;
  return std::shared_ptr<BinaryStream>(new BinaryStream(path, std::move(*bytes), readWrite));
}

std::shared_ptr<BinaryStream> BinaryStream::Create(const std::string& path) {
  std::shared_ptr<BinaryStream> stream(new BinaryStream(path, {}, true));
  stream->changed_ = true;  // an empty new file is still a file
  return stream;
}

std::string BinaryStream::Read(size_t count) {
  std::string bytes = bytes_.substr(position_, count);
  position_ += bytes.size();
  if (bytes.size() < count) readPastEnd_ = true;
  return bytes;
}

int32_t BinaryStream::ReadLong() {
  std::string b = Read(4);
  if (b.size() < 4) return 0;
  uint32_t v = 0;
  for (char c : b) v = (v << 8) | static_cast<unsigned char>(c);
  return static_cast<int32_t>(v);
}

void BinaryStream::WriteBytes(const char* data, size_t size) {
  if (!writable_ || closed_) {
    if (!failed_) errorText_ = std::make_error_code(std::errc::bad_file_descriptor).message();
    failed_ = true;
    return;
  }
  bytes_.replace(position_, std::min(size, bytes_.size() - position_), data, size);
  position_ += size;
  changed_ = true;
}

void BinaryStream::WriteLong(int32_t value) {
  auto v = static_cast<uint32_t>(value);
  char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  WriteBytes(b, 4);
}

std::string BinaryStream::ReadPString() {
  std::string length = Read(1);
  if (length.empty()) return {};
  return Read(static_cast<unsigned char>(length[0]));
}

void BinaryStream::WritePString(std::string_view text) {
  size_t n = std::min<size_t>(text.size(), 255);
  while (n < text.size() && n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  char length = char(n);
  WriteBytes(&length, 1);
  WriteBytes(text.data(), n);
}

bool BinaryStream::IsEOF() const { return readPastEnd_ || position_ >= bytes_.size(); }

void BinaryStream::SetPosition(int64_t position) {
  position_ = size_t(std::clamp<int64_t>(position, 0, Length()));
}

bool BinaryStream::Close() {
  const bool write = changed_ && !closed_ && !failed_;
  closed_ = true;
  if (!write) return !failed_;
  if (std::error_code error = ReplaceWholeFile(path_, bytes_)) {
    errorText_ = error.message();
    failed_ = true;
  }
  return !failed_;
}

}  // namespace fw
