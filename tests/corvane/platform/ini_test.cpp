// Typed INI values: their text forms in the file, round trips, defaults,
// arrays, the current section and where a file name without drive lands.
#include "corvane/platform/Ini.h"
#include "corvane/base/LastError.h"
#include "platform_test_support.h"

#include <cmath>
#include <functional>

using namespace platform_test;

namespace {

class IniFile : public ::testing::Test
{
protected:
    IniFile() : dir(L"ini"), path(dir / L"Brisko.ini"), ini(path, L"Dialog", 1) {}

    // The stored text of a key, as the file holds it.
    CString Stored(const wchar_t* key, const wchar_t* section = L"Dialog")
    {
        wchar_t buffer[512] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 512, path);
        return CString(buffer);
    }

    ScratchFolder dir;
    CString path;
    tkxIni ini;
};

TEST_F(IniFile, ValuesAreStoredInTheirTextForms)
{
    ini.WriteDouble(L"D", 1.5);
    ini.WriteFloat(L"F", 0.25f);
    ini.WriteInt(L"I", -42);
    ini.WriteUInt8(L"U8", 200);
    ini.WriteUInt16(L"U16", 65535);
    ini.WriteDWORD(L"DW", 7);
    ini.WriteBool(L"B", TRUE);
    ini.WriteBool(L"Flag", false);
    ini.WritePoint(L"P", CPoint(3, -4));
    ini.WriteRect(L"R", CRect(1, 2, 3, 4)); // left 1, top 2, right 3, bottom 4
    ini.WriteColRef(L"C", RGB(255, 128, 0));
    ini.WriteString(L"S", L"主线 K0+000");

    EXPECT_STREQ(L"1.500000000000000", Stored(L"D"));
    EXPECT_STREQ(L"0.25", Stored(L"F"));
    EXPECT_STREQ(L"-42", Stored(L"I"));
    EXPECT_STREQ(L"200", Stored(L"U8"));
    EXPECT_STREQ(L"65535", Stored(L"U16"));
    EXPECT_STREQ(L"7", Stored(L"DW"));
    EXPECT_STREQ(L"1", Stored(L"B"));
    EXPECT_STREQ(L"0", Stored(L"Flag"));
    EXPECT_STREQ(L"(3,-4)", Stored(L"P"));
    EXPECT_STREQ(L"(2,1,4,3)", Stored(L"R"));
    EXPECT_STREQ(L"RGB(255,128,0)", Stored(L"C"));
    EXPECT_STREQ(L"主线 K0+000", Stored(L"S"));
}

TEST_F(IniFile, EveryTypeReadsBackWhatItWrote)
{
    ini.WriteDouble(L"D", 12345.678901234567);
    ini.WriteFloat(L"F", 1.25f);
    ini.WriteInt(L"I", -2147483647);
    ini.WriteUInt8(L"U8", 255);
    ini.WriteUInt16(L"U16", 65535);
    ini.WriteDWORD(L"DW", 4000000000ul);
    ini.WriteBool(L"B", 7);
    ini.WriteBool(L"Flag", true);
    ini.WritePoint(L"P", CPoint(-10, 20));
    ini.WriteRect(L"R", CRect(-1, -2, 300, 400));
    ini.WriteColRef(L"C", RGB(1, 2, 3));
    ini.WriteString(L"S", L"左幅 ,;=值");

    EXPECT_NEAR(12345.678901234567, ini.GetDouble(L"D", 0), 1e-10);
    EXPECT_EQ(1.25f, ini.GetFloat(L"F", 0));
    EXPECT_EQ(-2147483647, ini.GetInt(L"I", 0));
    EXPECT_EQ(255, ini.GetUInt8(L"U8", 0));
    EXPECT_EQ(65535, ini.GetUInt16(L"U16", 0));
    EXPECT_EQ(4000000000ul, ini.GetDWORD(L"DW", 0));
    EXPECT_EQ(1, ini.GetBool(L"B", 0)); // any non-zero number is true
    EXPECT_TRUE(ini.GetBool(L"Flag", false));
    EXPECT_EQ(CPoint(-10, 20), ini.GetPoint(L"P", CPoint()));
    EXPECT_EQ(CRect(-1, -2, 300, 400), ini.GetRect(L"R", CRect()));
    EXPECT_EQ(RGB(1, 2, 3), ini.GetColRef(L"C", 0));
    EXPECT_STREQ(L"左幅 ,;=值", ini.GetString(L"S"));
}

