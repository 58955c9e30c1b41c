// The library's application object: "TvComment.ini", start-up on an empty
// and on a seeded hive, the workspace snapshot, the status-bar seam, and the
// senders to the suite status bars in CAD hosts (against the stand-in host).
#include "corvane/project/RegistryLists.h"
#include "corvane/project/TavixDevApp.h"
#include "store_support.h"
#include "support/MessageBoxScript.h"
#include <algorithm>
#include <tlhelp32.h>

using namespace store_test;
using namespace Tavix4;

namespace {

const wchar_t kBriskoKey[] = L"SOFTWARE\\TavixSuite\\Brisko";

// Writes a comment file as the suite does: 8-bit text in code page 936.
CString CommentFile(const ScratchFolder& folder, const wchar_t* text)
{
    CString path = folder / L"TvComment.ini";
    WriteBytes(path, ClWideToMultiByte(text, -1, 936));
    return path;
}

std::vector<CString> Extensions(const CTavixDevApp& app)
{
    std::vector<CString> exts;
    for (const sFileStyle& style : app.m_FileStyles) exts.push_back(style.m_SExt);
    return exts;
}

// The records of a host that match a data word, in order.
std::vector<std::string> StatusRecords(const CadHost& host)
{
    std::vector<std::string> out;
    for (const std::string& line : host.Records())
        if (line.rfind("STATUSBAR ", 0) == 0) out.push_back(line);
    return out;
}

std::string StatusRecord(int word, const wchar_t* text)
{
    return "STATUSBAR " + std::to_string(word) + " 1024 " + ToHex(WideBuffer(text, 1024));
}

// The found windows that belong to the given processes, in the found order.
std::vector<DWORD> OwnersAmong(const HWND* windows, int count, std::initializer_list<DWORD> processes)
{
    std::vector<DWORD> owners;
    for (int i = 0; i < count; ++i) {
        DWORD pid = 0;
        GetWindowThreadProcessId(windows[i], &pid);
        if (std::find(processes.begin(), processes.end(), pid) != processes.end()) owners.push_back(pid);
    }
    return owners;
}

CString TitleOf(HWND window)
{
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

} // namespace

// ---------------------------------------------------------------------------
// "TvComment.ini"

TEST(CommentFile, TypeBlocksTakeTheCommentLinesAfterTheirMarker)
{
    ScratchFolder folder(L"tvc_blocks");
    CString file = CommentFile(folder, L"//文件说明, 不属于任何类型\r\n"
                                       L"  //也不属于\r\n"
                                       L"$$$桩号断链文件(*.DL)0Ext:DL\r\n"
                                       L"//断链行\r\n"
                                       L"\r\n"
                                       L"   //前链 后链   \r\n"
                                       L"不是注释\r\n"
                                       L"$$$地面线 1Ext:DMX\r\n"
                                       L"$$$长扩展名2Ext:ABCDEF\r\n"
                                       L"//最后一行\r\n");
    CTavixDevApp app;
    ASSERT_EQ(1, app.ReadCommentFile(file));
    ASSERT_EQ(3, app.m_FileStyles.GetSize());
    const sFileStyle& dl = app.m_FileStyles[0];
    EXPECT_EQ(CString(L"桩号断链文件(*.DL)"), dl.m_STypeName);
    EXPECT_EQ(CString(L"DL"), dl.m_SExt);
    EXPECT_EQ(0, dl.m_nNumber);
    EXPECT_EQ(CString(L"//断链行\n//前链 后链\n"), dl.m_SComment);
    // The blank before the digit stays part of the name.
    EXPECT_EQ(CString(L"地面线 "), app.m_FileStyles[1].m_STypeName);
    EXPECT_EQ(1, app.m_FileStyles[1].m_nNumber);
    EXPECT_EQ(CString(L"DMX"), app.m_FileStyles[1].m_SExt);
    EXPECT_TRUE(app.m_FileStyles[1].m_SComment.IsEmpty());
    EXPECT_EQ(CString(L"ABC"), app.m_FileStyles[2].m_SExt);
    EXPECT_EQ(2, app.m_FileStyles[2].m_nNumber);
    EXPECT_EQ(CString(L"//最后一行\n"), app.m_FileStyles[2].m_SComment);
}

TEST(CommentFile, MalformedMarkerLinesAreSkipped)
{
    ScratchFolder folder(L"tvc_malformed");
    CString file = CommentFile(folder, L"$$$好的(*.ST)0Ext:ST\r\n"
                                       L"//一\r\n"
                                       L"$$$没有扩展名标记\r\n"
                                       L"$$$Ext:DL\r\n"
                                       L"$$Ext:\r\n"
                                       L"//二\r\n"
                                       L"###没有标记\r\n"
                                       L"###内部Ext:\r\n"
                                       L"###内部Ext:EPJ\r\n"
                                       L"$$$1Ext:X\r\n");
    CTavixDevApp app;
    ASSERT_EQ(1, app.ReadCommentFile(file));
    ASSERT_EQ(2, app.m_FileStyles.GetSize());
    EXPECT_EQ(CString(L"//一\n//二\n"), app.m_FileStyles[0].m_SComment);
    // The shortest well-formed marker: empty name, digit 1, extension X.
    EXPECT_TRUE(app.m_FileStyles[1].m_STypeName.IsEmpty());
    EXPECT_EQ(1, app.m_FileStyles[1].m_nNumber);
    EXPECT_EQ(CString(L"X"), app.m_FileStyles[1].m_SExt);
    ASSERT_EQ(1, app.m_SInternalExts.GetSize());
    EXPECT_EQ(CString(L"EPJ"), app.m_SInternalExts[0]);
}

// Lines end as in the data files: at LF, CR LF or a lone CR (a CR LF split
// by nothing in between is one end); a line holding a zero byte is passed
// over and the lines after it are read.
TEST(CommentFile, LinesEndAtEveryLineEndAndBadLinesArePassedOver)
{
    ScratchFolder folder(L"tvc_line_ends");
    const CString path = folder / L"TvComment.ini";
    const std::string zeroLine = ClWideToMultiByte(L"//坏", -1, 936) + std::string(1, '\0') + "x\r\n";
    WriteBytes(path, ClWideToMultiByte(L"$$$断链(*.DL)0Ext:DL\r//一\r//二\r\n", -1, 936) + zeroLine +
                         ClWideToMultiByte(L"$$$地面线(*.DMX)1Ext:DMX\n//三\r###内部Ext:EPJ\r\r[设计参考文档]\r"
                                           L"1 规范 A.CHM a.htm",
                                           -1, 936));
    CTavixDevApp app;
    ASSERT_EQ(1, app.ReadCommentFile(path));
    ASSERT_EQ(2, app.m_FileStyles.GetSize());
    EXPECT_EQ(CString(L"DL"), app.m_FileStyles[0].m_SExt);
    EXPECT_EQ(CString(L"//一\n//二\n"), app.m_FileStyles[0].m_SComment);
    EXPECT_EQ(CString(L"DMX"), app.m_FileStyles[1].m_SExt);
    EXPECT_EQ(CString(L"//三\n"), app.m_FileStyles[1].m_SComment);
    ASSERT_EQ(1, app.m_SInternalExts.GetSize());
    EXPECT_EQ(CString(L"EPJ"), app.m_SInternalExts[0]);
    ASSERT_EQ(1, app.m_ReferenceDocs.GetSize());
    EXPECT_EQ(CString(L"a.htm"), app.m_ReferenceDocs[0].m_STopic);
}

TEST(CommentFile, ReferenceDocumentsNeedExactlyFourFields)
{
    ScratchFolder folder(L"tvc_refs");
    CString file = CommentFile(folder, L"1 不在段内 A.CHM a.htm\r\n"
                                       L"[设计参考文档]\r\n"
                                       L"1 公路设计规范 NULL NULL\r\n"
                                       L"2 三个字段 A.CHM\r\n"
                                       L"2 五个 字段 A.CHM a.htm\r\n"
                                       L"3,路线规范,\tB.CHM, b.htm\r\n");
    CTavixDevApp app;
    EXPECT_EQ(0, app.ReadCommentFile(file)) << "no file type";
    ASSERT_EQ(2, app.m_ReferenceDocs.GetSize());
    EXPECT_EQ(1, app.m_ReferenceDocs[0].m_nLevel);
    EXPECT_EQ(CString(L"公路设计规范"), app.m_ReferenceDocs[0].m_STitle);
    EXPECT_EQ(CString(L"NULL"), app.m_ReferenceDocs[0].m_SFileName);
    EXPECT_EQ(3, app.m_ReferenceDocs[1].m_nLevel);
    EXPECT_EQ(CString(L"路线规范"), app.m_ReferenceDocs[1].m_STitle);
    EXPECT_EQ(CString(L"B.CHM"), app.m_ReferenceDocs[1].m_SFileName);
    EXPECT_EQ(CString(L"b.htm"), app.m_ReferenceDocs[1].m_STopic);
}

TEST(CommentFile, MissingFileEmptiesTheTables)
{
    ScratchFolder folder(L"tvc_missing");
    CTavixDevApp app;
    ASSERT_EQ(1, app.ReadCommentFile(CommentFile(folder, L"$$$A(*.A)0Ext:A\r\n###Ext:B\r\n[设计参考文档]\r\n1 a b c\r\n")));
    EXPECT_EQ(0, app.ReadCommentFile(folder / L"none.ini"));
    EXPECT_TRUE(app.m_FileStyles.IsEmpty());
    EXPECT_TRUE(app.m_SInternalExts.IsEmpty());
    EXPECT_TRUE(app.m_ReferenceDocs.IsEmpty());
}

TEST(CommentFile, ShippedFileHoldsTheSuitesTwentyNineTypes)
{
    CTavixDevApp app;
    ASSERT_EQ(1, app.ReadCommentFile(BinFolder() + L"\\TvComment.ini"));
    const std::vector<CString> expected = {L"FD",  L"DL",  L"HDM", L"CG",  L"GZW", L"ST",  L"JDX", L"JD",
                                           L"ICD", L"ZBD", L"INF", L"BSD", L"SQX", L"DMX", L"KZD", L"TYP",
                                           L"DGK", L"JGS", L"BZ",  L"JGC", L"HDX", L"BTG", L"TSB", L"LLB",
                                           L"HJJ", L"ZDK", L"ARE", L"QL",  L"WTJ"};
    EXPECT_EQ(expected, Extensions(app));
    for (const sFileStyle& style : app.m_FileStyles) {
        // "<description>(*.<EXT>)", a group, and format lines to insert.
        EXPECT_GE(style.m_STypeName.Find(L"(*." + style.m_SExt + L")"), 1) << Utf8(style.m_STypeName);
        EXPECT_TRUE(style.m_nNumber == 9 || (style.m_nNumber >= 0 && style.m_nNumber <= 3));
        EXPECT_EQ(0, style.m_SComment.Find(L"//TAVIX")) << Utf8(style.m_STypeName);
        EXPECT_EQ(L'\n', style.m_SComment[style.m_SComment.GetLength() - 1]);
    }
    EXPECT_EQ(CString(L"桩号断链文件(*.DL)"), app.m_FileStyles[1].m_STypeName);
    EXPECT_EQ(0, app.m_FileStyles[20].m_SComment.Find(L"//TAVIX横断面地面线文件(*.HDX)\n//"));
    EXPECT_EQ(4, app.m_SInternalExts.GetSize());
    ASSERT_GE(app.m_ReferenceDocs.GetSize(), 4);
    for (const sReferenceDoc& doc : app.m_ReferenceDocs) {
        EXPECT_TRUE(doc.m_nLevel >= 1 && doc.m_nLevel <= 5);
        EXPECT_EQ(doc.m_SFileName == L"NULL", doc.m_STopic == L"NULL") << Utf8(doc.m_STitle);
    }
    EXPECT_EQ(CString(L"公路设计规范"), app.m_ReferenceDocs[0].m_STitle);
}

// ---------------------------------------------------------------------------
// Start-up, shutdown and the workspace

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteRegTree(kBriskoKey);
        DeleteFileW(Comment());
    }
    void TearDown() override
    {
        DeleteRegTree(kBriskoKey);
        DeleteFileW(Comment());
    }
    static CString Comment() { return SuiteDocumentFolder() + L"\\TvComment.ini"; }

    MessageBoxScript boxes;
};

