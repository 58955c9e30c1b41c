// The template editor run as the template tree runs it, driven through its
// controls: the fixed kinds and the end rules they allow, the checks of arcs
// and thickness, the presets, deleting, typing values, choosing control
// files, saving and closing; and a rendering of the editor
// (editor_dialog.bmp).
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/templates/Dialog_TemplateEdit.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/project/TavixInterface.h"
#include "templates_world.h"
#include "support/FailingWrites.h"
#include <cmath>
#include <vector>

using namespace templates_test;
using namespace wintest;

namespace {

class EditorTest : public LibraryTest
{
protected:
    void SetUp() override
    {
        StartProgram();
        LibraryTest::SetUp();
    }

    // Runs the editor on m_lines; the steps get the editor.  A step left
    // when the editor closed is not run; the editor still open after the
    // steps is closed without saving.
    void Run(std::initializer_list<std::function<void(CDialog_TemplateEdit*)>> steps, const CString& path = CString(),
             short newTemplate = 0)
    {
        m_dialog.reset(new CDialog_TemplateEdit(theApp.m_pMainWnd));
        m_dialog->m_pSlopeLines = &m_lines;
        m_dialog->m_STemplatePath = path;
        m_dialog->m_bNewTemplate = newTemplate;
        DialogScript script;
        for (const auto& step : steps) script.Then([step](CWnd* d) { step(static_cast<CDialog_TemplateEdit*>(d)); });
        script.Then([](CWnd* d) { Press(d, IDCANCEL); });
        m_dialog->DoModal();
    }

