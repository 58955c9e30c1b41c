// The property list: where items go, values of each kind and their text,
// the rows with collapsing groups, the in-place editors and the value
// changes they report (also after a delete, and for a value that is none of
// the options), keys, the divider drag ended by a lost capture, the
// buttons, and renderings in both styles.
#include "controls_test_support.h"
#include "corvane/ui/PropertyCtrl.h"

#include <vector>

using namespace wintest;
using namespace controls_test;

namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

void PrintTo(const Posted& p, std::ostream* os) { *os << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}"; }

// The dialog-like parent: records what the list posts.
class PropertyHost : public CWnd
{
public:
    std::vector<Posted> posted;
    BOOL Make(CWnd* parent)
    {
        if (!CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), L"属性",
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 420, 400), parent, 800))
            return FALSE;
        font.CreatePointFont(90, L"宋体");
        SetFont(&font);
        return TRUE;
    }
    CFont font;

protected:
    LRESULT OnPosted(WPARAM wParam, LPARAM lParam)
    {
        posted.push_back({static_cast<UINT>(GetCurrentMessage()->message), wParam, lParam});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PropertyHost, CWnd)
    ON_MESSAGE(WM_PROPERTY_VALUECHANGED, OnPosted)
    ON_MESSAGE(WM_PROPERTY_BUTTON1, OnPosted)
    ON_MESSAGE(WM_PROPERTY_BUTTON2, OnPosted)
END_MESSAGE_MAP()

const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_OWNERDRAWFIXED |
                         LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

class PropertyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Make(ShownFrame()));
        ASSERT_TRUE(list.Create(kListStyle, CRect(10, 10, 330, 330), &host, 801));
        list.SetFont(&host.font);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        host.DestroyWindow();
        PumpUntilIdle();
    }
    // A control with group 基本 (text, number, spin), 显示 (drop-down,
    // colour) and 其他 (a disabled text).
    void Fill()
    {
        list.AddItem(L"基本", L"名称", L"主线");
        list.AddItem(L"基本", L"宽度", 12.5);
        list.AddItem(L"基本", L"车道数", 6, 4, 1);
        list.AddComboItem(L"显示", L"线型", 1, L"实线,虚线,点划线", L",");
        list.AddColorItem(L"显示", L"颜色", RGB(255, 0, 0), L"红色");
        list.AddItem(L"其他", L"备注", L"只读", 0);
        list.RefreshContent();
        PumpUntilIdle();
    }
    std::vector<CString> Rows()
    {
        std::vector<CString> rows;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            static_cast<CListBox&>(list).GetText(i, text);
            rows.push_back(text);
        }
        return rows;
    }
    int RowOf(const wchar_t* text)
    {
        const std::vector<CString> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == text) return static_cast<int>(i);
        return -1;
    }
    CEdit* Edit() { return static_cast<CEdit*>(list.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_EDIT)); }
    CComboBox* Combo() { return static_cast<CComboBox*>(list.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_COMBO)); }
    CWnd* Spin() { return list.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_SPIN); }
    CString Value(const wchar_t* name)
    {
        CString value;
        list.GetItemValue(name, value);
        return value;
    }
    void SpinStep(int delta)
    {
        NMUPDOWN nm{};
        nm.hdr.hwndFrom = Spin()->m_hWnd;
        nm.hdr.idFrom = tkxPropertyCtrl::IDC_PROPERTY_SPIN;
        nm.hdr.code = UDN_DELTAPOS;
        nm.iDelta = delta;
        list.SendMessage(WM_NOTIFY, tkxPropertyCtrl::IDC_PROPERTY_SPIN, reinterpret_cast<LPARAM>(&nm));
    }

    PropertyHost host;
    tkxPropertyCtrl list;
};

} // namespace

