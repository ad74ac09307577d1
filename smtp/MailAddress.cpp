#include "smtp/MailAddress.h"

#include <algorithm>

bool IsMailAddress(std::string_view address) {
  if (address.empty() || address.size() > 254) return false;
  const bool plain = std::all_of(address.begin(), address.end(), [](char c) {
    return c > ' ' && c < 0x7F && c != '<' && c != '>' && c != ',';
  });
  const size_t at = address.find('@');
  return plain && at != std::string_view::npos && at != 0 && at + 1 < address.size() &&
         address.find('@', at + 1) == std::string_view::npos;
}
