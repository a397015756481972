// The scenario file: which devices exist, which record versions the service
// knows, how fast it works, and what each dial does, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Device {
  std::string type;  // "modem", "isdn", "vpn", ...
  std::string name;
};

// What one dial does.
struct DialOutcome {
  uint32_t error = 0;       // 0: the line comes up
  uint32_t failState = 0;   // state at which a failing dial reports `error`
  uint32_t bps = 49333;     // link speed once connected
  uint32_t dropAfterMs = 0; // 0: the line stays up
  uint32_t rxPerSecond = 4000;
  uint32_t txPerSecond = 600;
  uint32_t quietAfterMs = 0; // 0: the counters grow as long as the line is up
  uint32_t ringMs = 0;      // extra time before the far end answers or not
  bool atOnce = false;      // the dial is refused with `error` before it starts: no handle
  bool silent = false;      // the caller never hears of the dial's progress
};

struct Login {
  std::string user;
  std::string password;
};

// An entry point that answers with a fixed error instead of doing its work.
struct Failure {
  std::string function;  // "enum-connections", "statistics", ... (README.md)
  uint32_t error = 0;
};

// A hang-up time that never passes: hung-up handles are never released.
inline constexpr uint32_t kNeverReleased = UINT32_MAX;

struct Scenario {
  std::vector<Device> devices;
  int level = 0xA00;
  uint32_t paceMs = 400;     // between two progress states
  uint32_t dialMs = 2500;    // from dialling to the far end's answer
  uint32_t hangUpMs = 300;   // until a hung-up handle is released; kNeverReleased: never
  uint32_t dropError = 629;  // status error of a line that dropped
  bool cycle = false;        // after the last dial: start over (else repeat it)
  std::vector<DialOutcome> dials;
  std::vector<Login> logins;  // when any: other logins are refused
  std::vector<Failure> failures;
  std::string phonebook;      // phonebook file, relative to the scenario's folder
  std::vector<std::string> problems;  // lines that were not understood

  // The outcome of dial number `index` (0-based, counted per scenario).
  DialOutcome DialAt(uint32_t index) const;

  // The error `function` is made to answer with; 0 when it works.
  uint32_t FailureOf(const char* function) const;
};

// Parses scenario text. Unknown or malformed lines are skipped and listed in
// `problems`.
Scenario ParseScenario(const std::string& text);

// The scenario used when there is no scenario file.
Scenario DefaultScenario();

}  // namespace standin
