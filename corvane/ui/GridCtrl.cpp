// The grid's window: construction, fonts, painting, geometry, scrolling,
// the focus cell and the selection, the keyboard and the auto-scroll timer.
#include "corvane/ui/GridCtrl.h"
#include "corvane/ui/TextWidths.h"
#include <ole2.h>
#include <algorithm>

namespace {

const COLORREF kTextBk = 0xFFFFC1;
const COLORREF kBackground = 0xD5C1AD;
const COLORREF kGridLine = 0x969696;
const COLORREF kReadOnly = 0x8C8C00;
const UINT_PTR kAutoScrollTimer = 513;

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// The font rule of the grid: a space's width as the margin, rows as high as
// the text plus two margins, columns twelve average characters wide plus
// two margins.
struct FontMetrics {
    int margin = 0;
    int rowHeight = 10;
    int columnWidth = 0;
};

FontMetrics MeasureFont(HDC dc, HFONT font)
{
    FontMetrics m;
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE space{};
    ::GetTextExtentPoint32W(dc, L" ", 1, &space);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    m.margin = space.cx;
    m.rowHeight = tm.tmHeight + tm.tmExternalLeading + 2 * m.margin;
    m.columnWidth = tm.tmAveCharWidth * 12 + 2 * m.margin;
    return m;
}

} // namespace

IMPLEMENT_DYNCREATE(tkxGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(tkxGridCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CAPTURECHANGED()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_MESSAGE(WM_USER + 1000, OnLastCellMessage)
    ON_MESSAGE(WM_USER + 1001, OnNextCellMessage)
    ON_NOTIFY(GVN_ENDLABELEDIT, IDC_GRID_INPLACE, OnEndInPlaceEdit)
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
    ON_COMMAND(ID_GRID_ADDROW, OnMenuAdd)
    ON_COMMAND(ID_GRID_INSERTROW, OnMenuInsert)
    ON_COMMAND(ID_GRID_DELETEROW, OnMenuDelete)
    ON_COMMAND(ID_GRID_ROWUP, OnMenuUp)
    ON_COMMAND(ID_GRID_ROWDOWN, OnMenuDown)
    ON_COMMAND(ID_GRID_AUTOCOLWIDTH, OnMenuAutocolwidth)
    ON_COMMAND(ID_GRID_SORTUP, OnMenuColumnsortUp)
    ON_COMMAND(ID_GRID_SORTDOWN, OnMenuColumnsortDown)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Construction.

tkxGridCtrl::tkxGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_nReadOnlyRow(-1), m_crTextColour(::GetSysColor(COLOR_WINDOWTEXT)), m_crTextBkColour(kTextBk),
      m_crBkColour(kBackground), m_crFixedTextColour(::GetSysColor(COLOR_WINDOWTEXT)),
      m_crFixedBkColour(::GetSysColor(COLOR_BTNFACE)), m_crGridColour(kGridLine),
      m_crWindowText(::GetSysColor(COLOR_WINDOWTEXT)), m_crWindowColour(kTextBk),
      m_cr3DFace(::GetSysColor(COLOR_BTNFACE)), m_crShadow(kBackground), m_crReadOnlyColour(kReadOnly),
      m_nGridLines(GVL_BOTH), m_bEditable(TRUE), m_bModified(FALSE), m_bAllowDragAndDrop(FALSE),
      m_bListMode(FALSE), m_bAllowDraw(TRUE), m_bEnableSelection(TRUE), m_bSortEnabled(FALSE),
      m_bSortOnClick(TRUE), m_bHandleTabKey(TRUE), m_bDoubleBuffer(TRUE), m_bTitleTips(TRUE),
      m_bRButtonMenu(TRUE), m_nRows(0), m_nFixedRows(0), m_nCols(0), m_nFixedCols(0), m_nMargin(0),
      m_nDefCellWidth(0), m_nDefCellHeight(10), m_nVScrollMax(0), m_nHScrollMax(0), m_pImageList(nullptr),
      m_MouseMode(MOUSE_NOTHING), m_nTimerID(0), m_nTimerInterval(25), m_nResizeCaptureRange(3),
      m_bAllowRowResize(TRUE), m_bAllowColumnResize(TRUE), m_nRowsPerWheelNotch(3), m_SelectedCellMap(10),
      m_PrevSelectedCellMap(10), m_bMustUninitOLE(FALSE), m_bAscending(TRUE), m_SortColumn(-1),
      m_CharSize(0, 0), m_nPageHeight(0), m_nPageWidth(0), m_nPrintRowsHeight(0), m_nPrinterWidth(0),
      m_nPrinterHeight(0)
{
    std::fill(std::begin(m_nReadOnlyCols), std::end(m_nReadOnlyCols), -1);
    if (!RegisterWindowClass()) AfxThrowResourceException();

    // OLE for the clipboard and drag and drop; each start made here is
    // matched by one stop when the grid goes.
    const HRESULT ole = ::OleInitialize(nullptr);
    if (SUCCEEDED(ole))
        m_bMustUninitOLE = TRUE;
    else
        ClMessageBox(nullptr, L"OLE 初始化失败. 请检查OLE库的版本是否正确!", L"TAVIX", MB_OK | MB_ICONINFORMATION);

    ReadWheelScrollLines();

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_Logfont = ncm.lfMessageFont;

    // Columns made before a font is applied take the width the font rule
    // gives for this font.
    if (HFONT font = ::CreateFontIndirectW(&m_Logfont)) {
        HDC screen = ::GetDC(nullptr);
        m_nDefCellWidth = MeasureFont(screen, font).columnWidth;
        ::ReleaseDC(nullptr, screen);
        ::DeleteObject(font);
    }

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);

    m_crTextColour = m_crWindowText;
    m_crFixedTextColour = m_crWindowText;
    m_crTextBkColour = m_crWindowColour;
    m_crBkColour = m_crShadow;
    m_crFixedBkColour = m_cr3DFace;
    m_SelectedCellMap.RemoveAll();
    m_PrevSelectedCellMap.RemoveAll();
    m_nReadOnlyRow = -1;
    std::fill(std::begin(m_nReadOnlyCols), std::end(m_nReadOnlyCols), -1);

    if (m_bTitleTips) m_TitleTip.Create(this);
}

tkxGridCtrl::~tkxGridCtrl()
{
    // A grid that refuses structural changes keeps its cells until here.
    BOOL editable = m_bEditable;
    m_bEditable = TRUE;
    DeleteAllItems();
    m_bEditable = editable;
    if (m_hWnd) DestroyWindow();
    ReleaseResources();
}

// Fonts, the measuring DC, the title tip's window and OLE.
void tkxGridCtrl::ReleaseResources()
{
    m_DropTarget.Revoke(); // while OLE still runs
    m_Font.DeleteObject();
    m_BoldFont.DeleteObject();
    ReleaseFonts();
    ReleaseMeasureDC();
    if (m_TitleTip.m_hWnd) m_TitleTip.DestroyWindow();
    ReleaseOle();
}

void tkxGridCtrl::ReleaseMeasureDC()
{
    if (m_hMeasureDC) ::DeleteDC(m_hMeasureDC);
    m_hMeasureDC = nullptr;
}

void tkxGridCtrl::ReleaseOle()
{
    if (!m_bMustUninitOLE) return;
    m_bMustUninitOLE = FALSE;
    ::OleUninitialize();
}

BOOL tkxGridCtrl::RegisterWindowClass()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (::GetClassInfoW(instance, GRIDCTRL_CLASSNAME, &wc)) return TRUE;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = GRIDCTRL_CLASSNAME;
    return ::RegisterClassW(&wc) != 0;
}

