// The exported file functions: shell operations in a scratch folder, the
// clipboard, the data-file types, and the road-class and speed tables.
#include "interface_test_support.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/Road.h"
#include "support/WindowTest.h"
#include <cmath>
#include <objbase.h>
#include <shlobj.h>

using namespace interface_test;
using namespace wintest;

namespace {

// The given texts one after the other, each ended by its zero, and a final
// zero: the shell's list form.
std::wstring ShellListOf(std::initializer_list<CString> paths)
{
    std::wstring list;
    for (const CString& path : paths) {
        list += path.GetString();
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

// COM for the shell-link tests.
struct ComScope {
    ComScope() { ::CoInitialize(nullptr); }
    ~ComScope() { ::CoUninitialize(); }
};

} // namespace

// ---------------------------------------------------------------------------
// Shell

TEST(ShellFiles, RenamingTakesOnlyTheGivenPath)
{
    ScratchFolder dir(L"rename");
    WriteText(dir / L"路线 数据.DL", L"K0+000 K0+000\n");
    WriteText(dir / L"second.DL", L"x\n");
    EXPECT_EQ(1, tkx_RenameFile(dir / L"路线 数据.DL", dir / L"新 名称.DL"));
    EXPECT_FALSE(FileExists(dir / L"路线 数据.DL"));
    EXPECT_EQ(FileText(L"K0+000 K0+000\n"), ReadBytes(dir / L"新 名称.DL"));

    // A caller's text is one path, whatever follows its zero in memory.
    const std::wstring two = ShellListOf({dir / L"新 名称.DL", dir / L"second.DL"});
    EXPECT_EQ(1, tkx_RenameFile(two.c_str(), dir / L"三.DL"));
    EXPECT_TRUE(FileExists(dir / L"三.DL"));
    EXPECT_TRUE(FileExists(dir / L"second.DL"));

    EXPECT_EQ(0, tkx_RenameFile(dir / L"missing.DL", dir / L"other.DL"));
}

TEST(ShellFiles, DeletingAsksTheShellAndTakesOnlyTheGivenPath)
{
    ScratchFolder dir(L"delete");
    WriteText(dir / L"待删 文件.DL", L"x\n");
    WriteText(dir / L"keep.DL", L"x\n");
    HWND owner = nullptr;
    {
        DialogScript script;
        script.Then([&](CWnd* question) { Press(question, IDYES); });
        const std::wstring two = ShellListOf({dir / L"待删 文件.DL", dir / L"keep.DL"});
        EXPECT_EQ(1, tkx_DeleteFile(two.c_str(), owner));
        EXPECT_EQ(1, script.DialogsSeen());
    }
    EXPECT_FALSE(FileExists(dir / L"待删 文件.DL"));
    EXPECT_TRUE(FileExists(dir / L"keep.DL"));

    // Declining is no success: the file stays and the caller is told.
    tkx_SetLastError(nullptr);
    {
        DialogScript script;
        script.Then([&](CWnd* question) { Press(question, IDNO); });
        EXPECT_EQ(0, tkx_DeleteFile(dir / L"keep.DL", owner));
    }
    EXPECT_TRUE(FileExists(dir / L"keep.DL"));
    EXPECT_EQ(CString(L"删除文件失败[1223]!"), tkx_GetLastError());
}

TEST(ShellFiles, AShortcutIsSavedAndReadsBack)
{
    ComScope com;
    ScratchFolder dir(L"link");
    WriteText(dir / L"程序 一.exe", L"");
    const CString link = dir / L"快捷 方式.lnk";
    ASSERT_EQ(1, tkx_CreateLink(L"道路 数据", dir / L"程序 一.exe", dir.Path(), link));

    IShellLinkW* shell = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shell))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    ASSERT_TRUE(SUCCEEDED(file->Load(link, STGM_READ)));
    wchar_t text[MAX_PATH] = {};
    shell->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_EQ(dir / L"程序 一.exe", CString(text));
    shell->GetDescription(text, MAX_PATH);
    EXPECT_EQ(CString(L"道路 数据"), CString(text));
    shell->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_EQ(dir.Path(), CString(text));
    file->Release();
    shell->Release();

    // A shortcut that cannot be saved is no success.
    EXPECT_EQ(0, tkx_CreateLink(L"x", dir / L"程序 一.exe", dir.Path(), dir / L"no such folder\\x.lnk"));
}

TEST(ShellFiles, TheDesktopFolder)
{
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
    EXPECT_EQ(CString(desktop), tkx_GetDeskTopDirectory());
}

// ---------------------------------------------------------------------------
// Clipboard

