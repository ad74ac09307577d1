#include "platform/core/TextEncoding.h"

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace fw {
namespace {

const char* IconvName(TextEncoding e) {
  switch (e) {
    case TextEncoding::UTF8: return "UTF-8";
    case TextEncoding::ISO2022JP: return "ISO-2022-JP";
    case TextEncoding::ShiftJIS: return "CP932";
    case TextEncoding::MacJapanese: return "CP932";  // the closest glibc has
    case TextEncoding::Latin1: return "ISO-8859-1";
  }
  return "UTF-8";
}

// Length of the source character at the start of text (for skipping one that cannot be
// converted): a UTF-8 sequence, a Shift_JIS double byte, or one byte. A following byte that
// cannot belong to the character (a line end, say) is never taken with it.
size_t SourceCharBytes(TextEncoding from, std::string_view text) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char c = byte(0);
  if (from == TextEncoding::UTF8) {
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    size_t taken = 1;
    while (taken < n && taken < text.size() && (byte(taken) & 0xC0) == 0x80) ++taken;
    return taken;
  }
  if (from == TextEncoding::ShiftJIS || from == TextEncoding::MacJapanese) {
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead && text.size() > 1) {
      unsigned char t = byte(1);
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) return 2;
    }
  }
  return 1;
}

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  ~IconvHandle() {
    if (IsOpen()) iconv_close(cd_);
  }
  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<TextEncoding> GetTextEncoding(int code, int variant, int format) {
  if (code == 0x820 && variant == 0 && format == 0) return TextEncoding::ISO2022JP;
  if (code == 0x08000100) return TextEncoding::UTF8;
  return std::nullopt;
}

struct TextConverter::Handles {
  IconvHandle plain;
  std::optional<IconvHandle> translit;  // opened on first use
};

TextConverter::TextConverter(TextEncoding from, TextEncoding to)
    : handles_(new Handles{{IconvName(to), IconvName(from)}, {}}), from_(from), to_(to) {}

TextConverter::~TextConverter() = default;

std::unique_ptr<TextConverter> GetTextConverter(TextEncoding from, TextEncoding to) {
  std::unique_ptr<TextConverter> converter(new TextConverter(from, to));
  if (!converter->handles_->plain.IsOpen()) return nullptr;
  return converter;
}

std::string TextConverter::Unconvertible(std::string_view) const { return "?"; }

std::string TextConverter::Transliterate(std::string_view sourceChar) const {
  auto& translit = handles_->translit;
  if (!translit) translit.emplace((std::string(IconvName(to_)) + "//TRANSLIT").c_str(), IconvName(from_));
  if (!translit->IsOpen()) return {};
  iconv(translit->Get(), nullptr, nullptr, nullptr, nullptr);
  std::string in(sourceChar);
  char out[64];
  char* ip = in.data();
  size_t il = in.size();
  char* op = out;
  size_t ol = sizeof out;
  size_t r = iconv(translit->Get(), &ip, &il, &op, &ol);
  if (r != size_t(-1)) iconv(translit->Get(), nullptr, nullptr, &op, &ol);
  std::string result(out, size_t(op - out));
  // glibc answers "?" for characters it cannot transliterate.
  if (r == size_t(-1) || il != 0 || result.empty() || result == "?") return {};
  return result;
}

std::string TextConverter::convert(std::string_view text) const {
  const IconvHandle& cd = handles_->plain;
  std::string out;
  if (!cd.IsOpen()) return std::string(text);
  iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);  // from the initial shift state
  char buffer[4096];
  auto flush = [&](char* end) { out.append(buffer, size_t(end - buffer)); };
  std::string_view rest = text;
  while (!rest.empty()) {
    char* in = const_cast<char*>(rest.data());
    size_t inLeft = rest.size();
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    size_t r = iconv(cd.Get(), &in, &inLeft, &o, &oLeft);
    flush(o);
    rest = rest.substr(rest.size() - inLeft);
    if (r != size_t(-1)) continue;
    if (errno == E2BIG) continue;
    // An invalid or unconvertible character: put the replacement in its place. The shift
    // state is first brought back to its start, so the replacement is read in that state.
    o = buffer, oLeft = sizeof buffer;
    iconv(cd.Get(), nullptr, nullptr, &o, &oLeft);
    flush(o);
    size_t skip = SourceCharBytes(from_, rest);
    out += Unconvertible(rest.substr(0, skip));
    rest.remove_prefix(skip);
  }
  char* o = buffer;
  size_t oLeft = sizeof buffer;
  iconv(cd.Get(), nullptr, nullptr, &o, &oLeft);  // back to the initial shift state
  flush(o);
  return out;
}

bool IsASCII(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsValidUTF8(std::string_view bytes) {
  return QByteArrayView(bytes.data(), qsizetype(bytes.size())).isValidUtf8();
}

std::string EndOfLineText() { return "\n"; }

std::string EndOfLineText(EndOfLine kind) {
  switch (kind) {
    case EndOfLine::Windows: return "\r\n";
    case EndOfLine::Macintosh: return "\r";
    case EndOfLine::Unix: break;
  }
  return "\n";
}

std::string ReplaceLineEndings(std::string_view text, EndOfLine kind) {
  const std::string eol = EndOfLineText(kind);
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += eol;
    } else if (c == '\n') {
      out += eol;
    } else {
      out += c;
    }
  }
  return out;
}

std::string EncodeBase64(std::string_view bytes, int lineLength) {
  QByteArray encoded = QByteArray(bytes.data(), qsizetype(bytes.size())).toBase64();
  if (lineLength <= 0) return encoded.toStdString();
  std::string out;
  for (qsizetype i = 0; i < encoded.size(); i += lineLength) {
    if (i) out += "\r\n";
    out.append(encoded.constData() + i, size_t(std::min<qsizetype>(lineLength, encoded.size() - i)));
  }
  return out;
}

std::string DecodeBase64(std::string_view text) {
  // Read in place: a large attachment is not copied once more before decoding.
  return QByteArray::fromBase64(QByteArray::fromRawData(text.data(), qsizetype(text.size()))).toStdString();
}

}  // namespace fw