    // The user's actions, each carried out at once.
    static void Choose(CWnd* d, int id, int index)
    {
        HWND combo = ::GetDlgItem(d->GetSafeHwnd(), id);
        ::SendMessageW(combo, CB_SETCURSEL, index, 0);
        d->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static void Click(CWnd* d, int id, bool check = true)
    {
        HWND button = ::GetDlgItem(d->GetSafeHwnd(), id);
        if (::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            const int first = id >= IDC_TPL_TYPE0 ? IDC_TPL_TYPE0 : IDC_TPL_MODE_LENGTH;
            const int last = id >= IDC_TPL_TYPE0 ? IDC_TPL_TYPE5 : IDC_TPL_MODE_WIDTH;
            ::CheckRadioButton(d->GetSafeHwnd(), first, last, id);
        } else {
            ::SendMessageW(button, BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        d->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    static void Command(CWnd* d, int id)
    {
        d->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(d->GetSafeHwnd(), id)));
    }
    static bool Enabled(CWnd* d, int id) { return d->GetDlgItem(id)->IsWindowEnabled() != 0; }
    static bool Shown(CWnd* d, int id) { return (d->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }

    void Lines(std::initializer_list<CSlopeLine> lines)
    {
        m_lines.RemoveAll();
        for (const CSlopeLine& line : lines) m_lines.Add(line);
        SketchSlopeLines(m_lines);
    }

    CSlopeLineArray m_lines;
    std::unique_ptr<CDialog_TemplateEdit> m_dialog;
};

} // namespace

// The editor as it opens on a template of three lines, for a person to
// look at; the preview fills the room between the name row and the
// settings, and keeps doing so when the editor grows.
TEST_F(EditorTest, OpensOnTheFirstLineWithThePreviewBetweenNameAndSettings)
{
    CSlopeLine fill = MakeLine(0, 1.5, 0, 0, 3.0);
    fill.m_bLabelSlope = fill.m_bLabelOffsetElev = 1;
    fill.m_iLabelOffsetElevPos = 2;
    fill.m_bSaveEndOffset = fill.m_bSavePosType = fill.m_bSaveLength = 1;
    fill.m_bInsertWall = 1;
    fill.m_sWallFile = L"挡墙.DQ";
    fill.m_bStopControl = 1;
    Lines({fill, MakeLine(0, 33.33333, 0, 0, 1.0), MakeLine(0, 1.5, 1, 0, 2.0)});
    const CString path = LibraryFolder() + L"\\填方.TYP";
    bool first = false, previous = true, next = false, remove = false;
    CRect preview, label, group, grown, grownGroup;
    CString name, fixedLabel, endGroup, wallCheck;
    Run({[&](CDialog_TemplateEdit* d) {
        first = d->m_nCurLine == 0 && d->m_wndPreview.m_nCurLine == 0;
        previous = Enabled(d, IDC_TPL_PREVIOUS);
        next = Enabled(d, IDC_TPL_NEXT);
        remove = Enabled(d, IDC_TPL_DELETE);
        name = GetText(d, IDC_TPL_FILENAME);
        fixedLabel = GetText(d, IDC_TPL_FIXED_LABEL);
        endGroup = GetText(d, IDC_TPL_END_GROUP);
        wallCheck = GetText(d, IDC_TPL_INSERT_WALL);
        preview = ChildRect(d, IDC_TPL_PREVIEW);
        label = ChildRect(d, IDC_TPL_FILENAME_LABEL);
        group = ChildRect(d, IDC_TPL_OPTIONS_GROUP);
        DialogImage(d).SaveBmp(L"editor_dialog.bmp");
        GrowWindow(d, 120, 90);
        grown = ChildRect(d, IDC_TPL_PREVIEW);
        grownGroup = ChildRect(d, IDC_TPL_OPTIONS_GROUP);
    }},
        path);
    EXPECT_TRUE(first);
    EXPECT_FALSE(previous);
    EXPECT_TRUE(next);
    EXPECT_TRUE(remove);
    EXPECT_EQ(CString(L"填方.TYP"), name);
    EXPECT_EQ(CString(L"坡度 1:"), fixedLabel);
    EXPECT_EQ(CString(L"边坡终点按指定坡长确定"), endGroup);
    EXPECT_EQ(CString(L"插入挡墙  插入位置:"), wallCheck);
    EXPECT_EQ(CRect(label.left, label.bottom + 7, group.right, group.top - 5), preview);
    EXPECT_EQ(CRect(label.left, label.bottom + 7, grownGroup.right, grownGroup.top - 5), grown);
    EXPECT_EQ(preview.Width() + 120, grown.Width());
    EXPECT_EQ(preview.Height() + 90, grown.Height());
}

// A fixed height forces the width mode and hides the sixth rule; a fixed
// width forces the elevation mode; the stored line follows.
TEST_F(EditorTest, TheFixedKindDecidesTheEndMode)
{
    Lines({MakeLine(0, 1.5, 1, 5, 1.0)});
    struct Seen {
        bool length, elevation, width, sixthShown;
        CString sixth, label;
        int mode, type;
    } height{}, width{};
    auto look = [&](CDialog_TemplateEdit* d, Seen& seen) {
        seen.length = Enabled(d, IDC_TPL_MODE_LENGTH);
        seen.elevation = Enabled(d, IDC_TPL_MODE_ELEVATION);
        seen.width = Enabled(d, IDC_TPL_MODE_WIDTH);
        seen.sixthShown = Shown(d, IDC_TPL_TYPE5);
        seen.sixth = GetText(d, IDC_TPL_TYPE5);
        seen.label = GetText(d, IDC_TPL_FIXED_LABEL);
        seen.mode = m_lines[0].m_iEndMode;
        seen.type = m_lines[0].m_iEndType;
    };
    Run({[&](CDialog_TemplateEdit* d) {
        Choose(d, IDC_TPL_FIXED_TYPE, 1);
        look(d, height);
        Choose(d, IDC_TPL_FIXED_TYPE, 2);
        Click(d, IDC_TPL_TYPE5);
        look(d, width);
    }});
    EXPECT_FALSE(height.length);
    EXPECT_FALSE(height.elevation);
    EXPECT_TRUE(height.width);
    EXPECT_FALSE(height.sixthShown);
    EXPECT_EQ(CString(L"高度(m):"), height.label);
    EXPECT_EQ(2, height.mode);
    EXPECT_EQ(0, height.type); // type 5 is no rule of a fixed height
    EXPECT_EQ(1, m_lines[0].m_iFixedType == 2 ? width.mode : -1);
    EXPECT_FALSE(width.length);
    EXPECT_TRUE(width.elevation);
    EXPECT_FALSE(width.width);
    EXPECT_TRUE(width.sixthShown);
    EXPECT_EQ(CString(L"边坡终点处地面高程+指定高差"), width.sixth);
    EXPECT_EQ(CString(L"宽度(m):"), width.label);
    EXPECT_EQ(5, width.type);
}

// Two arcs in a row, and a thickness on an arc, cannot be stored; the
// message says why and the line stays as it was.
TEST_F(EditorTest, ArcsAndThicknessAreChecked)
{
    CSlopeLine arc = MakeLine(0, 1.5, 0, 0, 3.0);
    arc.m_bArcWithNext = 1;
    Lines({arc, MakeLine(0, 1.5, 0, 0, 2.0)});
    MessageBoxScript boxes;
    std::vector<CString> messages;
    bool stored = true, thicknessEnabled = true;
    Run({[&](CDialog_TemplateEdit* d) {
        Click(d, IDC_TPL_THICKNESS); // on line 0, an arc
        messages.push_back(boxes.LastText());
        thicknessEnabled = Enabled(d, IDC_TPL_THICKNESS);
        Click(d, IDC_TPL_THICKNESS, false);
        Command(d, IDC_TPL_NEXT);
        Click(d, IDC_TPL_ARC);
        messages.push_back(boxes.LastText());
        stored = m_lines[1].m_bArcWithNext != 0;
        Click(d, IDC_TPL_ARC, false);
        Click(d, IDC_TPL_THICKNESS);
        messages.push_back(boxes.LastText());
        Click(d, IDC_TPL_THICKNESS, false);
    }});
    EXPECT_EQ(CString(L"与下一边构成圆弧形边坡时，不能设置边坡的厚度!"), messages[0]);
    EXPECT_FALSE(thicknessEnabled);
    EXPECT_EQ(CString(L"当前边坡线与前一边构成圆弧形边坡时，不能再设置与下一边构成圆弧!\n\n"
                      L"如需要设置连续的两个圆弧，可将当前边坡拆分为两条边坡线。"),
              messages[1]);
    EXPECT_FALSE(stored);
    EXPECT_EQ(CString(L"与前一边构成圆弧形边坡时，不能设置边坡的厚度!"), messages[2]);
    EXPECT_EQ(0, m_lines[0].m_bThickness);
    EXPECT_EQ(0, m_lines[1].m_bThickness);
    EXPECT_EQ(0, m_lines[1].m_bArcWithNext);
}

// Each preset goes in after the current line, follows it, and becomes the
// current line; a ditch brings three lines.
TEST_F(EditorTest, PresetsAreInsertedAfterTheCurrentLine)
{
    struct Preset {
        UINT command;
        std::vector<double> gradients;
        std::vector<int> modes, positions;
        bool ditch;
    };
    const Preset presets[] = {
        {ID_INSERT_FILL, {1.5}, {0}, {0}, false},
        {ID_INSERT_CUT, {-1.0}, {0}, {0}, false},
        {ID_INSERT_BERM, {33.33333}, {0}, {1}, false},
        {ID_INSERT_PLATFORM, {-33.33333}, {0}, {1}, false},
        {ID_INSERT_TRAPEZOID_DITCH, {1.0, 1000.0, -1.0}, {1, 2, 2}, {2, 3, 4}, true},
        {ID_INSERT_RECTANGLE_DITCH, {0.001, 1000.0, -0.001}, {1, 2, 1}, {2, 3, 4}, true},
    };
    for (const Preset& p : presets) {
        SCOPED_TRACE(p.command);
        Lines({MakeLine(0, 1.5, 0, 0, 3.0), MakeLine(0, 1000.0, 2, 0, 1.0)});
        const CSlopeLine last = m_lines[1];
        int current = -1;
        Run({[&](CDialog_TemplateEdit* d) {
            d->SendMessage(WM_COMMAND, p.command, 0);
            current = d->m_nCurLine;
        }});
        const int added = static_cast<int>(p.gradients.size());
        ASSERT_EQ(2 + added, m_lines.GetSize());
        EXPECT_EQ(added, current);
        for (int i = 0; i < added; ++i) {
            const CSlopeLine& line = m_lines[1 + i];
            EXPECT_DOUBLE_EQ(p.gradients[i], line.m_rFixedValue);
            EXPECT_EQ(p.modes[i], line.m_iEndMode);
            EXPECT_EQ(0, line.m_iEndType);
            EXPECT_DOUBLE_EQ(p.ditch ? 0.6 : (p.positions[i] == 1 ? 1.0 : 3.0), line.m_rEndValue);
            EXPECT_EQ(p.positions[i], line.m_iPosType);
            EXPECT_EQ(1, line.m_bSavePosType);
            EXPECT_EQ(p.ditch ? 0 : 1, line.m_bLabelSlope);
            EXPECT_EQ(p.ditch ? 0 : 1, line.m_bLabelOffsetElev);
            EXPECT_EQ(p.ditch ? 0 : 1, line.m_bSaveLength);
            EXPECT_EQ(p.ditch ? 0 : 1, line.m_bTopsoil);
            EXPECT_EQ(p.ditch ? 1 : 0, line.m_bThickness);
            EXPECT_DOUBLE_EQ(p.ditch ? 0.2 : 0.0, line.m_rEndThickness);
            EXPECT_EQ(0, line.m_bDashed);
            EXPECT_FLOAT_EQ(m_lines[i].m_ptEnd.x, line.m_ptStart.x);
            EXPECT_FLOAT_EQ(m_lines[i].m_ptEnd.y, line.m_ptStart.y);
        }
        EXPECT_DOUBLE_EQ(last.m_rFixedValue, m_lines[1 + added].m_rFixedValue);
    }
}

TEST_F(EditorTest, DeletingKeepsTheStartOfTheTemplate)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0), MakeLine(0, -1.0, 0, 0, 2.0), MakeLine(0, 1000.0, 2, 0, 1.0)});
    bool deleteOffered = true;
    int afterMiddle = -1;
    Run({[&](CDialog_TemplateEdit* d) {
        Command(d, IDC_TPL_NEXT);
        Command(d, IDC_TPL_DELETE); // line 1: line 0 becomes current
        afterMiddle = d->m_nCurLine;
        Command(d, IDC_TPL_DELETE); // line 0: the last line now starts at the edge
        Command(d, IDC_TPL_DELETE); // not offered with one line
        deleteOffered = Enabled(d, IDC_TPL_DELETE);
    }});
    EXPECT_EQ(0, afterMiddle);
    ASSERT_EQ(1, m_lines.GetSize());
    EXPECT_DOUBLE_EQ(1000.0, m_lines[0].m_rFixedValue);
    EXPECT_FLOAT_EQ(1.0f, m_lines[0].m_ptStart.x);
    EXPECT_FLOAT_EQ(-1.0f, m_lines[0].m_ptStart.y);
    EXPECT_FALSE(deleteOffered);
}

