// The gateway's decision on each Internet packet, what it transmits and what it
// logs, on an injected clock.
#include "gateway/internet_to_rf_gate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "feeds/replay_fake_timer.h"
#include "gateway/gate_fakes.h"
#include "host/atomic_file.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kListed =
    "[INET_TO_RF]\r\n;Ovelsk IGATE Section - Start\r\nK0ABC-9=ALL\r\nN0TEST-5=ALL\r\nN0TEST=ALL\r\n"
    ";Ovelsk IGATE Section - End\r\nW1AW=ALL\r\nK0EXC=ALL\r\n  [EXCLUDE]\r\nK0EXC=ALL\r\nW1BAD=ALL\r\nK0IND=ALL\r\n";
constexpr std::string_view kPosition = "!4903.50N/07201.75W-";

class GateTest : public ::testing::Test {
protected:
    GateTest() { testing::writeFile(folder_ / "igate.ini", kListed); }

    InternetToRfGate& gate(GateMode mode = GateMode::On, int perMinute = 6, int perFiveMinutes = 20,
                           int delaySeconds = 0) {
        GateConfig config;
        config.delaySeconds = delaySeconds;
        config.mode = mode;
        config.callsign = "N0TEST";
        config.perMinute = perMinute;
        config.perFiveMinutes = perFiveMinutes;
        config.port = 3;
        auto timer = std::make_unique<aprs::FakeTimer>();
        delayTimer_ = timer.get();
        auto queryTimer = std::make_unique<aprs::FakeTimer>();
        queryTimer_ = queryTimer.get();
        gate_ = std::make_unique<InternetToRfGate>(config, folder_ / "igate.ini", clock_, std::move(timer),
                                                   std::move(queryTimer));
        gate_->setTransmitter(&tnc_);
        gate_->setUplink(&server_);
        return *gate_;
    }

