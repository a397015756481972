// The command line for scripts through the real program on the stand-in:
// --dial waits through a busy line for the connection, or gives up with the
// redials; --status (text and JSON) tells a connected line's entry, seconds
// and bytes as the stand-in has them, and answers during a redial countdown;
// --hang-up returns once the line is down, booked and logged; --status with
// no program running says so.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/line_status.h"
#include "dial_standin_fixture.h"
#include "stats/connection_log.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"
#include "win32/instance_channel.h"
#include "win32/win32_connection_log_files.h"

namespace corvane::testing {
namespace {

struct CommandRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;
};

// Runs corvane.exe with `arguments` as a script would, its standard output
// a pipe, and waits for it to end.
CommandRun RunCorvane(const std::string& arguments, DWORD timeoutMs = 90000) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE pipeRead = nullptr, pipeWrite = nullptr;
  CommandRun run;
  if (!CreatePipe(&pipeRead, &pipeWrite, &inherit, 0)) return run;
  const UniqueKernelHandle readEnd(pipeRead);
  UniqueKernelHandle writeEnd(pipeWrite);
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  std::string commandLine = "\"" + PathBesideThisProgram("corvane.exe") + "\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    return run;
  }
  writeEnd.reset();
  const UniqueKernelHandle thread(info.hThread), process(info.hProcess);
  // Read until the command ends, not until the pipe's end: under Wine the
  // program --dial starts holds the pipe as long as it runs.
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    const bool ended = WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0;
    DWORD available = 0;
    while (PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char chunk[512];
      DWORD got = 0;
      if (!ReadFile(readEnd.get(), chunk, sizeof chunk, &got, nullptr) || got == 0) break;
      run.output.append(chunk, got);
    }
    if (ended) {
      GetExitCodeProcess(process.get(), &run.exitCode);
      return run;
    }
    if (GetTickCount64() >= end) return run;
  }
}

// The value of the "Name: value" line `name` in `text`; "<none>" without one.
std::string Field(const std::string& text, const std::string& name) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(name + ": ", 0) == 0) return line.substr(name.size() + 2);
  }
  return "<none>";
}

// The number after "\"key\":" in one-line JSON; -1 without one.
long long JsonNumber(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return -1;
  return std::atoll(json.c_str() + at + key.size() + 3);
}

class ScriptCommandsTest : public WorkEntryTest {
 protected:
  void SetUp() override {
    WorkEntryTest::SetUp();
    DeleteFileA(files_.PathOf(kConnectionLogFile).c_str());
  }
  // A program --dial started is no ProgramUnderTest: it is ended here.
  void TearDown() override {
    std::string answer;
    if (AskRunningProgram(kQuestionStatus, answer) == ChannelReply::Answered) {
      if (const std::optional<LineStatus> status = DecodeStatus(answer)) {
        const UniqueKernelHandle program(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status->ProcessId));
        if (program) {
          TerminateProcess(program.get(), 9);
          WaitForSingleObject(program.get(), 10000);
        }
      }
    }
    WorkEntryTest::TearDown();
  }

  // "Work", monitored, a one-second pause before a redial, and `more`.
  static void SeedWork(std::vector<std::pair<std::string, std::string>> more) {
    std::vector<std::pair<std::string, std::string>> values{
        {"PhoneNumber", "5550100"}, {"StartBrowser", "0"}, {"MonitorTime", "1"}, {"Minutes", "0"}, {"Seconds", "1"}};
    values.insert(values.end(), more.begin(), more.end());
    SeedEntry("Work", values);
  }

  // The stand-in's last traffic answer: sent, received, seconds up.
  static std::vector<double> LastTraffic() {
    std::istringstream log(Control("traffic"));
    std::vector<double> last;
    for (std::string line; std::getline(log, line);) {
      std::istringstream fields(line);
      std::string handle;
      double sent = 0, received = 0, seconds = 0;
      if (fields >> handle >> sent >> received >> seconds) last = {sent, received, seconds};
    }
    return last;
  }

  Win32ConnectionLogFiles files_;
};

TEST_F(ScriptCommandsTest, DialWaitsThroughABusyLineUntilItIsUp) {
  WriteScenario("dial busy\ndial connect 33600\n");
  SeedWork({});
  const CommandRun dial = RunCorvane("--dial Work --wait 60");
  EXPECT_EQ(dial.exitCode, 0u) << dial.output;
  EXPECT_EQ(dial.output, "Connected to 'Work'.\r\n");
  EXPECT_EQ(DialCount(), 2u);
  const CommandRun status = RunCorvane("--status");
  EXPECT_EQ(status.exitCode, 0u) << status.output;
  EXPECT_EQ(Field(status.output, "Speed"), "33600");
}

