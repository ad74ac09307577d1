#pragma once
// Files and folders. A FolderItem names a place that may or may not exist; lookups that cannot
// name anything give nullptr (the framework's nil). Paths are the file system's bytes.
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class TextInputStream;
class BinaryStream;
class FolderItem;
using FolderItemRef = std::shared_ptr<FolderItem>;

class FolderItem {
 public:
  explicit FolderItem(std::string path);

  // The name as shown: UTF-8 as it is, anything else read as Shift_JIS. Two names may show
  // alike; NativeName tells them apart.
  std::string Name() const;
  // The name as the file system holds it.
  std::string NativeName() const { return path_.substr(path_.rfind('/') + 1); }
  std::string NativePath() const { return path_; }
  bool Exists() const;
  bool Directory() const;
  // Hidden items (a name starting with ".") are not visible.
  bool Visible() const;

  // The item of that native name inside this folder; nullptr when this is not an existing
  // folder or the name is empty or holds a path separator.
  FolderItemRef Child(std::string_view name) const;
  // Number of items in this folder (0 when it is not one) and the item at i, from 1, in
  // the byte order of their names. The folder is listed again only when it has changed since.
  int Count() const;
  FolderItemRef Item(int i) const;

  // nullptr when the file cannot be opened.
  std::shared_ptr<TextInputStream> OpenAsTextFile() const;
  std::shared_ptr<BinaryStream> OpenAsBinaryFile(bool readWrite) const;
  // A new file in place of any of that name, written whole when the stream closes (which says
  // whether that worked), readable by its owner only. The type is a name only.
  std::shared_ptr<BinaryStream> CreateBinaryFile(std::string_view type) const;
  // Makes this folder; false with the system's reason when that failed.
  bool CreateAsFolder(std::string& reason) const;

 private:
  struct Listing;
  // The names in this folder; nullptr when it is not one.
  const Listing* Entries() const;

  std::string path_;
  mutable std::shared_ptr<Listing> listing_;
};

// "" gives the folder holding the application; other paths are taken as they are.
FolderItemRef GetFolderItem(std::string_view path);

namespace testing {
// Points "the folder holding the application" elsewhere; an empty path goes back to the real one.
void SetApplicationFolder(std::string path);
}  // namespace testing

}  // namespace fw
