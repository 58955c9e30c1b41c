// Resource ids of the window tests.
#pragma once
#define IDD_DATA 100
#define IDD_KEYS 101
#define IDD_COMMANDS 102
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_RATIO 1003
#define IDC_SHORT 1004
#define IDC_CHECK 1005
#define IDC_RADIO1 1006
#define IDC_RADIO2 1007
#define IDC_RADIO3 1008
#define IDC_COMBO 1009
#define IDC_EDIT 1010
#define IDC_HANDLED 1011
#define IDC_UNHANDLED 1012
#define IDC_AUTOCHECK 1013
#define IDC_DISABLED 1014
#define IDD_FIND 1540 // the number of the system's own find dialog
#define IDS_OWN_TEXT 40001
// Commands with prompt strings (prompts_test.cpp).
#define ID_PROMPT_OPEN 32901  // prompt and tool tip
#define ID_PROMPT_PLAIN 32902 // a prompt without a tool tip
#define ID_PROMPT_MORE 32903  // prompt, tool tip and a further part
#define ID_PROMPT_NONE 32904  // no string at all
