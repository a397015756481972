// The options window's services and dialer commands, taken from the context.
#include "app/options_window.h"

#include "app/app_context.h"

namespace corvane {

OptionsServices OptionsServicesOf(AppContext& context) {
  Ports& ports = context.Platform;
  return {context.Store,          context.Entry,      context.CurrentEntryName, context.Session.IsConnected,
          context.LastResult,     ports.Messages,     ports.FileDialog,         ports.ShellLinks,
          ports.Files,            ports.Shell,        ports.Forms,              context.frmDialer.cmbList,
          context.frmDialer.txtCombo, context.ProgramFile};
}

OptionsCallbacks OptionsCallbacksOf(AppContext& context) {
  OptionsCallbacks callbacks;
  DialerForm& dialer = context.frmDialer;
  callbacks.setDialerIcon = [&dialer](int number) { dialer.SetIcon(number); };
  callbacks.resetDialerCaption = [&dialer] { dialer.SetCaption("Corvane"); };
  callbacks.endProgram = [&dialer] { dialer.Unload(); };
  callbacks.interruptOnlineTime = [&context] {
    context.frmDialer.Timer1.SetEnabled(false);
    context.Ledger.SaveOnlineTime(context.CurrentEntryKey());
  };
  callbacks.restartOnlineTime = [&context] {
    context.frmDialer.Timer1.SetEnabled(true);
    context.Ledger.StartCounting();
  };
  callbacks.showStatistics = [&dialer](const std::string& entryName) { dialer.ShowStatisticsWindow(entryName); };
  callbacks.entrySelected = [&dialer](const std::string& editedEntryName) {
    dialer.StatisticsEntryEdited(editedEntryName);
  };
  return callbacks;
}

}  // namespace corvane
