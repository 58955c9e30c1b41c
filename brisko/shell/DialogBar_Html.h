// The reference-document page: a modeless, resizable window over the main
// frame's MDI client area that shows the suite's help files in the help
// control.  It is a child window of the main window, above the MDI client
// among the main window's children, so it can never lie behind the main
// window.  The reference-document tree opens it; the main frame destroys it
// when a tab of either manager bar changes (WM_CLOSEREFERENCEPAGE) and when
// the frame goes.  Closing it (its close button, Escape, the help control's
// 关闭 button) hides it until the next document is opened, and gives the
// keyboard focus to the active document's view (the project manager's pane
// without one).  A document window brought up (opened, chosen from the window
// menu, activated by a click or by closing the one before) hides it too: the
// keys go into the document the user sees.
#pragma once
#include "brisko/shell/HHCtrl.h"
#include "brisko/shell/ResizableDialog.h"

class CDialogBar_Html : public CResizableDialog
{
public:
    // Makes the page (dialog 135) in the application's main window, else in
    // `parent`; a page that cannot be made is said so (no window).
    explicit CDialogBar_Html(CWnd* parent);

    // When the help control can open the help file, shows the topic;
    // FALSE when it cannot.
    BOOL OpenHelpTopic(CString chm, CString topic);
    // Shows the page (laid over the client area when it was hidden) above
    // its siblings, with the keyboard focus and the caption of an active
    // window while the main window is active.
    void ShowInFront();

    // The help control's buttons: all five, with their texts.
    static constexpr UINT kButtons = 0x1F;

    CHHCtrl m_wndHtml;

protected:
    BOOL OnInitDialog() override;
    // Closing hides the page (the main window gives the focus on).
    void OnCancel() override;
    void OnShowWindow(BOOL show, UINT status);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // Makes the help control in the placeholder's place (once).
    BOOL CreateHelpControl();
    // Lays the page over the main frame's MDI client area.
    void PlaceOverClient();
};
