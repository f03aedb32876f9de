#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/igate_beacon.h"

namespace ovelsk::aprs {
namespace {

// The overlay says how far the iGate delivers messages; the position is in
// degrees and minutes to hundredths, rounded, with its hemisphere.
TEST(IgateBeacon, ShowsHowTheIgateServesRadioAndWhereItIs) {
    struct Case {
        bool deliversMessages;
        std::string via;
        double latitude;
        double longitude;
        std::string report;
    };
    for (const auto& [delivers, via, latitude, longitude, report] : std::vector<Case>{
             {false, "WIDE1-1", 40.015, -105.2705, "!4000.90NR10516.23W&Ovelsk iGate"},
             {true, "", 40.015, -105.2705, "!4000.90NT10516.23W&Ovelsk iGate"},
             {true, "WIDE1-1", -33.8688, 151.2093, "!3352.13ST15112.56E&Ovelsk iGate"},
             {true, "N1DIGI", 0, 0, "!0000.00NT00000.00E&Ovelsk iGate"},
             {true, "WIDE2-2", 51.5, -0.1, "!5130.00N200006.00W&Ovelsk iGate"},
             {true, "WIDE1-1,WIDE2-1", 51.5, -0.1, "!5130.00N200006.00W&Ovelsk iGate"},
             {true, "N1DIGI,WIDE2-2", 51.5, -0.1, "!5130.00NI00006.00W&Ovelsk iGate"},
             {true, "WIDE3-3", 51.5, -0.1, "!5130.00NI00006.00W&Ovelsk iGate"},
             // 59.997 minutes round up to the next whole degree.
             {true, "", 12.99995, -7.99995, "!1300.00NT00800.00W&Ovelsk iGate"},
             {true, "", -90, 180, "!9000.00ST18000.00E&Ovelsk iGate"},
         }) {
        EXPECT_EQ(igatePositionReport(latitude, longitude, igateOverlay(delivers, via), "Ovelsk iGate"), report)
            << via << " " << latitude << " " << longitude;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
