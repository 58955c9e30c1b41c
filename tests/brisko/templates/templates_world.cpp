#include "templates_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"

namespace templates_test {

const wchar_t kLibraryName[] = L"测试模板库";

namespace {

// The working folder as the program started: the platform's file dialogs
// change the current folder, which each test puts back.
const CString& StartFolder()
{
    static const CString folder = WorkingFolder();
    return folder;
}

CString Root() { return ClFormat(L"%s\\templates_%lu", ScratchRoot().GetString(), GetCurrentProcessId()); }

class TemplatesWorld : public BriskoWorld
{
public:
    TemplatesWorld() : BriskoWorld(L"brisko_templates") {}

protected:
    void Seed() override
    {
        SeedSettings({
            {L"IconReg", 1},          {L"MainWndLEFT", 0},          {L"MainWndTOP", 0},
            {L"MainWndRIGHT", 1000},  {L"MainWndBOTTOM", 700},      {L"MainWnd_SHOWPROJECT", 1},
            {L"MainWnd_SHOWHDMWND", 1},
        });
        RemoveTree(Root());
        ASSERT_TRUE(CreateDirectoryW(Root(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(LibraryFolder(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(OtherFolder(), nullptr));
        tkxTemplateBase library;
        library.m_SName = kLibraryName;
        library.m_SPath = LibraryFolder();
        library.m_SDescription = L"测试用的边坡模板库";
        library.m_SCreateDate = L"2024年5月6日";
        ASSERT_EQ(1, tkx_AddTBase(&library, nullptr));
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveTree(Root());
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new TemplatesWorld);

void EmptyFolder(const CString& folder, const wchar_t* keep)
{
    for (const CString& name : FilesIn(folder))
        if (!keep || name != keep) {
            SetFileAttributesW(folder + L"\\" + name, FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(folder + L"\\" + name);
        }
}

} // namespace

CString LibraryFolder() { return Root() + L"\\" + kLibraryName; }
CString OtherFolder() { return Root() + L"\\其他"; }

void RestoreCurrentFolder() { SetCurrentDirectoryW(StartFolder()); }

void ResetLibraries()
{
    RestoreCurrentFolder();
    // The seeded library's file first: removing the others opens it.
    CreateDirectoryW(LibraryFolder(), nullptr);
    EmptyFolder(LibraryFolder(), nullptr);
    tkxTemplateBase library;
    library.m_SName = kLibraryName;
    library.m_SPath = LibraryFolder();
    library.m_SDescription = L"测试用的边坡模板库";
    library.m_SCreateDate = L"2024年5月6日";
    ASSERT_EQ(1, library.Save());
    CStringArray names;
    tkx_GetAllTBNames(&names);
    tkxTemplateBase current;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        if (names[i] != kLibraryName) tkx_RemoveTBase(names[i], &current, nullptr);
    if (tkx_GetTBasePath(kLibraryName).IsEmpty())
        ASSERT_EQ(1, tkx_AddTBase(&library, nullptr));
    else
        ASSERT_EQ(1, tkx_OpenTBase(kLibraryName, &current, nullptr));
    RemoveTree(OtherFolder());
    CreateDirectoryW(OtherFolder(), nullptr);
    if (theApp.IsStarted()) tkx_GetCurTemplateBase(theApp.m_CurTBase);
}

CString WriteLibraryFile(const wchar_t* name, const wchar_t* text)
{
    const CString path = LibraryFolder() + L"\\" + name;
    WriteText(path, text);
    return path;
}

void AddTemplate(const wchar_t* name, const CSlopeLineArray& lines)
{
    CTvTemplate file(name);
    ASSERT_EQ(CString(L"保存成功"), file.Save(lines, LibraryFolder()));
    tkxTemplateBase current;
    tkx_GetCurTemplateBase(current);
    current.m_STemplates.Add(name);
    ASSERT_EQ(1, tkx_UpdateTBase(&current, 1));
    if (theApp.IsStarted()) tkx_GetCurTemplateBase(theApp.m_CurTBase);
}

CSlopeLine MakeLine(int fixedType, double fixedValue, int endMode, int endType, double endValue)
{
    CSlopeLine line;
    line.m_iFixedType = fixedType;
    line.m_rFixedValue = fixedValue;
    line.m_iEndMode = endMode;
    line.m_iEndType = endType;
    line.m_rEndValue = endValue;
    line.SetStartPoint(sSketchPoint{1.0f, -1.0f});
    line.CalcSketch();
    return line;
}

} // namespace templates_test
