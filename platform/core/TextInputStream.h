#pragma once
// A text file read line by line. Lines end at CR LF, LF or CR. A file that starts with a UTF-16
// byte-order mark is read as UTF-16. Otherwise a UTF-8 byte-order mark is dropped; a file whose
// lines beyond ASCII are mostly not UTF-8 is read as Shift_JIS (CP932), and in any other file each
// line that is not UTF-8 is. Lines come out as UTF-8.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class TextInputStream {
 public:
  // nullptr when the file cannot be opened or is not a regular file of up to kMaxFileBytes.
  static std::shared_ptr<TextInputStream> Open(const std::string& path);
  // Reads from text already in memory (the file's bytes).
  explicit TextInputStream(std::string bytes);

  // The next line without its line end; empty past the end.
  std::string ReadLine();
  // The framework's EOF (a C macro takes that name): True once the last line has been read,
  // at once for an empty file.
  bool IsEOF() const { return pos_ >= text_.size(); }
  void Close() {}

  // The file's bytes as the stream reads them: byte-order mark gone, UTF-8.
  static std::string DecodeText(std::string bytes);

 private:
  std::string text_;
  size_t pos_ = 0;
};

}  // namespace fw
