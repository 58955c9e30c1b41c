// The editor's text view: shows the lines of a CTvTextBuffer a line at a
// time through an off-screen bitmap, coloured by the blocks its line parser
// returns, with a margin of line numbers or line-flag icons; moves the
// cursor and the selection with the keyboard and the mouse; copies to the
// clipboard and drags text out; searches; prints with a header and a footer.
// Editing is CTvEditView's.
//
// Positions are (column, line) points in characters of the line.  Screen
// columns ("expanded" columns) count a tab as the spaces up to the next tab
// stop.  Caches (parse cookies, expanded line lengths, measures, fonts, the
// bitmap) fill lazily and the buffer's change notices drop what changed.
//
// A derived view colours lines by overriding ParseLine: it appends blocks
// (a start column and a colour index, in ascending order) with DefineBlock,
// which never writes past the room the painter gave for the line, and
// returns the state that the next line starts in.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/editor/TvTextBuffer.h"
#include <memory>
#include <vector>

// A change of colour within a line.
struct TEXTBLOCK {
    int m_nCharPos;
    int m_nColorIndex;
};

// Colour indices (GetColor).
enum : int {
    COLORINDEX_WHITESPACE = 0,   // behind a line and after its text
    COLORINDEX_BKGND = 1,        // behind the text
    COLORINDEX_NORMALTEXT = 2,
    COLORINDEX_SELMARGIN = 3,
    COLORINDEX_SELBKGND = 4,
    COLORINDEX_SELTEXT = 5,
    COLORINDEX_KEYWORD = 6,
    COLORINDEX_COMMENT = 7,
    COLORINDEX_NUMBER = 8,
    COLORINDEX_OPERATOR = 9,
    COLORINDEX_STRING = 10,
    COLORINDEX_PREPROCESSOR = 11,
    COLORINDEX_READONLYBKGND = 18,
};

// Search flags.
enum : DWORD { FIND_MATCH_CASE = 0x0001, FIND_WHOLE_WORD = 0x0002, FIND_DIRECTION_UP = 0x0010 };

class CTvTextView : public CView
{
    DECLARE_DYNCREATE(CTvTextView)
public:
    CTvTextView();
    ~CTvTextView() override;

