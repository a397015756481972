// The rule for entry names: one registry key name and one file name.
#include "settings/entry_name_rule.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace corvane {

namespace {

// The registry's limit for one key name.
constexpr size_t kMaxKeyName = 255;
// What a shortcut adds to the name: the Startup link's "CRV - " prefix, the
// ".lnk" extension and the "\" after the folder.
constexpr size_t kShortcutExtra = 6 + 4 + 1;

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

constexpr std::array<std::string_view, 22> kDeviceNames = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

// The system takes a device name with any extension, and blanks before it,
// for the device itself ("nul.lnk", "CON .txt").
bool IsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return std::find(kDeviceNames.begin(), kDeviceNames.end(), base) != kDeviceNames.end();
}

}  // namespace

std::string EntryNameRefusal(const std::string& name, size_t longestFolder) {
  if (name.empty()) return {};
  if (name.find_first_of(kForbidden) != std::string::npos) {
    return "An entry name cannot contain any of the characters \\ / : * ? \" < > |";
  }
  if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; })) {
    return "An entry name cannot contain control characters.";
  }
  if (name.back() == '.' || name.back() == ' ') return "An entry name cannot end with a dot or a space.";
  if (IsDeviceName(name)) return "'" + name + "' is the name of a device and cannot name an entry.";

  const size_t room = kMaxShortcutPath > longestFolder + kShortcutExtra
                          ? std::min(kMaxKeyName, kMaxShortcutPath - longestFolder - kShortcutExtra)
                          : 0;
  if (name.size() > room) {
    return "The entry name is too long for its shortcut. Please use at most " + std::to_string(room) +
           " characters.";
  }
  return {};
}

}  // namespace corvane
