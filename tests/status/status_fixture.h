#pragma once
// A host started from a settings file on a replay of known traffic, with the
// gateway to radio in log mode and the station tracker on it: what the status
// page shows of a running iGate.
//
// The traffic: W1NET-9 (listed in igate.ini) twice from the Internet, so the
// gateway would send it once and finds the second a duplicate; K0RF-1 on radio;
// a status report the decoder drops.

#include <gtest/gtest.h>

#include <memory>

#include "feeds/aprs_is_loopback_server.h"
#include "standin/standin_host_fakes.h"
#include "standin/started_host.h"
#include "stations/station_tracker.h"
#include "status/status_sources.h"
#include "support/fake_clock.h"
#include "support/scratch_folder.h"

namespace ovelsk::testing {

inline constexpr char kReplayedTraffic[] =
    "2026-12-08T10:00:01Z IS W1NET-9>APRS,TCPIP*,qAC,T2TEST:!4005.00N/10512.00W-net\n"
    "2026-12-08T10:00:02Z IS W1NET-9>APRS,TCPIP*,qAC,T2TEST:!4005.00N/10512.00W-net\n"
    "2026-12-08T10:00:03Z RF0 K0RF-1>APRS,WIDE1-1:!4002.00N/10520.00W-rf\n"
    "2026-12-08T10:00:04Z IS N0POS>APRS,TCPIP*,qAC,T2TEST:>just a status\n";
inline constexpr std::uint64_t kReplayedPackets = 4;

class StatusFixture : public ::testing::Test {
protected:
    StatusFixture() {
        std::filesystem::create_directory(scratch_ / "host");
        writeFile(scratch_ / "host" / "igate.ini", "[INET_TO_RF]\r\nW1NET-9=ALL\r\n");
        writeFile(scratch_ / "traffic.txt", kReplayedTraffic);
        writeFile(scratch_ / "settings.ini", "[UI-View32]\nProgram Folder=" + (scratch_ / "host").string() +
                                                 "/\nLatitude=40.015\nLongitude=-105.2705\nFeeds=replay:" +
                                                 (scratch_ / "traffic.txt").string() +
                                                 "\nReplay Speed=10000\nGate To RF=log\nCallsign=N0CALL-10\n");
        ensureEventLoop();
        host_ = startHost(scratch_ / "settings.ini", clock_);
        tracker_ = std::make_unique<StationTracker>(window_, *host_, gateway_, clock_, clock_.now() - kNeverHeardDaysBack);
        host_->bindNotifyBeaconData([this](const StationObject& cStn) { tracker_->mUIV_NotifyBeaconData(cStn); });
        EXPECT_TRUE(spinUntil([this] { return host_->feedStatuses().at(0).packets == kReplayedPackets; }));
    }

    StatusSources sources() {
        return {*host_, *tracker_, clock_, [this] { return window_.range; }, "9.9.9", started_};
    }

    ScratchFolder scratch_;
    FakeClock clock_;
    standin::RecordingWindow window_;
    standin::RecordingGateway gateway_;
    std::unique_ptr<standin::StandinHost> host_;
    std::unique_ptr<StationTracker> tracker_;
    const std::chrono::system_clock::time_point started_ = std::chrono::system_clock::now() - std::chrono::seconds(90);
};

}  // namespace ovelsk::testing
