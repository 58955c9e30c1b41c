#include "brisko/editor/TvEditView.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/EditReplaceDlg.h"
#include "brisko/shell/BriskoApp.h"
#include <algorithm>
#include <cwctype>
#include <functional>

IMPLEMENT_DYNCREATE(CTvEditView, CTvTextView)

BEGIN_MESSAGE_MAP(CTvEditView, CTvTextView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CHAR()
    ON_COMMAND(ID_EDIT_DELETE, OnEditDelete)
    ON_COMMAND(ID_EDIT_DELETE_BACK, OnEditDeleteBack)
    ON_COMMAND(ID_EDIT_TAB, OnEditTab)
    ON_COMMAND(ID_EDIT_UNTAB, OnEditUntab)
    ON_COMMAND(ID_EDIT_SWITCH_OVRMODE, OnEditSwitchOvrmode)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateIndicatorOvr)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateEditReplace)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_READONLY, OnUpdateIndicatorReadOnly)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_WORKDIR, OnUpdateIndicatorWorkDir)
END_MESSAGE_MAP()

CTvEditView::CTvEditView() = default;

CTvEditView::~CTvEditView()
{
    if (m_pDropTarget) {
        m_pDropTarget->Revoke();
        delete m_pDropTarget;
    }
}

void CTvEditView::ReinitialiseView()
{
    m_bAutoIndent = TRUE;
    m_bOvrMode = FALSE;
    CTvTextView::ReinitialiseView();
}

BOOL CTvEditView::CanEditNow() { return m_pTextBuffer && !m_pTextBuffer->GetReadOnly(); }

DROPEFFECT CTvEditView::AllowedDragEffects()
{
    // Text of a buffer that cannot change can only be copied out.
    return CanEditNow() ? (DROPEFFECT_COPY | DROPEFFECT_MOVE) : DROPEFFECT_COPY;
}

void CTvEditView::AfterDragOut(DROPEFFECT effect)
{
    if (effect != DROPEFFECT_MOVE || !m_bDraggingText || !CanEditNow()) return;
    const CPoint start = m_ptDraggedTextBegin, end = m_ptDraggedTextEnd;
    if (start == end) return;
    m_pTextBuffer->DeleteText(this, start.y, start.x, end.y, end.x, TVA_DRAGDROP);
}

void CTvEditView::OnBufferNotice(CTvTextView* source, CUpdateContext* context, DWORD flags, int line)
{
    CTvTextView::OnBufferNotice(source, context, flags, line);
    if (m_bSelectionPushed && context) {
        context->AdjustPoint(m_ptSavedSelStart);
        context->AdjustPoint(m_ptSavedSelEnd);
    }
}

void CTvEditView::AfterEditAction(int action, const wchar_t* text)
{
    if (action != TVA_TYPING || !text || std::wcscmp(text, L"\r\n") != 0) return;
    if (!m_bAutoIndent || m_bOvrMode || !theApp.m_bAutoIndent || !CanEditNow()) return;
    const int line = m_ptCursorPos.y;
    if (line <= 0) return;
    const wchar_t* previous = LineText(line - 1);
    const int length = GetLineLength(line - 1);
    int blanks = 0;
    while (blanks < length && std::iswspace(previous[blanks])) ++blanks;
    if (blanks == 0) return;
    const std::wstring indent(previous, static_cast<size_t>(blanks));
    int endLine = 0, endColumn = 0;
    if (m_pTextBuffer->InsertText(nullptr, line, m_ptCursorPos.x, indent.c_str(), endLine, endColumn, TVA_AUTOINDENT,
                                  blanks))
        m_ptCursorPos = CPoint(endColumn, endLine);
}

// ---------------------------------------------------------------------------
// Edits

void CTvEditView::FinishEditAt(const CPoint& pos)
{
    m_ptCursorPos = pos;
    FinishEdit();
}

