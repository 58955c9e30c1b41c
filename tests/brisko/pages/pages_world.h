// The world of the road-information page tests: the program started on a
// registered current project "页面 项目" whose current road "一号路" holds
// the demo road's files (its break chain, ground line, vertical curves and
// cross-sections), with the field tooltip and the road-information bar on;
// small road profiles of a test's own; the pages of the bar; and views of
// a fixed size in a hidden frame for the geometry.
#pragma once
#include "brisko/manager/PPage_HDXInfo.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/manager/PPage_ZDMInfo.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/support/BriskoWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

namespace pages_test {

using namespace brisko_test;

extern const wchar_t kRoadName[];

// The road's folder and one of its files.
CString RoadFolder();
CString RoadFile(const wchar_t* ext);

// The pages of the started program's road-information bar.
CMainFrame* Frame();
CPPage_InfoBar* InfoPage();
CPPage_ZDMInfo* ProfilePage();
CPPage_HDXInfo* SectionPage();

// For one test the current road's data are the given break chain (pair
// text), ground line and vertical curves (file texts, either may be empty);
// afterwards the road's own data come back.  The profile page hears of
// both.
class RoadData
{
public:
    RoadData(const wchar_t* chain, const wchar_t* groundLine, const wchar_t* curves);
    ~RoadData();
    RoadData(const RoadData&) = delete;
    RoadData& operator=(const RoadData&) = delete;
};

// A drawing window of the given client size in a hidden frame, removed with
// the object.
template <class View>
class LoneView
{
public:
    explicit LoneView(int width = 800, int height = 400)
    {
        m_frame = new wintest::TestFrame(false, CRect(0, 0, width + 40, height + 80));
        m_view.Create(CRect(0, 0, width, height), m_frame, 708);
        // The scroll bars take room of the client area: the window grows
        // until the client has the size asked for.
        CRect client;
        m_view.GetClientRect(&client);
        m_view.SetWindowPos(nullptr, 0, 0, 2 * width - client.Width(), 2 * height - client.Height(),
                            SWP_NOZORDER | SWP_NOMOVE);
    }
    ~LoneView() { m_frame->DestroyWindow(); }
    LoneView(const LoneView&) = delete;
    LoneView& operator=(const LoneView&) = delete;
    View* operator->() { return &m_view; }
    View& operator*() { return m_view; }

private:
    wintest::TestFrame* m_frame;
    View m_view;
};

// What the window shows, saved as <name>.bmp in the working folder for a
// person to look at.
wintest::Image Rendering(CWnd* wnd, const wchar_t* name);
// The first status-bar pane's text.
CString StatusText();

// Mouse messages as the system sends them (client coordinates).
void Mouse(CWnd* wnd, UINT message, int x, int y, UINT flags = 0);
void Wheel(CWnd* wnd, int notches, int x, int y);

} // namespace pages_test