TEST(Clipboard, ChineseTextGoesBothWaysInBothForms)
{
    const CString text = L"K1+234.500 桩号断链\r\n第二行 ①";
    ASSERT_EQ(1, tkx_CopyToClipboard(text));

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
    HANDLE narrow = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(unicode != nullptr);
    ASSERT_TRUE(narrow != nullptr);
    EXPECT_EQ(text, CString(static_cast<const wchar_t*>(GlobalLock(unicode))));
    GlobalUnlock(unicode);
    // The 8-bit form is the system code page's (936), as pasting reads it.
    EXPECT_EQ(ClWideToMultiByte(text, -1, 936), std::string(static_cast<const char*>(GlobalLock(narrow))));
    GlobalUnlock(narrow);
    CloseClipboard();

    CString pasted = L"old";
    EXPECT_EQ(1, tkx_PasteFromClipboard(pasted));
    EXPECT_EQ(text, pasted);
}

TEST(Clipboard, PastingReadsEightBitTextAndLongTextWhole)
{
    // Only the 8-bit form, as another program may leave it.
    const std::string bytes = ClWideToMultiByte(L"平面交点 JD1", -1, 936);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    memcpy(GlobalLock(block), bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    CString pasted;
    EXPECT_EQ(1, tkx_PasteFromClipboard(pasted));
    EXPECT_EQ(CString(L"平面交点 JD1"), pasted);

    CString longText;
    for (int i = 0; i < 500; ++i) longText += ClFormat(L"第%d行\n", i);
    ASSERT_EQ(1, tkx_CopyToClipboard(longText));
    EXPECT_EQ(1, tkx_PasteFromClipboard(pasted));
    EXPECT_EQ(longText, pasted);

    // Nothing on the clipboard gives an empty text.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    pasted = L"old";
    EXPECT_EQ(1, tkx_PasteFromClipboard(pasted));
    EXPECT_EQ(CString(), pasted);
}

// ---------------------------------------------------------------------------
// Data-file types

class FileTypes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved.Copy(TavixDevApp().m_FileStyles);
        Tavix4::sFileStyle style;
        style.m_STypeName = L"桩号断链文件(*.DL)";
        style.m_SExt = L"DL";
        TavixDevApp().m_FileStyles.RemoveAll();
        TavixDevApp().m_FileStyles.Add(style);
        style.m_STypeName = L"设计说明";
        style.m_SExt = L"SM";
        TavixDevApp().m_FileStyles.Add(style);
    }
    void TearDown() override { TavixDevApp().m_FileStyles.Copy(saved); }

    CArray<Tavix4::sFileStyle, Tavix4::sFileStyle> saved;
};

TEST_F(FileTypes, TheTypeComesFromTheFileNamesExtension)
{
    struct Case {
        const wchar_t* name;
        int known;
        const wchar_t* type;
    };
    const Case cases[] = {
        {L"D:\\项目\\R1.DL", 1, L"桩号断链文件"},
        {L"r1.dl", 1, L"桩号断链文件"},
        {L"D:\\项目.2024\\R1.DL", 1, L"桩号断链文件"}, // a dot in a folder name is no extension
        {L"D:\\项目.DL\\R1", 0, L"未知类型文件"},
        {L"D:\\a.b\\说明.txt", 1, L"文本文件"},
        {L"说明.TXT", 1, L"文本文件"},
        {L"x.sm", 1, L"设计说明"}, // a type name without "(" is given whole
        {L"a.DL.bak", 0, L"未知类型文件"},
        {L"noext", 0, L"未知类型文件"},
        {L".DL", 0, L"未知类型文件"},
        {L"R1.", 0, L"未知类型文件"},
        {L"", 0, L"未知类型文件"},
    };
    for (const Case& c : cases) {
        CString type = L"old";
        EXPECT_EQ(c.known, tkx_IsTavixFileName(c.name, type)) << Utf8(c.name);
        EXPECT_EQ(CString(c.type), type) << Utf8(c.name);
    }
    CString type;
    EXPECT_EQ(0, tkx_IsTavixFileName(nullptr, type));
}

TEST_F(FileTypes, CopiesOfTheTables)
{
    TavixDevApp().m_SInternalExts.RemoveAll();
    TavixDevApp().m_SInternalExts.Add(L"BAK");
    Tavix4::sReferenceDoc doc;
    doc.m_STitle = L"公路路线设计规范";
    TavixDevApp().m_ReferenceDocs.Add(doc);

    CArray<Tavix4::sFileStyle, Tavix4::sFileStyle> styles;
    styles.SetSize(5);
    tkx_GetFileStyles(styles);
    ASSERT_EQ(2, styles.GetSize());
    EXPECT_EQ(CString(L"SM"), styles[1].m_SExt);
    CStringArray exts;
    exts.Add(L"old");
    tkx_GetInternalFileExts(exts);
    ASSERT_EQ(1, exts.GetSize());
    EXPECT_EQ(CString(L"BAK"), exts[0]);
    CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc> docs;
    tkx_GetReferenceDocInfos(docs);
    ASSERT_EQ(TavixDevApp().m_ReferenceDocs.GetSize(), docs.GetSize());
    EXPECT_EQ(CString(L"公路路线设计规范"), docs[docs.GetSize() - 1].m_STitle);
    TavixDevApp().m_ReferenceDocs.RemoveAt(TavixDevApp().m_ReferenceDocs.GetSize() - 1);
    TavixDevApp().m_SInternalExts.RemoveAll();
}

