// Sheet sets: groups of sheet records with their linked drawings, the
// template and sheet-set XML files, the sheet-set archive and the tree.
#include "corvane/project/SheetSet.h"
#include "corvane/base/LastError.h"
#include "support/LibraryWorld.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <functional>

using namespace test_support;
using Tavix4::sSheetSetRecord;

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new LibraryHive(L"sheetset"));

sSheetSetRecord Record(const wchar_t* name, const wchar_t* code, const wchar_t* cmd,
                       std::initializer_list<const wchar_t*> files = {})
{
    sSheetSetRecord record;
    record.m_SName = name;
    record.m_SCode = code;
    record.m_SCmd = cmd;
    for (const wchar_t* file : files) record.m_SFiles.Add(file);
    return record;
}

// A set of two volumes whose texts need escaping in XML.
void Fill(tkxSheetSet& set)
{
    set.SetTemplateName(L"模板 \"A&B\" <1>");
    tkxSheetGroup first(L"第一册 路线 & 路基");
    first.AddRecord(Record(L"平面图", L"S1-1", L"TKX_PM <总图>", {L"平面\\图 1&2.dwg", L"图\t3.dwg"}));
    first.AddRecord(Record(L"纵断面图", L"S1-2", L"TKX_ZDM 'x'"));
    set.AddGroup(first);
    tkxSheetGroup second(L"第二册");
    second.AddRecord(Record(L"横断面图", L"", L"TKX_HDM", {L"横断面.dwg"}));
    set.AddGroup(second);
}

// The set as one text: template, then groups with records and files.
std::string Outline(const tkxSheetSet& set, bool withCommands = true)
{
    std::string text = Utf8(set.GetTemplateName()) + "|";
    for (POSITION pos = set.GetHeadPosition(); pos;) {
        const tkxSheetGroup* group = set.GetNext(pos);
        text += "[" + Utf8(group->GetName());
        for (POSITION at = group->GetHeadPosition(); at;) {
            const sSheetSetRecord* r = group->GetNext(at);
            text += " (" + Utf8(r->m_SName) + "," + Utf8(r->m_SCode);
            if (withCommands) text += "," + Utf8(r->m_SCmd);
            for (const CString& file : r->m_SFiles) text += "," + Utf8(file);
            text += ")";
        }
        text += "]";
    }
    return text;
}

// A load that must fail: it answers 0 with the message, and the filled set
// it ran on keeps its groups, template and folder.
void ExpectRefusedAndKept(const std::function<int(tkxSheetSet&)>& load, const CString& message)
{
    tkxSheetSet set;
    Fill(set);
    set.SetPathName(L"D:\\旧");
    const std::string before = Outline(set);
    EXPECT_EQ(0, load(set));
    EXPECT_EQ(message, tkx_GetLastError());
    EXPECT_EQ(before, Outline(set));
    EXPECT_EQ(CString(L"D:\\旧"), set.GetPathName());
}

// Archive pieces: a one-character string, an int32.
std::string ArchiveText(char c) { return std::string("\xFF\xFE\xFF\x01", 4) + c + std::string(1, '\0'); }
std::string ArchiveCount(int n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

sSheetSetRecord* First(tkxSheetSet& set, int group, int record)
{
    POSITION pos = set.GetHeadPosition();
    tkxSheetGroup* g = set.GetNext(pos);
    while (group-- > 0) g = set.GetNext(pos);
    POSITION at = g->GetHeadPosition();
    sSheetSetRecord* r = g->GetNext(at);
    while (record-- > 0) r = g->GetNext(at);
    return r;
}

} // namespace

// ---------------------------------------------------------------------------
// In memory

