// The data-file view: the editor's editing view on a CBriskoDoc, coloured
// for the suite's data files (comments after "//" or ";;", numbers,
// keywords, quoted text, "#" directive lines), with the field tooltip that
// follows the caret, a context menu, the comment commands (toggle "//" on
// the selected lines, insert the file type's header comment) and the reload
// when another program changed the file.
#pragma once
#include "brisko/editor/BriskoDoc.h"
#include "brisko/editor/TavixToolTip.h"
#include "brisko/editor/TvEditView.h"

// Colour-parse state carried from line to line.
enum : DWORD {
    COOKIE_COMMENT = 0x0001,
    COOKIE_PREPROCESSOR = 0x0002,
    COOKIE_EXT_COMMENT = 0x0004,
    COOKIE_STRING = 0x0008,
    COOKIE_CHAR = 0x0010,
};

class CBriskoView : public CTvEditView
{
    DECLARE_DYNCREATE(CBriskoView)
public:
    CBriskoView();
    ~CBriskoView() override;

    CBriskoDoc* GetDocument() const;

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnInitialUpdate() override;
    DWORD ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count) override;
    CTvTextBuffer* GetTextBuffer() override;
    virtual void CreateFieldToolTip();
    virtual void ShowFieldToolTip(const CPoint& textPos, const CString& text, BOOL show);

    // The description of the field at the caret (empty when none); on a
    // ground-line or cross-section file it also feeds the road-information
    // bar's pages.
    CString GetFieldDescription();
    // Shows, moves or hides the tooltip for the caret's field.
    void UpdateFieldToolTip();
    // The context menu as it would show now (rebuilt at each call).
    CMenu* BuildContextMenu();

    // The keyword and number tests of the colouring.
    static BOOL IsKeyword(const wchar_t* token, int length);
    static BOOL IsNumber(const wchar_t* token, int length);

    CTavixToolTip m_ToolTip;
    CString m_SLastToolTip;
    CMenu* m_pContextMenu;
    HICON m_hIcon;

    // The comment commands.
    void ToggleComment();
    void InsertComment();

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnKillFocus(CWnd* newWnd);
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    void OnCaretLeft();
    void OnCaretRight();
    void OnCaretUp();
    void OnCaretDown();
    void OnCaretPageUp();
    void OnCaretPageDown();
    void OnCaretLineEnd();
    // Tells the field tooltip and the road-information pages where the
    // caret now is, as the keys' moves do.
    void AfterCaretJump() override;
    void OnToggleComment() { ToggleComment(); }
    void OnInsertComment() { InsertComment(); }
    LRESULT OnFileWatchNotify(WPARAM wParam, LPARAM lParam);
    void OnFilePrint() { CView::OnFilePrint(); }
    void OnFilePrintPreview() { CView::OnFilePrintPreview(); }
    DECLARE_MESSAGE_MAP()

private:
    void HideToolTip();
    // The road-information bar's pages follow the caret in ground-line and
    // cross-section files.
    void FeedProfilePage(int line);
    BOOL m_bToolTipFailed = FALSE; // the tooltip window could not be made
};
