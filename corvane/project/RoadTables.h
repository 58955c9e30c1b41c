// Exported tables of road classes, design speeds, landforms and climates.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/RoadLevel.h"

// Empties the combo box and adds the twelve road-class texts, so that an
// item's index is its road level (11: "其他道路").  Nothing for null.
CORVANE_API void tkx_SetRoadLevelComboBox(CComboBox* combo);
// Empties the combo box and adds the design speeds (km/h) offered for the
// level, fastest first; a level outside 0..10 gets 20 and 15.  Nothing for
// null.
CORVANE_API void tkx_SetSpeedComboBox(Tavix4::enRoadLevel level, CComboBox* combo);
// The road aggregate's name of the level.
CORVANE_API CString tkx_GetRoadLevelName(Tavix4::enRoadLevel level);
// 1 "重丘区", 2 "山岭区", 3 "山岭重丘区", any other "平原微丘区".
CORVANE_API CString tkx_GetLandformStyleString(int code);
// 1 "积雪冰冻地区", any other "一般地区".
CORVANE_API CString tkx_GetClimeStyleString(int code);
