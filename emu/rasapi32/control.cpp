// StandinControlA: the stand-in's own entry point, not part of the real
// service. rasctl.exe and tests use it to look at every connection, drop a
// line from outside the process that dialled it, and start afresh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "config.h"
#include "line_watch.h"
#include "phonebook.h"
#include "shared_state.h"

using namespace standin;

namespace {

const char* PhaseName(Phase phase) {
  switch (phase) {
    case Phase::Dialling: return "dialling";
    case Phase::Connected: return "connected";
    case Phase::Failed: return "failed";
    case Phase::Dropped: return "dropped";
    case Phase::HangingUp: return "hanging-up";
    case Phase::Gone: break;
  }
  return "gone";
}

// "all", a handle (0x... or decimal) or an entry name.
bool Matches(const Connection& c, const std::string& target) {
  if (target.empty() || target == "all") return true;
  char* end = nullptr;
  const unsigned long long number = std::strtoull(target.c_str(), &end, 0);
  if (end != nullptr && *end == 0) return number == c.handle;
  return SameName(c.entryName, target);
}

// False for a command it does not know.
bool Run(const std::string& command, std::string& answer) {
  std::istringstream words(command);
  std::string verb, target;
  words >> verb;
  std::getline(words >> std::ws, target);
  std::ostringstream reply;

  if (verb == "dials") {
    answer = DialLog();
    return true;
  }
  if (verb == "lines") {
    answer = LineLog();
    return true;
  }
  if (verb == "traffic") {
    answer = TrafficLog();
    return true;
  }
  if (verb == "where") {
    const std::shared_ptr<const Config> held = CurrentConfig();
    const Config& config = *held;
    reply << "scenario " << (config.scenarioPath.empty() ? "(built in)" : config.scenarioPath) << "\n";
    reply << "phonebook " << PhonebookPath(nullptr, config) << "\n";
    for (const std::string& problem : config.scenario.problems) reply << "not understood: " << problem << "\n";
    answer = reply.str();
    return true;
  }

  StateLock lock;
  SharedState* state = lock.State();
  if (state == nullptr) return false;
  const uint64_t now = Now();
  if (verb == "list") {
    for (const Connection& c : state->connections) {
      const View view = Evaluate(c, now);
      if (c.used == 0 || view.phase == Phase::Gone) continue;
      char line[600];
      std::snprintf(line, sizeof line, "0x%llx\t%s\t%s\tstate %u\terror %u\t%s\t%s\n",
                    static_cast<unsigned long long>(c.handle), c.entryName, PhaseName(view.phase), view.state,
                    view.error, c.deviceName, c.phoneNumber);
      reply << line;
    }
  } else if (verb == "drop") {
    int dropped = 0;
    for (Connection& c : state->connections) {
      const Phase phase = Evaluate(c, now).phase;
      if (c.used == 0 || !IsListed(phase) || !Matches(c, target)) continue;
      c.dropRequestedAt = now;
      WakeLineWatch(c.handle);
      ++dropped;
    }
    reply << "dropped " << dropped << "\n";
  } else if (verb == "calls") {
    uint64_t total = 0;
    for (int call = 0; call < static_cast<int>(CountedCall::Count); ++call) {
      reply << CountedCallName(static_cast<CountedCall>(call)) << " " << state->calls[call] << "\n";
      total += state->calls[call];
    }
    reply << "total " << total << "\n";
  } else if (verb == "reset") {
    for (Connection& c : state->connections) {
      if (c.used != 0) WakeLineWatch(c.handle);
      c = Connection{};
    }
    for (uint64_t& count : state->calls) count = 0;
    ResetDialCounts();
    reply << "reset\n";
  } else {
    return false;
  }
  answer = reply.str();
  return true;
}

}  // namespace

extern "C" DWORD WINAPI StandinControlA(LPCSTR command, LPSTR reply, DWORD replySize) {
  if (command == nullptr) return ERROR_INVALID_PARAMETER;
  std::string answer;
  if (!Run(command, answer)) return ERROR_INVALID_PARAMETER;
  if (reply != nullptr && replySize > 0) {
    const size_t length = answer.size() < replySize - 1 ? answer.size() : replySize - 1;
    std::memcpy(reply, answer.data(), length);
    reply[length] = 0;
  }
  return ERROR_SUCCESS;
}
