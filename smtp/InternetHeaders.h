#pragma once
// A collection of message headers: named text values, any number of instances per name.
// Instance 0 of a name is stored under the name itself, instance n under "name:n"
// ("Received", "Received:1", ...), without gaps. Names match whatever their letter case.
#include <string>
#include <string_view>

#include "platform/core/Dictionary.h"

class InternetHeaders {
 public:
  InternetHeaders() = default;
  virtual ~InternetHeaders() = default;

  // Number of stored instances over all names.
  int Count() const;
  // Name and value of the entry at this position of the collection's order (0 first).
  std::string Name(int index) const;
  std::string Value(int index) const;

  // Number of instances of name.
  int NameCount(std::string_view name) const;
  // Value of instance 0; of instance index (a negative index reads instance 0); "" when absent.
  std::string Value(std::string_view name) const;
  std::string Value(std::string_view name, int index) const;

  // The header text last parsed, or the HTTP form when none was.
  std::string Source() const;
  // Replaces the content by the headers of a header block and keeps the block for Source.
  void _ParseHeaders(std::string_view raw);
  // The line end a text uses: CR LF, LF or CR; CR LF when it has none.
  static std::string _DetermineEOLCharacter(std::string_view s);

  // Adds a further instance after the existing ones.
  void AppendHeader(std::string_view name, std::string_view value);
  // Leaves name with exactly one instance holding value.
  void SetHeader(std::string_view name, std::string_view value);
  // Sets instance index, creating it when absent.
  void SetHeader(std::string_view name, std::string_view value, int index);
  // Removes every instance of name.
  void Delete(std::string_view name);
  // Removes instance index and renumbers the later ones down by one.
  void Delete(std::string_view name, int index);
  void DeleteAllHeaders();

  // Values of all instances, instance 0 first, joined by ", ".
  std::string CommaSeparatedValues(std::string_view name) const;

  // Every stored instance as "name: value", in the collection's order, CR LF between lines.
  std::string _FormatHTTPHeaders() const;
  // The mail header block: Return-Path, Received, Date, Subject, From, To, CC first, then the
  // rest; BCC is never written. CR LF between lines, none after the last.
  std::string _FormatEmailHeaders() const;

 private:
  fw::Dictionary _Headers;
  std::string _rawHeaders;
};
