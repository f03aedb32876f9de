#include "status/status_json.h"

#include <algorithm>
#include <string_view>

#include "feeds/log_text.h"
#include "standin/host_config.h"
#include "status/json_writer.h"

namespace ovelsk {
namespace {

using SystemTime = std::chrono::system_clock::time_point;

std::string_view gateModeLabel(gateway::GateMode mode) {
    switch (mode) {
    case gateway::GateMode::Off: return "off";
    case gateway::GateMode::Log: return "log";
    case gateway::GateMode::On: return "on";
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

std::string utcText(SystemTime time) { return aprs::utcText(std::chrono::floor<std::chrono::milliseconds>(time)); }

std::int64_t wholeSeconds(std::chrono::system_clock::duration d) {
    return std::max<std::int64_t>(0, std::chrono::ceil<std::chrono::seconds>(d).count());
}

class StatusWriter {
public:
    StatusWriter(const StatusSources& sources, SystemTime now) : sources_(sources), now_(now) {}

    QByteArray write() {
        json_.beginObject().key("version").number(std::int64_t{kStatusJsonVersion});
        station();
        feeds();
        candidates();
        stations();
        gates();
        decoder();
        json_.endObject();
        return json_.bytes();
    }

private:
    // A time of the tracker's or the host's clock, as the wall clock has it, to
    // the second the station list shows.
    JsonWriter& shownTime(DateTime t) { return json_.string(aprs::utcText(shownSecond(sources_.clock.shownTime(t)))); }

    void station() {
        const standin::HostIdentity& id = sources_.host.identity();
        json_.key("station").beginObject();
        json_.key("callsign").string(id.callsign);
        json_.key("home").beginObject();
        json_.key("latitude").number(id.home.latitude).key("longitude").number(id.home.longitude);
        json_.endObject();
        json_.key("distanceUnit").string(standin::distanceUnitText(id.distanceUnit));
        json_.key("range").string(sources_.rangeText());
        json_.key("version").string(sources_.programVersion);
        json_.key("started").string(utcText(sources_.started));
        json_.key("uptimeSeconds").number(wholeSeconds(now_ - sources_.started));
        json_.key("hostFolder").string(id.programFolder);
        json_.key("igateIni").string(id.igateIni.native());
        json_.key("settingsFile").string(id.settingsFile.native());
        json_.endObject();
    }

    void feeds() {
        json_.key("feeds").beginArray();
        for (const aprs::FeedStatus& feed : sources_.host.feedStatuses()) {
            json_.beginObject();
            json_.key("kind").string(aprs::feedKind(feed.name));
            json_.key("name").string(feed.name);
            json_.key("state").string(aprs::feedStateLabel(feed.state));
            json_.key("since");
            feed.state == aprs::FeedState::Idle ? json_.null() : json_.string(utcText(feed.since));
            json_.key("retryInSeconds");
            feed.state == aprs::FeedState::Retrying ? json_.number(wholeSeconds(feed.retryAt - now_)) : json_.null();
            json_.key("loginVerified");
            feed.loginVerified ? json_.boolean(*feed.loginVerified) : json_.null();
            json_.key("packets").number(static_cast<std::int64_t>(feed.packets));
            json_.key("lastError").string(feed.lastError);
            json_.endObject();
        }
        json_.endArray();
    }

    void candidates() {
        json_.key("candidates").beginArray();
        for (const auto& row : sources_.tracker.candidateRows()) {
            const std::string_view callsign = rowCallsign(row);
            json_.beginObject();
            json_.key("callsign").string(callsign);
            json_.key("row").string(row);
            json_.key("igateLine").string(std::string(callsign) + "=ALL");
            json_.endObject();
        }
        json_.endArray();
    }

    void stations() {
        const StationTracker& tracker = sources_.tracker;
        std::vector<std::string_view> listed;
        for (const auto& row : tracker.candidateRows()) listed.push_back(rowCallsign(row));
        std::sort(listed.begin(), listed.end());
        json_.key("stations").beginArray();
        for (const StationRecord& record : tracker.table()) {
            if (record.inUse != -1) continue;
            json_.beginObject();
            json_.key("callsign").string(record.callsign);
            json_.key("distance").number(record.distance);
            json_.key("bearing").number(record.bearing);
            json_.key("lastHeardRf");
            record.lastHeardRf == tracker.neverHeard() ? json_.null() : shownTime(record.lastHeardRf);
            json_.key("lastHeardOther");
            record.lastHeardOther == 0 ? json_.null() : shownTime(record.lastHeardOther);
            json_.key("listed").boolean(std::binary_search(listed.begin(), listed.end(), record.callsign));
            json_.endObject();
        }
        json_.endArray();
    }

    void counts(const std::vector<gateway::OutcomeCount>& outcomes) {
        json_.key("counts").beginArray();
        for (const auto& outcome : outcomes) {
            json_.beginObject().key("outcome").string(outcome.outcome);
            json_.key("count").number(static_cast<std::int64_t>(outcome.count)).endObject();
        }
        json_.endArray();
    }

    void gates() {
        const standin::HostIdentity& id = sources_.host.identity();
        const gateway::GateDecisions& decisions = sources_.host.gateDecisions();
        json_.key("gates").beginObject();
        json_.key("toRadio").beginObject().key("mode").string(gateModeLabel(id.gateToRadio));
        counts(decisions.counts(gateway::GateDirection::ToRadio));
        json_.endObject();
        json_.key("toInternet").beginObject().key("mode").string(id.gateToInternet ? "on" : "off");
        counts(decisions.counts(gateway::GateDirection::ToInternet));
        json_.endObject();
        json_.key("recent").beginArray();
        for (const auto& decision : decisions.recent()) {
            json_.beginObject().key("time");
            shownTime(decision.time);
            json_.key("direction").string(gateway::gateDirectionLabel(decision.direction));
            json_.key("outcome").string(decision.outcome);
            json_.key("text").string(decision.text);
            json_.endObject();
        }
        json_.endArray();
        network();
        json_.endObject();
    }

    // What the iGate told the network of itself.
    void network() {
        const standin::NetworkReports& reports = sources_.host.networkReports();
        json_.key("telemetry");
        if (reports.telemetryTime) {
            json_.beginObject().key("time");
            shownTime(*reports.telemetryTime);
            json_.key("report").string(reports.telemetry).endObject();
        } else {
            json_.null();
        }
        json_.key("queryAnswers").beginArray();
        for (const auto& answer : reports.queryAnswers) {
            json_.beginObject().key("time");
            shownTime(answer.time);
            json_.key("text").string(answer.text).endObject();
        }
        json_.endArray();
    }

    void decoder() {
        const standin::DecodeTally& tally = sources_.host.decodeTally();
        json_.key("decoder").beginObject().key("decoded").number(static_cast<std::int64_t>(tally.decoded()));
        json_.key("dropped").beginArray();
        for (const auto& entry : aprs::kDropReasons) {
            json_.beginObject().key("reason").string(entry.label);
            json_.key("count").number(static_cast<std::int64_t>(tally.dropped(entry.reason))).endObject();
        }
        json_.endArray().endObject();
    }

    const StatusSources& sources_;
    SystemTime now_;
    JsonWriter json_;
};

}  // namespace

QByteArray statusJson(const StatusSources& sources, std::chrono::system_clock::time_point now) {
    return StatusWriter(sources, now).write();
}

}  // namespace ovelsk
