// The real program on a dial-up service that fails, each fault set up by the
// stand-in's scenario: every run ends in a window that says what happened
// and still answers, or in a clean exit, within a bounded time.
#include <gtest/gtest.h>

#include <string>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"

namespace corvane::testing {
namespace {

class ServiceFaultsTest : public WorkEntryTest {
 protected:
  // The window stopped on an error the user can read, with Redial offered.
  static bool WaitStoppedWith(HWND dialer, const std::string& error, DWORD timeoutMs = 20000) {
    return WaitUntil([&] { return WindowText(dialer) == "End of Redials" && IsWindowVisible(dialer) &&
                                  ControlText(dialer, IDC_TXTERR).rfind(error, 0) == 0 &&
                                  ControlVisible(dialer, IDC_CMDCANCEL) &&
                                  ControlText(dialer, IDC_CMDCANCEL) == "&Redial"; },
                     timeoutMs);
  }

  // The fault statements are part of the scenario format: none may be skipped
  // as not understood, or the test would run without its fault.
  void WriteFaultScenario(const std::string& lines, bool withDevices = true) {
    WriteScenario(lines, withDevices);
    const std::string where = Control("where");
    EXPECT_EQ(where.find("not understood"), std::string::npos) << where;
  }

  // Cancel (the Dial button during a dial) ends the program; true when it did.
  static bool CancelEnds(ProgramUnderTest& program, HWND dialer) {
    PostMessageA(GetDlgItem(dialer, IDC_CMDDIAL), BM_CLICK, 0, 0);
    DWORD exitCode = 1;
    return program.WaitForExit(20000, &exitCode) && exitCode == 0;
  }
};

// Refused at once there is no message to wait for: the error shows, and once
// the service takes dials again Redial connects.
TEST_F(ServiceFaultsTest, DialRefusedAtOnce) {
  WriteFaultScenario("dial reject 633\ndial connect\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitStoppedWith(dialer, "Error 633: ")) << ControlText(dialer, IDC_TXTDETAILS);
  PostMessageA(GetDlgItem(dialer, IDC_CMDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitConnected(program, dialer)) << ControlText(dialer, IDC_TXTDETAILS);
}

// Without a dial device, or when the phonebook entry cannot be stored, the
// program's entry is missing and every dial of it is refused: the user is
// told, instead of a window that waits at "Opening port..." for good.
TEST_F(ServiceFaultsTest, NoDialDeviceOrAnEntryThatCannotBeWritten) {
  struct Case {
    const char* name;
    const char* scenario;
    bool devices;
  };
  for (const Case& c : {Case{"no dial device", "", false}, Case{"entry not writable", "fail set-entry 624\n", true}}) {
    SCOPED_TRACE(c.name);
    WriteFaultScenario(c.scenario, c.devices);
    Control("reset");
    DeleteFileA(phonebookPath_.c_str());
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}});
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    EXPECT_TRUE(WaitStoppedWith(dialer, "Error 623: ")) << ControlText(dialer, IDC_TXTDETAILS);
    EXPECT_EQ(ReadWholeFile(phonebookPath_).find("[Crv]"), std::string::npos);
    EXPECT_TRUE(CancelEnds(program, dialer));
  }
}

// A hung-up handle the service never releases keeps its modem busy: the
// program waits for it only so long, answering all the while, reports the
// busy modem, and Cancel still ends it.
TEST_F(ServiceFaultsTest, HandleNeverReleasedAfterHangUp) {
  WriteFaultScenario("hangup-time never\ndial busy\ndial connect\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"Minutes", "0"}, {"Seconds", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  // Through the busy redial's wait for the old handle and the retry's after
  // the busy modem: a window held for the whole wait would not answer.
  int silent = 0;
  const bool failed = WaitUntil(
      [&] {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(dialer, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result) == 0) ++silent;
        return ControlText(dialer, IDC_TXTDETAILS).find("Error 797") != std::string::npos;
      },
      40000);
  ASSERT_TRUE(failed) << ControlText(dialer, IDC_TXTDETAILS);
  EXPECT_EQ(silent, 0);
  EXPECT_TRUE(CancelEnds(program, dialer));
}

// Progress messages that never come: the program learns from the service's
// status that the line is up, and behaves as connected.
TEST_F(ServiceFaultsTest, NotificationThatNeverComes) {
  WriteFaultScenario("dial connect silent\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  EXPECT_TRUE(WaitConnected(program, dialer)) << ControlText(dialer, IDC_TXTDETAILS);
}

// Failing queries the program can live without: connected it stays, and the
// Disconnect command still drops the line when the connections cannot be
// listed.
TEST_F(ServiceFaultsTest, StatisticsOrEnumerationFailing) {
  for (const char* failure : {"fail statistics 5\n", "fail enum-connections 5\n"}) {
    SCOPED_TRACE(failure);
    WriteFaultScenario(failure);
    Control("reset");
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"DoNotAsk", "1"}});
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitConnected(program, dialer)) << ControlText(dialer, IDC_TXTDETAILS);
    ASSERT_TRUE(WaitTicks(3));  // a few supervisor ticks on the failing service
    ASSERT_TRUE(program.Running());
    PostMessageA(dialer, WM_COMMAND, IDM_DISCONNECT, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Control("list").find("\tconnected\t"), std::string::npos) << Control("list");
  }
}

// A line that drops before the supervisor's first tick after connecting is
// still seen lost: booked once, for the moment it was up, and dialled again.
TEST_F(ServiceFaultsTest, LineDroppingBetweenConnectAndTheFirstTick) {
  WriteFaultScenario("dial connect 49333 drop-after 0.05\ndial connect 49333\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}, {"AutoReconnect", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([] { return DialCount() == 2; })) << ControlText(dialer, IDC_TXTDETAILS);
  ASSERT_TRUE(WaitConnected(program, dialer)) << ControlText(dialer, IDC_TXTDETAILS);
  const std::string booked = ReadValue(EntryKey("Work"), "OnlineTime");
  EXPECT_TRUE(booked == "0" || booked == "1") << booked;
  EXPECT_NE(ReadValue(EntryKey("Work"), "LastOffTime"), "<none>");
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_TRUE(program.WaitForExit(20000));
}

}  // namespace
}  // namespace corvane::testing
