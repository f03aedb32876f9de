// The whole program as an iGate: a station heard only on the Internet is listed
// in igate.ini, its next Internet packet goes to radio through Direwolf, and
// once Direwolf hears it directly it leaves the list and is gated no more.
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gtest/gtest.h>

#include "standin/direwolf_peer.h"
#include "support/scratch_folder.h"

namespace ovelsk::test {
namespace {

using ovelsk::testing::DirewolfPeer;

constexpr std::string_view kAtHome = "!4900.00N/07200.00W-";

std::string gated(std::string_view source, std::string_view information) {
    return "N0TEST>APZOVL,WIDE1-1:}" + std::string(source) + ">APRS,TCPIP,N0TEST*:" + std::string(information);
}

TEST(GateProgram, GatesAStationHeardOnlyOnTheInternetUntilItIsHeardOnRadio) {
    if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
    }
    DirewolfPeer tnc;
    ASSERT_TRUE(tnc.start({"K0ABC-9>APRS,WIDE1-1:" + std::string(kAtHome) + "on the air"}, {.playOnFirstClient = false})) << tnc.error();
    ovelsk::testing::LoopbackServer aprsIs;
    ASSERT_TRUE(aprsIs.listen());

    ovelsk::testing::ScratchFolder home;
    const auto hostFolder = home / "host";
    std::filesystem::create_directories(hostFolder);
    const auto igateIni = hostFolder / "igate.ini";
    ovelsk::testing::writeFile(igateIni, "[INET_TO_RF]\r\nW1AW=ALL\r\n");
    std::filesystem::create_directories(home / "config" / "Peak Systems");
    ovelsk::testing::writeFile(home / "config" / "Peak Systems" / "UI-View32.ini",
                               "[UI-View32]\nProgram Folder=" + hostFolder.string() +
                                   "/\nLatitude=49\nLongitude=-72\nCallsign=N0TEST\nGate To RF=on\n"
                                   "Feeds=aprs-is:127.0.0.1:" + std::to_string(aprsIs.port()) +
                                   ", kiss:127.0.0.1:" + std::to_string(tnc.port()) + "\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), {});
    std::string errors;
    const auto waitFor = [&](const std::function<bool()>& done) {
        return ovelsk::testing::spinUntil(
            [&] {
                errors += program.readAllStandardError().toStdString();
                return done();
            },
            std::chrono::seconds(60));
    };
    const auto igateHas = [&](std::string_view line) {
        return ovelsk::testing::readFile(igateIni).find(std::string(line) + "\r\n") != std::string::npos;
    };

    const std::string tncConnected = "kiss:127.0.0.1:" + std::to_string(tnc.port()) + ": connected";
    ASSERT_TRUE(waitFor([&] { return aprsIs.clientCount() == 1 && errors.find(tncConnected) != std::string::npos; }))
        << errors;

    // Heard on the Internet: Ovelsk lists it, and its next packet goes on the air.
    aprsIs.send(0, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + std::string(kAtHome) + "one\r\n");
    ASSERT_TRUE(waitFor([&] { return igateHas("K0ABC-9=ALL"); })) << errors;
    aprsIs.send(0, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + std::string(kAtHome) + "two\r\n");
    ASSERT_TRUE(waitFor([&] { return tnc.logHas(gated("K0ABC-9", std::string(kAtHome) + "two")); })) << errors;

    // Heard directly on radio: it leaves the list, and its next Internet packet
    // stays off the air while a hand-listed station's still goes out.
    tnc.feed();
    ASSERT_TRUE(waitFor([&] { return !igateHas("K0ABC-9=ALL"); })) << errors;
    aprsIs.send(0, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:" + std::string(kAtHome) + "three\r\n"
                   "W1AW>APRS,TCPIP*,qAC,T2TEST:>hand-listed\r\n");
    ASSERT_TRUE(waitFor([&] { return tnc.logHas(gated("W1AW", ">hand-listed")); })) << errors;

    EXPECT_EQ(tnc.transmitted(),
              (std::vector<std::string>{gated("K0ABC-9", std::string(kAtHome) + "two"), gated("W1AW", ">hand-listed")}));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished());
    errors += program.readAllStandardError().toStdString();
    EXPECT_NE(errors.find("gate: sent K0ABC-9>APRS (1 of 6 this minute)"), std::string::npos) << errors;
    EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
}  // namespace ovelsk::test
