// The program's own arguments out of the whole process command line.
#pragma once

#include <string>

namespace corvane {

// Drops the program name (quoted or not) and the blanks after it; the rest
// is returned as typed, trailing blanks removed.
std::string ArgumentsOf(const std::string& processCommandLine);

}  // namespace corvane
