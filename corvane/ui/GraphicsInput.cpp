// tkxGraphicsCtrl: mouse, keys, context menu, tool tip, picking, grip drag
// and point input.
#include "corvane/ui/GraphicsCtrl.h"
#include "corvane/ui/EntityTiles.h"

#include <algorithm>
#include <cmath>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

CPoint MessagePoint(const MSG& msg) { return CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))); }

} // namespace

// ---------------------------------------------------------------------------
// Tool tip

void tkxGraphicsCtrl::PreSubclassWindow()
{
    CreateToolTip();
    CWnd::PreSubclassWindow();
}

int tkxGraphicsCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    CreateToolTip();
    return 0;
}

void tkxGraphicsCtrl::CreateToolTip()
{
    if (m_toolTip.m_hWnd || !m_toolTip.Create(this)) return;
    m_toolTip.SetMaxTipWidth(50);
    m_toolTip.AddTool(this, m_strTip);
    m_toolTip.SetDelayTime(10);
    m_toolTip.Activate(m_bToolTipActive);
}

void tkxGraphicsCtrl::ActivateToolTip(int on, UINT mode)
{
    m_bToolTipActive = on;
    if (m_toolTip.m_hWnd) m_toolTip.Activate(on);
    m_nToolTipMode = mode;
}

void tkxGraphicsCtrl::SetToolTipText(const wchar_t* text, long elapse)
{
    ActivateToolTip(1, 0);
    m_strTip = text ? text : L"";
    m_nToolTipMode = 2;
    PostMessage(WM_MOUSEMOVE, 0, 0);
    if (m_toolTip.m_hWnd) m_toolTip.Pop();
    if (elapse > 0) SetTimer(0, static_cast<UINT>(elapse));
}

void tkxGraphicsCtrl::OnTimer(UINT_PTR id)
{
    if (id == 0) {
        ActivateToolTip(0, 0);
        KillTimer(0);
        m_strTip.Empty();
        m_nToolTipMode = 0;
    }
    Default();
}

// ---------------------------------------------------------------------------
// Mouse

void tkxGraphicsCtrl::OnMouseMove(UINT, CPoint point)
{
    m_ptCursor = point;
    if (!(m_dwState & STATE_PANNING)) ::SetCursor(nullptr);
    if (m_dwState & STATE_PANNING) {
        m_worldDC.m_ptOrigin.x += point.x - m_ptPanAnchor.x;
        m_worldDC.m_ptOrigin.y += m_ptPanAnchor.y - point.y;
        m_ptPanAnchor = point;
    }
    if (m_bToolTipActive && m_toolTip.m_hWnd) {
        if (m_nToolTipMode == 1) {
            const tkxPoint2d p = m_worldDC.ScreenToMath(point);
            m_strTip.Format(L"X=%.3f,Y=%.3f", p.x, p.y);
            m_toolTip.UpdateTipText(m_strTip, this);
        } else if (m_nToolTipMode == 2 && !m_strTip.IsEmpty()) {
            m_toolTip.UpdateTipText(m_strTip, this);
        }
    }
    // Grips catch the cursor within 4 pixels and let it go when it leaves
    // the inner box of the grip that holds it.
    if (m_gripPoints.IsEmpty()) {
        m_bGripHovered = 0;
        m_nHoveredGrip = -1;
    } else {
        for (int i = 0; i < m_gripPoints.GetSize(); ++i) {
            const CPoint g = m_worldDC.MathToScreen(m_gripPoints[i]);
            CRect box(g.x - 4, g.y - 4, g.x + 5, g.y + 5);
            if (i == m_nHoveredGrip) box.DeflateRect(2, 2);
            if (box.PtInRect(point)) {
                if (m_bGripHovered) break;
                CPoint screen = g;
                ClientToScreen(&screen);
                ::SetCursorPos(screen.x, screen.y);
                m_ptCursor = g;
                m_bGripHovered = 1;
                m_nHoveredGrip = i;
                break;
            }
            if (i == m_nHoveredGrip) {
                m_bGripHovered = 0;
                m_nHoveredGrip = -1;
            }
        }
    }
    Invalidate(FALSE);
    Default();
}

LRESULT tkxGraphicsCtrl::OnMButtonDown(WPARAM, LPARAM lParam)
{
    SetFocus();
    m_ptPanAnchor = CPoint(lParam);
    m_dwState |= STATE_PANNING;
    ::SetCursor(m_hPanCursor);
    SetCapture();
    Invalidate(FALSE);
    return Default();
}

