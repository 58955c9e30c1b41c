// The application's command table in the main menu, its keys, and the file
// commands: a new data file (never through a terrain-mesh template), the
// open dialog with its file types, printer setup without a printer, and the
// profile query offered only for a profile with grade points to ask.
#include "commands_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/editor/BriskoView.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "classlib/Print.h"
#include "support/LibraryWorld.h"
#include <map>

using namespace commands_test;

namespace {

// The commands of the application's message map with their menu texts.
const struct {
    UINT id;
    const wchar_t* text;
} kCommandTable[] = {
    {57600, L"新建(&N)\tCtrl+N"},
    {57601, L"打开(&O)...\tCtrl+O"},
    {57606, L"打印机设置(&r)..."},
    {57664, L"关于TAVIX项目数据环境(&A)..."},
    {57665, L"退出(&x)"},
    {40006, L"环境设置..."},
    {40007, L"页面横线"},
    {40132, L"重设文件关联"},
    {40098, L"转换路线大师 平面文件"},
    {40099, L"转换纬地 HintCAD 平面文件"},
    {40102, L"转换纬地 HintCAD 竖曲线文件"},
    {40103, L"转换路线大师 竖曲线文件"},
    {40101, L"转换纬地 HintCAD 横地线文件"},
    {40104, L"转换路线大师 横地线文件"},
    {40106, L"转换纬地 HintCAD 纵地线文件"},
    {40105, L"转换路线大师 纵地线文件"},
    {40128, L"转换鸿业 纵横地面线文件"},
    {40009, L"转换Ricad纵横断面数据"},
    {40094, L"中桩平移，转换DMX,HDX文件"},
    {40129, L"横地线格式转换"},
    {40100, L"生成纵断面基点高程文件"},
    {40116, L"导入GZW文件, 生成构造物信息文件(GZX)"},
    {40120, L"由构造物信息文件(GZX)导出桥梁桩号文件(QL)"},
    {40115, L"提取边沟沟底高程"},
    {40123, L"导出BidRoad桥梁接口(BRF)文件"},
    {40130, L"查询纵断面高程"},
    {40107, L"导入纬地道路数据"},
};

void CollectItems(HMENU menu, std::map<UINT, CString>& items)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU popup = ::GetSubMenu(menu, i)) {
            CollectItems(popup, items);
            continue;
        }
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
        items[::GetMenuItemID(menu, i)] = text;
    }
}

// The items of a menu resource of the resource library, by command.
std::map<UINT, CString> MenuResourceItems(UINT id)
{
    std::map<UINT, CString> items;
    HMENU menu = ::LoadMenuW(theApp.m_hResourceDll, MAKEINTRESOURCEW(id));
    EXPECT_NE(nullptr, menu);
    if (menu) CollectItems(menu, items);
    ::DestroyMenu(menu);
    return items;
}

int OpenDocumentCount() { return theApp.GetOpenDocumentCount(); }

// The key with Ctrl held, as the main window's message loop offers it.
void PressWithControl(UINT key)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    const BYTE control = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG message = {Frame()->GetSafeHwnd(), WM_KEYDOWN, key, 1};
    theApp.PreTranslateMessage(&message);
    keys[VK_CONTROL] = control;
    ::SetKeyboardState(keys);
    PumpUntilIdle();
}

std::vector<CString> ComboTexts(HWND combo)
{
    std::vector<CString> texts;
    const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        texts.emplace_back(text.c_str());
    }
    return texts;
}

} // namespace

