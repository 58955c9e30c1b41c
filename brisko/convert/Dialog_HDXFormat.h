// The layout-change dialog of cross-section ground-line files: the input
// with the layout found in it, the profile ground line and optionally the
// break chain it needs, the target layout and the output.
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_HDXFormat : public CToolDialog
{
public:
    explicit CDialog_HDXFormat(CWnd* parent = nullptr);

    tkxIconButton m_btnPickOutput;
    tkxIconButton m_btnPickInput;
    tkxIconButton m_btnPickDMX;
    tkxIconButton m_btnPickDL;
    tkxIconButton m_btnViewInput;
    tkxIconButton m_btnViewDMX;
    tkxIconButton m_btnViewDL;
    CString m_SFileFormat;   // the layout found, as text
    CString m_SOutFileName;
    int m_iOutFormat = 1;    // 0 ABS, 1 ABS1, 2 raised rod
    int m_bIncludeDL = 0;
    CString m_SHDXFileName;
    CString m_SDMXFileName;
    CString m_SDLFileName;
    int m_iFoundFormat = -1; // the input's layout; -1 before one was found

    // Section "HDXFormat": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Finds the input's layout: its radio button is disabled and another
    // target proposed; a file whose layout cannot be found is named and
    // OK is disabled.
    void DetectLayout();
    void OnIncludeDL();
    void OnPickOutput();
    void OnPickInput();
    void OnPickDMX();
    void OnPickDL();
    void OnViewInput();
    void OnViewDMX();
    void OnViewDL();
    void EnableDL();
    DECLARE_MESSAGE_MAP()
};

// The menu command's entry: the dialog under the parent with the fields of
// its last run.
void ShowHDXFormatDialog(CWnd* parent);
