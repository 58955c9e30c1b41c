// The program's own looks: the tool bar's three picture sets made from one
// bitmap, and the owner-drawn menus with the tool-bar pictures beside their
// commands.
#include "brisko/BriskoResource.h"
#include "brisko/shell/EnBitmap.h"
#include "brisko/shell/IconMenu.h"
#include "brisko/shell/ToolBar24.h"
#include "shared_world.h"
#include <algorithm>
#include <memory>

using namespace wintest;
using namespace test_support;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// A bitmap of the given pixels (one row).
HBITMAP RowBitmap(const std::vector<COLORREF>& colors)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, static_cast<int>(colors.size()), 1);
    ::ReleaseDC(nullptr, screen);
    std::vector<RGBX> pixels;
    for (COLORREF c : colors) pixels.push_back(RGBX{GetBValue(c), GetGValue(c), GetRValue(c), 0});
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<int>(colors.size());
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = ::GetDC(nullptr);
    ::SetDIBits(dc, bitmap, 0, 1, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    return bitmap;
}

std::vector<COLORREF> RowColors(HBITMAP bitmap)
{
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    std::vector<RGBX> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = ::GetDC(nullptr);
    ::GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    std::vector<COLORREF> colors;
    for (const RGBX& p : pixels) colors.push_back(RGB(p.btRed, p.btGreen, p.btBlue));
    return colors;
}

const std::vector<COLORREF> kSamples = {kMagenta,          RGB(255, 255, 255), RGB(0, 0, 0),    RGB(200, 30, 40),
                                        RGB(20, 90, 220),  RGB(128, 128, 128), RGB(0, 160, 60), RGB(254, 0, 255)};

int Lightness(COLORREF c)
{
    const int mx = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
    const int mn = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
    return mx + mn;
}

// A processor that gives up.
class FailingProcessor : public C32BitImageProcessor
{
public:
    BOOL ProcessPixels(const RGBX*, CSize, RGBX*, CSize) override { return FALSE; }
};

} // namespace

TEST(ToolBarImages, NormalLookLightensAndKeepsTheTransparentColour)
{
    CEnBitmap bitmap(RGB(255, 255, 255));
    bitmap.Attach(RowBitmap(kSamples));
    ASSERT_TRUE(bitmap.MakeNormal(kMagenta));
    const std::vector<COLORREF> out = RowColors(bitmap);
    ASSERT_EQ(kSamples.size(), out.size());
    EXPECT_EQ(kMagenta, out[0]);
    EXPECT_EQ(RGB(255, 255, 255), out[1]);         // already as light as can be
    EXPECT_EQ(RGB(20, 20, 20), out[2]);            // lightness 0.08 after two passes
    for (size_t i = 3; i < kSamples.size(); ++i) { // lighter, hue kept
        SCOPED_TRACE(i);
        EXPECT_GT(Lightness(out[i]), Lightness(kSamples[i]));
        const bool redMost = GetRValue(kSamples[i]) > GetGValue(kSamples[i]) &&
                             GetRValue(kSamples[i]) > GetBValue(kSamples[i]);
        if (redMost) {
            EXPECT_TRUE(GetRValue(out[i]) > GetGValue(out[i]) && GetRValue(out[i]) > GetBValue(out[i]));
        }
    }
    EXPECT_NE(kMagenta, out[7]); // only the keep colour itself is kept
}

TEST(ToolBarImages, DisabledLookIsGreyAndLight)
{
    CEnBitmap bitmap(RGB(255, 255, 255));
    bitmap.Attach(RowBitmap(kSamples));
    ASSERT_TRUE(bitmap.MakeDisabled(kMagenta));
    const std::vector<COLORREF> out = RowColors(bitmap);
    EXPECT_EQ(kMagenta, out[0]);
    for (size_t i = 1; i < out.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetRValue(out[i]), GetGValue(out[i]));
        EXPECT_EQ(GetGValue(out[i]), GetBValue(out[i]));
        EXPECT_GE(GetRValue(out[i]), 60) << "about 0.24 light at least";
    }
    // Grey by brightness: green counts most, blue least.
    CEnBitmap grey(RGB(255, 255, 255));
    grey.Attach(RowBitmap({RGB(0, 100, 0), RGB(100, 0, 0), RGB(0, 0, 100)}));
    CImageGrayer grayer;
    CImageProcessorArray chain;
    chain.Add(&grayer);
    ASSERT_TRUE(grey.ProcessImage(chain));
    EXPECT_EQ((std::vector<COLORREF>{RGB(60, 60, 60), RGB(30, 30, 30), RGB(10, 10, 10)}), RowColors(grey));
}