// ---------------------------------------------------------------------------
// Road classes, speeds, landform, climate and transitions

namespace {

std::vector<CString> ComboTexts(CComboBox& combo)
{
    std::vector<CString> texts;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        texts.push_back(text);
    }
    return texts;
}

} // namespace

TEST(RoadTables, ComboBoxesOfRoadClassesAndSpeeds)
{
    TestFrame* frame = new TestFrame;
    CComboBox combo;
    // Sorted, to see that the order stays the table's.
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, CRect(0, 0, 100, 200), frame, 1));
    combo.AddString(L"旧的");
    tkx_SetRoadLevelComboBox(&combo);
    EXPECT_EQ((std::vector<CString>{L"高速公路", L"立交匝道", L"一级公路", L"二级公路", L"三级公路", L"四级公路",
                                    L"等外公路", L"城市快速路", L"城市主干道", L"城市次干道", L"城市支路",
                                    L"其他道路"}),
              ComboTexts(combo));

    struct Case {
        int level;
        std::vector<CString> speeds;
    };
    const Case cases[] = {
        {0, {L"120", L"100", L"80"}},
        {1, {L"80", L"70", L"60", L"50", L"40", L"35", L"30"}},
        {2, {L"100", L"80", L"60"}},
        {3, {L"80", L"60"}},
        {4, {L"40", L"30"}},
        {5, {L"20"}},
        {6, {L"20", L"15"}},
        {7, {L"100", L"80", L"60"}},
        {8, {L"60", L"50", L"40"}},
        {9, {L"50", L"40", L"30"}},
        {10, {L"40", L"30", L"20"}},
        {11, {L"20", L"15"}},
        {-1, {L"20", L"15"}},
    };
    for (const Case& c : cases) {
        tkx_SetSpeedComboBox(static_cast<Tavix4::enRoadLevel>(c.level), &combo);
        EXPECT_EQ(c.speeds, ComboTexts(combo)) << c.level;
    }
    // Nothing for a missing combo box.
    tkx_SetRoadLevelComboBox(nullptr);
    tkx_SetSpeedComboBox(Tavix4::ROAD_EXPRESSWAY, nullptr);
    frame->DestroyWindow();
}

TEST(RoadTables, NamesOfLevelsLandformsAndClimates)
{
    EXPECT_EQ(tkxRoadObject::GetRoadLevelName(Tavix4::ROAD_RAMP), tkx_GetRoadLevelName(Tavix4::ROAD_RAMP));
    EXPECT_EQ(CString(L"互通立交匝道"), tkx_GetRoadLevelName(Tavix4::ROAD_RAMP));
    const wchar_t* const landforms[] = {L"平原微丘区", L"重丘区", L"山岭区", L"山岭重丘区", L"平原微丘区"};
    for (int code = 0; code < 5; ++code) EXPECT_EQ(CString(landforms[code]), tkx_GetLandformStyleString(code));
    EXPECT_EQ(CString(L"平原微丘区"), tkx_GetLandformStyleString(-1));
    EXPECT_EQ(CString(L"积雪冰冻地区"), tkx_GetClimeStyleString(1));
    EXPECT_EQ(CString(L"一般地区"), tkx_GetClimeStyleString(0));
    EXPECT_EQ(CString(L"一般地区"), tkx_GetClimeStyleString(2));
}

// Beyond the shapes: stations outside the two extrapolate, and each shape
// is flat at its larger end.
TEST(RoadTables, TransitionsExtrapolateAndEndFlat)
{
    EXPECT_NEAR(4.25, tkx_GetWiden(100, 200, 250, 3.5, 4.0, 1), 1e-12);
    EXPECT_NEAR(3.25, tkx_GetWiden(100, 200, 50, 3.5, 4.0, 0), 1e-12);
    const double h = 1e-4;
    for (short mode : {2, 3, 4}) {
        EXPECT_NEAR(0.0, (tkx_GetWiden(0, 10, 10, 3.5, 4.0, mode) - tkx_GetWiden(0, 10, 10 - h, 3.5, 4.0, mode)) / h,
                    1e-3)
            << mode;
        EXPECT_NEAR(0.0, (tkx_GetWiden(0, 10, h, 4.0, 3.5, mode) - tkx_GetWiden(0, 10, 0, 4.0, 3.5, mode)) / h, 1e-3)
            << mode;
    }
}
