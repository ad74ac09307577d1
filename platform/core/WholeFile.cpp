#include "platform/core/WholeFile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {
namespace {

std::error_code LastError() { return {errno, std::system_category()}; }

std::string FolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

std::error_code Sync(int fd) {
  while (::fsync(fd) != 0)
    if (errno != EINTR) return LastError();
  return {};
}

// A file-size limit (a quota, ulimit -f) ends the process with SIGXFSZ at the write that would
// pass it, before anything can be reported. Ignored, that write fails with EFBIG instead. A
// handler someone else installed is left in place.
void IgnoreFileSizeSignal() {
  struct sigaction current {};
  if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) ::signal(SIGXFSZ, SIG_IGN);
}

// Writes every byte, syncs them to disk and closes fd: the first failure.
std::error_code WriteSyncClose(int fd, std::string_view bytes) {
  IgnoreFileSizeSignal();
  std::error_code error;
  while (!bytes.empty() && !error) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0)
      bytes.remove_prefix(size_t(n));
    else if (n == 0)
      error = std::make_error_code(std::errc::io_error);
    else if (errno != EINTR)
      error = LastError();
  }
  if (!error) error = Sync(fd);
  // Linux frees the descriptor even when close reports EINTR.
  if (::close(fd) != 0 && !error && errno != EINTR) error = LastError();
  return error;
}

// Makes a new or renamed entry of the folder last across a crash. The file is in place by
// then and cannot be taken back, so this is done as far as the file system allows.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  Sync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Without blocking: opening a FIFO for reading would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  // A FIFO, a device or a huge file would hang the window or exhaust the memory.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileBytes) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  bytes.reserve(size_t(st.st_size));
  char chunk[16384];
  ssize_t n = 0;
  // A file that grows while it is read stops at the bound.
  while (int64_t(bytes.size()) <= kMaxFileBytes && (n = ::read(fd, chunk, sizeof chunk)) != 0) {
    if (n > 0)
      bytes.append(chunk, size_t(n));
    else if (errno != EINTR)
      break;
  }
  ::close(fd);
  if (n < 0 || int64_t(bytes.size()) > kMaxFileBytes) return std::nullopt;
  return bytes;
}

std::error_code ReplaceWholeFile(const std::string& path, std::string_view bytes) {
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  // The rename would put the file in the place of a FIFO or a device as well.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    return std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory : std::errc::file_exists);
  const std::string folder = FolderOf(target);
  std::string temporary = folder + "/." + std::filesystem::path(target).filename().string() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // O_CREAT | O_EXCL, mode 0600
  if (fd < 0) return LastError();
  std::error_code error = WriteSyncClose(fd, bytes);
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = LastError();
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  SyncFolder(folder);
  return {};
}

std::error_code CreateWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return LastError();
  if (std::error_code error = WriteSyncClose(fd, bytes)) {
    ::unlink(path.c_str());
    return error;
  }
  SyncFolder(FolderOf(path));
  return {};
}

}  // namespace fw