    // The log lines written since the last call.
    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        std::istringstream in(log_.text("ovelsk.gate"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        log_.clear();
        return lines;
    }

    void advanceSeconds(double seconds) { clock_.advanceMinutes(seconds / 60.0); }

    testing::ScratchFolder folder_;
    testing::FakeClock clock_;
    testing::LogCapture log_;
    RecordingTransmitter tnc_;
    RecordingUplink server_;
    aprs::FakeTimer* delayTimer_ = nullptr;
    aprs::FakeTimer* queryTimer_ = nullptr;
    std::unique_ptr<InternetToRfGate> gate_;
};

TEST_F(GateTest, JudgesEachPacketByTheRulesInOrderAndLogsOnlyListedStations) {
    struct Case {
        std::string packet;
        GateOutcome outcome;
        std::string logged;  // the line, or "" for none
    };
    const std::string longInfo(256 - std::string_view("}K0ABC-9>APRS,TCPIP,N0TEST*:").size() + 1, 'x');
    const std::vector<Case> cases = {
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-", GateOutcome::Sent,
         "gate: sent K0ABC-9>APRS (1 of 20 this minute)"},
        {"W1AW>APRS,TCPIP*,qAC,T2TEST:>hand-written line", GateOutcome::Sent,
         "gate: sent W1AW>APRS (2 of 20 this minute)"},
        {"K0ABC-9>APRS,TCPXX*,qAX,T2TEST:>a", GateOutcome::NoGatePath, "gate: not sent K0ABC-9: path has TCPXX"},
        {"K0ABC-9>APRS,NOGATE,qAC,T2TEST:>b", GateOutcome::NoGatePath, "gate: not sent K0ABC-9: path has NOGATE"},
        {"K0ABC-9>APRS,RFONLY*,qAC,T2TEST:>c", GateOutcome::NoGatePath, "gate: not sent K0ABC-9: path has RFONLY"},
        {"K0ABC-9>APRS,TCPIP*,qAX,T2TEST:>d", GateOutcome::NoGatePath, "gate: not sent K0ABC-9: path has qAX"},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:}W1XYZ>APRS,TCPIP,K0ABC-9*:>e", GateOutcome::AlreadyThirdParty,
         "gate: not sent K0ABC-9: already third-party"},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:?APRS?", GateOutcome::Query, "gate: not sent K0ABC-9: a query"},
        // Our own callsign is the exact one; the operator's other SSIDs are stations like any other.
        {"N0TEST>APRS,TCPIP*,qAC,T2TEST:>f", GateOutcome::OwnCallsign, "gate: not sent N0TEST: our own callsign"},
        {"N0TEST-5>APRS,TCPIP*,qAC,T2TEST:>f", GateOutcome::Sent, "gate: sent N0TEST-5>APRS (3 of 20 this minute)"},
        {"K0ABC-9>APRS,TC PIP,qAC:>g", GateOutcome::BadHeader, "gate: not sent K0ABC-9: malformed header"},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + longInfo, GateOutcome::TooLong,
         "gate: not sent K0ABC-9: frame too long (257 bytes of information, at most 256)"},
        // Listed means the exact callsign: another SSID, no SSID or other letter case is someone else.
        {"K0ABC-8>APRS,TCPIP*,qAC,T2TEST:>h", GateOutcome::NotListed, ""},
        {"K0ABC>APRS,TCPIP*,qAC,T2TEST:>i", GateOutcome::NotListed, ""},
        {"k0abc-9>APRS,TCPIP*,qAC,T2TEST:>j", GateOutcome::NotListed, ""},
        {"W9XYZ>APRS,TCPIP*,qAC,T2TEST:>k", GateOutcome::NotListed, ""},
        {"no header at all", GateOutcome::NotListed, ""},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:", GateOutcome::EmptyInformation,
         "gate: not sent K0ABC-9: empty information"},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:\rrest", GateOutcome::EmptyInformation,
         "gate: not sent K0ABC-9: empty information"},
        {std::string("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>n\0ul", 35), GateOutcome::NulInInformation,
         "gate: not sent K0ABC-9: information holds NUL"},
        {"K0EXC>APRS,TCPIP*,qAC,T2TEST:>listed and excluded", GateOutcome::Excluded,
         "gate: not sent K0EXC: excluded in igate.ini"},
        // An indented header ends the section before it.
        {"K0IND>APRS,TCPIP*,qAC,T2TEST:>x", GateOutcome::NotListed, ""},
        // Near misses of the path words are no reason to hold a packet back.
        {"K0ABC-9>APRS,TCPXY*,qAR,T2TEST:>l", GateOutcome::Sent, "gate: sent K0ABC-9>APRS (4 of 20 this minute)"},
        // What follows a CR is not sent; the same text with trailing blanks is the same packet.
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>cut\r>here", GateOutcome::Sent,
         "gate: sent K0ABC-9>APRS (5 of 20 this minute)"},
        {"K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>cut  ", GateOutcome::Duplicate,
         "gate: not sent K0ABC-9: duplicate within 60 s"},
    };
    gate(GateMode::On, 20, 80);
    for (const auto& [packet, outcome, logged] : cases) {
        SCOPED_TRACE(packet);
        EXPECT_EQ(gate_->judgeInternetPacket(packet, false), outcome);
        EXPECT_EQ(logLines(), logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{logged});
    }
    EXPECT_THAT(tnc_.sent, ElementsAre("N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:!4903.50N/07201.75W-",
                                       "N0TEST>APZOVL,WIDE1-1:}W1AW>APRS,TCPIP,N0TEST*:>hand-written line",
                                       "N0TEST>APZOVL,WIDE1-1:}N0TEST-5>APRS,TCPIP,N0TEST*:>f",
                                       "N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:>l",
                                       "N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:>cut"));
    EXPECT_THAT(tnc_.ports, ElementsAre(3, 3, 3, 3, 3));
}

