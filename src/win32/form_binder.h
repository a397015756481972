// Connects a form model to a real modeless dialog made from the form's
// resource template: pushes model changes to the controls (text, visibility,
// enabled state, geometry in twips at the window's DPI, items, pictures,
// timers, tooltips) and turns notifications back into model updates and
// handler calls, without echoing its own pushes back as user events.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>

#include "forms/form.h"
#include "win32/message_loop.h"

namespace corvane {

class FormBinder : public forms::FormObserver {
 public:
  FormBinder(forms::Form& form, HINSTANCE instance, MessageLoop& loop);
  ~FormBinder() override;
  FormBinder(const FormBinder&) = delete;
  FormBinder& operator=(const FormBinder&) = delete;

  // Creates the window, hidden, and pushes the whole model onto it.
  bool Create();
  HWND Window() const { return window_; }

  // Called once the window is gone (after the form unloaded).
  std::function<void()> Destroyed;

  void ControlChanged(forms::Control& control, forms::Prop property) override;
  void FormChanged(forms::FormProp property) override;
  void PopupMenu(forms::MenuItem& menu) override;
  void Call(forms::WindowCall call) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  void DispatchCommand(int id, int code, HWND control);

  void PushAll();
  void PushGeometry();
  void PushControlBounds(forms::Control& control);
  void PushVisible(forms::Control& control);
  void PushText(forms::Control& control);
  void PushItems(forms::ComboBox& combo);
  void AppendItems(forms::ComboBox& combo);
  void FlushAppendedItems();
  void PushPicture(forms::Image& image);
  void PushButtonPicture(forms::CommandButton& button);
  void PushTimer(forms::Timer& timer);
  void PushToolTip(forms::Control& control);
  void PushWindowIcon();
  void PushWindowState();

  int ToPixels(int twips) const;
  HICON Icon(int number, int size);
  HWND Item(const forms::Control& control) const { return GetDlgItem(window_, control.Id()); }

  forms::Form& form_;
  HINSTANCE instance_;
  MessageLoop& loop_;
  HWND window_ = nullptr;
  HWND toolTip_ = nullptr;
  UINT dpi_ = 96;
  int pushing_ = 0;
  // While a user event's handler runs, appended list items are collected
  // and added in one go afterwards, with drawing switched off.
  int dispatching_ = 0;
  std::set<forms::ComboBox*> appended_;
  std::map<std::pair<int, int>, HICON> icons_;
};

}  // namespace corvane
