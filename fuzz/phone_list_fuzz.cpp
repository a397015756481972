// Fuzzes the phone list as the drop-down and FindPhoneNumber read it: the
// file split into lines, the refusal of lines no location has, the phone
// field found in the title line, and the number of every line.
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
  const std::vector<std::string> lines = corvane::SplitTextLines(text);
  for (const std::string& line : lines) {
    Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no line break");
  }
  if (lines.empty() || corvane::HasOverlongPhoneListLine(lines)) return 0;

  const int phoneField = corvane::PhoneFieldIndex(lines.front());
  Check(phoneField >= -1, "the phone field is an index or -1");
  if (phoneField < 0) return 0;
  for (const std::string& line : lines) {
    Check(line.size() <= corvane::kMaxPhoneListLine, "an accepted line is no longer than the limit");
    const corvane::ListNumber found = corvane::NumberFromListLine(line, phoneField);
    const std::string held = found.appendComma ? line + "," : line;
    Check(held.find(found.number) != std::string::npos, "the number is taken from the line");
    if (found.number != line && phoneField > 0) {
      Check(found.number.find(',') == std::string::npos, "a phone field holds no comma");
    }
  }
  return 0;
}