TEST_F(PropertyTest, ItemsGoAfterTheirGroupWithTheirValuesAsText)
{
    EXPECT_EQ(1, list.AddItem(L"A", L"a1", L"x")); // group A at 0, the item at 1
    EXPECT_EQ(2, list.AddItem(L"A", L"a2", 3.0));
    EXPECT_EQ(4, list.AddItem(L"B", L"b1", 0.1)); // group B at 3
    EXPECT_EQ(3, list.AddItem(L"A", L"a3", 42));  // before B
    EXPECT_EQ(6, list.GetSize());
    EXPECT_EQ(0, list.SearchGroupIndex(L"A"));
    EXPECT_EQ(4, list.SearchGroupIndex(L"B"));
    EXPECT_EQ(-1, list.SearchGroupIndex(L"a"));
    EXPECT_EQ(CPropertyItem::TYPE_GROUP, list.GetItemType(0));
    EXPECT_EQ(-1, list.GetItemType(L"none"));
    EXPECT_EQ(CString(L"3"), Value(L"a2"));
    EXPECT_EQ(CString(L"0.1"), Value(L"b1"));
    EXPECT_EQ(CString(L"42"), Value(L"a3"));

    // Spins need 0 < value <= maximum.
    EXPECT_EQ(-1, list.AddItem(L"A", L"s", 5, 6, 1));
    EXPECT_EQ(-1, list.AddItem(L"A", L"s", 5, 0, 1));
    EXPECT_EQ(-1, list.AddItem(L"A", L"s", 0, 1, 1));
    EXPECT_GE(list.AddItem(L"A", L"spin", 5, 5, 1), 0);
    EXPECT_EQ(CString(L"5"), Value(L"spin"));
    EXPECT_EQ(CPropertyItem::TYPE_SPIN, list.GetItemType(L"spin"));

    // Drop-downs: the selected option held to the first and last.
    struct Combo {
        const wchar_t* name;
        int selected;
        const wchar_t* value;
    } combos[] = {{L"c9", 9, L"c"}, {L"c-3", -3, L"a"}, {L"c1", 1, L"b"}};
    for (const Combo& c : combos) {
        ASSERT_GE(list.AddComboItem(L"C", c.name, c.selected, L"a|b|c", L"|"), 0);
        EXPECT_EQ(CString(c.value), Value(c.name));
    }
    EXPECT_EQ(-1, list.AddComboItem(L"C", L"none", 0, L"", L","));
    EXPECT_GE(list.AddComboItem(L"C", L"byValue", L"b", L"a,b,c", L","), 0);
    EXPECT_EQ(CString(L"b"), Value(L"byValue"));
    EXPECT_GE(list.AddComboItem(L"C", L"missing", L"zz", L"a,b,c", L","), 0);
    EXPECT_EQ(CString(L""), Value(L"missing"));
    int index = 7;
    EXPECT_EQ(1, list.GetItemValue(L"missing", index));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(1, list.GetItemValue(L"c9", index));
    EXPECT_EQ(2, index);
}

