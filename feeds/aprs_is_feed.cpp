#include "feeds/aprs_is_feed.h"

#include <utility>

#include "feeds/feed.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {

AprsIsFeed::AprsIsFeed(const FeedAddress& address, const AprsIsLogin& login, PacketSink sink, std::ostream& log,
                       FeedTimers timers)
    : sink_(std::move(sink)),
      log_(&log),
      name_("aprs-is:" + address.text()),
      connection_(name_, address, aprsIsLoginLine(login),
                  TcpFeedConnection::Handlers{
                      [this](std::string_view bytes) { onBytes(bytes); },
                      [this] {
                          lines_.reset();
                          loginAnswered_ = false;
                      }},
                  std::move(timers), log) {}

void AprsIsFeed::start() { connection_.start(); }

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
        sink_(kInternetChannel, line);
        connection_.packetDelivered();
        return;
    }
    // Of the server's comments only its answer to the login is worth a line in
    // the log; the rest are banners and keep-alives.
    if (!loginAnswered_ && line.starts_with("# logresp")) {
        loginAnswered_ = true;
        *log_ << escapedForLog(name_) << ": " << serverLineForLog(line) << std::endl;
    }
}

}  // namespace ovelsk::aprs