TEST_F(GateTest, APacketSentOrHeardOnRadioIsADuplicateForAMinute) {
    gate();
    const std::string packet = "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + std::string(kPosition);
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Sent);
    advanceSeconds(59);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAS,OTHER:" + std::string(kPosition), false),
              GateOutcome::Duplicate);
    EXPECT_THAT(logLines(), ElementsAre("gate: sent K0ABC-9>APRS (1 of 6 this minute)",
                                        "gate: not sent K0ABC-9: duplicate within 60 s"));
    advanceSeconds(2);
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Sent);

    // Heard on radio, directly or inside another gate's third-party frame.
    gate_->heardOnRadio("K0ABC-9>APRS,WIDE1-1:>direct");
    gate_->heardOnRadio("N1GATE>APRS,WIDE2-1:}K0ABC-9>APRS,TCPIP,N1GATE*:>gated elsewhere");
    advanceSeconds(59);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>direct", false), GateOutcome::Duplicate);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>gated elsewhere", false),
              GateOutcome::Duplicate);
    advanceSeconds(2);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>direct", false), GateOutcome::Sent);
}

TEST_F(GateTest, KeepsToBothRateLimitsOverSlidingWindowsAndDropsWhatIsOver) {
    gate();
    int next = 0;
    const auto judgeNew = [&] {
        return gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>" + std::to_string(next++), false);
    };
    const auto sendUntilLimited = [&] {
        int sent = 0;
        while (judgeNew() == GateOutcome::Sent) ++sent;
        return sent;
    };
    // t = 0: six, then the minute is full; still full at 59 s, free again at 61 s.
    EXPECT_EQ(sendUntilLimited(), 6);
    EXPECT_EQ(logLines().back(), "gate: not sent K0ABC-9: rate limit 6/20");
    advanceSeconds(59);
    EXPECT_EQ(judgeNew(), GateOutcome::RateLimited);
    advanceSeconds(2);
    EXPECT_EQ(sendUntilLimited(), 6);  // t = 61 s
    advanceSeconds(61);
    EXPECT_EQ(sendUntilLimited(), 6);  // t = 122 s
    advanceSeconds(61);
    EXPECT_EQ(sendUntilLimited(), 2);  // t = 183 s: 20 in five minutes
    advanceSeconds(116);
    EXPECT_EQ(judgeNew(), GateOutcome::RateLimited);  // t = 299 s: the minute is free, the first six still count
    advanceSeconds(2);
    EXPECT_EQ(sendUntilLimited(), 6);  // t = 301 s: they have left the five minutes
    EXPECT_EQ(tnc_.sent.size(), 26u) << "nothing over the limit was queued";
}

// An unchanged beacon is the usual case; a clock set back an hour (a wrong
// hardware clock corrected) must not hold it, or the full limits, for that hour.
TEST_F(GateTest, AClockSetBackALittleStillCountsTheHistoryOneSetBackFarForgetsIt) {
    gate();
    const std::string packet = "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + std::string(kPosition);
    int next = 0;
    const auto sendUntilLimited = [&] {
        int sent = 0;
        while (gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>" + std::to_string(next++), false) ==
               GateOutcome::Sent)
            ++sent;
        return sent;
    };
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Sent);
    EXPECT_EQ(sendUntilLimited(), 5);
    advanceSeconds(-30);
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Duplicate);
    EXPECT_EQ(sendUntilLimited(), 0);
    advanceSeconds(-3600);
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Sent);
    EXPECT_EQ(sendUntilLimited(), 5);
}

TEST_F(GateTest, ARewriteOutsideABeaconEventIsSeenBeforeAnythingGoesOut) {
    gate();
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>a", false), GateOutcome::Sent);
    // Ovelsk's minute timer expires the station: no beacon event, no time passed.
    ASSERT_FALSE(replaceFileAtomically(folder_ / "igate.ini", folder_ / "igate.tmp", "[INET_TO_RF]\r\nW1AW=ALL\r\n"));
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>b", false), GateOutcome::NotListed);
    EXPECT_EQ(tnc_.sent.size(), 1u);
}

TEST_F(GateTest, WithoutTheTncAPacketIsDroppedAndNotCountedAsSent) {
    gate();
    tnc_.connected = false;
    const std::string packet = "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>x";
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::NotConnected);
    EXPECT_THAT(logLines(), ElementsAre("gate: not sent K0ABC-9: kiss:tnc:8001 is not connected"));
    tnc_.connected = true;
    EXPECT_THAT(tnc_.sent, IsEmpty());
    EXPECT_EQ(gate_->judgeInternetPacket(packet, false), GateOutcome::Sent);
    EXPECT_THAT(logLines(), ElementsAre("gate: sent K0ABC-9>APRS (1 of 6 this minute)"));
}

