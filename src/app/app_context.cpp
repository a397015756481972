// The composition root: what each window and the connection are given.
#include "app/app_context.h"

#include <initializer_list>

#include "app/options_window.h"
#include "forms/form_host.h"
#include "ui/bring_to_front.h"

namespace corvane {

AppContext::AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed,
                       double checkpointIntervalSeconds)
    : Platform(ports),
      Store(ports.Registry),
      Ledger(Store, ports.Clock, checkpointIntervalSeconds),
      Log(ports.LogFiles, Store),
      Recorder(Log, Store, ports.Clock, ports.DialUp, checkpointIntervalSeconds),
      Allowance(Store, ports.Clock, Log, ports.LogFiles),
      Line(ConnectionPorts{ports.DialUp, ports.Clock, ports.Pump, ports.TrayIcon, ports.Shell, ports.Messages,
                           ports.Files, ports.Download, ports.Platform, ports.Processes},
           Store, Ledger, Recorder, Allowance, std::move(commandLine), CurrentEntryName, randomSeed),
      frmDialer(Line, DialerServices{Store, ports.Files, ports.Messages, ports.TrayIcon},
                DialerWindows{[this](int tabIndex) { return OptionsWindowShown(*this, tabIndex); },
                              [this](const std::string& entryName) { ShowStatisticsWindow(entryName); },
                              [this] { ShowOnlineTimeWindow(); }, [this] { ShowConnectionLogWindow(); }}),
      frmMessage(Store, Line.RunningEntryName(), frmDialer, [this](uint8_t doNotAsk) { Line.DoNotAskChosen(doNotAsk); }),
      frmOptions(OptionsServicesOf(*this), OptionsCallbacksOf(*this)),
      frmStatistics(StatisticsSources{Ledger, Store, Line, CurrentEntryName, StatsEntryName, ports.DialUp, ports.Clock},
                    StatisticsCallbacks{[this] { Line.DisconnectButtonClicked(); }, [this] { ShowConnectionLogWindow(); },
                                        [this](const std::string& entryName, const Tariff& tariff) {
                                          return LoggedMonthOf(Log, Platform.LogFiles, entryName,
                                                               Platform.Clock.Today(), tariff);
                                        }}),
      frmOnTime(OnlineTimeSources{Ledger, Store, StatsEntryName, Line, ports.Clock, frmDialer,
                                  [](forms::Form& window) { BringToFront(window); }}),
      frmConnectionLog(ConnectionLogSources{Log, ports.LogFiles, ports.FileDialog, ports.Messages, ports.Clock}) {
  Line.Attach(frmDialer,
              ConnectionWindows{[this](int tabIndex) { return OptionsWindowShown(*this, tabIndex); },
                                [this] {
                                  Platform.Forms.ShowModal(frmMessage);
                                  return frmMessage.DisconnectDeclined == 0;
                                },
                                [this] {
                                  for (forms::Form* window : std::initializer_list<forms::Form*>{
                                           &frmMessage, &frmOptions, &frmStatistics, &frmOnTime, &frmConnectionLog}) {
                                    if (window->Loaded()) window->Unload();
                                  }
                                }});
}

// An empty name: the entry the window was last opened for, or the running
// one before any opener has named one, rather than an account of no entry.
void AppContext::ShowStatisticsWindow(const std::string& entryName) {
  if (!entryName.empty()) {
    StatsEntryName = entryName;
  } else if (StatsEntryName.empty()) {
    StatsEntryName = Line.RunningEntryName();
  }
  Platform.Forms.ShowModeless(frmStatistics);
}

void AppContext::ShowConnectionLogWindow() {
  // An open window is read afresh: lines may have been logged meanwhile.
  if (frmConnectionLog.Loaded()) frmConnectionLog.Unload();
  Platform.Forms.ShowModeless(frmConnectionLog);
}

void AppContext::ShowOnlineTimeWindow() {
  if (CurrentEntryName.empty()) return;
  StatsEntryName = CurrentEntryName;
  Platform.Forms.ShowModeless(frmOnTime);
}

}  // namespace corvane
