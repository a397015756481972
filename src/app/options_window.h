// What the options window is given of the program: the records it edits,
// the ports it uses, and the dialer commands it calls.
#pragma once

#include "ui/options_form.h"

namespace corvane {

class AppContext;

OptionsServices OptionsServicesOf(AppContext& context);
OptionsCallbacks OptionsCallbacksOf(AppContext& context);

}  // namespace corvane
