#include "status/status_metrics.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "status/utf8.h"

namespace ovelsk {
namespace {

// A label value as the text format quotes it: backslash, double quote and line
// feed escaped, in UTF-8 whatever bytes a feed's name holds.
std::string labelValue(std::string_view value) {
    std::string quoted = "\"";
    for (const char c : validUtf8(value)) {
        if (c == '\\' || c == '"') quoted += '\\';
        if (c == '\n') {
            quoted += "\\n";
            continue;
        }
        quoted += c;
    }
    return quoted + "\"";
}

class Metrics {
public:
    void family(std::string_view name, std::string_view type, std::string_view help) {
        text_ += "# HELP " + std::string(name) + " " + std::string(help) + "\n";
        text_ += "# TYPE " + std::string(name) + " " + std::string(type) + "\n";
    }
    void sample(std::string_view name, std::string_view labels, std::uint64_t value) {
        text_ += name;
        if (!labels.empty()) text_ += "{" + std::string(labels) + "}";
        text_ += " " + std::to_string(value) + "\n";
    }
    QByteArray bytes() const { return QByteArray(text_.data(), static_cast<qsizetype>(text_.size())); }

private:
    std::string text_;
};

}  // namespace

QByteArray statusMetrics(const StatusSources& sources, const ServerCounts& server) {
    const standin::HostReport& host = sources.host;
    Metrics metrics;
    const auto feeds = host.feedStatuses();
    metrics.family("ovelsk_feed_packets_total", "counter", "Packets a feed delivered since start.");
    for (const auto& feed : feeds) metrics.sample("ovelsk_feed_packets_total", "feed=" + labelValue(feed.name), feed.packets);
    metrics.family("ovelsk_feed_connected", "gauge", "1 while the feed is connected (or playing), else 0.");
    for (const auto& feed : feeds) {
        const bool up = feed.state == aprs::FeedState::Connected || feed.state == aprs::FeedState::Playing;
        metrics.sample("ovelsk_feed_connected", "feed=" + labelValue(feed.name), up ? 1 : 0);
    }

    const standin::DecodeTally& tally = host.decodeTally();
    metrics.family("ovelsk_packets_decoded_total", "counter", "Packets that raised a beacon event.");
    metrics.sample("ovelsk_packets_decoded_total", {}, tally.decoded());
    metrics.family("ovelsk_packets_dropped_total", "counter", "Packets the decoder dropped, by reason.");
    for (const auto& entry : aprs::kDropReasons)
        metrics.sample("ovelsk_packets_dropped_total", "reason=" + labelValue(entry.label), tally.dropped(entry.reason));

    metrics.family("ovelsk_gate_decisions_total", "counter", "Gateway decisions since start, by direction and outcome.");
    for (const auto direction : {gateway::GateDirection::ToRadio, gateway::GateDirection::ToInternet}) {
        const std::string where = "direction=" + labelValue(gateway::gateDirectionLabel(direction)) + ",outcome=";
        for (const auto& outcome : host.gateDecisions().counts(direction))
            metrics.sample("ovelsk_gate_decisions_total", where + labelValue(outcome.outcome), outcome.count);
    }

    const gateway::HeardStationsTally heard = host.heardStations();
    metrics.family("ovelsk_heard_stations", "gauge", "Stations the gate to radio remembers as heard lately, by where.");
    metrics.sample("ovelsk_heard_stations", "heard=\"radio\"", heard.onRadio);
    metrics.sample("ovelsk_heard_stations", "heard=\"internet\"", heard.onInternet);
    metrics.family("ovelsk_heard_stations_evicted_total", "counter",
                   "Stations a full heard-stations table forgot to make room, by where they were heard.");
    metrics.sample("ovelsk_heard_stations_evicted_total", "heard=\"radio\"", heard.forgottenOnRadio);
    metrics.sample("ovelsk_heard_stations_evicted_total", "heard=\"internet\"", heard.forgottenOnInternet);

    const auto& table = sources.tracker.table();
    metrics.family("ovelsk_stations_tracked", "gauge", "Stations in the station table.");
    metrics.sample("ovelsk_stations_tracked", {},
                   static_cast<std::uint64_t>(std::count_if(table.begin(), table.end(),
                                                            [](const StationRecord& r) { return r.inUse == -1; })));
    metrics.family("ovelsk_stations_listed", "gauge", "Stations in Ovelsk's block of igate.ini.");
    metrics.sample("ovelsk_stations_listed", {}, sources.tracker.candidateRows().size());

    metrics.family("ovelsk_status_connections_refused_total", "counter",
                   "Status page connections refused: every slot taken, request too slow, or a Host not answered.");
    metrics.sample("ovelsk_status_connections_refused_total", "reason=\"cap\"", server.refusedAtCap);
    metrics.sample("ovelsk_status_connections_refused_total", "reason=\"deadline\"", server.refusedAtDeadline);
    metrics.sample("ovelsk_status_connections_refused_total", "reason=\"host\"", server.refusedForHost);
    metrics.family("ovelsk_status_connections_unread_total", "counter",
                   "Status page connections closed because the client did not read its answer.");
    metrics.sample("ovelsk_status_connections_unread_total", {}, server.closedNotReading);
    return metrics.bytes();
}

}  // namespace ovelsk
