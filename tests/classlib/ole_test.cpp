// OLE drag and drop and the clipboard for text: data sources and data
// objects in each text format, a drop target driven through its interface
// as OLE drives it (a real drag is modal), registration and its end with
// the window, and OLE's start and end with an application object.
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using namespace wintest;

namespace {

HGLOBAL BlockOf(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    return block;
}

// "道路" in code page 936.
const char kRoadGbk[] = "\xB5\xC0\xC2\xB7";

struct TextCase {
    const char* name;
    std::vector<std::pair<CLIPFORMAT, std::string>> blocks; // raw bytes, as offered
    BOOL hasText;
    const wchar_t* text;
};

// The UTF-16 bytes of `chars` characters (by default the text with its zero).
std::string Wide(const wchar_t* text, size_t chars = size_t(-1))
{
    if (chars == size_t(-1)) chars = wcslen(text) + 1;
    return std::string((const char*)text, chars * 2);
}

const TextCase kTextCases[] = {
    {"unicode", {{CF_UNICODETEXT, Wide(L"道路 K1+200")}}, TRUE, L"道路 K1+200"},
    {"ansi 936", {{CF_TEXT, std::string(kRoadGbk) + " K1+200" + '\0'}}, TRUE, L"道路 K1+200"},
    {"both: unicode wins", {{CF_TEXT, std::string("ansi") + '\0'}, {CF_UNICODETEXT, Wide(L"宽字符", 4)}}, TRUE,
     L"宽字符"},
    {"ansi without its zero", {{CF_TEXT, std::string(kRoadGbk)}}, TRUE, L"道路"},
    {"unicode without its zero, odd size", {{CF_UNICODETEXT, Wide(L"桥涵", 2) + "x"}}, TRUE, L"桥涵"},
    {"text ends at the first zero", {{CF_UNICODETEXT, Wide(L"ab\0cd", 6)}}, TRUE, L"ab"},
    {"empty block", {{CF_TEXT, std::string()}}, TRUE, L""},
    {"no text format", {{CF_DIB, std::string("BM")}}, FALSE, L""},
};

COleDataSource* SourceOf(const TextCase& c)
{
    auto* source = new COleDataSource;
    for (auto& b : c.blocks) source->CacheGlobalData(b.first, BlockOf(b.second.data(), b.second.size()));
    return source;
}

// A window that accepts text drops and records what OLE asked.
class CDropWnd : public CWnd
{
public:
    std::vector<UINT> scrolls;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL) scrolls.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CRecordingTarget : public COleDropTarget
{
public:
    std::vector<std::string> calls;
    std::vector<CPoint> points;
    CString dropped;
    DROPEFFECT droppedEffect = DROPEFFECT_NONE;

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keys, CPoint point) override
    {
        return Record("enter", wnd, data, keys, point);
    }
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keys, CPoint point) override
    {
        return Record("over", wnd, data, keys, point);
    }
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override
    {
        calls.push_back("drop");
        points.push_back(point);
        droppedEffect = effect;
        return wnd->GetSafeHwnd() == m_hWnd && data->GetText(dropped);
    }
    void OnDragLeave(CWnd*) override { calls.push_back("leave"); }

private:
    DROPEFFECT Record(const char* what, CWnd* wnd, COleDataObject* data, DWORD keys, CPoint point)
    {
        calls.push_back(what);
        points.push_back(point);
        if (wnd->GetSafeHwnd() != m_hWnd || !data->IsTextAvailable()) return DROPEFFECT_NONE;
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

// A hidden frame with a registered drop window at client (20, 30).
struct DropFixture {
    TestFrame* frame = new TestFrame;
    CDropWnd wnd;
    CRecordingTarget target;
    CPoint origin; // the window's client origin on the screen

    explicit DropFixture(DWORD style = 0)
    {
        EXPECT_TRUE(AfxOleInit());
        wnd.Create(nullptr, L"drop", WS_CHILD | WS_VISIBLE | style, CRect(20, 30, 220, 180), frame, 1);
        EXPECT_TRUE(target.Register(&wnd));
        ::ClientToScreen(wnd.m_hWnd, &origin);
    }
    ~DropFixture()
    {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    POINTL At(int x, int y) const { return POINTL{origin.x + x, origin.y + y}; }
};

ULONG RefsOf(COleDataSource* source)
{
    source->InternalAddRef();
    return source->InternalRelease();
}

} // namespace

TEST(OleDataObject, ReadsEachTextFormatWithinItsBlock)
{
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(c.name);
        COleDataSource* source = SourceOf(c);
        COleDataObject data;
        data.Attach(source->GetInterface(), FALSE);
        EXPECT_EQ(c.hasText, data.IsTextAvailable());
        CString text = L"old";
        EXPECT_EQ(c.hasText, data.GetText(text));
        EXPECT_STREQ(c.text, text);
        data.Release();
        EXPECT_EQ(1u, RefsOf(source)); // the data object took no reference of its own
        source->InternalRelease();     // deletes it
    }
}

