// Test programs' entry point.  Message boxes that no test scripted are
// printed and answered with their safe button, never shown; modal dialogs
// that no test scripted are printed and cancelled.
#include "MessageBoxScript.h"
#include "WindowTest.h"
#include <gtest/gtest.h>
#include <cstdio>

static int UnscriptedBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type, void*)
{
    std::string t = ClWideToMultiByte(text, -1, CP_UTF8);
    std::string c = ClWideToMultiByte(caption, -1, CP_UTF8);
    std::fprintf(stderr, "[message box \"%s\"] %s\n", c.c_str(), t.c_str());
    return MessageBoxScript::SafeAnswer(type);
}

int main(int argc, char** argv)
{
    ClSetMessageBoxHook(&UnscriptedBox, nullptr);
    wintest::DialogScript::InstallGuard();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
