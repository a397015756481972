// The phone list, the user list and the number file: the parsing of their
// lines, and the drop-down, FindPhoneNumber and ReadInternetFile on fakes.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/number_sources.h"
#include "dial/handle_release.h"
#include "fakes/program_fixture.h"
#include "system/text_lines.h"

namespace corvane::testing {
namespace {

const std::string kYumaTitle =
    "City,State /Province,Country,PhoneNo.,,,,,,Comment,,,,AreaCode,CountryCode,,CountryId,Use DialingRules,";
const std::string kYumaLine = "Yuma,AZ,US,520 3290098,,1,,1,1,YumaAZUS";

TEST(NumberSourcesParsing, PhoneFieldIndexFromTitleLine) {
  const std::pair<std::string, int> cases[] = {
      {kYumaTitle, 3},
      {"Location,Phone", 1},
      {"Location,PHONE NUMBER,Fax", 1},
      {"Location, phone", 1},                     // blanks before the title
      {"Location,Comment about phone,Phone", 2},  // a title that begins with it wins
      {"Location,Telephone,Fax", 1},              // else a title that holds it
      {"Phone,Location", 0},
      {"Location,Fax", -1},
      {"", -1},
  };
  for (const auto& [title, index] : cases) {
    SCOPED_TRACE(title);
    EXPECT_EQ(PhoneFieldIndex(title), index);
  }
}

TEST(NumberSourcesParsing, NumberFromListLine) {
  struct Case {
    std::string line;
    int phoneField;
    std::string number;
    bool appendComma;
  };
  const Case cases[] = {
      {kYumaLine, 3, "520 3290098", true},
      {"Yuma,AZ,US,520 3290098", 3, "520 3290098", true},  // phone field last, no trailing comma
      {"Yuma,AZ,US,520 3290098,", 3, "520 3290098", false},
      {kYumaTitle, 3, "PhoneNo.", false},    // the title line chosen
      {"Yuma,AZ,US,,1", 3, "", true},        // empty phone field
      {"Yuma,AZ", 3, "Yuma,AZ", false},      // too few fields: the line as typed
      {"555 1234", 3, "555 1234", false},    // a typed number
      {"555,,1234", 3, "555,,1234", false},  // a typed number with pauses
      {",555 1234", 0, "555 1234", false},
      {"Yuma,520 3290098", 0, "Yuma,520 3290098", false},  // no phone field known
      {"", 3, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line + " @" + std::to_string(c.phoneField));
    const ListNumber found = NumberFromListLine(c.line, c.phoneField);
    EXPECT_EQ(found.number, c.number);
    EXPECT_EQ(found.appendComma, c.appendComma);
  }
}

TEST(NumberSourcesParsing, UserListLines) {
  struct Case {
    std::string line;
    bool isLogin;
    std::string name, password;
  };
  const Case cases[] = {
      {"alice,secret", true, "alice", "secret"},
      {"alice,se,cr,et", true, "alice", "se,cr,et"},  // commas belong to the password
      {"alice,", true, "alice", ""},
      {",secret", true, "", "secret"},
      {"", false, "", ""},
      {"   ", false, "", ""},
      {"alice", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string name, password;
    EXPECT_EQ(ParseUserLine(c.line, name, password), c.isLogin);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(password, c.password);
  }
}

TEST(NumberSourcesParsing, TextLines) {
  using Lines = std::vector<std::string>;
  const std::pair<std::string, Lines> cases[] = {
      {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}},  // last line without a break kept
      {"a\rb\r", {"a", "b"}},     {"a\n\nb", {"a", "", "b"}}, {"a\r\n\r\n", {"a", ""}}, {"\n", {""}}, {"", {}},
      {"a\r\rb", {"a", "", "b"}}, {"a\n\r\nb\r", {"a", "", "b"}},  // an empty line between breaks
  };
  for (const auto& [text, lines] : cases) {
    SCOPED_TRACE(::testing::PrintToString(text));
    EXPECT_EQ(SplitTextLines(text), lines);
  }
}

TEST(NumberSourcesParsing, NumberFromNumberFile) {
  const std::pair<std::string, std::string> cases[] = {
      {"0123456789123\r\n", "0123456789"},  // ten of thirteen digits
      {"5551234\r\n", "5551234"},           // no stray CR
      {"5551234\n", "5551234"},
      {"5551234", "5551234"},  // no final line break: no digit lost
      {"5551234\rold", "5551234"},
      {"\xEF\xBB\xBF"
       "555-1234\r\n",
       "555-1234"},
      {"  555 1234 \r\n", "555 1234"},
      {"+49 (30) 1234567", "+49 (30) 1"},
      {"9W555,1234#", "9W555,1234"},
      {"", ""},
      {"\r\n5551234\r\n", ""},  // the first line is blank
      {"<html><body>Not found</body></html>", ""},
      {"number: 5551234", ""},
      // Judged after the cut: what would be stored and dialled.
      {"**********5", ""},
      {"----------5551234", ""},
      {"5551234567<html>", "5551234567"},
      {"---", ""},
      {std::string("555\0"
                   "1234",
                   8),
       ""},
  };
  for (const auto& [body, number] : cases) {
    SCOPED_TRACE(::testing::PrintToString(body));
    EXPECT_EQ(NumberFromNumberFile(body), number);
  }
}

class NumberSourcesTest : public ::testing::Test, public ProgramFixture {
 protected:
  // Starts the program on entry "Work" in list mode (nothing is dialed at
  // start) with the Yuma phone list and a user list.
  AppContext& StartListEntry(const std::vector<std::pair<std::string, std::string>>& more = {}) {
    registry.DeleteKey(RegHive::CurrentUser, EntryKey("Work"));
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "UseList", "1");
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneList", "C:\\lists\\phones.txt");
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "UserList", "C:\\lists\\users.txt");
    for (const auto& [value, text] : more) registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    files.files["C:\\lists\\phones.txt"] = {kYumaTitle, kYumaLine, "Tucson,AZ,US,520 5550100,,1,,1,1,TucsonAZUS"};
    files.files["C:\\lists\\users.txt"] = {"alice,secret", "bob,pass,word"};
    AppContext& app = Start("Work");
    messages.shown.clear();
    return app;
  }

