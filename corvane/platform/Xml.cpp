#include "corvane/platform/Xml.h"
#include "classlib/TempFile.h"
#include "corvane/platform/FileName.h"
#include "corvane/base/LastError.h"
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// Deepest nesting read or written (the root is level 1).  The suite's files
// use a handful of levels; the limit keeps a damaged or hostile file from
// building a tree that is costly to walk.
constexpr int kMaxXmlDepth = 1000;

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }

bool IsHexDigit(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

struct NamedEntity {
    const wchar_t* name; // with its '&' and ';'
    wchar_t ch;
};
const NamedEntity kEntities[] = {
    {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
};

// Length of the character or entity reference at text[0] ('&'), 0 when
// none stands there; the character it stands for goes to `ch`.
size_t ReferenceAt(const wchar_t* text, unsigned long& ch)
{
    for (const NamedEntity& e : kEntities) {
        size_t n = wcslen(e.name);
        if (wcsncmp(text, e.name, n) == 0) {
            ch = e.ch;
            return n;
        }
    }
    if (text[1] != L'#') return 0;
    const bool hex = text[2] == L'x' || text[2] == L'X';
    size_t i = hex ? 3 : 2;
    const size_t first = i;
    unsigned long value = 0;
    while (hex ? IsHexDigit(text[i]) : (text[i] >= L'0' && text[i] <= L'9')) {
        wchar_t d = text[i];
        unsigned long digit = d <= L'9' ? d - L'0' : (d | 0x20) - L'a' + 10;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) return 0;
        ++i;
    }
    if (i == first || text[i] != L';' || value == 0) return 0;
    ch = value;
    return i + 1;
}

void AppendCodePoint(std::wstring& out, unsigned long cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

// The attribute text as written: '<', '>' and an '&' that starts no
// reference are escaped, so that a text built without EncodeValue still
// gives a well-formed file.
CString EscapeAttributeText(const CString& text)
{
    std::wstring out;
    const wchar_t* p = text;
    for (size_t i = 0; p[i]; ++i) {
        unsigned long ch;
        switch (p[i]) {
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'&': out += ReferenceAt(p + i, ch) ? L"&" : L"&amp;"; break;
        default: out += p[i];
        }
    }
    return CString(out);
}

// A character that may stand in an attribute's name.
bool IsNameChar(wchar_t ch) { return !IsBlank(ch) && !wcschr(L"=\"'<>/&", ch); }

// Splits an attribute text into its attributes: each a name, "=" and a value
// in quotation marks of either kind, blanks around them.  The values stay as
// written (undecoded).  False for any other text: a name without "=" or
// without a value, a value without its quotation marks, a value not closed.
bool SplitAttributes(const CString& text, std::vector<std::pair<CString, CString>>* attributes)
{
    const wchar_t* p = text;
    const int n = text.GetLength();
    int i = 0;
    auto skipBlanks = [&] {
        while (i < n && IsBlank(p[i])) ++i;
    };
    for (skipBlanks(); i < n; skipBlanks()) {
        const int nameStart = i;
        while (i < n && IsNameChar(p[i])) ++i;
        if (i == nameStart) return false;
        const CString name(p + nameStart, i - nameStart);
        skipBlanks();
        if (i >= n || p[i] != L'=') return false;
        ++i;
        skipBlanks();
        if (i >= n || (p[i] != L'"' && p[i] != L'\'')) return false;
        const wchar_t quote = p[i++];
        const int valueStart = i;
        while (i < n && p[i] != quote) ++i;
        if (i >= n) return false;
        if (attributes) attributes->emplace_back(name, CString(p + valueStart, i - valueStart));
        ++i;
    }
    return true;
}

void WriteUtf8(CFile* file, const CString& text)
{
    std::string bytes = ClWideToMultiByte(text, text.GetLength(), CP_UTF8);
    if (!bytes.empty()) file->Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

// The file's text: UTF-8 after its mark, UTF-16 after either of its marks or
// when zero bytes show UTF-16 code units, UTF-8 otherwise.
CString DecodeFileText(const std::vector<char>& bytes)
{
    const size_t size = bytes.size();
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return ClMultiByteToWide(bytes.data() + 3, static_cast<int>(size - 3), CP_UTF8);

    size_t start = 0;
    int utf16 = 0; // 1 little-endian, 2 big-endian
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        utf16 = 1;
        start = 2;
    } else if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        utf16 = 2;
        start = 2;
    } else {
        // UTF-8 text holds no zero byte; UTF-16 text of XML holds many, in
        // the high byte of each ASCII character.
        size_t evenZeros = 0, oddZeros = 0;
        const size_t sample = size < 4096 ? size : 4096;
        for (size_t i = 0; i < sample; ++i)
            if (b[i] == 0) ++((i % 2) ? oddZeros : evenZeros);
        if (oddZeros + evenZeros > 0) utf16 = oddZeros >= evenZeros ? 1 : 2;
    }
    if (!utf16) return ClMultiByteToWide(bytes.data(), static_cast<int>(size), CP_UTF8);

    std::wstring text;
    text.reserve((size - start) / 2);
    for (size_t i = start; i + 1 < size; i += 2) {
        wchar_t unit = utf16 == 1 ? static_cast<wchar_t>(b[i] | (b[i + 1] << 8))
                                  : static_cast<wchar_t>((b[i] << 8) | b[i + 1]);
        text += unit;
    }
    return CString(text);
}

bool ReadWholeFile(const wchar_t* path, std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

} // namespace

// ---------------------------------------------------------------------------
// Conversions

int tkx_UTF8_To_W(const char* in, wchar_t* out)
{
    if (!out) return 0;
    CString text = ClMultiByteToWide(in, -1, CP_UTF8);
    const int n = text.GetLength();
    wmemcpy(out, text.GetString(), static_cast<size_t>(n));
    out[n] = 0;
    return n + 1;
}

int tkx_W2LP_CodePage(const wchar_t* in, char* out, UINT codePage)
{
    if (!out) return 0;
    std::string bytes = ClWideToMultiByte(in, -1, codePage);
    memcpy(out, bytes.data(), bytes.size());
    out[bytes.size()] = 0;
    return static_cast<int>(bytes.size()) + 1;
}

// ---------------------------------------------------------------------------
// tkxXmlElement

tkxXmlElement::tkxXmlElement() : m_Children(10), m_pParent(nullptr), m_posChild(nullptr) {}

tkxXmlElement::~tkxXmlElement() { Reset(); }

// Without recursion: a deep tree must not exhaust the stack.  Each element
// is emptied of its children before it is deleted, so its own destructor has
// nothing left to walk.
void tkxXmlElement::Reset()
{
    std::vector<tkxXmlElement*> pending;
    auto takeChildren = [&pending](tkxXmlElement* parent) {
        POSITION pos = parent->m_Children.GetHeadPosition();
        while (pos) pending.push_back(static_cast<tkxXmlElement*>(parent->m_Children.GetNext(pos)));
        parent->m_Children.RemoveAll();
        parent->m_posChild = nullptr;
    };
    takeChildren(this);
    while (!pending.empty()) {
        tkxXmlElement* element = pending.back();
        pending.pop_back();
        takeChildren(element);
        delete element;
    }
}

CString tkxXmlElement::GetValue(CString name)
{
    // Names are compared whole, so a value or another attribute's name that
    // holds the name is no match; an attribute text that does not split
    // into attributes gives no value at all.
    std::vector<std::pair<CString, CString>> attributes;
    if (name.IsEmpty() || !SplitAttributes(m_SAttributes, &attributes)) return CString();
    for (const auto& attribute : attributes)
        if (attribute.first == name) return DecodeValue(attribute.second);
    return CString();
}

CString tkxXmlElement::EncodeValue(const wchar_t* value)
{
    std::wstring out;
    for (const wchar_t* p = value ? value : L""; *p; ++p) {
        switch (*p) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\'': out += L"&apos;"; break;
        case L'\t': out += L"&#9;"; break;
        case L'\n': out += L"&#10;"; break;
        case L'\r': out += L"&#13;"; break;
        default: out += *p;
        }
    }
    return CString(out);
}

