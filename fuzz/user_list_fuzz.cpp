// Fuzzes the user list: the file split into lines and each line read as a
// login, as FindPhoneNumber does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/number_sources.h"
#include "fuzz_check.h"
#include "system/text_lines.h"

using corvane::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const std::string& line : corvane::SplitTextLines(text)) {
    std::string name = "untouched", password = "untouched";
    if (!corvane::ParseUserLine(line, name, password)) {
      Check(line.find(',') == std::string::npos, "only a line without a comma is no login");
      Check(name == "untouched" && password == "untouched", "a refused line leaves the login alone");
      continue;
    }
    Check(name.find(',') == std::string::npos, "the user name ends at the first comma");
    Check(name + "," + password == line, "name and password are the whole line");
  }
  return 0;
}
