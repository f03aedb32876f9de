// The status as JSON and as metrics, from a host that replayed known traffic.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gmock/gmock.h>

#include "status/status_fixture.h"
#include "status/status_json.h"
#include "status/status_metrics.h"
#include "support/fake_host_report.h"

namespace ovelsk::testing {
namespace {

// The value at a JSON pointer such as "/feeds/0/name".
QJsonValue at(QJsonValue value, const QString& pointer) {
    for (const auto& step : pointer.split(u'/', Qt::SkipEmptyParts))
        value = value.isArray() ? value.toArray().at(step.toInt()) : value.toObject().value(step);
    return value;
}

// The count of `outcome` in a gate's counts.
qint64 gateCount(const QJsonValue& counts, const char* outcome) {
    for (const auto& entry : counts.toArray())
        if (entry.toObject().value("outcome").toString() == QLatin1String(outcome)) return entry.toObject().value("count").toInteger();
    return -1;
}

using StatusJson = StatusFixture;

TEST_F(StatusJson, ShowsWhatTheHostAndTrackerHold) {
    const QJsonDocument json = QJsonDocument::fromJson(statusJson(sources(), started_ + std::chrono::seconds(90)));
    const QJsonValue root = json.object();
    struct Field {
        const char* pointer;
        QJsonValue expected;
    };
    const Field fields[] = {
        {"/version", 1},
        {"/station/callsign", "N0CALL-10"},
        {"/station/home/latitude", 40.015},
        {"/station/distanceUnit", "mi"},
        {"/station/range", "40"},
        {"/station/version", "9.9.9"},
        {"/station/uptimeSeconds", 90},
        {"/station/igateIni", QString::fromStdString((scratch_ / "host" / "igate.ini").string())},
        {"/feeds/0/kind", "replay"},
        {"/feeds/0/state", "playing"},
        {"/feeds/0/packets", static_cast<qint64>(kReplayedPackets)},
        {"/feeds/0/retryInSeconds", QJsonValue::Null},
        {"/feeds/0/loginVerified", QJsonValue::Null},
        {"/candidates/0/callsign", "W1NET-9"},
        {"/candidates/0/igateLine", "W1NET-9=ALL"},
        {"/candidates/1", QJsonValue::Undefined},
        {"/gates/toRadio/mode", "log"},
        {"/gates/toInternet/mode", "off"},
        {"/gates/recent/0/direction", "to radio"},
        {"/gates/recent/0/outcome", "would send"},
        {"/gates/recent/1/outcome", "duplicate"},
        {"/gates/recent/1/text", "not sent W1NET-9: duplicate within 60 s"},
        {"/gates/telemetry", QJsonValue::Null},
        {"/decoder/decoded", 3},
        {"/decoder/dropped/11/reason", "status"},
        {"/decoder/dropped/11/count", 1},
    };
    for (const auto& field : fields) EXPECT_EQ(at(root, field.pointer), field.expected) << field.pointer;

    EXPECT_EQ(gateCount(at(root, "/gates/toRadio/counts"), "would send"), 1);
    EXPECT_EQ(gateCount(at(root, "/gates/toRadio/counts"), "duplicate"), 1);
    EXPECT_EQ(gateCount(at(root, "/gates/toRadio/counts"), "sent"), 0);

    QStringList listed, notListed;
    for (const auto& station : at(root, "/stations").toArray())
        (station.toObject().value("listed").toBool() ? listed : notListed) << station.toObject().value("callsign").toString();
    EXPECT_EQ(listed, QStringList{"W1NET-9"});
    EXPECT_EQ(notListed, QStringList{"K0RF-1"});
}

// The list rounds a time to the nearest second; the JSON must not cut it.
TEST_F(StatusJson, ShowsATimeAsTheSecondTheListShows) {
    clock_.set(46000.5 + 0.6 / 86400);  // 2025-12-09 12:00:00.6 UTC
    tracker_->RecordBeacon("K0RND", 1.0f, true);
    const QJsonArray stations = QJsonDocument::fromJson(statusJson(sources(), started_)).object().value("stations").toArray();
    const auto heard = std::find_if(stations.begin(), stations.end(),
                                    [](const QJsonValue& s) { return s.toObject().value("callsign") == "K0RND"; });
    ASSERT_NE(heard, stations.end());
    EXPECT_EQ(heard->toObject().value("lastHeardRf"), "2025-12-09T12:00:01Z");
}

TEST_F(StatusJson, MetricsCountTheSameTraffic) {
    const QString metrics = QString::fromUtf8(statusMetrics(sources(), ServerCounts{}));
    const char* const lines[] = {
        "ovelsk_feed_packets_total{feed=\"replay:",
        "ovelsk_feed_connected{feed=\"replay:",
        "ovelsk_packets_decoded_total 3\n",
        "ovelsk_packets_dropped_total{reason=\"status\"} 1\n",
        "ovelsk_gate_decisions_total{direction=\"to radio\",outcome=\"would send\"} 1\n",
        "ovelsk_gate_decisions_total{direction=\"to radio\",outcome=\"duplicate\"} 1\n",
        "ovelsk_stations_tracked 2\n",
        "ovelsk_stations_listed 1\n",
        "ovelsk_heard_stations{heard=\"internet\"} 2\n",  // W1NET-9 and N0POS, straight from the Internet
        "ovelsk_heard_stations_evicted_total{heard=\"radio\"} 0\n",
    };
    for (const char* line : lines) EXPECT_THAT(metrics.toStdString(), ::testing::HasSubstr(line));
    EXPECT_THAT(metrics.toStdString(), ::testing::HasSubstr("traffic.txt\"} 4\n"));
}

// A replay: feed names a file, and a file name is any bytes.
TEST_F(StatusJson, MetricsAreUtf8WithLabelValuesEscaped) {
    FakeHostReport report;
    report.feeds.emplace_back().name = "replay:/home/a\xff\"b\\c\nd.txt";
    ServerCounts server;
    server.refusedAtCap = 1;
    server.refusedAtDeadline = 2;
    server.refusedForHost = 3;
    server.closedNotReading = 4;
    const QByteArray metrics =
        statusMetrics({report, *tracker_, clock_, [] { return std::string("40"); }, "1", started_}, server);

    EXPECT_EQ(QString::fromUtf8(metrics).toUtf8(), metrics);
    const char* const lines[] = {
        "ovelsk_feed_packets_total{feed=\"replay:/home/a\xEF\xBF\xBD\\\"b\\\\c\\nd.txt\"} 0\n",
        "ovelsk_status_connections_refused_total{reason=\"cap\"} 1\n",
        "ovelsk_status_connections_refused_total{reason=\"deadline\"} 2\n",
        "ovelsk_status_connections_refused_total{reason=\"host\"} 3\n",
        "ovelsk_status_connections_unread_total 4\n",
    };
    for (const char* line : lines) EXPECT_THAT(metrics.toStdString(), ::testing::HasSubstr(line));
}

}  // namespace
}  // namespace ovelsk::testing
