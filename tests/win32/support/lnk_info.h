// Reading shortcut files the way other programs will: through lnkinfo
// (Debian liblnk-utils), an independent parser run on the Linux side.
#pragma once

#include <map>
#include <string>

namespace corvane::testing {

bool FileExists(const std::string& path);

// lnkinfo's "Name : value" lines for the link file, names and values
// without surrounding blanks ("Local path", "Command line arguments",
// "Working directory", "Icon location", "Icon index", "Description").
std::map<std::string, std::string> LnkInfoFields(const std::string& linkPath);

}  // namespace corvane::testing
