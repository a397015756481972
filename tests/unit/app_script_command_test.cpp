// The command line for scripts: how it is read, how the running program's
// state prints and which exit code it gives, and what the running program
// answers and does when a script asks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/line_status.h"
#include "app/script_command.h"
#include "fakes/program_fixture.h"
#include "stats/online_time_ledger.h"

namespace corvane::testing {
namespace {

TEST(ScriptCommandTest, CommandLinesAndWhatTheyAskFor) {
  struct Case {
    std::string line;
    ScriptAction action;
    std::string entry = "";
    int wait = -1;
    bool json = false;
    std::string error = "";
  };
  const Case cases[] = {
      // An entry's start, as the shortcuts make it, is no command: even one
      // whose name looks like an option.
      {"/Work", ScriptAction::None},
      {"/--status", ScriptAction::None},
      {"", ScriptAction::None},
      {"Work", ScriptAction::None},
      {"--status", ScriptAction::Status},
      {"  --status  --json ", ScriptAction::Status, "", -1, true},
      {"--json --status", ScriptAction::Status, "", -1, true},
      {"--hang-up", ScriptAction::HangUp},
      {"--dial Work", ScriptAction::Dial, "Work"},
      {"--dial Work --wait 60", ScriptAction::Dial, "Work", 60},
      {"--wait 0 --dial Work", ScriptAction::Dial, "Work", 0},
      {"--dial \"My Work\" --wait 86400", ScriptAction::Dial, "My Work", 86400},
      // The word after --dial is the name, whatever it looks like.
      {"--dial --json", ScriptAction::Dial, "--json"},
      {"--dial --wait --wait 5", ScriptAction::Dial, "--wait", 5},
      {"--dial /Work", ScriptAction::Dial, "/Work"},
      // The runtime's quoting: "" inside quotes and \" are quotes of the name.
      {R"(--dial "Say ""hi""")", ScriptAction::Dial, "Say \"hi\""},
      {R"(--dial a\"b)", ScriptAction::Dial, "a\"b"},
      {R"(--dial a\\b)", ScriptAction::Dial, "a\\\\b"},
      {R"(--dial "C:\\")", ScriptAction::Dial, "C:\\"},
      {"--help", ScriptAction::Usage},
      // Wrong command lines say what is wrong.
      {"--stats", ScriptAction::Usage, "", -1, false, "Unknown option '--stats'."},
      {"--dial", ScriptAction::Usage, "", -1, false, "--dial needs the name of an entry."},
      {"--dial \"\"", ScriptAction::Usage, "", -1, false, "--dial needs the name of an entry."},
      {"--dial My Work", ScriptAction::Usage, "", -1, false,
       "Unexpected 'Work'. A name with blanks goes in double quotes."},
      {"--dial Work --wait", ScriptAction::Usage, "", -1, false, "--wait needs a number of seconds."},
      {"--dial Work --wait -1", ScriptAction::Usage, "", -1, false,
       "--wait needs a whole number of seconds from 0 to 86400, not '-1'."},
      {"--dial Work --wait 1m", ScriptAction::Usage, "", -1, false,
       "--wait needs a whole number of seconds from 0 to 86400, not '1m'."},
      {"--dial Work --wait 86401", ScriptAction::Usage, "", -1, false,
       "--wait needs a whole number of seconds from 0 to 86400, not '86401'."},
      {"--dial Work --wait 5 --wait 6", ScriptAction::Usage, "", -1, false, "--wait is given twice."},
      {"--status --hang-up", ScriptAction::Usage, "", -1, false, "Give one command at a time."},
      {"--status --status", ScriptAction::Usage, "", -1, false, "Give one command at a time."},
      {"--hang-up --json", ScriptAction::Usage, "", -1, false, "--json goes with --status only."},
      {"--status --wait 5", ScriptAction::Usage, "", -1, false, "--wait goes with --dial only."},
      {"--json", ScriptAction::Usage, "", -1, false, "--json and --wait need a command."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ScriptCommand command = ParseScriptCommand(c.line);
    EXPECT_EQ(command.Action, c.action);
    EXPECT_EQ(command.EntryName, c.entry);
    EXPECT_EQ(command.WaitSeconds, c.wait);
    EXPECT_EQ(command.Json, c.json);
    EXPECT_EQ(command.Error, c.error);
  }
}

LineStatus Connected() {
  LineStatus status;
  status.State = LineState::Connected;
  status.Entry = "Work";
  status.ConnectedAt = 21 * 3600 + 4 * 60 + 13;
  status.SecondsOnline = 754;
  status.Speed = 57600;
  status.BytesSent = 5000000000;  // past 32 bits
  status.BytesReceived = 67890;
  status.MonthSeconds = 3 * 3600 + 7 * 60 + 45;
  status.AllowanceLeft = "12 hrs 05 min, 3.2 MB";
  status.ProcessId = 4242;
  return status;
}

TEST(LineStatusTest, EachStatePrintsItsFieldsAndExitCode) {
  struct Case {
    std::string label;
    LineStatus status;
    std::string text;
    std::string json;
    int exitCode;
  };
  LineStatus notRunning;
  LineStatus redialling;
  redialling.State = LineState::Redialling;
  redialling.Entry = "Work";
  redialling.Countdown = 12;
  redialling.MonthSeconds = 60;
  LineStatus waiting = redialling;
  waiting.State = LineState::WaitingToReconnect;
  LineStatus dialling = redialling;
  dialling.State = LineState::Dialling;
  LineStatus ended = dialling;
  ended.State = LineState::Ended;
  LineStatus noEntry;
  noEntry.State = LineState::Ended;
  LineStatus quoted = Connected();
  quoted.Entry = "A \"B\"\\C\t";
  quoted.AllowanceLeft.clear();
  const Case cases[] = {
      {"not running", notRunning, "State: not running\r\n",
       R"({"state":"not running","entry":null,"countdown":null,"connectedAt":null,"secondsOnline":null,"speed":null,)"
       R"("bytesSent":null,"bytesReceived":null,"monthSeconds":null,"allowanceLeft":null})"
       "\r\n",
       1},
      {"connected", Connected(),
       "State: connected\r\nEntry: Work\r\nConnected at: 21:04:13\r\nSeconds online: 754\r\nSpeed: 57600\r\n"
       "Bytes sent: 5000000000\r\nBytes received: 67890\r\nMonth total: 03:07:45\r\n"
       "Allowance left: 12 hrs 05 min, 3.2 MB\r\n",
       R"({"state":"connected","entry":"Work","countdown":null,"connectedAt":"21:04:13","secondsOnline":754,)"
       R"("speed":57600,"bytesSent":5000000000,"bytesReceived":67890,"monthSeconds":11265,)"
       R"("allowanceLeft":"12 hrs 05 min, 3.2 MB"})"
       "\r\n",
       0},
      {"redialling", redialling, "State: redialling\r\nEntry: Work\r\nRedial in: 12\r\nMonth total: 00:01:00\r\n",
       R"({"state":"redialling","entry":"Work","countdown":12,"connectedAt":null,"secondsOnline":null,"speed":null,)"
       R"("bytesSent":null,"bytesReceived":null,"monthSeconds":60,"allowanceLeft":null})"
       "\r\n",
       1},
      {"waiting", waiting,
       "State: waiting to reconnect\r\nEntry: Work\r\nReconnect in: 12\r\nMonth total: 00:01:00\r\n",
       R"({"state":"waiting to reconnect","entry":"Work","countdown":12,"connectedAt":null,"secondsOnline":null,)"
       R"("speed":null,"bytesSent":null,"bytesReceived":null,"monthSeconds":60,"allowanceLeft":null})"
       "\r\n",
       1},
      {"dialling", dialling, "State: dialling\r\nEntry: Work\r\nMonth total: 00:01:00\r\n",
       R"({"state":"dialling","entry":"Work","countdown":null,"connectedAt":null,"secondsOnline":null,"speed":null,)"
       R"("bytesSent":null,"bytesReceived":null,"monthSeconds":60,"allowanceLeft":null})"
       "\r\n",
       1},
      {"ended", ended, "State: ended\r\nEntry: Work\r\nMonth total: 00:01:00\r\n",
       R"({"state":"ended","entry":"Work","countdown":null,"connectedAt":null,"secondsOnline":null,"speed":null,)"
       R"("bytesSent":null,"bytesReceived":null,"monthSeconds":60,"allowanceLeft":null})"
       "\r\n",
       1},
      {"started without an entry", noEntry, "State: ended\r\n",
       R"({"state":"ended","entry":null,"countdown":null,"connectedAt":null,"secondsOnline":null,"speed":null,)"
       R"("bytesSent":null,"bytesReceived":null,"monthSeconds":null,"allowanceLeft":null})"
       "\r\n",
       1},
      {"a name JSON must escape", quoted,
       "State: connected\r\nEntry: A \"B\"\\C\t\r\nConnected at: 21:04:13\r\nSeconds online: 754\r\nSpeed: 57600\r\n"
       "Bytes sent: 5000000000\r\nBytes received: 67890\r\nMonth total: 03:07:45\r\n",
       R"({"state":"connected","entry":"A \"B\"\\C\u0009","countdown":null,"connectedAt":"21:04:13",)"
       R"("secondsOnline":754,"speed":57600,"bytesSent":5000000000,"bytesReceived":67890,"monthSeconds":11265,)"
       R"("allowanceLeft":null})"
       "\r\n",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(StatusText(c.status), c.text);
    EXPECT_EQ(StatusJson(c.status), c.json);
    EXPECT_EQ(StatusExitCode(c.status.State), c.exitCode);
  }
}

TEST(LineStatusTest, TheChannelCarriesEveryFieldAndRefusesWhatIsNoStatus) {
  const LineStatus sent = Connected();
  const std::optional<LineStatus> received = DecodeStatus(EncodeStatus(sent));
  ASSERT_TRUE(received.has_value());
  EXPECT_EQ(StatusJson(*received), StatusJson(sent));
  EXPECT_EQ(received->ProcessId, 4242u);
  for (const char* garbage : {"", "state=asleep\n", "entry=Work\n", "state=connected\nspeed=fast\n",
                                     "no equals sign", "state=connected\nbytesSent=-1\n"}) {
    SCOPED_TRACE(garbage);
    EXPECT_FALSE(DecodeStatus(garbage).has_value());
  }
}

// What the running program answers a script, and the hang-up it does for one.
class ScriptQuestionsTest : public ::testing::Test, public ProgramFixture {
 protected:
  AppContext& StartWork(const std::vector<std::pair<std::string, std::string>>& more = {}) {
    registry.AddKey(RegHive::CurrentUser, EntryKey("Work"));
    std::vector<std::pair<std::string, std::string>> values{
        {"PhoneNumber", "5550100"}, {"MonitorTime", "1"}, {"StartBrowser", "0"}};
    values.insert(values.end(), more.begin(), more.end());
    for (const auto& [value, text] : values) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    return Start("Work");
  }

  void LineUp(AppContext& app) {
    ActiveConnection line;
    line.Handle = dialUp.nextHandle;
    line.EntryName = "Crv";
    dialUp.connections = {line};
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
  }

  void Pass(double seconds) {
    for (double done = 0; done < seconds; done += 0.5) {
      clock.monotonic += 0.5;
      clock.secondsSinceMidnight += 0.5;
      context->frmDialer.Timer1_Timer();
    }
  }
};

TEST_F(ScriptQuestionsTest, StatusWhileConnectedHasTheLinesFigures) {
  clock.secondsSinceMidnight = 8 * 3600;
  AppContext& app = StartWork();
  EXPECT_EQ(app.Line.Status().State, LineState::Dialling);
  LineUp(app);
  Pass(75);
  dialUp.statistics.Bps = 33600;
  dialUp.statistics.BytesTransmitted = 1234;
  dialUp.statistics.BytesReceived = 56789;
  const LineStatus status = app.Line.Status();
  EXPECT_EQ(status.State, LineState::Connected);
  EXPECT_EQ(status.Entry, "Work");
  EXPECT_EQ(status.ConnectedAt, 8 * 3600);
  EXPECT_EQ(status.SecondsOnline, 75);
  EXPECT_EQ(status.Speed, 33600u);
  EXPECT_EQ(status.BytesSent, 1234u);
  EXPECT_EQ(status.BytesReceived, 56789u);
  EXPECT_EQ(status.MonthSeconds, 75);
}

TEST_F(ScriptQuestionsTest, StatusDuringTheRedialCountdownCountsDown) {
  AppContext& app = StartWork({{"Minutes", "0"}, {"Seconds", "30"}});
  std::vector<LineStatus> seen;
  pump.onEvents = [&] {
    seen.push_back(app.Line.Status());
    if (seen.size() == 3) app.frmDialer.Unload(forms::kUnloadControlMenu);
  };
  app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, 0, kRasLineBusy);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].State, LineState::Redialling);
  EXPECT_EQ(seen[0].Countdown, 30);
  EXPECT_LT(seen[2].Countdown, seen[0].Countdown);
}

TEST_F(ScriptQuestionsTest, HangUpEndsTheLineAsTheTraysDisconnectWithoutAsking) {
  // What each way of ending the line leaves behind.
  struct Outcome {
    std::vector<RasHandle> hangUps;
    std::string booked;
    std::string log;
    bool loaded;
    size_t questions;
  };
  const auto endLine = [this](bool byScript) {
    registry = FakeRegistry();
    dialUp.hangUps.clear();
    logFiles.files.clear();
    formHost.shown.clear();
    clock.monotonic = 0;
    clock.secondsSinceMidnight = 8 * 3600;
    AppContext& app = StartWork();
    // Asked before the line is up: nothing to end, nothing changes.
    EXPECT_FALSE(app.Line.HangUpForScript());
    EXPECT_TRUE(app.frmDialer.Loaded());
    LineUp(app);
    Pass(40);
    formHost.answer = [&app](forms::Form&) { app.frmMessage.cmdYes_Click(); };
    if (byScript) {
      EXPECT_TRUE(app.Line.HangUpForScript());
    } else {
      app.frmDialer.mnuDisconnect.OnUserClick();
    }
    const auto booked = registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), kOnlineTimeValue);
    std::string log;
    for (const auto& [name, bytes] : logFiles.files) log += bytes;
    return Outcome{dialUp.hangUps, booked ? StripNull(*booked) : "<none>", log, app.frmDialer.Loaded(),
                   formHost.shown.size()};
  };
  const Outcome tray = endLine(false);
  const Outcome script = endLine(true);
  EXPECT_EQ(tray.questions, 1u);
  EXPECT_EQ(script.questions, 0u);
  EXPECT_FALSE(script.hangUps.empty());
  EXPECT_EQ(script.hangUps, tray.hangUps);
  EXPECT_EQ(script.booked, "40");
  EXPECT_EQ(script.booked, tray.booked);
  EXPECT_NE(script.log.find("Work"), std::string::npos);
  EXPECT_EQ(script.log, tray.log);
  EXPECT_FALSE(script.loaded);
  EXPECT_FALSE(tray.loaded);
}

}  // namespace
}  // namespace corvane::testing