CString tkxXmlElement::DecodeValue(const wchar_t* text)
{
    std::wstring out;
    const wchar_t* p = text ? text : L"";
    for (size_t i = 0; p[i];) {
        unsigned long ch;
        size_t n = p[i] == L'&' ? ReferenceAt(p + i, ch) : 0;
        if (n) {
            AppendCodePoint(out, ch);
            i += n;
        } else {
            out += p[i++];
        }
    }
    return CString(out);
}

// ---------------------------------------------------------------------------
// tkxXmlDocument: tree and iteration

tkxXmlDocument::tkxXmlDocument() : m_pCurElement(&m_Root) {}

tkxXmlDocument::~tkxXmlDocument() = default;

void tkxXmlDocument::DeleteContents()
{
    m_Root.Reset();
    m_Root.m_STag.Empty();
    m_Root.m_SAttributes.Empty();
    m_Root.m_SText.Empty();
    m_Root.m_posChild = nullptr;
    m_Root.m_SSearchTag.Empty();
    m_pCurElement = &m_Root;
}

tkxXmlElement* tkxXmlDocument::GetFirstChild(tkxXmlElement* parent)
{
    if (!parent) return nullptr;
    POSITION pos = parent->m_Children.GetHeadPosition();
    if (!pos) {
        parent->m_posChild = nullptr;
        return nullptr;
    }
    auto* child = static_cast<tkxXmlElement*>(parent->m_Children.GetNext(pos));
    parent->m_posChild = pos;
    return child;
}

