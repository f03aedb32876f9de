#include "feeds/feeds_log.h"

namespace ovelsk::aprs {

Q_LOGGING_CATEGORY(lcFeeds, "ovelsk.feeds", QtInfoMsg)

}  // namespace ovelsk::aprs