TEST(OleDataObject, GlobalDataIsACopyTheCallerOwns)
{
    COleDataSource source;
    ASSERT_TRUE(source.CacheText(L"桥梁 K2+000"));
    COleDataObject data;
    data.Attach(source.GetInterface(), FALSE);
    HGLOBAL ansi = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(nullptr, ansi);
    EXPECT_EQ(std::string("\xC7\xC5\xC1\xBA K2+000") + '\0',
              std::string((const char*)::GlobalLock(ansi), ::GlobalSize(ansi)));
    ::GlobalUnlock(ansi);
    ::GlobalFree(ansi);
    EXPECT_EQ(nullptr, data.GetGlobalData(CF_DIB));
    // The source still offers its own block.
    CString again;
    EXPECT_TRUE(data.GetText(again));
    EXPECT_STREQ(L"桥梁 K2+000", again);
}

// Copying into the caller's block: a block smaller than the data is refused
// and left as it was; a large enough one takes the data.
TEST(OleDataObject, ACopyIntoTheCallersBlockNeedsRoomForAllOfIt)
{
    COleDataSource source;
    ASSERT_TRUE(source.CacheText(L"桥梁 K2+000"));
    IDataObject* object = static_cast<IDataObject*>(source.GetInterface());
    const std::string expected = std::string("\xC7\xC5\xC1\xBA K2+000") + '\0';
    FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    for (SIZE_T size : {SIZE_T(1), expected.size() - 1, expected.size(), expected.size() + 8}) {
        SCOPED_TRACE(size);
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
        ASSERT_NE(nullptr, block);
        const SIZE_T room = ::GlobalSize(block);
        std::memset(::GlobalLock(block), 0xAB, room);
        ::GlobalUnlock(block);
        STGMEDIUM medium{};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = block;
        const HRESULT result = object->GetDataHere(&format, &medium);
        const std::string after(static_cast<const char*>(::GlobalLock(block)), room);
        ::GlobalUnlock(block);
        if (room < expected.size()) {
            EXPECT_EQ(STG_E_MEDIUMFULL, result);
            EXPECT_EQ(std::string(room, '\xAB'), after);
        } else {
            EXPECT_EQ(S_OK, result);
            EXPECT_EQ(expected, after.substr(0, expected.size()));
        }
        ::GlobalFree(block);
    }
}

TEST(OleDataObject, ClipboardRoundTripKeepsChineseText)
{
    ASSERT_TRUE(AfxOleInit());
    auto* source = new COleDataSource; // the clipboard takes it
    ASSERT_TRUE(source->CacheText(L"纵断面 K3+100.5"));
    ASSERT_TRUE(source->SetClipboard());
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    CString text;
    EXPECT_TRUE(data.GetText(text));
    EXPECT_STREQ(L"纵断面 K3+100.5", text);
    HGLOBAL ansi = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(nullptr, ansi);
    CString converted;
    EXPECT_TRUE(ClReadGlobalText(ansi, CF_TEXT, converted));
    EXPECT_STREQ(L"纵断面 K3+100.5", converted);
    ::GlobalFree(ansi);
}

