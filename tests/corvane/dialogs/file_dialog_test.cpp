// The extended file dialog: the panel below the platform dialog with the
// preview, the folder history and the project and road buttons; and the
// window hooks it watches its windows with.
#include "corvane/ui/FileDialog.h"
#include "corvane/CorvaneResource.h"
#include "corvane/project/TavixDevApp.h"
#include "dialogs_test_support.h"
#include <functional>
#include <memory>

using namespace dialogs_test;
using namespace wintest;

namespace {

const wchar_t kHistoryKey[] = L"SOFTWARE\\TavixSuite\\TavixFileDialog";
const wchar_t kAllFiles[] = L"所有文件 (*.*)|*.*||";

// Gives the tests the dialog's inside.
class ProbeDialog : public tkxFileDialog
{
public:
    ProbeDialog(const CString& file, DWORD flags = OFN_HIDEREADONLY)
        : tkxFileDialog(TRUE, nullptr, file, flags, kAllFiles)
    {
    }
    using tkxFileDialog::m_iFileNameCtrl;
    using tkxFileDialog::m_SPathHistory;

    // Runs before the dialog's own start, inside the platform dialog.
    std::function<void(HWND platform)> beforeInit;
    // Command-update requests for the road button.
    int roadUpdates = 0;

    // The platform dialog leaves the current folder where it ended.
    INT_PTR DoModal() override
    {
        KeepCurrentFolder keep;
        return tkxFileDialog::DoModal();
    }
    BOOL OnInitDialog() override
    {
        if (beforeInit) beforeInit(::GetParent(m_hWnd));
        return tkxFileDialog::OnInitDialog();
    }
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        if (id == IDC_FILEDLG_ROAD && code == static_cast<int>(CN_UPDATE_COMMAND_UI)) ++roadUpdates;
        return tkxFileDialog::OnCmdMsg(id, code, extra, info);
    }
};

bool Visible(HWND parent, int id) { return ::IsWindowVisible(::GetDlgItem(parent, id)) != FALSE; }

CString Preview(const ProbeDialog& dialog) { return ControlText(dialog.m_hWnd, IDC_FILEDLG_PREVIEW); }
CString TypeText(const ProbeDialog& dialog) { return ControlText(dialog.m_hWnd, IDC_FILEDLG_TYPE); }

void SeedHistory(const std::vector<CString>& values)
{
    DeleteRegTree(HKEY_CURRENT_USER, kHistoryKey);
    for (size_t i = 0; i < values.size(); ++i)
        SetRegString(HKEY_CURRENT_USER, kHistoryKey, ClFormat(L"PATH%d", static_cast<int>(i)), values[i]);
}

std::vector<CString> StoredHistory()
{
    std::vector<CString> values;
    for (int i = 0; i < 10; ++i) values.push_back(GetRegString(HKEY_CURRENT_USER, kHistoryKey, ClFormat(L"PATH%d", i)));
    return values;
}

class FileDialogTest : public ::testing::Test
{
protected:
    FileDialogTest() : dir(L"files") {}
    void SetUp() override { DeleteRegTree(HKEY_CURRENT_USER, kHistoryKey); }

    ScratchFolder dir;
};

} // namespace

// ---------------------------------------------------------------------------
// The panel and its buttons

