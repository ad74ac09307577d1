// Any bytes as "NameList.txt" and as "Template.txt", read line by line and split into fields the
// way the main window reads them. The first byte picks a variation of the rest: its line ends
// turned into CR LF or CR, a UTF-8 byte-order mark in front, the text or its first line alone
// turned into Shift_JIS.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/Strings.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/TextInputStream.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string ToShiftJIS(const std::string& text) {
  auto converter = fw::GetTextConverter(fw::TextEncoding::UTF8, fw::TextEncoding::ShiftJIS);
  return converter && fw::IsValidUTF8(text) ? converter->convert(text) : text;
}

std::vector<std::string> Lines(const std::string& bytes) {
  fw::TextInputStream stream(bytes);
  std::vector<std::string> lines;
  while (!stream.IsEOF()) lines.push_back(stream.ReadLine());
  return lines;
}

// One Shift_JIS line in a UTF-8 text spoils at most itself.
void ReadOneOddLine(const std::string& text) {
  // A byte-order mark would be dropped from the UTF-8 text only.
  if (!fw::IsValidUTF8(text) || text.compare(0, 3, "\xEF\xBB\xBF") == 0) return;
  const size_t end = std::min(text.find_first_of("\r\n"), text.size());
  std::vector<std::string> mixed = Lines(ToShiftJIS(text.substr(0, end)) + text.substr(end));
  std::vector<std::string> original = Lines(text);
  Check(mixed.size() == original.size());
  Check(std::equal(mixed.begin() + (mixed.empty() ? 0 : 1), mixed.end(), original.begin() + (original.empty() ? 0 : 1)));
}

std::string Variation(uint8_t mode, std::string text) {
  if (mode & 4) text = ToShiftJIS(text);
  switch (mode & 3) {
    case 1: text = fw::ReplaceAll(text, "\n", "\r\n"); break;
    case 2: text = fw::ReplaceAll(text, "\n", "\r"); break;
    default: break;
  }
  if (mode & 8) text.insert(0, "\xEF\xBB\xBF");
  return text;
}

// Every line of the decoded text, rejoined with LF, must give back the text with its line ends
// made LF (less one final line end): nothing lost, nothing doubled.
void ReadNameList(const std::string& bytes) {
  fw::TextInputStream stream(bytes);
  const std::string decoded = fw::TextInputStream::DecodeText(bytes);
  Check(fw::IsValidUTF8(decoded));
  std::string joined;
  bool first = true;
  do {
    std::string line = stream.ReadLine();
    Check(line.find_first_of("\r\n") == std::string::npos);
    if (!first) joined += '\n';
    joined += line;
    first = false;
    if (fw::LeftB(line, 2) != "//") {
      const std::string address = fw::NthField(line, "\t", 1);
      const std::string name = fw::NthField(line, "\t", 2);
      const size_t tab = line.find('\t');
      Check(address == line.substr(0, tab));
      Check(tab == std::string::npos ? name.empty() : line.compare(tab + 1, name.size(), name) == 0);
      Check(name.find('\t') == std::string::npos);
    }
  } while (!stream.IsEOF());
  // Decoding a byte-wise text keeps every line end: no line is joined to another or split.
  const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  const std::string raw = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
  auto lineEnds = [](const std::string& s) { return std::count(s.begin(), s.end(), '\r') + std::count(s.begin(), s.end(), '\n'); };
  if (!utf16) Check(lineEnds(decoded) == lineEnds(raw));
  std::string expected = fw::ReplaceAll(fw::ReplaceAll(decoded, "\r\n", "\n"), "\r", "\n");
  if (!expected.empty() && expected.back() == '\n') expected.pop_back();
  Check(joined == expected);
}

void ReadTemplate(const std::string& bytes) {
  fw::TextInputStream stream(bytes);
  const std::string subject = stream.ReadLine();
  const std::string salutation = stream.ReadLine();
  std::string body = stream.ReadLine();
  do {
    body += fw::EndOfLineText() + stream.ReadLine();
  } while (!stream.IsEOF());
  Check(stream.ReadLine().empty());
  Check(subject.size() + salutation.size() + body.size() <= fw::TextInputStream::DecodeText(bytes).size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string bytes = Variation(data[0], std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  ReadNameList(bytes);
  ReadTemplate(bytes);
  if (data[0] & 16) ReadOneOddLine(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  return 0;
}
