// The live feeds' settings as start-up reads them, and both live feeds made from
// their "Feeds" entries and started by the host.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "standin/create_standin_host.h"
#include "feeds/feed_factory.h"
#include "standin/host_config.h"
#include "feeds/aprs_is_loopback_server.h"
#include "aprs/ax25_test_frames.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using ::testing::HasSubstr;

class AprsIsSettingsTest : public ::testing::Test {
protected:
    void writeSettings(const std::string& lines) {
        testing::writeFile(settingsFile_, "[UI-View32]\nProgram Folder=" + folder_.path().string() +
                                              "/\nLatitude=51.5\nLongitude=-0.1\n" + lines);
    }

    std::variant<HostConfig, std::string> read(const std::string& lines) {
        writeSettings(lines);
        HostSettings settings(settingsFile_);
        EXPECT_FALSE(settings.load());
        return readHostConfig(settings);
    }

    std::string errorFor(const std::string& lines) {
        const auto config = read(lines);
        return std::holds_alternative<std::string>(config) ? std::get<std::string>(config) : "";
    }

    testing::ScratchFolder folder_;
    std::filesystem::path settingsFile_ = folder_ / "UI-View32.ini";
};

TEST_F(AprsIsSettingsTest, ReadsTheLoginKeysWithTheirDefaults) {
    const auto config =
        read("Feeds=aprs-is:rotate.aprs2.net\nCallsign=N0CALL-10\nPasscode=12345\nFilter=r/51.5/-0.1/50 t/p\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(config)) << std::get<std::string>(config);
    EXPECT_EQ(std::get<HostConfig>(config).callsign, "N0CALL-10");
    EXPECT_EQ(std::get<HostConfig>(config).passcode, 12345);
    EXPECT_EQ(std::get<HostConfig>(config).filter, "r/51.5/-0.1/50 t/p");

    const auto defaults = read("Feeds=aprs-is:rotate.aprs2.net\nCallsign=N0CALL\n");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(defaults));
    EXPECT_EQ(std::get<HostConfig>(defaults).passcode, -1);
    EXPECT_EQ(std::get<HostConfig>(defaults).filter, "");
    // Without an APRS-IS feed nobody needs a callsign.
    EXPECT_EQ(errorFor("Feeds=demo, kiss:localhost\n"), "");
}

TEST_F(AprsIsSettingsTest, RefusesLoginValuesThatAreMissingOrWouldBreakTheLoginLine) {
    EXPECT_THAT(errorFor("Feeds=demo,aprs-is:rotate.aprs2.net\n"), HasSubstr("\"Callsign\" is empty or missing"));
    EXPECT_THAT(errorFor("Callsign=N0CALL pass 1\n"),
                HasSubstr("\"Callsign\" is \"N0CALL pass 1\"; allowed: the station's callsign"));
    for (const char* passcode : {"abc", "-2", "32768", "1.5", "12 34"}) {
        EXPECT_THAT(errorFor("Callsign=N0CALL\nPasscode=" + std::string(passcode) + "\n"),
                    HasSubstr("\"Passcode\" is \"" + std::string(passcode) + "\"; allowed: the APRS-IS passcode"))
            << passcode;
    }
    EXPECT_THAT(errorFor("Filter=r/1/2/3\x01" "x\n"), HasSubstr("\"Filter\""));
}

TEST_F(AprsIsSettingsTest, NamesBothLiveFeedsAndTheirAddressFormsInTheFeedsError) {
    aprs::FeedContext context;
    context.sinkFor = [](aprs::FeedOrigin) { return [](std::int16_t, std::string_view) {}; };
    for (const char* bad : {"aprs-is:host:0", "aprs-is:", "kiss:host:99999", "kiss"}) {
        const auto made = aprs::makeFeed(bad, context);
        ASSERT_TRUE(std::holds_alternative<std::string>(made)) << bad;
        const bool aprsIs = std::string_view(bad).starts_with("aprs-is");
        EXPECT_THAT(std::get<std::string>(made), HasSubstr(aprsIs ? "aprs-is:HOST:PORT" : "kiss:HOST:PORT"));
    }
    EXPECT_TRUE(std::holds_alternative<std::unique_ptr<aprs::Feed>>(aprs::makeFeed("kiss:localhost", context)));
    EXPECT_TRUE(std::holds_alternative<std::unique_ptr<aprs::Feed>>(aprs::makeFeed("aprs-is:[::1]:10152", context)));
}

