// The field tooltip that follows the caret: shown below the caret, one line
// a part of the description, optional fields in green, hidden on a blank
// and by scrolling, silent with the setting off; what the view does with
// clicks and the wheel outside it; and the view's context menu.
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

const COLORREF kGreen = RGB(0, 128, 0);

std::vector<CString> TipLines(CBriskoView* view)
{
    std::vector<CString> lines;
    for (INT_PTR i = 0; i < view->m_ToolTip.GetLines().GetSize(); ++i) lines.push_back(view->m_ToolTip.GetLines()[i]);
    return lines;
}

bool TipShown(CBriskoView* view)
{
    return view->m_ToolTip.GetSafeHwnd() && view->m_ToolTip.IsWindowVisible();
}

CRect TipRect(CBriskoView* view)
{
    CRect rect;
    view->m_ToolTip.GetWindowRect(&rect);
    return rect;
}

// The main window's WM_MOUSEWHEEL messages while the object lives.
class WheelRecorder
{
public:
    WheelRecorder()
    {
        s_self = this;
        m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~WheelRecorder()
    {
        UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    std::vector<std::pair<WPARAM, LPARAM>> wheels;

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && s_self && message->message == WM_MOUSEWHEEL &&
            message->hwnd == theApp.m_pMainWnd->GetSafeHwnd())
            s_self->wheels.emplace_back(message->wParam, message->lParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static WheelRecorder* s_self;
    HHOOK m_hook = nullptr;
};
WheelRecorder* WheelRecorder::s_self = nullptr;

} // namespace

TEST(FieldToolTip, FollowsTheCaretBelowItsLine)
{
    StartProgram();
    DataFolder folder(L"tooltip");
    CBriskoDoc* document = Open(folder.Write(L"一号路.ST", L"1000 起点\n1020_2 桥头\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    wintest::PumpUntilIdle();

    // A two-line description: a box two lines high below the caret.
    Place(view, 1, 0);
    view->UpdateFieldToolTip();
    ASSERT_TRUE(TipShown(view));
    EXPECT_EQ((std::vector<CString>{L"桩号", L"断链桩号示例:1000_2"}), TipLines(view));
    CPoint caret = view->TextToClient(view->GetCursorPos());
    view->ClientToScreen(&caret);
    CRect box = TipRect(view);
    EXPECT_EQ(2 * 15 + 4 + 2, box.Height());
    EXPECT_GE(box.top, caret.y + view->GetLineHeight());
    EXPECT_GE(box.left, caret.x);

    // The optional field's line is drawn green; the box is one line high.
    view->SendMessage(WM_COMMAND, ID_EDIT_LINE_END);
    EXPECT_EQ(std::vector<CString>{L"桩号注释[字符:可选项]"}, TipLines(view));
    EXPECT_TRUE(TipShown(view));
    box = TipRect(view);
    EXPECT_EQ(15 + 4 + 2, box.Height());
    wintest::Image picture = wintest::PrintWindowImage(&view->m_ToolTip, true);
    picture.SaveBmp(L"field_tooltip.bmp");
    EXPECT_GT(picture.Count(CRect(0, 0, picture.Width(), picture.Height()), kGreen), 10);

    // Within the same field the box moves with the caret.
    const CRect before = TipRect(view);
    view->SendMessage(WM_COMMAND, ID_EDIT_CHAR_LEFT);
    EXPECT_TRUE(TipShown(view));
    EXPECT_LT(TipRect(view).left, before.left);
    EXPECT_EQ(before.top, TipRect(view).top);

    // Up to the line above: field 2 of it, a mandatory field in the text
    // colour.
    view->SendMessage(WM_COMMAND, ID_EDIT_LINE_UP);
    EXPECT_EQ(std::vector<CString>{L"桩号注释[字符:可选项]"}, TipLines(view));
    Place(view, 0, 0);
    view->UpdateFieldToolTip();
    picture = wintest::PrintWindowImage(&view->m_ToolTip, true);
    EXPECT_EQ(0, picture.Count(CRect(0, 0, picture.Width(), picture.Height()), kGreen));
    EXPECT_GT(picture.Count(CRect(0, 0, picture.Width(), picture.Height()), GetSysColor(COLOR_INFOTEXT)), 10);

    // On the blank between the fields nothing is shown; scrolling hides.
    Place(view, 0, 4);
    view->UpdateFieldToolTip();
    EXPECT_FALSE(TipShown(view));
    Place(view, 0, 0);
    view->UpdateFieldToolTip();
    EXPECT_TRUE(TipShown(view));
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_FALSE(TipShown(view));
}

TEST(FieldToolTip, NothingWithTheSettingOff)
{
    StartProgram();
    DataFolder folder(L"tooltip_off");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DL", L"1200 1180\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    const BOOL kept = theApp.m_bShowToolTip;
    theApp.m_bShowToolTip = FALSE;
    Place(view, 0, 0);
    view->UpdateFieldToolTip();
    view->ShowFieldToolTip(CPoint(0, 0), L"桩号", TRUE);
    view->SendMessage(WM_COMMAND, ID_EDIT_CHAR_RIGHT);
    EXPECT_FALSE(TipShown(view));
    theApp.m_bShowToolTip = kept;
    view->SendMessage(WM_COMMAND, ID_EDIT_LINE_END);
    EXPECT_TRUE(TipShown(view));
    EXPECT_EQ(std::vector<CString>{L"桩号断链<后链首桩号>"}, TipLines(view));
}

TEST(FieldToolTip, ClicksAndTheWheelOutsideTheViewGoToTheMainWindow)
{
    StartProgram();
    DataFolder folder(L"wheel");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DL", L"1200 1180\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    Place(view, 0, 0);
    view->UpdateFieldToolTip();
    ASSERT_TRUE(TipShown(view));

    CRect rect;
    view->GetWindowRect(&rect);
    WheelRecorder recorder;
    MSG outside{view->m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4), 0, {rect.right + 40, rect.top + 5}};
    view->PreTranslateMessage(&outside);
    MSG wheel{view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(rect.left - 30, rect.top), 0,
              {rect.left - 30, rect.top}};
    view->PreTranslateMessage(&wheel);
    ASSERT_EQ(2u, recorder.wheels.size());
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON), recorder.wheels[0].first);
    EXPECT_EQ(static_cast<LPARAM>(MAKELPARAM(3, 4)), recorder.wheels[0].second);
    EXPECT_EQ(wheel.wParam, recorder.wheels[1].first);
    EXPECT_TRUE(TipShown(view));

