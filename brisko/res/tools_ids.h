// Resource ids of Brisko's tools part (included by brisko/BriskoResource.h):
// the data tools that derive files from a road's files.  Their dialogs also
// use the shared controls of the convert part (IDC_TOOL_SKETCH, the input
// and output fields with their buttons, the format radio buttons).
#pragma once

// Dialog templates.
#define IDD_MOVE_DATA 163          // centre-line shift
#define IDD_JGC 164                // profile-sheet base elevations
#define IDD_GD_ELEVATION 166       // ditch-bottom elevations
#define IDD_CONVERT_JGW 167        // structure tools (two modes)
#define IDD_HDX_FORMAT 175         // layout change of cross-section files
#define IDD_IMPORT_HINTROAD 8614   // HintCAD road import
#define IDD_TRANSFORM_BIDROAD 8616 // BidRoad bridge interface

// Fields several of these dialogs have: the break-chain box with its file,
// the profile ground line, the output's viewer.
#define IDC_DERIVE_INCLUDE_DL 1300
#define IDC_DERIVE_DL 1301
#define IDC_DERIVE_PICK_DL 1302
#define IDC_DERIVE_VIEW_DL 1303
#define IDC_DERIVE_VIEW_OUTPUT 1304
#define IDC_DERIVE_DMX 1305
#define IDC_DERIVE_PICK_DMX 1306
#define IDC_DERIVE_VIEW_DMX 1307

// Ditch-bottom elevations: the action button.
#define IDC_GD_EXTRACT 1308

// Base elevations: rule unit, scale, margin, band height, sheets, sheet
// length, the sketch button.
#define IDC_JGC_RULE 1320
#define IDC_JGC_SCALE 1321
#define IDC_JGC_MARGIN 1322
#define IDC_JGC_ROW_HEIGHT 1323
#define IDC_JGC_PAGE_AUTO 1324
#define IDC_JGC_PAGE_LENGTH 1325
#define IDC_JGC_SHOW_SKETCH 1326

// Layout change: the layout found in the input.
#define IDC_HDX_LAYOUT 1330

// BidRoad bridge interface.
#define IDC_BRF_DMX 1031
#define IDC_BRF_PICK_SQX 1036
#define IDC_BRF_VIEW_SQX 1045
#define IDC_BRF_PICK_DMX 1049
#define IDC_BRF_VIEW_DMX 1055
#define IDC_BRF_PICK_CG 1069
#define IDC_BRF_VIEW_CG 1074
#define IDC_BRF_PICK_BRF 1078
#define IDC_BRF_PICK_DYD 1185
#define IDC_BRF_VIEW_DYD 1186
#define IDC_BRF_SQX 1280
#define IDC_BRF_CG 1294
#define IDC_BRF_BRF 1295
#define IDC_BRF_DYD 1314

// Centre-line shift.
#define IDC_MOVE_PICK_DMX_OUT 1040
#define IDC_MOVE_PICK_HDX_OUT 1052
#define IDC_MOVE_PICK_HDX_IN 1059
#define IDC_MOVE_VIEW_HDX 1063
#define IDC_MOVE_PICK_DL 1068
#define IDC_MOVE_VIEW_DL 1073
#define IDC_MOVE_FORMAT_ABS 1095
#define IDC_MOVE_FORMAT_ABS1 1099
#define IDC_MOVE_HDX_IN 1108
#define IDC_MOVE_INCLUDE_DL 1245
#define IDC_MOVE_DL 1249
#define IDC_MOVE_GRID 1261
#define IDC_MOVE_DMX_IN 1263
#define IDC_MOVE_DMX_OUT 1265
#define IDC_MOVE_PICK_DMX_IN 1268
#define IDC_MOVE_VIEW_DMX 1269
#define IDC_MOVE_HDX_OUT 1293

// HintCAD road import: the plane file, the vertical curves, the ground
// lines and the break-chain text.
#define IDC_HINT_PLANE_LABEL 1360
#define IDC_HINT_PLANE 1361
#define IDC_HINT_PICK_PLANE 1362
#define IDC_HINT_VIEW_PLANE 1363
#define IDC_HINT_ZDM 1364
#define IDC_HINT_PICK_ZDM 1365
#define IDC_HINT_VIEW_ZDM 1366
#define IDC_HINT_DMX 1367
#define IDC_HINT_PICK_DMX 1368
#define IDC_HINT_VIEW_DMX 1369
#define IDC_HINT_HDM 1370
#define IDC_HINT_PICK_HDM 1371
#define IDC_HINT_VIEW_HDM 1372
#define IDC_HINT_BREAKCHAIN 1373
