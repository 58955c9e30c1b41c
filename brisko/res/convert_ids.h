// Resource ids of Brisko's convert part (included by brisko/BriskoResource.h).
#pragma once

// Dialog templates of the converters.
#define IDD_TRANSFORM_HINTCAD_PM 8610   // HintCAD plane data
#define IDD_TRANSFORM_ZHDX 8611         // HintCAD and 路线大师 ground lines (four modes)
#define IDD_TRANSFORM_SQX 8612          // vertical curves (two modes)
#define IDD_TRANSFORM_RMPM 8613         // 路线大师 plane data
#define IDD_TRANSFORM_HONGYE 8617       // 鸿业 profile and cross-section ground lines
#define IDD_TRANSFORM_RICAD 111         // RICAD profile and cross-section ground lines

// Pictures: the base-elevation sketch shown in the schematic viewer.  The
// tool dialogs' own sketch is bitmap 15000 (IDB_ABOUT_BANNER).
#define IDB_JGC_SKETCH 15033

// The tool dialogs' button icons: pickers (pointer over / elsewhere) and
// viewers.  The program icon is IDR_MAINFRAME (100), also in the library.
#define IDI_TOOL_VIEW_OUT 15210
#define IDI_TOOL_PICK_OUT 15211
#define IDI_TOOL_VIEW_IN 15212
#define IDI_TOOL_PICK_IN 15213

// Tool tips of the tool dialogs' buttons.
#define IDS_TOOL_PICK_RICAD 59397       // "选择RICAD纵横断面数据文件(*.dat)"
#define IDS_TOOL_PICK_DMX 59398         // "选择Tavix纵断面地面线文件(*.dmx)"
#define IDS_TOOL_PICK_HDX 59399         // "选择Tavix横断面地面线文件(*.hdx)"
#define IDS_TOOL_VIEW_FILE 59400        // "查看文件内容"
#define IDS_TOOL_PICK_DL 59412          // "选择Tavix桩号断链文件(*.DL)"
#define IDS_TOOL_PICK_SQX 59413         // "选择Tavix竖曲线文件(*.SQX)"
#define IDS_TOOL_PICK_FILE 59415        // "选择数据文件"
#define IDS_TOOL_PICK_3DD 59416         // "选择Tavix横断面戴帽结果文件(*.3DD)"
#define IDS_TOOL_PICK_GZX 59419         // "选择Tavix构造物信息文件(*.GZX)"
#define IDS_TOOL_PICK_QL 59420          // "选择Tavix桥梁桩号文件(*.QL)"
#define IDS_TOOL_PICK_CG 59423          // "选择TAVIX超高文件(*.CG)"
#define IDS_TOOL_PICK_DYD 59424         // "选择TAVIX平面单元要素文件(*.DYD)"

// Controls the tool dialogs share.
#define IDC_TOOL_SKETCH 1159            // picture control of the sketch
#define IDC_TOOL_PICK_INPUT 1018
#define IDC_TOOL_VIEW_INPUT 1024
#define IDC_TOOL_PICK_OUTPUT 1040
#define IDC_TOOL_FORMAT 1095            // first radio button of a format group
#define IDC_TOOL_FORMAT1 1096
#define IDC_TOOL_FORMAT2 1097
#define IDC_TOOL_INPUT_GROUP 1107
#define IDC_TOOL_OUTPUT_LABEL 1288
#define IDC_TOOL_INPUT_LABEL 1289
#define IDC_TOOL_INPUT 1290
#define IDC_TOOL_OUTPUT 1291

// Vertical-curve converter: its input label.
#define IDC_SQX_INPUT_LABEL 1292

// 鸿业 and RICAD converters: the second output, its picker, the minimum
// width.
#define IDC_TOOL_PICK_OUTPUT2 1052
#define IDC_TOOL_OUTPUT2 1293
#define IDC_RICAD_MINWIDTH 1294
