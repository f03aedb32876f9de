#pragma once
// The APRS-IS feed, "aprs-is:HOST:PORT": logs in to an APRS-IS server and passes
// on every packet line as an Internet-stream beacon; with a login the server has
// verified, it also takes packet lines to send to the server. The server sends
// one packet per line and comment lines starting with "#":
//   # aprsc 2.1.19-g730c5c0
//   # logresp N0CALL unverified, server T2EXAMPLE
//   N0CALL-9>APRS,TCPIP*,qAC,T2EXAMPLE:!4903.50N/07201.75W-Test

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "aprs/aprs_is_login.h"
#include "feeds/aprs_is_uplink.h"
#include "feeds/feed.h"
#include "feeds/feed_address.h"
#include "feeds/line_reader.h"
#include "feeds/tcp_feed_connection.h"

namespace ovelsk::aprs {

inline constexpr std::uint16_t kAprsIsDefaultPort = 14580;

class AprsIsFeed final : public Feed, public AprsIsUplink {
public:
    // Connection changes and the server's login answer are logged in ovelsk.feeds.
    AprsIsFeed(const FeedAddress& address, const AprsIsLogin& login, PacketSink sink,
               FeedTimers timers = FeedTimers::onEventLoop());

    void start() override;
    AprsIsUplink* uplink() override { return this; }
    FeedStatus status() const override;

    bool loginVerified() const override { return loginVerified_; }
    void addLoginVerifiedHandler(std::function<void()> handler) override {
        onLoginVerified_.push_back(std::move(handler));
    }
    bool sendPacketLine(std::string_view line) override;
    UplinkRefusal whyNotTaken() const override;
    const std::string& uplinkName() const override { return name_; }

private:
    void onBytes(std::string_view bytes);
    void onLine(std::string_view line);

    PacketSink sink_;
    std::string name_;
    std::string callsign_;
    std::vector<std::function<void()>> onLoginVerified_;
    LineReader lines_{kAprsIsMaxLineBytes};
    bool loginAnswered_ = false;
    bool loginVerified_ = false;
    std::uint64_t packets_ = 0;
    TcpFeedConnection connection_;
};

}  // namespace ovelsk::aprs
