#include "sending/MailTextEncoders.h"

#include <QString>
#include <iconv.h>

#include "platform/core/TextEncoding.h"

namespace {

// CP932 and Mac look-alikes of characters JIS X 0208 holds under other code points.
char32_t LookAlike(char32_t c) {
  switch (c) {
    case 0xFF5E: return 0x301C;  // FULLWIDTH TILDE -> WAVE DASH
    case 0xFF0D: return 0x2212;  // FULLWIDTH HYPHEN-MINUS -> MINUS SIGN
    case 0x2225: return 0x2016;  // PARALLEL TO -> DOUBLE VERTICAL LINE
    case 0xFFE2: return 0x00AC;  // FULLWIDTH NOT SIGN -> NOT SIGN
    case 0xFFE0: return 0x00A2;  // FULLWIDTH CENT SIGN -> CENT SIGN
    case 0xFFE1: return 0x00A3;  // FULLWIDTH POUND SIGN -> POUND SIGN
    case 0x2015: return 0x2014;  // HORIZONTAL BAR -> EM DASH
    default: return c;
  }
}

bool HalfWidthKana(char32_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// Converts one character that the plain converter refused: glibc's transliteration when it
// gives something real, else the geta mark.
class JISConverter : public fw::TextConverter {
 public:
  JISConverter(fw::TextEncoding from) : fw::TextConverter(from, fw::TextEncoding::ISO2022JP), from_(from) {}

 protected:
  std::string Unconvertible(std::string_view sourceChar) const override {
    std::string translit = Transliterate(sourceChar);
    if (!translit.empty()) return translit;
    return Geta();
  }

 private:
  std::string Transliterate(std::string_view sourceChar) const {
    if (from_ != fw::TextEncoding::UTF8) return {};
    iconv_t cd = iconv_open("ISO-2022-JP//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in(sourceChar);
    char out[64];
    char* ip = in.data();
    size_t il = in.size();
    char* op = out;
    size_t ol = sizeof out;
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    if (r != size_t(-1)) iconv(cd, nullptr, nullptr, &op, &ol);
    iconv_close(cd);
    std::string result(out, size_t(op - out));
    // glibc answers "?" for characters it cannot transliterate.
    if (r == size_t(-1) || il != 0 || result.empty() || result == "?") return {};
    return result;
  }

  static std::string Geta() { return "\x1B$B\x22\x2E\x1B(B"; }  // 〓 in JIS X 0208

  fw::TextEncoding from_;
};

std::string Convert(std::string_view text, fw::TextEncoding from) {
  auto to = fw::GetTextEncoding(0x820, 0, 0);
  if (!to || !fw::GetTextConverter(from, *to)) return std::string(text);
  return JISConverter(from).convert(text);
}

}  // namespace

std::string MapToJISRepertoire(std::string_view text) {
  QString in = QString::fromUtf8(text.data(), qsizetype(text.size()));
  QString out;
  out.reserve(in.size());
  for (qsizetype i = 0; i < in.size();) {
    char32_t c = in[i].unicode();
    if (HalfWidthKana(c)) {
      // A run of half-width katakana, composed with its sound marks by NFKC.
      qsizetype j = i;
      while (j < in.size() && HalfWidthKana(in[j].unicode())) ++j;
      out += in.mid(i, j - i).normalized(QString::NormalizationForm_KC);
      i = j;
      continue;
    }
    char32_t mapped = LookAlike(c);
    if (mapped != c)
      out += QChar(char16_t(mapped));
    else
      out += in[i];
    ++i;
  }
  return out.toStdString();
}

std::string UTF8toJIS(std::string_view text) { return Convert(MapToJISRepertoire(text), fw::Encodings::UTF8); }

std::string SJIStoJIS(std::string_view text) { return Convert(text, fw::Encodings::MacJapanese); }

std::string EncodeMIME(std::string_view text) { return "=?ISO-2022-JP?B?" + fw::EncodeBase64(UTF8toJIS(text), 0) + "?= "; }