void tkxGridCtrl::ReadWheelScrollLines()
{
    m_nRowsPerWheelNotch = 3;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    wchar_t text[32] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, L"WheelScrollLines", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        m_nRowsPerWheelNotch = static_cast<int>(std::wcstol(text, nullptr, 10));
    ::RegCloseKey(key);
}

BOOL tkxGridCtrl::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style)
{
    if (!CWnd::CreateEx(0, GRIDCTRL_CLASSNAME, nullptr, style, rect, parent, id)) return FALSE;
    m_DropTarget.Register(this);
    ApplyFont(m_Logfont);
    try {
        m_arRowHeights.Resize(m_nRows, m_nDefCellHeight);
        m_arColWidths.Resize(m_nCols, m_nDefCellWidth);
        m_arRowHeights.Fill(m_nDefCellHeight);
        m_arColWidths.Fill(m_nDefCellWidth);
    } catch (std::bad_alloc&) {
        return FALSE;
    }
    ResetScrollBars();
    return TRUE;
}

BOOL tkxGridCtrl::SubclassWindow(HWND hwnd)
{
    if (!CWnd::SubclassWindow(hwnd)) return FALSE;
    m_DropTarget.Register(this);
    if (m_bTitleTips && !m_TitleTip.m_hWnd) m_TitleTip.Create(this);
    return TRUE;
}

void tkxGridCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    ApplyFont(m_Logfont);
    ResetScrollBars();
}

BOOL tkxGridCtrl::SetReadOnlyColumn(int col, BOOL readOnly)
{
    for (int& slot : m_nReadOnlyCols)
        if (slot == col) {
            if (!readOnly) slot = -1;
            return TRUE;
        }
    if (!readOnly) return TRUE;
    for (int& slot : m_nReadOnlyCols)
        if (slot == -1) {
            slot = col;
            return TRUE;
        }
    return FALSE;
}

CGridCell* tkxGridCtrl::GetCell(int nRow, int nCol) const
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return nullptr;
    GRID_ROW* row = m_RowData[nRow];
    return row ? row->GetAt(nCol) : nullptr;
}

BOOL tkxGridCtrl::SetCell(int nRow, int nCol, CGridCell* cell)
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return FALSE;
    GRID_ROW* row = m_RowData[nRow];
    if (!row) return FALSE;
    row->SetAt(nCol, cell);
    return TRUE;
}

LRESULT tkxGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage)
{
    if (!m_hWnd) return 0;
    CWnd* owner = GetOwner();
    if (!owner || !owner->m_hWnd) return 0;
    NM_GRIDVIEW nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = static_cast<UINT>(nMessage);
    nm.iRow = nRow;
    nm.iColumn = nCol;
    return owner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// ---------------------------------------------------------------------------
// Counts.

BOOL tkxGridCtrl::SetRowCount(int nRows)
{
    if (nRows < 0) return FALSE;
    if (nRows == m_nRows) return TRUE;
    EndEditing();
    if (nRows < m_nFixedRows) m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows) SetFocusCell(-1, -1);

    for (int row = nRows; row < m_nRows; ++row) DestroyRow(row);
    const int old = m_nRows;
    m_nRows = nRows;
    m_RowData.SetSize(nRows);
    m_arRowHeights.Resize(nRows, m_nDefCellHeight);
    for (int row = old; row < nRows; ++row) {
        auto* cells = new GRID_ROW;
        cells->SetSize(m_nCols);
        m_RowData[row] = cells;
        for (int col = 0; col < m_nCols; ++col) cells->SetAt(col, CreateCell(row, col));
    }
    if (m_hWnd && m_bAllowDraw) {
        ResetScrollBars();
        Invalidate();
    }
    return TRUE;
}

BOOL tkxGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (nFixedRows < 0) return FALSE;
    if (m_nRows < nFixedRows && !SetRowCount(nFixedRows)) return FALSE;
    if (m_idCurrentCell.row < nFixedRows) SetFocusCell(-1, -1);
    m_nFixedRows = nFixedRows;
    if (m_hWnd && m_bAllowDraw) Invalidate();
    return TRUE;
}

BOOL tkxGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (nFixedCols < 0) return FALSE;
    if (m_nCols < nFixedCols && !SetColumnCount(nFixedCols)) return FALSE;
    if (m_idCurrentCell.col < nFixedCols) SetFocusCell(-1, -1);
    m_nFixedCols = nFixedCols;
    if (m_hWnd && m_bAllowDraw) Invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Fonts and colours.

