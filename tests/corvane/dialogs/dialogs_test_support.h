// Shared helpers of the dialog tests.
//
// The whole program runs in the scratch hive of tests/support (tag
// "dialogs") with the library started inside it, so the file-dialog history
// and the current project start out empty; the suite's file-type table is
// read from the shipped "TvComment.ini".  The dialogs are the platform's own
// modal dialogs, driven by DialogScript steps.
#pragma once
#include "corvane/project/Project.h"
#include "support/LibraryWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <string>

namespace dialogs_test {

using namespace test_support;

// The controls of a dialog's window, one line each: id, class, visibility
// and text (for failure messages).
std::string DescribeChildren(HWND window);

// The file dialog makes the folder it ends in the current one; this puts
// the test's working folder back when it dies.
class KeepCurrentFolder
{
public:
    KeepCurrentFolder();
    ~KeepCurrentFolder();
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    CString m_folder;
};

// The library's current project for a test: a project in `folder` with one
// road (none for null) that is current; the previous one comes back when
// the object dies.  The folders are made.
class CurrentProject
{
public:
    CurrentProject(const CString& folder, const wchar_t* road);
    ~CurrentProject();
    CurrentProject(const CurrentProject&) = delete;
    CurrentProject& operator=(const CurrentProject&) = delete;

private:
    tkxProject m_saved;
};

// Inside the platform file dialog: the folder it shows, the text of a
// control, its file list and the items of that list.
CString ShownFolder(CWnd* platform);
CString ControlText(HWND parent, int id);
HWND ShellList(CWnd* platform);
int FindListItem(HWND list, const wchar_t* text);
void SelectListItem(HWND list, int item, bool selected = true);
std::vector<CString> ListTexts(HWND list);

} // namespace dialogs_test
