// A connected program under Wine, on the stand-in: the line dropped from
// outside is booked once and reconnected, a never-reconnect window and the
// age limit end the program after booking, Exit from the tray menu and the
// end of the session book the running line, a killed program's time comes
// back from its checkpoint once, and a custom entry watches the connection
// its provider's program makes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "ui/options_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"

namespace corvane::testing {
namespace {

class ConnectedTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    for (const char* name : {"Work", "Home", "*Isp"}) DeleteEntry(name);
  }
  void TearDown() override {
    for (const char* name : {"Work", "Home", "*Isp"}) DeleteEntry(name);
    StandinTest::TearDown();
  }

  // "Work": one number, online time monitored, no browser, plus `more`.
  // A port the previous test's line still holds answers 797; the retry
  // comes after a one-second pause instead of the default two minutes.
  static void SeedWork(std::vector<std::pair<std::string, std::string>> more) {
    std::vector<std::pair<std::string, std::string>> values{
        {"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}, {"Minutes", "0"}, {"Seconds", "1"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry("Work", values);
  }

  static std::string Work(const std::string& valueName) { return ReadValue(EntryKey("Work"), valueName); }
  static int Seconds(const std::string& text) { return text == "<none>" ? -1 : std::stoi(text); }

  // "9,September" for this month in the user's locale.
  static std::string ThisMonth() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char name[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + now.wMonth - 1, name, sizeof name);
    return std::to_string(now.wMonth) + "," + name;
  }
};

TEST_F(ConnectedTest, LineDroppedFromOutsideIsBookedOnceAndReconnectedAtTheNextTick) {
  WriteScenario("dial connect 49333\n");
  SeedWork({{"AutoReconnect", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(3));

  Control("drop");
  ASSERT_TRUE(WaitUntil([] { return Work("OnlineTime") != "<none>" && LineSeconds().size() == 1; }));
  const int booked = Seconds(Work("OnlineTime"));
  EXPECT_NEAR(booked, LineSeconds()[0], 1);
  EXPECT_NE(Work("LastOffTime"), "<none>");
  EXPECT_EQ(Work("CurrentMonth"), ThisMonth());

  // Both thresholds 0: the next tick dials again, and the line comes back.
  ASSERT_TRUE(WaitUntil([] { return DialCount() == 2; }));
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(3));  // later ticks must not book the first line again
  EXPECT_EQ(Seconds(Work("OnlineTime")), booked);

  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.WaitForExit(10000));
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 2u) << Control("lines");
  EXPECT_NEAR(Seconds(Work("OnlineTime")) - booked, lines[1], 1);
}

