// A window as a model: caption, visibility, state, icon, size in twips, its
// controls and menus, and the handlers the window raises. The binder of the
// Win32 layer (the observer) mirrors it onto a real window; tests drive it
// directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/controls.h"

namespace corvane::forms {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Why a form is being unloaded, as its QueryUnload handler is told.
inline constexpr int16_t kUnloadControlMenu = 0;  // the user closed it from its close box
inline constexpr int16_t kUnloadFormCode = 1;     // the program unloaded it
inline constexpr int16_t kUnloadAppWindows = 2;   // Windows is shutting down or logging off

enum class FormProp { Caption, Visible, WindowState, Icon, Bounds, Loaded };

// Window operations that have no lasting property in the model.
enum class WindowCall { MakeTopmost, MakeNotTopmost, SetForeground, SetFocus, Refresh };

class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void ControlChanged(Control& control, Prop property) = 0;
  virtual void FormChanged(FormProp property) = 0;
  // Opens `menu` as a pop-up menu at the cursor and returns when it closes.
  virtual void PopupMenu(MenuItem& menu) = 0;
  virtual void Call(WindowCall call) = 0;
};

class Form {
 public:
  // `templateId` names the window's resource template.
  Form(std::string name, int templateId);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  int TemplateId() const { return templateId_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  bool Visible() const { return visible_; }
  void Show();
  void Hide();

  WindowState State() const { return state_; }
  void SetWindowState(WindowState state);

  // Icon resource number shown in the caption and task bar.
  int Icon() const { return icon_; }
  void SetIcon(int iconNumber);

  // Outer size and position, twips.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);
  void SetHeight(int height) { Move(left_, top_, width_, height); }

  // Inner (client) size, twips, as the binder last reported it; 0 before
  // the window exists.
  int ScaleWidth() const { return scaleWidth_; }
  int ScaleHeight() const { return scaleHeight_; }
  // The window's inner size became `scaleWidth` x `scaleHeight` twips
  // (shown, resized by the user or the program): stores it and runs
  // Form_Resize. The binder does not report it while the window is minimized.
  void OnResized(int scaleWidth, int scaleHeight);

  // Screen twips per pixel, set by the binder (15 at 96 DPI).
  float TwipsPerPixel() const { return twipsPerPixel_; }
  void SetTwipsPerPixel(float value) { twipsPerPixel_ = value; }

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* FindControl(int id) const;
  Control* ActiveControl() const { return activeControl_; }
  void SetActiveControl(Control* control) { activeControl_ = control; }

  bool Loaded() const { return loaded_; }
  // Runs Form_Load once.
  void Load();
  // Asks Form_QueryUnload, then runs Form_Unload; true when the form is gone.
  bool Unload(int16_t unloadMode = kUnloadFormCode);

  void PopupMenu(MenuItem& menu);
  void SetTopmost(bool topmost);
  void SetForeground();
  // Gives the window the input focus.
  void SetFocus();
  void Refresh();

  // The real window's handle as a number, for services that post messages
  // to it; 0 while the form has no window.
  uintptr_t WindowHandle() const { return windowHandle_; }
  void SetWindowHandle(uintptr_t handle) { windowHandle_ = handle; }

  void Attach(FormObserver* observer) { observer_ = observer; }
  void ControlChanged(Control& control, Prop property);

  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int16_t& /*cancel*/, int16_t /*unloadMode*/) {}
  virtual void Form_Unload(int16_t& /*cancel*/) {}
  virtual void Form_Resize() {}
  virtual void Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  // Every window message the binder does not handle itself passes here
  // first, as through a subclassed window procedure.
  virtual void Form_WindowMessage(uint32_t /*message*/, uintptr_t /*wParam*/, intptr_t /*lParam*/) {}

 protected:
  // Makes `control` part of this form; call for every control and menu item.
  void Register(Control& control);

 private:
  void Changed(FormProp property);

  std::string name_;
  int templateId_;
  std::string caption_;
  bool visible_ = false;
  WindowState state_ = WindowState::Normal;
  int icon_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int scaleWidth_ = 0, scaleHeight_ = 0;
  float twipsPerPixel_ = 15.0f;
  uintptr_t windowHandle_ = 0;
  std::vector<Control*> controls_;
  Control* activeControl_ = nullptr;
  bool loaded_ = false;
  bool unloading_ = false;
  FormObserver* observer_ = nullptr;
};

}  // namespace corvane::forms
