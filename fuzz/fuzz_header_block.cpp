// Any bytes as a header block: parsed, every instance read back, and written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "smtp/InternetHeaders.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  InternetHeaders headers;
  headers._ParseHeaders(raw);
  if (!raw.empty()) Check(headers.Source() == raw);

  const int count = headers.Count();
  size_t stored = 0;
  for (int i = 0; i < count; ++i) {
    const std::string name = headers.Name(i);
    const std::string value = headers.Value(i);
    stored += value.size();
    // Every instance is reachable by its name, and its name never holds the separator.
    Check(name.find(':') == std::string::npos);
    const int instances = headers.NameCount(name);
    Check(instances >= 1 && instances <= count);
    (void)headers.CommaSeparatedValues(name);
  }
  Check(stored <= raw.size());
  Check(headers.Value(count).empty() && headers.Value(-1).empty());
  (void)headers._FormatEmailHeaders();
  (void)headers._FormatHTTPHeaders();

  // Parsing again replaces everything that was there.
  headers._ParseHeaders("X: 1");
  Check(headers.Count() == 1 && headers.Value("x") == "1");
  return 0;
}
