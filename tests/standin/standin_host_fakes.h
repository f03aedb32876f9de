#pragma once
// Stand-ins around the host for tests: a feed the test pushes packets through, and the window and gateway as station tracking sees them.

#include <string>
#include <vector>

#include "feeds/feed.h"
#include "host/gateway_section.h"
#include "stations/tracker_window.h"

namespace ovelsk::standin {

class PushedFeed final : public aprs::Feed {
public:
    void start() override { ++starts; }
    aprs::FeedStatus status() const override { return {}; }
    int starts = 0;
};

class RecordingWindow final : public TrackerWindow {
public:
    std::string rangeText() const override { return range; }
    void setStatus(const std::string& text) override { status = text; }
    void replaceCandidateRows(const std::vector<std::string>& newRows) override { rows = newRows; }

    std::string range = "40";
    std::string status;
    std::vector<std::string> rows;
};

class RecordingGateway final : public GatewaySection {
public:
    void WriteIgateSection(const std::vector<std::string>& newRows) override {
        ++writes;
        rows = newRows;
    }
    int writes = 0;
    std::vector<std::string> rows;
};

}  // namespace ovelsk::standin
