// The dialog of the HintCAD road import: the kind of plane file, HintCAD's
// plane, vertical-curve (ZDM), profile ground-line (DMX) and cross-section
// ground-line (HDM) files, and the road's break chain as text.  It converts
// nothing; its caller creates the road and runs CRoadInfo::ImportHintCADRoad.
#pragma once
#include "brisko/convert/ToolDialog.h"
#include "corvane/ui/SyntaxEdit.h"

class CDialog_Import_HintRoad : public CToolDialog
{
public:
    explicit CDialog_Import_HintRoad(CWnd* parent = nullptr);

    tkxIconButton m_btnPickPlane;
    tkxIconButton m_btnPickZDM;
    tkxIconButton m_btnPickDMX;
    tkxIconButton m_btnPickHDM;
    tkxIconButton m_btnViewPlane;
    tkxIconButton m_btnViewZDM;
    tkxIconButton m_btnViewDMX;
    tkxIconButton m_btnViewHDM;
    tkxSyntaxEdit m_editBreakChain;
    // 0 intersection points by azimuth and distance (.JDX), 1 by
    // coordinates, 2 plane line positions (.PM).
    int m_iDatFormat = 0;
    CString m_SJDFileName;
    CString m_SSQXFileName; // the ZDM file
    CString m_SDMXFileName;
    CString m_SHDXFileName; // the HDM file
    CString m_SBreakChain;

    // Section "Transform_HintCAD_ROAD": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnFormat();
    void ShowPlaneLabel();
    void OnPickPlane();
    void OnPickZDM();
    void OnPickDMX();
    void OnPickHDM();
    void OnViewPlane();
    void OnViewZDM();
    void OnViewDMX();
    void OnViewHDM();
    void View(const CString& path);
    DECLARE_MESSAGE_MAP()
};
