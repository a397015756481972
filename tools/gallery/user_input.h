// The mouse and the keyboard as a person uses them: input goes through the
// system's input queue, to whatever window is under the pointer or has the
// focus, as a real device's would.
#pragma once

#include <windows.h>

namespace corvane::gallery {

void MovePointerTo(POINT screenPoint);
// Moves there first, then presses and releases the right button.
void RightClickAt(POINT screenPoint);
// Presses and releases one key.
void PressKey(WORD virtualKey);

}  // namespace corvane::gallery
