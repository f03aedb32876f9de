#pragma once
// The feeds' logging category, ovelsk.feeds: connection changes, the APRS-IS
// server's answer to the login, replay summaries. Information and up are shown;
// QT_LOGGING_RULES="ovelsk.feeds.debug=true" shows more where there is more.

#include <QLoggingCategory>

namespace ovelsk::aprs {

Q_DECLARE_LOGGING_CATEGORY(lcFeeds)

}  // namespace ovelsk::aprs
