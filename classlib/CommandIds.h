// The library's standard command and control ids: the commands the library
// handles itself (file, window, application), the edit and view commands that
// programs share, the status-bar indicators and the frame's child windows.
// Only #define lines, so that resource scripts can include it too.
#pragma once

// File commands.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PAGE_SETUP 0xE105
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_FILE_MRU_FILE1 0xE110 // the recent-file list: FILE1 to FILE16
#define ID_FILE_MRU_FILE16 0xE11F

// Edit commands.
#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_CLEAR_ALL 0xE121
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_REPEAT 0xE128
#define ID_EDIT_REPLACE 0xE129
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B
#define ID_EDIT_REDO 0xE12C

// Window commands of an MDI frame; the window list takes the ids from
// AFX_IDM_FIRST_MDICHILD on.
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#define ID_WINDOW_NEXT 0xE136
#define ID_WINDOW_PREV 0xE137
#define AFX_IDM_FIRST_MDICHILD 0xFF00

// Application commands.
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141

// The idle text of the status bar's first pane, a string a program may
// have: shown when no command prompt is (see CFrameWnd::GetMessageString).
#define AFX_IDS_IDLEMESSAGE 0xE001

// Status-bar indicators.
#define ID_INDICATOR_EXT 0xE700
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#define ID_INDICATOR_OVR 0xE704
#define ID_INDICATOR_REC 0xE705

// View commands (show or hide a bar).
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801

// Child windows of a frame.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B    // 59419
#define AFX_IDW_DOCKBAR_LEFT 0xE81C   // 59420
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D  // 59421
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E // 59422
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F  // 59423
#define AFX_IDW_PANE_FIRST 0xE900
