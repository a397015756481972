// Connection: the entry's actions. The connect action starts once the line
// is up (after the browser); the disconnect action once a line has ended
// and been booked, from EndLine, which every end of a line passes once. A failed
// start costs a line in the details log and a balloon, nothing more.
#include "app/connection.h"
#include "app/line_action_runner.h"
#include "settings/line_actions.h"
#include "system/tray_icon_port.h"

namespace corvane {

void Connection::RunConnectAction() {
  const LineAction action = LoadLineActions(store_, RunningEntryKey()).OnConnect;
  if (!action.Set()) return;
  ConnectionStatistics statistics;
  const uint32_t speed =
      ports_.DialUp.GetConnectionStatistics(RunningConnection(), statistics) == kRasSuccess ? statistics.Bps : 0;
  const std::string failure = StartLineAction(
      ports_.Processes, action, ConnectActionVariables(runningEntryName_, entry_.PhoneNumber, entry_.UserName, speed));
  if (failure.empty()) return;
  AppendDetails("Connect action: " + failure);
  ports_.TrayIcon.ShowBalloon("Corvane", "The action on connect could not be started.\r\n" + failure);
}

void Connection::RunDisconnectAction(const ConnectionRecord& ended) {
  const LineAction action = LoadLineActions(store_, RunningEntryKey()).OnDisconnect;
  const std::string failure = StartLineAction(ports_.Processes, action, DisconnectActionVariables(ended));
  if (failure.empty()) return;
  AppendDetails("Disconnect action: " + failure);
  ports_.TrayIcon.ShowBalloon("Corvane", "The action on disconnect could not be started.\r\n" + failure);
}

}  // namespace corvane
