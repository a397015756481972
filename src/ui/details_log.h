// A details log: a multi-line text box that lines are appended to, keeping
// its latest lines only. The dialer's progress statuses go there, and so do
// the program's own failures that the user should be able to find.
#pragma once

#include <cstddef>
#include <string>

#include "forms/controls.h"

namespace corvane {

// The most characters a details log keeps: an edit control's default text
// limit, some hundred dial cycles of statuses. A dialer left to reconnect
// for weeks would otherwise grow the log, and the edit control's copy with
// its per-line records, by some hundred bytes a cycle for good.
inline constexpr size_t kDetailsLogLimit = 32767;

// Appends `text` as a new line (alone when the log is empty), drops whole
// lines from the start beyond kDetailsLogLimit, and puts the caret at the end.
void AppendToDetailsLog(forms::TextBox& log, const std::string& text);

}  // namespace corvane
