#pragma once
// The file name an attachment's header gives, decoded to UTF-8.
#include <string>
#include <string_view>

namespace attachment_name {

// The parameter called name ("filename", "name") of a header value: its RFC 2231 form (one
// extended value "name*", or sections "name*0", "name*1*", ... joined in order) when present,
// else the plain parameter with its RFC 2047 encoded words decoded. Texts in a character set
// that cannot be converted stay as they are. "" when absent.
std::string Decoded(std::string_view headerValue, std::string_view name);

}  // namespace attachment_name
