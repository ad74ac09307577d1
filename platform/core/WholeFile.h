#pragma once
// Files read and written whole. A read never blocks and takes regular files only; a write puts
// the whole file in place, or leaves the old one as it was.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace fw {

// Only regular files of up to this size are read.
inline constexpr int64_t kMaxFileBytes = int64_t{64} << 20;

// The bytes of a regular file of up to kMaxFileBytes; nothing for a file that cannot be read or
// for anything else (a FIFO, a folder, a device). Opening never waits, not even for a FIFO.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Puts bytes in place of the file at path (of the file it links to, for a link), readable by its
// owner only: written to a new file in the same folder, synced to disk, then renamed over it.
// On failure the old file keeps every byte, no new file is left, and the error says why. A
// folder, FIFO or device of that name is never replaced. From the first write on, the process
// ignores SIGXFSZ, so that a file-size limit is such a failure, not the process's end.
std::error_code ReplaceWholeFile(const std::string& path, std::string_view bytes);

// A new file at path holding bytes, readable by its owner only. Fails with
// std::errc::file_exists when the name is taken, and leaves nothing behind on any failure.
std::error_code CreateWholeFile(const std::string& path, std::string_view bytes);

}  // namespace fw
