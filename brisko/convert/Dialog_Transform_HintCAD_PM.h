// The HintCAD plane-data converter: an intersection-point file in HintCAD's
// deflection form (.JDX) or coordinate form becomes the suite's
// intersection-point file (.JD), a plane-unit file (.PM) the suite's unit
// file (.ICD).
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_Transform_HintCAD_PM : public CToolDialog
{
public:
    explicit CDialog_Transform_HintCAD_PM(CWnd* parent = nullptr);

    InOutButtons m_buttons; // input viewer 1024, output picker 1040, input picker 1018
    CString m_SINFileName;
    CString m_SOutFileName;
    // 0 deflection form (.JDX), 1 coordinate form, 2 plane units (.PM).
    int m_iDatFormat = 0;

    // Section "Transform_HintCAD_PM": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickOutput();
    void OnViewInput();
    void OnFormat();
    // The input and output labels of the chosen format.
    void ShowLabels();
    DECLARE_MESSAGE_MAP()
};

// Each reads the whole input, then writes the output; 1 on success, 0 after
// its own message (the output of an earlier run as it was).
int TransformHintCADJDAngleFile(const wchar_t* input, const wchar_t* output);
int TransformHintCADJDCoordFile(const wchar_t* input, const wchar_t* output);
int TransformHintCADPMFile(const wchar_t* input, const wchar_t* output);
