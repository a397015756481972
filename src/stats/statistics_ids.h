// Resource identifiers of the statistics window (frmStatistics) and the
// online time window (frmOnTime), shared by their form models and resource
// templates. Plain macros so the resource compiler reads them.
#pragma once

#define IDD_STATISTICS 570
#define IDC_STA_TBSSTATS 5700
// The two pages have no window of their own: they only move, hide and grey
// out what they hold.
#define IDC_STA_FRA1 5701
#define IDC_STA_FRA2 5702
#define IDC_STA_FRACONNECTION 5703
#define IDC_STA_LBL1 5704
#define IDC_STA_LBLSPEED 5705
#define IDC_STA_LBL2 5706
#define IDC_STA_LBLTIMEON 5707
#define IDC_STA_LBLTIME 5708
#define IDC_STA_LBLTOTALTIME 5709
#define IDC_STA_LBLDISCONNECT 5710
#define IDC_STA_LBLDISCTIME 5711
#define IDC_STA_LBLRECONNECT 5712
#define IDC_STA_LBLRECONTIME 5713
#define IDC_STA_FRAACTIVITY 5714
#define IDC_STA_LBL3 5715
#define IDC_STA_LBLTX 5716
#define IDC_STA_LBL4 5717
#define IDC_STA_LBLRX 5718
#define IDC_STA_LVTIME 5719
#define IDT_STA_TIMER1 5720
#define IDC_STA_CMDDISCONNECT 5721
#define IDC_STA_CMDLOG 5722
#define IDC_STA_LBLALLOWANCE 5723
#define IDC_STA_LBLCOSTCAPTION 5724
#define IDC_STA_LBLCOST 5725
// The dialog manager's OK id: Enter and Escape both close the window.
#define IDC_STA_CMDOK 1

#define IDD_ONTIME 580
#define IDC_ONT_LABEL1 5801
#define IDC_ONT_LABEL2 5802
#define IDC_ONT_LBXTIME 5803
#define IDC_ONT_CMDOK 1
