#pragma once
// Storage keys of header instances: instance 0 under the name itself, instance n under
// "name:n"; the name of any key is its text before the first colon.
#include <string>
#include <string_view>

#include "platform/core/Strings.h"

namespace header_keys {

inline std::string NumberedKey(std::string_view name, int n) { return std::string(name) + ":" + fw::Str(n); }

inline std::string Key(std::string_view name, int n) {
  return n == 0 ? std::string(name) : NumberedKey(name, n);
}

inline std::string NameOf(std::string_view key) { return fw::NthField(key, ":", 1); }

}  // namespace header_keys
