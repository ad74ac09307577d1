// Any bytes as the user's text for a subject or body: the ISO-2022-JP text must be 7-bit,
// without two escapes in a row, and readable back as ISO-2022-JP; broken into lines it must
// read the same with no line over 998 octets; the subject must be encoded words that each read
// alone and together give the text.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <clocale>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "mailtext/MailTextEncoders.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The text read as ISO-2022-JP, in UTF-8; aborts when iconv cannot read all of it.
std::string ReadAsJIS(const std::string& text) {
  static iconv_t cd = iconv_open("UTF-8", "ISO-2022-JP");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string in = text;
  char* ip = in.data();
  size_t il = in.size();
  std::string out(in.size() * 4 + 16, '\0');
  char* op = out.data();
  size_t ol = out.size();
  Check(iconv(cd, &ip, &il, &op, &ol) != size_t(-1) && il == 0);
  Check(iconv(cd, nullptr, nullptr, &op, &ol) != size_t(-1));
  out.resize(out.size() - ol);
  return out;
}

}  // namespace

// The program's locale: Qt's application object falls back from C to C.UTF-8, where glibc
// transliterates more (㍻ to 平成) than in C.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string jis = UTF8toJIS(text);
  for (unsigned char c : jis) Check(c < 0x80);
  // No escape follows another straight away: WHATWG decoders (Thunderbird's) read that as an error.
  for (size_t esc = jis.find('\x1b'); esc != std::string::npos; esc = jis.find('\x1b', esc + 1))
    Check(jis.substr(esc + 3, 1) != "\x1b");
  const std::string read = ReadAsJIS(jis);

  const std::string lines = BreakLongLines(fw::ReplaceLineEndings(jis, fw::EndOfLine::Windows));
  std::string joined;
  for (const std::string& line : fw::Split(lines, "\r\n")) {
    Check(line.size() <= kMaxMailLine);
    joined += ReadAsJIS(line);
  }
  Check(joined == fw::ReplaceAll(fw::ReplaceLineEndings(read, fw::EndOfLine::Unix), "\n", ""));

  const std::string words = EncodeMIME(text);
  const std::string_view head = "=?ISO-2022-JP?B?", tail = "?=";
  Check(words.ends_with(" "));
  const std::vector<std::string> each = fw::Split(words.substr(0, words.size() - 1), " ");
  // Several words only where one would not fit on a "Subject: " line.
  Check(each.size() == 1 || 9 + 19 + fw::EncodeBase64(jis, 0).size() > kMaxMailLine);
  std::string decoded;
  for (const std::string& word : each) {
    Check(word.starts_with(head) && word.ends_with(tail) && (each.size() == 1 || word.size() <= 75));
    const std::string base64 = word.substr(head.size(), word.size() - head.size() - tail.size());
    Check(base64.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=") ==
          std::string::npos);
    const std::string bytes = fw::DecodeBase64(base64);
    if (each.size() == 1) Check(bytes == jis);
    decoded += ReadAsJIS(bytes);
  }
  Check(decoded == read);

  const std::string mapped = MapToJISRepertoire(text);
  Check(fw::IsValidUTF8(mapped));
  (void)SJIStoJIS(text);
  return 0;
}
