#pragma once
// The framework's string functions. Texts are std::string holding UTF-8 (or raw bytes for
// mail text). Positions are 1-based; searches and comparisons ignore ASCII letter case.
// Functions without "B" count characters (UTF-8 code points, a stray byte counts as one);
// the "B" functions count bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

using String = std::string;

// Case-insensitive (ASCII) comparison, the framework's string equality.
bool StrEquals(std::string_view a, std::string_view b);
String Lowercase(std::string_view s);

// 1-based position of find in source at or after start; 0 when absent or find is empty.
int InStr(std::string_view source, std::string_view find);
int InStr(int start, std::string_view source, std::string_view find);
// Byte-counting variants.
int InStrB(std::string_view source, std::string_view find);
int InStrB(int start, std::string_view source, std::string_view find);

// Field n (from 1) of source split at separator; empty past the last field or for n < 1.
String NthField(std::string_view source, std::string_view separator, int n);
// Number of fields; 0 for an empty text.
int CountFields(std::string_view source, std::string_view separator);
// All fields; an empty text gives one empty field.
std::vector<String> Split(std::string_view source, std::string_view separator);
String Join(const std::vector<String>& parts, std::string_view separator);

int Len(std::string_view s);
int LenB(std::string_view s);
String Left(std::string_view s, int count);
String LeftB(std::string_view s, int count);
String Right(std::string_view s, int count);
// From start (1-based) to the end, or count characters.
String Mid(std::string_view s, int start);
String Mid(std::string_view s, int start, int count);
String MidB(std::string_view s, int start);
String MidB(std::string_view s, int start, int count);

// Blanks here are spaces and tabs, as the framework trims them.
String Trim(std::string_view s);
String LTrim(std::string_view s);
// Trim, and the full-width blank U+3000 that Japanese input leaves, and what copying leaves
// unseen: the no-break space U+00A0 and the zero-width space U+200B of web pages and
// spreadsheets, the byte-order mark U+FEFF of joined files. For text a person typed.
String TrimWide(std::string_view s);

// Every occurrence of find, ignoring letter case.
String ReplaceAll(std::string_view source, std::string_view find, std::string_view replacement);

// The character with this code point, as UTF-8 (codes below 128 give one byte).
String Chr(uint32_t code);
// The code point of each character; a byte that starts no valid sequence gives its own value.
std::vector<uint32_t> CodePoints(std::string_view s);

String Str(int64_t value);
String Str(int value);
String Str(double value);
// Whole-number formatting: the value rounded, its digits put where the pattern's run of '0'
// (padded) or '#' places stands, an optional leading '+' (sign always shown) and literal
// characters around it. Fractions are not formatted.
String Format(double value, std::string_view pattern);
// The leading number of s (after blanks); 0 when none.
double Val(std::string_view s);

}  // namespace fw
