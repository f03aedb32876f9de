#pragma once
// One of the host's station lists: one fixed-column line per station, updated in
// place, found by callsign through a map so an update costs the same however
// long the list is:
//
//   " N0CALL-9*   2026-12-08 10:00:00       12.3 mi        274"
//
// Counting characters from 1, columns 2 to 12 hold the callsign, followed by "*"
// when its last packet came through a digipeater; the last-heard time starts at
// 14, the distance and its unit follow, and the bearing is a whole number
// right-aligned in 55 to 57.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ovelsk::standin {

// The lists are read through a 16-bit index, so neither may grow past this.
inline constexpr std::size_t kMaxStationListLines = 32767;

struct StationListEntry {
    std::string_view callsign;
    bool viaDigipeater = false;
    std::string_view lastHeard;  // as shown, "YYYY-MM-DD HH:MM:SS"
    double distance = 0;
    std::string_view unit;       // "mi" or "km"
    double bearing = 0;          // degrees, 0 to 360
};

// The whole line for one station, 57 characters for a callsign of up to 9.
std::string formatStationListLine(const StationListEntry& entry);

class StationList {
public:
    // A list of at most `maxLines` lines; a non-empty `header` is line 0 and
    // counts as one of them.
    explicit StationList(std::size_t maxLines = kMaxStationListLines, std::string header = {});

    // Puts the station's line in place of its old one. A new station gets a new
    // line; when the list is full it takes the line of the station silent longest.
    void update(const StationListEntry& entry);

    std::span<const std::string> lines() const { return lines_; }
    std::size_t stationCount() const { return byCallsign_.size(); }

    // The station line whose stationListCallsign is `callsign`, the header left
    // out, found through the map. Exact, that is the first such line a walk
    // would meet, only while indexExact(): every line reads back as its own
    // station's callsign, so no two read alike. A callsign the columns cannot
    // hold (over ten characters, or ending in "*") breaks that.
    std::optional<std::string_view> find(std::string_view callsign) const;
    bool indexExact() const { return linesReadBackOtherwise_ == 0; }

private:
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    void moveToNewest(std::size_t line);
    void unlink(std::size_t line);

    std::size_t maxLines_;
    std::vector<std::string> lines_;
    std::vector<std::string> callsignOfLine_;
    std::vector<bool> readsBackOtherwise_;
    std::size_t linesReadBackOtherwise_ = 0;
    std::unordered_map<std::string, std::size_t, TransparentHash, std::equal_to<>> byCallsign_;
    // Station lines in order of their last update, oldest first, as a doubly
    // linked list over line indices; kNone ends it.
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> newer_;
    std::vector<std::size_t> older_;
    std::size_t oldest_ = kNone;
    std::size_t newest_ = kNone;
};

// The header line the Internet list shows as its element 0.
std::string stationListHeader();

}  // namespace ovelsk::standin