TEST_F(PropertyTest, GettersAndSettersByIndexAndName)
{
    Fill();
    const int text = list.GetItemIndex(L"名称"), number = list.GetItemIndex(L"宽度"),
              spin = list.GetItemIndex(L"车道数"), combo = list.GetItemIndex(L"线型"),
              colour = list.GetItemIndex(L"颜色");
    CString s = L"unchanged";
    EXPECT_EQ(0, list.GetItemValue(0, s)); // a group has no value
    EXPECT_EQ(CString(L""), s);
    EXPECT_EQ(0, list.GetItemValue(99, s));
    double d = -1;
    EXPECT_EQ(1, list.GetItemValue(number, d));
    EXPECT_EQ(12.5, d);
    int n = 0;
    EXPECT_EQ(1, list.GetItemValue(combo, n));
    EXPECT_EQ(1, n);
    EXPECT_EQ(1, list.GetItemValue(spin, n));
    EXPECT_EQ(4, n);
    unsigned long data = 0;
    EXPECT_EQ(1, list.GetItemData(colour, data));
    EXPECT_EQ(static_cast<unsigned long>(RGB(255, 0, 0)), data);
    EXPECT_EQ(1, list.GetItemData(spin, data));
    EXPECT_EQ(6u, data);

    struct Set {
        int index;
        int value;
        int result;
        const wchar_t* text;
    } sets[] = {
        {spin, 3, 1, L"3"}, {spin, 7, 1, L"1"}, {spin, -2, 1, L"1"}, {combo, 2, 1, L"点划线"},
        {combo, 3, 0, L"点划线"}, {text, -5, 1, L"0"}, {0, 9, 1, nullptr},
    };
    for (const Set& set : sets) {
        EXPECT_EQ(set.result, list.SetItemValue(set.index, set.value)) << set.index << " " << set.value;
        CString now;
        list.GetItemValue(set.index, now);
        if (set.text) {
            EXPECT_EQ(CString(set.text), now);
        }
    }
    EXPECT_EQ(1, list.SetItemValue(L"线型", L"不存在")); // not an option: kept
    EXPECT_EQ(CString(L"点划线"), Value(L"线型"));
    EXPECT_EQ(1, list.SetItemValue(L"线型", L"虚线"));
    EXPECT_EQ(CString(L"虚线"), Value(L"线型"));
    EXPECT_EQ(0, list.SetItemValue(0, L"组"));
    EXPECT_EQ(1, list.SetItemValue(L"名称", 0.25));
    EXPECT_EQ(CString(L"0.25"), Value(L"名称"));
    EXPECT_EQ(0, list.SetItemValue(L"车道数", 0.25)); // text items only
    EXPECT_EQ(0, list.SetItemName(0, L"组"));
    EXPECT_EQ(1, list.SetItemName(L"名称", L"路名"));
    EXPECT_EQ(text, list.GetItemIndex(L"路名"));
    EXPECT_EQ(0, list.IsItemEnable(L"备注"));
    EXPECT_EQ(1, list.SetItemEnable(L"备注", 1));
    EXPECT_EQ(1, list.IsItemEnable(L"备注"));
    EXPECT_EQ(0, list.SetItemEnable(0, 0));
    EXPECT_EQ(0, list.IsItemEnable(L"不存在"));
}

TEST_F(PropertyTest, GroupsCollapseAndExpand)
{
    Fill();
    EXPECT_EQ((std::vector<CString>{L"基本", L"名称", L"宽度", L"车道数", L"显示", L"线型", L"颜色", L"其他", L"备注"}),
              Rows());
    EXPECT_EQ(1, list.SetGroupCollapse(L"显示", 0));
    EXPECT_EQ((std::vector<CString>{L"基本", L"名称", L"宽度", L"车道数", L"显示", L"其他", L"备注"}), Rows());
    EXPECT_EQ(1, list.SetGroupCollapse(L"显示", 1));
    EXPECT_EQ(9u, Rows().size());
    EXPECT_EQ(0, list.SetGroupCollapse(L"无", 1));

    // A double click on the selected group row, or a click in its expand
    // box in tree style.
    list.SetCurSel(0);
    CRect row;
    list.GetItemRect(0, &row);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, PointParam(row.CenterPoint()));
    EXPECT_EQ((std::vector<CString>{L"基本", L"显示", L"线型", L"颜色", L"其他", L"备注"}), Rows());
    list.SetListStyle(0);
    list.SendMessage(WM_LBUTTONUP, 0, PointParam(CPoint(row.left + 8, row.top + 8)));
    EXPECT_EQ(9u, Rows().size());
    list.SendMessage(WM_LBUTTONUP, 0, PointParam(CPoint(row.left + 40, row.top + 8))); // beside the box
    EXPECT_EQ(9u, Rows().size());
}

