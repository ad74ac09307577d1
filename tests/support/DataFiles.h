#pragma once
// Builders for the files of the "Data" folder.
#include <string>
#include <vector>

namespace testsupport {

// The settings file "smtp": N (big-endian) then N+1 length-prefixed texts; the given slots
// first, the rest of the 21 empty.
std::string SettingsFile(const std::vector<std::string>& slots);

}  // namespace testsupport
