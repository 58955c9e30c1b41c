// Small pieces the project and road manager's dialogs and trees share: the
// marked list of projects or roads, the dialogs' banner picture, the trees'
// items, and the way to the main window.
#pragma once
#include "classlib/ClassLib.h"

// -- dialogs -------------------------------------------------------------------

// Sets up a list of names: the marks of the list (current, other) as its
// small images, light cyan, full rows, grid lines, movable columns "序号"
// and `heading`.
void SetUpMarkList(CListCtrl& list, CImageList& marks, const wchar_t* heading);
// One row per name, "%d" (from 1) and the name; the current one marked.
void FillMarkList(CListCtrl& list, const CStringArray& names, int current);
// Shows the row as the list's hot item and selection mark.
void MarkListRow(CListCtrl& list, int row);
// Puts the program's banner into the dialog's picture; the bitmap (the
// dialog deletes it), or null after "加载位图资源失败!".
HBITMAP ShowBanner(CDialog* dialog, int pictureId);
// Deletes a dialog's list marks and banner (when its window goes).
void FreeDialogImages(CImageList& marks, HBITMAP& banner);
// Redraws the dialog's picture at once.
void RedrawPicture(CDialog* dialog, int pictureId);

// -- trees --------------------------------------------------------------------

// Appends an item under the parent.
HTREEITEM AddTreeItem(CTreeCtrl& tree, const wchar_t* text, HTREEITEM parent, int image, int selectedImage,
                      DWORD_PTR data = 0);

// -- paths --------------------------------------------------------------------

// The longest path of a file the manager makes, copies or opens in a road's
// folder: the platform's limit.
const int kMaxFilePathChars = MAX_PATH - 1;
// The message naming a path longer than that, said instead of working on a
// path the system would cut or refuse.
CString PathTooLongText(const CString& path);

// -- the main window ----------------------------------------------------------

CWnd* MainWindow();
// A message box of the program, owned by `owner` (the main window when
// null).
int ManagerBox(const CString& text, UINT type, CWnd* owner = nullptr);
// Tells the main frame that the current project or road changed.
void NotifyProjectChanged();