// Values typed are stored once complete: no message while "0" is on the
// way to "0.5", the preview follows, navigation reads and checks.
TEST_F(EditorTest, TypedValuesAreStoredWhenComplete)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0), MakeLine(0, 1000.0, 2, 0, 1.0)});
    MessageBoxScript boxes;
    size_t whileTyping = 99;
    CString refused;
    int stayed = -1;
    Run({[&](CDialog_TemplateEdit* d) {
        for (const wchar_t* text : {L"", L"-", L"0", L"0.", L"0.5"}) SetText(d, IDC_TPL_FIXED_VALUE, text);
        SetText(d, IDC_TPL_END_VALUE, L"2.5");
        whileTyping = boxes.Shown().size();
        SetText(d, IDC_TPL_FIXED_VALUE, L"0");
        Command(d, IDC_TPL_NEXT);
        refused = boxes.LastText();
        stayed = d->m_nCurLine;
        SetText(d, IDC_TPL_FIXED_VALUE, L"0.75");
    }});
    EXPECT_EQ(0u, whileTyping);
    EXPECT_EQ(CString(L"固定参数不能为零!"), refused);
    EXPECT_EQ(0, stayed);
    EXPECT_DOUBLE_EQ(0.75, m_lines[0].m_rFixedValue);
    EXPECT_DOUBLE_EQ(2.5, m_lines[0].m_rEndValue);
    EXPECT_NEAR(1 + 2.5 * std::cos(std::atan(1 / 0.75)), m_lines[0].m_ptEnd.x, 1e-5);
    EXPECT_FLOAT_EQ(m_lines[0].m_ptEnd.x, m_lines[1].m_ptStart.x);
}

