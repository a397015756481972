// The program-wide context.
#include "app/app_context.h"

namespace corvane {

AppContext::AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed)
    : Platform(ports),
      CommandLine(std::move(commandLine)),
      Store(ports.Registry, LastResult),
      Random(randomSeed),
      Ledger(Store, ports.Clock),
      frmDialer(*this) {}

}  // namespace corvane
