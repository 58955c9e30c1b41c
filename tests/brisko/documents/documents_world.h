// The world of the data-file document tests: the program started with the
// field tooltip and automatic reload on, a registered current project
// "文档 项目" with the current road "一号路", and helpers that open data
// files as the program does.
#pragma once
#include "brisko/editor/BriskoDoc.h"
#include "brisko/editor/BriskoView.h"
#include "brisko/support/BriskoWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

namespace doctest {

using namespace brisko_test;

extern const wchar_t kProjectName[];
extern const wchar_t kRoadName[];

// The project's folder and the road's folder.
CString ProjectFolder();
CString RoadFolder();

// A scratch folder of data files for one test, removed with it (the
// documents on its files are closed first).
class DataFolder
{
public:
    explicit DataFolder(const wchar_t* name);
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;
    const CString& Path() const { return m_path; }
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }
    // Writes the text (code page 936, "\n" as CR LF) and returns the path.
    CString Write(const wchar_t* name, const wchar_t* text) const;

private:
    CString m_path;
};

// Opens the file through the application; NULL when it does not open as
// a data-file document.
CBriskoDoc* Open(const CString& path);
CBriskoView* ViewOf(CDocument* document);
// The document's lines.
std::vector<CString> Lines(CBriskoDoc* document);
// Closes every document without asking.
void CloseAll();
// The caret at (column, line), nothing selected.
void Place(CBriskoView* view, int line, int column);
// Types the text at the start of the document's first line, as the user
// would.
void TypeAtStart(CBriskoDoc* document, const wchar_t* text);

} // namespace doctest
