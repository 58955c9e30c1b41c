// The world of the data-tool tests: the scratch hive with a registered
// current project "工具 项目" whose current road is "一号路", the fixture and
// golden files compiled into the program (fixtures.rc), and helpers that
// put them into scratch folders.  The program itself starts only for the
// tests that need its windows (StartProgram).
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "support/LibraryWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <string>
#include <vector>

namespace tooltest {

using namespace brisko_test;

extern const wchar_t kProjectName[];
extern const wchar_t kRoadName[];
CString ProjectFolder();
CString RoadFolder();

// Puts a fixture into the folder under the file name; the file's path.
CString PutFixture(const ScratchFolder& folder, const char* name, const wchar_t* file);
// Writes text as a data file holds it (code page 936, CR LF); the path.
CString PutText(const ScratchFolder& folder, const wchar_t* file, const wchar_t* text);

// The file's bytes with the line that starts with `prefix` left out (a
// clock line).
std::string WithoutLine(const std::string& bytes, const std::string& prefix);

} // namespace tooltest
