// The options window's services and callbacks, taken from the context.
#include "app/options_window.h"

#include "app/app_context.h"
#include "settings/entry_name.h"

namespace corvane {

OptionsServices OptionsServicesOf(AppContext& context) {
  Ports& ports = context.Platform;
  return {context.Store, context.CurrentEntryName, context.Line, ports.Messages,
          ports.FileDialog, ports.ShellLinks, ports.Files, ports.Shell, ports.Forms, context.ProgramFile};
}

OptionsCallbacks OptionsCallbacksOf(AppContext& context) {
  OptionsCallbacks callbacks;
  DialerForm& dialer = context.frmDialer;
  Connection& line = context.Line;
  callbacks.setDialerIcon = [&dialer](int number) { dialer.SetIcon(number); };
  callbacks.resetDialerCaption = [&dialer] { dialer.SetCaption("Corvane"); };
  callbacks.endProgram = [&dialer] { dialer.Unload(); };
  callbacks.interruptOnlineTime = [&line] { line.InterruptMonitoring(); };
  callbacks.restartOnlineTime = [&line] { line.ResumeMonitoring(); };
  callbacks.entrySaved = [&line](const std::string& entryName) {
    if (!line.RunningEntryName().empty() && EqualsIgnoringCase(entryName, line.RunningEntryName())) {
      line.RunningEntrySaved();
    }
  };
  callbacks.showStatistics = [&context](const std::string& entryName) { context.ShowStatisticsWindow(entryName); };
  // An open statistics window follows the selector to the running entry.
  callbacks.entrySelected = [&context](const std::string& editedEntryName) {
    const std::string& current = context.CurrentEntryName;
    if (context.frmStatistics.StatsWindowOpen == 1 && !current.empty() && editedEntryName == current) {
      context.StatsEntryName = editedEntryName;
    }
  };
  callbacks.monthUse = [&context](const std::string& entryName) {
    return MonthUse(context.Ledger, context.Store, context.Line, context.Log, context.Platform.LogFiles,
                    context.Platform.Clock, entryName);
  };
  return callbacks;
}

bool OptionsWindowShown(AppContext& context, int tabIndex) {
  OptionsForm& options = context.frmOptions;
  context.Platform.Forms.ShowModeless(options);
  if (!options.Loaded()) return false;
  if (tabIndex > 0) options.tbsOptions.SetSelectedTab(tabIndex + 1);
  return true;
}

}  // namespace corvane