TEST_F(IniFile, MissingKeysGiveTheDefaultThroughItsTextForm)
{
    EXPECT_EQ(1.23457f, ini.GetFloat(L"none", 1.2345678f));
    EXPECT_EQ(0.123456789012346, ini.GetDouble(L"none", 0.1234567890123456789));
    EXPECT_EQ(-5, ini.GetInt(L"none", -5));
    EXPECT_EQ(CPoint(1, 2), ini.GetPoint(L"none", CPoint(1, 2)));
    EXPECT_EQ(CRect(1, 2, 3, 4), ini.GetRect(L"none", CRect(1, 2, 3, 4)));
    EXPECT_EQ(RGB(9, 8, 7), ini.GetColRef(L"none", RGB(9, 8, 7)));
    EXPECT_STREQ(L"", ini.GetString(L"none"));
    EXPECT_STREQ(L"默认", ini.GetString(L"none", L"默认"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path)); // reading creates no file
}

TEST_F(IniFile, MalformedTextsKeepTheDefaultFieldsThatDoNotMatch)
{
    ini.WriteString(L"P", L"(5,x)");
    ini.WriteString(L"R", L"(1,2)");
    ini.WriteString(L"C", L"RGB(10)");
    ini.WriteString(L"N", L"abc");
    EXPECT_EQ(CPoint(5, 99), ini.GetPoint(L"P", CPoint(0, 99)));
    // Stored (top,left,...) = (1,2): left 2, top 1, the rest from the default.
    EXPECT_EQ(CRect(2, 1, 30, 40), ini.GetRect(L"R", CRect(10, 20, 30, 40)));
    EXPECT_EQ(RGB(10, 6, 7), ini.GetColRef(L"C", RGB(5, 6, 7)));
    // The colour is red + green*256 + blue*65536 of the stored numbers, as
    // they stand: a field above 255 is not cut to its byte.
    ini.WriteString(L"C", L"RGB(300,0,1)");
    EXPECT_EQ(300ul + 65536ul, ini.GetColRef(L"C", 0));
    EXPECT_EQ(0, ini.GetInt(L"N", 12));
    EXPECT_EQ(0.0, ini.GetDouble(L"N", 1.0));
}

// A stored number is read as the C library reads one (leading part,
// exponent form too), but one beyond the range of its type is no value: the
// default, not infinity.
TEST_F(IniFile, NumbersBeyondTheirTypeGiveTheDefault)
{
    struct Case {
        const wchar_t* stored;
        double asDouble;
        float asFloat;
    };
    const Case cases[] = {
        {L"1e999", 7.0, 7.0f},
        {L"-1e400", 7.0, 7.0f},
        {L"1e39", 1e39, 7.0f},                          // a double, no float
        {L"3.5e38", 3.5e38, 7.0f},
        {L"3.4e38", 3.4e38, 3.4e38f},
        {L"1.5e2", 150.0, 150.0f},
        {L"  12.5abc", 12.5, 12.5f},
        {L"1e-400", 0.0, 0.0f},                         // too small: zero
        {L"0.1", 0.1, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.stored));
        ini.WriteString(L"V", c.stored);
        EXPECT_EQ(c.asDouble, ini.GetDouble(L"V", 7.0));
        EXPECT_EQ(c.asFloat, ini.GetFloat(L"V", 7.0f));
    }
}

TEST_F(IniFile, IntegersAreCutToTheirWidth)
{
    ini.WriteInt(L"K", 300);
    EXPECT_EQ(44, ini.GetUInt8(L"K", 0));
    ini.WriteInt(L"K", 70000);
    EXPECT_EQ(70000 - 65536, ini.GetUInt16(L"K", 0));
    short s = 0;
    ini.SerGet(1, s, L"K", nullptr, 0);
    EXPECT_EQ(static_cast<short>(70000), s);
    unsigned short us = 0;
    ini.SerGet(1, us, L"K", nullptr, 0ul);
    EXPECT_EQ(70000 - 65536, us);
}

