// Resource identifiers of the controls floor's window, shared by its code and
// its template. Plain macros so the resource compiler reads them.
#pragma once

#define IDD_CONTROLS_FLOOR 100
#define IDC_FLOOR_LABEL 1001
#define IDC_FLOOR_NUMBER 1002
#define IDC_FLOOR_LIST 1003
#define IDC_FLOOR_STATUS 1004
#define IDC_FLOOR_DETAILS 1005
#define IDC_FLOOR_PICTURE1 1006
#define IDC_FLOOR_PICTURE2 1007
#define IDC_FLOOR_CLOCK 1008
#define IDC_FLOOR_BUTTON1 1010
#define IDC_FLOOR_BUTTON2 1011
#define IDC_FLOOR_BUTTON3 1012

// The list window's, opened by a controls floor started with "list".
#define IDD_LIST_FLOOR 101
#define IDC_FLOOR_LOG 1020

// Answered with how often the floor has looked at the line, so that a
// benchmark can tell its service calls from the program's.
#define WM_FLOOR_LOOKS (WM_APP + 2)

// Opens the list window (a floor started with "list <file>") and answers
// with its list view.
#define WM_FLOOR_OPEN_LIST (WM_APP + 3)