TEST_F(PropertyTest, EditorsReportTheValuesTheyChange)
{
    Fill();
    const int name = list.GetItemIndex(L"名称"), spin = list.GetItemIndex(L"车道数"),
              combo = list.GetItemIndex(L"线型");

    // A text item: the edit over the value cell, focused, with the value.
    EXPECT_EQ(name, list.SetCurSel(RowOf(L"名称")));
    PumpUntilIdle();
    ASSERT_TRUE(Edit()->IsWindowVisible());
    EXPECT_EQ(CString(L"主线"), Edit()->GetWindowText());
    EXPECT_EQ(Edit()->m_hWnd, ::GetFocus());
    CRect cell;
    list.GetItemRect(RowOf(L"名称"), &cell);
    CRect editRect;
    Edit()->GetWindowRect(&editRect);
    list.ScreenToClient(&editRect);
    EXPECT_EQ(cell.left + list.GetColumnWidth() + 3, editRect.left);
    EXPECT_EQ(cell.top + 2, editRect.top);

    Edit()->SetWindowText(L"匝道");
    PressKey(Edit(), VK_DOWN); // to the next row: the text is committed
    EXPECT_EQ(CString(L"匝道"), Value(L"名称"));
    EXPECT_EQ(list.GetItemIndex(L"宽度"), list.GetCurSel());
    PressKey(Edit(), VK_UP); // unchanged text: nothing is reported
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(name), 0}}), host.posted);
    host.posted.clear();

    // A spin: typed text outside 1 .. 6 or not a number becomes "1"; the
    // arrows wrap.
    list.SetCurSel(RowOf(L"车道数"));
    ASSERT_TRUE(Spin()->IsWindowVisible());
    for (const wchar_t* typed : {L"abc", L"5", L"0", L"7", L"1"}) {
        Edit()->SetFocus();
        Edit()->SetWindowText(typed);
        list.SetFocus(); // the edit loses the focus: its text is committed
    }
    PumpUntilIdle();
    EXPECT_EQ(CString(L"1"), Value(L"车道数"));
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 1},
                                   {WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 5},
                                   {WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 1},
                                   {WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 1}}),
              host.posted); // "1" typed over "1" is no change
    host.posted.clear();
    SpinStep(-1); // 1 down: the maximum
    EXPECT_EQ(CString(L"6"), Value(L"车道数"));
    EXPECT_EQ(CString(L"6"), Edit()->GetWindowText());
    SpinStep(1); // the maximum up: 1
    EXPECT_EQ(CString(L"1"), Value(L"车道数"));
    PumpUntilIdle();
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 6},
                                   {WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(spin), 1}}),
              host.posted);
    host.posted.clear();

    // A drop-down: its options, the value selected; choosing reports the
    // option's index; a double click moves on to the next option.
    list.SetCurSel(RowOf(L"线型"));
    ASSERT_TRUE(Combo()->IsWindowVisible());
    ASSERT_EQ(3, Combo()->GetCount());
    EXPECT_EQ(1, Combo()->GetCurSel());
    Combo()->SetCurSel(2);
    list.SendMessage(WM_COMMAND, MAKEWPARAM(tkxPropertyCtrl::IDC_PROPERTY_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Combo()->m_hWnd));
    EXPECT_EQ(CString(L"点划线"), Value(L"线型"));
    CRect row;
    list.GetItemRect(RowOf(L"线型"), &row);
    list.SendMessage(WM_LBUTTONDBLCLK, 0, PointParam(CPoint(row.left + 5, row.top + 5)));
    EXPECT_EQ(CString(L"实线"), Value(L"线型"));
    PumpUntilIdle();
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(combo), 2},
                                   {WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(combo), 0}}),
              host.posted);
    host.posted.clear();

    // A disabled item shows a read-only edit and takes nothing.
    list.SetCurSel(RowOf(L"备注"));
    EXPECT_TRUE(Edit()->GetStyle() & ES_READONLY);
    Edit()->SetWindowText(L"改");
    list.SetCurSel(-1);
    EXPECT_EQ(CString(L"只读"), Value(L"备注"));
    EXPECT_FALSE(Edit()->IsWindowVisible());
    // Colour items have no editor.
    list.SetCurSel(RowOf(L"颜色"));
    EXPECT_FALSE(Edit()->IsWindowVisible());
    EXPECT_FALSE(Combo()->IsWindowVisible());
    PumpUntilIdle();
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(PropertyTest, AValueOutsideTheOptionsIsShownButNotAdded)
{
    list.AddComboItem(L"显示", L"线型", L"未知", L"实线,虚线,点划线", L",");
    list.SetItemValue(L"线型", L"虚线");
    list.AddComboItem(L"显示", L"填充", L"无", L"有,否", L",");
    list.RefreshContent();
    const int fill = list.GetItemIndex(L"填充");
    list.SetCurSel(RowOf(L"填充"));
    ASSERT_TRUE(Combo()->IsWindowVisible());
    // The empty value heads the drop-down and is selected; the options stay
    // two, and the owner hears the index among them.
    ASSERT_EQ(3, Combo()->GetCount());
    EXPECT_EQ(0, Combo()->GetCurSel());
    CString first;
    Combo()->GetLBText(0, first);
    EXPECT_EQ(CString(L""), first);
    Combo()->SetCurSel(2);
    list.SendMessage(WM_COMMAND, MAKEWPARAM(tkxPropertyCtrl::IDC_PROPERTY_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Combo()->m_hWnd));
    PumpUntilIdle();
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(fill), 1}}), host.posted);
    int index = -5;
    list.GetItemValue(fill, index);
    EXPECT_EQ(1, index);
    list.SetCurSel(RowOf(L"线型"));
    list.SetCurSel(RowOf(L"填充"));
    EXPECT_EQ(2, Combo()->GetCount()); // no entry was added to the options

    // Options "ab" then "a": both are listed.
    list.AddComboItem(L"显示", L"前缀", 0, L"ab,a", L",");
    list.RefreshContent();
    list.SetCurSel(RowOf(L"前缀"));
    EXPECT_EQ(2, Combo()->GetCount());
}