TEST(ToolBarImages, ProcessingChains)
{
    CImageProcessorArray none;
    CEnBitmap empty;
    EXPECT_TRUE(empty.ProcessImage(none)); // nothing to do
    CImageGrayer grayer;
    CImageProcessorArray chain;
    chain.Add(&grayer);
    EXPECT_FALSE(empty.ProcessImage(chain)); // no bitmap

    CEnBitmap bitmap;
    bitmap.Attach(RowBitmap({RGB(200, 30, 40)}));
    FailingProcessor failing;
    chain.Add(&failing);
    EXPECT_FALSE(bitmap.ProcessImage(chain));
    EXPECT_EQ(std::vector<COLORREF>{RGB(200, 30, 40)}, RowColors(bitmap)) << "a failed chain changes nothing";
}

namespace {

// A hidden frame with the program's tool bar.
struct ToolBarFrame {
    TestFrame* frame = new TestFrame(false, CRect(0, 0, 700, 300));
    CToolBar24 bar;
    bool loaded = false;
    ToolBarFrame()
    {
        loaded = bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS) &&
                 bar.LoadToolBar(IDR_MAINFRAME) && bar.LoadTrueColorImages(IDB_TOOLBAR24, kMagenta);
        if (loaded) frame->RecalcLayout();
    }
    ~ToolBarFrame() { frame->DestroyWindow(); }
};

// The images of a list side by side on the colour.
Image ListStrip(HIMAGELIST list, COLORREF ground)
{
    const int count = ImageList_GetImageCount(list);
    return RenderPaint(count * 18 + 2, 20, [&](CDC& dc) {
        dc.FillSolidRect(0, 0, count * 18 + 2, 20, ground);
        for (int i = 0; i < count; ++i) ImageList_Draw(list, i, dc, 2 + i * 18, 2, ILD_TRANSPARENT);
    });
}

} // namespace

TEST(ToolBarImages, TheToolBarGetsThreeLooksOfItsBitmap)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    ToolBarFrame tb;
    ASSERT_TRUE(tb.loaded);
    const auto normal = reinterpret_cast<HIMAGELIST>(tb.bar.SendMessage(TB_GETIMAGELIST));
    const auto hot = reinterpret_cast<HIMAGELIST>(tb.bar.SendMessage(TB_GETHOTIMAGELIST));
    const auto disabled = reinterpret_cast<HIMAGELIST>(tb.bar.SendMessage(TB_GETDISABLEDIMAGELIST));
    ASSERT_EQ(tb.bar.m_ilNormal.GetSafeHandle(), normal);
    ASSERT_EQ(tb.bar.m_ilHot.GetSafeHandle(), hot);
    ASSERT_EQ(tb.bar.m_ilDisabled.GetSafeHandle(), disabled);

    BITMAP strip{};
    tb.bar.m_bmpHot.GetBitmap(&strip);
    for (HIMAGELIST list : {normal, hot, disabled}) {
        EXPECT_EQ(strip.bmWidth / 16, ImageList_GetImageCount(list));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(16, cx);
        EXPECT_EQ(16, cy);
    }

    // Drawn on two grounds: the transparent colour never shows, and the
    // disabled pictures hold only greys.
    Image looks(0, 0);
    const COLORREF grounds[] = {RGB(255, 255, 255), RGB(212, 208, 200)};
    for (COLORREF ground : grounds) {
        const Image n = ListStrip(normal, ground), h = ListStrip(hot, ground), d = ListStrip(disabled, ground);
        const CRect all(0, 0, n.Width(), n.Height());
        EXPECT_EQ(0, n.Count(all, kMagenta) + h.Count(all, kMagenta) + d.Count(all, kMagenta));
        int coloured = 0;
        for (int y = 0; y < d.Height(); ++y)
            for (int x = 0; x < d.Width(); ++x) {
                const COLORREF c = d.At(x, y);
                if (c != ground && (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c))) ++coloured;
            }
        EXPECT_EQ(0, coloured);
        if (ground == grounds[1]) {
            // One picture of the three strips, for a person to look at.
            Image sheet = RenderPaint(n.Width(), 60, [&](CDC& dc) {
                for (int row = 0; row < 3; ++row) {
                    const Image& part = row == 0 ? h : row == 1 ? n : d;
                    for (int y = 0; y < 20; ++y)
                        for (int x = 0; x < part.Width(); ++x) dc.SetPixel(x, row * 20 + y, part.At(x, y));
                }
            });
            sheet.SaveBmp(L"toolbar_looks.bmp");
        }
    }

    // The bar itself, two buttons disabled.
    tb.bar.SendMessage(TB_ENABLEBUTTON, ID_FILE_SAVE, FALSE);
    tb.bar.SendMessage(TB_ENABLEBUTTON, ID_EDIT_CUT, FALSE);
    PrintWindowImage(&tb.bar).SaveBmp(L"toolbar.bmp");
}

