// Resource ids of the document/view test program.
#pragma once
#include "classlib/CommandIds.h"

#define IDR_MAINFRAME 100
#define IDR_NOTE 101
#define IDR_LIST 102

#define IDD_PAGE_NAME 200
#define IDD_PAGE_COUNT 201
#define IDC_NAME 1001
#define IDC_COUNT 1002

// Commands that each level of the routing handles (see routing_test.cpp).
#define ID_ROUTE_ALL 33001
#define ID_ROUTE_DOCUMENT 33002
#define ID_ROUTE_CHILD 33003
#define ID_ROUTE_MAIN 33004
#define ID_ROUTE_APP 33005
#define ID_ROUTE_NONE 33006
#define ID_LIST_SORT 33010
