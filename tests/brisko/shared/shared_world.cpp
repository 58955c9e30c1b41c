// The world of the tests of the program's shared pieces: a scratch hive
// with the library started in it, and the resource library loaded as the
// program loads it (the shared dialogs' templates live there).  The
// application itself is not started.
#include "shared_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/SharedDialogs.h"

namespace {

HINSTANCE g_resources = nullptr;

// Pictures of the shared dialogs, for a person to look at.  The first is
// taken from the screen before any test: once a top-level window has been
// destroyed, later ones no longer reach the screen here, so the second is
// printed.
void TakePictures()
{
    using namespace wintest;
    DialogScript select;
    select.Then([](CWnd* d) {
        CaptureWindow(d).SaveBmp(L"select_box.bmp");
        Press(d, IDCANCEL);
    });
    SelectMessageBox(L"TAVIX项目数据环境", L"数据文件[K1+200.DMX]不存在, 请选择要新建的文件类型:", L"纵断面地面线",
                     L"横断面地面线");
    DialogScript schematic;
    schematic.Then([](CWnd* d) {
        wintest::DialogImage(d).SaveBmp(L"schematic.bmp");
        d->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ShowSchematicDialog(nullptr, L"基点高程参数示意图", IDB_ABOUT_BANNER);
}

class SharedWorld : public test_support::LibraryHive
{
public:
    SharedWorld() : LibraryHive(L"brisko_shared") {}

protected:
    void Prepare() override
    {
        LibraryHive::Prepare();
        g_resources = ::LoadLibraryW(test_support::BinFolder() + L"\\Tavix3_Res8.dll");
        if (g_resources) AfxAddResourceModule(g_resources);
        TakePictures();
    }
    void CleanUp() override
    {
        if (!g_resources) return;
        AfxRemoveResourceModule(g_resources);
        ::FreeLibrary(g_resources);
        g_resources = nullptr;
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new SharedWorld);

} // namespace

HINSTANCE ResourceLibrary() { return g_resources; }

MainWindowFor::MainWindowFor(CWnd* wnd) : m_previous(theApp.m_pMainWnd) { theApp.m_pMainWnd = wnd; }
MainWindowFor::~MainWindowFor() { theApp.m_pMainWnd = m_previous; }
