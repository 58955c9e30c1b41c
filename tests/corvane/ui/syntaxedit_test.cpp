// The syntax-colouring edit: the colour each character is painted in,
// checked in renderings of the control at the places of its characters.
#include "corvane/ui/SyntaxEdit.h"
#include "ui_test_support.h"
#include <set>
#include <string>
#include <vector>

using namespace wintest;
using namespace test_support;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// Where the control puts each character: from x = 1, each advancing by its
// own width in the control's font.
std::vector<std::pair<int, int>> CharacterCells(const CString& text)
{
    CFont font;
    font.CreatePointFont(90, L"宋体");
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font.GetSafeHandle());
    std::vector<std::pair<int, int>> cells;
    int x = 1;
    for (int i = 0; i < text.GetLength(); ++i) {
        SIZE size{};
        const wchar_t ch = text[i];
        ::GetTextExtentPoint32W(screen, &ch, 1, &size);
        cells.emplace_back(x, x + size.cx);
        x += size.cx;
    }
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return cells;
}

// The colours other than the background inside each character's cell.
std::vector<std::set<COLORREF>> CellColours(const Image& image, const CString& text, COLORREF background)
{
    std::vector<std::set<COLORREF>> found;
    for (auto [left, right] : CharacterCells(text)) {
        std::set<COLORREF> colours;
        for (int x = left; x < right && x < image.Width(); ++x)
            for (int y = 0; y < image.Height(); ++y)
                if (image.At(x, y) != background) colours.insert(image.At(x, y));
        found.push_back(colours);
    }
    return found;
}

std::string Describe(const std::set<COLORREF>& colours)
{
    std::string text;
    for (COLORREF c : colours)
        text += "(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
                std::to_string(GetBValue(c)) + ")";
    return text.empty() ? "nothing" : text;
}

// Each character of `text` shows only the colour its letter in `expected`
// names: A assignment, D delimiter, 1 and 2 the fields; '.' is not checked.
void ExpectColours(const Image& image, const CString& text, const char* expected, const tkxSyntaxEdit& edit,
                   COLORREF background = kWhite)
{
    const auto found = CellColours(image, text, background);
    ASSERT_EQ(strlen(expected), found.size());
    for (size_t i = 0; i < found.size(); ++i) {
        COLORREF want = 0;
        switch (expected[i]) {
        case 'A': want = edit.m_clrAssign; break;
        case 'D': want = edit.m_clrDelimiter; break;
        case '1': want = edit.m_clrField1; break;
        case '2': want = edit.m_clrField2; break;
        default: continue;
        }
        EXPECT_EQ(std::set<COLORREF>{want}, found[i])
            << "character " << i << " ('" << static_cast<char>(text[i]) << "') shows " << Describe(found[i]);
    }
}

// A frame (hidden unless asked) holding one syntax edit.
struct EditHost {
    explicit EditHost(const wchar_t* text, DWORD style = 0, DWORD exStyle = WS_EX_CLIENTEDGE,
                      CRect rect = CRect(10, 10, 330, 34), bool visible = false)
        : frame(new TestFrame(visible))
    {
        created = edit.CreateEx(exStyle, L"EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, rect, frame,
                                100) != FALSE;
    }
    ~EditHost() { frame->DestroyWindow(); }
    TestFrame* frame;
    tkxSyntaxEdit edit;
    bool created;
};

// What the screen shows of the window now, without making it paint first.
Image OnScreen(CWnd* wnd)
{
    CRect client;
    wnd->GetClientRect(&client);
    Image image(client.Width(), client.Height());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.Width();
    info.bmiHeader.biHeight = -client.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HDC source = ::GetDC(wnd->GetSafeHwnd());
    ::BitBlt(memory, 0, 0, client.Width(), client.Height(), source, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd->GetSafeHwnd(), source);
    ::GdiFlush();
    memcpy(image.Bits(), bits, static_cast<size_t>(client.Width()) * client.Height() * 4);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return image;
}

} // namespace

TEST(SyntaxEdit, FieldsAssignmentAndDelimitersTakeTheirColours)
{
    struct Case {
        const wchar_t* text;
        const char* colours;
    } cases[] = {
        {L"K1+100=K1+120,K2+000", "111111A111111D222222"}, // a station equation
        {L"a,,b", "1DD2"},   // a run of delimiters switches once
        {L"a,b,c", "1D2D1"}, // each run switches back and forth
        {L"a$b,c", "1D2D1"}, // the second delimiter is a delimiter too
        {L"a,=,b", "1DAD2"}, // the assignment does not end a delimiter run
        {L"a=b", "1A1"},     // nor switches the field
        {L",a", "D2"},       // a leading delimiter switches at once
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        EditHost host(c.text);
        ASSERT_TRUE(host.created);
        Image image = PrintWindowImage(&host.edit, true);
        image.SaveBmp(ClFormat(L"syntaxedit_%d.bmp", ++n));
        ExpectColours(image, c.text, c.colours, host.edit);
    }
}

