// The editing view: the text view with typing (overwrite mode, automatic
// indentation), Tab and Shift+Tab, Delete and Backspace, cut and paste,
// undo and redo, dropping text, and the Replace command.  Every change goes
// through the buffer's undo-recording edits.
#pragma once
#include "brisko/editor/TvTextView.h"
#include <functional>

class CTvEditView;

// Accepts text dropped on an editing view: Unicode text when offered, else
// 8-bit text through the ANSI code page.
class CEditDropTargetImpl : public COleDropTarget
{
public:
    explicit CEditDropTargetImpl(CTvEditView* owner) : m_pOwner(owner) {}

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;

private:
    DROPEFFECT Answer(COleDataObject* data, DWORD keyState, CPoint point);
    CTvEditView* m_pOwner;
    BOOL m_bAccepting = FALSE;
};

class CTvEditView : public CTvTextView
{
    DECLARE_DYNCREATE(CTvEditView)
public:
    CTvEditView();
    ~CTvEditView() override;

    void ReinitialiseView() override;
    DROPEFFECT AllowedDragEffects() override;
    void AfterDragOut(DROPEFFECT effect) override;
    void OnBufferNotice(CTvTextView* source, CUpdateContext* context, DWORD flags, int line) override;
    void AfterEditAction(int action, const wchar_t* text) override;
    // Whether the text may be changed now (a buffer that is not read-only).
    virtual BOOL CanEditNow();

    // -- edits (each ends with the cursor shown and the selection set) --------
    void TypeChar(wchar_t ch);
    void DeleteForward();
    void DeleteBack();
    void Indent();
    void Unindent();
    void Paste();
    void Cut();
    void Undo();
    void Redo();
    // Replaces the selection (a deletion and an insertion, each its own undo
    // step) and selects the new text; FALSE without a selection.
    BOOL ReplaceSelection(const wchar_t* text);
    // Replaces the range without moving the view; the end of the new text.
    CPoint ReplaceRange(const CPoint& start, const CPoint& end, const wchar_t* text);
    BOOL GetOverwriteMode() const { return m_bOvrMode; }
    void SetOverwriteMode(BOOL overwrite) { m_bOvrMode = overwrite; }
    BOOL GetAutoIndent() const { return m_bAutoIndent; }
    void SetAutoIndent(BOOL autoIndent) { m_bAutoIndent = autoIndent; }
    void SetDisableBackspaceAtLineStart(BOOL disable) { m_bDisableBSAtSOL = disable; }

    // -- dropping --------------------------------------------------------------------
    void ShowDropIndicator(const CPoint& point);
    void HideDropIndicator();
    BOOL IsDropIndicatorShown() const { return m_bDropPosVisible; }
    // Scrolls when the point is near an edge; TRUE when it did.
    BOOL DoDragScroll(const CPoint& point);
    BOOL DoDropText(COleDataObject* data, const CPoint& point);
    CEditDropTargetImpl* GetDropTarget() const { return m_pDropTarget; }

    // The selection the Replace command keeps while its dialog is open.
    void PushSelection();
    void PopSelection();

protected:
    void FinishEdit();
    void FinishEditAt(const CPoint& pos);
    // The lines from first to last, up to the start of the next line.
    void SelectWholeLines(int first, int last);
    // With a selection over several lines: the edit on each of its lines
    // as one undo step, then the lines selected whole; FALSE otherwise.
    BOOL EditSelectedLines(const std::function<void(int line)>& edit);
    void UpdateUndoItem(CCmdUI* ui, BOOL undo);
    BOOL DeleteCurrentSelection(int action);

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnEditDelete() { DeleteForward(); }
    void OnEditDeleteBack() { DeleteBack(); }
    void OnEditTab() { Indent(); }
    void OnEditUntab() { Unindent(); }
    void OnEditSwitchOvrmode() { m_bOvrMode = !m_bOvrMode; }
    void OnUpdateIndicatorOvr(CCmdUI* ui);
    void OnEditPaste() { Paste(); }
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnEditCut() { Cut(); }
    void OnUpdateEditCut(CCmdUI* ui);
    void OnEditUndo() { Undo(); }
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnEditRedo() { Redo(); }
    void OnUpdateEditRedo(CCmdUI* ui);
    void OnEditReplace();
    void OnUpdateEditReplace(CCmdUI* ui);
    void OnUpdateIndicatorReadOnly(CCmdUI* ui);
    void OnUpdateIndicatorWorkDir(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

    BOOL m_bOvrMode = FALSE;
    BOOL m_bDropPosVisible = FALSE;
    CPoint m_ptSavedCaretPos;
    CPoint m_ptDropPos;
    BOOL m_bSelectionPushed = FALSE;
    CPoint m_ptSavedSelStart, m_ptSavedSelEnd;
    BOOL m_bAutoIndent = TRUE;
    BOOL m_bDisableBSAtSOL = FALSE;
    CEditDropTargetImpl* m_pDropTarget = nullptr;
};
