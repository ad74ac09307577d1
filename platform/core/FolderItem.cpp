#include "platform/core/FolderItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/core/BinaryStream.h"
#include "platform/core/TextInputStream.h"

namespace fw {
namespace {

std::string g_applicationFolder;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QStringList Entries(const std::string& folder) {
  return QDir(Q(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                   QDir::Name);
}

}  // namespace

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

int FolderItem::Count() const { return Directory() ? int(Entries(path_).size()) : 0; }

FolderItemRef FolderItem::Item(int i) const {
  if (!Directory()) return nullptr;
  QStringList entries = Entries(path_);
  if (i < 1 || i > entries.size()) return nullptr;
  return std::make_shared<FolderItem>(path_ + "/" + entries[i - 1].toStdString());
}

std::shared_ptr<TextInputStream> FolderItem::OpenAsTextFile() const { return TextInputStream::Open(path_); }

std::shared_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
  return BinaryStream::Open(path_, readWrite);
}

std::shared_ptr<BinaryStream> FolderItem::CreateBinaryFile(std::string_view) const {
  return BinaryStream::Create(path_);
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
