#include "platform/core/FolderItem.h"

#include <QCoreApplication>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/core/BinaryStream.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/TextInputStream.h"

namespace fw {
namespace {

std::string g_applicationFolder;

// Names are kept as the file system's bytes. One that is not UTF-8 (Shift_JIS, as unzipping an
// archive made on Windows leaves it) shows as Shift_JIS, as text files read.
std::string DisplayName(std::string_view bytes) {
  if (IsValidUTF8(bytes)) return std::string(bytes);
  auto converter = GetTextConverter(TextEncoding::ShiftJIS, TextEncoding::UTF8);
  return converter ? converter->convert(bytes) : std::string(bytes);
}

bool Same(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

struct FolderItem::Listing {
  struct stat seen {};  // the folder when it was listed
  // False when the folder changed within the clock tick of the listing: a further change in
  // that tick would leave its times as they are.
  bool reusable = false;
  std::vector<std::string> names;
};

const FolderItem::Listing* FolderItem::Entries() const {
  struct stat now {};
  if (::stat(path_.c_str(), &now) != 0 || !S_ISDIR(now.st_mode)) return nullptr;
  if (listing_ && listing_->reusable) {
    const struct stat& seen = listing_->seen;
    if (seen.st_dev == now.st_dev && seen.st_ino == now.st_ino && Same(seen.st_mtim, now.st_mtim) &&
        Same(seen.st_ctim, now.st_ctim))
      return listing_.get();
  }
  // File times come from the coarse clock: any change from now on is stamped at this or later.
  timespec clock{};
  clock_gettime(CLOCK_REALTIME_COARSE, &clock);
  auto listing = std::make_shared<Listing>();
  listing->seen = now;
  listing->reusable = Before(now.st_mtim, clock) && Before(now.st_ctim, clock);
  if (DIR* dir = ::opendir(path_.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      std::string_view name = entry->d_name;
      if (name != "." && name != "..") listing->names.emplace_back(name);
    }
    ::closedir(dir);
  }
  std::sort(listing->names.begin(), listing->names.end());
  listing_ = std::move(listing);
  return listing_.get();
}

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

std::string FolderItem::Name() const { return DisplayName(NativeName()); }

bool FolderItem::Exists() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0;
}

bool FolderItem::Directory() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderItem::Visible() const {
  std::string name = Name();
  return !name.empty() && name[0] != '.';
}

FolderItemRef FolderItem::Child(std::string_view name) const {
  if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") return nullptr;
  if (!Directory()) return nullptr;
  return std::make_shared<FolderItem>(path_ + "/" + std::string(name));
}

int FolderItem::Count() const {
  const Listing* listing = Entries();
  return listing ? int(listing->names.size()) : 0;
}

FolderItemRef FolderItem::Item(int i) const {
  const Listing* listing = Entries();
  if (!listing || i < 1 || size_t(i) > listing->names.size()) return nullptr;
  return std::make_shared<FolderItem>(path_ + "/" + listing->names[size_t(i) - 1]);
}

std::shared_ptr<TextInputStream> FolderItem::OpenAsTextFile() const { return TextInputStream::Open(path_); }

std::shared_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
  return BinaryStream::Open(path_, readWrite);
}

std::shared_ptr<BinaryStream> FolderItem::CreateBinaryFile(std::string_view) const {
  return BinaryStream::Create(path_);
}

bool FolderItem::CreateAsFolder(std::string& reason) const {
  if (::mkdir(path_.c_str(), 0777) == 0) return true;
  reason = std::strerror(errno);
  return false;
}

FolderItemRef GetFolderItem(std::string_view path) {
  if (!path.empty()) return std::make_shared<FolderItem>(std::string(path));
  if (!g_applicationFolder.empty()) return std::make_shared<FolderItem>(g_applicationFolder);
  return std::make_shared<FolderItem>(QCoreApplication::applicationDirPath().toStdString());
}

namespace testing {
void SetApplicationFolder(std::string path) { g_applicationFolder = std::move(path); }
}  // namespace testing

}  // namespace fw
