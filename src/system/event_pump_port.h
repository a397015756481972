// Letting pending window events run during a long wait on the UI thread,
// without spinning the processor.
#pragma once

namespace corvane {

class EventPumpPort {
 public:
  virtual ~EventPumpPort() = default;

  // Runs every window event that is already waiting, then returns.
  virtual void DoEvents() = 0;

  // Sleeps until a window event arrives or `milliseconds` pass, then runs
  // the waiting events.
  virtual void WaitForEvents(unsigned milliseconds) = 0;

  // Gives the processor away for a few milliseconds; runs no events.
  virtual void Pause() = 0;
};

}  // namespace corvane
