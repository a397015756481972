// What a Timer1 tick does when it arrives inside one of the waits that run
// on the UI thread: the busy-redial countdown and the number download run
// window events, so a tick runs there in full; the wait for a released
// handle runs none, so no tick arrives inside it.
#include <gtest/gtest.h>

#include "app/dial_state_text.h"
#include "app/number_sources.h"
#include "fakes/program_fixture.h"

namespace corvane::testing {
namespace {

class NestedWaitTest : public ::testing::Test, public ProgramFixture {
 protected:
  AppContext& StartSingleNumber(const std::string& minutes, const std::string& seconds,
                                const std::vector<std::pair<std::string, std::string>>& more = {}) {
    registry.AddKey(RegHive::CurrentUser, EntryKey("Work"));
    std::vector<std::pair<std::string, std::string>> values{
        {"PhoneNumber", "5550100"}, {"Minutes", minutes}, {"Seconds", seconds}, {"NumberOfRedials", "3"}};
    values.insert(values.end(), more.begin(), more.end());
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    return Start("Work");
  }

  void Event(uint32_t state, int32_t error = 0) {
    context->frmDialer.Form_WindowMessage(context->Line.Session().DialEventMessage, state, error);
  }
};

// Ticks during the countdown serve a cancel and animate, but never dial: the
// countdown hands the redial over only once it has run out.
TEST_F(NestedWaitTest, TickInsideTheBusyCountdown) {
  struct Case {
    std::string name;
    int cancelAtPass;  // 0: the user never cancels
    bool redialHandedOver;
  };
  const Case cases[] = {
      {"ticks alone dial nothing until the pause is over", 0, true},
      {"a tick after a cancel hangs up, closes, and the countdown ends", 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry = FakeRegistry();
    AppContext& app = StartSingleNumber("0", "2");
    const size_t dialsBefore = dialUp.dials.size();
    int passes = 0;
    size_t dialsDuringCountdown = 0;
    pump.onEvents = [&] {
      if (++passes == c.cancelAtPass) app.frmDialer.cmdDial.OnUserClick();  // "&Cancel"
      app.frmDialer.Timer1.OnTick();
      dialsDuringCountdown = dialUp.dials.size() - dialsBefore;
    };
    Event(2, kRasLineBusy);
    pump.onEvents = nullptr;

    EXPECT_GT(passes, 1);
    EXPECT_EQ(dialsDuringCountdown, 0u);
    EXPECT_NE(app.Line.CurrentPhase(), Phase::RedialCountdown);
    EXPECT_EQ(app.Line.BusyRedialPending(), c.redialHandedOver ? 1 : 0);
    EXPECT_EQ(app.frmDialer.Loaded(), c.redialHandedOver);
    if (!c.redialHandedOver) {
      EXPECT_EQ(passes, c.cancelAtPass);
    }

    app.frmDialer.Timer1.OnTick();
    EXPECT_EQ(dialUp.dials.size() - dialsBefore, c.redialHandedOver ? 1u : 0u);
  }
}

// The wait for the old handle before a retry takes one look per tick and
// runs no events inside it, so no second tick can start a second dial in the
// middle of the first tick's; the dial comes on the tick the bound runs out.
TEST_F(NestedWaitTest, NoTickInsideTheHandleReleaseWait) {
  AppContext& app = StartSingleNumber("0", "0");
  Event(2, kRasNoDialTone);
  ASSERT_EQ(app.Line.RetryPending(), 1);
  dialUp.statusAnswer = kRasSuccess;  // the service holds the handle to the end
  int nestedTicks = 0;
  pump.onEvents = [&] {
    ++nestedTicks;
    app.frmDialer.Timer1.OnTick();
  };
  const int eventRunsBefore = pump.doEventsCalls + pump.waitCalls;
  const size_t dialsBefore = dialUp.dials.size();

  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(dialUp.dials.size(), dialsBefore);
  clock.monotonic += kHandleReleaseSeconds;
  app.frmDialer.Timer1.OnTick();

  EXPECT_EQ(pump.doEventsCalls + pump.waitCalls, eventRunsBefore);
  EXPECT_EQ(nestedTicks, 0);
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
}

// Ticks during the number download find the line up and nothing handed
// over; the switch to the new number is handed to the tick after it.
TEST_F(NestedWaitTest, TickInsideTheNumberDownload) {
  AppContext& app =
      StartSingleNumber("0", "0", {{"FileURL", "http://numbers.example/now.txt"}, {"DisconnectAndDial", "1"}});
  download.body = "5559876\n";
  dialUp.connections = {ListedLine(dialUp.nextHandle, "Crv")};  // the line the ticks watch
  const size_t dialsBefore = dialUp.dials.size();
  int ticks = 0;
  download.onEvents = [&] {
    ++ticks;
    app.frmDialer.Timer1.OnTick();
    EXPECT_EQ(app.Line.IsConnected(), 1);
    EXPECT_EQ(app.Line.BusyRedialPending(), 0);
  };
  Event(kRasStateConnected);

  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(dialUp.dials.size(), dialsBefore);
  EXPECT_EQ(app.Line.BusyRedialPending(), 1);
  app.frmDialer.Timer1.OnTick();
  EXPECT_EQ(dialUp.dials.size(), dialsBefore + 1);
  EXPECT_EQ(dialUp.dialParams.back().PhoneNumber, "5559876");
}

}  // namespace
}  // namespace corvane::testing