    // Inside the view they hide the tooltip and stay there.
    MSG inside{view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(rect.left + 5, rect.top + 5), 0,
               {rect.left + 5, rect.top + 5}};
    view->PreTranslateMessage(&inside);
    EXPECT_EQ(2u, recorder.wheels.size());
    EXPECT_FALSE(TipShown(view));
}

TEST(ContextMenu, ItemsAreEnabledByWhatTheyCanDo)
{
    StartProgram();
    DataFolder folder(L"menu");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DMX", L"0 99.5\n200 101.2\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();

    auto enabled = [&](CMenu* menu, UINT id) { return !(menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED); };
    CMenu* menu = view->BuildContextMenu();
    ASSERT_EQ(20, menu->GetMenuItemCount());
    CString text;
    menu->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"撤消\tCtrl+Z"), text);
    menu->GetMenuString(19, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"全选\tCtrl+A"), text);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_COPY_EXCEL, ID_EDIT_PASTE,
                    ID_EDIT_PREV_MARK, ID_EDIT_NEXT_MARK, ID_EDIT_CLEAR_MARKS, ID_EDIT_FIND_PREVIOUS, ID_EDIT_FIND_NEXT})
        EXPECT_FALSE(enabled(menu, id)) << id;
    for (UINT id : {ID_EDIT_TOGGLE_MARK, ID_EDIT_GOTO_LINE, ID_EDIT_FIND, ID_EDIT_SELECT_ALL})
        EXPECT_TRUE(enabled(menu, id)) << id;

    // A change, a selection copied, a mark and a search.
    Place(view, 0, 0);
    view->TypeChar(L'1');
    view->SetSelection(CPoint(0, 0), CPoint(3, 0));
    view->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    view->SendMessage(WM_COMMAND, ID_EDIT_TOGGLE_MARK);
    view->SetLastSearch(L"99", 0);
    view->SetSelection(CPoint(0, 0), CPoint(3, 0));
    menu = view->BuildContextMenu();
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_COPY_EXCEL, ID_EDIT_PASTE, ID_EDIT_PREV_MARK,
                    ID_EDIT_NEXT_MARK, ID_EDIT_CLEAR_MARKS, ID_EDIT_FIND_PREVIOUS, ID_EDIT_FIND_NEXT})
        EXPECT_TRUE(enabled(menu, id)) << id;
    EXPECT_FALSE(enabled(menu, ID_EDIT_REDO));
}