TEST_F(GateTest, LogModeAndRecordedTrafficDecideAlikeButNeverTransmit) {
    for (const bool logMode : {true, false}) {
        SCOPED_TRACE(logMode);
        gate(logMode ? GateMode::Log : GateMode::On);
        const bool recorded = !logMode;
        EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>a", recorded), GateOutcome::WouldSend);
        EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>a", recorded), GateOutcome::Duplicate);
        EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,NOGATE:>b", recorded), GateOutcome::NoGatePath);
        EXPECT_THAT(logLines(), ElementsAre("gate: would send K0ABC-9>APRS (1 of 6 this minute)",
                                            "gate: not sent K0ABC-9: duplicate within 60 s",
                                            "gate: not sent K0ABC-9: path has NOGATE"));
    }
    EXPECT_THAT(tnc_.sent, IsEmpty());
}

constexpr std::string_view kMessage = "W1FAR>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :Hello{42";

TEST_F(GateTest, PassesAMessageOnlyToAStationHeardNearbyOnRadioAndNotOnTheInternet) {
    struct Case {
        std::string name;
        std::vector<std::string> heardOnRadio;
        std::vector<std::string> fromInternet;  // before the message
        double minutesLater;
        std::string message;
        GateOutcome outcome;
        std::string logged;  // "" for none
    };
    const std::string local = "M1LOC-7>APRS:>here";
    const std::string sent = "gate: sent message W1FAR to M1LOC-7";
    const std::string notSent = "gate: not sent message W1FAR to M1LOC-7: ";
    const std::vector<Case> cases = {
        {"heard direct", {local}, {}, 0, std::string(kMessage), GateOutcome::Sent, sent},
        {"one digipeater", {"M1LOC-7>APRS,DIGI1,WIDE1*,WIDE2-1:>x"}, {}, 0, std::string(kMessage), GateOutcome::Sent,
         sent},
        {"an ack, letter case aside", {local}, {}, 0, "W1FAR>APRS,TCPIP*,qAC,T2TEST::m1loc-7  :ack42",
         GateOutcome::Sent, "gate: sent message W1FAR to m1loc-7"},
        {"two digipeaters", {"M1LOC-7>APRS,DIGI1,DIGI2*:>x"}, {}, 0, std::string(kMessage),
         GateOutcome::AddresseeFarAway, notSent + "addressee heard more than 1 digipeater hops away"},
        {"three hours ago", {local}, {}, 181, std::string(kMessage), GateOutcome::NotListed, ""},
        {"never heard", {}, {}, 0, std::string(kMessage), GateOutcome::NotListed, ""},
        {"heard only in NOGATE packets", {"M1LOC-7>APRS,NOGATE:>x"}, {}, 0, std::string(kMessage),
         GateOutcome::NotListed, ""},
        {"a bulletin", {"BLN1>APRS:>x"}, {}, 0, "W1FAR>APRS,TCPIP*,qAC,T2TEST::BLN1     :news", GateOutcome::NotListed,
         ""},
        {"addressee on the Internet too", {local}, {"M1LOC-7>APRS,TCPIP*,qAC,T2TEST:>x"}, 0, std::string(kMessage),
         GateOutcome::AddresseeOnInternet, notSent + "addressee heard on the Internet"},
        {"addressee is an iGate", {"M1LOC-7>APRS,WIDE1-1:}W1X>APRS,TCPIP,M1LOC-7*:>x"}, {}, 0,
         std::string(kMessage), GateOutcome::AddresseeOnInternet, notSent + "addressee heard on the Internet"},
        {"sender on radio", {local, "W1FAR>APRS,DIGI1,DIGI2,DIGI3*:>x"}, {}, 0, std::string(kMessage),
         GateOutcome::SenderOnRadio, notSent + "sender heard on radio"},
        {"sender path TCPXX", {local}, {}, 0, "W1FAR>APRS,TCPXX*,qAX,T2TEST::M1LOC-7  :x", GateOutcome::NoGatePath,
         notSent + "path has TCPXX"},
        {"our own callsign", {local}, {}, 0, "n0test-0>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :x",
         GateOutcome::OwnCallsign, "gate: not sent message n0test-0 to M1LOC-7: our own callsign"},
        {"from and to the operator's other SSIDs", {"N0TEST-7>APRS:>here"}, {}, 0,
         "N0TEST-5>APRS,TCPIP*,qAC,T2TEST::N0TEST-7 :x", GateOutcome::Sent, "gate: sent message N0TEST-5 to N0TEST-7"},
        {"text holds NUL", {local}, {}, 0, std::string("W1FAR>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :a\0b", 43),
         GateOutcome::NulInInformation, notSent + "information holds NUL"},
        {"too long", {local}, {}, 0, "W1FAR>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :" + std::string(240, 'x'),
         GateOutcome::TooLong, notSent + "frame too long (277 bytes of information, at most 256)"},
        {"invalid sender", {local}, {}, 0, "W1FAR-1234>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :x", GateOutcome::BadHeader,
         "gate: not sent message W1FAR-1234 to M1LOC-7: malformed header"},
        {"excluded sender", {local}, {}, 0, "W1BAD>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :x", GateOutcome::Excluded,
         "gate: not sent message W1BAD to M1LOC-7: excluded in igate.ini"},
        {"another iGate sent it", {local, "N1GATE>APZOVL:}W1FAR>APRS,TCPIP,N1GATE*::M1LOC-7  :Hello{42"}, {}, 0,
         std::string(kMessage), GateOutcome::Duplicate, notSent + "another iGate sent it within 60 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gate();
        for (const auto& packet : c.heardOnRadio) gate_->heardOnRadio(packet);
        for (const auto& packet : c.fromInternet) gate_->judgeInternetPacket(packet, false);
        clock_.advanceMinutes(c.minutesLater);
        logLines();
        EXPECT_EQ(gate_->judgeInternetPacket(c.message, false), c.outcome);
        EXPECT_EQ(logLines(), c.logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.logged});
    }
}

