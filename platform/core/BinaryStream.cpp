#include "platform/core/BinaryStream.h"

#include <algorithm>

namespace fw {

std::shared_ptr<BinaryStream> BinaryStream::Open(const std::string& path, bool readWrite) {
  auto file = std::make_unique<QFile>(QString::fromStdString(path));
  if (!file->open(readWrite ? QIODevice::ReadWrite : QIODevice::ReadOnly)) return nullptr;
  return std::shared_ptr<BinaryStream>(new BinaryStream(std::move(file)));
}

std::shared_ptr<BinaryStream> BinaryStream::Create(const std::string& path, std::string* reason) {
  auto file = std::make_unique<QSaveFile>(QString::fromStdString(path));
  if (!file->open(QIODevice::WriteOnly)) {
    if (reason) *reason = file->errorString().toStdString();
    return nullptr;
  }
  file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return std::shared_ptr<BinaryStream>(new BinaryStream(std::move(file)));
}

BinaryStream::~BinaryStream() {
  // A stream dropped without Close writes nothing in place of the old file.
  if (auto* save = dynamic_cast<QSaveFile*>(file_.get()); save && save->isOpen()) save->cancelWriting();
}

std::string BinaryStream::Read(size_t count) {
  QByteArray bytes = file_->read(qint64(count));
  if (size_t(bytes.size()) < count) readPastEnd_ = true;
  return bytes.toStdString();
}

int32_t BinaryStream::ReadLong() {
  std::string b = Read(4);
  if (b.size() < 4) return 0;
  uint32_t v = 0;
  for (char c : b) v = (v << 8) | static_cast<unsigned char>(c);
  return static_cast<int32_t>(v);
}

void BinaryStream::WriteBytes(const char* data, size_t size) {
  if (file_->write(data, qint64(size)) == qint64(size)) return;
  if (!failed_) errorText_ = file_->errorString().toStdString();
  failed_ = true;
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

bool BinaryStream::IsEOF() const { return readPastEnd_ || file_->atEnd(); }

bool BinaryStream::Close() {
  if (!file_->isOpen()) return !failed_;
  if (auto* save = dynamic_cast<QSaveFile*>(file_.get())) {
    if (failed_) {
      save->cancelWriting();
      return false;
    }
    if (!save->commit()) {
      errorText_ = save->errorString().toStdString();
      return false;
    }
    QFile written(save->fileName());
    if (written.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) return true;
    errorText_ = written.errorString().toStdString();
    return false;
  }
  file_->close();
  return !failed_;
}

}  // namespace fw
