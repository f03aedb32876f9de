// The status page at start-up: a page that cannot listen (its port taken) is
// an error on the log, and the iGate carries on without it.
#include <QTcpServer>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/program_with_settings.h"

namespace ovelsk::test {
namespace {

TEST(StatusPageStartUp, APortInUseIsAnErrorAndTheIgateGoesOn) {
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    testing::ScratchFolder home;
    std::filesystem::create_directories(home / "host");
    QProcess ovelsk;
    testing::startOvelsk(ovelsk, home,
                         "[UI-View32]\nProgram Folder=" + (home / "host").string() +
                             "/\nLatitude=40.015\nLongitude=-105.2705\nFeeds=demo\nReplay Speed=4\nStatus Page=" +
                             std::to_string(taken.serverPort()) + "\n");
    ASSERT_TRUE(testing::waitForStatusLine(ovelsk, " Via Internet Stream"));
    ::kill(static_cast<pid_t>(ovelsk.processId()), SIGTERM);
    ASSERT_TRUE(ovelsk.waitForFinished());
    EXPECT_THAT(ovelsk.readAllStandardError().toStdString(),
                ::testing::HasSubstr("ovelsk.status: error: the status page cannot listen on 127.0.0.1:" +
                                     std::to_string(taken.serverPort()) + ": "));
}

}  // namespace
}  // namespace ovelsk::test
