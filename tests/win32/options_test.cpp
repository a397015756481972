// The options window of the real program under Wine: a start without an
// entry opens it; a new entry is saved with its 24 values and its desktop
// shortcut, which then dials it; an edited entry keeps its password; removal
// takes the key and every shortcut; closing with "Load at startup" makes the
// Startup shortcut; an entry with every value set keeps all but the one
// changed; the field rules through the real boxes; the icon chooser; the
// help, the icon chooser and the questions owned by the options window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/lnk_info.h"
#include "support/program_under_test.h"
#include "ui/options_ids.h"
#include "win32/win32_shell_links.h"

namespace corvane::testing {
namespace {

const char* const kOptionsCaption = "Corvane - Options";

class OptionsTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    for (const char* name : {"Work", "Newentry"}) ForgetEntry(name);
  }
  void TearDown() override {
    for (const char* name : {"Work", "Newentry"}) ForgetEntry(name);
    StandinTest::TearDown();
  }

  // The entry's key and every shortcut file it may have.
  void ForgetEntry(const std::string& name) {
    DeleteEntry(name);
    for (const std::string& path : ShortcutPaths(name)) DeleteFileA(path.c_str());
  }
  std::vector<std::string> ShortcutPaths(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return {links_.FolderPath(ShellFolder::CommonDesktop) + "\\" + upper + ".lnk",
            links_.FolderPath(ShellFolder::UserDesktop) + "\\" + name + ".lnk",
            links_.FolderPath(ShellFolder::Startup) + "\\CRV - " + name + ".lnk"};
  }

