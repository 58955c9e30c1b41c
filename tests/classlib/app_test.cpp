#include "support/MessageBoxScript.h"
#include <gtest/gtest.h>

namespace {

class CCountingApp : public CWinApp
{
public:
    CCountingApp() : CWinApp(L"测试程序") {}
    int starts = 0, stops = 0;
    BOOL InitInstance() override { return ++starts == 1; }
    int ExitInstance() override { return ++stops; }
};

CCountingApp theApp;

class CShape : public CObject
{
    DECLARE_DYNCREATE(CShape)
};
IMPLEMENT_DYNCREATE(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

} // namespace

TEST(MessageBoxes, ScriptedAnswersAndRecordedTexts)
{
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(IDYES, AfxMessageBox(L"是否打开生成的数据文件?", MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDNO, AfxMessageBox(L"第二个", MB_YESNO));   // unscripted: the safe answer
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_STREQ(L"是否打开生成的数据文件?", boxes.Shown()[0].text);
    EXPECT_STREQ(L"测试程序", boxes.Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
}

TEST(MessageBoxes, StandardReportOfAnException)
{
    MessageBoxScript boxes;
    try {
        CFile f(L"surely_missing.dat", CFile::modeRead);
    } catch (CFileException* e) {
        e->ReportError();
        e->Delete();
    }
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_NE(-1, boxes.LastText().Find(L"surely_missing.dat"));
}

TEST(MessageBoxes, TheCaptionIsTheProgramsTitleOnceItHasOne)
{
    MessageBoxScript boxes;
    CWnd desktop;
    theApp.SetTitle(L"测试程序的标题");
    AfxMessageBox(L"一");
    desktop.MessageBox(L"二");
    desktop.MessageBox(L"三", L"自己的标题");
    theApp.SetTitle(nullptr);
    AfxMessageBox(L"四");
    ASSERT_EQ(4u, boxes.Shown().size());
    EXPECT_STREQ(L"测试程序的标题", boxes.Shown()[0].caption);
    EXPECT_STREQ(L"测试程序的标题", boxes.Shown()[1].caption);
    EXPECT_STREQ(L"自己的标题", boxes.Shown()[2].caption);
    EXPECT_STREQ(L"测试程序", boxes.Shown()[3].caption);
    // The name, which registry keys and window properties go by, stays.
    EXPECT_STREQ(L"测试程序", AfxGetAppName());
}

TEST(Application, StartsOnceOnDemand)
{
    EXPECT_EQ(&theApp, AfxGetApp());
    EXPECT_STREQ(L"测试程序", AfxGetAppName());
    EXPECT_EQ(GetModuleHandleW(nullptr), theApp.m_hInstance);
    EXPECT_EQ(0, theApp.starts);   // nothing ran while the program loaded
    EXPECT_TRUE(theApp.EnsureStarted());
    EXPECT_TRUE(theApp.EnsureStarted());
    EXPECT_EQ(1, theApp.starts);
    EXPECT_EQ(1, theApp.Shutdown());
    EXPECT_EQ(0, theApp.Shutdown());
}

TEST(RuntimeClasses, NamesCreationAndKinds)
{
    CRuntimeClass* cls = CRuntimeClass::FromName(L"CCircle");
    ASSERT_EQ(RUNTIME_CLASS(CCircle), cls);
    CObject* made = cls->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_FALSE(made->IsSerializable());
    EXPECT_STREQ("CCircle", made->GetRuntimeClass()->m_lpszClassName);
    delete made;
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CFile)->CreateObject());
    EXPECT_TRUE(RUNTIME_CLASS(CStringArray)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
}
