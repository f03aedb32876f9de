#pragma once
// What the host tells a view of it (the status page): who the station is, where
// its feeds stand, and what the decoder and the gateways made of the traffic.
// Read-only: a view reads this and changes nothing.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "feeds/feed_status.h"
#include "standin/decode_tally.h"
#include "gateway/gate_config.h"
#include "gateway/gate_decisions.h"
#include "gateway/heard_stations.h"
#include "standin/geodesy.h"
#include "standin/status_page_setting.h"

namespace ovelsk::standin {

struct HostIdentity {
    std::string callsign;  // empty when none is set
    aprs::Position home;
    DistanceUnit distanceUnit = DistanceUnit::Miles;
    std::filesystem::path settingsFile;
    std::string programFolder;         // empty: no igate.ini is kept
    std::filesystem::path igateIni;    // empty likewise
    gateway::GateMode gateToRadio = gateway::GateMode::Off;
    bool gateToInternet = false;
    StatusPageSetting statusPage;
};

// What the iGate told the network of itself: its last telemetry report and its
// last answers to ?IGATE? queries, oldest first.
struct NetworkReports {
    std::optional<DateTime> telemetryTime;
    std::string telemetry;
    std::deque<gateway::GateDecision> queryAnswers;
};

inline constexpr std::size_t kKeptQueryAnswers = 10;

class HostReport {
public:
    virtual ~HostReport() = default;
    virtual const HostIdentity& identity() const = 0;
    // One for each feed, in the order of the Feeds setting.
    virtual std::vector<aprs::FeedStatus> feedStatuses() const = 0;
    virtual const DecodeTally& decodeTally() const = 0;
    virtual const gateway::GateDecisions& gateDecisions() const = 0;
    // The gate to radio's heard-stations table; all zero without that gate.
    virtual gateway::HeardStationsTally heardStations() const = 0;
    virtual const NetworkReports& networkReports() const = 0;
};

}  // namespace ovelsk::standin
