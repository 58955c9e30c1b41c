#include "road_test_support.h"
#include "corvane/project/TavixDevApp.h"

namespace road_test {

namespace {

// The scratch hive; the library starts inside it, before any test.
class RoadHive : public ScratchHive
{
public:
    RoadHive() : ScratchHive(L"road") {}

protected:
    void Prepare() override { TavixDevApp(); }
};

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new RoadHive);

} // namespace

std::string FileText(const wchar_t* text)
{
    std::wstring lines;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n') lines += L'\r';
        lines += *p;
    }
    return ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), 936);
}

void WriteText(const CString& path, const wchar_t* text)
{
    WriteBytes(path, FileText(text));
}

StationSettings::StationSettings(int decimals, int keepZeros)
{
    CTavixDevApp& app = TavixDevApp();
    m_decimals = app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH;
    m_keepZeros = app.m_CurProject.m_sPrjSetting0.m_bReserveZero;
    m_prefixStyle = app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle;
    app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH = decimals;
    app.m_CurProject.m_sPrjSetting0.m_bReserveZero = keepZeros;
    app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle = 0;
}

StationSettings::~StationSettings()
{
    CTavixDevApp& app = TavixDevApp();
    app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH = m_decimals;
    app.m_CurProject.m_sPrjSetting0.m_bReserveZero = m_keepZeros;
    app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle = m_prefixStyle;
}

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace road_test
