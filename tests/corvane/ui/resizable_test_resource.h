// The resizable dialog's test template (resizable_test.rc).
#pragma once
#define IDD_TEST_RESIZABLE 32001
#define IDC_RZ_LIST 32002    // list box with a horizontal scroll bar
#define IDC_RZ_NOTE 32003    // edit under the list
#define IDC_RZ_GROUP 32004   // group box at the top right
#define IDC_RZ_LABEL 32005   // left-aligned static text
#define IDC_RZ_TITLE 32006   // centred static text
#define IDC_RZ_SIMPLE 32007  // simple static text
#define IDC_RZ_PICTURE 32008 // frame static with a centred image
#define IDC_RZ_CHECK 32009   // check box
#define IDC_RZ_FIXED 32010   // never anchored
#define IDC_RZ_MISSING 32099 // no such control