void CTvEditView::FinishEdit()
{
    AdjustTextPoint(m_ptCursorPos);
    m_ptAnchor = m_ptCursorPos;
    m_nIdealCharPos = -1;
    SetSelection(m_ptCursorPos, m_ptCursorPos);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
}

BOOL CTvEditView::DeleteCurrentSelection(int action)
{
    if (!IsSelection()) return FALSE;
    const CPoint start = m_ptDrawSelStart, end = m_ptDrawSelEnd;
    m_pTextBuffer->DeleteText(this, start.y, start.x, end.y, end.x, action);
    m_ptCursorPos = m_ptAnchor = start;
    SetSelection(start, start);
    return TRUE;
}

void CTvEditView::OnChar(UINT ch, UINT, UINT)
{
    if (::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0) return;
    TypeChar(static_cast<wchar_t>(ch));
}

void CTvEditView::TypeChar(wchar_t ch)
{
    if (ch == L'\r') {
        if (m_bOvrMode && m_ptCursorPos.y < GetLineCount() - 1) {
            m_ptCursorPos = CPoint(0, m_ptCursorPos.y + 1);
            FinishEdit();
            return;
        }
        if (!CanEditNow()) return;
        m_pTextBuffer->OpenUndoGroup(FALSE);
        DeleteCurrentSelection(TVA_DELSEL);
        int endLine = 0, endColumn = 0;
        if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, L"\r\n", endLine, endColumn,
                                      TVA_TYPING))
            m_ptCursorPos = CPoint(endColumn, endLine);
        m_pTextBuffer->EndUndoGroup(this);
        FinishEdit();
        return;
    }
    if (ch < 32 || !CanEditNow()) return;
    m_pTextBuffer->OpenUndoGroup(ch != L' ');
    if (!DeleteCurrentSelection(TVA_DELSEL) && m_bOvrMode && m_ptCursorPos.x < GetLineLength(m_ptCursorPos.y))
        m_pTextBuffer->DeleteText(this, m_ptCursorPos.y, m_ptCursorPos.x, m_ptCursorPos.y, m_ptCursorPos.x + 1,
                                  TVA_TYPING);
    int endLine = 0, endColumn = 0;
    if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, &ch, endLine, endColumn, TVA_TYPING, 1))
        m_ptCursorPos = CPoint(endColumn, endLine);
    m_pTextBuffer->EndUndoGroup(this);
    FinishEdit();
}

void CTvEditView::DeleteForward()
{
    if (!CanEditNow()) return;
    if (!DeleteCurrentSelection(TVA_DELETE)) {
        const CPoint pos = m_ptCursorPos;
        const int length = GetLineLength(pos.y);
        if (pos.x < length)
            m_pTextBuffer->DeleteText(this, pos.y, pos.x, pos.y, pos.x + 1, TVA_DELETE);
        else if (pos.y < GetLineCount() - 1)
            m_pTextBuffer->DeleteText(this, pos.y, length, pos.y + 1, 0, TVA_DELETE);
        else
            return;
        m_ptCursorPos = pos;
    }
    FinishEdit();
}

void CTvEditView::DeleteBack()
{
    if (!CanEditNow()) return;
    if (!DeleteCurrentSelection(TVA_DELETE)) {
        const CPoint pos = m_ptCursorPos;
        if (pos.x > 0) {
            m_pTextBuffer->DeleteText(this, pos.y, pos.x - 1, pos.y, pos.x, TVA_BACKSPACE);
            m_ptCursorPos = CPoint(pos.x - 1, pos.y);
        } else if (pos.y > 0 && !m_bDisableBSAtSOL) {
            const int length = GetLineLength(pos.y - 1);
            m_pTextBuffer->DeleteText(this, pos.y - 1, length, pos.y, 0, TVA_BACKSPACE);
            m_ptCursorPos = CPoint(length, pos.y - 1);
        } else {
            return;
        }
    }
    FinishEdit();
}

