#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "aprs/scheduler.h"

namespace ovelsk::aprs {
namespace {

using namespace std::chrono_literals;

// The program's own event loop, made once for the whole test program.
QCoreApplication& eventLoop() {
    static int argc = 1;
    static char name[] = "test_aprs";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
    return *QCoreApplication::instance();
}

TEST(EventLoopScheduler, RunsTasksFromTheEventLoopNotFromSchedule) {
    eventLoop();
    auto scheduler = makeEventLoopScheduler();
    std::vector<int> ran;
    scheduler->schedule(0ms, [&] { ran.push_back(1); });
    scheduler->schedule(-5ms, [&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(EventLoopScheduler, DropsPendingTasksWhenDestroyed) {
    eventLoop();
    auto scheduler = makeEventLoopScheduler();
    bool ran = false;
    scheduler->schedule(0ms, [&] { ran = true; });
    scheduler.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace ovelsk::aprs
