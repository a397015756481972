// Win32Clock.
#include "win32/win32_clock.h"

#include <windows.h>

#include <cstdint>

namespace corvane {

double Win32Clock::SecondsSinceMidnight() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

CalendarDate Win32Clock::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth};
}

// One reading of the UTC clock, turned local: the offset is the difference
// of the two, so it always belongs to the moment shown.
LocalDateTime Win32Clock::Now() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME parts;
  FileTimeToSystemTime(&local, &parts);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  };
  constexpr int64_t kTicksPerMinute = 600000000;
  const int64_t offset = ticks(local) - ticks(utc);
  return {parts.wYear,   parts.wMonth,  parts.wDay, parts.wHour, parts.wMinute, parts.wSecond,
          static_cast<int>((offset + (offset >= 0 ? kTicksPerMinute / 2 : -kTicksPerMinute / 2)) / kTicksPerMinute)};
}

LocalDateTime Win32Clock::LocalTimeAt(int64_t utcSeconds) {
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  const auto ticks = static_cast<uint64_t>((utcSeconds + kSecondsFrom1601To1970) * kTicksPerSecond);
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utcParts, local;
  FileTimeToSystemTime(&utc, &utcParts);
  // The zone's rules for that date, not today's offset.
  SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &local);
  FILETIME localTime;
  SystemTimeToFileTime(&local, &localTime);
  const int64_t localTicks =
      static_cast<int64_t>((static_cast<uint64_t>(localTime.dwHighDateTime) << 32) | localTime.dwLowDateTime);
  const int64_t offsetSeconds = localTicks / kTicksPerSecond - static_cast<int64_t>(ticks) / kTicksPerSecond;
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
          static_cast<int>(offsetSeconds / 60)};
}

std::string Win32Clock::MonthName(int month) {
  if (month < 1 || month > 12) return {};
  char name[80] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month - 1), name, sizeof name);
  return name;
}

double Win32Clock::MonotonicSeconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace corvane