TEST_F(IniFile, SerGetStoresWithZeroAndLoadsWithNonZero)
{
    CString text = L"道路一";
    double d = 2.5;
    float f = 0.5f;
    int i = -3;
    bool b = true;
    unsigned char u8 = 9;
    unsigned short u16 = 1000;
    unsigned long dw = 123456;
    CPoint pt(7, 8);
    CRect rc(1, 2, 3, 4);
    short sh = -7;
    ini.SerGet(0, text, L"text", nullptr, CString());
    ini.SerGet(0, d, L"d", nullptr, 0.0);
    ini.SerGet(0, f, L"f", nullptr, 0.0f);
    ini.SerGet(0, i, L"i", nullptr, 0);
    ini.SerGet(0, b, L"b", nullptr, false);
    ini.SerGet(0, u8, L"u8", nullptr, static_cast<unsigned char>(0));
    ini.SerGet(0, u16, L"u16", nullptr, static_cast<unsigned short>(0));
    ini.SerGet(0, dw, L"dw", nullptr, 0ul);
    ini.SerGet(0, pt, L"pt", nullptr, CPoint());
    ini.SerGet(0, rc, L"rc", nullptr, CRect());
    ini.SerGet(0, sh, L"sh", nullptr, 0);

    CString text2;
    double d2 = 0;
    float f2 = 0;
    int i2 = 0;
    bool b2 = false;
    unsigned char u82 = 0;
    unsigned short u162 = 0;
    unsigned long dw2 = 0;
    CPoint pt2;
    CRect rc2;
    short sh2 = 0;
    ini.SerGet(1, text2, L"text", nullptr, CString());
    ini.SerGet(1, d2, L"d", nullptr, 0.0);
    ini.SerGet(1, f2, L"f", nullptr, 0.0f);
    ini.SerGet(1, i2, L"i", nullptr, 0);
    ini.SerGet(1, b2, L"b", nullptr, false);
    ini.SerGet(1, u82, L"u8", nullptr, static_cast<unsigned char>(0));
    ini.SerGet(1, u162, L"u16", nullptr, static_cast<unsigned short>(0));
    ini.SerGet(1, dw2, L"dw", nullptr, 0ul);
    ini.SerGet(1, pt2, L"pt", nullptr, CPoint());
    ini.SerGet(1, rc2, L"rc", nullptr, CRect());
    ini.SerGet(1, sh2, L"sh", nullptr, 0);
    EXPECT_STREQ(text, text2);
    EXPECT_EQ(d, d2);
    EXPECT_EQ(f, f2);
    EXPECT_EQ(i, i2);
    EXPECT_EQ(b, b2);
    EXPECT_EQ(u8, u82);
    EXPECT_EQ(u16, u162);
    EXPECT_EQ(dw, dw2);
    EXPECT_EQ(pt, pt2);
    EXPECT_EQ(rc, rc2);
    EXPECT_EQ(sh, sh2);

    // The named load-or-store members that SerGet has no overload for.
    int flag = 5;
    unsigned long colour = RGB(10, 20, 30);
    ini.SerGetBool(0, flag, L"flag", nullptr, 0);
    ini.SerGetColRef(0, colour, L"colour", nullptr, 0);
    int flag2 = 0;
    unsigned long colour2 = 0;
    ini.SerGetBool(1, flag2, L"flag", nullptr, 0);
    ini.SerGetColRef(1, colour2, L"colour", nullptr, 0);
    EXPECT_EQ(1, flag2);
    EXPECT_EQ(colour, colour2);
    EXPECT_STREQ(L"RGB(10,20,30)", Stored(L"colour"));
}

