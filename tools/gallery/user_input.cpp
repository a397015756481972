// SendInput with absolute pointer positions, which it takes on a 0..65535
// scale of the primary screen.
#include "user_input.h"

namespace corvane::gallery {
namespace {

INPUT PointerEvent(POINT at, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

}  // namespace

void MovePointerTo(POINT screenPoint) {
  INPUT move = PointerEvent(screenPoint, 0);
  SendInput(1, &move, sizeof move);
}

void RightClickAt(POINT screenPoint) {
  MovePointerTo(screenPoint);
  INPUT click[2] = {PointerEvent(screenPoint, MOUSEEVENTF_RIGHTDOWN), PointerEvent(screenPoint, MOUSEEVENTF_RIGHTUP)};
  SendInput(2, click, sizeof click[0]);
}

void PressKey(WORD virtualKey) {
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof keys[0]);
}

}  // namespace corvane::gallery
