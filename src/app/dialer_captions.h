// The dialer window's captions that tell the user what a button or menu item
// stands for at the moment. What it stands for is kept as state (the
// connection's, or the window's own for cmdInfo); the captions only show it.
#pragma once

namespace corvane {

// cmdDial: "&DIAL" before a dial, "&Cancel" once one runs; cmdCancel
// starts as "&Cancel" and becomes "&Redial" after a failed attempt.
inline constexpr const char* kCaptionDial = "&DIAL";
inline constexpr const char* kCaptionCancel = "&Cancel";
inline constexpr const char* kCaptionRedial = "&Redial";
// cmdInfo: opens the options window, or shows and hides the details log.
inline constexpr const char* kCaptionOptions = "&Options";
inline constexpr const char* kCaptionDetails = "&Details";
inline constexpr const char* kCaptionHideDetails = "&Hide Details";
// mnuDisconnect while a line is up, and while waiting to reconnect a dropped
// one (choosing it then reconnects at once).
inline constexpr const char* kCaptionDisconnect = "&Disconnect";
inline constexpr const char* kCaptionConnect = "&Connect";

}  // namespace corvane
