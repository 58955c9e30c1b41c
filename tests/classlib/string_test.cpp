#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(CStringFormat, FollowsTheMicrosoftRuntime)
{
    EXPECT_STREQ(L"项目:道路一", ClFormat(L"项目:%s", L"道路一"));      // %s is a wide string
    EXPECT_STREQ(L"abc", ClFormat(L"%S", "abc"));                        // %S a narrow one
    EXPECT_STREQ(L"0.700", ClFormat(L"%.3f", 0.70005));
    EXPECT_STREQ(L"3.1415926536", ClFormat(L"%.10f", 3.14159265358979));
    EXPECT_STREQ(L"-12.346", ClFormat(L"%.3f", -12.3456));
    EXPECT_STREQ(L"1.#INF00", ClFormat(L"%f", std::numeric_limits<double>::infinity()));
    EXPECT_STREQ(L"缺少2个右括号", ClFormat(L"缺少%d个右括号", 2));
    EXPECT_STREQ(L"  42|0x1f", ClFormat(L"%4d|0x%x", 42, 31));

    CString s(L"K");
    s.AppendFormat(L"%d+%07.3f", 12, 345.678);
    EXPECT_STREQ(L"K12+345.678", s);

    CString big;
    big.Format(L"%s", CString(L'x', 5000).GetString());
    EXPECT_EQ(5000, big.GetLength());
}

TEST(CStringEdit, Members)
{
    CString s(L"  Hello, 世界  ");
    EXPECT_STREQ(L"Hello, 世界", CString(s).Trim());
    EXPECT_STREQ(L"Hello, 世界  ", CString(s).TrimLeft());
    EXPECT_STREQ(L"  Hello, 世界", CString(s).TrimRight());
    EXPECT_STREQ(L"ab", CString(L"xxabxx").Trim(L'x'));
    EXPECT_STREQ(L"ab", CString(L"-+ab+-").Trim(L"+-"));

    CString t(L"abcdef");
    EXPECT_STREQ(L"cdef", t.Mid(2));
    EXPECT_STREQ(L"cd", t.Mid(2, 2));
    EXPECT_STREQ(L"", t.Mid(10, 2));
    EXPECT_STREQ(L"abcdef", t.Mid(-3));
    EXPECT_STREQ(L"ab", t.Left(2));
    EXPECT_STREQ(L"abcdef", t.Left(99));
    EXPECT_STREQ(L"ef", t.Right(2));
    EXPECT_STREQ(L"", t.Right(-1));

    EXPECT_EQ(2, t.Find(L'c'));
    EXPECT_EQ(-1, t.Find(L'c', 3));
    EXPECT_EQ(3, t.Find(L"de"));
    EXPECT_EQ(-1, t.Find(L"zz"));
    EXPECT_EQ(4, CString(L"a.b.c").ReverseFind(L'.') + 1);
    EXPECT_EQ(1, t.FindOneOf(L"xb"));
    EXPECT_STREQ(L"123", CString(L"123abc").SpanIncluding(L"0123456789"));

    CString r(L"a--b--c");
    EXPECT_EQ(2, r.Replace(L"--", L"+"));
    EXPECT_STREQ(L"a+b+c", r);
    EXPECT_EQ(2, r.Remove(L'+'));
    EXPECT_STREQ(L"abc", r);
    r.Insert(1, L"XY");
    r.Insert(99, L'!');
    EXPECT_STREQ(L"aXYbc!", r);
    r.Delete(1, 2);
    EXPECT_STREQ(L"abc!", r);
    EXPECT_STREQ(L"ABC!", CString(r).MakeUpper());
    EXPECT_EQ(0, CString(L"Road").CompareNoCase(L"rOAD"));
    EXPECT_LT(CString(L"a").Compare(L"b"), 0);
}

TEST(CStringBuffer, GetAndRelease)
{
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"0123456");
    s.ReleaseBuffer();
    EXPECT_STREQ(L"0123456", s);
    p = s.GetBuffer();
    p[2] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ(L"01", s);
    s.GetBuffer(5);
    s.ReleaseBuffer(1);
    EXPECT_STREQ(L"0", s);
}

TEST(CStringConvert, AnsiTextIsCodePage936)
{
    const char gbk[] = "\xB5\xC0\xC2\xB7K1+200";   // "道路K1+200"
    EXPECT_EQ(936u, GetACP());
    EXPECT_STREQ(L"道路K1+200", CString(gbk));
    EXPECT_EQ(std::string(gbk), ClWideToMultiByte(L"道路K1+200", -1, CP_ACP));
    EXPECT_THROW(CString(L"ab").GetAt(5), CInvalidArgException*);
}

