// The host with its gate and Ovelsk's station tracking writing the real
// igate.ini: which feeds' packets are judged for radio or sent to the
// Internet, and the list Ovelsk
// writes while it handles one packet taking effect for the next.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "gateway/gate_fakes.h"
#include "host/igate_file.h"
#include "standin/standin_host.h"
#include "standin_host_fakes.h"
#include "stations/station_tracker.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr aprs::Position kHome{49.0, -72.0};

class HostGateTest : public ::testing::Test {
protected:
    HostGateTest() {
        testing::writeFile(folder_ / "igate.ini", "[INET_TO_RF]\r\n");
        gateway::GateConfig config;
        config.mode = gateway::GateMode::On;
        config.callsign = "N0TEST";
        auto gate = std::make_unique<gateway::InternetToRfGate>(config, folder_ / "igate.ini", clock_);
        gate->setTransmitter(&tnc_);
        host_.setGate(std::move(gate));
        host_.setInternetGate(std::make_unique<gateway::RadioToInternetGate>("N0TEST-10", 12345, aprs::IgateKind::TwoWay, uplink_, clock_));
        host_.bindNotifyBeaconData([this](const StationObject& cStn) { tracker_.mUIV_NotifyBeaconData(cStn); });
        bool on = true;
        host_.enable(on);
    }

    testing::ScratchFolder folder_;
    std::string hostFolder_ = folder_.path().string();
    testing::FakeClock clock_;
    testing::LogCapture log_;
    gateway::RecordingTransmitter tnc_;
    gateway::RecordingUplink uplink_;
    StandinHost host_{kHome, DistanceUnit::Miles, clock_};
    RecordingWindow window_;
    IgateFile igateFile_{hostFolder_};
    StationTracker tracker_{window_, host_, igateFile_, clock_, clock_.now() - kNeverHeardDaysBack};
};

TEST_F(HostGateTest, LiveInternetPacketsOfListedStationsGoOnTheAirAndOnlyLiveRadioPacketsToTheInternet) {
    const auto internet = host_.packetSink(aprs::FeedOrigin::Internet);
    const auto recorded = host_.packetSink(aprs::FeedOrigin::Recorded);
    const auto radio = host_.packetSink(aprs::FeedOrigin::Radio);

    // Heard on the Internet: not listed yet, so not sent; Ovelsk lists it while
    // handling the beacon, and its next Internet packet goes out.
    internet(kInternetStreamSource, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-one");
    ASSERT_THAT(testing::readFile(folder_ / "igate.ini"), HasSubstr("K0ABC-9=ALL"));
    internet(kInternetStreamSource, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-two");
    // A replayed Internet packet is judged, never sent.
    recorded(kInternetStreamSource, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-three");
    // Replayed radio traffic is not for the Internet either.
    recorded(0, "K0ABC-9>APRS,WIDE1-1:>replayed");
    // Heard on radio through the TNC: the same packet from the Internet is a duplicate ...
    radio(0, "K0ABC-9>APRS,WIDE1-1:>four");
    internet(kInternetStreamSource, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>four");
    // ... and once a position comes directly on radio the station leaves the list.
    radio(0, "K0ABC-9>APRS,WIDE1-1:!4903.50N/07201.75W-five");
    internet(kInternetStreamSource, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-six");

    EXPECT_THAT(uplink_.lines, ElementsAre("K0ABC-9>APRS,WIDE1-1,qAR,N0TEST-10:>four",
                                           "K0ABC-9>APRS,WIDE1-1,qAR,N0TEST-10:!4903.50N/07201.75W-five"));
    EXPECT_THAT(tnc_.sent, ElementsAre("N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:!4903.50N/07201.75W-two"));
    std::istringstream lines(log_.text("ovelsk.gate"));
    std::vector<std::string> logged;
    for (std::string line; std::getline(lines, line);) logged.push_back(line);
    EXPECT_THAT(logged, ElementsAre("gate: sent K0ABC-9>APRS (1 of 6 this minute)",
                                    "gate: would send K0ABC-9>APRS (2 of 6 this minute)",
                                    "gate: not sent K0ABC-9: duplicate within 60 s"));
}

}  // namespace
}  // namespace ovelsk::standin
