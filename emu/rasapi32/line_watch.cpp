// One named event per watched line, in the session's namespace, so that a
// hang-up or a drop from another process (rasctl) reaches the watch too.
#include "line_watch.h"

#include <cstdio>

namespace standin {

namespace {

void EventName(uint64_t handle, char (&name)[64]) {
  std::snprintf(name, sizeof name, "Local\\CorvaneRasStandin.Line.%llx", static_cast<unsigned long long>(handle));
}

}  // namespace

LineWatchEvent OpenLineWatch(uint64_t handle) {
  char name[64];
  EventName(handle, name);
  return LineWatchEvent(CreateEventA(nullptr, FALSE, FALSE, name));
}

void WakeLineWatch(uint64_t handle) {
  char name[64];
  EventName(handle, name);
  const LineWatchEvent event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name));
  if (event != nullptr) SetEvent(event.get());
}

}  // namespace standin
