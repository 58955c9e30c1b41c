// The structure tools' dialog: mode 0 turns an old-style structure list
// (.GZW) into a structure information file (.GZX), mode 1 exports the
// bridges of a structure information file into a bridge station file (.QL).
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_ConvertJGW : public CToolDialog
{
public:
    explicit CDialog_ConvertJGW(CWnd* parent = nullptr);

    tkxIconButton m_btnPickInput;  // 1018
    tkxIconButton m_btnViewInput;  // 1024
    tkxIconButton m_btnPickOutput; // 1040
    CString m_SInFileName;
    CString m_SOutFileName;
    // 0 GZW to GZX, 1 GZX to QL; set before DoModal.
    int m_iMode = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickOutput();
    void OnViewInput();
    DECLARE_MESSAGE_MAP()
};

// The menu commands' entry: mode 0 with the GZW and GZX files of the
// current road in the project's working folder, mode 1 with its GZX and QL
// files in the road's folder; the dialog runs under the parent.
void ShowConvertJGWDialog(int mode, CWnd* parent);
