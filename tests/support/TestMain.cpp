// Test programs' entry point.  Message boxes that no test scripted are
// printed and answered with their safe button, never shown; modal dialogs
// that no test scripted are printed and cancelled.  Tests write only under
// the program's scratch root: what a run leaves in the folder it started in
// is named and fails the run.
#include "MessageBoxScript.h"
#include "Scratch.h"
#include "WindowTest.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <set>

static int UnscriptedBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type, void*)
{
    std::string t = ClWideToMultiByte(text, -1, CP_UTF8);
    std::string c = ClWideToMultiByte(caption, -1, CP_UTF8);
    std::fprintf(stderr, "[message box \"%s\"] %s\n", c.c_str(), t.c_str());
    return MessageBoxScript::SafeAnswer(type);
}

// The names in a folder.
static std::set<std::wstring> FolderEntries(const CString& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

int main(int argc, char** argv)
{
    ClSetMessageBoxHook(&UnscriptedBox, nullptr);
    wintest::DialogScript::InstallGuard();
    testing::InitGoogleTest(&argc, argv);
    const CString startFolder = test_support::WorkingFolder();
    const std::set<std::wstring> before = FolderEntries(startFolder);
    int result = RUN_ALL_TESTS();
    for (const std::wstring& name : FolderEntries(startFolder)) {
        if (before.count(name)) continue;
        std::fprintf(stderr, "The tests left \"%s\" in the folder they started in, %s\n",
                     test_support::Utf8(name.c_str()).c_str(), test_support::Utf8(startFolder).c_str());
        result = 1;
    }
    return result;
}
