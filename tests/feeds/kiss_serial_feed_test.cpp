// The KISS feed on a serial device, with a pseudo terminal standing in for the
// hardware TNC: the test holds its master side, the feed opens the device path.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "feeds/feed_factory.h"
#include "feeds/kiss_feed.h"
#include "feeds/serial_feed_connection.h"
#include "aprs_is_loopback_server.h"
#include "aprs/ax25_test_frames.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::aprs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ax25Frame;
using testing::Delivery;
using testing::kissEncode;
using testing::LogCapture;

// A pseudo terminal: what the test writes to `master` the feed reads from the
// device at `slavePath`.
struct PseudoTerminal {
    PseudoTerminal() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slavePath = ::ptsname(master);
    }
    ~PseudoTerminal() { close(); }
    void write(std::string_view bytes) const { EXPECT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    void close() {
        if (master >= 0) ::close(master);
        master = -1;
    }

    int master = -1;
    std::string slavePath;
};

TEST(SerialDeviceParse, TakesThePathAndASpeedAfterTheLastColon) {
    struct Case {
        const char* text;
        std::string path;
        int baud;
    };
    for (const auto& [text, path, baud] : std::vector<Case>{
             {"/dev/ttyUSB0", "/dev/ttyUSB0", 9600},
             {"/dev/ttyAMA0:19200", "/dev/ttyAMA0", 19200},
             {"/dev/serial/by-path/usb-0:1.3:1.0", "/dev/serial/by-path/usb-0:1.3:1.0", 9600},
             {"/dev/odd:1:38400", "/dev/odd:1", 38400},
         }) {
        const auto device = parseSerialDevice(text);
        ASSERT_TRUE(device) << text;
        EXPECT_EQ(device->path, path);
        EXPECT_EQ(device->baud, baud);
    }
    for (const char* bad : {"", ":9600", "/dev/ttyUSB0:", "/dev/ttyUSB0:0", "/dev/ttyUSB0:299", "/dev/ttyUSB0:4000001",
                            "/dev/ttyUSB0:99999999999"}) {
        EXPECT_FALSE(parseSerialDevice(bad)) << bad;
    }
    FeedContext context;
    context.sinkFor = [](FeedOrigin) { return [](std::int16_t, std::string_view) {}; };
    EXPECT_TRUE(std::holds_alternative<std::unique_ptr<Feed>>(makeFeed("kiss-serial:/dev/ttyS0:4800", context)));
    const auto refused = makeFeed("kiss-serial:/dev/ttyS0:96OO0:1", context);
    ASSERT_TRUE(std::holds_alternative<std::string>(refused));
    EXPECT_THAT(std::get<std::string>(refused), HasSubstr("kiss-serial:DEVICE:BAUD"));
}

TEST(SerialOpenFailure, APermissionRefusalNamesTheDialoutGroup) {
    EXPECT_THAT(serialOpenFailure(QSerialPort::PermissionError, "Permission denied", false),
                ::testing::AllOf(HasSubstr("Permission denied"), HasSubstr("dialout group")));
    EXPECT_EQ(serialOpenFailure(QSerialPort::DeviceNotFoundError, "No such file or directory", false),
              "No such file or directory");
}

// Two feeds on one device (or another program on it): the second is told the
// device is in use, not sent to the dialout group.
TEST(KissSerialFeed, ADeviceAlreadyOpenIsReportedInUse) {
    testing::ensureEventLoop();
    PseudoTerminal tnc;
    ASSERT_FALSE(tnc.slavePath.empty());
    LogCapture log;
    testing::ManualTimers firstTimers;
    testing::ManualTimers secondTimers;
    KissFeed first(SerialDevice{tnc.slavePath}, [](std::int16_t, std::string_view) {}, firstTimers.take());
    KissFeed second(SerialDevice{tnc.slavePath}, [](std::int16_t, std::string_view) {}, secondTimers.take());
    first.start();
    ASSERT_FALSE(firstTimers.retry->active()) << log.text();
    second.start();
    ASSERT_TRUE(secondTimers.retry->active());
    EXPECT_THAT(log.messages().back().text,
                ::testing::AllOf(HasSubstr("cannot open " + tnc.slavePath), HasSubstr("the device is in use"),
                                 ::testing::Not(HasSubstr("dialout"))));
}

TEST(KissSerialFeed, OpensADeviceThatAppearsLaterAndReopensItAfterItGoesAway) {
    testing::ensureEventLoop();
    PseudoTerminal tnc;
    ASSERT_FALSE(tnc.slavePath.empty());
    testing::ScratchFolder folder;
    const std::string device = (folder / "tnc").string();
    testing::ManualTimers timers;
    std::vector<Delivery> delivered;
    LogCapture log;
    KissFeed feed(SerialDevice{device, 19200},
                  [&](std::int16_t source, std::string_view packet) { delivered.push_back({source, std::string(packet)}); },
                  timers.take());
    const std::string name = "kiss-serial:" + device + ":19200: ";
    const auto lastLine = [&] { return log.messages().back().text; };

    feed.start();
    ASSERT_TRUE(timers.retry->active());
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(1));
    EXPECT_EQ(log.text(), name + "cannot open " + device + ": No such file or directory; next attempt in 1 s\n");

    std::filesystem::create_symlink(tnc.slavePath, device);  // plugged in
    timers.retry->fire();
    EXPECT_FALSE(timers.retry->active());
    EXPECT_EQ(lastLine(), name + "opened " + device + " at 19200 baud");
    const std::string frame = kissEncode(ax25Frame({"N0CALL", 9}, {"APRS"}, {{"WIDE1", 1, true}}, "!4903.50N/07201.75W-"), 2);
    tnc.write(frame.substr(0, 9));
    tnc.write(frame.substr(9) + kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">half a frame")).substr(0, 12));
    ASSERT_TRUE(testing::spinUntil([&] { return !delivered.empty(); })) << log.text();
    EXPECT_THAT(delivered, ElementsAre(Delivery{2, "N0CALL-9>APRS,WIDE1-1*:!4903.50N/07201.75W-"}));

    tnc.close();  // unplugged
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(1));  // it had carried a packet
    EXPECT_EQ(lastLine(), name + device + " lost: it cannot be read any more (unplugged?); next attempt in 1 s");
    timers.retry->fire();
    ASSERT_TRUE(timers.retry->active());  // the old device is gone for good
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(2));
    EXPECT_EQ(delivered.size(), 1u);  // the half frame was forgotten, not delivered
}

// A TNC that stops taking what it is sent (hung, or flow-stopped) does not make
// the feed keep frames without end: past a bound, sending fails.
TEST(KissSerialFeed, StopsTakingFramesForATncThatTakesNone) {
    testing::ensureEventLoop();
    PseudoTerminal tnc;
    ASSERT_FALSE(tnc.slavePath.empty());
    LogCapture log;
    testing::ManualTimers timers;
    KissFeed feed(SerialDevice{tnc.slavePath}, [](std::int16_t, std::string_view) {}, timers.take());
    feed.start();
    ASSERT_FALSE(timers.retry->active()) << log.text();
    const std::string frame(1024, 'x');
    int taken = 0;
    while (taken < 1000 && feed.sendKissFrame(frame)) ++taken;  // the event loop never runs to pass them on
    EXPECT_GE(taken, 32);
    EXPECT_LE(taken, 66);
}

}  // namespace
}  // namespace ovelsk::aprs
