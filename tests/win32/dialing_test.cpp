// Dialing through the real program and the stand-in service under Wine:
// connect at start-up, busy redials, login rotation, cancel, and a missing
// number, as a person would see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/notification_area_stand_in.h"
#include "support/program_under_test.h"
#include "support/self_signed_https.h"
#include "support/tiny_http_server.h"
#include "win32/unique_handle.h"

namespace corvane::testing {
namespace {

class DialingTest : public WorkEntryTest {
 protected:
  static void SetUpTestSuite() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  static void TearDownTestSuite() { WSACleanup(); }

  std::string WriteTestFile(const std::string& name, const std::string& text) {
    const std::string path = folder_ + "\\" + name;
    const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return path;
  }

  static HWND ProcessWindowTitled(const std::string& title) {
    return FindWindowA(nullptr, title.c_str());
  }

  // The text a message box shows (its static control), buttons left out.
  static std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
          char className[32] = {};
          GetClassNameA(child, className, sizeof className);
          if (lstrcmpiA(className, "Static") == 0) *reinterpret_cast<std::string*>(param) += WindowText(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
  }
};

TEST_F(DialingTest, SingleNumberDialsAtStartAndConnects) {
  WriteScenario("dial connect 49333\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  EXPECT_EQ(ReadValue(EntryKey("Work"), "LastDialedLocation"), "5550100");
  const std::string listed = Control("list");
  EXPECT_NE(listed.find("5550100"), std::string::npos) << listed;
}

TEST_F(DialingTest, BusyTwiceThenConnectsAfterTheRedialPauses) {
  WriteScenario("dial busy\ndial busy\ndial connect 33600\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"Minutes", "0"}, {"Seconds", "1"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer, 30000));
  const std::string log = ControlText(dialer, IDC_TXTDETAILS);
  size_t busy = 0;
  for (size_t at = log.find("Error 676"); at != std::string::npos; at = log.find("Error 676", at + 1)) ++busy;
  EXPECT_EQ(busy, 2u) << log;
  EXPECT_NE(log.find("Status:  Connected"), std::string::npos) << log;
}

TEST_F(DialingTest, RefusedLoginsRotateToOneTheServiceAccepts) {
  // Only the third login is accepted: whatever the random start, rotation
  // must reach it.
  WriteScenario("login cy secret\ndial connect\n");
  const std::string phones = WriteTestFile("phones.csv", "City,State,PhoneNo.,\r\nYuma,AZ,5203290098,\r\n");
  const std::string users = WriteTestFile("users.csv", "ann,wrong\r\nbob,wrong\r\ncy,secret\r\n");
  SeedEntry("Work", {{"UseList", "1"}, {"PhoneList", phones}, {"UserList", users}, {"StartBrowser", "0"},
                     {"LastDialedLocation", "Yuma,AZ,5203290098,"}, {"PhoneNumberLocation", "2"},
                     {"Minutes", "0"}, {"Seconds", "0"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }));
  SendMessageA(GetDlgItem(dialer, IDC_CMDDIAL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitConnected(program, dialer, 30000)) << ControlText(dialer, IDC_TXTDETAILS);
  EXPECT_EQ(ReadValue(EntryKey("Work"), "LastDialedLocation"), "Yuma,AZ,5203290098,");

  // The service's log of the dials: each refused login is followed by the
  // next one of the list, and the accepted one ends the run.
  const std::vector<std::string> order{"ann", "bob", "cy"};
  std::vector<std::string> logins;
  std::istringstream log(Control("dials"));
  for (std::string line; std::getline(log, line);) {
    const size_t first = line.find('\t'), second = line.find('\t', first + 1);
    ASSERT_NE(second, std::string::npos) << line;
    EXPECT_EQ(line.substr(0, first), "5203290098");
    logins.push_back(line.substr(first + 1, second - first - 1));
    EXPECT_EQ(line.substr(second + 1), logins.back() == "cy" ? "0" : "691") << line;
  }
  ASSERT_FALSE(logins.empty());
  EXPECT_EQ(logins.back(), "cy");
  for (size_t i = 1; i < logins.size(); ++i) {
    const auto previous = std::find(order.begin(), order.end(), logins[i - 1]) - order.begin();
    EXPECT_EQ(logins[i], order[static_cast<size_t>(previous + 1) % order.size()]) << "dial " << i;
  }
}

// A refused login or a missing modem used to be redialled on every tick
// without end (a provider may lock the account): now each retry waits the
// redial pause and the run ends at the redial limit, the window still there
// with its Redial button.
TEST_F(DialingTest, RetriesAfterARefusedLoginOrAMissingModemEnd) {
  struct Case {
    const char* scenario;
    const char* outcome;
  };
  for (const Case& c : {Case{"dial refused\n", "691"}, Case{"dial device-busy\n", "797"}}) {
    SCOPED_TRACE(c.scenario);
    WriteScenario(c.scenario);
    Control("reset");
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"NumberOfRedials", "2"},
                       {"Minutes", "0"}, {"Seconds", "1"}});
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(dialer) == "End of Redials"; }, 30000))
        << ControlText(dialer, IDC_TXTDETAILS);
    EXPECT_EQ(ControlText(dialer, IDC_LBLMESS), "Status:  Redialed x 2 times.");
    EXPECT_TRUE(ControlVisible(dialer, IDC_CMDCANCEL));
    EXPECT_EQ(ControlText(dialer, IDC_CMDCANCEL), "&Redial");

