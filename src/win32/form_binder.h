// Connects a form model to a real modeless dialog made from the form's
// resource template. Each control gets the binding of its kind
// (win32/bindings/), which pushes its own properties and turns its own
// notifications into model updates and handler calls; the binder keeps the
// window procedure and what all controls share: geometry in twips at the
// window's DPI (reaching everything inside a frame or tab strip), visibility,
// enabled state, tooltips, focus, colours (WM_CTLCOLOR*), fonts and mouse
// moves. Its own pushes are never echoed back as user events.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "forms/form.h"
#include "win32/bindings/control_binding.h"
#include "win32/handler_guard.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"

namespace corvane {

class FormBinder : public forms::FormObserver, private BindingHost {
 public:
  FormBinder(forms::Form& form, HINSTANCE instance, MessageLoop& loop);
  ~FormBinder() override;
  FormBinder(const FormBinder&) = delete;
  FormBinder& operator=(const FormBinder&) = delete;

  // Creates the window, hidden, and pushes the whole model onto it.
  bool Create();
  HWND Window() const override { return window_; }

  // Called once the window is gone (after the form unloaded).
  std::function<void()> Destroyed;
  // Told what a handler threw; the window goes on answering.
  HandlerFailureSink HandlerFailed;

  void ControlChanged(forms::Control& control, forms::Prop property) override;
  void FormChanged(forms::FormProp property) override;
  void PopupMenu(forms::MenuItem& menu) override;
  void Call(forms::WindowCall call) override;

 private:
  // Counts the user events being dispatched; list items appended meanwhile
  // are added in one go when the outermost one ends.
  class DispatchScope {
   public:
    explicit DispatchScope(FormBinder& binder);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    FormBinder& binder_;
  };

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                      DWORD_PTR binding);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND item);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  void OnScroll(int code, HWND item);
  INT_PTR OnControlColor(UINT message, HDC dc, HWND item);
  // The binding of the tab strip whose page `control` is on, or null.
  ControlBinding* PageOwnerOf(const forms::Control& control) const;
  // Has every tab strip draw its page into `dc` of the dialog.
  void PaintPages(HDC dc);
  void OnControlMouseMove(ControlBinding& binding, HWND item, WPARAM wParam, LPARAM lParam);
  void OnSize(WPARAM kind);

  ControlBinding* BindingOf(const forms::Control& control) const;
  // The binding of the real control `item`, when it is one of this form's.
  ControlBinding* BindingOfItem(HWND item) const;

  void PushAll();
  void StackContainers();
  void PushGeometry();
  void PushBounds(forms::Control& control);
  void PushVisible(forms::Control& control);
  void PushEnabled(forms::Control& control);
  void PushFont(forms::Control& control);
  void PushToolTip(forms::Control& control);
  void PushWindowIcon();
  void PushWindowState();
  void ReportInnerSize();
  // Runs `push` for `control` and every control inside it, however deep.
  void ForControlAndContents(forms::Control& control, const std::function<void(forms::Control&)>& push);
  void FlushAppendedItems();

  // BindingHost.
  UINT Dpi() const override { return dpi_; }
  int ToPixels(int twips) const override;
  HICON Icon(int number, int size) override;

  int ToTwips(int pixels) const;
  HBRUSH Brush(forms::Color color);
  HFONT Font(const forms::Font& font);

  forms::Form& form_;
  HINSTANCE instance_;
  MessageLoop& loop_;
  HWND window_ = nullptr;
  HWND toolTip_ = nullptr;
  UINT dpi_ = 96;
  std::map<const forms::Control*, std::unique_ptr<ControlBinding>> bindings_;
  int dispatching_ = 0;
  std::set<ControlBinding*> appended_;
  bool shown_ = false;
  // Owned GDI and icon handles, freed after the window that used them.
  std::map<std::pair<int, int>, UniqueIcon> icons_;
  std::map<COLORREF, UniqueBrush> brushes_;
  std::map<std::tuple<std::string, float, bool, UINT>, UniqueFont> fonts_;
};

}  // namespace corvane
