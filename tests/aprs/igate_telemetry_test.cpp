// The iGate's telemetry lines: three-digit values the strictest servers take,
// and definitions within the protocol's field widths.
#include "aprs/igate_telemetry.h"

#include <gmock/gmock.h>
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

TEST(IgateTelemetry, DefinesTheChannelsInMessagesToItselfWithinTheFieldWidths) {
    const auto definitions = telemetryDefinitions("M0IGT-10");
    EXPECT_THAT(definitions, ::testing::ElementsAre(":M0IGT-10 :PARM.RxPkts,IsTx,RfTx,MsgTx,Local",
                                                    ":M0IGT-10 :UNIT.pkt/m,pkt/m,pkt/m,msg/m,calls",
                                                    ":M0IGT-10 :EQNS.0,1,0,0,1,0,0,1,0,0,1,0,0,1,0"));
    // The five analog fields may hold at most 7, 7, 6, 6 and 5 characters.
    const std::size_t widths[] = {7, 7, 6, 6, 5};
    for (const auto& definition : {definitions[0], definitions[1]}) {
        std::string_view fields = std::string_view(definition).substr(16);
        for (const std::size_t width : widths) {
            const auto field = fields.substr(0, fields.find(','));
            EXPECT_LE(field.size(), width) << definition;
            fields.remove_prefix(std::min(fields.size(), field.size() + 1));
        }
    }
}

}  // namespace
}  // namespace ovelsk::aprs
