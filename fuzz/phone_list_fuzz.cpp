// Fuzzes the phone list as the drop-down and FindPhoneNumber read it: the
// file split into lines (alike by the drop-down's one block and the line
// reader), the refusal of lines no location has, the phone field found in
// the title line, and the number of every line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/number_sources.h"
#include "forms/item_list.h"
#include "fuzz_check.h"
#include "system/text_lines.h"

using corvane::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  corvane::forms::ItemList lines;
  corvane::ForEachTextLine(text, [&lines](std::string_view line) { lines.Add(line); });
  Check(lines.Texts() == corvane::SplitTextLines(text), "the drop-down and the line reader split alike");
  for (int i = 0; i < lines.Count(); ++i) {
    Check(lines.At(i).find_first_of("\r\n") == std::string_view::npos, "a line holds no line break");
  }
  if (lines.Count() == 0 || corvane::HasOverlongPhoneListLine(lines)) return 0;

  const int phoneField = corvane::PhoneFieldIndex(lines.At(0));
  Check(phoneField >= -1, "the phone field is an index or -1");
  if (phoneField < 0) return 0;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line(lines.At(i));
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