    // Three dials, each refused; with the redials ended nothing is live, so
    // the supervisor tick is off and no fourth dial can come.
    std::istringstream log(Control("dials"));
    std::vector<std::string> dials;
    for (std::string line; std::getline(log, line);) dials.push_back(line);
    ASSERT_EQ(dials.size(), 3u) << Control("dials");
    for (const std::string& line : dials) EXPECT_EQ(line.substr(line.rfind('\t') + 1), c.outcome) << line;
    EXPECT_TRUE(program.Running());
  }
}

// A 1 MB single-line "phone list" (a wrong file chosen) used to freeze the
// window for minutes when its line reached the list box.
TEST_F(DialingTest, PhoneListWithAHugeLineIsRefusedAtOnce) {
  const std::string phones = WriteTestFile("wrong.csv", std::string(1 << 20, '5'));
  const std::string users = WriteTestFile("users.csv", "ann,pw\r\n");
  SeedEntry("Work", {{"UseList", "1"}, {"PhoneList", phones}, {"UserList", users}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ControlVisible(dialer, IDC_CMBLIST); }));
  HWND combo = GetDlgItem(dialer, IDC_CMBLIST);
  PostMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);

  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = ProcessWindowTitled("Bad Phone List Format")) != nullptr; }, 10000));
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
  PostMessageA(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ProcessWindowTitled("Bad Phone List Format") == nullptr; }));
  EXPECT_TRUE(program.Running());
  EXPECT_TRUE(IsWindowEnabled(dialer));
}

TEST_F(DialingTest, CancelDuringADialEndsTheProgram) {
  WriteScenario("dial-time 30\ndial connect\n");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ControlText(dialer, IDC_CMDDIAL) == "&Cancel"; }));
  PostMessageA(GetDlgItem(dialer, IDC_CMDDIAL), BM_CLICK, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  // Hung up: the service lets go of the line once its hang-up time passes.
  EXPECT_TRUE(WaitUntil([&] { return Control("list").find("5550100") == std::string::npos; }, 3000))
      << Control("list");
}

TEST_F(DialingTest, DialWithoutANumberSaysSo) {
  SeedEntry("Work", {{"PhoneNumber", ""}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; }));
  PostMessageA(GetDlgItem(dialer, IDC_CMDDIAL), BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = ProcessWindowTitled("Dialing Error")) != nullptr; }));
  EXPECT_EQ(MessageBoxText(box), "Missing phone number.");
  PostMessageA(box, WM_CLOSE, 0, 0);
  EXPECT_EQ(Control("list").find("Crv"), std::string::npos);
}

