// A TNC that stops reading: the frames it was handed are dropped at the
// deadline, and none of them reaches it later, on TCP and on a serial device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "aprs/ax25_test_frames.h"
#include "aprs_is_loopback_server.h"
#include "feeds/kiss_feed.h"
#include "pseudo_terminal.h"
#include "support/log_capture.h"

namespace ovelsk::aprs {
namespace {

using ::testing::HasSubstr;
using testing::ManualTimer;

// A TNC on loopback TCP that reads nothing until told: the smallest receive
// buffer, so our side's queue fills after a few frames.
class StalledTcpTnc {
public:
    StalledTcpTnc() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int smallest = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(listener_, 4), 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~StalledTcpTnc() {
        for (const int fd : connections_) ::close(fd);
        ::close(listener_);
    }
    // Takes the next connection, which the system has already completed.
    void accept() { connections_.push_back(::accept(listener_, nullptr, nullptr)); }
    // Everything the newest connection brought that can be read now.
    std::string readAll() const {
        std::string all;
        char buffer[4096];
        for (ssize_t count; (count = ::recv(connections_.back(), buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) {
            all.append(buffer, std::size_t(count));
        }
        return all;
    }

    quint16 port = 0;

private:
    int listener_ = -1;
    std::vector<int> connections_;
};

std::string numberedFrame(int number) {
    char text[32];
    std::snprintf(text, sizeof text, ">frame %05d", number);
    return testing::kissEncode(testing::ax25Frame({"N0TEST"}, {"APZOVL"}, {}, text));
}

// Hands the TNC numbered frames while the event loop passes them on, until it
// takes no more: what the TNC does not read has filled every queue on the way.
std::vector<std::string> sendUntilRefused(KissTransmitter& tnc) {
    std::vector<std::string> sent;
    while (sent.size() < 100000) {
        QCoreApplication::processEvents();
        if (!tnc.sendKissFrame(numberedFrame(int(sent.size())))) break;
        sent.push_back(numberedFrame(int(sent.size())));
    }
    return sent;
}

// Runs the checks up to the deadline and returns how many frames were dropped
// at it, as logged; none before it.
std::size_t droppedAtDeadline(ManualTimer& check, const testing::LogCapture& log) {
    for (int second = 1; second < 5; ++second) {
        EXPECT_EQ(check.delay(), std::chrono::seconds(1));
        check.fire();
        EXPECT_THAT(log.text(), ::testing::Not(HasSubstr("dropped"))) << "after " << second << " s";
    }
    check.fire();
    std::smatch match;
    const std::string text = log.text();
    if (!std::regex_search(text, match, std::regex(R"((\d+) frames? not taken by the TNC within 5 s dropped, not sent late)"))) {
        ADD_FAILURE() << text;
        return 0;
    }
    return std::stoul(match[1]);
}

void expectNoneArrived(const std::string& arrived, const std::vector<std::string>& sent, std::size_t dropped) {
    ASSERT_GT(dropped, 0u);
    ASSERT_LE(dropped, sent.size());
    for (std::size_t i = sent.size() - dropped; i < sent.size(); ++i) {
        EXPECT_EQ(arrived.find(sent[i]), std::string::npos) << "dropped frame " << i << " arrived";
    }
}

TEST(KissTransmitDeadline, ATcpTncThatStopsReadingLosesTheConnectionAndNothingArrivesLate) {
    testing::ensureEventLoop();
    StalledTcpTnc tnc;
    testing::LogCapture log;
    testing::ManualTimers timers;
    auto check = std::make_unique<ManualTimer>();
    ManualTimer& checks = *check;
    KissFeed feed(FeedAddress{"127.0.0.1", tnc.port}, [](std::int16_t, std::string_view) {}, timers.take(),
                  std::move(check));
    feed.start();
    ASSERT_TRUE(testing::spinUntil([&] { return log.text().find("connected") != std::string::npos; }));
    tnc.accept();

    const auto sent = sendUntilRefused(feed);
    const std::size_t dropped = droppedAtDeadline(checks, log);
    EXPECT_TRUE(timers.retry->active()) << "reset, to connect again";
    EXPECT_FALSE(feed.sendKissFrame(numberedFrame(-1)));
    expectNoneArrived(tnc.readAll(), sent, dropped);

    timers.retry->fire();
    ASSERT_TRUE(testing::spinUntil([&] { return log.messages().back().text.find(": connected to ") != std::string::npos; }));
    tnc.accept();
    ASSERT_TRUE(feed.sendKissFrame(numberedFrame(-2)));
    std::string arrived;
    ASSERT_TRUE(testing::spinUntil([&] { return (arrived += tnc.readAll()).size() >= numberedFrame(-2).size(); }));
    EXPECT_EQ(arrived, numberedFrame(-2));
}

TEST(KissTransmitDeadline, ASerialTncThatStopsReadingHasTheOutputFlushedAndNothingArrivesLate) {
    testing::ensureEventLoop();
    testing::PseudoTerminal tnc;
    ASSERT_FALSE(tnc.slavePath.empty());
    testing::LogCapture log;
    testing::ManualTimers timers;
    auto check = std::make_unique<ManualTimer>();
    ManualTimer& checks = *check;
    KissFeed feed(SerialDevice{tnc.slavePath}, [](std::int16_t, std::string_view) {}, timers.take(), std::move(check));
    feed.start();

    const auto sent = sendUntilRefused(feed);
    EXPECT_EQ(feed.whyNotTaken(), "is not taking what it is sent");
    const std::size_t dropped = droppedAtDeadline(checks, log);
    EXPECT_FALSE(timers.retry->active()) << "the device stays open";

    ASSERT_TRUE(feed.sendKissFrame(numberedFrame(-2)));
    std::string arrived;
    ASSERT_TRUE(testing::spinUntil([&] { return (arrived += tnc.readAll()).find(numberedFrame(-2)) != std::string::npos; }));
    expectNoneArrived(arrived, sent, dropped);
}

}  // namespace
}  // namespace ovelsk::aprs