TEST_F(ScriptCommandsTest, DialGivesUpWhenTheRedialsRunOut) {
  WriteScenario("dial busy\n");
  SeedWork({{"NumberOfRedials", "1"}});
  const CommandRun dial = RunCorvane("--dial Work --wait 60");
  EXPECT_EQ(dial.exitCode, 3u) << dial.output;
  EXPECT_EQ(DialCount(), 2u);
}

TEST_F(ScriptCommandsTest, StatusOfAConnectedLineHasItsSecondsAndBytes) {
  WriteScenario("dial connect 49333 rx 4000 tx 600\n");
  SeedWork({});
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(4));

  const CommandRun text = RunCorvane("--status");
  ASSERT_EQ(text.exitCode, 0u) << text.output;
  // The status read the line's counters last: the stand-in's last answer.
  std::vector<double> traffic = LastTraffic();
  ASSERT_EQ(traffic.size(), 3u) << Control("traffic");
  EXPECT_EQ(Field(text.output, "State"), "connected");
  EXPECT_EQ(Field(text.output, "Entry"), "Work");
  EXPECT_EQ(Field(text.output, "Speed"), "49333");
  EXPECT_NEAR(std::stod(Field(text.output, "Seconds online")), traffic[2], 1.0);
  EXPECT_EQ(std::stod(Field(text.output, "Bytes sent")), traffic[0]);
  EXPECT_EQ(std::stod(Field(text.output, "Bytes received")), traffic[1]);
  EXPECT_GT(traffic[1], 0);

  const CommandRun json = RunCorvane("--status --json");
  ASSERT_EQ(json.exitCode, 0u) << json.output;
  traffic = LastTraffic();
  EXPECT_EQ(json.output.rfind("{\"state\":\"connected\",\"entry\":\"Work\",", 0), 0u) << json.output;
  EXPECT_NEAR(static_cast<double>(JsonNumber(json.output, "secondsOnline")), traffic[2], 1.0);
  EXPECT_EQ(JsonNumber(json.output, "bytesSent"), static_cast<long long>(traffic[0]));
  EXPECT_EQ(JsonNumber(json.output, "bytesReceived"), static_cast<long long>(traffic[1]));
}

TEST_F(ScriptCommandsTest, HangUpReturnsOnceTheLineIsDownBookedAndLogged) {
  WriteScenario("dial connect 49333\n");
  SeedWork({});  // the tray's Disconnect would ask first
  ProgramUnderTest program("Work");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  ASSERT_TRUE(WaitConnected(program, dialer));
  ASSERT_TRUE(WaitTicks(2));

  const CommandRun hangUp = RunCorvane("--hang-up");
  EXPECT_EQ(hangUp.exitCode, 0u) << hangUp.output;
  EXPECT_EQ(hangUp.output, "The line to 'Work' is down.\r\n");
  // All of it done by the time the command returned.
  EXPECT_TRUE(program.WaitForExit(0));
  const std::vector<double> lines = LineSeconds();
  ASSERT_EQ(lines.size(), 1u) << Control("lines");
  EXPECT_NEAR(std::stod(ReadValue(EntryKey("Work"), "OnlineTime", "-1")), lines[0], 1.0);
  std::string log;
  ASSERT_TRUE(files_.Read(kConnectionLogFile, log));
  const std::vector<ConnectionRecord> records = ReadConnectionRows(log);
  ASSERT_EQ(records.size(), 1u) << log;
  EXPECT_EQ(records[0].EndedBy, ConnectionEnd::User);

  const CommandRun again = RunCorvane("--hang-up");
  EXPECT_EQ(again.exitCode, 1u) << again.output;
}

TEST_F(ScriptCommandsTest, StatusAnswersDuringTheRedialCountdown) {
  WriteScenario("dial busy\n");
  SeedWork({{"Minutes", "5"}});
  ProgramUnderTest program("Work");
  ASSERT_NE(program.MainWindow(), nullptr);
  CommandRun status;
  ASSERT_TRUE(WaitUntil([&] {
    status = RunCorvane("--status");
    return Field(status.output, "State") == "redialling";
  }));
  EXPECT_EQ(status.exitCode, 1u);
  const int left = std::stoi(Field(status.output, "Redial in"));
  EXPECT_GT(left, 200);
  EXPECT_LE(left, 301);
}

TEST_F(ScriptCommandsTest, StatusWithoutARunningProgram) {
  const CommandRun status = RunCorvane("--status");
  EXPECT_EQ(status.exitCode, 1u);
  EXPECT_EQ(status.output, "State: not running\r\n");
  const CommandRun wrong = RunCorvane("--status --wait 5");
  EXPECT_EQ(wrong.exitCode, 2u);
  EXPECT_EQ(wrong.output.rfind("--wait goes with --dial only.\r\nUsage:", 0), 0u) << wrong.output;
}

}  // namespace
}  // namespace corvane::testing
