// The running program's state as a script asks for it: what the program
// tells over its channel, and how the asking command prints it and exits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// What a script may ask the running program.
inline constexpr const char* kQuestionStatus = "status";
inline constexpr const char* kQuestionHangUp = "hang-up";

enum class LineState {
  NotRunning,          // no program answers
  Starting,            // the program is still starting up
  Dialling,            // an attempt is in flight (or a custom entry's line is awaited)
  Redialling,          // a failed attempt's pause is counted down
  Connected,           // the line is up
  WaitingToReconnect,  // a dropped line waits out its reconnect pause
  Ended,               // no line and no dial: the redials ran out, or the user has the window
};

struct LineStatus {
  LineState State = LineState::NotRunning;
  std::string Entry;        // the running entry, as its captions show it
  int64_t Countdown = 0;    // seconds left of the redial or reconnect pause
  // While connected:
  int64_t ConnectedAt = 0;  // seconds since midnight, local time
  int64_t SecondsOnline = 0;
  uint32_t Speed = 0;  // bits per second
  uint64_t BytesSent = 0;
  uint64_t BytesReceived = 0;
  // With an entry:
  int64_t MonthSeconds = 0;   // the entry's online time this month
  std::string AllowanceLeft;  // "12 hrs 05 min, 3.2 MB"; empty without an allowance
  uint32_t ProcessId = 0;     // the answering program's
};

// "connected", "waiting to reconnect", ...
std::string LineStateName(LineState state);

// The exit code of --status for `state`.
int StatusExitCode(LineState state);

// "Name: value" lines, each ending in CR LF; the fields that mean nothing in
// the state are left out.
std::string StatusText(const LineStatus& status);

// One JSON object on one line, CR LF after it; texts must be UTF-8. A field
// that means nothing in the state is null.
std::string StatusJson(const LineStatus& status);

// The status as it travels from the running program to the asking one:
// "key=value" lines. Decode returns nullopt for text that is not one.
std::string EncodeStatus(const LineStatus& status);
std::optional<LineStatus> DecodeStatus(const std::string& text);

}  // namespace corvane
