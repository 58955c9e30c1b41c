#include "brisko/editor/BriskoView.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/Dialog_InsertComment.h"
#include "brisko/editor/FieldDescriptions.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileWatch.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/platform/FileName.h"
#include <algorithm>
#include <cwchar>

IMPLEMENT_DYNCREATE(CBriskoView, CTvEditView)

BEGIN_MESSAGE_MAP(CBriskoView, CTvEditView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CHAR()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_KILLFOCUS()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_COMMAND(ID_EDIT_CHAR_LEFT, OnCaretLeft)
    ON_COMMAND(ID_EDIT_CHAR_RIGHT, OnCaretRight)
    ON_COMMAND(ID_EDIT_LINE_UP, OnCaretUp)
    ON_COMMAND(ID_EDIT_LINE_DOWN, OnCaretDown)
    ON_COMMAND(ID_EDIT_PAGE_UP, OnCaretPageUp)
    ON_COMMAND(ID_EDIT_PAGE_DOWN, OnCaretPageDown)
    ON_COMMAND(ID_EDIT_LINE_END, OnCaretLineEnd)
    ON_COMMAND(ID_EDIT_TOGGLE_COMMENT, OnToggleComment)
    ON_COMMAND(ID_EDIT_INSERT_COMMENT, OnInsertComment)
    ON_REGISTERED_MESSAGE(GetFileWatchMessage(), OnFileWatchNotify)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

namespace {

const wchar_t* const kKeywords[] = {L"Left", L"LEFT",    L"Right",   L"RIGHT",   L"A",          L"R",         L"L",
                                    L"ABS",  L"Abs",     L"abs",     L"ABS1",    L"Abs1",       L"abs1",      L"HIGHWAY",
                                    L"Highway", L"highway", L"CITY", L"City",    L"city",       L"SEPARATION", L"Separation"};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

// Letters and digits of the colouring: those up to U+00FF; wider
// characters (Chinese text) are none and end a token.
bool IsLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsTokenChar(wchar_t c) { return IsLetter(c) || IsDigit(c) || c == L'_' || c == L'.' || c == L'-'; }

HWND MainWindow() { return theApp.m_pMainWnd ? theApp.m_pMainWnd->GetSafeHwnd() : nullptr; }

// Whether the road-information bar is on the screen.
bool RoadInfoBarVisible(CMainFrame* frame)
{
    return frame && frame->m_wndRoadInfoBar.GetSafeHwnd() && frame->m_wndRoadInfoBar.IsWindowVisible();
}

} // namespace

CBriskoView::CBriskoView() : m_pContextMenu(nullptr), m_hIcon(nullptr)
{
    if (HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_DOCUMENT), RT_GROUP_ICON))
        m_hIcon = static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(IDI_DOCUMENT), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

