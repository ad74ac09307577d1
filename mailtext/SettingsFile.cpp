#include "mailtext/SettingsFile.h"

#include <cstdint>

#include "platform/core/BinaryStream.h"
#include "platform/core/FolderItem.h"
#include "platform/core/Strings.h"
#include "platform/core/Thread.h"
#include "platform/core/WholeFile.h"

bool ReadSettingsSlots(fw::BinaryStream& stream, std::span<std::string> texts) {
  const int32_t last = stream.ReadLong();
  int32_t read = 0;
  for (; read <= last && read < int32_t(texts.size()) && !stream.IsEOF(); ++read) {
    texts[size_t(read)] = stream.ReadPString();
    fw::YieldToNextThread();
  }
  const bool fits = last >= 0 && last < int32_t(texts.size());
  return fits && read == last + 1 && !stream.ReadPastEnd() && stream.IsEOF();
}

bool WriteSettingsFile(const fw::FolderItem& file, std::span<const std::string> texts, std::string& reason) {
  std::shared_ptr<fw::BinaryStream> stream = file.CreateBinaryFile("prefFile");
  stream->WriteLong(int32_t(texts.size()) - 1);
  for (const std::string& text : texts) {
    stream->WritePString(text);
    fw::YieldToNextThread();
  }
  if (stream->Close()) return true;
  reason = stream->ErrorText();
  return false;
}

std::string KeepDamagedCopy(const fw::FolderItem& file, std::string_view bytes) {
  for (int n = 1;; ++n) {
    const std::string suffix = n == 1 ? ".damaged" : ".damaged." + std::to_string(n);
    const std::error_code error = fw::CreateWholeFile(file.NativePath() + suffix, bytes);
    if (!error) return file.Name() + suffix;
    if (error != std::errc::file_exists) return {};
  }
}

int PortNumber(const std::string& text) {
  const std::string digits = fw::TrimWide(text);
  int port = 0;
  for (size_t i = 0; i < digits.size(); ++i) {
    int digit = digits[i] - '0';
    // A full-width digit (U+FF10 to U+FF19, EF BC 90 to EF BC 99), as Japanese input types it.
    if (digits.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < digits.size()) {
      digit = static_cast<unsigned char>(digits[i + 2]) - 0x90;
      i += 2;
    }
    if (digit < 0 || digit > 9) return -1;
    port = port * 10 + digit;
    if (port > 65535) return -1;
  }
  return port;
}