  static HWND WaitForWindow(const char* caption, DWORD timeoutMs = 15000) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA(nullptr, caption)) != nullptr && IsWindowVisible(window); },
              timeoutMs);
    return window;
  }

  // Types `text` into a box as a user would: the edit control tells its
  // dialog about the change. A message box the change raises would block a
  // plain send, so the send does not wait for it.
  static void Type(HWND dialog, int id, const std::string& text) {
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, 2000, nullptr);
  }
  static void TypeIntoSelector(HWND dialog, const std::string& text) {
    HWND combo = GetDlgItem(dialog, IDC_OPT_CMBSELENTRY);
    SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPT_CMBSELENTRY, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  static void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static void ClickPicture(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  // Answers the message box titled `title` with OK; its text, or "<none>".
  static std::string AnswerMessage(const char* title) {
    HWND box = WaitForWindow(title);
    if (box == nullptr) return "<none>";
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      char className[32] = {};
      GetClassNameA(child, className, sizeof className);
      if (std::string(className) == "Static" && GetWindowTextLengthA(child) > 0) text = WindowText(child);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  }

  // Opens the options window of a program started for `entry` through the
  // dialer's Options button.
  static HWND OpenOptionsFromDialer(ProgramUnderTest& program) {
    HWND dialer = program.MainWindow();
    if (dialer == nullptr || !WaitUntil([&] { return IsWindowVisible(dialer) != FALSE; })) return nullptr;
    Press(dialer, IDC_CMDINFO);
    return WaitForWindow(kOptionsCaption);
  }

  Win32ShellLinks links_;
};

TEST_F(OptionsTest, NewEntrySavedWithoutANameOnTheCommandLineGetsItsShortcutWhichDialsIt) {
  {
    ProgramUnderTest program("");
    HWND options = WaitForWindow(kOptionsCaption);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(ControlText(options, IDC_OPT_CMDOK), "&OK");
    TypeIntoSelector(options, "newentry");
    EXPECT_EQ(ControlText(options, IDC_OPT_CMDOK), "&Save 'Newentr'");
    Type(options, IDC_OPT_TXTPHONENUMBER, "5550100");
    Type(options, IDC_OPT_TXTUSERNAME, "joe");
    Type(options, IDC_OPT_TXTPASSWORD, "secret");
    Press(options, IDC_OPT_CMDOK);
    EXPECT_EQ(AnswerMessage("New dialing entry: 'newentry'"),
              "To dial, click on the 'newentry' icon located on desktop.");
    ASSERT_TRUE(program.WaitForExit(15000));
  }

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, EntryKey("newentry").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const char* name : {"LoadAtStartup", "MonitorTime", "LastDialedLocation", "UseList", "PhoneList", "UserList",
                           "UserName", "PhoneNumber", "EnableRedial", "NumberOfRedials", "Minutes", "Seconds",
                           "FileURL", "BrowserPath", "StartBrowser", "AutoDisconnect", "AutoDisconnectTime",
                           "AutoReconnect", "OnTimeEx1", "OnTimeEx2", "OffTimeEx1", "OffTimeEx2",
                           "DisconnectAndDial", "Icon", "Password"}) {
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
  }
  RegCloseKey(key);
  EXPECT_EQ(ReadValue(EntryKey("Newentry"), "PhoneNumber"), "5550100");
  EXPECT_EQ(ReadValue(EntryKey("Newentry"), "OffTimeEx2"), "100");
  EXPECT_NE(ReadValue(EntryKey("Newentry"), "Password"), "secret");

  const std::string link = ShortcutPaths("newentry")[0];
  ASSERT_TRUE(FileExists(link)) << link;
  std::map<std::string, std::string> fields = LnkInfoFields(link);
  const std::string program = ExeFolder() + "corvane.exe";
  EXPECT_EQ(fields["Local path"], program);
  EXPECT_EQ(fields["Command line arguments"], "/newentry");
  EXPECT_EQ(fields["Working directory"], ExeFolder().substr(0, ExeFolder().size() - 1));
  EXPECT_EQ(fields["Description"], "Dialable CRV entry: newentry");

  // The shortcut's command line dials the entry.
  WriteScenario("dial connect 49333\n");
  SeedEntry("Newentry", {{"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "0"}});
  ProgramUnderTest dialing(fields["Command line arguments"]);
  HWND dialer = dialing.MainWindow();
  ASSERT_NE(dialer, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ControlText(dialer, IDC_LBLMESS) == "Status:  Connected"; }, 20000))
      << ControlText(dialer, IDC_TXTDETAILS);
}

TEST_F(OptionsTest, EditingAnEntryKeepsItsPasswordAndTheIconChooserReturnsItsNumber) {
  SeedEntry("Work", {{"UserName", "joe"}, {"Password", "\xB4\xB6\xB8"}, {"PhoneNumber", ""}});
  ProgramUnderTest program("Work");
  struct Pick {
    int element;       // img1(element)
    const char* icon;  // the number saved
  };
  // The last icon first, so that each choice changes the entry's picture.
  for (const Pick& pick : {Pick{14, "21"}, Pick{1, "8"}}) {
    SCOPED_TRACE(pick.icon);
    HWND options = OpenOptionsFromDialer(program);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(ControlText(options, IDC_OPT_TXTPASSWORD), std::string(24, ' '));
    Type(options, IDC_OPT_TXTPHONENUMBER, "5550199");

    HWND picture = GetDlgItem(options, IDC_OPT_IMGICON0);
    const LRESULT before = SendMessageA(picture, STM_GETICON, 0, 0);
    ClickPicture(options, IDC_OPT_IMGICON0);
    HWND icons = WaitForWindow("Click On Icon To Select");
    ASSERT_NE(icons, nullptr);
    ClickPicture(icons, IDC_ICONS_IMG1 + pick.element);
    // The choice is taken once the entry's picture shows it.
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(picture, STM_GETICON, 0, 0) != before; }));
    Press(options, IDC_OPT_CMDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
    EXPECT_EQ(ReadValue(EntryKey("Work"), "Password"), "\xB4\xB6\xB8");
    EXPECT_EQ(ReadValue(EntryKey("Work"), "PhoneNumber"), "5550199");
    EXPECT_EQ(ReadValue(EntryKey("Work"), "Icon"), pick.icon);
    EXPECT_TRUE(program.Running());
  }
}

