#include "tests/support/DataFiles.h"

namespace testsupport {

std::string SettingsFile(const std::vector<std::string>& slots) {
  std::string out = {0, 0, 0, 20};
  for (size_t i = 0; i < 21; ++i) {
    std::string text = i < slots.size() ? slots[i] : std::string();
    out += char(text.size());
    out += text;
  }
  return out;
}

}  // namespace testsupport