TEST(OleDropTarget, TextInEachFormatDropsWithTheEffectTheKeysAsk)
{
    for (const TextCase& c : kTextCases) {
        if (!c.hasText) continue;
        SCOPED_TRACE(c.name);
        DropFixture f;
        COleDataSource source;
        for (auto& b : c.blocks) source.CacheGlobalData(b.first, BlockOf(b.second.data(), b.second.size()));
        IDropTarget* target = f.target.GetInterface();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, target->DragEnter(source.GetInterface(), MK_LBUTTON, f.At(5, 6), &effect));
        EXPECT_EQ(DROPEFFECT_MOVE, effect);
        EXPECT_GT(RefsOf(&source), 1u); // held while the drag is over the window
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, target->DragOver(MK_LBUTTON | MK_CONTROL, f.At(50, 60), &effect));
        EXPECT_EQ(DROPEFFECT_COPY, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, target->Drop(source.GetInterface(), MK_CONTROL, f.At(51, 61), &effect));
        EXPECT_EQ(DROPEFFECT_COPY, effect);
        EXPECT_EQ((std::vector<std::string>{"enter", "over", "drop"}), f.target.calls);
        EXPECT_EQ((std::vector<CPoint>{CPoint(5, 6), CPoint(50, 60), CPoint(51, 61)}), f.target.points);
        EXPECT_EQ(DROPEFFECT_COPY, f.target.droppedEffect);
        EXPECT_STREQ(c.text, f.target.dropped);
        EXPECT_EQ(1u, RefsOf(&source)); // released after the drop
    }
}

