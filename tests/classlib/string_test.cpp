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
