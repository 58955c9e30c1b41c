// The world of the tests of the program's shared pieces (see
// shared_world.cpp).
#pragma once
#include "brisko/shell/BriskoApp.h"
#include "support/LibraryWorld.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

// The resource library as the tests loaded it (null when it is missing).
HINSTANCE ResourceLibrary();

// Makes a window the application's main window for one scope.
class MainWindowFor
{
public:
    explicit MainWindowFor(CWnd* wnd);
    ~MainWindowFor();
    MainWindowFor(const MainWindowFor&) = delete;
    MainWindowFor& operator=(const MainWindowFor&) = delete;

private:
    CWnd* m_previous;
};
