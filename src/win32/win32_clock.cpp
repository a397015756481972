// Win32Clock.
#include "win32/win32_clock.h"

#include <windows.h>

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