TEST_F(ConnectedTest, NeverReconnectWindowBooksAndEnds) {
  WriteScenario("dial connect 49333\n");
  SeedWork({{"AutoReconnect", "1"}, {"OnTimeEx1", "1"}, {"OffTimeEx1", "100"}, {"OnlineTime", "7200"},
            {"CurrentMonth", ThisMonth()}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  Control("drop");
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_GE(Seconds(Work("OnlineTime")), 7200);
  EXPECT_LE(Seconds(Work("OnlineTime")), 7210);
  EXPECT_NE(Work("LastOffTime"), "<none>");
  EXPECT_EQ(DialCount(), 1u);
}

TEST_F(ConnectedTest, AgeLimitHangsUpBooksAndEnds) {
  WriteScenario("dial connect 49333\n");
  SeedWork({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "2"}, {"AutoReconnect", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  // Hung up at the first tick at or past the limit, and booked as long as
  // the stand-in had it up.
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 1u) << Control("lines");
  EXPECT_GE(lines[0], 1.99);
  EXPECT_LE(lines[0], 3.0);
  EXPECT_NEAR(Seconds(Work("OnlineTime")), lines[0], 1);
  EXPECT_TRUE(WaitUntil([] { return Control("list").find("5550100") == std::string::npos; }, 3000))
      << Control("list");
}

TEST_F(ConnectedTest, ExitFromTheTrayMenuAndTheEndOfTheSessionBookTheLine) {
  enum class Ending { TrayMenuExit, EndOfSession };
  for (Ending ending : {Ending::TrayMenuExit, Ending::EndOfSession}) {
    SCOPED_TRACE(ending == Ending::TrayMenuExit ? "tray menu" : "end of session");
    WriteScenario("dial connect 49333\n");
    Control("reset");
    SeedWork({});
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(WaitTicks(3));
    if (ending == Ending::TrayMenuExit) {
      ASSERT_TRUE(program.PostTrayMouseEvent(WM_RBUTTONUP));
      HWND menu = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); }));
      PostMessageA(menu, WM_CHAR, 'e', 0);  // "&Exit"
    } else {
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(dialer, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
      EXPECT_NE(answer, 0u);
      SendMessageTimeoutA(dialer, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    ASSERT_TRUE(program.WaitForExit(10000));
    const std::vector<double> lines = LineSeconds();
    ASSERT_EQ(lines.size(), 1u) << Control("lines");
    EXPECT_NEAR(Seconds(Work("OnlineTime")), lines[0], 1);
    EXPECT_NE(Work("LastOffTime"), "<none>");
  }
}

// Every second the stand-in had the line up is booked, to the second: a
// line the service drops after a set time, one whose progress messages
// never come (the program learns from its status that it is up), and one
// the user ends.
TEST_F(ConnectedTest, ConnectionsAreBookedToTheSecond) {
  struct Case {
    int seconds;
    const char* options;
  };
  for (const Case& c : {Case{6, ""}, Case{2, ""}, Case{6, " silent"}}) {
    SCOPED_TRACE(std::to_string(c.seconds) + c.options);
    DeleteEntry("Work");
    WriteScenario("dial connect 49333 drop-after " + std::to_string(c.seconds) + c.options + "\n");
    Control("reset");
    SeedWork({{"AutoReconnect", "0"}});
    ProgramUnderTest program("Work");
    ASSERT_NE(program.MainWindow(), nullptr);
    ASSERT_TRUE(program.WaitForExit(30000));  // without reconnection the lost line ends the program
    EXPECT_EQ(LineSeconds(), std::vector<double>{static_cast<double>(c.seconds)}) << Control("lines");
    EXPECT_NEAR(Seconds(Work("OnlineTime")), c.seconds, 1);
  }

  DeleteEntry("Work");
  WriteScenario("dial connect 49333\n");
  Control("reset");
  SeedWork({});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(20));
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.WaitForExit(10000));
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 1u) << Control("lines");
  EXPECT_NEAR(Seconds(Work("OnlineTime")), lines[0], 1);
}

// Options opened over a live line and cancelled: its count goes on, the
// automatic hang-up comes at the age set, and the whole line is booked.
TEST_F(ConnectedTest, OptionsOpenedAndCancelledWhileConnectedLoseNothing) {
  WriteScenario("dial connect 49333\n");
  SeedWork({{"AutoDisconnect", "1"}, {"AutoDisconnectTime", "8"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(6));
  PostMessageA(dialer, WM_COMMAND, IDM_OPTIONS, 0);
  HWND options = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (options = FindWindowA(nullptr, "Corvane - Options")) != nullptr &&
                                     IsWindowVisible(options); }));
  SendMessageA(GetDlgItem(options, IDC_OPT_CMDCANCEL), BM_CLICK, 0, 0);

  ASSERT_TRUE(program.WaitForExit(30000));
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 1u) << Control("lines");
  EXPECT_GE(lines[0], 7.99) << "the hang-up comes at the age set";
  EXPECT_LE(lines[0], 9.0) << "the hang-up comes at the age set";
  EXPECT_NEAR(Seconds(Work("OnlineTime")), lines[0], 1);
}

// The first dial is refused at once (no handle, no message); Redial then
// connects. That line is watched like any other: booked when it drops, and
// reconnected.
TEST_F(ConnectedTest, RedialAfterARefusedFirstDialIsWatched) {
  WriteScenario("dial reject 633\ndial connect 49333 drop-after 3\ndial connect 49333\n");
  SeedWork({{"AutoReconnect", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(dialer) == "End of Redials"; }));
  SendMessageA(GetDlgItem(dialer, IDC_CMDCANCEL), BM_CLICK, 0, 0);  // "&Redial"

  ASSERT_TRUE(WaitUntil([] { return DialCount() == 3; }, 20000)) << Control("dials");
  EXPECT_NEAR(Seconds(Work("OnlineTime")), 3, 1);
  ASSERT_TRUE(WaitConnected(program, dialer));
  PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_TRUE(program.WaitForExit(10000));
}

