// The iGate's telemetry: when it goes to APRS-IS and what it averages.
#include "gateway/telemetry_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "feeds/aprs_is_loopback_server.h"
#include "gateway/gate_fakes.h"
#include "support/fake_clock.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TelemetrySender, ReportsAMinuteAfterTheLoginIsVerifiedThenEveryTenMinutesDefiningTheChannelsEveryTwoHours) {
    RecordingUplink server;
    testing::FakeClock clock;
    IgateTraffic traffic;
    auto owned = std::make_unique<testing::ManualTimer>();
    testing::ManualTimer& timer = *owned;
    TelemetrySender telemetry("M0IGT-10", server, clock, [&] { return traffic; }, std::move(owned));
    std::vector<std::string> reported;
    telemetry.setReportSent([&](const std::string& line) { reported.push_back(line); });
    telemetry.start();
    EXPECT_FALSE(timer.active()) << "nothing before the login is verified";

    const std::vector<std::string> definitions = {"M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :PARM.RxPkts,IsTx,RfTx,MsgTx,Local",
                                                  "M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :UNIT.pkt/m,pkt/m,pkt/m,msg/m,calls",
                                                  "M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :EQNS.0,1,0,0,1,0,0,1,0,0,1,0,0,1,0"};
    // An hour's traffic before the server verified the login is not averaged in.
    clock.advanceMinutes(60);
    traffic = {600, 600, 60, 60, 0};
    server.onLoginVerified();
    EXPECT_EQ(server.lines, definitions);
    EXPECT_EQ(timer.delay(), std::chrono::minutes(1));

    clock.advanceMinutes(10);
    traffic = {800, 790, 90, 80, 4};
    server.lines.clear();
    timer.fire();
    EXPECT_THAT(server.lines, ElementsAre("M0IGT-10>APZOVL,TCPIP*:T#000,020,019,003,002,004,00000000"));
    EXPECT_EQ(timer.delay(), std::chrono::minutes(10));

    // A busy channel is held at 255; the login lost, nothing goes.
    clock.advanceMinutes(10);
    traffic = {800 + 3000, 790 + 2600, 90, 80, 300};
    timer.fire();
    server.verified = false;
    clock.advanceMinutes(10);
    timer.fire();
    server.verified = true;
    EXPECT_THAT(reported, ElementsAre("T#000,020,019,003,002,004,00000000", "T#001,255,255,000,000,255,00000000"));

    // Two hours after the definitions, they go again after the report.
    server.lines.clear();
    clock.advanceMinutes(90);
    timer.fire();
    EXPECT_EQ(server.lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(server.lines.begin() + 1, server.lines.end()), definitions);
}

}  // namespace
}  // namespace ovelsk::gateway
