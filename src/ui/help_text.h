// The options window's help text, shown by frmHelp.
#pragma once

namespace corvane {

// Plain text with CR LF line ends, for a multi-line text box in a
// fixed-pitch font: headings underlined with "=", sub-headings with "-".
extern const char* const kOptionsHelpText;

}  // namespace corvane
