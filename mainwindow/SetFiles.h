#pragma once
// Where the sets live: the folder "Data" beside the application, one sub-folder per set.
#include <string>
#include <string_view>

#include "platform/core/FolderItem.h"

// The folder "Data" beside the application (it may not exist), or nullptr.
fw::FolderItemRef DataFolder();

// The file of this name in the set's folder, looked up afresh by the folder's native name (two
// set names may show alike); nullptr when the set's folder is gone or is no folder.
fw::FolderItemRef SetFile(const std::string& folderName, std::string_view fileName);