CBriskoView::~CBriskoView()
{
    delete m_pContextMenu;
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

CBriskoDoc* CBriskoView::GetDocument() const
{
    return m_pDocument && m_pDocument->IsKindOf(RUNTIME_CLASS(CBriskoDoc)) ? static_cast<CBriskoDoc*>(m_pDocument)
                                                                           : nullptr;
}

CTvTextBuffer* CBriskoView::GetTextBuffer()
{
    CBriskoDoc* document = GetDocument();
    return document ? document->GetTextBuffer() : nullptr;
}

// ---------------------------------------------------------------------------
// Window

int CBriskoView::OnCreate(LPCREATESTRUCT cs) { return CTvEditView::OnCreate(cs) == -1 ? -1 : 0; }

void CBriskoView::OnDestroy()
{
    CTvEditView::OnDestroy();
    if (m_pContextMenu) {
        m_pContextMenu->DestroyMenu();
        delete m_pContextMenu;
        m_pContextMenu = nullptr;
    }
}

void CBriskoView::OnInitialUpdate()
{
    CTvEditView::OnInitialUpdate();
    if (CBriskoDoc* document = GetDocument()) SetFont(document->m_lf);
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
}

BOOL CBriskoView::PreTranslateMessage(MSG* msg)
{
    if (GetParentFrame()) {
        switch (msg->message) {
        case 0:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_SYSKEYDOWN:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: HideToolTip(); break;
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEWHEEL: {
            CRect rect;
            GetWindowRect(&rect);
            if (rect.PtInRect(msg->pt))
                HideToolTip();
            else if (HWND main = MainWindow())
                ::SendMessageW(main, WM_MOUSEWHEEL, msg->wParam, msg->lParam);
            break;
        }
        default: break;
        }
    }
    // The editor's own keys are translated here as well.
    return CTvEditView::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Colouring

BOOL CBriskoView::IsKeyword(const wchar_t* token, int length)
{
    for (const wchar_t* keyword : kKeywords)
        if (static_cast<int>(std::wcslen(keyword)) == length && std::wcsncmp(keyword, token, length) == 0) return TRUE;
    return FALSE;
}

BOOL CBriskoView::IsNumber(const wchar_t* token, int length)
{
    if (length <= 0) return FALSE;
    if (length > 2 && token[0] == L'0' && token[1] != L'.') return FALSE;
    const wchar_t first = token[0];
    if (!IsDigit(first) && first != L'+' && first != L'-' && first != L'.') return FALSE;
    if (length == 1) return TRUE;
    int plus = 0, minus = 0, exponent = 0, points = 0;
    for (int i = 1; i < length; ++i) {
        const wchar_t c = token[i];
        if (c == L'+')
            ++plus;
        else if (c == L'-')
            ++minus;
        else if (c == L'e' || c == L'E')
            ++exponent;
        else if (c == L'.')
            ++points;
        else if (!IsDigit(c))
            return FALSE;
    }
    const wchar_t last = token[length - 1];
    if (last == L'+' || last == L'-' || last == L'e' || last == L'E') return FALSE;
    return plus <= 1 && minus <= 1 && exponent <= 1 && points <= 1;
}

DWORD CBriskoView::ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count)
{
    const int length = GetLineLength(line);
    if (length <= 0) return 0;
    const wchar_t* chars = LineText(line);
    bool firstChar = (cookie & ~DWORD(COOKIE_EXT_COMMENT)) == 0;
    bool redefine = true; // a new block is due
    bool atPrevious = false; // ... starting at the character before
    int token = -1;

    auto endToken = [&](int start, int end) {
        if (IsKeyword(chars + start, end - start))
            DefineBlock(blocks, count, start, COLORINDEX_KEYWORD);
        else if (IsNumber(chars + start, end - start))
            DefineBlock(blocks, count, start, COLORINDEX_NUMBER);
    };

    for (int i = 0;; ++i) {
        if (redefine) {
            int colour = COLORINDEX_NORMALTEXT;
            if (cookie & (COOKIE_COMMENT | COOKIE_EXT_COMMENT))
                colour = COLORINDEX_COMMENT;
            else if (cookie & (COOKIE_STRING | COOKIE_CHAR))
                colour = COLORINDEX_STRING;
            else if (cookie & COOKIE_PREPROCESSOR)
                colour = COLORINDEX_PREPROCESSOR;
            DefineBlock(blocks, count, atPrevious ? i - 1 : i, colour);
            redefine = atPrevious = false;
        }
        if (i >= length) break;
        const wchar_t c = chars[i];
        const wchar_t p = i > 0 ? chars[i - 1] : 0;

        if (cookie & COOKIE_COMMENT) {
            DefineBlock(blocks, count, i, COLORINDEX_COMMENT);
            break;
        }
        if (cookie & COOKIE_STRING) {
            if (c == L'"' && p != L'\\') {
                cookie &= ~DWORD(COOKIE_STRING);
                redefine = true;
            }
            continue;
        }
        if (cookie & COOKIE_CHAR) {
            if (c == L'\'' && p != L'\\') {
                cookie &= ~DWORD(COOKIE_CHAR);
                redefine = true;
            }
            continue;
        }
        if (cookie & COOKIE_EXT_COMMENT) {
            if (i > 0 && c == L'/' && p == L'*') {
                cookie &= ~DWORD(COOKIE_EXT_COMMENT);
                redefine = true;
            }
            continue;
        }
        // "//" and ";;" comment out the rest of the line.
        if (i > 0 && ((c == L'/' && p == L'/') || (c == L';' && p == L';'))) {
            DefineBlock(blocks, count, i - 1, COLORINDEX_COMMENT);
            cookie |= COOKIE_COMMENT;
            break;
        }
        if (cookie & COOKIE_PREPROCESSOR) {
            if (i > 0 && c == L'*' && p == L'/') {
                DefineBlock(blocks, count, i - 1, COLORINDEX_COMMENT);
                cookie |= COOKIE_EXT_COMMENT;
            }
            continue;
        }
        if (c == L'"') {
            DefineBlock(blocks, count, i, COLORINDEX_STRING);
            cookie |= COOKIE_STRING;
            continue;
        }
        if (c == L'\'') {
            DefineBlock(blocks, count, i, COLORINDEX_STRING);
            cookie |= COOKIE_CHAR;
            continue;
        }
        if (i > 0 && c == L'*' && p == L'/') {
            DefineBlock(blocks, count, i - 1, COLORINDEX_COMMENT);
            cookie |= COOKIE_EXT_COMMENT;
            continue;
        }
        if (firstChar) {
            if (c == L'#') {
                DefineBlock(blocks, count, i, COLORINDEX_PREPROCESSOR);
                cookie |= COOKIE_PREPROCESSOR;
                continue;
            }
            if (!IsBlank(c)) firstChar = false;
        }
        if (!blocks) continue;
        if (IsTokenChar(c)) {
            if (token < 0) token = i;
        } else if (token >= 0) {
            endToken(token, i);
            redefine = atPrevious = true;
            token = -1;
        }
    }
    if (blocks && token >= 0) endToken(token, length);
    if (chars[length - 1] != L'\\') cookie &= COOKIE_EXT_COMMENT;
    return cookie;
}

// ---------------------------------------------------------------------------
// Field tooltip

void CBriskoView::HideToolTip()
{
    if (m_ToolTip.GetSafeHwnd()) m_ToolTip.Hide();
}

void CBriskoView::CreateFieldToolTip()
{
    if (m_ToolTip.GetSafeHwnd() || m_bToolTipFailed) return;
    if (!m_ToolTip.Create(this)) m_bToolTipFailed = TRUE;
}

void CBriskoView::ShowFieldToolTip(const CPoint& textPos, const CString& text, BOOL show)
{
    if (!theApp.m_bShowToolTip || text.IsEmpty()) return;
    CreateFieldToolTip();
    if (!m_ToolTip.GetSafeHwnd()) return;
    CPoint point = TextToClient(textPos);
    point.y += 5;
    if (show == 1 && static_cast<unsigned>(point.x) <= 1279u && static_cast<unsigned>(point.y) <= 1279u)
        m_ToolTip.Show(point.x, point.y, text);
}

void CBriskoView::UpdateFieldToolTip()
{
    if (!theApp.m_bShowToolTip) return;
    const CString text = GetFieldDescription();
    if (text.IsEmpty()) {
        HideToolTip();
        return;
    }
    if (text != m_SLastToolTip) {
        m_SLastToolTip = text;
        ShowFieldToolTip(GetCursorPos(), text, TRUE);
        return;
    }
    // The same field: the box follows the caret, at the place Show gives it.
    if (!m_ToolTip.GetSafeHwnd()) return;
    CPoint point = TextToClient(GetCursorPos());
    point.y += 5;
    if (static_cast<unsigned>(point.x) <= 1279u && static_cast<unsigned>(point.y) <= 1279u)
        m_ToolTip.Move(point.x, point.y);
    else
        HideToolTip();
}

void CBriskoView::FeedProfilePage(int line)
{
    CBriskoDoc* document = GetDocument();
    CMainFrame* frame = theApp.MainFrame();
    if (!document || !RoadInfoBarVisible(frame) || !m_pTextBuffer) return;
    if (tkxFileName(document->GetPathName()).GetFileTitle().CompareNoCase(tkx_GetWorkSpace().m_SCurRoadName) != 0)
        return;
    sGroundPoint point, previous, next;
    BOOL hasPrevious = FALSE, hasNext = FALSE;
    if (!FindProfilePoints(CFieldLines(*m_pTextBuffer), line, point, previous, hasPrevious, next, hasNext)) return;
    frame->UpdateProfileGroundPoint(&point, hasPrevious ? &previous : nullptr, hasNext ? &next : nullptr);
}

CString CBriskoView::GetFieldDescription()
{
    CBriskoDoc* document = GetDocument();
    if (!document || !m_pTextBuffer || m_pTextBuffer->GetLineCount() == 0) return CString();
    const int type = document->GetFileType();
    if (type == kUnknownFileType) return CString();
    const CPoint caret = GetCursorPos();
    const CFieldLines lines(*m_pTextBuffer);
    if (caret.y < 0 || caret.y >= lines.Count()) return CString();
    if (lines.IsComment(caret.y)) return L"注释行";
    const int field = FieldNumberAt(lines.Text(caret.y), lines.Length(caret.y), caret.x);
    if (field == 0) return CString();

    CMainFrame* frame = theApp.MainFrame();
    if (type == 13 && RoadInfoBarVisible(frame)) frame->ShowProfilePage();
    if (type == 20 && RoadInfoBarVisible(frame)) frame->ShowCrossSectionPage(TRUE);

    FieldFindings findings;
    const CString text = DescribeField(type, lines, caret.y, caret.x, field, findings);
    if (findings.sectionChanged) {
        CurHdxSection = findings.section;
        if (frame) frame->RefreshCrossSectionView();
    }
    if (type == 13) FeedProfilePage(caret.y);
    return text;
}

// ---------------------------------------------------------------------------
// Messages that move the caret or hide the tooltip

void CBriskoView::OnLButtonDown(UINT flags, CPoint point)
{
    HideToolTip();
    CTvEditView::OnLButtonDown(flags, point);
}

void CBriskoView::OnLButtonUp(UINT flags, CPoint point)
{
    CTvEditView::OnLButtonUp(flags, point);
    UpdateFieldToolTip();
}

void CBriskoView::OnChar(UINT ch, UINT repeat, UINT flags)
{
    CTvEditView::OnChar(ch, repeat, flags);
    UpdateFieldToolTip();
}

void CBriskoView::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    HideToolTip();
    CTvEditView::OnVScroll(code, pos, bar);
}

