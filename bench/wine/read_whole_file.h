// A floor program's file read the fastest plain way: in one go.
#pragma once

#include <string>

namespace corvane::bench {

// The file's bytes, empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace corvane::bench
