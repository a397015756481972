// The program-wide context.
#include "app/app_context.h"

#include "app/options_window.h"

namespace corvane {

AppContext::AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed)
    : Platform(ports),
      CommandLine(std::move(commandLine)),
      Store(ports.Registry, LastResult),
      Random(randomSeed),
      Ledger(Store, ports.Clock),
      frmDialer(*this),
      frmOptions(OptionsServicesOf(*this), OptionsCallbacksOf(*this)) {}

}  // namespace corvane
