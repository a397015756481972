// Starting a program of the user's as a process of its own: never through
// a shell, with variables added to the program's own environment, and not
// waited for.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane {

// A variable the started program finds in its environment: name, value.
using EnvironmentVariable = std::pair<std::string, std::string>;

class ProcessPort {
 public:
  virtual ~ProcessPort() = default;
  // Starts `program` (a full path) with `arguments` as its command line's
  // rest, exactly as given, and `variables` added to (or replacing in) the
  // program's environment. Empty when it started; otherwise the system's
  // reason, for the user.
  virtual std::string Start(const std::string& program, const std::string& arguments,
                            const std::vector<EnvironmentVariable>& variables) = 0;
};

}  // namespace corvane
