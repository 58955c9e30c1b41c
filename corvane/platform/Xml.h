// A small XML document model for the suite's own XML files (sheet sets and
// their templates, structure records): a tree of elements, each with a tag
// name, its attributes as one raw text (name="x" code="1", values in their
// XML form) and its text content.  Files are read from UTF-8 or UTF-16 and
// written as UTF-8 with a declaration and a creation-time comment; element
// text is not written.  No namespaces, no validation, no CDATA.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxXmlElement : public CObject
{
public:
    tkxXmlElement();
    ~tkxXmlElement() override;

    // The value (in double or single quotes) of the first attribute of that
    // name, the names compared whole, with its character and entity
    // references decoded; "" when absent, and for every name when the
    // attribute text is no list of name="value" (a value not closed, say).
    CString GetValue(CString name);
    // Deletes all children.
    void Reset();

    // An attribute value in its XML form: & < > " and ' as references.
    // Build attribute texts with it: Format(L"name=\"%s\"", EncodeValue(v)).
    static CString EncodeValue(const wchar_t* value);
    // Character and entity references replaced by their characters.
    static CString DecodeValue(const wchar_t* text);

    CString m_STag;
    CString m_SAttributes;
    CString m_SText;
    CObList m_Children; // owned tkxXmlElement*
    tkxXmlElement* m_pParent;
    POSITION m_posChild;
    CString m_SSearchTag;
};

class CORVANE_API tkxXmlDocument
{
public:
    tkxXmlDocument();
    virtual ~tkxXmlDocument();
    tkxXmlDocument(const tkxXmlDocument&) = delete;
    tkxXmlDocument& operator=(const tkxXmlDocument&) = delete;

    tkxXmlElement* GetRootElement() { return &m_Root; }
    void DeleteContents();

    // Builds the tree from the text; 0 with the last-error text when an end
    // tag does not close the element it names, a tag has no name, a second
    // root element follows the first, elements nest more than 1,000 levels
    // deep or the text breaks off.  A failed parse leaves the document as it
    // was.
    int Parse(const wchar_t* text);
    // 1 when read and parsed; 0 with the last-error text otherwise (also for
    // a file without any element), the document left as it was.
    int LoadXMLFile(const wchar_t* path);
    // 1 when written.  A tree that would not read back as it stands (a tag
    // that is empty or holds blanks, quotation marks or markup characters,
    // an attribute text with an open quotation mark, nesting beyond 1,000
    // levels) is refused with the last-error text; the old file stays
    // untouched whenever saving fails.
    int SaveXMLFile(const wchar_t* path);
    int WriteElement(CFile* file, tkxXmlElement* element, CString& indent);

    // Child iteration through the cursor kept in the parent: one loop per
    // parent at a time.
    tkxXmlElement* GetFirstChild(tkxXmlElement* parent);
    tkxXmlElement* GetNextSibling(tkxXmlElement* parent);
    // First child with the tag (any case); FindNextElement goes on with the
    // same tag.
    tkxXmlElement* FindElement(tkxXmlElement* parent, const wchar_t* tag);
    tkxXmlElement* FindNextElement(tkxXmlElement* parent);

private:
    int ParseText(const wchar_t* text, bool dropLineBreaks, bool requireElement);

    CString m_SXml;
    tkxXmlElement m_Root;
    tkxXmlElement* m_pCurElement;
};

// Zero-terminated UTF-8 to wide text, terminator included; `out` must be
// large enough.  Returns the characters written.
CORVANE_API int tkx_UTF8_To_W(const char* in, wchar_t* out);
// Wide text to the code page, terminator included; `out` must be large
// enough.  Returns the bytes written.
CORVANE_API int tkx_W2LP_CodePage(const wchar_t* in, char* out, UINT codePage);