TEST(CommandTable, EveryCommandIsInBothMainMenusAndOffered)
{
    StartProgram();
    ASSERT_LE(CurRoadProfile.GetBPDCount(), 1) << "the world's road has no vertical curves";
    for (UINT menu : {IDR_MAINFRAME, IDR_TAVIXTYPE}) {
        const std::map<UINT, CString> items = MenuResourceItems(menu);
        for (const auto& command : kCommandTable) {
            SCOPED_TRACE(testing::Message() << "menu " << menu << ", command " << command.id);
            const auto item = items.find(command.id);
            ASSERT_NE(items.end(), item);
            EXPECT_EQ(CString(command.text), item->second);
        }
    }
    // Every command works, but the profile query of a road without grade
    // points.
    for (const auto& command : kCommandTable) {
        const UINT state = MenuState(command.id);
        ASSERT_NE(static_cast<UINT>(-1), state) << command.id;
        EXPECT_EQ(command.id == 40130, (state & MF_GRAYED) != 0) << command.id;
    }
}

TEST(CommandTable, CtrlNMakesANewFileAndCtrlOAsksForOne)
{
    StartProgram();
    const int before = OpenDocumentCount();
    PressWithControl('N');
    EXPECT_EQ(before + 1, OpenDocumentCount());
    CloseDocuments();

    KeepCurrentFolder keep;
    CString title;
    DialogScript script;
    script.Then([&](CWnd* platform) {
        title = platform->GetWindowText();
        Press(platform, IDCANCEL);
    });
    PressWithControl('O');
    EXPECT_EQ(CString(L"打开TAVIX数据文件"), title);
    EXPECT_EQ(0, OpenDocumentCount());
}

TEST(FileCommands, ANewFileNeverComesFromATerrainMeshTemplate)
{
    StartProgram();
    CDocManager* programs = theApp.m_pDocManager;
    auto meshTemplate = [] {
        return new CMultiDocTemplate(IDR_TEST_MESHTYPE, RUNTIME_CLASS(CBriskoDoc), RUNTIME_CLASS(CMDIChildWnd),
                                     RUNTIME_CLASS(CBriskoView));
    };
    // The mesh template first, a data-file template after it.
    auto* first = new CDocManager;
    CDocTemplate* mesh = meshTemplate();
    first->AddDocTemplate(mesh);
    CDocTemplate* data = new CMultiDocTemplate(IDR_TAVIXTYPE, RUNTIME_CLASS(CBriskoDoc), RUNTIME_CLASS(CMDIChildWnd),
                                               RUNTIME_CLASS(CBriskoView), theApp.m_hResourceDll);
    first->AddDocTemplate(data);
    // Only a mesh template.
    auto* only = new CDocManager;
    CDocTemplate* onlyMesh = meshTemplate();
    only->AddDocTemplate(onlyMesh);

    CString extension;
    ASSERT_TRUE(mesh->GetDocString(extension, CDocTemplate::filterExt));
    EXPECT_EQ(CString(L".mesh"), extension);

    theApp.m_pDocManager = first;
    Command(ID_FILE_NEW);
    POSITION pos = data->GetFirstDocPosition();
    EXPECT_NE(nullptr, pos);
    EXPECT_EQ(nullptr, mesh->GetFirstDocPosition());
    CloseDocuments();

    theApp.m_pDocManager = only;
    Command(ID_FILE_NEW);
    EXPECT_EQ(nullptr, onlyMesh->GetFirstDocPosition());
    CloseDocuments();

    theApp.m_pDocManager = programs;
    delete first;
    delete only;
}

