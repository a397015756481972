// Which entry names can be stored: an entry is one registry key under the
// settings root and the name of its desktop and Startup shortcut files, so a
// name that cannot be both would write, and on removal delete, some other key
// or file.
#pragma once

#include <cstddef>
#include <string>

namespace corvane {

// Longest path, in characters, a shortcut file may have (MAX_PATH less its NUL).
inline constexpr size_t kMaxShortcutPath = 259;

// Why `name` cannot be an entry, as a sentence for the user; empty when it
// can. `longestFolder` is the length of the longest folder its shortcut
// files go into (0 when not known), so the longest of them, folder + "\" +
// "CRV - " + name + ".lnk", still fits. The empty name is not judged here.
std::string EntryNameRefusal(const std::string& name, size_t longestFolder);

}  // namespace corvane
