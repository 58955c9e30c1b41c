// Resource ids of Corvane.dll (corvane/Corvane.rc).
#pragma once

// Docking control bar: the hide button and the dock-toggle button (hot or
// pressed / normal, for a bar docked at a side and along the top or bottom).
#define IDI_BAR_VERT_HOT 15101
#define IDI_BAR_VERT 15102
#define IDI_BAR_HORZ_HOT 15103
#define IDI_BAR_HORZ 15104
#define IDI_BAR_CLOSE 15106

// Suite status bar: the background stretched into every pane (50 x 24).
#define IDB_STATUS_PANE 215

// Dynamic information bar.
#define IDB_INFO_BUTTON 219        // 24 x 23, loaded but not drawn
#define IDB_INFO_TITLE_LEFT 220    // title band: left end, 5 x 33
#define IDB_INFO_TITLE_MIDDLE 221  //   middle, 80 x 33, stretched
#define IDB_INFO_TITLE_RIGHT 222   //   right end, 7 x 33
#define IDB_INFO_GROUP_LEFT 223    // group header band: left end, 2 x 20
#define IDB_INFO_GROUP_MIDDLE 224  //   middle, 80 x 20, stretched
#define IDB_INFO_GROUP_RIGHT 225   //   right end, 23 x 20
#define IDB_INFO_LOGO 15059        // 63 x 24

// Icon buttons of the extended file dialog ("open the folder"), 16 x 16:
// the icon button's "in" icon (pointer over, pressed) and its "out" icon
// (otherwise), so the dialog's SetIcon(15289, 15288) shows the brighter
// picture under the pointer.
#define IDI_FOLDER_OPEN_HOT 15289
#define IDI_FOLDER_OPEN 15288

// The extended file dialog's panel (a child of the platform's file dialog)
// and its controls.
#define IDD_FILE_DIALOG_PANEL 102
#define IDC_FILEDLG_PREVIEW 1003  // text preview of the selected file
#define IDC_FILEDLG_TYPE 1005     // type description of the selected file
#define IDC_FILEDLG_HISTORY 1136  // the folders most recently chosen
#define IDC_FILEDLG_ROAD 1144     // jump to the current road's folder
#define IDC_FILEDLG_PROJECT 1145  // jump to the current project's folder
