// The go-to dialog: a line number (1 to the number of lines) and the data
// item to select in it (1 to 1000).  On OK the line is 0-based.
#pragma once
#include "classlib/ClassLib.h"

class CDialog_GotoLine : public CDialog
{
public:
    explicit CDialog_GotoLine(CWnd* parent = nullptr);

    int m_nLine = 1;
    int m_nTotal = 1;
    short m_nItem = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
