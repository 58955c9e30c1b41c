// The owner-drawn popup menu: item records, sizes, renderings of its items
// with their images and background strip, and the menu shown for real.
#include "corvane/ui/PopupMenu.h"
#include "popupmenu_test_resource.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <vector>

using namespace wintest;

namespace {

// Colours of the test bitmaps (res/make_test_bitmaps.py).
const COLORREF kImage[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};
const COLORREF kBack[] = {RGB(0, 128, 128), RGB(128, 0, 128), RGB(128, 128, 0), RGB(255, 128, 0)};
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

enum : UINT { ID_OPEN = 32801, ID_SAVE, ID_CLOSE, ID_EXIT };

// A menu of three items and a separator, with the test images.
void Fill(tkxPopupMenu& menu)
{
    menu.AppendMenuItem(ID_OPEN, L"打开项目", MF_STRING, 0);
    menu.AppendMenuItem(ID_SAVE, L"保存", MF_STRING, 1);
    menu.AppendMenuItem(ID_CLOSE, L"关闭", MF_STRING | MF_GRAYED, -1);
    menu.AppendMenuItem(tkxPopupMenu::SEPARATOR_ID, L"");
}

// One item drawn into a fresh white bitmap of the item's size.
Image Draw(tkxPopupMenu& menu, UINT id, UINT state, int width, int height, UINT action = ODA_DRAWENTIRE)
{
    return RenderPaint(width, height, [&](CDC& dc) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = id;
        dis.itemAction = action;
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
        dis.hDC = dc.m_hDC;
        dis.rcItem = CRect(0, 0, width, height);
        menu.DrawItem(&dis);
    });
}

CSize Measure(tkxPopupMenu& menu, UINT id)
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = id;
    menu.MeasureItem(&mis);
    return CSize(static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight));
}

} // namespace

TEST(PopupMenu, ItemsRecordTheirPositionAndImage)
{
    tkxPopupMenu menu;
    ASSERT_NE(nullptr, menu.m_hMenu);
    EXPECT_EQ(&menu, CMenu::FromHandlePermanent(menu.m_hMenu));
    Fill(menu);
    EXPECT_EQ(4, menu.GetItemCount());
    EXPECT_EQ(4, menu.GetMenuItemCount());
    ASSERT_NE(nullptr, menu.FindItem(ID_CLOSE));
    EXPECT_EQ(2, menu.FindItem(ID_CLOSE)->position);
    EXPECT_EQ(2, menu.FindItem(ID_CLOSE)->image); // index -1: the item's position
    EXPECT_EQ(1, menu.FindItem(ID_SAVE)->image);
    EXPECT_EQ(CString(L"保存"), menu.FindItem(ID_SAVE)->text);
    EXPECT_EQ(nullptr, menu.FindItem(ID_EXIT));
    EXPECT_TRUE(menu.GetMenuState(ID_OPEN, MF_BYCOMMAND) & MF_OWNERDRAW);
    EXPECT_TRUE(menu.GetMenuState(ID_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(3, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST(PopupMenu, ItemSizesFollowTheMenuSettingsSeparatorsStayTenHigh)
{
    tkxPopupMenu menu;
    Fill(menu);
    EXPECT_EQ(CSize(100, 20), Measure(menu, ID_OPEN));
    EXPECT_EQ(CSize(100, 10), Measure(menu, tkxPopupMenu::SEPARATOR_ID));
    menu.SetMenuWidth(160);
    menu.SetMenuHeight(28);
    EXPECT_EQ(CSize(160, 28), Measure(menu, ID_SAVE));
    EXPECT_EQ(CSize(160, 10), Measure(menu, tkxPopupMenu::SEPARATOR_ID));
}

TEST(PopupMenu, RenderingsShowTheItemImagesByState)
{
    tkxPopupMenu menu;
    Fill(menu);
    MessageBoxScript boxes;
    menu.SetImage(IDB_TEST_MENU_ITEMS, 16);
    EXPECT_TRUE(boxes.Shown().empty());
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    // The image box is x 2..22; the 16 x 16 image sits at (4, 2); its
    // coloured square is 10 x 10 inside a transparent magenta border.
    const CRect square(7, 5, 17, 15);
    const CRect all(0, 0, 100, 20);

    Image normal = Draw(menu, ID_OPEN, 0, 100, 20);
    Image selected = Draw(menu, ID_SAVE, ODS_SELECTED, 100, 20);
    Image greyed = Draw(menu, ID_CLOSE, ODS_GRAYED, 100, 20);
    Image greyedSelected = Draw(menu, ID_CLOSE, ODS_GRAYED | ODS_SELECTED, 100, 20);
    normal.SaveBmp(L"popupmenu_normal.bmp");
    selected.SaveBmp(L"popupmenu_selected.bmp");
    greyed.SaveBmp(L"popupmenu_greyed.bmp");

    EXPECT_EQ(100, normal.Count(square, kImage[0]));
    EXPECT_EQ(100, selected.Count(square, kImage[1]));
    EXPECT_EQ(100, greyed.Count(square, kImage[2])); // image 2: the third item's position
    for (const Image* image : {&normal, &selected, &greyed}) EXPECT_EQ(0, image->Count(all, kMagenta));

    // Normal: the text area is filled with the menu colour.
    EXPECT_EQ(menuColour, normal.At(95, 3));
    EXPECT_EQ(0, normal.Count(all, highlight));
    // Selected: raised image box, sunken text area, highlight inside.
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), selected.At(2, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), selected.At(21, 19));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), selected.At(22, 0));
    EXPECT_EQ(highlight, selected.At(95, 3));
    // Greyed, selected or not: nothing is filled or framed.
    for (const Image* image : {&greyed, &greyedSelected}) {
        EXPECT_EQ(kWhite, image->At(95, 3));
        EXPECT_EQ(kWhite, image->At(2, 0));
        EXPECT_EQ(0, image->Count(all, highlight));
    }
}

