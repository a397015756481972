// DefaultBrowserPath: the empty page made in the temporary folder, the
// shell's answer as the result code, and the answer buffer cut at its NUL.
#include <gtest/gtest.h>

#include "fakes/fake_system.h"
#include "ui/default_browser.h"

namespace corvane::testing {
namespace {

TEST(DefaultBrowserPathTest, AnswerOfTheShell) {
  struct Case {
    const char* name;
    std::string buffer;  // the shell's raw 260-character answer
    long code;
    std::string expected;
  };
  const std::string kPath = "C:\\Program Files\\Browser\\browser.exe";
  const Case cases[] = {
      {"found", kPath + std::string(260 - kPath.size(), '\0'), 42, kPath},
      {"found, junk after the NUL", kPath + '\0' + "stale text" + std::string(200, 'x'), 42, kPath},
      {"found, no NUL at all", std::string(260, 'y'), 42, std::string(260, 'y')},
      {"no association", std::string(260, '\0'), 31, ""},
      {"failure with something in the buffer", kPath + '\0', 31, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeShell shell;
    shell.foundProgram = c.buffer;
    shell.findResult = c.code;
    EXPECT_EQ(DefaultBrowserPath(shell), c.expected);
    // The shell was asked about the page while it existed; it is gone now.
    EXPECT_EQ(shell.askedFor, std::vector<std::string>{"C:\\Temp\\dummy.html"});
    EXPECT_TRUE(shell.files.empty());
  }
}

TEST(DefaultBrowserPathTest, PageThatCannotBeCreatedFindsNothing) {
  FakeShell shell;
  shell.canCreateFiles = false;
  shell.foundProgram = "C:\\browser.exe";
  EXPECT_EQ(DefaultBrowserPath(shell), "");
}

TEST(DefaultBrowserPathTest, NoTemporaryFolderAsksNothing) {
  FakeShell shell;
  shell.tempFolder = "";
  EXPECT_EQ(DefaultBrowserPath(shell), "");
  EXPECT_TRUE(shell.askedFor.empty());
  EXPECT_TRUE(shell.files.empty());
}

}  // namespace
}  // namespace corvane::testing
