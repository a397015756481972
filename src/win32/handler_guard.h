// Where the system calls into the program (a window or dialog procedure, a
// thread's start routine): whatever the program's code throws there is
// caught, told to a sink, and goes no further. An exception cannot unwind
// through the system's own frames; it would end the process, and with it a
// running line that has not been booked. Instead the message is answered as
// unhandled and the program goes on.
#pragma once

#include <exception>
#include <functional>
#include <new>
#include <string>

namespace corvane {

// What was caught. Both texts live only while the sink runs.
struct HandlerFailure {
  const char* where;  // whose handler failed: a form's name, "tray icon", ...
  const char* what;   // the exception's own text
  bool outOfMemory;   // a std::bad_alloc
};

// Records a failure somewhere the user can find it. It may throw or fail
// itself: the failure is then left to the debugger's output alone.
using HandlerFailureSink = std::function<void(const HandlerFailure&)>;

// Gives `failure` to the debugger's output and to `sink` (when set);
// never throws.
void ReportHandlerFailure(const HandlerFailure& failure, const HandlerFailureSink& sink) noexcept;

// The line the program records for `failure`.
std::string HandlerFailureText(const HandlerFailure& failure);

// Runs `body`; true when it returned, false when it threw (the failure then
// reported to `sink` as caught at `where`).
template <class Body>
bool RunGuarded(const char* where, const HandlerFailureSink& sink, Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (const std::bad_alloc& failure) {
    ReportHandlerFailure({where, failure.what(), true}, sink);
  } catch (const std::exception& failure) {
    ReportHandlerFailure({where, failure.what(), false}, sink);
  } catch (...) {
    ReportHandlerFailure({where, "an exception of no standard type", false}, sink);
  }
  return false;
}

}  // namespace corvane
