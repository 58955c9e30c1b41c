// The XML reader and writer: round trips with Chinese names and special
// characters, the file encodings it reads, the parser's rules and its errors.
#include "corvane/platform/Xml.h"
#include "corvane/base/LastError.h"
#include "platform_test_support.h"
#include "support/FailingWrites.h"

#include <string>
#include <vector>

using namespace platform_test;

namespace {

tkxXmlElement* AddChild(tkxXmlElement* parent, const wchar_t* tag, const CString& attributes = CString())
{
    auto* child = new tkxXmlElement;
    child->m_STag = tag;
    child->m_SAttributes = attributes;
    parent->m_Children.AddTail(child);
    return child;
}

CString Attr(const wchar_t* name, const wchar_t* value)
{
    CString text;
    text.Format(L"%s=\"%s\"", name, tkxXmlElement::EncodeValue(value).GetString());
    return text;
}

// The tree as one line of text: tag[attributes]{children}.
std::string Outline(tkxXmlElement* e)
{
    std::string text = Utf8(e->m_STag) + "[" + Utf8(e->m_SAttributes) + "]";
    if (e->m_Children.IsEmpty()) return text;
    text += "{";
    POSITION pos = e->m_Children.GetHeadPosition();
    while (pos) {
        text += Outline(static_cast<tkxXmlElement*>(e->m_Children.GetNext(pos)));
        if (pos) text += ",";
    }
    return text + "}";
}

// A sheet set as the sheet-set code builds it.
void BuildSheetSet(tkxXmlDocument& doc)
{
    tkxXmlElement* root = doc.GetRootElement();
    root->m_STag = L"config";
    tkxXmlElement* set = AddChild(root, L"图纸集", L"version=\"1.00\" software=\"Tavix3\" " +
                                                      Attr(L"template", L"模板 \"A&B\" <1> 'x'"));
    tkxXmlElement* group = AddChild(set, L"Group", Attr(L"name", L"第一册 路线"));
    tkxXmlElement* sheet = AddChild(group, L"Sheet", Attr(L"name", L"平面图") + L" " + Attr(L"code", L"S1-1"));
    AddChild(sheet, L"File", Attr(L"path", L"D:\\项目\\图 1&2.dwg"));
    AddChild(sheet, L"File", Attr(L"path", L"D:\\项目\\图\t3.dwg"));
    AddChild(group, L"Sheet", Attr(L"name", L"纵断面图") + L" " + Attr(L"code", L"S1-2"));
    sheet->m_SText = L"text is not written";
}

class XmlFiles : public ::testing::Test
{
protected:
    XmlFiles() : dir(L"xml") {}
    ScratchFolder dir;
};

TEST_F(XmlFiles, SavedDocumentsReadBackIntoTheSameTree)
{
    tkxXmlDocument doc;
    BuildSheetSet(doc);
    const CString path = dir / L"sheets.xml";
    ASSERT_EQ(1, doc.SaveXMLFile(path));

    tkxXmlDocument back;
    ASSERT_EQ(1, back.LoadXMLFile(path));
    EXPECT_EQ(Outline(doc.GetRootElement()), Outline(back.GetRootElement()));

    tkxXmlElement* set = back.GetFirstChild(back.GetRootElement());
    ASSERT_TRUE(set != nullptr);
    EXPECT_STREQ(L"模板 \"A&B\" <1> 'x'", set->GetValue(L"template"));
    EXPECT_STREQ(L"1.00", set->GetValue(L"version"));
    tkxXmlElement* group = back.FindElement(set, L"group");
    ASSERT_TRUE(group != nullptr);
    EXPECT_STREQ(L"第一册 路线", group->GetValue(L"name"));
    tkxXmlElement* sheet = back.FindElement(group, L"SHEET");
    ASSERT_TRUE(sheet != nullptr);
    tkxXmlElement* file = back.GetFirstChild(sheet);
    ASSERT_TRUE(file != nullptr);
    EXPECT_STREQ(L"D:\\项目\\图 1&2.dwg", file->GetValue(L"path"));
    file = back.GetNextSibling(sheet);
    ASSERT_TRUE(file != nullptr);
    EXPECT_STREQ(L"D:\\项目\\图\t3.dwg", file->GetValue(L"path")); // encoded, so it survives loading
    EXPECT_STREQ(L"", sheet->m_SText);
}

TEST_F(XmlFiles, WrittenLayout)
{
    tkxXmlDocument doc;
    tkxXmlElement* root = doc.GetRootElement();
    root->m_STag = L"config";
    tkxXmlElement* set = AddChild(root, L"图纸集", L"version=\"1.00\"");
    AddChild(set, L"Group", L"name=\"一\"");
    AddChild(root, L"Empty");
    const CString path = dir / L"layout.xml";
    ASSERT_EQ(1, doc.SaveXMLFile(path));

    const std::string bytes = ReadBytes(path);
    const std::string head = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- 创建时间:";
    ASSERT_EQ(head, bytes.substr(0, head.size()));
    const size_t body = bytes.find(" -->\r\n");
    ASSERT_NE(std::string::npos, body);
    // yy-mm-dd hh:mm:ss
    EXPECT_EQ(17u, body - head.size()) << bytes.substr(head.size(), body - head.size());
    EXPECT_EQ("<config>\r\n"
              "\t<图纸集 version=\"1.00\">\r\n"
              "\t\t<Group name=\"一\"/>\r\n"
              "\t</图纸集>\r\n"
              "\t<Empty/>\r\n"
              "</config>\r\n",
              bytes.substr(body + 6));
}

TEST_F(XmlFiles, AttributeTextsBuiltWithoutEncodingStillGiveWellFormedFiles)
{
    tkxXmlDocument doc;
    doc.GetRootElement()->m_STag = L"config";
    AddChild(doc.GetRootElement(), L"Record", L"str=\"a<b & c>d &amp; e\"");
    const CString path = dir / L"raw.xml";
    ASSERT_EQ(1, doc.SaveXMLFile(path));
    EXPECT_NE(std::string::npos, ReadBytes(path).find("str=\"a&lt;b &amp; c&gt;d &amp; e\""));

    tkxXmlDocument back;
    ASSERT_EQ(1, back.LoadXMLFile(path));
    EXPECT_STREQ(L"a<b & c>d & e", back.GetFirstChild(back.GetRootElement())->GetValue(L"str"));
}

TEST_F(XmlFiles, ReadsUtf8AndUtf16WithAndWithoutByteOrderMarks)
{
    const CString text = L"<?xml version=\"1.0\"?>\r\n<config>\r\n\t<图纸集 name=\"高速公路\"/>\r\n</config>\r\n";
    const std::string utf8 = Utf8(text);
    std::string le, be;
    for (const wchar_t* p = text; *p; ++p) {
        le += static_cast<char>(*p & 0xFF);
        le += static_cast<char>(*p >> 8);
        be += static_cast<char>(*p >> 8);
        be += static_cast<char>(*p & 0xFF);
    }
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 without mark", utf8},
        {"UTF-16LE with mark", "\xFF\xFE" + le},
        {"UTF-16LE without mark", le},
        {"UTF-16BE with mark", "\xFE\xFF" + be},
        {"UTF-16BE without mark", be},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString path = dir / L"encoded.xml";
        WriteBytes(path, c.bytes);
        tkxXmlDocument doc;
        ASSERT_EQ(1, doc.LoadXMLFile(path)) << Utf8(tkx_GetLastError());
        EXPECT_STREQ(L"config", doc.GetRootElement()->m_STag);
        tkxXmlElement* set = doc.GetFirstChild(doc.GetRootElement());
        ASSERT_TRUE(set != nullptr);
        EXPECT_STREQ(L"图纸集", set->m_STag);
        EXPECT_STREQ(L"高速公路", set->GetValue(L"name"));
    }
}

