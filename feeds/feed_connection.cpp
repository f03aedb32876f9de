#include "feeds/feed_connection.h"

#include <QIODevice>

namespace ovelsk::aprs {

FeedTimers FeedTimers::onEventLoop() {
    return FeedTimers{makeEventLoopTimer(), makeEventLoopTimer(), makeEventLoopTimer()};
}

bool writeUnlessBacklogged(QIODevice& device, std::string_view bytes) {
    if (device.bytesToWrite() > kMaxUnsentBytes) return false;
    return device.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

}  // namespace ovelsk::aprs
