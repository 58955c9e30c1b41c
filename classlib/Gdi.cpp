#include "Gdi.h"
#include "Wnd.h"
#include "TempMap.h"

namespace {

template <class Object> void ReleaseTemp(Object* object);
template <> void ReleaseTemp(CGdiObject* object)
{
    object->m_hObject = nullptr; // never deletes a foreign handle
    delete object;
}
template <> void ReleaseTemp(CDC* object)
{
    object->m_hDC = object->m_hAttribDC = nullptr;
    delete object;
}
template <> void ReleaseTemp(CImageList* object)
{
    object->m_hImageList = nullptr;
    delete object;
}

template <class Handle, class Object> ClTempMap<Handle, Object>& Temps()
{
    static thread_local ClTempMap<Handle, Object>* map = nullptr;
    if (!map) map = new ClTempMap<Handle, Object>(&ReleaseTemp<Object>);
    return *map;
}

} // namespace

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject() { DeleteObject(); }


BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle) return FALSE;
    DeleteObject();
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    HGDIOBJ handle = Detach();
    return ::DeleteObject(handle);
}

BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    if (!handle) return nullptr;
    auto& map = Temps<HGDIOBJ, CGdiObject>();
    if (CGdiObject* known = map.Find(handle)) return known;
    CGdiObject* object;
    switch (::GetObjectType(handle)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: object = new CPen; break;
    case OBJ_BRUSH: object = new CBrush; break;
    case OBJ_FONT: object = new CFont; break;
    case OBJ_BITMAP: object = new CBitmap; break;
    case OBJ_REGION: object = new CRgn; break;
    default: object = new CGdiObject; break;
    }
    object->m_hObject = handle;
    map.Add(handle, object);
    return object;
}

void CGdiObject::DeleteTempMap() { Temps<HGDIOBJ, CGdiObject>().FreeLevel(); }

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject)));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName)
{
    return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                                outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, const wchar_t* faceName, CDC* dc)
{
    HDC hdc = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -MulDiv(pointSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 720);
    if (faceName) wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    if (!dc) ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(const wchar_t* name, HINSTANCE caller)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP, caller);
    if (!module) return FALSE;
    return Attach(::LoadBitmapW(module, name));
}

BOOL CBitmap::LoadBitmap(UINT id, HINSTANCE caller) { return LoadBitmap(MAKEINTRESOURCEW(id), caller); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

CSize CBitmap::GetBitmapDimension() const
{
    BITMAP bm{};
    if (!GetBitmap(&bm)) return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::~CDC()
{
    if (m_hDC) ::DeleteDC(Detach());
}


CDC* CDC::FromHandle(HDC dc)
{
    if (!dc) return nullptr;
    auto& map = Temps<HDC, CDC>();
    if (CDC* known = map.Find(dc)) return known;
    CDC* object = new CDC;
    object->m_hDC = object->m_hAttribDC = dc;
    map.Add(dc, object);
    return object;
}

void CDC::DeleteTempMap() { Temps<HDC, CDC>().FreeLevel(); }

BOOL CDC::Attach(HDC dc)
{
    if (!dc) return FALSE;
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return dc;
}

int CDC::StartDoc(const wchar_t* docName)
{
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = docName;
    return StartDoc(&info);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }

BOOL CDC::CreateDC(const wchar_t* driver, const wchar_t* device, const wchar_t* output, const DEVMODEW* init)
{
    return Attach(::CreateDCW(driver, device, output, init));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPen* CDC::SelectObject(CPen* pen)
{
    return static_cast<CPen*>(CGdiObject::FromHandle(::SelectObject(m_hDC, pen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return static_cast<CBrush*>(CGdiObject::FromHandle(::SelectObject(m_hDC, brush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return static_cast<CFont*>(CGdiObject::FromHandle(::SelectObject(m_hDC, font->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return static_cast<CBitmap*>(CGdiObject::FromHandle(::SelectObject(m_hDC, bitmap->m_hObject)));
}

int CDC::SelectObject(CRgn* rgn) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(rgn->m_hObject)); }

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}

CPoint CDC::GetViewportOrg() const
{
    POINT p{};
    ::GetViewportOrgEx(m_hDC, &p);
    return CPoint(p.x, p.y);
}

CPoint CDC::GetWindowOrg() const
{
    POINT p{};
    ::GetWindowOrgEx(m_hDC, &p);
    return CPoint(p.x, p.y);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old{};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    return CSize(old.cx, old.cy);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old{};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    return CSize(old.cx, old.cy);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawState(CPoint p, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return ::DrawStateW(m_hDC, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr, nullptr,
                        reinterpret_cast<LPARAM>(icon), 0, p.x, p.y, size.cx, size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint p, CSize size, const wchar_t* text, UINT flags, BOOL prefixText, int length,
                    CBrush* brush)
{
    return ::DrawStateW(m_hDC, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr, nullptr,
                        reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), p.x, p.y, size.cx, size.cy,
                        flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const
{
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, text, count, &size);
    return CSize(size.cx, size.cy);
}

CBrush* CDC::GetHalftoneBrush()
{
    static CBrush* brush = nullptr;
    if (!brush) {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        brush = new CBrush;
        brush->Attach(::CreatePatternBrush(bitmap));
        ::DeleteObject(bitmap);
    }
    return brush;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd())
{
    if (HDC printing = ClPrintingDC()) {
        m_printing = true;
        Attach(printing);
        ::GetClientRect(m_hWnd, &m_ps.rcPaint);
        m_ps.hdc = printing;
        return;
    }
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    if (!m_printing) ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd()) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd()) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::~CImageList() { DeleteImageList(); }


CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (!list) return nullptr;
    auto& map = Temps<HIMAGELIST, CImageList>();
    if (CImageList* known = map.Find(list)) return known;
    auto* object = new CImageList;
    object->m_hImageList = list;
    map.Add(list, object);
    return object;
}

void CImageList::DeleteTempMap() { Temps<HIMAGELIST, CImageList>().FreeLevel(); }

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (!list) return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(const wchar_t* bitmapName, int cx, int grow, COLORREF mask, HINSTANCE caller)
{
    HINSTANCE module = AfxFindResourceHandle(bitmapName, RT_BITMAP, caller);
    if (!module) return FALSE;
    return Attach(ImageList_LoadImageW(module, bitmapName, cx, grow, mask, IMAGE_BITMAP,
                                       LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask, HINSTANCE caller)
{
    return Create(MAKEINTRESOURCEW(bitmapId), cx, grow, mask, caller);
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject),
                         mask ? static_cast<HBITMAP>(mask->m_hObject) : nullptr);
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject), mask);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT p, UINT style)
{
    return ImageList_Draw(m_hImageList, index, dc->m_hDC, p.x, p.y, style);
}

BOOL CImageList::DragEnter(CWnd* lock, CPoint p) { return ImageList_DragEnter(lock->GetSafeHwnd(), p.x, p.y); }
BOOL CImageList::DragLeave(CWnd* lock) { return ImageList_DragLeave(lock->GetSafeHwnd()); }
