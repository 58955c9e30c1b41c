// The MRU combo box: its list of recent entries kept in the application's
// profile (here a scratch INI file), the checks of its parameters and the
// drop-down it fills.
#include "corvane/ui/MruCombo.h"
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <vector>

using namespace wintest;
using test_support::ScratchFolder;

namespace {

class MruComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The application's profile becomes an INI file of our own.
        app = AfxGetApp();
        ASSERT_NE(nullptr, app);
        savedKey = app->m_pszRegistryKey;
        savedProfile = app->m_pszProfileName;
        ini = folder / L"profile.ini";
        app->m_pszRegistryKey = nullptr;
        app->m_pszProfileName = ini;
        frame = new TestFrame;
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        app->m_pszRegistryKey = savedKey;
        app->m_pszProfileName = savedProfile;
    }

    void Make(tkxMRUComboBox& combo)
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, CRect(10, 10, 210, 200), frame,
                                 701));
    }
    static void Configure(tkxMRUComboBox& combo, const wchar_t* section = L"最近道路")
    {
        combo.SetMRURegKey(section);
        ASSERT_TRUE(combo.SetMRUValueFormat(L"道路%d"));
    }

    // The profile's value, "<missing>" when there is none.
    CString Profile(const wchar_t* entry, const wchar_t* section = L"最近道路") const
    {
        wchar_t buffer[512] = {};
        ::GetPrivateProfileStringW(section, entry, L"<missing>", buffer, 512, ini);
        return buffer;
    }
    std::vector<CString> Profile(int count, const wchar_t* section = L"最近道路") const
    {
        std::vector<CString> values;
        for (int i = 1; i <= count; ++i) values.push_back(Profile(ClFormat(L"道路%d", i), section));
        return values;
    }
    static std::vector<CString> DropDown(const tkxMRUComboBox& combo)
    {
        std::vector<CString> items;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString text;
            combo.GetLBText(i, text);
            items.push_back(text);
        }
        return items;
    }

    ScratchFolder folder{L"mru_profile"};
    CString ini;
    CWinApp* app = nullptr;
    const wchar_t* savedKey = nullptr;
    const wchar_t* savedProfile = nullptr;
    TestFrame* frame = nullptr;
};

using Texts = std::vector<CString>;

} // namespace

TEST_F(MruComboTest, WithoutSectionOrFormatNothingIsKept)
{
    {
        tkxMRUComboBox combo;
        Make(combo);
        EXPECT_FALSE(combo.AddToMRU(L"K1"));
        combo.SetMRURegKey(L"最近道路");
        EXPECT_FALSE(combo.AddToMRU(L"K1"));
        EXPECT_FALSE(combo.SaveMRU());
        EXPECT_FALSE(combo.LoadMRU());
        EXPECT_EQ(-1, combo.SetMaxMRUSize(5));
        EXPECT_EQ(nullptr, combo.GetMRUList());
    }
    EXPECT_FALSE(test_support::FileExists(ini));
}

TEST_F(MruComboTest, AFormatWithoutTheNumberIsRefused)
{
    tkxMRUComboBox combo;
    EXPECT_TRUE(combo.SetMRUValueFormat(L"道路%d"));
    EXPECT_FALSE(combo.SetMRUValueFormat(L"道路"));
    EXPECT_FALSE(combo.SetMRUValueFormat(nullptr));
    EXPECT_EQ(CString(L"道路%d"), combo.GetMRUValueFormat());
    EXPECT_EQ(-1, combo.SetMaxMRUSize(0));
    EXPECT_EQ(10, combo.GetMaxMRUSize());
    combo.SetAutoSaveOnDestroy(FALSE);
}

TEST_F(MruComboTest, EntriesAreSavedMostRecentFirstAndLoadBack)
{
    {
        tkxMRUComboBox combo;
        Make(combo);
        Configure(combo);
        for (const wchar_t* road : {L"主线", L"A匝道", L"B匝道", L"A匝道"}) EXPECT_TRUE(combo.AddToMRU(road));
        EXPECT_TRUE(combo.SaveMRU());
        EXPECT_EQ((Texts{L"A匝道", L"B匝道", L"主线", L"<missing>"}), Profile(4));
        // Nothing saved since: the list is written again when the box goes.
        combo.AddToMRU(L"连接线");
    }
    EXPECT_EQ((Texts{L"连接线", L"A匝道", L"B匝道", L"主线", L"<missing>"}), Profile(5));

    tkxMRUComboBox again;
    Make(again);
    Configure(again);
    again.SetWindowText(L"正在输入");
    EXPECT_TRUE(again.LoadMRU());
    again.RefreshCtrl();
    EXPECT_EQ((Texts{L"连接线", L"A匝道", L"B匝道", L"主线"}), DropDown(again));
    EXPECT_EQ(CString(L"正在输入"), again.GetWindowText());
}

