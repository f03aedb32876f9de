// A TNC that stops reading, over TCP and on a serial device (a pseudo terminal):
// what it has not taken within 5 s is dropped, and none of it reaches it later.
// On the serial line no frame is ever cut short: what reaches the TNC once it
// reads again is whole frames only.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "aprs/ax25_test_frames.h"
#include "aprs_is_loopback_server.h"
#include "feeds/kiss_feed.h"
#include "support/log_capture.h"

namespace ovelsk::aprs {
namespace {

std::string numberedFrame(int number) {
    const std::string text = ">frame " + std::to_string(100000 + number);
    return testing::kissEncode(testing::ax25Frame({"N0TEST"}, {"APZOVL"}, {}, text));
}

TEST(KissStalledTnc, FramesNotTakenWithin5sAreDroppedAndNeverArrive) {
    testing::ensureEventLoop();
    // The smallest receive buffer, so few frames are acknowledged unread.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0), smallest = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 1) | ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(pty >= 0 && ::grantpt(pty) == 0 && ::unlockpt(pty) == 0);

    const auto sink = [](std::int16_t, std::string_view) {};
    struct Case {
        const char* link;
        std::variant<FeedAddress, SerialDevice> tnc;
        bool reconnects;  // a TCP connection is reset; a serial device's frames wait whole in the feed
    };
    for (const auto& [link, where, reconnects] : std::vector<Case>{
             {"tcp", FeedAddress{"127.0.0.1", ntohs(address.sin_port)}, true},
             {"serial", SerialDevice{::ptsname(pty)}, false},
         }) {
        SCOPED_TRACE(link);
        testing::LogCapture log;
        testing::ManualTimers timers;
        auto check = std::make_unique<testing::ManualTimer>();
        testing::ManualTimer& checks = *check;
        const auto feed = std::visit(
            [&](const auto& peer) { return std::make_unique<KissFeed>(peer, sink, timers.take(), std::move(check)); }, where);
        feed->start();
        ASSERT_TRUE(testing::spinUntil([&] { return !log.messages().empty(); })) << "connected or opened";
        const int tnc = reconnects ? ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK) : pty;

        std::vector<std::string> sent;  // until every queue on the way is full
        for (; feed->sendKissFrame(numberedFrame(int(sent.size()))); QCoreApplication::processEvents()) {
            sent.push_back(numberedFrame(int(sent.size())));
        }
        EXPECT_EQ(feed->whyNotTaken(), "is not taking what it is sent");
        for (int second = 0; second < 5; ++second) {
            EXPECT_EQ(log.text().find("did not take"), std::string::npos) << "after " << second << " s";
            checks.fire();
        }
        // "... dropped 214 frames the TNC did not take within 5 s ..."
        const std::string text = log.text();
        const auto counted = text.find(" frames the TNC did not take within 5 s");
        ASSERT_NE(counted, std::string::npos) << text;
        const std::string count = text.substr(text.rfind(' ', counted - 1) + 1);
        EXPECT_EQ(timers.retry->active(), reconnects);
        EXPECT_EQ(feed->sendKissFrame(numberedFrame(-1)), !reconnects);
        std::string arrived;
        ASSERT_TRUE(testing::spinUntil([&] {
            std::string now(1 << 20, '\0');
            arrived += now.substr(0, std::size_t(std::max<ssize_t>(0, ::read(tnc, now.data(), now.size()))));
            return reconnects || arrived.ends_with(numberedFrame(-1));
        }));
        const std::size_t firstDropped = sent.size() - std::stoul(count);
        std::string taken;
        for (std::size_t i = 0; i < firstDropped; ++i) taken += sent[i];
        // Over TCP the first dropped frame may have begun to arrive: the reset has the TNC forget it.
        EXPECT_TRUE(arrived.starts_with(taken));
        EXPECT_TRUE(reconnects || arrived == taken + numberedFrame(-1)) << "a frame arrived cut short";
        for (std::size_t i = firstDropped; i < sent.size(); ++i) {
            EXPECT_EQ(arrived.find(sent[i]), std::string::npos) << "dropped frame " << i << " arrived";
        }
        if (reconnects) ::close(tnc);
    }
    ::close(pty);
    ::close(listener);
}

}  // namespace
}  // namespace ovelsk::aprs