TEST_F(PropertyTest, DeletingAnItemRebuildsTheRowsAndTheCurrentItem)
{
    Fill();
    list.SetCurSel(RowOf(L"宽度"));
    ASSERT_TRUE(Edit()->IsWindowVisible());
    Edit()->SetWindowText(L"15"); // an edit in progress goes to its item first
    const int width = list.GetItemIndex(L"宽度");
    EXPECT_EQ(1, list.DeleteItem(width));
    EXPECT_EQ(0, list.DeleteItem(99));
    PumpUntilIdle();
    ASSERT_EQ(1u, host.posted.size());
    EXPECT_EQ((Posted{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(width), 0}), host.posted[0]);
    host.posted.clear();

    // No row shows the deleted item; the current item is the one the
    // selected row shows now, and its edits report its own index.
    EXPECT_EQ((std::vector<CString>{L"基本", L"名称", L"车道数", L"显示", L"线型", L"颜色", L"其他", L"备注"}), Rows());
    EXPECT_EQ(list.GetCurSel(), list.GetCurItem());
    EXPECT_EQ(list.GetItemIndex(L"车道数"), list.GetCurItem());
    list.UpdateWindow();
    list.SetCurSel(RowOf(L"名称"));
    Edit()->SetWindowText(L"支线");
    list.SetCurSel(-1);
    PumpUntilIdle();
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(list.GetItemIndex(L"名称")), 0}}),
              host.posted);
    EXPECT_EQ(CString(L"支线"), Value(L"名称"));

    // A group goes with its items.
    EXPECT_EQ(1, list.DeleteItem(list.SearchGroupIndex(L"显示")));
    EXPECT_EQ((std::vector<CString>{L"基本", L"名称", L"车道数", L"其他", L"备注"}), Rows());
    EXPECT_EQ(5, list.GetSize());
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(-1, list.GetCurItem());
}

TEST_F(PropertyTest, KeysMoveBetweenRows)
{
    Fill();
    const int rows = list.GetCount();
    list.SetCurSel(rows - 1);
    PressKey(&list, VK_DOWN);
    EXPECT_EQ(0, static_cast<CListBox&>(list).GetCurSel()); // the last wraps to the first
    PressKey(&list, VK_UP);
    EXPECT_EQ(rows - 1, static_cast<CListBox&>(list).GetCurSel());
    PressKey(Edit(), VK_RETURN);
    EXPECT_EQ(0, static_cast<CListBox&>(list).GetCurSel());
    PressKey(&list, VK_TAB);
    EXPECT_EQ(1, static_cast<CListBox&>(list).GetCurSel());
    EXPECT_EQ(Edit()->m_hWnd, ::GetFocus());
    PressKey(Edit(), VK_ESCAPE);
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(host.m_hWnd, ::GetFocus());
    list.SetCurSel(rows - 1);
    MSG tab{Edit()->m_hWnd, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
    EXPECT_FALSE(list.PreTranslateMessage(&tab)); // passed on to the dialog
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(list.m_hWnd, ::GetFocus());
}

TEST_F(PropertyTest, DividerDragStopsAtTheEdgeAndEndsWithALostCapture)
{
    Fill();
    list.SetColumnWidth(100);
    list.SetDragWidthEnable(1);
    list.Invalidate();
    list.UpdateWindow();
    const CPoint divider(100, 5);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(divider));
    EXPECT_EQ(list.m_hWnd, ::GetCapture());
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(CPoint(130, 5)));
    EXPECT_EQ(130, list.GetColumnWidth());
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(CPoint(2000, 5)));
    EXPECT_EQ(list.GetWidth() - 1, list.GetColumnWidth());
    list.SendMessage(WM_LBUTTONUP, 0, PointParam(CPoint(2000, 5)));
    EXPECT_NE(list.m_hWnd, ::GetCapture());

    list.SetColumnWidth(100);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(divider));
    host.SetCapture(); // another window takes the mouse
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(CPoint(150, 5)));
    EXPECT_EQ(100, list.GetColumnWidth());
    ::ReleaseCapture();
    EXPECT_EQ(100, list.SetColumnWidth(0)); // no change
}

