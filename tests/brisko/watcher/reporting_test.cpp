// What the watcher reports: changes by other programs, once; not the
// program's own save; folder watches; watches that cannot be made; the
// document's first view as receiver.
#include "watch_support.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

using namespace watchtest;
using test_support::ScratchFolder;

TEST(FileWatchReports, AChangeByAnotherProgramOnceWithTheWatchIdAndNoUnwatchedFile)
{
    ScratchFolder folder(L"other_program");
    Receiver receiver;
    const CString road = folder / L"road.dl";
    Touch(road);
    Watches watches;
    const DWORD id = watches.Add(WatchFor(receiver, road));
    ASSERT_NE(0u, id);
    Sentinel sentinel(receiver, folder / L"sentinel.txt");

    ASSERT_TRUE(ChangeFromOtherProgram(road));
    ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(id) > 0; })) << "the change was not reported";
    Touch(folder / L"unwatched.txt");
    ASSERT_TRUE(sentinel.Flush());

    EXPECT_EQ(1, receiver.CountFor(id));
    EXPECT_EQ(2, receiver.Count()) << "only the file and the sentinel report";
    const Notice& notice = receiver.Notices().front();
    EXPECT_EQ(0u, notice.data);
    EXPECT_TRUE(notice.known);
    EXPECT_EQ(road, notice.path);
}

TEST(FileWatchReports, NotTheProgramsOwnSaveButTheNextChangeByAnotherProgram)
{
    ScratchFolder folder(L"own_save");
    Receiver receiver;
    const CString data = folder / L"road.dmx";
    Touch(data);
    Watches watches;
    const DWORD before = WatchFor(receiver, data);
    ASSERT_NE(0u, before);
    Sentinel sentinel(receiver, folder / L"sentinel.txt");

    // A save: the watch goes, the file is written, the watch comes back
    // with the new time.
    RemoveFileWatch(before);
    Touch(data);
    const DWORD after = watches.Add(WatchFor(receiver, data));
    ASSERT_GT(after, before) << "ids are never reused";
    ASSERT_TRUE(sentinel.Flush());
    EXPECT_EQ(0, receiver.CountFor(before));
    EXPECT_EQ(0, receiver.CountFor(after));

    ASSERT_TRUE(ChangeFromOtherProgram(data));
    ASSERT_TRUE(sentinel.Flush());
    EXPECT_EQ(1, receiver.CountFor(after));
}

TEST(FileWatchReports, EveryChangeInAWatchedFolder)
{
    ScratchFolder folder(L"folder_watch");
    Receiver receiver;
    Watches watches;
    const CString path = folder.Path() + L"\\";
    const DWORD id = watches.Add(WatchFor(receiver, path));
    ASSERT_NE(0u, id);

    Touch(folder / L"new.txt");
    ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(id) > 0; }));
    EXPECT_EQ(path, receiver.Notices().back().path);
    const int seen = receiver.CountFor(id);
    ::DeleteFileW(folder / L"new.txt");
    ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(id) > seen; }));
}

TEST(FileWatchReports, NothingForWatchesThatCannotBeMade)
{
    ScratchFolder folder(L"refused");
    Receiver receiver;
    const struct {
        const wchar_t* what;
        CString path;
    } cases[] = {
        {L"a missing file", folder / L"missing.dl"},
        {L"a missing folder", folder / L"missing\\"},
        {L"a file of a missing folder", folder / L"missing\\road.dl"},
        {L"an empty path", CString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test_support::Utf8(c.what));
        const DWORD id = AddFileWatch(c.path, receiver.Hwnd(), nullptr);
        EXPECT_EQ(0u, id);
        CString path;
        EXPECT_FALSE(GetFileWatchPath(id, path));
        EXPECT_FALSE(IsFileWatchThreadRunning()) << "nothing recorded, nothing to wait on";
    }
    AddFileWatch(nullptr, receiver.Hwnd(), nullptr);
    EXPECT_FALSE(IsFileWatchThreadRunning());
}

namespace {

class RecordingView : public CView, public NoticeLog
{
public:
    LRESULT OnFileWatchNotify(WPARAM wParam, LPARAM lParam)
    {
        Record(wParam, lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingView, CView)
    ON_REGISTERED_MESSAGE(GetFileWatchMessage(), OnFileWatchNotify)
END_MESSAGE_MAP()

RecordingView* MakeView(CWnd* frame, CDocument& document)
{
    auto* view = new RecordingView;
    view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), frame, AFX_IDW_PANE_FIRST);
    document.AddView(view);
    return view;
}

} // namespace

TEST(FileWatchReports, ADocumentsChangeToItsFirstViewAndNowhereWithoutOne)
{
    ScratchFolder folder(L"document");
    Receiver receiver;
    auto* frame = new wintest::TestFrame;
    CDocument document;
    document.m_bAutoDelete = FALSE;
    RecordingView* first = MakeView(frame, document);
    RecordingView* second = MakeView(frame, document);
    CDocument viewless;
    viewless.m_bAutoDelete = FALSE;

    const CString shown = folder / L"shown.hdx";
    const CString hidden = folder / L"hidden.hdx";
    Touch(shown);
    Touch(hidden);
    BOOL reload = TRUE;
    Watches watches;
    const DWORD shownId = watches.Add(AddFileWatch(shown, receiver.Hwnd(), &document));
    const DWORD hiddenId = watches.Add(AddFileWatch(hidden, receiver.Hwnd(), &viewless));
    SetFileWatchOption(shownId, &reload);
    SetFileWatchOption(hiddenId, &reload);
    Sentinel sentinel(receiver, folder / L"sentinel.txt");

    Touch(shown);
    Touch(hidden);
    ASSERT_TRUE(PumpUntil([&] { return first->CountFor(shownId) > 0; }));
    ASSERT_TRUE(sentinel.Flush());
    EXPECT_EQ(1, first->CountFor(shownId));
    EXPECT_EQ(0, second->Count());
    EXPECT_EQ(1, receiver.Count()) << "only the sentinel: a document's window is its view";
    EXPECT_EQ(shown, first->Notices().front().path);

    watches.Clear();
    document.RemoveView(first);
    document.RemoveView(second);
    frame->DestroyWindow();
}