tkxXmlElement* tkxXmlDocument::GetNextSibling(tkxXmlElement* parent)
{
    if (!parent || !parent->m_posChild) return nullptr;
    return static_cast<tkxXmlElement*>(parent->m_Children.GetNext(parent->m_posChild));
}

tkxXmlElement* tkxXmlDocument::FindElement(tkxXmlElement* parent, const wchar_t* tag)
{
    if (!parent) return nullptr;
    parent->m_SSearchTag = tag ? tag : L"";
    parent->m_posChild = parent->m_Children.GetHeadPosition();
    return FindNextElement(parent);
}

tkxXmlElement* tkxXmlDocument::FindNextElement(tkxXmlElement* parent)
{
    if (!parent) return nullptr;
    while (parent->m_posChild) {
        auto* child = static_cast<tkxXmlElement*>(parent->m_Children.GetNext(parent->m_posChild));
        if (child->m_STag.CompareNoCase(parent->m_SSearchTag) == 0) return child;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Parsing

int tkxXmlDocument::Parse(const wchar_t* text) { return ParseText(text, false, false); }

// One pass over the text into a new tree, which replaces the document's only
// when the whole text was read: a failed parse leaves the document as it
// was.  Declarations, comments and document types are skipped.  An element's
// text is the last run of content that stood before a '<' while it was the
// open element.  Attribute texts are kept as they stand; GetValue decodes the
// values.
int tkxXmlDocument::ParseText(const wchar_t* source, bool dropLineBreaks, bool requireElement)
{
    const CString whole = source ? source : L"";
    const wchar_t* p = whole;
    const size_t n = static_cast<size_t>(whole.GetLength());

    tkxXmlElement root;
    tkxXmlElement* current = &root;
    bool rootOpened = false, rootClosed = false;
    std::vector<int> openLines; // line of each open element's start tag
    std::wstring content;
    int line = 1;

    auto fail = [&](const CString& message) {
        tkx_SetLastError(message);
        return 0;
    };
    auto countLines = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k)
            if (p[k] == L'\n') ++line;
    };
    auto markupEnd = [&](size_t from, const wchar_t* terminator) {
        const wchar_t* hit = wcsstr(p + from, terminator);
        return hit ? static_cast<size_t>(hit - p) : std::wstring::npos;
    };

    size_t i = 0;
    while (i < n) {
        const wchar_t c = p[i];
        if (c != L'<') {
            if (c == L'\n') ++line;
            if (!(dropLineBreaks && (c == L'\r' || c == L'\n' || c == L'\t')) && rootOpened && !rootClosed)
                content += c;
            ++i;
            continue;
        }

        const int tagLine = line;
        if (rootOpened && !rootClosed) {
            CString text(content);
            text.Trim();
            current->m_SText = tkxXmlElement::DecodeValue(text);
        }
        content.clear();

        // Declarations, comments and document types.
        if (p[i + 1] == L'?' || p[i + 1] == L'!') {
            const bool comment = wcsncmp(p + i, L"<!--", 4) == 0;
            const wchar_t* terminator = comment ? L"-->" : (p[i + 1] == L'?' ? L"?>" : L">");
            size_t end = markupEnd(i + 2, terminator);
            if (end == std::wstring::npos) return fail(ClFormat(L"第%d行: 标记没有结束!", tagLine));
            end += wcslen(terminator);
            countLines(i, end);
            i = end;
            continue;
        }

        // Start, end and empty-element tags: up to the '>' outside quoted
        // attribute values.
        size_t j = i + 1;
        wchar_t quote = 0;
        wchar_t lastMark = 0; // last non-blank character, quotes included
        for (; j < n; ++j) {
            const wchar_t ch = p[j];
            if (quote) {
                if (ch == quote) {
                    quote = 0;
                    lastMark = ch;
                }
                continue;
            }
            if ((ch == L'"' || ch == L'\'') && lastMark == L'=') {
                quote = ch;
                continue;
            }
            if (ch == L'>' || ch == L'<') break;
            if (!IsBlank(ch)) lastMark = ch;
        }
        if (j >= n || p[j] != L'>') return fail(ClFormat(L"第%d行: 标记没有结束!", tagLine));
        countLines(i, j);

        std::wstring inner(p + i + 1, j - i - 1);
        if (dropLineBreaks) {
            std::wstring kept;
            for (wchar_t ch : inner)
                if (ch != L'\r' && ch != L'\n' && ch != L'\t') kept += ch;
            inner.swap(kept);
        }
        i = j + 1;

        const bool endTag = !inner.empty() && inner[0] == L'/';
        const bool emptyTag = !endTag && !inner.empty() && inner.back() == L'/';
        if (endTag) inner.erase(0, 1);
        if (emptyTag) inner.pop_back();

        CString body(inner.c_str());
        body.Trim();
        int cut = body.FindOneOf(L" \t\r\n");
        CString name = cut < 0 ? body : body.Left(cut);
        CString attributes = cut < 0 ? CString() : body.Mid(cut);
        attributes.Trim();
        if (name.IsEmpty()) return fail(ClFormat(L"第%d行: 标记缺少名称!", tagLine));

        if (endTag) {
            if (!rootOpened || rootClosed)
                return fail(ClFormat(L"第%d行: 结束标记</%s>没有对应的开始标记!", tagLine, name.GetString()));
            if (name != current->m_STag)
                return fail(ClFormat(L"第%d行: 结束标记</%s>与第%d行的元素<%s>不匹配!", tagLine, name.GetString(),
                                openLines.back(), current->m_STag.GetString()));
            openLines.pop_back();
            if (current == &root) rootClosed = true;
            else current = current->m_pParent;
            continue;
        }

        if (rootClosed)
            return fail(ClFormat(L"第%d行: 根元素之后不能再有元素<%s>!", tagLine, name.GetString()));
        if (!SplitAttributes(attributes, nullptr))
            return fail(ClFormat(L"第%d行: 元素<%s>的属性<%s>不完整!", tagLine, name.GetString(),
                                 attributes.GetString()));
        if (openLines.size() >= static_cast<size_t>(kMaxXmlDepth))
            return fail(ClFormat(L"第%d行: 元素<%s>的嵌套超过%d层!", tagLine, name.GetString(), kMaxXmlDepth));
        if (!rootOpened) {
            // The root is read like any other element: its blanks are kept,
            // so its attributes stay apart from its tag and survive a save.
            rootOpened = true;
            root.m_STag = name;
            root.m_SAttributes = attributes;
            if (emptyTag) rootClosed = true;
            else openLines.push_back(tagLine);
            continue;
        }
        auto* element = new tkxXmlElement;
        element->m_STag = name;
        element->m_SAttributes = attributes;
        element->m_pParent = current;
        current->m_Children.AddTail(element);
        if (!emptyTag) {
            current = element;
            openLines.push_back(tagLine);
        }
    }

    if (rootOpened && !rootClosed)
        return fail(ClFormat(L"第%d行: 元素<%s>没有结束标记!", openLines.back(), current->m_STag.GetString()));
    if (!rootOpened && requireElement) return fail(ClFormat(L"第%d行: 没有任何元素!", line));

    // The new tree becomes the document's.
    DeleteContents();
    m_SXml = whole;
    m_Root.m_STag = root.m_STag;
    m_Root.m_SAttributes = root.m_SAttributes;
    m_Root.m_SText = root.m_SText;
    POSITION pos = root.m_Children.GetHeadPosition();
    while (pos) {
        auto* child = static_cast<tkxXmlElement*>(root.m_Children.GetNext(pos));
        child->m_pParent = &m_Root;
        m_Root.m_Children.AddTail(child);
    }
    root.m_Children.RemoveAll();
    return 1;
}