void tkxGridCtrl::ApplyFont(const LOGFONTW& lf)
{
    m_Logfont = lf;
    for (int row = 0; row < m_nRows; ++row)
        for (int col = 0; col < m_nCols; ++col) SetItemFont(row, col, &m_Logfont);
    ReleaseMeasureDC(); // it may hold the old fonts
    m_Font.DeleteObject();
    m_BoldFont.DeleteObject();
    ReleaseFonts();
    m_textWidths.clear(); // measured again, as the system now draws
    m_Font.CreateFontIndirect(&m_Logfont);
    if (m_hWnd && m_Font.m_hObject) {
        HDC dc = ::GetDC(m_hWnd);
        const FontMetrics m = MeasureFont(dc, static_cast<HFONT>(m_Font.m_hObject));
        ::ReleaseDC(m_hWnd, dc);
        m_nMargin = m.margin;
        m_nDefCellHeight = m.rowHeight;
        m_nDefCellWidth = m.columnWidth;
    }
}

LRESULT tkxGridCtrl::OnSetFont(WPARAM wParam, LPARAM)
{
    LRESULT result = Default();
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(wParam);
    if (!font || !::GetObjectW(font, sizeof(lf), &lf)) return result;
    ApplyFont(lf);
    if (m_hWnd) Invalidate();
    return result;
}

LRESULT tkxGridCtrl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_Font.m_hObject); }

CFont* tkxGridCtrl::BoldFont()
{
    if (!m_BoldFont.m_hObject) {
        LOGFONTW lf = m_Logfont;
        lf.lfWeight = 600;
        m_BoldFont.CreateFontIndirect(&lf);
    }
    return &m_BoldFont;
}

void tkxGridCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    if (m_crTextColour == m_crWindowText) m_crTextColour = ::GetSysColor(COLOR_WINDOWTEXT);
    if (m_crTextBkColour == m_crWindowColour) m_crTextBkColour = ::GetSysColor(COLOR_WINDOW);
    if (m_crBkColour == m_crShadow) m_crBkColour = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_crFixedTextColour == m_crWindowText) m_crFixedTextColour = ::GetSysColor(COLOR_WINDOWTEXT);
    if (m_crFixedBkColour == m_cr3DFace) m_crFixedBkColour = ::GetSysColor(COLOR_BTNFACE);
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_BTNFACE);
    m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
}

LRESULT tkxGridCtrl::OnSettingChange(WPARAM, LPARAM)
{
    LRESULT result = Default();
    OnSysColorChange();
    ReadWheelScrollLines();
    m_textWidths.clear(); // measured again, as the system now draws
    return result;
}

void tkxGridCtrl::SetGridLines(int lines)
{
    m_nGridLines = lines;
    if (m_hWnd) Invalidate();
}

void tkxGridCtrl::EnableSelection(BOOL enable)
{
    ResetSelectedRange();
    m_bEnableSelection = enable;
    ResetSelectedRange();
}

int tkxGridCtrl::SetMouseMode(int mode)
{
    const int old = m_MouseMode;
    m_MouseMode = mode;
    return old;
}

// ---------------------------------------------------------------------------
// Painting.

void tkxGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (m_bDoubleBuffer) {
        CMemDC memDC(&dc);
        OnDraw(&memDC);
    } else {
        OnDraw(&dc);
    }
}

BOOL tkxGridCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void tkxGridCtrl::EraseBkgnd(CDC* dc)
{
    CRect visRect, clipRect, rect;
    if (dc->GetClipBox(clipRect) == ERROR) return;
    GetVisibleNonFixedCellRange(visRect);
    const int fixedColumnWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();

    if (rect.IntersectRect(clipRect, CRect(clipRect.left, clipRect.top, fixedColumnWidth, visRect.bottom)))
        dc->FillSolidRect(rect, m_crFixedBkColour);
    if (rect.IntersectRect(clipRect, CRect(fixedColumnWidth - 1, clipRect.top, visRect.right, fixedRowHeight)))
        dc->FillSolidRect(rect, m_crFixedBkColour);
    if (rect.IntersectRect(clipRect, CRect(fixedColumnWidth, fixedRowHeight, visRect.right, visRect.bottom)))
        dc->FillSolidRect(rect, m_crTextBkColour);
    if (visRect.right < clipRect.right)
        dc->FillSolidRect(visRect.right, clipRect.top, clipRect.right - visRect.right, clipRect.Height(),
                          m_crBkColour);
    if (visRect.bottom < clipRect.bottom && clipRect.left < visRect.right)
        dc->FillSolidRect(clipRect.left, visRect.bottom, visRect.right - clipRect.left,
                          clipRect.bottom - visRect.bottom, m_crBkColour);
}

void tkxGridCtrl::OnDraw(CDC* dc)
{
    CRect clipRect;
    if (dc->GetClipBox(clipRect) == ERROR || clipRect.IsRectEmpty()) return;
    EraseBkgnd(dc);

    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColumnWidth = GetFixedColumnWidth();
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int minVisibleRow = topLeft.row;
    const int minVisibleCol = topLeft.col;
    CRect visRect;
    const CCellRange visible = GetVisibleNonFixedCellRange(visRect);
    const int maxVisibleRow = visible.GetMaxRow();
    const int maxVisibleCol = visible.GetMaxCol();

    // A block of cells whose first row starts at `top` and first column at
    // `left`; cells outside the clip box are passed over.
    auto drawBlock = [&](int firstRow, int lastRow, int top, int firstCol, int lastCol, int left, bool fixed) {
        CRect rect;
        rect.bottom = top - 1;
        for (int row = firstRow; row <= lastRow; ++row) {
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + GetRowHeight(row) - 1;
            if (rect.top >= clipRect.bottom) break;
            if (rect.bottom < clipRect.top) continue;
            rect.right = left - 1;
            for (int col = firstCol; col <= lastCol; ++col) {
                rect.left = rect.right + 1;
                rect.right = rect.left + GetColumnWidth(col) - 1;
                if (rect.left >= clipRect.right) break;
                if (rect.right < clipRect.left) continue;
                if (fixed)
                    DrawFixedCell(dc, row, col, rect);
                else
                    DrawCell(dc, row, col, rect);
            }
        }
    };
    // The corner (fixed rows by fixed columns), the fixed columns of the
    // visible rows, the fixed rows over the visible columns, the visible cells.
    drawBlock(0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0, true);
    drawBlock(minVisibleRow, maxVisibleRow, fixedRowHeight, 0, m_nFixedCols - 1, 0, true);
    drawBlock(0, m_nFixedRows - 1, 0, minVisibleCol, maxVisibleCol, fixedColumnWidth, true);
    drawBlock(minVisibleRow, maxVisibleRow, fixedRowHeight, minVisibleCol, maxVisibleCol, fixedColumnWidth, false);

    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, m_crGridColour)) return;
    HGDIOBJ oldPen = dc->SelectObject(pen.m_hObject);
    if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
        int x = fixedColumnWidth;
        for (int col = minVisibleCol; col <= maxVisibleCol; ++col) {
            x += GetColumnWidth(col);
            dc->MoveTo(x - 1, fixedRowHeight);
            dc->LineTo(x - 1, visRect.bottom);
        }
    }
    if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
        int y = fixedRowHeight;
        for (int row = minVisibleRow; row <= maxVisibleRow; ++row) {
            y += GetRowHeight(row);
            dc->MoveTo(fixedColumnWidth, y - 1);
            dc->LineTo(visRect.right, y - 1);
            if (row == 0 && m_nReadOnlyRow == 0) {
                dc->MoveTo(fixedColumnWidth, y - 2);
                dc->LineTo(visRect.right, y - 2);
            }
        }
    }
    (void)oldPen;
    dc->SelectStockObject(NULL_PEN);
}

