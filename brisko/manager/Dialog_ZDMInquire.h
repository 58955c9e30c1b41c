// The profile query ("纵断面信息查询"): design elevation, ground elevation
// and fill or cut height at a typed station.  The query runs on the button
// "查询" and when the station box loses the focus; the three results show
// only after a query that succeeded, the message line says how it went.
#pragma once
#include "classlib/ClassLib.h"

class tkxZDMInfo;

class CDialog_ZDMInquire : public CDialog
{
public:
    explicit CDialog_ZDMInquire(CWnd* parent = nullptr);
    ~CDialog_ZDMInquire() override;

    // Reads the station (upper-cased, "K" and "+" dropped) through the
    // profile's break chain and fills the results and the message; 1 when
    // the design elevation could be computed, else 0 with the reason in the
    // message.
    int Query();

    CString m_SStation;         // as typed
    double m_dDesign = 0;       // design elevation
    double m_dGround = 0;       // ground elevation
    double m_dFillCut = 0;      // design less ground
    CString m_SMessage;
    tkxZDMInfo* m_pProfile = nullptr;
    int m_iResult = 0;          // of the last query
    BOOL m_bGroundKnown = FALSE; // the profile has a ground line

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnRun();
    void OnStationKillFocus();
    DECLARE_MESSAGE_MAP()

private:
    HICON m_hIcon = nullptr;
    // The controls read, the query run, the results shown or hidden and the
    // controls written.
    void RunFromControls();
    void ShowResults();
};

// Runs the query dialog on the profile, with the query done once for the
// text before it opens.
INT_PTR ShowZDMInquireDialog(const CString& station, tkxZDMInfo* profile, CWnd* parent);
