// FormHost over FormBinder: every form shown gets a real dialog made from its
// resource template, kept until the form unloads. A modal form disables its
// owner (the dialer window, or the modal window below it) and runs the shared
// message loop until it is unloaded.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "forms/form_host.h"
#include "win32/form_binder.h"
#include "win32/handler_guard.h"
#include "win32/message_loop.h"

namespace corvane {

class Win32FormHost : public forms::FormHost {
 public:
  Win32FormHost(HINSTANCE instance, MessageLoop& loop) : instance_(instance), loop_(loop) {}
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  // The window that modal forms belong to and disable while they are open.
  void SetOwner(HWND owner) { owner_ = owner; }

  // Told what a handler of a form shown here threw; given to each form's
  // binder as it is made.
  HandlerFailureSink HandlerFailed;

  // Returns when the form is unloaded: by its own handlers, its close box,
  // its window being destroyed with its owner, or a WM_QUIT arriving (then
  // the form is unloaded as if Windows were closing it, and the quit stays
  // queued for the main loop).
  void ShowModal(forms::Form& form) override;
  void ShowModeless(forms::Form& form) override;
  void ShowModalOver(forms::Form& form, const forms::Form& owner) override;
  void ShowModelessOver(forms::Form& form, const forms::Form& owner) override;

  // Destroys every window still open and forgets every form; call before
  // the forms shown here are destroyed (the destructor does it too).
  void ReleaseAll();

  // The real window of a form shown through this host; null when it has none.
  HWND WindowOf(const forms::Form& form) const;

 private:
  FormBinder* Bind(forms::Form& form);
  // Shows a modal form above `owner` (null: the innermost modal window, or
  // the main window) with that owner disabled.
  void ShowModalAbove(forms::Form& form, HWND owner);
  // Shows a modal form and lets the messages run until it is unloaded.
  void RunModal(forms::Form& form, HWND window);

  HINSTANCE instance_;
  MessageLoop& loop_;
  HWND owner_ = nullptr;
  std::map<const forms::Form*, std::unique_ptr<FormBinder>> live_;
  // Binders whose window is gone. One may be running its own window
  // procedure still, so each is freed only when its form is shown again (or
  // with the host).
  std::map<const forms::Form*, std::unique_ptr<FormBinder>> finished_;
  // Windows of the modal forms now open, innermost last.
  std::vector<HWND> modal_;
};

}  // namespace corvane
