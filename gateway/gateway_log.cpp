#include "gateway/gateway_log.h"

namespace ovelsk::gateway {

Q_LOGGING_CATEGORY(lcGate, "ovelsk.gate", QtInfoMsg)
Q_LOGGING_CATEGORY(lcIgate, "ovelsk.igate", QtInfoMsg)

}  // namespace ovelsk::gateway
