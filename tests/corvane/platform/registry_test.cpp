// The registry key class in a scratch key: open and close, typed round trips,
// ";" lists, key creation and deletion.
#include "corvane/platform/Registry.h"
#include "platform_test_support.h"

#include <string>
#include <vector>

using namespace platform_test;

namespace {

const wchar_t kScratch[] = L"Software\\TavixTests\\Registry";

class RegistryKey : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteRegTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(1, tkxRegistry::CreateKey(HKEY_CURRENT_USER, kScratch, L""));
        ASSERT_EQ(1, reg.Open(HKEY_CURRENT_USER, kScratch));
    }
    void TearDown() override
    {
        reg.Close();
        DeleteRegTree(HKEY_CURRENT_USER, kScratch);
    }

    // The list as texts; a null list gives no texts at all.
    std::vector<std::wstring> List(const wchar_t* name)
    {
        std::vector<std::wstring> items;
        wchar_t** list = reg.ReadMultipleStrings(name);
        if (!list) return {L"<null>"};
        for (wchar_t** item = list; *item; ++item) items.push_back(*item);
        tkxRegistry::DeleteList(list);
        return items;
    }

    tkxRegistry reg;
};

TEST(Registry, OpenAndCloseAnswers)
{
    tkxRegistry none;
    EXPECT_EQ(0, none.IsOpen());
    EXPECT_EQ(0, none.Close());
    unsigned long value = 0, error = 0;
    EXPECT_EQ(0, none.ReadDWORD(L"x", &value, &error));
    EXPECT_EQ(0, none.WriteDWORD(L"x", 1));
    EXPECT_EQ(0, none.DeleteKey(L"x"));

    tkxRegistry missing(HKEY_CURRENT_USER, L"Software\\TavixTests\\NoSuchKey");
    EXPECT_EQ(0, missing.IsOpen());
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\TavixTests\\NoSuchKey")); // opening never creates

    tkxRegistry open(HKEY_CURRENT_USER, L"Software");
    EXPECT_EQ(1, open.IsOpen());
    EXPECT_EQ(1, open.Close());
    EXPECT_EQ(0, open.Close());
}

TEST_F(RegistryKey, TypedValuesRoundTrip)
{
    unsigned long error = 99;
    EXPECT_EQ(1, reg.WriteDWORD(L"Count", 4000000000ul, &error));
    EXPECT_EQ(0u, error);
    EXPECT_EQ(1, reg.WriteString(L"Name", L"高速公路 K12+345.678"));
    EXPECT_EQ(1, reg.WriteString(L"Empty", L""));
    BYTE raw[5] = {1, 0, 2, 0, 3};
    EXPECT_EQ(1, reg.Write(L"Raw", raw, REG_BINARY, sizeof(raw)));

    unsigned long count = 0;
    EXPECT_EQ(1, reg.ReadDWORD(L"Count", &count, &error));
    EXPECT_EQ(4000000000ul, count);
    wchar_t text[64];
    EXPECT_EQ(1, reg.ReadString(L"Name", text, sizeof(text)));
    EXPECT_STREQ(L"高速公路 K12+345.678", text);
    EXPECT_EQ(1, reg.ReadString(L"Empty", text, sizeof(text)));
    EXPECT_STREQ(L"", text);
    BYTE back[5] = {};
    EXPECT_EQ(1, reg.Read(L"Raw", back, sizeof(back)));
    EXPECT_EQ(0, memcmp(raw, back, sizeof(raw)));

    EXPECT_EQ(REG_SZ, [&] {
        DWORD type = 0;
        RegGetValueW(HKEY_CURRENT_USER, kScratch, L"Name", RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }());
}

TEST_F(RegistryKey, FailedReadsKeepTheErrorAndEmptyTheText)
{
    wchar_t text[8] = L"old";
    unsigned long error = 0;
    EXPECT_EQ(0, reg.ReadString(L"Missing", text, sizeof(text), &error));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), error);
    EXPECT_STREQ(L"", text);

    // Too long for the buffer.
    reg.WriteString(L"Long", L"0123456789");
    EXPECT_EQ(0, reg.ReadString(L"Long", text, sizeof(text), &error));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_MORE_DATA), error);
    unsigned long value = 5;
    EXPECT_EQ(0, reg.ReadDWORD(L"Long", &value, &error));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_MORE_DATA), error);
}

TEST_F(RegistryKey, ReadStringTakesAnyTypeAsRawData)
{
    reg.WriteDWORD(L"Number", 0x00420041); // the bytes of L"AB"
    wchar_t text[8] = L"xxxxxxx";
    EXPECT_EQ(1, reg.ReadString(L"Number", text, sizeof(text)));
    EXPECT_STREQ(L"AB", text);
}

