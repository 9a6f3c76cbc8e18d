#pragma once
#include "ui/label.h"

namespace pistavox {

// The Monitor dashboard's labels, the flight-plan card's among them. Labels
// shown alike in both languages have no Chinese text.
inline constexpr Label kPhaseLabel{"Phase", "阶段"};
inline constexpr Label kAirportRunwayLabel{"Airport / Runway", "机场 / 跑道"};
inline constexpr Label kHeightLabel{"Height", "高度"};
inline constexpr Label kGForceCardLabel{"G Force", "G 值"};

inline constexpr Label kMonitorControlLabel{"Monitor Control", "监控控制"};
inline constexpr Label kRunningLabel{"RUNNING", ""};
inline constexpr Label kReadyLabel{"READY", ""};
inline constexpr Label kRequiredFtLabel{"Required ft", "所需跑道 ft"};
inline constexpr Label kMetersLabel{"Meters", "米制"};
inline constexpr Label kMuteLabel{"Mute", "静音"};
inline constexpr Label kStopMonitorLabel{"Stop Monitor", "停止监控"};
inline constexpr Label kStartMonitorLabel{"Start Monitor", "开始监控"};
inline constexpr Label kSystemStatusLabel{"System Status", "系统状态"};
inline constexpr Label kRunwayDbStatusLabel{"Runway DB", "跑道数据库"};
inline constexpr Label kVoicePackStatusLabel{"Voice Pack", "语音包"};
// The simulator link's row names the link in use, or the one chosen while none is.
inline constexpr Label kLinkStatusLabel{"FSUIPC / XPUIPC", ""};
inline constexpr Label kXPlaneLinkStatusLabel{"X-Plane UDP", ""};
inline constexpr Label kFlightGearLinkStatusLabel{"FlightGear", ""};
inline constexpr Label kAutoLinkStatusLabel{"Simulator link", "模拟器连接"};
inline constexpr Label kAircraftDataStatusLabel{"Aircraft Data", "飞机数据"};

inline constexpr Label kExpectedAirportLabel{"Expected airport", "预计机场"};
inline constexpr Label kUseDetectedLabel{"Use detected", "使用当前"};
inline constexpr Label kEnterAirportLabel{"Enter an airport ICAO to search runways.", "请输入机场 ICAO 以检索跑道。"};
inline constexpr Label kNoRunwaysLabel{"No runways found for this airport in the local database.",
                                       "本地数据库未找到该机场跑道。"};
inline constexpr Label kExpectedRunwayLabel{"Expected runway", "预计跑道"};
inline constexpr Label kSelectRunwayLabel{"Select runway", "选择跑道"};
inline constexpr Label kDecisionHeightLabel{"DH ft (radio)", "决断高 ft"};
inline constexpr Label kDecisionAltitudeLabel{"DA ft (MSL)", "决断高度 ft"};

inline constexpr Label kAircraftLabel{"Aircraft", "飞机"};
inline constexpr Label kLatLonLabel{"Lat/Lon", "经纬度"};
inline constexpr Label kHeadingLabel{"Heading", "航向"};
inline constexpr Label kAltitudeLabel{"Altitude", "高度"};
inline constexpr Label kGForceLabel{"G force", "G 值"};
inline constexpr Label kGroundSpeedLabel{"Ground speed", "地速"};
inline constexpr Label kOnGroundLabel{"On ground", "在地面"};
inline constexpr Label kTrueLabel{"true", "是"};
inline constexpr Label kFalseLabel{"false", "否"};
inline constexpr Label kProfileInUseLabel{"Profile", "机型配置"};

inline constexpr Label kRunwayLabel{"Runway", "跑道"};
inline constexpr Label kPhaseTimeLabel{"Phase time", "阶段时间"};
inline constexpr Label kReasonLabel{"Reason", "原因"};
inline constexpr Label kAirportLabel{"Airport", "机场"};
inline constexpr Label kRunwayRemainingLabel{"Runway remaining", "剩余跑道"};
inline constexpr Label kThresholdDistanceLabel{"Threshold distance", "距跑道入口"};
inline constexpr Label kCrossTrackLabel{"Cross track", "横向偏差"};

inline constexpr Label kEventLogLabel{"Event Log", "事件日志"};

inline constexpr Label kLastLandingLabel{"Last landing", "上次着陆"};
inline constexpr Label kNoLandingYetLabel{"No landing yet", "暂无着陆"};
inline constexpr Label kTouchdownRatesLabel{"Touchdown simulator / derived", "接地率 模拟器 / 推算"};
inline constexpr Label kNotAvailableLabel{"not available", "不可用"};
inline constexpr Label kBouncesLabel{"Bounces", "弹跳"};
inline constexpr Label kFromThresholdLabel{"From threshold", "距入口"};
inline constexpr Label kInZoneLabel{"in the touchdown zone", "在接地区内"};
inline constexpr Label kOutsideZoneLabel{"outside the touchdown zone", "在接地区外"};
inline constexpr Label kCentrelineLabel{"Centre-line offset", "中线偏差"};
inline constexpr Label kApproachProfileLabel{"Approach vertical speed", "进近垂直速度"};
inline constexpr Label kRecentLandingsLabel{"Recent landings", "最近着陆"};

inline constexpr const Label* kDashboardLabels[] = {
    &kPhaseLabel,
    &kAirportRunwayLabel,
    &kHeightLabel,
    &kGForceCardLabel,
    &kMonitorControlLabel,
    &kRunningLabel,
    &kReadyLabel,
    &kRequiredFtLabel,
    &kMetersLabel,
    &kMuteLabel,
    &kStopMonitorLabel,
    &kStartMonitorLabel,
    &kSystemStatusLabel,
    &kRunwayDbStatusLabel,
    &kVoicePackStatusLabel,
    &kLinkStatusLabel,
    &kXPlaneLinkStatusLabel,
    &kFlightGearLinkStatusLabel,
    &kAutoLinkStatusLabel,
    &kAircraftDataStatusLabel,
    &kExpectedAirportLabel,
    &kUseDetectedLabel,
    &kEnterAirportLabel,
    &kNoRunwaysLabel,
    &kExpectedRunwayLabel,
    &kSelectRunwayLabel,
    &kAircraftLabel,
    &kLatLonLabel,
    &kHeadingLabel,
    &kAltitudeLabel,
    &kGForceLabel,
    &kGroundSpeedLabel,
    &kOnGroundLabel,
    &kTrueLabel,
    &kFalseLabel,
    &kProfileInUseLabel,
    &kRunwayLabel,
    &kPhaseTimeLabel,
    &kReasonLabel,
    &kAirportLabel,
    &kRunwayRemainingLabel,
    &kThresholdDistanceLabel,
    &kCrossTrackLabel,
    &kEventLogLabel,
    &kLastLandingLabel,
    &kNoLandingYetLabel,
    &kTouchdownRatesLabel,
    &kNotAvailableLabel,
    &kBouncesLabel,
    &kFromThresholdLabel,
    &kInZoneLabel,
    &kOutsideZoneLabel,
    &kCentrelineLabel,
    &kApproachProfileLabel,
    &kRecentLandingsLabel,
    &kDecisionHeightLabel,
    &kDecisionAltitudeLabel,
};

}  // namespace pistavox
