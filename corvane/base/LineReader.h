// The data-line reader and the field splitter behind tkx_ReadNextStringST,
// tkx_ReadNextString and tkx_DivideString, for the library's own file readers
// (internal to the library, not exported).  Lines are scanned in the
// source's buffer and widened once; the fields of a line are views into one
// copy of it, so a line costs no allocation per field.
#pragma once
#include "corvane/CorvaneDefs.h"

#include <string>
#include <string_view>
#include <vector>

namespace text_lines {

// Longest physical line, in bytes without its line end, for each kind of
// source.
constexpr size_t kArchiveLineBytes = 1023;
constexpr size_t kFileLineBytes = 65535;

// The buffer of an archive made to read text lines: the file is read in
// pieces this large, not in many small reads.
constexpr int kArchiveBufferBytes = 64 * 1024;

// Reads the data lines of a file or an archive by the rules of the exported
// readers: a physical line ends at a line feed, a carriage return and line
// feed, or a carriage return alone; lines are widened from the ANSI code
// page and trimmed; empty lines and lines beginning with "//" are skipped;
// the caller's counter counts every physical line (and, for a file, the end
// of the file once more).  A data line longer than the source's limit, or any
// line holding a zero byte, is a bad line: the reader stops there with
// Failed() set and the counter on that line.  The reader keeps no position
// of its own; the next reader made on the same source goes on after the bad
// line.
class DataLineReader
{
public:
    explicit DataLineReader(CStdioFile& file);
    explicit DataLineReader(CArchive& archive);

    // true with the next data line; false at the end of the source or at a
    // bad line (line emptied either way).
    bool Next(CString& line, int& lineNo);
    // The same, but a data line of 7-bit text is handed over as its bytes,
    // trimmed as Next trims it, without being widened: `bytes` points into
    // the source's buffer (or the reader's copy of a line) and stays valid
    // until the next call, and `line` is emptied.  Any other data line is
    // widened into `line` as Next does, with `bytes` empty.
    bool Next(CString& line, std::string_view& bytes, int& lineNo);
    // The same for every line, comment and empty lines too (for settings
    // files whose comment lines are content); a line is bad whether or not
    // it is a comment.
    bool NextAnyLine(CString& line, int& lineNo);
    // Whether the last Next stopped at a bad line.
    bool Failed() const { return m_fault != Fault::none; }
    // What is wrong with the bad line.
    CString FaultText() const;
    // The message for the bad line: the file, the line number and what is
    // wrong with it.
    CString FailureText() const;

private:
    enum class Fault { none, tooLong, zeroByte };

    bool NextLine(CString& line, int& lineNo, bool dataOnly, std::string_view* bytes);
    UINT Peek(const char** data);
    void Skip(UINT count);
    // One physical line (at most the limit kept) into m_line, which points
    // into the source's buffer or into m_bytes; false when the source ended
    // before it.
    bool ReadPhysicalLine(size_t& length, bool& zeroByte);

    CStdioFile* m_file = nullptr;
    CArchive* m_archive = nullptr;
    size_t m_limit;
    bool m_countEnd;
    Fault m_fault = Fault::none;
    int m_faultLine = 0;
    std::string m_bytes;
    const char* m_line = nullptr;
    size_t m_lineLength = 0;
};

// One field of a split line: a view that ends in a zero character.
class Field
{
public:
    Field(const wchar_t* text, int length) : m_text(text), m_length(length) {}

    const wchar_t* GetString() const { return m_text; }
    int GetLength() const { return m_length; }
    wchar_t operator[](int i) const { return m_text[i]; }
    bool operator==(const wchar_t* other) const { return View() == std::wstring_view(other ? other : L""); }
    bool operator!=(const wchar_t* other) const { return !(*this == other); }
    // Index of the first ch, -1 when there is none.
    int Find(wchar_t ch) const;
    std::wstring_view View() const { return std::wstring_view(m_text, static_cast<size_t>(m_length)); }
    CString Text() const { return CString(m_text, m_length); }

private:
    const wchar_t* m_text;
    int m_length;
};

// Splits a text into fields by the rules of tkx_DivideString, keeping one
// copy of the text that the fields point into.  A short line with few fields
// is held inside the list itself, so a list made for one line costs no
// allocation; a list kept from line to line reuses what it holds.
class FieldList
{
public:
    FieldList() = default;
    FieldList(const FieldList&) = delete;
    FieldList& operator=(const FieldList&) = delete;