TEST_F(GateTest, RetriesAMessageAfterTenSecondsThenSendsTheSendersNextPositionOnceUnderItsOwnLimit) {
    gate(GateMode::On, 1, 1);
    gate_->heardOnRadio("M1LOC-7>APRS:>here");
    // A listed station's packet fills the ordinary limit; messages have their own.
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>a", false), GateOutcome::Sent);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>b", false), GateOutcome::RateLimited);
    EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::Sent);
    advanceSeconds(5);
    EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::Duplicate);
    advanceSeconds(20);
    // Our own frame repeated by a digipeater is no other iGate's.
    gate_->heardOnRadio("N0TEST>APZOVL,DIGI1*:}W1FAR>APRS,TCPIP,N0TEST*::M1LOC-7  :Hello{42");
    EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::Sent);
    logLines();
    EXPECT_EQ(gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST:>a status is no position", false),
              GateOutcome::NotListed);
    EXPECT_EQ(gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00010.00W-", false),
              GateOutcome::Sent);
    EXPECT_EQ(gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST:!5130.01N/00010.00W-", false),
              GateOutcome::NotListed);
    advanceSeconds(11);
    EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::RateLimited);
    EXPECT_THAT(logLines(), ElementsAre("gate: sent position of W1FAR after its message",
                                        "gate: not sent message W1FAR to M1LOC-7: message rate limit 3/3"));
    EXPECT_EQ(tnc_.sent.back(), "N0TEST>APZOVL,WIDE1-1:}W1FAR>APRS,TCPIP,N0TEST*:!5130.00N/00010.00W-");
    EXPECT_EQ(tnc_.sent.size(), 4u);
}