// A control file chosen elsewhere is copied into the library folder; one
// chosen there stays; a name a template line cannot hold is refused.
TEST_F(EditorTest, ControlFilesAreCopiedIntoTheLibrary)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0)});
    const CString elsewhere = OtherFolder() + L"\\坡长一.PC";
    const CString blank = OtherFolder() + L"\\坡 长.PC";
    WriteText(elsewhere, L"// 坡长\n0 3.5\n");
    WriteText(blank, L"0 3.5\n");
    WriteLibraryFile(L"本库.PC", L"0 2\n");
    MessageBoxScript boxes;
    CString label, afterCopy, afterLocal, afterRefused;
    bool controlEnabled = false;
    CDialog_TemplateEdit dialog(theApp.m_pMainWnd);
    dialog.m_pSlopeLines = &m_lines;
    // The file dialog starts at the name in the control-file box; OK takes it.
    auto browse = [](CWnd* d, const CString& name) {
        SetText(d, IDC_TPL_CONTROL_FILE, name);
        Press(d, IDC_TPL_CONTROL_BROWSE);
    };
    auto ok = [](CWnd* platform) { Press(platform, IDOK); };
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            // The second rule of the slope length opens its file's dialog.
            ::CheckRadioButton(d->GetSafeHwnd(), IDC_TPL_TYPE0, IDC_TPL_TYPE5, IDC_TPL_TYPE1);
            Press(d, IDC_TPL_TYPE1);
        })
        .Then([&](CWnd* platform) { Press(platform, IDCANCEL); })
        .Then([&](CWnd* d) {
            label = GetText(d, IDC_TPL_CONTROL_LABEL);
            controlEnabled = Enabled(d, IDC_TPL_CONTROL_FILE);
            browse(d, elsewhere);
        })
        .Then(ok)
        .Then([&](CWnd* d) {
            afterCopy = GetText(d, IDC_TPL_CONTROL_FILE);
            browse(d, L"本库.PC");
        })
        .Then(ok)
        .Then([&](CWnd* d) {
            afterLocal = GetText(d, IDC_TPL_CONTROL_FILE);
            browse(d, blank);
        })
        .Then(ok)
        .Then([&](CWnd* d) {
            afterRefused = GetText(d, IDC_TPL_CONTROL_FILE);
            Press(d, IDCANCEL);
        });
    dialog.DoModal();
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(CString(L"坡长文件:"), label);
    EXPECT_TRUE(controlEnabled);
    EXPECT_EQ(CString(L"坡长一.PC"), afterCopy);
    EXPECT_EQ(ReadBytes(elsewhere), ReadBytes(LibraryFolder() + L"\\坡长一.PC"));
    EXPECT_EQ(CString(L"本库.PC"), afterLocal);
    EXPECT_EQ(blank, afterRefused); // as typed: never copied, and no line can hold it
    EXPECT_FALSE(FileExists(LibraryFolder() + L"\\坡 长.PC"));
    bool refusedShown = false, askedToReplace = false;
    for (const ShownMessageBox& box : boxes.Shown()) {
        refusedShown |= box.text == L"文件名<坡 长.PC>不能含有空格、制表符或逗号, 也不能是NULL!";
        askedToReplace |= box.text.Find(L"包含同名文件是否覆盖") >= 0;
    }
    EXPECT_TRUE(refusedShown);
    EXPECT_FALSE(askedToReplace); // the library's own file is not copied onto itself
    EXPECT_EQ(0, m_lines[0].m_iEndMode);
    EXPECT_EQ(1, m_lines[0].m_iEndType);
}

