// The help control's reading of help files: the topic map of our fixture
// read through the system's help storage, the bounded reading of damaged
// topic maps, and where a help file is looked for (OpenChm's order, the
// registry folders and "hh.ini", restored afterwards; the demo
// installation's help file).
#include "reference_world.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/TavixDevApp.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <functional>
#include <sddl.h>

using namespace reference_test;

namespace {

using chm_file::Entry;

std::string Le32(uint32_t v)
{
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

// "#IVB" with the records and, by default, their true block size.
Entry Ivb(const std::vector<std::pair<uint32_t, uint32_t>>& records, int64_t size = -1)
{
    std::string data = Le32(size < 0 ? static_cast<uint32_t>(records.size() * 8) : static_cast<uint32_t>(size));
    for (const auto& r : records) data += Le32(r.first) + Le32(r.second);
    return {"/#IVB", data};
}

Entry Strings(const std::string& data) { return {"/#STRINGS", data}; }

// The program runs (OLE started, as the help control expects).
class HelpFileTest : public ::testing::Test
{
protected:
    void SetUp() override { StartProgram(); }
};

} // namespace

namespace {

// A help file found nowhere: the control says so with a warning and has no
// file.
void ExpectNotFound(const CString& asked)
{
    MessageBoxScript boxes;
    CRecordingHHCtrl help;
    EXPECT_FALSE(help.OpenChm(asked));
    EXPECT_TRUE(help.GetChmPath().IsEmpty());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(asked + L"文件没有找到", boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.Shown()[0].type & MB_ICONMASK);
}

} // namespace

TEST_F(HelpFileTest, TheTopicMapTurnsContextIdsIntoTopicAddresses)
{
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.OpenChm(HelpFile()));
    EXPECT_EQ(0, help.GetChmPath().CompareNoCase(HelpFile()));
    struct Case {
        DWORD id;
        HRESULT hr;
        const wchar_t* topic; // null: nothing is shown
    };
    const Case cases[] = {
        {100, S_OK, L"Standard/JTG_B01.htm"},
        {200, S_OK, L"index.htm"},
        {300, S_OK, L"数据/说明.htm"}, // the path's 8-bit text in the system code page
        {999, E_FAIL, nullptr},       // not in the map
        {0, E_FAIL, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        help.m_SAddresses.clear();
        EXPECT_EQ(c.hr, help.NavigateContextId(c.id));
        if (c.topic) {
            ASSERT_EQ(1u, help.m_SAddresses.size());
            EXPECT_EQ(TopicAddress(help.GetChmPath(), c.topic), help.m_SAddresses[0]);
        } else {
            EXPECT_TRUE(help.m_SAddresses.empty());
        }
    }
    // A topic by its path needs no map.
    help.m_SAddresses.clear();
    EXPECT_EQ(S_OK, help.NavigateTopic(L"Standard/JTG_B01.htm"));
    ASSERT_EQ(1u, help.m_SAddresses.size());
    EXPECT_EQ(TopicAddress(help.GetChmPath(), L"Standard/JTG_B01.htm"), help.m_SAddresses[0]);
}

TEST_F(HelpFileTest, WithoutAHelpFileNothingIsShown)
{
    CRecordingHHCtrl help;
    EXPECT_EQ(STG_E_FILENOTFOUND, help.NavigateTopic(L"index.htm"));
    EXPECT_EQ(STG_E_PATHNOTFOUND, help.NavigateContextId(100));
    EXPECT_TRUE(help.m_SAddresses.empty());
}

TEST_F(HelpFileTest, DamagedTopicMapsFailTheLookupAndShowNothing)
{
    ScratchFolder folder(L"damaged_maps");
    const CString probe = folder / L"probe.chm";
    // The room the topic has: the address holds "its:<file>::", the topic and
    // its terminating zero in 1040 characters.
    const int room = CHHCtrl::kContextAddressChars - TopicAddress(probe, L"").GetLength() - 1;
    ASSERT_GT(room, 100);
    const std::string fits(room, 'a'), tooLong(room + 1, 'b');
    const std::string across(150, 'c'); // three pieces of 64

    struct Case {
        const char* name;
        std::vector<Entry> entries; // empty: the file is no help file
        DWORD id;
        HRESULT hr;
        std::string topic; // empty: nothing is shown
    };
    const Case cases[] = {
        {"a path across several pieces", {Ivb({{1, 1}}), Strings(std::string(1, '\0') + across + '\0')}, 1, S_OK,
         across},
        {"the longest path that fits", {Ivb({{1, 1}}), Strings(std::string(1, '\0') + fits + '\0')}, 1, S_OK, fits},
        {"a path longer than the room", {Ivb({{1, 1}}), Strings(std::string(1, '\0') + tooLong + '\0')}, 1, E_FAIL, ""},
        {"no zero before the stream's end", {Ivb({{1, 1}}), Strings(std::string(1, '\0') + "abc.htm")}, 1, E_FAIL, ""},
        {"no zero in a long last piece", {Ivb({{1, 1}}), Strings(std::string(1, '\0') + std::string(200, 'd'))}, 1,
         E_FAIL, ""},
        {"an offset beyond the stream", {Ivb({{1, 50}}), Strings(std::string("\0a.htm\0", 7))}, 1, E_FAIL, ""},
        {"an offset at the stream's end", {Ivb({{1, 7}}), Strings(std::string("\0a.htm\0", 7))}, 1, E_FAIL, ""},
        {"no #STRINGS", {Ivb({{1, 1}})}, 1, STG_E_FILENOTFOUND, ""},
        {"no #IVB", {Strings(std::string("\0a.htm\0", 7))}, 1, STG_E_FILENOTFOUND, ""},
        {"a record block beyond the stream", {Ivb({{1, 1}}, 0x7FFFFFF0), Strings(std::string("\0a.htm\0", 7))}, 1,
         STG_E_READFAULT, ""},
        {"a cut block size", {{"/#IVB", std::string("\x08\x00", 2)}}, 1, STG_E_READFAULT, ""},
        {"an empty map", {Ivb({}), Strings(std::string("\0a.htm\0", 7))}, 1, E_FAIL, ""},
        {"no help file", {}, 1, STG_E_PATHNOTFOUND, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.entries.empty())
            WriteBytes(probe, "This is no help file.");
        else
            ASSERT_TRUE(chm_file::Write(probe, c.entries));
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.OpenChm(probe));
        EXPECT_EQ(c.hr, help.NavigateContextId(c.id));
        if (c.topic.empty()) {
            EXPECT_TRUE(help.m_SAddresses.empty());
        } else {
            ASSERT_EQ(1u, help.m_SAddresses.size());
            EXPECT_EQ(TopicAddress(help.GetChmPath(), CString(c.topic.c_str())), help.m_SAddresses[0]);
        }
    }
}

