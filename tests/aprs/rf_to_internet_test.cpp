#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/rf_to_internet.h"

namespace ovelsk::aprs {
namespace {

using namespace std::string_literals;

// Each packet heard on radio, and the line the iGate N0CALL-10 sends for it or
// why it sends none; a receive-only iGate says so with qAO.
TEST(RadioToInternetRules, SendsWhatWasHeardWithQarAndRefusesWhatMustStayOnRadio) {
    struct Case {
        std::string heard;
        std::string expected;  // the line, or "not sent: REASON"
        IgateKind kind = IgateKind::TwoWay;
    };
    const std::vector<Case> cases = {
        {"N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-direct",
         "N0CALL-9>APRS,WIDE1-1,WIDE2-1,qAR,N0CALL-10:!4903.50N/07201.75W-direct"},
        {"N0CALL-8>APRS,N1DIGI,WIDE1*,WIDE2-1:>digipeated", "N0CALL-8>APRS,N1DIGI,WIDE1*,WIDE2-1,qAR,N0CALL-10:>digipeated"},
        {"N0CALL>APRS::W1AW     :hi?{1", "N0CALL>APRS,qAR,N0CALL-10::W1AW     :hi?{1"},
        {std::string("N0CALL>TYPS5P:`dYg\x1c\x1cO>/ \xC0\xDB", 24),
         std::string("N0CALL>TYPS5P,qAR,N0CALL-10:`dYg\x1c\x1cO>/ \xC0\xDB", 38)},
        {"N1GATE>APRS,WIDE2-1:}W1ABC-5>APRS,WIDE1-1*:>inner", "W1ABC-5>APRS,WIDE1-1*,qAR,N0CALL-10:>inner"},
        {"N1GATE>APRS:}W1ABC>APRS:}K1XYZ>APRS:>two deep", "K1XYZ>APRS,qAR,N0CALL-10:>two deep"},
        {"N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-",
         "not sent: came from the Internet (TCPIP in its path)"},
        {"N1GATE>APRS:}N0CALL>APRS,TCPXX*,N1GATE*:>x", "not sent: came from the Internet (TCPXX in its path)"},
        {"N1GATE-10>APDW16,WIDE1-1:}W1ABC-5>APRS,qAR,N1GATE-10:=4903.50N/07201.75W-",
         "not sent: came from the Internet (qAR in its path)"},
        {"N0CALL>APRS,TCPIP*:>x", "not sent: path holds TCPIP"},
        {"N0CALL>APRS,WIDE1-1,TCPXX:>x", "not sent: path holds TCPXX"},
        {"N0CALL>APRS,NOGATE:>x", "not sent: path holds NOGATE"},
        {"N0CALL>APRS,RFONLY*:>x", "not sent: path holds RFONLY"},
        {"N1GATE>APRS:}N0CALL>APRS,NOGATE:>x", "not sent: path holds NOGATE"},
        {"N0CALL>APRS,NOGATEX,XRFONLY:>near misses", "N0CALL>APRS,NOGATEX,XRFONLY,qAR,N0CALL-10:>near misses"},
        {"N0CALL>APRS:?APRS?", "not sent: generic query"},
        {"N1GATE>APRS:}N0CALL>APRS:?IGATE?", "not sent: generic query"},
        {"N0CALL-9>APRS:>heard", "N0CALL-9>APRS,qAO,N0CALL-10:>heard", IgateKind::ReceiveOnly},
        {"N0CALL>APRS:>tracker text\r", "N0CALL>APRS,qAR,N0CALL-10:>tracker text"},
        {"N0CALL>APRS:>line\nbreak\r\n", "N0CALL>APRS,qAR,N0CALL-10:>line"},
        {"N0CALL>APRS:>nul\0 kept\r"s, "N0CALL>APRS,qAR,N0CALL-10:>nul\0 kept"s},
        {"N0CALL>APRS:\r>after a CR", "not sent: no information before its first CR or LF"},
        {"N0CALL>APRS:", "not sent: no information before its first CR or LF"},
        {"N1GATE>APRS:}-->APRS:>x", "not sent: malformed header"},
        {"N1GATE>APRS:}W1ABC>-:>x", "not sent: malformed header"},
        {"N1GATE>APRS:}no header", "not sent: malformed header"},
        {"N1GATE>APRS:}W1 ABC>APRS:>x", "not sent: malformed header"},
    };
    for (const auto& [heard, expected, kind] : cases) {
        const RadioToInternet decision = gateToInternet(heard, "N0CALL-10", kind);
        const std::string got =
            decision.line ? *decision.line : "not sent: " + notGatedText(decision.reason, decision.word);
        EXPECT_EQ(got, expected) << heard;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
