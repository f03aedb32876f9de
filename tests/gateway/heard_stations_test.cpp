// The heard-stations table at its caps: what it forgets to make room, in which
// order, and when it can no longer tell where a station was heard.
#include "gateway/heard_stations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ovelsk::gateway {
namespace {

constexpr std::int64_t kWindowMs = 180 * 60'000;

TEST(HeardStations, AFloodOfInternetCallsignsForgetsTheLongestUnheardHalfOfThemAndNeverARadioStation) {
    HeardStations heard(kWindowMs, 1, 10, 4);
    heard.heardOnRadio("M1LOC-7", 0, 0);
    heard.heardOnInternet("W1A", 1);
    heard.heardOnInternet("W1B", 2);  // a half full: these two are now the older
    heard.heardOnInternet("w1a", 3);  // heard again: back in the newer half
    heard.heardOnInternet("W1C", 4);  // the newer full again: the older, W1B alone, goes
    heard.heardOnInternet("W1D", 5);
    EXPECT_FALSE(heard.onInternet("W1B", 6));
    EXPECT_TRUE(heard.onInternet("W1A", 6));
    for (int i = 0; i < 100'000; ++i) heard.heardOnInternet("X" + std::to_string(i), 10 + i);
    EXPECT_TRUE(heard.nearOnRadio("M1LOC-7", 100'010));
    const HeardStationsTally tally = heard.tally();
    EXPECT_EQ(tally.onRadio, 1u);
    EXPECT_EQ(tally.onInternet, 3u);
    EXPECT_EQ(tally.forgottenOnInternet, 100'001u);

    // What grows older than the window is forgotten, and is no eviction.
    heard.heardOnInternet("W1NEW", kWindowMs + 100'010);
    EXPECT_EQ(heard.tally().onRadio, 0u);
    EXPECT_EQ(heard.tally().onInternet, 1u);
    EXPECT_EQ(heard.tally().forgottenOnInternet, 100'001u);
}

TEST(HeardStations, AFullRadioTableForgetsTheStationHeardLongestAgoAndSaysWhich) {
    HeardStations heard(kWindowMs, 1, 2, 10);
    EXPECT_FALSE(heard.heardOnRadio("M1A", 0, 0));
    EXPECT_FALSE(heard.heardOnRadio("M1B", 0, 1000));
    EXPECT_FALSE(heard.heardOnRadio("M1A", 3, 2000));  // heard again, far this time
    const auto forgotten = heard.heardOnRadio("M1C", 0, 3000);
    ASSERT_TRUE(forgotten);
    EXPECT_EQ(forgotten->callsign, "M1B");
    EXPECT_EQ(forgotten->heardMs, 1000);
    EXPECT_FALSE(heard.onRadio("M1B", 3000));
    EXPECT_TRUE(heard.nearOnRadio("M1A", 3000)) << "its near hearing at 0 still counts";
    EXPECT_EQ(heard.tally().forgottenOnRadio, 1u);
}

TEST(HeardStations, CannotTellWhereAStationWasHeardOnlyWhenAFullTableMayHaveForgottenIt) {
    struct Hearing {
        bool onRadio;
        std::string callsign;
        std::int64_t ms;
    };
    struct Case {
        const char* name;
        std::vector<Hearing> hearings;  // into tables that hold one station each
        std::int64_t askedMs;
        std::optional<UnknownWhere> unknown;  // of M1X
        bool onInternet;
    };
    const std::vector<Case> cases = {
        {"nothing forgotten", {{true, "M1A", 0}}, 10, std::nullopt, false},
        {"a radio station forgotten", {{true, "M1A", 0}, {true, "M1B", 1}}, 10, UnknownWhere::OnRadio, false},
        {"a radio station forgotten a window ago", {{true, "M1A", 0}, {true, "M1B", 1}}, kWindowMs, std::nullopt, false},
        {"forgotten on the Internet before heard on radio", {{false, "M1X", 0}, {false, "W1B", 1}, {true, "M1X", 2}}, 10,
         UnknownWhere::OnInternet, false},
        {"forgotten on the Internet after heard on radio", {{true, "M1X", 0}, {false, "M1X", 1}, {false, "W1B", 2}}, 10,
         std::nullopt, true},
        {"on the Internet, then on radio, then forgotten there",
         {{false, "M1X", 0}, {true, "M1X", 1}, {false, "W1B", 2}}, 10, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeardStations heard(kWindowMs, 1, 1, 1);
        for (const auto& [onRadio, callsign, ms] : c.hearings) {
            if (onRadio) heard.heardOnRadio(callsign, 0, ms);
            else heard.heardOnInternet(callsign, ms);
        }
        EXPECT_EQ(heard.whereUnknown("M1X", c.askedMs), c.unknown);
        EXPECT_EQ(heard.onInternet("M1X", c.askedMs), c.onInternet);
    }
}

}  // namespace
}  // namespace ovelsk::gateway