TEST_F(PropertyTest, ButtonsPostTheirMessages)
{
    Fill();
    const int name = list.GetItemIndex(L"名称");
    list.SetEnableButton(name, 1, 1);
    list.SetCurSel(RowOf(L"名称"));
    CWnd* button1 = list.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_BUTTON1);
    CWnd* button2 = list.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_BUTTON2);
    ASSERT_TRUE(button1->IsWindowVisible());
    ASSERT_TRUE(button2->IsWindowVisible());
    CRect r1, r2, editRect;
    button1->GetWindowRect(&r1);
    button2->GetWindowRect(&r2);
    Edit()->GetWindowRect(&editRect);
    EXPECT_EQ(r1.left, r2.right); // button 2 left of button 1
    EXPECT_LE(editRect.right, r2.left);
    for (UINT id : {tkxPropertyCtrl::IDC_PROPERTY_BUTTON1, tkxPropertyCtrl::IDC_PROPERTY_BUTTON2})
        list.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(list.GetDlgItem(id)->m_hWnd));
    PumpUntilIdle();
    EXPECT_EQ((std::vector<Posted>{{WM_PROPERTY_BUTTON1, static_cast<WPARAM>(name), 0},
                                   {WM_PROPERTY_BUTTON2, static_cast<WPARAM>(name), 0}}),
              host.posted);
}

TEST_F(PropertyTest, AttachedBySubclassingAListBox)
{
    tkxPropertyCtrl attached;
    HWND box = ::CreateWindowExW(0, L"LISTBOX", nullptr, kListStyle, 340, 10, 70, 200, host.m_hWnd,
                                 reinterpret_cast<HMENU>(802), nullptr, nullptr);
    ASSERT_TRUE(attached.SubclassWindow(box));
    EXPECT_NE(nullptr, attached.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_EDIT));
    EXPECT_NE(nullptr, attached.GetDlgItem(tkxPropertyCtrl::IDC_PROPERTY_BUTTON2));
    attached.AddItem(L"组", L"项", L"值");
    attached.RefreshContent();
    EXPECT_EQ(2, attached.GetCount());
    attached.DestroyWindow();
}

TEST_F(PropertyTest, RenderingsInTreeAndListStyle)
{
    Fill();
    list.SetEnableButton(list.GetItemIndex(L"名称"), 1, 0);
    for (int style : {0, 1}) {
        list.SetListStyle(style);
        list.SetCurSel(RowOf(style ? L"线型" : L"名称"));
        list.Invalidate();
        PumpUntilIdle();
        Image image = CaptureWindow(&list, true);
        image.SaveBmp(style ? L"property_list.bmp" : L"property_tree.bmp");
        // The colour swatch, the group rows and the grid.
        CRect colour;
        list.GetItemRect(RowOf(L"颜色"), &colour);
        EXPECT_GT(image.Count(colour, RGB(255, 0, 0)), 40);
        CRect group;
        list.GetItemRect(RowOf(L"显示"), &group);
        if (style) {
            EXPECT_GT(image.Count(group, RGB(0xE1, 0xE1, 0xE1)), 1000);
        } else {
            EXPECT_GT(image.Count(CRect(group.left + 5, group.top + 5, group.left + 12, group.bottom - 4),
                                  RGB(255, 255, 255)),
                      10); // the expand box
        }
    }
}
