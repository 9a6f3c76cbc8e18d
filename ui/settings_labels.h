#pragma once
#include "ui/label.h"

namespace pistavox {

// The Settings page's labels. Its sidebar title is the top bar's "Settings".

// Frame and sidebar.
inline constexpr Label kSettingsIntroLabel{"Tune automation, calls, detection and resources.",
                                           "调整自动化、语音、检测与资源。"};
inline constexpr Label kGeneralLabel{"General", "常规"};
inline constexpr Label kVoiceLabel{"Voice", "语音"};
inline constexpr Label kDetectionLabel{"Detection", "检测"};
inline constexpr Label kRunwayEndLabel{"Runway End", "跑道末端"};
inline constexpr Label kRestartNoteLabel{"Some changes apply after restart.", "部分设置重启监控后生效。"};
inline constexpr Label kBackToMonitorLabel{"Back to Monitor", "返回监控"};

// General: flight plan and behaviour.
inline constexpr Label kGeneralSubtitleLabel{"Flight plan, automation and local resources",
                                             "飞行计划、自动化与本地资源"};
inline constexpr Label kFlightPlanLabel{"Flight Plan", "飞行计划"};
inline constexpr Label kRunwaySelectionLabel{"Runway selection", "跑道选择"};
inline constexpr Label kLanguageLabel{"Language", "语言"};
// Each language is named in itself, whichever is shown.
inline constexpr Label kEnglishChoiceLabel{"English", ""};
inline constexpr Label kChineseChoiceLabel{"中文", ""};
inline constexpr Label kRequiredRunwayFtLabel{"Required runway ft", "所需跑道长度 ft"};
inline constexpr Label kBehaviorLabel{"Behavior", "行为"};
inline constexpr Label kDistanceInMetersLabel{"Distance in meters", "距离使用米制"};
inline constexpr Label kMuteAllAudioLabel{"Mute all audio", "静音所有语音"};
inline constexpr Label kAutoStartMonitorLabel{"Auto start monitor", "自动开始监控"};
inline constexpr Label kAutoReconnectLabel{"Auto reconnect", "断线自动重连"};
inline constexpr Label kAutoUseDetectedAirportLabel{"Auto use detected airport", "自动使用检测到的机场"};
inline constexpr Label kPollIntervalLabel{"Poll interval ms", "轮询间隔 ms"};
inline constexpr Label kMaxAlertsPerPollLabel{"Max alerts per poll", "每次最多告警数"};
inline constexpr Label kSimulatorLabel{"Simulator", "模拟器"};
inline constexpr Label kAutoChoiceLabel{"Auto", "自动"};
inline constexpr Label kFsuipcChoiceLabel{"FSUIPC", ""};
inline constexpr Label kXPlaneChoiceLabel{"X-Plane", ""};
inline constexpr Label kFlightGearChoiceLabel{"FlightGear", ""};
inline constexpr Label kSimulatorHostLabel{"Host", "主机"};
inline constexpr Label kXPlanePortLabel{"X-Plane port", "X-Plane 端口"};
inline constexpr Label kFlightGearPortLabel{"FlightGear port", "FlightGear 端口"};
inline constexpr Label kFindXPlaneLabel{"Find X-Plane on the network", "在网络上查找 X-Plane"};
inline constexpr Label kFindingXPlaneLabel{"Looking for X-Plane...", "正在查找 X-Plane..."};
inline constexpr Label kPresetsLabel{"Presets", "预设"};
inline constexpr Label kQuietPresetLabel{"Quiet", "安静"};
inline constexpr Label kNormalPresetLabel{"Normal", "正常"};
inline constexpr Label kTrainingPresetLabel{"Training", "训练"};
inline constexpr Label kSensitivePresetLabel{"Sensitive", "灵敏"};

// General: resources.
inline constexpr Label kAppVersionLabel{"App version", "软件版本"};
inline constexpr Label kVoicePackHeadingLabel{"Voice Pack", "语音包"};
inline constexpr Label kNoVoicePacksLabel{"No voice packs", "没有语音包"};
inline constexpr Label kRefreshVoicePacksLabel{"Refresh Voice Packs", "刷新语音包"};
inline constexpr Label kTestAudioLabel{"Test Audio", "测试语音"};
inline constexpr Label kAudioFailedLabel{"Audio failed", "语音播放失败"};
inline constexpr Label kSaveSettingsLabel{"Save Settings", "保存设置"};
inline constexpr Label kRunwayDatabaseHeadingLabel{"Runway Database", "跑道数据库"};
inline constexpr Label kCheckDatabaseLabel{"Check Database", "检查数据库"};
inline constexpr Label kImportCsvLabel{"Import CSV", "导入 CSV"};

// The in-app file dialog of "Import CSV", where the desktop offers no picker.
inline constexpr Label kImportDialogTitleLabel{"Import runway database CSV", "导入跑道数据库 CSV"};
inline constexpr Label kImportPathLabel{"CSV file path", "CSV 文件路径"};
inline constexpr Label kImportFoundFilesLabel{"CSV files in this folder and in data/",
                                              "当前文件夹与 data/ 中的 CSV 文件"};
inline constexpr Label kImportNoFilesLabel{"No CSV files found.", "未找到 CSV 文件。"};
inline constexpr Label kImportButtonLabel{"Import", "导入"};
inline constexpr Label kCancelLabel{"Cancel", "取消"};

// Voice.
inline constexpr Label kVoiceSubtitleLabel{"Choose which RAAS callouts are allowed", "选择允许播放的 RAAS 提示"};
inline constexpr Label kRunwayCallsLabel{"Runway Calls", "跑道提示"};
inline constexpr Label kApproachingRunwayLabel{"Approaching runway", "接近跑道"};
inline constexpr Label kEnteringRunwayLabel{"Entering / on runway", "进入/占用跑道"};
inline constexpr Label kCrossingRunwayLabel{"Crossing runway", "穿越跑道"};
inline constexpr Label kRemainingDistanceLabel{"Remaining distance", "剩余距离"};
inline constexpr Label kRunwayEndOverrunLabel{"Runway end / overrun", "跑道末端/冲出风险"};
inline constexpr Label kRunwayLengthLabel{"Runway length", "跑道长度"};
inline constexpr Label kSafetyCallsLabel{"Safety Calls", "安全提示"};
inline constexpr Label kWrongRunwayLabel{"Wrong runway", "错误跑道"};
inline constexpr Label kHeadingCheckLabel{"Heading check", "航向检查"};
inline constexpr Label kVerifyRunwayLabel{"Verify / check runway", "确认/检查跑道"};
inline constexpr Label kTaxiwayInfoLabel{"Taxiway info", "滑行道信息"};
inline constexpr Label kTaxiwaySafetyLabel{"Taxiway safety", "滑行道安全"};
inline constexpr Label kRunwayOccupancyLabel{"Runway occupancy timer", "跑道占用计时"};
inline constexpr Label kAircraftProfileLabel{"Aircraft Profile", "机型配置"};
inline constexpr Label kAircraftProfileNoteLabel{"Automatic goes by the aircraft's name", "自动：按飞机名称选择"};
inline constexpr Label kAutomaticProfileLabel{"Automatic", "自动"};
inline constexpr Label kCopilotCallsLabel{"Co-pilot Calls", "副驾驶呼叫"};
inline constexpr Label kAltitudeCallsLabel{"Altitude calls", "高度呼叫"};
inline constexpr Label kMinimumsCallLabel{"Minimums", "最低标准"};
inline constexpr Label kTakeoffCallsLabel{"Take-off calls", "起飞呼叫"};
inline constexpr Label kApproachGateLabel{"Stabilised approach", "稳定进近检查"};
inline constexpr Label kStableCallLabel{"Say stable", "稳定时报告"};
inline constexpr Label kLongLandingLabel{"Long landing", "着陆过远"};
inline constexpr Label kEightyKnotsLabel{"80 kt call", "80 节呼叫"};
inline constexpr Label kHundredKnotsLabel{"100 kt call", "100 节呼叫"};

// Detection.
inline constexpr Label kDetectionSubtitleLabel{"Tune runway geometry and speed thresholds",
                                               "调整跑道几何与速度触发阈值"};
inline constexpr Label kRunwayGeometryLabel{"Runway Geometry", "跑道几何"};
inline constexpr Label kApproachDistanceLabel{"Approach distance m", "接近跑道距离 m"};
inline constexpr Label kAirborneApproachLabel{"Airborne approach m", "空中进近距离 m"};
inline constexpr Label kHeadingToleranceLabel{"Heading tolerance deg", "航向容差 deg"};
inline constexpr Label kRunwayEdgeMarginLabel{"Runway edge margin m", "跑道边界余量 m"};
inline constexpr Label kRunwayEndMarginLabel{"Runway end margin m", "跑道末端余量 m"};
inline constexpr Label kShortRunwayLabel{"Short runway ft", "短跑道阈值 ft"};
inline constexpr Label kSpeedTriggersLabel{"Speed Triggers", "速度触发"};
inline constexpr Label kMinTaxiSpeedLabel{"Min taxi speed kt", "最低滑行速度 kt"};
inline constexpr Label kMinRollSpeedLabel{"Min roll speed kt", "最低滑跑速度 kt"};
inline constexpr Label kHighSpeedTaxiwayLabel{"High-speed taxiway kt", "高速滑行道阈值 kt"};
inline constexpr Label kAlertCooldownLabel{"Alert cooldown s", "告警冷却 s"};

// Runway End.
inline constexpr Label kRunwayEndSubtitleLabel{"Configure end-of-runway and overrun risk detection",
                                               "配置跑道末端与冲出风险检测"};
inline constexpr Label kRunwayEndProtectionLabel{"Runway End Protection", "跑道末端保护"};
inline constexpr Label kApproachingRunwayEndLabel{"Approaching runway end m", "接近跑道末端 m"};
inline constexpr Label kRunwayEndDistanceLabel{"Runway end m", "跑道末端 m"};
inline constexpr Label kOverrunRiskLabel{"Overrun risk m", "冲出风险 m"};
inline constexpr Label kRunwayEndNoteLabel{
    "These thresholds are used only when runway-end and overrun advisories are enabled.",
    "这些阈值仅在启用跑道末端和冲出风险提示时使用。"};

inline constexpr const Label* kSettingsLabels[] = {
    &kSettingsIntroLabel,
    &kGeneralLabel,
    &kVoiceLabel,
    &kDetectionLabel,
    &kRunwayEndLabel,
    &kRestartNoteLabel,
    &kBackToMonitorLabel,
    &kGeneralSubtitleLabel,
    &kFlightPlanLabel,
    &kRunwaySelectionLabel,
    &kLanguageLabel,
    &kEnglishChoiceLabel,
    &kChineseChoiceLabel,
    &kRequiredRunwayFtLabel,
    &kBehaviorLabel,
    &kDistanceInMetersLabel,
    &kMuteAllAudioLabel,
    &kAutoStartMonitorLabel,
    &kAutoReconnectLabel,
    &kAutoUseDetectedAirportLabel,
    &kPollIntervalLabel,
    &kMaxAlertsPerPollLabel,
    &kSimulatorLabel,
    &kAutoChoiceLabel,
    &kFsuipcChoiceLabel,
    &kXPlaneChoiceLabel,
    &kFlightGearChoiceLabel,
    &kSimulatorHostLabel,
    &kXPlanePortLabel,
    &kFlightGearPortLabel,
    &kFindXPlaneLabel,
    &kFindingXPlaneLabel,
    &kPresetsLabel,
    &kQuietPresetLabel,
    &kNormalPresetLabel,
    &kTrainingPresetLabel,
    &kSensitivePresetLabel,
    &kAppVersionLabel,
    &kVoicePackHeadingLabel,
    &kNoVoicePacksLabel,
    &kRefreshVoicePacksLabel,
    &kTestAudioLabel,
    &kAudioFailedLabel,
    &kSaveSettingsLabel,
    &kRunwayDatabaseHeadingLabel,
    &kCheckDatabaseLabel,
    &kImportCsvLabel,
    &kImportDialogTitleLabel,
    &kImportPathLabel,
    &kImportFoundFilesLabel,
    &kImportNoFilesLabel,
    &kImportButtonLabel,
    &kCancelLabel,
    &kVoiceSubtitleLabel,
    &kRunwayCallsLabel,
    &kApproachingRunwayLabel,
    &kEnteringRunwayLabel,
    &kCrossingRunwayLabel,
    &kRemainingDistanceLabel,
    &kRunwayEndOverrunLabel,
    &kRunwayLengthLabel,
    &kSafetyCallsLabel,
    &kWrongRunwayLabel,
    &kHeadingCheckLabel,
    &kVerifyRunwayLabel,
    &kTaxiwayInfoLabel,
    &kTaxiwaySafetyLabel,
    &kRunwayOccupancyLabel,
    &kAircraftProfileLabel,
    &kAircraftProfileNoteLabel,
    &kAutomaticProfileLabel,
    &kDetectionSubtitleLabel,
    &kRunwayGeometryLabel,
    &kApproachDistanceLabel,
    &kAirborneApproachLabel,
    &kHeadingToleranceLabel,
    &kRunwayEdgeMarginLabel,
    &kRunwayEndMarginLabel,
    &kShortRunwayLabel,
    &kSpeedTriggersLabel,
    &kMinTaxiSpeedLabel,
    &kMinRollSpeedLabel,
    &kHighSpeedTaxiwayLabel,
    &kAlertCooldownLabel,
    &kRunwayEndSubtitleLabel,
    &kRunwayEndProtectionLabel,
    &kApproachingRunwayEndLabel,
    &kRunwayEndDistanceLabel,
    &kOverrunRiskLabel,
    &kRunwayEndNoteLabel,
    &kCopilotCallsLabel,
    &kAltitudeCallsLabel,
    &kMinimumsCallLabel,
    &kTakeoffCallsLabel,
    &kApproachGateLabel,
    &kStableCallLabel,
    &kLongLandingLabel,
    &kEightyKnotsLabel,
    &kHundredKnotsLabel,
};

}  // namespace pistavox
