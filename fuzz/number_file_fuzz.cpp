// Fuzzes the number file's body as it comes from the Web.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/number_sources.h"
#include "fuzz_check.h"

using corvane::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const std::string number = corvane::NumberFromNumberFile(body);
  if (number.empty()) return 0;
  Check(number.size() <= corvane::kNumberFileNumberLength, "the number is at most 10 characters");
  Check(corvane::IsDialString(number), "the number that is stored can be dialled");
  Check(body.find(number) != std::string_view::npos, "the number comes from the body");
  return 0;
}
