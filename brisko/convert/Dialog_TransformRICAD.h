// The RICAD ground-line converter: a .dat file of sections (a station line
// with the centre elevation and two side flags, then the flagged side lines)
// becomes the suite's profile ground line (.DMX) and cross-section ground
// line (.HDX) in one pass.  A side narrower than the minimum width, or
// missing, is completed with a point at that width.
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_TransformRICAD : public CToolDialog
{
public:
    explicit CDialog_TransformRICAD(CWnd* parent = nullptr);

    tkxIconButton m_btnPickInput; // 1018
    tkxIconButton m_btnPickDMX;   // 1040
    tkxIconButton m_btnPickHDX;   // 1052
    tkxIconButton m_btnViewInput; // 1024
    CString m_SDMXFileName;
    CString m_SHDXFileName;
    CString m_SRicadFileName;
    // Point layout of the side lines: 0 ABS, 1 ABS1, 2 raised rod.
    int m_iDatFormat = 1;
    double m_rMinWidth = 0.0;

    // Section "Transform_RICAD_ZHD": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

    // m_SRicadFileName into m_SDMXFileName and m_SHDXFileName in the layout
    // m_iDatFormat: the whole input is read and checked first, then both
    // outputs are written; 1, or 0 after its message with both outputs as
    // they were.
    int TransformRICADFile();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickDMX();
    void OnPickHDX();
    void OnViewInput();
    DECLARE_MESSAGE_MAP()
};
