// The gateway against a real TNC: Internet packets from a loopback APRS-IS
// server, judged by the host built from its settings, and the frames Direwolf
// was asked to transmit (to a null audio device; nothing goes on the air).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "direwolf_peer.h"
#include "standin/create_standin_host.h"
#include "started_host.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using testing::DirewolfPeer;

std::string internetLine(std::string_view header, std::string_view information) {
    return std::string(header) + ":" + std::string(information) + "\r\n";
}

std::string gated(std::string_view information) {
    return "N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:" + std::string(information);
}

// The host of a gate that transmits through the peer what the server sends,
// once both are connected; nullptr when start-up refuses.
std::unique_ptr<StandinHost> startGate(const testing::ScratchFolder& folder, std::string_view igateText,
                                       testing::LoopbackServer& aprsIs, const DirewolfPeer& peer,
                                       const testing::FakeClock& clock, const testing::LogCapture& log) {
    testing::writeFile(folder / "igate.ini", igateText);
    testing::writeFile(folder / "UI-View32.ini",
                       "[UI-View32]\nProgram Folder=" + folder.path().string() +
                           "/\nLatitude=49\nLongitude=-72\nCallsign=N0TEST\nGate To RF=on\nFeeds=aprs-is:127.0.0.1:" +
                           std::to_string(aprsIs.port()) + ", kiss:127.0.0.1:" + std::to_string(peer.port()) + "\n");
    auto host = testing::startHost(folder / "UI-View32.ini", clock);
    const std::string connected = "kiss:127.0.0.1:" + std::to_string(peer.port()) + ": connected";
    if (!host || !aprsIs.waitForClients(1) ||
        !testing::spinUntil([&] { return log.text().find(connected) != std::string::npos; })) {
        ADD_FAILURE() << "the gate did not connect to both peers:\n" << log.text();
        return nullptr;
    }
    return host;
}

TEST(DirewolfGate, TransmitsExactlyTheListedStationsAllowedPacketsAndNoMoreThanTheLimit) {
    if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
    }
    testing::ensureEventLoop();
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start({"N0CALL>APRS:>not played"}, {.playOnFirstClient = false})) << peer.error();
    testing::LoopbackServer aprsIs;
    ASSERT_TRUE(aprsIs.listen());

    testing::ScratchFolder folder;
    testing::FakeClock clock;
    testing::LogCapture log;
    const auto host = startGate(folder, "[INET_TO_RF]\r\nK0ABC-9=ALL\r\n", aprsIs, peer, clock, log);
    ASSERT_TRUE(host);
    const auto decisions = [&](std::string_view what) {
        const std::string text = log.text();
        int count = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
        return count;
    };

    aprsIs.send(0, internetLine("K0ABC-9>APRS,TCPIP*,qAC,T2TEST", "!4903.50N/07201.75W-listed") +
                       internetLine("K0ABC-9>APRS,TCPXX*,qAX,T2TEST", "!4903.50N/07201.75W-tcpxx") +
                       internetLine("K0ABC-9>APRS,NOGATE,qAC,T2TEST", "!4903.50N/07201.75W-nogate") +
                       internetLine("K0ABC-9>APRS,TCPIP*,qAC,T2TEST", "}W1XYZ>APRS,TCPIP,K0ABC-9*:>third party") +
                       internetLine("W9XYZ>APRS,TCPIP*,qAC,T2TEST", "!4903.50N/07201.75W-unlisted"));
    ASSERT_TRUE(testing::spinUntil([&] { return decisions("gate: ") == 4; })) << log.text();

    clock.advanceMinutes(5.1);
    std::string burst;
    for (int i = 0; i < 20; ++i) burst += internetLine("K0ABC-9>APRS,TCPIP*,qAC,T2TEST", ">burst " + std::to_string(i));
    aprsIs.send(0, burst);
    const auto counted = [&](std::string_view outcome) {
        for (const auto& count : host->gateDecisions().counts(gateway::GateDirection::ToRadio))
            if (count.outcome == outcome) return count.count;
        return std::uint64_t{0};
    };
    ASSERT_TRUE(testing::spinUntil([&] { return counted("rate limit") == 14; })) << log.text();
    EXPECT_EQ(decisions("rate limit 6/20"), 10) << "ten lines a minute; the rest are summed up after it";

    // Once the limits have room again, one more: when Direwolf has logged it,
    // it has logged everything sent before it over the same connection.
    clock.advanceMinutes(5.1);
    aprsIs.send(0, internetLine("K0ABC-9>APRS,TCPIP*,qAC,T2TEST", ">last"));
    ASSERT_TRUE(testing::spinUntil([&] { return peer.logHas(gated(">last")); }, std::chrono::seconds(90)))
        << ::testing::PrintToString(peer.transmitted()) << "\n" << log.text();

    EXPECT_EQ(decisions("gate: 4 more not sent: rate limit 6/20\n"), 1);

    const auto transmitted = peer.transmitted();
    std::vector<std::string> expected = {gated("!4903.50N/07201.75W-listed")};
    for (int i = 0; i < 6; ++i) expected.push_back(gated(">burst " + std::to_string(i)));
    expected.push_back(gated(">last"));
    EXPECT_EQ(transmitted, expected);
}

