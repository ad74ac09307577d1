#pragma once
// A binary file: big-endian 32-bit integers and length-prefixed texts. The stream holds the
// file's bytes; a stream that writes puts them in the file's place, whole, when it closes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class BinaryStream {
 public:
  // nullptr when the file is not a regular file of up to kMaxFileBytes that can be read.
  static std::shared_ptr<BinaryStream> Open(const std::string& path, bool readWrite);
  // An empty file that takes the place of any of that name, readable by its owner only, when
  // Close succeeds; nothing is written before.
  static std::shared_ptr<BinaryStream> Create(const std::string& path);

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
  int64_t Length() const { return int64_t(bytes_.size()); }
  // Reads and writes go on from here, 0 to Length.
  void SetPosition(int64_t position);
  // False when a write failed or the file could not be put in place.
  bool Close();
  // The system's reason for the first failed write, or for a Close that failed.
  const std::string& ErrorText() const { return errorText_; }

 private:
  BinaryStream(std::string path, std::string bytes, bool writable)
      : path_(std::move(path)), bytes_(std::move(bytes)), writable_(writable) {}
  void WriteBytes(const char* data, size_t size);

  std::string path_;
  std::string bytes_;
  size_t position_ = 0;
  bool writable_;
  bool changed_ = false;  // Close puts the bytes in the file's place
  bool closed_ = false;
  bool readPastEnd_ = false;
  bool failed_ = false;
  std::string errorText_;
};

}  // namespace fw
