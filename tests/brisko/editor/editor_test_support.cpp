#include "editor_test_support.h"
#include "brisko/BriskoResource.h"

namespace edtest {

namespace {

// The scratch hive, the resource library as the program loads it, the
// profile in the registry and OLE for the clipboard and drops.
class EditorWorld : public test_support::ScratchHive
{
public:
    EditorWorld() : ScratchHive(L"brisko_editor") {}

protected:
    void Prepare() override
    {
        m_library = ::LoadLibraryW(test_support::BinFolder() + L"\\Tavix3_Res8.dll");
        if (m_library) {
            AfxAddResourceModule(m_library);
            theApp.m_hResourceDll = m_library;
        }
        theApp.SetRegistryKey(L"TavixSuite");
        AfxOleInit();
    }
    void CleanUp() override
    {
        AfxOleTerm();
        if (m_library) {
            theApp.m_hResourceDll = nullptr;
            AfxRemoveResourceModule(m_library);
            ::FreeLibrary(m_library);
        }
    }

private:
    HINSTANCE m_library = nullptr;
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new EditorWorld);

} // namespace

void SetText(CTvTextBuffer& buffer, const wchar_t* text)
{
    buffer.ReleaseAll();
    buffer.InitEmpty(0);
    int endLine = 0, endColumn = 0;
    buffer.InsertTextNoUndo(nullptr, 0, 0, text, endLine, endColumn);
    buffer.SetModified(FALSE);
}

CString AllText(CTvTextBuffer& buffer)
{
    CString text;
    const int last = buffer.GetLineCount() - 1;
    buffer.GetText(0, 0, last, buffer.GetLineLength(last), text);
    return text;
}

std::vector<CString> Lines(CTvTextBuffer& buffer)
{
    std::vector<CString> lines;
    for (int i = 0; i < buffer.GetLineCount(); ++i)
        lines.emplace_back(buffer.LineText(i), buffer.GetLineLength(i));
    return lines;
}

DWORD ColouringView::ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count)
{
    ++m_nParseCalls;
    if (!blocks) return cookie + 1;
    ++m_nBlockCalls;
    const wchar_t* chars = LineText(line);
    const int length = GetLineLength(line);
    int colour = -1;
    for (int i = 0; i < length; ++i) {
        int want = COLORINDEX_NORMALTEXT;
        if (i + 1 < length && chars[i] == L'/' && chars[i + 1] == L'/') {
            DefineBlock(blocks, count, i, COLORINDEX_COMMENT);
            break;
        }
        if (iswdigit(chars[i]) || chars[i] == L'.') want = COLORINDEX_NUMBER;
        if (want != colour) {
            DefineBlock(blocks, count, i, want);
            colour = want;
        }
    }
    return cookie + 1;
}

void Command(CWnd* view, UINT id) { view->SendMessage(WM_COMMAND, id, 0); }

void Place(TestView* view, const CPoint& pos)
{
    view->SetCursorPos(pos);
    view->SetAnchor(pos);
    view->SetSelection(pos, pos);
}

RecordingCmdUI Update(CCmdTarget* target, UINT id)
{
    RecordingCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(target, FALSE);
    return ui;
}

wintest::Image Picture(CWnd* view) { return wintest::PrintWindowImage(view, true); }

int CountColour(const wintest::Image& image, const CRect& rect, COLORREF colour)
{
    return image.Count(rect, colour);
}

} // namespace edtest
