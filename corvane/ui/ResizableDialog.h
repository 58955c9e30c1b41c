// A dialog whose controls follow its size.
//
// A derived dialog calls the base OnInitDialog, then AddAnchor for every
// control that should move or stretch, and may call EnableSaveRestore to
// keep its placement in the application profile.  An anchor is a point of
// the client area given in percent of its width and height; a control keeps
// the distance of its top-left corner to the top-left anchor and of its
// bottom-right corner to the bottom-right anchor.  Without a bottom-right
// anchor the control moves with its top-left anchor and keeps its size.
//
// The dialog draws a size grip in its bottom-right corner, cannot be made
// smaller than its size after OnInitDialog (ResetMinTrackSize lifts that),
// and can be given a maximum tracking size and a maximized rectangle.  The
// saved placement is the text "left,top,right,bottom,show command,flags" of
// the normal position; it is written when the window is destroyed.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <vector>

// Anchor points, in percent of the client area's width and height.
CORVANE_API extern const CSize AnchorNone;
CORVANE_API extern const CSize AnchorTopLeft;
CORVANE_API extern const CSize AnchorTopCentre;
CORVANE_API extern const CSize AnchorTopRight;
CORVANE_API extern const CSize AnchorMidLeft;
CORVANE_API extern const CSize AnchorMidCentre;
CORVANE_API extern const CSize AnchorMidRight;
CORVANE_API extern const CSize AnchorBottomLeft;
CORVANE_API extern const CSize AnchorBottomCentre;
CORVANE_API extern const CSize AnchorBottomRight;

class CORVANE_API tkxResizableDialog : public CDialog
{
public:
    // One anchored control.
    struct Layout {
        HWND hWnd = nullptr;
        BOOL bAdjustHScroll = FALSE; // list boxes: repaint when their horizontal scroll moves
        BOOL bNeedRefresh = FALSE;   // repaint after every move
        CSize szTopLeftAnchor;       // percent
        CSize szTopLeftMargin;       // pixels
        CSize szBottomRightAnchor;   // percent
        CSize szBottomRightMargin;   // pixels
    };

    // The template comes from the module of the code that constructs the
    // dialog (the derived dialog's own module), as for CDialog.
    explicit tkxResizableDialog(HINSTANCE caller = ClCallerModule());
    tkxResizableDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    tkxResizableDialog(const wchar_t* templateName, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    ~tkxResizableDialog() override;

    // Anchors a control; a control that is not there is ignored.
    void AddAnchor(HWND wnd, CSize topLeft, CSize bottomRight = AnchorNone);
    void AddAnchor(UINT id, CSize topLeft, CSize bottomRight = AnchorNone);

    void ShowSizeGrip(BOOL show);
    void SetMinTrackSize(const CSize& size);
    void ResetMinTrackSize();
    void SetMaxTrackSize(const CSize& size);
    void ResetMaxTrackSize();
    void SetMaximizedRect(const CRect& rect);
    void ResetMaximizedRect();
    // Keeps the placement under the profile section and entry from now on,
    // and restores the one saved there.
    void EnableSaveRestore(const wchar_t* section, const wchar_t* entry);

protected:
    BOOL OnInitDialog() override;
    // Reads the saved placement and applies it; a missing or malformed
    // text leaves the window as it is.
    void LoadWindowRect();
    void SaveWindowRect();
    // Moves every anchored control to its place for the current size.
    void ArrangeLayout();
    void UpdateGripRect();

    LRESULT OnNcHitTest(CPoint point);
    void OnGetMinMaxInfo(MINMAXINFO* mmi);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    BOOL m_bShowGrip = TRUE;
    BOOL m_bUseMaxTrack = FALSE;
    BOOL m_bUseMinTrack = TRUE;
    BOOL m_bUseMaxRect = FALSE;
    BOOL m_bEnableSaveRestore = FALSE;
    CString m_sSection;
    CString m_sEntry;
    BOOL m_bInitDone = FALSE;
    CSize m_szGripSize;
    CRect m_rcGrip;
    CSize m_szMinTrackSize;
    CSize m_szMaxTrackSize;
    CPoint m_ptMaxPos;
    CSize m_szMaxSize;
    std::vector<Layout> m_arrLayout;
};
