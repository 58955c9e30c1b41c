// The texts other programs send the main frame by WM_COPYDATA: information
// lines, the change of the current road, and paths to open; each read
// within its byte count.
#include "shell_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/project/TavixInterface.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <string>

using namespace shell_test;

namespace {

// Sends `chars` wide characters of the text (zero-filled past its end) with
// `bytes` as the byte count; a null text sends no data at all.
LRESULT SendCopyData(const wchar_t* text, size_t chars, DWORD bytes)
{
    std::wstring buffer(chars, L'\0');
    if (text) buffer.replace(0, std::min(wcslen(text), chars), text, std::min(wcslen(text), chars));
    COPYDATASTRUCT copy = {0, bytes, text ? &buffer[0] : nullptr};
    return theApp.m_pMainWnd->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

// As the library sends them: zero-filled buffers of a fixed size.
LRESULT SendPrint(const CString& text) { return SendCopyData(text, 4096, 4096 * 2); }
LRESULT SendRoadChange(const CString& text) { return SendCopyData(text, 256, 256 * 2); }

CString LastLine()
{
    std::vector<CString> lines = InfoLines();
    return lines.empty() ? CString(L"<none>") : lines.back();
}

// Marks the end of the log, so that a test can tell that nothing was
// printed after it (the log keeps a limited number of lines).
void PrintMark() { SendPrint(L"TAVIX_PRINTF:<标记>"); }
bool NothingPrintedSinceMark() { return LastLine() == L"<标记>"; }

class CopyDataTest : public ::testing::Test
{
protected:
    void SetUp() override { StartProgram(); }
};

} // namespace

TEST_F(CopyDataTest, InformationLinesArePrintedAsSent)
{
    const struct {
        const wchar_t* sent;
        const wchar_t* printed;
    } cases[] = {
        {L"TAVIX_PRINTF:纵断面数据已更新, 共 12 个变坡点", L"纵断面数据已更新, 共 12 个变坡点"},
        {L"TAVIX_PRINTF:", L""},
        {L"TAVIX_PRINTF:%s %d %%", L"%s %d %%"}, // printed, not formatted again
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TRUE, SendPrint(c.sent)) << Utf8(c.sent);
        EXPECT_EQ(CString(c.printed), LastLine()) << Utf8(c.sent);
    }
}

TEST_F(CopyDataTest, TextIsReadWithinItsByteCount)
{
    // No terminator inside the byte count: only the counted characters.
    SendCopyData(L"TAVIX_PRINTF:ABCDEF", 19, 16 * 2);
    EXPECT_EQ(CString(L"ABC"), LastLine());
    SendCopyData(L"TAVIX_PRINTF:ABCDEF", 19, 16 * 2 + 1); // an odd byte does not count
    EXPECT_EQ(CString(L"ABC"), LastLine());
    // Nothing to read: no line, nothing opened.
    const CString pending = theApp.m_SPendingProject;
    PrintMark();
    SendCopyData(nullptr, 0, 64);
    SendCopyData(L"TAVIX_PRINTF:x", 14, 0);
    SendCopyData(L"TAVIX_PRINTF:x", 14, 1);
    EXPECT_TRUE(NothingPrintedSinceMark());
    EXPECT_EQ(pending, theApp.m_SPendingProject);
}

TEST_F(CopyDataTest, LongLinesArePrintedWhole)
{
    // The library sends up to 4,082 characters after the prefix.
    CString longText;
    for (int i = 0; i < 4082; ++i) longText.AppendChar(static_cast<wchar_t>(L'0' + i % 10));
    SendPrint(L"TAVIX_PRINTF:" + longText);
    EXPECT_EQ(longText, LastLine());

    // Characters outside the basic plane, wherever they fall.
    CString pairs = longText.Left(254) + L"\U00020000" + L"尾";
    SendPrint(L"TAVIX_PRINTF:" + pairs);
    EXPECT_EQ(pairs, LastLine());
}

TEST_F(CopyDataTest, RoadChanges)
{
    MessageBoxScript boxes;
    const CString epj = ProjectFolder() + L"\\" + kProjectName + L".EPJ";
    PrintMark();

    // The road that is current already: nothing happens.
    EXPECT_EQ(TRUE, SendRoadChange(ClFormat(L"SETCURPRJ:%s|SETCURROAD:%s", kProjectName, kMainRoad)));
    // Without the road part the text is no road change.
    EXPECT_EQ(TRUE, SendRoadChange(L"SETCURPRJ:演示 项目"));
    EXPECT_EQ(TRUE, SendRoadChange(L"SETCURPRJ:演示 项目|SETCURRAOD:匝道 A"));
    EXPECT_EQ(0, theApp.m_CurProject.m_iCurRoad);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(NothingPrintedSinceMark());

    // A road the project does not have (whatever the project part says).
    SendRoadChange(L"SETCURPRJ:别的项目|SETCURROAD:不存在的道路");
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"道路[不存在的道路]不在当前项目列表中!"), boxes.LastText());
    EXPECT_EQ(0, theApp.m_CurProject.m_iCurRoad);

    // Another road of the project becomes current and the project is saved.
    SendRoadChange(ClFormat(L"SETCURPRJ:别的项目|SETCURROAD:%s", kRampRoad));
    EXPECT_EQ(1, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(CString(kRampRoad), tkx_GetWorkSpace().m_SCurRoadName);
    EXPECT_EQ(ProjectFolder() + L"\\" + kRampRoad, theApp.m_SWorkingDirectory);
    tkxProject saved;
    ASSERT_EQ(1, saved.Load(epj));
    EXPECT_EQ(1, saved.m_iCurRoad);
    EXPECT_EQ(CString(L"来自外部程序操作: 修改当前道路为匝道 A"), LastLine());

    // And back.
    SendRoadChange(ClFormat(L"SETCURPRJ:%s|SETCURROAD:%s", kProjectName, kMainRoad));
    EXPECT_EQ(0, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(CString(kMainRoad), tkx_GetWorkSpace().m_SCurRoadName);
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST_F(CopyDataTest, PathsOfExistingFilesAreOpened)
{
    const CString epj = ProjectFolder() + L"\\" + kProjectName + L".EPJ";
    theApp.m_SPendingProject.Empty();
    for (const CString& ignored : {ProjectFolder() + L"\\没有的文件.EPJ", ProjectFolder(), CString(L"随便什么文字")}) {
        SendCopyData(ignored, 512, 1024);
        EXPECT_TRUE(theApp.m_SPendingProject.IsEmpty()) << Utf8(ignored);
    }
    // A project file goes to the frame as the project to open.
    SendCopyData(epj, 512, 1024);
    EXPECT_EQ(epj, theApp.m_SPendingProject);
}
