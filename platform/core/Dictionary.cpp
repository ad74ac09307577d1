#include "platform/core/Dictionary.h"

#include "platform/core/Strings.h"

namespace fw {

bool Dictionary::HasKey(std::string_view key) const { return index_.count(Lowercase(key)) != 0; }

std::string Dictionary::Value(std::string_view key) const {
  auto it = index_.find(Lowercase(key));
  return it == index_.end() ? std::string() : entries_[it->second].value;
}

void Dictionary::SetValue(std::string_view key, std::string value) {
  auto [it, added] = index_.try_emplace(Lowercase(key), entries_.size());
  if (added)
    entries_.push_back({std::string(key), std::move(value)});
  else
    entries_[it->second].value = std::move(value);
}

void Dictionary::Remove(std::string_view key) {
  auto it = index_.find(Lowercase(key));
  if (it == index_.end()) return;
  size_t pos = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + ptrdiff_t(pos));
  for (auto& [k, p] : index_)
    if (p > pos) --p;
}

void Dictionary::Clear() {
  entries_.clear();
  index_.clear();
}

int Dictionary::Count() const { return int(entries_.size()); }

std::string Dictionary::Key(int i) const {
  if (i < 0 || size_t(i) >= entries_.size()) return {};
  return entries_[size_t(i)].key;
}

}  // namespace fw
