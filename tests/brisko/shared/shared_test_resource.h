// The test templates of the shared pieces (shared_test.rc).
#pragma once
#define IDD_TEST_RESIZE 32101
#define IDC_RS_LIST 32102    // list box: stretches both ways
#define IDC_RS_GROUP 32103   // group box at the right
#define IDC_RS_INNER 32104   // button inside the group box
#define IDC_RS_TEXT 32105    // left-aligned text inside the group box
#define IDC_RS_LINE 32106    // etched line under the list
#define IDC_RS_FIXED 32107   // never anchored