// ---------------------------------------------------------------------------
// Files

int tkxXmlDocument::LoadXMLFile(const wchar_t* path)
{
    std::vector<char> bytes;
    if (!path || !ReadWholeFile(path, bytes)) {
        tkx_SetLastError(ClFormat(L"打开或读取%s文件失败!", path ? path : L""));
        return 0;
    }
    // The text ends at its first zero character.
    const CString text(DecodeFileText(bytes).GetString());
    if (!ParseText(text, true, true)) {
        tkx_SetLastError(ClFormat(L"XML文件[%s]%s", path, tkx_GetLastError().GetString()));
        return 0;
    }
    return 1;
}

// Without recursion: the elements still to be closed are kept on a list, and
// each one's place among its children in its own child cursor.
int tkxXmlDocument::WriteElement(CFile* file, tkxXmlElement* element, CString& indent)
{
    if (!file || !element) return 1;
    struct Open {
        tkxXmlElement* element;
        CString indent;
    };
    std::vector<Open> open;

    // Writes the start line; an element with children stays open.
    auto start = [&](tkxXmlElement* e, const CString& lead) {
        CString line = ClFormat(L"%s<%s", lead.GetString(), e->m_STag.GetString());
        if (!e->m_SAttributes.IsEmpty()) line += L" " + EscapeAttributeText(e->m_SAttributes);
        const bool hasChildren = !e->m_Children.IsEmpty();
        line += hasChildren ? L">\r\n" : L"/>\r\n";
        WriteUtf8(file, line);
        if (hasChildren) open.push_back({e, lead});
        return hasChildren;
    };

    if (start(element, indent)) {
        bool first = true;
        while (!open.empty()) {
            Open& top = open.back();
            tkxXmlElement* child = first ? GetFirstChild(top.element) : GetNextSibling(top.element);
            if (!child) {
                WriteUtf8(file, ClFormat(L"%s</%s>\r\n", top.indent.GetString(), top.element->m_STag.GetString()));
                open.pop_back();
                first = false;
                continue;
            }
            first = start(child, top.indent + L"\t");
        }
    }
    return 1;
}

