#pragma once
// A binary file: big-endian 32-bit integers and length-prefixed texts.
#include <QFile>
#include <QSaveFile>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class BinaryStream {
 public:
  static std::shared_ptr<BinaryStream> Open(const std::string& path, bool readWrite);
  // Writes go to a new file that takes the old one's place only when Close succeeds. nullptr
  // when the file cannot be made, with the system's reason in *reason when given.
  static std::shared_ptr<BinaryStream> Create(const std::string& path, std::string* reason = nullptr);
  ~BinaryStream();

  // Past the end: 0, and IsEOF becomes True.
  int32_t ReadLong();
  void WriteLong(int32_t value);
  // A length byte, then that many bytes; past the end gives what is there.
  std::string ReadPString();
  // Texts longer than 255 bytes are cut to at most 255 bytes, between two UTF-8 characters, so
  // the length byte always matches.
  void WritePString(std::string_view text);
  std::string Read(size_t count);
  bool IsEOF() const;
  // True once a read found fewer bytes than it asked for.
  bool ReadPastEnd() const { return readPastEnd_; }
  // False when a write failed or the file could not be put in place.
  bool Close();
  // The system's reason for the first failed write, or for a Close that failed.
  const std::string& ErrorText() const { return errorText_; }

 private:
  explicit BinaryStream(std::unique_ptr<QFileDevice> file) : file_(std::move(file)) {}
  void WriteBytes(const char* data, size_t size);
  std::unique_ptr<QFileDevice> file_;
  bool readPastEnd_ = false;
  bool failed_ = false;
  std::string errorText_;
};

}  // namespace fw