TEST_F(GateTest, AHeldFrameIsDroppedWhenAnotherIgateSendsItDuringTheDelay) {
    gate(GateMode::On, 6, 20, 5);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>first", false), GateOutcome::Held);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>first", false), GateOutcome::Duplicate);
    advanceSeconds(2);
    EXPECT_EQ(gate_->judgeInternetPacket("W1AW>APRS,TCPIP*,qAC,T2TEST:>second", false), GateOutcome::Held);
    gate_->heardOnRadio("N1GATE>APRS,WIDE1-1:}K0ABC-9>APRS,TCPIP,N1GATE*:>first");
    advanceSeconds(3);
    ASSERT_EQ(delayTimer_->pending.size(), 1u);
    EXPECT_EQ(delayTimer_->runNext(), std::chrono::seconds(5));
    EXPECT_THAT(tnc_.sent, IsEmpty());
    advanceSeconds(2);
    EXPECT_EQ(delayTimer_->runNext(), std::chrono::seconds(2));
    EXPECT_THAT(tnc_.sent, ElementsAre("N0TEST>APZOVL,WIDE1-1:}W1AW>APRS,TCPIP,N0TEST*:>second"));
    EXPECT_THAT(logLines(), ElementsAre("gate: not sent K0ABC-9: duplicate within 60 s",
                                        "gate: not sent K0ABC-9: heard on radio while held 5 s",
                                        "gate: sent W1AW>APRS after 5 s"));
}

TEST_F(GateTest, AFloodOfOneDecisionIsTenLinesAMinuteAndOneThatCountsTheRestWhileEveryDecisionIsReported) {
    gate(GateMode::On, 1, 1);
    std::size_t reported = 0;
    gate_->setDecisionReport([&](std::string_view, const std::string&) { ++reported; });
    gate_->heardOnRadio("M1LOC-7>APRS:>here");
    for (int i = 0; i < 500; ++i)
        gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :Hello " + std::to_string(i), false);
    EXPECT_EQ(reported, 500u);
    auto lines = logLines();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines.back(), "gate: not sent message W1FAR to M1LOC-7: message rate limit 3/3");
    advanceSeconds(60);
    gate_->heardOnRadio("M1LOC-7>APRS:>still here");
    EXPECT_THAT(logLines(), ElementsAre("gate: 487 more not sent: message rate limit 3/3"));
}

TEST_F(GateTest, ARadioStationAFullTableForgotIsLoggedAndAMessageToItIsNotJudged) {
    gate();
    gate_->heardOnRadio("M1LOC-7>APRS:>here");
    clock_.advanceMinutes(5);
    for (std::size_t i = 0; i < HeardStations::kMostOnRadio; ++i)
        gate_->heardOnRadio("M" + std::to_string(100000 + i) + ">APRS:>x");
    EXPECT_EQ(log_.messages().back().type, QtWarningMsg);
    EXPECT_THAT(logLines(), ElementsAre("gate: forgot M1LOC-7, heard on radio 5 minutes ago: the table of stations "
                                        "heard on radio is full (50,000)"));
    EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::AddresseeNotJudged);
    EXPECT_THAT(logLines(), ElementsAre("gate: not sent message W1FAR to M1LOC-7: cannot tell whether the addressee "
                                        "was heard on radio: the table of stations heard there was full (50,000) and "
                                        "forgot some heard in the last 180 minutes"));
    EXPECT_EQ(gate_->heardStations().tally().forgottenOnRadio, 1u);
}

TEST_F(GateTest, TheCourtesyPositionIsAnyPositionReportAMessagingStationSends) {
    for (const std::string position : {"=5130.00N/00010.00W-", "@092345z5130.00N/00010.00W-"}) {
        SCOPED_TRACE(position);
        gate();
        gate_->heardOnRadio("M1LOC-7>APRS:>here");
        EXPECT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::Sent);
        EXPECT_EQ(gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST:" + position, false), GateOutcome::Sent);
        EXPECT_EQ(tnc_.sent.back(), "N0TEST>APZOVL,WIDE1-1:}W1FAR>APRS,TCPIP,N0TEST*:" + position);
    }
}

