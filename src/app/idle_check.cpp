// Connection: the running entry's idle hang-up, checked at the supervisor
// tick from the traffic readings the connection log already takes (the
// service is asked no more often for it): the warning a minute before, the
// hang-up at the limit with its balloon, and no reconnect after it.
#include <string>

#include "app/connection.h"
#include "settings/idle_settings.h"
#include "stats/monthly_online_time.h"
#include "system/clock_port.h"
#include "system/tray_icon_port.h"

namespace corvane {

namespace {

std::string MinutesText(int32_t minutes) { return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes"); }

}  // namespace

// Only a line whose time is monitored has readings to judge it by; a custom
// entry's line is its provider program's and is never hung up here.
void Connection::StartIdleWatch() {
  IdleSettings settings = LoadIdleSettings(store_, RunningEntryKey());
  if (entry_.MonitorTime != 1 || session_.ConnectionHandle == 0) settings.Minutes = 0;
  idleReadingAt_ = recorder_.LastGoodReadingAt();
  idle_.Start(settings, idleReadingAt_, recorder_.LineBytes());
}

double Connection::IdleSecondsLeft() const {
  if (phase_ != Phase::Connected || !lineUp_) return -1;
  return idle_.SecondsLeft(ports_.Clock.MonotonicSeconds());
}

void Connection::WatchIdle() {
  // Once the line is being hung up, its end is settled.
  if (!idle_.Running() || !lineUp_) return;
  const double readingAt = recorder_.LastGoodReadingAt();
  if (readingAt == idleReadingAt_) return;
  idleReadingAt_ = readingAt;
  const IdleVerdict verdict = idle_.Observe(readingAt, recorder_.LineBytes());
  const std::string name = "'" + ShownEntryName(runningEntryName_) + "'";
  const int32_t limit = idle_.LimitMinutes();
  if (verdict.Warn) {
    ports_.TrayIcon.ShowBalloon("Corvane", name + " has been idle for " + std::to_string(limit - 1) +
                                               " minutes and will be hung up in a minute.");
  }
  if (!verdict.HangUp) return;
  // Said while the icon is still there: the next tick finds the line gone
  // and ends the program without dialling it again, as the age limit does.
  ports_.TrayIcon.ShowBalloon("Corvane", name + " was idle for " + MinutesText(limit) + " and has been hung up.");
  disconnectRequested_ = true;
  EndLine(ConnectionEnd::Idle);
}

}  // namespace corvane
