#include "app/app_log.h"

namespace ovelsk {

Q_LOGGING_CATEGORY(lcApp, "ovelsk.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFiles, "ovelsk.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStatus, "ovelsk.status", QtInfoMsg)

}  // namespace ovelsk
