// Messages, position reports and digipeater hops as the gateway to radio reads them.
#include "aprs/aprs_message.h"

#include <gtest/gtest.h>

#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {
namespace {

TEST(DigipeaterHops, CountsEachCallsignUpToTheLastUsedElementWithAnAliasAfterItAsPartOfItsHop) {
    const std::pair<std::string_view, int> cases[] = {
        {"K1A>APRS:>", 0},
        {"K1A>APRS,WIDE1-1,WIDE2-1:>", 0},
        {"K1A>APRS,DIGI1*,WIDE2-1:>", 1},
        {"K1A>APRS,DIGI1,WIDE1*,WIDE2-1:>", 1},
        {"K1A>APRS,WIDE1*,WIDE2-1:>", 1},
        {"K1A>APRS,DIGI1,DIGI2*:>", 2},
        {"K1A>APRS,DIGI1,WIDE1,DIGI2,WIDE2*:>", 2},
        {"K1A>APRS,DIGI1,WIDE1,WIDE2*:>", 2},
    };
    for (const auto& [packet, hops] : cases) {
        EXPECT_EQ(digipeaterHopsUsed(splitTnc2(packet)->path), hops) << packet;
    }
}

TEST(AprsMessage, FindsTheAddresseeOfMessagesAcksAndRejectsAndNothingElse) {
    const std::tuple<std::string_view, std::string_view, std::string_view> messages[] = {
        {":M1LOC-7  :Hello{42", "M1LOC-7", "Hello{42"},
        {":W1FAR    :ack42", "W1FAR", "ack42"},
        {":W1FAR-15 :rej7", "W1FAR-15", "rej7"},
        {":BLN1     :", "BLN1", ""},
    };
    for (const auto& [information, addressee, text] : messages) {
        const auto message = parseAprsMessage(information);
        ASSERT_TRUE(message) << information;
        EXPECT_EQ(message->addressee, addressee);
        EXPECT_EQ(message->text, text);
    }
    for (const std::string_view notAMessage : {":M1LOC-7 :short", ":         :nobody", "!4903.50N/07201.75W-", ":"}) {
        EXPECT_FALSE(parseAprsMessage(notAMessage)) << notAMessage;
    }
    EXPECT_TRUE(isBroadcastAddressee("BLNA"));
    EXPECT_TRUE(isBroadcastAddressee("NWS-WARN"));
    EXPECT_FALSE(isBroadcastAddressee("M1LOC-7"));
    EXPECT_TRUE(isPositionReport("`c_Ul!3>/]"));
    EXPECT_FALSE(isPositionReport(";OBJECT   *111111z4903.50N/07201.75W-"));
}

}  // namespace
}  // namespace ovelsk::aprs