TEST(SheetGroups, RecordsAreCopiesAndFoundByExactNameOrCode)
{
    tkxSheetGroup group(L"一");
    sSheetSetRecord record = Record(L"平面图", L"S1", L"cmd", {L"a.dwg"});
    EXPECT_EQ(1, group.AddRecord(record));
    record.m_SFiles.Add(L"b.dwg");
    EXPECT_EQ(2, group.AddRecord(Record(L"平面图", L"S2", L"cmd")));
    EXPECT_EQ(CString(L"S1"), group.GetRecordByName(L"平面图")->m_SCode); // the first of that name
    EXPECT_EQ(1, group.GetRecordByName(L"平面图")->m_SFiles.GetSize());
    EXPECT_EQ(nullptr, group.GetRecordByName(L"平面"));
    EXPECT_EQ(nullptr, group.GetRecordByCode(L"s1"));
    EXPECT_EQ(CString(L"自定义图表"), sSheetSetRecord().m_SCmd);

    tkxSheetGroup copy(group);
    group.GetRecordByCode(L"S1")->m_SName = L"改";
    EXPECT_EQ(CString(L"平面图"), copy.GetRecordByCode(L"S1")->m_SName);
    copy.ResetRecords();
    EXPECT_EQ(2, copy.GetCount());
    EXPECT_EQ(0, copy.GetRecordByCode(L"S1")->m_SFiles.GetSize());
    copy = group;
    EXPECT_EQ(CString(L"改"), copy.GetRecordByCode(L"S1")->m_SName);
    copy.Reset();
    EXPECT_EQ(0, copy.GetCount());
}

TEST(SheetSets, FileLinksAddRemoveAndRename)
{
    tkxSheetSet set;
    Fill(set);
    // Added once, in any case; the record is answered either way.
    sSheetSetRecord* record = set.AddFileLink(L"S1-2", L"纵断.dwg");
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(record, set.AddFileLink(L"S1-2", L"纵断.DWG"));
    EXPECT_EQ(1, record->m_SFiles.GetSize());
    EXPECT_EQ(nullptr, set.AddFileLink(L"s1-2", L"x.dwg"));

    EXPECT_EQ(0, set.RemoveFileLink(L"第二册 ", L"", L"横断面.dwg")); // no such group
    EXPECT_EQ(0, set.RemoveFileLink(L"第一册 路线 & 路基", L"S1-2", L"other.dwg"));
    EXPECT_EQ(1, set.RemoveFileLink(L"第一册 路线 & 路基", L"S1-2", L"纵断.DWG"));
    EXPECT_EQ(0, record->m_SFiles.GetSize());

    set.RenameFileLink(L"图\t3.DWG", L"新图.dwg");
    EXPECT_EQ(CString(L"新图.dwg"), First(set, 0, 0)->m_SFiles[1]);

    EXPECT_EQ(CString(L"S1-2"), set.GetSheetCode(L"纵断面图"));
    EXPECT_EQ(CString(L"X-X-X"), set.GetSheetCode(L"不存在"));
}

TEST(SheetSets, SearchingByCommandAppends)
{
    tkxSheetSet set;
    Fill(set);
    CStringArray names, codes;
    names.Add(L"before");
    codes.Add(L"before");
    EXPECT_EQ(4, set.SearchSheetRecord(L"TKX_", names, codes)); // three found after the one there
    ASSERT_EQ(4, names.GetSize());
    EXPECT_EQ(CString(L"横断面图"), names[3]);
    EXPECT_EQ(CString(L""), codes[3]);
    EXPECT_EQ(5, set.SearchSheetRecord(L"<总图>", names, codes));
    EXPECT_EQ(8, set.SearchSheetRecord(L"", names, codes)); // every record
    tkxSheetGroup group;
    EXPECT_EQ(0, group.SearchSheetRecord(L"", names, codes));
}

TEST(SheetSets, TheFolderLosesTrailingSeparatorsButARootKeepsItsOwn)
{
    struct Case {
        const wchar_t* given;
        const wchar_t* kept;
    };
    const Case cases[] = {
        {L"D:\\项目\\图纸集\\", L"D:\\项目\\图纸集"}, {L"D:/项目/图纸集//", L"D:/项目/图纸集"},
        {L"D:\\项目\\/", L"D:\\项目"},                 {L"D:\\项目", L"D:\\项目"},
        {L"C:\\", L"C:\\"},                           {L"C:/", L"C:\\"},
        {L"C:", L"C:"},                               {L"", L""},
    };
    tkxSheetSet set;
    for (const Case& c : cases) {
        set.SetPathName(c.given);
        EXPECT_EQ(CString(c.kept), set.GetPathName()) << Utf8(c.given);
    }
    set.SetPathName(nullptr);
    EXPECT_EQ(CString(), set.GetPathName());
}

// ---------------------------------------------------------------------------
// Files

class SheetSetFiles : public ::testing::Test
{
protected:
    SheetSetFiles() : dir(L"sheets") {}
    ScratchFolder dir;
};

