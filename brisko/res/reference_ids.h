// Resource ids of Brisko's reference part (included by brisko/BriskoResource.h).
#pragma once

// The reference-document page and its help control.
#define IDD_DIALOGBAR_HTML 135     // the page: one placeholder for the help control
#define IDC_HTML_CONTROL 1162      // the help control (first a placeholder)
#define IDB_HELP_NAV_HOT 32000     // the help control's buttons under the pointer, 20 wide, magenta transparent
#define IDB_HELP_NAV 32001         // the help control's buttons, 20 wide, magenta transparent
#define IDS_HELP_NAV_LABELS 20737  // the help control's button texts, separated by '|'

// The reference-document tree.
#define IDB_REFERENCE_TREE 15010   // closed and open book, 16 wide, green transparent
