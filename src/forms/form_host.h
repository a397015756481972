// Showing a window other than the main one: modal (the caller waits for the
// answer) or modeless. The Win32 layer creates the real window; tests use a
// fake that decides what the modal window answers.
#pragma once

#include "forms/form.h"

namespace corvane::forms {

class FormHost {
 public:
  virtual ~FormHost() = default;

  // Loads `form` (Form_Load runs), shows it above the main window with the
  // main window disabled, and returns once the form is unloaded, by its own
  // handler or by its close box. A form that is already loaded is left as it
  // is and the call returns at once.
  virtual void ShowModal(Form& form) = 0;

  // Loads and shows `form` and returns at once; the window lives until the
  // form is unloaded. Showing a form that is already shown only raises it.
  virtual void ShowModeless(Form& form) = 0;

  // As ShowModal, but above `owner`, a window shown through this host, which
  // is the one disabled: the main window stays usable. Falls back to
  // ShowModal when `owner` has no window.
  virtual void ShowModalOver(Form& form, const Form& owner) = 0;

  // As ShowModeless, but owned by `owner`: the window stays above it and is
  // destroyed with it.
  virtual void ShowModelessOver(Form& form, const Form& owner) = 0;
};

}  // namespace corvane::forms
