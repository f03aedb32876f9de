#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "feeds/feed_timer.h"

namespace ovelsk::aprs {
namespace {

using namespace std::chrono_literals;

// The program's own event loop, made once for the whole test program.
void eventLoop() {
    static int argc = 1;
    static char name[] = "test_aprs";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
}

TEST(EventLoopTimer, FiresFromTheEventLoopNotFromStart) {
    eventLoop();
    auto timer = makeEventLoopTimer();
    std::vector<int> ran;
    timer->start(-5ms, [&] { ran.push_back(1); });
    EXPECT_TRUE(ran.empty());
    while (ran.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(ran, (std::vector<int>{1}));
}

TEST(EventLoopTimer, StartingAgainReplacesTheWaitingCall) {
    eventLoop();
    auto timer = makeEventLoopTimer();
    std::vector<int> ran;
    timer->start(0ms, [&] { ran.push_back(1); });
    timer->start(0ms, [&] { ran.push_back(2); });
    while (ran.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (std::vector<int>{2}));
}

TEST(EventLoopTimer, NeverFiresOnceStoppedOrDestroyed) {
    eventLoop();
    auto stopped = makeEventLoopTimer();
    auto destroyed = makeEventLoopTimer();
    auto witness = makeEventLoopTimer();
    bool ran = false;
    bool witnessRan = false;
    stopped->start(0ms, [&] { ran = true; });
    destroyed->start(0ms, [&] { ran = true; });
    witness->start(1ms, [&] { witnessRan = true; });
    stopped->stop();
    destroyed.reset();
    while (!witnessRan) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(ran);
}

TEST(EventLoopTimer, TakesDelaysBeyondWhatQtCounts) {
    eventLoop();
    auto timer = makeEventLoopTimer();
    bool ran = false;
    timer->start(std::chrono::milliseconds(1'000'000'000'000'000), [&] { ran = true; });  // replay gaps can be this long
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace ovelsk::aprs
