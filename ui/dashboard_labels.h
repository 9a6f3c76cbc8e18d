#pragma once
#include "ui/label.h"

namespace pistavox {

// The Monitor dashboard's labels, the flight-plan card's among them.
inline constexpr Label kExpectedAirportLabel{"Expected airport", "预计机场"};
inline constexpr Label kUseDetectedLabel{"Use detected", "使用当前"};
inline constexpr Label kEnterAirportLabel{"Enter an airport ICAO to search runways.", "请输入机场 ICAO 以检索跑道。"};
inline constexpr Label kNoRunwaysLabel{"No runways found for this airport in the local database.",
                                       "本地数据库未找到该机场跑道。"};
inline constexpr Label kExpectedRunwayLabel{"Expected runway", "预计跑道"};
inline constexpr Label kSelectRunwayLabel{"Select runway", "选择跑道"};

inline constexpr const Label* kDashboardLabels[] = {
    &kExpectedAirportLabel, &kUseDetectedLabel,    &kEnterAirportLabel,
    &kNoRunwaysLabel,       &kExpectedRunwayLabel, &kSelectRunwayLabel,
};

}  // namespace pistavox