TEST(ToolBarImages, AMissingBitmapIsRefused)
{
    ToolBarFrame tb;
    ASSERT_TRUE(tb.loaded);
    EXPECT_FALSE(tb.bar.LoadTrueColorImages(29999, kMagenta));
}

// ---------------------------------------------------------------------------

TEST(IconMenu, HlsTransform)
{
    const struct {
        COLORREF color;
        int lightness, saturation;
        COLORREF expected;
    } cases[] = {
        {RGB(255, 255, 255), 73, 0, RGB(255, 255, 255)},
        {RGB(0, 0, 0), -50, 0, RGB(0, 0, 0)},
        {RGB(0, 0, 0), 100, 0, RGB(255, 255, 255)},
        {RGB(200, 30, 40), -100, 0, RGB(0, 0, 0)},
        {RGB(128, 128, 128), 50, 0, RGB(191, 191, 191)},
        {RGB(128, 128, 128), -50, 0, RGB(64, 64, 64)},
        {RGB(255, 0, 0), 50, 0, RGB(255, 127, 127)},
        {RGB(255, 0, 0), 0, -100, RGB(127, 127, 127)},
        {RGB(0, 0, 255), 0, 0, RGB(0, 0, 255)},
    };
    for (const auto& c : cases) {
        const COLORREF got = HlsTransform(c.color, c.lightness, c.saturation);
        EXPECT_NEAR(GetRValue(c.expected), GetRValue(got), 1) << std::hex << c.color;
        EXPECT_NEAR(GetGValue(c.expected), GetGValue(got), 1) << std::hex << c.color;
        EXPECT_NEAR(GetBValue(c.expected), GetBValue(got), 1) << std::hex << c.color;
    }
}

TEST(IconMenu, MnemonicsOfPopupItems)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 101, L"打开(&O)...\tCtrl+O");
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
    menu.AppendMenu(MF_STRING, 102, L"A&&x");
    menu.AppendMenu(MF_STRING, 103, L"&x 坐标");
    menu.AppendMenu(MF_STRING, 104, L"退出(&x)");
    menu.AppendMenu(MF_STRING, 105, L"结尾&");
    auto* frame = new TestFrame;
    PrepareMenu(&menu, frame);
    frame->DestroyWindow();

    const struct {
        wchar_t key;
        UINT flags;
        LRESULT answer;
    } cases[] = {
        {L'o', MF_POPUP, MAKELRESULT(0, MNC_EXECUTE)},
        {L'O', MF_POPUP, MAKELRESULT(0, MNC_EXECUTE)},
        {L'x', MF_POPUP, MAKELRESULT(3, MNC_EXECUTE)}, // not the doubled ampersand of item 2
        {L'X', MF_POPUP, MAKELRESULT(3, MNC_EXECUTE)},
        {L'q', MF_POPUP, 0},
        {L'o', MF_POPUP | MF_SYSMENU, 0},
        {L'o', 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.answer, FindMenuMnemonic(&menu, c.key, c.flags)) << char(c.key);
}

namespace {

COLORREF Face() { return ::GetSysColor(COLOR_BTNFACE); }
COLORREF Highlight() { return ::GetSysColor(COLOR_HIGHLIGHT); }

// The data word of an item.
ULONG_PTR ItemData(CMenu& menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ::GetMenuItemInfoW(menu.GetSafeHmenu(), position, TRUE, &info);
    return info.dwItemData;
}

bool OwnerDrawn(CMenu& menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu.GetSafeHmenu(), position, TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0;
}

int TextWidth(const wchar_t* text)
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

// How dark the area is: the sum of every pixel's darkness.
int Ink(const Image& image, const CRect& area)
{
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = image.At(x, y);
            ink += 765 - GetRValue(c) - GetGValue(c) - GetBValue(c);
        }
    return ink;
}

