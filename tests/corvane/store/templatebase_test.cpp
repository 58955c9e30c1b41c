// The slope-template library: its library file (.TPB) both ways, damaged
// files, and the template list operations with their files.
#include "corvane/project/TavixDevApp.h"
#include "corvane/project/TemplateBase.h"
#include "store_support.h"
#include "support/FailingWrites.h"
#include "support/MessageBoxScript.h"

using namespace store_test;

namespace {

const wchar_t kTBKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo";

// Description "路基", date "2009年1月2日", templates "A.TYP" and "边坡1.TYP".
const char kLibraryHex[] =
    "fffeff02 ef8dfa57"
    "fffeff09 3200300030003900745e310008673200e565"
    "02000000"
    "fffeff05 41002e005400590050 00"
    "fffeff07 b98f615731002e00540059005000";

class TemplateLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearLists();
        DeleteRegTree(kTBKey);
    }
    void TearDown() override
    {
        ClearLists();
        DeleteRegTree(kTBKey);
    }
    static void ClearLists()
    {
        CTavixDevApp& app = TavixDevApp();
        app.m_STBNames.RemoveAll();
        app.m_STBPaths.RemoveAll();
        app.m_iCurTB = -1;
        app.m_CurTBase.Reset();
    }
    static void Register(const wchar_t* name, const CString& folder)
    {
        TavixDevApp().m_STBNames.Add(name);
        TavixDevApp().m_STBPaths.Add(folder);
    }
    tkxTemplateBase Library(const wchar_t* name, const CString& folder)
    {
        tkxTemplateBase library;
        library.m_SName = name;
        library.m_SPath = folder;
        return library;
    }

    ScratchFolder folder{L"tpb"};
    MessageBoxScript boxes;
};

} // namespace

TEST_F(TemplateLibrary, LibraryFileWritesAndReadsByteForByte)
{
    tkxTemplateBase library = Library(L"Road", folder.Path());
    library.m_SDescription = L"路基";
    library.m_SCreateDate = L"2009年1月2日";
    library.m_STemplates.Add(L"A.TYP");
    library.m_STemplates.Add(L"边坡1.TYP");
    ASSERT_EQ(1, library.Save());
    EXPECT_EQ(ToHex(Bytes().Hex(kLibraryHex).str()), ToHex(ReadBytes(folder / L"Road.TPB")));

    // Another name and folder in memory: the file's title and folder win.
    tkxTemplateBase loaded = Library(L"Other", L"D:\\Lib");
    ASSERT_EQ(1, loaded.Load(L" " + (folder / L"Road.TPB") + L"  "));
    EXPECT_EQ(CString(L"Road"), loaded.m_SName);
    EXPECT_EQ(folder.Path(), loaded.m_SPath);
    EXPECT_EQ(CString(L"路基"), loaded.m_SDescription);
    EXPECT_EQ(CString(L"2009年1月2日"), loaded.m_SCreateDate);
    ASSERT_EQ(2, loaded.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"边坡1.TYP"), loaded.m_STemplates[1]);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(TemplateLibrary, EmptyLibraryRoundTrip)
{
    tkxTemplateBase library = Library(L"Empty", folder.Path());
    ASSERT_EQ(1, library.Save());
    EXPECT_EQ("fffeff00fffeff0000000000", ToHex(ReadBytes(folder / L"Empty.TPB")));
    tkxTemplateBase loaded;
    loaded.m_STemplates.Add(L"stale.TYP");
    ASSERT_EQ(1, loaded.Load(folder / L"Empty.TPB"));
    EXPECT_EQ(0, loaded.m_STemplates.GetSize());
}

