#include "corvane/ui/IconButton.h"

namespace {

const UINT_PTR kToolId = 1;

// Makes the low style byte of a push button owner-drawn.
DWORD OwnerDrawStyle(DWORD style) { return (style & ~0xFFu) | (style & 0xFFu) | BS_OWNERDRAW; }

} // namespace

BEGIN_MESSAGE_MAP(tkxIconButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

tkxIconButton::tkxIconButton()
    : m_crInactiveBg(::GetSysColor(COLOR_BTNFACE)), m_crInactiveFg(::GetSysColor(COLOR_BTNTEXT)),
      m_crActiveBg(::GetSysColor(COLOR_BTNFACE)), m_crActiveFg(::GetSysColor(COLOR_BTNTEXT))
{
}

tkxIconButton::~tkxIconButton()
{
    FreeBackground();
    FreeIcons();
    if (m_hCursor) ::DestroyCursor(m_hCursor);
    if (m_ToolTip.m_hWnd) m_ToolTip.DestroyWindow();
    // The button window goes with CWnd's destructor.
}

BOOL tkxIconButton::Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_bIsDefault = (style & 0x0F) == BS_DEFPUSHBUTTON;
    return CButton::Create(caption, OwnerDrawStyle(style), rect, parent, id);
}

void tkxIconButton::PreSubclassWindow()
{
    UINT style = GetButtonStyle();
    if ((style & 0x0F) == BS_DEFPUSHBUTTON) m_bIsDefault = TRUE;
    SetButtonStyle(OwnerDrawStyle(style & 0xFF), TRUE);
    CButton::PreSubclassWindow();
}

// ---------------------------------------------------------------------------
// Icons and cursor.

void tkxIconButton::FreeIcons()
{
    if (m_hIconOut && m_hIconOut != m_hIconIn) ::DestroyIcon(m_hIconOut);
    if (m_hIconIn) ::DestroyIcon(m_hIconIn);
    m_hIconIn = m_hIconOut = nullptr;
}

void tkxIconButton::SetIcon(int in, int out, HINSTANCE caller)
{
    FreeIcons();
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(in), RT_GROUP_ICON, caller);
    if (!module) {
        CWnd* top = m_hWnd ? GetTopLevelParent() : nullptr;
        ClMessageBox(top ? top->GetSafeHwnd() : nullptr, L"获取程序资源数据失败!", L"TAVIX", MB_OK | MB_ICONEXCLAMATION);
        SetIcon(static_cast<HICON>(nullptr), nullptr);
        return;
    }
    auto load = [module](int id) {
        return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
    };
    HICON iconIn = load(in);
    HICON iconOut = out ? load(out) : nullptr;
    SetIcon(iconIn, iconOut);
}

void tkxIconButton::SetIcon(HICON in, HICON out)
{
    if (m_hIconIn && m_hIconIn != in && m_hIconIn != out) ::DestroyIcon(m_hIconIn);
    if (m_hIconOut && m_hIconOut != m_hIconIn && m_hIconOut != in && m_hIconOut != out) ::DestroyIcon(m_hIconOut);
    m_hIconIn = in;
    m_hIconOut = out ? out : in;
    m_cxIcon = m_cyIcon = 0;
    if (in) {
        ICONINFO info{};
        if (::GetIconInfo(in, &info)) {
            m_cxIcon = static_cast<BYTE>(info.xHotspot * 2);
            m_cyIcon = static_cast<BYTE>(info.yHotspot * 2);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
        }
    }
    if (m_hWnd) RedrawWindow();
}

BOOL tkxIconButton::SetBtnCursor(int id, HINSTANCE caller)
{
    if (m_hCursor) ::DestroyCursor(m_hCursor);
    m_hCursor = nullptr;
    if (id == -1) return TRUE;
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_GROUP_CURSOR, caller);
    if (module) m_hCursor = static_cast<HCURSOR>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, 0));
    return m_hCursor != nullptr;
}