// A control file of the library's folder that the user marked read-only is
// not copied over, even when the user agrees to replace it: the failure says
// why, the file stays as it was with no temporary file beside it, and the
// line keeps its file.
TEST_F(EditorTest, AReadOnlyControlFileOfTheLibraryIsNotCopiedOver)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0)});
    const CString elsewhere = OtherFolder() + L"\\坡长二.PC";
    WriteText(elsewhere, L"0 3.5\n");
    const CString kept = WriteLibraryFile(L"坡长二.PC", L"0 2\n");
    const std::string old = ReadBytes(kept);
    const std::vector<CString> files = FilesIn(LibraryFolder());
    ASSERT_TRUE(SetFileAttributesW(kept, FILE_ATTRIBUTE_READONLY));
    MessageBoxScript boxes;
    boxes.Answer(IDYES); // replace the library's file of that name
    CString afterRefused;
    CDialog_TemplateEdit dialog(theApp.m_pMainWnd);
    dialog.m_pSlopeLines = &m_lines;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            ::CheckRadioButton(d->GetSafeHwnd(), IDC_TPL_TYPE0, IDC_TPL_TYPE5, IDC_TPL_TYPE1);
            Press(d, IDC_TPL_TYPE1);
        })
        .Then([&](CWnd* platform) { Press(platform, IDCANCEL); })
        .Then([&](CWnd* d) {
            SetText(d, IDC_TPL_CONTROL_FILE, elsewhere);
            Press(d, IDC_TPL_CONTROL_BROWSE);
        })
        .Then([&](CWnd* platform) { Press(platform, IDOK); })
        .Then([&](CWnd* d) {
            afterRefused = GetText(d, IDC_TPL_CONTROL_FILE);
            Press(d, IDCANCEL);
        });
    dialog.DoModal();
    const bool stayedReadOnly = (GetFileAttributesW(kept) & FILE_ATTRIBUTE_READONLY) != 0;
    SetFileAttributesW(kept, FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(old, ReadBytes(kept));
    EXPECT_TRUE(stayedReadOnly);
    EXPECT_EQ(files, FilesIn(LibraryFolder()));
    EXPECT_EQ(elsewhere, afterRefused);
    const CString said = ClFormat(L"复制文件<%s>时出错!\n\n文件%s为只读, 无法保存!", elsewhere.GetString(), kept.GetString());
    bool refusedShown = false;
    for (const ShownMessageBox& box : boxes.Shown()) refusedShown |= box.text == said;
    EXPECT_TRUE(refusedShown) << Utf8(boxes.LastText());
}

