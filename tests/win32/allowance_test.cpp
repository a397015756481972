// The monthly allowance through the real program on the stand-in: an entry
// with a 1 MB data allowance, warned at 50 % and hung up at the limit, on a
// line whose traffic grows. The notification area receives a balloon at
// 50 % and another at 100 %; the line is hung up and logged as ended by the
// allowance, not reconnected, and the next start asks before it dials.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dial_standin_fixture.h"
#include "stats/connection_log.h"
#include "support/dialer_window.h"
#include "support/notification_area_stand_in.h"
#include "support/program_under_test.h"
#include "win32/win32_connection_log_files.h"

namespace corvane::testing {
namespace {

// A shown top-level window of `processId` with a control reading `text`
// (a message box's text has no id every system agrees on).
HWND WindowShowing(DWORD processId, const std::string& text) {
  struct Search {
    DWORD processId;
    const std::string& text;
    HWND found;
  } search{processId, text, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !IsWindowVisible(window)) return TRUE;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
          if (WindowText(child) == s->text) {
            s->found = window;
            return FALSE;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class AllowanceTest : public WorkEntryTest {
 protected:
  void SetUp() override {
    WorkEntryTest::SetUp();
    DeleteFileA(files_.PathOf(kConnectionLogFile).c_str());
  }

  Win32ConnectionLogFiles files_;
};

TEST_F(AllowanceTest, WarnsAtHalfAndAtTheLimitHangsUpWithoutReconnectAndTheNextDialAsks) {
  // 100,000 bytes a second: half of 1 MB after about 5 s, all of it after 10.
  WriteScenario("dial connect 49333 rx 100000 tx 0\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"},
                     {"AutoReconnect", "1"}, {"DoNotAsk", "1"}, {"AllowanceMegabytes", "1"},
                     {"AllowanceWarnPercent", "50"}, {"AllowanceHangUp", "1"}});
  NotificationAreaStandIn area;
  ASSERT_TRUE(area.Ready());
  {
    // Reads the traffic every second rather than every half minute.
    ProgramUnderTest program("Work", "corvane_quick_checkpoint.exe");
    HWND dialer = program.MainWindow();
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(area.WaitForBalloon("of 1 MB.", 20000));
    ASSERT_TRUE(area.WaitForBalloon("The line is hung up.", 20000));
    ASSERT_TRUE(program.WaitForExit(15000)) << "ends as at the age limit";
  }
  std::vector<NotifyRecord> balloons;
  for (const NotifyRecord& record : area.Records()) {
    if ((record.flags & NIF_INFO) != 0) balloons.push_back(record);
  }
  ASSERT_EQ(balloons.size(), 2u);
  EXPECT_EQ(balloons[0].infoTitle, "Allowance of 'Work': 50 % used");
  EXPECT_EQ(balloons[0].info.rfind("Data this month: 0.", 0), 0u) << balloons[0].info;
  EXPECT_EQ(balloons[1].infoTitle, "Allowance of 'Work' used up");
  EXPECT_EQ(balloons[1].info.rfind("Data this month: 1.", 0), 0u) << balloons[1].info;

  EXPECT_EQ(DialCount(), 1u) << "no reconnect";
  EXPECT_EQ(LineSeconds().size(), 1u) << "the line was hung up";
  std::string text;
  ASSERT_TRUE(files_.Read(kConnectionLogFile, text));
  const std::vector<ConnectionRecord> records = ReadConnectionRows(text);
  ASSERT_EQ(records.size(), 1u) << text;
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::Allowance);
  EXPECT_GE(records[0].Received, 1024u * 1024u);
  EXPECT_NE(text.find(",Allowance,"), std::string::npos) << text;

  // The next start's dial asks first; No leaves the line alone.
  ProgramUnderTest next("Work");
  const std::string asked = "This month's allowance for 'Work' is used up. Dial anyway?";
  HWND question = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (question = WindowShowing(GetProcessId(next.Process()), asked)) != nullptr; }));
  PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
  HWND dialer = next.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }));
  EXPECT_EQ(DialCount(), 1u) << "No: nothing dialled";
}

}  // namespace
}  // namespace corvane::testing
