// Bitmaps of the popup-menu and bitmap-combo tests (popupmenu_test.rc).
#pragma once
#define IDB_TEST_MENU_ITEMS 31001 // three 16 x 16 images: red, green, blue
#define IDB_TEST_MENU_BACK 31002  // four 20 x 24 images: teal, purple, olive, orange
#define IDB_TEST_COMBO_SMALL 31003 // 16 x 16, red (200, 0, 0)
#define IDB_TEST_COMBO_LARGE 31004 // 32 x 24, blue (0, 0, 200)
#define IDB_TEST_MISSING 31099    // no such bitmap
