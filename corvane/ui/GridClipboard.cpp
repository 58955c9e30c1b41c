// The grid's clipboard, drag and drop and right-button menu.
#include "corvane/ui/GridCtrl.h"

void tkxGridCtrl::OnEditSelectAll() { SelectAllCells(); }
void tkxGridCtrl::OnEditCut() {}
void tkxGridCtrl::OnEditCopy() {}
void tkxGridCtrl::OnEditPaste() {}
void tkxGridCtrl::OnBeginDrag() {}