// Two-way messaging: a station Direwolf heard gets its Internet message, then
// the sender's position, and the retry of the message 25 s later; a station
// three digipeaters away, or one heard only on the Internet, gets nothing.
TEST(DirewolfGate, TransmitsAMessageToAStationItHeardThenTheSendersPositionAndTheRetry) {
    if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
    }
    testing::ensureEventLoop();
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start({"M1LOC-7>APRS:!4903.50N/07201.75W-", "M3FAR>APRS,DIGI1,DIGI2,DIGI3*:!4904.50N/07202.75W-"},
                           {.playOnFirstClient = false}))
        << peer.error();
    testing::LoopbackServer aprsIs;
    ASSERT_TRUE(aprsIs.listen());
    testing::ScratchFolder folder;
    testing::FakeClock clock;
    testing::LogCapture log;
    const auto host = startGate(folder, "[INET_TO_RF]\r\n", aprsIs, peer, clock, log);
    ASSERT_TRUE(host);
    int heardOnRadio = 0;
    host->bindNotifyBeaconData([&](const StationObject& station) { heardOnRadio += station.sourceNumber == 0; });
    peer.feed();
    ASSERT_TRUE(testing::spinUntil([&] { return heardOnRadio == 2; }, std::chrono::seconds(30))) << log.text();

    const std::string message = ":M1LOC-7  :Are you there?{7";
    aprsIs.send(0, internetLine("M2NET>APRS,TCPIP*,qAC,T2TEST", "!4905.50N/07203.75W-") +
                       internetLine("W1FAR>APRS,TCPIP*,qAC,T2TEST", message) +
                       internetLine("W1FAR>APRS,TCPIP*,qAC,T2TEST", ":M3FAR    :far{8") +
                       internetLine("W1FAR>APRS,TCPIP*,qAC,T2TEST", ":M2NET    :net{9") +
                       internetLine("W1FAR>APRS,TCPIP*,qAC,T2TEST", "!4210.00N/07100.00W-"));
    ASSERT_TRUE(testing::spinUntil([&] { return log.text().find("position of W1FAR") != std::string::npos; }))
        << log.text();
    clock.advanceMinutes(25.0 / 60);
    aprsIs.send(0, internetLine("W1FAR>APRS,TCPIP*,qAC,T2TEST", message));
    const auto sent = [](std::string_view information) {
        return "N0TEST>APZOVL,WIDE1-1:}W1FAR>APRS,TCPIP,N0TEST*:" + std::string(information);
    };
    ASSERT_TRUE(testing::spinUntil([&] { return peer.transmitted().size() == 3; }, std::chrono::seconds(90)))
        << ::testing::PrintToString(peer.transmitted()) << "\n" << log.text();
    EXPECT_EQ(peer.transmitted(),
              (std::vector<std::string>{sent(message), sent("!4210.00N/07100.00W-"), sent(message)}));
    EXPECT_THAT(log.text("ovelsk.gate"),
                ::testing::HasSubstr("gate: not sent message W1FAR to M3FAR: addressee heard more than 1"));
    EXPECT_EQ(log.text("ovelsk.gate").find("M2NET"), std::string::npos) << "never heard on radio: not logged";
}

// The host's own timers on the event loop with a minute passing in 0.1 s, so
// the telemetry's minutes and the query's random wait pass quickly.
class QuickTimer final : public aprs::FeedTimer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> onExpiry) override {
        timer_->start(delay / 600, std::move(onExpiry));
    }
    void stop() override { timer_->stop(); }

