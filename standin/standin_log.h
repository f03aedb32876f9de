#pragma once
// The host's logging categories. Information and up are shown;
// QT_LOGGING_RULES="ovelsk.decode.debug=true" also logs every dropped packet.
//   ovelsk.settings  the host settings: first start, unknown keys, notes on values
//   ovelsk.decode    what the decoder made of the packets: drops, hourly summaries
//   ovelsk.gate      the gateway to radio: each decision on a listed station, notes on igate.ini,
//                    each beacon
//   ovelsk.igate     the gateway to the Internet: each packet heard on radio, sent or not

#include <QLoggingCategory>

namespace ovelsk::aprs {

Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcDecode)
Q_DECLARE_LOGGING_CATEGORY(lcGate)
Q_DECLARE_LOGGING_CATEGORY(lcIgate)

}  // namespace ovelsk::aprs
