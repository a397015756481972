// ProcessPort over CreateProcessA: the program by its path (no search, no
// shell), the program's own environment with the variables added, and the
// process and thread handles closed at once (it is not waited for).
#pragma once

#include "system/process_port.h"

namespace corvane {

class Win32Process : public ProcessPort {
 public:
  std::string Start(const std::string& program, const std::string& arguments,
                    const std::vector<EnvironmentVariable>& variables) override;
};

}  // namespace corvane
