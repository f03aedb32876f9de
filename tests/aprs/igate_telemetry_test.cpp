// The iGate's telemetry report: three-digit values the strictest servers take.
#include "aprs/igate_telemetry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ovelsk::aprs {
namespace {

TEST(IgateTelemetry, ReportsRoundedValuesHeldWithinThreeDigitsAndASequenceThatWraps) {
    struct Case {
        int sequence;
        TelemetryValues values;
        std::string report;
    };
    for (const auto& [sequence, values, report] : std::vector<Case>{
             {0, {0, 0, 0, 0, 0}, "T#000,000,000,000,000,000,00000000"},
             {42, {12.4, 11.5, 0.49, 255, 3}, "T#042,012,012,000,255,003,00000000"},
             {999, {255.4, 1000, -1, NAN, 7}, "T#999,255,255,000,000,007,00000000"},
             {1000, {1, 2, 3, 4, 5}, "T#000,001,002,003,004,005,00000000"},
         }) {
        EXPECT_EQ(telemetryReport(sequence, values), report) << sequence;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
