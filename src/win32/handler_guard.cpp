// Reporting what the entry points of the program caught.
#include "win32/handler_guard.h"

#include <windows.h>

#include <string>

namespace corvane {

void ReportHandlerFailure(const HandlerFailure& failure, const HandlerFailureSink& sink) noexcept {
  // Without allocating: memory may be what ran out.
  OutputDebugStringA("Corvane: caught in the ");
  OutputDebugStringA(failure.where);
  OutputDebugStringA(": ");
  OutputDebugStringA(failure.what);
  OutputDebugStringA("\n");
  if (!sink) return;
  try {
    sink(failure);
  } catch (...) {
    OutputDebugStringA("Corvane: the failure could not be recorded\n");
  }
}

std::string HandlerFailureText(const HandlerFailure& failure) {
  std::string text = "Program error in ";
  text += failure.where;
  text += ": ";
  text += failure.outOfMemory ? "out of memory" : failure.what;
  text += ". The action was left unfinished; Corvane goes on.";
  return text;
}

}  // namespace corvane