LRESULT tkxGraphicsCtrl::OnMButtonUp(WPARAM, LPARAM lParam)
{
    if (m_dwState & STATE_PANNING) {
        const CPoint point(lParam);
        m_worldDC.m_ptOrigin.x += point.x - m_ptPanAnchor.x;
        m_worldDC.m_ptOrigin.y += m_ptPanAnchor.y - point.y;
        m_dwState &= ~static_cast<DWORD>(STATE_PANNING);
        ::ReleaseCapture();
        ::SetCursor(nullptr);
        Invalidate(FALSE);
    }
    return Default();
}

void tkxGraphicsCtrl::EndPanning()
{
    m_dwState &= ~static_cast<DWORD>(STATE_PANNING);
    ReDraw();
}

void tkxGraphicsCtrl::OnCaptureChanged(CWnd* wnd)
{
    // Another window took the mouse: the pan ends where it stands.
    if ((m_dwState & STATE_PANNING) && (!wnd || wnd->m_hWnd != m_hWnd)) EndPanning();
    Default();
}

LRESULT tkxGraphicsCtrl::OnMButtonDblClk(WPARAM, LPARAM)
{
    SetFocus();
    ShowAll();
    return Default();
}

BOOL tkxGraphicsCtrl::OnMouseWheel(UINT, short delta, CPoint point)
{
    CRect area = m_worldDC.m_rcClient;
    ClientToScreen(&area);
    if (!area.PtInRect(point)) return static_cast<BOOL>(Default());
    const CPoint c(point.x - area.left, point.y - area.top);
    const tkxPoint2d m = m_worldDC.ScreenToMath(c);
    double scale = m_worldDC.m_dScale;
    if (delta > 0) scale *= 1.25;
    else if (delta < 0) scale *= 0.75;
    if (scale < 0.020001) scale = 0.02;
    if (scale > 100000.000001) scale = 100000;
    m_worldDC.m_dScale = scale;
    m_worldDC.m_ptOrigin = tkxPoint2d(c.x, m_worldDC.m_rcClient.bottom - c.y) - m * scale;
    ReDraw();
    return static_cast<BOOL>(Default());
}

void tkxGraphicsCtrl::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    if (m_bGripHovered && !m_gripPoints.IsEmpty()) {
        const sGripPointManage* record = nullptr;
        for (INT_PTR i = m_gripRecords.GetSize() - 1; i >= 0; --i) {
            const sGripPointManage& r = m_gripRecords[i];
            if (r.nFirst <= m_nHoveredGrip && m_nHoveredGrip < r.nFirst + r.nCount) {
                record = &r;
                break;
            }
        }
        if (!record) return;
        tkxEntityDC* entity = record->pEntity;
        int index = m_nHoveredGrip - record->nFirst;
        m_pPreview = entity->Clone();
        if (!m_pPreview) return;
        m_dwState |= STATE_MODAL;
        Invalidate(FALSE);
        tkxPoint2d base = m_gripPoints[m_nHoveredGrip];
        if (m_pPreview->IsKindOf(RUNTIME_CLASS(tkxCircleDC)))
            static_cast<tkxCircleDC*>(m_pPreview)->GetCenterPoint(base);
        else if (m_pPreview->IsKindOf(RUNTIME_CLASS(tkxArcDC)))
            static_cast<tkxArcDC*>(m_pPreview)->GetCenterPoint(base);
        tkxPoint2d offset;
        const HWND self = m_hWnd;
        const int moved = DragEntity(m_pPreview, base, index, offset);
        if (!::IsWindow(self)) {
            // The view went away during the drag: its entities are gone.
            delete m_pPreview;
            m_pPreview = nullptr;
            return;
        }
        if (moved == 1) {
            // Only where the entity and its grips were and are now is drawn
            // again.
            std::vector<CRect> before;
            const bool known = EntityArea(entity, before);
            entity->moveGripPointsAt(offset, index);
            RegenChange({entity}, before, known);
        }
        Invalidate(FALSE);
        m_bRubberBand = 0;
        m_bGripHovered = 0;
        m_nHoveredGrip = m_nDraggedGrip = -1;
        m_dwState &= ~static_cast<DWORD>(STATE_MODAL);
        delete m_pPreview;
        m_pPreview = nullptr;
        Default();
        return;
    }
    if (!((m_dwState & STATE_MODAL) && (m_dwState & STATE_PANNING))) {
        tkxEntityDC* hit = nullptr;
        const UINT id = GraphicsItemSelect(point, &hit);
        if (id) {
            if (CWnd* parent = GetParent()) parent->PostMessage(WM_ENTITY_PICKED, id, 0);
            // A hit selects the entity while editing is enabled; what that
            // changes is drawn again.
            std::vector<tkxEntityDC*> changed;
            std::vector<CRect> before;
            bool known = true;
            if (m_bEditEnable && !hit->IsSelected()) {
                known = EntityArea(hit, before);
                hit->SetSelected(1);
                changed.push_back(hit);
            }
            RegenChange(changed, before, known);
        }
    }
    Default();
}

