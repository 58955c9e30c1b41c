// The question when the watch does not reload by itself: asked on the main
// thread while the worker goes on watching, answered in every way.
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "watch_support.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

using namespace watchtest;
using test_support::ScratchFolder;

namespace {

enum class Answer { Reload, Keep, RemovedWhileAsked, StoppedWhileAsked };

// The dialog's layout: the text as wide as its widest line, the dialog
// around it, the buttons centred.
void ExpectFittedLayout(CWnd* dialog, const CString& path)
{
    CWnd* text = dialog->GetDlgItem(IDC_FILEWATCH_TEXT);
    CRect textRect, okRect, cancelRect, client, window;
    text->GetWindowRect(&textRect);
    dialog->ScreenToClient(&textRect);
    dialog->GetDlgItem(IDOK)->GetWindowRect(&okRect);
    dialog->GetDlgItem(IDCANCEL)->GetWindowRect(&cancelRect);
    dialog->ScreenToClient(&okRect);
    dialog->ScreenToClient(&cancelRect);
    dialog->GetClientRect(&client);
    dialog->GetWindowRect(&window);

    CClientDC dc(text);
    CFont* old = dc.SelectObject(text->GetFont());
    const int pathWidth = dc.GetTextExtent(L"文件:" + path).cx;
    dc.SelectObject(old);
    EXPECT_GE(textRect.Width(), pathWidth) << "the path line is cut";
    EXPECT_GE(window.Width(), textRect.right + 20) << "the dialog is narrower than its text";
    EXPECT_NEAR(client.Width() / 2, (okRect.left + cancelRect.right) / 2, 1) << "buttons not centred";
    EXPECT_EQ(okRect.top, cancelRect.top);
}

} // namespace

TEST(FileWatchQuestion, AskedOnTheMainThreadWhileTheWatcherGoesOn)
{
    const struct {
        const char* what;
        Answer answer;
        bool reported;
    } cases[] = {
        {"OK reloads", Answer::Reload, true},
        {"Cancel keeps the file as shown", Answer::Keep, false},
        {"the watch removed while asked", Answer::RemovedWhileAsked, false},
        {"the watcher stopped while asked", Answer::StoppedWhileAsked, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"question");
        Receiver receiver;
        const CString path = folder / L"很长的道路名称_K0+000至K12+500段_纵断面地面线数据.dmx";
        Touch(path);
        Watches watches;
        const DWORD id = watches.Add(AddFileWatch(path, receiver.Hwnd(), nullptr));
        BOOL ask = FALSE;
        SetFileWatchOption(id, &ask);
        Sentinel sentinel(receiver, folder / L"sentinel.txt");

        Touch(path);
        int sentinelBefore = 0;
        CString caption, message;
        wintest::DialogScript script;
        script
            .Then([&](CWnd* dialog) {
                dialog->GetWindowText(caption);
                message = wintest::GetText(dialog, IDC_FILEWATCH_TEXT);
                ExpectFittedLayout(dialog, path);
                if (c.answer == Answer::Reload) wintest::CaptureWindow(dialog).SaveBmp(L"filewatch_question.bmp");
                // Another change while the question is up.
                sentinelBefore = receiver.CountFor(sentinel.Id());
                Touch(folder / L"sentinel.txt");
            })
            .ThenWhen([&] { return receiver.CountFor(sentinel.Id()) > sentinelBefore; },
                      [&](CWnd* dialog) {
                          if (c.answer == Answer::RemovedWhileAsked) RemoveFileWatch(id);
                          if (c.answer == Answer::StoppedWhileAsked) StopFileWatchThread();
                          wintest::Press(dialog, c.answer == Answer::Keep ? IDCANCEL : IDOK);
                      });
        ASSERT_TRUE(PumpUntil([&] { return script.DialogsSeen() == 1 && !script.StepsLeft(); }));
        wintest::PumpUntilIdle();
        EXPECT_TRUE(script.Unscripted().empty()) << "the worker did not go on while the question was up";
        EXPECT_EQ(kBriskoCaption, caption);
        EXPECT_EQ(L"文件:" + path + L"\n\n其他程序修改了该文件. 是否重新加载?", message);

        if (c.answer == Answer::StoppedWhileAsked) {
            EXPECT_FALSE(IsFileWatchThreadRunning());
            CString known;
            EXPECT_FALSE(GetFileWatchPath(id, known)) << "stopping forgets every watch";
        } else {
            // The answered change is not asked again.
            ASSERT_TRUE(sentinel.Flush());
            ASSERT_TRUE(sentinel.Flush());
            EXPECT_EQ(1, script.DialogsSeen());
        }
        EXPECT_EQ(c.reported ? 1 : 0, receiver.CountFor(id));
        if (const Notice* notice = receiver.Find(id)) {
            EXPECT_TRUE(notice->known);
            EXPECT_EQ(path, notice->path);
        }
    }
}
