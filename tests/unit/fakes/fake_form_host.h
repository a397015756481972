// Shows forms without windows: records what was shown and how, and lets a
// test play the user of a modal window through `answer`, which runs while
// ShowModal waits (e.g. pressing a button, or the close box).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/form_host.h"

namespace corvane::testing {

class FakeFormHost : public forms::FormHost {
 public:
  struct Shown {
    std::string form;  // the form's name, e.g. "frmMessage"
    bool modal;
    std::string owner;  // the owning form's name; empty for the main window
  };

  void ShowModal(forms::Form& form) override { RunModal(form, nullptr); }
  void ShowModalOver(forms::Form& form, const forms::Form& owner) override { RunModal(form, &owner); }
  void ShowModelessOver(forms::Form& form, const forms::Form& owner) override {
    shown.push_back({form.Name(), false, owner.Name()});
    form.Show();
  }

  void RunModal(forms::Form& form, const forms::Form* owner) {
    if (form.Loaded()) return;
    shown.push_back({form.Name(), true, owner != nullptr ? owner->Name() : std::string()});
    form.Show();
    if (answer) answer(form);
    // ShowModal only returns once the window is gone: a window that `answer`
    // left open is closed with its close box.
    if (form.Loaded()) form.Unload(forms::kUnloadControlMenu);
  }

  void ShowModeless(forms::Form& form) override {
    shown.push_back({form.Name(), false, std::string()});
    form.Show();
  }

  // What the user does in a modal window; called with the shown form.
  std::function<void(forms::Form&)> answer;
  std::vector<Shown> shown;
};

}  // namespace corvane::testing
