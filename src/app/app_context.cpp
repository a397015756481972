// The program-wide context.
#include "app/app_context.h"

namespace corvane {

AppContext::AppContext(const Ports& ports, std::string commandLine)
    : Platform(ports), CommandLine(std::move(commandLine)), Store(ports.Registry, LastResult),
      Ledger(Store, ports.Clock),
      frmDialer(*this) {}

}  // namespace corvane
