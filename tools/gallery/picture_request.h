// Asks scripts/gallery.sh for a picture of part of the screen: the script
// takes it from the X display, where Wine's windows are drawn whole (frames
// included), which a read of the Windows screen does not give.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::gallery {

// Writes `<folder><name>.rect` ("WIDTHxHEIGHT+LEFT+TOP", screen
// coordinates) and waits until the script has answered with
// `<folder><name>.png`. False when no answer came in time.
bool RequestPicture(const std::string& folder, const std::string& name, const RECT& area);

}  // namespace corvane::gallery
