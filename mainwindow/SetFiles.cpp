#include "mainwindow/SetFiles.h"

fw::FolderItemRef DataFolder() {
  fw::FolderItemRef app = fw::GetFolderItem("");
  return app ? app->Child("Data") : nullptr;
}

fw::FolderItemRef SetFile(const std::string& folderName, std::string_view fileName) {
  fw::FolderItemRef data = DataFolder();
  fw::FolderItemRef set = data ? data->Child(folderName) : nullptr;
  return set ? set->Child(fileName) : nullptr;
}