TEST_F(TemplateLibrary, DamagedFileGivesAMessageAndLeavesTheLibrary)
{
    std::string good = Bytes().Hex(kLibraryHex).str();
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut inside the last name", good.substr(0, good.size() - 3)},
        {"cut before the count", good.substr(0, 20)},
        {"negative count", Bytes().Str(L"").Str(L"").I32(-5).str()},
        {"empty file", std::string()},
        {"a byte after the last name", good + "x"},
        {"a name more than counted", good + Bytes().Str(L"C.TYP").str()},
        {"count one less", Bytes().Str(L"路基").Str(L"").I32(1).Str(L"A.TYP").Str(L"B.TYP").str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageBoxScript script;
        WriteBytes(folder / L"Bad.TPB", c.bytes);
        tkxTemplateBase library = Library(L"Keep", L"D:\\Keep");
        library.m_SDescription = L"原有说明";
        library.m_SCreateDate = L"2010年5月6日";
        library.m_STemplates.Add(L"K.TYP");
        library.m_STemplates.Add(L"边坡.TYP");
        EXPECT_EQ(0, library.Load(folder / L"Bad.TPB"));
        ASSERT_EQ(1u, script.Shown().size());
        EXPECT_EQ(CString(L"读取模板库文件<" + (folder / L"Bad.TPB") + L">失败!"), script.Shown()[0].text);
        EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), script.Shown()[0].type);
        EXPECT_EQ(CString(L"Keep"), library.m_SName);
        EXPECT_EQ(CString(L"D:\\Keep"), library.m_SPath);
        EXPECT_EQ(CString(L"原有说明"), library.m_SDescription);
        EXPECT_EQ(CString(L"2010年5月6日"), library.m_SCreateDate);
        ASSERT_EQ(2, library.m_STemplates.GetSize());
        EXPECT_EQ(CString(L"K.TYP"), library.m_STemplates[0]);
        EXPECT_EQ(CString(L"边坡.TYP"), library.m_STemplates[1]);
    }
}

TEST_F(TemplateLibrary, LoadAndSaveFailures)
{
    tkxTemplateBase library;
    EXPECT_EQ(0, library.Load());
    EXPECT_EQ(0, library.Save());
    EXPECT_EQ(0, library.Load(L"  "));
    EXPECT_TRUE(boxes.Shown().empty());

    EXPECT_EQ(0, library.Load(folder / L"Missing.TPB"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"打开TAVIX模板库文件时失败!\n\n<" + (folder / L"Missing.TPB") + L">."), boxes.Shown()[0].text);

    WriteBytes(folder / L"Old.TPB", "old bytes");
    // The file cannot be replaced: another program holds it open.
    HANDLE held = CreateFileW(folder / L"Old.TPB", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    library = Library(L"Old", folder.Path());
    EXPECT_EQ(0, library.Save());
    CloseHandle(held);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"创建/修改TAVIX模板库文件时失败!\n\n<" + (folder / L"Old.TPB") + L">."), boxes.Shown()[1].text);
    EXPECT_EQ("old bytes", ReadBytes(folder / L"Old.TPB"));
}

TEST_F(TemplateLibrary, AWriteThatFailsAfterOpeningLeavesTheOldFile)
{
    const std::string old = Bytes().Hex(kLibraryHex).str();
    WriteBytes(folder / L"Old.TPB", old);
    tkxTemplateBase library = Library(L"Old", folder.Path());
    library.m_STemplates.Add(L"New.TYP");
    {
        FailingWrites failing(folder.Path());
        EXPECT_EQ(0, library.Save());
        EXPECT_GT(failing.Refused(), 0);
    }
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"创建/修改TAVIX模板库文件时失败!\n\n<" + (folder / L"Old.TPB") + L">."), boxes.Shown()[0].text);
    EXPECT_EQ(old, ReadBytes(folder / L"Old.TPB"));
    EXPECT_EQ(std::vector<CString>{L"Old.TPB"}, FilesIn(folder.Path())); // no temporary file left
}

