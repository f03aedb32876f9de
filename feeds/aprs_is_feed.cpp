#include "feeds/aprs_is_feed.h"

#include <utility>

#include "feeds/feed.h"
#include "feeds/feeds_log.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {

AprsIsFeed::AprsIsFeed(const FeedAddress& address, const AprsIsLogin& login, PacketSink sink, FeedTimers timers)
    : sink_(std::move(sink)),
      name_("aprs-is:" + address.text()),
      callsign_(login.callsign),
      connection_(name_, address, aprsIsLoginLine(login),
                  FeedConnection::Handlers{
                      [this](std::string_view bytes) { onBytes(bytes); },
                      [this] {
                          lines_.reset();
                          loginAnswered_ = false;
                          loginVerified_ = false;
                      }},
                  std::move(timers), WhenSilent::Reconnect) {}

void AprsIsFeed::start() { connection_.start(); }

FeedStatus AprsIsFeed::status() const {
    FeedStatus status = connection_.linkStatus();
    status.packets = packets_;
    if (loginAnswered_) status.loginVerified = loginVerified_;
    return status;
}

bool AprsIsFeed::sendPacketLine(std::string_view line) {
    // A line break inside would let the rest pass as a line of its own; any
    // other byte, NUL included, is the packet's and goes as it is.
    if (line.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    return connection_.send(std::string(line) + "\r\n");
}

// A connection that is up refuses only when its queue is full (feed_connection.h).
UplinkRefusal AprsIsFeed::whyNotTaken() const {
    return connection_.isUp() ? UplinkRefusal::QueueFull : UplinkRefusal::NotConnected;
}

void AprsIsFeed::onBytes(std::string_view bytes) {
    lines_.feed(bytes);
    while (const auto line = lines_.nextLine()) {
        if (!line->empty()) {
            onLine(*line);
        }
    }
}

void AprsIsFeed::onLine(std::string_view line) {
    // Servers send a comment at least every 20 s, so whole lines show a live one.
    connection_.lineOrFrameReceived();
    if (!line.starts_with('#')) {
        ++packets_;
        sink_(kInternetChannel, line);
        connection_.packetDelivered();
        return;
    }
    // Of the server's comments only its answer to the login is worth a line in
    // the log; the rest are banners and keep-alives.
    if (!loginAnswered_ && line.starts_with("# logresp")) {
        loginAnswered_ = true;
        loginVerified_ = isVerifiedLogresp(line, callsign_);
        qCInfo(lcFeeds, "%s: %s", escapedForLog(name_).c_str(), serverLineForLog(line).c_str());
        if (loginVerified_)
            for (const auto& handler : onLoginVerified_) handler();
    }
}

}  // namespace ovelsk::aprs