// ---------------------------------------------------------------------------
// Settings.

void tkxIconButton::Repaint(BOOL repaint)
{
    if (repaint == 1 && m_hWnd) Invalidate();
}

void tkxIconButton::SetFlat(BOOL flat)
{
    m_bIsFlat = flat;
    if (m_hWnd) Invalidate();
}

void tkxIconButton::SetAlign(int align)
{
    if (align == ST_ALIGN_HORIZ || align == ST_ALIGN_VERT || align == ST_ALIGN_HORIZ_RIGHT) m_nAlign = align;
    if (m_hWnd) Invalidate();
}

void tkxIconButton::SetShowText(BOOL show)
{
    m_bShowText = show;
    if (m_hWnd) Invalidate();
}

void tkxIconButton::SetFlatFocus(BOOL drawFlatFocus, BOOL repaint)
{
    m_bDrawFlatFocus = drawFlatFocus;
    Repaint(repaint);
}

void tkxIconButton::SetDefaultInactiveBgColor(BOOL repaint)
{
    m_crInactiveBg = ::GetSysColor(COLOR_BTNFACE);
    Repaint(repaint);
}

void tkxIconButton::SetDefaultInactiveFgColor(BOOL repaint)
{
    m_crInactiveFg = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
}

void tkxIconButton::SetDefaultActiveBgColor(BOOL repaint)
{
    m_crActiveBg = ::GetSysColor(COLOR_BTNFACE);
    Repaint(repaint);
}

void tkxIconButton::SetDefaultActiveFgColor(BOOL repaint)
{
    m_crActiveFg = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
}

void tkxIconButton::SetInactiveBgColor(COLORREF color, BOOL repaint)
{
    m_crInactiveBg = color;
    Repaint(repaint);
}

void tkxIconButton::SetInactiveFgColor(COLORREF color, BOOL repaint)
{
    m_crInactiveFg = color;
    Repaint(repaint);
}

void tkxIconButton::SetActiveBgColor(COLORREF color, BOOL repaint)
{
    m_crActiveBg = color;
    Repaint(repaint);
}

void tkxIconButton::SetActiveFgColor(COLORREF color, BOOL repaint)
{
    m_crActiveFg = color;
    Repaint(repaint);
}

// ---------------------------------------------------------------------------
// Tool tip.

void tkxIconButton::InitToolTip()
{
    if (m_ToolTip.m_hWnd || !m_hWnd) return;
    m_ToolTip.Create(this);
    m_ToolTip.Activate(FALSE);
}

void tkxIconButton::SetTooltipText(CString* text, BOOL activate)
{
    if (!text || !m_hWnd) return;
    InitToolTip();
    if (m_ToolTip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_ToolTip.AddTool(this, *text, &client, kToolId);
    }
    m_ToolTip.UpdateTipText(*text, this, kToolId);
    m_ToolTip.Activate(activate);
}

void tkxIconButton::SetTooltipText(int textId, BOOL activate, HINSTANCE caller)
{
    CString text;
    text.LoadString(static_cast<UINT>(textId), caller);
    if (!text.IsEmpty()) SetTooltipText(&text, activate);
}

void tkxIconButton::ActivateTooltip(BOOL activate)
{
    if (m_ToolTip.m_hWnd && m_ToolTip.GetToolCount() > 0) m_ToolTip.Activate(activate);
}

BOOL tkxIconButton::PreTranslateMessage(MSG* msg)
{
    InitToolTip();
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Messages.

LRESULT tkxIconButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every click counts, however fast the clicks come.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

void tkxIconButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    if ((flags & MK_LBUTTON) && !m_bMouseOnButton) return;
    if (!m_bIsFlat) return;

    HWND capture = ::GetCapture();
    if (capture != m_hWnd) {
        // Another window's capture is never taken over.
        if (capture) return;
        CWnd* owner = GetOwner();
        if (::GetActiveWindow() && owner) {
            m_bMouseOnButton = TRUE;
            SetCapture();
            Invalidate();
        }
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_hWnd) return;
    if (m_bMouseOnButton) {
        m_bMouseOnButton = FALSE;
        Invalidate();
    }
    if (!(flags & MK_LBUTTON)) ::ReleaseCapture();
}

