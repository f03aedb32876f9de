#pragma once
// A host driven from test code: station lists are plain vectors the test fills,
// and deliver() raises NotifyBeaconData the way the real host does.

#include <string>
#include <vector>

#include "host/host_application.h"

namespace ovelsk::testing {

class ScriptedHost final : public HostApplication {
public:
    void bindNotifyBeaconData(NotifyBeaconData handler) override { handler_ = std::move(handler); }
    void enable(bool& on) override { enabled = on; }
    std::int16_t stationListCount() override {
        ++listReads;
        return static_cast<std::int16_t>(indexedList.size());
    }
    std::string_view stationListLine(std::int16_t index) override {
        return indexedList.at(static_cast<size_t>(index));
    }
    std::span<const std::string> secondStationList() override { return secondList; }

    void deliver(const StationObject& cStn) {
        if (handler_) handler_(cStn);
    }

    std::vector<std::string> indexedList;
    std::vector<std::string> secondList;
    bool enabled = false;
    int listReads = 0;

private:
    NotifyBeaconData handler_;
};

// A fixed-column station-list line: callsign from column 2, bearing right-aligned
// in columns 55 to 57.
inline std::string stationListLine(const std::string& callsign, const std::string& bearingColumns) {
    std::string line(57, ' ');
    line.replace(1, callsign.size(), callsign);
    line.replace(54, bearingColumns.size(), bearingColumns);
    return line.substr(0, 54 + bearingColumns.size());
}

}  // namespace ovelsk::testing
