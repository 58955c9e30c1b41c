// Resizable dialogs: a sizing border, a size grip in the bottom-right
// corner, a minimum size equal to the size the dialog opens with, and
// controls that move and stretch with the dialog without flicker.
//
// A dialog derives from CResizableDialog and, in OnInitDialog after the
// base's, anchors its controls: AnchorChild(control, x1, y1, x2, y2) with
// the anchors in percent of the client area.  A control keeps the distance
// of its top-left corner to the top-left anchor and of its bottom-right
// corner to the bottom-right anchor; without a bottom-right anchor it moves
// with the top-left one and keeps its size.
#pragma once
#include "classlib/ClassLib.h"

// Anchoring and arranging of the children.
class CResizableLayout
{
public:
    // The bottom-right anchor that means "none".
    enum { NO_ANCHOR = -1 };

    struct LayoutInfo
    {
        HWND hWnd = nullptr;        // null for a callback record
        BOOL bCallback = FALSE;
        BOOL bListBox = FALSE;
        BOOL bNeedRefresh = FALSE;
        int nTopLeftX = 0, nTopLeftY = 0;         // anchors, percent
        int nBottomRightX = 0, nBottomRightY = 0; // anchors, percent
        int nMarginLeft = 0, nMarginTop = 0;      // pixels
        int nMarginRight = 0, nMarginBottom = 0;  // pixels
    };

    CResizableLayout() = default;
    virtual BOOL ChildCanClip(HWND child);
    virtual BOOL ChildNeedsRefresh(HWND child);
    virtual void GetLayoutClientRect(CRect* rect);
    // Asked for a callback record on every arrangement: fills the record's
    // window and anchors for this time; FALSE leaves it out.
    virtual BOOL ArrangeChildCallback(LayoutInfo& info);
    virtual CWnd* GetLayoutWindow() = 0;
    virtual ~CResizableLayout();

    // Anchors a child of the layout window; a null child is ignored.
    void AnchorChild(HWND child, int topLeftX, int topLeftY, int bottomRightX = NO_ANCHOR,
                     int bottomRightY = NO_ANCHOR);
    void AnchorChild(UINT id, int topLeftX, int topLeftY, int bottomRightX = NO_ANCHOR, int bottomRightY = NO_ANCHOR);
    // Appends a record for which ArrangeChildCallback is asked.
    void AddCallbackRecord();

    // Moves every anchored child to its place for the current client size.
    void ArrangeLayout();
    // The client area without the anchored children that paint all of
    // themselves (clipped out) but with those that do not (group boxes,
    // transparent bars, text), in client coordinates.
    void GetClippingRegion(CRgn* region);
    void RemoveAllAnchors();
    INT_PTR GetAnchorCount() const { return m_arrLayout.GetSize(); }
    const LayoutInfo& GetAnchor(INT_PTR i) const { return m_arrLayout[i]; }

protected:
    CArray<LayoutInfo, const LayoutInfo&> m_arrLayout;
    int m_iFirstCallback = 0;
};

// The size grip.
class CResizableGrip
{
public:
    CResizableGrip();
    virtual CWnd* GetLayoutWindow() = 0;
    virtual ~CResizableGrip();

    BOOL CreateGripWindow();
    void ShowGrip(BOOL show);
    // Puts the grip into the bottom-right corner (bottom of the z-order),
    // disabled while the window is maximised.
    void UpdateGripPos();

    int m_nGripWidth;
    int m_nGripHeight;
    CScrollBar m_wndGrip;
};

// Tracking limits.
class CResizableMinMax
{
public:
    virtual ~CResizableMinMax();

    void SetMinTrackSize(CSize size);
    void SetMaxTrackSize(CSize size);
    void SetMaximizedRect(const CRect& rect);
    // Writes the limits that are set.
    void ApplyMinMax(MINMAXINFO* info) const;

    BOOL m_bUseMaxTrack = FALSE;
    BOOL m_bUseMinTrack = FALSE;
    BOOL m_bUseMaxRect = FALSE;
    POINT m_ptMinTrackSize{0, 0};
    POINT m_ptMaxTrackSize{0, 0};
    POINT m_ptMaxPos{0, 0};
    POINT m_ptMaxSize{0, 0};
};

// The window placement as a profile text.
class CResizableState
{
public:
    virtual CWnd* GetLayoutWindow() = 0;
    virtual ~CResizableState();

    // Writes "left,top,right,bottom,show command,flags" under the section's
    // entry "WindowPlacement"; with rectOnly the current window rectangle,
    // show command 1 and flags 0.
    BOOL SavePlacement(const wchar_t* section, BOOL rectOnly);
};

class CResizableDialog : public CDialog,
                         public CResizableLayout,
                         public CResizableGrip,
                         public CResizableMinMax,
                         public CResizableState
{
public:
    explicit CResizableDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    ~CResizableDialog() override;

    CWnd* GetLayoutWindow() override { return this; }

    BOOL m_bSavePlacement = FALSE;
    BOOL m_bRectOnly = FALSE;
    CString m_SSection;
    BOOL m_bInitDone = FALSE;

protected:
    BOOL OnInitDialog() override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