// A password stored with another computer's key used to be dialled empty,
// refused, and dialled again without end.
TEST_F(DialingTest, PasswordThisComputerCannotUnscrambleIsNotDialled) {
  WriteScenario("dial connect\n");
  Control("reset");
  SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"Password", "plain"}});
  ProgramUnderTest program("Work");
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = ProcessWindowTitled("Dialing Error")) != nullptr; }));
  EXPECT_EQ(MessageBoxText(box),
            "The stored password cannot be unscrambled on this computer.\r\nPlease enter it again in 'Options'.");
  PostMessageA(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ProcessWindowTitled("Dialing Error") == nullptr; }));
  HWND dialer = program.MainWindow();  // the message box was a dialog of the program too
  ASSERT_NE(dialer, nullptr);
  EXPECT_EQ(ControlText(dialer, IDC_CMDDIAL), "&DIAL");
  EXPECT_EQ(Control("dials"), "");
  EXPECT_TRUE(program.Running());
}

// A number served over plain http replaces the entry's number, keeps the old
// one and says so in the details log and a tray balloon; a missing file
// changes nothing; an
// https server whose certificate is not trusted changes nothing, with a line
// that says why.
TEST_F(DialingTest, NumberFileOnTheWebReplacesTheNumberOnlyWhenServedAndSaysSo) {
  const std::string untrusted = SelfSignedHttpsUrl("/number");
  ASSERT_FALSE(untrusted.empty()) << "run through ctest, which starts the https server";
  TinyHttpServer server;
  struct Case {
    std::string url;
    std::string number;
    std::string previous;
    std::string details;  // the details log's line about the number file; empty for none
    std::string balloon;  // the tray balloon's text; empty for none
  };
  // The server's number file holds thirteen digits and a line break.
  const Case cases[] = {
      {server.Url("/number"), "0123456789", "5550100",
       "The number file " + server.Url("/number") + " changed the number from 5550100 to 0123456789.",
       "The number of 'Work' was changed from 5550100 to 0123456789 by its number file."},
      {server.Url("/missing"), "5550100", "<none>", "", ""},
      {untrusted, "5550100", "<none>",
       "The number file " + untrusted + " was not fetched: its server's certificate is not trusted.", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    WriteScenario("dial connect\n");
    Control("reset");
    SeedEntry("Work", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"FileURL", c.url}});
    const int servedBefore = server.Served();
    NotificationAreaStandIn area;
    ASSERT_TRUE(area.Ready());
    ProgramUnderTest program("Work");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitConnected(program, dialer));
    if (c.details.empty()) {
      ASSERT_TRUE(WaitUntil([&] { return server.Served() > servedBefore; }));
      WaitUntil([&] { return ReadValue(EntryKey("Work"), "PhoneNumber") != c.number; }, 3000);
    } else {
      EXPECT_TRUE(WaitUntil([&] { return ControlText(dialer, IDC_TXTDETAILS).find(c.details) != std::string::npos; }))
          << ControlText(dialer, IDC_TXTDETAILS);
    }
    EXPECT_EQ(ReadValue(EntryKey("Work"), "PhoneNumber"), c.number);
    EXPECT_EQ(ReadValue(EntryKey("Work"), "PreviousPhoneNumber"), c.previous);
    if (!c.balloon.empty()) {
      EXPECT_TRUE(area.WaitForBalloon(c.balloon, 10000));
    } else {
      for (const NotifyRecord& record : area.Records()) EXPECT_EQ(record.flags & NIF_INFO, 0u) << record.info;
    }
    EXPECT_TRUE(program.Running());
  }
}

}  // namespace
}  // namespace corvane::testing
