// The connection record's texts: its row in the log file, times and end names.
#include "stats/connection_record.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

#include "stats/csv_fields.h"
#include "stats/money_text.h"

namespace corvane {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr size_t kMaxCostDecimals = 4;

struct EndName {
  ConnectionEnd End;
  const char* Name;
};

constexpr std::array<EndName, 9> kEndNames{{
    {ConnectionEnd::User, "User"},
    {ConnectionEnd::AgeLimit, "Age limit"},
    {ConnectionEnd::LineDropped, "Line dropped"},
    {ConnectionEnd::NewNumber, "New number"},
    {ConnectionEnd::MonitoringOff, "Monitoring off"},
    {ConnectionEnd::Shutdown, "Windows shutdown"},
    {ConnectionEnd::ProgramStopped, "Program stopped"},
    {ConnectionEnd::Allowance, "Allowance"},
    {ConnectionEnd::Idle, "Idle"},
}};

enum Column { kStarted, kEnded, kDuration, kEntry, kNumber, kLogin, kSpeed, kSent, kReceived, kEndedBy, kBookedIn, kCost, kCurrency, kColumns };

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, LocalDateTime& moment) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  moment.Day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  moment.Month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  moment.Year = static_cast<int>(yearOfEra + era * 400 + (moment.Month <= 2 ? 1 : 0));
}

// A whole number of exactly `digits` digits at `at` of `text`, or -1.
int Digits(std::string_view text, size_t at, size_t digits) {
  if (at + digits > text.size()) return -1;
  int value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string MonthText(const CalendarDate& month) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", month.Year, month.Month);
  return text;
}

std::optional<CalendarDate> ParseMonth(std::string_view text) {
  if (text.size() != 7 || text[4] != '-') return std::nullopt;
  const int year = Digits(text, 0, 4);
  const int month = Digits(text, 5, 2);
  if (year < 0 || month < 1 || month > 12) return std::nullopt;
  return CalendarDate{year, month};
}

// "3.40": 340 minor units with 2 decimals; an empty cell is a call without
// a cost (a spreadsheet that saves the file fills the column of every row).
bool ParseCost(std::string_view field, ConnectionRecord& record) {
  if (field.empty()) return true;
  const size_t point = field.find('.');
  const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : field.substr(point + 1);
  if (fraction.size() > kMaxCostDecimals) return false;
  const std::optional<int64_t> cost =
      ParseAmount(field, static_cast<int>(fraction.size()), std::numeric_limits<int64_t>::max());
  if (!cost) return false;
  record.Cost = *cost;
  record.CostDecimals = static_cast<int>(fraction.size());
  return true;
}

}  // namespace

int DaysInMonth(int year, int month) {
  if (month == 12) return 31;
  return static_cast<int>(DaysFromCivil(year, month + 1, 1) - DaysFromCivil(year, month, 1));
}

const char* const kConnectionLogHeader =
    "Started,Ended,Duration (s),Entry,Number,Login,Speed (bps),Sent (bytes),Received (bytes),Ended by,Booked month,"
    "Cost,Currency";

const char* ConnectionEndName(ConnectionEnd end) {
  for (const EndName& name : kEndNames) {
    if (name.End == end) return name.Name;
  }
  return "";
}

std::string LocalDateTimeText(const LocalDateTime& moment) {
  const int offset = moment.UtcOffsetMinutes < 0 ? -moment.UtcOffsetMinutes : moment.UtcOffsetMinutes;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", moment.Year, moment.Month, moment.Day,
                moment.Hour, moment.Minute, moment.Second, moment.UtcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

std::optional<LocalDateTime> ParseLocalDateTime(std::string_view text) {
  // 2026-12-11T04:05:06+01:00
  if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || (text[19] != '+' && text[19] != '-') || text[22] != ':') {
    return std::nullopt;
  }
  LocalDateTime moment{Digits(text, 0, 4),  Digits(text, 5, 2),  Digits(text, 8, 2), Digits(text, 11, 2),
                       Digits(text, 14, 2), Digits(text, 17, 2), 0};
  const int offsetHours = Digits(text, 20, 2);
  const int offsetMinutes = Digits(text, 23, 2);
  if (moment.Year < 0 || moment.Month < 1 || moment.Month > 12 || moment.Day < 1 ||
      moment.Day > DaysInMonth(moment.Year, moment.Month) || moment.Hour < 0 || moment.Hour > 23 ||
      moment.Minute < 0 || moment.Minute > 59 || moment.Second < 0 || moment.Second > 59 || offsetHours < 0 ||
      offsetHours > 14 || offsetMinutes < 0 || offsetMinutes > 59) {
    return std::nullopt;
  }
  moment.UtcOffsetMinutes = (text[19] == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes);
  return moment;
}

