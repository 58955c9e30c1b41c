// Road classes.  Levels 7 and above are urban roads; 11 stands for "no road"
// or "another road" where a lookup finds no valid road.
#pragma once

namespace Tavix4 {

enum enRoadLevel {
    ROAD_EXPRESSWAY = 0,        // 高速公路
    ROAD_RAMP = 1,              // 立交匝道
    ROAD_FIRST_CLASS = 2,       // 一级公路
    ROAD_SECOND_CLASS = 3,      // 二级公路
    ROAD_THIRD_CLASS = 4,       // 三级公路
    ROAD_FOURTH_CLASS = 5,      // 四级公路
    ROAD_SUBSTANDARD = 6,       // 等外公路
    ROAD_URBAN_EXPRESSWAY = 7,  // 城市快速路
    ROAD_URBAN_ARTERIAL = 8,    // 城市主干道
    ROAD_URBAN_SECONDARY = 9,   // 城市次干道
    ROAD_URBAN_BRANCH = 10,     // 城市支路
    ROAD_OTHER = 11,            // no valid road / any other road
};

} // namespace Tavix4