// ---------------------------------------------------------------------------
// Finding the help file

namespace {

const wchar_t kHtmlHelpKey[] = L"Software\\Microsoft\\Windows\\HTML Help";
const wchar_t kSetupKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

CString WindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

// Puts the prefix's machine values and "hh.ini" keys back as they were.
class MachineGuard
{
public:
    MachineGuard() : m_shared(GetRegString(HKEY_LOCAL_MACHINE, kSetupKey, L"SharedDir")) {}
    ~MachineGuard()
    {
        for (const CString& name : m_helpValues) DeleteRegValue(HKEY_LOCAL_MACHINE, kHtmlHelpKey, name);
        for (const CString& name : m_iniKeys) WritePrivateProfileStringW(L"files", name, nullptr, L"hh.ini");
        if (m_shared == L"<missing>")
            DeleteRegValue(HKEY_LOCAL_MACHINE, kSetupKey, L"SharedDir");
        else
            SetRegString(HKEY_LOCAL_MACHINE, kSetupKey, L"SharedDir", m_shared);
        for (const CString& file : m_files) DeleteFileW(file);
    }
    void HelpFolder(const CString& name, const CString& folder)
    {
        m_helpValues.push_back(name);
        SetRegString(HKEY_LOCAL_MACHINE, kHtmlHelpKey, name, folder);
    }
    void SharedFolder(const CString* folder)
    {
        if (folder)
            SetRegString(HKEY_LOCAL_MACHINE, kSetupKey, L"SharedDir", *folder);
        else
            DeleteRegValue(HKEY_LOCAL_MACHINE, kSetupKey, L"SharedDir");
    }
    void HhIni(const CString& name, const CString& value)
    {
        m_iniKeys.push_back(name);
        WritePrivateProfileStringW(L"files", name, value, L"hh.ini");
    }
    // A file of ours outside the scratch folders, removed at the end.
    void Own(const CString& file) { m_files.push_back(file); }

private:
    CString m_shared;
    std::vector<CString> m_helpValues, m_iniKeys, m_files;
};

CString UniqueName(const wchar_t* stem) { return ClFormat(L"%s_%lu.chm", stem, GetCurrentProcessId()); }

} // namespace