void CBriskoView::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    HideToolTip();
    CTvEditView::OnHScroll(code, pos, bar);
}

void CBriskoView::OnKillFocus(CWnd* newWnd)
{
    CTvEditView::OnKillFocus(newWnd);
    HideToolTip();
}

void CBriskoView::OnSize(UINT type, int cx, int cy)
{
    CTvEditView::OnSize(type, cx, cy);
    HideToolTip();
}

void CBriskoView::OnMove(int x, int y)
{
    CTvEditView::OnMove(x, y);
    HideToolTip();
}

void CBriskoView::OnCaretLeft()
{
    MoveLeft(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretRight()
{
    MoveRight(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretUp()
{
    MoveUp(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretDown()
{
    MoveDown(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretPageUp()
{
    MovePgUp(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretPageDown()
{
    MovePgDn(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::OnCaretLineEnd()
{
    MoveEnd(FALSE);
    UpdateFieldToolTip();
}

void CBriskoView::AfterCaretJump() { UpdateFieldToolTip(); }

// ---------------------------------------------------------------------------
// Context menu

CMenu* CBriskoView::BuildContextMenu()
{
    if (m_pContextMenu) {
        m_pContextMenu->DestroyMenu();
        delete m_pContextMenu;
    }
    m_pContextMenu = new CMenu;
    m_pContextMenu->CreatePopupMenu();
    CMenu& menu = *m_pContextMenu;
    auto item = [&](UINT id, const wchar_t* text, BOOL enabled) {
        menu.AppendMenu(MF_STRING | (enabled ? 0u : UINT(MF_GRAYED | MF_DISABLED)), id, text);
    };
    const BOOL selection = IsSelection();
    const BOOL marks = HasMarks();
    CString what;
    DWORD flags = 0;
    const BOOL searched = GetLastSearch(what, flags);
    // Commands that change the text are not offered while the document is
    // read-only: they would do nothing.
    const BOOL editable = CanEditNow();
    item(ID_EDIT_UNDO, L"撤消\tCtrl+Z", editable && m_pTextBuffer->CanUndo());
    item(ID_EDIT_REDO, L"恢复\tCtrl+Y", editable && m_pTextBuffer->CanRedo());
    menu.AppendMenu(MF_SEPARATOR);
    item(ID_EDIT_CUT, L"剪切\tCtrl+X", editable && selection);
    item(ID_EDIT_COPY, L"复制\tCtrl+C", selection);
    item(ID_EDIT_COPY_EXCEL, L"复制EXCEL格式\tCtrl+E", selection);
    item(ID_EDIT_PASTE, L"粘贴\tCtrl+V", CanEditNow() && ClipboardHasText());
    menu.AppendMenu(MF_SEPARATOR);
    item(ID_EDIT_TOGGLE_MARK, L"设定标记\tF8", TRUE);
    item(ID_EDIT_PREV_MARK, L"向上跳转\tF9", marks);
    item(ID_EDIT_NEXT_MARK, L"向下跳转\tF10", marks);
    item(ID_EDIT_CLEAR_MARKS, L"清除所有标记", marks);
    menu.AppendMenu(MF_SEPARATOR);
    item(ID_EDIT_GOTO_LINE, L"跳转到指定行\tCtrl+R", TRUE);
    menu.AppendMenu(MF_SEPARATOR);
    item(ID_EDIT_FIND, L"查找\tCtrl+F", TRUE);
    item(ID_EDIT_FIND_PREVIOUS, L"向上查找\tShift+F3", searched);
    item(ID_EDIT_FIND_NEXT, L"向下查找(&N)\tF3", searched);
    menu.AppendMenu(MF_SEPARATOR);
    item(ID_EDIT_SELECT_ALL, L"全选\tCtrl+A", TRUE);
    return m_pContextMenu;
}

void CBriskoView::OnContextMenu(CWnd*, CPoint)
{
    CMenu* menu = BuildContextMenu();
    CPoint cursor;
    ::GetCursorPos(&cursor);
    menu->TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    menu->DestroyMenu();
}

// ---------------------------------------------------------------------------
// Comments

void CBriskoView::ToggleComment()
{
    if (!m_pTextBuffer) return;
    if (m_pTextBuffer->GetReadOnly()) {
        ClMessageBox(MainWindow(), L"当前文件被设为只读,\n\n不能添加注释符号!", kBriskoCaption, MB_OK | MB_ICONERROR);
        return;
    }
    CPoint start, end;
    GetSelection(start, end);
    m_pTextBuffer->ToggleLineComments(this, std::min(start.y, end.y), std::max(start.y, end.y));
    Invalidate(TRUE);
}

void CBriskoView::InsertComment()
{
    CBriskoDoc* document = GetDocument();
    if (!m_pTextBuffer || !document) return;
    if (m_pTextBuffer->GetReadOnly()) {
        ClMessageBox(MainWindow(), L"当前文件被设为只读,\n\n不能添加注释!", kBriskoCaption, MB_OK | MB_ICONERROR);
        return;
    }
    CDialog_InsertComment dialog(this);
    dialog.m_SFilePath = document->GetPathName();
    if (dialog.DoModal() != IDOK) return;
    const auto& styles = theApp.m_FileStyles;
    if (dialog.m_iType < 0 || dialog.m_iType >= styles.GetSize()) return;

    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const CString text = CDialog_InsertComment::CommentLines(
        styles[dialog.m_iType].m_SComment + ClFormat(L"//\n//文件编辑时间:%d-%d-%d %d:%d:%d\n", now.wYear, now.wMonth,
                                                     now.wDay, now.wHour, now.wMinute, now.wSecond));
    // Each line goes in at the start of its own line, as typing; the whole
    // header is one step of the undo list.
    int line = 0;
    m_pTextBuffer->OpenUndoGroup(FALSE);
    for (int start = 0, end; (end = text.Find(L'\n', start)) >= 0; start = end + 1, ++line) {
        const CString piece = text.Mid(start, end + 1 - start);
        int endLine = 0, endColumn = 0;
        m_pTextBuffer->InsertText(this, line, 0, piece, endLine, endColumn, TVA_TYPING, piece.GetLength());
    }
    m_pTextBuffer->EndUndoGroup(this);
    const CPoint last(0, std::max(0, line - 1));
    SetCursorPos(last);
    SetAnchor(last);
    SetSelection(last, last);
    EnsureVisible(last);
}

// ---------------------------------------------------------------------------
// Another program changed the file

LRESULT CBriskoView::OnFileWatchNotify(WPARAM, LPARAM lParam)
{
    // A watch given up since (the program saved the file meanwhile) has no
    // news any more.
    CString path;
    if (!GetFileWatchPath(static_cast<DWORD>(lParam), path)) return 0;
    if (CBriskoDoc* document = GetDocument()) document->ReloadFromDisk();
    return 0;
}