void tkxIconButton::OnKillFocus(CWnd* newWnd)
{
    CButton::OnKillFocus(newWnd);
    if (m_bIsFlat && m_bMouseOnButton) {
        m_bMouseOnButton = FALSE;
        Invalidate();
    }
}

void tkxIconButton::OnCaptureChanged(CWnd* wnd)
{
    if (m_bMouseOnButton) {
        ::ReleaseCapture();
        Invalidate();
    }
    CButton::OnCaptureChanged(wnd);
}

BOOL tkxIconButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(wnd, hitTest, message);
}

void tkxIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    FreeBackground();
}

// ---------------------------------------------------------------------------
// Drawing.

void tkxIconButton::FreeBackground()
{
    if (m_dcBk.m_hDC && m_hOldBkBitmap) m_dcBk.SelectObject(m_hOldBkBitmap);
    m_hOldBkBitmap = nullptr;
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
}

void tkxIconButton::DrawTransparent(BOOL repaint)
{
    m_bDrawTransparent = TRUE;
    FreeBackground();
    Repaint(repaint);
}

void tkxIconButton::PaintBk(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (!m_dcBk.m_hDC) {
        CWnd* parent = GetParent();
        if (!parent) return;
        CRect inParent;
        GetWindowRect(&inParent);
        parent->ScreenToClient(&inParent);
        CClientDC parentDC(parent);
        if (!m_dcBk.CreateCompatibleDC(&parentDC)) return;
        m_bmpBk.CreateCompatibleBitmap(&parentDC, client.Width(), client.Height());
        m_hOldBkBitmap = m_dcBk.SelectObject(static_cast<HGDIOBJ>(m_bmpBk.m_hObject));
        m_dcBk.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, inParent.left, inParent.top, SRCCOPY);
    }
    dc->BitBlt(0, 0, client.Width(), client.Height(), &m_dcBk, 0, 0, SRCCOPY);
}

void tkxIconButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC dcObject;
    dcObject.Attach(dis->hDC);
    CDC* dc = &dcObject;
    const int saved = dc->SaveDC();

    const BOOL pressed = (dis->itemState & ODS_SELECTED) != 0;
    const BOOL focused = (dis->itemState & ODS_FOCUS) != 0;
    const BOOL disabled = (dis->itemState & ODS_DISABLED) != 0;
    const BOOL active = m_bMouseOnButton || pressed;
    CRect itemRect(dis->rcItem);
    dc->SetBkMode(TRANSPARENT);

    if (!m_bIsFlat && (focused || m_bIsDefault)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(&itemRect, &black);
        itemRect.DeflateRect(1, 1);
    }

    if (m_bDrawTransparent)
        PaintBk(dc);
    else
        dc->FillSolidRect(&itemRect, active ? m_crActiveBg : m_crInactiveBg);

    if (pressed) {
        if (m_bIsFlat) {
            if (m_bDrawBorder)
                dc->Draw3dRect(&itemRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            dc->FrameRect(&itemRect, &shadow);
        }
    } else if (m_bIsFlat) {
        if (m_bMouseOnButton && m_bDrawBorder)
            dc->Draw3dRect(&itemRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        CPen highlight(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        CPen light(PS_SOLID, 0, ::GetSysColor(COLOR_3DLIGHT));
        CPen darkShadow(PS_SOLID, 0, ::GetSysColor(COLOR_3DDKSHADOW));
        CPen shadow(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
        const CRect& r = itemRect;
        HGDIOBJ oldPen = dc->SelectObject(static_cast<HGDIOBJ>(highlight.m_hObject));
        dc->MoveTo(r.left, r.bottom - 1);
        dc->LineTo(r.left, r.top);
        dc->LineTo(r.right, r.top);
        dc->SelectObject(static_cast<HGDIOBJ>(light.m_hObject));
        dc->MoveTo(r.left + 1, r.bottom - 1);
        dc->LineTo(r.left + 1, r.top + 1);
        dc->LineTo(r.right, r.top + 1);
        dc->SelectObject(static_cast<HGDIOBJ>(darkShadow.m_hObject));
        dc->MoveTo(r.left, r.bottom - 1);
        dc->LineTo(r.right - 1, r.bottom - 1);
        dc->LineTo(r.right - 1, r.top - 1);
        dc->SelectObject(static_cast<HGDIOBJ>(shadow.m_hObject));
        dc->MoveTo(r.left + 1, r.bottom - 2);
        dc->LineTo(r.right - 2, r.bottom - 2);
        dc->LineTo(r.right - 2, r.top);
        dc->SelectObject(oldPen);
    }

    CString title;
    if (m_bShowText) GetWindowText(title);
    CRect captionRect(dis->rcItem);
    if (m_hIconIn) DrawTheIcon(dc, !title.IsEmpty(), dis->rcItem, captionRect, pressed, disabled);

    if (!title.IsEmpty()) {
        if (pressed) captionRect.OffsetRect(1, 1);
        dc->SetTextColor(active ? m_crActiveFg : m_crInactiveFg);
        dc->SetBkColor(active ? m_crActiveBg : m_crInactiveBg);
        CRect space = captionRect;
        dc->DrawText(title, &captionRect, DT_SINGLELINE | DT_CALCRECT);
        captionRect.OffsetRect((space.Width() - captionRect.Width()) / 2, (space.Height() - captionRect.Height()) / 2);
        dc->DrawState(captionRect.TopLeft(), captionRect.Size(), title.GetString(),
                      disabled ? DSS_DISABLED : DSS_NORMAL, TRUE, 0, nullptr);
    }

    if (focused && (!m_bIsFlat || m_bDrawFlatFocus)) {
        CRect focusRect = itemRect;
        focusRect.DeflateRect(3, 3);
        dc->DrawFocusRect(&focusRect);
    }

    dc->RestoreDC(saved);
    dcObject.Detach();
}

void tkxIconButton::DrawTheIcon(CDC* dc, BOOL hasTitle, const RECT& itemRect, CRect& captionRect, BOOL pressed,
                                BOOL disabled)
{
    CRect iconRect(itemRect);
    switch (m_nAlign) {
    case ST_ALIGN_HORIZ:
        if (!hasTitle) {
            iconRect.left += (iconRect.Width() - m_cxIcon) / 2;
        } else {
            iconRect.left += 3;
            captionRect.left += m_cxIcon + 3;
        }
        iconRect.top += (iconRect.Height() - m_cyIcon) / 2;
        break;
    case ST_ALIGN_VERT:
        iconRect.left += (iconRect.Width() - m_cxIcon) / 2;
        if (!hasTitle)
            iconRect.top += (iconRect.Height() - m_cyIcon) / 2;
        else
            captionRect.top += m_cyIcon;
        break;
    case ST_ALIGN_HORIZ_RIGHT: {
        if (!hasTitle) {
            iconRect.left += (iconRect.Width() - m_cxIcon) / 2;
        } else {
            CRect client;
            GetClientRect(&client);
            captionRect.right = captionRect.Width() - m_cxIcon - 3;
            captionRect.left = 3;
            iconRect.left = client.Width() - m_cxIcon - 3;
            iconRect.top += (iconRect.Height() - m_cyIcon) / 2;
        }
        break;
    }
    default:
        break;
    }
    if (pressed) iconRect.OffsetRect(1, 1);
    HICON icon = (m_bMouseOnButton || pressed) ? m_hIconIn : m_hIconOut;
    dc->DrawState(iconRect.TopLeft(), iconRect.Size(), icon, disabled ? DSS_DISABLED : DSS_NORMAL, nullptr);
}
