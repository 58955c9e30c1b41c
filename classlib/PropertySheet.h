// Property sheets and pages.
//
// A CPropertySheet runs its pages modally (DoModal): the system's sheet with
// one tab per page, run by the library's own modal loop (idle pass and
// pre-translate walk included), its owner disabled meanwhile.  A page's
// controls are filled when the page is first shown (OnInitDialog) and read
// back (with their checks) when the user leaves it or presses OK
// (OnKillActive); a failed check keeps the user on the page.  OK then
// applies every page that was shown (OnApply, which calls OnOK); pages never
// shown keep their members as they were.  DoModal answers IDOK or IDCANCEL.
//
// A page can also live on its own as a child pane of any window (Create with
// a parent), without a sheet: it then behaves as a modeless child dialog.
//
// Templates come from the module that constructs the page (Resources.h).
#pragma once
#include "Controls.h"
#include "Dialog.h"
#include <vector>

#define ID_APPLY_NOW 0x3021
#define ID_WIZBACK 0x3023
#define ID_WIZNEXT 0x3024
#define ID_WIZFINISH 0x3025

class CPropertySheet;

class CLASSLIB_API CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // `captionId`: a string for the tab; 0 takes the template's caption.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0, HINSTANCE caller = ClCallerModule());
    explicit CPropertyPage(const wchar_t* templateName, UINT captionId = 0, HINSTANCE caller = ClCallerModule());

    // The page as a child pane of `parent` (no sheet): its template, made a
    // child window with `style`, at `rect`, with the control id `id`.
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context = nullptr) override;

    // The page becomes the sheet's current one; the default puts the members
    // into the controls again (after the first time).  FALSE refuses.
    virtual BOOL OnSetActive();
    // The user leaves the page or presses OK: the controls are read back
    // (UpdateData); FALSE keeps the user on the page.
    virtual BOOL OnKillActive();
    // OK: the default calls OnOK and answers TRUE.
    virtual BOOL OnApply();
    // Cancel: the default calls OnCancel.
    virtual void OnReset();
    // May the sheet be cancelled?  TRUE by default.
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;
    // Enables the sheet's Apply button (or disables it again).
    void SetModified(BOOL changed = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Fills in the system's page record (the sheet calls it).
    void PreparePage(PROPSHEETPAGEW& page);

protected:
    // A writable copy of the template (the system adjusts a page's styles
    // in place).
    BOOL CopyTemplate();
    std::vector<BYTE> m_template;
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
    friend class CPropertySheet;
};

class CLASSLIB_API CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(const wchar_t* caption, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0,
                            HINSTANCE caller = ClCallerModule());

    // Pages are not owned by the sheet.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int index);
    void SetTitle(const wchar_t* title);
    CTabCtrl* GetTabControl() const;

    virtual INT_PTR DoModal();
    // The sheet's window is made and its first page shown (hide or change
    // buttons here).
    virtual BOOL OnInitDialog();

    BOOL ContinueModal() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    PROPSHEETHEADERW m_psh;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LRESULT OnKickIdle(WPARAM wParam, LPARAM count);
    void OnOK();
    void OnCancel();
    DECLARE_MESSAGE_MAP()

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
};
