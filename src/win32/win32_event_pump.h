// EventPumpPort over the UI thread's message loop.
#pragma once

#include "system/event_pump_port.h"
#include "win32/message_loop.h"

namespace corvane {

class Win32EventPump : public EventPumpPort {
 public:
  explicit Win32EventPump(MessageLoop& loop) : loop_(loop) {}
  void DoEvents() override { loop_.DispatchWaiting(); }
  void WaitForEvents(unsigned milliseconds) override { loop_.WaitAndDispatch(milliseconds); }
  void Pause() override { Sleep(kPauseMilliseconds); }

 private:
  // Long enough that polling loops built on Pause never spin a processor.
  static constexpr DWORD kPauseMilliseconds = 10;
  MessageLoop& loop_;
};

}  // namespace corvane