void tkxGridCtrl::SetRedraw(BOOL allow, BOOL resetScrollBars)
{
    if (allow && !m_bAllowDraw && m_hWnd) Invalidate();
    m_bAllowDraw = allow;
    if (resetScrollBars) ResetScrollBars();
}

BOOL tkxGridCtrl::RedrawCell(int nRow, int nCol, CDC* dc)
{
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol)) return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, rect)) return FALSE;

    BOOL result = TRUE;
    const bool ownDC = dc == nullptr;
    if (ownDC) dc = GetDC();
    if (dc) {
        if (nRow < m_nFixedRows || nCol < m_nFixedCols)
            result = DrawFixedCell(dc, nRow, nCol, rect, TRUE);
        else
            result = DrawCell(dc, nRow, nCol, rect, TRUE);
        CPen pen;
        if (pen.CreatePen(PS_SOLID, 0, m_crGridColour)) {
            HGDIOBJ oldPen = dc->SelectObject(pen.m_hObject);
            if (m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH) {
                dc->MoveTo(rect.left, rect.bottom);
                dc->LineTo(rect.right + 1, rect.bottom);
            }
            if (m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH) {
                dc->MoveTo(rect.right, rect.top);
                dc->LineTo(rect.right, rect.bottom + 1);
            }
            dc->SelectObject(oldPen);
        }
    } else {
        InvalidateRect(rect, TRUE);
    }
    if (ownDC && dc) ReleaseDC(dc);
    return result;
}

BOOL tkxGridCtrl::RedrawRow(int row)
{
    // No cell can be drawn: no device is asked for.
    if ((!m_bAllowDraw || !m_hWnd) && m_nCols > 0) return FALSE;
    BOOL result = TRUE;
    CDC* dc = GetDC();
    for (int col = 0; col < m_nCols; ++col) result = RedrawCell(row, col, dc) && result;
    if (dc) ReleaseDC(dc);
    return result;
}

BOOL tkxGridCtrl::RedrawColumn(int col)
{
    BOOL result = TRUE;
    CDC* dc = GetDC();
    for (int row = 0; row < m_nRows; ++row) result = RedrawCell(row, col, dc) && result;
    if (dc) ReleaseDC(dc);
    return result;
}