TEST_F(XmlFiles, LineBreaksAndTabsInTheFileDisappear)
{
    const CString path = dir / L"breaks.xml";
    WriteBytes(path, "<config>\r\n\t<Sheet name=\"a\r\n\tb\"\r\n\t\tcode=\"1\">\r\n\t\tx\r\n\t\ty\r\n\t</Sheet></config>");
    tkxXmlDocument doc;
    ASSERT_EQ(1, doc.LoadXMLFile(path));
    tkxXmlElement* sheet = doc.GetFirstChild(doc.GetRootElement());
    ASSERT_TRUE(sheet != nullptr);
    EXPECT_STREQ(L"ab", sheet->GetValue(L"name"));
    EXPECT_STREQ(L"1", sheet->GetValue(L"code"));
    EXPECT_STREQ(L"xy", sheet->m_SText);
}

TEST_F(XmlFiles, FileErrorsAreReported)
{
    tkxXmlDocument doc;
    const CString missing = dir / L"none.xml";
    EXPECT_EQ(0, doc.LoadXMLFile(missing));
    EXPECT_STREQ(L"打开或读取" + missing + L"文件失败!", tkx_GetLastError());

    doc.GetRootElement()->m_STag = L"config";
    const CString nowhere = dir / L"no folder\\a.xml";
    EXPECT_EQ(0, doc.SaveXMLFile(nowhere));
    EXPECT_STREQ(L"创建[" + nowhere + L"]文件失败!", tkx_GetLastError());
}