TEST(OleDropTarget, RefusedOrLeftDragsNeverDrop)
{
    struct Case {
        const char* name;
        bool text;
        DWORD allowed;
        DWORD keys;
        bool leave; // the drag leaves instead of dropping
        DROPEFFECT enterEffect;
        std::vector<std::string> calls;
    } cases[] = {
        {"no text: the drop is a leave", false, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, false, DROPEFFECT_NONE,
         {"enter", "leave"}},
        {"move not allowed becomes a copy", true, DROPEFFECT_COPY, 0, false, DROPEFFECT_COPY, {"enter", "drop"}},
        {"only a link allowed", true, DROPEFFECT_LINK, 0, false, DROPEFFECT_NONE, {"enter", "leave"}},
        {"the drag leaves", true, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, true, DROPEFFECT_MOVE, {"enter", "leave"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DropFixture f;
        COleDataSource source;
        if (c.text)
            source.CacheText(L"文本");
        else
            source.CacheGlobalData(CF_DIB, BlockOf("BM", 2));
        IDropTarget* target = f.target.GetInterface();
        DWORD effect = c.allowed;
        target->DragEnter(source.GetInterface(), c.keys, f.At(10, 10), &effect);
        EXPECT_EQ(c.enterEffect, effect);
        effect = DROPEFFECT_NONE;
        if (c.leave) {
            target->DragLeave();
        } else {
            effect = c.allowed;
            target->Drop(source.GetInterface(), c.keys, f.At(10, 10), &effect);
        }
        EXPECT_EQ(c.calls, f.target.calls);
        EXPECT_EQ(c.calls.back() == "drop" ? c.enterEffect : DROPEFFECT_NONE, effect);
        EXPECT_EQ(1u, RefsOf(&source));
    }
}

TEST(OleDropTarget, ScrollsAWindowWhileThePointRestsNearAnEdge)
{
    DropFixture f(WS_VSCROLL | WS_HSCROLL);
    f.target.m_nScrollDelay = 0;
    f.target.m_nScrollInterval = 0;
    CRect client;
    f.wnd.GetClientRect(&client);
    COleDataSource source;
    source.CacheText(L"文本");
    IDropTarget* target = f.target.GetInterface();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(source.GetInterface(), 0, f.At(50, 50), &effect);
    EXPECT_EQ(DROPEFFECT_MOVE, effect); // the middle: no scrolling, the target answers
    struct Case {
        CPoint point;
        DWORD keys;
        UINT code;
        DROPEFFECT effect;
    } cases[] = {
        {CPoint(50, 2), 0, SB_LINEUP, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
        {CPoint(50, client.bottom - 3), MK_CONTROL, SB_LINEDOWN, DROPEFFECT_SCROLL | DROPEFFECT_COPY},
        {CPoint(1, 50), 0, SB_LINELEFT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
        {CPoint(client.right - 1, 50), 0, SB_LINERIGHT, DROPEFFECT_SCROLL | DROPEFFECT_MOVE},
    };
    for (const Case& c : cases) {
        f.wnd.scrolls.clear();
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(c.keys, f.At(c.point.x, c.point.y), &effect);
        EXPECT_EQ(c.effect, effect);
        EXPECT_EQ(std::vector<UINT>{c.code}, f.wnd.scrolls);
    }
    // Only the middle asked the target; scrolling answers by itself.
    EXPECT_EQ(std::vector<std::string>{"enter"}, f.target.calls);
    target->DragLeave();
}

TEST(OleDropTarget, RegistrationEndsWithTheWindow)
{
    DropFixture f;
    CRecordingTarget second;
    EXPECT_FALSE(second.Register(&f.wnd)); // one target per window
    HWND hwnd = f.wnd.m_hWnd;
    EXPECT_EQ(hwnd, f.target.m_hWnd);
    f.wnd.DestroyWindow();
    EXPECT_EQ(nullptr, f.target.m_hWnd); // revoked while the window went
    EXPECT_FALSE(f.target.Register(&f.wnd));
    // A new window with the target again, and Revoke by hand.
    f.wnd.Create(nullptr, L"drop", WS_CHILD, CRect(0, 0, 10, 10), f.frame, 2);
    EXPECT_TRUE(f.target.Register(&f.wnd));
    f.target.Revoke();
    EXPECT_TRUE(second.Register(&f.wnd));
}

namespace {
class COleApp : public CWinApp
{
public:
    COleApp() : CWinApp(L"OLE测试") {}
    BOOL InitInstance() override { return AfxOleInit(); }
};

CString ClipboardUnicodeText()
{
    CString text;
    if (!::OpenClipboard(nullptr)) return L"(clipboard busy)";
    ClReadGlobalText(::GetClipboardData(CF_UNICODETEXT), CF_UNICODETEXT, text);
    ::CloseClipboard();
    return text;
}
} // namespace

TEST(OleStartAndEnd, TheApplicationStopsOleAndLeavesItsClipboardTextBehind)
{
    AfxOleTerm(); // from earlier tests of this program
    {
        COleApp app;
        ASSERT_TRUE(app.EnsureStarted());
        auto* source = new COleDataSource;
        source->CacheText(L"退出后仍在剪贴板");
        ASSERT_TRUE(source->SetClipboard());
        app.Shutdown();
    }
    TestFrame* frame = new TestFrame;
    COleDropTarget target;
    EXPECT_FALSE(target.Register(frame)); // OLE is no longer running
    frame->DestroyWindow();
    EXPECT_STREQ(L"退出后仍在剪贴板", ClipboardUnicodeText());
}

TEST(OleDragSource, ADragWithoutAHeldButtonDropsAtOnceWhereThePointerIs)
{
    // OLE's drag loop ends as soon as it sees no button held: over our
    // window, that is a drop there (with a button held the loop would follow
    // the mouse, which a test cannot do).
    ASSERT_TRUE(AfxOleInit());
    TestFrame* frame = new TestFrame(true);
    CDropWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, L"drop", WS_CHILD | WS_VISIBLE, CRect(20, 30, 220, 180), frame, 1));
    CRecordingTarget target;
    ASSERT_TRUE(target.Register(&wnd));
    CPoint pointer(100, 100);
    wnd.ClientToScreen(&pointer);
    ASSERT_TRUE(::SetCursorPos(pointer.x, pointer.y));
    PumpUntilIdle();
    auto* source = new COleDataSource;
    source->CacheText(L"拖动的文字");
    EXPECT_EQ(DROPEFFECT_MOVE, source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE));
    EXPECT_EQ((std::vector<std::string>{"enter", "drop"}), target.calls);
    EXPECT_STREQ(L"拖动的文字", target.dropped);
    EXPECT_EQ(1u, RefsOf(source)); // the caller's again
    source->InternalRelease();
    frame->DestroyWindow();
}
