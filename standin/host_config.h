#pragma once
// The host's own settings, read from the [UI-View32] section of the host settings
// file (host/host_settings.h); every key is meant to be edited by hand:
//
//   [UI-View32]
//   Program Folder=/home/me/.local/share/ovelsk/host/
//   Latitude=40.015
//   Longitude=-105.2705
//   Distance Unit=mi
//   Feeds=replay:/home/me/saturday.txt, demo, aprs-is:rotate.aprs2.net, kiss:localhost:8001
//   Replay Speed=1
//   Callsign=N0CALL-10
//   Passcode=-1
//   Filter=r/40.015/-105.2705/65
//   Status Page=127.0.0.1:8080
//   Status Page Names=igate.lan
//
// the gateway's keys (gateway/gate_config.h) and the beacon's (gateway/beacon_config.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gateway/beacon_config.h"
#include "gateway/gate_config.h"
#include "standin/geodesy.h"
#include "standin/status_page_setting.h"
#include "gateway/setting_error.h"
#include "aprs/packet_decoder.h"
#include "host/host_settings.h"

namespace ovelsk::standin {

inline constexpr std::string_view kLatitudeKey = "Latitude";
inline constexpr std::string_view kLongitudeKey = "Longitude";
inline constexpr std::string_view kDistanceUnitKey = "Distance Unit";
inline constexpr std::string_view kFeedsKey = "Feeds";
inline constexpr std::string_view kReplaySpeedKey = "Replay Speed";
inline constexpr std::string_view kPasscodeKey = "Passcode";
inline constexpr std::string_view kFilterKey = "Filter";
inline constexpr std::string_view kStatusPageKey = "Status Page";
inline constexpr std::string_view kStatusPageNamesKey = "Status Page Names";

// Each feed holds a connection or a file open; more than this is a mistake in the file.
inline constexpr std::size_t kMaxFeeds = 16;
// 10000 plays a day of traffic in under 9 s; more is a typing mistake.
inline constexpr double kMaxReplaySpeed = 10000;

// "mi" or "km", as the station lists show it.
std::string_view distanceUnitText(DistanceUnit unit);

struct HostConfig {
    // Where Ovelsk keeps igate.ini; empty: nowhere. Otherwise an existing folder,
    // named by its absolute path.
    std::string programFolder;
    aprs::Position home;
    DistanceUnit distanceUnit = DistanceUnit::Miles;
    std::vector<std::string> feeds;  // one feed entry each, blanks around them removed
    double replaySpeed = 1;
    // The APRS-IS login; the callsign is required only when an aprs-is feed is set.
    std::string callsign;
    int passcode = -1;   // receive only
    std::string filter;  // empty: a range filter around home
    gateway::GateConfig gate;
    gateway::BeaconConfig beacon;
    StatusPageSetting statusPage;
};

// The settings as the host uses them, or the message for the first bad one.
std::variant<HostConfig, std::string> readHostConfig(const HostSettings& settings);

}  // namespace ovelsk::standin
