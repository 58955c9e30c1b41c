// Converters whose output the user marked read-only: the conversion is
// refused with the file named, before anything is written, and every output
// stays as it was.
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "convert_world.h"
#include "support/FailingWrites.h"
#include <functional>

using namespace convert_test;

TEST(ReadOnlyOutputs, RefuseTheConversionAndStayAsTheyWere)
{
    struct Case {
        const char* what;
        const char* fixture;
        std::function<int(const CString& input, const CString& dmx, const CString& hdx)> convert;
        bool hdxReadOnly; // else the profile output is the read-only one
    };
    const Case cases[] = {
        {"one output", "hint.hdm", [](const CString& i, const CString&, const CString& h) {
             return TransformHintCADHDMFile(i, h);
         }, true},
        {"a copied file", "rm.dmg", [](const CString& i, const CString& d, const CString&) {
             CDialog_Transform_ZHDX dialog;
             dialog.m_nMode = 11;
             dialog.m_SInFileName = i;
             dialog.m_SOutFileName = d;
             return dialog.CopyRMDMGFile();
         }, false},
        {"the second of two outputs", "hongye.bghn", RunHongYe, true},
        {"the first of two outputs", "ricad0.dat", [](const CString& i, const CString& d, const CString& h) {
             return RunRICAD(i, d, h, 0, 5);
         }, false},
    };
    ScratchFolder folder(L"read_only 只读 outputs");
    const CString dmx = folder / L"earlier.DMX";
    const CString hdx = folder / L"earlier.HDX";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString input = PlaceFixture(folder, c.fixture);
        WriteBytes(dmx, "earlier profile");
        WriteBytes(hdx, "earlier sections");
        const CString readOnly = c.hdxReadOnly ? hdx : dmx;
        ASSERT_TRUE(SetFileAttributesW(readOnly, FILE_ATTRIBUTE_READONLY));
        MessageBoxScript boxes;
        EXPECT_EQ(0, c.convert(input, dmx, hdx));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_NE(-1, boxes.LastText().Find(ClFormat(L"文件%s为只读, 无法保存!", readOnly.GetString())))
            << Utf8(boxes.LastText());
        EXPECT_EQ("earlier profile", ReadBytes(dmx));
        EXPECT_EQ("earlier sections", ReadBytes(hdx));
        EXPECT_NE(0u, GetFileAttributesW(readOnly) & FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(3u, FilesIn(folder.Path()).size());
        ASSERT_TRUE(SetFileAttributesW(readOnly, FILE_ATTRIBUTE_NORMAL));
        DeleteFileW(input);
    }
}
