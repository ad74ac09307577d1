#pragma once
// The user's text made into mail text: ISO-2022-JP in lines a mail server takes, and header
// values as MIME encoded words.
//
// Characters that ISO-2022-JP lacks in the form Windows and Mac text often holds them are
// mapped first: decomposed text composed (カ + U+3099 to ガ), half-width katakana to full-width
// (a sound mark that cannot combine becomes ゛ or ゜), the CP932 look-alikes (full-width tilde,
// minus, parallel, not, cent, pound, em dash) to their JIS forms. Control characters other than
// TAB, CR and LF are dropped, DEL too: a raw ESC would switch the character set of the text
// around it. A character that is still unconvertible becomes its transliteration where glibc
// has one ("①" → "(1)") and "〓" otherwise, so one character never cuts a message short.
#include <cstddef>
#include <string>
#include <string_view>

#include "smtp/MailAddress.h"

// The longest line of a mail text, its line end not counted (RFC 5321 and 5322).
inline constexpr size_t kMaxMailLine = 998;

// The text in ISO-2022-JP; unchanged when the system has no converter.
std::string UTF8toJIS(std::string_view text);
// The same from the Mac OS Japanese encoding.
std::string SJIStoJIS(std::string_view text);
// Every line of an ISO-2022-JP text with CR LF line ends that is longer than kMaxMailLine
// octets, broken between characters: each piece returns to ASCII before its CR LF and the next
// switches back. Lines that fit are left as they are.
std::string BreakLongLines(std::string_view jis);
// "=?ISO-2022-JP?B?" + Base64 of UTF8toJIS(text) on one line + "?= ", as the value of the
// header named `header`, when that header line fits in kMaxMailLine octets. A longer text gives
// several such words one after the other, each at most 75 characters and a whole ISO-2022-JP
// text of its own; the header block folds them onto lines of their own.
std::string EncodeMIME(std::string_view text, std::string_view header = "Subject");
// A text as one line of a header value: TAB and line breaks become blanks, the other control
// characters (C0 and DEL) go.
std::string HeaderText(std::string_view text);
// A settings text as the value of a header: HeaderText, then ASCII text stays as it is, other
// text is written by EncodeMIME.
std::string HeaderValue(std::string_view header, std::string_view text);
// An address as the value of the "From" or "To" header: a plain address when there is no name,
// else the name, a blank and the address in angle brackets. The name is written as it stands,
// in double quotes when it holds specials of RFC 5322, and as encoded words when it is not
// ASCII or holds a comma (the recipient list is split at commas); the address never is.
std::string AddressHeaderValue(std::string_view header, const MailAddress& address);

// The UTF-8 text with the mappings above applied (what UTF8toJIS converts).
std::string MapToJISRepertoire(std::string_view text);
