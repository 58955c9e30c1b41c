// The bitmap combo box (sizes, resource bitmaps, drawing of its items) and
// the in-place combo box (end-of-edit report, drawing).
#include "corvane/ui/BitmapCombo.h"
#include "popupmenu_test_resource.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <vector>

using namespace wintest;

namespace {

const UINT kComboId = 601;
const COLORREF kRed = RGB(200, 0, 0);  // IDB_TEST_COMBO_SMALL
const COLORREF kBlue = RGB(0, 0, 200); // IDB_TEST_COMBO_LARGE
const COLORREF kWhite = RGB(255, 255, 255);

// A child window that hosts a combo box and records its end-of-edit reports.
class ComboHost : public CWnd
{
public:
    std::vector<CString> texts;
    std::vector<HWND> senders;
    BOOL Make(CWnd* parent)
    {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), L"host",
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), parent, 600);
    }

protected:
    void OnEndEdit(NMHDR* hdr, LRESULT*)
    {
        EXPECT_EQ(static_cast<UINT>(LVN_ENDLABELEDITW), hdr->code);
        EXPECT_EQ(kComboId, hdr->idFrom);
        texts.push_back(reinterpret_cast<sEndEditInfo*>(hdr)->text);
        senders.push_back(hdr->hwndFrom);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ComboHost, CWnd)
    ON_NOTIFY(LVN_ENDLABELEDITW, kComboId, OnEndEdit)
END_MESSAGE_MAP()

class ComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new TestFrame;
        ASSERT_TRUE(host.Make(frame));
    }
    void TearDown() override { frame->DestroyWindow(); }

    template <class Combo> void Make(Combo& combo, DWORD style)
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(10, 10, 210, 200), &host, kComboId));
    }

    // One item drawn into a fresh white bitmap of the item's size.
    template <class Combo>
    static Image Draw(Combo& combo, int item, UINT state, UINT action = ODA_DRAWENTIRE, int width = 120,
                      int height = 30)
    {
        return RenderPaint(width, height, [&](CDC& dc) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_COMBOBOX;
            dis.CtlID = kComboId;
            dis.itemID = static_cast<UINT>(item);
            dis.itemAction = action;
            dis.itemState = state;
            dis.hwndItem = combo.m_hWnd;
            dis.hDC = dc.m_hDC;
            dis.rcItem = CRect(0, 0, width, height);
            dis.itemData = item >= 0 ? combo.GetItemData(item) : 0;
            combo.DrawItem(&dis);
        });
    }

    TestFrame* frame = nullptr;
    ComboHost host;
};

const DWORD kBitmapComboStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;

} // namespace

TEST_F(ComboTest, BitmapComboSizesItsItemsByTheLargestBitmap)
{
    tkxBitmapComboBox combo;
    Make(combo, kBitmapComboStyle);
    MessageBoxScript boxes;
    EXPECT_EQ(0, combo.AddBitmap(IDB_TEST_COMBO_SMALL, L"小"));
    EXPECT_EQ(1, combo.AddBitmap(IDB_TEST_COMBO_LARGE, L"大"));
    EXPECT_TRUE(boxes.Shown().empty());
    // Items are 24 + 6 high; the selection field was set to the same (Wine
    // reports it with its 1-pixel frame).
    EXPECT_EQ(30, combo.GetItemHeight(0));
    const int field = combo.GetItemHeight(-1);
    EXPECT_TRUE(field == 30 || field == 32) << field;
    MEASUREITEMSTRUCT mis{};
    combo.MeasureItem(&mis);
    EXPECT_EQ(34u, mis.itemWidth);
    EXPECT_EQ(26u, mis.itemHeight);

    // A smaller bitmap later shrinks nothing.
    CBitmap small;
    small.CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(2, combo.AddBitmap(&small, L"更小"));
    EXPECT_EQ(30, combo.GetItemHeight(0));
    EXPECT_EQ(field, combo.GetItemHeight(-1));
    EXPECT_EQ(32, combo.GetLargestWidth());

    // The plain string operations add and remove nothing.
    EXPECT_EQ(-1, combo.AddString(L"文字"));
    EXPECT_EQ(-1, combo.InsertString(0, L"文字"));
    EXPECT_EQ(-1, combo.DeleteString(0));
    EXPECT_EQ(3, combo.GetCount());
    CString text;
    combo.GetLBText(1, text);
    EXPECT_EQ(CString(L"大"), text);
}

TEST_F(ComboTest, BitmapComboReportsAMissingResourceAndAFailedInsertion)
{
    tkxBitmapComboBox combo;
    Make(combo, kBitmapComboStyle);
    MessageBoxScript boxes;
    EXPECT_EQ(-1, combo.AddBitmap(IDB_TEST_MISSING, L"无"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"加载资源失败!"), boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Shown()[0].type);
    EXPECT_EQ(0, combo.GetCount());

    CBitmap large;
    large.CreateBitmap(40, 40, 1, 32, nullptr);
    EXPECT_EQ(CB_ERR, combo.InsertBitmap(5, &large, L"越界"));
    EXPECT_EQ(0, combo.GetLargestWidth());
    EXPECT_EQ(0, combo.GetCount());
}

