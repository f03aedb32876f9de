#include "standin/standin_log.h"

namespace ovelsk::aprs {

Q_LOGGING_CATEGORY(lcSettings, "ovelsk.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDecode, "ovelsk.decode", QtInfoMsg)
Q_LOGGING_CATEGORY(lcGate, "ovelsk.gate", QtInfoMsg)
Q_LOGGING_CATEGORY(lcIgate, "ovelsk.igate", QtInfoMsg)

}  // namespace ovelsk::aprs
