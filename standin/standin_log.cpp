#include "standin/standin_log.h"

namespace ovelsk::standin {

Q_LOGGING_CATEGORY(lcSettings, "ovelsk.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDecode, "ovelsk.decode", QtInfoMsg)

}  // namespace ovelsk::standin