  // Starts a single-number entry with a number file and (unless told
  // otherwise) DisconnectAndDial, dials it and brings its line up on
  // `handle` (the file is not fetched yet: the download the Connected
  // message starts fails).
  AppContext& ConnectSingleNumber(RasHandle handle, const std::string& disconnectAndDial = "1") {
    registry.DeleteKey(RegHive::CurrentUser, EntryKey("Work"));
    for (const auto& [value, text] : {std::pair<std::string, std::string>{"PhoneNumber", "555 1234"},
                                      {"FileURL", "http://numbers.example/now.txt"},
                                      {"DisconnectAndDial", disconnectAndDial},
                                      {"DoNotAsk", "1"}}) {
      registry.SetString(RegHive::CurrentUser, EntryKey("Work"), value, text);
    }
    dialUp.nextHandle = handle;
    download.status = kDownloadFailed;
    AppContext& app = Start("Work");
    dialUp.connections = {ListedLine(handle, "Crv")};
    app.frmDialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    download.status = 200;
    messages.shown.clear();
    return app;
  }

  std::optional<std::string> Stored(const std::string& name) const {
    auto raw = registry.RawValue(RegHive::CurrentUser, EntryKey("Work"), name);
    if (raw && !raw->empty() && raw->back() == '\0') raw->pop_back();
    return raw;
  }
};

