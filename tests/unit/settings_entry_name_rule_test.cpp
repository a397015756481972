// Entry names that cannot be one registry key and one shortcut file name.
#include <gtest/gtest.h>

#include <string>

#include "settings/entry_name_rule.h"

namespace corvane {
namespace {

TEST(EntryNameRuleTest, RefusesNamesThatAreNotOneKeyAndOneFileName) {
  const char* const refused[] = {
      "Work\\Sub", "..\\..\\Evil", "a/b", "C:", "star*", "what?", "say \"hi\"", "<isp>", "a|b",
      "tab\there", "line\nbreak", "trailing.", "trailing ", "CON", "con", "Prn", "AUX", "NUL",
      "COM1", "com9", "LPT1", "lpt9", "nul.txt", "CON .x",
  };
  for (const char* name : refused) {
    SCOPED_TRACE(name);
    EXPECT_NE(EntryNameRefusal(name, 0), "");
  }
}

TEST(EntryNameRuleTest, AcceptsOrdinaryNames) {
  const char* const accepted[] = {
      "", "Work", "My ISP", "a.b", "Console", "COM10", "LPT0", "Contoso", "min", "\xE9tude", " lead",
  };
  for (const char* name : accepted) {
    SCOPED_TRACE(name);
    EXPECT_EQ(EntryNameRefusal(name, 0), "");
  }
}

TEST(EntryNameRuleTest, LengthLeavesRoomForTheLongestShortcutPath) {
  // Folder + "\CRV - " + name + ".lnk" must stay within 259 characters, and a
  // key name within 255.
  const size_t folder = 100;
  const size_t room = kMaxShortcutPath - folder - 11;
  EXPECT_EQ(EntryNameRefusal(std::string(room, 'a'), folder), "");
  const std::string tooLong = EntryNameRefusal(std::string(room + 1, 'a'), folder);
  EXPECT_NE(tooLong.find("at most " + std::to_string(room) + " characters"), std::string::npos);

  EXPECT_EQ(EntryNameRefusal(std::string(248, 'a'), 0), "");
  EXPECT_NE(EntryNameRefusal(std::string(249, 'a'), 0), "");
  EXPECT_NE(EntryNameRefusal("a", 300), "");
}

}  // namespace
}  // namespace corvane
