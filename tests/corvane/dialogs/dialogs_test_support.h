// Shared helpers of the dialog tests.
//
// The whole program runs in the scratch hive of tests/support (tag
// "dialogs") with the library started inside it, so the file-dialog history
// and the current project start out empty.  The dialogs are the platform's
// own modal dialogs, driven by DialogScript steps.
#pragma once
#include "support/LibraryWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

namespace dialogs_test {

using namespace test_support;

// The controls of a dialog's window, one line each: id, class, visibility
// and text (for failure messages).
std::string DescribeChildren(HWND window);

// Saves what the window shows as <name>.bmp in the working folder.
void SaveRendering(HWND window, const wchar_t* name);

} // namespace dialogs_test