TEST(FileCommands, TheOpenDialogOffersTheDataFileTypesAndOpensTheChosenFile)
{
    StartProgram();
    ScratchFolder folder(L"open_command");
    const CString path = folder / L"一号路.DMX";
    WriteText(path, L"0 100\n20 101\n");
    KeepCurrentFolder keep;
    CString title;
    std::vector<CString> types;
    DialogScript script;
    script.Then([&](CWnd* platform) {
        title = platform->GetWindowText();
        types = ComboTexts(::GetDlgItem(platform->GetSafeHwnd(), 1136));
        SetText(platform, 1148, path);
        Press(platform, IDOK);
    });
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"打开TAVIX数据文件"), title);
    const std::vector<CString> expected = {
        L"所有文件(*.*)", L"桩号文件(*.st)", L"标准横断面文件(*.hdm)", L"超高文件(*.cg)",
        L"构造物信息文件(*.GZX)", L"桩号断链文件(*.DL)", L"平面交点线文件(*.jdx)", L"平面交点设计文件(*.jd)",
        L"平面积木法单元数据文件(*.icd)", L"平面坐标点文件(*.ZBD)", L"平面曲线参数文件(*.PAR)",
        L"平面单元设计要素文件(*.DYD)", L"平面逐桩坐标文件(*.INF)", L"纵断面地面线文件(*.dmx)",
        L"纵断面竖曲线文件(*.sqx)", L"纵断面拉坡控制点文件(*.KZD)", L"纵断图断面类型文件(*.TYP)",
        L"纵断图地质概况文件(*.DGK)", L"纵断图街沟设计文件(*.JGS)", L"纵断图标注文件(*.BZ)",
        L"纵断图基点高程文件(*.JGC)", L"横断面地面线文件(*.hdx)",
    };
    EXPECT_EQ(expected, types);
    EXPECT_TRUE(IsOpen(path));
    CloseDocuments();
    DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog");
}

TEST(FileCommands, PrinterSetupWithoutAPrinterSaysSo)
{
    StartProgram();
    ASSERT_FALSE(ClHasPrinter()) << "this test expects a machine without printers";
    MessageBoxScript boxes;
    DialogScript script;
    Command(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(std::vector<CString>{CL_MSG_NO_PRINTER}, boxes.Texts());
    EXPECT_EQ(0, script.DialogsSeen());
}

// The road's vertical curves as the frame loads them with its break chain.
class RoadCurves
{
public:
    RoadCurves(const wchar_t* chain, const wchar_t* curves)
    {
        theApp.m_CurProject.m_Roads[0].m_SBreakChain = chain;
        WriteText(RoadFile(L".SQX"), curves);
        Frame()->SendMessage(WM_PROJECTCHANGED);
        PumpUntilIdle();
    }
    ~RoadCurves()
    {
        theApp.m_CurProject.m_Roads[0].m_SBreakChain.Empty();
        ::DeleteFileW(RoadFile(L".SQX"));
        Frame()->SendMessage(WM_PROJECTCHANGED);
        PumpUntilIdle();
    }
};

TEST(ProfileQueryCommand, IsOfferedForMoreThanOneGradePointAndStartsAtTheFirst)
{
    StartProgram();
    StationSettings stations(3, 1);
    // No grade point (the world's road has no vertical curves), then one
    // (no file holds just one).
    for (int points = 0; points < 2; ++points) {
        if (points == 1) {
            ASSERT_EQ(1, CurRoadProfile.InsertBPD(100, 100, 0));
        }
        ASSERT_EQ(points, CurRoadProfile.GetBPDCount());
        EXPECT_TRUE(MenuState(ID_TOOL_ZDM_INQUIRE) & MF_GRAYED) << points;
        DialogScript script;
        Command(ID_TOOL_ZDM_INQUIRE);
        EXPECT_EQ(0, script.DialogsSeen()) << points;
    }
    theApp.LoadCurrentRoadData();
    RoadCurves three(L"1000=990", L"995_2 100\n1300_2 104 5000\n1600_2 102\n");
    ASSERT_EQ(3, CurRoadProfile.GetBPDCount());
    EXPECT_FALSE(MenuState(ID_TOOL_ZDM_INQUIRE) & MF_GRAYED);
    CString title, station, design;
    DialogScript script;
    script.Then([&](CWnd* d) {
        title = d->GetWindowText();
        station = GetText(d, IDC_INQUIRE_STATION);
        design = GetText(d, IDC_INQUIRE_DESIGN);
        Press(d, IDOK);
    });
    Command(ID_TOOL_ZDM_INQUIRE);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"纵断面信息查询"), title);
    EXPECT_EQ(CString(L"995.000_2"), station); // in the second chain segment
    EXPECT_EQ(CString(L"100"), design);
}