TEST_F(NumberSourcesTest, DropDownFillsTheListAndStoresThePhoneField) {
  AppContext& app = StartListEntry();
  app.frmDialer.cmbList.SetText("typed 555");
  app.frmDialer.cmbList.AddItem("stale item");
  app.frmDialer.cmbList.OnUserDropDown();

  EXPECT_EQ(app.frmDialer.cmbList.Items().Texts(), files.files["C:\\lists\\phones.txt"]);
  EXPECT_EQ(Stored("PhoneNumberLocation"), "3");
  EXPECT_EQ(app.frmDialer.cmbList.Text(), "typed 555");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NumberSourcesTest, DropDownOfFileWithoutPhoneTitle) {
  struct Case {
    std::string name;
    std::vector<std::string> lines;
    std::optional<std::string> storedIndex;
    bool badFormat;
  };
  const Case cases[] = {
      {"title only", {"Location,Phone"}, "1", false},
      {"empty file", {}, "7", true},
      {"no phone title, a location mentions it", {"Location,Number", "Phoenix phone shop,5551234"}, "7", true},
      {"field index beyond a byte", {std::string(300, ',') + "Phone"}, "7", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppContext& app = StartListEntry();
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumberLocation", "7");
    files.files["C:\\lists\\phones.txt"] = c.lines;
    app.frmDialer.cmbList_DropDown();

    EXPECT_EQ(app.frmDialer.cmbList.Items().Texts(), c.lines);
    EXPECT_EQ(Stored("PhoneNumberLocation"), c.storedIndex);
    if (c.badFormat) {
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].title, "Bad Phone List Format");
      EXPECT_EQ(messages.shown[0].text,
                "Error occured when reading the phone list.\r\nConsult Help about the phone list records format.");
      EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
    } else {
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

TEST_F(NumberSourcesTest, DropDownRefusesALineNoLocationHasBeforeItReachesTheList) {
  const std::string atLimit = "Far," + std::string(kMaxPhoneListLine - 4, '5');
  struct Case {
    std::string name;
    std::vector<std::string> lines;
    bool refused;
  };
  const Case cases[] = {
      {"a wrong file of one 1 MB line", {std::string(1 << 20, 'x')}, true},
      {"one line just too long among good ones", {kYumaTitle, kYumaLine, atLimit + "5"}, true},
      {"a title line just too long", {"City,PhoneNo.," + std::string(kMaxPhoneListLine, ' '), kYumaLine}, true},
      {"a line at the limit", {kYumaTitle, atLimit}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppContext& app = StartListEntry();
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumberLocation", "7");
    files.files["C:\\lists\\phones.txt"] = c.lines;
    app.frmDialer.cmbList.AddItem("kept");
    app.frmDialer.cmbList_DropDown();

    if (c.refused) {
      EXPECT_EQ(app.frmDialer.cmbList.Items().Texts(), std::vector<std::string>{"kept"});
      EXPECT_EQ(Stored("PhoneNumberLocation"), "7");
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].title, "Bad Phone List Format");
    } else {
      EXPECT_EQ(app.frmDialer.cmbList.Items().Texts(), c.lines);
      EXPECT_EQ(Stored("PhoneNumberLocation"), "3");
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

TEST_F(NumberSourcesTest, DropDownWithoutReadablePhoneListKeepsTheItems) {
  for (const char* path : {"", "C:\\lists\\missing.txt", "C:\\lists\\phones.txt"}) {
    SCOPED_TRACE(path);
    AppContext& app = StartListEntry({{"PhoneList", path}});
    files.unreadable = true;
    app.frmDialer.cmbList.AddItem("kept");
    app.frmDialer.cmbList_DropDown();
    EXPECT_EQ(app.frmDialer.cmbList.Items().Texts(), std::vector<std::string>{"kept"});
    EXPECT_TRUE(messages.shown.empty());
    files.unreadable = false;
  }
}

TEST_F(NumberSourcesTest, FindPhoneNumberTakesTheChosenLineAndTheLogins) {
  struct Case {
    std::string chosen;
    std::string number, location, textAfter;
  };
  const Case cases[] = {
      {kYumaLine, "520 3290098", "Yuma", kYumaLine + ","},
      {"Tucson,AZ,US,520 5550100", "520 5550100", "Tucson", "Tucson,AZ,US,520 5550100,"},
      {kYumaTitle, "PhoneNo.", "City", kYumaTitle},
      {"Yuma,AZ", "Yuma,AZ", "Yuma", "Yuma,AZ"},
      {"555 1234", "555 1234", "before", "555 1234"},  // typed: the location stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    AppContext& app = StartListEntry();
    app.frmDialer.cmbList_DropDown();
    app.frmDialer.cmbList.SetText("before,AZ,US,555 0000");
    app.Line.FindPhoneNumber();
    app.frmDialer.cmbList.SetText(c.chosen);
    app.Line.FindPhoneNumber();

    EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, c.number);
    EXPECT_EQ(app.Line.Session().LocationName, c.location);
    EXPECT_EQ(app.frmDialer.cmbList.Text(), c.textAfter);
    EXPECT_EQ(app.Line.Session().UserCount, 2);
    EXPECT_EQ(app.Line.Session().UserNames, (std::vector<std::string>{"", "alice", "bob"}));
    EXPECT_EQ(app.Line.Session().UserPasswords, (std::vector<std::string>{"", "secret", "pass,word"}));
  }
}

TEST_F(NumberSourcesTest, FindPhoneNumberWithoutStoredPhoneFieldTakesTheWholeLine) {
  AppContext& app = StartListEntry();
  app.frmDialer.cmbList.SetText(kYumaLine);
  app.Line.FindPhoneNumber();
  EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, kYumaLine);
  EXPECT_EQ(app.Line.Session().LocationName, "Yuma");
}

TEST_F(NumberSourcesTest, MalformedUserListLinesAreNoLoginsAndShiftNothing) {
  AppContext& app = StartListEntry();
  files.files["C:\\lists\\users.txt"] = {"alice,pw1", "", "bob", "carol,p,w", "   ", "dave,", "eve,pw5"};
  app.Line.FindPhoneNumber();
  EXPECT_EQ(app.Line.Session().UserCount, 4);
  EXPECT_EQ(app.Line.Session().UserNames, (std::vector<std::string>{"", "alice", "carol", "dave", "eve"}));
  EXPECT_EQ(app.Line.Session().UserPasswords, (std::vector<std::string>{"", "pw1", "p,w", "", "pw5"}));
}

TEST_F(NumberSourcesTest, MissingUserListLeavesNumberAndLoginsAlone) {
  struct Case {
    std::string name;
    std::string path;
    bool unreadable;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"not selected", "", false, {}},
      {"file missing", "C:\\lists\\gone.txt", false, {}},
      {"unreadable", "C:\\lists\\users.txt", true, {"alice,secret"}},
      {"no login in it", "C:\\lists\\users.txt", false, {"", "just a name", " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppContext& app = StartListEntry({{"PhoneNumber", "555 0000"}});
    // The number and logins of an earlier attempt, from the lists as they were.
    files.files["C:\\lists\\users.txt"] = {"old,oldpw"};
    app.frmDialer.cmbList.SetText("555 0000");
    app.Line.FindPhoneNumber();
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "UserList", c.path);
    registry.SetString(RegHive::CurrentUser, EntryKey("Work"), "PhoneNumber", "555 0000");
    app.Line.RunningEntrySaved();
    files.files["C:\\lists\\users.txt"] = c.lines;
    files.unreadable = c.unreadable;
    app.frmDialer.cmbList.SetText(kYumaLine);
    messages.shown.clear();
    app.Line.FindPhoneNumber();
    files.unreadable = false;

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Error: User list not selected");
    EXPECT_EQ(messages.shown[0].text, "User list must be selected in 'Options'.");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, "555 0000");
    EXPECT_EQ(app.Line.Session().UserCount, 1);
    EXPECT_EQ(app.Line.Session().UserNames, (std::vector<std::string>{"", "old"}));
    EXPECT_EQ(app.Line.Session().UserPasswords, (std::vector<std::string>{"", "oldpw"}));
  }
}

TEST_F(NumberSourcesTest, SingleModeTakesTheNumberBoxAndNeverTouchesTheLogins) {
  AppContext& app = Start("Work");
  app.frmDialer.txtCombo.SetText("555 4242");
  app.frmDialer.cmbList.SetText(kYumaLine);
  files.files["C:\\lists\\users.txt"] = {"alice,secret"};
  app.Line.FindPhoneNumber();

  EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, "555 4242");
  EXPECT_EQ(app.Line.Session().UserCount, 0);
  EXPECT_TRUE(app.Line.Session().UserNames.empty());
  EXPECT_TRUE(app.Line.Session().UserPasswords.empty());
  EXPECT_EQ(app.frmDialer.cmbList.Text(), kYumaLine);
  EXPECT_TRUE(messages.shown.empty());
}