TEST_F(ComboTest, BitmapComboDrawsBitmapTextAndBackgroundByState)
{
    tkxBitmapComboBox combo;
    Make(combo, kBitmapComboStyle);
    combo.AddBitmap(IDB_TEST_COMBO_SMALL, L"路线");
    combo.AddBitmap(IDB_TEST_COMBO_LARGE, L"");
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);

    // With a text: the bitmap at x 2, centred on the largest height (24).
    Image selected = Draw(combo, 0, ODS_SELECTED);
    selected.SaveBmp(L"bitmapcombo_selected.bmp");
    EXPECT_EQ(16 * 16, selected.Count(CRect(2, 3, 18, 19), kRed));
    EXPECT_EQ(16 * 16, selected.Count(CRect(0, 0, 120, 30), kRed));
    EXPECT_EQ(highlight, selected.At(1, 1));
    EXPECT_EQ(highlight, selected.At(115, 28));
    // The text starts after the largest bitmap: drawn in the highlight text
    // colour right of x = 32 + 4.
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    EXPECT_GT(selected.Count(CRect(36, 0, 120, 30), highlightText), 5);
    EXPECT_EQ(0, selected.Count(CRect(18, 0, 36, 30), highlightText));

    Image normal = Draw(combo, 0, 0);
    normal.SaveBmp(L"bitmapcombo_normal.bmp");
    EXPECT_EQ(window, normal.At(1, 1));
    EXPECT_EQ(0, normal.Count(CRect(0, 0, 120, 30), highlight));

    // Without a text: the bitmap centred in the item.
    Image alone = Draw(combo, 1, 0);
    EXPECT_EQ(32 * 24, alone.Count(CRect(44, 3, 76, 27), kBlue));

    // A focus change alone draws only the focus rectangle.
    Image focus = Draw(combo, 0, ODS_FOCUS, ODA_FOCUS);
    EXPECT_EQ(0, focus.Count(CRect(0, 0, 120, 30), kRed));

    // Disabled: bitmap and text, no background rectangle.
    combo.EnableWindow(FALSE);
    Image disabled = Draw(combo, 0, ODS_SELECTED | ODS_DISABLED);
    disabled.SaveBmp(L"bitmapcombo_disabled.bmp");
    EXPECT_EQ(16 * 16, disabled.Count(CRect(2, 3, 18, 19), kRed));
    EXPECT_EQ(kWhite, disabled.At(1, 1));
    EXPECT_EQ(0, disabled.Count(CRect(0, 0, 120, 30), highlight));
}

TEST_F(ComboTest, BitmapComboKeepsOnlyTheBitmapsItLoaded)
{
    CBitmap mine;
    mine.CreateBitmap(10, 10, 1, 32, nullptr);
    {
        tkxBitmapComboBox combo;
        Make(combo, kBitmapComboStyle);
        combo.AddBitmap(&mine, L"调用者的");
        combo.AddBitmap(IDB_TEST_COMBO_SMALL, L"自己的");
        EXPECT_EQ(reinterpret_cast<DWORD_PTR>(&mine), combo.GetItemData(0));
    }
    BITMAP bm{};
    EXPECT_TRUE(mine.GetBitmap(&bm)); // still the caller's, alive
    EXPECT_EQ(10, bm.bmWidth);
}

TEST_F(ComboTest, InPlaceComboReportsItsTextOnEveryFocusLoss)
{
    tkxComboBox combo;
    Make(combo, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    EXPECT_TRUE(combo.IsKindOf(RUNTIME_CLASS(CComboBox)));
    combo.AddString(L"左侧");
    combo.AddString(L"右侧");
    combo.SetCurSel(1);
    combo.SendMessage(WM_KILLFOCUS, 0, 0);
    combo.SendMessage(WM_KILLFOCUS, 0, 0); // unchanged: reported again
    combo.SetCurSel(0);
    combo.SendMessage(WM_KILLFOCUS, 0, 0);
    std::vector<CString> expected{L"右侧", L"右侧", L"左侧"};
    EXPECT_EQ(expected, host.texts);
    EXPECT_EQ(std::vector<HWND>(3, combo.m_hWnd), host.senders);

    // Through a real change of focus as well.
    host.texts.clear();
    combo.SetFocus();
    host.SetFocus();
    EXPECT_EQ(std::vector<CString>{L"左侧"}, host.texts);
}

TEST_F(ComboTest, InPlaceComboDrawsItsItemsAndNothingWhenEmpty)
{
    tkxComboBox combo;
    Make(combo, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    EXPECT_EQ(120 * 30, Draw(combo, -1, ODS_COMBOBOXEDIT).Count(CRect(0, 0, 120, 30), kWhite));
    EXPECT_EQ(120 * 30, Draw(combo, 0, ODS_SELECTED).Count(CRect(0, 0, 120, 30), kWhite));

    combo.AddString(L"桥梁");
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    Image selected = Draw(combo, 0, ODS_SELECTED);
    selected.SaveBmp(L"inplacecombo_selected.bmp");
    EXPECT_EQ(highlight, selected.At(0, 0));
    EXPECT_EQ(highlight, selected.At(119, 29));
    EXPECT_GT(selected.Count(CRect(0, 0, 120, 30), ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 5);

    // Not selected: filled with the DC's background colour, which is then
    // given back unchanged.
    COLORREF bkAfter = 0;
    Image normal = RenderPaint(120, 30, [&](CDC& dc) {
        dc.SetBkColor(RGB(230, 230, 120));
        dc.SetTextColor(RGB(10, 20, 30));
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.itemID = 0;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = combo.m_hWnd;
        dis.hDC = dc.m_hDC;
        dis.rcItem = CRect(0, 0, 120, 30);
        combo.DrawItem(&dis);
        bkAfter = dc.GetBkColor();
    });
    EXPECT_EQ(RGB(230, 230, 120), normal.At(0, 0));
    EXPECT_GT(normal.Count(CRect(0, 0, 120, 30), RGB(10, 20, 30)), 5);
    EXPECT_EQ(RGB(230, 230, 120), bkAfter);
}