private:
    std::unique_ptr<aprs::FeedTimer> timer_ = aprs::makeEventLoopTimer();
};

// The operator's phone app M0IGT-5 writes to their handheld M0IGT-7, heard on
// radio: the message and the next position go out; two ?IGATE? queries heard
// on radio get one answer there; the telemetry and its definitions reach the server.
TEST(DirewolfGate, GatesTheOperatorsOwnStationsAnswersAQueryOnceAndSendsTelemetry) {
    if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
    }
    testing::ensureEventLoop();
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start({"M0IGT-7>APRS:!4903.50N/07201.75W[", "M1ASK>APRS:?IGATE?", "M2ASK>APRS,WIDE1-1:?IGATE?",
                            "M3LAST>APRS:>last"},
                           {.playOnFirstClient = false}))
        << peer.error();
    testing::LoopbackServer aprsIs;
    ASSERT_TRUE(aprsIs.listen());
    testing::ScratchFolder folder;
    testing::writeFile(folder / "igate.ini", "[INET_TO_RF]\r\n");
    testing::writeFile(folder / "UI-View32.ini",
                       "[UI-View32]\nProgram Folder=" + folder.path().string() +
                           "/\nLatitude=49\nLongitude=-72\nCallsign=M0IGT-10\nPasscode=12345\nBeacon=off\n"
                           "Gate To RF=on\nGate To Internet=on\nTelemetry=on\nFeeds=aprs-is:127.0.0.1:" +
                           std::to_string(aprsIs.port()) + ", kiss:127.0.0.1:" + std::to_string(peer.port()) + "\n");
    testing::FakeClock clock;
    testing::LogCapture log;
    StandinStartup startup;
    startup.settingsFile = folder / "UI-View32.ini";
    startup.clock = &clock;
    startup.makeTimer = [] { return std::make_unique<QuickTimer>(); };
    auto created = createStandinHost(startup);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(created)) << std::get<std::string>(created);
    auto& host = *std::get<std::unique_ptr<StandinHost>>(created);
    bool on = true;
    host.enable(on);
    ASSERT_FALSE(aprsIs.answerLogin(0, "# logresp M0IGT-10 verified, server T2TEST\r\n").empty());
    ASSERT_TRUE(aprsIs.waitForReceived(0, "M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :EQNS.")) << log.text();
    ASSERT_TRUE(aprsIs.waitForReceived(0, "M0IGT-10>APZOVL,TCPIP*:T#000,")) << log.text();

    const std::string connected = "kiss:127.0.0.1:" + std::to_string(peer.port()) + ": connected";
    ASSERT_TRUE(testing::spinUntil([&] { return log.text().find(connected) != std::string::npos; })) << log.text();
    peer.feed();
    ASSERT_TRUE(aprsIs.waitForReceived(0, "M3LAST>APRS,qAR,M0IGT-10:>last")) << log.text();
    const std::string message = ":M0IGT-7  :On my way{3";
    const std::string position = "=4904.50N/07202.75W>";
    aprsIs.send(0, internetLine("M0IGT-5>APRS,TCPIP*,qAC,T2TEST", message) +
                       internetLine("M0IGT-5>APRS,TCPIP*,qAC,T2TEST", position));
    const auto sent = [](std::string_view information) {
        return "M0IGT-10>APZOVL,WIDE1-1:}M0IGT-5>APRS,TCPIP,M0IGT-10*:" + std::string(information);
    };
    ASSERT_TRUE(testing::spinUntil([&] { return peer.logHas(sent(position)) && peer.logHas("<IGATE,"); },
                                   std::chrono::seconds(90)))
        << ::testing::PrintToString(peer.transmitted()) << "\n" << log.text();
    EXPECT_THAT(peer.transmitted(),
                ::testing::UnorderedElementsAre(sent(message), sent(position),
                                                ::testing::StartsWith("M0IGT-10>APZOVL,WIDE1-1:<IGATE,MSG_CNT=")));
    EXPECT_THAT(log.text("ovelsk.gate"), ::testing::HasSubstr("gate: not answered ?IGATE? of M2ASK on radio"));
}

}  // namespace
}  // namespace ovelsk::standin
