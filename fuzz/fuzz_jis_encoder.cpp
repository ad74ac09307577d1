// Any bytes as the user's text for a subject or body: the ISO-2022-JP text must be 7-bit,
// readable back as ISO-2022-JP, and the subject one encoded word on one line.
#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/TextEncoding.h"
#include "sending/MailTextEncoders.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// True when iconv reads the whole text as ISO-2022-JP.
bool ReadableAsJIS(const std::string& text) {
  static iconv_t cd = iconv_open("UTF-8", "ISO-2022-JP");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string in = text;
  char* ip = in.data();
  size_t il = in.size();
  std::string out(in.size() * 4 + 16, '\0');
  char* op = out.data();
  size_t ol = out.size();
  if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1)) return false;
  return iconv(cd, nullptr, nullptr, &op, &ol) != size_t(-1) && il == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Shift bytes in the user's own text pass through as they are and would change the reading.
  const bool plain = text.find_first_of("\x1B\x0E\x0F") == std::string_view::npos;

  const std::string jis = UTF8toJIS(text);
  for (unsigned char c : jis) Check(c < 0x80);
  if (plain) Check(ReadableAsJIS(jis));

  const std::string word = EncodeMIME(text);
  const std::string_view head = "=?ISO-2022-JP?B?", tail = "?= ";
  Check(word.starts_with(head) && word.ends_with(tail));
  const std::string base64 = word.substr(head.size(), word.size() - head.size() - tail.size());
  Check(base64.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=") ==
        std::string::npos);
  Check(fw::DecodeBase64(base64) == jis);

  const std::string mapped = MapToJISRepertoire(text);
  Check(fw::IsValidUTF8(mapped));
  (void)SJIStoJIS(text);
  return 0;
}
