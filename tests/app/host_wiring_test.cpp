// Start-up registers with the host, and every list refill reaches its igate.ini.
#include <gtest/gtest.h>

#include "form_harness.h"

namespace ovelsk::test {
namespace {

TEST(HostWiring, StartUpRegistersInTheHostFolderAndBeaconsRewriteItsIgateFile) {
    FormHarness h;
    h.setUpHost("[INET_TO_RF]\r\nW1AW=ALL\r\n");
    h.start();
    EXPECT_EQ(h.form->hostFolder(), h.hostProgramFolder().string() + "/");
    const std::string registration = testing::readFile(h.hostProgramFolder() / "Ovelsk.XTR");
    EXPECT_NE(registration.find((h.folder / "ovelsk").string()), std::string::npos) << registration;

    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 12.5f});
    EXPECT_EQ(testing::readFile(h.hostProgramFolder() / "igate.ini"),
              "[INET_TO_RF]\r\n;Ovelsk IGATE Section - Start\r\nN0CALL-9=ALL\r\n;Ovelsk IGATE Section - End\r\n"
              "W1AW=ALL\r\n");
}

TEST(HostWiring, AnIgateFileThatCannotBeWrittenIsReportedOnTheStatusLine) {
    FormHarness h;
    h.setUpHost("[INET_TO_RF]\r\n");
    h.start();
    std::filesystem::create_directory(h.hostProgramFolder() / "igate.tmp");
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 12.5f});
    ASSERT_EQ(h.statusLines.size(), 3u);
    EXPECT_TRUE(h.statusLines[1].contains("igate")) << h.statusLines[1].toStdString();
    EXPECT_EQ(h.statusLines[2], "N0CALL-9 Via Internet Stream");
    EXPECT_EQ(testing::readFile(h.hostProgramFolder() / "igate.ini"), "[INET_TO_RF]\r\n");
}

TEST(HostWiring, NoRegistrationWhenTheHostCannotBeMade) {
    FormHarness h;
    h.setUpHost("[INET_TO_RF]\r\n");
    h.hostError = "no feed configured";
    h.build();
    EXPECT_EQ(h.form->Form_Load(), "cannot start the host: no feed configured");
    EXPECT_EQ(h.form->tracker(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(h.hostProgramFolder() / "Ovelsk.XTR"));
    EXPECT_EQ(h.form->hostFolder(), "");
}

}  // namespace
}  // namespace ovelsk::test
