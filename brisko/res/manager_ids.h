// Resource ids of Brisko's manager part (included by brisko/BriskoResource.h).
#pragma once

// Images of the project tree and the road file tree (16 x 16, green
// transparent), the settings sheet's corner mark and the dialogs' button
// icons ("in" while the pointer is over the button).
#define IDB_PROJECT_TREE 15012
#define IDB_FILE_TREE 15011
#define IDB_SHEET_LOGO 1277
#define IDI_RESTORE_IN 15216
#define IDI_RESTORE_OUT 15217
#define IDI_SETTINGS_OUT 15218
#define IDI_SETTINGS_IN 15219
#define IDI_FOLDER_OUT 15220
#define IDI_FOLDER_IN 15221

// Strings: the folder button's tip, the settings button's tip, the
// settings sheet's caption.
#define IDS_CHOOSE_FOLDER 59396
#define IDS_PROJECT_SETTINGS_TIP 59406
#define IDS_PROJECT_SETTINGS_CAPTION 59407

// Dialogs.
#define IDD_OPENPROJECT 126
#define IDD_ROADINFO 129
#define IDD_SETTING_ZDSTRING 1193
#define IDD_SETTING_BZPRECISION 1196
#define IDD_SETTING_SPXLENGTH 1199

// The project dialog.
#define IDC_PRJ_LIST 1000
#define IDC_PRJ_PATH 1004
#define IDC_PRJ_BROWSE 1018
#define IDC_PRJ_STAGE 1025
#define IDC_PRJ_TYPE 1032
#define IDC_PRJ_LANDFORM 1041
#define IDC_PRJ_TIME 1057
#define IDC_PRJ_NAME 1062
#define IDC_PRJ_SHORTCUT 1066
#define IDC_PRJ_SETTINGS 1072
#define IDC_PRJ_CLIMATE_GENERAL 1093
#define IDC_PRJ_CLIMATE_SNOW 1096
#define IDC_PRJ_PICTURE 1159

// The road dialog.
#define IDC_ROAD_FOLDER 1006
#define IDC_ROAD_GRADE 1032
#define IDC_ROAD_SHORTCUT 1066
#define IDC_ROAD_LIST 1071
#define IDC_ROAD_START 1076
#define IDC_ROAD_SPEED 1080
#define IDC_ROAD_END 1083
#define IDC_ROAD_HASCHAIN 1086
#define IDC_ROAD_CHAIN 1088
#define IDC_ROAD_CURRENT 1090
#define IDC_ROAD_NAME 1100
#define IDC_ROAD_PICTURE 1159

// The precision page: big numbers, the ten precisions with their spin
// buttons (in the order station, radius, parameter, coordinate, length,
// width, elevation, slope, area, volume), trailing zeros, restore.
#define IDC_BZ_SUBTRACT 1324
#define IDC_BZ_X 1326
#define IDC_BZ_Y 1328
#define IDC_BZ_ZH 1330
#define IDC_BZ_R 1331
#define IDC_BZ_A 1333
#define IDC_BZ_XY 1335
#define IDC_BZ_L 1342
#define IDC_BZ_WIDTH 1337
#define IDC_BZ_ELV 1338
#define IDC_BZ_SLOPE 1340
#define IDC_BZ_AREA 1341
#define IDC_BZ_VOLUME 1343
#define IDC_BZ_SPIN_ZH 1344
#define IDC_BZ_SPIN_R 1345
#define IDC_BZ_SPIN_A 1347
#define IDC_BZ_SPIN_XY 1348
#define IDC_BZ_SPIN_L 1350
#define IDC_BZ_SPIN_WIDTH 1352
#define IDC_BZ_SPIN_ELV 1354
#define IDC_BZ_SPIN_SLOPE 1355
#define IDC_BZ_SPIN_AREA 1357
#define IDC_BZ_SPIN_VOLUME 1358
#define IDC_BZ_RESTORE 1359
#define IDC_BZ_ZERO 1360

// The main-point page: label modes, the ten label texts, station styles.
#define IDC_ZD_PINYIN 1319
#define IDC_ZD_ENGLISH 1320
#define IDC_ZD_CUSTOM 1321
#define IDC_ZD_QD 1322
#define IDC_ZD_ZD 1323
#define IDC_ZD_ZY 1325
#define IDC_ZD_YZ 1327
#define IDC_ZD_ZH 705
#define IDC_ZD_HZ 1332
#define IDC_ZD_HY 1334
#define IDC_ZD_YH 1336
#define IDC_ZD_GQ 1329
#define IDC_ZD_ZZ 1339
#define IDC_ZD_STYLE_K 1226
#define IDC_ZD_STYLE_0K 1228
#define IDC_ZD_STYLE_PLAIN 1230

// The slope-line page.
#define IDC_SPX_DISTANCE 1346
#define IDC_SPX_LENGTH 1349
#define IDC_SPX_MINLENGTH 1351
#define IDC_SPX_RATIO 1353
#define IDC_SPX_SHARE 1356
#define IDC_SPX_LENGTH_LABEL 1361
#define IDC_SPX_BYRATE 1362
#define IDC_SPX_LENGTH_UNIT 1363

// Commands of the project tree's and the road file tree's menus.
#define ID_ROAD_IMPORT 40013
#define ID_ROAD_DELETE 40014
#define ID_ROAD_NEW 40015
#define ID_ROAD_SETCURRENT 40023
#define ID_DATA_OPEN 40024
#define ID_DATA_IMPORT 40025
#define ID_DATA_DELETE 40026
#define ID_USER_ADDDRAWING 40028
#define ID_USER_REMOVEDRAWING 40029
#define ID_ROAD_MOVEUP 40033
#define ID_ROAD_MOVEDOWN 40034
#define ID_ROAD_PROPERTIES 40035
#define ID_USER_ADDDATA 40037
#define ID_USER_REMOVEDATA 40038
#define ID_PROJECT_EXPLORE 40041
#define ID_ROAD_EXPLORE 40047
#define ID_PROJECT_REMOVE 40066