TEST_F(IniFile, ArraysTakeOneKeyPerElement)
{
    double widths[3] = {3.75, 0.5, 2.0};
    ini.SerGet(0, widths, 3, L"W", nullptr, 0.0);
    EXPECT_STREQ(L"3.750000000000000", Stored(L"W_0"));
    EXPECT_STREQ(L"0.500000000000000", Stored(L"W_1"));
    EXPECT_STREQ(L"2.000000000000000", Stored(L"W_2"));
    EXPECT_STREQ(L"<missing>", Stored(L"W_3"));

    double back[4] = {0, 0, 0, 0};
    ini.SerGet(1, back, 4, L"W", nullptr, -1.0);
    EXPECT_EQ(3.75, back[0]);
    EXPECT_EQ(0.5, back[1]);
    EXPECT_EQ(2.0, back[2]);
    EXPECT_EQ(-1.0, back[3]);

    CString names[2] = {L"左", L"右"};
    float floats[2] = {1.5f, -2.5f};
    short shorts[2] = {-1, 32767};
    unsigned long dwords[2] = {1, 4000000000ul};
    unsigned short words[2] = {0, 65535};
    CPoint points[2] = {CPoint(1, 2), CPoint(-3, 4)};
    CRect rects[2] = {CRect(1, 2, 3, 4), CRect(5, 6, 7, 8)};
    ini.SerGet(0, names, 2, L"N", nullptr, L"");
    ini.SerGet(0, floats, 2, L"F", nullptr, 0.0f);
    ini.SerGet(0, shorts, 2, L"S", nullptr, 0);
    ini.SerGet(0, dwords, 2, L"DW", nullptr, 0ul);
    ini.SerGet(0, words, 2, L"U", nullptr, 0ul);
    ini.SerGet(0, points, 2, L"P", nullptr, CPoint());
    ini.SerGet(0, rects, 2, L"R", nullptr, CRect());
    EXPECT_STREQ(L"右", Stored(L"N_1"));
    EXPECT_STREQ(L"(6,5,8,7)", Stored(L"R_1"));

    CString names2[2];
    float floats2[2] = {};
    short shorts2[2] = {};
    unsigned long dwords2[2] = {};
    unsigned short words2[2] = {};
    CPoint points2[2];
    CRect rects2[2];
    ini.SerGet(1, names2, 2, L"N", nullptr, L"");
    ini.SerGet(1, floats2, 2, L"F", nullptr, 0.0f);
    ini.SerGet(1, shorts2, 2, L"S", nullptr, 0);
    ini.SerGet(1, dwords2, 2, L"DW", nullptr, 0ul);
    ini.SerGet(1, words2, 2, L"U", nullptr, 0ul);
    ini.SerGet(1, points2, 2, L"P", nullptr, CPoint());
    ini.SerGet(1, rects2, 2, L"R", nullptr, CRect());
    for (int k = 0; k < 2; ++k) {
        EXPECT_STREQ(names[k], names2[k]);
        EXPECT_EQ(floats[k], floats2[k]);
        EXPECT_EQ(shorts[k], shorts2[k]);
        EXPECT_EQ(dwords[k], dwords2[k]);
        EXPECT_EQ(words[k], words2[k]);
        EXPECT_EQ(points[k], points2[k]);
        EXPECT_EQ(rects[k], rects2[k]);
    }
}

TEST_F(IniFile, ASectionArgumentBecomesTheCurrentSection)
{
    ini.WriteInt(L"K", 1, L"A");
    ini.WriteInt(L"K", 2, L"B");
    EXPECT_STREQ(L"B", ini.GetSection());
    EXPECT_EQ(1, ini.GetInt(L"K", 0, L"A"));
    EXPECT_EQ(1, ini.GetInt(L"K", 0));
    EXPECT_STREQ(L"A", ini.GetSection());
    ini.WriteInt(L"K", 3); // into A
    EXPECT_EQ(3, ini.GetInt(L"K", 0, L"A"));
    EXPECT_EQ(2, ini.GetInt(L"K", 0, L"B"));
}

