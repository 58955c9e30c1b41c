// The ground-line converter for HintCAD and 路线大师 files, in four modes set
// by the opener:
//   0   HintCAD cross-section ground line (.HDM)  -> .HDX
//   1   路线大师 cross-section ground line (.DMX) -> .HDX
//   10  HintCAD profile ground line (.DMX)        -> .DMX
//   11  路线大师 profile ground line (.DMG)       -> .DMX, copied unchanged
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_Transform_ZHDX : public CToolDialog
{
public:
    explicit CDialog_Transform_ZHDX(CWnd* parent = nullptr);

    InOutButtons m_buttons; // input viewer 1024, output picker 1040, input picker 1018
    CString m_SInFileName;
    CString m_SOutFileName;
    // Set by the opener: 0, 1, 10 or 11.
    short m_nMode = 0;

    // The section of the mode (none for another mode); get = 1 reads, 0
    // writes.
    void SerializeSettings(int get);

    // Mode 1: the 路线大师 file m_SInFileName into m_SOutFileName; 1, or 0
    // after its message (on the dialog's window when it has one).
    int TransformRMHDXFile();
    // Mode 11: m_SInFileName copied to m_SOutFileName; 1, or 0 after
    // "复制文件失败!" (or NoToolDataText for a file without a data line).
    int CopyRMDMGFile();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickOutput();
    void OnViewInput();
    DECLARE_MESSAGE_MAP()
};

// Runs the dialog under the main window in the mode.
void ShowTransformZHDXDialog(short mode);

// The HintCAD readers (the road import calls them too): each reads the whole
// input, then writes the output; 1, or 0 after its message.
int TransformHintCADDMXFile(const wchar_t* input, const wchar_t* output);
int TransformHintCADHDMFile(const wchar_t* input, const wchar_t* output);