TEST_F(RegistryKey, TextsWithoutTerminatorStayWithinTheBuffer)
{
    const wchar_t data[4] = {L'a', L'b', L'c', L'd'};
    reg.Write(L"Bare", const_cast<wchar_t*>(data), REG_SZ, sizeof(data));
    wchar_t big[8];
    wmemset(big, L'x', 8);
    EXPECT_EQ(1, reg.ReadString(L"Bare", big, sizeof(big)));
    EXPECT_STREQ(L"abcd", big);

    wchar_t fits[4];
    EXPECT_EQ(1, reg.ReadString(L"Bare", fits, sizeof(fits)));
    EXPECT_STREQ(L"abc", fits); // cut by one rather than left open
}

TEST_F(RegistryKey, TextsOfAnyLengthReadWhole)
{
    CString text = L"old";
    unsigned long error = 0;
    EXPECT_EQ(0, reg.ReadString(L"Missing", text, &error));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), error);
    EXPECT_EQ(CString(), text);

    CString longText;
    while (longText.GetLength() < 3000) longText += L"D:\\道路工程\\";
    reg.WriteString(L"Long", longText);
    EXPECT_EQ(1, reg.ReadString(L"Long", text, &error));
    EXPECT_EQ(longText, text);

    const wchar_t bare[4] = {L'a', L'b', L'c', L'd'}; // stored without its terminator
    reg.Write(L"Bare", const_cast<wchar_t*>(bare), REG_SZ, sizeof(bare));
    EXPECT_EQ(1, reg.ReadString(L"Bare", text));
    EXPECT_EQ(CString(L"abcd"), text);
}

TEST_F(RegistryKey, SemicolonListsSplitIntoItems)
{
    struct Case {
        const wchar_t* stored;
        std::vector<std::wstring> items;
    } cases[] = {
        {L"a;b;", {L"a", L"b"}},
        {L"a;;b", {L"a", L"", L"b"}},
        {L"a", {L"a"}},
        {L"项目一;D:\\路 线\\P.EPJ", {L"项目一", L"D:\\路 线\\P.EPJ"}},
        {L";", {L""}},
        {L"", {L"<null>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.stored));
        reg.WriteString(L"List", c.stored);
        EXPECT_EQ(c.items, List(L"List"));
    }
    EXPECT_EQ(std::vector<std::wstring>{L"<null>"}, List(L"Missing"));

    // 1,249 characters fit; one more does not.
    reg.WriteString(L"List", std::wstring(1248, L'a').append(L";").c_str());
    EXPECT_EQ(std::vector<std::wstring>{std::wstring(1248, L'a')}, List(L"List"));
    reg.WriteString(L"List", std::wstring(1250, L'a').c_str());
    EXPECT_EQ(std::vector<std::wstring>{L"<null>"}, List(L"List"));
    tkxRegistry::DeleteList(nullptr);
}

TEST_F(RegistryKey, KeysAreCreatedAndDeletedOneAtATime)
{
    const CString child = CString(kScratch) + L"\\Child";
    const CString grandChild = child + L"\\Grand";
    EXPECT_EQ(1, tkxRegistry::CreateKey(HKEY_CURRENT_USER, grandChild, L"class"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, grandChild));
    EXPECT_EQ(1, tkxRegistry::CreateKey(HKEY_CURRENT_USER, grandChild, L"")); // an existing key opens

    EXPECT_EQ(0, tkxRegistry::DeleteKey(HKEY_CURRENT_USER, child)); // still has a subkey
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, child));
    EXPECT_EQ(0, reg.DeleteKey(L"Child"));
    EXPECT_EQ(1, reg.DeleteKey(L"Child\\Grand"));
    EXPECT_EQ(1, tkxRegistry::DeleteKey(HKEY_CURRENT_USER, child));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, child));
    EXPECT_EQ(0, tkxRegistry::DeleteKey(HKEY_CURRENT_USER, child));
}

TEST_F(RegistryKey, OpeningAnotherKeyClosesTheFirst)
{
    reg.WriteDWORD(L"Here", 1);
    const CString other = CString(kScratch) + L"\\Other";
    tkxRegistry::CreateKey(HKEY_CURRENT_USER, other, L"");
    ASSERT_EQ(1, reg.Open(HKEY_CURRENT_USER, other));
    unsigned long value = 0;
    EXPECT_EQ(0, reg.ReadDWORD(L"Here", &value));
    EXPECT_EQ(0, reg.Open(HKEY_CURRENT_USER, CString(kScratch) + L"\\Missing"));
    EXPECT_EQ(0, reg.IsOpen());
}

} // namespace
