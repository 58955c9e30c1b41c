// Resource ids of Brisko: those of the program file itself (icons, fallback
// bitmaps) and those of the resource library Tavix3_Res8.dll (menus, tool
// bar, accelerators, dialogs, bitmaps, cursor, strings), with the command and
// control ids they use.  Only #define lines, so that the resource scripts
// include it too.
#pragma once
#include "classlib/CommandIds.h"

// ---------------------------------------------------------------------------
// In the program file.

#define IDR_MAINFRAME 100          // main frame: icon; in the library also menu, tool bar, accelerators, string
#define IDI_DOCUMENT 101           // a document window's icon
#define IDR_TAVIXTYPE 4            // the data-file document template: menu and string in the library

// Fallback copies of the tool-bar strip and the bar-button images, used
// when the resource library cannot be loaded.
#define IDB_FALLBACK_TOOLBAR 190
#define IDB_FALLBACK_BARBUTTONS 191

// File-association icons (one per data-file extension).
#define IDI_FILE_EPJ 26550
#define IDI_FILE_CG 26551
#define IDI_FILE_DL 26552
#define IDI_FILE_HDM 26553
#define IDI_FILE_GZX 26554
#define IDI_FILE_ST 26555
#define IDI_FILE_JD 26556
#define IDI_FILE_JDX 26557
#define IDI_FILE_ICD 26559
#define IDI_FILE_ZBD 26560
#define IDI_FILE_DMX 26564
#define IDI_FILE_KZD 26565
#define IDI_FILE_SQX 26566
#define IDI_FILE_DLX 26567
#define IDI_FILE_DGK 26568
#define IDI_FILE_QL 26570
#define IDI_FILE_JGS 26571
#define IDI_FILE_HDX 26573
#define IDI_FILE_BTG 26579
#define IDI_FILE_TSB 26580
#define IDI_FILE_ARE 26585
#define IDI_FILE_MESH 26586
#define IDI_FILE_EPM 26587
#define IDI_FILE_FD 26588
#define IDI_FILE_ZBZ 26589
#define IDI_FILE_INF 26590
#define IDI_FILE_BSD 26591
#define IDI_FILE_WTJ 26592
#define IDI_FILE_XML 26593
#define IDI_FILE_DAT 26594

// ---------------------------------------------------------------------------
// In the resource library.

// Bitmaps and cursor.
#define IDB_TOOLBAR24 134          // tool-bar pictures, 16 x 16, magenta transparent
#define IDB_BAR_BUTTONS 10020      // small buttons of the manager bars, 13 wide, green transparent
#define IDB_ABOUT_BANNER 15000     // top picture of the about box
#define IDB_IL_TAB 15009           // tab images of the project-manager bar, 16 wide, green transparent
#define IDB_IL_TAB_ROADINFO 15052  // tab images of the road-information bar, 16 wide, green transparent
#define IDB_LINE_FLAGS 15232       // line-flag images of the editor's margin, 16 x 16, magenta transparent
#define IDC_MARGIN 22900           // pointer over the editor's margin
#define IDC_CURSOR_HAND 556        // pointer over a pannable picture
#define IDC_CURSOR_GRAB 22902      // pointer while a picture is dragged
#define IDB_LIST_MARKS 15002       // project and road list marks: current, other; 16 x 16, magenta transparent

// Dialogs.
#define IDD_ABOUTBOX 103
#define IDD_FILEWATCH 106
#define IDD_OPTION 108
#define IDD_PPAGE_INFOBAR 169

// Controls of the about box.
#define IDC_ABOUT_PICTURE 1159
#define IDC_ABOUT_VERSION 1190
#define IDC_ABOUT_TEXT 1011

