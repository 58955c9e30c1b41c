// Resource ids of Brisko's pages part (included by brisko/BriskoResource.h):
// the profile, cross-section and information pages of the road-information
// bar and the profile query dialog.
#pragma once

// Page templates and the query dialog.
#define IDD_PPAGE_ZDMINFO 168          // "纵断面": holds the profile view
#define IDD_PPAGE_HDXINFO 8615         // "横断面地面线": holds the cross-section view
#define IDD_ZDM_INQUIRE 176            // "纵断面信息查询"
#define IDR_ZDM_MENU 177               // the profile view's context menu

// The drawing window of the profile and cross-section pages.
#define IDC_PAGE_VIEW 708
// The information page's slope-template preview.
#define IDC_INFO_SLOPE 138

// Controls of the query dialog.
#define IDC_INQUIRE_STATION 705
#define IDC_INQUIRE_DESIGN 706
#define IDC_INQUIRE_GROUND 707
#define IDC_INQUIRE_FILLCUT 708
#define IDC_INQUIRE_MESSAGE 709
#define IDC_INQUIRE_RUN 1191

// Commands of the two views and their buttons.
#define ID_PAGE_ZOOMIN 139
#define ID_PAGE_ZOOMOUT 140
#define ID_HDX_CENTRE 117
#define ID_HDX_NOTES 40060
#define ID_HDX_DMGRID 40062
#define ID_HDX_MGRID 40063
#define ID_HDX_AUTOCENTRE 40122

// Button icons: under the pointer (hot) and normal.
#define IDI_ZOOMIN_HOT 15259
#define IDI_ZOOMIN 15258
#define IDI_ZOOMOUT_HOT 15266
#define IDI_ZOOMOUT 15267
#define IDI_CENTRE_ON 172
#define IDI_CENTRE_OFF 26636
