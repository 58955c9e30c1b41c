#include "convert_world.h"
#include "brisko/convert/Dialog_TransformHongYeZHDX.h"
#include "brisko/convert/Dialog_TransformRICAD.h"
#include "brisko/convert/ToolDialog.h"
#include "corvane/base/LastError.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/PlaneCurve.h"
#include "corvane/road/Road.h"

namespace convert_test {

const char kCreationLine[] = "//创建时间:2024年5月6日 7:8:9";

namespace {

class ConvertWorld : public BriskoWorld
{
public:
    ConvertWorld() : BriskoWorld(L"brisko_convert") {}

protected:
    void Seed() override
    {
        FixToolClock();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ConvertWorld);

// The fixture resource of a file name: upper case, "." as "_".
std::string Resource(const char* name)
{
    CString id(name);
    id.MakeUpper();
    id.Replace(L'.', L'_');
    HRSRC found = ::FindResourceW(nullptr, id, RT_RCDATA);
    if (!found) {
        ADD_FAILURE() << "no fixture " << name;
        return std::string();
    }
    HGLOBAL data = ::LoadResource(nullptr, found);
    return std::string(static_cast<const char*>(::LockResource(data)), ::SizeofResource(nullptr, found));
}

CString Wide(const std::string& utf8)
{
    return ClMultiByteToWide(utf8.data(), static_cast<int>(utf8.size()), CP_UTF8);
}

} // namespace

std::string FixtureBytes(const char* name) { return FileText(Wide(Resource(name))); }

CString PlaceFixture(const ScratchFolder& folder, const char* name)
{
    const CString path = folder / CString(name);
    WriteBytes(path, FixtureBytes(name));
    return path;
}

CString PlaceText(const ScratchFolder& folder, const wchar_t* name, const wchar_t* text)
{
    const CString path = folder / name;
    WriteText(path, text);
    return path;
}

std::string GoldenBytes(const char* name, const CString& input)
{
    CString text = Wide(Resource(name));
    text.Replace(L"{input}", input);
    return FileText(text);
}

std::string Shown(const std::string& bytes)
{
    return Utf8(ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), 936));
}

::testing::AssertionResult HoldsGolden(const CString& path, const char* golden, const CString& input)
{
    const std::string expected = GoldenBytes(golden, input);
    const std::string written = ReadBytes(path);
    if (expected == written) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << golden << " differs; written:\n"
                                         << Shown(written) << "\nexpected:\n"
                                         << Shown(expected);
}

::testing::AssertionResult Refuses(const ScratchFolder& folder, const wchar_t* input,
                                   const std::function<int(const CString& input)>& convert, const wchar_t* message,
                                   const std::vector<CString>& outputs, UINT icon)
{
    return Refuses(folder, FileText(input), convert, message, outputs, icon);
}

::testing::AssertionResult Refuses(const ScratchFolder& folder, const std::string& inputBytes,
                                   const std::function<int(const CString& input)>& convert, const wchar_t* message,
                                   const std::vector<CString>& outputs, UINT icon)
{
    const CString earlier = L"earlier output\n";
    for (const CString& output : outputs) WriteText(output, earlier);
    const CString path = folder / L"输入.txt";
    WriteBytes(path, inputBytes);
    MessageBoxScript boxes;
    const int result = convert(path);
    if (result != 0) return ::testing::AssertionFailure() << "converted";
    if (boxes.Shown().size() != 1) return ::testing::AssertionFailure() << boxes.Shown().size() << " messages";
    const CString expected = ClFormat(message, path.GetString());
    if (boxes.LastText() != expected)
        return ::testing::AssertionFailure() << "message " << Utf8(boxes.LastText()) << "\ninstead of "
                                             << Utf8(expected);
    if (icon && boxes.Shown()[0].type != icon) return ::testing::AssertionFailure() << "type " << boxes.Shown()[0].type;
    for (const CString& output : outputs)
        if (ReadBytes(output) != FileText(earlier)) return ::testing::AssertionFailure() << Utf8(output) << " changed";
    return ::testing::AssertionSuccess();
}

int RunHongYe(const CString& input, const CString& dmx, const CString& hdx)
{
    CDialog_TransformHongYeZHDX dialog;
    dialog.m_SInFileName = input;
    dialog.m_SDMXFileName = dmx;
    dialog.m_SHDXFileName = hdx;
    return dialog.TransformHongYeFile();
}

int RunRICAD(const CString& input, const CString& dmx, const CString& hdx, int layout, double minWidth)
{
    CDialog_TransformRICAD dialog;
    dialog.m_SRicadFileName = input;
    dialog.m_SDMXFileName = dmx;
    dialog.m_SHDXFileName = hdx;
    dialog.m_iDatFormat = layout;
    dialog.m_rMinWidth = minWidth;
    return dialog.TransformRICADFile();
}

CString ReadBackRefused(const CString& readerMessage, int inputLine)
{
    CString reader(readerMessage);
    reader.Replace(L"%", L"%%");
    const CString line = inputLine > 0 ? ClFormat(L", 第%d行", inputLine) : CString();
    return L"转换结果无法被读回, 输出文件保持原样!\n\n输入文件: %s" + line + L"\n\n" + reader;
}

int LoadJD(const CString& path, CString& message)
{
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText)) {
        message = L"cannot open";
        return -1;
    }
    CString line;
    int lineNo = 0, rows = 0;
    while (tkx_ReadNextStringST(&file, line, lineNo) == 1) {
        tkxPlaneCurve3 curve;
        if (!curve.ReadJDFile(line, message)) {
            message = ClFormat(L"line %d <%s>: %s", lineNo, line.GetString(), message.GetString());
            return -1;
        }
        ++rows;
    }
    message.Empty();
    return rows;
}

int LoadICD(const CString& path, CString& message)
{
    tkxRoadObject road;
    if (!road.LoadICDFile(path)) {
        message = tkx_GetLastError();
        return -1;
    }
    return road.GetPlaneUnitCount();
}

int LoadSQX(const CString& path, const tkxBreakChain& chain, CString& message)
{
    tkxZDMInfo profile(&chain);
    if (!profile.LoadSQXFile(path)) {
        message = tkx_GetLastError();
        return -1;
    }
    return profile.GetBPDCount();
}

int LoadDMX(const CString& path, tkxZDMInfo& profile, CString& message)
{
    if (!profile.LoadDMXFile(path)) {
        message = tkx_GetLastError();
        return -1;
    }
    return profile.GetDMXCount();
}

int LoadHDX(const CString& path, const tkxBreakChain& chain, const tkxZDMInfo* profile, CString& message)
{
    tkxHDMTerrain terrain(&chain);
    terrain.SetZDMInfo(profile);
    if (!terrain.LoadHDXFile(path)) {
        message = tkx_GetLastError();
        return -1;
    }
    return terrain.GetHDXSectionCount();
}

tkxBreakChain Chain(const wchar_t* text)
{
    tkxBreakChain chain;
    EXPECT_EQ(1, chain.GetDLFromString(text)) << Utf8(text);
    return chain;
}

std::vector<CString> Texts(const MessageBoxScript& boxes)
{
    std::vector<CString> texts;
    for (const ShownMessageBox& box : boxes.Shown()) texts.push_back(box.text);
    return texts;
}

} // namespace convert_test
