#pragma once
// The gateway's logging categories. Information and up are shown.
//   ovelsk.gate      the gateway to radio: each decision on a listed station, notes on igate.ini,
//                    each beacon
//   ovelsk.igate     the gateway to the Internet: each packet heard on radio, sent or not

#include <QLoggingCategory>

namespace ovelsk::gateway {

Q_DECLARE_LOGGING_CATEGORY(lcGate)
Q_DECLARE_LOGGING_CATEGORY(lcIgate)

}  // namespace ovelsk::gateway
