#include "dialogs_test_support.h"
#include "corvane/project/TavixDevApp.h"
#include <cstdio>

namespace dialogs_test {

namespace {

class DialogsHive : public LibraryHive
{
public:
    DialogsHive() : LibraryHive(L"dialogs") {}

protected:
    void Prepare() override
    {
        LibraryHive::Prepare();
        TavixDevApp().ReadCommentFile(BinFolder() + L"\\TvComment.ini");
    }
};

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new DialogsHive);

BOOL CALLBACK DescribeOne(HWND child, LPARAM out)
{
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    char line[512];
    std::snprintf(line, sizeof(line), "%d %s %s \"%s\"\n", ::GetDlgCtrlID(child), Utf8(name).c_str(),
                  ::IsWindowVisible(child) ? "visible" : "hidden",
                  Utf8(CWnd::FromHandle(child)->GetWindowText()).c_str());
    *reinterpret_cast<std::string*>(out) += line;
    return TRUE;
}

} // namespace

std::string DescribeChildren(HWND window)
{
    std::string text;
    ::EnumChildWindows(window, &DescribeOne, reinterpret_cast<LPARAM>(&text));
    return text;
}

KeepCurrentFolder::KeepCurrentFolder() : m_folder(WorkingFolder()) {}

KeepCurrentFolder::~KeepCurrentFolder() { ::SetCurrentDirectoryW(m_folder); }

CurrentProject::CurrentProject(const CString& folder, const wchar_t* road)
{
    tkxProject& project = TavixDevApp().m_CurProject;
    m_saved = project;
    tkxProject made;
    made.m_SName = L"测试项目";
    made.m_SPath = folder;
    ::CreateDirectoryW(folder, nullptr);
    if (road) {
        Tavix4::sRoadInfo info;
        info.m_SRoadName = road;
        made.m_Roads.Add(info);
        made.m_iCurRoad = 0;
        ::CreateDirectoryW(folder + L"\\" + road, nullptr);
    }
    project = made;
}

CurrentProject::~CurrentProject() { TavixDevApp().m_CurProject = m_saved; }

CString ShownFolder(CWnd* platform)
{
    wchar_t folder[MAX_PATH * 2] = {};
    platform->SendMessage(CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder));
    CString text(folder);
    if (text.GetLength() > 3) text.TrimRight(L'\\');
    return text;
}

CString ControlText(HWND parent, int id) { return CWnd::FromHandle(::GetDlgItem(parent, id))->GetWindowText(); }

HWND ShellList(CWnd* platform) { return ::GetDlgItem(::GetDlgItem(platform->GetSafeHwnd(), 1121), 1); }

int FindListItem(HWND list, const wchar_t* text)
{
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = text;
    return static_cast<int>(
        ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void SelectListItem(HWND list, int item, bool selected)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

std::vector<CString> ListTexts(HWND list)
{
    std::vector<CString> texts;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = 1024;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

} // namespace dialogs_test