void tkxGraphicsCtrl::OnLButtonUp(UINT, CPoint) { Default(); }

// ---------------------------------------------------------------------------
// Picking

UINT tkxGraphicsCtrl::GraphicsItemSelect(CPoint point, tkxEntityDC** hitEntity)
{
    if (point.x > m_worldDC.m_rcClient.right || point.y > m_worldDC.m_rcClient.bottom) return 0;
    const int half = m_nPickHalf, side = 2 * half + 1;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return 0;
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = ::SelectObject(memory.m_hDC, bitmap);
    memory.SetBkMode(TRANSPARENT);
    memory.SetTextColor(kWhite);

    // A copy of the mapping that puts the pick box at the bitmap's corner.
    tkxWorldDrawDC pick = m_worldDC;
    pick.m_pDC = &memory;
    pick.m_ptOrigin = m_worldDC.m_ptOrigin + tkxPoint2d(-(point.x - half), point.y - half);
    tkxPoint2d vmin, vmax;
    pick.GetBoundsBox(vmin, vmax);
    // The world box of the pick box itself: entities that draw within their
    // extents are tried only when these meet it (a text's box ignores its
    // angle, so texts are tried whenever they are in the view).
    const tkxPoint2d boxLow = m_worldDC.ScreenToMath(CPoint(point.x - half - 1, point.y + half + 1));
    const tkxPoint2d boxHigh = m_worldDC.ScreenToMath(CPoint(point.x + half + 1, point.y - half - 1));
    const double scale = m_worldDC.m_dScale;
    const auto* pixels = static_cast<const uint32_t*>(bits);

    // While the view maps and holds what it did at the last regeneration,
    // the entities are taken as it measured them: one it did not draw is
    // not shown and passed over, and one of the library's classes is tried
    // only when the box it may draw on meets the pick box.
    const bool kept = SurfacesShowTheModel() && m_kept.size() == m_entities.size();
    const int pickLeft = point.x - half - 1, pickRight = point.x + half + 1;
    const int pickTop = point.y - half - 1, pickBottom = point.y + half + 1;
    if (kept) m_tiles->Near(pickLeft, pickTop, pickRight, pickBottom, m_near);
    UINT hit = 0;
    for (size_t n = kept ? m_near.size() : m_entities.size(); n-- > 0 && !hit;) {
        const size_t i = kept ? m_near[n] : n;
        tkxEntityDC* entity = m_entities[i];
        if (kept) {
            if (!(m_kept[i] & KEPT_IN_VIEW)) continue;
            const DeviceBox& b = m_keptBoxes[i];
            if (b.left > pickRight || b.right < pickLeft || b.top > pickBottom || b.bottom < pickTop) continue;
        }
        if (entity->IsErased() || !entity->IsCanSel()) continue;
        const int penWidth = static_cast<int>(std::min(std::max(std::trunc(entity->GetLineWidth() * scale), 0.0), 1e6));
        if (!kept || !(m_kept[i] & KEPT_REACHES)) {
            if (!IsVisible(entity, vmin, vmax)) continue;
            if (!entity->IsKindOf(RUNTIME_CLASS(tkxTextDC))) {
                const double reach = (penWidth / 2.0 + 1) / scale;
                if (!IsVisible(entity, boxLow - tkxPoint2d(reach, reach), boxHigh + tkxPoint2d(reach, reach)))
                    continue;
            }
        }
        memory.PatBlt(0, 0, side, side, BLACKNESS);
        SetGraphicsPen(PS_SOLID, penWidth, kWhite, 0, &memory);
        entity->worldDraw(&pick);
        ::GdiFlush();
        for (int x = 0; x < side && !hit; ++x)
            for (int y = 0; y < side; ++y)
                if (pixels[y * side + x] & 0xFFFFFF) {
                    hit = static_cast<UINT>(entity->GetId());
                    if (hitEntity) *hitEntity = entity;
                    break;
                }
    }
    ::SelectObject(memory.m_hDC, ::GetStockObject(BLACK_PEN));
    ::SelectObject(memory.m_hDC, oldBitmap);
    memory.DeleteDC();
    ::DeleteObject(bitmap);
    m_penWidth = -1; // the pen and brush may have been selected into the released device only
    m_hollowOn = nullptr;
    return hit;
}

