#include "mailtext/MailTextEncoders.h"

#include <QString>
#include <algorithm>
#include <vector>

#include "platform/core/Strings.h"
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
    case 0x2014: return 0x2015;  // EM DASH -> HORIZONTAL BAR, the dash JIS holds
    default: return c;
  }
}

bool HalfWidthKana(char32_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

bool Control(char32_t c) { return c < 0x20 || c == 0x7F; }

bool DroppedControl(char32_t c) { return Control(c) && c != '\t' && c != '\r' && c != '\n'; }

// A combining sound mark left over (alone, or after a kana without a voiced form) as the
// spacing ゛ or ゜.
QString SpacingSoundMarks(QString kana) {
  kana.replace(QChar(0x3099), QChar(0x309B));
  kana.replace(QChar(0x309A), QChar(0x309C));
  return kana;
}

// A run of half-width katakana in full width: NFKC composes each kana with its sound mark.
QString FullWidthKana(const QString& run) { return SpacingSoundMarks(run.normalized(QString::NormalizationForm_KC)); }

// Voiced kana that JIS X 0208 lacks: ゔ ヷ ヸ ヹ ヺ.
bool VoicedKanaJISLacks(QChar c) { return c == QChar(0x3094) || (c >= QChar(0x30F7) && c <= QChar(0x30FA)); }

// Text in Unicode's decomposed form, as Macs save it (カ + U+3099 for ガ), composed: each
// character with the combining marks after it takes its NFC form. Characters without marks stay
// as they are, since NFC would also replace some that JIS holds (U+212B Å) by ones it lacks. A
// kana whose voiced form JIS lacks keeps its mark apart, so the mark is not lost.
QString ComposeMarks(const QString& in) {
  if (std::none_of(in.begin(), in.end(), [](QChar c) { return c.isMark(); })) return in;
  QString out;
  out.reserve(in.size());
  for (qsizetype i = 0; i < in.size();) {
    qsizetype j = i + (in[i].isHighSurrogate() && i + 1 < in.size() && in[i + 1].isLowSurrogate() ? 2 : 1);
    const qsizetype base = j;
    while (j < in.size() && in[j].isMark()) ++j;
    const QStringView run = QStringView(in).mid(i, j - i);
    if (j == base && !in[i].isMark()) {
      out += run;
    } else {
      const QString composed = run.toString().normalized(QString::NormalizationForm_C);
      const bool keepApart = std::any_of(composed.begin(), composed.end(), VoicedKanaJISLacks);
      out += SpacingSoundMarks(keepApart ? run.toString() : composed);
    }
    i = j;
  }
  return out;
}

// Converts one character that the plain converter refused: glibc's transliteration when it
// gives something real, else the geta mark.
class JISConverter : public fw::TextConverter {
 public:
  JISConverter(fw::TextEncoding from) : fw::TextConverter(from, fw::TextEncoding::ISO2022JP), from_(from) {}
  // Whether a character was replaced since the converter was made.
  bool Replaced() const { return replaced_; }

 protected:
  std::string Unconvertible(std::string_view sourceChar) const override {
    replaced_ = true;
    std::string translit = from_ == fw::TextEncoding::UTF8 ? Transliterate(sourceChar) : std::string();
    if (!translit.empty()) return translit;
    return Geta();
  }

 private:
  static std::string Geta() { return "\x1B$B\x22\x2E\x1B(B"; }  // 〓 in JIS X 0208

  fw::TextEncoding from_;
  mutable bool replaced_ = false;
};

const std::string kToASCII = "\x1B(B";

// Length of the escape sequence (ESC, intermediate bytes, a final byte) that s begins with; 0
// when it begins with none.
size_t EscapeLength(std::string_view s) {
  if (s.empty() || s[0] != '\x1B') return 0;
  size_t i = 1;
  while (i < s.size() && s[i] >= 0x20 && s[i] <= 0x2F) ++i;
  return i > 1 && i < s.size() && s[i] >= 0x30 && s[i] <= 0x7E ? i + 1 : 0;
}

// ISO-2022-JP text in pieces of at most maxBytes octets, cut between characters. Each piece
// begins and ends in ASCII, and names a character set only before a character that needs it.
// Line ends, which the text holds in a one-byte set, pass as characters of that set.
std::vector<std::string> JISPieces(std::string_view line, size_t maxBytes) {
  std::vector<std::string> pieces(1);
  std::string set = kToASCII;      // the set the line is in
  std::string written = kToASCII;  // the set the current piece is in
  for (size_t i = 0; i < line.size();) {
    if (size_t n = EscapeLength(line.substr(i))) {
      set = line.substr(i, n);
      i += n;
      continue;
    }
    const size_t width = set[1] == '$' ? 2 : 1;  // ESC $ ... names a two-byte set
    const std::string_view ch = line.substr(i, std::min(width, line.size() - i));
    i += ch.size();
    const size_t switchTo = set == written ? 0 : set.size();
    const size_t switchBack = set == kToASCII ? 0 : kToASCII.size();
    std::string& piece = pieces.back();
    if (!piece.empty() && piece.size() + switchTo + ch.size() + switchBack > maxBytes) {
      if (written != kToASCII) piece += kToASCII;  // room for it was kept
      pieces.emplace_back();
      written = kToASCII;
    }
    if (set != written) pieces.back() += set;
    written = set;
    pieces.back() += ch;
  }
  if (written != kToASCII) pieces.back() += kToASCII;
  return pieces;
}

// A replacement comes with escapes of its own, and the text before it returns to ASCII: so
// "髙橋" would switch to ASCII between 〓 and 橋 and straight back, two escapes in a row, which
// decoders that follow the WHATWG Encoding Standard (Thunderbird, browsers) read as an error.
// Such text is written again with each set named only before a character that needs it.
std::string Convert(std::string_view text, fw::TextEncoding from) {
  JISConverter converter(from);
  const std::string jis = converter.convert(text);
  return converter.Replaced() ? JISPieces(jis, std::string::npos).front() : jis;
}

std::string EncodedWord(std::string_view jis) { return "=?ISO-2022-JP?B?" + fw::EncodeBase64(jis, 0) + "?= "; }

// Text bytes per word of several: "=?ISO-2022-JP?B?", 56 Base64 characters and "?=" make the 75
// characters RFC 2047 allows.
constexpr size_t kWordBytes = 42;

}  // namespace

