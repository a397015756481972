// Win32FormHost.
#include "win32/win32_form_host.h"

namespace corvane {

namespace {

// How long one wait of the modal loop lasts before it looks again; it wakes
// at once for any message, so this only bounds a missed wake-up.
constexpr DWORD kModalWaitMs = 250;

// Sits between a modal form and its binder so that the owner is enabled
// again before the modal window disappears: Windows then hands the
// activation back to the owner instead of to some other program.
class ModalObserver : public forms::FormObserver {
 public:
  ModalObserver(forms::Form& form, FormBinder& binder, HWND owner, bool enableOwner)
      : form_(form), binder_(binder), owner_(owner), enableOwner_(enableOwner) {}

  void ControlChanged(forms::Control& control, forms::Prop property) override {
    binder_.ControlChanged(control, property);
  }
  void FormChanged(forms::FormProp property) override {
    if (property == forms::FormProp::Loaded && !form_.Loaded()) ReleaseOwner();
    binder_.FormChanged(property);
  }
  void PopupMenu(forms::MenuItem& menu) override { binder_.PopupMenu(menu); }
  void Call(forms::WindowCall call) override { binder_.Call(call); }

  void ReleaseOwner() {
    if (released_) return;
    released_ = true;
    if (enableOwner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
  }

 private:
  forms::Form& form_;
  FormBinder& binder_;
  HWND owner_;
  bool enableOwner_;
  bool released_ = false;
};

// Gives the activation back to a visible owner, unless the user has gone to
// another program meanwhile.
void ReactivateOwner(HWND owner) {
  if (owner == nullptr || !IsWindow(owner) || !IsWindowVisible(owner) || !IsWindowEnabled(owner)) return;
  HWND foreground = GetForegroundWindow();
  if (foreground != nullptr && GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) return;
  if (GetActiveWindow() != owner) SetActiveWindow(owner);
}

bool QuitPending() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

Win32FormHost::~Win32FormHost() { ReleaseAll(); }

void Win32FormHost::ReleaseAll() {
  // Binders detach themselves from their forms and destroy their windows;
  // no window may report back into the maps while they are being cleared.
  for (auto& [form, binder] : live_) binder->Destroyed = nullptr;
  live_.clear();
  finished_.clear();
}

void Win32FormHost::ShowModal(forms::Form& form) { ShowModalAbove(form, nullptr); }

void Win32FormHost::ShowModalOver(forms::Form& form, const forms::Form& owner) {
  ShowModalAbove(form, WindowOf(owner));
}

void Win32FormHost::ShowModalAbove(forms::Form& form, HWND owner) {
  if (form.Loaded()) return;
  FormBinder* binder = Bind(form);
  if (binder == nullptr) return;
  HWND window = binder->Window();

  if (owner == nullptr) owner = !modal_.empty() ? modal_.back() : owner_;
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  // A modal window below this one has disabled the owner already; only the
  // one that disabled it enables it again.
  const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
  if (owner != nullptr) SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));

  ModalObserver observer(form, *binder, owner, disableOwner);
  form.Attach(&observer);
  if (disableOwner) EnableWindow(owner, FALSE);
  modal_.push_back(window);

  // What a handler throws here (the form's loading, above all) must not skip
  // the end below: the owner would stay disabled and the form would keep
  // `observer` after it is gone. A form that failed so is unloaded, not left
  // loaded and perhaps unseen, so that it can be opened again.
  const bool ran = RunGuarded(form.Name().c_str(), HandlerFailed, [&] { RunModal(form, window); });
  if (!ran && form.Loaded()) {
    RunGuarded(form.Name().c_str(), HandlerFailed, [&form] { form.Unload(forms::kUnloadFormCode); });
  }

  modal_.pop_back();
  observer.ReleaseOwner();
  // `observer` ends here; the binder (kept until the form is shown again)
  // takes its place, as with a modeless form.
  form.Attach(binder);
  ReactivateOwner(owner);
}

void Win32FormHost::RunModal(forms::Form& form, HWND window) {
  form.Show();
  if (form.Loaded() && IsWindow(window)) SetForegroundWindow(window);
  while (form.Loaded()) {
    if (WindowOf(form) == nullptr) {
      // The window went with its owner: nothing is left to answer.
      form.Unload(forms::kUnloadFormCode);
      break;
    }
    if (QuitPending()) {
      form.Unload(forms::kUnloadAppWindows);
      break;
    }
    loop_.WaitAndDispatch(kModalWaitMs);
  }
}

void Win32FormHost::ShowModeless(forms::Form& form) {
  if (HWND window = WindowOf(form)) {
    form.Show();
    SetForegroundWindow(window);
    return;
  }
  if (Bind(form) == nullptr) return;
  form.Show();
}

void Win32FormHost::ShowModelessOver(forms::Form& form, const forms::Form& owner) {
  if (WindowOf(form) != nullptr) {
    ShowModeless(form);
    return;
  }
  FormBinder* binder = Bind(form);
  if (binder == nullptr) return;
  // An owned window stays above its owner and is destroyed with it.
  if (HWND ownerWindow = WindowOf(owner)) {
    SetWindowLongPtrA(binder->Window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
  }
  form.Show();
}

HWND Win32FormHost::WindowOf(const forms::Form& form) const {
  auto found = live_.find(&form);
  return found != live_.end() ? found->second->Window() : nullptr;
}

FormBinder* Win32FormHost::Bind(forms::Form& form) {
  // The form's previous binder goes first: its destructor detaches the form.
  finished_.erase(&form);
  auto binder = std::make_unique<FormBinder>(form, instance_, loop_);
  binder->HandlerFailed = HandlerFailed;
  if (!binder->Create()) return nullptr;
  FormBinder* created = binder.get();
  const forms::Form* key = &form;
  created->Destroyed = [this, key] {
    auto found = live_.find(key);
    if (found == live_.end()) return;
    finished_[key] = std::move(found->second);
    live_.erase(found);
  };
  live_[key] = std::move(binder);
  return created;
}

}  // namespace corvane