TEST_F(FileDialogTest, TheButtonsShowWhatThereIsToOpen)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    struct Case {
        bool project;
        const wchar_t* road;
        bool projectButton, roadButton;
    };
    const Case cases[] = {{false, nullptr, false, false}, {true, nullptr, true, false}, {true, L"一号路", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project ? (c.road ? "project and road" : "project") : "nothing");
        std::unique_ptr<CurrentProject> project;
        if (c.project) project.reset(new CurrentProject(dir / L"项目", c.road));
        ProbeDialog dialog(dir / L"R1.DL");
        bool projectButton = false, roadButton = false;
        DialogScript script;
        script.Then([&](CWnd* platform) {
            projectButton = Visible(dialog.m_hWnd, IDC_FILEDLG_PROJECT);
            roadButton = Visible(dialog.m_hWnd, IDC_FILEDLG_ROAD);
            Press(platform, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_EQ(c.projectButton, projectButton);
        EXPECT_EQ(c.roadButton, roadButton);
        // This platform dialog's file-name box.
        EXPECT_EQ(1148, dialog.m_iFileNameCtrl);
    }
}

TEST_F(FileDialogTest, TheButtonsOpenTheProjectAndRoadFoldersAndKeepTheTypedName)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    CurrentProject project(dir / L"项目 甲", L"一号 路");
    ProbeDialog dialog(dir / L"R1.DL");
    CString atProject, atRoad, nameAfter;
    DialogScript script;
    script
        .Then([&](CWnd*) { Press(&dialog, IDC_FILEDLG_PROJECT); })
        .Then([&](CWnd* platform) {
            atProject = ShownFolder(platform);
            Press(&dialog, IDC_FILEDLG_ROAD);
        })
        .Then([&](CWnd* platform) {
            atRoad = ShownFolder(platform);
            nameAfter = ControlText(platform->GetSafeHwnd(), 1148);
            Press(platform, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(dir / L"项目 甲", atProject);
    EXPECT_EQ(dir / L"项目 甲\\一号 路", atRoad);
    EXPECT_EQ(CString(L"R1.DL"), nameAfter);
}

// The file-name box is 1148 where the platform dialog has it, else 1152;
// without either the buttons are hidden, with 1152 they work through it.
TEST(FileNameControl, IsFoundInEitherLayout)
{
    struct Case {
        std::vector<int> ids;
        int found;
    };
    const Case cases[] = {{{1148}, 1148}, {{1152}, 1152}, {{1152, 1148}, 1148}, {{1001}, 0}, {{}, 0}};
    for (const Case& c : cases) {
        HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        for (int id : c.ids)
            ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 5, 5, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        EXPECT_EQ(c.found, tkxFileDialog::FindFileNameControl(parent));
        ::DestroyWindow(parent);
    }
}

TEST_F(FileDialogTest, WithoutTheComboTheButtonsWorkThroughTheEditBox)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    CurrentProject project(dir / L"项目", L"路");
    struct Case {
        const char* layout;
        std::function<void(HWND)> change;
        int control;
    };
    const Case cases[] = {
        {"edit box 1152", [](HWND platform) { ::SetWindowLongPtrW(::GetDlgItem(platform, 1148), GWLP_ID, 1152); },
         1152},
        {"no file-name box", [](HWND platform) { ::SetWindowLongPtrW(::GetDlgItem(platform, 1148), GWLP_ID, 1901); },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        ProbeDialog dialog(dir / L"R1.DL");
        dialog.beforeInit = c.change;
        bool projectButton = false, roadButton = false;
        CString atProject;
        DialogScript script;
        script
            .Then([&](CWnd*) {
                projectButton = Visible(dialog.m_hWnd, IDC_FILEDLG_PROJECT);
                roadButton = Visible(dialog.m_hWnd, IDC_FILEDLG_ROAD);
                Press(&dialog, IDC_FILEDLG_PROJECT);
            })
            .Then([&](CWnd* platform) {
                atProject = ShownFolder(platform);
                Press(platform, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_EQ(c.control, dialog.m_iFileNameCtrl);
        EXPECT_EQ(c.control != 0, projectButton);
        EXPECT_EQ(c.control != 0, roadButton);
        EXPECT_EQ(c.control ? dir / L"项目" : dir.Path(), atProject);
    }
}

// ---------------------------------------------------------------------------
// Preview

TEST_F(FileDialogTest, ThePreviewFollowsTheSelection)
{
    WriteText(dir / L"R1.DL", L"// 断链\nK0+000 K0+000\n");
    WriteText(dir / L"说明.txt", L"第一行\n第二行\n");
    WriteText(dir / L"other.xyz", L"x\n");
    CString lines;
    for (int i = 1; i <= 150; ++i) lines += ClFormat(L"%d\n", i);
    WriteText(dir / L"many.DMX", lines);
    CString wide;
    for (int i = 0; i < 20; ++i) wide += CString(L'#', 40) + L"\n";
    WriteText(dir / L"wide.SQX", wide);
    WriteText(dir / L"locked.DL", L"x\n");
    HANDLE locked = CreateFileW(dir / L"locked.DL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    MessageBoxScript boxes;

    CString hundred;
    for (int i = 1; i <= 100; ++i) hundred += ClFormat(L"%d\r\n", i);
    CString cut;
    for (int i = 0; i < 12; ++i) cut += CString(L'#', 40) + L"\r\n"; // 12 x 41 = 492; a 13th would pass 512
    cut += L"\r\n\t\t[文件内容未结束]";

    struct Case {
        const wchar_t* file;
        CString type, preview;
    };
    const Case cases[] = {
        {L"R1.DL", L"桩号断链文件", L"// 断链\r\nK0+000 K0+000\r\n"},
        {L"说明.txt", L"文本文件", L"第一行\r\n第二行\r\n"},
        {L"other.xyz", L"未知类型文件", L"[TAVIX不提供预览的文件类型]"},
        {L"many.DMX", L"纵断面地面线文件", hundred},
        {L"wide.SQX", L"纵断面竖曲线文件", cut},
        {L"locked.DL", L"桩号断链文件", L"打开文件失败!"},
    };

    ProbeDialog dialog(dir / L"R1.DL", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT);
    std::vector<CString> types, previews;
    CString initial, several;
    DialogScript script;
    script.Then([&](CWnd*) { initial = Preview(dialog); });
    for (const Case& c : cases) {
        script.Then([&](CWnd* platform) {
            HWND list = ShellList(platform);
            for (int i = 0; i < ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++i) SelectListItem(list, i, false);
            SelectListItem(list, FindListItem(list, c.file));
        });
        script.Then([&](CWnd*) {
            types.push_back(TypeText(dialog));
            previews.push_back(Preview(dialog));
        });
    }
    script
        .Then([&](CWnd* platform) {
            HWND list = ShellList(platform);
            SelectListItem(list, FindListItem(list, L"R1.DL"));
            SelectListItem(list, FindListItem(list, L"other.xyz"));
        })
        .Then([&](CWnd* platform) {
            several = Preview(dialog);
            Press(platform, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(CString(L"[没有选择]"), initial);
    ASSERT_EQ(std::size(cases), previews.size());
    for (size_t i = 0; i < previews.size(); ++i) {
        SCOPED_TRACE(Utf8(cases[i].file));
        EXPECT_EQ(cases[i].type, types[i]);
        EXPECT_EQ(cases[i].preview, previews[i]);
    }
    EXPECT_EQ(CString(L"[选中多个文件]"), several);
    // The file that could not be opened was reported.
    CloseHandle(locked);
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST_F(FileDialogTest, WithoutTheFileListNothingIsSelected)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    ProbeDialog dialog(dir / L"R1.DL");
    CString preview;
    DialogScript script;
    script
        .Then([&](CWnd* platform) { SelectListItem(ShellList(platform), FindListItem(ShellList(platform), L"R1.DL")); })
        .Then([&](CWnd* platform) {
            // The list is no longer where the dialog looks for it.
            HWND list = ShellList(platform);
            ::SetWindowLongPtrW(list, GWLP_ID, 77);
            NMHDR change{platform->GetSafeHwnd(), 0, static_cast<UINT>(CDN_TYPECHANGE)};
            ::SendMessageW(dialog.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
            preview = Preview(dialog);
            ::SetWindowLongPtrW(list, GWLP_ID, 1);
            Press(platform, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(CString(L"[没有选择]"), preview);
}

// ---------------------------------------------------------------------------
// History

TEST_F(FileDialogTest, TheHistoryListShowsTheStoredFolders)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    CString deep = L"D:";
    while (deep.GetLength() < 700) deep += L"\\很深的目录";
    SeedHistory({L"D:\\一", L"", L"D:\\二", L"   ", L"D:\\三", L"", L"", L"", deep, L"D:\\十"});
    ProbeDialog dialog(dir / L"R1.DL");
    std::vector<CString> shown;
    DialogScript script;
    script.Then([&](CWnd* platform) {
        shown = ListTexts(::GetDlgItem(dialog.m_hWnd, IDC_FILEDLG_HISTORY));
        Press(platform, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<CString>{L"D:\\一", L"D:\\二", L"D:\\三", deep, L"D:\\十"}), shown);
    // Cancelling stores nothing.
    EXPECT_EQ(CString(L"D:\\一"), StoredHistory()[0]);
}

TEST_F(FileDialogTest, ChoosingAFileKeepsItsFolderFirstInTheHistory)
{
    ScratchFolder other(L"其他 目录");
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    WriteText(other / L"R2.DL", L"K0+000 K0+000\n");
    std::vector<CString> seeded;
    for (int i = 0; i < 10; ++i) seeded.push_back(ClFormat(L"D:\\folder %d", i));
    CString upper = dir.Path();
    upper.MakeUpper();
    seeded[2] = upper; // the same folder in another case

    auto choose = [&](const CString& file) {
        ProbeDialog dialog(file);
        DialogScript script;
        script.Then([&](CWnd* platform) { Press(platform, IDOK); });
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(file, dialog.GetPathName());
    };

    SeedHistory(seeded);
    choose(dir / L"R1.DL");
    EXPECT_EQ(seeded, StoredHistory()); // known already: nothing changes

    choose(other / L"R2.DL");
    std::vector<CString> expected = seeded;
    expected.insert(expected.begin(), other.Path());
    expected.pop_back();
    EXPECT_EQ(expected, StoredHistory());
}

TEST_F(FileDialogTest, AHistoryWithAValueMissingStartsEmpty)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    std::vector<CString> nine;
    for (int i = 0; i < 9; ++i) nine.push_back(ClFormat(L"D:\\folder %d", i));
    SeedHistory(nine);
    ProbeDialog dialog(dir / L"R1.DL");
    size_t shown = 99;
    DialogScript script;
    script.Then([&](CWnd* platform) {
        shown = ListTexts(::GetDlgItem(dialog.m_hWnd, IDC_FILEDLG_HISTORY)).size();
        Press(platform, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(0u, shown);
    std::vector<CString> expected(10, CString());
    expected[0] = dir.Path();
    EXPECT_EQ(expected, StoredHistory());
}

TEST_F(FileDialogTest, ADoubleClickOnTheHistoryOpensTheFolder)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    ScratchFolder other(L"history");
    SeedHistory({other.Path(), L"C:", L"", L"", L"", L"", L"", L"", L"", L""});
    ProbeDialog dialog(dir / L"R1.DL");
    std::vector<CString> shown;
    DialogScript script;
    auto doubleClick = [&](int item) {
        return [&dialog, item](CWnd*) {
            HWND list = ::GetDlgItem(dialog.m_hWnd, IDC_FILEDLG_HISTORY);
            SelectListItem(list, item);
            NMITEMACTIVATE click{};
            click.hdr = {list, IDC_FILEDLG_HISTORY, static_cast<UINT>(NM_DBLCLK)};
            click.iItem = item;
            ::SendMessageW(dialog.m_hWnd, WM_NOTIFY, IDC_FILEDLG_HISTORY, reinterpret_cast<LPARAM>(&click));
        };
    };
    script.Then(doubleClick(0))
        .Then([&](CWnd* platform) { shown.push_back(ShownFolder(platform)); })
        .Then(doubleClick(1))
        .Then([&](CWnd* platform) {
            shown.push_back(ShownFolder(platform));
            Press(platform, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<CString>{other.Path(), L"C:\\"}), shown);
}

// A folder that is gone (an old history entry, a removed project folder) is
// named and opened in neither dialog: the save dialog would otherwise take
// it for the file chosen and close.
TEST_F(FileDialogTest, AFolderThatIsGoneIsNamedAndNotChosen)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    const CString gone = dir / L"旧 目录";
    SeedHistory({gone, L"", L"", L"", L"", L"", L"", L"", L"", L""});
    CurrentProject project(dir / L"已删 项目", L"路");
    ::RemoveDirectoryW(dir / L"已删 项目\\路");
    ::RemoveDirectoryW(dir / L"已删 项目");
    struct Case {
        const char* what;
        BOOL open;
        bool fromHistory;
        CString folder;
    };
    const Case cases[] = {
        {"save, history", FALSE, true, gone},
        {"open, history", TRUE, true, gone},
        {"save, project button", FALSE, false, dir / L"已删 项目"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeepCurrentFolder keep;
        tkxFileDialog dialog(c.open, nullptr, dir / L"R1.DL", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                             L"所有文件|*.*||");
        MessageBoxScript boxes;
        CString shown;
        DialogScript script;
        script
            .Then([&](CWnd*) {
                if (!c.fromHistory) {
                    Press(&dialog, IDC_FILEDLG_PROJECT);
                    return;
                }
                HWND list = ::GetDlgItem(dialog.m_hWnd, IDC_FILEDLG_HISTORY);
                SelectListItem(list, 0);
                NMITEMACTIVATE click{};
                click.hdr = {list, IDC_FILEDLG_HISTORY, static_cast<UINT>(NM_DBLCLK)};
                click.iItem = 0;
                ::SendMessageW(dialog.m_hWnd, WM_NOTIFY, IDC_FILEDLG_HISTORY, reinterpret_cast<LPARAM>(&click));
            })
            .Then([&](CWnd* platform) {
                shown = ShownFolder(platform);
                Press(platform, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_FALSE(script.StepsLeft());
        EXPECT_EQ(dir.Path(), shown);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(ClFormat(L"文件夹:\n\n%s\n\n不存在.", c.folder.GetString()), boxes.LastText());
        EXPECT_EQ(CString(L"TAVIX"), boxes.Shown()[0].caption);
    }
    EXPECT_EQ(gone, StoredHistory()[0]);
}

// ---------------------------------------------------------------------------
// Layout and the command-update pass

TEST_F(FileDialogTest, ThePanelAndPreviewReachTheRightSide)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    ProbeDialog dialog(dir / L"R1.DL", OFN_HIDEREADONLY | OFN_ENABLESIZING);
    CRect client, panel, preview, cancel;
    DialogScript script;
    script
        .Then([&](CWnd* platform) {
            CRect window;
            platform->GetWindowRect(&window);
            platform->SetWindowPos(nullptr, 0, 0, window.Width() + 120, window.Height() + 40,
                                   SWP_NOMOVE | SWP_NOZORDER);
        })
        .Then([&](CWnd* platform) {
            HWND p = platform->GetSafeHwnd();
            platform->GetClientRect(&client);
            auto rectOf = [p](HWND w) {
                CRect r;
                ::GetWindowRect(w, &r);
                ::MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
                return r;
            };
            panel = rectOf(dialog.m_hWnd);
            preview = rectOf(::GetDlgItem(dialog.m_hWnd, IDC_FILEDLG_PREVIEW));
            cancel = rectOf(::GetDlgItem(p, IDCANCEL));
            Press(platform, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(client.right, panel.right);
    EXPECT_EQ(cancel.right, preview.right);
}

// The platform dialog idling after a command or notification of the panel
// runs the command-update pass over the panel's controls, once.
TEST_F(FileDialogTest, TheOwnerIdlingAfterACommandUpdatesThePanelsControls)
{
    WriteText(dir / L"R1.DL", L"K0+000 K0+000\n");
    TestFrame* owner = new TestFrame;
    HWND ownerWindow = owner->GetSafeHwnd();
    const LONG_PTR ownerProcedure = ::GetWindowLongPtrW(ownerWindow, GWLP_WNDPROC);
    std::vector<int> added; // update requests after each idle message
    {
        ProbeDialog dialog(dir / L"R1.DL");
        dialog.m_pParentWnd = owner;
        DialogScript script;
        auto idle = [&](HWND from) {
            const int before = dialog.roadUpdates;
            ::SendMessageW(ownerWindow, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(from));
            added.push_back(dialog.roadUpdates - before);
        };
        script
            .Then([&](CWnd* platform) {
                // Whatever the start left to update, then nothing new.
                idle(platform->GetSafeHwnd());
                added.clear();
                idle(platform->GetSafeHwnd());
                SelectListItem(ShellList(platform), FindListItem(ShellList(platform), L"R1.DL"));
                idle(ownerWindow); // not from the platform dialog
                idle(platform->GetSafeHwnd());
                idle(platform->GetSafeHwnd()); // done already
                Press(platform, IDCANCEL);
            });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    EXPECT_EQ((std::vector<int>{0, 0, 1, 0}), added);
    // The owner has its own procedure back once the dialog is gone.
    EXPECT_EQ(ownerProcedure, ::GetWindowLongPtrW(ownerWindow, GWLP_WNDPROC));
    owner->DestroyWindow();
}

// ---------------------------------------------------------------------------
// Window hooks

namespace {

// A hook that notes the messages it sees.
class NotingHook : public CSubclassWnd
{
public:
    NotingHook(std::vector<std::string>& log, const char* name) : m_log(log), m_name(name) {}
    LRESULT OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 7) m_log.push_back(m_name);
        return CSubclassWnd::OnHookMessage(message, wParam, lParam);
    }

private:
    std::vector<std::string>& m_log;
    const char* m_name;
};

// A window that answers WM_USER + 7 with 42.
LRESULT CALLBACK Answering(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 7) return 42;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeAnsweringWindow()
{
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Answering));
    return hwnd;
}

} // namespace

TEST(WindowHooks, ChainedHooksSeeEachMessageNewestFirst)
{
    HWND hwnd = MakeAnsweringWindow();
    std::vector<std::string> log;
    NotingHook a(log, "a"), b(log, "b"), c(log, "c");
    ASSERT_TRUE(a.SetHookedWindow(hwnd));
    ASSERT_TRUE(b.SetHookedWindow(hwnd));
    ASSERT_TRUE(c.SetHookedWindow(hwnd));
    EXPECT_EQ(42, ::SendMessageW(hwnd, WM_USER + 7, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"c", "b", "a"}), log);

    // Cut out of the middle, then off the front, then the last one.
    struct Step {
        CSubclassWnd* unhook;
        std::vector<std::string> seen;
    };
    const Step steps[] = {{&b, {"c", "a"}}, {&c, {"a"}}, {&a, {}}};
    for (const Step& step : steps) {
        step.unhook->SetHookedWindow(nullptr);
        log.clear();
        EXPECT_EQ(42, ::SendMessageW(hwnd, WM_USER + 7, 0, 0));
        EXPECT_EQ(step.seen, log);
    }
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&Answering), ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    EXPECT_FALSE(a.SetHookedWindow(reinterpret_cast<HWND>(0x1234)));
    ::DestroyWindow(hwnd);
}

TEST(WindowHooks, HooksLetGoOfADestroyedWindowAndDieUnhooked)
{
    std::vector<std::string> log;
    HWND hwnd = MakeAnsweringWindow();
    NotingHook a(log, "a"), b(log, "b");
    a.SetHookedWindow(hwnd);
    b.SetHookedWindow(hwnd);
    ::DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, a.GetHookedWindow());
    EXPECT_EQ(nullptr, b.GetHookedWindow());
    EXPECT_EQ(nullptr, CSubclassWndMap::GetHookMap().Lookup(hwnd));

    HWND other = MakeAnsweringWindow();
    {
        NotingHook temporary(log, "t");
        temporary.SetHookedWindow(other);
    }
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&Answering), ::GetWindowLongPtrW(other, GWLP_WNDPROC));
    ::DestroyWindow(other);
}