namespace {

// The lines a multi-line selection covers: its last line counts unless the
// selection ends at its column 0.
void SelectedLines(const CPoint& start, const CPoint& end, int& first, int& last)
{
    first = start.y;
    last = end.y;
    if (end.x == 0 && last > first) --last;
}

} // namespace

BOOL CTvEditView::EditSelectedLines(const std::function<void(int line)>& edit)
{
    if (!IsSelection() || m_ptDrawSelStart.y == m_ptDrawSelEnd.y) return FALSE;
    int first, last;
    SelectedLines(m_ptDrawSelStart, m_ptDrawSelEnd, first, last);
    HoldUpdates(TRUE);
    m_pTextBuffer->OpenUndoGroup(FALSE);
    for (int line = first; line <= last; ++line) edit(line);
    m_pTextBuffer->EndUndoGroup(this);
    HoldUpdates(FALSE);
    SelectWholeLines(first, last);
    return TRUE;
}

void CTvEditView::SelectWholeLines(int first, int last)
{
    const int lastLine = GetLineCount() - 1;
    m_ptAnchor = CPoint(0, first);
    m_ptCursorPos = last < lastLine ? CPoint(0, last + 1) : CPoint(GetLineLength(last), last);
    SetSelection(m_ptAnchor, m_ptCursorPos);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
}

void CTvEditView::Indent()
{
    if (!CanEditNow()) return;
    if (EditSelectedLines([this](int line) {
            int endLine = 0, endColumn = 0;
            m_pTextBuffer->InsertText(this, line, 0, L"\t", endLine, endColumn, TVA_INDENT, 1);
        }))
        return;
    const int length = GetLineLength(m_ptCursorPos.y);
    if (m_bOvrMode && m_ptCursorPos.x < length) {
        // Only to the next tab stop, stopping after a tab passed on the way.
        const wchar_t* chars = LineText(m_ptCursorPos.y);
        const int column = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        const int stop = (column / m_nTabSize + 1) * m_nTabSize;
        int x = m_ptCursorPos.x;
        int at = column;
        while (x < length && at < stop) {
            const bool tab = chars[x] == L'\t';
            at += tab ? m_nTabSize - at % m_nTabSize : 1;
            ++x;
            if (tab) break;
        }
        m_ptCursorPos.x = x;
        FinishEdit();
        return;
    }
    m_pTextBuffer->OpenUndoGroup(FALSE);
    DeleteCurrentSelection(TVA_DELSEL);
    int endLine = 0, endColumn = 0;
    if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, L"\t", endLine, endColumn, TVA_TYPING, 1))
        m_ptCursorPos = CPoint(endColumn, endLine);
    m_pTextBuffer->EndUndoGroup(this);
    FinishEdit();
}

void CTvEditView::Unindent()
{
    if (!CanEditNow()) return;
    if (EditSelectedLines([this](int line) {
            // Leading blanks up to a tab's width, and a tab right after them.
            const wchar_t* chars = LineText(line);
            const int length = GetLineLength(line);
            int n = 0;
            while (n < m_nTabSize && n < length && chars[n] == L' ') ++n;
            if (n < m_nTabSize && n < length && chars[n] == L'\t') ++n;
            if (n > 0) m_pTextBuffer->DeleteText(this, line, 0, line, n, TVA_INDENT);
        }))
        return;
    // Back to the previous tab stop; the text stays as it is.
    const int column = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    if (column > 0) {
        const int stop = (column - 1) / m_nTabSize * m_nTabSize;
        int x = m_ptCursorPos.x;
        while (x > 0 && CalculateActualOffset(m_ptCursorPos.y, x) > stop) --x;
        m_ptCursorPos.x = x;
    }
    FinishEdit();
}

void CTvEditView::Paste()
{
    if (!CanEditNow()) return;
    // The clipboard is read first: when it cannot be read the selection
    // stays.
    CString text;
    if (!ReadClipboardText(text)) return;
    m_pTextBuffer->OpenUndoGroup(FALSE);
    DeleteCurrentSelection(TVA_DELSEL);
    if (!text.IsEmpty()) {
        int endLine = 0, endColumn = 0;
        if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, text, endLine, endColumn, TVA_PASTE,
                                      text.GetLength()))
            m_ptCursorPos = CPoint(endColumn, endLine);
    }
    m_pTextBuffer->EndUndoGroup(this);
    FinishEdit();
}