TEST_F(StartUp, EmptyHiveGivesEmptyState)
{
    CTavixDevApp app;
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(-1, app.m_iCurPrj);
    EXPECT_EQ(-1, app.m_iCurTB);
    EXPECT_TRUE(app.m_SPrjNames.IsEmpty());
    EXPECT_TRUE(app.m_STBNames.IsEmpty());
    EXPECT_TRUE(app.m_CurProject.m_SName.IsEmpty());
    EXPECT_TRUE(app.m_CurTBase.m_SName.IsEmpty());
    EXPECT_TRUE(app.m_FileStyles.IsEmpty());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(0, app.ExitInstance());
}

TEST_F(StartUp, SeededHiveLoadsTheCurrentProjectLibraryAndTypes)
{
    ScratchFolder folder(L"startup");
    tkxProject project;
    project.m_SName = L"Seeded";
    project.m_SPath = folder.Path();
    Tavix4::sRoadInfo road;
    road.m_SRoadName = L"主线";
    project.m_Roads.Add(road);
    project.m_iCurRoad = 0;
    ASSERT_EQ(1, project.Save());
    tkxTemplateBase library;
    library.m_SName = L"Lib";
    library.m_SPath = folder.Path();
    library.m_STemplates.Add(L"A.TYP");
    ASSERT_EQ(1, library.Save());
    SetRegString(L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo", L"PrjName0", L"Seeded");
    SetRegString(L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo", L"PrjPath0", folder.Path());
    SetRegDword(L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo", L"CurrentPrj", 0);
    SetRegString(L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo", L"TBName0", L"Lib");
    SetRegString(L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo", L"TBPath0", folder.Path());
    SetRegDword(L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo", L"CurrentTempBase", 0);
    ASSERT_TRUE(CopyFileW(BinFolder() + L"\\TvComment.ini", Comment(), FALSE));

    CTavixDevApp app;
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(0, app.m_iCurPrj);
    EXPECT_EQ(CString(L"Seeded"), app.m_CurProject.m_SName);
    EXPECT_EQ(CString(L"主线"), app.m_CurProject.GetCurRoadName());
    EXPECT_EQ(0, app.m_iCurTB);
    ASSERT_EQ(1, app.m_CurTBase.m_STemplates.GetSize());
    EXPECT_EQ(29, app.m_FileStyles.GetSize());
    EXPECT_TRUE(boxes.Shown().empty());

    sWorkSpace ws = app.GetWorkSpace();
    EXPECT_EQ(CString(L"Seeded"), ws.m_SPrjName);
    EXPECT_EQ(folder.Path(), ws.m_SPrjPath);
    EXPECT_EQ(CString(L"主线"), ws.m_SCurRoadName);
    EXPECT_EQ(folder / L"主线", ws.m_SCurRoadPath);
    EXPECT_EQ(CString(L"Lib"), ws.m_STBName);
    EXPECT_EQ(0, ws.m_iCurPrj);
    EXPECT_EQ(0, ws.m_iCurTB);
    EXPECT_EQ(CString(L"初步设计"), ws.m_SStage);
}

TEST(WorkSpace, SnapshotCopiesTheCurrentState)
{
    sWorkSpace fresh;
    EXPECT_TRUE(fresh.m_SPrjName.IsEmpty());
    EXPECT_EQ(6, fresh.m_sPrjSetting0.m_iPrecision_A);
    EXPECT_EQ(5.0, fresh.m_sPrjSetting2.m_rLength);

    CTavixDevApp app;
    app.m_CurProject.m_SName = L"P";
    app.m_CurProject.m_SPath = L"D:\\P";
    app.m_CurProject.m_iClimate = 1;
    app.m_CurProject.m_iLandform = 3;
    app.m_CurProject.m_iPrjType = 2;
    app.m_CurProject.m_SCreateDate = L"2010年1月1日";
    app.m_CurProject.m_iReserve = 4;
    app.m_CurProject.m_rReserve1 = 0.5;
    app.m_CurProject.m_rReserve2 = 8.0;
    app.m_CurProject.m_sPrjSetting0.m_iPrecision_XY = 4;
    app.m_CurProject.m_sPrjSetting1.SetEnglishLabels();
    app.m_CurTBase.m_SDescription = L"描述";
    app.m_CurTBase.m_SCreateDate = L"今天";
    app.m_iCurPrj = 3;
    app.m_iCurTB = 1;
    sWorkSpace ws = app.GetWorkSpace();
    EXPECT_TRUE(ws.m_SCurRoadName.IsEmpty());
    EXPECT_EQ(CString(L"D:\\P"), ws.m_SCurRoadPath);
    EXPECT_EQ(1, ws.m_iClimate);
    EXPECT_EQ(3, ws.m_iLandform);
    EXPECT_EQ(2, ws.m_iPrjType);
    EXPECT_EQ(CString(L"2010年1月1日"), ws.m_SCreateDate);
    EXPECT_EQ(4, ws.m_iReserve);
    EXPECT_EQ(0.5, ws.m_rReserve1);
    EXPECT_EQ(8.0, ws.m_rReserve2);
    EXPECT_EQ(4, ws.m_sPrjSetting0.m_iPrecision_XY);
    EXPECT_EQ(CString(L"CM"), ws.m_sPrjSetting1.m_SQZ);
    EXPECT_EQ(10.0, ws.m_sPrjSetting2.m_rLength);
    EXPECT_EQ(CString(L"描述"), ws.m_STBDescription);
    EXPECT_EQ(CString(L"今天"), ws.m_STBCreateDate);
    EXPECT_EQ(3, ws.m_iCurPrj);
    EXPECT_EQ(1, ws.m_iCurTB);
}

TEST(LibraryApp, StartsOnFirstUseAndMakesNoStatusBarWithoutAFrame)
{
    CTavixDevApp& app = TavixDevApp();
    EXPECT_TRUE(app.IsStarted());
    EXPECT_EQ(&app, &TavixDevApp());
    // Without a frame no bar can be made: the failure is reported and
    // nothing is held, time after time.
    MessageBoxScript boxes;
    EXPECT_EQ(0, app.CreateStatusBar(nullptr));
    EXPECT_EQ(0, app.CreateStatusBar(nullptr));
    EXPECT_EQ(nullptr, app.m_pStatusBar);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_STREQ(L"\n无法创建TAVIX3状态栏!", boxes.LastText());
    app.DestroyStatusBar();
    EXPECT_EQ(nullptr, app.m_pStatusBar);
}

// ---------------------------------------------------------------------------
// Status bars in CAD hosts

TEST(CadStatusBars, SendersReachTheBarWithTheirPayloads)
{
    CadHost host(L"--statusbar", L"bar");
    ASSERT_TRUE(host.Ready());
    CTavixDevApp& app = TavixDevApp();
    app.SendProjectAndRoad(L"项目甲", L"主线");
    app.SendRoadName(L"匝道");
    app.SendMeshName(L"数模1");

    std::vector<std::string> records = StatusRecords(host);
    std::vector<std::string> expected = {StatusRecord(1, L"项目甲"), StatusRecord(2, L"主线"),
                                         StatusRecord(2, L"匝道"), StatusRecord(3, L"数模1")};
    auto at = std::search(records.begin(), records.end(), expected.begin(), expected.end());
    EXPECT_NE(records.end(), at) << records.size() << " records";
}

TEST(CadStatusBars, LongTextsAreCutAndTerminated)
{
    CadHost host(L"--statusbar", L"bar_long");
    ASSERT_TRUE(host.Ready());
    CString longName(L'长', 600);
    TavixDevApp().SendMeshName(longName);
    std::vector<std::string> records = StatusRecords(host);
    // 511 characters, then the terminator and nothing else in 1,024 bytes.
    std::string expected = StatusRecord(3, CString(L'长', 511));
    EXPECT_NE(records.end(), std::find(records.begin(), records.end(), expected));
    for (const std::string& line : records) EXPECT_EQ(std::string::npos, line.find(" 1026 "));
}

TEST(CadStatusBars, BarNestedInAWindowOfItsTitleIsFound)
{
    CadHost host(L"--nested", L"bar_nested");
    ASSERT_TRUE(host.Ready());
    TavixDevApp().SendRoadName(L"内层");
    std::vector<std::string> records = StatusRecords(host);
    EXPECT_NE(records.end(), std::find(records.begin(), records.end(), StatusRecord(2, L"内层")));
}

TEST(CadStatusBars, OneBarPerHostInProcessOrder)
{
    CadHost first(L"--statusbar", L"bar_one");
    CadHost second(L"--statusbar --sheetset", L"bar_two");
    CadHost plain(L"--sheetset", L"bar_none");
    ASSERT_TRUE(first.Ready() && second.Ready() && plain.Ready());

    // The process order of a snapshot.
    std::vector<DWORD> order;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == first.ProcessId() || entry.th32ProcessID == second.ProcessId())
            order.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);

    // A host announces itself once its windows are made; on a busy machine
    // the window list may show them a moment later.  The search is repeated
    // until it finds both bars, for ten seconds at most.
    ASSERT_EQ(2u, order.size());
    HWND bars[CTavixDevApp::kMaxStatusBars];
    int count = 0;
    std::vector<DWORD> owners;
    const DWORD start = GetTickCount();
    for (;;) {
        count = CTavixDevApp::FindCadStatusBars(bars, CTavixDevApp::kMaxStatusBars);
        owners = OwnersAmong(bars, count, {first.ProcessId(), second.ProcessId(), plain.ProcessId()});
        if (owners.size() >= order.size() || GetTickCount() - start > 10000) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_EQ(order, owners);
    for (int i = 0; i < count; ++i) EXPECT_EQ(CString(L"TAVIX3状态栏"), TitleOf(bars[i]));

    HWND mainWindow = CTavixDevApp::FindProcessWindow(first.ProcessId());
    ASSERT_NE(nullptr, mainWindow);
    EXPECT_EQ(CString(L"AutoCAD stand-in"), TitleOf(mainWindow));
}
