#pragma once
// What Ovelsk needs of its host: one application object that raises an event per
// decoded beacon and answers questions about its two station lists.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ovelsk {

// The host's station object for one decoded beacon (`cStn`).
struct StationObject {
    std::string callsign;
    std::int16_t sourceNumber = 0;  // 100 for the Internet stream, else the radio port
    std::string path;               // ",q" or "TCPIP" in it mark traffic that passed the Internet
    float distance = 0;             // in the host's distance unit
};

// Source number the host gives beacons from the Internet stream.
inline constexpr std::int16_t kInternetStreamSource = 100;

// The host application object (`mUIV`). Everything runs on the one event-loop
// thread: the host raises NotifyBeaconData from its own event handling, one at a
// time, never from inside a call the program makes into it.
class HostApplication {
public:
    using NotifyBeaconData = std::function<void(const StationObject& cStn)>;

    virtual ~HostApplication() = default;

    // Binds the receiver of the host's NotifyBeaconData event.
    virtual void bindNotifyBeaconData(NotifyBeaconData handler) = 0;

    // The enable switch; set once, as the last step of start-up.
    virtual void enable(bool& on) = 0;

    // The indexed station list (stations heard on radio): line count and one line.
    // A returned view stays valid until the host next handles an event.
    virtual std::int16_t stationListCount() = 0;
    virtual std::string_view stationListLine(std::int16_t index) = 0;

    // The second station list (stations heard through the Internet); element 0 is
    // a header line. The span stays valid until the host next handles an event.
    virtual std::span<const std::string> secondStationList() = 0;

    // A host that keeps its lists indexed may answer the bearing look-up's search
    // itself: the first line of the indexed list whose stationListCallsign is
    // `callsign`, else the first such line of the second list past element 0,
    // else none. It must give exactly what that walk over the lines would. A
    // host that does not (the default) leaves LookupBearing to walk the lists.
    struct StationLineSearch {
        bool answered = false;
        std::optional<std::string_view> line;  // valid as the lines themselves are
    };
    virtual StationLineSearch findStationLine(std::string_view /*callsign*/) { return {}; }
};

}  // namespace ovelsk