void CTvEditView::Cut()
{
    if (!CanEditNow() || !IsSelection()) return;
    CString text;
    GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
    // Text the clipboard did not take stays where it is.
    if (!WriteClipboardText(text)) return;
    DeleteCurrentSelection(TVA_CUT);
    FinishEdit();
}

void CTvEditView::Undo()
{
    if (!m_pTextBuffer || !m_pTextBuffer->CanUndo()) return;
    CPoint pos;
    if (m_pTextBuffer->Undo(pos)) FinishEditAt(pos);
}

void CTvEditView::Redo()
{
    if (!m_pTextBuffer || !m_pTextBuffer->CanRedo()) return;
    CPoint pos;
    if (m_pTextBuffer->Redo(pos)) FinishEditAt(pos);
}

CPoint CTvEditView::ReplaceRange(const CPoint& start, const CPoint& end, const wchar_t* text)
{
    m_pTextBuffer->DeleteText(this, start.y, start.x, end.y, end.x, TVA_DELSEL);
    int endLine = start.y, endColumn = start.x;
    if (text && *text) m_pTextBuffer->InsertText(this, start.y, start.x, text, endLine, endColumn, TVA_REPLACE);
    return CPoint(endColumn, endLine);
}

BOOL CTvEditView::ReplaceSelection(const wchar_t* text)
{
    if (!CanEditNow() || !IsSelection()) return FALSE;
    const CPoint start = m_ptDrawSelStart;
    const CPoint end = ReplaceRange(start, m_ptDrawSelEnd, text);
    m_ptAnchor = start;
    m_ptCursorPos = end;
    SetSelection(start, end);
    UpdateCaret();
    EnsureVisible(end);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Commands and panes

void CTvEditView::OnUpdateEditPaste(CCmdUI* ui) { ui->Enable(CanEditNow() && ClipboardHasText()); }

void CTvEditView::OnUpdateEditCut(CCmdUI* ui) { ui->Enable(CanEditNow() && IsSelection()); }

// The Undo or Redo menu item: enabled with the description of its step.
void CTvEditView::UpdateUndoItem(CCmdUI* ui, BOOL undo)
{
    // A read-only buffer refuses to undo: the item is not offered then.
    const BOOL can = CanEditNow() && (undo ? m_pTextBuffer->CanUndo() : m_pTextBuffer->CanRedo());
    CString description;
    if (can) undo ? m_pTextBuffer->GetUndoText(description) : m_pTextBuffer->GetRedoText(description);
    const UINT id = can ? (undo ? IDS_UNDO_MENU : IDS_REDO_MENU) : (undo ? IDS_UNDO_MENU_OFF : IDS_REDO_MENU_OFF);
    static const wchar_t* const fallback[] = {L"撤消(&U) %s\tCtrl+Z", L"恢复(&R)  %s\tCtrl+Y", L"撤消(&U)\tCtrl+Z",
                                              L"恢复(&R)\tCtrl+Y"};
    CString format;
    if (!format.LoadString(id, ResourceModuleHandle())) format = fallback[id - IDS_UNDO_MENU];
    CString text;
    if (can)
        text.Format(format, description.GetString());
    else
        text = format;
    ui->Enable(can);
    ui->SetText(text);
}

void CTvEditView::OnUpdateEditUndo(CCmdUI* ui) { UpdateUndoItem(ui, TRUE); }

void CTvEditView::OnUpdateEditRedo(CCmdUI* ui) { UpdateUndoItem(ui, FALSE); }

void CTvEditView::OnUpdateEditReplace(CCmdUI* ui) { ui->Enable(CanEditNow()); }

void CTvEditView::OnUpdateIndicatorOvr(CCmdUI* ui) { ui->Enable(m_bOvrMode); }

void CTvEditView::OnUpdateIndicatorReadOnly(CCmdUI* ui) { ui->Enable(m_pTextBuffer && m_pTextBuffer->GetReadOnly()); }

void CTvEditView::OnUpdateIndicatorWorkDir(CCmdUI* ui)
{
    ui->Enable(TRUE);
    const CString& folder = theApp.m_SWorkingDirectory;
    ui->SetText(CString(L"工作目录:") + (folder.IsEmpty() ? CString(L"未设置") : folder));
}

void CTvEditView::PushSelection()
{
    m_ptSavedSelStart = m_ptSelStart;
    m_ptSavedSelEnd = m_ptSelEnd;
    m_bSelectionPushed = TRUE;
}

void CTvEditView::PopSelection()
{
    if (!m_bSelectionPushed) return;
    m_bSelectionPushed = FALSE;
    m_ptAnchor = m_ptSavedSelStart;
    m_ptCursorPos = m_ptSavedSelEnd;
    AdjustTextPoint(m_ptAnchor);
    AdjustTextPoint(m_ptCursorPos);
    SetSelection(m_ptAnchor, m_ptCursorPos);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
}

void CTvEditView::OnEditReplace()
{
    if (!CanEditNow()) return;
    CEditReplaceDlg dialog(this);
    CWinApp* app = AfxGetApp();
    const wchar_t* section = L"TvEdit\\Replace";
    dialog.m_bMatchCase = app->GetProfileInt(section, L"MatchCase", 0) != 0;
    dialog.m_bWholeWord = app->GetProfileInt(section, L"WholeWord", 0) != 0;
    dialog.m_sText = app->GetProfileString(section, L"FindWhat", L"");
    dialog.m_sNewText = app->GetProfileString(section, L"ReplaceWith", L"");
    if (IsSelection()) {
        CPoint start, end;
        GetSelection(start, end);
        dialog.m_ptBlockBegin = start;
        dialog.m_ptBlockEnd = end;
        dialog.m_bEnableScopeSelection = TRUE;
        dialog.m_ptFoundAt = start;
        if (start.y == end.y) {
            GetText(start, end, dialog.m_sText);
            dialog.m_nScope = 1;
        } else {
            dialog.m_nScope = 0;
        }
    } else {
        dialog.m_nScope = 1;
        dialog.m_bEnableScopeSelection = FALSE;
        dialog.m_ptFoundAt = m_ptCursorPos;
    }
    dialog.m_ptSavedPos = dialog.m_ptFoundAt;

    PushSelection();
    SetShowInactiveSelection(TRUE);
    dialog.DoModal();
    SetShowInactiveSelection(FALSE);
    PopSelection();

    app->WriteProfileInt(section, L"MatchCase", dialog.m_bMatchCase ? 1 : 0);
    app->WriteProfileInt(section, L"WholeWord", dialog.m_bWholeWord ? 1 : 0);
    app->WriteProfileString(section, L"FindWhat", dialog.m_sText);
    app->WriteProfileString(section, L"ReplaceWith", dialog.m_sNewText);
}

// ---------------------------------------------------------------------------
// Window and dropping

int CTvEditView::OnCreate(LPCREATESTRUCT cs)
{
    if (CTvTextView::OnCreate(cs) == -1) return -1;
    m_pDropTarget = new CEditDropTargetImpl(this);
    if (!m_pDropTarget->Register(this)) {
        // Without OLE the view works, only without dropping.
        delete m_pDropTarget;
        m_pDropTarget = nullptr;
    }
    return 0;
}

void CTvEditView::OnDestroy()
{
    if (m_pDropTarget) {
        m_pDropTarget->Revoke();
        delete m_pDropTarget;
        m_pDropTarget = nullptr;
    }
    CTvTextView::OnDestroy();
}

void CTvEditView::ShowDropIndicator(const CPoint& point)
{
    if (!m_bDropPosVisible) {
        m_ptSavedCaretPos = m_ptCursorPos;
        m_bDropPosVisible = TRUE;
    }
    m_ptDropPos = ClientToText(point);
    if (!m_hWnd) return;
    const CPoint at = TextToClient(m_ptDropPos);
    ::DestroyCaret();
    ::CreateCaret(m_hWnd, nullptr, 2, GetLineHeight());
    ::SetCaretPos(at.x, at.y);
    if (at.x >= GetMarginWidth()) ::ShowCaret(m_hWnd);
    m_bCaretShown = TRUE;
}

void CTvEditView::HideDropIndicator()
{
    if (!m_bDropPosVisible) return;
    m_bDropPosVisible = FALSE;
    if (m_hWnd) {
        ::DestroyCaret();
        m_bCaretShown = FALSE;
    }
    m_ptCursorPos = m_ptSavedCaretPos;
    AdjustTextPoint(m_ptCursorPos);
    UpdateCaret();
}

BOOL CTvEditView::DoDragScroll(const CPoint& point)
{
    if (!m_hWnd) return FALSE;
    CRect client;
    GetClientRect(&client);
    const int edge = 5;
    if (point.y < client.top + edge && m_nTopLine > 0) {
        ScrollUp();
        return TRUE;
    }
    if (point.y >= client.bottom - edge && m_nTopLine < GetLineCount() - 1) {
        ScrollDown();
        return TRUE;
    }
    if (point.x < client.left + GetMarginWidth() + edge && m_nOffsetChar > 0) {
        ScrollLeft();
        return TRUE;
    }
    if (point.x >= client.right - edge && m_nOffsetChar < GetMaxLineLength()) {
        ScrollRight();
        return TRUE;
    }
    return FALSE;
}

BOOL CTvEditView::DoDropText(COleDataObject* data, const CPoint& point)
{
    if (!CanEditNow() || m_bDisableDragAndDrop || !data) return FALSE;
    CString text;
    if (!data->GetText(text)) return FALSE;
    const CPoint drop = ClientToText(point);
    if (m_bDraggingText && IsInsideSelection(drop)) {
        m_ptCursorPos = drop;
        FinishEdit();
        return FALSE;
    }
    int endLine = 0, endColumn = 0;
    if (!m_pTextBuffer->InsertText(this, drop.y, drop.x, text, endLine, endColumn, TVA_DRAGDROP, text.GetLength()))
        return FALSE;
    m_ptAnchor = drop;
    m_ptCursorPos = CPoint(endColumn, endLine);
    SetSelection(drop, m_ptCursorPos);
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
    return TRUE;
}

DROPEFFECT CEditDropTargetImpl::Answer(COleDataObject* data, DWORD keyState, CPoint point)
{
    m_bAccepting = m_pOwner->CanEditNow() && !m_pOwner->GetDisableDragAndDrop() && data && data->IsTextAvailable();
    if (!m_bAccepting) {
        m_pOwner->HideDropIndicator();
        return DROPEFFECT_NONE;
    }
    m_pOwner->ShowDropIndicator(point);
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CEditDropTargetImpl::OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    return Answer(data, keyState, point);
}

DROPEFFECT CEditDropTargetImpl::OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    return Answer(data, keyState, point);
}

void CEditDropTargetImpl::OnDragLeave(CWnd*)
{
    m_pOwner->HideDropIndicator();
    m_bAccepting = FALSE;
}

BOOL CEditDropTargetImpl::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint point)
{
    m_pOwner->HideDropIndicator();
    m_bAccepting = FALSE;
    return m_pOwner->DoDropText(data, point);
}

DROPEFFECT CEditDropTargetImpl::OnDragScroll(CWnd*, DWORD keyState, CPoint point)
{
    if (!m_bAccepting || !m_pOwner->DoDragScroll(point)) return DROPEFFECT_NONE;
    return DROPEFFECT_SCROLL | ((keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
}
