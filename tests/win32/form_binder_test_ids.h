// Identifiers of the binder test's window template (form_binder_test.rc).
#pragma once

#define IDD_BINDER_TEST 900
#define IDC_BT_TBS 901
#define IDC_BT_FRA 902
#define IDC_BT_TXT 903
#define IDC_BT_VSB 904
#define IDC_BT_LBX 905
#define IDC_BT_CBO 906
#define IDC_BT_LV 907
#define IDC_BT_OPTA 908
#define IDC_BT_OPTB 909
#define IDC_BT_IMG 910
#define IDC_BT_LBL 911