BOOL tkxGridCtrl::RedrawList()
{
    if (m_hWnd) Invalidate();
    ResetScrollBars();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Geometry.  Positions come from the running sums of the sizes; nothing
// here walks more rows than are on the screen.

BOOL tkxGridCtrl::IsValid(int nRow, int nCol) const
{
    return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
}

BOOL tkxGridCtrl::IsValid(const CCellRange& range) const
{
    return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 && range.GetMaxCol() >= 0 &&
           range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols && range.GetMinRow() <= range.GetMaxRow() &&
           range.GetMinCol() <= range.GetMaxCol();
}

// The first non-fixed row (column) whose start lies at or past the scroll
// position, or the last one: the scrolled-off part of a row counts as the
// whole row.
int tkxGridCtrl::TopLeftIndex(const GridExtents& sizes, int fixed, int count, int pos) const
{
    if (fixed >= count - 1 || pos <= 0) return fixed;
    return std::min(sizes.FirstReaching(fixed, pos), count - 1);
}

CCellID tkxGridCtrl::GetTopleftNonFixedCell() const
{
    return CCellID(TopLeftIndex(m_arRowHeights, m_nFixedRows, m_nRows, GetScrollPos32(SB_VERT)),
                   TopLeftIndex(m_arColWidths, m_nFixedCols, m_nCols, GetScrollPos32(SB_HORZ)));
}

CCellID tkxGridCtrl::GetCellFromPt(CPoint point, BOOL allowFixedCellCheck) const
{
    CCellID cell;
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int fixedColumnWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();

    if (point.x < 0 || (!allowFixedCellCheck && point.x < fixedColumnWidth))
        cell.col = -1;
    else if (point.x < fixedColumnWidth)
        cell.col = std::min(m_arColWidths.IndexAt(0, point.x), m_nFixedCols - 1);
    else if (topLeft.col >= m_nCols)
        cell.col = -1;
    else {
        const int col = m_arColWidths.IndexAt(topLeft.col, point.x - fixedColumnWidth);
        cell.col = col >= m_nCols ? -1 : col;
    }

    if (point.y < 0 || (!allowFixedCellCheck && point.y < fixedRowHeight))
        cell.row = -1;
    else if (point.y < fixedRowHeight)
        cell.row = std::min(m_arRowHeights.IndexAt(0, point.y), m_nFixedRows - 1);
    else if (topLeft.row >= m_nRows)
        cell.row = -1;
    else {
        const int row = m_arRowHeights.IndexAt(topLeft.row, point.y - fixedRowHeight);
        cell.row = row >= m_nRows ? -1 : row;
    }
    return cell;
}

namespace {

// Rows (columns) laid one after another from `first`, the first starting at
// `start`: the last one laid (at most count - 1) and its far edge, where the
// laying stops on the first row whose far edge reaches `limit`.
struct Reach {
    int last;
    int edge;
    bool reached; // the laying stopped at `limit` before running out
};

template <class Size>
Reach LayOut(int first, int count, int start, int limit, Size size)
{
    Reach reach{first, start, false};
    for (; reach.last < count; ++reach.last) {
        reach.edge += size(reach.last);
        if (reach.edge >= limit) {
            reach.reached = true;
            break;
        }
    }
    reach.last = std::min(reach.last, count - 1);
    return reach;
}

} // namespace

CCellRange tkxGridCtrl::GetVisibleNonFixedCellRange(LPRECT rect) const
{
    CRect client;
    GetClientRect(client);
    const CCellID topLeft = GetTopleftNonFixedCell();
    const Reach rows = LayOut(topLeft.row, m_nRows, GetFixedRowHeight(), client.bottom,
                              [this](int row) { return GetRowHeight(row); });
    const Reach cols = LayOut(topLeft.col, m_nCols, GetFixedColumnWidth(), client.right,
                              [this](int col) { return GetColumnWidth(col); });
    // A row or column cut by the window's edge ends there.
    if (rect)
        *rect = CRect(0, 0, cols.reached ? static_cast<int>(client.right) : cols.edge,
                      rows.reached ? static_cast<int>(client.bottom) : rows.edge);
    return CCellRange(topLeft.row, topLeft.col, rows.last, cols.last);
}

CCellRange tkxGridCtrl::GetUnobstructedNonFixedCellRange() const
{
    CRect client;
    GetClientRect(client);
    const CCellID topLeft = GetTopleftNonFixedCell();
    Reach rows = LayOut(topLeft.row, m_nRows, GetFixedRowHeight(), client.bottom,
                        [this](int row) { return GetRowHeight(row); });
    Reach cols = LayOut(topLeft.col, m_nCols, GetFixedColumnWidth(), client.right,
                        [this](int col) { return GetColumnWidth(col); });
    // Leave out a last row or column the window's edge cuts (unless it is
    // the only one).
    if (rows.edge > client.bottom && rows.last > topLeft.row) --rows.last;
    if (cols.edge > client.right && cols.last > topLeft.col) --cols.last;
    return CCellRange(topLeft.row, topLeft.col, rows.last, cols.last);
}

BOOL tkxGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) const
{
    if (!IsValid(nRow, nCol)) return FALSE;
    CCellID topLeft;
    if (nRow >= m_nFixedRows || nCol >= m_nFixedCols) topLeft = GetTopleftNonFixedCell();
    if ((nRow >= m_nFixedRows && nRow < topLeft.row) || (nCol >= m_nFixedCols && nCol < topLeft.col)) return FALSE;

    if (nCol < m_nFixedCols)
        p->x = static_cast<LONG>(m_arColWidths.Start(nCol));
    else
        p->x = GetFixedColumnWidth() + static_cast<LONG>(m_arColWidths.Span(topLeft.col, nCol));
    if (nRow < m_nFixedRows)
        p->y = static_cast<LONG>(m_arRowHeights.Start(nRow));
    else
        p->y = GetFixedRowHeight() + static_cast<LONG>(m_arRowHeights.Span(topLeft.row, nRow));
    return TRUE;
}

BOOL tkxGridCtrl::GetCellRect(int nRow, int nCol, LPRECT rect) const
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin)) return FALSE;
    rect->left = origin.x;
    rect->top = origin.y;
    rect->right = origin.x + GetColumnWidth(nCol) - 1;
    rect->bottom = origin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

BOOL tkxGridCtrl::GetCellRangeRect(const CCellRange& range, LPRECT rect) const
{
    CPoint minOrigin, maxOrigin;
    if (!GetCellOrigin(range.GetMinRow(), range.GetMinCol(), &minOrigin)) return FALSE;
    if (!GetCellOrigin(range.GetMaxRow(), range.GetMaxCol(), &maxOrigin)) return FALSE;
    rect->left = minOrigin.x;
    rect->top = minOrigin.y;
    rect->right = maxOrigin.x + GetColumnWidth(range.GetMaxCol()) - 1;
    rect->bottom = maxOrigin.y + GetRowHeight(range.GetMaxRow()) - 1;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Scrolling.

int tkxGridCtrl::GetScrollPos32(int bar, BOOL getTrackPos) const
{
    if (!m_hWnd) return 0;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = getTrackPos ? SIF_TRACKPOS : SIF_POS;
    if (!::GetScrollInfo(m_hWnd, bar, &si)) return 0;
    return getTrackPos ? si.nTrackPos : si.nPos;
}

BOOL tkxGridCtrl::SetScrollPos32(int bar, int pos, BOOL redraw)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = pos;
    return ::SetScrollInfo(m_hWnd, bar, &si, redraw);
}

void tkxGridCtrl::ResetScrollBars()
{
    if (!m_bAllowDraw || !m_hWnd || m_bResettingScroll) return;
    m_bResettingScroll = true;
    // Showing or hiding a bar changes the client area: a second pass sizes
    // the bars for the area that results.
    for (int pass = 0; pass < 2; ++pass) {
        CRect client, rect;
        GetClientRect(client);
        rect = client;
        rect.left += GetFixedColumnWidth();
        rect.top += GetFixedRowHeight();
        if (rect.left >= rect.right || rect.top >= rect.bottom) break;
        if (!IsValid(GetUnobstructedNonFixedCellRange())) break;

        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_PAGE;
        si.nPage = static_cast<UINT>(rect.Width());
        ::SetScrollInfo(m_hWnd, SB_HORZ, &si, FALSE);
        si.nPage = static_cast<UINT>(rect.Height());
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);

        const long long virtualHeight = GetVirtualHeight() - GetFixedRowHeight();
        const long long virtualWidth = GetVirtualWidth() - GetFixedColumnWidth();
        m_nVScrollMax = rect.Height() < virtualHeight ? static_cast<int>(virtualHeight - 1) : 0;
        m_nHScrollMax = rect.Width() < virtualWidth ? static_cast<int>(virtualWidth - 1) : 0;
        ::SetScrollRange(m_hWnd, SB_VERT, 0, m_nVScrollMax, TRUE);
        ::SetScrollRange(m_hWnd, SB_HORZ, 0, m_nHScrollMax, TRUE);

        CRect after;
        GetClientRect(after);
        if (after == client) break;
    }
    m_bResettingScroll = false;
}

