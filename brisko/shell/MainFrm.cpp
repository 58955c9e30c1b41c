#include "brisko/shell/MainFrm.h"

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;