TEST_F(HelpFileTest, TheHelpFileIsLookedForInItsOrder)
{
    MachineGuard machine;
    const CString name = UniqueName(L"order");
    ScratchFolder given(L"chm_given"), registered(L"chm_registered"), shared(L"chm_shared"), listed(L"chm_listed");
    CreateDirectoryW(shared / L"Help", nullptr);
    // The name as given, with "/" for its last separator.
    const CString asGiven = given.Path() + L"/" + name;
    const std::vector<CString> places = {
        given / name,                              // 1. as given
        BinFolder() + L"\\" + name,                // 2. beside the program
        HelpFolder() + L"\\" + name,               // 3. the installation's help folder
        registered / name,                         // 4. HTML Help's folder for the file
        shared.Path() + L"\\Help\\" + name,        // 5. the shared folder's help
        listed / name,                             // 6. "hh.ini"
    };
    machine.Own(places[1]);
    machine.Own(places[2]);
    machine.HelpFolder(name, registered.Path()); // without a closing "\"
    machine.SharedFolder(&shared.Path());
    machine.HhIni(name, listed / name);
    for (const CString& place : places) ASSERT_TRUE(chm_file::Write(place, HelpEntries()));

    for (const CString& place : places) {
        SCOPED_TRACE(Utf8(place));
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.OpenChm(asGiven));
        EXPECT_EQ(0, help.GetChmPath().CompareNoCase(place)) << Utf8(help.GetChmPath());
        ASSERT_TRUE(DeleteFileW(place));
    }
    // Nowhere: said so, and no help file.
    ExpectNotFound(asGiven);
}

// The current folder, which every file dialog moves, never decides: a
// relative name is looked for beside the program and in the installation's
// help folder, not where the current folder happens to be.
TEST_F(HelpFileTest, TheCurrentFolderNeverDecidesWhichFileIsShown)
{
    const CString name = UniqueName(L"moved");
    ScratchFolder elsewhere(L"chm_elsewhere");
    ASSERT_TRUE(CreateDirectoryW(elsewhere / L"Help", nullptr));
    ASSERT_TRUE(chm_file::Write(elsewhere / name, HelpEntries()));
    ASSERT_TRUE(chm_file::Write(elsewhere.Path() + L"\\Help\\" + name, HelpEntries()));
    const CString installed = HelpFolder() + L"\\" + name;
    ASSERT_TRUE(chm_file::Write(installed, HelpEntries()));

    const CString before = WorkingFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.Path())); // as a file dialog leaves it
    struct Back {
        CString folder;
        ~Back() { SetCurrentDirectoryW(folder); }
    } back{before};

    for (const CString& asked : {installed, CString(L"Help\\") + name, name}) {
        SCOPED_TRACE(Utf8(asked));
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.OpenChm(asked));
        EXPECT_EQ(0, help.GetChmPath().CompareNoCase(installed)) << Utf8(help.GetChmPath());
    }
    // Only the current folder has one now: not found.
    ASSERT_TRUE(DeleteFileW(installed));
    ExpectNotFound(name);
}

namespace {

// The suite's installation folder as demo_project.exe registered it for
// this user: in the prefix's own hive, which the scratch hive hides.
CString DemoInstallation()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return CString();
    BYTE user[256] = {};
    DWORD size = 0;
    const BOOL known = GetTokenInformation(token, TokenUser, user, sizeof user, &size);
    CloseHandle(token);
    wchar_t* sid = nullptr;
    if (!known || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid)) return CString();
    const CString key = CString(sid) + L"\\SOFTWARE\\TavixSuite\\TAVIX 3";
    LocalFree(sid);
    return GetRegString(HKEY_USERS, key, L"PathName");
}

FILETIME WrittenAt(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path, GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

} // namespace

// The demo installation (made by demo_project.exe before this program runs)
// as the program started on it reads it: its help file is where the help
// control looks, wherever the current folder is.
TEST_F(HelpFileTest, TheDemoInstallationsHelpFileIsFound)
{
    const CString installation = DemoInstallation();
    ASSERT_NE(CString(L"<missing>"), installation) << "the demo installation is laid out by demo_project.exe";
    CString& pathName = TavixDevApp().AppInfo().m_SPathName;
    struct Back {
        CString& pathName;
        CString was, folder;
        ~Back()
        {
            pathName = was;
            SetCurrentDirectoryW(folder);
        }
    } back{pathName, pathName, WorkingFolder()};
    pathName = installation;
    ScratchFolder elsewhere(L"chm_demo_elsewhere");
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.Path()));

    MessageBoxScript boxes;
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.OpenChm(L"TAVIX.CHM")) << Utf8(boxes.LastText());
    // Written by the demo run that wrote the road, not left by an older one.
    const CString road = BinFolder() + L"\\..\\demo\\示范项目\\一号路\\一号路.DYD";
    const FILETIME chm = WrittenAt(help.GetChmPath()), dyd = WrittenAt(road);
    EXPECT_GE(CompareFileTime(&chm, &dyd), 0) << Utf8(help.GetChmPath());
}