void tkxGridCtrl::OnSize(UINT type, int cx, int cy)
{
    if (::GetFocus() != m_hWnd) SetFocus();
    CWnd::OnSize(type, cx, cy);
    ResetScrollBars();
}

void tkxGridCtrl::OnVScroll(UINT code, UINT, CScrollBar*) { Scroll(SB_VERT, code); }

void tkxGridCtrl::OnHScroll(UINT code, UINT, CScrollBar*) { Scroll(SB_HORZ, code); }

// One scroll request for either bar: rows and heights for the vertical bar,
// columns and widths for the horizontal one (the codes are the same).
void tkxGridCtrl::Scroll(int bar, UINT code)
{
    if (::GetFocus() != m_hWnd) SetFocus();
    m_TitleTip.Hide();

    const bool vertical = bar == SB_VERT;
    const int scrollPos = GetScrollPos32(bar);
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int first = vertical ? topLeft.row : topLeft.col;
    const int fixedCount = vertical ? m_nFixedRows : m_nFixedCols;
    const int maxPos = vertical ? m_nVScrollMax : m_nHScrollMax;
    const int fixedSize = vertical ? GetFixedRowHeight() : GetFixedColumnWidth();
    auto size = [&](int i) { return vertical ? GetRowHeight(i) : GetColumnWidth(i); };
    CRect rect;
    GetClientRect(rect);
    LONG& lead = vertical ? rect.top : rect.left;
    LONG& trail = vertical ? rect.bottom : rect.right;
    auto move = [&](int by) {
        if (vertical)
            ScrollWindow(0, by, rect);
        else
            ScrollWindow(by, 0, rect);
    };
    const int page = static_cast<int>(trail) - fixedSize;

    switch (code) {
    case SB_LINEDOWN: // SB_LINERIGHT
        if (scrollPos < maxPos) {
            const int step = size(first);
            SetScrollPos32(bar, scrollPos + step);
            if (GetScrollPos32(bar) == scrollPos) break;
            lead = fixedSize + step;
            move(-step);
            lead = trail - step;
            InvalidateRect(rect);
        }
        break;
    case SB_LINEUP: // SB_LINELEFT
        if (scrollPos > 0 && first > fixedCount) {
            const int step = size(first - 1);
            SetScrollPos32(bar, std::max(0, scrollPos - step));
            lead = fixedSize;
            move(step);
            trail = lead + step;
            InvalidateRect(rect);
        }
        break;
    case SB_PAGEDOWN: // SB_PAGERIGHT
        if (scrollPos < maxPos) {
            SetScrollPos32(bar, std::min(maxPos, scrollPos + page));
            lead = fixedSize;
            InvalidateRect(rect);
        }
        break;
    case SB_PAGEUP: // SB_PAGELEFT
        if (scrollPos > 0) {
            SetScrollPos32(bar, std::max(0, scrollPos - page));
            lead = fixedSize;
            InvalidateRect(rect);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(bar, GetScrollPos32(bar, TRUE));
        lead = fixedSize;
        InvalidateRect(rect);
        break;
    case SB_TOP: // SB_LEFT
        if (scrollPos > 0) {
            SetScrollPos32(bar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM: // SB_RIGHT
        if (scrollPos < maxPos) {
            SetScrollPos32(bar, maxPos);
            Invalidate();
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Focus and selection.

CCellID tkxGridCtrl::SetFocusCell(CCellID cell)
{
    if (cell == m_idCurrentCell) return m_idCurrentCell;
    const CCellID prev = m_idCurrentCell;
    m_idCurrentCell = cell;

    // A cell, and the headings of its row and column where `other` does not
    // share them (the headings show which row and column hold the focus).
    auto redrawWithHeadings = [this](const CCellID& at, const CCellID& other) {
        RedrawCell(at);
        if (at.col != other.col)
            for (int row = 0; row < m_nFixedRows; ++row) RedrawCell(row, at.col);
        if (at.row != other.row)
            for (int col = 0; col < m_nFixedCols; ++col) RedrawCell(at.row, col);
    };
    if (IsValid(prev)) {
        SendMessageToParent(prev.row, prev.col, GVN_FOCUSLEAVING);
        SetItemState(prev.row, prev.col, GetItemState(prev.row, prev.col) & ~GVIS_FOCUSED);
        redrawWithHeadings(prev, m_idCurrentCell);
    }
    if (IsValid(m_idCurrentCell)) {
        const CCellID now = m_idCurrentCell;
        SetItemState(now.row, now.col, GetItemState(now.row, now.col) | GVIS_FOCUSED);
        redrawWithHeadings(now, prev);
        SendMessageToParent(now.row, now.col, GVN_FOCUSCHANGED);
    }
    return prev;
}

void tkxGridCtrl::SetSelectedRange(const CCellRange& range, BOOL forceRepaint)
{
    SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(), forceRepaint);
}

void tkxGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL forceRepaint)
{
    if (!m_bEnableSelection) return;
    CDC* dc = forceRepaint ? GetDC() : nullptr;
    auto repaint = [&](int row, int col) {
        if (dc)
            RedrawCell(row, col, dc);
        else
            InvalidateCellRect(CCellID(row, col));
    };

    // Cells leave the selection; those outside the new range are repainted.
    for (const CCellID& cell : SelectedCells()) {
        if (!IsValid(cell)) {
            m_SelectedCellMap.RemoveKey(CellKey(cell.row, cell.col));
            continue;
        }
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GVIS_SELECTED);
        if (!(nMinRow <= cell.row && cell.row <= nMaxRow && nMinCol <= cell.col && cell.col <= nMaxCol))
            repaint(cell.row, cell.col);
    }
    // The selection kept while a Ctrl selection is extended comes back.
    for (POSITION pos = m_PrevSelectedCellMap.GetStartPosition(); pos;) {
        ULONGLONG key;
        CCellID cell;
        m_PrevSelectedCellMap.GetNextAssoc(pos, key, cell);
        if (!IsValid(cell)) continue;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_SELECTED);
        repaint(cell.row, cell.col);
    }
    // The new range.
    if (nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0 && nMaxRow < m_nRows && nMaxCol < m_nCols &&
        nMinRow <= nMaxRow && nMinCol <= nMaxCol) {
        for (int row = nMinRow; row <= nMaxRow; ++row)
            for (int col = nMinCol; col <= nMaxCol; ++col) {
                const UINT state = GetItemState(row, col);
                if (state & GVIS_SELECTED) continue;
                SetItemState(row, col, state | GVIS_SELECTED);
                repaint(row, col);
            }
    }
    if (dc) ReleaseDC(dc);
}

std::vector<CCellID> tkxGridCtrl::SelectedCells() const
{
    std::vector<CCellID> cells;
    cells.reserve(static_cast<size_t>(m_SelectedCellMap.GetCount()));
    for (POSITION pos = m_SelectedCellMap.GetStartPosition(); pos;) {
        ULONGLONG key;
        CCellID cell;
        m_SelectedCellMap.GetNextAssoc(pos, key, cell);
        cells.push_back(cell);
    }
    return cells;
}

CCellRange tkxGridCtrl::GetSelectedCellRange() const
{
    CCellRange selection(m_nRows, m_nCols, -1, -1);
    for (POSITION pos = m_SelectedCellMap.GetStartPosition(); pos;) {
        ULONGLONG key;
        CCellID cell;
        m_SelectedCellMap.GetNextAssoc(pos, key, cell);
        selection.SetMinRow(std::min(selection.GetMinRow(), cell.row));
        selection.SetMinCol(std::min(selection.GetMinCol(), cell.col));
        selection.SetMaxRow(std::max(selection.GetMaxRow(), cell.row));
        selection.SetMaxCol(std::max(selection.GetMaxCol(), cell.col));
    }
    return selection;
}

void tkxGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection) return;
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void tkxGridCtrl::SelectColumns(CCellID currentCell)
{
    if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.col < m_nFixedCols) return;
    SetSelectedRange(m_nFixedRows, std::min(m_SelectionStartCell.col, currentCell.col), m_nRows - 1,
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void tkxGridCtrl::SelectRows(CCellID currentCell)
{
    if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.row < m_nFixedRows) return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row), m_nFixedCols,
                     std::max(m_SelectionStartCell.row, currentCell.row), m_nCols - 1);
}

