#include "aprs/aprs_is_feed.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "host/host_application.h"

namespace ovelsk::aprs {

std::string aprsIsLoginLine(const AprsIsLogin& login) {
    return "user " + login.callsign + " pass " + std::to_string(login.passcode) + " vers Ovelsk " OVELSK_VERSION
           " filter " + login.filter + "\r\n";
}

std::string aprsIsRangeFilter(double latitude, double longitude, double rangeKilometres) {
    char text[64];
    std::snprintf(text, sizeof text, "r/%.4f/%.4f/%.0f", latitude, longitude, std::ceil(rangeKilometres));
    return text;
}

bool isValidAprsIsCallsign(std::string_view callsign) {
    if (callsign.empty() || callsign.size() > 9) {
        return false;
    }
    for (const char c : callsign) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

bool isValidAprsIsFilter(std::string_view filter) {
    for (const char c : filter) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
            return false;
        }
    }
    return true;
}

AprsIsFeed::AprsIsFeed(FeedAddress address, AprsIsLogin login, PacketSink sink, std::ostream& log, FeedTimers timers)
    : sink_(std::move(sink)),
      log_(&log),
      name_("aprs-is:" + address.text()),
      lineHandler_([this](std::string_view line) { onLine(line); }),
      connection_(name_, std::move(address), aprsIsLoginLine(login),
                  TcpFeedConnection::Handlers{
                      [this](std::string_view bytes) { framer_.feed(bytes, lineHandler_); },
                      [this] {
                          framer_.reset();
                          loginAnswered_ = false;
                      }},
                  std::move(timers), log) {}

void AprsIsFeed::start() { connection_.start(); }

void AprsIsFeed::onLine(std::string_view line) {
    if (!line.starts_with('#')) {
        sink_(kInternetStreamSource, line);
        return;
    }
    // Of the server's comments only its answer to the login is worth a line in
    // the log; the rest are banners and keep-alives.
    if (!loginAnswered_ && line.starts_with("# logresp")) {
        loginAnswered_ = true;
        *log_ << name_ << ": " << line << std::endl;
    }
}

}  // namespace ovelsk::aprs
