// Reading the command line for scripts.
#include "app/script_command.h"

#include <charconv>

namespace corvane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole number of seconds in 0..kLongestWaitSeconds; -1 otherwise.
int WaitSecondsOf(const std::string& text) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > kLongestWaitSeconds) return -1;
  return value;
}

ScriptCommand Wrong(std::string error) {
  ScriptCommand command;
  command.Action = ScriptAction::Usage;
  command.Error = std::move(error);
  return command;
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& arguments) {
  std::vector<std::string> result;
  size_t at = 0;
  const size_t size = arguments.size();
  for (;;) {
    while (at < size && IsBlank(arguments[at])) ++at;
    if (at >= size) return result;
    std::string argument;
    bool quoted = false;
    while (at < size && (quoted || !IsBlank(arguments[at]))) {
      size_t backslashes = 0;
      while (at < size && arguments[at] == '\\') {
        ++backslashes;
        ++at;
      }
      if (at < size && arguments[at] == '"') {
        // 2n backslashes and a quote: n backslashes, and the quote opens or
        // closes; 2n+1: n backslashes and a quote of the text.
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && at + 1 < size && arguments[at + 1] == '"') {
          argument += '"';  // "" inside quotes: a quote, as the runtime reads it
          ++at;
        } else {
          quoted = !quoted;
        }
        ++at;
      } else {
        argument.append(backslashes, '\\');
        if (at < size && (quoted || !IsBlank(arguments[at]))) argument += arguments[at++];
      }
    }
    result.push_back(std::move(argument));
  }
}

ScriptCommand ParseScriptCommand(const std::string& arguments) {
  size_t first = 0;
  while (first < arguments.size() && IsBlank(arguments[first])) ++first;
  if (arguments.compare(first, 2, "--") != 0) return {};

  const std::vector<std::string> words = SplitArguments(arguments);
  ScriptCommand command;
  bool json = false;
  bool waitGiven = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    ScriptAction action = ScriptAction::None;
    if (word == "--help") {
      action = ScriptAction::Usage;
    } else if (word == "--status") {
      action = ScriptAction::Status;
    } else if (word == "--hang-up") {
      action = ScriptAction::HangUp;
    } else if (word == "--dial") {
      // The next word is the name, whatever it looks like: an entry may be
      // called "--json".
      if (i + 1 >= words.size()) return Wrong("--dial needs the name of an entry.");
      command.EntryName = words[++i];
      if (command.EntryName.empty()) return Wrong("--dial needs the name of an entry.");
      action = ScriptAction::Dial;
    } else if (word == "--json") {
      if (json) return Wrong("--json is given twice.");
      json = true;
      continue;
    } else if (word == "--wait") {
      if (waitGiven) return Wrong("--wait is given twice.");
      if (i + 1 >= words.size()) return Wrong("--wait needs a number of seconds.");
      command.WaitSeconds = WaitSecondsOf(words[++i]);
      if (command.WaitSeconds < 0) {
        return Wrong("--wait needs a whole number of seconds from 0 to " + std::to_string(kLongestWaitSeconds) +
                     ", not '" + words[i] + "'.");
      }
      waitGiven = true;
      continue;
    } else if (word.compare(0, 1, "-") == 0) {
      return Wrong("Unknown option '" + word + "'.");
    } else {
      return Wrong("Unexpected '" + word + "'. A name with blanks goes in double quotes.");
    }
    if (command.Action != ScriptAction::None) return Wrong("Give one command at a time.");
    command.Action = action;
  }
  if (command.Action == ScriptAction::None) return Wrong("--json and --wait need a command.");
  if (json && command.Action != ScriptAction::Status) return Wrong("--json goes with --status only.");
  if (waitGiven && command.Action != ScriptAction::Dial) return Wrong("--wait goes with --dial only.");
  command.Json = json;
  return command;
}

std::string ScriptUsage() {
  return "Usage:\r\n"
         "  corvane /NAME                       start the entry NAME, as its shortcut does\r\n"
         "  corvane --status [--json]           print the running program's state\r\n"
         "  corvane --hang-up                   end the line as the tray's Disconnect does\r\n"
         "  corvane --dial NAME [--wait SECONDS] start the entry NAME and wait for its line\r\n"
         "Exit codes: 0 connected (--hang-up: the line is down), 1 not connected\r\n"
         "(--hang-up: there was no line), 2 a wrong command line or no answer,\r\n"
         "3 the dial gave up, 4 the wait ran out (the dial goes on).\r\n";
}

}  // namespace corvane
