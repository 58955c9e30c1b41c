// The tool commands: each opens its dialog under the main window, the tools
// that work on the current road with its file names, from the main menu and
// from the file tree's context menu alike.
#include "commands_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"

using namespace commands_test;

namespace {

// A field of a dialog holding one of the road's files: the control, and
// the extension after "<folder>\<road name>".
struct NameField {
    int control;
    const wchar_t* extension;
};

struct ToolCase {
    UINT command;
    const wchar_t* title;
    std::vector<NameField> names;
    int includeDL; // the control of the break-chain check box, 0 when none
    bool inFileTree;
};

const ToolCase kTools[] = {
    {40098, L"转换路线大师平面数据", {}, 0, true},
    {40099, L"转换纬地HintCAD平面数据", {}, 0, true},
    {40102, L"转换纬地HintCAD 纵断面竖曲线文件", {}, 0, true},
    {40103, L"转换路线大师纵断面竖曲线文件", {}, 0, true},
    {40101, L"转换纬地HintCAD 横断面地面线文件", {}, 0, true},
    {40104, L"转换路线大师横断面地面线文件", {}, 0, true},
    {40106, L"复制纬地HintCAD 纵断面地面线文件", {}, 0, true},
    {40105, L"转换路线大师纵断面地面线文件", {}, 0, true},
    {40128, L"转换鸿业纵横地面线文件", {}, 0, false},
    {40009, L"转换RICAD纵横断面数据", {}, 0, false},
    {40094, L"中桩平移，转换DMX, HDX文件", {}, 0, false},
    {40129, L"横断面地面线文件格式转换", {}, 0, false},
    {40100,
     L"生成纵断面图基点高程文件",
     {{IDC_TOOL_INPUT, L".SQX"}, {IDC_DERIVE_DMX, L".DMX"}, {IDC_DERIVE_DL, L".DL"}, {IDC_TOOL_OUTPUT, L".JGC"}},
     IDC_DERIVE_INCLUDE_DL,
     true},
    {40116, L"转换Tavix原有GZW文件为构造物信息文件(GZX)", {{IDC_TOOL_INPUT, L".GZW"}, {IDC_TOOL_OUTPUT, L".GZX"}}, 0, true},
    {40120, L"由构造物信息文件(GZX)导出桥梁桩号文件(QL)", {{IDC_TOOL_INPUT, L".GZX"}, {IDC_TOOL_OUTPUT, L".QL"}}, 0, true},
    {40115,
     L"提取道路两侧边沟沟底高程",
     {{IDC_TOOL_INPUT, L".3DD"}, {IDC_DERIVE_DL, L".DL"}, {IDC_TOOL_OUTPUT, L"沟底高程.TXT"}},
     IDC_DERIVE_INCLUDE_DL,
     false},
    {40123,
     L"导出BidRoad桥梁接口数据(*.BRF)",
     {{IDC_BRF_DYD, L".DYD"}, {IDC_BRF_SQX, L".SQX"}, {IDC_BRF_DMX, L".DMX"}, {IDC_BRF_CG, L".CG"}, {IDC_BRF_BRF, L".BRF"}},
     0,
     false},
};

// What the dialog a command opened showed.
struct Opened {
    int dialogs = 0;
    CString title;
    HWND owner = nullptr;
    std::vector<CString> names;
    int includeDL = -1;
};

// Sends the command to the window (the main frame or the file tree) and
// cancels the dialog it opens.
Opened Open(CWnd* target, const ToolCase& tool)
{
    Opened opened;
    DialogScript script;
    script.Then([&](CWnd* d) {
        opened.title = d->GetWindowText();
        opened.owner = ::GetWindow(d->GetSafeHwnd(), GW_OWNER);
        for (const NameField& field : tool.names) opened.names.push_back(GetText(d, field.control));
        if (tool.includeDL) opened.includeDL = d->IsDlgButtonChecked(tool.includeDL);
        Press(d, IDCANCEL);
    });
    target->SendMessage(WM_COMMAND, tool.command);
    PumpUntilIdle();
    opened.dialogs = script.DialogsSeen();
    EXPECT_TRUE(script.Unscripted().empty());
    return opened;
}

// The names the tool's dialog should show for a road folder and name.
std::vector<CString> Expected(const ToolCase& tool, const CString& folder, const CString& road)
{
    std::vector<CString> names;
    for (const NameField& field : tool.names) names.push_back(folder + L"\\" + road + field.extension);
    return names;
}

void CheckOpened(const Opened& opened, const ToolCase& tool, const CString& folder, const CString& road,
                 int includeDL)
{
    EXPECT_EQ(1, opened.dialogs);
    EXPECT_EQ(CString(tool.title), opened.title);
    EXPECT_EQ(Frame()->GetSafeHwnd(), opened.owner);
    EXPECT_EQ(Expected(tool, folder, road), opened.names);
    if (tool.includeDL) {
        EXPECT_EQ(includeDL, opened.includeDL);
    }
}

CTreeViewFile* FileTree() { return Frame()->FileTree(); }

} // namespace

TEST(ToolCommands, EachOpensItsDialogWithTheCurrentRoadsFiles)
{
    StartProgram();
    // The road has a break chain file: the tools that can use it offer it.
    WriteText(RoadFile(L".DL"), L"1000 990\n");
    for (const ToolCase& tool : kTools) {
        SCOPED_TRACE(tool.command);
        CheckOpened(Open(Frame(), tool), tool, RoadFolder(), kRoadName, BST_CHECKED);
    }
    ::DeleteFileW(RoadFile(L".DL"));
    const ToolCase& jgc = kTools[12];
    ASSERT_EQ(40100u, jgc.command);
    CheckOpened(Open(Frame(), jgc), jgc, RoadFolder(), kRoadName, BST_UNCHECKED);
}

TEST(ToolCommands, TheFileTreesEntriesOpenTheSameDialogs)
{
    StartProgram();
    ASSERT_NE(nullptr, FileTree());
    for (const ToolCase& tool : kTools) {
        if (!tool.inFileTree) continue;
        SCOPED_TRACE(tool.command);
        CheckOpened(Open(FileTree(), tool), tool, RoadFolder(), kRoadName, BST_UNCHECKED);
    }
}

// Without a current road the names are the project folder's with an empty
// road name, and the dialogs still open.
TEST(ToolCommands, WithoutACurrentRoadTheNamesComeFromTheProjectFolder)
{
    StartProgram();
    tkxProject& project = theApp.m_CurProject;
    const short current = project.m_iCurRoad;
    project.m_iCurRoad = -1;
    for (const ToolCase& tool : kTools) {
        if (tool.names.empty()) continue;
        SCOPED_TRACE(tool.command);
        CheckOpened(Open(Frame(), tool), tool, ProjectFolder(), L"", BST_UNCHECKED);
    }
    project.m_iCurRoad = current;
}