namespace {

// Whether the tag can be written so that it reads back as the same name.
bool IsWritableTag(const CString& tag)
{
    if (tag.IsEmpty() || tag[0] == L'!' || tag[0] == L'?') return false;
    for (int i = 0; i < tag.GetLength(); ++i) {
        const wchar_t ch = tag[i];
        if (ch <= L' ' || wcschr(L"<>/\"'=&", ch)) return false;
    }
    return true;
}

// Whether the attribute text reads back as it is written: it splits into
// attributes as the reader splits it.
bool IsWritableAttributeText(const CString& text) { return SplitAttributes(text, nullptr); }

// Empty when the tree can be written and read back as it stands; otherwise
// the reason.  Walks without recursion and touches no child cursor.
CString CheckWritableTree(tkxXmlElement* root)
{
    std::vector<std::pair<tkxXmlElement*, int>> pending{{root, 1}};
    while (!pending.empty()) {
        tkxXmlElement* e = pending.back().first;
        const int level = pending.back().second;
        pending.pop_back();
        if (level > kMaxXmlDepth) return ClFormat(L"元素<%s>的嵌套超过%d层", e->m_STag.GetString(), kMaxXmlDepth);
        if (!IsWritableTag(e->m_STag)) return ClFormat(L"元素名称<%s>不合法", e->m_STag.GetString());
        if (!IsWritableAttributeText(e->m_SAttributes))
            return ClFormat(L"元素<%s>的属性<%s>不完整", e->m_STag.GetString(), e->m_SAttributes.GetString());
        POSITION pos = e->m_Children.GetHeadPosition();
        while (pos) pending.push_back({static_cast<tkxXmlElement*>(e->m_Children.GetNext(pos)), level + 1});
    }
    return CString();
}

} // namespace