void tkxGridCtrl::SelectCells(CCellID currentCell)
{
    if (!m_bEnableSelection || !IsValid(currentCell)) return;
    if (currentCell.row < m_nFixedRows || currentCell.col < m_nFixedCols) return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row),
                     std::min(m_SelectionStartCell.col, currentCell.col),
                     std::max(m_SelectionStartCell.row, currentCell.row),
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void tkxGridCtrl::OnSelecting(const CCellID& currentCell)
{
    if (!m_bEnableSelection) return;
    switch (m_MouseMode) {
    case MOUSE_SELECT_ALL: SelectAllCells(); break;
    case MOUSE_SELECT_COL: SelectColumns(currentCell); break;
    case MOUSE_SELECT_ROW: SelectRows(currentCell); break;
    case MOUSE_SELECT_CELLS: SelectCells(currentCell); break;
    default: break;
    }
}

void tkxGridCtrl::ResetSelectedRange()
{
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

// ---------------------------------------------------------------------------
// Keyboard.

UINT tkxGridCtrl::OnGetDlgCode()
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !KeyDown(VK_CONTROL)) code |= DLGC_WANTTAB;
    return code;
}

void tkxGridCtrl::OnChar(UINT nChar, UINT repeat, UINT flags)
{
    // An input method hands over a whole word at once: each of its characters
    // is posted to the window that had the focus while it was composed, the
    // grid.  The first one opens the editor; the others go on typing in it
    // instead of opening a new editor over it each time.
    const HWND focus = ::GetFocus();
    if (focus && focus != m_hWnd && ::IsChild(m_hWnd, focus)) {
        ::SendMessageW(focus, WM_CHAR, nChar, MAKELPARAM(repeat, flags));
        return;
    }
    if (!KeyDown(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING && !(m_bHandleTabKey && nChar == VK_TAB) &&
        IsValid(m_idCurrentCell) && !IsReadOnly(m_idCurrentCell.row, m_idCurrentCell.col))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, nChar);
    CWnd::OnChar(nChar, repeat, flags);
}

LRESULT tkxGridCtrl::OnLastCellMessage(WPARAM, LPARAM)
{
    OnKeyDown(VK_LEFT, 0, 0);
    return 0;
}

LRESULT tkxGridCtrl::OnNextCellMessage(WPARAM, LPARAM)
{
    OnKeyDown(VK_RIGHT, 0, 0);
    return 0;
}