// ---------------------------------------------------------------------------
// Modal loops

bool tkxGraphicsCtrl::NextModalMessage(MSG& msg)
{
    if (!::IsWindow(m_hWnd)) return false;
    HWND parent = ::GetParent(m_hWnd);
    if (!::IsWindowVisible(parent ? parent : m_hWnd)) return false;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        // The quit message belongs to the loop outside this one.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    return got != -1;
}

tkxPoint2d tkxGraphicsCtrl::TransOrthModePt(tkxPoint2d base, tkxPoint2d p)
{
    const double a = base.Angle(p);
    if (std::fabs(std::tan(a)) < 1) return tkxPoint2d(p.x, base.y);
    return tkxPoint2d(base.x, p.y);
}

int tkxGraphicsCtrl::DragEntity(tkxEntityDC* preview, tkxPoint2d& base, int& gripIndex, tkxPoint2d& offset)
{
    m_ptRubberBase = base;
    m_ptCursorWorld = base;
    m_bRubberBand = 1;
    m_nDraggedGrip = m_nHoveredGrip;
    offset = tkxPoint2d(0, 0);
    auto dispatch = [this](MSG& msg, bool preTranslate) {
        if (preTranslate && PreTranslateMessage(&msg)) return;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    };
    auto moveTo = [&](const tkxPoint2d& p) {
        tkxPoint2d undo = offset * -1;
        preview->moveGripPointsAt(undo, gripIndex);
        offset = p - base;
        preview->moveGripPointsAt(offset, gripIndex);
    };
    MSG msg;
    for (;;) {
        if (!NextModalMessage(msg)) return 0;
        const bool forView = msg.hwnd == m_hWnd;
        if (msg.message == WM_KEYDOWN) {
            if (LOBYTE(msg.wParam) == VK_ESCAPE) return 0;
            dispatch(msg, true);
            continue;
        }
        if (forView && msg.message == WM_MOUSEMOVE) {
            tkxPoint2d p = m_worldDC.ScreenToMath(MessagePoint(msg));
            if (m_bOrthMode) p = TransOrthModePt(m_ptRubberBase, p);
            m_ptCursorWorld = p;
            moveTo(p);
            Invalidate(FALSE);
            dispatch(msg, true);
            continue;
        }
        if (forView && msg.message == WM_LBUTTONDOWN) break;
        dispatch(msg, forView);
    }
    tkxPoint2d p;
    if (m_bGripHovered && m_nHoveredGrip >= 0 && m_nHoveredGrip < m_gripPoints.GetSize()) {
        p = m_gripPoints[m_nHoveredGrip];
    } else {
        p = m_worldDC.ScreenToMath(MessagePoint(msg));
        if (m_bOrthMode) p = TransOrthModePt(m_ptRubberBase, p);
    }
    moveTo(p);
    return 1;
}