// The document is written to a new file beside the old one, which it then
// replaces: a failed write leaves the old file as it was.
int tkxXmlDocument::SaveXMLFile(const wchar_t* path)
{
    const CString target = path ? path : L"";
    // What could not be read back is not written: the old file stays.
    const CString problem = CheckWritableTree(&m_Root);
    if (!problem.IsEmpty()) {
        tkx_SetLastError(ClFormat(L"%s, 无法写入[%s]文件!", problem.GetString(), target.GetString()));
        return 0;
    }
    CString folder = tkxFileName(target).GetRoot();
    if (folder.IsEmpty()) folder = L".";
    const CString temp = target.IsEmpty() ? CString() : ClMakeTempFile(folder, L"xml");
    if (temp.IsEmpty()) {
        tkx_SetLastError(ClFormat(L"创建[%s]文件失败!", target.GetString()));
        return 0;
    }

    CMemFile text;
    static const unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
    text.Write(kMark, sizeof(kMark));
    WriteUtf8(&text, L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteUtf8(&text, ClFormat(L"<!-- 创建时间:%02d-%02d-%02d %02d:%02d:%02d -->\r\n", now.wYear % 100, now.wMonth,
                         now.wDay, now.wHour, now.wMinute, now.wSecond));
    CString indent;
    WriteElement(&text, &m_Root, indent);

    bool opened = false, written = false;
    CFile file;
    if (file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        opened = true;
        try {
            const std::vector<BYTE>& data = text.Data();
            file.Write(data.data(), static_cast<UINT>(data.size()));
            file.Flush();
            file.Close();
            written = true;
        } catch (CFileException* e) {
            e->Delete();
            file.Abort();
        }
    }
    if (!written || !MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp);
        // Writing failed after the file was created: a write error; otherwise
        // the file could not be created (or could not take the old one's place).
        tkx_SetLastError(ClFormat(opened && !written ? L"写入[%s]文件失败!" : L"创建[%s]文件失败!", target.GetString()));
        return 0;
    }
    return 1;
}