TEST_F(XmlFiles, AFailedSaveLeavesTheOldFile)
{
    const CString path = dir / L"old.xml";
    WriteBytes(path, "old");
    // Held open without leave to delete or replace it.
    HANDLE held = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    tkxXmlDocument doc;
    doc.GetRootElement()->m_STag = L"config";
    EXPECT_EQ(0, doc.SaveXMLFile(path));
    CloseHandle(held);
    EXPECT_EQ("old", ReadBytes(path));
    EXPECT_STREQ(L"创建[" + path + L"]文件失败!", tkx_GetLastError());

    // Nothing is left behind beside it.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(dir / L"*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(XmlFiles, AWriteThatFailsAfterOpeningLeavesTheOldFile)
{
    const CString path = dir / L"old.xml";
    WriteBytes(path, "old");
    tkxXmlDocument doc;
    BuildSheetSet(doc);
    {
        FailingWrites failing(dir.Path());
        EXPECT_EQ(0, doc.SaveXMLFile(path));
        EXPECT_GT(failing.Refused(), 0);
    }
    EXPECT_EQ("old", ReadBytes(path));
    EXPECT_STREQ(L"写入[" + path + L"]文件失败!", tkx_GetLastError());
    EXPECT_EQ(std::vector<CString>{L"old.xml"}, FilesIn(dir.Path()));
}

TEST_F(XmlFiles, AFailedLoadKeepsTheDocument)
{
    const CString good = dir / L"good.xml";
    WriteBytes(good, "<config><Group name=\"1\"/></config>");
    std::string deep;
    for (int i = 0; i < 1001; ++i) deep += "<a>";
    for (int i = 0; i < 1001; ++i) deep += "</a>";
    struct Case {
        const char* what;
        const char* bytes; // null: no file
        const wchar_t* message; // after the file's name
    } cases[] = {
        {"mismatched end tag", "<config>\r\n<Group>\r\n</config>", L"第3行: 结束标记</config>与第2行的元素<Group>不匹配!"},
        {"no element", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- nothing -->\r\n", L"第3行: 没有任何元素!"},
        {"empty file", "", L"第1行: 没有任何元素!"},
        {"blanks only", "  \r\n  ", L"第2行: 没有任何元素!"},
        {"too deep", deep.c_str(), L"第1行: 元素<a>的嵌套超过1000层!"},
        {"missing file", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tkxXmlDocument doc;
        ASSERT_EQ(1, doc.LoadXMLFile(good));
        const CString path = dir / L"case.xml";
        DeleteFileW(path);
        if (c.bytes) WriteBytes(path, c.bytes);
        EXPECT_EQ(0, doc.LoadXMLFile(path));
        if (c.message)
            EXPECT_STREQ(L"XML文件[" + path + L"]" + c.message, tkx_GetLastError());
        else
            EXPECT_STREQ(L"打开或读取" + path + L"文件失败!", tkx_GetLastError());
        EXPECT_EQ("config[]{Group[name=\"1\"]}", Outline(doc.GetRootElement()));
        // The kept tree is whole: its parent links still lead to the root.
        EXPECT_EQ(doc.GetRootElement(), doc.GetFirstChild(doc.GetRootElement())->m_pParent);
    }
}

TEST_F(XmlFiles, TreesThatWouldNotReadBackAreNotWritten)
{
    const CString path = dir / L"kept.xml";
    struct Case {
        const wchar_t* tag;
        const wchar_t* attributes;
        const wchar_t* problem;
    } cases[] = {
        {L"", L"", L"元素名称<>不合法"},
        {L"Sheet Set", L"", L"元素名称<Sheet Set>不合法"},
        {L"Sheet\"", L"", L"元素名称<Sheet\">不合法"},
        {L"It's", L"", L"元素名称<It's>不合法"},
        {L"a<b", L"", L"元素名称<a<b>不合法"},
        {L"a/b", L"", L"元素名称<a/b>不合法"},
        {L"!x", L"", L"元素名称<!x>不合法"},
        {L"Tab\tName", L"", L"元素名称<Tab\tName>不合法"},
        {L"File", L"path=\"D:\\a.dwg", L"元素<File>的属性<path=\"D:\\a.dwg>不完整"},
        {L"File", L"path='x\" y=\"z", L"元素<File>的属性<path='x\" y=\"z>不完整"},
        {L"File", L"open /", L"元素<File>的属性<open />不完整"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.tag));
        WriteBytes(path, "old");
        tkxXmlDocument doc;
        doc.GetRootElement()->m_STag = L"config";
        tkxXmlElement* set = AddChild(doc.GetRootElement(), L"Set");
        AddChild(set, c.tag, c.attributes);
        EXPECT_EQ(0, doc.SaveXMLFile(path));
        EXPECT_EQ(CString(c.problem) + L", 无法写入[" + path + L"]文件!", tkx_GetLastError());
        EXPECT_EQ("old", ReadBytes(path));
    }
    // Values in either kind of quotation mark, holding the other kind, and
    // a "/" inside a value are fine.
    tkxXmlDocument doc;
    doc.GetRootElement()->m_STag = L"config";
    AddChild(doc.GetRootElement(), L"File", L"a='say \"hi\"' b=\"it's\" path=\"D:/x/\"");
    ASSERT_EQ(1, doc.SaveXMLFile(path)) << Utf8(tkx_GetLastError());
    tkxXmlDocument back;
    ASSERT_EQ(1, back.LoadXMLFile(path));
    EXPECT_EQ(Outline(doc.GetRootElement()), Outline(back.GetRootElement()));
}

TEST_F(XmlFiles, DeepTreesNeitherCrashNorGoUnnoticed)
{
    // Nesting far beyond the limit, open and closed: refused, not a stack
    // overflow.
    for (int levels : {12000, 24000}) {
        std::wstring closed, open;
        for (int i = 0; i < levels; ++i) closed += L"<a>";
        open = closed;
        for (int i = 0; i < levels; ++i) closed += L"</a>";
        for (const std::wstring* text : {&closed, &open}) {
            tkxXmlDocument doc;
            EXPECT_EQ(0, doc.Parse(text->c_str()));
            EXPECT_STREQ(L"第1行: 元素<a>的嵌套超过1000层!", tkx_GetLastError());
        }
    }

    // The deepest tree allowed is written and read back.
    const CString path = dir / L"deep.xml";
    {
        tkxXmlDocument doc;
        doc.GetRootElement()->m_STag = L"r";
        tkxXmlElement* e = doc.GetRootElement();
        for (int level = 2; level <= 1000; ++level) e = AddChild(e, L"a", ClFormat(L"n=\"%d\"", level));
        ASSERT_EQ(1, doc.SaveXMLFile(path)) << Utf8(tkx_GetLastError());
        tkxXmlDocument back;
        ASSERT_EQ(1, back.LoadXMLFile(path)) << Utf8(tkx_GetLastError());
        int depth = 1;
        for (tkxXmlElement* b = back.GetRootElement(); (b = back.GetFirstChild(b)) != nullptr;) {
            ++depth;
            ASSERT_EQ(ClFormat(L"%d", depth), b->GetValue(L"n"));
        }
        EXPECT_EQ(1000, depth);
        // One level more is not written.
        AddChild(e, L"b");
        EXPECT_EQ(0, doc.SaveXMLFile(dir / L"deeper.xml"));
        EXPECT_STREQ(L"元素<b>的嵌套超过1000层, 无法写入[" + dir / L"deeper.xml" + L"]文件!", tkx_GetLastError());
        EXPECT_FALSE(FileExists(dir / L"deeper.xml"));
    }

    // A tree built in memory far deeper than any stack allows is refused on
    // saving and deleted without trouble.
    tkxXmlDocument* doc = new tkxXmlDocument;
    doc->GetRootElement()->m_STag = L"r";
    tkxXmlElement* e = doc->GetRootElement();
    for (int i = 0; i < 200000; ++i) e = AddChild(e, L"a");
    EXPECT_EQ(0, doc->SaveXMLFile(path));
    doc->DeleteContents();
    for (int i = 0; i < 200000; ++i) e = AddChild(i ? e : doc->GetRootElement(), L"a");
    delete doc;
}

TEST_F(XmlFiles, ChineseFileNames)
{
    SKIP_WITHOUT_CHINESE_FILE_NAMES();
    tkxXmlDocument doc;
    BuildSheetSet(doc);
    ScratchFolder chinese(L"图纸");
    const CString path = chinese / L"高速公路图纸集.xml";
    ASSERT_EQ(1, doc.SaveXMLFile(path)) << Utf8(tkx_GetLastError());
    tkxXmlDocument back;
    ASSERT_EQ(1, back.LoadXMLFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(Outline(doc.GetRootElement()), Outline(back.GetRootElement()));
}

TEST_F(XmlFiles, MismatchedEndTagsNameFileAndLine)
{
    const CString path = dir / L"bad.xml";
    WriteBytes(path, "<config>\r\n<Group>\r\n</config>\r\n</Group>\r\n");
    tkxXmlDocument doc;
    EXPECT_EQ(0, doc.LoadXMLFile(path));
    EXPECT_STREQ(L"XML文件[" + path + L"]第3行: 结束标记</config>与第2行的元素<Group>不匹配!", tkx_GetLastError());
    EXPECT_TRUE(doc.GetRootElement()->m_Children.IsEmpty());
    EXPECT_STREQ(L"", doc.GetRootElement()->m_STag);
}

// ---------------------------------------------------------------------------
// The parser

TEST(XmlParse, MalformedTextsAreRejectedWithAMessage)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"<a><b></a>", L"第1行: 结束标记</a>与第1行的元素<b>不匹配!"},
        {L"<a>\n<b>\n</B>\n</a>", L"第3行: 结束标记</B>与第2行的元素<b>不匹配!"},
        {L"<a>\n<b/>", L"第1行: 元素<a>没有结束标记!"},
        {L"<a/></b>", L"第1行: 结束标记</b>没有对应的开始标记!"},
        {L"</b>", L"第1行: 结束标记</b>没有对应的开始标记!"},
        {L"<a/><b/>", L"第1行: 根元素之后不能再有元素<b>!"},
        {L"<a>\n<b", L"第2行: 标记没有结束!"},
        {L"<a><!-- open</a>", L"第1行: 标记没有结束!"},
        {L"<a>< /></a>", L"第1行: 标记缺少名称!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        tkxXmlDocument doc;
        tkx_SetLastError(nullptr);
        EXPECT_EQ(0, doc.Parse(c.text));
        EXPECT_STREQ(c.message, tkx_GetLastError());
        EXPECT_TRUE(doc.GetRootElement()->m_Children.IsEmpty());
    }
}

TEST(XmlParse, TreeTextsAndSkippedMarkup)
{
    tkxXmlDocument doc;
    ASSERT_EQ(1, doc.Parse(L"<?xml version=\"1.0\"?>\r\n"
                           L"<!DOCTYPE config>\r\n"
                           L"<!-- a <comment> with > inside -->\r\n"
                           L"<config version=\"2\" name=\"c\">\r\n"
                           L"  <a x=\"1\">before<b/>after &lt;&amp;&#x4E2D;&#25991;&gt;</a>\r\n"
                           L"  <a x=\"2\"></a>\r\n"
                           L"  <c expr=\"x > 1\" q='it&apos;s'/>\r\n"
                           L"</config>\r\n"
                           L"<!-- trailing -->"));
    tkxXmlElement* root = doc.GetRootElement();
    EXPECT_STREQ(L"config", root->m_STag);
    EXPECT_STREQ(L"version=\"2\" name=\"c\"", root->m_SAttributes);
    EXPECT_EQ(nullptr, root->m_pParent);
    EXPECT_EQ("config[version=\"2\" name=\"c\"]{a[x=\"1\"]{b[]},a[x=\"2\"],c[expr=\"x > 1\" q='it&apos;s']}",
              Outline(root));

    tkxXmlElement* a = doc.GetFirstChild(root);
    EXPECT_STREQ(L"after <&中文>", a->m_SText); // the last run, decoded
    EXPECT_EQ(root, a->m_pParent);
    tkxXmlElement* second = doc.GetNextSibling(root);
    EXPECT_STREQ(L"", second->m_SText);
    tkxXmlElement* c = doc.GetNextSibling(root);
    EXPECT_STREQ(L"x > 1", c->GetValue(L"expr"));
    EXPECT_STREQ(L"it's", c->GetValue(L"q"));
    EXPECT_EQ(nullptr, doc.GetNextSibling(root));
}

TEST(XmlParse, EmptyElementTagsAndEndTagsLoadAlike)
{
    tkxXmlDocument one, two;
    ASSERT_EQ(1, one.Parse(L"<r><a n=\"1\"/><b/></r>"));
    ASSERT_EQ(1, two.Parse(L"<r><a n=\"1\"></a><b></b ></r>"));
    EXPECT_EQ(Outline(one.GetRootElement()), Outline(two.GetRootElement()));
}

TEST(XmlParse, AttributeValuesByWholeName)
{
    tkxXmlElement e;
    e.m_SAttributes = L"filename=\"f.dwg\" name=\"平面图 code=\" code=\"&quot;1&quot;\"\tempty = '' q='a \"b\"' name=\"2\"";
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {
        {L"name", L"平面图 code="},  // not the end of "filename"
        {L"filename", L"f.dwg"},
        {L"code", L"\"1\""},        // not the text inside the name's value
        {L"empty", L""},
        {L"q", L"a \"b\""},
        {L"Name", L""},             // names keep their case
        {L"file", L""},
        {L"missing", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.value, e.GetValue(c.name)) << Utf8(c.name);

    // A text that is no list of name="value" gives no value at all.
    for (const wchar_t* broken : {L"a=\"1\" open=\"x", L"a=\"1\" b", L"a=1", L"a=\"1\" =\"2\"", L"a \"1\""}) {
        e.m_SAttributes = broken;
        EXPECT_STREQ(L"", e.GetValue(L"a")) << Utf8(broken);
    }
}

TEST(XmlParse, AttributeListsThatDoNotSplitAreRefusedWithTheirLine)
{
    const struct {
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"<a>\n<b x=\"1\" y></b>\n</a>", L"第2行: 元素<b>的属性<x=\"1\" y>不完整!"},
        {L"<a>\n\n<b x=1/>\n</a>", L"第3行: 元素<b>的属性<x=1>不完整!"},
        {L"<a x=\"1><b y=\"2\"/></a>", L"第1行: 元素<a>的属性<x=\"1><b y=\"2\">不完整!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        tkxXmlDocument doc;
        EXPECT_EQ(0, doc.Parse(c.text));
        EXPECT_STREQ(c.message, tkx_GetLastError());
    }
}

TEST(XmlParse, EncodeAndDecode)
{
    EXPECT_STREQ(L"&amp;&lt;&gt;&quot;&apos;&#9;&#10;&#13;中", tkxXmlElement::EncodeValue(L"&<>\"'\t\n\r中"));
    EXPECT_STREQ(L"&<>\"'\t\n\r中", tkxXmlElement::DecodeValue(L"&amp;&lt;&gt;&quot;&apos;&#9;&#10;&#13;中"));
    // What is no reference stays as it stands.
    EXPECT_STREQ(L"a & b &foo; &#; &#xZZ; &#0; &amp", tkxXmlElement::DecodeValue(L"a & b &foo; &#; &#xZZ; &#0; &amp"));
    EXPECT_STREQ(L"\U0001F600", tkxXmlElement::DecodeValue(L"&#x1F600;"));
}

TEST(XmlParse, ChildIterationAndSearch)
{
    tkxXmlDocument doc;
    ASSERT_EQ(1, doc.Parse(L"<r><Group n=\"1\"/><Sheet n=\"2\"/><GROUP n=\"3\"/><group n=\"4\"/></r>"));
    tkxXmlElement* root = doc.GetRootElement();
    std::vector<std::wstring> found;
    for (tkxXmlElement* e = doc.FindElement(root, L"group"); e; e = doc.FindNextElement(root))
        found.push_back(e->GetValue(L"n").GetString());
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"3", L"4"}), found);
    EXPECT_EQ(nullptr, doc.FindElement(root, L"none"));
    EXPECT_EQ(nullptr, doc.FindNextElement(root));

    // The sheet-set walk: the first child of a tag, then every later sibling.
    tkxXmlElement* first = doc.FindElement(root, L"sheet");
    ASSERT_TRUE(first != nullptr);
    EXPECT_STREQ(L"3", doc.GetNextSibling(root)->GetValue(L"n"));

    tkxXmlElement* leaf = doc.GetFirstChild(root);
    EXPECT_EQ(nullptr, doc.GetFirstChild(leaf));
    EXPECT_EQ(nullptr, doc.GetNextSibling(leaf));
    EXPECT_EQ(nullptr, doc.GetFirstChild(nullptr));
    EXPECT_EQ(nullptr, doc.GetNextSibling(nullptr));
    EXPECT_EQ(nullptr, doc.FindElement(nullptr, L"x"));

    doc.DeleteContents();
    EXPECT_STREQ(L"", root->m_STag);
    EXPECT_TRUE(root->m_Children.IsEmpty());
    EXPECT_EQ(nullptr, doc.GetFirstChild(root));
    EXPECT_EQ(1, doc.Parse(L""));
    EXPECT_STREQ(L"", root->m_STag);
}

TEST(XmlConvert, Utf8AndCodePages)
{
    wchar_t wide[16];
    EXPECT_EQ(6, tkx_UTF8_To_W("\xE9\x81\x93\xE8\xB7\xAF K1", wide));
    EXPECT_STREQ(L"道路 K1", wide);
    EXPECT_EQ(1, tkx_UTF8_To_W("", wide));
    EXPECT_STREQ(L"", wide);

    char bytes[16];
    EXPECT_EQ(10, tkx_W2LP_CodePage(L"道路 K1", bytes, CP_UTF8));
    EXPECT_STREQ("\xE9\x81\x93\xE8\xB7\xAF K1", bytes);
    EXPECT_EQ(8, tkx_W2LP_CodePage(L"道路 K1", bytes, 936));
    EXPECT_STREQ("\xB5\xC0\xC2\xB7 K1", bytes);
}

} // namespace