// A new number is stored, the one it replaces kept, and the change named in
// the details log; anything else leaves the entry, and the log, alone.
TEST_F(NumberSourcesTest, NumberFileStoresOnlyASoundNewNumberAndSaysSo) {
  const std::string kChanged = "The number file http://numbers.example/now.txt changed the number from 555 1234 to ";
  const std::string kUntrusted =
      "The number file http://numbers.example/now.txt was not fetched: its server's certificate is not trusted.";
  struct Case {
    std::string name;
    int32_t status;
    std::string body;
    std::optional<std::string> stored;
    std::string details;  // the log's new line; empty for none
  };
  const Case cases[] = {
      {"thirteen digits", 200, "0123456789123\r\n", "0123456789", kChanged + "0123456789."},
      {"no final line break", 200, "5559876", "5559876", kChanged + "5559876."},
      {"not found", 404, "5559876\r\n", std::nullopt, ""},
      {"server error", 500, "5559876\r\n", std::nullopt, ""},
      {"download failed", kDownloadFailed, "", std::nullopt, ""},
      {"certificate not trusted", kDownloadCertificateRefused, "5559876\r\n", std::nullopt, kUntrusted},
      {"a web page", 200, "<!DOCTYPE html>\n<html>", std::nullopt, ""},
      {"empty", 200, "", std::nullopt, ""},
      {"the number in use", 200, "555 1234\r\n", std::nullopt, ""},
      {"a digit only past the first ten characters", 200, "**********5\r\n", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppContext& app = StartListEntry({{"FileURL", "http://numbers.example/now.txt"}, {"PhoneNumber", "555 1234"}});
    const std::string detailsBefore = app.frmDialer.txtDetails.Text();
    download.status = c.status;
    download.body = c.body;
    app.Line.ReadInternetFile();

    ASSERT_FALSE(download.requests.empty());
    EXPECT_EQ(download.requests.back().url, "http://numbers.example/now.txt");
    EXPECT_EQ(Stored("PhoneNumber"), c.stored.value_or("555 1234"));
    EXPECT_EQ(Stored(kPreviousNumberValue), c.stored ? std::optional<std::string>("555 1234") : std::nullopt);
    EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, "555 1234");  // the connection keeps its number
    EXPECT_TRUE(dialUp.hangUps.empty());
    const std::string details = app.frmDialer.txtDetails.Text();
    if (c.details.empty()) {
      EXPECT_EQ(details, detailsBefore);
    } else {
      EXPECT_EQ(details.substr(details.rfind('\n') + 1), c.details);
    }
  }
}

