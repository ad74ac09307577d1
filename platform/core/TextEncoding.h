#pragma once
// Text encodings and their conversion (glibc iconv), line-ending replacement and Base64.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

enum class TextEncoding { UTF8, ISO2022JP, ShiftJIS, MacJapanese, Latin1 };

namespace Encodings {
inline constexpr TextEncoding UTF8 = TextEncoding::UTF8;
inline constexpr TextEncoding ShiftJIS = TextEncoding::ShiftJIS;
inline constexpr TextEncoding MacJapanese = TextEncoding::MacJapanese;
}  // namespace Encodings

// Encoding by its classic code, variant and format; 0x820, 0, 0 is ISO-2022-JP.
std::optional<TextEncoding> GetTextEncoding(int code, int variant = 0, int format = 0);

// Holds its iconv handles for its lifetime: a conversion opens none of its own.
class TextConverter {
 public:
  virtual ~TextConverter();
  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;
  // Converts the whole text; bytes or characters the target cannot hold are passed to
  // Unconvertible, whose result (already in the target encoding) takes their place. Without a
  // system conversion the text comes back unchanged.
  std::string convert(std::string_view text) const;

 protected:
  TextConverter(TextEncoding from, TextEncoding to);
  // Default: "?".
  virtual std::string Unconvertible(std::string_view sourceChar) const;
  // One source character through glibc's transliteration into the target encoding, ending in
  // the initial shift state; empty when it has nothing better than "?".
  std::string Transliterate(std::string_view sourceChar) const;

 private:
  friend std::unique_ptr<TextConverter> GetTextConverter(TextEncoding, TextEncoding);
  struct Handles;
  std::unique_ptr<Handles> handles_;
  TextEncoding from_, to_;
};

// nullptr when the system has no such conversion.
std::unique_ptr<TextConverter> GetTextConverter(TextEncoding from, TextEncoding to);

// True when the bytes are well-formed UTF-8.
bool IsValidUTF8(std::string_view bytes);
// True when every byte is ASCII (below 0x80).
bool IsASCII(std::string_view bytes);

enum class EndOfLine { Windows, Unix, Macintosh };
// The platform's own line ending.
std::string EndOfLineText();
std::string EndOfLineText(EndOfLine kind);
// Every CR LF, lone CR and lone LF becomes the given line end.
std::string ReplaceLineEndings(std::string_view text, EndOfLine kind);

// Standard Base64; lineLength 0 writes one line, otherwise lines of that many characters
// separated by CR LF.
std::string EncodeBase64(std::string_view bytes, int lineLength = 0);
// Skips characters outside the alphabet; stops at padding.
std::string DecodeBase64(std::string_view text);

}  // namespace fw