TEST(SyntaxEdit, CharactersAndColoursAreTheMembers)
{
    EditHost host(L"a:b;c,d");
    ASSERT_TRUE(host.created);
    host.edit.m_chAssign = L':';
    host.edit.m_chDelimiter1 = L';';
    host.edit.m_clrAssign = RGB(0, 120, 220);
    host.edit.m_clrDelimiter = RGB(230, 140, 0);
    host.edit.m_clrField1 = RGB(10, 10, 10);
    host.edit.m_clrField2 = RGB(200, 0, 200);
    Image image = PrintWindowImage(&host.edit, true);
    image.SaveBmp(L"syntaxedit_members.bmp");
    ExpectColours(image, L"a:b;c,d", "1A1D222", host.edit); // "," is plain text now
}

TEST(SyntaxEdit, ReadOnlyAndDisabledDrawInOneColourOnTheButtonFace)
{
    struct Case {
        const char* name;
        bool readOnly, enabled;
        int background, text; // system colours
    } cases[] = {
        {"read-only", true, true, COLOR_BTNFACE, COLOR_WINDOWTEXT},
        {"disabled", false, false, COLOR_BTNFACE, COLOR_GRAYTEXT},
        {"both", true, false, COLOR_BTNFACE, COLOR_WINDOWTEXT},
    };
    const CString text = L"K1+100=K1+120,K2+000";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditHost host(text, c.readOnly ? ES_READONLY : 0);
        ASSERT_TRUE(host.created);
        host.edit.EnableWindow(c.enabled);
        Image image = PrintWindowImage(&host.edit, true);
        image.SaveBmp(ClFormat(L"syntaxedit_%hs.bmp", c.name));
        const COLORREF background = ::GetSysColor(c.background);
        EXPECT_EQ(background, image.At(0, 0));
        EXPECT_EQ(background, image.At(image.Width() - 1, image.Height() - 1));
        int characters = 0;
        for (const auto& colours : CellColours(image, text, background)) {
            EXPECT_EQ(std::set<COLORREF>{::GetSysColor(c.text)}, colours) << "shows " << Describe(colours);
            ++characters;
        }
        EXPECT_EQ(text.GetLength(), characters);
    }
}

TEST(SyntaxEdit, TextThatDoesNotFitStopsAfterTheCharacterPassingTheEdge)
{
    // A control without border: its painted area ends 4 pixels inside, and
    // drawing stops after the character that passes 4 pixels before that.
    const CString text = L"11111111111111111111,2222222222";
    const auto cells = CharacterCells(text);
    const int last = 5;                         // the character that passes the limit
    const int width = cells[last].second + 7;   // ... by one pixel
    EditHost host(text, 0, 0, CRect(0, 0, width, 20));
    ASSERT_TRUE(host.created);
    Image image = PrintWindowImage(&host.edit, true);
    image.SaveBmp(L"syntaxedit_cut.bmp");
    ASSERT_EQ(width, image.Width());
    const CRect lastCell(cells[last].first, 0, cells[last].second, image.Height());
    EXPECT_GT(image.Count(lastCell, host.edit.m_clrField1), 0);
    const CRect beyond(cells[last].second, 0, width, image.Height());
    EXPECT_EQ(0, image.Count(beyond, host.edit.m_clrField1));
}

TEST(SyntaxEdit, OnScreenItRepaintsWhenDisabledAndWhenItLosesTheFocus)
{
    EditHost host(L"K1+100=K1+120", 0, WS_EX_CLIENTEDGE, CRect(10, 10, 330, 34), true);
    ASSERT_TRUE(host.created);
    CEdit other;
    ASSERT_TRUE(other.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, CRect(10, 40, 330, 64),
                               host.frame, 101));
    PumpUntilIdle();
    const CString text = L"K1+100=K1+120";
    ExpectColours(OnScreen(&host.edit), text, "111111A111111", host.edit);

    // Disabled: grey at once, before the loop runs again.
    host.edit.EnableWindow(FALSE);
    Image disabled = OnScreen(&host.edit);
    disabled.SaveBmp(L"syntaxedit_screen_disabled.bmp");
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(face, disabled.At(1, 1));
    for (const auto& colours : CellColours(disabled, text, face))
        EXPECT_EQ(std::set<COLORREF>{::GetSysColor(COLOR_GRAYTEXT)}, colours) << "shows " << Describe(colours);

    host.edit.EnableWindow(TRUE);
    ExpectColours(OnScreen(&host.edit), text, "111111A111111", host.edit);

    // Typed text is coloured as soon as the focus moves on.
    host.edit.SetFocus();
    PumpUntilIdle();
    host.edit.SetSel(text.GetLength(), text.GetLength());
    for (const wchar_t* ch = L",K2+000"; *ch; ++ch) host.edit.SendMessage(WM_CHAR, *ch, 1);
    other.SetFocus();
    Image typed = OnScreen(&host.edit);
    typed.SaveBmp(L"syntaxedit_screen_typed.bmp");
    ExpectColours(typed, L"K1+100=K1+120,K2+000", "111111A111111D222222", host.edit);
}
