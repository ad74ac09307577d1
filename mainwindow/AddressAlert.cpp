#include "mainwindow/AddressAlert.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/core/Strings.h"
#include "smtp/MailAddress.h"

std::string AddressInAlert(const std::string& written) {
  std::vector<uint32_t> unusual;
  for (uint32_t c : fw::CodePoints(WrittenAddress(written)))
    if ((c < 0x20 || c > 0x7E) && std::find(unusual.begin(), unusual.end(), c) == unusual.end()) unusual.push_back(c);
  if (unusual.empty()) return written;
  std::string note;
  for (uint32_t c : unusual) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
    note += (note.empty() ? "" : "、") + std::string(code);
  }
  return written + "（" + note + "）";
}