int64_t UtcSeconds(const LocalDateTime& moment) {
  return DaysFromCivil(moment.Year, moment.Month, moment.Day) * kSecondsPerDay + moment.Hour * 3600 +
         moment.Minute * 60 + moment.Second - moment.UtcOffsetMinutes * 60;
}

LocalDateTime AddSeconds(const LocalDateTime& moment, int64_t seconds) {
  const int64_t total = DaysFromCivil(moment.Year, moment.Month, moment.Day) * kSecondsPerDay +
                        moment.Hour * 3600 + moment.Minute * 60 + moment.Second + seconds;
  int64_t days = total / kSecondsPerDay;
  int64_t inDay = total % kSecondsPerDay;
  if (inDay < 0) {
    inDay += kSecondsPerDay;
    --days;
  }
  LocalDateTime moved = moment;
  CivilFromDays(days, moved);
  moved.Hour = static_cast<int>(inDay / 3600);
  moved.Minute = static_cast<int>(inDay / 60 % 60);
  moved.Second = static_cast<int>(inDay % 60);
  return moved;
}

std::string ConnectionRow(const ConnectionRecord& record) {
  std::string row;
  const auto add = [&row](std::string_view field) {
    if (!row.empty()) row += ',';
    row += field;
  };
  add(LocalDateTimeText(record.Started));
  add(LocalDateTimeText(record.Ended));
  add(std::to_string(record.Seconds));
  add(CsvField(record.Entry));
  add(CsvField(record.Number));
  add(CsvField(record.Login));
  add(std::to_string(record.Speed));
  add(std::to_string(record.Sent));
  add(std::to_string(record.Received));
  add(ConnectionEndName(record.EndedBy));
  add(MonthText(record.BookedIn));
  if (record.Cost) {
    add(AmountText(*record.Cost, record.CostDecimals));
    add(CsvField(record.CostCurrency));
  }
  return row;
}

std::optional<ConnectionRecord> ParseConnectionRow(std::string_view row) {
  // Each field is taken as it is found: a long log makes no copies of them.
  ConnectionRecord record;
  int column = 0;
  const auto take = [&record, &column](std::string_view field) {
    switch (column++) {
      case kStarted:
      case kEnded: {
        const auto moment = ParseLocalDateTime(field);
        if (moment) (column - 1 == kStarted ? record.Started : record.Ended) = *moment;
        return moment.has_value();
      }
      case kDuration:
        return ParseNumber(field, record.Seconds) && record.Seconds >= 0;
      case kEntry:
        record.Entry = field;
        return true;
      case kNumber:
        record.Number = field;
        return true;
      case kLogin:
        record.Login = field;
        return true;
      case kSpeed:
        return ParseNumber(field, record.Speed);
      case kSent:
        return ParseNumber(field, record.Sent);
      case kReceived:
        return ParseNumber(field, record.Received);
      case kEndedBy:
        for (const EndName& name : kEndNames) {
          if (field != name.Name) continue;
          record.EndedBy = name.End;
          return true;
        }
        return false;
      case kBookedIn: {
        const auto month = ParseMonth(field);
        if (month) record.BookedIn = *month;
        return month.has_value();
      }
      case kCost:
        return ParseCost(field, record);
      case kCurrency:
        record.CostCurrency = field;
        return true;
      default:  // more fields than columns
        return false;
    }
  };
  if (!ForEachCsvField(row, take) || (column != kCost && column != kColumns)) return std::nullopt;
  return record;
}

}  // namespace corvane
