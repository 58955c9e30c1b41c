// The base-elevation dialog: the road's vertical curves (.SQX), ground line
// (.DMX) and, optionally, break chain (.DL), the band of the profile sheet,
// and the JGC file the base elevations go into.
#pragma once
#include "brisko/convert/BaseElevations.h"
#include "brisko/convert/ToolDialog.h"

class CDialog_JGC : public CToolDialog
{
public:
    explicit CDialog_JGC(CWnd* parent = nullptr);

    tkxIconButton m_btnPickSQX;
    tkxIconButton m_btnViewSQX;
    tkxIconButton m_btnPickDMX;
    tkxIconButton m_btnViewDMX;
    tkxIconButton m_btnPickDL;
    tkxIconButton m_btnViewDL;
    tkxIconButton m_btnViewJGC;
    CString m_SRuleHeight = L"1";  // rule unit (m)
    CString m_SScale = L"200";     // vertical scale denominator
    double m_rMinDistance = 1.0;   // margin of the band (paper mm)
    double m_rRowHeight = 20.0;    // height of the band (paper mm)
    int m_bPageAuto = 0;
    double m_rPageLength = 660.0;  // station length of a sheet (m)
    int m_bIncludeDL = 0;
    CString m_SSQXFileName;
    CString m_SDMXFileName;
    CString m_SDLFileName;
    CString m_SJGCFileName;
    // The numbers of the two texts, from the last exchange.
    double m_rScale = 200.0;
    double m_rRule = 1.0;

    // Section "EnvJGC": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The fields read from the controls and the two texts converted; FALSE
    // (after the message) when either failed.
    BOOL ReadFields();
    void OnIncludeDL();
    void OnPageAuto();
    void OnPickSQX();
    void OnPickDMX();
    void OnPickDL();
    void OnViewSQX();
    void OnViewDMX();
    void OnViewDL();
    void OnViewJGC();
    void OnShowSketch();
    // The DL field, picker and viewer and the sheet length follow their
    // check boxes.
    void EnableFields();
    DECLARE_MESSAGE_MAP()
};

// The menu command's entry: the current road's SQX, DMX, DL and JGC files,
// the break chain used when its file exists.
void ShowJGCDialog(CWnd* parent);
