// The BidRoad export dialog: the road's plane-unit table (.DYD), vertical
// curves (.SQX), ground line (.DMX) and superelevation (.CG), and the bridge
// interface file (.BRF) written from them.
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_TransformBidRoadBRF : public CToolDialog
{
public:
    explicit CDialog_TransformBidRoadBRF(CWnd* parent = nullptr);

    tkxIconButton m_btnViewSQX;  // 1045
    tkxIconButton m_btnViewDYD;  // 1186
    tkxIconButton m_btnViewDMX;  // 1055
    tkxIconButton m_btnViewCG;   // 1074
    tkxIconButton m_btnPickSQX;  // 1036
    tkxIconButton m_btnPickDYD;  // 1185
    tkxIconButton m_btnPickDMX;  // 1049
    tkxIconButton m_btnPickCG;   // 1069
    tkxIconButton m_btnPickBRF;  // 1078
    CString m_SBRFFileName;      // 1295
    CString m_SCGFileName;       // 1294
    CString m_SDMXFileName;      // 1031
    CString m_SDYDFileName;      // 1314
    CString m_SSQXFileName;      // 1280

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickSQX();
    void OnPickDYD();
    void OnPickDMX();
    void OnPickCG();
    void OnPickBRF();
    void OnViewSQX();
    void OnViewDYD();
    void OnViewDMX();
    void OnViewCG();
    DECLARE_MESSAGE_MAP()
};

// The menu command's entry: the current road's DYD, SQX, DMX, CG and BRF
// files; after OK the question whether to open the BRF file.
void ShowTransformBidRoadDialog(CWnd* parent);
