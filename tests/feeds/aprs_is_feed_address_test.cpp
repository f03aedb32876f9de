#include <gtest/gtest.h>

#include "feeds/feed_address.h"

namespace ovelsk::aprs {
namespace {

TEST(FeedAddressParse, TakesHostAndPortOrTheUsualPort) {
    const auto withPort = parseFeedAddress("rotate.aprs2.net:10152", 14580);
    ASSERT_TRUE(withPort);
    EXPECT_EQ(withPort->host, "rotate.aprs2.net");
    EXPECT_EQ(withPort->port, 10152);
    EXPECT_EQ(parseFeedAddress("localhost", 8001)->port, 8001);
    const auto ipv6 = parseFeedAddress("[::1]:8002", 8001);
    ASSERT_TRUE(ipv6);
    EXPECT_EQ(ipv6->host, "::1");
    EXPECT_EQ(ipv6->text(), "[::1]:8002");
    EXPECT_EQ(parseFeedAddress("[::1]", 8001)->port, 8001);
}

TEST(FeedAddressParse, RefusesEmptyHostsAndBadPorts) {
    for (const char* bad : {"", ":14580", "host:", "host:0", "host:65536", "host:12ab", "host:-1", "host:1:2", "[::1",
                            "[::1]x", "[]:8001", "two words:8001"}) {
        EXPECT_FALSE(parseFeedAddress(bad, 14580)) << bad;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
