// What the options window is given of the program: the records it edits,
// the ports it uses, and the dialer commands it calls.
#pragma once

#include "ui/options_form.h"

namespace corvane {

class AppContext;

OptionsServices OptionsServicesOf(AppContext& context);
OptionsCallbacks OptionsCallbacksOf(AppContext& context);

// Shows the options window, modeless, on tab `tabIndex` (0 the first);
// false when there is none to show.
bool OptionsWindowShown(AppContext& context, int tabIndex);

}  // namespace corvane