// A write that would not read back as written is refused and leaves the
// entry that was there; the last-error text says why.
TEST_F(IniFile, WritesThatWouldNotReadBackAreRefused)
{
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    struct Case {
        const char* what;
        std::function<void(tkxIni&)> write;
        const wchar_t* problem;
    } cases[] = {
        {"CR LF in a value", [](tkxIni& i) { i.WriteString(L"K", L"a\r\n[Injected]\r\nX=1"); },
         L"中节[Dialog]键<K>的值包含换行符"},
        {"LF in a value", [](tkxIni& i) { i.WriteString(L"K", L"a\nX=1"); },
         L"中节[Dialog]键<K>的值包含换行符"},
        {"CR in a value", [](tkxIni& i) { i.WriteString(L"K", L"a\rX=1"); },
         L"中节[Dialog]键<K>的值包含换行符"},
        {"= in a key", [](tkxIni& i) { i.WriteInt(L"A=B", 1); }, L"中节[Dialog]的键名<A=B>不合法"},
        {"key like a section", [](tkxIni& i) { i.WriteInt(L"[Other]", 1); },
         L"中节[Dialog]的键名<[Other]>不合法"},
        {"key like a comment", [](tkxIni& i) { i.WriteInt(L";K", 1); },
         L"中节[Dialog]的键名<;K>不合法"},
        {"line break in a key", [](tkxIni& i) { i.WriteInt(L"K\nX", 1); },
         L"中节[Dialog]的键名<K\nX>不合法"},
        {"] in a section", [](tkxIni& i) { i.WriteInt(L"K", 1, L"A]B"); }, L"的节名<A]B>不合法"},
        {"line break in a section", [](tkxIni& i) { i.WriteInt(L"K", 1, L"A\r\nB"); },
         L"的节名<A\r\nB>不合法"},
        {"NaN double", [nan](tkxIni& i) { i.WriteDouble(L"D", nan); },
         L"中节[Dialog]键<D>的数值NaN不是有限数"},
        {"infinite double", [inf](tkxIni& i) { i.WriteDouble(L"D", -inf); },
         L"中节[Dialog]键<D>的数值无穷大不是有限数"},
        {"infinite float", [](tkxIni& i) { i.WriteFloat(L"F", HUGE_VALF); },
         L"中节[Dialog]键<F>的数值无穷大不是有限数"},
        {"stored through SerGet", [nan](tkxIni& i) {
             double v = nan;
             i.SerGet(0, v, L"D", nullptr, 2.0);
         }, L"中节[Dialog]键<D>的数值NaN不是有限数"},
        {"point in a bad section", [](tkxIni& i) { i.WritePoint(L"P", CPoint(1, 2), L"S]"); },
         L"的节名<S]>不合法"},
    };
    const std::string old = "[Dialog]\r\nK=old\r\nD=2\r\nF=3\r\n[A]\r\nK=old\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, old);
        tkxIni target(path, L"Dialog", 1);
        tkx_SetLastError(nullptr);
        c.write(target);
        EXPECT_EQ(L"INI文件[" + path + L"]" + c.problem + L", 无法写入!", tkx_GetLastError());
        EXPECT_EQ(old, ReadBytes(path));
    }
    EXPECT_EQ(0, tkxIni::Write(path, L"Dialog", L"K", L"a\r\nb"));
    EXPECT_EQ(1, tkxIni::Write(path, L"Dialog", L"K", L"a b"));
    EXPECT_EQ(CString(L"a b"), Stored(L"K"));
    // Large finite values read back as written, as long as their text fits
    // what a read takes (255 characters); longer ones are not written.
    ini.WriteFloat(L"F", 3.4e38f);
    EXPECT_EQ(3.4e38f, ini.GetFloat(L"F", 0));
    ini.WriteDouble(L"D", -1e200);
    EXPECT_EQ(-1e200, ini.GetDouble(L"D", 0));
    ini.WriteDouble(L"D", -1e300);
    EXPECT_EQ(-1e200, ini.GetDouble(L"D", 0));
    EXPECT_EQ(L"INI文件[" + path + L"]中节[Dialog]键<D>的数值-1e+300过长, 无法写入!", tkx_GetLastError());
}