    // -- virtual operations (in this order) ------------------------------------
    virtual void ReinitialiseView();
    virtual void PrintHeader(CDC* dc, int page);
    virtual void PrintFooter(CDC* dc, int page);
    virtual void PrintHeaderText(int page, CString& text);
    virtual void PrintFooterText(int page, CString& text);
    virtual void SyncSiblingScroll(BOOL horizontal);
    virtual void SyncSiblingView(CTvTextView* view, BOOL horizontal);
    virtual int GetLineCount();
    virtual int GetLineLength(int line);
    virtual int DisplayLengthOfLine(int line);
    virtual const wchar_t* LineText(int line);
    virtual wchar_t GetCharAt(int line, int column);
    virtual DWORD LineFlags(int line);
    virtual void GetText(const CPoint& start, const CPoint& end, CString& text);
    virtual BOOL ClipboardHasText();
    virtual BOOL WriteClipboardText(const CString& text);
    virtual BOOL ReadClipboardText(CString& text);
    virtual BOOL CopySelectedText();
    virtual DROPEFFECT AllowedDragEffects();
    virtual void AfterDragOut(DROPEFFECT effect);
    virtual COLORREF GetColor(int index);
    // The line's own colours from its flags; both -1 and `own` FALSE when it
    // has none.
    virtual void GetFlaggedLineColours(int line, COLORREF& background, COLORREF& text, BOOL& own);
    virtual BOOL IsColourItalic(int index);
    virtual BOOL IsColourBold(int index);
    virtual void PaintLine(CDC* dc, const CRect& rect, int line);
    virtual void PaintMarginCell(CDC* dc, const CRect& rect, int line);
    virtual DWORD ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count);
    virtual HINSTANCE ResourceModuleHandle();
    virtual CTvTextBuffer* GetTextBuffer();
    virtual void OnBufferNotice(CTvTextView* source, CUpdateContext* context, DWORD flags, int line);
    virtual void AfterEditAction(int action, const wchar_t* text);
    // The caret was put somewhere by a command of the view (go to a line,
    // a bookmark or a mark, a found text); the keys' moves have their own
    // handlers.
    virtual void AfterCaretJump();

    // -- buffer ---------------------------------------------------------------------
    // Attaches to the buffer (GetTextBuffer when null) and resets the view.
    void AttachToBuffer(CTvTextBuffer* buffer = nullptr);
    void DetachFromBuffer();
    CTvTextBuffer* GetAttachedBuffer() const { return m_pTextBuffer; }
    // The buffer is being destroyed.
    void BufferGone(CTvTextBuffer* buffer);

    // -- appearance -------------------------------------------------------------
    void SetFont(const LOGFONTW& font);
    void GetFont(LOGFONTW& font) const { font = m_lfBaseFont; }
    int GetTabSize() const { return m_nTabSize; }
    void SetTabSize(int tabSize);
    void SetMarginWidth(int width) { m_nMarginWidth = width; }
    int GetMarginWidth() const { return m_bSelMargin ? m_nMarginWidth : 1; }
    void SetLinePitch(int pitch);
    int GetLinePitch() const { return m_nLinePitch; }
    void SetSelectionMargin(BOOL show);
    void SetViewWhitespace(BOOL show);
    void SetDisableDragAndDrop(BOOL disable) { m_bDisableDragAndDrop = disable; }
    BOOL GetDisableDragAndDrop() const { return m_bDisableDragAndDrop; }
    int GetLineHeight();
    int GetCharWidth();
    int GetScreenLines();
    int GetScreenChars();
    int GetMaxLineLength();
    int GetTopLine() const { return m_nTopLine; }
    int GetOffsetChar() const { return m_nOffsetChar; }
    void ScrollToLine(int topLine, BOOL trackScrollBar = TRUE);
    void ScrollToChar(int offsetChar, BOOL trackScrollBar = TRUE);
    // Holds back scroll-bar updates, repainting and the caret during a run
    // of edits (nested); the last release catches up with all of them.
    void HoldUpdates(BOOL hold);

    // -- cursor and selection -------------------------------------------------
    CPoint GetCursorPos() const { return m_ptCursorPos; }
    void SetCursorPos(const CPoint& pos);
    CPoint GetAnchor() const { return m_ptAnchor; }
    void SetAnchor(const CPoint& pos) { m_ptAnchor = pos; }
    void GetSelection(CPoint& start, CPoint& end);
    void SetSelection(const CPoint& start, const CPoint& end);
    BOOL IsSelection();
    BOOL IsInsideSelection(const CPoint& pos);
    void EnsureVisible(CPoint pos);
    // Puts the caret at the cursor, or takes it away while it is not to be
    // seen; the status panes follow.
    void UpdateCaret();
    // The frame's status panes (position, encoding) show this view's state
    // now, when it is the active view, rather than at the next idle moment:
    // commands sent by another program, one after another, leave no idle
    // moment between them.
    void UpdateStatusPanes();
    // Selects `length` characters from pos (the cursor after them) and
    // shows them.
    void HighlightText(const CPoint& pos, int length);
    BOOL IsFocused() const { return m_bFocused; }
    void SetShowInactiveSelection(BOOL show);

    // -- coordinates ---------------------------------------------------------------
    CPoint ClientToText(const CPoint& point);
    CPoint TextToClient(const CPoint& point);
    // Screen column of a character, and the character at a screen column.
    int CalculateActualOffset(int line, int charIndex);
    int ApproxActualOffset(int line, int offset);
    // The characters of a run with tabs expanded; `column` is the screen
    // column the run starts at.
    void ExpandTabsForDisplay(const wchar_t* chars, int count, int column, std::wstring& out);

    // -- movement (select: the selection runs from the anchor) -----------------
    void MoveLeft(BOOL select);
    void MoveRight(BOOL select);
    void MoveWordLeft(BOOL select);
    void MoveWordRight(BOOL select);
    void MoveUp(BOOL select);
    void MoveDown(BOOL select);
    void MovePgUp(BOOL select);
    void MovePgDn(BOOL select);
    void MoveHome(BOOL select);
    void MoveEnd(BOOL select);
    void MoveCtrlHome(BOOL select);
    void MoveCtrlEnd(BOOL select);
    void ScrollUp();
    void ScrollDown();
    void ScrollLeft();
    void ScrollRight();
    void SelectAll();
    CPoint WordToLeft(CPoint pos);
    CPoint WordToRight(CPoint pos);

    // -- clipboard ------------------------------------------------------------------
    // The selection's data lines as tab-separated fields for a spreadsheet.
    void CopyAsExcel();
    static CString ExcelText(const CString& text);

    // -- search ---------------------------------------------------------------------
    // Offset of the pattern in the segment, or -1.
    static int FindStringHelper(const wchar_t* text, int length, const wchar_t* pattern, BOOL wholeWord,
                                BOOL matchCase = TRUE);
    // The first occurrence of the pattern's m characters in a segment of a
    // line, as the search finds it: compared through `upper` (the upper-case
    // table, null to match case) and, with wholeWord, standing free of
    // letters, digits and "_" on both sides, `before` being the character
    // before the segment (0 at the line's start).  Offset, or -1.
    static int FindInSegment(const wchar_t* text, int length, wchar_t before, const wchar_t* pattern, int m,
                             BOOL wholeWord, const wchar_t* upper);
    // The C runtime's upper case of every character, the comparison of the
    // search without match case.
    static const wchar_t* UpperCaseTable();
    BOOL SearchTextInRange(const wchar_t* what, const CPoint& start, const CPoint& blockBegin,
                           const CPoint& blockEnd, DWORD flags, BOOL wrap, CPoint* found);
    BOOL SearchText(const wchar_t* what, const CPoint& start, DWORD flags, BOOL wrap, CPoint* found);
    BOOL GetLastSearch(CString& what, DWORD& flags) const;
    void SetLastSearch(const wchar_t* what, DWORD flags);
    // Moves to a line (0-based) and selects its item-th data item.
    void GoToLineItem(int line, int item);
    // The not-found report of the search commands: "文字没有找到:<what>" in
    // a message box and, when asked, in the status bar.
    void ReportNotFound(const wchar_t* what, BOOL toStatusBar = FALSE);

    // -- bookmarks ------------------------------------------------------------------
    BOOL HasMarks() const { return m_bBookmarkExist; }

    // -- printing ---------------------------------------------------------------------
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    int GetPrintPageCount() const { return m_nPrintPages; }
    // The first line of each page (after the layout of the first page).
    const std::vector<int>& GetPrintPageStarts() const { return m_aPrintPages; }
    CRect GetPrintTextArea() const { return m_rcPrintArea; }
    int GetPrintLineHeight() const { return m_nPrintLineHeight; }

    void OnDraw(CDC* dc) override;
    void OnInitialUpdate() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Appends a colour block for ParseLine; a block past the room the
    // painter gave, or before the last one, is dropped.
    void DefineBlock(TEXTBLOCK* blocks, int& count, int position, int colorIndex);
    // The room ParseLine may fill (blocks) in the current call.
    int m_nParseBlockRoom = 0;
    // Runs ParseLine with room for three blocks per character; the blocks
    // come back in order and inside the line.  Keeps the line's cookie.
    DWORD ParseLineBlocks(int line, std::vector<TEXTBLOCK>& blocks);
    DWORD GetParseCookie(int line);
    void InvalidateLines(int first, int last);
    // The whole window repainted and the caret put in place.
    void RepaintAll();
    void RecalcVertScrollBar(BOOL positionOnly = FALSE);
    void SetScrollBar(int bar, int& position, BOOL positionOnly, BOOL fits, int maxValue, int page);
    int ScrollTarget(int bar, UINT code, int position, int page, int last);
    // The cursor at the start of the line, nothing selected, shown.
    void GoToLineStart(int line);
    void RecalcHorzScrollBar(BOOL positionOnly = FALSE);
    void CalcLineCharDim();
    CFont* GetFont(BOOL italic = FALSE, BOOL bold = FALSE);
    CDC* MeasureDC();
    // The text is drawn in cells of the character width (the width of "X"),
    // two for a wide (CJK) character, whatever the font's own advances:
    // caret, selection and glyphs agree with any font.
    static bool IsWideChar(wchar_t c);
    static int CellCount(const wchar_t* text, int count);
    int TextWidth(const wchar_t* text, int count);
    // The bitmap, the fonts and the measuring DC.
    void DropFonts();
    void DropCaches();
    void ClampPositions();
    void UpdateSelectionAfterMove(BOOL select);
    void DrawLineRun(CDC* dc, CPoint& origin, const CRect& clip, int colorIndex, BOOL ownTextColour,
                     const wchar_t* chars, int offset, int count, int line, int& column);
    void DrawRunPiece(CDC* dc, CPoint& origin, const CRect& clip, const wchar_t* chars, int offset, int count,
                      int& column);
    void SelectLines(int line);
    CPoint WordStart(const CPoint& pos);
    CPoint WordEnd(const CPoint& pos);
    void AdjustTextPoint(CPoint& point);
    int PrintLineHeight(CDC* dc, int line);
    void PrintLayout(CDC* dc, CPrintInfo* info);

    // Messages and commands.
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnCaptureChanged(CWnd* wnd);
    void OnCharLeft() { MoveLeft(FALSE); }
    void OnExtCharLeft() { MoveLeft(TRUE); }
    void OnCharRight() { MoveRight(FALSE); }
    void OnExtCharRight() { MoveRight(TRUE); }
    void OnWordLeft() { MoveWordLeft(FALSE); }
    void OnExtWordLeft() { MoveWordLeft(TRUE); }
    void OnWordRight() { MoveWordRight(FALSE); }
    void OnExtWordRight() { MoveWordRight(TRUE); }
    void OnLineUp() { MoveUp(FALSE); }
    void OnExtLineUp() { MoveUp(TRUE); }
    void OnLineDown() { MoveDown(FALSE); }
    void OnExtLineDown() { MoveDown(TRUE); }
    void OnPageUp() { MovePgUp(FALSE); }
    void OnExtPageUp() { MovePgUp(TRUE); }
    void OnPageDown() { MovePgDn(FALSE); }
    void OnExtPageDown() { MovePgDn(TRUE); }
    void OnLineEnd() { MoveEnd(FALSE); }
    void OnExtLineEnd() { MoveEnd(TRUE); }
    void OnHome() { MoveHome(FALSE); }
    void OnExtHome() { MoveHome(TRUE); }
    void OnTextBegin() { MoveCtrlHome(FALSE); }
    void OnExtTextBegin() { MoveCtrlHome(TRUE); }
    void OnTextEnd() { MoveCtrlEnd(FALSE); }
    void OnExtTextEnd() { MoveCtrlEnd(TRUE); }
    void OnScrollUp() { ScrollUp(); }
    void OnScrollDown() { ScrollDown(); }
    void OnEditSelectAll() { SelectAll(); }
    void OnEditCopy() { CopySelectedText(); }
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnEditCopyExcel() { CopyAsExcel(); }
    void OnUpdateEditCopyExcel(CCmdUI* ui);
    void OnToggleBookmark(UINT id);
    void OnUpdateToggleBookmark(CCmdUI* ui);
    void OnGoBookmark(UINT id);
    void OnUpdateGoBookmark(CCmdUI* ui);
    void OnClearBookmarks();
    void OnToggleMark();
    void OnNextMark();
    void OnPrevMark();
    void OnClearAllMarks();
    void OnUpdateMarks(CCmdUI* ui);
    void OnEditFind();
    void OnEditRepeat();
    void OnEditFindPrevious();
    void OnUpdateEditRepeat(CCmdUI* ui);
    void OnEditGotoLine();
    void OnFilePageSetup();
    void OnUpdateIndicatorEncoding(CCmdUI* ui);
    void OnUpdateIndicatorPosition(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

    // -- state -----------------------------------------------------------------------
    CTvTextBuffer* m_pTextBuffer = nullptr;
    CBitmap* m_pCacheBitmap = nullptr;
    BOOL m_bViewWhitespace = FALSE;
    int m_nLineHeight = -1;
    int m_nCharWidth = -1;
    int m_nTabSize = 4;
    int m_nScreenLines = -1;
    int m_nScreenChars = -1;
    int m_nMaxLineLength = -1;
    BOOL m_bSelMargin = TRUE;
    int m_nTopLine = 0;
    int m_nOffsetChar = 0;
    CPoint m_ptCursorPos;
    CPoint m_ptSelStart, m_ptSelEnd;         // as set
    CPoint m_ptDrawSelStart, m_ptDrawSelEnd; // in order
    CPoint m_ptAnchor;
    BOOL m_bFocused = FALSE;
    BOOL m_bShowInactiveSelection = FALSE;
    int m_nMarginWidth = 30;
    int m_nLinePitch = 5;
    LOGFONTW m_lfBaseFont;
    CFont* m_apFonts[4] = {nullptr, nullptr, nullptr, nullptr};
    BOOL m_bItalic = FALSE;
    BOOL m_bBold = FALSE;
    std::vector<DWORD> m_aParseCookies; // cookie at the end of each line
    int m_nValidCookies = 0;            // lines whose cookie is known
    std::vector<int> m_aActualLineLength;
    // Printing.
    std::vector<int> m_aPrintPages;
    int m_nPrintPages = 0;
    CFont* m_pPrintFont = nullptr;
    int m_nPrintLineHeight = 0;
    BOOL m_bPrintHeader = TRUE;
    BOOL m_bPrintFooter = TRUE;
    CRect m_rcPrintArea;
    CTime m_timePrinted;
    // Navigation.
    int m_nIdealCharPos = -1;
    BOOL m_bDragSelection = FALSE;
    BOOL m_bWordSelection = FALSE;
    BOOL m_bLineSelection = FALSE;
    int m_nLineSelAnchor = 0;
    BOOL m_bPreparingToDrag = FALSE;
    BOOL m_bDraggingText = FALSE;
    UINT_PTR m_nDragSelTimer = 0;
    CPoint m_ptDrawSelClick;
    CPoint m_ptDraggedTextBegin, m_ptDraggedTextEnd;
    BOOL m_bDisableDragAndDrop = FALSE;
    DWORD m_dwBookmarksSet = 0; // numbered bookmarks set through this view
    BOOL m_bBookmarkExist = FALSE;
    // Search.
    BOOL m_bLastSearch = FALSE;
    CString m_strLastFindWhat;
    DWORD m_dwLastSearchFlags = 0;
    // Input.
    HACCEL m_hAccel = nullptr;
    HACCEL m_hEditorKeys = nullptr;
    int m_nWheelLines = 3;
    int m_nWheelRest = 0;
    int m_nHoldUpdates = 0;
    CImageList* m_pIcons = nullptr;
    CFont* m_pMarginFont = nullptr;
    int m_nMarginFontWidth = -1;
    CDC* m_pMeasureDC = nullptr;
    HGDIOBJ m_hMeasureOldFont = nullptr;
    BOOL m_bCaretShown = FALSE;

    friend class CTvTextBuffer;
};