TEST_F(TemplateLibrary, AddingTemplates)
{
    ScratchFolder source(L"tpb_source");
    WriteBytes(source / L"A.TYP", "template A");
    tkxTemplateBase library = Library(L"Road", folder.Path());

    EXPECT_EQ(0, library.AddTemp(source / L"Missing.TYP"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"模板文件不存在<" + (source / L"Missing.TYP") + L">!"), boxes.Shown()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.Shown()[0].type);

    EXPECT_EQ(1, library.AddTemp(source / L"A.TYP"));
    EXPECT_EQ("template A", ReadBytes(folder / L"A.TYP"));
    ASSERT_EQ(1, library.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"A.TYP"), library.m_STemplates[0]);
    EXPECT_EQ(1, library.HasIncludeTemp(L"X:\\anywhere\\A.TYP"));

    // The same file name from another folder is refused.
    ScratchFolder other(L"tpb_other");
    WriteBytes(other / L"A.TYP", "another A");
    EXPECT_EQ(0, library.AddTemp(other / L"A.TYP"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"当前库中已经包含了模板文件<" + (other / L"A.TYP") + L">!"), boxes.Shown()[1].text);
    EXPECT_EQ("template A", ReadBytes(folder / L"A.TYP"));

    // A template already in the library folder is listed without a copy.
    WriteBytes(folder / L"B.TYP", "template B");
    EXPECT_EQ(1, library.AddTemp(folder / L"B.TYP"));
    EXPECT_EQ("template B", ReadBytes(folder / L"B.TYP"));
    EXPECT_EQ(2, library.m_STemplates.GetSize());
    EXPECT_EQ(2u, boxes.Shown().size());
}

TEST_F(TemplateLibrary, FailedCopyIsNotReportedAsSuccess)
{
    ScratchFolder source(L"tpb_source2");
    WriteBytes(source / L"A.TYP", "template A");
    tkxTemplateBase library = Library(L"Road", folder / L"no such folder");
    EXPECT_EQ(0, library.AddTemp(source / L"A.TYP"));
    EXPECT_EQ(0, library.m_STemplates.GetSize());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"复制模板文件<%s>到模板库目录<%s>失败!", (source / L"A.TYP").GetString(),
                       (folder / L"no such folder").GetString()),
              boxes.Shown()[0].text);
}

TEST_F(TemplateLibrary, RemovingTemplatesKeepsTheirFiles)
{
    WriteBytes(folder / L"A.TYP", "template A");
    tkxTemplateBase library = Library(L"Road", folder.Path());
    library.m_STemplates.Add(L"A.TYP");
    EXPECT_EQ(1, library.RemoveTemp(L"C:\\x\\A.TYP"));
    EXPECT_EQ(0, library.RemoveTemp(L"A.TYP"));
    EXPECT_EQ(0, library.m_STemplates.GetSize());
    EXPECT_TRUE(FileExists(folder / L"A.TYP"));
}

TEST_F(TemplateLibrary, RenamingATemplateKeepsFileAndListInAgreement)
{
    WriteBytes(folder / L"A.TYP", "template A");
    WriteBytes(folder / L"Loose.TYP", "not listed");
    tkxTemplateBase library = Library(L"Road", folder.Path());
    library.m_STemplates.Add(L"A.TYP");
    library.m_STemplates.Add(L"C.TYP");

    EXPECT_EQ(0, library.RenameTemp(L"A.TYP", L"D:\\elsewhere\\A.TYP"));
    EXPECT_TRUE(FileExists(folder / L"A.TYP"));

    // An unlisted template is not renamed at all.
    EXPECT_EQ(0, library.RenameTemp(L"Loose.TYP", L"Loose2.TYP"));
    EXPECT_TRUE(FileExists(folder / L"Loose.TYP"));
    EXPECT_FALSE(FileExists(folder / L"Loose2.TYP"));

    // Not onto another listed template.
    EXPECT_EQ(0, library.RenameTemp(L"A.TYP", L"C.TYP"));
    EXPECT_TRUE(FileExists(folder / L"A.TYP"));
    ASSERT_EQ(1u, boxes.Shown().size());

    EXPECT_EQ(1, library.RenameTemp(folder / L"A.TYP", L"B.TYP"));
    EXPECT_FALSE(FileExists(folder / L"A.TYP"));
    EXPECT_EQ("template A", ReadBytes(folder / L"B.TYP"));
    EXPECT_EQ(CString(L"B.TYP"), library.m_STemplates[0]);

    // A listed template whose file is gone: the rename fails, the list stays.
    EXPECT_EQ(0, library.RenameTemp(L"C.TYP", L"E.TYP"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"重命名文件<" + (folder / L"C.TYP") + L">时出错!"), boxes.Shown()[1].text);
    EXPECT_EQ(CString(L"C.TYP"), library.m_STemplates[1]);
}

