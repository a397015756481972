// Where the stand-in finds its scenario and its phonebook.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "scenario.h"

namespace standin {

// Set by DllMain: the stand-in's own module.
extern HMODULE g_module;

struct Config {
  std::string scenarioPath;  // empty when the built-in scenario is used
  std::string scenarioKey;   // path plus the file's time and size: a new key restarts the dial order
  Scenario scenario;
};

// CORVANE_RAS_SCENARIO, else rasapi32.scenario beside this DLL, else the
// built-in scenario. Re-read whenever the file changes; between changes every
// caller shares the one parsed copy, which stays valid while it is held.
std::shared_ptr<const Config> CurrentConfig();

// An explicit phonebook path, else CORVANE_RAS_PHONEBOOK, else the
// scenario's "phonebook" line (relative to the scenario's folder), else the
// user's rasphone.pbk under %APPDATA%.
std::string PhonebookPath(const char* explicitPath, const Config& config);

// The number of the next dial (0-based) of the scenario version `key`,
// counted system-wide and across runs in a small file in the temporary
// folder. Callers hold the state lock.
uint32_t NextDialIndex(const std::string& key);

// Starts every scenario over at its first dial, and empties the dial log
// and the line log.
void ResetDialCounts();

// Notes one dial in the dial log: the user name it logged in with and the
// error it will end with (0 for a connection). Passwords are never logged.
// Callers hold the state lock.
void LogDial(const std::string& number, const std::string& userName, uint32_t error);

// The dial log since the last reset, one "number<TAB>user<TAB>error" line a dial.
std::string DialLog();

// Notes in the line log a line that came up and is now hung up: it was up
// for `upMs` (until it dropped, or until the hang-up). Callers hold the
// state lock.
void LogLineEnd(uint64_t handle, const std::string& number, uint64_t upMs);

// The line log since the last reset, one "handle<TAB>number<TAB>seconds"
// line a line, the seconds to the millisecond ("6.002").
std::string LineLog();

// Notes in the traffic log what a statistics call answered for a line that
// was up: bytes sent and received, and how long it had been up. Callers
// hold the state lock.
void LogTraffic(uint64_t handle, uint32_t sent, uint32_t received, uint64_t upMs);

// The traffic log since the last reset, one
// "handle<TAB>sent<TAB>received<TAB>seconds" line an answer.
std::string TrafficLog();

// Creates the folders above `path`.
void CreateParentFolders(const std::string& path);

}  // namespace standin
