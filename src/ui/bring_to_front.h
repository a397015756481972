// Raises a window above all others without keeping it on top.
#pragma once

#include "forms/form.h"

namespace corvane {

// Restores a minimised or maximised window, raises it through a brief
// topmost state, makes it the foreground window and gives it the focus.
void BringToFront(forms::Form& window);

}  // namespace corvane
