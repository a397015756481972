// The options window's services and dialer commands, taken from the context.
#include "app/options_window.h"

#include "app/app_context.h"
#include "system/clock_port.h"

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
  // Booking the time counted so far joins here once the ledger exists.
  callbacks.interruptOnlineTime = [&dialer] { dialer.Timer1.SetEnabled(false); };
  callbacks.restartOnlineTime = [&context] {
    context.frmDialer.Timer1.SetEnabled(true);
    context.Session.OnlineTimeSaved = 0;
    context.Session.ConnectTime = static_cast<float>(context.Platform.Clock.SecondsSinceMidnight());
  };
  callbacks.showStatistics = [&dialer](const std::string& entryName) { dialer.ShowStatisticsWindow(entryName); };
  return callbacks;
}

}  // namespace corvane
