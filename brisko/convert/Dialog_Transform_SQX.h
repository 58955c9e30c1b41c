// The vertical-curve converter: the grade points and curve radii of a road,
// exported by HintCAD (mode 0) or 路线大师 (mode 1) as a .ZDM file, become
// the suite's vertical-curve file (.SQX).
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_Transform_SQX : public CToolDialog
{
public:
    explicit CDialog_Transform_SQX(CWnd* parent = nullptr);

    InOutButtons m_buttons; // input viewer 1024, output picker 1040, input picker 1018
    CString m_SInFileName;
    CString m_SOutFileName;
    // Set by the opener: 0 HintCAD, 1 路线大师.
    short m_nMode = 0;

    // Section "Transform_HintCAD_ZDM" (mode 0) or "Transform_RM_ZDM" (mode
    // 1); no settings in another mode.  get = 1 reads, 0 writes.
    void SerializeSettings(int get);

    // The 路线大师 file m_SInFileName into m_SOutFileName; 1, or 0 after
    // its message (on the dialog's window when it has one).
    int TransformRMZDMFile();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickOutput();
    void OnViewInput();
    DECLARE_MESSAGE_MAP()
};

// Runs the dialog under the main window in the mode (0 HintCAD, 1 路线大师).
void ShowTransformSQXDialog(short mode);

// The HintCAD file into the output; 1, or 0 after its message.
int TransformHintCADZDMFile(const wchar_t* input, const wchar_t* output);