std::string MapToJISRepertoire(std::string_view text) {
  const QString in = ComposeMarks(QString::fromUtf8(text.data(), qsizetype(text.size())));
  QString out;
  out.reserve(in.size());
  for (qsizetype i = 0; i < in.size();) {
    char32_t c = in[i].unicode();
    if (HalfWidthKana(c)) {
      qsizetype j = i;
      while (j < in.size() && HalfWidthKana(in[j].unicode())) ++j;
      out += FullWidthKana(in.mid(i, j - i));
      i = j;
      continue;
    }
    if (DroppedControl(c)) {
      ++i;
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

std::string BreakLongLines(std::string_view jis) {
  std::vector<std::string> lines = fw::Split(jis, "\r\n");
  for (std::string& line : lines)
    if (line.size() > kMaxMailLine) line = fw::Join(JISPieces(line, kMaxMailLine), "\r\n");
  return fw::Join(lines, "\r\n");
}

std::string EncodeMIME(std::string_view text, std::string_view header) {
  const std::string jis = UTF8toJIS(text);
  std::string word = EncodedWord(jis);
  if (header.size() + 2 + word.size() <= kMaxMailLine) return word;
  std::string words;
  for (const std::string& piece : JISPieces(jis, kWordBytes)) words += EncodedWord(piece);
  return words;
}

std::string HeaderText(std::string_view text) {
  std::string line;
  for (char c : fw::ReplaceLineEndings(text, fw::EndOfLine::Unix)) {
    if (c == '\t' || c == '\n')
      line += ' ';
    else if (!Control(static_cast<unsigned char>(c)))
      line += c;
  }
  return line;
}

std::string HeaderValue(std::string_view header, std::string_view text) {
  const std::string line = HeaderText(text);
  return fw::IsASCII(line) ? line : EncodeMIME(line, header);
}

std::string AddressHeaderValue(std::string_view header, const MailAddress& address) {
  const std::string name = fw::TrimWide(HeaderText(address.Name));
  if (name.empty()) return address.Address;
  const std::string angle = "<" + address.Address + ">";
  if (!fw::IsASCII(name) || name.find(',') != std::string::npos) return EncodeMIME(name, header) + angle;
  if (name.find_first_of("()<>[]:;@\\.\"") == std::string::npos) return name + " " + angle;
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\" " + angle;
}
