#include "platform/core/FolderItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/core/BinaryStream.h"
#include "platform/core/TextInputStream.h"

namespace fw {
namespace {

std::string g_applicationFolder;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

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
  QStringList names;
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
  listing->names = QDir(Q(path_)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
  listing_ = std::move(listing);
  return listing_.get();
}

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

std::string FolderItem::Name() const { return QFileInfo(Q(path_)).fileName().toStdString(); }

bool FolderItem::Exists() const { return QFileInfo::exists(Q(path_)); }

bool FolderItem::Directory() const { return QFileInfo(Q(path_)).isDir(); }

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
  if (!listing || i < 1 || i > listing->names.size()) return nullptr;
  return std::make_shared<FolderItem>(path_ + "/" + listing->names[i - 1].toStdString());
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
