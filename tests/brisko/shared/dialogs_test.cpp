// The shared dialogs: the question with two named answers, the schematic
// picture viewer, and the colour button of the environment dialog.
#include "brisko/BriskoResource.h"
#include "brisko/shell/SelectColorButton.h"
#include "brisko/shell/SharedDialogs.h"
#include "shared_world.h"
#include <functional>

using namespace wintest;
using namespace test_support;

TEST(SelectMessageBox, EachWayOutGivesItsAnswer)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    const struct {
        const char* what;
        std::function<void(CWnd*)> leave;
        short answer;
    } cases[] = {
        {"first", [](CWnd* d) { Press(d, IDOK); }, 1},
        {"second", [](CWnd* d) { Press(d, IDC_SELECT_SECOND); }, 2},
        {"cancel", [](CWnd* d) { Press(d, IDCANCEL); }, 0},
        {"close box", [](CWnd* d) { d->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"escape", [](CWnd* d) { d->PostMessage(WM_CLOSE, 0, 0); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CString caption, message, first, second;
        DialogScript script;
        script.Then([&](CWnd* d) {
            caption = d->GetWindowText();
            message = GetText(d, IDC_SELECT_MESSAGE);
            first = GetText(d, IDOK);
            second = GetText(d, IDC_SELECT_SECOND);
            c.leave(d);
        });
        EXPECT_EQ(c.answer, SelectMessageBox(L"TAVIX项目数据环境", L"文件[甲.DMX]不存在,\n\n请选择文件类型:", L"纵断面地面线",
                                             L"横断面地面线"));
        EXPECT_EQ(1, script.DialogsSeen());
        EXPECT_TRUE(script.Unscripted().empty());
        EXPECT_EQ(CString(L"TAVIX项目数据环境"), caption);
        EXPECT_EQ(CString(L"文件[甲.DMX]不存在,\n\n请选择文件类型:"), message);
        EXPECT_EQ(CString(L"纵断面地面线"), first);
        EXPECT_EQ(CString(L"横断面地面线"), second);
    }
}

TEST(SelectMessageBox, AnAmpersandInTheMessageIsShownAsWritten)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    // How far the ink of the message reaches to the right: a path such as
    // "R&D" keeps its "&" and is wider than "RD".
    auto inkRight = [](const wchar_t* message) {
        int right = -1;
        DialogScript script;
        script.Then([&](CWnd* d) {
            const Image text = PrintWindowImage(d->GetDlgItem(IDC_SELECT_MESSAGE));
            const COLORREF ground = text.At(text.Width() - 1, text.Height() - 1);
            for (int y = 0; y < text.Height(); ++y)
                for (int x = 0; x < text.Width(); ++x)
                    if (text.At(x, y) != ground) right = std::max(right, x);
            Press(d, IDCANCEL);
        });
        SelectMessageBox(L"TAVIX项目数据环境", message, L"新建文件", L"导入文件");
        return right;
    };
    const int plain = inkRight(L"C:\\RD\\主线.DL");
    const int ampersand = inkRight(L"C:\\R&D\\主线.DL");
    ASSERT_GT(plain, 0);
    EXPECT_GT(ampersand, plain + 2);
}

TEST(ShowSchematicDialog, ShowsThePictureWholeAndClosesOnAnyClickOrKey)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
    } ways[] = {
        {"left click", WM_LBUTTONDOWN, MK_LBUTTON},
        {"right click", WM_RBUTTONDOWN, MK_RBUTTON},
        {"middle click", WM_MBUTTONDOWN, MK_MBUTTON},
        {"key", WM_KEYDOWN, VK_SPACE},
        {"system key", WM_SYSKEYDOWN, VK_MENU},
        {"right click on the caption", WM_NCRBUTTONDOWN, HTCAPTION},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        CString caption;
        HBITMAP shown = nullptr;
        CSize client;
        DialogScript script;
        script.Then([&](CWnd* d) {
            caption = d->GetWindowText();
            shown = reinterpret_cast<HBITMAP>(d->SendDlgItemMessage(IDC_VIEWSYT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
            CRect rect;
            d->GetClientRect(&rect);
            client = rect.Size();
            d->PostMessage(way.message, way.wParam, MAKELPARAM(5, 5));
        });
        ShowSchematicDialog(nullptr, L"基点高程参数示意图", IDB_ABOUT_BANNER);
        EXPECT_TRUE(script.Unscripted().empty());
        EXPECT_EQ(CString(L"基点高程参数示意图"), caption);
        ASSERT_NE(nullptr, shown);
        BITMAP info{};
        // The dialog deleted its bitmap when it closed.
        EXPECT_EQ(0, ::GetObjectW(shown, sizeof(info), &info));
        HINSTANCE module = ResourceLibrary();
        HBITMAP banner = static_cast<HBITMAP>(
            ::LoadImageW(module, MAKEINTRESOURCEW(IDB_ABOUT_BANNER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        ::GetObjectW(banner, sizeof(info), &info);
        ::DeleteObject(banner);
        EXPECT_EQ(CSize(info.bmWidth, info.bmHeight), client);
    }
}

TEST(ShowSchematicDialog, AMissingPictureLeavesTheDialogEmpty)
{
    HBITMAP shown = reinterpret_cast<HBITMAP>(1);
    DialogScript script;
    script.Then([&](CWnd* d) {
        shown = reinterpret_cast<HBITMAP>(d->SendDlgItemMessage(IDC_VIEWSYT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
        d->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ShowSchematicDialog(nullptr, L"示意图", 29999);
    EXPECT_EQ(nullptr, shown);
    EXPECT_TRUE(script.Unscripted().empty());
}

// ---------------------------------------------------------------------------

namespace {

// The red, green and blue fields of the system's colour dialog.
const int kRedField = 706, kGreenField = 707, kBlueField = 708;

// A dialog with one colour button.
class ColorButtonHost
{
public:
    ColorButtonHost()
    {
        created = dialog.Create(IDD_SELECT) && button.SubclassDlgItem(IDC_SELECT_SECOND, &dialog);
        if (created) button.MoveWindow(10, 10, 60, 20);
    }
    ~ColorButtonHost()
    {
        if (dialog.m_hWnd) dialog.DestroyWindow();
    }
    CDialog dialog;
    CSelectColorButton button;
    bool created = false;
};

} // namespace

TEST(SelectColorButton, ASwatchWithARaisedOrSunkenFrame)
{
    ColorButtonHost host;
    ASSERT_TRUE(host.created);
    host.button.SetColor(RGB(0, 128, 255));
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);

    Image raised = PrintWindowImage(&host.button);
    raised.SaveBmp(L"color_button.bmp");
    ASSERT_EQ(60, raised.Width());
    EXPECT_EQ(RGB(0, 128, 255), raised.At(30, 10));
    EXPECT_EQ(light, raised.At(0, 10));
    EXPECT_EQ(light, raised.At(30, 0));
    EXPECT_EQ(dark, raised.At(59, 10));
    EXPECT_EQ(dark, raised.At(30, 19));
    EXPECT_EQ(58 * 18, raised.Count(CRect(1, 1, 59, 19), RGB(0, 128, 255))) << "the inside is all swatch";

    host.button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(host.button.m_bPressed);
    Image sunken = PrintWindowImage(&host.button);
    EXPECT_EQ(dark, sunken.At(0, 10));
    EXPECT_EQ(light, sunken.At(59, 10));
    // Letting go is a click: the colour dialog comes up.
    bool asked = false;
    DialogScript script;
    script.Then([&](CWnd* d) {
        asked = true;
        Press(d, IDCANCEL);
    });
    host.button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(host.button.m_bPressed);
    EXPECT_TRUE(asked);
}

TEST(SelectColorButton, AClickChoosesTheColour)
{
    ColorButtonHost host;
    ASSERT_TRUE(host.created);
    host.button.SetColor(RGB(10, 20, 30));
    const struct {
        const char* what;
        int button;
        COLORREF result;
    } cases[] = {{"OK", IDOK, RGB(12, 34, 56)}, {"Cancel", IDCANCEL, RGB(10, 20, 30)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        COLORREF offered = 0; // what the colour dialog starts with
        DialogScript script;
        script.Then([&](CWnd* d) {
            offered = RGB(_wtoi(GetText(d, kRedField)), _wtoi(GetText(d, kGreenField)), _wtoi(GetText(d, kBlueField)));
            SetText(d, kRedField, L"12");
            SetText(d, kGreenField, L"34");
            SetText(d, kBlueField, L"56");
            Press(d, c.button);
        });
        host.dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SELECT_SECOND, BN_CLICKED),
                                reinterpret_cast<LPARAM>(host.button.m_hWnd));
        EXPECT_EQ(RGB(10, 20, 30), offered);
        EXPECT_EQ(c.result, host.button.GetColor());
        host.button.SetColor(RGB(10, 20, 30));
    }
}