// Controls of the environment dialog.
#define IDC_OPT_DEFAULTS 110
#define IDC_OPT_KEYWORD 1030
#define IDC_OPT_NUMBER 1039
#define IDC_OPT_TEXT 1046
#define IDC_OPT_SELTEXT 1051
#define IDC_OPT_SELBACK 1056
#define IDC_OPT_OPERATOR 1061
#define IDC_OPT_COMMENT 1065
#define IDC_OPT_BACK 1070
#define IDC_OPT_READONLY 1075
#define IDC_OPT_TABWIDTH 1023
#define IDC_OPT_MARGIN 1079
#define IDC_OPT_SHOWGRID 1082
#define IDC_OPT_AUTOINDENT 1084
#define IDC_OPT_DURATION 1087
#define IDC_OPT_LINEPITCH 1091
#define IDC_OPT_TOOLTIP 1092
#define IDC_OPT_AUTOCOMMENT 1097
#define IDC_OPT_AUTORELOAD 1101

// Controls of the file-change question.
#define IDC_FILEWATCH_TEXT 1001

// Controls of the information page.
#define IDC_INFO_LOG 134

// Manager bars (control bar ids).
#define IDW_ROADINFO_BAR 116
#define IDW_PROJECT_BAR 122

// Status-bar indicators.
#define ID_INDICATOR_WORKDIR 37900  // "COL": the working directory
#define ID_INDICATOR_READONLY 37901
#define ID_INDICATOR_TAVIX 37902
#define ID_INDICATOR_POSITION 37903

// Commands of the main frame.
#define ID_VIEW_PROJECTBAR 40001
#define ID_PROJECT_NEW 40002
#define ID_PROJECT_OPEN 40003
#define ID_PROJECT_IMPORT 40016
#define ID_PROJECT_EXPORT 40017
#define ID_PROJECT_SETTINGS 40032
#define ID_PROJECT_REFRESH 40039
#define ID_VIEW_TOPMOST 40010
#define ID_VIEW_INFOBAR 40018
#define ID_VIEW_TAB_PROJECT 40043
#define ID_VIEW_TAB_FILES 40044
#define ID_VIEW_TAB_TEMPLATES 40045
#define ID_VIEW_TAB_REFERENCES 40046
#define ID_TEMPLATE_NEWBASE 40124
#define ID_TEMPLATE_OPENBASE 40125
#define ID_TEMPLATE_IMPORTBASE 40126
#define ID_TEMPLATE_EXPORTBASE 40127

// Commands of the application.
#define ID_APP_OPTIONS 40006
#define ID_VIEW_SHOWGRID 40007
#define ID_APP_REGISTER_FILES 40132
#define ID_TOOL_RM_PM 40098
#define ID_TOOL_HINT_PM 40099
#define ID_TOOL_JGC 40100
#define ID_TOOL_HINT_HDX 40101
#define ID_TOOL_HINT_SQX 40102
#define ID_TOOL_RM_SQX 40103
#define ID_TOOL_RM_HDX 40104
#define ID_TOOL_RM_DMX 40105
#define ID_TOOL_HINT_DMX 40106
#define ID_TOOL_HINT_ROAD 40107
#define ID_TOOL_GDELEVATION 40115
#define ID_TOOL_GZW_GZX 40116
#define ID_TOOL_GZX_QL 40120
#define ID_TOOL_BIDROAD 40123
#define ID_TOOL_HONGYE 40128
#define ID_TOOL_HDX_FORMAT 40129
#define ID_TOOL_ZDM_INQUIRE 40130
#define ID_TOOL_RICAD 40009
#define ID_TOOL_MOVEDATA 40094

// Commands of the data-file editor.
#define ID_FILE_READONLY 10001
#define ID_FILE_SAVE_ALL 40064
#define ID_EDIT_GOTO_LINE 40005
#define ID_EDIT_INSERT_COMMENT 40008
#define ID_EDIT_TOGGLE_COMMENT 40097
#define ID_EDIT_COPY_EXCEL 40108
#define ID_EDIT_FIND_PREVIOUS 37126
#define ID_EDIT_FIND_NEXT 57640
#define ID_EDIT_TOGGLE_BOOKMARK0 37200
#define ID_EDIT_GO_BOOKMARK0 37210
#define ID_EDIT_CLEAR_BOOKMARKS 37220
#define ID_EDIT_TOGGLE_MARK 37223
#define ID_EDIT_NEXT_MARK 37224
#define ID_EDIT_PREV_MARK 37225
#define ID_EDIT_CLEAR_MARKS 37226