TEST_F(AprsIsSettingsTest, TheHostLogsInWithTheRangeFilterAndRunsBothLiveFeedsAtOnce) {
    testing::LoopbackServer aprsIs;
    testing::LoopbackServer tnc;
    ASSERT_TRUE(aprsIs.listen());
    ASSERT_TRUE(tnc.listen());
    writeSettings("Distance Unit=mi\nCallsign=N0CALL-10\nFeeds=aprs-is:127.0.0.1:" + std::to_string(aprsIs.port()) +
                  ", kiss:127.0.0.1:" + std::to_string(tnc.port()) + "\nGate To RF=log\n");
    testing::LogCapture log;
    StandinStartup startup;
    startup.settingsFile = settingsFile_;
    startup.firstStartFolder = folder_ / "first-start";
    startup.range = 40;  // miles: 64.4 km, asked for as 65
    auto created = createStandinHost(startup);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(created)) << std::get<std::string>(created);
    auto& host = *std::get<std::unique_ptr<StandinHost>>(created);
    // Nothing uploads to the server, so it sends no messages to gate.
    EXPECT_THAT(log.text("ovelsk.settings"), HasSubstr("\"Gate Messages\" is on but \"Gate To Internet\" is off"));
    std::vector<StationObject> beacons;
    host.bindNotifyBeaconData([&](const StationObject& cStn) { beacons.push_back(cStn); });
    bool on = true;
    host.enable(on);

    ASSERT_TRUE(aprsIs.waitForClients(1));
    ASSERT_TRUE(aprsIs.waitForReceived(0, "\r\n"));
    EXPECT_EQ(aprsIs.client(0).received, "user N0CALL-10 pass -1 vers Ovelsk 1.0.0 filter r/51.5000/-0.1000/65\r\n");
    ASSERT_TRUE(tnc.waitForClients(1));
    aprsIs.send(0, "G4ABC>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00006.00W-\r\n");
    tnc.send(0, testing::kissEncode(testing::ax25Frame({"G4XYZ", 7}, {"APRS"}, {}, "!5131.00N/00007.00W-"), 2));
    ASSERT_TRUE(testing::spinUntil([&] { return beacons.size() == 2; }));
    std::sort(beacons.begin(), beacons.end(), [](const auto& a, const auto& b) { return a.callsign < b.callsign; });
    EXPECT_EQ(beacons[0].callsign, "G4ABC");
    EXPECT_EQ(beacons[0].sourceNumber, kInternetStreamSource);
    EXPECT_EQ(beacons[1].callsign, "G4XYZ-7");
    EXPECT_EQ(beacons[1].sourceNumber, 2);
}

// An iGate that transmits nothing (Gate To RF=log) tells the server so.
TEST_F(AprsIsSettingsTest, WithTheGateToRadioOnlyLoggingTheTncsPacketsReachTheServerAsReceiveOnly) {
    testing::LoopbackServer aprsIs;
    testing::LoopbackServer tnc;
    ASSERT_TRUE(aprsIs.listen());
    ASSERT_TRUE(tnc.listen());
    writeSettings("Callsign=N0CALL-10\nPasscode=12345\nBeacon=off\nGate To RF=log\nGate To Internet=on\n"
                  "Feeds=aprs-is:127.0.0.1:" + std::to_string(aprsIs.port()) + ", kiss:127.0.0.1:" +
                  std::to_string(tnc.port()) + "\n");
    testing::LogCapture log;
    StandinStartup startup;
    startup.settingsFile = settingsFile_;
    auto created = createStandinHost(startup);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(created)) << std::get<std::string>(created);
    bool on = true;
    std::get<std::unique_ptr<StandinHost>>(created)->enable(on);
    const std::string login = aprsIs.answerLogin(0, "# logresp N0CALL-10 verified, server T2TEST\r\n");
    ASSERT_FALSE(login.empty());
    ASSERT_TRUE(testing::spinUntil([&] { return log.text().find("verified, server") != std::string::npos; }));
    ASSERT_TRUE(tnc.waitForClients(1));
    tnc.send(0, testing::kissEncode(testing::ax25Frame({"G4XYZ", 7}, {"APRS"}, {}, "!5131.00N/00007.00W-"), 0));
    ASSERT_TRUE(aprsIs.waitForReceived(0, "G4XYZ-7>APRS,qAO,N0CALL-10:!5131.00N/00007.00W-\r\n")) << log.text();
}

}  // namespace
}  // namespace ovelsk::standin
