// Timers: a window timer with the control's id, running while the model's
// timer is enabled with an interval.
#include "win32/bindings/kind_bindings.h"

namespace corvane {

namespace {

class TimerBinding : public ControlBinding {
 public:
  TimerBinding(forms::Timer& timer, BindingHost& host) : ControlBinding(timer, host), timer_(timer) {}

  bool Windowed() const override { return false; }
  void PushAll() override { PushTimer(); }
  void Push(forms::Prop property) override {
    if (property == forms::Prop::Enabled || property == forms::Prop::Timer) PushTimer();
  }
  void OnTimer() override {
    if (timer_.Enabled()) timer_.OnTick();
  }
  void OnDestroy() override { KillTimer(Host().Window(), Id()); }

 private:
  UINT_PTR Id() const { return static_cast<UINT_PTR>(timer_.Id()); }
  void PushTimer() {
    if (timer_.Enabled() && timer_.Interval() > 0) {
      SetTimer(Host().Window(), Id(), static_cast<UINT>(timer_.Interval()), nullptr);
    } else {
      KillTimer(Host().Window(), Id());
    }
  }

  forms::Timer& timer_;
};

}  // namespace

std::unique_ptr<ControlBinding> BindTimer(forms::Timer& timer, BindingHost& host) {
  return std::make_unique<TimerBinding>(timer, host);
}

}  // namespace corvane