// Shared dialogs: the question with two named answers and the schematic
// picture viewer.
#define IDD_SELECT 1115
#define IDC_SELECT_SECOND 1007
#define IDC_SELECT_MESSAGE 1318
#define IDD_VIEWSYT 1315
#define IDC_VIEWSYT_PICTURE 1287

// Editor: keys, dialogs and strings.
#define IDR_EDITOR_KEYS 8600       // accelerators of the text view's own keys
#define ID_EDIT_DELETE 37000
#define ID_EDIT_DELETE_BACK 37001
#define ID_EDIT_TAB 37003
#define ID_EDIT_UNTAB 37004
#define ID_EDIT_SWITCH_OVRMODE 37005
#define ID_EDIT_CHAR_LEFT 37100
#define ID_EDIT_EXT_CHAR_LEFT 37101
#define ID_EDIT_CHAR_RIGHT 37102
#define ID_EDIT_EXT_CHAR_RIGHT 37103
#define ID_EDIT_WORD_LEFT 37104
#define ID_EDIT_EXT_WORD_LEFT 37105
#define ID_EDIT_WORD_RIGHT 37106
#define ID_EDIT_EXT_WORD_RIGHT 37107
#define ID_EDIT_LINE_UP 37108
#define ID_EDIT_EXT_LINE_UP 37109
#define ID_EDIT_LINE_DOWN 37110
#define ID_EDIT_EXT_LINE_DOWN 37111
#define ID_EDIT_SCROLL_UP 37112
#define ID_EDIT_SCROLL_DOWN 37113
#define ID_EDIT_PAGE_UP 37114
#define ID_EDIT_EXT_PAGE_UP 37115
#define ID_EDIT_PAGE_DOWN 37116
#define ID_EDIT_EXT_PAGE_DOWN 37117
#define ID_EDIT_LINE_END 37118
#define ID_EDIT_EXT_LINE_END 37119
#define ID_EDIT_HOME 37120
#define ID_EDIT_EXT_HOME 37121
#define ID_EDIT_TEXT_BEGIN 37122
#define ID_EDIT_EXT_TEXT_BEGIN 37123
#define ID_EDIT_TEXT_END 37124
#define ID_EDIT_EXT_TEXT_END 37125
#define ID_EDIT_GO_BOOKMARK9 37219
#define ID_EDIT_TOGGLE_BOOKMARK9 37209

#define IDD_GOTO_LINE 107
#define IDD_INSERT_COMMENT 109
#define IDC_COMMENT_TYPE 1085
#define IDC_COMMENT_PREVIEW 1089
#define IDC_GOTO_LINE 1002
#define IDC_GOTO_TOTAL 1012
#define IDC_GOTO_ITEM 1019
#define IDD_FIND_TEXT 8601
#define IDD_EDIT_REPLACE 8602
#define IDC_FIND_WHOLE_WORD 8603
#define IDC_FIND_MATCH_CASE 8604
#define IDC_FIND_TEXT 8605
#define IDC_REPLACE_REPLACE 8607
#define IDC_REPLACE_ALL 8608
#define IDC_REPLACE_WITH 8609
#define IDC_REPLACE_FIND_NEXT 8610
#define IDC_FIND_UP 8611
#define IDC_FIND_DOWN 8612
#define IDC_REPLACE_IN_SELECTION 8613
#define IDC_REPLACE_WHOLE_FILE 8614

#define IDS_TEXT_NOT_FOUND 8606        // "文字没有找到:%s"
#define IDS_UNDO_MENU 8615
#define IDS_REDO_MENU 8616
#define IDS_UNDO_MENU_OFF 8617
#define IDS_REDO_MENU_OFF 8618
#define IDS_ACTION_FIRST 8619          // 8619 to 8629: undo action descriptions
#define IDS_REPLACED_ALL 59394         // "全部替换完毕, 共替换%d处文字."

// ---------------------------------------------------------------------------
// The ids of the parts of the program, one header each.

#include "brisko/res/manager_ids.h"
#include "brisko/res/pages_ids.h"
#include "brisko/res/templates_ids.h"
#include "brisko/res/convert_ids.h"
#include "brisko/res/tools_ids.h"
#include "brisko/res/reference_ids.h"
#include "brisko/res/commands_ids.h"
