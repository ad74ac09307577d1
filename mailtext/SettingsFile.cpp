#include "mailtext/SettingsFile.h"

#include <cmath>
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
  double value = std::trunc(fw::Val(text));
  if (value < 0 || value > 65535) return -1;
  return static_cast<int>(value);
}
