#include <gtest/gtest.h>

#include "tracker_fixture.h"

namespace ovelsk::testing {
namespace {

struct Route {
    const char* name;
    std::int16_t source;
    const char* path;
    const char* status;
    bool heardViaRf;
};

void PrintTo(const Route& route, std::ostream* os) { *os << route.name; }

class BeaconRoutes : public TrackerFixtureOn<::testing::TestWithParam<Route>> {};

TEST_P(BeaconRoutes, ClassifyTheBeaconAndNameItOnTheStatusLine) {
    const Route route = GetParam();
    host.bindNotifyBeaconData([this](const StationObject& cStn) { tracker.mUIV_NotifyBeaconData(cStn); });
    host.deliver({"N0CALL-9", route.source, route.path, 12.5f});

    ASSERT_EQ(window.statuses.size(), 1u);
    EXPECT_EQ(window.statuses.back(), std::string("N0CALL-9") + route.status);
    const auto* station = find("N0CALL-9");
    ASSERT_NE(station, nullptr);
    if (route.heardViaRf) {
        EXPECT_EQ(station->lastHeardRf, clock.now());
        EXPECT_EQ(station->lastHeardOther, 0);
    } else {
        EXPECT_EQ(station->lastHeardRf, kNeverHeard);
        EXPECT_EQ(station->lastHeardOther, clock.now());
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllRoutes, BeaconRoutes,
    ::testing::Values(Route{"InternetStream", 100, "APRS,TCPIP*,qAC,T2TEST", " Via Internet Stream", false},
                      Route{"InternetPathNotExamined", 100, "APRS,WIDE2-2", " Via Internet Stream", false},  // the path is not examined
                      Route{"QConstruct", 0, "APRS,WIDE1-1,qAR,N0CALL", " Via RF 3rd Party Frame", false},
                      Route{"Tcpip", 1, "APRS,TCPIP,N1GATE*", " Via RF 3rd Party Frame", false},
                      Route{"Direct", 0, "APRS,WIDE2-2", " Via RF", true},
                      Route{"LowerCaseTcpip", 0, "APRS,tcpip,WIDE1-1", " Via RF", true},  // the tests are case-sensitive
                      Route{"EmptyPath", 0, "", " Via RF", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrackerFixture, StatusLineNamesEveryBeaconEvenWhenItIsNotRecorded) {
    window.range = "abc";
    tracker.mUIV_NotifyBeaconData({"N0CALL", 0, "APRS", 1.0f});
    window.range = "10";
    tracker.mUIV_NotifyBeaconData({"FAR", 100, "APRS", 11.0f});

    EXPECT_EQ(window.statuses, (std::vector<std::string>{"N0CALL Via RF", "FAR Via Internet Stream"}));
    EXPECT_EQ(stationsInUse(), 0);
    EXPECT_EQ(gateway.writes.size(), 0u);
}

TEST_F(TrackerFixture, FullTableMessageIsReplacedByTheBeaconsOwnStatus) {
    for (int i = 0; i < kStationSlots; ++i) tracker.RecordBeacon("S" + std::to_string(i), 1.0f, false);
    window.statuses.clear();

    tracker.mUIV_NotifyBeaconData({"NEW", 100, "APRS", 1.0f});

    EXPECT_EQ(window.statuses, (std::vector<std::string>{"Max 150 Stations", "NEW Via Internet Stream"}));
}

}  // namespace
}  // namespace ovelsk::testing
