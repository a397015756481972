// The idle hang-up and the actions through the real program on the
// stand-in: a line whose traffic stops is hung up at its idle limit, logged
// as Idle and not redialled; an entry's actions (a small program that
// writes down its environment) are started on connect and on the user's
// disconnect with what happened.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "stats/connection_log.h"
#include "support/dialer_window.h"
#include "support/notification_area_stand_in.h"
#include "support/program_under_test.h"
#include "win32/win32_connection_log_files.h"

namespace corvane::testing {
namespace {

class IdleActionsTest : public WorkEntryTest {
 protected:
  void SetUp() override {
    WorkEntryTest::SetUp();
    DeleteFileA(files_.PathOf(kConnectionLogFile).c_str());
  }

  std::vector<ConnectionRecord> LoggedLines() {
    std::string text;
    return files_.Read(kConnectionLogFile, text) ? ReadConnectionRows(text) : std::vector<ConnectionRecord>{};
  }

  Win32ConnectionLogFiles files_;
};

TEST_F(IdleActionsTest, LineQuietForItsIdleLimitIsHungUpLoggedAsIdleAndNotRedialled) {
  // Traffic for 20 s, then none: with a one-minute limit the line goes at
  // the reading a minute after the traffic stopped.
  WriteScenario("dial connect 49333 quiet-after 20\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"},
                     {"AutoReconnect", "1"}, {"DoNotAsk", "1"}, {"IdleMinutes", "1"}});
  NotificationAreaStandIn area;
  ASSERT_TRUE(area.Ready());
  {
    // Reads the traffic every second rather than every half minute.
    ProgramUnderTest program("Work", "corvane_quick_checkpoint.exe");
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(area.WaitForBalloon("'Work' was idle for 1 minute and has been hung up.", 120000));
    ASSERT_TRUE(program.WaitForExit(15000)) << "ends as at the age limit";
  }
  EXPECT_EQ(DialCount(), 1u) << "no redial";
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 1u);
  // Not before the minute of quiet; within a reading and a tick or two of it.
  EXPECT_GE(lines[0], 79.0);
  EXPECT_LE(lines[0], 90.0);
  const std::vector<ConnectionRecord> records = LoggedLines();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::Idle);
}

TEST_F(IdleActionsTest, ActionsFindWhatHappenedInTheirEnvironment) {
  WriteScenario("dial connect 49333 rx 4000 tx 600\n");
  const std::string recorder = ExeFolder() + "env_recorder.exe";
  const std::string calls = folder_ + "\\calls.txt";
  DeleteFileA(calls.c_str());
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"UserName", "alice"}, {"StartBrowser", "0"},
                     {"MonitorTime", "1"}, {"DoNotAsk", "1"},
                     {"ConnectAction", recorder}, {"ConnectActionArguments", "\"" + calls + "\" \"up here\""},
                     {"DisconnectAction", recorder}, {"DisconnectActionArguments", "\"" + calls + "\" down"}});
  const auto callLines = [&] {
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(calls));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  };
  {
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(WaitUntil([&] { return callLines().size() == 1; }, 20000));
    ASSERT_TRUE(WaitTicks(4));
    PostMessageA(dialer, WM_COMMAND, IDM_DISCONNECT, 0);
    ASSERT_TRUE(program.WaitForExit(15000));
  }
  ASSERT_TRUE(WaitUntil([&] { return callLines().size() == 2; }, 20000)) << ReadWholeFile(calls);
  const std::vector<ConnectionRecord> records = LoggedLines();
  ASSERT_EQ(records.size(), 1u);
  const ConnectionRecord& line = records[0];
  const std::vector<std::string> lines = callLines();
  EXPECT_EQ(lines[0], "up here|connect|Work|5550100|alice|49333|-|-|-|-");
  EXPECT_EQ(lines[1], "down|disconnect|Work|5550100|alice|49333|" + std::to_string(line.Seconds) + "|" +
                          std::to_string(line.Sent) + "|" + std::to_string(line.Received) + "|User");
  EXPECT_GT(line.Received, 0u);
}

}  // namespace
}  // namespace corvane::testing