TEST_F(MruComboTest, ReducingTheSizeKeepsTheMostRecentInOrder)
{
    tkxMRUComboBox combo;
    Make(combo);
    Configure(combo);
    for (const wchar_t* road : {L"R1", L"R2", L"R3", L"R4", L"R5"}) combo.AddToMRU(road);
    EXPECT_EQ(10, combo.SetMaxMRUSize(3));
    EXPECT_EQ(3, combo.GetMaxMRUSize());
    combo.RefreshCtrl();
    EXPECT_EQ((Texts{L"R5", L"R4", L"R3"}), DropDown(combo));
    // Growing again keeps them, with empty slots after them.
    EXPECT_EQ(3, combo.SetMaxMRUSize(6));
    combo.AddToMRU(L"R6");
    combo.RefreshCtrl();
    EXPECT_EQ((Texts{L"R6", L"R5", L"R4", L"R3"}), DropDown(combo));
    EXPECT_TRUE(combo.SaveMRU());
    EXPECT_EQ((Texts{L"R6", L"R5", L"R4", L"R3", L"<missing>", L"<missing>", L"<missing>"}), Profile(7));

    // A size set before any list exists reports 0.
    tkxMRUComboBox fresh;
    Configure(fresh);
    EXPECT_EQ(0, fresh.SetMaxMRUSize(4));
    fresh.SetAutoSaveOnDestroy(FALSE);
}

TEST_F(MruComboTest, SwitchesSaveAndRefreshAfterEveryAdd)
{
    tkxMRUComboBox combo;
    Make(combo);
    Configure(combo);
    EXPECT_FALSE(combo.SetAutoSaveAfterAdd(TRUE));
    EXPECT_FALSE(combo.SetAutoRefreshAfterAdd(TRUE));
    EXPECT_TRUE(combo.SetAutoSaveOnDestroy(FALSE));
    combo.AddToMRU(L"K0+000");
    EXPECT_EQ(CString(L"K0+000"), Profile(L"道路1"));
    EXPECT_EQ((Texts{L"K0+000"}), DropDown(combo));
    combo.AddToMRU(L"");
    // The empty entry is kept, but never shown.
    EXPECT_EQ((Texts{L"K0+000"}), DropDown(combo));
    EXPECT_EQ(CString(), (*combo.GetMRUList())[0]);
    EXPECT_TRUE(combo.SetAutoSaveAfterAdd(FALSE));
}

TEST_F(MruComboTest, EmptyingAndMovingToAnotherSectionRewriteTheProfile)
{
    tkxMRUComboBox combo;
    Make(combo);
    Configure(combo);
    combo.SetAutoSaveOnDestroy(FALSE);
    combo.AddToMRU(L"主线");
    combo.AddToMRU(L"匝道");
    ASSERT_TRUE(combo.SaveMRU());

    // The parameters changed: the list is rebuilt under the new section with
    // its entries.
    combo.SetMRURegKey(L"其他道路");
    ASSERT_TRUE(combo.SaveMRU());
    EXPECT_EQ((Texts{L"匝道", L"主线", L"<missing>"}), Profile(3, L"其他道路"));

    combo.EmptyMRU();
    ASSERT_TRUE(combo.SaveMRU());
    EXPECT_EQ((Texts{L"<missing>", L"<missing>"}), Profile(2, L"其他道路"));
    EXPECT_EQ((Texts{L"匝道", L"主线"}), Profile(2)); // the old section is left alone
    combo.RefreshCtrl();
    EXPECT_EQ(0, combo.GetCount());
}

// ---------------------------------------------------------------------------
// The class library's recent-entry list on its own.

TEST(RecentFileList, AddMovesAnEqualEntryUpAndDropsTheOldest)
{
    CRecentFileList list(1, L"Recent File List", L"File%d", 3);
    list.Add(L"C:\\a.dl");
    list.Add(L"C:\\b.dl");
    list.Add(L"C:\\c.dl");
    list.Add(L"C:\\A.DL"); // the same file: moves up, no copy
    EXPECT_EQ(CString(L"C:\\A.DL"), list[0]);
    EXPECT_EQ(CString(L"C:\\c.dl"), list[1]);
    EXPECT_EQ(CString(L"C:\\b.dl"), list[2]);
    list.Add(L"C:\\d.dl");
    EXPECT_EQ(CString(L"C:\\d.dl"), list[0]);
    EXPECT_EQ(CString(L"C:\\c.dl"), list[2]);
    list.Remove(0);
    EXPECT_EQ(CString(L"C:\\A.DL"), list[0]);
    EXPECT_EQ(CString(), list[2]);
    bool thrown = false;
    try {
        list.Remove(3);
    } catch (CInvalidArgException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(RecentFileList, OnlyTheFirstNumberMarkTakesTheNumber)
{
    CRecentFileList list(5, L"s", L"%s 100%% %d-%d", 2);
    EXPECT_EQ(CString(L"%s 100% 5-%d"), list.EntryName(0));
    EXPECT_EQ(CString(L"%s 100% 6-%d"), list.EntryName(1));
}
