#pragma once
// A string-keyed table that keeps insertion order. Keys ignore ASCII letter case; a key
// keeps the spelling it was first stored with.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fw {

class Dictionary {
 public:
  bool HasKey(std::string_view key) const;
  // The value, or an empty text when the key is absent.
  std::string Value(std::string_view key) const;
  void SetValue(std::string_view key, std::string value);
  // Removing an absent key does nothing.
  void Remove(std::string_view key);
  void Clear();
  int Count() const;
  // Key at index i (0-based, insertion order); empty when out of range.
  std::string Key(int i) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;  // lower-cased key -> position in entries_
};

}  // namespace fw
