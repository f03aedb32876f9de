#pragma once
// A station tracker wired to a recording window, a scripted host, a recording
// gateway section and a fake clock.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stations/station_tracker.h"
#include "support/fake_clock.h"
#include "support/scripted_host.h"

namespace ovelsk::testing {

class RecordingWindow final : public TrackerWindow {
public:
    std::string rangeText() const override { return range; }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void replaceCandidateRows(const std::vector<std::string>& newRows) override {
        rows = newRows;
        ++refills;
    }

    std::string range = "40";
    std::vector<std::string> statuses;
    std::vector<std::string> rows;
    int refills = 0;
};

class RecordingGateway final : public GatewaySection {
public:
    void WriteIgateSection(const std::vector<std::string>& rows) override { writes.push_back(rows); }
    std::vector<std::vector<std::string>> writes;
};

template <class TestBase = ::testing::Test>
struct TrackerFixtureOn : TestBase {
    static constexpr DateTime kStart = 46000.5;  // 2025-12-09 12:00 UTC
    static constexpr DateTime kNeverHeard = kStart - 7200;

    RecordingWindow window;
    ScriptedHost host;
    RecordingGateway gateway;
    FakeClock clock{kStart};
    StationTracker tracker{window, host, gateway, clock, kNeverHeard};

    const StationRecord* find(const std::string& callsign) const {
        for (const auto& s : tracker.table())
            if (s.inUse == -1 && s.callsign == callsign) return &s;
        return nullptr;
    }
    int stationsInUse() const {
        int n = 0;
        for (const auto& s : tracker.table()) n += s.inUse == -1;
        return n;
    }
};

using TrackerFixture = TrackerFixtureOn<>;

}  // namespace ovelsk::testing
