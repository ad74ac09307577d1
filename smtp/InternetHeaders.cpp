// Storage, lookup, counting and deletion of header instances.
#include "smtp/InternetHeaders.h"

#include "platform/core/Thread.h"
#include "smtp/HeaderKeys.h"

using header_keys::Key;
using header_keys::NameOf;
using header_keys::NumberedKey;

int InternetHeaders::Count() const { return _Headers.Count(); }

std::string InternetHeaders::Name(int index) const { return NameOf(_Headers.Key(index)); }

std::string InternetHeaders::Value(int index) const {
  // Out of range on either side reads nothing (the dictionary's positional access gives "").
  if (index < 0 || index >= Count()) return {};
  return _Headers.Value(_Headers.Key(index));
}

int InternetHeaders::NameCount(std::string_view name) const {
  int n = 0;
  while (_Headers.HasKey(Key(name, n))) {
    ++n;
    fw::YieldToNextThread();
  }
  return n;
}

std::string InternetHeaders::Value(std::string_view name) const { return Value(name, 0); }

std::string InternetHeaders::Value(std::string_view name, int index) const {
  return _Headers.Value(Key(name, index > 0 ? index : 0));
}

void InternetHeaders::AppendHeader(std::string_view name, std::string_view value) {
  if (!_Headers.HasKey(name)) {
    _Headers.SetValue(name, std::string(value));
    return;
  }
  // The next free number is the count: instance numbers have no gaps below it.
  const std::string base = NameOf(name);
  _Headers.SetValue(Key(base, NameCount(base)), std::string(value));
}

void InternetHeaders::SetHeader(std::string_view name, std::string_view value) {
  if (NameCount(name) > 1) Delete(name);
  _Headers.SetValue(name, std::string(value));
}

void InternetHeaders::SetHeader(std::string_view name, std::string_view value, int index) {
  // A negative index gets a key of its own ("name:-1"), never instance 0. An index past the
  // last instance leaves a gap that the counting operations do not cross.
  _Headers.SetValue(Key(name, index), std::string(value));
}

void InternetHeaders::Delete(std::string_view name) {
  const int n = NameCount(name);
  if (n == 0) return;
  _Headers.Remove(name);
  for (int i = 1; i < n; ++i) {
    _Headers.Remove(Key(name, i));
    fw::YieldToNextThread();
  }
}

void InternetHeaders::Delete(std::string_view name, int index) {
  const std::string key = Key(name, index);
  if (!_Headers.HasKey(key)) return;
  _Headers.Remove(key);
  // Move every later instance down by one.
  for (int j = index + 1;; ++j) {
    const std::string later = NumberedKey(name, j);
    if (!_Headers.HasKey(later)) break;
    _Headers.SetValue(Key(name, j - 1), _Headers.Value(later));
    _Headers.Remove(later);
    fw::YieldToNextThread();
  }
}

void InternetHeaders::DeleteAllHeaders() { _Headers.Clear(); }

std::string InternetHeaders::CommaSeparatedValues(std::string_view name) const {
  std::string list;
  for (int i = 0;; ++i) {
    const std::string key = Key(name, i);
    if (!_Headers.HasKey(key)) break;
    if (i > 0) list += ", ";
    list += _Headers.Value(key);
    fw::YieldToNextThread();
  }
  return list;
}
