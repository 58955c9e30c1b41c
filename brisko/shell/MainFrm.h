// Brisko's main window.
#pragma once
#include "classlib/ClassLib.h"

class CMainFrame : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();

protected:
    DECLARE_MESSAGE_MAP()
};
