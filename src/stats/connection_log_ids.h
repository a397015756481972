// Resource identifiers of the connection log window (frmConnectionLog),
// shared by its form model and its resource template. Plain macros so the
// resource compiler reads them.
#pragma once

#define IDD_CONNECTION_LOG 590
#define IDC_LOG_LBLMONTH 5901
#define IDC_LOG_CMBMONTH 5902
#define IDC_LOG_LBLENTRY 5903
#define IDC_LOG_CMBENTRY 5904
#define IDC_LOG_LVWLOG 5905
#define IDC_LOG_LBLTOTALS 5906
#define IDC_LOG_CMDEXPORT 5907
#define IDC_LOG_CHART 5908
// The dialog manager's Cancel id: Escape closes the window.
#define IDC_LOG_CMDCLOSE 2