TEST_F(GateTest, AHeldFrameCountsAgainstTheLimitWhileItWaits) {
    gate(GateMode::On, 1, 1, 5);
    EXPECT_EQ(gate_->judgeInternetPacket("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>first", false), GateOutcome::Held);
    EXPECT_EQ(gate_->judgeInternetPacket("W1AW>APRS,TCPIP*,qAC,T2TEST:>second", false), GateOutcome::RateLimited);
    EXPECT_THAT(logLines(), ElementsAre("gate: not sent W1AW: rate limit 1/1"));
}

// ?IGATE? heard on radio is answered there after a random wait, once in 5
// minutes; the answer counts the messages sent and the stations they may reach.
TEST_F(GateTest, AnswersAnIgateQueryHeardOnRadioOnRadioAfterARandomWaitOnceInFiveMinutes) {
    gate();
    gate_->heardOnRadio("M1LOC-7>APRS,WIDE1-1*:>here");
    ASSERT_EQ(gate_->judgeInternetPacket(kMessage, false), GateOutcome::Sent);
    gate_->heardOnRadio("M1LOC-7>APRS,DIGI1*:?IGATE?");
    ASSERT_EQ(queryTimer_->pending.size(), 1u);
    EXPECT_LE(queryTimer_->pending.front().delay, std::chrono::seconds(30));
    gate_->heardOnRadio("M2LOC>APRS:?IGATE?");
    advanceSeconds(30);
    queryTimer_->runNext();
    advanceSeconds(240);
    gate_->heardOnRadio("M2LOC>APRS:?IGATE?");
    EXPECT_THAT(queryTimer_->pending, IsEmpty());
    const std::string capabilities = "<IGATE,MSG_CNT=1,LOC_CNT=2";
    EXPECT_THAT(logLines(), ElementsAre("gate: sent message W1FAR to M1LOC-7",
                                        "gate: not answered ?IGATE? of M2LOC on radio: an answer is already waiting",
                                        "gate: answered ?IGATE? of M1LOC-7 on radio: " + capabilities,
                                        "gate: not answered ?IGATE? of M2LOC on radio: answered on radio within 5 min"));
    EXPECT_EQ(tnc_.sent.back(), "N0TEST>APZOVL,WIDE1-1:" + capabilities);
    advanceSeconds(61);
    gate_->heardOnRadio("M2LOC>APRS:?IGATE?");
    EXPECT_EQ(queryTimer_->pending.size(), 1u);
}

// From APRS-IS, a query is a message to our own callsign: answered there to
// the asker, a numbered one acked; once in 5 minutes, and only on a verified login.
TEST_F(GateTest, AnswersAnIgateQueryMessagedFromTheInternetToTheAskerThere) {
    gate();
    const std::string query = "W1FAR>APRS,TCPIP*,qAC,T2TEST::n0test-0 :?IGATE?{12";
    server_.verified = false;
    EXPECT_EQ(gate_->judgeInternetPacket(query, false), GateOutcome::QueryNotAnswered);
    server_.verified = true;
    EXPECT_EQ(gate_->judgeInternetPacket(query, false), GateOutcome::QueryAnswered);
    advanceSeconds(299);
    EXPECT_EQ(gate_->judgeInternetPacket("W2ASK>APRS,TCPIP*,qAC,T2TEST::N0TEST   :?IGATE?", false),
              GateOutcome::QueryNotAnswered);
    EXPECT_EQ(gate_->judgeInternetPacket("W1FAR>APRS,TCPIP*,qAC,T2TEST::N0TEST-5 :?IGATE?", false),
              GateOutcome::NotListed);
    EXPECT_THAT(server_.lines, ElementsAre("N0TEST>APZOVL,TCPIP*::W1FAR    :ack12",
                                           "N0TEST>APZOVL,TCPIP*::W1FAR    :<IGATE,MSG_CNT=0,LOC_CNT=0"));
    EXPECT_THAT(logLines(),
                ElementsAre("gate: not answered ?IGATE? of W1FAR on APRS-IS: the APRS-IS login is not verified",
                            "gate: answered ?IGATE? of W1FAR on APRS-IS: <IGATE,MSG_CNT=0,LOC_CNT=0",
                            "gate: not answered ?IGATE? of W2ASK on APRS-IS: answered on APRS-IS within 5 min"));
}

}  // namespace
}  // namespace ovelsk::gateway
