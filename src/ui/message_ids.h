// Resource identifiers of the disconnect question window, shared by its form
// model and its resource template. Plain macros so the resource compiler
// reads them.
#pragma once

#define IDD_MESSAGE 530
#define IDC_MSG_LBLMESS 5301
#define IDC_MSG_IMAGE1 5302
#define IDC_MSG_CHKASK 5303
// The dialog manager's OK and Cancel ids: Enter presses "&Yes" (the default
// button) and Escape presses "&No".
#define IDC_MSG_CMDYES 1
#define IDC_MSG_CMDNO 2
