#include "status/status_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "standin/host_config.h"

namespace ovelsk {
namespace {

using SystemTime = std::chrono::system_clock::time_point;

QString text(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

QJsonValue orNull(bool present, const QJsonValue& value) { return present ? value : QJsonValue(); }

std::string_view gateModeLabel(aprs::GateMode mode) {
    switch (mode) {
    case aprs::GateMode::Off: return "off";
    case aprs::GateMode::Log: return "log";
    case aprs::GateMode::On: return "on";
    }
    return "off";
}

// The callsign field of a list row: "12.5<TAB>K0ABC-9<TAB><TAB>..." gives "K0ABC-9".
std::string_view rowCallsign(std::string_view row) {
    const auto start = row.find('\t');
    if (start == std::string_view::npos) return {};
    row.remove_prefix(start + 1);
    return row.substr(0, row.find('\t'));
}

QJsonObject station(const StatusSources& sources, SystemTime now) {
    const aprs::HostIdentity& id = sources.host.identity();
    const auto uptime = std::chrono::duration_cast<std::chrono::seconds>(now - sources.started);
    return {{"callsign", text(id.callsign)},
            {"home", QJsonObject{{"latitude", id.home.latitude}, {"longitude", id.home.longitude}}},
            {"distanceUnit", text(aprs::distanceUnitText(id.distanceUnit))},
            {"range", text(sources.rangeText())},
            {"version", text(sources.programVersion)},
            {"started", text(utcText(sources.started))},
            {"uptimeSeconds", static_cast<qint64>(std::max<std::int64_t>(0, uptime.count()))},
            {"hostFolder", text(id.programFolder)},
            {"igateIni", text(id.igateIni.string())},
            {"settingsFile", text(id.settingsFile.string())}};
}

QJsonArray feeds(const StatusSources& sources, SystemTime now) {
    QJsonArray list;
    for (const aprs::FeedStatus& feed : sources.host.feedStatuses()) {
        const bool retrying = feed.state == aprs::FeedState::Retrying;
        const auto retryIn = std::chrono::ceil<std::chrono::seconds>(feed.retryAt - now).count();
        list.append(QJsonObject{
            {"kind", text(aprs::feedKind(feed.name))},
            {"name", text(feed.name)},
            {"state", text(aprs::feedStateLabel(feed.state))},
            {"since", orNull(feed.state != aprs::FeedState::Idle, text(utcText(feed.since)))},
            {"retryInSeconds", orNull(retrying, static_cast<qint64>(std::max<std::int64_t>(0, retryIn)))},
            {"loginVerified", orNull(feed.loginVerified.has_value(), feed.loginVerified.value_or(false))},
            {"packets", static_cast<qint64>(feed.packets)},
            {"lastError", text(feed.lastError)}});
    }
    return list;
}

QJsonArray candidates(const StationTracker& tracker) {
    QJsonArray list;
    for (const auto& row : tracker.candidateRows()) {
        const std::string_view callsign = rowCallsign(row);
        list.append(QJsonObject{{"callsign", text(callsign)},
                                {"row", text(row)},
                                {"igateLine", text(std::string(callsign) + "=ALL")}});
    }
    return list;
}

QJsonArray stations(const StatusSources& sources) {
    const StationTracker& tracker = sources.tracker;
    const auto shown = [&](DateTime t) { return text(utcText(systemFromDateTime(sources.clock.shownTime(t)))); };
    const auto& rows = tracker.candidateRows();
    QJsonArray list;
    for (const StationRecord& record : tracker.table()) {
        if (record.inUse != -1) continue;
        const bool listed = std::any_of(rows.begin(), rows.end(),
                                        [&](const std::string& row) { return rowCallsign(row) == record.callsign; });
        list.append(QJsonObject{
            {"callsign", text(record.callsign)},
            {"distance", static_cast<double>(record.distance)},
            {"bearing", static_cast<double>(record.bearing)},
            {"lastHeardRf", orNull(record.lastHeardRf != tracker.neverHeard(), shown(record.lastHeardRf))},
            {"lastHeardOther", orNull(record.lastHeardOther != 0, shown(record.lastHeardOther))},
            {"listed", listed}});
    }
    return list;
}

QJsonArray counts(const std::vector<aprs::OutcomeCount>& outcomes) {
    QJsonArray list;
    for (const auto& outcome : outcomes)
        list.append(QJsonObject{{"outcome", text(outcome.outcome)}, {"count", static_cast<qint64>(outcome.count)}});
    return list;
}

QJsonObject gates(const StatusSources& sources) {
    const aprs::HostIdentity& id = sources.host.identity();
    const aprs::GateDecisions& decisions = sources.host.gateDecisions();
    QJsonArray recent;
    for (const auto& decision : decisions.recent()) {
        recent.append(QJsonObject{
            {"time", text(utcText(systemFromDateTime(sources.clock.shownTime(decision.time))))},
            {"direction", text(aprs::gateDirectionLabel(decision.direction))},
            {"outcome", text(decision.outcome)},
            {"text", text(decision.text)}});
    }
    return {{"toRadio", QJsonObject{{"mode", text(gateModeLabel(id.gateToRadio))},
                                    {"counts", counts(decisions.counts(aprs::GateDirection::ToRadio))}}},
            {"toInternet", QJsonObject{{"mode", id.gateToInternet ? "on" : "off"},
                                       {"counts", counts(decisions.counts(aprs::GateDirection::ToInternet))}}},
            {"recent", recent}};
}

QJsonObject decoder(const aprs::DecodeTally& tally) {
    QJsonArray dropped;
    for (const auto& entry : aprs::kDropReasons)
        dropped.append(QJsonObject{{"reason", text(entry.label)}, {"count", static_cast<qint64>(tally.dropped(entry.reason))}});
    return {{"decoded", static_cast<qint64>(tally.decoded())}, {"dropped", dropped}};
}

}  // namespace

std::string utcText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<seconds>(time - day)};
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return buffer;
}

QByteArray statusJson(const StatusSources& sources, std::chrono::system_clock::time_point now) {
    const QJsonObject status{{"version", kStatusJsonVersion},
                             {"station", station(sources, now)},
                             {"feeds", feeds(sources, now)},
                             {"candidates", candidates(sources.tracker)},
                             {"stations", stations(sources)},
                             {"gates", gates(sources)},
                             {"decoder", decoder(sources.host.decodeTally())}};
    return QJsonDocument(status).toJson(QJsonDocument::Compact);
}

}  // namespace ovelsk
