// GDI wrappers: drawing objects (pens, brushes, fonts, bitmaps, regions),
// image lists and device contexts.  An object owns the handle it created or
// was attached to and deletes it when it dies; FromHandle gives a temporary
// object for a foreign handle, freed in the idle pass (never delete one).
#pragma once
#include "Object.h"
#include "String.h"
#include "Types.h"
#include <commctrl.h>

class CWnd;

class CLASSLIB_API CGdiObject : public CObject
{
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return ClIsNull(this) ? nullptr : m_hObject; } // null for a null object

    static CGdiObject* FromHandle(HGDIOBJ handle);
    static void DeleteTempMap();
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
    BOOL CreateStockObject(int index);
};

class CLASSLIB_API CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }
};

class CLASSLIB_API CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int index, COLORREF color) { return Attach(::CreateHatchBrush(index, color)); }
    BOOL CreatePatternBrush(class CBitmap* bitmap);
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }
};

class CLASSLIB_API CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName);
    // Height in tenths of a point, for the screen (or the given DC).
    BOOL CreatePointFont(int pointSize, const wchar_t* faceName, class CDC* dc = nullptr);
    int GetLogFont(LOGFONTW* lf) const { return GetObject(sizeof(LOGFONTW), lf); }
};

class CLASSLIB_API CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    // From the first resource module that holds the bitmap (the caller's first).
    // From the module that asks, or the next in the resource search order.
    BOOL LoadBitmap(UINT id, HINSTANCE caller = ClCallerModule());
    BOOL LoadBitmap(const wchar_t* name, HINSTANCE caller = ClCallerModule());
    BOOL LoadOEMBitmap(UINT id) { return Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(id))); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    CSize GetBitmapDimension() const;
};

class CLASSLIB_API CRgn : public CGdiObject
{
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN rgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(rgn)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
    BOOL CreatePolygonRgn(const POINT* points, int count, int mode)
    {
        return Attach(::CreatePolygonRgn(points, count, mode));
    }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn(*this, static_cast<HRGN>(a->m_hObject), b ? static_cast<HRGN>(b->m_hObject) : nullptr,
                            mode);
    }
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(*this, l, t, r, b); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion(*this, p.x, p.y); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(*this, rect); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
};

// ---------------------------------------------------------------------------

class CLASSLIB_API CDC : public CObject
{
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return ClIsNull(this) ? nullptr : m_hDC; } // null for a null object

    static CDC* FromHandle(HDC dc);
    static void DeleteTempMap();
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL CreateDC(const wchar_t* driver, const wchar_t* device, const wchar_t* output, const DEVMODEW* init);
    BOOL DeleteDC();

    // Selection: each returns a temporary object for what was selected before.
    CGdiObject* SelectStockObject(int index);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* rgn);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

    // Attributes.
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetWindowOrg(int x, int y);
    CPoint GetViewportOrg() const;
    CPoint GetWindowOrg() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetWindowExt(int cx, int cy);
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<POINT*>(rect), 2); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<POINT*>(rect), 2); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }

    // Clipping.
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT r) { return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? static_cast<HRGN>(rgn->m_hObject) : nullptr); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return ::LineTo(m_hDC, p.x, p.y); }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(LPCRECT r, POINT p) { return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, p.x, p.y); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
    {
        return ::Arc(m_hDC, l, t, r, b, x3, y3, x4, y4);
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }

    // Areas.
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject)); }
    void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject)); }
    void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A frame one pixel wide: top and left in `topLeft`, bottom and right in
    // `bottomRight`.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
    void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return ::DrawIcon(m_hDC, p.x, p.y, icon); }
    BOOL DrawState(CPoint p, CSize size, HICON icon, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint p, CSize size, const wchar_t* text, UINT flags, BOOL prefixText = TRUE, int length = 0,
                   CBrush* brush = nullptr);
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, wSrc, hSrc, rop);
    }

    // Text.
    BOOL TextOut(int x, int y, const wchar_t* text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const wchar_t* text, UINT count, const int* dx)
    {
        return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, dx);
    }
    int DrawText(const wchar_t* text, int count, LPRECT rect, UINT format)
    {
        return ::DrawTextW(m_hDC, text, count, rect, format);
    }
    int DrawText(const CString& text, LPRECT rect, UINT format)
    {
        return ::DrawTextW(m_hDC, text, text.GetLength(), rect, format);
    }
    CSize GetTextExtent(const wchar_t* text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
    BOOL GetCharWidth(UINT first, UINT last, int* widths) const { return ::GetCharWidth32W(m_hDC, first, last, widths); }

    // The library's halftone brush (a 50% checker pattern) for drag feedback.
    static CBrush* GetHalftoneBrush();

    // Printing.  A DC flagged as printing draws pages of a document (the
    // print loop and the print preview set the flag).  The document and
    // page calls are virtual so that a DC may collect its pages elsewhere.
    BOOL m_bPrinting = FALSE;
    BOOL IsPrinting() const { return m_bPrinting; }
    virtual int StartDoc(LPDOCINFOW docInfo) { return ::StartDocW(m_hDC, docInfo); }
    int StartDoc(const wchar_t* docName);
    virtual int StartPage() { return ::StartPage(m_hDC); }
    virtual int EndPage() { return ::EndPage(m_hDC); }
    virtual int EndDoc() { return ::EndDoc(m_hDC); }
    virtual int AbortDoc() { return ::AbortDoc(m_hDC); }
    int SetAbortProc(ABORTPROC proc) { return ::SetAbortProc(m_hDC, proc); }
};

// The DC of a WM_PAINT handler: BeginPaint and EndPaint (or the given DC
// while the window renders itself for WM_PRINTCLIENT).
class CLASSLIB_API CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
    bool m_printing = false;
};

class CLASSLIB_API CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CLASSLIB_API CWindowDC : public CDC
{
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

// ---------------------------------------------------------------------------

class CLASSLIB_API CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return ClIsNull(this) ? nullptr : m_hImageList; } // null for a null object
    static CImageList* FromHandle(HIMAGELIST list);
    static void DeleteTempMap();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource (searched in the resource modules): images `cx`
    // wide, `mask` the transparent colour (CLR_NONE for none).
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask, HINSTANCE caller = ClCallerModule());
    BOOL Create(const wchar_t* bitmapName, int cx, int grow, COLORREF mask, HINSTANCE caller = ClCallerModule());
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF mask);
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon) != -1; }
    HICON ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
    BOOL Draw(CDC* dc, int index, POINT p, UINT style);
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    BOOL SetOverlayImage(int image, int overlay) { return ImageList_SetOverlayImage(m_hImageList, image, overlay); }

    // Drag images.
    BOOL BeginDrag(int image, CPoint hotSpot) { return ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y); }
    static void EndDrag() { ImageList_EndDrag(); }
    static BOOL DragMove(CPoint p) { return ImageList_DragMove(p.x, p.y); }
    static BOOL DragEnter(CWnd* lock, CPoint p);
    static BOOL DragLeave(CWnd* lock);
    static BOOL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }
};
