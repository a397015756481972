// The program's arguments out of the process command line.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace corvane {
namespace {

TEST(CommandLineTest, ArgumentsFollowTheProgramName) {
  struct Case {
    const char* processLine;
    const char* arguments;
  };
  const Case cases[] = {
      {"corvane.exe Work", "Work"},
      {"\"C:\\Program Files\\Corvane\\corvane.exe\" /Work", "/Work"},
      {"\"C:\\Program Files\\Corvane\\corvane.exe\"/Work", "/Work"},
      {"corvane.exe", ""},
      {"\"corvane.exe\"", ""},
      {"corvane.exe   My ISP  ", "My ISP"},
      {"corvane.exe\tWork", "Work"},
      {"", ""},
      {"\"unclosed quote", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentsOf(c.processLine), c.arguments) << c.processLine;
  }
}

}  // namespace
}  // namespace corvane