// A change is shown in a balloon from the tray icon. Without
// DisconnectAndDial the line goes on with the old number, and a
// reconnection dials it again: the file's number, stored already, is no
// change the second time, and the number it replaced stays the one kept.
TEST_F(NumberSourcesTest, NumberFileChangeIsToldOnce) {
  AppContext& app = ConnectSingleNumber(0x77, "0");
  download.body = "5559876\r\n";
  app.Line.ReadInternetFile();
  const std::string details = app.frmDialer.txtDetails.Text();
  app.Line.ReadInternetFile();

  const std::vector<FakeTrayIcon::Balloon> balloon = {
      {"Number changed", "The number of 'Work' was changed from 555 1234 to 5559876 by its number file."}};
  EXPECT_EQ(trayIcon.balloons, balloon);
  EXPECT_EQ(app.frmDialer.txtDetails.Text(), details);
  EXPECT_NE(details.find("changed the number from 555 1234 to 5559876."), std::string::npos) << details;
  EXPECT_EQ(Stored("PhoneNumber"), "5559876");
  EXPECT_EQ(Stored(kPreviousNumberValue), "555 1234");
  EXPECT_TRUE(app.Line.IsConnected());
}

TEST_F(NumberSourcesTest, NumberFileWithDisconnectAndDialSwitchesTheLine) {
  struct Case {
    std::string name;
    int32_t statusAnswer;  // what the service says of the old handle
    bool released;
  };
  const Case cases[] = {
      {"handle released", kRasInvalidHandle, true},
      {"service never lets go", kRasSuccess, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppContext& app = ConnectSingleNumber(0x77);
    download.body = "5559876\n";
    dialUp.statusAnswer = c.statusAnswer;
    dialUp.statusQueries.clear();
    dialUp.hangUps.clear();
    const double start = clock.monotonic;
    app.Line.ReadInternetFile();

    EXPECT_EQ(Stored("PhoneNumber"), "5559876");
    EXPECT_EQ(app.Line.RunningEntry().PhoneNumber, "5559876");
    EXPECT_EQ(app.frmDialer.txtCombo.Text(), "5559876");
    EXPECT_EQ(app.Line.IsConnected(), 0);
    EXPECT_EQ(app.Line.BusyRedialPending(), 1);
    EXPECT_EQ(dialUp.hangUps, std::vector<RasHandle>{0x77});
    ASSERT_FALSE(dialUp.statusQueries.empty());
    EXPECT_EQ(dialUp.statusQueries.back(), 0x77u);
    if (c.released) {
      EXPECT_EQ(dialUp.statusQueries.size(), 1u);
    } else {
      // Gave up after a few seconds of pauses, never spinning without one.
      EXPECT_GE(clock.monotonic - start, kHandleReleaseSeconds);
      EXPECT_LT(clock.monotonic - start, kHandleReleaseSeconds + 1);
      EXPECT_GE(pump.pauseCalls + 1, static_cast<int>(dialUp.statusQueries.size()));
    }
  }
}

TEST_F(NumberSourcesTest, NumberFileAfterTheUserEndedTheConnectionOnlyStoresTheNumber) {
  const std::pair<std::string, std::function<void(AppContext&)>> cases[] = {
      {"tray menu Exit", [](AppContext& app) { app.frmDialer.mnuExit.OnUserClick(); }},
      {"disconnect chosen", [](AppContext& app) { app.frmDialer.mnuDisconnect.OnUserClick(); }},
      {"window closed", [](AppContext& app) { app.frmDialer.Unload(); }},
  };
  for (const auto& [name, userAction] : cases) {
    SCOPED_TRACE(name);
    AppContext& app = ConnectSingleNumber(0x77);
    download.body = "5559876\n";
    download.onEvents = [&app, &userAction = userAction] { userAction(app); };  // while the download runs
    const size_t dialsBefore = dialUp.dials.size();
    app.Line.ReadInternetFile();
    download.onEvents = nullptr;

    EXPECT_EQ(Stored("PhoneNumber"), "5559876");
    EXPECT_EQ(app.Line.BusyRedialPending(), 0);
    app.frmDialer.Timer1.OnTick();
    EXPECT_EQ(dialUp.dials.size(), dialsBefore);
  }
}

TEST_F(NumberSourcesTest, NoNumberFileAddressNoDownload) {
  AppContext& app = StartListEntry({{"FileURL", ""}});
  app.Line.ReadInternetFile();
  EXPECT_TRUE(download.requests.empty());
}

}  // namespace
}  // namespace corvane::testing
