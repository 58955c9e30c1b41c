// The field splitter of the library's readers: a line of 7-bit text split
// from its bytes gives the fields and the answer of the same line split after
// widening.
#include "corvane/base/LineReader.cpp"
#include "corvane/base/NumberText.cpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    int result;
    std::vector<std::wstring> fields;
    bool operator==(const Split& other) const { return result == other.result && fields == other.fields; }
};

Split Fields(text_lines::FieldList& list, int result)
{
    Split split{result, {}};
    for (INT_PTR i = 0; i < list.GetSize(); ++i) split.fields.emplace_back(list[i].View());
    // Each field ends in a zero character (callers hand its start to
    // functions that read up to the zero).
    for (INT_PTR i = 0; i < list.GetSize(); ++i) EXPECT_EQ(0, list[i].GetString()[list[i].GetLength()]);
    return split;
}

} // namespace

TEST(FieldList, BytesSplitAsTheWidenedText)
{
    const std::string limit(65534, '9');
    const std::string tooLong(65535, '9');
    const std::string texts[] = {
        "1 C0 1000.000 12d30'00.0\" 2.0 3.5 3.5 2.5 100.000 R",
        "2,,  7\t8, T",
        " a b ",
        ",\t ,",
        "x",
        "a\r\nb",
        "a b\nc d",
        "a \n",
        "\r\n",
        "a\n",
        "a" + std::string(200, ' ') + "b",     // longer than the list's own room
        std::string(40, 'k') + " " + std::string(40, 'l') + " " + std::string(60, 'm'),
        std::string("a b\0c", 5),                // a zero ends the text
        "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20",   // more fields than kept in the list
        "a " + limit + " b",
        "a," + tooLong + ",b",
    };
    text_lines::FieldList fromBytes, fromWide;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 60));
        const std::wstring wide(text.begin(), text.end());
        const Split bytes = Fields(fromBytes, fromBytes.Divide(std::string_view(text)));
        const Split widened = Fields(fromWide, fromWide.Divide(wide.data(), wide.size()));
        EXPECT_TRUE(bytes == widened) << bytes.result << " " << widened.result;
    }
    EXPECT_EQ(-1, fromBytes.Divide(std::string_view()));
}
