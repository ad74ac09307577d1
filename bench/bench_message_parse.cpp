// Reading large message texts with EmailMessage.Source: many instances of one header name in the
// message's header block or in one part's header lines, and an attachment inside many nested
// multipart bodies. Prints wall and CPU time of the one assignment and the peak resident memory
// against the size of the text (target: linear time, a read that adds under four times the text).
// Usage: bench_message_parse headers|part-headers|nested [count]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/BenchReport.h"
#include "platform/core/TextEncoding.h"
#include "smtp/EmailMessage.h"

namespace {

std::string ReceivedLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += "Received: from r" + std::to_string(i) + ".example\r\n";
  return lines;
}

// levels multipart bodies inside each other around a part of megabytes of random bytes in
// Base64, written line by line so that nothing but the text itself is held before the read.
std::string NestedAttachment(int levels, int megabytes) {
  std::mt19937 random(1);
  std::string text = "Subject: nested\r\nContent-Type: multipart/mixed; boundary=b1\r\n\r\n";
  text.reserve((size_t(megabytes) << 20) * 4 / 3 * 78 / 76 + 65536);
  for (int i = 2; i <= levels; ++i)
    text += "--b" + std::to_string(i - 1) + "\r\nContent-Type: multipart/mixed; boundary=b" + std::to_string(i) +
            "\r\n\r\n";
  text += "--b" + std::to_string(levels) +
          "\r\nContent-Type: application/octet-stream; name=\"big.bin\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  std::string line(57, '\0');
  for (size_t written = 0; written < (size_t(megabytes) << 20); written += line.size()) {
    for (char& c : line) c = char(random());
    text += fw::EncodeBase64(line) + "\r\n";
  }
  text.resize(text.size() - 2);
  for (int i = levels; i >= 1; --i) text += "\r\n--b" + std::to_string(i) + "--";
  text += "\r\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "headers";
  const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 0;
  std::string text, what;
  if (kind == "headers") {
    const int n = count ? count : 50000;
    text = ReceivedLines(n);
    text += "Subject: s\r\n\r\nbody\r\n";
    what = "read " + std::to_string(n) + " Received lines";
  } else if (kind == "part-headers") {
    const int n = count ? count : 20000;
    text = "Content-Type: multipart/mixed; boundary=B\r\n\r\n--B\r\n";
    text += ReceivedLines(n);
    text += "Content-Type: text/plain\r\n\r\nbody\r\n--B--\r\n";
    what = "read " + std::to_string(n) + " lines in one part";
  } else {
    const int levels = count ? count : 31;
    text = NestedAttachment(levels, 4);
    what = "read 4 MiB inside " + std::to_string(levels) + " levels";
  }
  const long before = bench::PeakKiB();
  const double wall = bench::Wall(), cpu = bench::Cpu();
  EmailMessage message;
  message.Source(text);
  const double wallTaken = bench::Wall() - wall, cpuTaken = bench::Cpu() - cpu;
  const long peak = bench::PeakKiB();
  const double textKiB = double(text.size()) / 1024;
  // The growth leaves out what the process held before: its libraries and the text itself.
  std::printf("%s: text %.0f KiB, %.3f s wall, %.3f s CPU, peak RSS %ld KiB (%ld before, %.2f times the text), "
              "the read added %.2f times the text\n",
              what.c_str(), textKiB, wallTaken, cpuTaken, peak, before, double(peak) / textKiB,
              double(peak - before) / textKiB);
  std::printf("headers %d, plain body %zu bytes, attachments %zu (%zu bytes)\n", message.Headers.Count(),
              message.BodyPlainText.size(), message.Attachments.size(),
              message.Attachments.empty() ? size_t(0) : message.Attachments[0].Data.size());
  char note[64];
  std::snprintf(note, sizeof note, "text %.0f KiB, read added %.2f x text", textKiB, double(peak - before) / textKiB);
  bench::Result(what, bench::Sec(wallTaken), bench::Sec(cpuTaken), peak, note);
  return 0;
}
