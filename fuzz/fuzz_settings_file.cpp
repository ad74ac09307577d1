// Any bytes as the settings file "smtp", read the way the main window reads it at start-up,
// whether it counts as clean (written back without losing a byte), and the slots read written
// as the window writes them at close and read back.
#include <QTemporaryDir>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "mailtext/SettingsFile.h"
#include "platform/core/BinaryStream.h"
#include "platform/core/FolderItem.h"

namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

const std::string& FilePath() {
  static const std::string path = Folder().path().toStdString() + "/smtp";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  std::shared_ptr<fw::BinaryStream> stream = fw::BinaryStream::Open(FilePath(), false);
  if (!stream) std::abort();
  std::array<std::string, 21> texts;
  const std::string kept = "kept";
  texts.back() = kept;
  const bool clean = ReadSettingsSlots(*stream, texts);
  stream->Close();

  // The 21st slot is overwritten only by a file that holds all 21 texts.
  const bool lastRead = texts.back() != kept;
  if (lastRead && size < 4 + 21) std::abort();
  size_t read = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].size() > 255) std::abort();  // a length byte never announces more
    if (i + 1 < texts.size() || lastRead) read += texts[i].size();
    (void)PortNumber(texts[i]);
  }
  if (read > size) std::abort();

  // Clean means a count from 0 to 20 and exactly that many texts plus one: nothing else in the file.
  if (clean) {
    if (size < 4) std::abort();
    const auto last = int32_t(uint32_t(data[0]) << 24 | uint32_t(data[1]) << 16 | uint32_t(data[2]) << 8 | data[3]);
    if (last < 0 || last >= int32_t(texts.size())) std::abort();
    size_t whole = 4;
    for (int32_t i = 0; i <= last; ++i) whole += 1 + texts[size_t(i)].size();
    if (whole != size) std::abort();
  }

  // Written and read back: a clean file with the same 21 texts.
  const fw::FolderItem written(Folder().path().toStdString() + "/written");
  std::string reason;
  if (!WriteSettingsFile(written, texts, reason)) std::abort();
  std::shared_ptr<fw::BinaryStream> back = written.OpenAsBinaryFile(false);
  if (!back) std::abort();
  std::array<std::string, 21> again;
  if (!ReadSettingsSlots(*back, again) || again != texts) std::abort();
  back->Close();
  return 0;
}