// Saving a new template: the save dialog proposes the typed name in the
// library folder and refuses another folder; closing asks and saves under
// the template's name.
TEST_F(EditorTest, SavingANewTemplateAndClosing)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0)});
    // Typed into the platform's save dialog: a plain folder name (this
    // platform's dialog does not take a typed path with Chinese characters).
    ScratchFolder elsewhere(L"elsewhere");
    MessageBoxScript boxes(IDYES);
    CString proposed, askedAgainAt;
    CDialog_TemplateEdit dialog(theApp.m_pMainWnd);
    dialog.m_pSlopeLines = &m_lines;
    dialog.m_bNewTemplate = 1;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            SetText(d, IDC_TPL_FILENAME, L"新填方.TYP");
            Press(d, IDC_TPL_SAVE);
        })
        .Then([&](CWnd* platform) {
            proposed = GetText(platform, 1148);
            ::SetDlgItemTextW(platform->GetSafeHwnd(), 1148, elsewhere / L"new.TYP");
            Press(platform, IDOK);
        })
        .Then([&](CWnd* platform) {
            askedAgainAt = GetText(platform, 1148);
            Press(platform, IDOK); // asked again, in the library folder
        })
        .Then([&](CWnd* d) {
            SetText(d, IDC_TPL_END_VALUE, L"4");
            Press(d, IDCANCEL); // asks, then saves under the name typed
        });
    dialog.DoModal();
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(CString(L"新填方.TYP"), proposed.Mid(proposed.ReverseFind(L'\\') + 1));
    EXPECT_EQ(CString(L"new.TYP"), askedAgainAt.Mid(askedAgainAt.ReverseFind(L'\\') + 1));
    ASSERT_GE(boxes.Shown().size(), 2u);
    EXPECT_EQ(ClFormat(L"创建新边坡模板文件<%s>的路径\n\n必须为当前模板库的路径<%s>!", (elsewhere / L"new.TYP").GetString(),
                       LibraryFolder().GetString()),
              boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"是否保存当前模板所做的修改?"), boxes.Shown().back().text);
    EXPECT_FALSE(FileExists(elsewhere / L"new.TYP"));
    // Saved as new.TYP in the library, which is the template's name from
    // then on: closing saved the change there.
    EXPECT_FALSE(FileExists(LibraryFolder() + L"\\新填方.TYP"));
    EXPECT_EQ(LibraryFolder() + L"\\new.TYP", dialog.m_STemplatePath);
    EXPECT_EQ(0, dialog.m_bNewTemplate);
    CSlopeLineArray saved;
    ASSERT_EQ(CString(L"文件结束"), CTvTemplate(L"new.TYP").Load(saved, LibraryFolder()));
    ASSERT_EQ(1, saved.GetSize());
    EXPECT_DOUBLE_EQ(4.0, saved[0].m_rEndValue);
    DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog");
}

