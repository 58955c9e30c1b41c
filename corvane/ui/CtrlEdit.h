// tkxCtrlEdit: the edit control of in-place editing.  Every time it loses
// the keyboard focus it reports its text to its parent window: WM_NOTIFY
// with wParam = its control id and lParam = an sEndEditInfo with the code
// LVN_ENDLABELEDITW (-176).  The parent decides whether editing ends.
//
// sEndEditInfo is also the record of the in-place combo box (tkxComboBox).
#pragma once
#include "corvane/CorvaneDefs.h"

struct sEndEditInfo {
    NMHDR hdr;    // the editor's window, its control id, LVN_ENDLABELEDITW
    CString text; // the editor's text when it lost the focus
};

// Reports an in-place editor's text to its parent as described above.
CORVANE_API void SendEndEdit(CWnd* editor);

class CORVANE_API tkxCtrlEdit : public CEdit
{
    DECLARE_DYNAMIC(tkxCtrlEdit)
public:
    tkxCtrlEdit() = default;
    ~tkxCtrlEdit() override = default;

    // Sends the end-of-edit record to the parent window (when there is one).
    void EndEdit();

protected:
    void OnKillFocus(CWnd* newWnd);
    DECLARE_MESSAGE_MAP()
};
