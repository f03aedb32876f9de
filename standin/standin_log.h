#pragma once
// The host's logging categories. Information and up are shown;
// QT_LOGGING_RULES="ovelsk.decode.debug=true" also logs every dropped packet.
//   ovelsk.settings  the host settings: first start, unknown keys, notes on values
//   ovelsk.decode    what the decoder made of the packets: drops, hourly summaries
// The gateway's own categories are in gateway/gateway_log.h.

#include <QLoggingCategory>

namespace ovelsk::standin {

Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcDecode)

}  // namespace ovelsk::standin
