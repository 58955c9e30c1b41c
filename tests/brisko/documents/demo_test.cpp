// The demo project's road opened as the program opens data files: every
// file of it is a data file of a known type, takes an edit and is saved with
// the edit and nothing else changed (the editor writes no line end after
// the last line).
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/FileName.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

// The demo project's road folder (made by demo_project.exe beside the
// program's folder, before this program runs).
CString DemoRoadFolder() { return BinFolder() + L"\\..\\demo\\示范项目\\一号路"; }

std::vector<CString> FilesIn(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(folder + L"\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

} // namespace

TEST(DemoRoad, EveryFileOpensAsADataFileTakesAnEditAndIsSaved)
{
    StartProgram();
    const std::vector<CString> names = FilesIn(DemoRoadFolder());
    ASSERT_GE(names.size(), 28u) << "the demo project is made by demo_project.exe: " << Utf8(DemoRoadFolder());
    DataFolder folder(L"demo_road");
    for (const CString& name : names) {
        SCOPED_TRACE(Utf8(name));
        const CString path = folder / name;
        ASSERT_TRUE(::CopyFileW(DemoRoadFolder() + L"\\" + name, path, FALSE));
        std::string before = ReadBytes(path);
        if (before.size() >= 2 && before.compare(before.size() - 2, 2, "\r\n") == 0) before.resize(before.size() - 2);
        CBriskoDoc* document = Open(path);
        ASSERT_NE(nullptr, document);
        // The structure information file, the design results that the tools
        // read (slope points, plane units) and the capped-section summary
        // are not among the suite's data-file types: they open as plain text.
        const CString ext = tkxFileName(path).GetExt();
        if (ext.CompareNoCase(L".GZX") == 0 || ext.CompareNoCase(L".3DD") == 0 || ext.CompareNoCase(L".DYD") == 0 ||
            ext.CompareNoCase(L".txt") == 0)
            EXPECT_EQ(kUnknownFileType, document->GetFileType());
        else
            EXPECT_NE(kUnknownFileType, document->GetFileType());
        EXPECT_GT(document->m_TextBuffer.GetLineLength(0), 0);
        TypeAtStart(document, L"//");
        ViewOf(document)->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
        EXPECT_FALSE(document->IsModified());
        EXPECT_EQ("//" + before, ReadBytes(path));
    }
}