// Texts of up to 15 characters are held in the string object, longer ones on
// the heap: every edit has to keep the text across that border, both ways.
namespace {

// "abc..." of a given length.
std::wstring Letters(int length)
{
    std::wstring text;
    for (int i = 0; i < length; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    return text;
}

void ExpectText(const std::wstring& expected, const CString& s)
{
    EXPECT_EQ(static_cast<int>(expected.size()), s.GetLength());
    EXPECT_EQ(expected, s.str());
    EXPECT_EQ(0, s.GetString()[s.GetLength()]) << "the text ends after its length";
}

} // namespace

TEST(CStringStorage, CopiesAndMovesKeepEveryLength)
{
    for (int length : {0, 1, 7, 8, 14, 15, 16, 17, 31, 300}) {
        SCOPED_TRACE(length);
        const std::wstring text = Letters(length);
        CString original(text.c_str());
        ExpectText(text, original);

        CString copy(original);
        ExpectText(text, copy);
        if (length) copy.SetAt(0, L'#');
        ExpectText(text, original); // the copy has its own text

        CString assigned(L"something else entirely, and long");
        assigned = original;
        ExpectText(text, assigned);
        CString shortOne(L"x");
        shortOne = original;
        ExpectText(text, shortOne);

        CString moved(std::move(copy));
        EXPECT_EQ(length, moved.GetLength());
        ExpectText(L"", copy);
        copy = L"usable again";
        ExpectText(L"usable again", copy);

        CString target(L"a long text that lives on the heap");
        target = std::move(assigned);
        ExpectText(text, target);
        ExpectText(L"", assigned);

        CString self(original);
        self = static_cast<const CString&>(self);
        ExpectText(text, self);
    }
}

TEST(CStringStorage, GrowsAndShrinksAcrossTheBorder)
{
    CString s;
    std::wstring expected;
    for (int i = 0; i < 40; ++i) {
        s += static_cast<wchar_t>(L'0' + i % 10);
        expected += static_cast<wchar_t>(L'0' + i % 10);
        ExpectText(expected, s);
    }
    s.Delete(0, 30);
    ExpectText(expected.substr(30), s);
    s.Insert(5, L"0123456789");
    ExpectText(expected.substr(30, 5) + L"0123456789" + expected.substr(35), s);

    CString t(L"fifteen chars!!");
    ASSERT_EQ(15, t.GetLength());
    t += L'?';
    ExpectText(L"fifteen chars!!?", t);
    t.TrimRight(L"?!");
    ExpectText(L"fifteen chars", t);
    t.Insert(0, L"   ");
    t.Trim();
    ExpectText(L"fifteen chars", t);
    t.Append(L"..");
    ExpectText(L"fifteen chars..", t);
    t.AppendFormat(L"%d", 7);
    ExpectText(L"fifteen chars..7", t);

    CString u(L"0123456789abcdefghij");
    EXPECT_EQ(1, u.Remove(L'a'));
    EXPECT_EQ(1, u.Replace(L"bcdefghij", L""));
    ExpectText(L"0123456789", u);
    ExpectText(L"3456789", u.Right(7));
    ExpectText(L"0123456789" L"0123456789", u + u);
}

TEST(CStringStorage, TextFromItselfSurvivesTheEdit)
{
    for (int length : {5, 10, 15, 20}) {
        SCOPED_TRACE(length);
        const std::wstring text = Letters(length);
        CString s(text.c_str());
        s += s;
        ExpectText(text + text, s);
        CString a(text.c_str());
        a.Append(a.GetString() + 1);
        ExpectText(text + text.substr(1), a);
        CString b(text.c_str());
        b.Insert(2, b.GetString());
        ExpectText(text.substr(0, 2) + text + text.substr(2), b);
        CString c(text.c_str());
        c = c.GetString() + 3;
        ExpectText(text.substr(3), c);
    }
}

TEST(CStringStorage, BuffersWrittenToTheirEnd)
{
    // A buffer of n characters takes n characters and its end, whichever
    // side of the border n lies on.
    for (int n : {1, 13, 14, 15, 16, 40}) {
        SCOPED_TRACE(n);
        const std::wstring text = Letters(n);
        CString s(L"ab");
        wchar_t* p = s.GetBuffer(n);
        std::wmemcpy(p, text.c_str(), static_cast<size_t>(n) + 1);
        s.ReleaseBuffer();
        ExpectText(text, s);

        CString t;
        p = t.GetBufferSetLength(n);
        std::wmemcpy(p, text.c_str(), static_cast<size_t>(n) + 1);
        t.ReleaseBuffer(n);
        ExpectText(text, t);

        CString u(text.c_str());
        p = u.GetBuffer();
        p[n] = 0;
        p[n - 1] = L'#';
        u.ReleaseBuffer();
        ExpectText(text.substr(0, static_cast<size_t>(n) - 1) + L"#", u);
    }
    CString grown(L"abc");
    grown.GetBuffer(20);
    grown.ReleaseBuffer();
    ExpectText(L"abc", grown);
    CString sized(L"abc");
    EXPECT_EQ(0, sized.GetBufferSetLength(6)[5]);
    EXPECT_EQ(6, sized.GetLength());
}

TEST(CStringStorage, ZeroCharactersAreText)
{
    const wchar_t withZero[] = {L'a', 0, L'b'};
    for (int pad : {0, 20}) {
        CString s(withZero, 3);
        if (pad) s += CString(L'x', pad);
        CString copy(s);
        EXPECT_EQ(3 + pad, copy.GetLength());
        EXPECT_TRUE(copy == s);
        CString other(s);
        other.SetAt(2, L'c');
        EXPECT_FALSE(other == s);
        EXPECT_EQ(std::wstring(withZero, 3) + std::wstring(static_cast<size_t>(pad), L'x'), s.str());
    }
    EXPECT_FALSE(CString(L"ab") == CString(L"abc"));
    EXPECT_TRUE(CString(L"") == CString());
}