// The options window's own windows belong to it: the help stays above it
// and goes with it; the icon chooser and its questions are modal to it,
// not to the dialer, which stays usable.
TEST_F(OptionsTest, HelpIconChooserAndQuestionsBelongToTheOptionsWindow) {
  SeedEntry("Work", {{"PhoneNumber", ""}});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  HWND options = OpenOptionsFromDialer(program);
  ASSERT_NE(options, nullptr);

  Press(options, IDC_OPT_CMDHELP);
  HWND help = WaitForWindow("Options Help");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), options);

  ClickPicture(options, IDC_OPT_IMGICON0);
  HWND icons = WaitForWindow("Click On Icon To Select");
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(GetWindow(icons, GW_OWNER), options);
  EXPECT_FALSE(IsWindowEnabled(options));
  EXPECT_TRUE(IsWindowEnabled(dialer));
  PostMessageA(icons, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(icons) && IsWindowEnabled(options); }));

  std::thread typing([&] { Type(options, IDC_OPT_TXTAHRS, "1000"); });
  HWND question = WaitForWindow("Wrong value");
  EXPECT_NE(question, nullptr);
  if (question != nullptr) {
    EXPECT_EQ(GetWindow(question, GW_OWNER), options);
    EXPECT_FALSE(IsWindowEnabled(options));
    EXPECT_TRUE(IsWindowEnabled(dialer));
  }
  EXPECT_EQ(AnswerMessage("Wrong value"), "The valid range is 1 - 999");
  typing.join();

  Press(options, IDC_OPT_CMDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
  EXPECT_FALSE(IsWindow(help));
  EXPECT_TRUE(program.Running());
}

// An entry with every value set, among them values no box shows (its
// single login kept beside its lists, the number file, the online time): a
// save that changed one field leaves every other value as it was stored.
TEST_F(OptionsTest, SavingAnEntryWithEveryValueChangesOnlyTheChangedOne) {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"Icon", "12"},
      {"UseList", "1"},
      {"LastDialedLocation", "Yuma,520 3290098"},
      {"LoadAtStartup", "0"},
      {"MonitorTime", "0"},
      {"PhoneList", "C:\\lists\\phones.csv"},
      {"UserList", "C:\\lists\\users.csv"},
      {"UserName", "joe"},
      {"Password", "\xB4\xB6\xB8"},
      {"PhoneNumber", "5550100"},
      {"EnableRedial", "1"},
      {"NumberOfRedials", " 4"},
      {"Minutes", "02"},
      {"Seconds", "30"},
      {"DoNotAsk", "1"},
      {"FileURL", "http://numbers.example/now.txt"},
      {"DisconnectAndDial", "1"},
      {"BrowserPath", "C:\\Browsers\\web.exe"},
      {"StartBrowser", "0"},
      {"AutoDisconnect", "1"},
      {"AutoDisconnectTime", "37800"},
      {"AutoReconnect", "1"},
      {"OnTimeEx1", "2"},
      {"OnTimeEx2", "5"},
      {"OffTimeEx1", "10"},
      {"OffTimeEx2", "100"},
      {"PhoneNumberLocation", "1"},
      {"PreviousMonths", "11,7200;"},
  };
  SeedEntry("Work", values);
  ProgramUnderTest program("Work");
  HWND options = OpenOptionsFromDialer(program);
  ASSERT_NE(options, nullptr);
  // The radio pair is a group of its own, so the arrow keys move between
  // its two buttons only.
  EXPECT_NE(GetWindowLongA(GetDlgItem(options, IDC_OPT_OPTNEXTTIME), GWL_STYLE) & WS_GROUP, 0);
  EXPECT_EQ(ControlText(options, IDC_OPT_TXTPHONELIST), "C:\\lists\\phones.csv");

  Type(options, IDC_OPT_TXTREDIAL, "7");
  ASSERT_TRUE(WaitUntil([&] { return ControlText(options, IDC_OPT_TXTREDIAL) == "7"; }));
  Press(options, IDC_OPT_CMDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
  EXPECT_TRUE(program.Running());

  EXPECT_EQ(ReadValue(EntryKey("Work"), "NumberOfRedials"), "7");
  for (const auto& [name, text] : values) {
    if (name == "NumberOfRedials") continue;
    EXPECT_EQ(ReadValue(EntryKey("Work"), name), text) << name;
  }
}

