// The world of the slope-template tests: a seeded hive with the program's
// bars shown, a registered current template library "测试模板库" in a
// folder of its own, and helpers that put the libraries back between tests
// and write template files.
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "brisko/templates/SlopeLine.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

namespace templates_test {

using namespace brisko_test;

extern const wchar_t kLibraryName[];

// The seeded library's folder, and a folder of the world where other
// libraries and files may be made (emptied by ResetLibraries).
CString LibraryFolder();
CString OtherFolder();

// The seeded library alone registered and current, holding no templates,
// its folder holding only its library file; the other folder empty; the
// application's copy of the current library updated when it is started.
void ResetLibraries();
// The current folder as the program started (the platform's file dialogs
// change it).
void RestoreCurrentFolder();

// Writes a file of 8-bit text (code page 936, "\n" as CR LF) into the
// library folder and returns its path.
CString WriteLibraryFile(const wchar_t* name, const wchar_t* text);
// Saves the lines as a template of the library and lists it in the
// current library (and the application's copy).
void AddTemplate(const wchar_t* name, const CSlopeLineArray& lines);

// A line of the given kind, other fields at their defaults, sketched from
// (1, -1).
CSlopeLine MakeLine(int fixedType, double fixedValue, int endMode, int endType, double endValue);

// Fixture of the tests that change libraries: the libraries are put back
// before each test.
class LibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetLibraries(); }
};

} // namespace templates_test
