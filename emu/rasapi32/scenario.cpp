// ParseScenario: a line-oriented text format, documented in README.md.
#include "scenario.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace standin {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParseNumber(const std::string& word, uint32_t& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(word.c_str(), &end, 0);
  if (*end != 0) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

// Seconds, fractions allowed, as milliseconds.
bool ParseSeconds(const std::string& word, uint32_t& ms) {
  if (word.empty()) return false;
  char* end = nullptr;
  const double seconds = std::strtod(word.c_str(), &end);
  if (*end != 0 || seconds < 0) return false;
  ms = static_cast<uint32_t>(seconds * 1000.0 + 0.5);
  return true;
}

struct NamedFailure {
  const char* word;
  uint32_t error;
  uint32_t state;
};

// The failures a person writes by name, the code the service reports and the
// state it reports it in.
constexpr NamedFailure kFailures[] = {
    {"busy", 676, 2},         {"no-dial-tone", 680, 2}, {"no-answer", 678, 2},
    {"no-carrier", 679, 2},   {"refused", 691, 5},      {"hardware", 692, 2},
    {"device-busy", 797, 0},
};

// The entry points a "fail" line can name.
bool IsFailingFunction(const std::string& name) {
  for (const char* function : {"enum-connections", "enum-devices", "status", "hang-up", "statistics", "get-entry",
                               "set-entry", "validate-name", "dial-params"}) {
    if (name == function) return true;
  }
  return false;
}

}  // namespace

DialOutcome Scenario::DialAt(uint32_t index) const {
  if (dials.empty()) return DialOutcome{};
  if (index < dials.size()) return dials[index];
  return cycle ? dials[index % dials.size()] : dials.back();
}

uint32_t Scenario::FailureOf(const char* function) const {
  for (const Failure& failure : failures) {
    if (failure.function == function) return failure.error;
  }
  return 0;
}

Scenario DefaultScenario() {
  Scenario scenario;
  scenario.devices.push_back({"modem", "Standard 56000 bps V90 Modem"});
  return scenario;
}

Scenario ParseScenario(const std::string& text) {
  Scenario scenario;
  std::istringstream lines(text);
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    const size_t hash = raw.find('#');
    const std::string line = Trim(hash == std::string::npos ? raw : raw.substr(0, hash));
    if (line.empty()) continue;
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    keyword = Lower(keyword);
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    const std::string rest = Trim(line.substr(keyword.size()));
    bool ok = true;

    if (keyword == "device") {
      ok = args.size() >= 2;
      if (ok) scenario.devices.push_back({Lower(args[0]), Trim(rest.substr(args[0].size()))});
    } else if (keyword == "service-level") {
      // Written as the platform writes versions: 400 and 0x400 both mean 0x400.
      std::string digits = args.size() == 1 ? args[0] : std::string();
      if (digits.rfind("0x", 0) == 0) digits = digits.substr(2);
      char* end = nullptr;
      const unsigned long level = digits.empty() ? 0 : std::strtoul(digits.c_str(), &end, 16);
      ok = !digits.empty() && *end == 0 &&
           (level == 0x300 || level == 0x400 || level == 0x401 || level == 0x500 || level == 0x501 ||
            level == 0x600 || level == 0x601 || level == 0x602 || level == 0xA00);
      if (ok) scenario.level = static_cast<int>(level);
    } else if (keyword == "hangup-time" && args.size() == 1 && Lower(args[0]) == "never") {
      scenario.hangUpMs = kNeverReleased;
    } else if (keyword == "fail") {
      uint32_t error = 0;
      ok = args.size() == 2 && IsFailingFunction(Lower(args[0])) && ParseNumber(args[1], error) && error != 0;
      if (ok) scenario.failures.push_back({Lower(args[0]), error});
    } else if (keyword == "pace" || keyword == "dial-time" || keyword == "hangup-time") {
      uint32_t ms = 0;
      ok = args.size() == 1 && ParseSeconds(args[0], ms);
      if (ok) (keyword == "pace" ? scenario.paceMs : keyword == "dial-time" ? scenario.dialMs : scenario.hangUpMs) = ms;
    } else if (keyword == "drop-error") {
      ok = args.size() == 1 && ParseNumber(args[0], scenario.dropError);
    } else if (keyword == "after-last") {
      ok = args.size() == 1 && (args[0] == "repeat" || args[0] == "cycle");
      if (ok) scenario.cycle = args[0] == "cycle";
    } else if (keyword == "login") {
      ok = args.size() == 1 || args.size() == 2;
      if (ok) scenario.logins.push_back({args[0], args.size() == 2 ? args[1] : std::string()});
    } else if (keyword == "phonebook") {
      ok = !rest.empty();
      if (ok) scenario.phonebook = rest;
    } else if (keyword == "dial") {
      ok = !args.empty();
      DialOutcome outcome;
      size_t i = 1;
      if (ok) {
        const std::string what = Lower(args[0]);
        if (what == "connect") {
          if (i < args.size() && ParseNumber(args[i], outcome.bps)) ++i;
        } else if (what == "reject") {
          ok = i < args.size() && ParseNumber(args[i], outcome.error) && outcome.error != 0;
          ++i;
          outcome.atOnce = true;
        } else if (what == "error") {
          ok = i < args.size() && ParseNumber(args[i], outcome.error) && outcome.error != 0;
          ++i;
          outcome.failState = 2;
          if (ok && i + 1 < args.size() && Lower(args[i]) == "at") {
            ok = ParseNumber(args[i + 1], outcome.failState);
            i += 2;
          }
        } else {
          ok = false;
          for (const NamedFailure& failure : kFailures) {
            if (what == failure.word) {
              outcome.error = failure.error;
              outcome.failState = failure.state;
              ok = true;
            }
          }
        }
      }
      for (; ok && i < args.size(); i += 2) {
        const std::string option = Lower(args[i]);
        const std::string value = i + 1 < args.size() ? args[i + 1] : std::string();
        if (option == "silent") {
          outcome.silent = true;
          --i;  // takes no value
        } else if (option == "drop-after") {
          ok = ParseSeconds(value, outcome.dropAfterMs) && outcome.error == 0;
        } else if (option == "rx") {
          ok = ParseNumber(value, outcome.rxPerSecond);
        } else if (option == "tx") {
          ok = ParseNumber(value, outcome.txPerSecond);
        } else if (option == "quiet-after") {
          ok = ParseSeconds(value, outcome.quietAfterMs) && outcome.error == 0;
        } else if (option == "ring") {
          ok = ParseSeconds(value, outcome.ringMs);
        } else {
          ok = false;
        }
      }
      if (ok) scenario.dials.push_back(outcome);
    } else {
      ok = false;
    }
    if (!ok) scenario.problems.push_back("line " + std::to_string(number) + ": " + line);
  }
  return scenario;
}

}  // namespace standin
