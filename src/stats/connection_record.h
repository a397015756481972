// One record of the connection log: a connection the program timed, from
// its start to its end, with the seconds booked for it, what it dialled,
// its traffic and how it ended; and its row in the log file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "system/clock_port.h"

namespace corvane {

// How a connection ended. Stored by name (ConnectionEndName), never by number.
enum class ConnectionEnd {
  User,            // Disconnect, or the program's exit
  AgeLimit,        // the entry's auto-disconnect age
  LineDropped,     // the line went without the program
  NewNumber,       // hung up to dial a new number from the number file
  MonitoringOff,   // the entry's online-time monitoring was switched off
  Shutdown,        // Windows ended the session
  ProgramStopped,  // the program ended unexpectedly; written at its next start
  Allowance,       // the entry's monthly allowance was used up
  Idle,            // nothing worth the name crossed the line for the entry's idle minutes
};

struct ConnectionRecord {
  std::string Entry;
  LocalDateTime Started;
  LocalDateTime Ended;
  int64_t Seconds = 0;  // the whole seconds booked into the online-time account
  std::string Number;
  std::string Login;
  uint32_t Speed = 0;  // bits per second at connect
  uint64_t Sent = 0;
  uint64_t Received = 0;
  ConnectionEnd EndedBy = ConnectionEnd::User;
  // The month the account booked the seconds into: the month of the
  // booking, which for a line over a month end is the month it ended in.
  CalendarDate BookedIn;
  // What the call cost under its entry's tariff, in minor units with
  // `CostDecimals` decimals, and the tariff's currency; none for an entry
  // without a tariff and for every row written before calls had a cost.
  std::optional<int64_t> Cost;
  int CostDecimals = 0;
  std::string CostCurrency;
};

// The file's header row. Rows carry no line break of their own: the log
// writes one before each, so a row torn by a power cut ends its line
// unfinished and the next record still starts a line of its own.
extern const char* const kConnectionLogHeader;

// "User", "Age limit", ... as the file and the window show them.
const char* ConnectionEndName(ConnectionEnd end);

// "2026-12-11T04:05:06+01:00" (ISO 8601); and back, nullopt for anything else.
std::string LocalDateTimeText(const LocalDateTime& moment);
std::optional<LocalDateTime> ParseLocalDateTime(std::string_view text);

// Seconds since 1970-01-01 UTC of `moment`: moments with different offsets
// (a line over a daylight-saving change) compare as they happened.
int64_t UtcSeconds(const LocalDateTime& moment);

// `moment` moved by `seconds` along its own clock, keeping its UTC offset.
LocalDateTime AddSeconds(const LocalDateTime& moment, int64_t seconds);
// The days of `month` (1..12) of `year`.
int DaysInMonth(int year, int month);

// The record as one CSV row (RFC 4180 quoting), no line break. Texts are
// written as they are: the caller gives them in the file's encoding. The
// cost and its currency are the last two columns, written only for a call
// that has a cost ("3.40,EUR"), so a row without one is the row it always
// was. A row with only one of them is torn, never read as a cost.
std::string ConnectionRow(const ConnectionRecord& record);

// The record a row holds, with or without its cost column; nullopt for a
// row that is not a whole record (a torn last line, a header, damage).
std::optional<ConnectionRecord> ParseConnectionRow(std::string_view row);

}  // namespace corvane
