// The running program's state as text, as JSON, as an exit code, and on the
// channel between the two programs.
#include "app/line_status.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include "stats/duration_text.h"

namespace corvane {

namespace {

constexpr std::pair<LineState, const char*> kStateNames[] = {
    {LineState::NotRunning, "not running"},
    {LineState::Starting, "starting"},
    {LineState::Dialling, "dialling"},
    {LineState::Redialling, "redialling"},
    {LineState::Connected, "connected"},
    {LineState::WaitingToReconnect, "waiting to reconnect"},
    {LineState::Ended, "ended"},
};

bool HasCountdown(LineState state) {
  return state == LineState::Redialling || state == LineState::WaitingToReconnect;
}

bool HasEntry(const LineStatus& status) {
  return status.State != LineState::NotRunning && !status.Entry.empty();
}

std::string JsonText(const std::string& text) {
  std::string result = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      result += '\\';
      result += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      result += escaped;
    } else {
      result += c;
    }
  }
  return result + "\"";
}

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string LineStateName(LineState state) {
  for (const auto& [known, name] : kStateNames) {
    if (known == state) return name;
  }
  return {};
}

int StatusExitCode(LineState state) { return state == LineState::Connected ? 0 : 1; }

std::string StatusText(const LineStatus& status) {
  std::string text;
  const auto line = [&text](const char* name, const std::string& value) { text += name + (": " + value) + "\r\n"; };
  line("State", LineStateName(status.State));
  if (!HasEntry(status)) return text;
  line("Entry", status.Entry);
  if (status.State == LineState::Redialling) line("Redial in", std::to_string(status.Countdown));
  if (status.State == LineState::WaitingToReconnect) line("Reconnect in", std::to_string(status.Countdown));
  if (status.State == LineState::Connected) {
    line("Connected at", ClockText(status.ConnectedAt));
    line("Seconds online", std::to_string(status.SecondsOnline));
    line("Speed", std::to_string(status.Speed));
    line("Bytes sent", std::to_string(status.BytesSent));
    line("Bytes received", std::to_string(status.BytesReceived));
  }
  line("Month total", ClockText(status.MonthSeconds));
  if (!status.AllowanceLeft.empty()) line("Allowance left", status.AllowanceLeft);
  return text;
}

std::string StatusJson(const LineStatus& status) {
  const bool entry = HasEntry(status);
  const bool connected = status.State == LineState::Connected;
  const auto number = [](bool known, auto value) { return known ? std::to_string(value) : std::string("null"); };
  std::string json = "{\"state\":" + JsonText(LineStateName(status.State));
  json += ",\"entry\":" + (entry ? JsonText(status.Entry) : std::string("null"));
  json += ",\"countdown\":" + number(entry && HasCountdown(status.State), status.Countdown);
  json += ",\"connectedAt\":" + (connected && entry ? JsonText(ClockText(status.ConnectedAt)) : std::string("null"));
  json += ",\"secondsOnline\":" + number(connected && entry, status.SecondsOnline);
  json += ",\"speed\":" + number(connected && entry, status.Speed);
  json += ",\"bytesSent\":" + number(connected && entry, status.BytesSent);
  json += ",\"bytesReceived\":" + number(connected && entry, status.BytesReceived);
  json += ",\"monthSeconds\":" + number(entry, status.MonthSeconds);
  json += ",\"allowanceLeft\":" +
          (entry && !status.AllowanceLeft.empty() ? JsonText(status.AllowanceLeft) : std::string("null"));
  return json + "}\r\n";
}

std::string EncodeStatus(const LineStatus& status) {
  std::string text;
  const auto field = [&text](const char* key, const std::string& value) { text += key + ("=" + value) + "\n"; };
  field("state", LineStateName(status.State));
  field("entry", status.Entry);
  field("countdown", std::to_string(status.Countdown));
  field("connectedAt", std::to_string(status.ConnectedAt));
  field("secondsOnline", std::to_string(status.SecondsOnline));
  field("speed", std::to_string(status.Speed));
  field("bytesSent", std::to_string(status.BytesSent));
  field("bytesReceived", std::to_string(status.BytesReceived));
  field("monthSeconds", std::to_string(status.MonthSeconds));
  field("allowanceLeft", status.AllowanceLeft);
  field("processId", std::to_string(status.ProcessId));
  return text;
}

std::optional<LineStatus> DecodeStatus(const std::string& text) {
  LineStatus status;
  bool stateFound = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    bool good = true;
    if (key == "state") {
      good = false;
      for (const auto& [state, name] : kStateNames) {
        if (value == name) {
          status.State = state;
          good = stateFound = true;
        }
      }
    } else if (key == "entry") {
      status.Entry = value;
    } else if (key == "countdown") {
      good = ReadNumber(value, status.Countdown);
    } else if (key == "connectedAt") {
      good = ReadNumber(value, status.ConnectedAt);
    } else if (key == "secondsOnline") {
      good = ReadNumber(value, status.SecondsOnline);
    } else if (key == "speed") {
      good = ReadNumber(value, status.Speed);
    } else if (key == "bytesSent") {
      good = ReadNumber(value, status.BytesSent);
    } else if (key == "bytesReceived") {
      good = ReadNumber(value, status.BytesReceived);
    } else if (key == "monthSeconds") {
      good = ReadNumber(value, status.MonthSeconds);
    } else if (key == "allowanceLeft") {
      status.AllowanceLeft = value;
    } else if (key == "processId") {
      good = ReadNumber(value, status.ProcessId);
    }
    if (!good) return std::nullopt;
  }
  if (!stateFound) return std::nullopt;
  return status;
}

}  // namespace corvane