TEST_F(TemplateLibrary, RenamingTheLibraryRenamesFileNameAndRegisteredEntry)
{
    ScratchFolder otherFolder(L"tpb_other_lib");
    tkxTemplateBase other = Library(L"Other", otherFolder.Path());
    ASSERT_EQ(1, other.Save());
    tkxTemplateBase library = Library(L"Road", folder.Path());
    ASSERT_EQ(1, library.Save());
    Register(L"Other", otherFolder.Path());
    Register(L"Road", folder.Path());
    TavixDevApp().m_iCurTB = 1;

    // The same name, blanks around it: nothing to do.
    EXPECT_EQ(1, library.RenameTempBase(L"  Road "));
    EXPECT_TRUE(FileExists(folder / L"Road.TPB"));
    EXPECT_FALSE(RegValueExists(kTBKey, L"TBName0"));

    EXPECT_EQ(1, library.RenameTempBase(L" Road2"));
    EXPECT_EQ(CString(L"Road2"), library.m_SName);
    EXPECT_FALSE(FileExists(folder / L"Road.TPB"));
    EXPECT_TRUE(FileExists(folder / L"Road2.TPB"));
    EXPECT_EQ(CString(L"Road2"), TavixDevApp().m_STBNames[1]);
    EXPECT_EQ(CString(L"Road2"), GetRegString(kTBKey, L"TBName1"));
    EXPECT_EQ(1u, GetRegDword(kTBKey, L"CurrentTempBase"));
    EXPECT_TRUE(boxes.Shown().empty());

    // Not onto the name of another registered library.
    EXPECT_EQ(0, library.RenameTempBase(L"Other"));
    EXPECT_TRUE(FileExists(folder / L"Road2.TPB"));
    EXPECT_EQ(CString(L"Road2"), library.m_SName);
    ASSERT_EQ(1u, boxes.Shown().size());
}

TEST_F(TemplateLibrary, RenamingAnUnregisteredLibraryLeavesTheRegisteredNamesake)
{
    ScratchFolder registered(L"tpb_registered");
    tkxTemplateBase namesake = Library(L"Road", registered.Path());
    ASSERT_EQ(1, namesake.Save());
    Register(L"Road", registered.Path());

    tkxTemplateBase library = Library(L"Road", folder.Path());
    ASSERT_EQ(1, library.Save());
    EXPECT_EQ(1, library.RenameTempBase(L"Copy"));
    EXPECT_EQ(CString(L"Copy"), library.m_SName);
    EXPECT_TRUE(FileExists(folder / L"Copy.TPB"));
    EXPECT_EQ(CString(L"Road"), TavixDevApp().m_STBNames[0]);
    EXPECT_TRUE(FileExists(registered / L"Road.TPB"));
}

TEST_F(TemplateLibrary, FailedLibraryRenameChangesNothing)
{
    tkxTemplateBase library = Library(L"Gone", folder.Path());
    Register(L"Gone", folder.Path());
    EXPECT_EQ(0, library.RenameTempBase(L"New"));
    EXPECT_EQ(CString(L"Gone"), library.m_SName);
    EXPECT_EQ(CString(L"Gone"), TavixDevApp().m_STBNames[0]);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"重命名文件<" + (folder / L"Gone.TPB") + L">时出错!"), boxes.Shown()[0].text);

    EXPECT_EQ(0, library.RenameTempBase(L"a/b"));
    EXPECT_EQ(0, library.RenameTempBase(L"   "));
    EXPECT_EQ(3u, boxes.Shown().size());
}

TEST_F(TemplateLibrary, RegisteredListChecks)
{
    Register(L"Road", L"D:\\Lib");
    tkxTemplateBase library;
    EXPECT_EQ(1, library.IsValid(L"Road", L"D:\\Lib"));
    EXPECT_EQ(0, library.IsValid(L"Road", L"D:\\lib"));
    EXPECT_EQ(1, library.IsValid(L"road", L"E:\\"));
    EXPECT_EQ(0, library.SearchTBList(L"Road"));
    EXPECT_EQ(-1, library.SearchTBList(L"road"));
}