// Computes the cell a key moves the focus to; FALSE when the key stops
// there (nothing moves).
BOOL tkxGridCtrl::MoveFocusOnKey(UINT nChar, CCellID& next, BOOL& wrapped)
{
    int& row = next.row;
    int& col = next.col;
    auto skipRight = [&]() -> bool {
        while (IsReadOnly(row, col)) {
            if (col + 1 > m_nCols - 1) {
                col = 0;
                if (row + 1 > m_nRows - 1) return false;
                ++row;
            } else {
                ++col;
            }
        }
        return true;
    };
    auto skipLeft = [&]() -> bool {
        while (IsReadOnly(row, col)) {
            if (col - 1 > 0) {
                --col;
            } else {
                col = m_nCols - 1;
                if (row - 1 < 0) return false;
                --row;
            }
        }
        return true;
    };
    const bool shift = KeyDown(VK_SHIFT);

    switch (nChar) {
    case VK_TAB:
        if (!shift) {
            if (row == m_nReadOnlyRow) {
                ++row;
                col = 0;
            }
            if (col < m_nCols - 1) {
                ++col;
            } else {
                if (row >= m_nRows - 1) {
                    Default();
                    return FALSE;
                }
                ++row;
                col = 0;
                wrapped = TRUE;
            }
            if (!skipRight()) return FALSE;
        } else {
            if (col > m_nFixedCols) {
                --col;
            } else if (row > m_nFixedRows) {
                --row;
                col = m_nCols - 1;
                wrapped = TRUE;
            } else {
                Default();
                return FALSE;
            }
            if (!skipLeft()) return FALSE;
        }
        return row >= m_nFixedRows && row < m_nRows;
    case VK_LEFT:
        if (col > m_nFixedCols) {
            --col;
        } else {
            --row;
            col = m_nCols - 1;
            wrapped = TRUE;
        }
        return skipLeft();
    case VK_RIGHT:
        if (col < m_nCols - 1) {
            ++col;
        } else {
            ++row;
            col = 0;
            wrapped = TRUE;
        }
        return skipRight();
    case VK_UP:
        if (row > m_nFixedRows) {
            if (row == m_nReadOnlyRow + 1) return FALSE;
            --row;
        }
        return TRUE;
    case VK_DOWN:
        if (row < m_nRows - 1) ++row;
        return TRUE;
    case VK_PRIOR: {
        const int before = GetTopleftNonFixedCell().row;
        SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        const int change = GetTopleftNonFixedCell().row - before;
        row += change;
        if (change == 0 || row < m_nFixedRows) row = m_nFixedRows;
        return TRUE;
    }
    case VK_NEXT: {
        const int before = GetTopleftNonFixedCell().row;
        SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        const int change = GetTopleftNonFixedCell().row - before;
        row += change;
        if (change == 0 || row > m_nRows - 1) row = m_nRows - 1;
        return TRUE;
    }
    case VK_HOME: {
        SendMessage(WM_VSCROLL, SB_TOP, 0);
        if (row == m_nReadOnlyRow) ++row;
        int c = 0;
        while (c < m_nCols && IsReadOnly(row, c)) ++c;
        if (c >= m_nCols) return FALSE; // no column to go to: the focus stays
        col = c;
        return TRUE;
    }
    case VK_END: {
        SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
        int c = m_nCols - 1;
        while (c >= 0 && IsReadOnly(row, c)) --c;
        if (c < 0) return FALSE; // no column to go to: the focus stays
        col = c;
        return TRUE;
    }
    case VK_DELETE:
        if (m_bEditable && !IsCellLocked(m_idCurrentCell.row, m_idCurrentCell.col)) {
            SetItemText(m_idCurrentCell.row, m_idCurrentCell.col, L"");
            RedrawCell(m_idCurrentCell);
            m_bModified = TRUE;
        }
        return TRUE;
    default:
        Default();
        return TRUE;
    }
}

void tkxGridCtrl::OnKeyDown(UINT nChar, UINT repeat, UINT flags)
{
    (void)repeat;
    (void)flags;
    if (!IsValid(m_idCurrentCell)) {
        Default();
        return;
    }
    if (KeyDown(VK_CONTROL)) {
        switch (nChar) {
        case 'A': OnEditSelectAll(); break;
        case 'C': OnEditCopy(); break;
        case 'V': OnEditPaste(); break;
        case 'X': OnEditCut(); break;
        default: break;
        }
    }

    CCellID next = m_idCurrentCell;
    BOOL wrapped = FALSE;
    if (!MoveFocusOnKey(nChar, next, wrapped)) return;

    // Headings are never reached from the keyboard.
    if (next.row >= m_nRows || next.row < m_nFixedRows || next.col < 0 || next.col >= m_nCols ||
        next == m_idCurrentCell)
        return;

    if (m_MouseMode == MOUSE_NOTHING) {
        m_PrevSelectedCellMap.RemoveAll();
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        if (!KeyDown(VK_SHIFT) || nChar == VK_TAB) m_SelectionStartCell = next;
        OnSelecting(next);
        m_MouseMode = MOUSE_NOTHING;
    }
    SetFocusCell(next);

    if (IsCellVisible(next)) return;
    EnsureVisible(next);
    const bool shift = KeyDown(VK_SHIFT);
    switch (nChar) {
    case VK_TAB:
        if (shift) {
            if (wrapped) {
                SendMessage(WM_VSCROLL, SB_LINEUP, 0);
                SetScrollPos32(SB_HORZ, m_nHScrollMax);
            } else {
                SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
            }
        } else {
            if (wrapped) {
                SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
                SetScrollPos32(SB_HORZ, 0);
            } else {
                SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
            }
        }
        break;
    case VK_LEFT: SendMessage(WM_HSCROLL, SB_LINELEFT, 0); break;
    case VK_RIGHT: SendMessage(WM_HSCROLL, SB_LINERIGHT, 0); break;
    case VK_UP: SendMessage(WM_VSCROLL, SB_LINEUP, 0); break;
    case VK_DOWN: SendMessage(WM_VSCROLL, SB_LINEDOWN, 0); break;
    default: break;
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// The auto-scroll timer, the cursor and the capture.

void tkxGridCtrl::OnTimer(UINT_PTR id)
{
    if (id != kAutoScrollTimer) {
        CWnd::OnTimer(id);
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect rect;
    GetClientRect(rect);
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColumnWidth = GetFixedColumnWidth();
    const CPoint clamped(std::min(std::max(pt.x, static_cast<LONG>(rect.left)), static_cast<LONG>(rect.right)),
                         std::min(std::max(pt.y, static_cast<LONG>(rect.top)), static_cast<LONG>(rect.bottom)));

    if (pt.y > rect.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        OnSelecting(GetCellFromPt(CPoint(clamped.x, rect.bottom)));
    } else if (pt.y < fixedRowHeight) {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        OnSelecting(GetCellFromPt(CPoint(clamped.x, fixedRowHeight + 1)));
    }
    if (pt.x > rect.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        OnSelecting(GetCellFromPt(CPoint(rect.right, clamped.y)));
    } else if (pt.x < fixedColumnWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        OnSelecting(GetCellFromPt(CPoint(fixedColumnWidth + 1, clamped.y)));
    }
}

void tkxGridCtrl::OnCaptureChanged(CWnd* wnd)
{
    if (wnd && wnd->m_hWnd == m_hWnd) return;
    if (m_nTimerID) KillTimer(m_nTimerID);
    m_nTimerID = 0;
    if (m_MouseMode == MOUSE_DRAGGING) m_MouseMode = MOUSE_NOTHING;
}

BOOL tkxGridCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    (void)wnd;
    (void)message;
    if (hitTest != HTCLIENT) return static_cast<BOOL>(Default());
    switch (m_MouseMode) {
    case MOUSE_OVER_ROW_DIVIDE: ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS)); break;
    case MOUSE_OVER_COL_DIVIDE: ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE)); break;
    case MOUSE_DRAGGING: break;
    default: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); break;
    }
    return TRUE;
}
