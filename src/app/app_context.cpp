// The program-wide context.
#include "app/app_context.h"

#include "app/options_window.h"
#include "ui/bring_to_front.h"

namespace corvane {

AppContext::AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed)
    : Platform(ports),
      CommandLine(std::move(commandLine)),
      Store(ports.Registry, LastResult),
      Random(randomSeed),
      Ledger(Store, ports.Clock),
      frmDialer(*this),
      frmOptions(OptionsServicesOf(*this), OptionsCallbacksOf(*this)),
      frmStatistics(StatisticsSources{Ledger, Store, Entry, CurrentEntryName, StatsEntryName, Session.IsConnected,
                                      Supervisor.LineDropped, Supervisor.ReconnectCountdown, ports.DialUp,
                                      ports.Clock, LastResult},
                    StatisticsCallbacks{[this] { return RunningConnection(); },
                                        [this] { frmDialer.mnuDisconnect_Click(); }}),
      frmOnTime(OnlineTimeSources{Ledger, Store, StatsEntryName, Session.IsConnected, ports.Clock, frmDialer,
                                  [](forms::Form& window) { BringToFront(window); }}) {}

}  // namespace corvane
