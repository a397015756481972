// The options window as the running program wires it: the tray's Options
// shows it, and its monitoring switch books and restarts the running
// connection's online time through the ledger and the dialer's timer.
#include <gtest/gtest.h>

#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

class OptionsWindowTest : public ::testing::Test, public ProgramFixture {};

TEST_F(OptionsWindowTest, MonitoringSwitchBooksAndRestartsTheRunningConnection) {
  registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumber", "");
  AppContext& app = Start("Work");
  app.Session.IsConnected = 1;
  app.Ledger.StartCounting();
  app.frmDialer.Timer1.SetEnabled(true);
  clock.monotonic += 100;

  app.frmDialer.mnuOptions_Click();
  OptionsForm& options = app.frmOptions;
  ASSERT_TRUE(options.Visible());
  EXPECT_EQ(options.cmbSelEntry.Text(), "Work");

  messages.answer = MsgResult::Yes;
  options.chkMonitorTime.OnUserValue(0);
  EXPECT_FALSE(app.frmDialer.Timer1.Enabled());
  EXPECT_TRUE(app.Ledger.OnlineTimeSaved());

  options.chkMonitorTime.OnUserValue(1);
  EXPECT_TRUE(app.frmDialer.Timer1.Enabled());
  EXPECT_FALSE(app.Ledger.OnlineTimeSaved());
  EXPECT_TRUE(app.Ledger.Counting());
}

}  // namespace
}  // namespace corvane::testing
