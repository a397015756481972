// The program on a service that fails: a dial refused at once, progress
// messages that never come (or come late), connections that cannot be
// listed, and a registry that refuses every write. Whatever fails, the
// window ends where the user can see what happened and act on it.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/dial_state_text.h"
#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

constexpr uint32_t kDialing = 2;

class ServiceFaultsTest : public ::testing::Test, public ProgramFixture {
 protected:
  AppContext& StartWork(const std::vector<std::pair<std::string, std::string>>& more = {}) {
    registry.AddKey(RegHive::CurrentUser, EntryKey("Work"));
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumber", "5550100");
    for (const auto& [value, text] : more) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    return Start("Work");
  }

  void Event(uint32_t state, int32_t error = 0) {
    context->frmDialer.Form_WindowMessage(context->Line.Session().DialEventMessage, state, error);
  }

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) context->frmDialer.Timer1_Timer();
  }

  size_t TrayAdds() const {
    return static_cast<size_t>(std::count_if(trayIcon.calls.begin(), trayIcon.calls.end(),
                                             [](const FakeTrayIcon::Call& c) { return c.op == FakeTrayIcon::Op::Add; }));
  }
};

// Refused at once, the service will never report the dial: the window must
// not wait at "Opening port..." for a message that cannot come.
TEST_F(ServiceFaultsTest, ADialRefusedAtOnceStopsWithItsErrorAndTheRedialButton) {
  struct Case {
    const char* name;
    int32_t answer;
    RasHandle handle;
  };
  for (const Case& c : {Case{"no handle", kRasEntryNotFound, 0}, Case{"with a handle to hang up", 633, 0x77}}) {
    SCOPED_TRACE(c.name);
    dialUp = FakeDialUpService();
    dialUp.dialAnswer = c.answer;
    dialUp.nextHandle = c.handle;
    AppContext& app = StartWork();
    DialerForm& dialer = app.frmDialer;
    EXPECT_EQ(dialer.Caption(), "End of Redials");
    EXPECT_EQ(dialer.txtErr.Text(), "Error " + std::to_string(c.answer) + ": error " + std::to_string(c.answer));
    EXPECT_TRUE(dialer.txtErr.Visible());
    EXPECT_TRUE(dialer.cmdCancel.Visible());
    EXPECT_EQ(dialer.cmdCancel.Caption(), "&Redial");
    EXPECT_EQ(app.Line.RetryPending(), 0);
    EXPECT_EQ(app.Line.Session().RefusedWith, 0);
    if (c.handle != 0) {
      EXPECT_NE(std::find(dialUp.hangUps.begin(), dialUp.hangUps.end(), c.handle), dialUp.hangUps.end());
    }
    Ticks(3);
    EXPECT_EQ(dialUp.dials.size(), 1u) << "a refused request is not retried by itself";

    // Once the service takes dials again, Redial dials.
    dialUp.dialAnswer = kRasSuccess;
    dialUp.nextHandle = 0x5150;
    dialer.cmdCancel.OnUserClick();
    EXPECT_EQ(dialUp.dials.size(), 2u);
    EXPECT_EQ(app.Line.Session().ConnectionHandle, RasHandle{0x5150});
    EXPECT_EQ(dialer.txtErr.Text(), "");
  }
}

// Progress messages that never come: the tick asks the service, and acts on
// an end it keeps reporting, once.
TEST_F(ServiceFaultsTest, ADialWhoseMessagesNeverComeEndsFromItsStatus) {
  struct Case {
    const char* name;
    uint32_t state;
    uint32_t error;
  };
  for (const Case& c : {Case{"connected", kRasStateConnected, 0}, Case{"failed", kDialing, kRasNoAnswer}}) {
    SCOPED_TRACE(c.name);
    dialUp = FakeDialUpService();
    trayIcon = FakeTrayIcon();
    AppContext& app = StartWork({{"NumberOfRedials", "0"}});
    ASSERT_TRUE(app.frmDialer.Timer1.Enabled());
    dialUp.statusAnswer = kRasSuccess;
    dialUp.status.State = kDialing;
    Ticks(6);
    EXPECT_EQ(app.frmDialer.lblMess.Caption(), "Status:  Opening port...") << "still dialling: nothing to act on";

    dialUp.status.State = c.state;
    dialUp.status.Error = c.error;
    if (c.error == 0) {
      ActiveConnection line;  // a line that is up is listed too
      line.Handle = dialUp.nextHandle;
      dialUp.connections = {line};
    }
    Ticks(3);
    EXPECT_EQ(app.Line.IsConnected(), 0) << "a message may still be on its way";
    Ticks(1);
    if (c.error == 0) {
      EXPECT_EQ(app.Line.IsConnected(), 1);
      EXPECT_EQ(TrayAdds(), 1u);
    } else {
      EXPECT_EQ(app.frmDialer.Caption(), "End of Redials");
      EXPECT_EQ(app.frmDialer.txtErr.Text(), "Error 678: error 678");
    }
    const std::string log = app.frmDialer.txtDetails.Text();
    // The message that finally arrives, late, changes nothing.
    Event(c.state, static_cast<int32_t>(c.error));
    Ticks(6);
    EXPECT_EQ(TrayAdds(), c.error == 0 ? 1u : 0u);
    EXPECT_EQ(app.frmDialer.txtDetails.Text(), log);
  }
}

TEST_F(ServiceFaultsTest, MessagesThatComeLeaveTheStatusWatchIdle) {
  AppContext& app = StartWork();
  dialUp.statusAnswer = kRasSuccess;
  dialUp.status.State = kRasStateConnected;
  ActiveConnection line;
  line.Handle = dialUp.nextHandle;
  dialUp.connections = {line};
  Event(kRasStateConnected);
  Ticks(8);
  EXPECT_EQ(app.Line.IsConnected(), 1);
  EXPECT_EQ(TrayAdds(), 1u);
}

// Disconnect when the service cannot list its connections: the line this
// program dialled still goes, as the user asked.
TEST_F(ServiceFaultsTest, DisconnectHangsUpTheDialledLineWhenTheListFails) {
  AppContext& app = StartWork({{"DoNotAsk", "1"}});
  Event(kRasStateConnected);
  dialUp.listFails = true;
  dialUp.hangUps.clear();
  app.frmDialer.mnuDisconnect.OnUserClick();
  ASSERT_FALSE(dialUp.hangUps.empty());
  EXPECT_EQ(dialUp.hangUps.front(), dialUp.nextHandle);
  EXPECT_FALSE(app.frmDialer.Loaded());
}

// A registry that refuses every write: the program still dials, connects
// and ends through its exit path.
TEST_F(ServiceFaultsTest, RegistryWritesFailingStopNothing) {
  registry.AddKey(RegHive::CurrentUser, EntryKey("Work"));
  registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumber", "5550100");
  registry.setValueFailure = 5;
  AppContext& app = Start("Work");
  ASSERT_EQ(dialUp.dials.size(), 1u);
  Event(kRasStateConnected);
  EXPECT_EQ(app.Line.IsConnected(), 1);
  EXPECT_FALSE(app.frmDialer.Visible());
  app.frmDialer.mnuExit_Click();
  EXPECT_FALSE(app.frmDialer.Loaded());
  EXPECT_FALSE(trayIcon.shown);
  EXPECT_FALSE(registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), "LastOffTime").has_value());
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
}  // namespace corvane::testing
