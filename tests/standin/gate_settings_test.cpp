// The gateway's settings as start-up reads and checks them.
#include "gateway/gate_config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "standin/host_config.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kLiveFeeds = "Feeds=aprs-is:rotate.aprs2.net, kiss:localhost\n";

class GateSettingsTest : public ::testing::Test {
protected:
    std::variant<HostConfig, std::string> read(std::string_view lines) {
        testing::writeFile(settingsFile_, "[UI-View32]\nLatitude=40\nLongitude=-105\n" + std::string(lines));
        HostSettings settings(settingsFile_);
        EXPECT_FALSE(settings.load());
        return readHostConfig(settings);
    }

    testing::ScratchFolder folder_;
    std::filesystem::path settingsFile_ = folder_ / "UI-View32.ini";
};

TEST_F(GateSettingsTest, ReadsTheGateKeysWithTheirDefaults) {
    const auto defaults = read("");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(defaults));
    const gateway::GateConfig& off = std::get<HostConfig>(defaults).gate;
    EXPECT_EQ(off.mode, gateway::GateMode::Off);
    EXPECT_EQ(off.via, "WIDE1-1");
    EXPECT_EQ(off.perMinute, 6);
    EXPECT_EQ(off.perFiveMinutes, 20);
    EXPECT_EQ(off.port, 0);
    EXPECT_FALSE(off.toInternet);
    ASSERT_TRUE(off.messages);
    EXPECT_EQ(off.messages->minutes, 180);
    EXPECT_EQ(off.messages->hops, 1);
    EXPECT_EQ(off.delaySeconds, 0);
    EXPECT_FALSE(off.telemetry) << "no upgraded station starts sending telemetry unasked";

    const auto set = read(std::string(kLiveFeeds) +
                          "Callsign=K0ABC-0\nGate To RF=ON\nGate Via=\nGate Limit=20/80\nGate Port=15\n"
                          "Gate Messages=OFF\nGate Delay=10\nTelemetry=on\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(set)) << std::get<std::string>(set);
    const gateway::GateConfig& on = std::get<HostConfig>(set).gate;
    EXPECT_EQ(on.mode, gateway::GateMode::On);
    EXPECT_EQ(on.callsign, "K0ABC") << "SSID 0 is the plain callsign";
    EXPECT_EQ(on.via, "") << "an empty Gate Via means no digipeater path";
    EXPECT_EQ(on.perMinute, 20);
    EXPECT_EQ(on.perFiveMinutes, 80);
    EXPECT_EQ(on.port, 15);
    EXPECT_FALSE(on.messages);
    EXPECT_EQ(on.delaySeconds, 10);
    EXPECT_TRUE(on.telemetry);

    const auto hilly = read("Gate Via=WIDE1-1, WIDE2-1\nGate Messages=60/2\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(hilly)) << std::get<std::string>(hilly);
    EXPECT_EQ(std::get<HostConfig>(hilly).gate.via, "WIDE1-1,WIDE2-1");
    const auto twoHops = read("Gate Via=WIDE2-2\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(twoHops)) << std::get<std::string>(twoHops);
    EXPECT_EQ(std::get<HostConfig>(hilly).gate.messages->hops, 2);

    const auto serial = read("Feeds=aprs-is:rotate.aprs2.net, kiss-serial:/dev/ttyUSB0\nCallsign=K0ABC-10\n"
                             "Gate To RF=on\nGate To Internet=On\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(serial)) << std::get<std::string>(serial);
    EXPECT_EQ(std::get<HostConfig>(serial).gate.mode, gateway::GateMode::On);
    EXPECT_TRUE(std::get<HostConfig>(serial).gate.toInternet);

    // Log mode transmits nothing, so it needs neither a callsign nor live feeds.
    const auto log = read("Feeds=demo\nGate To RF=log\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(log));
    EXPECT_EQ(std::get<HostConfig>(log).gate.mode, gateway::GateMode::Log);
}

TEST_F(GateSettingsTest, ABadValueIsNamedWithItsKeyAndWhatIsAllowed) {
    const std::string on = std::string(kLiveFeeds) + "Callsign=K0ABC-10\nGate To RF=on\n";
    struct Case {
        std::string lines;
        std::string message;
    };
    for (const auto& [lines, message] : std::vector<Case>{
             {"Gate To RF=yes\n", "\"Gate To RF\" is \"yes\"; allowed: off (the default), log"},
             {"Gate Via=WIDE1-1,WIDE2-1,WIDE3-3\n", "\"Gate Via\" is \"WIDE1-1,WIDE2-1,WIDE3-3\"; allowed: one or two"},
             {"Gate Via=wide1-1\n", "\"Gate Via\" is \"wide1-1\"; allowed"},
             {"Gate Via=TCPIP\n", "\"Gate Via\" is \"TCPIP\"; allowed"},
             {"Gate Via=WIDE1-1,NOGATE\n", "\"Gate Via\" is \"WIDE1-1,NOGATE\"; allowed"},
             {"Gate Via=qAR\n", "\"Gate Via\" is \"qAR\"; allowed"},
             // An SSID does not disguise a word that may not be there.
             {"Gate Via=TCPIP-1\n", "\"Gate Via\" is \"TCPIP-1\"; allowed"},
             {"Gate Via=NOGATE-1\n", "\"Gate Via\" is \"NOGATE-1\"; allowed"},
             {"Gate Via=RFONLY-3\n", "\"Gate Via\" is \"RFONLY-3\"; allowed"},
             {"Gate Via=qAR-1\n", "\"Gate Via\" is \"qAR-1\"; allowed"},
             // At most two hops in all: NAMEn-N asks N.
             {"Gate Via=WIDE7-7,WIDE7-7\n", "\"Gate Via\" is \"WIDE7-7,WIDE7-7\"; allowed"},
             {"Gate Via=WIDE2-2,WIDE1-1\n", "\"Gate Via\" is \"WIDE2-2,WIDE1-1\"; allowed"},
             {"Gate Via=TRACE7-7\n", "\"Gate Via\" is \"TRACE7-7\"; allowed"},
             {"Gate Via=SS3-3\n", "\"Gate Via\" is \"SS3-3\"; allowed"},
             {"Telemetry=yes\n", "\"Telemetry\" is \"yes\"; allowed: off (the default) or on"},
             {"Feeds=kiss:localhost\nTelemetry=on\n", "\"Telemetry\" is \"on\"; allowed"},
             {"Gate Via=WIDE1-1,\n", "\"Gate Via\" is \"WIDE1-1,\"; allowed"},
             {"Gate Messages=180\n", "\"Gate Messages\" is \"180\"; allowed: M/H"},
             {"Gate Messages=0/1\n", "\"Gate Messages\" is \"0/1\"; allowed"},
             {"Gate Messages=180/8\n", "\"Gate Messages\" is \"180/8\"; allowed"},
             {"Gate Delay=11\n", "\"Gate Delay\" is \"11\"; allowed: seconds"},
             {"Gate Limit=0/20\n", "\"Gate Limit\" is \"0/20\"; allowed"},
             {"Gate Limit=6\n", "\"Gate Limit\" is \"6\"; allowed: N/M"},
             {"Gate Limit=21/80\n", "\"Gate Limit\" is \"21/80\"; allowed"},
             {"Gate Limit=20/81\n", "\"Gate Limit\" is \"20/81\"; allowed"},
             {"Gate Limit=6/5\n", "\"Gate Limit\" is \"6/5\"; allowed"},
             {"Gate Port=16\n", "\"Gate Port\" is \"16\"; allowed: the TNC's radio port for transmissions, 0 to 15"},
             // Transmitting needs an aprs-is feed to gate from, a TNC feed to gate
             // through, and the station's own AX.25 callsign to sign with.
             {"Feeds=aprs-is:rotate.aprs2.net\nCallsign=K0ABC\nGate To RF=on\n",
              "\"Gate To RF\" is \"on\"; allowed: on only with an aprs-is feed and a kiss or kiss-serial feed"},
             {"Feeds=kiss:localhost, replay:/dev/null\nCallsign=K0ABC\nGate To RF=on\n",
              "\"Gate To RF\" is \"on\"; allowed: on only with an aprs-is feed and a kiss or kiss-serial feed"},
             {"Gate To Internet=yes\n", "\"Gate To Internet\" is \"yes\"; allowed: off (the default) or on"},
             {"Feeds=aprs-is:rotate.aprs2.net\nCallsign=K0ABC\nGate To Internet=on\n",
              "\"Gate To Internet\" is \"on\"; allowed: on only with an aprs-is feed and a kiss or kiss-serial feed"},
             {"Feeds=kiss-serial:/dev/ttyUSB0\nGate To Internet=on\n",
              "\"Gate To Internet\" is \"on\"; allowed: on only with an aprs-is feed and a kiss or kiss-serial feed"},
             {std::string(kLiveFeeds) + "Callsign=N0CALL-10\nGate To RF=on\n",
              "\"Callsign\" is \"N0CALL-10\"; allowed: with Gate To RF=on, the station's own callsign"},
             {std::string(kLiveFeeds) + "Callsign=K0ABCDE\nGate To RF=on\n", "\"Callsign\" is \"K0ABCDE\"; allowed"},
             {std::string(kLiveFeeds) + "Callsign=k0abc\nGate To RF=on\n", "\"Callsign\" is \"k0abc\"; allowed"},
         }) {
        const auto config = read(lines);
        ASSERT_TRUE(std::holds_alternative<std::string>(config)) << lines;
        EXPECT_THAT(std::get<std::string>(config), HasSubstr(message)) << lines;
    }
    EXPECT_TRUE(std::holds_alternative<HostConfig>(read(on)));
}

}  // namespace
}  // namespace ovelsk::standin