    // 0 when the whole text was scanned; 13 or 10 when the scan stopped at
    // that line break with text left after it or where a field would begin;
    // -1 for an empty text (no fields) or when a field reaches 65,535
    // characters (the fields before it are kept).
    int Divide(const wchar_t* text, size_t length);
    int Divide(const CString& text) { return Divide(text.GetString(), static_cast<size_t>(text.GetLength())); }
    // The same for 7-bit text, widened into the list's copy (a line as
    // DataLineReader hands its bytes over).
    int Divide(std::string_view text);

    INT_PTR GetSize() const { return m_count; }
    // Field i; an index outside the list throws CInvalidArgException*.
    Field operator[](INT_PTR i) const
    {
        if (i < 0 || i >= m_count) AfxThrowInvalidArgException();
        return Field(m_text + m_fields[i].offset, m_fields[i].length);
    }

private:
    struct Span {
        int offset;
        int length;
    };
    static constexpr size_t kInlineText = 128;
    static constexpr int kInlineFields = 16;

    void AddField(int offset, int length)
    {
        if (m_count < kInlineFields)
            m_inlineFields[m_count++] = {offset, length};
        else
            AddMoreField(offset, length);
    }
    void AddMoreField(int offset, int length);
    // Room for the copy of a text of `length` characters.
    void Reserve(size_t length);
    template <class Char>
    int DivideText(const Char* text, size_t length);

    wchar_t* m_text = m_inlineText;
    Span* m_fields = m_inlineFields;
    int m_count = 0;
    wchar_t m_inlineText[kInlineText];
    Span m_inlineFields[kInlineFields];
    std::wstring m_longText;
    std::vector<Span> m_moreFields;
};

// The fields of one split line as the unit readers take them: how many,
// each as a number of the data files, and each as its text for a message.
// An index outside the list throws CInvalidArgException*.
class LineFields
{
public:
    virtual int Count() const = 0;
    // Field i as a number (see ReadNumber below).
    virtual bool Number(int i, double& value) const = 0;
    virtual CString Text(int i) const = 0;

protected:
    ~LineFields() = default;
};

// The fields of a FieldList.
class WideLineFields final : public LineFields
{
public:
    explicit WideLineFields(const FieldList& fields) : m_fields(fields) {}
    int Count() const override { return static_cast<int>(m_fields.GetSize()); }
    bool Number(int i, double& value) const override;
    CString Text(int i) const override { return m_fields[i].Text(); }

private:
    const FieldList& m_fields;
};

// Splits a line of 7-bit text by the rules of FieldList, without copying:
// the fields are views into the text, which must outlive the list.
class ByteFieldList final : public LineFields
{
public:
    ByteFieldList() = default;
    ByteFieldList(const ByteFieldList&) = delete;
    ByteFieldList& operator=(const ByteFieldList&) = delete;

    // What FieldList::Divide answers for the same text.
    int Divide(const char* text, size_t length);

    int Count() const override { return m_count; }
    bool Number(int i, double& value) const override;
    CString Text(int i) const override;
    std::string_view View(int i) const;

private:
    struct Span {
        size_t offset;
        size_t length;
    };
    static constexpr int kInlineFields = 16;
    void AddField(size_t offset, size_t length);

    const char* m_text = nullptr;
    int m_count = 0;
    Span m_inlineFields[kInlineFields];
    std::vector<Span> m_moreFields;
};

// Room for a copy of a text of a given length and its end: on the stack for
// a usual short text, on the heap for a longer one.
class TextRoom
{
public:
    explicit TextRoom(size_t length)
    {
        if (length >= kShort) {
            m_long.resize(length);
            m_text = &m_long[0];
        }
    }
    TextRoom(const TextRoom&) = delete;
    TextRoom& operator=(const TextRoom&) = delete;
    wchar_t* Get() { return m_text; }

private:
    static constexpr size_t kShort = 64;
    wchar_t m_short[kShort];
    std::wstring m_long;
    wchar_t* m_text = m_short;
};

// A field or part of one as a number of the data files (see
// number_text::ReadNumber): the whole text must be the number.
bool ReadNumber(std::wstring_view text, double& value);
inline bool ReadNumber(const Field& field, double& value) { return ReadNumber(field.View(), value); }

} // namespace text_lines
