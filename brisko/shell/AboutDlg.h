// The about box: the program's banner, its version and what it does.
#pragma once
#include "classlib/ClassLib.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    // The fixed description shown in the box.
    static const wchar_t* Description();

protected:
    BOOL OnInitDialog() override;
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hBanner = nullptr;
};
