#pragma once
// The user's text made into mail text: ISO-2022-JP, and the subject as one MIME encoded word.
//
// Characters that ISO-2022-JP lacks in the form Windows and Mac text often holds them are
// mapped first: half-width katakana to full-width, the CP932 look-alikes (full-width tilde,
// minus, parallel, not, cent, pound, horizontal bar) to their JIS forms. A character that is
// still unconvertible becomes its transliteration where glibc has one ("①" → "(1)") and "〓"
// otherwise, so one character never cuts a message short.
#include <string>
#include <string_view>

// The text in ISO-2022-JP; unchanged when the system has no converter.
std::string UTF8toJIS(std::string_view text);
// The same from the Mac OS Japanese encoding.
std::string SJIStoJIS(std::string_view text);
// "=?ISO-2022-JP?B?" + Base64 of UTF8toJIS(text) on one line + "?= ".
std::string EncodeMIME(std::string_view text);

// The UTF-8 text with the mappings above applied (what UTF8toJIS converts).
std::string MapToJISRepertoire(std::string_view text);
