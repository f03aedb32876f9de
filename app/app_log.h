#pragma once
// The window program's logging categories:
//   ovelsk.app    start-up and shutdown
//   ovelsk.files  Ovelsk's own files: the range setting, the add-on registration,
//                 the host folder's lock

#include <QLoggingCategory>

namespace ovelsk {

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

}  // namespace ovelsk