int tkxGraphicsCtrl::GetPoint(const wchar_t* prompt, tkxPoint2d& point)
{
    m_nToolTipMode = 2;
    m_strTip = prompt ? prompt : L"";
    m_dwState |= STATE_MODAL;
    Invalidate(FALSE);
    auto end = [this]() {
        m_nToolTipMode = 0;
        m_dwState &= ~static_cast<DWORD>(STATE_MODAL);
        m_bRubberBand = 0;
        if (::IsWindow(m_hWnd)) Invalidate(FALSE);
    };
    MSG msg;
    for (;;) {
        if (!NextModalMessage(msg)) {
            end();
            return 0;
        }
        const bool forView = msg.hwnd == m_hWnd;
        if (msg.message == WM_KEYDOWN) {
            if (LOBYTE(msg.wParam) == VK_ESCAPE) {
                end();
                return 0;
            }
            continue; // other keys do nothing while a point is asked for
        }
        if (forView && msg.message == WM_LBUTTONDOWN) {
            point = m_worldDC.ScreenToMath(MessagePoint(msg));
            end();
            return 1;
        }
        if (forView && msg.message == WM_MOUSEMOVE) m_ptCursorWorld = m_worldDC.ScreenToMath(MessagePoint(msg));
        if (forView && PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int tkxGraphicsCtrl::GetPoint(tkxPoint2d base, const wchar_t* prompt, tkxPoint2d& point)
{
    m_bRubberBand = 1;
    m_ptRubberBase = base;
    m_ptCursorWorld = base;
    return GetPoint(prompt, point);
}

// ---------------------------------------------------------------------------
// Selection

void tkxGraphicsCtrl::GetSelect(CArray<long, long>& ids)
{
    ids.RemoveAll();
    for (tkxEntityDC* entity : m_entities)
        if (entity->IsSelected()) ids.Add(entity->GetId());
}

void tkxGraphicsCtrl::CancelSelect()
{
    std::vector<tkxEntityDC*> changed;
    std::vector<CRect> before;
    bool known = true;
    auto clear = [&](tkxEntityDC* entity) {
        known = EntityArea(entity, before) && known;
        entity->SetSelected(0);
        changed.push_back(entity);
    };
    // First the entities selected when the view last measured them; when
    // they were all the selected entities there are, that was all.
    for (size_t i = 0; i < m_kept.size() && i < m_entities.size(); ++i)
        if ((m_kept[i] & KEPT_SELECTED) && m_entities[i]->IsSelected()) clear(m_entities[i]);
    if (tkxEntityDC::s_selected > 0)
        for (tkxEntityDC* entity : m_entities)
            if (entity->IsSelected()) clear(entity);
    if (!changed.empty()) RegenChange(changed, before, known);
    m_bGripHovered = 0;
}

// ---------------------------------------------------------------------------
// Keys, menu and commands

BOOL tkxGraphicsCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(msg);
    if (msg->message == WM_KEYDOWN) {
        switch (LOBYTE(msg->wParam)) {
        case VK_RETURN:
            return TRUE;
        case VK_ESCAPE:
            if (m_bEditEnable) CancelSelect();
            return TRUE;
        case VK_DELETE:
            if (m_bEditEnable) {
                CArray<long, long> ids;
                GetSelect(ids);
                for (long id : ids) DeleteEntity(id);
                ReDraw();
            }
            break;
        case VK_F8:
            m_bOrthMode = !m_bOrthMode;
            break;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void tkxGraphicsCtrl::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        point = m_ptCursor;
        ClientToScreen(&point);
    }
    CMenu menu;
    menu.CreatePopupMenu();
    if (m_bEditEnable) {
        if (m_dwState & STATE_MODAL)
            menu.AppendMenu(MF_STRING, ID_GRAPHICS_OK, L"确定(&E)");
        else
            menu.AppendMenu(MF_STRING, ID_GRAPHICS_DELETE, L"删除(&D)");
        menu.AppendMenu(MF_STRING, ID_GRAPHICS_CANCEL, L"取消(&C)");
        menu.AppendMenu(MF_SEPARATOR);
    }
    menu.AppendMenu(MF_STRING, ID_GRAPHICS_SHOWALL, L"显示全部(&Z)");
    if (m_bEditEnable) {
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | (m_bOrthMode ? MF_CHECKED : 0), ID_GRAPHICS_ORTHO, L"打开正交(&O)");
    }
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

BOOL tkxGraphicsCtrl::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (handlerInfo) return CWnd::OnCmdMsg(id, code, extra, handlerInfo);
    // Only the command itself acts; an update request before it is answered
    // as handled and does nothing (a key posted twice would clear the
    // selection behind a cancelled point input).
    const bool command = code == static_cast<int>(CN_COMMAND);
    switch (id) {
    case ID_GRAPHICS_OK:
        if (command) PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        return TRUE;
    case ID_GRAPHICS_CANCEL:
        if (command) PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return TRUE;
    case ID_GRAPHICS_DELETE:
        if (command) PostMessage(WM_KEYDOWN, VK_DELETE, 0);
        return TRUE;
    case ID_GRAPHICS_SHOWALL:
        if (command) ShowAll();
        return TRUE;
    case ID_GRAPHICS_ORTHO:
        if (command) m_bOrthMode = !m_bOrthMode;
        return TRUE;
    default:
        return CWnd::OnCmdMsg(id, code, extra, handlerInfo);
    }
}