// The prepared menu drawn item below item as the system would draw it,
// the item at `selected` highlighted.
Image DrawnMenu(CMenu& menu, int selected, std::vector<CRect>* rects = nullptr)
{
    const int count = menu.GetMenuItemCount();
    int width = 0, height = 0;
    std::vector<CRect> items;
    for (int i = 0; i < count; ++i) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = ItemData(menu, i);
        MeasureMenuItem(&mis);
        items.emplace_back(0, height, 0, height + static_cast<int>(mis.itemHeight));
        width = std::max(width, static_cast<int>(mis.itemWidth));
        height += static_cast<int>(mis.itemHeight);
    }
    for (CRect& r : items) r.right = width;
    if (rects) *rects = items;
    return RenderPaint(width, height, [&](CDC& dc) {
        for (int i = 0; i < count; ++i) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemID = ::GetMenuItemID(menu.GetSafeHmenu(), i);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = i == selected ? ODS_SELECTED : 0;
            dis.hwndItem = reinterpret_cast<HWND>(menu.GetSafeHmenu());
            dis.hDC = dc.GetSafeHdc();
            dis.rcItem = items[static_cast<size_t>(i)];
            DrawMenuItem(&dis);
        }
    });
}

} // namespace

TEST(IconMenu, PreparingTakesTextsPicturesAndMeasures)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    ToolBarFrame tb;
    ASSERT_TRUE(tb.loaded);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    CMenu* file = menu.GetSubMenu(0); // 文件: 新建, 打开, -, 打印机设置, -, 最近的文件, -, 退出
    ASSERT_FALSE(IsMenuPrepared(file));
    PrepareMenu(file, tb.frame);
    EXPECT_TRUE(IsMenuPrepared(file));
    for (int i = 0; i < file->GetMenuItemCount(); ++i) EXPECT_TRUE(OwnerDrawn(*file, i)) << i;

    CString text;
    ASSERT_TRUE(MenuItemTexts().Lookup(ID_FILE_OPEN, text));
    EXPECT_EQ(CString(L"打开(&O)...\tCtrl+O"), text);
    CImgDesc image;
    ASSERT_TRUE(MenuItemImages().Lookup(ID_FILE_OPEN, image));
    EXPECT_EQ(tb.bar.m_ilNormal.GetSafeHandle(), image.hImageList);
    EXPECT_EQ(1, image.nIndex); // the second picture of the bar
    EXPECT_FALSE(MenuItemImages().Lookup(ID_FILE_PRINT_SETUP, image)) << "no button, no picture";

    // Every item carries the menu's measures; separators their height.
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const int height = tm.tmHeight + 2 > 16 ? tm.tmHeight + 6 : 20;
    const int label = std::max({TextWidth(L"新建(N)"), TextWidth(L"打开(O)..."), TextWidth(L"打印机设置(r)..."),
                                TextWidth(L"最近的文件"), TextWidth(L"退出(x)")});
    const int accelerator = std::max(TextWidth(L"Ctrl+N"), TextWidth(L"Ctrl+O"));
    const ULONG_PTR word = (static_cast<ULONG_PTR>(accelerator) << 20) | (label << 8) | height;
    EXPECT_EQ(MenuItemWord(height, label, accelerator), word);
    EXPECT_EQ(word, ItemData(*file, 0));
    EXPECT_EQ(word, ItemData(*file, 1));
    EXPECT_EQ(static_cast<ULONG_PTR>(tm.tmHeight / 2 + 2), ItemData(*file, 2));

    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = word;
    MeasureMenuItem(&mis);
    EXPECT_EQ(static_cast<UINT>(height), mis.itemHeight);
    EXPECT_EQ(static_cast<UINT>(accelerator + label + 42), mis.itemWidth);

    // Opened again with a new, long item: the old items keep their texts and
    // all get the new measures; a label over 255 pixels counts whole.
    const wchar_t* longLabel = L"由构造物信息文件(GZX)导出桥梁桩号文件(QL)并且写入当前道路的数据文件夹";
    file->AppendMenu(MF_STRING, 40999, longLabel);
    ASSERT_GT(TextWidth(longLabel), 255);
    PrepareMenu(file, tb.frame);
    ASSERT_TRUE(MenuItemTexts().Lookup(ID_FILE_OPEN, text));
    EXPECT_EQ(CString(L"打开(&O)...\tCtrl+O"), text);
    const ULONG_PTR wider = MenuItemWord(height, TextWidth(longLabel), accelerator);
    EXPECT_EQ(wider, ItemData(*file, 0));
    EXPECT_EQ(wider, ItemData(*file, file->GetMenuItemCount() - 1));
    mis.itemData = wider;
    MeasureMenuItem(&mis);
    EXPECT_EQ(static_cast<UINT>(accelerator + TextWidth(longLabel) + 42), mis.itemWidth);
}