TEST_F(HelpFileTest, WithoutASharedFolderTheWindowsHelpFolderIsLookedIn)
{
    MachineGuard machine;
    const CString name = UniqueName(L"windows");
    const CString place = WindowsFolder() + L"\\Help\\" + name;
    CreateDirectoryW(WindowsFolder() + L"\\Help", nullptr);
    machine.Own(place);
    machine.SharedFolder(nullptr);
    ASSERT_TRUE(chm_file::Write(place, HelpEntries()));
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.OpenChm(L"nowhere\\" + name));
    EXPECT_EQ(0, help.GetChmPath().CompareNoCase(place));
}

namespace {

// Answers the prompts of "hh.ini": each answer is run before it is given
// (it may put the file in place).
struct PromptScript {
    std::vector<std::pair<int, std::function<void()>>> answers;
    std::vector<CString> texts;
    static int Hook(HWND, const wchar_t* text, const wchar_t*, UINT type, void* context)
    {
        auto* script = static_cast<PromptScript*>(context);
        script->texts.push_back(text);
        const size_t n = script->texts.size() - 1;
        if (n >= script->answers.size()) return MessageBoxScript::SafeAnswer(type);
        if (script->answers[n].second) script->answers[n].second();
        return script->answers[n].first;
    }
};

struct PromptHook {
    explicit PromptHook(PromptScript& script) { m_previous = ClSetMessageBoxHook(&PromptScript::Hook, &script, &m_context); }
    ~PromptHook() { ClSetMessageBoxHook(m_previous, m_context); }
    ClMessageBoxHook m_previous;
    void* m_context = nullptr;
};

} // namespace

TEST_F(HelpFileTest, HhIniNamesTheFileOrItsFolderAndItsPromptWaitsForTheFile)
{
    MachineGuard machine;
    ScratchFolder listed(L"chm_hhini");
    const CString prompt = L"请插入TAVIX帮助光盘";

    // A folder that holds the file.
    const CString inFolder = UniqueName(L"infolder");
    machine.HhIni(inFolder, listed.Path());
    ASSERT_TRUE(chm_file::Write(listed / inFolder, HelpEntries()));
    {
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.OpenChm(inFolder));
        EXPECT_EQ(0, help.GetChmPath().CompareNoCase(listed / inFolder));
    }

    // A missing file without a prompt: not found at once.
    const CString missing = UniqueName(L"missing");
    machine.HhIni(missing, listed / missing);
    {
        PromptScript script;
        PromptHook hook(script);
        CRecordingHHCtrl help;
        EXPECT_FALSE(help.OpenChm(missing));
        ASSERT_EQ(1u, script.texts.size());
        EXPECT_EQ(missing + L"文件没有找到", script.texts[0]);
    }

    // With a prompt: asked again until the file is there.
    const CString later = UniqueName(L"later");
    machine.HhIni(later, listed / later + L"," + prompt);
    {
        PromptScript script;
        script.answers = {{IDOK, nullptr}, {IDOK, [&] { chm_file::Write(listed / later, HelpEntries()); }}};
        PromptHook hook(script);
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.OpenChm(later));
        EXPECT_EQ(0, help.GetChmPath().CompareNoCase(listed / later));
        ASSERT_EQ(2u, script.texts.size());
        EXPECT_EQ(prompt, script.texts[0]);
        EXPECT_EQ(prompt, script.texts[1]);
    }

    // Cancel means the file is not there, whatever the path says.
    const CString cancelled = UniqueName(L"cancelled");
    machine.HhIni(cancelled, listed / cancelled + L"," + prompt);
    {
        PromptScript script;
        script.answers = {{IDCANCEL, nullptr}};
        PromptHook hook(script);
        CRecordingHHCtrl help;
        EXPECT_FALSE(help.OpenChm(cancelled));
        EXPECT_TRUE(help.GetChmPath().IsEmpty());
        EXPECT_EQ(STG_E_FILENOTFOUND, help.NavigateTopic(L"index.htm"));
        ASSERT_EQ(2u, script.texts.size());
        EXPECT_EQ(prompt, script.texts[0]);
        EXPECT_EQ(cancelled + L"文件没有找到", script.texts[1]);
    }
}
