// Resource identifiers of the dialer window, shared by its form model and
// its resource template. Plain macros so the resource compiler reads them.
#pragma once

#define IDD_DIALER 100
#define IDC_LBLMESS 1001
#define IDC_TXTCOMBO 1002
#define IDC_CMBLIST 1003
#define IDC_TXTERR 1004
#define IDC_TXTDETAILS 1005
#define IDC_IMAGE1 1006
#define IDC_IMAGE2 1007
#define IDC_CMDSHOWONTIME 1008
#define IDC_FRA 1009
#define IDC_CMDINFO 1010
#define IDC_CMDDIAL 1011
#define IDC_CMDCANCEL 1012
#define IDT_TIMER1 1013

#define IDM_SYSTRAY 200
#define IDM_OPTIONS 2001
#define IDM_SEP1 2002
#define IDM_STATISTICS 2003
#define IDM_SEP2 2004
#define IDM_DISCONNECT 2005
#define IDM_SEP3 2006
#define IDM_EXIT 2007
#define IDM_CONNECTION_LOG 2008