TEST_F(SheetSetFiles, TemplatesKeepGroupsSheetsCodesAndCommands)
{
    tkxSheetSet set;
    Fill(set);
    const CString file = dir / L"公路 模板.xml";
    ASSERT_EQ(1, set.SaveXMLFile_Template(file)) << Utf8(tkx_GetLastError());

    tkxSheetSet back;
    ASSERT_EQ(1, back.LoadXMLFile_Template(file, L"E:\\模板库\\")) << Utf8(tkx_GetLastError());
    // The template's name is its file's title; no files in a template.
    EXPECT_EQ("公路 模板|[第一册 路线 & 路基 (平面图,S1-1,TKX_PM <总图>) (纵断面图,S1-2,TKX_ZDM 'x')]"
              "[第二册 (横断面图,,TKX_HDM)]",
              Outline(back));
    EXPECT_EQ(CString(L"E:\\模板库\\"), back.GetPathName());
}

TEST_F(SheetSetFiles, SheetSetsKeepNamesCodesAndFilesButNoCommands)
{
    tkxSheetSet set;
    Fill(set);
    const CString file = dir / L"图纸集.xml";
    ASSERT_EQ(1, set.SaveXMLFile(file)) << Utf8(tkx_GetLastError());

    // Values are written as XML, so every character survives.
    const std::string bytes = ReadBytes(file);
    EXPECT_NE(std::string::npos, bytes.find(Utf8(L"template=\"模板 &quot;A&amp;B&quot; &lt;1&gt;\"")));
    EXPECT_NE(std::string::npos, bytes.find(Utf8(L"<Sheet name=\"纵断面图\" code=\"S1-2\"/>")));

    tkxSheetSet back;
    ASSERT_EQ(1, back.LoadXMLFile(file)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("模板 \"A&B\" <1>|[第一册 路线 & 路基 (平面图,S1-1,,平面\\图 1&2.dwg,图\t3.dwg) (纵断面图,S1-2,)]"
              "[第二册 (横断面图,,,横断面.dwg)]",
              Outline(back));
    EXPECT_EQ(dir.Path(), back.GetPathName());
}

TEST_F(SheetSetFiles, NamesHoldingAttributeTextsReadBackAsWritten)
{
    tkxSheetSet set;
    tkxSheetGroup group(L"册 name=");
    group.AddRecord(Record(L"平面图 code=", L"S1-1", L"TKX cmd=\"x\""));
    group.AddRecord(Record(L"code=\"S9\"", L"S1-2", L"name"));
    set.AddGroup(group);
    const CString file = dir / L"属性.xml";
    ASSERT_EQ(1, set.SaveXMLFile_Template(file)) << Utf8(tkx_GetLastError());
    tkxSheetSet back;
    ASSERT_EQ(1, back.LoadXMLFile_Template(file, L"E:\\")) << Utf8(tkx_GetLastError());
    EXPECT_EQ("属性|[册 name= (平面图 code=,S1-1,TKX cmd=\"x\") (code=\"S9\",S1-2,name)]", Outline(back));
}

TEST_F(SheetSetFiles, GroupsAndSheetsStartAtTheirTagAndTakeEveryLaterElement)
{
    const CString file = dir / L"hand.xml";
    WriteBytes(file, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<config>"
                     "<\xE5\x9B\xBE\xE7\xBA\xB8\xE9\x9B\x86 version=\"1.00\" template=\"T\">"
                     "<Note name=\"before\"/><group name=\"G1\"><Remark/><SHEET name=\"A\" code=\"1\">"
                     "<Comment path=\"no\"/><file path=\"a.dwg\"/><Link path=\"b.dwg\"/></SHEET>"
                     "<Drawing name=\"B\" code=\"2\"/></group><Volume name=\"G2\"/>"
                     "</\xE5\x9B\xBE\xE7\xBA\xB8\xE9\x9B\x86></config>");
    tkxSheetSet set;
    ASSERT_EQ(1, set.LoadXMLFile(file)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("T|[G1 (A,1,,a.dwg,b.dwg) (B,2,)][G2]", Outline(set));
}

// A file that is not a sheet set of this version is refused with its
// message, and the set keeps what it held.
TEST_F(SheetSetFiles, WrongXmlFilesAreRefusedAndTheSetKept)
{
    const std::string head = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    WriteBytes(dir / L"empty.xml", head + "<config></config>");
    WriteBytes(dir / L"template.xml", head + "<config><" + Utf8(L"图纸集模板") + " version=\"1.00\"/></config>");
    WriteBytes(dir / L"set.xml", head + "<config><" + Utf8(L"图纸集") + " version=\"1.00\"/></config>");
    WriteBytes(dir / L"old.xml", head + "<config><" + Utf8(L"图纸集") + " version=\"0.90\"/></config>");
    struct Case {
        CString file;
        bool isTemplate;
        CString message;
    };
    const Case cases[] = {
        {dir / L"missing.xml", false, ClFormat(L"错误：解析导入文件[%s]失败!", (dir / L"missing.xml").GetString())},
        {dir / L"missing.xml", true, L"错误：解析导入XML文件失败!"},
        {dir / L"empty.xml", false, L"错误：无法读取xml文件类型和版本信息!"},
        {dir / L"template.xml", false, L"导入XML文件类型<图纸集模板>错误, 请选择图纸集文件<图纸集>!"},
        {dir / L"set.xml", true, L"导入XML文件类型<图纸集>错误, 请选择图纸集模板文件<图纸集模板>!"},
        {dir / L"old.xml", false, L"导入XML文件版本(0.90)错误! 当前支持版本号为(1.00)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.file));
        ExpectRefusedAndKept(
            [&](tkxSheetSet& set) {
                return c.isTemplate ? set.LoadXMLFile_Template(c.file, L"E:\\") : set.LoadXMLFile(c.file);
            },
            c.message);
    }
    tkxSheetSet set;
    EXPECT_EQ(0, set.SaveXMLFile(dir / L"no folder\\x.xml"));
    EXPECT_EQ(ClFormat(L"保存XML文件失败! %s", (dir / L"no folder\\x.xml").GetString()), tkx_GetLastError());
}

TEST_F(SheetSetFiles, ArchivesKeepEverythingButTheCommands)
{
    tkxSheetSet set;
    Fill(set);
    const CString file = dir / L"图纸集.EST";
    ASSERT_EQ(1, set.SaveESTFile(file)) << Utf8(tkx_GetLastError());
    tkxSheetSet back;
    back.SetPathName(L"D:\\别处");
    ASSERT_EQ(1, back.LoadESTFile(file)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("模板 \"A&B\" <1>|[第一册 路线 & 路基 (平面图,S1-1,自定义图表,平面\\图 1&2.dwg,图\t3.dwg) "
              "(纵断面图,S1-2,自定义图表)][第二册 (横断面图,,自定义图表,横断面.dwg)]",
              Outline(back));
    EXPECT_EQ(dir.Path(), back.GetPathName());
}

// A set whose file lies in a drive root has the root, backslash and all, as
// its folder: "C:" alone would be the drive's current folder.
TEST(SheetSetRoots, AFileInADriveRootGivesTheRootAsFolder)
{
    tkxSheetSet set;
    Fill(set);
    const CString archive = L"C:\\图纸集测试_root.EST";
    const CString xml = L"C:\\图纸集测试_root.xml";
    ASSERT_EQ(1, set.SaveESTFile(archive)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, set.SaveXMLFile(xml)) << Utf8(tkx_GetLastError());
    tkxSheetSet back;
    EXPECT_EQ(1, back.LoadESTFile(archive));
    EXPECT_EQ(CString(L"C:\\"), back.GetPathName());
    back.SetPathName(L"D:\\别处");
    EXPECT_EQ(1, back.LoadXMLFile(xml));
    EXPECT_EQ(CString(L"C:\\"), back.GetPathName());
    ::DeleteFileW(archive);
    ::DeleteFileW(xml);
}

TEST_F(SheetSetFiles, TheArchiveLayout)
{
    tkxSheetSet set;
    set.SetTemplateName(L"T");
    tkxSheetGroup group(L"G");
    group.AddRecord(Record(L"N", L"C", L"cmd", {L"F"}));
    set.AddGroup(group);
    const CString file = dir / L"layout.EST";
    ASSERT_EQ(1, set.SaveESTFile(file));
    const auto text = ArchiveText;
    const auto count = ArchiveCount;
    EXPECT_EQ(text('T') + count(1) + text('G') + count(1) + text('N') + text('C') + count(1) + text('F'),
              ReadBytes(file));
}

TEST_F(SheetSetFiles, DamagedArchivesAreRefusedAndTheSetKept)
{
    tkxSheetSet good;
    Fill(good);
    const CString whole = dir / L"whole.EST";
    ASSERT_EQ(1, good.SaveESTFile(whole));
    const std::string bytes = ReadBytes(whole);
    const auto text = ArchiveText;
    const auto count = ArchiveCount;

    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut in the template name", bytes.substr(0, 3)},
        {"cut in a group", bytes.substr(0, bytes.size() / 2)},
        {"cut before the last file", bytes.substr(0, bytes.size() - 3)},
        {"negative group count", text('T') + count(-1)},
        {"more groups than the file holds", text('T') + count(0x7FFFFFFF) + text('G') + count(0)},
        {"negative record count", text('T') + count(1) + text('G') + count(-5)},
        {"negative file count", text('T') + count(1) + text('G') + count(1) + text('N') + text('C') + count(-1)},
        {"a byte after the last group", bytes + std::string(1, '\0')},
        {"fewer groups than the file holds", text('T') + count(1) + text('G') + count(0) + text('H') + count(0)},
        {"a string longer than the file", text('T') + count(1) + std::string("\xFF\xFE\xFF\xFF\xFF\xFF\x10\x00\x00\x01", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString file = dir / L"damaged.EST";
        WriteBytes(file, c.content);
        ExpectRefusedAndKept([&](tkxSheetSet& set) { return set.LoadESTFile(file); },
                             ClFormat(L"读取TAVIX图纸集文件时失败!\n\n<%s>.", file.GetString()));
    }
    const CString missing = dir / L"missing.EST";
    ExpectRefusedAndKept([&](tkxSheetSet& set) { return set.LoadESTFile(missing); },
                         ClFormat(L"打开TAVIX图纸集文件时失败!\n\n<%s>.", missing.GetString()));
}

TEST_F(SheetSetFiles, AFailedSaveKeepsTheOldFile)
{
    tkxSheetSet set;
    Fill(set);
    const CString file = dir / L"kept.EST";
    ASSERT_EQ(1, set.SaveESTFile(file));
    const std::string before = ReadBytes(file);

    // The old file cannot be replaced while it is open without sharing.
    set.SetTemplateName(L"新的");
    HANDLE open = CreateFileW(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    EXPECT_EQ(0, set.SaveESTFile(file));
    CloseHandle(open);
    EXPECT_EQ(ClFormat(L"创建/修改TAVIX图纸集文件时失败!\n\n<%s>.", file.GetString()), tkx_GetLastError());
    EXPECT_EQ(before, ReadBytes(file));

    EXPECT_EQ(0, set.SaveESTFile(dir / L"no folder\\x.EST"));
    EXPECT_EQ(ClFormat(L"创建/修改TAVIX图纸集文件时失败!\n\n<%s>.", (dir / L"no folder\\x.EST").GetString()),
              tkx_GetLastError());
}

// ---------------------------------------------------------------------------
// Tree

TEST_F(SheetSetFiles, TheTreeShowsGroupsSheetsAndFilesWithTheirImages)
{
    WriteText(dir / L"横断面.dwg", L"");
    tkxSheetSet set;
    Fill(set);
    set.SetPathName(dir.Path() + L"\\");

    wintest::TestFrame* frame = new wintest::TestFrame;
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | TVS_HASBUTTONS, CRect(0, 0, 300, 300), frame, 1));
    tree.InsertItem(L"旧的");
    set.OutputTreeCtrl(&tree);

    // text, normal and selected image, expanded, one line per item in order.
    std::string shown;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
        for (; item; item = tree.GetNextSiblingItem(item)) {
            int image = -1, selected = -1;
            tree.GetItemImage(item, image, selected);
            shown += std::string(depth * 2, ' ') + Utf8(tree.GetItemText(item)) + " " + std::to_string(image) + "/" +
                     std::to_string(selected) + ((tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) ? " +" : "") +
                     "\n";
            walk(tree.GetChildItem(item), depth + 1);
        }
    };
    walk(tree.GetRootItem(), 0);
    EXPECT_EQ("第一册 路线 & 路基 0/1 +\n"
              "  S1-1_平面图 2/3\n"
              "    平面\\图 1&2.dwg 8/9\n"
              "    图\t3.dwg 8/9\n"
              "  S1-2_纵断面图 4/5\n"
              "第二册 0/1 +\n"
              "  横断面图 2/3\n"
              "    横断面.dwg 6/7\n",
              shown);
    set.OutputTreeCtrl(nullptr);
    frame->DestroyWindow();
}