TEST_F(IniFile, ChineseNamesRoundTripThroughTheEightBitFunctions)
{
    EXPECT_EQ(1, tkxIni::Write(path, L"转换对话框", L"输入文件", L"D:\\项目\\主线.ICD"));
    EXPECT_STREQ(L"D:\\项目\\主线.ICD", tkxIni::Read(path, L"转换对话框", L"输入文件", L""));
    EXPECT_STREQ(L"缺省", tkxIni::Read(path, L"转换对话框", L"没有", L"缺省"));
    EXPECT_STREQ(L"D:\\项目\\主线.ICD", Stored(L"输入文件", L"转换对话框"));

    // The wide writer and the 8-bit reader agree on the file.
    ini.WriteString(L"键", L"值一", L"节");
    EXPECT_STREQ(L"值一", tkxIni::Read(path, L"节", L"键", L""));

    // A path under deep project folders, longer than 255 characters and
    // bytes, reads back whole, never cut.
    const CString deep = L"D:\\工程项目\\2026\\某某高速公路改扩建工程\\施工图设计\\" + CString(L'段', 150) + L"\\" +
                         CString(L'x', 100) + L".DMX";
    ASSERT_GT(deep.GetLength(), 255);
    ini.WriteString(L"路径", deep, L"节");
    EXPECT_EQ(deep, ini.GetString(L"路径", nullptr, L"节"));
    EXPECT_EQ(deep, tkxIni::Read(path, L"节", L"路径", L""));
    EXPECT_EQ(1, tkxIni::Write(path, L"节", L"路径二", deep));
    EXPECT_EQ(deep, tkxIni::Read(path, L"节", L"路径二", L""));
    ini.WritePoint(L"点", CPoint(1, 2));
    EXPECT_EQ(CPoint(1, 2), ini.GetPoint(L"点", CPoint()));
    EXPECT_STREQ(L"(1,2)", Stored(L"点", L"节"));
}

TEST_F(IniFile, ChineseFileNames)
{
    SKIP_WITHOUT_CHINESE_FILE_NAMES();
    const CString file = dir / L"中文设置.ini";
    EXPECT_EQ(1, tkxIni::Write(file, L"节", L"键", L"值"));
    EXPECT_STREQ(L"值", tkxIni::Read(file, L"节", L"键", L""));
    tkxIni chinese(file, L"节", 1);
    chinese.WriteDouble(L"宽度", 3.75);
    EXPECT_EQ(3.75, chinese.GetDouble(L"宽度", 0));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file));
}

TEST(IniNames, FileNamesWithoutDriveAreCompleted)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    CString program(exe);
    const CString programFolder = program.Left(program.ReverseFind(L'\\') + 1);
    const CString title = program.Mid(programFolder.GetLength(), program.ReverseFind(L'.') - programFolder.GetLength());
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    CString current(cwd);
    current.TrimRight(L'\\');
    current += L"\\";

    EXPECT_STREQ(programFolder + L"Brisko.ini", tkxIni(L"Brisko.ini", 1).GetFileName());
    EXPECT_STREQ(current + L"Brisko.ini", tkxIni(L"Brisko.ini", 0).GetFileName());
    EXPECT_STREQ(L"D:\\x\\Brisko.ini", tkxIni(L"D:\\x\\Brisko.ini", 0).GetFileName());
    EXPECT_STREQ(programFolder + title + L".ini", tkxIni().GetFileName());
    EXPECT_STREQ(current + title + L".ini", tkxIni(0).GetFileName());
    EXPECT_STREQ(programFolder + title + L".ini", tkxIni(CString(), 1).GetFileName());
    EXPECT_STREQ(AfxGetAppName(), tkxIni().GetSection());
    EXPECT_STREQ(AfxGetAppName(), tkxIni(L"a.ini", CString(), 1).GetSection());

    // A network path is complete as it stands.
    for (int choice : {0, 1}) {
        EXPECT_STREQ(L"\\\\server\\share\\Brisko.ini", tkxIni(L"\\\\server\\share\\Brisko.ini", choice).GetFileName());
        EXPECT_STREQ(L"\\\\server\\share\\Brisko.ini",
                     tkxIni(tkxIni(L"\\\\server\\share\\Brisko.ini", choice), choice).GetFileName());
    }
    tkxIni network;
    network.SetFileName(L"\\\\server\\share\\Brisko.ini");
    EXPECT_STREQ(L"\\\\server\\share\\Brisko.ini", network.GetFileName());

    tkxIni set(L"D:\\a.ini", L"S", 0);
    set.SetFileName(L"b.ini"); // always the program's folder
    EXPECT_STREQ(programFolder + L"b.ini", set.GetFileName());

    tkxIni copy(set);
    EXPECT_STREQ(set.GetFileName(), copy.GetFileName());
    EXPECT_STREQ(L"S", copy.GetSection());
    tkxIni assigned;
    assigned = set;
    EXPECT_STREQ(L"S", assigned.GetSection());
    EXPECT_STREQ(set.GetFileName(), assigned.GetFileName());
}

} // namespace
