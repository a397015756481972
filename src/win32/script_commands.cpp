// --status, --hang-up and --dial: each asks the running program through the
// channel, prints what a script needs and exits with its code.
#include "win32/script_commands.h"

#include <windows.h>

#include <algorithm>

#include "app/line_status.h"
#include "settings/entry_name.h"
#include "settings/entry_name_rule.h"
#include "win32/instance_channel.h"
#include "win32/script_output.h"
#include "win32/unique_handle.h"
#include "win32/win32_connection_log_files.h"

namespace corvane {

namespace {

// How long --hang-up waits for the program to hang up, book and log the
// line and end; the service's own hang-up can take some seconds.
constexpr DWORD kHangUpMilliseconds = 60000;
// How often --dial asks how the dial goes.
constexpr DWORD kDialPollMilliseconds = 250;

struct Asked {
  ChannelReply reply;
  LineStatus status;
};

// The running program's status; NoAnswer too for a reply that is no status.
Asked AskStatus(const char* question) {
  std::string answer;
  Asked asked{AskRunningProgram(question, answer), {}};
  if (asked.reply != ChannelReply::Answered) return asked;
  const std::optional<LineStatus> status = DecodeStatus(answer);
  if (!status) return {ChannelReply::NoAnswer, {}};
  asked.status = *status;
  return asked;
}

int NoAnswer(ScriptOutput& out) {
  out.Write("Corvane is running but did not answer in time.\r\n", CP_ACP);
  return kExitError;
}

int Status(const ScriptCommand& command, ScriptOutput& out) {
  Asked asked = AskStatus(kQuestionStatus);
  if (asked.reply == ChannelReply::NoAnswer) return NoAnswer(out);
  if (command.Json) {
    LineStatus shown = asked.status;
    shown.Entry = Win32ConnectionLogFiles().Utf8FromAnsi(shown.Entry);
    out.Write(StatusJson(shown), CP_UTF8);
  } else {
    out.Write(StatusText(asked.status), CP_ACP);
  }
  return StatusExitCode(asked.status.State);
}

int HangUp(ScriptOutput& out) {
  const Asked asked = AskStatus(kQuestionHangUp);
  if (asked.reply == ChannelReply::NoAnswer) return NoAnswer(out);
  if (asked.reply == ChannelReply::NotRunning || asked.status.State != LineState::Connected) {
    out.Write("There is no line to hang up.\r\n", CP_ACP);
    return kExitNotConnected;
  }
  // The program hangs up, books and logs the line on its exit path, as the
  // tray's Disconnect does: its end is the line's.
  const UniqueKernelHandle program(OpenProcess(SYNCHRONIZE, FALSE, asked.status.ProcessId));
  if (program && WaitForSingleObject(program.get(), kHangUpMilliseconds) != WAIT_OBJECT_0) {
    out.Write("Corvane did not end the line within a minute.\r\n", CP_ACP);
    return kExitError;
  }
  out.Write("The line to '" + asked.status.Entry + "' is down.\r\n", CP_ACP);
  return kExitConnected;
}

// Starts the program for entry `name` as its shortcut does; the process, or
// none when it could not be started.
UniqueKernelHandle StartEntry(const std::string& programFile, const std::string& name) {
  std::string commandLine = "\"" + programFile + "\" /" + name;
  // No standard handles and no console: the program would otherwise hold a
  // script's output pipe open for as long as it runs (Wine hands a child
  // its parent's), and the script would wait for it.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(programFile.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                      nullptr, &startup,
                      &process)) {
    return {};
  }
  CloseHandle(process.hThread);
  return UniqueKernelHandle(process.hProcess);
}

int Dial(const ScriptCommand& command, const std::string& programFile, ScriptOutput& out) {
  const std::string& name = command.EntryName;
  const std::string refusal = EntryNameRefusal(name, 0);
  if (!refusal.empty()) {
    out.Write("'" + name + "' is not a dialing entry.\r\n" + refusal + "\r\n", CP_ACP);
    return kExitError;
  }
  // One program at a time: a running one is waited on only when it runs
  // this entry.
  Asked asked = AskStatus(kQuestionStatus);
  if (asked.reply == ChannelReply::NoAnswer) return NoAnswer(out);
  UniqueKernelHandle started;
  if (asked.reply == ChannelReply::Answered) {
    if (!EqualsIgnoringCase(asked.status.Entry, name)) {
      out.Write("Corvane is already running" +
                    (asked.status.Entry.empty() ? std::string() : " for '" + asked.status.Entry + "'") +
                    ": end it first.\r\n",
                CP_ACP);
      return kExitError;
    }
  } else {
    started = StartEntry(programFile, name);
    if (!started) {
      out.Write("Corvane could not be started.\r\n", CP_ACP);
      return kExitError;
    }
  }
  if (command.WaitSeconds < 0) {
    out.Write("Dialling '" + name + "'.\r\n", CP_ACP);
    return kExitConnected;
  }

  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(command.WaitSeconds) * 1000;
  for (;;) {
    asked = AskStatus(kQuestionStatus);
    if (asked.reply == ChannelReply::Answered) {
      if (asked.status.State == LineState::Connected) {
        out.Write("Connected to '" + asked.status.Entry + "'.\r\n", CP_ACP);
        return kExitConnected;
      }
      if (asked.status.State == LineState::Ended) {
        out.Write("The dial of '" + asked.status.Entry + "' gave up without a line.\r\n", CP_ACP);
        return kExitGaveUp;
      }
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    const DWORD pause = static_cast<DWORD>(std::min<ULONGLONG>(kDialPollMilliseconds, deadline - now));
    if (started) {
      // The program ended before its line came up.
      if (WaitForSingleObject(started.get(), pause) == WAIT_OBJECT_0 && asked.reply != ChannelReply::Answered) {
        out.Write("Corvane ended without a line to '" + name + "'.\r\n", CP_ACP);
        return kExitGaveUp;
      }
    } else if (asked.reply == ChannelReply::NotRunning) {
      out.Write("Corvane ended without a line to '" + name + "'.\r\n", CP_ACP);
      return kExitGaveUp;
    } else {
      Sleep(pause);
    }
  }
  out.Write("The line to '" + name + "' was not up within " + std::to_string(command.WaitSeconds) +
                " seconds; the dial goes on.\r\n",
            CP_ACP);
  return kExitTimedOut;
}

}  // namespace

int RunScriptCommand(const ScriptCommand& command, const std::string& programFile) {
  ScriptOutput out;
  switch (command.Action) {
    case ScriptAction::Status:
      return Status(command, out);
    case ScriptAction::HangUp:
      return HangUp(out);
    case ScriptAction::Dial:
      return Dial(command, programFile, out);
    case ScriptAction::Usage:
    case ScriptAction::None:
      break;
  }
  if (!command.Error.empty()) out.Write(command.Error + "\r\n", CP_ACP);
  out.Write(ScriptUsage(), CP_ACP);
  return command.Error.empty() ? kExitConnected : kExitError;
}

}  // namespace corvane