TEST_F(OptionsTest, RemovingAnEntryTakesItsKeyAndEveryShortcut) {
  SeedEntry("Work", {{"PhoneNumber", ""}});
  ShellLink link;
  link.target = ExeFolder() + "corvane.exe";
  for (const std::string& path : ShortcutPaths("Work")) ASSERT_TRUE(links_.CreateLink(path, link)) << path;

  ProgramUnderTest program("Work");
  HWND options = OpenOptionsFromDialer(program);
  ASSERT_NE(options, nullptr);
  Press(options, IDC_OPT_CMDREMOVE);
  ASSERT_TRUE(WaitUntil([&] { return ControlText(options, IDC_OPT_CMBSELENTRY).empty(); }));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, EntryKey("Work").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const std::string& path : ShortcutPaths("Work")) EXPECT_FALSE(FileExists(path)) << path;
  EXPECT_TRUE(program.Running());
}

// When the window closes, the Startup folder has "CRV - X" exactly for the
// entries whose stored "LoadAtStartup" is 1, whatever the boxes showed.
TEST_F(OptionsTest, TheStartupFolderFollowsTheStoredChoiceWhenTheWindowCloses) {
  SeedEntry("Work", {{"PhoneNumber", ""}});
  SeedEntry("Home", {{"LoadAtStartup", "1"}});
  ShellLink link;
  link.target = ExeFolder() + "corvane.exe";
  ASSERT_TRUE(links_.CreateLink(ShortcutPaths("Work")[2], link));
  ProgramUnderTest program("Work");
  HWND options = OpenOptionsFromDialer(program);
  ASSERT_NE(options, nullptr);
  Press(options, IDC_OPT_CHKLOAD);
  ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(options, IDC_OPT_CHKLOAD) == BST_CHECKED; }));
  Press(options, IDC_OPT_CMDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
  const std::string home = ShortcutPaths("Home")[2];
  ASSERT_TRUE(WaitUntil([&] { return FileExists(home); }));
  EXPECT_EQ(LnkInfoFields(home)["Command line arguments"], "/Home");
  EXPECT_FALSE(FileExists(ShortcutPaths("Work")[2])) << "ticked, not saved: Work does not start with Windows";
  EXPECT_EQ(ReadValue(EntryKey("Work"), "LoadAtStartup"), "<none>");  // nothing saved
}

TEST_F(OptionsTest, FieldRulesThroughTheRealBoxes) {
  ProgramUnderTest program("");
  HWND options = WaitForWindow(kOptionsCaption);
  ASSERT_NE(options, nullptr);
  struct Case {
    const char* label;
    int box;
    const char* typed;
    const char* message;  // nullptr: none
    const char* after;
  };
  const Case cases[] = {
      {"hours 1000", IDC_OPT_TXTAHRS, "1000", "The valid range is 1 - 999", "0"},
      {"redials cleared", IDC_OPT_TXTREDIAL, "", "The valid range is 1 - 999", "3"},
      {"on-time 1000 wraps", IDC_OPT_TXTONTIMEEX1, "1000", nullptr, "0"},
      {"off-time 100", IDC_OPT_TXTOFFTIMEEX1, "100", nullptr, "NC"},
      {"off-time 150", IDC_OPT_TXTOFFTIMEEX1, "150", "The valid range is 0 - 100", "150"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::thread typing([&] { Type(options, c.box, c.typed); });
    if (c.message != nullptr) {
      EXPECT_EQ(AnswerMessage("Wrong value"), c.message);
    }
    typing.join();
    EXPECT_TRUE(WaitUntil([&] { return ControlText(options, c.box) == c.after; })) << ControlText(options, c.box);
  }
  EXPECT_EQ(FindWindowA(nullptr, "Wrong value"), nullptr);
}

}  // namespace
}  // namespace corvane::testing
