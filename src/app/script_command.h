// The command line for scripts: ask the running program its state, end its
// line, or dial an entry and wait for the line. These commands start with
// "--", which an entry's start never does: the shortcuts start an entry as
// "/" + its name, whatever the name is.
#pragma once

#include <string>
#include <vector>

namespace corvane {

enum class ScriptAction {
  None,    // not a command for scripts: the program starts as it always has
  Usage,   // --help, or a command line that is wrong (Error says how)
  Status,  // --status [--json]
  HangUp,  // --hang-up
  Dial,    // --dial NAME [--wait SECONDS]
};

// What a script learns from the exit code.
enum ScriptExit : int {
  kExitConnected = 0,     // --status: a line is up; --hang-up: the line is down; --dial: the line is up
  kExitNotConnected = 1,  // --status: no line (or no program); --hang-up: there was no line
  kExitError = 2,         // a wrong command line, or no answer from the running program
  kExitGaveUp = 3,        // --dial: the dial gave up without a line
  kExitTimedOut = 4,      // --dial: the wait ran out; the dial goes on
};

// The longest --wait: a day.
inline constexpr int kLongestWaitSeconds = 86400;

struct ScriptCommand {
  ScriptAction Action = ScriptAction::None;
  bool Json = false;
  std::string EntryName;
  // Seconds --dial waits for the line; negative: it returns at once.
  int WaitSeconds = -1;
  // Why the command line is wrong; empty for --help and every good one.
  std::string Error;
};

// `arguments` (the command line without the program name) split as the C
// runtime splits a command line into argv: blanks separate, double quotes
// group, a backslash escapes a quote.
std::vector<std::string> SplitArguments(const std::string& arguments);

// The command `arguments` asks for.
ScriptCommand ParseScriptCommand(const std::string& arguments);

// The usage text, lines ending in CR LF.
std::string ScriptUsage();

}  // namespace corvane
