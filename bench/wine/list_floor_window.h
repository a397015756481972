// The controls floor's list window: what showing the connection log's rows
// costs on this platform by itself. A window of the log window's style and
// size with a report-style list view of the same columns, filled the
// plainest fast way from a file that already holds the cells as shown.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::bench {

// Opens the list window on `cellsPath` (one row a line, cells apart by
// tabs) and returns its list view, or nullptr when it could not.
HWND OpenListFloorWindow(HINSTANCE instance, const std::string& cellsPath);

}  // namespace corvane::bench
