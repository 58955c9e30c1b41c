// The 路线大师 plane-data converter: an intersection-point file in coordinate
// form (.JDX) becomes the suite's intersection-point file (.JD), a
// plane-line file (.PMX) the suite's unit file (.ICD).  Both inputs name
// their coordinate order on a keyword line ("NE" northing first, "XY"
// easting first); the suite's files always carry northing first.
#pragma once
#include "brisko/convert/ToolDialog.h"

// What OK says while no format is chosen (the dialog stays open).
extern const wchar_t kRMPMNoFormat[];

class CDialog_Transform_RMPM : public CToolDialog
{
public:
    explicit CDialog_Transform_RMPM(CWnd* parent = nullptr);

    InOutButtons m_buttons; // input viewer 1024, output picker 1040, input picker 1018
    CString m_SInFileName;
    CString m_SOutFileName;
    // 0 intersection points (.JDX), 1 plane lines (.PMX), -1 none chosen.
    int m_iDatFormat = -1;

    // Section "Transform_RMPM": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

    // m_SInFileName into m_SOutFileName; each reads the whole input first.
    // 1 on success, 0 after its message (on the dialog's window when it has
    // one), the output of an earlier run as it was.
    int TransformRMJDXFile();
    int TransformRMPMXFile();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickOutput();
    void OnViewInput();
    void OnFormat();
    void ShowLabels();
    DECLARE_MESSAGE_MAP()
};