TEST_F(EditorTest, TheTestButtonWalksTheLinesAndSaysSo)
{
    Lines({MakeLine(0, 1.5, 0, 0, 3.0), MakeLine(0, 1000.0, 2, 0, 1.0), MakeLine(0, -1.0, 0, 0, 2.0)});
    MessageBoxScript boxes;
    int current = -1;
    Run({[&](CDialog_TemplateEdit* d) {
        Command(d, IDC_TPL_TEST);
        current = d->m_nCurLine;
    }});
    ASSERT_FALSE(boxes.Shown().empty());
    EXPECT_EQ(CString(L"Test Over!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);
    EXPECT_EQ(2, current);
}

// Each template of the demo library opens in the editor with all of its
// lines, their marks and labels in the preview, below the title line, and
// the settings' inner
// groups show their frames and captions on the screen
// (editor_demo_<n>.bmp, for a person to look at).
TEST_F(EditorTest, TheDemoTemplatesOpenWholeWithTheGroupsDrawn)
{
    const CString folder = BinFolder() + L"\\..\\demo\\示范边坡模板库";
    tkxTemplateBase library;
    ASSERT_EQ(1, library.Load(folder + L"\\示范边坡模板库.TPB")) << "the demo is made by demo_project.exe";
    ASSERT_GT(library.m_STemplates.GetSize(), 0);
    for (INT_PTR t = 0; t < library.m_STemplates.GetSize(); ++t) {
        const CString name = library.m_STemplates[t];
        SCOPED_TRACE(Utf8(name));
        m_lines.RemoveAll();
        ASSERT_EQ(CString(L"文件结束"), CTvTemplate(name).Load(m_lines, folder));
        std::vector<CPoint> ends;
        CRect plot, drawn;
        int scale = 0;
        std::vector<int> captionPixels;
        Run({[&](CDialog_TemplateEdit* d) {
            PumpUntilIdle();
            CSlopePicture& p = d->m_wndPreview;
            p.GetClientRect(&plot);
            scale = p.m_iScale;
            drawn = p.DrawnExtent();
            for (INT_PTR i = 0; i < m_lines.GetSize(); ++i) {
                ends.push_back(p.ToScreen(m_lines[i].m_ptStart.x, m_lines[i].m_ptStart.y));
                ends.push_back(p.ToScreen(m_lines[i].m_ptEnd.x, m_lines[i].m_ptEnd.y));
            }
            const Image screen = CaptureWindow(d, true);
            screen.SaveBmp(ClFormat(L"editor_demo_%d.bmp", static_cast<int>(t)));
            for (int id : {IDC_TPL_OPTIONS_GROUP, IDC_TPL_FIXED_GROUP, IDC_TPL_END_GROUP}) {
                const CRect group = ChildRect(d, id);
                captionPixels.push_back(screen.Count(CRect(group.left + 6, group.top, group.left + 90, group.top + 12),
                                                     ::GetSysColor(COLOR_BTNTEXT)));
            }
        }},
            folder + L"\\" + name);
        EXPECT_GE(scale, static_cast<int>(CSlopePicture::kMinScale));
        EXPECT_LE(scale, static_cast<int>(CSlopePicture::kMaxScale));
        const CRect below(plot.left, plot.top + 24, plot.right, plot.bottom);
        for (const CPoint& end : ends) EXPECT_TRUE(below.PtInRect(end)) << end.x << "," << end.y;
        EXPECT_TRUE(drawn.left >= below.left && drawn.top >= below.top && drawn.right <= below.right &&
                    drawn.bottom <= below.bottom)
            << drawn.left << "," << drawn.top << " - " << drawn.right << "," << drawn.bottom;
        for (int pixels : captionPixels) EXPECT_GT(pixels, 30);
    }
}
