// Assigning any text as a whole message must neither crash, hang nor read outside the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "smtp/EmailMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EmailMessage message;
  message.Source(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
