// For test programs of the library's road model: the scratch hive with the
// library started inside it (so it starts with no registered project), and
// the current project's station settings fixed for a test.
#pragma once
#include "support/Scratch.h"
#include "corvane/project/TavixDevApp.h"

namespace test_support {

class LibraryHive : public ScratchHive
{
public:
    explicit LibraryHive(const wchar_t* tag) : ScratchHive(tag) {}

protected:
    void Prepare() override { TavixDevApp(); }
};

// The current project's station settings for a test: the given decimals,
// trailing zeros kept or not, "K" prefix; restored when the object dies.
class StationSettings
{
public:
    explicit StationSettings(int decimals = 3, int keepZeros = 1)
    {
        sPrjSetting0& s0 = TavixDevApp().m_CurProject.m_sPrjSetting0;
        sPrjSetting1& s1 = TavixDevApp().m_CurProject.m_sPrjSetting1;
        m_decimals = s0.m_iPrecision_ZH;
        m_keepZeros = s0.m_bReserveZero;
        m_prefixStyle = s1.m_iZHDimStyle;
        s0.m_iPrecision_ZH = decimals;
        s0.m_bReserveZero = keepZeros;
        s1.m_iZHDimStyle = 0;
    }
    ~StationSettings()
    {
        sPrjSetting0& s0 = TavixDevApp().m_CurProject.m_sPrjSetting0;
        TavixDevApp().m_CurProject.m_sPrjSetting1.m_iZHDimStyle = m_prefixStyle;
        s0.m_iPrecision_ZH = m_decimals;
        s0.m_bReserveZero = m_keepZeros;
    }
    StationSettings(const StationSettings&) = delete;
    StationSettings& operator=(const StationSettings&) = delete;

private:
    int m_decimals;
    int m_keepZeros;
    int m_prefixStyle;
};

} // namespace test_support
