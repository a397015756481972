// The composition root: it owns the ports' users, the connection and the
// windows, and hands each what it uses. Nothing takes it whole but WinMain
// and the tests, which build a fresh one on fakes.
#pragma once

#include <cstdint>
#include <string>

#include "app/connection.h"
#include "app/dialer_form.h"
#include "settings/settings_store.h"
#include "stats/allowance_watch.h"
#include "stats/connection_log.h"
#include "stats/connection_log_form.h"
#include "stats/line_recorder.h"
#include "stats/online_time_form.h"
#include "stats/online_time_ledger.h"
#include "stats/statistics_form.h"
#include "ui/message_form.h"
#include "ui/options_form.h"

namespace corvane {

class ClockPort;
class DialUpService;
class DownloadPort;
class EventPumpPort;
class FileDialogPort;
class FileSystemPort;
class MessageBoxPort;
class PlatformPort;
class RegistryPort;
class ShellLinkPort;
class ShellPort;
class TrayIconPort;
namespace forms {
class FormHost;
}

struct Ports {
  RegistryPort& Registry;
  ClockPort& Clock;
  ShellPort& Shell;
  MessageBoxPort& Messages;
  EventPumpPort& Pump;
  PlatformPort& Platform;
  DialUpService& DialUp;
  TrayIconPort& TrayIcon;
  forms::FormHost& Forms;  // shows the other windows, modal or modeless
  FileSystemPort& Files;
  DownloadPort& Download;
  FileDialogPort& FileDialog;
  ShellLinkPort& ShellLinks;
  ConnectionLogFiles& LogFiles;
};

class AppContext {
 public:
  // `commandLine` is the program's command line without the program name;
  // `randomSeed` comes from the platform, fresh for every run.
  // `checkpointIntervalSeconds`: how often a running connection's time is
  // written down against a kill.
  AppContext(const Ports& ports, std::string commandLine, uint32_t randomSeed,
             double checkpointIntervalSeconds = kCheckpointIntervalSeconds);

  Ports Platform;

  SettingsStore Store;
  OnlineTimeLedger Ledger;
  // The connection log, and the running line's record for it.
  ConnectionLog Log;
  LineRecorder Recorder;
  // The running entry's monthly allowance.
  AllowanceWatch Allowance;

  // The current entry name the windows read: the command line's name, "/"
  // dropped, capitalised; "*" in front for a custom entry. Removing that
  // entry in the options window clears it; the connection keeps its own.
  std::string CurrentEntryName;
  // The entry the statistics and online time windows show; their openers
  // set it.
  std::string StatsEntryName;

  // The program file's full path, for the shortcuts that start it.
  std::string ProgramFile;

  // The dial and the line: the running entry's record, its phase, booking.
  Connection Line;

  DialerForm frmDialer;
  MessageForm frmMessage;
  OptionsForm frmOptions;
  StatisticsForm frmStatistics;
  OnlineTimeForm frmOnTime;
  ConnectionLogForm frmConnectionLog;

  // Shows the statistics window for `entryName`, modeless.
  void ShowStatisticsWindow(const std::string& entryName);
  // Shows the online time window for the current entry, modeless.
  void ShowOnlineTimeWindow();
  // Shows the connection log window, modeless, read afresh.
  void ShowConnectionLogWindow();
};

}  // namespace corvane
