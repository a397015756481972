// BringToFront: every step is tried; a refused step is simply skipped.
#include "ui/bring_to_front.h"

namespace corvane {

void BringToFront(forms::Form& window) {
  if (window.State() != forms::WindowState::Normal) {
    window.SetWindowState(forms::WindowState::Normal);
    window.Show();
  }
  window.SetTopmost(true);
  window.SetTopmost(false);
  window.SetForeground();
  window.SetFocus();
}

}  // namespace corvane