TEST(IconMenu, DrawingItemsInEveryState)
{
    ASSERT_NE(nullptr, ResourceLibrary());
    ToolBarFrame tb;
    ASSERT_TRUE(tb.loaded);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_NEW, L"新建(&N)\tCtrl+N");                      // 0 picture
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, L"打开(&O)...\tCtrl+O");                  // 1 picture, selected
    menu.AppendMenu(MF_STRING | MF_GRAYED | MF_DISABLED, ID_FILE_SAVE, L"保存(&S)\tCtrl+S"); // 2 picture, disabled
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);                                          // 3
    menu.AppendMenu(MF_STRING | MF_CHECKED, ID_VIEW_SHOWGRID, L"页面横线");             // 4 checked, no picture
    menu.AppendMenu(MF_STRING | MF_CHECKED, ID_VIEW_PROJECTBAR, L"项目管理窗口\tCtrl+F7"); // 5 checked, picture
    menu.AppendMenu(MF_STRING, ID_APP_OPTIONS, L"环境设置...");                          // 6 default
    ::SetMenuDefaultItem(menu.GetSafeHmenu(), 6, TRUE);
    PrepareMenu(&menu, tb.frame);

    std::vector<CRect> rows;
    const Image image = DrawnMenu(menu, 1, &rows);
    image.SaveBmp(L"menu.bmp");
    DrawnMenu(menu, 5).SaveBmp(L"menu_checked_selected.bmp");

    const COLORREF strip = HlsTransform(Face(), 20, 0), ground = HlsTransform(Face(), 75, 0);
    const CRect& plain = rows[0];
    EXPECT_EQ(strip, image.At(1, plain.top + 1));
    EXPECT_EQ(strip, image.At(21, plain.bottom - 1));
    EXPECT_EQ(ground, image.At(22, plain.top + 1));
    EXPECT_EQ(ground, image.At(plain.right - 1, plain.bottom - 1));
    EXPECT_GT(image.Count(CRect(3, plain.top + 3, 19, plain.top + 19), strip), 0) << "transparent around the picture";
    EXPECT_LT(image.Count(CRect(3, plain.top + 3, 19, plain.top + 19), strip), 256) << "a picture";

    const CRect& selected = rows[1];
    EXPECT_EQ(Highlight(), image.At(0, selected.top));
    EXPECT_EQ(Highlight(), image.At(selected.right - 1, selected.bottom - 1));
    EXPECT_EQ(HlsTransform(Highlight(), 70, -57), image.At(22, selected.top + 1));
    EXPECT_GT(image.Count(CRect(4, selected.top + 4, 21, selected.top + 21), HlsTransform(Highlight(), 50, -66)), 0)
        << "the picture lifted over its shadow";

    // Disabled: only the silhouette, in one grey, no picture colours.
    const CRect& disabled = rows[2];
    const CRect icon(3, disabled.top + 3, 19, disabled.top + 19);
    const int silhouette = image.Count(icon, HlsTransform(Face(), -27, 0));
    EXPECT_GT(silhouette, 0);
    EXPECT_EQ(256, silhouette + image.Count(icon, strip));

    const CRect& separator = rows[3];
    const int middle = (separator.top + separator.bottom) / 2;
    EXPECT_EQ(HlsTransform(Face(), -18, 0), image.At(30, middle));
    EXPECT_EQ(HlsTransform(Face(), -18, 0), image.At(separator.right - 2, middle));
    EXPECT_EQ(ground, image.At(28, middle));

    // Checked without a picture: the system's check mark in the box.
    const CRect& grid = rows[4];
    EXPECT_EQ(Highlight(), image.At(1, grid.top + 1));
    EXPECT_EQ(HlsTransform(Highlight(), 70, -57), image.At(3, grid.top + 3));
    EXPECT_GT(image.Count(CRect(5, grid.top + 3, 20, grid.bottom - 1), RGB(0, 0, 0)), 5);
    // Checked with a picture: the box and the picture, no check mark.
    const CRect& bar = rows[5];
    EXPECT_EQ(Highlight(), image.At(1, bar.top + 1));

    // The default item is bold: more ink than the same label drawn plain.
    CRect label = rows[6];
    label.left = 30;
    const int boldInk = Ink(image, label);
    ::SetMenuDefaultItem(menu.GetSafeHmenu(), static_cast<UINT>(-1), TRUE);
    EXPECT_GT(boldInk, Ink(DrawnMenu(menu, 1), label) * 11 / 10);
}
