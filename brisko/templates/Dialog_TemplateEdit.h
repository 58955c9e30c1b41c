// The template editor: edits the caller's list of slope lines one line at a
// time, shows the whole template in its preview, inserts preset lines (fill
// and cut slopes, berm, debris platform, trapezoidal and rectangular
// ditches), copies the control files chosen into the current library's
// folder and saves the template there.
//
// Every editing control stores the line at once: its values are read and
// checked, put into the current line, and the template is sketched and
// shown again.  A value still being typed that is no number, or that the
// checks refuse, is stored once it is complete; navigating, saving and
// closing read and check with their messages.
#pragma once
#include "brisko/shell/ResizableDialog.h"
#include "brisko/templates/SlopePicture.h"
#include "corvane/ui/IconButton.h"
#include <initializer_list>

class CDialog_TemplateEdit : public CResizableDialog
{
public:
    explicit CDialog_TemplateEdit(CWnd* parent = nullptr);

    // Set by the caller before DoModal.  After a save the template path is
    // the saved file's and the new-template flag is 0.
    CSlopeLineArray* m_pSlopeLines = nullptr;
    short m_nCurLine = 0;
    CString m_STemplatePath;
    short m_bNewTemplate = 0;

    tkxIconButton m_btnDelete;
    tkxIconButton m_btnInsert;
    tkxIconButton m_btnSave;
    tkxIconButton m_btnWallBrowse;
    tkxIconButton m_btnNext;
    tkxIconButton m_btnPrevious;
    tkxIconButton m_btnControlBrowse;
    CSlopePicture m_wndPreview;

    // The values of the controls: the current line as shown.
    CSlopeLine m_value;
    CString m_STemplateName;

    // The presets of the insert menu (40109..40114) after the current line.
    void InsertPreset(UINT command);
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnResetPreview(WPARAM, LPARAM);
    void OnPrevious();
    void OnNext();
    void OnSave();
    void OnInsert();
    void OnDelete();
    void OnWallBrowse();
    void OnControlBrowse();
    void OnTest();
    void OnInsertCommand(UINT id);
    void OnButtonControl(UINT id);
    void OnComboControl(UINT id);
    void OnEditControl(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void ShowLine(int index);
    void Refresh();
    void Normalize();
    // Reads the controls and checks the values: with messages (FALSE after
    // one), or quietly for a value still being typed.
    BOOL ReadAndCheck(bool report = true);
    BOOL CheckValues(bool report);
    // Puts the values into the current line (the control file kept only
    // for the rules that use one) and sketches the template.
    void StoreCurrent();
    void StoreAndRefresh(UINT id, BOOL checked);
    void PlacePreview();
    // Copies a chosen file into the library folder (asking before it
    // replaces one), puts its name into `field` and stores the line; FALSE
    // when it does not.
    BOOL TakeFile(const CString& chosen, CString& field);
    static CString FirstPath(CString name, std::initializer_list<const wchar_t*> ends, const wchar_t* ext);
    void BrowseControlFile();
    void BrowseWallFile();
    // Saves under the path chosen in the save dialog; FALSE when cancelled.
    BOOL SaveAs();
    CString SaveTo(const CString& name);

    bool m_bUpdating = false; // controls being filled: their notices are ignored
    bool m_bViewSet = false;  // the preview's view was set when the editor first showed
};
