// One binding per control of a bound form: the part of the binder that knows
// one kind of control (how its properties reach the real control, what its
// notifications mean). The form binder keeps what every control shares
// (bounds, visibility, enabled state, tooltip, focus, colours, font) and the
// window procedure, and hands each control's own messages to its binding.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "forms/controls.h"

namespace corvane {

// What a binding may ask of the binder that owns it.
class BindingHost {
 public:
  virtual ~BindingHost() = default;
  virtual HWND Window() const = 0;
  virtual UINT Dpi() const = 0;
  virtual int ToPixels(int twips) const = 0;
  // The program's icon resource `number` at `size` pixels, owned by the binder.
  virtual HICON Icon(int number, int size) = 0;

  // True while the binder itself changes a control: what the control then
  // reports is an echo of the model, not the user.
  bool Pushing() const { return pushing_ > 0; }

  // Marks a push for its lifetime.
  class PushScope {
   public:
    explicit PushScope(BindingHost& host) : host_(host) { ++host_.pushing_; }
    ~PushScope() { --host_.pushing_; }
    PushScope(const PushScope&) = delete;
    PushScope& operator=(const PushScope&) = delete;

   private:
    BindingHost& host_;
  };

 private:
  int pushing_ = 0;
};

class ControlBinding {
 public:
  ControlBinding(forms::Control& control, BindingHost& host) : control_(control), host_(host) {}
  virtual ~ControlBinding() = default;
  ControlBinding(const ControlBinding&) = delete;
  ControlBinding& operator=(const ControlBinding&) = delete;

  forms::Control& Control() const { return control_; }
  // The real control, or null when the template has none (a frame that is a
  // container in the model only, a timer, a menu item).
  HWND Item() const { return GetDlgItem(host_.Window(), control_.Id()); }

  // False for the kinds without a control window of their own (timers, menu
  // items): the binder then leaves every property to the binding.
  virtual bool Windowed() const { return true; }
  // Pushes the kind's own properties of the whole model (at creation).
  virtual void PushAll() {}
  // Pushes one property the binder does not push itself.
  virtual void Push(forms::Prop /*property*/) {}
  // Adds to the real list the items appended to the model since it was last
  // in step (the binder collects appends while a user event runs).
  virtual void AppendItems() {}
  // Height added to the model's for the real control, pixels (a drop-down
  // combo box is sized with its list).
  virtual int ExtraHeight() const { return 0; }

  // A WM_COMMAND notification `code` from the real control, not an echo.
  virtual void OnCommand(int /*code*/) {}
  // The control's menu command was chosen (a menu item).
  virtual void OnMenuCommand() {}
  // A WM_NOTIFY from the real control; true when handled, `result` then
  // being the answer.
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // A WM_VSCROLL from the real control, with its request code.
  virtual void OnScroll(int /*code*/) {}
  virtual void OnTimer() {}
  // Draws into `dc` of `window` what this control shows under the controls
  // placed on it (a tab strip: its page), clipped to where it lies below
  // `window`'s client area; nothing for the other kinds.
  virtual void PaintUnder(HDC /*dc*/, HWND /*window*/) {}
  // The window moved to a monitor of another DPI: re-push what depends on it.
  virtual void OnDpiChanged() {}
  // The window is being destroyed.
  virtual void OnDestroy() {}

 protected:
  BindingHost& Host() const { return host_; }
  // Sets the real control's text as a push.
  void SetItemText(const std::string& text);
  // The real control's text, "" without one.
  std::string ItemText() const;

 private:
  forms::Control& control_;
  BindingHost& host_;
};

// The binding of `control`'s kind: the one place that maps kinds to classes.
std::unique_ptr<ControlBinding> MakeBinding(forms::Control& control, BindingHost& host);

}  // namespace corvane
