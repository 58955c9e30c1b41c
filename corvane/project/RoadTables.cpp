#include "corvane/project/RoadTables.h"
#include "corvane/road/Road.h"

using namespace Tavix4;

namespace {

const wchar_t* const kLevelTexts[] = {L"高速公路",   L"立交匝道",   L"一级公路",   L"二级公路",
                                      L"三级公路",   L"四级公路",   L"等外公路",   L"城市快速路",
                                      L"城市主干道", L"城市次干道", L"城市支路",   L"其他道路"};

// The design speeds of each level 0..10, then those of any other level.
struct SpeedRow {
    int count;
    int speeds[7];
};
const SpeedRow kSpeeds[] = {{3, {120, 100, 80}}, {7, {80, 70, 60, 50, 40, 35, 30}},
                            {3, {100, 80, 60}},  {2, {80, 60}},
                            {2, {40, 30}},       {1, {20}},
                            {2, {20, 15}},       {3, {100, 80, 60}},
                            {3, {60, 50, 40}},   {3, {50, 40, 30}},
                            {3, {40, 30, 20}},   {2, {20, 15}}};

} // namespace

void tkx_SetRoadLevelComboBox(CComboBox* combo)
{
    if (!combo || !combo->m_hWnd) return;
    // Inserted at their places, so that a sorted combo box keeps the order.
    combo->ResetContent();
    for (int i = 0; i < static_cast<int>(std::size(kLevelTexts)); ++i) combo->InsertString(i, kLevelTexts[i]);
}

void tkx_SetSpeedComboBox(enRoadLevel level, CComboBox* combo)
{
    if (!combo || !combo->m_hWnd) return;
    const int row = level >= ROAD_EXPRESSWAY && level <= ROAD_URBAN_BRANCH ? static_cast<int>(level) : 11;
    combo->ResetContent();
    for (int i = 0; i < kSpeeds[row].count; ++i) combo->InsertString(i, ClFormat(L"%d", kSpeeds[row].speeds[i]));
}

CString tkx_GetRoadLevelName(enRoadLevel level) { return tkxRoadObject::GetRoadLevelName(level); }

CString tkx_GetLandformStyleString(int code)
{
    switch (code) {
    case 1: return L"重丘区";
    case 2: return L"山岭区";
    case 3: return L"山岭重丘区";
    default: return L"平原微丘区";
    }
}

CString tkx_GetClimeStyleString(int code) { return code == 1 ? L"积雪冰冻地区" : L"一般地区"; }
