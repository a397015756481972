// Start-up and exit of the real program under Wine: the command line picks
// the entry, a second instance ends at once, no entry opens the options, and
// closing the window or ending the session ends the process.
#include <gtest/gtest.h>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/program_under_test.h"
#include "ui/options_ids.h"

namespace corvane::testing {
namespace {

class StartupTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    // Without a number the dialer waits for the user instead of dialing.
    SeedEntry("Work", {{"PhoneNumber", ""}, {"UseList", "0"}});
  }
  void TearDown() override {
    DeleteEntry("Work");
    DeleteEntry("Lister");
    StandinTest::TearDown();
  }
};

TEST_F(StartupTest, CommandLineNamesTheEntryWhateverItsCaseOrSlash) {
  struct Case {
    const char* arguments;
    const char* caption;
  };
  for (const Case& c : {Case{"/Work", "Corvane     'Work'"}, Case{"work", "Corvane     'Work'"},
                        Case{"/wORK", "Corvane     'Work'"}, Case{"min", "Corvane"}}) {
    SCOPED_TRACE(c.arguments);
    ProgramUnderTest program(c.arguments);
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }));
    EXPECT_EQ(WindowText(dialer), c.caption);
  }
}

TEST_F(StartupTest, SingleNumberEntryShowsItsNumberAndListEntryShowsItsLine) {
  SeedEntry("Work", {{"PhoneNumber", "0201234567"}, {"UseList", "0"}, {"MonitorTime", "0"}});
  {
    // A single number dials at once; the number box keeps the number.
    ProgramUnderTest program("/work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }));
    EXPECT_EQ(WindowText(dialer), "Corvane     'Work'");
    EXPECT_EQ(ControlText(dialer, IDC_TXTCOMBO), "0201234567");
    EXPECT_FALSE(ControlVisible(dialer, IDC_CMBLIST));
  }
  SeedEntry("Lister", {{"UseList", "1"}, {"LastDialedLocation", "Yuma,AZ,555-0100"}, {"PhoneNumber", "999"}});
  ProgramUnderTest program("Lister");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  // The list box is swapped in after the window is first shown.
  ASSERT_TRUE(WaitUntil([&] { return ControlVisible(dialer, IDC_CMBLIST); }));
  EXPECT_EQ(ControlText(dialer, IDC_CMBLIST), "Yuma,AZ,555-0100");
  EXPECT_FALSE(ControlVisible(dialer, IDC_TXTCOMBO));
  EXPECT_EQ(ControlText(dialer, IDC_TXTCOMBO), "");
}

TEST_F(StartupTest, SecondInstanceEndsAtOnceAndSilently) {
  ProgramUnderTest first("Work");
  ASSERT_NE(first.MainWindow(), nullptr);
  ProgramUnderTest second("Work");
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(first.Running());
}

// The dialer is shown for a moment while the start-up sequence runs and hidden
// again once it finds no entry name, so only the end state is checked here:
// the options window, whose Cancel ends the program.
TEST_F(StartupTest, NoEntryNameOpensTheOptionsWindowWhoseCancelEndsTheProgram) {
  ProgramUnderTest program("");
  HWND options = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    options = FindWindowA(nullptr, "Corvane - Options");
    return options != nullptr && IsWindowVisible(options);
  }));
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialer); }));
  PostMessageA(GetDlgItem(options, IDC_OPT_CMDCANCEL), BM_CLICK, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  // A start with an entry afterwards is not taken for a second instance.
  ProgramUnderTest next("Work");
  HWND nextDialer = next.MainWindow();
  ASSERT_NE(nextDialer, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(nextDialer) != FALSE; }));
}

TEST_F(StartupTest, ClosingTheWindowEndsTheProgram) {
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  PostMessageA(dialer, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(StartupTest, EndOfSessionRunsTheExitPath) {
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(dialer, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  SendMessageTimeoutA(dialer, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  ASSERT_TRUE(program.WaitForExit(10000));
}

}  // namespace
}  // namespace corvane::testing
