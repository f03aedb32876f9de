#pragma once
// The window program's logging categories:
//   ovelsk.app    start-up and shutdown
//   ovelsk.files  Ovelsk's own files: the range setting, the add-on registration,
//                 the host folder's lock
//   ovelsk.status the status page: where it listens, or why it cannot

#include <QLoggingCategory>

namespace ovelsk {

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcStatus)

}  // namespace ovelsk