TEST(PopupMenu, SeparatorIsAnEtchedLineAcrossItsMiddle)
{
    tkxPopupMenu menu;
    Fill(menu);
    menu.SetImage(IDB_TEST_MENU_ITEMS, 16);
    Image separator = Draw(menu, tkxPopupMenu::SEPARATOR_ID, 0, 100, 10);
    separator.SaveBmp(L"popupmenu_separator.bmp");
    // From strip (0) + image size (16) + 10 = 26 to the right edge, at y 5.
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(74, separator.Count(CRect(26, 5, 100, 6), shadow));
    EXPECT_EQ(0, separator.Count(CRect(0, 0, 26, 10), shadow));
    EXPECT_EQ(0, separator.Count(CRect(0, 0, 100, 5), shadow));
}

TEST(PopupMenu, BackgroundStripWidensTheItemsAndShowsTheImageOfThePosition)
{
    tkxPopupMenu menu;
    Fill(menu);
    menu.SetImage(IDB_TEST_MENU_ITEMS, 16);
    menu.SetBackImage(IDB_TEST_MENU_BACK, 24);
    EXPECT_EQ(21, menu.GetStripWidth());
    EXPECT_EQ(CSize(100, 24), Measure(menu, ID_OPEN));
    EXPECT_EQ(CSize(100, 10), Measure(menu, tkxPopupMenu::SEPARATOR_ID));

    Image second = Draw(menu, ID_SAVE, ODS_SELECTED, 100, 24);
    second.SaveBmp(L"popupmenu_background.bmp");
    // Background image 1 (20 x 24) at the item's top-left corner.
    EXPECT_EQ(20 * 24, second.Count(CRect(0, 0, 20, 24), kBack[1]));
    // The image box now starts 23 pixels in; the image is centred in it.
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), second.At(23, 0));
    EXPECT_EQ(100, second.Count(CRect(28, 7, 38, 17), kImage[1]));

    Image first = Draw(menu, ID_OPEN, 0, 100, 24);
    EXPECT_EQ(20 * 24, first.Count(CRect(0, 0, 20, 24), kBack[0]));
    // A change of selection alone does not repaint the strip.
    Image reselected = Draw(menu, ID_OPEN, ODS_SELECTED, 100, 24, ODA_SELECT);
    EXPECT_EQ(0, reselected.Count(CRect(0, 0, 20, 24), kBack[0]));
}

TEST(PopupMenu, MissingBitmapsAreReported)
{
    tkxPopupMenu menu;
    Fill(menu);
    MessageBoxScript boxes;
    menu.SetImage(IDB_TEST_MISSING, 16);
    menu.SetBackImage(IDB_TEST_MISSING, 24);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"\n加载菜单资源失败!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"\n加载菜单背景资源失败!"), boxes.Shown()[1].text);
    // Items still draw, without images.
    Image item = Draw(menu, ID_OPEN, 0, 100, 24);
    EXPECT_EQ(0, item.Count(CRect(0, 0, 100, 24), kImage[0]));
}

// ---------------------------------------------------------------------------
// The menu shown for real: the owner window hands measuring and drawing to
// the menu object.  A timer captures the menu on the screen, then ends it.

namespace {

struct ShownMenu {
    HWND owner = nullptr;
    HMENU menu = nullptr;
    Image image;
    std::vector<CRect> items;
};
ShownMenu* g_shown = nullptr;

void CALLBACK CaptureShownMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (HWND window = ::FindWindowW(L"#32768", nullptr)) {
        if (::IsWindowVisible(window)) g_shown->image = CaptureWindow(CWnd::FromHandle(window), true);
    }
    for (int i = 0; i < ::GetMenuItemCount(g_shown->menu); ++i) {
        CRect item;
        ::GetMenuItemRect(g_shown->owner, g_shown->menu, static_cast<UINT>(i), &item);
        g_shown->items.push_back(item);
    }
    ::EndMenu();
}

} // namespace

TEST(PopupMenuShown, OwnerHandsMeasuringAndDrawingToTheMenu)
{
    auto* frame = new TestFrame(true, CRect(20, 20, 320, 220));
    tkxPopupMenu menu;
    Fill(menu);
    menu.SetImage(IDB_TEST_MENU_ITEMS, 16);
    menu.SetMenuWidth(140);

    ShownMenu shown;
    shown.owner = frame->m_hWnd;
    shown.menu = menu.m_hMenu;
    g_shown = &shown;
    ::SetTimer(nullptr, 0, 300, &CaptureShownMenu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, 60, 60, frame);
    g_shown = nullptr;
    PumpUntilIdle();

    ASSERT_EQ(4u, shown.items.size());
    EXPECT_EQ(20, shown.items[0].Height());
    EXPECT_EQ(20, shown.items[2].Height());
    EXPECT_EQ(10, shown.items[3].Height());
    EXPECT_GE(shown.items[0].Width(), 140);
    ASSERT_FALSE(shown.image.Empty());
    shown.image.SaveBmp(L"popupmenu_shown.bmp");
    const CRect all(0, 0, shown.image.Width(), shown.image.Height());
    EXPECT_GE(shown.image.Count(all, kImage[0]), 100);
    EXPECT_GE(shown.image.Count(all, kImage[1]), 100);
    EXPECT_GE(shown.image.Count(all, kImage[2]), 100);
    EXPECT_EQ(0, shown.image.Count(all, kMagenta));
    frame->DestroyWindow();
}