TEST_F(ConnectedTest, KilledWhileConnectedTheNextStartBooksTheCheckpointOnce) {
  WriteScenario("dial connect 49333\n");
  SeedWork({});
  SeedEntry("Home", {});
  {
    // A checkpoint every second instead of every half minute.
    ProgramUnderTest program("Work", "corvane_quick_checkpoint.exe");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitConnected(program, dialer));
    ASSERT_TRUE(WaitUntil([] { return Seconds(Work("OnlineCheckpoint")) >= 3; }));
  }  // killed: no exit path runs
  const int checkpoint = Seconds(Work("OnlineCheckpoint"));
  EXPECT_GE(checkpoint, 3);
  EXPECT_EQ(Work("OnlineTime"), "<none>");

  for (int start = 0; start < 2; ++start) {
    SCOPED_TRACE(start);
    ProgramUnderTest next("Home");
    HWND dialer = next.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitUntil([] { return Work("OnlineCheckpoint").empty(); }));
    EXPECT_EQ(Seconds(Work("OnlineTime")), checkpoint);
  }
}

class CustomEntryTest : public ConnectedTest {
 protected:
  // The provider's phonebook entry "Isp" beside another one, and the
  // provider's program: a script that only has to start.
  std::string WriteProvider() {
    std::ofstream phonebook(phonebookPath_, std::ios::binary | std::ios::trunc);
    phonebook << "[Isp]\r\nDeviceType=modem\r\nDeviceName=Modem B\r\nPhoneNumber=5550177\r\n"
                 "[Other]\r\nDeviceType=isdn\r\nDeviceName=ISDN Adapter\r\nPhoneNumber=5550188\r\n";
    phonebook.close();
    // The provider's line is dialled by the test before the program starts:
    // had the provider's program dialled it, the first tick could come while
    // the other line was still alone and take that one for the provider's.
    const std::string path = folder_ + "\\provider.cmd";
    std::ofstream script(path, std::ios::binary | std::ios::trunc);
    script << "@exit 0\r\n";
    return path;
  }

};

TEST_F(CustomEntryTest, ProviderConnectionIsWatchedOnlyWhenItIsTheOnlyOne) {
  WriteScenario("dial connect 49333\n");
  SeedEntry("*Isp", {{"Location", WriteProvider()}});
  // Another connection is up: two lines are never taken for the provider's.
  ASSERT_NE(RunRasctl("dial Other --detach").find("connected"), std::string::npos);
  ASSERT_NE(RunRasctl("dial Isp --detach").find("connected"), std::string::npos);

  ProgramUnderTest program("isp");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitTicks(8));  // four seconds of ticks with both lines up
  EXPECT_TRUE(program.Running());
  EXPECT_FALSE(IsWindowVisible(dialer));

  // Alone, the provider's line is seen at the next tick and timed from then
  // on; when it goes, the watcher books it and ends. Had the two lines been
  // taken for a connection, the four seconds before would be booked too.
  // The bound is the time the provider's line was alone, measured here, so a
  // slow machine cannot push an honest booking over it.
  const ULONGLONG aloneFrom = GetTickCount64();
  Control("drop Other");
  Sleep(2000);
  Control("drop Isp");
  ASSERT_TRUE(program.WaitForExit(10000));
  const int aloneSeconds = static_cast<int>((GetTickCount64() - aloneFrom + 999) / 1000);
  const int booked = Seconds(ReadValue(EntryKey("*Isp"), "OnlineTime"));
  EXPECT_GE(booked, 1);
  EXPECT_LE(booked, aloneSeconds + 1);
  EXPECT_NE(ReadValue(EntryKey("*Isp"), "LastOffTime"), "<none>");
}

}  // namespace
}  // namespace corvane::testing
